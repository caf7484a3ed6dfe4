// The About box and the new-version check, reached from the menus and the system menu.
#include "info/about.h"
#include "info/versioncheck.h"
#include "mainwindow/mainform.h"

namespace mainwindow {

void TForm1::PopAbout1Click(Component*) {
    if (info::FormAbout) info::FormAbout->ShowModal();
}

void TForm1::MainMenu_CheckNewVersionClick(Component*) { info::CheckNewVersion(); }

}  // namespace mainwindow
