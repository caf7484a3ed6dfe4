// Any bytes as a link file: lines hold no CR, LF or NUL, and lines without those characters
// survive a write and a read.
#include "savedsearch/records.h"

#include <cstdlib>

using namespace savedsearch;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto lines = SplitLinkLines(ByteView(data, size));
    size_t total = 0;
    for (const std::string& l : lines) {
        total += l.size();
        for (char c : l)
            if (c == '\r' || c == '\n' || c == '\0') abort();
    }
    if (total > size) abort();
    Bytes written = JoinLinkLines(lines);
    if (SplitLinkLines(written) != lines) abort();
    return 0;
}
