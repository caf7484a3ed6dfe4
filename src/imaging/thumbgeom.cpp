#include "imaging/thumbgeom.h"

#include <cstring>

namespace imaging {

Size ThumbnailSize(int64_t width, int64_t height, int boxWidth, int boxHeight) {
    if (width > height) return {boxWidth, static_cast<int>(boxWidth * height / width)};
    if (height == 0) throw DivisionError();
    return {static_cast<int>(boxHeight * width / height), boxHeight};
}

std::vector<int> NearestIndices(int64_t from, int to) {
    std::vector<int> out(to > 0 ? static_cast<size_t>(to) : 0);
    for (int i = 0; i < to; i++)
        out[static_cast<size_t>(i)] = static_cast<int>((2 * int64_t{i} + 1) * from / (2 * int64_t{to}));
    return out;
}

void ScaleNearest(const uint8_t* src, int srcWidth, int srcHeight, size_t srcStride, uint8_t* dst, int dstWidth,
                  int dstHeight, size_t dstStride) {
    std::vector<int> xs = NearestIndices(srcWidth, dstWidth);
    std::vector<int> ys = NearestIndices(srcHeight, dstHeight);
    for (int y = 0; y < dstHeight; y++) {
        const uint8_t* row = src + static_cast<size_t>(ys[static_cast<size_t>(y)]) * srcStride;
        uint8_t* out = dst + static_cast<size_t>(y) * dstStride;
        for (int x = 0; x < dstWidth; x++)
            std::memcpy(out + 4 * x, row + 4 * static_cast<size_t>(xs[static_cast<size_t>(x)]), 4);
    }
}

ImageKind SniffImage(const uint8_t* d, size_t n) {
    if (n >= 3 && d[0] == 0xFF && d[1] == 0xD8 && d[2] == 0xFF) return ImageKind::Jpeg;
    if (n >= 8 && std::memcmp(d, "\x89PNG\r\n\x1a\n", 8) == 0) return ImageKind::Png;
    if (n >= 12 && std::memcmp(d, "RIFF", 4) == 0 && std::memcmp(d + 8, "WEBP", 4) == 0) return ImageKind::WebP;
    if (n >= 6 && (std::memcmp(d, "GIF87a", 6) == 0 || std::memcmp(d, "GIF89a", 6) == 0)) return ImageKind::Gif;
    if (n >= 2 && d[0] == 'B' && d[1] == 'M') return ImageKind::Bmp;
    return ImageKind::Unknown;
}

bool HeaderSize(const uint8_t* d, size_t n, int64_t& width, int64_t& height) {
    auto u16 = [d](size_t i) { return int64_t{d[i]} | int64_t{d[i + 1]} << 8; };
    auto s32 = [d](size_t i) {
        return static_cast<int64_t>(static_cast<int32_t>(uint32_t{d[i]} | uint32_t{d[i + 1]} << 8 |
                                                         uint32_t{d[i + 2]} << 16 | uint32_t{d[i + 3]} << 24));
    };
    switch (SniffImage(d, n)) {
    case ImageKind::Gif:
        if (n < 10) return false;
        width = u16(6);
        height = u16(8);
        return true;
    case ImageKind::Bmp:
        if (n < 26) return false;
        if (s32(14) == 12) {  // the old core header has 16-bit sides
            width = u16(18);
            height = u16(20);
        } else {
            width = s32(18);
            height = s32(22);
        }
        if (width < 0) width = -width;
        if (height < 0) height = -height;  // top-down rows
        return true;
    default: return false;
    }
}

}  // namespace imaging
