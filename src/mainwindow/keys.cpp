// The keys of the main window and of its keyword box.
#include "mainwindow/mainform.h"
#include "settings/rules.h"

namespace mainwindow {

// Enter searches; then every character the box does not accept is dropped (Enter too, and the
// control characters Ctrl+A, C, V and X type). Paste can still bring such characters in.
void TForm1::ComboBox_searchKeyPress(Component*, wchar_t& Key) {
    if (Key == 13) Button_searchClick(&Button_search);
    if (!settings::IsKeywordChar(Key)) Key = 0;
}

// The window sees its controls' keys first: Escape stops, also while Stop is disabled.
void TForm1::FormKeyDown(Component*, WORD& Key, unsigned) {
    if (Key == VK_ESCAPE) Button_stopsearchClick(this);
}

void TForm1::FormKeyUp(Component*, WORD& Key, unsigned) { RedrawButtonsOnKeyUp(this, Key); }

}  // namespace mainwindow
