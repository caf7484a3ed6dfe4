#include "engine/untrusted.h"

#include "engine/naming.h"
#include "platform/text.h"

namespace engine {

namespace {

bool StartsWithIgnoringCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() && platform::SameAsciiIgnoringCase(text.substr(0, start.size()), start);
}

}  // namespace

bool IsWebAddress(std::string_view line) {
    size_t rest = 0;
    if (StartsWithIgnoringCase(line, "http://"))
        rest = 7;
    else if (StartsWithIgnoringCase(line, "https://"))
        rest = 8;
    else
        return false;
    for (char c : line) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || c == '"') return false;
    }
    // The host: up to the first "/", "?" or "#"; a backslash there could name a share.
    std::string_view host = line.substr(rest, line.find_first_of("/?#", rest) - rest);
    return !host.empty() && host.find('\\') == std::string_view::npos;
}

bool IsPlainFileName(std::string_view name) {
    if (platform::IsBlank(name) || name == "." || name == "..") return false;
    for (char c : name) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) return false;
    }
    if (name.back() == '.' || name.back() == ' ') return false;
    return !IsDeviceName(name) && !IsActiveExtension(Extension(name));
}

}  // namespace engine
