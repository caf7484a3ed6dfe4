#pragma once
// The process code page and the legacy one, for the files and the few calls that need more
// than the A functions' own conversion.
#include <string>
#include <string_view>

namespace platform {

// The system's ANSI code page as it was before the manifest asked for UTF-8: the one the
// system locale gives programs without that manifest ("language for non-Unicode programs").
// GetACP() answers 65001 inside this process, so it is read from the registry value
// HKLM\SYSTEM\CurrentControlSet\Control\Nls\CodePage\ACP; where that is missing or is itself
// UTF-8 (the system-wide UTF-8 option, under which no legacy files were written by that
// system), the user default locale's ANSI code page, and 1252 as the last resort.
unsigned LegacyCodePage();

// Bytes of one code page in another, through UTF-16.
std::string Recode(std::string_view text, unsigned from, unsigned to);

// A file's text in the process code page. In a UTF-8 process: valid UTF-8 as it is, anything
// else decoded from the legacy code page. In a legacy process the bytes stay as they are, as
// they always did.
std::string StoredText(std::string_view bytes);
// The same for each line on its own (the settings file, whose values are written one by one).
std::string StoredTextByLine(std::string_view bytes);

// The process code page's text as UTF-16 and back.
std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

// Text of the process code page as UTF-8 (unchanged in a UTF-8 process).
std::string ToUtf8(std::string_view text);

}  // namespace platform
