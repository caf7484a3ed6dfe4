#include "mainwindow/mainform.h"

#include "forms/messageloop.h"
#include "mainwindow/state.h"
#include "settings/settingsfile.h"

namespace mainwindow {

namespace {

constexpr forms::FormDesign kDesign{.name = "Form1",
                                    .caption = "Image search and download ...",
                                    .left = 203,
                                    .top = 118,
                                    .clientWidth = 356,
                                    .clientHeight = 366,
                                    .resizable = true,
                                    .minimizeBox = true,
                                    .maximizeBox = false};

}  // namespace

TForm1::TForm1() : forms::Form(kDesign) {
    ResetModuleState();
    auto on = [this](void (TForm1::*h)(Component*)) { return [this, h](Component* s) { (this->*h)(s); }; };

    // Context menus and the menu bar.
    ComboBox_search.Popup = &PopupMenu3;
    Edit_savepath.Popup = &PopupMenu3;
    Edit1.Popup = &PopupMenu3;
    ListBox1.Popup = &PopupMenu1;
    ScrollBox1.Popup = &PopupMenu1;
    SetMenu(&MainMenu1);
    SetClientSize(356, 366);

    // Handlers: one per control event; a popup item and its menu-bar twin share one.
    Button_search.OnClick = on(&TForm1::Button_searchClick);
    Button_stopsearch.OnClick = on(&TForm1::Button_stopsearchClick);
    Button_exit.OnClick = on(&TForm1::Button_exitClick);
    Button_savepath.OnClick = on(&TForm1::Button_savepathClick);
    Button_menu.OnClick = on(&TForm1::Button_menuClick);
    ListBox1.OnClick = on(&TForm1::ListBox1Click);
    ListBox1.OnDblClick = on(&TForm1::ListBox1DblClick);
    ComboBox_search.OnKeyPress = [this](Component* s, wchar_t& k) { ComboBox_searchKeyPress(s, k); };

    PopupMenu1.OnPopup = on(&TForm1::PopupMenu1Popup);
    PopupMenu3.OnPopup = on(&TForm1::PopupMenu3Popup);
    PopBrowser1->OnClick = on(&TForm1::ListBox1DblClick);
    PopWebpage1->OnClick = on(&TForm1::PopWebpage1Click);
    PopSave1->OnClick = on(&TForm1::PopSave1Click);
    PopLoad1->OnClick = on(&TForm1::PopLoad1Click);
    PopOpenTarget1->OnClick = on(&TForm1::PopOpenTarget1Click);
    PopOpenImage1->OnClick = on(&TForm1::PopOpenImage1Click);
    PopShowThumbs1->OnClick = on(&TForm1::PopShowThumbs1Click);
    PopShowMenu1->OnClick = on(&TForm1::PopShowMenu1Click);
    PopSizeToDownload1->OnClick = on(&TForm1::PopSizeToDownload1Click);
    PopFilters1->OnClick = on(&TForm1::PopFilters1Click);
    PopImageInfo1->OnClick = on(&TForm1::PopImageInfo1Click);
    PopAbout1->OnClick = on(&TForm1::PopAbout1Click);
    for (auto* item : {PopCut3, PopCopy3, PopSelectAll3, PopPaste3, PopClearAll3})
        item->OnClick = on(&TForm1::Pop3Click);

    MainMenu_File->OnClick = on(&TForm1::MainMenu_FileClick);
    MainMenu_Edit->OnClick = on(&TForm1::MainMenu_EditClick);
    MainMenu_Browser->OnClick = on(&TForm1::ListBox1DblClick);
    MainMenu_Webpage->OnClick = on(&TForm1::PopWebpage1Click);
    MainMenu_Save->OnClick = on(&TForm1::PopSave1Click);
    MainMenu_Load->OnClick = on(&TForm1::PopLoad1Click);
    MainMenu_OpenTarget->OnClick = on(&TForm1::PopOpenTarget1Click);
    MainMenu_OpenImage->OnClick = on(&TForm1::PopOpenImage1Click);
    MainMenu_Exit->OnClick = on(&TForm1::Button_exitClick);
    for (auto* item : {MainMenu_Cut, MainMenu_Copy, MainMenu_SelectAll, MainMenu_Paste, MainMenu_ClearAllPast})
        item->OnClick = on(&TForm1::Pop3Click);
    MainMenu_ShowThumbs->OnClick = on(&TForm1::PopShowThumbs1Click);
    MainMenu_ShowMenu->OnClick = on(&TForm1::PopShowMenu1Click);
    MainMenu_SizeToDownload->OnClick = on(&TForm1::PopSizeToDownload1Click);
    MainMenu_Filters->OnClick = on(&TForm1::PopFilters1Click);
    MainMenu_Help1->OnClick = on(&TForm1::MainMenu_Help1Click);
    MainMenu_SoftwareNews->OnClick = on(&TForm1::MainMenu_SoftwareNewsClick);
    MainMenu_CheckNewVersion->OnClick = on(&TForm1::MainMenu_CheckNewVersionClick);
    MainMenu_Donations->OnClick = on(&TForm1::MainMenu_DonationsClick);
    MainMenu_About->OnClick = on(&TForm1::PopAbout1Click);

    // The window itself: it sees its controls' keys first.
    KeyPreview = true;
    OnKeyDown = [this](Component* s, WORD& k, unsigned sh) { FormKeyDown(s, k, sh); };
    OnKeyUp = [this](Component* s, WORD& k, unsigned sh) { FormKeyUp(s, k, sh); };
    OnMouseWheel = [this](Component* s, unsigned sh, int d, POINT p, bool& h) { FormMouseWheel(s, sh, d, p, h); };
    OnResize = on(&TForm1::FormResize);
    OnShow = on(&TForm1::FormShow);
    OnClose = [this](Component* s, forms::CloseAction& a) { FormClose(s, a); };
    OnMessage = [this](UINT msg, WPARAM, LPARAM lp) {
        if (msg == WM_GETMINMAXINFO) WMGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lp));
    };

    // The fetched-image list is never shown.
    ListBox_Bak.SetLeft(GetSystemMetrics(SM_CXSCREEN) + 100);
    FormResize(this);
    SearchService = ReadSearchService();
    FormCreate(this);
}

TForm1::~TForm1() {
    forms::SetMessageHook(nullptr);  // the hook calls this window's AppMessage
    SetMenu(nullptr);
}

}  // namespace mainwindow
