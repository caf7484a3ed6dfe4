#pragma once
// File names for downloaded images, made from the image's address, and the small text rules
// around them. No Windows API: whether a name exists in the target folder is asked of the
// caller.
#include <functional>
#include <string>
#include <string_view>

namespace engine {

// A to Z become a to z; nothing else changes.
std::string LowerAscii(std::string_view text);
// From the last "." to the end; empty when there is no "." or a "\" or ":" follows it.
std::string Extension(std::string_view text);

// The part after the last "/" (the whole text when there is none).
std::string LastSegment(std::string_view url);
// Removes the twelve characters a file name never keeps: : / * \ ? > < | & " = %
std::string RemoveRefusedCharacters(std::string name);
// PNG images (".png" anywhere in the address's extension) and ".webp" ones are not fetched.
bool SkippedByExtension(std::string_view imageUrl);
// Every "&amp;" becomes "&", letter case ignored.
std::string ReplaceAmpEntities(std::string_view pageUrl);

// The longest extension a name keeps, in characters with the ".": a longer one is cut.
inline constexpr size_t kLongestExtension = 16;

// True for an extension (with its ".", any letter case) that Windows would run, install or
// obey: ".exe", ".lnk", ".inf", ".ini" and the like. Image extensions are not among them.
bool IsActiveExtension(std::string_view extension);

// The name rules up to the uniqueness test, for the result with index p on its page; r is a
// pseudo-random number from 0 to 998, used only for a blank name. The result is also safe on
// Windows: a device name gets a leading "_", control characters and trailing dots or spaces
// become "_"; ordinary names pass unchanged. In a UTF-8 process the 30-character cut counts
// characters and never splits one, and bytes that form no character become "_", as do the
// bidirectional controls that would make a name show what it is not. An extension is cut to
// kLongestExtension characters, and an active one gets ".jpg" after it.
std::string ShapeFileName(std::string name, int p, int r);

// The first of name, base(1)ext, base(2)ext, ... for which exists() is false.
std::string UniqueFileName(const std::string& name, const std::function<bool(const std::string&)>& exists);

// True for CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9 (also with superscript digits), CONIN$
// and CONOUT$, in any case, alone or before a "." or trailing spaces.
bool IsDeviceName(std::string_view name);

}  // namespace engine
