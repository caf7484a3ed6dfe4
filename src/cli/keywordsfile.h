#pragma once
// A file of searches for the console: one search per line, one after another, into the same
// folder with the same limits.
#include <atomic>
#include <string>

#include "cli/consolesink.h"
#include "engine/downthread.h"

namespace cli {

// Runs a search for each line of the file (engine::ReadKeywordList) as `request` describes,
// with a summary line for each on stderr. `interrupted` (Ctrl+C) stops the search under way and
// skips the rest. Returns the exit status: 0 when every search downloaded something, 1 when one
// did not, 2 when the file cannot be used, 3 when an error ended one.
int RunKeywordsFile(const std::string& path, const engine::SearchRequest& request, int emptyPages, ConsoleSink& sink,
                    std::atomic<bool>& stop, const std::atomic<bool>& interrupted);

}  // namespace cli
