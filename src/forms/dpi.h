#pragma once
// The DPI a window is shown at, from the system where it knows it. GetDpiForWindow and its
// kin came with Windows 10 1607; they are looked up in user32 at run time, so the program still
// starts on older systems, where every window has the screen's DPI.
#include <windows.h>

#include "forms/dpiscale.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace forms {

// The window's DPI (96 when the system scales the window itself, or says nothing).
int WindowDpi(HWND hwnd);
// The DPI a new top-level window at `at` (screen coordinates) would get: the monitor's there.
int DpiAt(POINT at);
// AdjustWindowRectEx for the given DPI: the outer rectangle of a client rectangle.
void OuterRect(RECT& r, DWORD style, bool menu, DWORD exStyle, int dpi);

}  // namespace forms
