#pragma once
// The HTML side of today's results pages: the start tags of a page with their attributes, and
// attribute values with their character references undone. Both work in one forward pass.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace engine::modern {

// Text whose references were undone is a sequence of Unicode code points, except that a byte
// of 0x80 or more taken over from the 8-bit page stays that byte, held as kRawByte + byte: its
// character set is the system code page's, which this code does not know.
inline constexpr char32_t kRawByte = 0x110000;
inline bool IsRawByte(char32_t c) { return c >= kRawByte; }

struct Attribute {
    std::string_view name;   // as written; HTML names ignore letter case
    std::string_view value;  // as written without its quotes; references not undone
};

using TagHandler = std::function<void(std::string_view name, const std::vector<Attribute>& attrs)>;

// Calls onTag for every start tag in page order. Comments, declarations, end tags and the
// text of raw-text elements (script, style, textarea, title...) are passed over. As in a
// browser, a tag, comment or quoted value still open at the end of the page ends the reading:
// everything after its start belongs to it.
void ForEachStartTag(std::string_view page, const TagHandler& onTag);

// Undoes the character references of an attribute value: decimal (&#39;), hexadecimal
// (&#x27;) and the named ones the service uses (&quot; &amp; &lt; &gt; &apos; &nbsp;).
// A reference that is not one is kept as written.
std::u32string DecodeAttributeValue(std::string_view value);

}  // namespace engine::modern
