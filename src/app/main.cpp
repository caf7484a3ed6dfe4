// Program entry: creates the main window and runs the message loop until it has closed.
#include <windows.h>
#include <ole2.h>

#include "forms/messageloop.h"
#include "info/about.h"
#include "mainwindow/mainform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    OleInitialize(nullptr);  // the shell's folder browser needs it on this thread
    // The windows live until the process ends; closing does not wait for a stopping search.
    auto* main = new mainwindow::TForm1();
    info::FormAbout = new info::TFormAbout();
    main->Show();
    forms::RunMessageLoop();
    ExitProcess(0);
}
