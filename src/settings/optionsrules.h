#pragma once
// The plain rules of the limits and options dialog: number fields, their ranges, the
// kilobyte units and the safe-search rows. No Windows API here.
#include <cstdint>
#include <optional>
#include <string>

namespace settings {

// The range of one number field's arrow control.
struct FieldRange {
    int32_t min;
    int32_t max;
};
inline constexpr FieldRange kMinSizeRange{0, 500};      // kilobytes
inline constexpr FieldRange kMaxSizeRange{1, 10000};    // kilobytes
inline constexpr FieldRange kFileCountRange{50, 1000};  // files
inline constexpr FieldRange kParallelRange{1, 8};       // simultaneous downloads
inline constexpr FieldRange kPixelRange{0, 100000};     // smallest picture, 0 = no limit
inline constexpr int32_t kMinSizeReset = 0, kMaxSizeReset = 10000, kFileCountReset = 1000, kParallelReset = 1;

// The integer a field holds; throws std::runtime_error("'<text>' is not a valid integer
// value") for a text that is none (an empty field among them).
int32_t FieldValue(const std::string& text);

// The text a field must show instead of `value`, when it lies outside the range.
std::optional<std::string> ClampedFieldText(int32_t value, FieldRange range);
// A smallest width or height as a field or the settings file holds it, within kPixelRange
// (no integer, an empty field among them, is no limit).
int32_t PixelLimit(const std::string& text);
inline int32_t PixelLimit(int32_t value) {
    return value < kPixelRange.min ? kPixelRange.min : value > kPixelRange.max ? kPixelRange.max : value;
}
// The arrow position for a value: brought within the range.
int16_t ArrowPosition(int32_t value, FieldRange range);

// Only Backspace and the digits reach a number field.
bool PassesNumberKey(unsigned c);

// Sizes are stored in bytes and shown in kilobytes of 1024 (division truncates).
int32_t KilobytesShown(int32_t bytes);
int32_t BytesStored(int32_t kilobytes);  // saturates instead of overflowing

// The row of `SafeSearchLevels` that a stored level matches exactly, or -1.
int SafeSearchRow(const std::string& level);
// The level to store for the list's selected row; no row selected keeps `previous`.
std::string SafeSearchForRow(int row, const std::string& previous);

}  // namespace settings
