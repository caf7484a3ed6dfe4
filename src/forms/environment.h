#pragma once
// What the forms ask of the system that a test answers instead, so no test shows a window it
// cannot close or launches a program: message boxes, the shell and its folder browser, popup
// menus, modal loops and the system's version. An empty member is the system's own.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace forms {

struct BoxCall;
struct ShellCall;
struct FolderQuery;
class Form;
class MenuItem;
class PopupMenu;

struct OsVersion {
    bool nt;
    int major;
};

struct Environment {
    // Every box, instead of being shown; the value is the answer.
    std::function<int(const BoxCall&)> box;
    // ShellOpen and RunCommandLine (as a call with verb "WinExec" and the command line as file);
    // the value is the result.
    std::function<intptr_t(const ShellCall&)> shell;
    // The folder browser: the chosen folder, or nothing for a cancelled one.
    std::function<std::optional<std::string>(const FolderQuery&)> folder;
    // Every popup menu, instead of being shown: the item to click, or nullptr for none.
    std::function<MenuItem*(PopupMenu& menu, POINT at)> popup;
    // Every modal showing: receives the form; the value is its result and nothing is shown.
    std::function<int(Form& form)> modal;
    // The system family and major version RedrawButtonsOnKeyUp sees.
    std::function<OsVersion()> osVersion;
};

inline Environment& CurrentEnvironment() {
    static Environment env;
    return env;
}
inline const Environment& Env() { return CurrentEnvironment(); }
inline void SetEnvironment(Environment env) { CurrentEnvironment() = std::move(env); }

}  // namespace forms
