#pragma once
// A picture's width and height read from its first bytes, without decoding it: JPEG (the first
// frame header), PNG, GIF, BMP and WebP.
#include <optional>
#include <string_view>

namespace engine {

struct PictureSize {
    int width = 0;
    int height = 0;
    bool operator==(const PictureSize&) const = default;
};

// None when the bytes are no picture of those kinds, or its header is cut off or names no size.
std::optional<PictureSize> PictureSizeFromHeader(std::string_view bytes);

// Whether a picture of this size is smaller than the smallest one kept (a limit of 0 is none).
inline bool SmallerThan(const PictureSize& size, int minWidth, int minHeight) {
    return (minWidth > 0 && size.width < minWidth) || (minHeight > 0 && size.height < minHeight);
}

}  // namespace engine
