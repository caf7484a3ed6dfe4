// Feeds arbitrary bytes to the second rule set of the page scan: once as a whole page, once as
// the "m" value of a result anchor (to reach the JSON reader often), and checks what comes out.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/modernscan.h"

namespace {

bool Latin1(char32_t c, std::string& out) {
    if (c < 0xA0 || c > 0xFF) return false;
    out += char(c);
    return true;
}

void Check(const std::vector<engine::ModernResult>& results) {
    for (const auto& r : results) {
        if (r.imageUrl.empty() || r.pageLine.empty()) abort();
        for (unsigned char c : r.imageUrl)  // ready to request: printable ASCII only
            if (c <= 0x20 || c >= 0x7F) abort();
        for (unsigned char c : r.pageLine)  // one line
            if (c < 0x20 || c == 0x7F) abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    Check(engine::ScanModernPage(text, Latin1));
    std::string page = "<a class=\"iusc\" m='" + std::string(text) + "'>";
    Check(engine::ScanModernPage(page));
    return 0;
}
