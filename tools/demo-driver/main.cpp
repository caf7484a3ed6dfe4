// Drives a running Quenby for the screenshot: types keywords, presses Search, lets the search
// run, presses Stop, closes the closing message and selects a result, as a user would.
//   demo-driver KEYWORDS SECONDS
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

HWND WaitForWindow(const char* cls, const char* title, DWORD ms) {
    for (DWORD waited = 0; waited < ms; waited += 100) {
        if (HWND h = FindWindowA(cls, title)) return h;
        Sleep(100);
    }
    return nullptr;
}

struct Find {
    const char* cls;
    const char* text;
    HWND found;
};

// The first descendant of that class (and caption, when given).
HWND Child(HWND parent, const char* cls, const char* text) {
    Find f{cls, text, nullptr};
    EnumChildWindows(
        parent,
        [](HWND h, LPARAM lp) -> BOOL {
            auto* f = reinterpret_cast<Find*>(lp);
            char c[64] = {}, t[256] = {};
            GetClassNameA(h, c, sizeof c);
            GetWindowTextA(h, t, sizeof t);
            if (lstrcmpiA(c, f->cls) == 0 && (!f->text || std::string(t) == f->text)) {
                f->found = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&f));
    return f.found;
}

}  // namespace

int main(int argc, char** argv) {
    std::string keywords = argc > 1 ? argv[1] : "red car";
    int seconds = argc > 2 ? std::atoi(argv[2]) : 8;
    HWND main = WaitForWindow(nullptr, "Image search and download ...", 30000);
    if (!main) {
        std::fprintf(stderr, "demo-driver: no Quenby window\n");
        return 1;
    }
    Sleep(500);
    HWND combo = Child(main, "ComboBox", nullptr);
    SendMessageA(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(keywords.c_str()));
    PostMessageA(Child(main, "Button", "Search"), BM_CLICK, 0, 0);
    Sleep(static_cast<DWORD>(seconds) * 1000);
    PostMessageA(Child(main, "Button", "Stop search"), BM_CLICK, 0, 0);
    // Close the closing messages ("No downloads ..." may come before "Finished ...").
    for (int i = 0; i < 2; i++) {
        HWND box = WaitForWindow("#32770", "Information", 15000);
        if (!box) break;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        Sleep(700);
    }
    // Select the third result, as a click in the list does.
    HWND list = Child(main, "ListBox", nullptr);
    SendMessageA(list, LB_SETCURSEL, 2, 0);
    SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    Sleep(500);
    return 0;
}
