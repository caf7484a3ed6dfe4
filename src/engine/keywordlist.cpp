#include "engine/keywordlist.h"

namespace engine {

namespace {

// Well-formed UTF-8, without overlong forms, surrogates or code points past U+10FFFF.
bool IsUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        size_t n = c < 0x80                 ? 1
                   : c >= 0xC2 && c <= 0xDF ? 2
                   : c >= 0xE0 && c <= 0xEF ? 3
                   : c >= 0xF0 && c <= 0xF4 ? 4
                                            : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (size_t k = 1; k < n; k++)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        if (n >= 3) {
            const auto d = static_cast<unsigned char>(s[i + 1]);
            if ((c == 0xE0 && d < 0xA0) || (c == 0xED && d > 0x9F) || (c == 0xF0 && d < 0x90) ||
                (c == 0xF4 && d > 0x8F))
                return false;
        }
        i += n;
    }
    return true;
}

std::string_view Trimmed(std::string_view s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

}  // namespace

KeywordList ReadKeywordList(std::string_view bytes, size_t most) {
    KeywordList list;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    size_t number = 0;
    while (!bytes.empty()) {
        number++;
        const size_t end = bytes.find_first_of("\r\n");
        const std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size()
                                                          : end + (bytes.substr(end, 2) == "\r\n" ? 2 : 1));
        if (line.find('\0') != std::string_view::npos || !IsUtf8(line)) {
            list.searches.clear();
            list.error = "line " + std::to_string(number) + " is not UTF-8 text";
            return list;
        }
        const std::string_view search = Trimmed(line);
        if (search.empty()) continue;
        if (list.searches.size() == most) {
            list.searches.clear();
            list.error = "it holds more than " + std::to_string(most) + " searches";
            return list;
        }
        list.searches.emplace_back(search);
    }
    if (list.searches.empty()) list.error = "it holds no keywords";
    return list;
}

}  // namespace engine
