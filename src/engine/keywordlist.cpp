#include "engine/keywordlist.h"

#include "platform/text.h"

namespace engine {

namespace {

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
        if (line.find('\0') != std::string_view::npos || !platform::IsValidUtf8(line)) {
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
