// The result menu, the text menu and the menu bar: what each shows when it opens, the edit
// commands, the strip and menu-bar switches, and the menu button.
#include "forms/messageloop.h"
#include "forms/msgbox.h"
#include "forms/shell.h"
#include "mainwindow/mainform.h"
#include "mainwindow/state.h"
#include "settings/rules.h"

namespace mainwindow {

namespace {
// The system-menu item of the strip, checked with the two menu items.
constexpr UINT kSysShowThumbs = 1029;
}  // namespace

void TForm1::PopupMenu1Popup(Component*) {
    bool selected = ListBox1.ItemIndex() >= 0;
    for (auto* item : {PopBrowser1, PopWebpage1, PopOpenImage1, PopOpenTarget1, PopImageInfo1})
        item->Enabled = selected;
    PopSave1->Enabled = ListBox1.Count() > 0;
}

void TForm1::PopupMenu3Popup(Component*) {
    forms::Control* on = PopupMenu3.PopupComponent;
    bool keywordBox = on && on->Name == "ComboBox_search";
    PopCut3->Visible = keywordBox;
    PopPaste3->Visible = keywordBox;
}

void TForm1::MainMenu_FileClick(Component*) {
    bool selected = ListBox1.ItemIndex() >= 0;
    for (auto* item : {MainMenu_Browser, MainMenu_Webpage, MainMenu_OpenImage, MainMenu_OpenTarget})
        item->Enabled = selected;
    MainMenu_Save->Enabled = ListBox1.Count() > 0;
}

void TForm1::MainMenu_EditClick(Component*) {
    bool keywordBox = ComboBox_search.Focused();
    MainMenu_Cut->Visible = keywordBox;
    MainMenu_Paste->Visible = keywordBox;
    bool list = ListBox1.Focused();
    MainMenu_Copy->Enabled = !list;
    MainMenu_SelectAll->Enabled = !list;
}

// The edit commands act on whichever control of the window has the focus, which need not be
// the one the text menu was opened on.
void TForm1::Pop3Click(Component* Sender) {
    if (Sender == PopClearAll3 || Sender == MainMenu_ClearAllPast) {
        if (forms::ShowBox(forms::BoxKind::Information, "Sure to delete all past search keywords..?", MB_OKCANCEL) ==
            IDCANCEL)
            return;
        std::string keep = ComboBox_search.Text();
        ComboBox_search.Clear();
        ComboBox_search.AddItem(keep);
        ComboBox_search.SetItemIndex(0);
        return;
    }
    // Only a control of this window: with the focus on the window itself (or elsewhere) the
    // commands do nothing (Paste would otherwise empty the window's caption).
    HWND focus = GetFocus();
    if (!focus || !IsChild(Handle(), focus)) return;
    forms::Control* target = forms::Control::ControlAt(focus);
    if (!target || target == this || !target->Windowed()) return;
    if (!dynamic_cast<forms::Edit*>(target) && !dynamic_cast<forms::ComboBox*>(target) &&
        !dynamic_cast<forms::ListBox*>(target))
        return;
    HWND h = target->Handle();
    if (Sender == PopCopy3 || Sender == MainMenu_Copy) {
        SendMessageA(h, WM_COPY, 0, 0);
    } else if (Sender == PopCut3 || Sender == MainMenu_Cut) {
        SendMessageA(h, WM_CUT, 0, 0);
    } else if (Sender == PopPaste3 || Sender == MainMenu_Paste) {
        // A read-only field (the folder) would be emptied and take no paste: leave it be.
        auto* edit = dynamic_cast<forms::Edit*>(target);
        if (edit && edit->ReadOnly()) return;
        SendMessageA(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
        SendMessageA(h, WM_PASTE, 0, 0);
    } else if (Sender == PopSelectAll3 || Sender == MainMenu_SelectAll) {
        if (auto* combo = dynamic_cast<forms::ComboBox*>(target)) {
            auto length = static_cast<WORD>(combo->Text().size());
            SendMessageA(h, CB_SETEDITSEL, 0, MAKELPARAM(0, length));
        } else if (dynamic_cast<forms::Edit*>(target)) {
            SendMessageA(h, EM_SETSEL, 0, -1);
        }
    }
}

void TForm1::PopWebpage1Click(Component*) {
    if (ListBox1.ItemIndex() < 0) return;
    std::string site = settings::SiteAddress(Edit1.Text());
    if (site.empty()) return;  // no "://": no site to open
    OpenWebAddress(site);
}

void TForm1::PopShowThumbs1Click(Component*) { ToggleThumbStrip(); }

// The strip is never hidden: narrowing the client area leaves it beyond the right edge, and
// the resize layout puts it right of the panel again when the window widens.
void TForm1::ToggleThumbStrip() {
    ShowThumbsList = !ShowThumbsList;
    SetClientSize(Panel_Main.Width() + (ShowThumbsList ? 164 : 0), ClientHeight());
    CheckMenuItem(GetSystemMenu(Handle(), FALSE), kSysShowThumbs,
                  MF_BYCOMMAND | (ShowThumbsList ? MF_CHECKED : MF_UNCHECKED));
    PopShowThumbs1->Checked = ShowThumbsList;
    MainMenu_ShowThumbs->Checked = ShowThumbsList;
}

void TForm1::PopShowMenu1Click(Component*) {
    SetMenu(PopShowMenu1->Checked ? nullptr : &MainMenu1);
    PopShowMenu1->Checked = !PopShowMenu1->Checked;
    MainMenu_ShowMenu->Checked = PopShowMenu1->Checked;
    ShowMainMenu = PopShowMenu1->Checked;
}

void TForm1::Button_menuClick(Component*) {
    POINT at = Button_menu.Parent()->ScreenPoint(Button_menu.Left() + Button_menu.Width() / 2 + 5,
                                                 Button_menu.Top() + Button_menu.Height() / 2 + 4);
    PopupMenu1.Popup(Handle(), at.x, at.y);
    PostMessageA(Handle(), WM_NULL, 0, 0);
}

}  // namespace mainwindow
