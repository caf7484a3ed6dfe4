#pragma once
// JPEG through libjpeg: the thumbnails' encoder and the decoders for stored thumbnails and for
// pictures too large to decode whole. Pixels are 4 bytes each in blue, green, red, unused
// order (a 32-bit device-independent bitmap's layout), rows top-down.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace imaging {

struct JpegInfo {
    int width = 0;
    int height = 0;
    int components = 0;
    bool progressive = false;
};

// Reads the header only. False when libjpeg rejects it.
bool ReadJpegInfo(const uint8_t* data, size_t size, JpegInfo& info);

// Baseline colour (three components) at the given quality, every other setting libjpeg's
// default. A side of 0 gives no data at all.
std::vector<uint8_t> EncodeJpeg(const uint8_t* pixels, int width, int height, size_t stride, int quality);

// Decodes the whole image, at the smallest of libjpeg's scales (1/8, 2/8 ... 8/8) whose result
// still covers coverWidth x coverHeight (its own size when those are 0 or larger than it);
// width and height are those of the pixels decoded. False when libjpeg rejects the data or the
// result would have more than maxPixels pixels.
bool DecodeJpeg(const uint8_t* data, size_t size, uint64_t maxPixels, std::vector<uint8_t>& pixels, int& width,
                int& height, int coverWidth = 0, int coverHeight = 0);

// Decodes row by row, at the smallest scale that still covers width x height, and keeps for
// each target pixel the nearest decoded one: the whole image scaled without ever holding more
// than one decoded row.
bool DecodeJpegNearest(const uint8_t* data, size_t size, int width, int height, std::vector<uint8_t>& pixels);

}  // namespace imaging
