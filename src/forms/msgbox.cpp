#include "forms/msgbox.h"

#include <windows.h>

#include "platform/application.h"
#include "forms/environment.h"
#include "forms/form.h"

namespace forms {

namespace {
// Renames the OK button of the box about to be shown on this thread.
thread_local HHOOK t_yesHook = nullptr;

LRESULT CALLBACK YesButtonHook(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wp);
        SetDlgItemTextA(box, IDOK, "&Yes");
        UnhookWindowsHookEx(t_yesHook);
        t_yesHook = nullptr;
        return 0;
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

int ShowBox(BoxKind kind, const std::string& text, unsigned buttons) {
    BoxCall call{kind, platform::ApplicationTitle(), text, buttons, DialogOwner()};
    unsigned icon = 0;
    switch (kind) {
    case BoxKind::Plain: break;
    case BoxKind::Information:
        call.caption = "Information";
        icon = MB_ICONINFORMATION;
        break;
    case BoxKind::Confirm:
        call.caption = "Confirm";
        icon = MB_ICONQUESTION;
        break;
    case BoxKind::Warning: icon = MB_ICONWARNING; break;
    case BoxKind::Error: icon = MB_ICONERROR; break;
    }
    if (auto script = Env().box) return script(call);
    if ((buttons & MB_TYPEMASK) == kBoxYesCancel) {
        buttons = (buttons & ~MB_TYPEMASK) | MB_OKCANCEL;
        t_yesHook = SetWindowsHookExA(WH_CBT, YesButtonHook, nullptr, GetCurrentThreadId());
        int r = MessageBoxA(call.owner, text.c_str(), call.caption.c_str(), buttons | icon);
        if (t_yesHook) UnhookWindowsHookEx(t_yesHook);
        t_yesHook = nullptr;
        return r == IDOK ? IDYES : r;
    }
    return MessageBoxA(call.owner, text.c_str(), call.caption.c_str(), buttons | icon);
}

}  // namespace forms
