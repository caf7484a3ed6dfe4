#pragma once
// The JSON side of today's results pages: one result's object, of which only a few top-level
// string members are wanted.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace engine::modern {

struct JsonField {
    std::u32string_view key;              // a top-level member name
    std::optional<std::u32string> value;  // its string value, escapes undone; empty when absent
};

// Reads `text` as one JSON object (surrounding white space allowed) and fills in the string
// value of each field's key. As with a browser's JSON reader, the last member of a name wins,
// and a member whose value is not a string leaves the field empty. Returns false when the text
// is not a well-formed object; the fields are then meaningless. Nesting depth is limited only
// by memory (no recursion); the time is linear in the text.
//
// Strings: \uXXXX escapes give characters, a surrogate pair one character; a lone surrogate
// gives U+FFFD. A raw control character or an unknown escape makes the text malformed.
bool ReadJsonObject(std::u32string_view text, std::vector<JsonField>& fields);

}  // namespace engine::modern
