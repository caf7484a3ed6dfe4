#pragma once
// Whole numbers typed by the user or read from files, by the platform's integer rule.
#include <cstdint>
#include <optional>
#include <string>

namespace info {

// Reads a 32-bit signed integer: leading blanks (spaces only), an optional "+" or "-", then
// decimal digits, or hexadecimal digits after "$", "0x" or "0X" (hexadecimal takes the 32 bits
// as they stand, so "$FFFFFFFF" is -1). Nothing may follow the digits. Empty, malformed or out
// of range: no value.
std::optional<int32_t> TryStrToInt(const std::string& text);

// The same, raising std::runtime_error "'<text>' is not a valid integer value" when it fails.
int32_t StrToInt(const std::string& text);

}  // namespace info
