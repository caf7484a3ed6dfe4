#include "engine/fetchrules.h"

#include <algorithm>
#include <limits>
#include <string_view>
#include <vector>

#include "platform/text.h"

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

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

bool AllDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int Number(std::string_view s) {
    int n = 0;
    for (char c : s) n = n * 10 + (c - '0');
    return n;
}

// The three date forms HTTP allows: "Sun, 06 Nov 1994 08:49:37 GMT", "Sunday, 06-Nov-94
// 08:49:37 GMT" and "Sun Nov  6 08:49:37 1994", as seconds since 1970 (UTC).
bool ParseHttpDate(std::string_view text, int64_t& when) {
    static const char* const kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                          "jul", "aug", "sep", "oct", "nov", "dec"};
    int day = -1, month = -1, year = -1, h = -1, mi = -1, sec = -1;
    size_t i = 0;
    while (i < text.size()) {
        size_t j = text.find_first_of(" ,-", i);
        if (j == std::string_view::npos) j = text.size();
        std::string_view t = text.substr(i, j - i);
        i = j + 1;
        if (t.empty()) continue;
        if (t.size() == 8 && t[2] == ':' && t[5] == ':' && AllDigits(t.substr(0, 2)) && AllDigits(t.substr(3, 2)) &&
            AllDigits(t.substr(6, 2))) {
            h = Number(t.substr(0, 2));
            mi = Number(t.substr(3, 2));
            sec = Number(t.substr(6, 2));
        } else if (AllDigits(t) && t.size() <= 4) {
            if (t.size() <= 2 && day < 0) {
                day = Number(t);
            } else if (year < 0) {
                year = Number(t);
                if (t.size() == 2) year += year < 70 ? 2000 : 1900;
            } else {
                return false;
            }
        } else if (t.size() == 3) {
            for (int m = 0; m < 12; m++)
                if (platform::SameAsciiIgnoringCase(t, kMonths[m])) month = m + 1;
        }
    }
    if (day < 1 || day > 31 || month < 1 || year < 1970 || h < 0 || h > 23 || mi > 59 || sec > 60) return false;
    when = DaysFromCivil(year, month, day) * 86400 + h * 3600 + mi * 60 + sec;
    return true;
}

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

uint32_t RetryAfterMs(const std::string& value, int64_t now) {
    constexpr uint32_t kUnknown = 5000, kMost = 60000;
    const size_t a = value.find_first_not_of(" \t"), b = value.find_last_not_of(" \t");
    if (a == std::string::npos) return kUnknown;
    const std::string_view v = std::string_view(value).substr(a, b - a + 1);
    if (AllDigits(v)) return v.size() > 2 || Number(v) >= 60 ? kMost : static_cast<uint32_t>(Number(v)) * 1000;
    int64_t when = 0;
    if (!ParseHttpDate(v, when)) return kUnknown;
    if (when <= now) return 0;
    return when - now >= 60 ? kMost : static_cast<uint32_t>(when - now) * 1000;
}

std::string ZoneIdentifierText(const std::string& imageUrl, const std::string& pageUrl) {
    return "[ZoneTransfer]\r\nZoneId=3\r\nReferrerUrl=" + OneLine(pageUrl) + "\r\nHostUrl=" + OneLine(imageUrl) +
           "\r\n";
}

}  // namespace engine
