// Program entry: creates the windows in their order and runs the message loop until the main
// window has closed.
#include <windows.h>
#include <ole2.h>

#include "forms/messageloop.h"
#include "info/about.h"
#include "mainwindow/mainform.h"
#include "savedsearch/chooser.h"
#include "settings/filtersdialog.h"
#include "settings/options.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    OleInitialize(nullptr);  // the shell's folder browser needs it on this thread
    // The main window comes first: the first form created is the main form, and its creation
    // reads the settings before any other window exists. The dialogs (About box, saved-search
    // chooser, options, filters) are created after it, in that order, and live until the
    // program ends.
    auto* main = new mainwindow::TForm1();
    info::FormAbout = new info::TFormAbout();
    savedsearch::Form_oldsearchs = new savedsearch::TForm_oldsearchs();
    settings::Form_options = new settings::TForm_options();
    settings::Form_filters = new settings::TForm_filters();
    main->Show();
    forms::RunMessageLoop();
    // Closing does not wait for a search that is still stopping.
    ExitProcess(0);
}
