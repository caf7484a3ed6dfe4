#include "settings/optionsrules.h"
#include "platform/integers.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "settings/rules.h"

namespace settings {

namespace {
constexpr int kSafeSearchRows = 3;
}

int32_t FieldValue(const std::string& text) {
    std::optional<int32_t> v = platform::ParseInteger(text);
    if (!v) throw std::runtime_error("'" + text + "' is not a valid integer value");
    return *v;
}

std::optional<std::string> ClampedFieldText(int32_t value, FieldRange range) {
    if (value > range.max) return std::to_string(range.max);
    if (value < range.min) return std::to_string(range.min);
    return std::nullopt;
}

int32_t PixelLimit(const std::string& text) {
    if (std::optional<int32_t> v = platform::ParseInteger(text))
        return std::clamp(*v, kPixelRange.min, kPixelRange.max);
    // Digits too many for an integer are a very large limit.
    const bool digits =
        !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    return digits ? kPixelRange.max : 0;
}

int16_t ArrowPosition(int32_t value, FieldRange range) {
    return static_cast<int16_t>(std::clamp(value, range.min, range.max));
}

bool PassesNumberKey(unsigned c) { return c == 8 || (c >= '0' && c <= '9'); }

int32_t KilobytesShown(int32_t bytes) { return bytes / 1024; }

int32_t BytesStored(int32_t kilobytes) {
    int64_t b = static_cast<int64_t>(kilobytes) * 1024;
    return static_cast<int32_t>(
        std::clamp<int64_t>(b, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

int SafeSearchRow(const std::string& level) {
    for (int i = 0; i < kSafeSearchRows; ++i)
        if (level == SafeSearchLevels[i]) return i;
    return -1;
}

std::string SafeSearchForRow(int row, const std::string& previous) {
    if (row < 0 || row >= kSafeSearchRows) return previous;
    return SafeSearchLevels[row];
}

}  // namespace settings
