#include "platform/text.h"

#include <algorithm>
#include <atomic>
#include <cstdint>

namespace platform {

namespace {

#ifdef _WIN32
// The one fact of the system this file needs, declared by hand to stay free of windows.h.
extern "C" __declspec(dllimport) unsigned int __stdcall GetACP(void);
std::atomic<bool> g_utf8{GetACP() == 65001};
#else
std::atomic<bool> g_utf8{true};
#endif

bool Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The code point of the well-formed character of `len` bytes at the start of text.
char32_t Decode(std::string_view text, size_t len) {
    auto b = [&](size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(text[i])); };
    switch (len) {
    case 1: return b(0);
    case 2: return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
    case 3: return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    default: return ((b(0) & 0x07) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) | (b(3) & 0x3F);
    }
}

bool IsCombiningMark(char32_t c) {
    return (c >= 0x0300 && c <= 0x036F) || (c >= 0x0483 && c <= 0x0489) || (c >= 0x0591 && c <= 0x05BD) ||
           (c >= 0x0610 && c <= 0x061A) || (c >= 0x064B && c <= 0x065F) || c == 0x0670 ||
           (c >= 0x0900 && c <= 0x0903) || (c >= 0x093A && c <= 0x094F) || (c >= 0x1AB0 && c <= 0x1AFF) ||
           (c >= 0x1DC0 && c <= 0x1DFF) || c == 0x200D || (c >= 0x20D0 && c <= 0x20FF) ||
           (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xFE20 && c <= 0xFE2F);
}

char32_t FoldLetter(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c < 0xC0) return c;
    if (c <= 0xDE) return c == 0xD7 ? c : c + 32;  // À..Þ but ×
    if (c >= 0x0100 && c <= 0x017F) {
        if (c == 0x0178) return 0xFF;  // Ÿ
        bool oddUpper = (c >= 0x0139 && c <= 0x0148) || (c >= 0x0179 && c <= 0x017E);
        if (c == 0x0130 || c == 0x0131 || c == 0x0138 || c == 0x0149 || c == 0x017F) return c;
        return oddUpper ? (c % 2 ? c + 1 : c) : (c % 2 ? c : c + 1);
    }
    if (c >= 0x0391 && c <= 0x03A9 && c != 0x03A2) return c + 32;
    if (c == 0x03C2) return 0x03C3;  // final sigma
    if (c == 0x0386) return 0x03AC;
    if (c >= 0x0388 && c <= 0x038A) return c + 37;
    if (c == 0x038C) return 0x03CC;
    if (c == 0x038E || c == 0x038F) return c + 63;
    if (c >= 0x0410 && c <= 0x042F) return c + 32;
    if (c >= 0x0400 && c <= 0x040F) return c + 80;
    return c;
}

unsigned char FoldLegacy(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);  // À..Þ
    if (c == 0x8A || c == 0x8C || c == 0x8E) return static_cast<unsigned char>(c + 16);  // Š Œ Ž
    if (c == 0x9F) return 0xFF;                                                          // Ÿ
    return c;
}

// The next character of text from `at` on, folded; a byte that forms none stands for itself
// above the range of code points, so it matches only the same byte.
char32_t NextFolded(std::string_view text, size_t& at) {
    size_t len = Utf8CharLength(text.substr(at));
    if (len == 0) return 0x110000 + static_cast<unsigned char>(text[at++]);
    char32_t c = Decode(text.substr(at), len);
    at += len;
    return FoldLetter(c);
}

}  // namespace

bool TextsAreUtf8() { return g_utf8.load(std::memory_order_relaxed); }
void SetTextsAreUtf8(bool utf8) { g_utf8.store(utf8, std::memory_order_relaxed); }

size_t Utf8CharLength(std::string_view text) {
    if (text.empty()) return 0;
    unsigned char c = static_cast<unsigned char>(text[0]);
    if (c < 0x80) return 1;
    size_t len = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
    if (len == 0 || text.size() < len) return 0;
    for (size_t i = 1; i < len; i++)
        if (!Continuation(static_cast<unsigned char>(text[i]))) return 0;
    unsigned char second = static_cast<unsigned char>(text[1]);
    if (c == 0xE0 && second < 0xA0) return 0;  // overlong
    if (c == 0xED && second > 0x9F) return 0;  // surrogate
    if (c == 0xF0 && second < 0x90) return 0;  // overlong
    if (c == 0xF4 && second > 0x8F) return 0;  // beyond U+10FFFF
    return len;
}

bool IsValidUtf8(std::string_view text) {
    for (size_t at = 0; at < text.size();) {
        size_t len = Utf8CharLength(text.substr(at));
        if (len == 0) return false;
        at += len;
    }
    return true;
}

size_t CharacterCount(std::string_view text) {
    if (!TextsAreUtf8()) return text.size();
    size_t n = 0;
    for (size_t at = 0; at < text.size(); n++) at += std::max<size_t>(1, Utf8CharLength(text.substr(at)));
    return n;
}

std::string_view FirstCharacters(std::string_view text, size_t count) {
    if (!TextsAreUtf8()) return text.substr(0, count);
    size_t at = 0, baseStart = 0;
    for (size_t n = 0; at < text.size();) {
        size_t len = Utf8CharLength(text.substr(at));
        bool mark = len > 0 && IsCombiningMark(Decode(text.substr(at), len));
        if (!mark) {
            if (n == count) break;
            baseStart = at;
        } else if (n == count) {
            // The cut would leave this mark without its letter: cut before the letter instead.
            return text.substr(0, baseStart);
        }
        at += std::max<size_t>(1, len);
        n++;
    }
    return text.substr(0, at);
}

std::string WithoutCutCharacter(std::string text) {
    // A UTF-8 character is at most 4 bytes: its lead byte is at most 3 bytes back.
    size_t start = text.size();
    for (int back = 0; back < 3 && start > 0 && Continuation(static_cast<unsigned char>(text[start - 1])); back++)
        start--;
    if (start == 0) return text;
    unsigned char lead = static_cast<unsigned char>(text[start - 1]);
    size_t need = lead >= 0xF0 && lead <= 0xF4   ? 4
                  : lead >= 0xE0 && lead <= 0xEF ? 3
                  : lead >= 0xC2 && lead <= 0xDF ? 2
                                                 : 0;
    if (need > text.size() - (start - 1)) text.resize(start - 1);
    return text;
}

std::string ShowableText(std::string_view text) {
    if (!TextsAreUtf8() || IsValidUtf8(text)) return std::string(text);
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (size_t at = 0; at < text.size();) {
        size_t len = Utf8CharLength(text.substr(at));
        if (len == 0) {
            unsigned char c = static_cast<unsigned char>(text[at++]);
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out.append(text.substr(at, len));
            at += len;
        }
    }
    return out;
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    if (!TextsAreUtf8()) {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); i++)
            if (FoldLegacy(static_cast<unsigned char>(a[i])) != FoldLegacy(static_cast<unsigned char>(b[i])))
                return false;
        return true;
    }
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size())
        if (NextFolded(a, i) != NextFolded(b, j)) return false;
    return i == a.size() && j == b.size();
}

namespace {
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool SameAsciiIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); i++)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

std::string AsciiLowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = AsciiLower(c);
    return lower;
}

bool IsBlank(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) > 32) return false;
    return true;
}

std::string Utf8OrLegacy(std::string_view bytes, const LegacyDecoder& fromLegacy) {
    std::string_view text = bytes;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    if (IsValidUtf8(text)) return std::string(text);
    return fromLegacy(bytes);
}

std::string Utf8OrLegacyByLine(std::string_view bytes, const LegacyDecoder& fromLegacy) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    std::string out;
    out.reserve(bytes.size());
    while (!bytes.empty()) {
        size_t end = bytes.find('\n');
        end = end == std::string_view::npos ? bytes.size() : end + 1;
        std::string_view line = bytes.substr(0, end);
        if (IsValidUtf8(line))
            out += line;
        else
            out += fromLegacy(line);
        bytes.remove_prefix(end);
    }
    return out;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string Cp1252ToUtf8(std::string_view bytes) {
    static constexpr char16_t k80[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                         0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                         0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                         0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        unsigned char c = static_cast<unsigned char>(ch);
        AppendUtf8(out, c >= 0x80 && c < 0xA0 ? k80[c - 0x80] : c);
    }
    return out;
}

}  // namespace platform
