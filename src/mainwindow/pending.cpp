// Handlers of the main window whose commands are still to come. Each definition moves out of
// this file into its feature's own file when that command is built; until then each does
// nothing, or only the least the window needs to be usable (noted at the handler).
#include "mainwindow/mainform.h"
#include "mainwindow/state.h"

namespace mainwindow {

// ---- Saved searches and the options dialog ----
void TForm1::PopSave1Click(Component*) {}
void TForm1::PopLoad1Click(Component*) {}

}  // namespace mainwindow
