#pragma once
// Every message box of the program goes through here, so tests can script the answers
// (forms/environment.h) and no test ever waits on a dialog.
#include <windows.h>

#include <functional>
#include <string>

namespace forms {

enum class BoxKind {
    Plain,        // the application title, no icon
    Information,  // "Information", information icon
    Confirm,      // "Confirm", question icon
    Warning,      // the application title, warning icon
    Error,        // the application title, error icon (the application-wide error handler)
};

struct BoxCall {
    BoxKind kind;
    std::string caption;
    std::string text;
    unsigned flags;  // MB_OK, MB_OKCANCEL, MB_YESNOCANCEL, MB_YESNO | MB_DEFBUTTON..., as shown
    HWND owner;      // the window the box belongs to (DialogOwner)
};

// Buttons Yes and Cancel, which MessageBox has no style for: the OK button of an OK/Cancel box
// is captioned "Yes" and answers IDYES.
inline constexpr unsigned kBoxYesCancel = 0x7;

// Shows a modal box owned by our window on top (DialogOwner) and returns IDOK, IDCANCEL, IDYES or IDNO.
// Closing a box that has a Cancel button answers IDCANCEL. `buttons` is MB_OK, MB_OKCANCEL,
// MB_YESNOCANCEL, MB_YESNO or kBoxYesCancel, optionally with an MB_DEFBUTTONn.
int ShowBox(BoxKind kind, const std::string& text, unsigned buttons = 0 /* MB_OK */);

}  // namespace forms
