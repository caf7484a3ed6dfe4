#include "settings/rules.h"
#include "platform/integers.h"

#include "platform/hexdigit.h"
#include "settings/settingskeys.h"

namespace settings {

int32_t IntegerDefault(const KeyDef& key) {
    if (!key.fixedDefault) return 0;
    return platform::ParseInteger(key.fixedDefault).value_or(0);
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
    case ' ':
    case '!':
    case '"':
    case '#':
    case '$':
    case '%':
    case '&':
    case '\'':
    case '(':
    case ')':
    case '+':
    case ',':
    case '-':
    case '.':
    case '=':
    case '[':
    case ']':
    case '_': return true;
    default: return false;
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
