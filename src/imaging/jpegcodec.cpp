#include "imaging/jpegcodec.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

#include "imaging/thumbgeom.h"

// libjpeg reports a fatal error by calling error_exit, which must not return. Each function
// below jumps back to its own setjmp; every C++ object it touches lives outside that window
// (declared before setjmp), so the jump skips no destructor.

namespace imaging {

namespace {

// libjpeg's own working memory per image; beyond it (a huge progressive image, say) the
// decoder gives up rather than exhausting memory.
constexpr long kMaxWorkingMemory = 256L << 20;

struct ErrorJump {
    jpeg_error_mgr mgr;
    jmp_buf jump;
};

void ErrorExit(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<ErrorJump*>(cinfo->err)->jump, 1); }
void Quiet(j_common_ptr, int) {}

jpeg_error_mgr* InitErrors(ErrorJump& err) {
    jpeg_std_error(&err.mgr);
    err.mgr.error_exit = ErrorExit;
    err.mgr.emit_message = Quiet;  // warnings (a truncated stream, say) are not errors
    return &err.mgr;
}

// The decompressor, started on the data as far as its header.
struct Reader {
    jpeg_decompress_struct cinfo{};
    ErrorJump err;
    ~Reader() { jpeg_destroy_decompress(&cinfo); }
};

void OpenReader(Reader& r, const uint8_t* data, size_t size) {
    jpeg_create_decompress(&r.cinfo);
    r.cinfo.mem->max_memory_to_use = kMaxWorkingMemory;
    jpeg_mem_src(&r.cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&r.cinfo, TRUE);
    r.cinfo.out_color_space = JCS_EXT_BGRX;
}

// The smallest scale n/8 whose output still covers width x height; 8/8 when none smaller does.
// A reduced scale costs the decoder a fraction of the work and the pixels a fraction of the
// memory (the inverse transform averages each block down instead of taking every pixel).
void ScaleToCover(jpeg_decompress_struct& cinfo, int width, int height) {
    cinfo.scale_denom = 8;
    for (cinfo.scale_num = 1; cinfo.scale_num < 8; cinfo.scale_num++) {
        jpeg_calc_output_dimensions(&cinfo);
        if (cinfo.output_width >= static_cast<JDIMENSION>(width) &&
            cinfo.output_height >= static_cast<JDIMENSION>(height))
            return;
    }
}

}  // namespace

bool ReadJpegInfo(const uint8_t* data, size_t size, JpegInfo& info) {
    Reader r;
    r.cinfo.err = InitErrors(r.err);
    if (setjmp(r.err.jump)) return false;
    jpeg_create_decompress(&r.cinfo);
    jpeg_mem_src(&r.cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&r.cinfo, TRUE);
    info.width = static_cast<int>(r.cinfo.image_width);
    info.height = static_cast<int>(r.cinfo.image_height);
    info.components = r.cinfo.num_components;
    info.progressive = r.cinfo.progressive_mode != 0;
    return true;
}

std::vector<uint8_t> EncodeJpeg(const uint8_t* pixels, int width, int height, size_t stride, int quality) {
    std::vector<uint8_t> out;
    if (width <= 0 || height <= 0) return out;
    jpeg_compress_struct cinfo{};
    ErrorJump err;
    cinfo.err = InitErrors(err);
    unsigned char* buf = nullptr;
    unsigned long len = 0;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::free(buf);
        return {};
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &buf, &len);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&cinfo);  // YCbCr, three components, baseline Huffman coding
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels + cinfo.next_scanline * stride);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    out.assign(buf, buf + len);
    std::free(buf);
    return out;
}

bool DecodeJpeg(const uint8_t* data, size_t size, uint64_t maxPixels, std::vector<uint8_t>& pixels, int& width,
                int& height, int coverWidth, int coverHeight) {
    Reader r;
    r.cinfo.err = InitErrors(r.err);
    if (setjmp(r.err.jump)) return false;
    OpenReader(r, data, size);
    if (r.cinfo.image_width == 0 || r.cinfo.image_height == 0) return false;
    if (coverWidth > 0 && coverHeight > 0) ScaleToCover(r.cinfo, coverWidth, coverHeight);
    jpeg_calc_output_dimensions(&r.cinfo);
    if (uint64_t{r.cinfo.output_width} * r.cinfo.output_height > maxPixels) return false;
    jpeg_start_decompress(&r.cinfo);
    width = static_cast<int>(r.cinfo.output_width);
    height = static_cast<int>(r.cinfo.output_height);
    size_t stride = 4 * static_cast<size_t>(width);
    pixels.assign(stride * static_cast<size_t>(height), 0xFF);
    while (r.cinfo.output_scanline < r.cinfo.output_height) {
        JSAMPROW row = pixels.data() + r.cinfo.output_scanline * stride;
        jpeg_read_scanlines(&r.cinfo, &row, 1);
    }
    jpeg_finish_decompress(&r.cinfo);
    return true;
}

bool DecodeJpegNearest(const uint8_t* data, size_t size, int width, int height, std::vector<uint8_t>& pixels) {
    Reader r;
    std::vector<uint8_t> row;
    std::vector<int> xs, ys;
    r.cinfo.err = InitErrors(r.err);
    if (setjmp(r.err.jump)) return false;
    OpenReader(r, data, size);
    if (width <= 0 || height <= 0 || r.cinfo.image_width == 0 || r.cinfo.image_height == 0) return false;
    ScaleToCover(r.cinfo, width, height);
    jpeg_start_decompress(&r.cinfo);
    xs = NearestIndices(r.cinfo.output_width, width);
    ys = NearestIndices(r.cinfo.output_height, height);
    row.resize(4 * static_cast<size_t>(r.cinfo.output_width));
    pixels.assign(4 * static_cast<size_t>(width) * static_cast<size_t>(height), 0xFF);
    size_t next = 0;  // the next target row still to fill
    while (r.cinfo.output_scanline < r.cinfo.output_height && next < ys.size()) {
        // Rows no target pixel comes from are only entropy-decoded, not transformed.
        JDIMENSION want = static_cast<JDIMENSION>(ys[next]);
        if (want > r.cinfo.output_scanline) jpeg_skip_scanlines(&r.cinfo, want - r.cinfo.output_scanline);
        int y = static_cast<int>(r.cinfo.output_scanline);
        JSAMPROW p = row.data();
        jpeg_read_scanlines(&r.cinfo, &p, 1);
        for (; next < ys.size() && ys[next] == y; next++) {
            uint8_t* out = pixels.data() + next * 4 * static_cast<size_t>(width);
            for (int x = 0; x < width; x++)
                std::memcpy(out + 4 * x, row.data() + 4 * static_cast<size_t>(xs[static_cast<size_t>(x)]), 4);
        }
    }
    jpeg_abort_decompress(&r.cinfo);
    return true;
}

}  // namespace imaging
