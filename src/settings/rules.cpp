#include "settings/rules.h"

#include "platform/text.h"
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

namespace {
std::string_view Trimmed(std::string_view s) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}
}  // namespace

std::optional<std::string> ProfileValue(std::string_view text, std::string_view section, std::string_view key) {
    bool inSection = false, seenSection = false;
    while (!text.empty()) {
        size_t nl = text.find('\n');
        std::string_view line = Trimmed(text.substr(0, nl));
        text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
        if (!line.empty() && line.front() == '[') {
            if (seenSection && inSection) return std::nullopt;  // the section's keys are over
            size_t close = line.find(']');
            std::string_view name = Trimmed(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
            inSection = platform::SameTextIgnoringCase(name, Trimmed(section));
            seenSection = seenSection || inSection;
            continue;
        }
        if (!inSection) continue;
        size_t eq = line.find('=');
        if (eq == std::string_view::npos || !platform::SameTextIgnoringCase(Trimmed(line.substr(0, eq)), Trimmed(key)))
            continue;
        std::string_view value = Trimmed(line.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return std::string(value);
    }
    return std::nullopt;
}

std::string WithTrailingBackslash(std::string folder) {
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

bool IsKeywordChar(unsigned c) {
    if (c == 8 || c == 12) return true;
    if (c >= 0xA0) return true;
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
