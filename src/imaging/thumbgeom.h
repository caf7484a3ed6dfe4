#pragma once
// The thumbnail's size rule and nearest-pixel scaling, free of any graphics API.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace imaging {

// The error of a picture with no pixels, whose size rule would divide by zero.
class DivisionError : public std::domain_error {
public:
    DivisionError() : std::domain_error("Division by zero") {}
};

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// A landscape picture (wider than high) takes the box width; a portrait or square one takes
// the box height. The other side follows the ratio, truncated, and is not bounded by the box;
// it may come out 0. Throws DivisionError for a 0 x 0 picture.
Size ThumbnailSize(int64_t width, int64_t height, int boxWidth, int boxHeight);

// For each of `to` target pixels, the source pixel nearest its centre (of `from`).
std::vector<int> NearestIndices(int64_t from, int to);

// Scales 4-byte pixels, rows top-down, by taking the nearest source pixel for each target.
void ScaleNearest(const uint8_t* src, int srcWidth, int srcHeight, size_t srcStride, uint8_t* dst, int dstWidth,
                  int dstHeight, size_t dstStride);

// What an image file's first bytes say it is; only what the picture loader must tell apart.
enum class ImageKind { Unknown, Jpeg, Png, WebP, Gif, Bmp };
ImageKind SniffImage(const uint8_t* data, size_t size);

// The pixel size a GIF (logical screen) or BMP header announces; false when there is none.
bool HeaderSize(const uint8_t* data, size_t size, int64_t& width, int64_t& height);

}  // namespace imaging
