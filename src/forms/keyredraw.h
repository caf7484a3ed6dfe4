#pragma once
// After Tab or Alt, newer systems show focus rectangles and access keys on buttons that then
// need redrawing; the windows' key-up handlers ask for it here.
#include <windows.h>

#include "forms/environment.h"

namespace forms {

class Form;

// Redraws the push buttons and check boxes of a window when Tab or Alt is released, on
// Windows NT 6 and later. Returns how many it redrew.
int RedrawButtonsOnKeyUp(Form* window, WORD key);

}  // namespace forms
