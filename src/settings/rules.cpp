#include "settings/rules.h"

#include "engine/hexdigit.h"
#include "settings/settingskeys.h"

namespace settings {

std::optional<int32_t> ParseInteger(const std::string& text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        uint64_t v = 0;
        for (size_t i = 2; i < text.size(); ++i) {
            int d = engine::HexDigitValue(text[i]);
            if (d < 0) return std::nullopt;
            v = v * 16 + static_cast<uint64_t>(d);
            if (v > 0xFFFFFFFFull) return std::nullopt;
        }
        return static_cast<int32_t>(static_cast<uint32_t>(v));
    }
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return std::nullopt;
    int64_t v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        v = v * 10 + (text[i] - '0');
        if (v > 2147483648LL) return std::nullopt;
    }
    if (negative) v = -v;
    if (v > INT32_MAX || v < INT32_MIN) return std::nullopt;
    return static_cast<int32_t>(v);
}

int32_t IntegerDefault(const KeyDef& key) {
    if (!key.fixedDefault) return 0;
    return ParseInteger(key.fixedDefault).value_or(0);
}

std::string SanitizeValue(const std::string& value) {
    std::string out = value;
    for (char& c : out)
        if (c == '\r' || c == '\n') c = ' ';
    return out;
}

std::string StoredForm(const std::string& value) {
    std::string out = SanitizeValue(value);
    if (out.empty()) return out;
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    bool quoted = out.size() >= 2 && (out.front() == '"' || out.front() == '\'') && out.back() == out.front();
    if (quoted || blank(out.front()) || blank(out.back())) out = '"' + out + '"';
    return out;
}

bool IsBlankEntry(const std::string& text) {
    for (unsigned char c : text)
        if (c > 32) return false;
    return true;
}

std::string WithTrailingBackslash(std::string folder) {
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

bool IsKeywordChar(unsigned char c) {
    if (c == 8 || c == 12) return true;
    if (c >= '0' && c <= '9') return true;
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
    switch (c) {
    case ' ': case '!': case '"': case '#': case '$': case '%': case '&': case '\'':
    case '(': case ')': case '+': case ',': case '-': case '.': case '=': case '[':
    case ']': case '_':
        return true;
    default:
        return false;
    }
}

std::string SiteAddress(const std::string& address) {
    size_t scheme = address.find("://");
    if (scheme == std::string::npos) return {};
    size_t slash = address.find('/', scheme + 3);
    if (slash == std::string::npos) return address + "/";
    return address.substr(0, slash + 1);
}

}  // namespace settings
