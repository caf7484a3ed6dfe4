// The least a thumbnail can cost: each JPEG file named on the command line is decoded by
// libjpeg with DCT scaling (the smallest scale still at least the thumbnail's size), brought
// to the thumbnail's exact size by nearest pixels and encoded at quality 70, all in this one
// process. Prints one line, "N files in T ms" and what was made; a file that will not decode
// is counted as skipped.
//   thumb_floor FILE...
#include <chrono>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include <jpeglib.h>  // after <cstdio>: it uses FILE and size_t

#include "imaging/jpegcodec.h"
#include "imaging/thumbgeom.h"

namespace {

struct ErrorJump {
    jpeg_error_mgr mgr;
    jmp_buf jump;
};
void ErrorExit(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<ErrorJump*>(cinfo->err)->jump, 1); }
void Quiet(j_common_ptr, int) {}

// Decodes at the smallest of libjpeg's scales n/8 whose result still covers `want`.
bool DecodeScaled(const std::vector<unsigned char>& data, imaging::Size want, std::vector<uint8_t>& pixels, int& width,
                  int& height) {
    jpeg_decompress_struct cinfo{};
    ErrorJump err{};
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = ErrorExit;
    err.mgr.emit_message = Quiet;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.scale_denom = 8;
    for (cinfo.scale_num = 1; cinfo.scale_num < 8; ++cinfo.scale_num)
        if (cinfo.image_width * cinfo.scale_num / 8 >= static_cast<unsigned>(want.width) &&
            cinfo.image_height * cinfo.scale_num / 8 >= static_cast<unsigned>(want.height))
            break;
    cinfo.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&cinfo);
    width = static_cast<int>(cinfo.output_width);
    height = static_cast<int>(cinfo.output_height);
    pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = pixels.data() + static_cast<size_t>(cinfo.output_scanline) * static_cast<size_t>(width) * 4;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

// The header's size, then the thumbnail's size by the program's own rule.
bool ThumbnailOf(const std::vector<unsigned char>& data, std::vector<uint8_t>& jpeg) {
    imaging::JpegInfo info;
    if (!imaging::ReadJpegInfo(data.data(), data.size(), info) || info.width == 0 || info.height == 0) return false;
    imaging::Size want = imaging::ThumbnailSize(info.width, info.height, 138, 108);
    if (want.width < 1 || want.height < 1) return false;
    std::vector<uint8_t> pixels;
    int w = 0, h = 0;
    if (!DecodeScaled(data, want, pixels, w, h)) return false;
    std::vector<uint8_t> thumb(static_cast<size_t>(want.width) * static_cast<size_t>(want.height) * 4);
    imaging::ScaleNearest(pixels.data(), w, h, static_cast<size_t>(w) * 4, thumb.data(), want.width, want.height,
                          static_cast<size_t>(want.width) * 4);
    jpeg = imaging::EncodeJpeg(thumb.data(), want.width, want.height, static_cast<size_t>(want.width) * 4, 70);
    return !jpeg.empty();
}

}  // namespace

int main(int argc, char** argv) {
    auto start = std::chrono::steady_clock::now();
    int done = 0, skipped = 0;
    size_t bytes = 0;  // kept so that the work cannot be left out
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<uint8_t> jpeg;
        if (ThumbnailOf(data, jpeg)) {
            ++done;
            bytes += jpeg.size();
        } else {
            ++skipped;
        }
    }
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("%d files in %.1f ms (%d skipped, %zu thumbnail bytes)\n", done, ms, skipped, bytes);
    return 0;
}
