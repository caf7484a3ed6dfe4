// The items the main window adds to its system menu, the application-wide hook that carries
// out their commands, keeping the window on top, the help text and the maker's pages.
#include "forms/messageloop.h"
#include "forms/msgbox.h"
#include "forms/shell.h"
#include "info/links.h"
#include "mainwindow/mainform.h"
#include "mainwindow/state.h"
#include "settings/settingsfile.h"

namespace mainwindow {

namespace {

enum SysCommand : UINT {
    kSysAbout = 1025,
    kSysStayOnTop = 1026,
    kSysDonate = 1027,
    kSysHelp = 1028,
    kSysShowThumbs = 1029,
    kSysSizeToDownload = 1030,
};

struct SysItem {
    UINT command;  // 0: a separator
    const char* text;
};

constexpr SysItem kSysItems[] = {
    {0, nullptr},
    {kSysStayOnTop, "Stay on Top ..."},
    {kSysShowThumbs, "Show Thumbnails list  >"},
    {kSysSizeToDownload, "Set size to download ..."},
    {0, nullptr},
    {kSysHelp, "Help ..."},
    {0, nullptr},
    {kSysDonate, "Do you like this program?"},
    {kSysAbout, "About..."},
};

void OpenPage(const char* address) { forms::ShellOpen(GetDesktopWindow(), "open", address, "", "", SW_SHOWNORMAL); }

}  // namespace

void TForm1::AppendSystemMenuItems() {
    HMENU menu = GetSystemMenu(Handle(), FALSE);
    for (const SysItem& item : kSysItems) {
        if (item.command == 0)
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuA(menu, MF_STRING, item.command, item.text);
    }
}

// Sees every message taken from the queue. The numbers are compared exactly: the platform's
// own system-menu items differ between systems, ours are not multiples of 16. The message is
// never marked handled; the window ignores these numbers afterwards.
void TForm1::AppMessage(MSG& Msg, bool&) {
    if (Msg.message != WM_SYSCOMMAND) return;
    switch (Msg.wParam) {
    case kSysAbout: PopAbout1Click(this); break;
    case kSysStayOnTop: ToggleStayOnTop(); break;
    case kSysDonate:
        OpenPage(info::kDonationPage);
        Settings().WriteBool(settings::kDonated, true);
        break;
    case kSysHelp: forms::ShellOpen(GetDesktopWindow(), "open", "notepad.exe", "Quenby.txt", "", SW_SHOWNORMAL); break;
    case kSysShowThumbs: ToggleThumbStrip(); break;
    case kSysSizeToDownload: PopSizeToDownload1->Click(); break;  // nothing while disabled
    default: break;
    }
}

void TForm1::ToggleStayOnTop() {
    RECT r;
    GetWindowRect(Handle(), &r);
    bool top = OnTopState == 0;
    SetWindowPos(Handle(), top ? HWND_TOPMOST : HWND_NOTOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top, 0);
    CheckMenuItem(GetSystemMenu(Handle(), FALSE), kSysStayOnTop, MF_BYCOMMAND | (top ? MF_CHECKED : MF_UNCHECKED));
    OnTopState = top ? 1 : 0;
}

// The help text in the working folder, opened in the text editor when it is there.
void TForm1::MainMenu_Help1Click(Component*) {
    DWORD attrs = GetFileAttributesA("Quenby.txt");
    if (attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY))
        forms::RunCommandLine("Notepad.exe Quenby.txt", SW_SHOWDEFAULT);
    else
        forms::ShowBox(forms::BoxKind::Plain, "'Quenby.txt'  not found...");
}

void TForm1::MainMenu_SoftwareNewsClick(Component*) { OpenPage(info::kSoftwareNewsPage); }

void TForm1::MainMenu_DonationsClick(Component*) { OpenPage(info::kDonationPage); }

}  // namespace mainwindow
