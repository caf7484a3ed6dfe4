#pragma once
// Every ShellExecuteA of the program goes through here, so tests can watch what would be
// opened without starting a browser, a mail program or the file manager.
#include <windows.h>

#include <functional>
#include <string>

namespace forms {

struct ShellCall {
    HWND owner;
    std::string verb;    // "" is the system's default action
    std::string file;
    std::string params;  // "" for none
    std::string folder;  // "" for none
    int show;
};

// Hands the call to ShellExecuteA (empty texts as null pointers) and returns its result;
// under a test script returns 33 (success) without starting anything.
INT_PTR ShellRun(const ShellCall& call);

// Tests: every call goes to the script instead of the shell. An empty script restores the shell.
using ShellScript = std::function<void(const ShellCall&)>;
void SetShellScript(ShellScript script);

}  // namespace forms
