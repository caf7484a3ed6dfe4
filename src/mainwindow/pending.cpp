// Handlers of the main window whose commands are still to come. Each definition moves out of
// this file into its feature's own file when that command is built; until then each does
// nothing, or only the least the window needs to be usable (noted at the handler).
#include <cstdlib>

#include "mainwindow/mainform.h"
#include "mainwindow/state.h"

namespace mainwindow {

// ---- Menus, keys, edit commands, system menu ----
void TForm1::PopupMenu1Popup(Component*) {}
void TForm1::PopupMenu3Popup(Component*) {}
void TForm1::MainMenu_FileClick(Component*) {}
void TForm1::MainMenu_EditClick(Component*) {}
void TForm1::Pop3Click(Component*) {}
void TForm1::PopWebpage1Click(Component*) {}
void TForm1::PopShowThumbs1Click(Component*) { ToggleThumbStrip(); }
void TForm1::PopShowMenu1Click(Component*) {}
void TForm1::MainMenu_Help1Click(Component*) {}
void TForm1::MainMenu_SoftwareNewsClick(Component*) {}
void TForm1::MainMenu_DonationsClick(Component*) {}
void TForm1::Button_menuClick(Component*) {}
void TForm1::AppMessage(MSG&, bool&) {}

// Enter in the keyword box searches; the box keeps no Enter.
void TForm1::ComboBox_searchKeyPress(Component*, char& Key) {
    if (Key == 13) {
        Button_searchClick(&Button_search);
        Key = 0;
    }
}

// Escape anywhere in the window stops, also while the Stop button is disabled.
void TForm1::FormKeyDown(Component*, WORD& Key, unsigned) {
    if (Key == VK_ESCAPE) Button_stopsearchClick(this);
}

void TForm1::FormKeyUp(Component*, WORD& Key, unsigned) { RedrawButtonsOnKeyUp(this, Key); }

// Shows or hides the strip by widening or narrowing the window.
void TForm1::ToggleThumbStrip() {
    ShowThumbsList = !ShowThumbsList;
    SetClientSize(Panel_Main.Width() + (ShowThumbsList ? 164 : 0), ClientHeight());
    PopShowThumbs1->Checked = ShowThumbsList;
    MainMenu_ShowThumbs->Checked = ShowThumbsList;
}

// ---- Settings, start-up and close ----
// The window's designed start: frame hidden, Stop disabled, the folder from TEMP.
void TForm1::FormCreate(Component*) {
    Bevel_f.SetTop(-300);
    const char* temp = std::getenv("TEMP");
    SavePath = temp ? temp : "";
    if (!SavePath.empty() && SavePath.back() != '\\') SavePath += '\\';
    Edit_savepath.SetText(SavePath);
    Button_stopsearch.SetEnabled(false);
}

// The strip shown, nothing running.
void TForm1::FormShow(Component*) {
    StopRequested = true;
    ResultsSaved = false;
    ShowThumbsList = false;
    ToggleThumbStrip();
}

void TForm1::FormClose(Component*, forms::CloseAction&) { StopRequested = true; }
void TForm1::Button_savepathClick(Component*) {}

// ---- Saved searches and the options dialog ----
void TForm1::PopSave1Click(Component*) {}
void TForm1::PopLoad1Click(Component*) {}
void TForm1::PopSizeToDownload1Click(Component*) {}

}  // namespace mainwindow
