#pragma once
// The plain rules of the settings file and the window's text commands, free of the Windows API.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace settings {

// The safe-search levels the service knows, in the rows of the options dialog's list.
inline constexpr const char* SafeSearchLevels[3] = {"Strict", "Moderate", "Off"};

// A value as it may be written: CR and LF become spaces, so no value can end its line early
// and start keys or sections of its own, and nothing the user typed is dropped.
std::string SanitizeValue(const std::string& value);

// A value as it goes into the file: sanitized, and wrapped in double quotes when the profile
// service would otherwise change it on reading (it drops blanks at either end and one pair of
// quotes, single or double, around the whole value), so it reads back as written.
std::string StoredForm(const std::string& value);

// The value of a key as the profile service reads it from a settings file's text: the first
// section and key of those names (letter case ignored, blanks around them dropped), blanks at
// either end of the value dropped, then one pair of matching quotes around it. No value when
// the section or key is missing. Used for a file in the legacy code page, which the profile
// service of a UTF-8 process cannot read.
std::optional<std::string> ProfileValue(std::string_view text, std::string_view section, std::string_view key);

// A folder as the program keeps it: a non-empty text ends in "\".
std::string WithTrailingBackslash(std::string folder);

// The characters the keyword box accepts as typed (one UTF-16 unit): the listed ASCII ones and
// every character of another script (U+00A0 and above; surrogate halves too, which make up
// the characters beyond U+FFFF), but no C1 control.
bool IsKeywordChar(unsigned c);

// The site of a page address: everything up to and including the first "://", then the part
// after it up to and including the next "/" ("scheme://host/dir/page" -> "scheme://host/").
// An address without "://" has no site (empty result); one with no "/" after the host gets
// that "/" appended.
std::string SiteAddress(const std::string& address);

}  // namespace settings
