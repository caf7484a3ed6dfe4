#pragma once
// Whole numbers typed by the user or read from files. Two grammars on purpose: the one of typed
// numbers and version texts, and the settings file's.
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// Reads a 32-bit signed integer: leading blanks (spaces only), an optional "+" or "-", then
// decimal digits, or hexadecimal digits after "$", "0x" or "0X" (hexadecimal takes the 32 bits
// as they stand, so "$FFFFFFFF" is -1). Nothing may follow the digits. Empty, malformed or out
// of range: no value.
std::optional<int32_t> TryStrToInt(const std::string& text);

// The same, raising std::runtime_error "'<text>' is not a valid integer value" when it fails.
int32_t StrToInt(const std::string& text);

// An integer as the settings file stores it: decimal with an optional sign, or "0x"/"0X"
// followed by hexadecimal digits (text longer than two characters). Values must fit 32 bits (hex up to FFFFFFFF, read
// as the signed value with those bits). Anything else is no integer.
std::optional<int32_t> ParseInteger(const std::string& text);

}  // namespace platform
