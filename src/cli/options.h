#pragma once
// The console front end's command line, without any Windows API. Every option overrides the
// value the settings file (or the first-run default) gives.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/collection.h"
#include "settings/filters.h"

namespace cli {

struct Options {
    std::optional<std::string> folder;
    std::optional<int32_t> maxFiles, minSize, maxSize;
    std::optional<int32_t> parallel;        // 1 to 8: images of one page downloaded at once
    std::optional<std::string> safeSearch;  // "Strict", "Moderate" or "Off"
    std::optional<std::string> service;
    // The service's filters and the market: only what the command line gives.
    settings::FilterChoice filters;
    engine::CollectionOptions collection;     // what every search keeps (all off by default)
    std::optional<std::string> keywordsFile;  // one search per line instead of KEYWORDS
    int emptyPages = 3;                       // consecutive pages that download nothing end the search
    bool quiet = false;
    bool timings = false;  // where the time went, printed at the end (the benchmarks)
    bool help = false;
    std::string query;  // the keywords joined by single spaces, every space then "+"
};

struct ParseResult {
    Options options;
    std::string error;  // empty when the command line is good
};

ParseResult ParseCommandLine(const std::vector<std::string>& args);  // without the program name

const char* UsageText();

// A line of output as one line: bytes below 32 become "%XX", as in an address.
std::string OneLine(const std::string& text);

}  // namespace cli
