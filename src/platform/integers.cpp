#include "platform/integers.h"

#include <stdexcept>

#include "platform/hexdigit.h"

namespace platform {

std::optional<int32_t> TryStrToInt(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') i++;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    bool hex = false;
    if (i < text.size() && text[i] == '$') {
        hex = true;
        i++;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i == text.size()) return std::nullopt;
    // Accumulated in 64 bits and checked after every digit, so no input can overflow it.
    const int64_t limit = hex ? 0xFFFFFFFFLL : (negative ? 2147483648LL : 2147483647LL);
    int64_t value = 0;
    for (; i < text.size(); i++) {
        int d = hex ? platform::HexDigitValue(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (d < 0) return std::nullopt;
        value = value * (hex ? 16 : 10) + d;
        if (value > limit) return std::nullopt;
    }
    if (hex) value = static_cast<int32_t>(static_cast<uint32_t>(value));
    return static_cast<int32_t>(negative ? -value : value);
}

int32_t StrToInt(const std::string& text) {
    if (auto v = TryStrToInt(text)) return *v;
    throw std::runtime_error("'" + text + "' is not a valid integer value");
}

// The settings file's rule.
std::optional<int32_t> ParseInteger(const std::string& text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        uint64_t v = 0;
        for (size_t i = 2; i < text.size(); ++i) {
            int d = platform::HexDigitValue(text[i]);
            if (d < 0) return std::nullopt;
            v = v * 16 + static_cast<uint64_t>(d);
            if (v > 0xFFFFFFFFull) return std::nullopt;
        }
        return static_cast<int32_t>(static_cast<uint32_t>(v));
    }
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return std::nullopt;
    int64_t v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        v = v * 10 + (text[i] - '0');
        if (v > 2147483648LL) return std::nullopt;
    }
    if (negative) v = -v;
    if (v > INT32_MAX || v < INT32_MIN) return std::nullopt;
    return static_cast<int32_t>(v);
}

}  // namespace platform
