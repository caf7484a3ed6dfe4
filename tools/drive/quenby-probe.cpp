// Reads what a person would see of a running Quenby.exe and prints it, one fact a line, for the
// desktop tests (tests/desktop), which give all input through the X server. It only reads:
// no input, no clicks, no messages that change anything.
//   quenby-probe
// Lines (T is a window: "main", a title in quotes, or none):
//   main visible=V enabled=E iconic=I rect=L,T,W,H client=X,Y menubar=M clientsize=W,H dpi=D
//   window "TITLE" class=C enabled=E owner=T rect=L,T,W,H     every other visible window
//   box "CAPTION" owner=T text="MESSAGE"                        a message box
//   active=T  focus=T/CONTROL  foreground=T|other|desktop  menu=none|bar|popup|system
//   keywords=TEXT  list=N selected=I  line=TEXT (each line of the list)  thumbs=N
//   thumb rect=L,T,W,H (each thumbnail window, in the strip's order)
//   frame visible=0/1 rect=X,Y,W,H (the selection frame)
//   control T/CONTROL enabled=E rect=L,T,W,H text="TEXT" [checked=C] [selected=I]
// CONTROL is itself (the window has the focus, none of its controls), keywords, folder, address, list, strip or
// filters (the line of the filters in force, shown only while there are any) in the main window, a button or check box
// by its caption in quotes, else the class and its place among that class
// ("Edit#1"). Exit code 3 when the program has no main window.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ourwindows.h"

namespace {

using drive::ClassOf;
using drive::ShownText;
using drive::TextOf;

HWND g_main = nullptr;

bool Is(HWND h, const char* cls) { return lstrcmpiA(ClassOf(h).c_str(), cls) == 0; }

std::string OneLine(std::string s) {
    for (char& c : s)
        if (c == '\r' || c == '\n') c = ' ';
    return s;
}

std::string TopName(HWND top) {
    if (!top) return "none";
    if (top == g_main) return "main";
    return "\"" + TextOf(top) + "\"";
}

std::vector<HWND> Descendants(HWND top) {
    std::vector<HWND> all;
    EnumChildWindows(
        top,
        [](HWND h, LPARAM lp) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&all));
    return all;
}

// The control's name as the tests use it (see the top of this file).
std::string ControlName(HWND c) {
    HWND top = GetAncestor(c, GA_ROOT);
    if (c == top) return "itself";
    HWND parent = GetParent(c);
    if (Is(c, "Edit") && parent && Is(parent, "ComboBox")) c = parent;  // the edit of a combo box
    if (top == g_main) {
        if (Is(c, "ComboBox")) return "keywords";
        if (Is(c, "Edit")) return (GetWindowLongA(c, GWL_STYLE) & ES_READONLY) ? "folder" : "address";
        if (Is(c, "ListBox")) return "list";
        if (Is(c, "Static")) return "filters";
        if (GetWindowLongA(c, GWL_STYLE) & WS_VSCROLL) return "strip";
    }
    if (Is(c, "Button")) return "\"" + TextOf(c) + "\"";
    std::string cls = ClassOf(c);
    int n = 0;
    for (HWND d : Descendants(top)) {
        if (d == c) break;
        if (ClassOf(d) == cls && !(Is(d, "Edit") && GetParent(d) && Is(GetParent(d), "ComboBox"))) ++n;
    }
    return cls + "#" + std::to_string(n);
}

std::string Rect(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%ld,%ld,%ld,%ld", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return buf;
}

std::vector<HWND> OurTopWindows(DWORD pid) {
    struct Q {
        DWORD pid;
        std::vector<HWND> found;
    } q{pid, {}};
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            auto* q = reinterpret_cast<Q*>(lp);
            if (drive::ProcessOf(h) == q->pid && IsWindowVisible(h)) q->found.push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&q));
    return q.found;
}

// The message of a box: its longest static text.
std::string BoxText(HWND box) {
    std::string best;
    for (HWND c : Descendants(box)) {
        std::string t = TextOf(c);
        if (Is(c, "Static") && t.size() > best.size()) best = t;
    }
    return OneLine(best);
}

void PrintControls(HWND top) {
    for (HWND c : Descendants(top)) {
        bool inCombo = GetParent(c) && Is(GetParent(c), "ComboBox");
        RECT r{}, t{}, both{};
        GetWindowRect(c, &r);
        GetWindowRect(top, &t);
        // Hidden, part of a combo box, or out of sight (the fetched-image list).
        if (!IsWindowVisible(c) || inCombo || !IntersectRect(&both, &r, &t)) continue;
        bool button = Is(c, "Button"), combo = Is(c, "ComboBox");
        // The filter line of the main window, the texts of the other windows (not a box's message).
        bool filters = Is(c, "Static") && !Is(top, "#32770");
        bool strip = top == g_main && ControlName(c) == "strip";
        if (!button && !combo && !filters && !Is(c, "Edit") && !Is(c, "ListBox") && !strip) continue;
        std::printf("control %s/%s enabled=%d rect=%s", TopName(top).c_str(), ControlName(c).c_str(),
                    IsWindowEnabled(c) ? 1 : 0, Rect(c).c_str());
        if (!Is(c, "ListBox") && !strip) std::printf(" text=\"%s\"", OneLine(ShownText(c)).c_str());
        LONG style = GetWindowLongA(c, GWL_STYLE) & 0xF;
        if (button && (style == BS_AUTOCHECKBOX || style == BS_CHECKBOX))
            std::printf(" checked=%d", static_cast<int>(drive::Ask(c, BM_GETCHECK)));
        if (combo) std::printf(" selected=%d", static_cast<int>(drive::Ask(c, CB_GETCURSEL, 0, 0)));
        std::printf("\n");
    }
}

// The DPI the window is shown at, where the system says (Windows 10 1607 and later, Wine).
int WindowDpi(HWND h) {
    using Fn = UINT(WINAPI*)(HWND);
    auto fn = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    return fn ? static_cast<int>(fn(h)) : 96;
}

bool Shaped(HWND h) {
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    bool shaped = GetWindowRgn(h, rgn) == COMPLEXREGION;
    DeleteObject(rgn);
    return shaped;
}

void PrintMain() {
    POINT client{0, 0};
    ClientToScreen(g_main, &client);
    RECT size{};
    GetClientRect(g_main, &size);
    std::printf("main visible=%d enabled=%d iconic=%d rect=%s client=%ld,%ld menubar=%d clientsize=%ld,%ld dpi=%d\n",
                IsWindowVisible(g_main) ? 1 : 0, IsWindowEnabled(g_main) ? 1 : 0, IsIconic(g_main) ? 1 : 0,
                Rect(g_main).c_str(), client.x, client.y, GetMenu(g_main) ? 1 : 0, size.right, size.bottom,
                WindowDpi(g_main));
    HWND combo = drive::FindChild(g_main, "ComboBox");
    HWND edit = combo ? drive::FindChild(combo, "Edit") : nullptr;
    std::printf("keywords=%s\n", edit ? ShownText(edit).c_str() : "");
    HWND list = drive::FindChild(g_main, "ListBox", true);
    int lines = list ? static_cast<int>(drive::Ask(list, LB_GETCOUNT, 0, 0)) : -1;
    std::printf("list=%d selected=%d\n", lines, list ? static_cast<int>(drive::Ask(list, LB_GETCURSEL, 0, 0)) : -1);
    for (int i = 0; i < lines; ++i) std::printf("line=%s\n", drive::ListLine(list, i).c_str());
    // The thumbnails: the strip's windows but its selection frame, which is shaped to its edge.
    std::vector<HWND> thumbs;
    for (HWND c : Descendants(g_main)) {
        HWND parent = GetParent(c);
        if (parent && (GetWindowLongA(parent, GWL_STYLE) & WS_VSCROLL) && ClassOf(parent) == ClassOf(g_main) &&
            IsWindowVisible(c) && !Shaped(c))
            thumbs.push_back(c);
    }
    std::printf("thumbs=%d\n", static_cast<int>(thumbs.size()));
    for (HWND c : thumbs) std::printf("thumb rect=%s\n", Rect(c).c_str());
    for (HWND c : Descendants(g_main))
        if (Shaped(c)) std::printf("frame visible=%d rect=%s\n", IsWindowVisible(c) ? 1 : 0, Rect(c).c_str());
    PrintControls(g_main);
}

void PrintThreadState() {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    DWORD thread = GetWindowThreadProcessId(g_main, nullptr);
    if (!GetGUIThreadInfo(thread, &gui)) {
        std::printf("active=unknown\n");
        return;
    }
    std::printf("active=%s\n", TopName(gui.hwndActive).c_str());
    if (gui.hwndFocus)
        std::printf("focus=%s/%s\n", TopName(GetAncestor(gui.hwndFocus, GA_ROOT)).c_str(),
                    ControlName(gui.hwndFocus).c_str());
    else
        std::printf("focus=none\n");
    const char* menu = (gui.flags & GUI_SYSTEMMENUMODE)  ? "system"
                       : (gui.flags & GUI_POPUPMENUMODE) ? "popup"
                       : (gui.flags & GUI_INMENUMODE)    ? "bar"
                                                         : "none";
    std::printf("menu=%s\n", menu);
    HWND fg = GetForegroundWindow();
    if (!fg || fg == GetDesktopWindow())
        std::printf("foreground=desktop\n");
    else if (drive::ProcessOf(fg) == drive::ProcessOf(g_main))
        std::printf("foreground=%s\n", TopName(fg).c_str());
    else
        std::printf("foreground=other\n");
}

}  // namespace

int main() {
    g_main = drive::FindMainWindow(0);
    if (!g_main) {
        std::printf("main=none\n");
        return 3;
    }
    PrintMain();
    for (HWND top : OurTopWindows(drive::ProcessOf(g_main))) {
        if (top == g_main) continue;
        std::printf("window %s class=%s enabled=%d owner=%s rect=%s\n", TopName(top).c_str(), ClassOf(top).c_str(),
                    IsWindowEnabled(top) ? 1 : 0, TopName(GetWindow(top, GW_OWNER)).c_str(), Rect(top).c_str());
        if (Is(top, "#32770"))
            std::printf("box %s owner=%s text=\"%s\"\n", TopName(top).c_str(),
                        TopName(GetWindow(top, GW_OWNER)).c_str(), BoxText(top).c_str());
        PrintControls(top);
    }
    PrintThreadState();
    return 0;
}
