#include "engine/urldecode.h"

#include "platform/hexdigit.h"
#include "platform/text.h"

namespace engine {

namespace {

// The address as an error text shows it: one line, not too long.
std::string Shown(std::string_view text) {
    constexpr size_t kMax = 200;
    std::string out;
    std::string_view head = platform::FirstCharacters(text, kMax);
    for (char c : head) out += static_cast<unsigned char>(c) < 32 ? ' ' : c;
    if (head.size() < text.size()) out += "...";
    return platform::ShowableText(out);
}

}  // namespace

bool TryUrlDecode(std::string_view text, std::string& out) {
    out.clear();
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); i++) {
        char c = text[i];
        if (c == '+') {
            out += ' ';
        } else if (c != '%') {
            out += c;
        } else if (i + 1 < text.size() && text[i + 1] == '%') {
            out += '%';
            i += 1;
        } else {
            if (i + 2 >= text.size()) return false;
            int hi = platform::HexDigitValue(text[i + 1]), lo = platform::HexDigitValue(text[i + 2]);
            if (hi < 0 || lo < 0) return false;
            out += static_cast<char>(hi * 16 + lo);
            i += 2;
        }
    }
    return true;
}

std::string UrlDecode(std::string_view text) {
    std::string out;
    if (!TryUrlDecode(text, out)) throw UrlDecodeError("Cannot decode the address \"" + Shown(text) + "\"");
    return out;
}

std::string RequestForm(std::string_view url) {
    if (!platform::TextsAreUtf8()) return std::string(url);
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char ch : url) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c >= 0x7F) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

}  // namespace engine
