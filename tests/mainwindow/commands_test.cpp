// The main window's menus, keys, edit commands and system-menu items.
#include "harness.h"

using namespace mainwindow;
using windowtest::MainWindowTest;

namespace {

using Row = std::pair<std::string, std::string>;  // name, caption

std::vector<Row> RowsOf(const std::vector<std::unique_ptr<forms::MenuItem>>& items) {
    std::vector<Row> rows;
    for (auto& i : items) rows.emplace_back(i->Name, i->Caption);
    return rows;
}

std::string SysMenuText(HWND h, UINT id) {
    char buf[128] = {};
    GetMenuStringA(GetSystemMenu(h, FALSE), id, buf, sizeof buf, MF_BYCOMMAND);
    return buf;
}

bool SysChecked(HWND h, UINT id) { return (GetMenuState(GetSystemMenu(h, FALSE), id, MF_BYCOMMAND) & MF_CHECKED) != 0; }

void SetClipboard(const std::string& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(mem), text.c_str(), text.size() + 1);
    GlobalUnlock(mem);
    SetClipboardData(CF_TEXT, mem);
    CloseClipboard();
}

std::string Clipboard() {
    std::string text;
    if (!OpenClipboard(nullptr)) return "<closed>";
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(h));
        GlobalUnlock(h);
    }
    CloseClipboard();
    return text;
}

}  // namespace

class Commands : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Open();
    }
    void AddLines(int n) {
        for (int i = 0; i < n; ++i) form->ListBox1.Add("http://pages.test/dir/page" + std::to_string(i) + ".html");
    }
    // Opens a context menu on a control as a right click does.
    void ContextMenu(forms::Control& c) {
        RECT r;
        GetWindowRect(c.Handle(), &r);
        SendMessageA(c.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(c.Handle()),
                     MAKELPARAM(r.left + 2, r.top + 2));
    }
};

TEST_F(Commands, MenusFromTheirTables) {
    EXPECT_EQ(RowsOf(form->PopupMenu1.Items),
              (std::vector<Row>{{"PopBrowser1", "Open in &Web browser"},
                                {"PopWebpage1", "Go to Webpage"},
                                {"PopSep1", "-"},
                                {"PopSave1", "&Save search list to disk ..."},
                                {"PopLoad1", "&Load search list(s) from disk ..."},
                                {"PopSep2", "-"},
                                {"PopOpenTarget1", "Open target folder ..."},
                                {"PopOpenImage1", "Open downloaded Image..."},
                                {"PopSep3", "-"},
                                {"PopShowThumbs1", "Show Thumbnails list  >"},
                                {"PopShowMenu1", "Show the main menu"},
                                {"PopSep4", "-"},
                                {"PopSizeToDownload1", "Set limits && options for downloads ..."},
                                {"PopFilters1", "&Filters..."},
                                {"PopSep5", "-"},
                                {"PopImageInfo1", "Show selected image file Info ..."},
                                {"PopSep6", "-"},
                                {"PopAbout1", "About..."}}));
    EXPECT_EQ(RowsOf(form->PopupMenu3.Items), (std::vector<Row>{{"PopCut3", "C&ut"},
                                                                {"PopCopy3", "&Copy"},
                                                                {"PopSelectAll3", "&Select all"},
                                                                {"PopPaste3", "Paste"},
                                                                {"PopSep8", "-"},
                                                                {"PopClearAll3", "Clear all ..."}}));
    EXPECT_EQ(RowsOf(form->MainMenu1.Items), (std::vector<Row>{{"MainMenu_File", "File"},
                                                               {"MainMenu_Edit", "Edit"},
                                                               {"MainMenu_Options", "Options"},
                                                               {"MainMenu_Help", "Help"}}));
    EXPECT_EQ(RowsOf(form->MainMenu_File->Items),
              (std::vector<Row>{{"MainMenu_Browser", "Open in &Web browser"},
                                {"MainMenu_Webpage", "Go to Webpage"},
                                {"MainMenu_Sep1", "-"},
                                {"MainMenu_Save", "&Save search list to disk ..."},
                                {"MainMenu_Load", "&Load search list(s) from disk ..."},
                                {"MainMenu_Sep2", "-"},
                                {"MainMenu_OpenTarget", "Open target folder ..."},
                                {"MainMenu_OpenImage", "Open downloaded Image..."},
                                {"MainMenu_Sep3", "-"},
                                {"MainMenu_Exit", "Exit"}}));
    EXPECT_EQ(RowsOf(form->MainMenu_Edit->Items), (std::vector<Row>{{"MainMenu_Cut", "Cut"},
                                                                    {"MainMenu_Copy", "Copy"},
                                                                    {"MainMenu_SelectAll", "Select all"},
                                                                    {"MainMenu_Paste", "Paste"}}));
    EXPECT_EQ(RowsOf(form->MainMenu_Options->Items),
              (std::vector<Row>{{"MainMenu_ShowThumbs", "Show Thumbnails list  >"},
                                {"MainMenu_ShowMenu", "Show the main menu"},
                                {"MainMenu_Sep6", "-"},
                                {"MainMenu_SizeToDownload", "Set limits && options for downloads ..."},
                                {"MainMenu_Filters", "&Filters..."},
                                {"MainMenu_Sep7", "-"},
                                {"MainMenu_ClearAllPast", "Clear all past search keys ..."}}));
    EXPECT_EQ(RowsOf(form->MainMenu_Help->Items),
              (std::vector<Row>{{"MainMenu_Help1", "Help ..."},
                                {"MainMenu_Sep4", "-"},
                                {"MainMenu_SoftwareNews", "Software news..."},
                                {"MainMenu_CheckNewVersion", "Check new versions *"},
                                {"MainMenu_Sep5", "-"},
                                {"MainMenu_Donations", "Donations..."},
                                {"MainMenu_About", "About ..."}}));
}

TEST_F(Commands, ResultMenuFollowsTheList) {
    std::vector<forms::MenuItem*> items{form->PopBrowser1, form->PopWebpage1, form->PopOpenImage1, form->PopOpenTarget1,
                                        form->PopImageInfo1};
    ContextMenu(form->ListBox1);
    ASSERT_EQ(openedMenu, &form->PopupMenu1);
    for (auto* i : items) EXPECT_FALSE(i->Enabled) << i->Name;
    EXPECT_FALSE(form->PopSave1->Enabled);

    AddLines(3);
    ContextMenu(form->ScrollBox1);
    for (auto* i : items) EXPECT_FALSE(i->Enabled) << i->Name;
    EXPECT_TRUE(form->PopSave1->Enabled);

    form->ListBox1.SetItemIndex(1);
    form->PopSizeToDownload1->Enabled = false;  // a search runs: the item keeps its state
    form->Button_menu.Click();
    for (auto* i : items) EXPECT_TRUE(i->Enabled) << i->Name;
    EXPECT_FALSE(form->PopSizeToDownload1->Enabled);

    // The File menu follows the same rules.
    form->ListBox1.SetItemIndex(-1);
    form->MainMenu_File->Click();
    EXPECT_FALSE(form->MainMenu_Browser->Enabled);
    EXPECT_FALSE(form->MainMenu_Webpage->Enabled);
    EXPECT_FALSE(form->MainMenu_OpenImage->Enabled);
    EXPECT_FALSE(form->MainMenu_OpenTarget->Enabled);
    EXPECT_TRUE(form->MainMenu_Save->Enabled);
    form->ListBox1.SetItemIndex(0);
    form->MainMenu_File->Click();
    EXPECT_TRUE(form->MainMenu_Browser->Enabled);
    EXPECT_TRUE(form->MainMenu_OpenTarget->Enabled);
}

TEST_F(Commands, MenuButtonOpensTheResultMenuBesideItself) {
    // Drop stale messages first so the one posted after the menu can be seen.
    forms::ProcessMessages();
    form->Button_menu.Click();
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(openedMenu, &form->PopupMenu1);
    POINT centre{168 + 25 / 2, 71 + 20 / 2};
    ClientToScreen(form->Panel_Main.Handle(), &centre);
    EXPECT_EQ(popups[0].x, centre.x + 5);
    EXPECT_EQ(popups[0].y, centre.y + 4);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, form->Handle(), WM_NULL, WM_NULL, PM_REMOVE));
}

TEST_F(Commands, TextMenuShowsCutAndPasteOnlyOnTheKeywordBox) {
    ContextMenu(form->Edit_savepath);
    ASSERT_EQ(openedMenu, &form->PopupMenu3);
    EXPECT_FALSE(form->PopCut3->Visible);
    EXPECT_FALSE(form->PopPaste3->Visible);
    EXPECT_TRUE(form->PopCopy3->Visible);
    EXPECT_TRUE(form->PopSelectAll3->Visible);
    EXPECT_TRUE(form->PopClearAll3->Visible);
    ContextMenu(form->ComboBox_search);
    EXPECT_TRUE(form->PopCut3->Visible);
    EXPECT_TRUE(form->PopPaste3->Visible);
    ContextMenu(form->Edit1);
    EXPECT_FALSE(form->PopCut3->Visible);
}

TEST_F(Commands, EditMenuFollowsTheFocus) {
    AddLines(2);
    form->ListBox1.SetFocus();
    form->MainMenu_Edit->Click();
    EXPECT_FALSE(form->MainMenu_Cut->Visible);
    EXPECT_FALSE(form->MainMenu_Paste->Visible);
    EXPECT_FALSE(form->MainMenu_Copy->Enabled);
    EXPECT_FALSE(form->MainMenu_SelectAll->Enabled);
    form->ComboBox_search.SetFocus();
    form->MainMenu_Edit->Click();
    EXPECT_TRUE(form->MainMenu_Cut->Visible);
    EXPECT_TRUE(form->MainMenu_Paste->Visible);
    EXPECT_TRUE(form->MainMenu_Copy->Enabled);
    EXPECT_TRUE(form->MainMenu_SelectAll->Enabled);
    form->Edit1.SetFocus();
    form->MainMenu_Edit->Click();
    EXPECT_FALSE(form->MainMenu_Cut->Visible);
    EXPECT_TRUE(form->MainMenu_Copy->Enabled);
}

TEST_F(Commands, KeywordBoxAcceptsOnlyItsCharacters) {
    HWND edit = form->ComboBox_search.EditHandle();
    form->ComboBox_search.SetText("");
    form->ComboBox_search.SetFocus();
    SetClipboard("pasted");
    for (unsigned char c : std::string("red car:/\\*?<>|~^{}@`;\x7F") + "\x01\x03\x16\x18" + "2+[x]_(ok)!")
        Post(WM_CHAR, c, 1, edit);
    EXPECT_EQ(form->ComboBox_search.Text(), "red car2+[x]_(ok)!");
    Post(WM_CHAR, 8, 1, edit);  // backspace still edits
    EXPECT_EQ(form->ComboBox_search.Text(), "red car2+[x]_(ok)");
    // Characters of every script are typed as they come, as UTF-16 (an emoji as two units); a
    // C1 control is not.
    form->ComboBox_search.SetText("");
    for (wchar_t c : std::wstring(L"\x732B \x043A\x0430\x0444\x0435 caf\x00E9\x0085 \xD83D\xDE00")) {
        PostMessageW(edit, WM_CHAR, c, 1);
        forms::ProcessMessages();
    }
    EXPECT_EQ(form->ComboBox_search.Text(),
              "\xE7\x8C\xAB \xD0\xBA\xD0\xB0\xD1\x84\xD0\xB5 caf\xC3\xA9 \xF0\x9F\x98\x80");
}

TEST_F(Commands, EnterInTheKeywordBoxSearches) {
    SavePath = folder + "missing folder\\";
    form->ComboBox_search.SetFocus();
    Post(WM_CHAR, 13, 1, form->ComboBox_search.EditHandle());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Path to save images to no longer exists..\rPlease correct !");
}

TEST_F(Commands, EscapeAnywhereStops) {
    form->Search().MarkRunning();
    AddLines(1);
    form->ListBox1.SetFocus();
    Post(WM_KEYDOWN, VK_ESCAPE, 1, form->ListBox1.Handle());
    EXPECT_TRUE(form->Search().StopRequested());
    form->Search().MarkRunning();
    Post(WM_KEYDOWN, VK_ESCAPE, 1, form->ComboBox_search.EditHandle());
    EXPECT_TRUE(form->Search().StopRequested());
}

TEST_F(Commands, EditCommandsOnAnEdit) {
    form->Edit1.SetText("http://pages.test/a");
    form->Edit1.SetFocus();
    form->PopSelectAll3->Click();
    DWORD start = 0, end = 0;
    SendMessageA(form->Edit1.Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 19u);
    form->PopCopy3->Click();
    EXPECT_EQ(Clipboard(), "http://pages.test/a");
    form->MainMenu_Cut->Click();
    EXPECT_EQ(form->Edit1.Text(), "");
    SetClipboard("new text");
    form->Edit1.SetText("old text that goes");
    SendMessageA(form->Edit1.Handle(), EM_SETSEL, 3, 3);
    form->MainMenu_Paste->Click();
    EXPECT_EQ(form->Edit1.Text(), "new text");
}

TEST_F(Commands, EditCommandsOnTheKeywordBox) {
    form->ComboBox_search.SetText("blue sky");
    form->ComboBox_search.SetFocus();
    form->MainMenu_SelectAll->Click();
    DWORD sel = static_cast<DWORD>(SendMessageA(form->ComboBox_search.Handle(), CB_GETEDITSEL, 0, 0));
    EXPECT_EQ(LOWORD(sel), 0);
    EXPECT_EQ(HIWORD(sel), 8);
    form->PopCopy3->Click();
    EXPECT_EQ(Clipboard(), "blue sky");
    SetClipboard("cats: and dogs");  // paste may bring what typing may not
    form->PopPaste3->Click();
    EXPECT_EQ(form->ComboBox_search.Text(), "cats: and dogs");
}

TEST_F(Commands, EditCommandsOnTheFolderFieldAndTheList) {
    form->Edit_savepath.SetText("C:\\folder\\");
    form->Edit_savepath.SetFocus();
    form->PopSelectAll3->Click();
    form->PopCopy3->Click();
    EXPECT_EQ(Clipboard(), "C:\\folder\\");
    SetClipboard("D:\\elsewhere\\");
    form->PopPaste3->Click();  // read-only: not emptied, nothing pasted
    form->PopCut3->Click();
    EXPECT_EQ(form->Edit_savepath.Text(), "C:\\folder\\");

    AddLines(2);
    form->ListBox1.SetItemIndex(0);
    form->ListBox1.SetFocus();
    SetClipboard("unchanged");
    form->PopCopy3->Click();
    form->PopSelectAll3->Click();
    EXPECT_EQ(Clipboard(), "unchanged");
    EXPECT_EQ(form->ListBox1.Count(), 2);
}

TEST_F(Commands, EditCommandsWithoutAFocusedTextControlDoNothing) {
    SetClipboard("pasted");
    std::string caption = form->Caption();
    // The focus on a button: Paste would empty its caption, Cut and Copy mean nothing there.
    form->Button_search.SetFocus();
    ASSERT_TRUE(form->Button_search.Focused());
    for (forms::MenuItem* item : {form->MainMenu_Paste, form->MainMenu_Cut, form->PopPaste3}) item->Click();
    EXPECT_EQ(form->Button_search.Text(), "Search");
    // No control of the window focused (another window has it): nothing at all changes.
    HWND other =
        CreateWindowExA(0, "EDIT", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
    SetFocus(other);
    ASSERT_EQ(GetFocus(), other);
    form->MainMenu_Paste->Click();
    form->PopCut3->Click();
    EXPECT_EQ(form->Caption(), caption);
    EXPECT_EQ(GetWindowTextLengthA(other), 0);
    DestroyWindow(other);
}

TEST_F(Commands, ClearAllLeavesTheCurrentKeywords) {
    for (const char* k : {"cats", "dogs", "birds"}) form->ComboBox_search.AddItem(k);
    form->ComboBox_search.SetItemIndex(1);
    answers = {IDCANCEL};
    form->PopClearAll3->Click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, forms::BoxKind::Information);
    EXPECT_EQ(boxes[0].text, "Sure to delete all past search keywords..?");
    EXPECT_EQ(boxes[0].flags & 0xF, static_cast<unsigned>(MB_OKCANCEL));
    EXPECT_EQ(form->ComboBox_search.Count(), 3);

    form->ComboBox_search.SetText("red car");
    form->MainMenu_ClearAllPast->Click();
    EXPECT_EQ(form->ComboBox_search.Items(), std::vector<std::string>{"red car"});
    EXPECT_EQ(form->ComboBox_search.ItemIndex(), 0);
    EXPECT_EQ(form->ComboBox_search.Text(), "red car");
}

TEST_F(Commands, SystemMenuItemsInOrder) {
    HMENU sys = GetSystemMenu(form->Handle(), FALSE);
    int n = GetMenuItemCount(sys);
    ASSERT_GE(n, 9);
    // Ours come last; the platform's own items before them differ between systems.
    const UINT expected[] = {0, 1026, 1029, 1030, 0, 1028, 0, 1027, 1025};
    for (int i = 0; i < 9; ++i) {
        UINT id = GetMenuItemID(sys, n - 9 + i);
        if (expected[i] == 0)
            EXPECT_TRUE(GetMenuState(sys, n - 9 + i, MF_BYPOSITION) & MF_SEPARATOR) << i;
        else
            EXPECT_EQ(id, expected[i]) << i;
    }
    EXPECT_EQ(SysMenuText(form->Handle(), 1026), "Stay on Top ...");
    EXPECT_EQ(SysMenuText(form->Handle(), 1029), "Show Thumbnails list  >");
    EXPECT_EQ(SysMenuText(form->Handle(), 1030), "Set size to download ...");
    EXPECT_EQ(SysMenuText(form->Handle(), 1028), "Help ...");
    EXPECT_EQ(SysMenuText(form->Handle(), 1027), "Do you like this program?");
    EXPECT_EQ(SysMenuText(form->Handle(), 1025), "About...");
}

// Wine 8 does not make a window top-most while it owns a popup (here the tooltip window), so
// there the test sees the request the window makes; on Windows it also sees the result.
TEST_F(Commands, StayOnTopTogglesWithItsCheckMark) {
    bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    auto topmost = [&] { return (GetWindowLongA(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    std::vector<HWND> requests;
    auto old = form->OnMessage;
    form->OnMessage = [&](UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_WINDOWPOSCHANGING) requests.push_back(reinterpret_cast<WINDOWPOS*>(lp)->hwndInsertAfter);
        if (old) old(msg, wp, lp);
    };
    RECT before;
    GetWindowRect(form->Handle(), &before);
    EXPECT_FALSE(topmost());
    Post(WM_SYSCOMMAND, 1026);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], HWND_TOPMOST);
    if (!wine) {
        EXPECT_TRUE(topmost());
    }
    EXPECT_TRUE(SysChecked(form->Handle(), 1026));
    EXPECT_EQ(form->OnTopState, 1);
    Post(WM_SYSCOMMAND, 1026);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1], HWND_NOTOPMOST);
    EXPECT_FALSE(topmost());
    EXPECT_FALSE(SysChecked(form->Handle(), 1026));
    EXPECT_EQ(form->OnTopState, 0);
    RECT after;
    GetWindowRect(form->Handle(), &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    form->OnMessage = old;
}

TEST_F(Commands, TheHookNeverMarksAMessageHandled) {
    for (WPARAM cmd : {1025, 1026, 1028, 1029, 1030, 1031, 0xF060 /* SC_CLOSE */}) {
        MSG msg{form->Handle(), WM_SYSCOMMAND, cmd, 0, 0, {}};
        bool handled = false;
        form->AppMessage(msg, handled);
        EXPECT_FALSE(handled) << cmd;
    }
    EXPECT_TRUE(WindowOpen());  // SC_CLOSE was only looked at
}

TEST_F(Commands, HidingTheStripNarrowsTheWindow) {
    int width = form->Width();
    MINMAXINFO info{};
    SendMessageA(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 532);
    EXPECT_TRUE(SysChecked(form->Handle(), 1029));

    Post(WM_SYSCOMMAND, 1029);
    EXPECT_FALSE(ShowThumbsList);
    EXPECT_EQ(form->Width(), width - 164);
    EXPECT_EQ(form->ClientWidth(), form->Panel_Main.Width());
    EXPECT_FALSE(SysChecked(form->Handle(), 1029));
    EXPECT_FALSE(form->PopShowThumbs1->Checked);
    EXPECT_FALSE(form->MainMenu_ShowThumbs->Checked);
    SendMessageA(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 368);
    EXPECT_EQ(info.ptMinTrackSize.y, 320);

    form->MainMenu_ShowThumbs->Click();
    EXPECT_TRUE(ShowThumbsList);
    EXPECT_EQ(form->Width(), width);
    EXPECT_EQ(form->ScrollBox1.Left(), form->Panel_Main.Width());
    EXPECT_TRUE(SysChecked(form->Handle(), 1029));
    EXPECT_TRUE(form->PopShowThumbs1->Checked);
}

TEST_F(Commands, MenuBarHiddenAndBroughtBack) {
    ASSERT_NE(GetMenu(form->Handle()), nullptr);
    form->MainMenu_ShowMenu->Click();
    EXPECT_EQ(GetMenu(form->Handle()), nullptr);
    EXPECT_FALSE(form->PopShowMenu1->Checked);
    EXPECT_FALSE(form->MainMenu_ShowMenu->Checked);
    EXPECT_FALSE(ShowMainMenu);
    form->PopShowMenu1->Click();
    EXPECT_NE(GetMenu(form->Handle()), nullptr);
    EXPECT_TRUE(form->PopShowMenu1->Checked);
    EXPECT_TRUE(form->MainMenu_ShowMenu->Checked);
    EXPECT_TRUE(ShowMainMenu);
}

TEST_F(Commands, SizeToDownloadFromTheSystemMenuOnlyWhenEnabled) {
    int clicks = 0;
    form->PopSizeToDownload1->OnClick = [&](forms::Component*) { ++clicks; };
    Post(WM_SYSCOMMAND, 1030);
    EXPECT_EQ(clicks, 1);
    form->PopSizeToDownload1->Enabled = false;  // as during a search
    Post(WM_SYSCOMMAND, 1030);
    EXPECT_EQ(clicks, 1);
}

TEST_F(Commands, HelpText) {
    char old[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, old);
    SetCurrentDirectoryA(folder.c_str());
    form->MainMenu_Help1->Click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, forms::BoxKind::Plain);
    EXPECT_EQ(boxes[0].text, "'Quenby.txt'  not found...");
    EXPECT_TRUE(shells.empty());

    testsupport::TempFolder::Write(folder + "Quenby.txt", "help");
    form->MainMenu_Help1->Click();
    ASSERT_EQ(shells.size(), 1u);
    EXPECT_EQ(shells[0].verb, "WinExec");
    EXPECT_EQ(shells[0].file, "Notepad.exe Quenby.txt");
    EXPECT_EQ(shells[0].show, SW_SHOWDEFAULT);

    DeleteFileA((folder + "Quenby.txt").c_str());
    Post(WM_SYSCOMMAND, 1028);  // the system menu leaves a missing file to the editor
    SetCurrentDirectoryA(old);
    ASSERT_EQ(shells.size(), 2u);
    EXPECT_EQ(shells[1].owner, GetDesktopWindow());
    EXPECT_EQ(shells[1].verb, "open");
    EXPECT_EQ(shells[1].file, "notepad.exe");
    EXPECT_EQ(shells[1].params, "Quenby.txt");
    EXPECT_EQ(shells[1].show, SW_SHOWNORMAL);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(Commands, GoToWebpageOpensTheSite) {
    form->Edit1.SetText("http://site.test/dir/page.html");
    form->PopWebpage1Click(form->PopWebpage1);  // nothing selected: nothing opens
    EXPECT_TRUE(shells.empty());
    AddLines(2);
    form->ListBox1.SetItemIndex(1);
    form->Edit1.SetText("https://site.test:8080/dir/page.html");
    form->MainMenu_Webpage->Click();
    ASSERT_EQ(shells.size(), 1u);
    EXPECT_EQ(shells[0].owner, form->Handle());
    EXPECT_EQ(shells[0].verb, "open");
    EXPECT_EQ(shells[0].file, "https://site.test:8080/");
    EXPECT_EQ(shells[0].show, SW_SHOWNORMAL);
    form->Edit1.SetText("no address here");
    form->MainMenu_Webpage->Click();
    EXPECT_EQ(shells.size(), 1u);
}

TEST_F(Commands, SoftwareNewsOpensTheMakersPage) {
    form->MainMenu_SoftwareNews->Click();
    ASSERT_EQ(shells.size(), 1u);
    EXPECT_EQ(shells[0].owner, GetDesktopWindow());
    EXPECT_EQ(shells[0].verb, "open");
    EXPECT_EQ(shells[0].file.rfind("https://", 0), 0u);
    EXPECT_EQ(shells[0].show, SW_SHOWNORMAL);
}
