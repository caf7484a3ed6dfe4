// libFuzzer: the JPEG decoders and the image header readers on any bytes never read out of
// bounds, agree on the size they find, and keep to their pixel limits.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "imaging/jpegcodec.h"
#include "imaging/thumbgeom.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int64_t hw = 0, hh = 0;
    imaging::SniffImage(data, size);
    imaging::HeaderSize(data, size, hw, hh);

    imaging::JpegInfo info;
    bool header = imaging::ReadJpegInfo(data, size, info);
    std::vector<uint8_t> px;
    int w = 0, h = 0;
    constexpr uint64_t kLimit = 1u << 20;
    if (imaging::DecodeJpeg(data, size, kLimit, px, w, h)) {
        if (!header || w != info.width || h != info.height) abort();
        if (uint64_t(w) * uint64_t(h) > kLimit || px.size() != 4 * size_t(w) * size_t(h)) abort();
    }
    if (header && uint64_t(info.width) * uint64_t(info.height) <= kLimit) {
        std::vector<uint8_t> thumb;
        if (imaging::DecodeJpegNearest(data, size, 13, 9, thumb) && thumb.size() != 4 * 13 * 9) abort();
    }
    return 0;
}
