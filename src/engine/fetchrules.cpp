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

namespace {

std::string OneLine(const std::string& text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 32 || u == 127) {
            out += '%';
            out += kHex[u >> 4];
            out += kHex[u & 15];
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::string ZoneIdentifierText(const std::string& imageUrl, const std::string& pageUrl) {
    return "[ZoneTransfer]\r\nZoneId=3\r\nReferrerUrl=" + OneLine(pageUrl) + "\r\nHostUrl=" + OneLine(imageUrl) +
           "\r\n";
}

}  // namespace engine
