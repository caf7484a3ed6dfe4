#pragma once
// Finding and reading the windows of a running Quenby.exe from another process under the same
// wineserver: shared by the driver (quenby-drive) and the read-only probe (quenby-probe).
#include <windows.h>

#include <string>

namespace drive {

inline constexpr char kMainTitle[] = "Image search and download ...";

// What the readers print is UTF-8, whatever the program's code page.
inline std::string Utf8(const wchar_t* text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return {};
    std::string out(static_cast<size_t>(n - 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    return out;
}

inline std::string ClassOf(HWND h) {
    char buf[128] = {};
    GetClassNameA(h, buf, sizeof buf);
    return buf;
}

// The caption Windows keeps for the window; for another process's edit that is its creation
// caption, not what it shows now (use ShownText).
inline std::string TextOf(HWND h) {
    wchar_t buf[4096] = {};
    GetWindowTextW(h, buf, 4096);
    return Utf8(buf);
}

// A message to another process's window that gives up after 3 s, so that a program that no
// longer answers cannot hang its reader; 0 then.
inline LRESULT Ask(HWND h, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(h, msg, wp, lp, SMTO_NORMAL, 3000, &result)) return 0;
    return static_cast<LRESULT>(result);
}

// What a control of another process shows: WM_GETTEXT itself.
inline std::string ShownText(HWND h) {
    wchar_t buf[4096] = {};
    DWORD_PTR result = 0;
    SendMessageTimeoutW(h, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buf), SMTO_NORMAL, 3000, &result);
    return Utf8(buf);
}

// Line i of another process's list box. The wide message: Wine hands another process's list
// text over as UTF-16 even to LB_GETTEXT sent as ANSI.
inline std::string ListLine(HWND list, int i) {
    DWORD_PTR n = 0, done = 0;
    if (!SendMessageTimeoutW(list, LB_GETTEXTLEN, i, 0, SMTO_NORMAL, 3000, &n) || static_cast<LRESULT>(n) < 0)
        return {};
    std::wstring wide(static_cast<size_t>(n) + 1, L'\0');
    SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide.data()), SMTO_NORMAL, 3000, &done);
    return Utf8(wide.c_str());
}

inline DWORD ProcessOf(HWND h) {
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    return pid;
}

// The main window of the process `pid` (0: of any process).
inline HWND FindMainWindow(DWORD pid) {
    HWND h = nullptr;
    while ((h = FindWindowExA(nullptr, h, nullptr, kMainTitle)) != nullptr)
        if (!pid || ProcessOf(h) == pid) return h;
    return nullptr;
}

// The first window of that class below the parent (only visible ones, if asked).
inline HWND FindChild(HWND parent, const char* cls, bool visibleOnly = false) {
    struct Q {
        const char* cls;
        bool visibleOnly;
        HWND found;
    } q{cls, visibleOnly, nullptr};
    EnumChildWindows(
        parent,
        [](HWND h, LPARAM lp) -> BOOL {
            auto* q = reinterpret_cast<Q*>(lp);
            if (lstrcmpiA(ClassOf(h).c_str(), q->cls) != 0 || (q->visibleOnly && !IsWindowVisible(h))) return TRUE;
            q->found = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&q));
    return q.found;
}

}  // namespace drive
