#include "engine/naming.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>

#include "platform/text.h"

namespace engine {

namespace {

char LowerChar(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Base and extension as the naming rules split a name.
std::string BaseOf(const std::string& name) { return name.substr(0, name.size() - Extension(name).size()); }

// Replaces every occurrence of `from` (letter case ignored) with `to`, left to right.
std::string ReplaceIgnoringCase(std::string_view text, std::string_view from, std::string_view to) {
    std::string lower = LowerAscii(text), key = LowerAscii(from), out;
    size_t at = 0;
    for (size_t hit = lower.find(key); hit != std::string::npos; hit = lower.find(key, at)) {
        out.append(text.substr(at, hit - at));
        out.append(to);
        at = hit + key.size();
    }
    out.append(text.substr(at));
    return out;
}

// Rules 3 and 4: a long extension that starts with ".jpg" (or ".gif") is cut back to it.
std::string TrimExtension(const std::string& name, std::string_view kind) {
    std::string ext = Extension(name);
    if (ext.size() > 4 && LowerAscii(std::string_view(ext).substr(0, 4)) == kind)
        return BaseOf(name) + std::string(kind);
    return name;
}

std::string WholeCharacters(const std::string& name);

// What Windows does not take as an ordinary file name: control characters, a trailing dot
// or space (silently dropped, so the uniqueness test would ask about another name) and the
// device names.
std::string MakeSafeForWindows(std::string name) {
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 32) c = '_';
    if (platform::TextsAreUtf8()) name = WholeCharacters(name);
    for (size_t i = name.size(); i > 0 && (name[i - 1] == '.' || name[i - 1] == ' '); i--) name[i - 1] = '_';
    if (IsDeviceName(name)) name = "_" + name;
    return name;
}

// In a UTF-8 name, bytes that form no character (the system would make each a U+FFFD) and the
// characters that hide or reorder what the name shows (C1 controls, the bidirectional
// embeddings, overrides and isolates, which can make "gpj.exe" look like "exe.jpg") become "_".
std::string WholeCharacters(const std::string& name) {
    std::string out;
    for (size_t at = 0; at < name.size();) {
        std::string_view rest = std::string_view(name).substr(at);
        size_t len = platform::Utf8CharLength(rest);
        bool hidden =
            len == 2 && static_cast<unsigned char>(rest[0]) == 0xC2 && static_cast<unsigned char>(rest[1]) < 0xA0;
        if (len == 3 && rest.substr(0, 2) == "\xE2\x80") {
            unsigned char c = static_cast<unsigned char>(rest[2]);
            hidden = (c >= 0xAA && c <= 0xAE) || c == 0x8E || c == 0x8F;  // U+202A..E, U+200E/F
        }
        if (len == 3 && rest.substr(0, 2) == "\xE2\x81") {
            unsigned char c = static_cast<unsigned char>(rest[2]);
            hidden = c >= 0xA6 && c <= 0xA9;  // U+2066..9
        }
        if (len == 0 || hidden) {
            out += '_';
            at += std::max<size_t>(len, 1);
        } else {
            out.append(rest.substr(0, len));
            at += len;
        }
    }
    return out;
}

// Extensions Windows runs, installs, mounts or obeys when a file is opened or its folder is
// shown, and pages a browser would run script from: the one list every downloaded name is
// checked against.
constexpr std::string_view kActiveExtensions[] = {
    // programs and scripts
    ".exe", ".com", ".bat", ".cmd", ".scr", ".pif", ".js", ".jse", ".vbs", ".vbe", ".wsf", ".wsh", ".ps1", ".psm1",
    ".psd1", ".hta", ".jar", ".msc", ".cpl", ".dll", ".ocx", ".sys", ".drv", ".gadget",
    // installers and packages
    ".msi", ".msp", ".mst", ".appx", ".appxbundle", ".msix", ".msixbundle", ".appinstaller", ".application",
    ".appref-ms",
    // links, shell and folder settings
    ".lnk", ".url", ".website", ".scf", ".inf", ".ini", ".reg", ".desktop", ".library-ms", ".search-ms",
    ".searchconnector-ms", ".settingcontent-ms",
    // pages and documents that carry script
    ".htm", ".html", ".xht", ".xhtml", ".mht", ".mhtml", ".svg", ".svgz", ".chm",
    // disk images that mount with a double click
    ".iso", ".img", ".vhd", ".vhdx"};

}  // namespace

bool IsActiveExtension(std::string_view extension) {
    std::string lower = LowerAscii(extension);
    return std::find(std::begin(kActiveExtensions), std::end(kActiveExtensions), lower) != std::end(kActiveExtensions);
}

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = LowerChar(c);
    return out;
}

std::string Extension(std::string_view text) {
    size_t at = text.find_last_of(".\\:");
    if (at == std::string_view::npos || text[at] != '.') return {};
    return std::string(text.substr(at));
}

std::string LastSegment(std::string_view url) {
    size_t slash = url.rfind('/');
    return std::string(slash == std::string_view::npos ? url : url.substr(slash + 1));
}

std::string RemoveRefusedCharacters(std::string name) {
    static constexpr std::array<char, 12> kRemoved{':', '/', '*', '\\', '?', '>', '<', '|', '&', '"', '=', '%'};
    for (char r : kRemoved) std::erase(name, r);
    return name;
}

bool SkippedByExtension(std::string_view imageUrl) {
    std::string ext = LowerAscii(Extension(imageUrl));
    return ext.find(".png") != std::string::npos || ext == ".webp";
}

std::string ReplaceAmpEntities(std::string_view pageUrl) { return ReplaceIgnoringCase(pageUrl, "&amp;", "&"); }

std::string ShapeFileName(std::string name, int p, int r) {
    if (platform::IsBlank(name)) {
        // Widened: on an absurdly long page p times r would not fit 32 bits.
        int64_t factor = static_cast<int64_t>(r) * p;
        name = "noname" + std::to_string(factor) + "_" + std::to_string(p) + ".jpg";
    }
    name = ReplaceIgnoringCase(name, ".jpeg", ".jpg");
    name = TrimExtension(name, ".jpg");
    name = TrimExtension(name, ".gif");
    if (Extension(name).empty()) name += ".jpg";
    // A server's extension of hundreds of characters would make a name no file system takes.
    if (std::string ext = Extension(name); platform::CharacterCount(ext) > kLongestExtension)
        name = BaseOf(name) + std::string(platform::FirstCharacters(ext, kLongestExtension));
    // Thirty characters, not bytes: a UTF-8 name is never cut inside a character.
    if (platform::CharacterCount(name) > 30) name = std::string(platform::FirstCharacters(name, 30)) + Extension(name);
    name = MakeSafeForWindows(std::move(name));
    // Nothing downloaded runs from a double click or changes how its folder behaves.
    if (IsActiveExtension(Extension(name))) name += ".jpg";
    return name;
}

std::string UniqueFileName(const std::string& name, const std::function<bool(const std::string&)>& exists) {
    std::string base = BaseOf(name), ext = Extension(name), candidate = name;
    for (int64_t k = 1; exists(candidate); k++) candidate = base + "(" + std::to_string(k) + ")" + ext;
    return candidate;
}

bool IsDeviceName(std::string_view name) {
    std::string_view stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
    std::string lower = LowerAscii(stem);
    if (lower == "con" || lower == "prn" || lower == "aux" || lower == "nul" || lower == "conin$" || lower == "conout$")
        return true;
    if (lower.size() < 4 || (lower.compare(0, 3, "com") != 0 && lower.compare(0, 3, "lpt") != 0)) return false;
    // The superscript digits in UTF-8.
    if (lower.size() == 5)
        return lower.compare(3, 2, "\xC2\xB9") == 0 || lower.compare(3, 2, "\xC2\xB2") == 0 ||
               lower.compare(3, 2, "\xC2\xB3") == 0;
    if (lower.size() != 4) return false;
    unsigned char d = static_cast<unsigned char>(lower[3]);
    // 1 to 9, and the superscript digits 1, 2, 3 of the Western code page.
    return (d >= '1' && d <= '9') || d == 0xB9 || d == 0xB2 || d == 0xB3;
}

}  // namespace engine
