// The main window's settings: what its creation reads, what its first showing applies, what
// its close asks and writes, and the target-folder chooser.
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "forms/messageloop.h"
#include "forms/msgbox.h"
#include "forms/shell.h"
#include "mainwindow/mainform.h"
#include "mainwindow/state.h"
#include "settings/placement.h"
#include "settings/rules.h"
#include "settings/settingsfile.h"
#include "platform/text.h"

namespace mainwindow {

namespace {

settings::Rect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM lp) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (GetMonitorInfoA(monitor, &mi))
        reinterpret_cast<std::vector<settings::Rect>*>(lp)->push_back(FromRect(mi.rcWork));
    return TRUE;
}

// A window that lies off every monitor (one unplugged since, or absurd stored values) is moved
// onto the nearest one; a window the user can reach stays exactly where it was put.
void KeepReachable(forms::Form& form) {
    RECT r;
    GetWindowRect(form.Handle(), &r);
    std::vector<settings::Rect> areas;
    EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&areas));
    if (areas.empty() || settings::Reachable(FromRect(r), areas)) return;
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (!GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &mi)) return;
    settings::Rect to = settings::MovedInto(FromRect(r), FromRect(mi.rcWork));
    MoveWindow(form.Handle(), to.left, to.top, static_cast<int>(to.Width()), static_cast<int>(to.Height()), TRUE);
}

// The window's outer rectangle as it is when not minimized, in screen coordinates.
RECT RestoredRect(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!IsIconic(hwnd) || !GetWindowPlacement(hwnd, &wp)) return r;
    // The normal position is in workspace coordinates: relative to the work area, which
    // differs from the screen when a task bar sits at the top or left.
    r = wp.rcNormalPosition;
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &mi))
        OffsetRect(&r, mi.rcWork.left - mi.rcMonitor.left, mi.rcWork.top - mi.rcMonitor.top);
    return r;
}

std::string EnvironmentVariable(const char* name) {
    char buf[32768];
    DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
    return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
}

}  // namespace

settings::SettingsFile& TForm1::Settings() {
    if (!SettingsFile) SettingsFile = std::make_unique<settings::SettingsFile>(settings::DefaultSettingsPath());
    return *SettingsFile;
}

void TForm1::FormCreate(Component*) {
    forms::SetMessageHook([this](MSG& msg, bool& handled) { AppMessage(msg, handled); });
    AppendSystemMenuItems();
    Bevel_f.SetTop(-300);
    ListBox_Bak.SetLeft(GetSystemMetrics(SM_CXSCREEN) + 100);
    // The strip and the menu bar are applied at first showing; until then the main panel
    // takes the whole client width.
    ShowThumbsList = false;
    FormResize(this);
    SettingsFile = std::make_unique<settings::SettingsFile>(settings::DefaultSettingsPath());

    for (int i = 0; i < settings::kHistoryKeys; ++i) {
        std::string entry = SettingsFile->ReadText(settings::kHistorySection, std::to_string(i), "");
        if (!platform::IsBlank(entry)) ComboBox_search.AddItem(entry);
    }
    if (ComboBox_search.Count() > 0) ComboBox_search.SetItemIndex(0);  // else the designed text stays

    Edit_savepath.SetText(SettingsFile->ReadText(settings::kSavePath, EnvironmentVariable("TEMP")));
    Edit_savepath.SetText(settings::WithTrailingBackslash(Edit_savepath.Text()));
    SavePath = Edit_savepath.Text();

    MinFilesize = SettingsFile->ReadInteger(settings::kMinFilesize);
    MaxFilesize = SettingsFile->ReadInteger(settings::kMaxFilesize);
    MaxFileCount = SettingsFile->ReadInteger(settings::kMaxFileCount);
    SimultaneousDownloads = SettingsFile->ReadInteger(settings::kSimultaneousDownloads);
    SaveOnExitAsk = SettingsFile->ReadBool(settings::kSaveOnExitAsk);
    SafeSearchT = SettingsFile->ReadText(settings::kSafeSearchT);
    // A value that is no code of its group (unknown, empty, doubled, cut) is no filter; a
    // market that could break the query is the default one.
    for (int g = 0; g < settings::kFilterGroupCount; ++g)
        SearchFilters.value[static_cast<size_t>(g)] =
            settings::ValueForCode(g, SettingsFile->ReadText(settings::kFilterKeys[static_cast<size_t>(g)]));
    SearchFilters.market = settings::MarketFromStored(SettingsFile->ReadText(settings::kMarket));
    ShowFilterLine();
    Button_stopsearch.SetEnabled(false);
}

// The stored placement is applied as it is, limited by the window's minimum size, unless the
// window would then lie off every monitor. Its left and top are screen pixels, where the window
// was; its width and height are designed units (pixels at 96 DPI), so the window opens as large
// as it was for the eye at any DPI, and a file written at 96 DPI means what it always meant.
void TForm1::FormShow(Component*) {
    settings::SettingsFile& f = Settings();
    SetTop(f.ReadInteger(settings::kWindowTop, Top()));
    SetLeft(f.ReadInteger(settings::kWindowLeft, Left()));
    SetWidth(f.ReadInteger(settings::kWindowWidth, Panel_Main.Width()));
    SetHeight(f.ReadInteger(settings::kWindowHeight, Height()));
    KeepReachable(*this);

    ShowMainMenu = f.ReadBool(settings::kShowMainMenu);
    PopShowMenu1->Checked = ShowMainMenu;
    MainMenu_ShowMenu->Checked = ShowMainMenu;
    SetMenu(ShowMainMenu ? &MainMenu1 : nullptr);

    ShowThumbsList = !f.ReadBool(settings::kShowThumbsList);
    ToggleThumbStrip();
}

// A refused write ends the writing at that key (what was written stays) and is reported once;
// the window closes all the same, so a program whose settings cannot be written can still end.
void TForm1::FormClose(Component*, forms::CloseAction& Action) {
    search_.StopJob();
    if (ListBox1.Count() > 0 && !search_.Saved() && SaveOnExitAsk) {
        int answer = forms::ShowBox(forms::BoxKind::Confirm, "Want to save your search to disk for later browsing ?",
                                    MB_YESNOCANCEL);
        if (answer == IDYES) {
            // The entries on show, also while a search is still stopping; the close goes on
            // whatever the save did.
            forms::Guarded([this] { SaveResults(); });
        } else if (answer != IDNO) {
            Action = forms::CloseAction::None;
            return;
        }
    }
    try {
        settings::SettingsFile& f = Settings();
        for (int i = 0; i < settings::kHistoryKeys; ++i)
            f.WriteText(settings::kHistorySection, std::to_string(i),
                        i < ComboBox_search.Count() ? ComboBox_search.Item(i) : std::string());
        f.WriteText(settings::kSavePath, Edit_savepath.Text());
        // A minimized window's rectangle is a caption far off screen: the restored one is kept
        // (the main panel keeps its width while minimized, see FormResize).
        RECT placed = RestoredRect(Handle());
        f.WriteInteger(settings::kWindowTop, placed.top);
        f.WriteInteger(settings::kWindowLeft, placed.left);
        f.WriteInteger(settings::kWindowWidth, Panel_Main.Width());
        f.WriteInteger(settings::kWindowHeight, Unscaled(placed.bottom - placed.top));
        f.WriteBool(settings::kShowThumbsList, ShowThumbsList);
        f.WriteInteger(settings::kMinFilesize, MinFilesize);
        f.WriteInteger(settings::kMaxFilesize, MaxFilesize);
        f.WriteInteger(settings::kMaxFileCount, MaxFileCount);
        f.WriteInteger(settings::kSimultaneousDownloads, SimultaneousDownloads);
        f.WriteBool(settings::kSaveOnExitAsk, SaveOnExitAsk);
        f.WriteBool(settings::kShowMainMenu, ShowMainMenu);
        f.WriteText(settings::kSafeSearchT, SafeSearchT);
        for (int g = 0; g < settings::kFilterGroupCount; ++g)
            f.WriteText(settings::kFilterKeys[static_cast<size_t>(g)],
                        settings::StoredCode(g, SearchFilters.value[static_cast<size_t>(g)]));
        f.WriteText(settings::kMarket, SearchFilters.market);
    } catch (...) {
        forms::HandleException();
    }
    SettingsFile.reset();
}

void TForm1::Button_savepathClick(Component*) {
    auto chosen = forms::BrowseForFolder(
        {Handle(), "Save downloaded files to ...", Edit_savepath.Text(), BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE});
    if (chosen) Edit_savepath.SetText(*chosen);
    Edit_savepath.SetText(settings::WithTrailingBackslash(Edit_savepath.Text()));
    SavePath = Edit_savepath.Text();
}

}  // namespace mainwindow
