#pragma once
// A test picture as a JPEG stream, written a row at a time so that even a huge one is never
// held whole: fill(y, row) writes row y (3 bytes a pixel: red, green, blue) into the same
// buffer each time.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace testsupport {

template <class Fill>
std::vector<uint8_t> JpegFromRows(int width, int height, int quality, Fill fill) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buf = nullptr;
    unsigned long len = 0;
    jpeg_mem_dest(&c, &buf, &len);
    c.image_width = width;
    c.image_height = height;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<uint8_t> row(3 * static_cast<size_t>(width));
    for (int y = 0; y < height; y++) {
        fill(y, row.data());
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::vector<uint8_t> out(buf, buf + len);
    std::free(buf);
    return out;
}

}  // namespace testsupport
