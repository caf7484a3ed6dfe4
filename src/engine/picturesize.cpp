#include "engine/picturesize.h"

#include <cstdint>
#include <cstdlib>

namespace engine {

namespace {

uint32_t Byte(std::string_view b, size_t i) { return static_cast<unsigned char>(b[i]); }
uint32_t Big16(std::string_view b, size_t i) { return Byte(b, i) << 8 | Byte(b, i + 1); }
uint32_t Big32(std::string_view b, size_t i) { return Big16(b, i) << 16 | Big16(b, i + 2); }
uint32_t Little16(std::string_view b, size_t i) { return Byte(b, i) | Byte(b, i + 1) << 8; }
uint32_t Little24(std::string_view b, size_t i) { return Little16(b, i) | Byte(b, i + 2) << 16; }
uint32_t Little32(std::string_view b, size_t i) { return Little16(b, i) | Little16(b, i + 2) << 16; }

// Sizes past this are no picture anyone could decode; a header naming one is damaged.
constexpr uint32_t kLargest = 1u << 20;

std::optional<PictureSize> Size(uint32_t w, uint32_t h) {
    if (w == 0 || h == 0 || w > kLargest || h > kLargest) return std::nullopt;
    return PictureSize{static_cast<int>(w), static_cast<int>(h)};
}

// The markers walk from the start of the stream to the first frame header (SOF0 to SOF15, less
// the tables that share their range: DHT C4, JPG C8, DAC CC).
std::optional<PictureSize> Jpeg(std::string_view b) {
    size_t i = 2;
    while (i + 4 <= b.size()) {
        if (Byte(b, i) != 0xFF) return std::nullopt;
        const uint32_t marker = Byte(b, i + 1);
        if (marker == 0xFF) {  // fill bytes before a marker
            i++;
            continue;
        }
        if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            i += 2;  // markers without a length
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) return std::nullopt;  // the end, or data before any frame
        const uint32_t length = Big16(b, i + 2);
        if (length < 2) return std::nullopt;
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (i + 9 > b.size() || length < 7) return std::nullopt;
            return Size(Big16(b, i + 7), Big16(b, i + 5));
        }
        i += 2 + length;
    }
    return std::nullopt;
}

std::optional<PictureSize> WebP(std::string_view b) {
    const std::string_view chunk = b.substr(12, 4);
    if (chunk == "VP8 " && b.size() >= 30 && Byte(b, 23) == 0x9D && Byte(b, 24) == 0x01 && Byte(b, 25) == 0x2A)
        return Size(Little16(b, 26) & 0x3FFF, Little16(b, 28) & 0x3FFF);
    if (chunk == "VP8L" && b.size() >= 25 && Byte(b, 20) == 0x2F) {
        const uint32_t bits = Little32(b, 21);
        return Size((bits & 0x3FFF) + 1, ((bits >> 14) & 0x3FFF) + 1);
    }
    if (chunk == "VP8X" && b.size() >= 30) return Size(Little24(b, 24) + 1, Little24(b, 27) + 1);
    return std::nullopt;
}

}  // namespace

std::optional<PictureSize> PictureSizeFromHeader(std::string_view b) {
    if (b.size() >= 4 && Byte(b, 0) == 0xFF && Byte(b, 1) == 0xD8) return Jpeg(b);
    if (b.size() >= 24 && b.substr(0, 8) == "\x89PNG\r\n\x1A\n" && b.substr(12, 4) == "IHDR")
        return Size(Big32(b, 16), Big32(b, 20));
    if (b.size() >= 10 && (b.substr(0, 6) == "GIF87a" || b.substr(0, 6) == "GIF89a"))
        return Size(Little16(b, 6), Little16(b, 8));
    if (b.size() >= 26 && b.substr(0, 2) == "BM") {
        const uint32_t header = Little32(b, 14);
        if (header == 12) return Size(Little16(b, 18), Little16(b, 20));  // the old OS/2 header
        // Height is negative for a picture stored top row first.
        const auto height = static_cast<int32_t>(Little32(b, 22));
        return Size(Little32(b, 18), static_cast<uint32_t>(height < 0 ? -static_cast<int64_t>(height) : height));
    }
    if (b.size() >= 16 && b.substr(0, 4) == "RIFF" && b.substr(8, 4) == "WEBP") return WebP(b);
    return std::nullopt;
}

}  // namespace engine
