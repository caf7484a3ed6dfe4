// libFuzzer: decoding never reads past the text, agrees with its throwing form, and undoes a
// full percent-encoding of any bytes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/urldecode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size), out;
    bool ok = engine::TryUrlDecode(text, out);
    if (ok && out.size() > text.size()) abort();
    try {
        if (engine::UrlDecode(text) != out || !ok) abort();
    } catch (const engine::UrlDecodeError&) {
        if (ok) abort();
    }
    static const char* hex = "0123456789abcdef";
    std::string encoded;
    for (unsigned char c : text) encoded += {'%', hex[c >> 4], hex[c & 15]};
    if (engine::UrlDecode(encoded) != text) abort();
    return 0;
}
