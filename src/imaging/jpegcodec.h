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

// Decodes the whole image. False when libjpeg rejects the data or the image has more than
// maxPixels pixels.
bool DecodeJpeg(const uint8_t* data, size_t size, uint64_t maxPixels, std::vector<uint8_t>& pixels, int& width,
                int& height);

// Decodes row by row and keeps, for each of width x height target pixels, the nearest source
// pixel: the whole image scaled without ever holding more than one source row.
bool DecodeJpegNearest(const uint8_t* data, size_t size, int width, int height, std::vector<uint8_t>& pixels);

}  // namespace imaging
