#pragma once
// One search as the console runs it: the job the request describes, with the console's rule
// that a run of pages downloading nothing ends it.
#include <atomic>
#include <string>

#include "cli/consolesink.h"
#include "engine/downthread.h"

namespace cli {

struct SearchEnd {
    int downloaded = 0;
    std::string error;  // the error that ended the search; empty when none did
};

// Runs the search to its end; `stop` is the request's stop flag, which the rule sets too.
SearchEnd RunSearch(engine::SearchRequest request, int emptyPages, ConsoleSink& sink, std::atomic<bool>& stop);

}  // namespace cli
