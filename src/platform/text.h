#pragma once
// Text in the process code page, free of the Windows API. With the UTF-8 active code page (the
// manifest asks for it; Windows 10 1903 and later grant it) every 8-bit text of the program is
// UTF-8, and these rules keep it whole: nothing is cut inside a character, bytes that form no
// character are shown rather than passed on, and letter case is folded beyond ASCII. On an
// older system the process code page is the legacy one and the byte rules of old stay.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace platform {

// Whether the process's 8-bit texts are UTF-8. The program entries set it from GetACP();
// portable code and its tests start with true.
bool TextsAreUtf8();
void SetTextsAreUtf8(bool utf8);

bool IsValidUtf8(std::string_view text);

// The length of the well-formed UTF-8 character at the start of text (1 to 4), or 0 when the
// bytes there form none (a stray byte, an overlong form, a surrogate, a cut sequence).
size_t Utf8CharLength(std::string_view text);

// The number of characters: UTF-8 characters in a UTF-8 process (a stray byte counts as one),
// else bytes.
size_t CharacterCount(std::string_view text);

// The longest start of text holding at most `count` characters that ends on a character
// boundary and does not separate a character from the combining marks that follow it.
std::string_view FirstCharacters(std::string_view text, size_t count);

// Drops an incomplete UTF-8 character at the end (a value cut by a fixed-size buffer).
std::string WithoutCutCharacter(std::string text);

// In a UTF-8 process, every byte that forms no UTF-8 character becomes "%XX" (upper-case
// hex), so a line can be shown, saved and read back as it is; other texts are unchanged.
std::string ShowableText(std::string_view text);

// Letters compared without regard to case: ASCII, Latin-1, Latin Extended-A, Greek and
// Cyrillic in a UTF-8 process; ASCII and the accented letters of code page 1252 otherwise.
// For what a person typed or named (keywords, settings sections and keys).
bool SameTextIgnoringCase(std::string_view a, std::string_view b);
// Byte for byte, A to Z matching a to z and nothing else folded: for addresses, protocol
// names and the fixed words of the console and the settings file.
bool SameAsciiIgnoringCase(std::string_view a, std::string_view b);
// The key SameAsciiIgnoringCase compares by, for maps of such names.
std::string AsciiLowerCase(std::string_view text);

// Empty, or made only of blanks and control characters (codes 0 to 32); any other byte, an
// accented letter's included, is text.
bool IsBlank(std::string_view text);

// Bytes of the legacy 8-bit code page as UTF-8.
using LegacyDecoder = std::function<std::string(std::string_view bytes)>;

// A file's text as the program reads it: valid UTF-8 (a leading byte order mark dropped) is
// taken as it is; anything else was written in the legacy code page and is decoded from it.
std::string Utf8OrLegacy(std::string_view bytes, const LegacyDecoder& fromLegacy);
// The same rule line by line (a line ends after its LF): a file of settings where one value is
// legacy text keeps every UTF-8 line as it is.
std::string Utf8OrLegacyByLine(std::string_view bytes, const LegacyDecoder& fromLegacy);

// Code page 1252 to UTF-8, for tests and fuzzing without the system's converter (the five
// codes 1252 leaves unassigned map to U+0081 and so on, as Windows does).
std::string Cp1252ToUtf8(std::string_view bytes);

// UTF-8 of one code point (U+0000 to U+10FFFF, surrogates excluded by the caller).
void AppendUtf8(std::string& out, char32_t c);

}  // namespace platform
