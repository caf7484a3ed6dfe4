#include "engine/modernhtml.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/hexdigit.h"
#include "platform/text.h"

namespace engine::modern {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlnum(char c) { return IsAlpha(c) || IsDigit(c); }

// Elements whose content is text up to their end tag, never markup.
bool IsRawTextElement(std::string_view name) {
    for (std::string_view e : {"script", "style", "textarea", "title", "xmp", "iframe", "noembed", "noframes"})
        if (platform::SameAsciiIgnoringCase(name, e)) return true;
    return false;
}

// Where the end tag of raw-text element `name` starts, at or after `from`; npos when none.
size_t FindEndTag(std::string_view page, size_t from, std::string_view name) {
    for (;;) {
        size_t at = page.find("</", from);
        if (at == std::string_view::npos) return at;
        size_t after = at + 2 + name.size();
        if (after <= page.size() && platform::SameAsciiIgnoringCase(page.substr(at + 2, name.size()), name) &&
            (after == page.size() || IsSpace(page[after]) || page[after] == '/' || page[after] == '>'))
            return at;
        from = at + 2;
    }
}

// Reads the attributes of a start tag from `at` (just after its name) to its ">". Returns the
// position after the ">", or npos when the page ends first.
size_t ReadAttributes(std::string_view page, size_t at, std::vector<Attribute>& attrs) {
    const size_t n = page.size();
    size_t k = at;
    while (k < n) {
        char c = page[k];
        if (IsSpace(c) || c == '/') {
            ++k;
            continue;
        }
        if (c == '>') return k + 1;
        size_t nameStart = k++;  // a name may start with "="
        while (k < n && !IsSpace(page[k]) && page[k] != '/' && page[k] != '>' && page[k] != '=') ++k;
        Attribute a{page.substr(nameStart, k - nameStart), {}};
        size_t m = k;
        while (m < n && IsSpace(page[m])) ++m;
        if (m < n && page[m] == '=') {
            ++m;
            while (m < n && IsSpace(page[m])) ++m;
            if (m >= n) return std::string_view::npos;
            if (page[m] == '"' || page[m] == '\'') {
                size_t close = page.find(page[m], m + 1);
                if (close == std::string_view::npos) return close;
                a.value = page.substr(m + 1, close - m - 1);
                k = close + 1;
            } else {
                size_t e = m;
                while (e < n && !IsSpace(page[e]) && page[e] != '>') ++e;
                a.value = page.substr(m, e - m);
                k = e;
            }
        }
        attrs.push_back(a);
    }
    return std::string_view::npos;
}

// The characters that HTML gives the references &#128; to &#159; (windows-1252).
constexpr std::array<char16_t, 32> kC1 = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                          0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                          0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                          0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

char32_t NumericReference(uint32_t v) {
    if (v == 0 || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return 0xFFFD;
    if (v >= 0x80 && v <= 0x9F) return kC1[v - 0x80];
    return v;
}

struct Named {
    std::string_view name;
    char32_t c;
    bool legacy;  // also recognised without its ";"
};
constexpr Named kNamed[] = {{"amp", '&', true},     {"lt", '<', true},     {"gt", '>', true},   {"quot", '"', true},
                            {"apos", '\'', false},  {"nbsp", 0xA0, true},  {"sol", '/', false}, {"colon", ':', false},
                            {"equals", '=', false}, {"quest", '?', false}, {"num", '#', false}, {"percnt", '%', false}};

const Named* FindNamed(std::string_view name) {
    for (const Named& e : kNamed)
        if (e.name == name) return &e;
    return nullptr;
}

}  // namespace

void ForEachStartTag(std::string_view page, const TagHandler& onTag) {
    constexpr size_t npos = std::string_view::npos;
    const size_t n = page.size();
    std::vector<Attribute> attrs;
    size_t i = 0;
    for (;;) {
        size_t lt = page.find('<', i);
        if (lt == npos || lt + 1 >= n) return;
        size_t j = lt + 1;
        char c = page[j];
        if (page.substr(j, 3) == "!--") {
            size_t end = page.find("-->", j + 3);
            if (end == npos) return;
            i = end + 3;
        } else if (c == '!' || c == '?' || c == '/') {
            size_t gt = page.find('>', j);
            if (gt == npos) return;
            i = gt + 1;
        } else if (!IsAlpha(c)) {
            i = j;  // a lone "<" in text
        } else {
            size_t k = j;
            while (k < n && !IsSpace(page[k]) && page[k] != '/' && page[k] != '>') ++k;
            std::string_view name = page.substr(j, k - j);
            attrs.clear();
            i = ReadAttributes(page, k, attrs);
            if (i == npos) return;
            onTag(name, attrs);
            if (IsRawTextElement(name)) {
                i = FindEndTag(page, i, name);
                if (i == npos) return;
            }
        }
    }
}

std::u32string DecodeAttributeValue(std::string_view v) {
    std::u32string out;
    out.reserve(v.size());
    const size_t n = v.size();
    size_t i = 0;
    while (i < n) {
        unsigned char c = static_cast<unsigned char>(v[i]);
        if (c != '&') {
            out.push_back(c < 0x80 ? char32_t(c) : kRawByte + c);
            ++i;
            continue;
        }
        if (i + 1 < n && v[i + 1] == '#') {
            size_t j = i + 2;
            bool hex = j < n && (v[j] == 'x' || v[j] == 'X');
            if (hex) ++j;
            size_t digits = j;
            uint32_t value = 0;
            for (; j < n; ++j) {
                int d = hex ? platform::HexDigitValue(v[j]) : (IsDigit(v[j]) ? v[j] - '0' : -1);
                if (d < 0) break;
                value = std::min<uint32_t>(value * (hex ? 16 : 10) + uint32_t(d), 0x110000);
            }
            if (j > digits) {
                if (j < n && v[j] == ';') ++j;
                out.push_back(NumericReference(value));
                i = j;
                continue;
            }
        } else {
            size_t j = i + 1;
            while (j < n && j - i <= 8 && IsAlnum(v[j])) ++j;  // no name in the table is longer
            const Named* e = FindNamed(v.substr(i + 1, j - i - 1));
            bool semicolon = j < n && v[j] == ';';
            // Without ";", only the old names count, and not before "=" (as in "?a=1&lt=2").
            if (e && (semicolon || (e->legacy && (j == n || v[j] != '=')))) {
                out.push_back(e->c);
                i = semicolon ? j + 1 : j;
                continue;
            }
        }
        out.push_back('&');
        ++i;
    }
    return out;
}

}  // namespace engine::modern
