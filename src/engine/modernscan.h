#pragma once
// The second rule set of the page scan, for today's results pages. There every result is an
// anchor of class "iusc" whose "m" attribute holds a JSON object, HTML-escaped: "murl" is the
// image's address, "purl" the address of the page that carries it. The scan reads such a page
// only when the classic rules find no result on it.
//
// Addresses. The attribute's character references and the JSON string escapes are undone;
// white space and control characters around an address are dropped. Then:
// - the image address is kept as the service gives it (it is a valid URL already: nothing is
//   percent-decoded) except that a space, a control character and every non-ASCII character
//   are percent-encoded: a character from a JSON or HTML escape as its UTF-8 bytes (the web's
//   rule), a byte of 0x80 or more that stood in the 8-bit page as that byte (its meaning is in
//   the system code page, which a URL cannot name);
// - the page line is the page address as a person reads it: percent-decoded once, but only
//   where that gives text: %XX of a printable ASCII character or the space becomes that
//   character, a run of %XX that forms one UTF-8 character becomes that character when the
//   system code page has it; every other %XX (control bytes, stray bytes, characters the code
//   page lacks, C1 controls) stays as written. "+" stays "+". Other non-ASCII characters likewise go into
//   the code page when it has them, else they are written as percent-encoded UTF-8; bytes of
//   the 8-bit page stay as they are; control characters are percent-encoded, so the line is
//   always one line.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

struct ModernResult {
    std::string imageUrl;  // to request, to test for duplicates, for the fetched-image list
    std::string pageLine;  // the result list line
};

// Appends character c (U+0080 or above) in the system code page to out; returns false, leaving
// out unchanged, when the code page has no such character.
using PageCharset = std::function<bool(char32_t c, std::string& out)>;

// Every "iusc" anchor's result in page order, from the page as 8-bit text. A result whose "m"
// value is not a well-formed JSON object, or lacks a non-blank string "murl" or "purl", is
// left out; the rest of the page is read as usual. Time linear in the page. Without a
// charset, no character outside ASCII is taken into the system code page.
std::vector<ModernResult> ScanModernPage(std::string_view page, const PageCharset& charset = {});

}  // namespace engine
