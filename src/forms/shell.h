#pragma once
// The shell's services that start other programs or show the folder browser. Tests answer
// them instead (forms/environment.h), so nothing is launched or shown, and see each call.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace forms {

struct ShellCall {
    HWND owner;
    std::string verb;  // "" for the default action
    std::string file;
    std::string params;
    std::string dir;
    int show;
};

// ShellExecuteA; returns its result (above 32 is success).
intptr_t ShellOpen(HWND owner, const std::string& verb, const std::string& file, const std::string& params = "",
                   const std::string& dir = "", int show = SW_SHOWNORMAL);
// WinExec; returns its result.
unsigned RunCommandLine(const std::string& commandLine, int show);

struct FolderQuery {
    HWND owner;
    std::string title;
    std::string initial;  // pre-selected folder
    unsigned flags;       // BIF_ flags
};
// The shell's folder browser: the chosen folder's path, or nothing when cancelled.
std::optional<std::string> BrowseForFolder(const FolderQuery& q);

}  // namespace forms
