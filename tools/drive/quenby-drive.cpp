// Drives a running Quenby.exe from a script, as a user would: finds its main window, fills the
// keyword box, presses keys, answers its message boxes and closes it. Each argument group is
// one step; the program stops at the first step that fails (exit code 1).
//   quenby-drive start EXE | wait-window MS | keywords TEXT | enter | box TEXT BUTTON MS |
//                close | wait-gone MS | sleep MS | until-box TEXT MS |
//                list-menu KEY MS | press TITLE CAPTION MS | show
// After "start" (which runs EXE in its own folder) only that process's windows are looked at,
// so other programs' windows of the same title cannot be mistaken for it.
// BUTTON is ok, cancel, yes or no. until-box answers every message box with OK
// until one showing TEXT has been answered. list-menu opens the result list's context menu
// from the keyboard and chooses the item whose access key is KEY. press clicks the button
// CAPTION of the window TITLE once it shows. show prints the result list's lines
// ("line: ...") and the keyword box ("keywords: ...").
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ourwindows.h"

namespace {

using drive::ClassOf;
using drive::FindChild;
using drive::TextOf;

DWORD g_process = 0;  // the started program, 0: any
HANDLE g_handle = nullptr;

bool Ours(HWND h) { return !g_process || drive::ProcessOf(h) == g_process; }

HWND MainWindow() { return drive::FindMainWindow(g_process); }

// The edit inside the keyword box, the only combo box of the main window.
HWND KeywordEdit() {
    HWND main = MainWindow();
    HWND combo = main ? FindChild(main, "ComboBox") : nullptr;
    return combo ? FindChild(combo, "Edit") : nullptr;
}

// The result list: the visible list box of the main window.
HWND ResultList() {
    HWND main = MainWindow();
    return main ? FindChild(main, "ListBox", true) : nullptr;
}

// A visible top-level window of the program with this title, or one of its menus ("#32768").
HWND OurWindow(const char* cls, const std::string& title) {
    HWND h = nullptr;
    while ((h = FindWindowExA(nullptr, h, cls, nullptr)) != nullptr)
        if (Ours(h) && IsWindowVisible(h) && (title.empty() || TextOf(h) == title)) return h;
    return nullptr;
}

HWND ChildWithText(HWND parent, const std::string& text) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (TextOf(c) == text) return c;
    return nullptr;
}

void PostKey(HWND h, WORD vk) {
    UINT scan = MapVirtualKeyA(vk, 0);
    PostMessageA(h, WM_KEYDOWN, vk, 1 | (scan << 16));
    PostMessageA(h, WM_KEYUP, vk, 0xC0000001 | (scan << 16));
}

// A message box of the program: a visible dialog one of whose controls shows the text.
struct BoxQuery {
    const std::string* text;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND c, LPARAM lp) {
    auto* q = reinterpret_cast<BoxQuery*>(lp);
    if (TextOf(c).find(*q->text) == std::string::npos) return TRUE;
    q->found = c;
    return FALSE;
}

BOOL CALLBACK MatchBox(HWND h, LPARAM lp) {
    auto* q = reinterpret_cast<BoxQuery*>(lp);
    if (ClassOf(h) != "#32770" || !IsWindowVisible(h) || !Ours(h)) return TRUE;
    BoxQuery inner{q->text, nullptr};
    EnumChildWindows(h, MatchChild, reinterpret_cast<LPARAM>(&inner));
    if (!inner.found) return TRUE;
    q->found = h;
    return FALSE;
}

// The message of a box: its longest static text.
std::string BoxText(HWND box) {
    std::string best;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        std::string t = TextOf(c);
        if (ClassOf(c) == "Static" && t.size() > best.size()) best = t;
    }
    for (char& ch : best)
        if (ch == '\r' || ch == '\n') ch = ' ';
    return best;
}

HWND FindBox(const std::string& text) {
    BoxQuery q{&text, nullptr};
    EnumWindows(MatchBox, reinterpret_cast<LPARAM>(&q));
    return q.found;
}

template <class F>
bool WaitFor(F done, int ms) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (static_cast<int>(GetTickCount() - start) > ms) return false;
        Sleep(50);
    }
    return true;
}

int ButtonId(const std::string& name) {
    if (name == "ok") return IDOK;
    if (name == "cancel") return IDCANCEL;
    if (name == "yes") return IDYES;
    if (name == "no") return IDNO;
    return 0;
}

bool Fail(const std::string& what) {
    std::fprintf(stderr, "quenby-drive: %s\n", what.c_str());
    return false;
}

bool Step(const std::vector<std::string>& a, size_t& i) {
    const std::string& cmd = a[i++];
    auto arg = [&]() -> std::string { return i < a.size() ? a[i++] : std::string(); };
    if (cmd == "start") {
        std::string exe = arg();
        std::string folder = exe.substr(0, exe.find_last_of("\\/") + 1);
        std::string line = "\"" + exe + "\"";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder.empty() ? nullptr : folder.c_str(), &si, &pi))
            return Fail("cannot start " + exe);
        CloseHandle(pi.hThread);
        g_process = pi.dwProcessId;
        g_handle = pi.hProcess;
        return true;
    }
    if (cmd == "wait-window") {
        int ms = std::atoi(arg().c_str());
        return WaitFor(
                   [] {
                       HWND h = MainWindow();
                       return h && IsWindowVisible(h);
                   },
                   ms) ||
               Fail("no main window");
    }
    if (cmd == "keywords") {
        std::string text = arg();
        HWND edit = KeywordEdit();
        if (!edit) return Fail("no keyword box");
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        return true;
    }
    if (cmd == "enter") {
        HWND edit = KeywordEdit();
        if (!edit) return Fail("no keyword box");
        // Posted, so the keys pass through the program's own message loop as typed keys do;
        // its TranslateMessage makes the character from the key-down.
        PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        PostMessageA(edit, WM_KEYUP, VK_RETURN, 0xC01C0001);
        return true;
    }
    if (cmd == "box") {
        std::string text = arg();
        int id = ButtonId(arg());
        int ms = std::atoi(arg().c_str());
        HWND box = nullptr;
        if (!WaitFor([&] { return (box = FindBox(text)) != nullptr; }, ms))
            return Fail("no message box with \"" + text + "\"");
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        return WaitFor([&] { return !IsWindow(box); }, 5000) || Fail("box stayed open");
    }
    if (cmd == "until-box") {
        std::string text = arg();
        int ms = std::atoi(arg().c_str());
        bool done = false;
        bool ok = WaitFor(
            [&] {
                HWND box = FindBox("");
                if (!box) return false;
                done = FindBox(text) == box;
                std::printf("answering box \"%s\"%s\n", BoxText(box).c_str(), done ? " (the one awaited)" : "");
                PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                WaitFor([&] { return !IsWindow(box); }, 5000);
                return done;
            },
            ms);
        return ok || Fail("no message box with \"" + text + "\"");
    }
    if (cmd == "close") {
        HWND main = MainWindow();
        if (!main) return Fail("no main window to close");
        PostMessageA(main, WM_CLOSE, 0, 0);
        return true;
    }
    if (cmd == "wait-gone") {
        int ms = std::atoi(arg().c_str());
        if (!WaitFor([] { return MainWindow() == nullptr; }, ms)) {
            if (HWND box = FindBox("")) std::printf("a box is open: \"%s\"\n", BoxText(box).c_str());
            return Fail("main window still open");
        }
        if (g_handle && WaitForSingleObject(g_handle, ms) != WAIT_OBJECT_0) return Fail("program still running");
        return true;
    }
    if (cmd == "list-menu") {
        std::string key = arg();
        int ms = std::atoi(arg().c_str());
        HWND list = ResultList();
        if (!list || key.size() != 1) return Fail("no result list");
        // Shift+F10 or the menu key: the menu opens at the list's centre.
        PostMessageA(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1);
        HWND menu = nullptr;
        if (!WaitFor([&] { return (menu = OurWindow("#32768", "")) != nullptr; }, ms))
            return Fail("the list's menu did not open");
        PostKey(menu, static_cast<WORD>(VkKeyScanA(key[0]) & 0xFF));
        return WaitFor([] { return OurWindow("#32768", "") == nullptr; }, ms) || Fail("the menu stayed open");
    }
    if (cmd == "press") {
        std::string title = arg(), caption = arg();
        int ms = std::atoi(arg().c_str());
        HWND window = nullptr, button = nullptr;
        if (!WaitFor(
                [&] {
                    window = OurWindow(nullptr, title);
                    button = window ? ChildWithText(window, caption) : nullptr;
                    return button != nullptr;
                },
                ms))
            return Fail("no window \"" + title + "\" with a button \"" + caption + "\"");
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
        return WaitFor([&] { return !IsWindowVisible(window); }, ms) || Fail("\"" + title + "\" stayed open");
    }
    if (cmd == "show") {
        HWND list = ResultList(), edit = KeywordEdit();
        if (!list || !edit) return Fail("no result list or keyword box");
        int n = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) std::printf("line: %s\n", drive::ListLine(list, i).c_str());
        std::printf("keywords: %s\n", drive::ShownText(edit).c_str());
        return true;
    }
    if (cmd == "sleep") {
        Sleep(std::atoi(arg().c_str()));
        return true;
    }
    return Fail("unknown step " + cmd);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> a(argv + 1, argv + argc);
    for (size_t i = 0; i < a.size();) {
        std::printf("step: %s\n", a[i].c_str());
        std::fflush(stdout);
        if (!Step(a, i)) {
            if (g_handle) TerminateProcess(g_handle, 1);  // leave nothing running behind
            return 1;
        }
    }
    return 0;
}
