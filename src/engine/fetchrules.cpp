#include "engine/fetchrules.h"

#include <limits>

namespace engine {

uint64_t ParseContentLength(const std::string& text) {
    size_t i = text.find_first_not_of(" \t");
    if (i == std::string::npos) return 0;
    constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
    uint64_t n = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; i++) {
        uint64_t d = static_cast<uint64_t>(text[i] - '0');
        if (n > (kMax - d) / 10) return kMax;
        n = n * 10 + d;
    }
    return n;
}

bool WithinSizeLimits(uint64_t length, int32_t minSize, int32_t maxSize) {
    if (maxSize < 0) return false;
    if (minSize > 0 && length < static_cast<uint64_t>(minSize)) return false;
    return length <= static_cast<uint64_t>(maxSize);
}

}  // namespace engine
