#pragma once
// The shell's services that start other programs or show the folder browser. Tests set a
// script so nothing is launched or shown, and can see each call.
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

// Tests: ShellOpen and RunCommandLine hand each call to the script (RunCommandLine as a call
// with verb "WinExec" and the command line as file); the script's value is the result.
void SetShellScript(std::function<intptr_t(const ShellCall&)> script);

struct FolderQuery {
    HWND owner;
    std::string title;
    std::string initial;  // pre-selected folder
    unsigned flags;       // BIF_ flags
};
// The shell's folder browser: the chosen folder's path, or nothing when cancelled.
std::optional<std::string> BrowseForFolder(const FolderQuery& q);
void SetFolderScript(std::function<std::optional<std::string>(const FolderQuery&)> script);

}  // namespace forms
