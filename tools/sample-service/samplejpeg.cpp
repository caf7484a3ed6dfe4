#include "samplejpeg.h"

#include <cstdio>
#include <jpeglib.h>

#include <cstdlib>
#include <random>
#include <vector>

namespace sample {

namespace {

std::string Encode(const std::vector<unsigned char>& rgb, int width, int height, int quality) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<unsigned char*>(&rgb[static_cast<size_t>(cinfo.next_scanline) * width * 3]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::string bytes(reinterpret_cast<char*>(out), size);
    jpeg_destroy_compress(&cinfo);
    free(out);
    return bytes;
}

}  // namespace

std::string MakeJpeg(int width, int height, unsigned seed, size_t targetBytes) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> grain(-40, 40);
    int r0 = static_cast<int>(rng() % 200), g0 = static_cast<int>(rng() % 200), b0 = static_cast<int>(rng() % 200);
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    auto clamp = [](int v) { return static_cast<unsigned char>(v < 0 ? 0 : v > 255 ? 255 : v); };
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            size_t i = (static_cast<size_t>(y) * width + x) * 3;
            int wave = ((x / 16 + y / 16) % 2) * 40;
            rgb[i] = clamp(r0 + x * 55 / width + wave + grain(rng));
            rgb[i + 1] = clamp(g0 + y * 55 / height + grain(rng));
            rgb[i + 2] = clamp(b0 + wave + grain(rng));
        }
    if (targetBytes == 0) return Encode(rgb, width, height, 85);
    // The file size grows with the quality: search for the closest one.
    int lo = 5, hi = 100;
    std::string best = Encode(rgb, width, height, hi);
    while (lo < hi) {
        int mid = (lo + hi) / 2;
        std::string bytes = Encode(rgb, width, height, mid);
        if (bytes.size() >= targetBytes) {
            best = bytes;
            hi = mid;
        } else {
            lo = mid + 1;
        }
    }
    return best;
}

}  // namespace sample
