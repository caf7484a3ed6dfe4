#pragma once
// Result lines and file names that come from outside the program: a results page says what
// the page address is, and a saved search may have been made by anyone. Before such a text
// reaches the shell or the file system it has to pass these rules. No Windows API here.
#include <string_view>

namespace engine {

// An address the shell may open in the web browser: "http://" or "https://" (any letter case)
// and a host, with no control character and no double quote (which would end the quoted
// argument a browser is started with). Anything else (a program, a path, a share, another
// scheme) is never handed to the shell.
bool IsWebAddress(std::string_view line);

// A name that can only mean a file directly inside the target folder and that the program
// itself could have given a download: not blank, no folder part, drive or stream (no "\", "/"
// or ":"), none of the characters a file name cannot hold, not "." or "..", no trailing dot or
// space (Windows drops them, so "a.exe." would open "a.exe"), not a device name, and not an
// extension Windows would run, install or obey.
bool IsPlainFileName(std::string_view name);

}  // namespace engine
