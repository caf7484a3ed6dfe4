#include "engine/modernscan.h"

#include "engine/modernhtml.h"
#include "engine/modernjson.h"
#include "platform/text.h"

namespace engine {
namespace {

using modern::IsRawByte;
using modern::kRawByte;

void AppendEscaped(std::string& out, unsigned b) {
    static const char kHex[] = "0123456789ABCDEF";
    out += '%';
    out += kHex[(b >> 4) & 15];
    out += kHex[b & 15];
}

void AppendUtf8Escaped(std::string& out, char32_t c) {
    if (c < 0x80) {
        AppendEscaped(out, c);
    } else if (c < 0x800) {
        AppendEscaped(out, 0xC0 | (c >> 6));
        AppendEscaped(out, 0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        AppendEscaped(out, 0xE0 | (c >> 12));
        AppendEscaped(out, 0x80 | ((c >> 6) & 0x3F));
        AppendEscaped(out, 0x80 | (c & 0x3F));
    } else {
        AppendEscaped(out, 0xF0 | (c >> 18));
        AppendEscaped(out, 0x80 | ((c >> 12) & 0x3F));
        AppendEscaped(out, 0x80 | ((c >> 6) & 0x3F));
        AppendEscaped(out, 0x80 | (c & 0x3F));
    }
}

bool IsControl(char32_t c) { return c < 0x20 || c == 0x7F; }

std::u32string_view Trim(std::u32string_view s) {
    while (!s.empty() && s.front() <= 0x20) s.remove_prefix(1);
    while (!s.empty() && s.back() <= 0x20) s.remove_suffix(1);
    return s;
}

std::string RequestAddress(std::u32string_view url) {
    std::string out;
    out.reserve(url.size());
    for (char32_t c : url) {
        if (IsRawByte(c))
            AppendEscaped(out, c - kRawByte);
        else if (c == ' ' || IsControl(c))
            AppendEscaped(out, c);
        else if (c < 0x80)
            out += char(c);
        else
            AppendUtf8Escaped(out, c);
    }
    return out;
}

// The byte of "%XX" at url[i], or -1.
int EscapedByte(std::u32string_view url, size_t i) {
    auto hex = [](char32_t c) {
        return c >= '0' && c <= '9'   ? int(c - '0')
               : c >= 'a' && c <= 'f' ? int(c - 'a' + 10)
               : c >= 'A' && c <= 'F' ? int(c - 'A' + 10)
                                      : -1;
    };
    if (i + 2 >= url.size() || url[i] != '%') return -1;
    int hi = hex(url[i + 1]), lo = hex(url[i + 2]);
    return hi < 0 || lo < 0 ? -1 : hi * 16 + lo;
}

// The character of a run of %XX at url[i] that forms one well-formed UTF-8 sequence of two or
// more bytes, with the run's length in `len`; 0 when there is none.
char32_t EscapedUtf8(std::u32string_view url, size_t i, size_t& len) {
    int lead = EscapedByte(url, i);
    size_t count = lead >= 0xC2 && lead <= 0xDF   ? 2
                   : lead >= 0xE0 && lead <= 0xEF ? 3
                   : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                  : 0;
    if (count == 0) return 0;
    char32_t c = char32_t(lead) & (0x7F >> count);
    for (size_t k = 1; k < count; ++k) {
        int b = EscapedByte(url, i + 3 * k);
        if (b < 0x80 || b > 0xBF) return 0;
        c = (c << 6) | char32_t(b & 0x3F);
    }
    bool overlong = (count == 3 && c < 0x800) || (count == 4 && c < 0x10000);
    if (overlong || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    len = 3 * count;
    return c;
}

std::string PageLine(std::u32string_view url, const PageCharset& charset) {
    std::string out;
    out.reserve(url.size());
    size_t i = 0;
    while (i < url.size()) {
        char32_t c = url[i];
        if (c == '%') {
            int b = EscapedByte(url, i);
            if (b >= 0x20 && b < 0x7F) {
                out += char(b);
                i += 3;
                continue;
            }
            size_t len = 0;
            char32_t u = EscapedUtf8(url, i, len);
            if (u >= 0xA0 && charset && charset(u, out)) {
                i += len;
                continue;
            }
            out += '%';  // kept as written
        } else if (IsRawByte(c)) {
            out += char(c - kRawByte);
        } else if (IsControl(c)) {
            AppendEscaped(out, c);
        } else if (c < 0x80) {
            out += char(c);
        } else if (c < 0xA0 || !charset || !charset(c, out)) {  // C1 controls too
            AppendUtf8Escaped(out, c);
        }
        ++i;
    }
    return out;
}

bool HasClass(std::u32string_view classes, std::u32string_view name) {
    size_t i = 0;
    while (i < classes.size()) {
        size_t end = i;
        while (end < classes.size() && !(classes[end] == ' ' || classes[end] == '\t' || classes[end] == '\n' ||
                                         classes[end] == '\r' || classes[end] == '\f'))
            ++end;
        if (classes.substr(i, end - i) == name) return true;
        i = end + 1;
    }
    return false;
}

const modern::Attribute* FindAttribute(const std::vector<modern::Attribute>& attrs, std::string_view name) {
    for (const auto& a : attrs)
        if (platform::SameAsciiIgnoringCase(a.name, name)) return &a;  // the first of a name counts, as in HTML
    return nullptr;
}

}  // namespace

std::vector<ModernResult> ScanModernPage(std::string_view page, const PageCharset& charset) {
    std::vector<ModernResult> results;
    std::vector<modern::JsonField> fields{{U"murl", {}}, {U"purl", {}}};
    modern::ForEachStartTag(page, [&](std::string_view name, const std::vector<modern::Attribute>& attrs) {
        if (!platform::SameAsciiIgnoringCase(name, "a")) return;
        const modern::Attribute* cls = FindAttribute(attrs, "class");
        const modern::Attribute* m = FindAttribute(attrs, "m");
        if (!cls || !m || !HasClass(modern::DecodeAttributeValue(cls->value), U"iusc")) return;
        if (!modern::ReadJsonObject(modern::DecodeAttributeValue(m->value), fields)) return;
        if (!fields[0].value || !fields[1].value) return;
        std::u32string_view image = Trim(*fields[0].value), pageUrl = Trim(*fields[1].value);
        if (image.empty() || pageUrl.empty()) return;
        results.push_back({RequestAddress(image), PageLine(pageUrl, charset)});
    });
    return results;
}

}  // namespace engine
