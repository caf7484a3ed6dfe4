#include "forms/messageloop.h"

#include <windowsx.h>

#include <exception>
#include <vector>

#include "forms/control.h"
#include "forms/form.h"
#include "forms/msgbox.h"
#include "platform/codepage.h"

namespace forms {

namespace {
MessageHook g_hook;
bool g_terminated = false;
Form* g_mainForm = nullptr;
int g_depth = 0;
std::vector<std::unique_ptr<Control>> g_graveyard;

// Key preview: the form first, then the control that has the key. Returns true when a
// handler swallowed the key.
bool PreviewKey(MSG& msg) {
    Control* target = Control::ControlAt(msg.hwnd);
    if (!target) return false;
    Form* form = target->OwnerForm();
    unsigned shift = CurrentShiftState();
    bool swallowed = false;
    EnterHandler();
    try {
        if (msg.message == WM_CHAR) {
            wchar_t ch = static_cast<wchar_t>(msg.wParam);
            if (form && form != target && form->KeyPreview && form->OnKeyPress) form->OnKeyPress(form, ch);
            if (ch && target->OnKeyPress) target->OnKeyPress(target, ch);
            swallowed = ch == 0;
            msg.wParam = ch;
            // A typed character the designed font cannot show (half of a pair counts as such).
            if (ch >= 0x80) {
                target->FitFontTo(ch >= 0xD800 && ch <= 0xDFFF ? std::string("\xEF\xBF\xBF")
                                                               : platform::Narrow(std::wstring(1, ch)));
            }
        } else {
            bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
            WORD key = static_cast<WORD>(msg.wParam);
            if (form && form != target && form->KeyPreview) {
                auto& h = down ? form->OnKeyDown : form->OnKeyUp;
                if (h) h(form, key, shift);
            }
            if (key) {
                auto& h = down ? target->OnKeyDown : target->OnKeyUp;
                if (h) h(target, key, shift);
            }
            swallowed = key == 0;
            msg.wParam = key;
            if (!swallowed && down && key == VK_TAB && form && !(shift & (kCtrl | kAlt)) && form->Handle())
                swallowed = IsDialogMessageW(form->Handle(), &msg) != 0;
        }
    } catch (...) {
        HandleException();
    }
    LeaveHandler();
    return swallowed;
}

bool PreviewWheel(const MSG& msg) {
    Control* target = Control::ControlAt(msg.hwnd);
    Form* form = target ? target->OwnerForm() : nullptr;
    if (!form || !form->OnMouseWheel) return false;
    bool handled = false;
    EnterHandler();
    try {
        unsigned shift = GET_KEYSTATE_WPARAM(msg.wParam) & (MK_SHIFT | MK_CONTROL);
        POINT pt{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
        form->OnMouseWheel(form, shift, GET_WHEEL_DELTA_WPARAM(msg.wParam), pt, handled);
    } catch (...) {
        HandleException();
    }
    LeaveHandler();
    return handled;
}

bool PreTranslate(MSG& msg) {
    if (g_hook) {
        bool handled = false;
        EnterHandler();
        try {
            g_hook(msg, handled);
        } catch (...) {
            HandleException();
        }
        LeaveHandler();
        if (handled) return true;
    }
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_CHAR: return PreviewKey(msg);
    case WM_MOUSEWHEEL: return PreviewWheel(msg);
    }
    return false;
}

}  // namespace

void SetMessageHook(MessageHook hook) { g_hook = std::move(hook); }

void HandleException() {
    try {
        throw;
    } catch (const std::exception& e) {
        ShowBox(BoxKind::Error, e.what());
    } catch (...) {
        ShowBox(BoxKind::Error, "Unknown error");
    }
}

void Guarded(const std::function<void()>& fn) {
    try {
        fn();
    } catch (...) {
        HandleException();
    }
}

void DispatchQueued(MSG& msg) {
    if (PreTranslate(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            g_terminated = true;
            break;
        }
        DispatchQueued(msg);
    }
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        ProcessMessages();
        if (done()) return true;
        DWORD wait = 50;  // done() may turn true without a message of this thread
        if (timeoutMs != INFINITE) {
            DWORD spent = GetTickCount() - start;
            if (spent >= timeoutMs) return false;
            wait = std::min<DWORD>(wait, timeoutMs - spent);
        }
        MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

void RunMessageLoop() {
    MSG msg;
    while (!g_terminated) {
        BOOL r = GetMessageW(&msg, nullptr, 0, 0);
        if (r <= 0) {
            g_terminated = true;
            break;
        }
        DispatchQueued(msg);
    }
}

void Terminate() {
    g_terminated = true;
    PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);  // wakes a waiting loop
}

bool Terminated() { return g_terminated; }
void ResetTerminated() { g_terminated = false; }

Form* MainForm() { return g_mainForm; }
void SetMainForm(Form* form) { g_mainForm = form; }

void DeleteLater(std::unique_ptr<Control> control) {
    if (g_depth == 0)
        control.reset();
    else
        g_graveyard.push_back(std::move(control));
}

void EnterHandler() { g_depth++; }

void LeaveHandler() {
    if (--g_depth == 0 && !g_graveyard.empty()) {
        auto doomed = std::move(g_graveyard);
        g_graveyard.clear();
        doomed.clear();
    }
}

}  // namespace forms
