#pragma once
// A file of keywords for the console, one search per line.
#include <string>
#include <string_view>
#include <vector>

namespace engine {

struct KeywordList {
    std::vector<std::string> searches;  // each non-blank line, trimmed, in the file's order
    std::string error;                  // why the file cannot be used; empty when it can
};

// The lines of a UTF-8 file (a byte-order mark is skipped; CRLF, LF or CR end a line). A file
// with a NUL byte or bytes that are not UTF-8 is refused as not text, naming the line; one with
// no search in it is refused too; so is one of more than `most` searches.
KeywordList ReadKeywordList(std::string_view bytes, size_t most = 100000);

}  // namespace engine
