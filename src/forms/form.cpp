#include "forms/form.h"

#include <commctrl.h>

#include <algorithm>
#include <functional>

#include "forms/dpi.h"
#include "forms/environment.h"
#include "forms/menu.h"
#include "forms/messageloop.h"
#include "platform/codepage.h"

namespace forms {

namespace {

// The forms being shown modally, innermost last.
std::vector<Form*>& ModalStack() {
    static std::vector<Form*> stack;
    return stack;
}

bool Usable(HWND h) { return h && IsWindow(h) && IsWindowVisible(h) && IsWindowEnabled(h); }

DWORD StyleOf(const FormDesign& d) {
    if (d.toolWindow) return WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
    DWORD s = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    if (d.resizable) s |= WS_THICKFRAME;
    if (d.minimizeBox) s |= WS_MINIMIZEBOX;
    if (d.maximizeBox) s |= WS_MAXIMIZEBOX;
    return s;
}

DWORD ExStyleOf(const FormDesign& d) {
    DWORD ex = WS_EX_CONTROLPARENT;
    if (d.toolWindow) ex |= WS_EX_TOOLWINDOW;
    if (!d.resizable && !d.toolWindow) ex |= WS_EX_DLGMODALFRAME;
    return ex;
}

}  // namespace

HWND DialogOwner() {
    auto& stack = ModalStack();
    for (auto it = stack.rbegin(); it != stack.rend(); ++it)
        if ((*it)->Handle()) return (*it)->Handle();
    return MainForm() ? MainForm()->Handle() : nullptr;
}

Form::Form(const FormDesign& d)
    : Control(nullptr, Design{.name = d.name, .left = d.left, .top = d.top, .caption = d.caption}) {
    static bool commonControls = [] {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        return InitCommonControlsEx(&icc) != 0;
    }();
    (void)commonControls;
    if (!MainForm()) SetMainForm(this);
    windowed_ = true;
    ownClass_ = true;
    // The window takes the DPI of the monitor it opens on; its design is scaled by that.
    dpi_ = DpiAt(POINT{left_, top_});
    RECT r{0, 0, Scale(d.clientWidth, dpi_), Scale(d.clientHeight, dpi_)};
    OuterRect(r, StyleOf(d), false, ExStyleOf(d), dpi_);
    HWND owner = (MainForm() && MainForm() != this) ? MainForm()->Handle() : nullptr;
    CreateWindowExW(ExStyleOf(d), platform::Widen(OwnWindowClass()).c_str(), platform::Widen(caption_).c_str(),
                    StyleOf(d), left_, top_, r.right - r.left, r.bottom - r.top, owner, nullptr,
                    GetModuleHandleA(nullptr), static_cast<Control*>(this));
    if (hwnd_ && WindowDpi(hwnd_) != dpi_) {  // the system placed it otherwise than asked
        dpi_ = WindowDpi(hwnd_);
        r = RECT{0, 0, Scale(d.clientWidth, dpi_), Scale(d.clientHeight, dpi_)};
        OuterRect(r, StyleOf(d), false, ExStyleOf(d), dpi_);
        SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    width_ = Unscale(r.right - r.left, dpi_);
    height_ = Unscale(r.bottom - r.top, dpi_);
    ApplyFont();
}

Form::~Form() {
    if (MainForm() == this) SetMainForm(nullptr);
    auto& stack = ModalStack();
    stack.erase(std::remove(stack.begin(), stack.end(), this), stack.end());
    if (menu_ && hwnd_) ::SetMenu(hwnd_, nullptr);  // the menu object owns its handle
}

void Form::SetBounds(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (hwnd_) MoveWindow(hwnd_, left, top, Scaled(width), Scaled(height), TRUE);
}

void Form::SetClientSize(int width, int height) {
    const int w = Scaled(width), h = Scaled(height);
    RECT r{0, 0, w, h};
    OuterRect(r, GetWindowLongA(hwnd_, GWL_STYLE), GetMenu(hwnd_) != nullptr, GetWindowLongA(hwnd_, GWL_EXSTYLE), dpi_);
    RECT o;
    GetWindowRect(hwnd_, &o);
    MoveWindow(hwnd_, o.left, o.top, r.right - r.left, r.bottom - r.top, TRUE);
    // A menu bar that wraps takes more than one line: correct by what the client really is.
    RECT c;
    GetClientRect(hwnd_, &c);
    if (c.bottom != h && c.bottom > 0)
        MoveWindow(hwnd_, o.left, o.top, r.right - r.left, r.bottom - r.top + h - c.bottom, TRUE);
}

void Form::DpiChanged() {
    for (Control* c : children_) c->DpiChanged();
    ApplyFont();
    if (tooltip_) SendMessageA(tooltip_, WM_SETFONT, 0, TRUE);  // the system's font, at the new DPI
    Invalidate();
}

// Moving to a monitor of another DPI: the design is shown again at the new DPI, in the
// rectangle the system suggests (the same place under the mouse, the size scaled).
void Form::MoveToDpi(int dpi, const RECT& suggested) {
    if (dpi <= 0 || dpi == dpi_) return;
    dpi_ = dpi;
    DpiChanged();
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Show() {
    if (!shownOnce_) {
        shownOnce_ = true;
        ApplyTabOrder();
        if (OnShow) OnShow(this);
    }
    visible_ = true;
    ShowWindow(hwnd_, SW_SHOW);
    if (GetActiveWindow() == hwnd_ && !Focused()) RestoreFocus();
}

void Form::Hide() {
    visible_ = false;
    ShowWindow(hwnd_, SW_HIDE);
}

void Form::Close() {
    if (modal_) {
        ModalResult = mrCancel;
        return;
    }
    CloseAction action = MainForm() == this ? CloseAction::Free : CloseAction::Hide;
    if (OnClose) OnClose(this, action);
    if (action == CloseAction::None) return;
    Hide();
    if (MainForm() == this) Terminate();
}

int Form::ShowModal() {
    modal_ = true;
    ModalResult = mrNone;
    ModalStack().push_back(this);
    struct Pop {
        Form* f;
        ~Pop() {
            auto& stack = ModalStack();
            stack.erase(std::remove(stack.begin(), stack.end(), f), stack.end());
        }
    } pop{this};
    if (auto script = Env().modal) {
        struct Reset {
            bool& m;
            ~Reset() { m = false; }
        } reset{modal_};
        ModalResult = script(*this);
        return ModalResult;
    }
    // Disable the thread's other windows while this one is up, as a dialog box does.
    std::vector<HWND> disabled;
    std::pair<HWND, std::vector<HWND>*> ctx{hwnd_, &disabled};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM lp) -> BOOL {
            auto* self = reinterpret_cast<std::pair<HWND, std::vector<HWND>*>*>(lp);
            if (h != self->first && IsWindowVisible(h) && IsWindowEnabled(h)) {
                self->second->push_back(h);
                EnableWindow(h, FALSE);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&ctx));
    savedFocus_ = nullptr;  // each opening starts at the first control
    Show();
    SetActiveWindow(hwnd_);
    if (!Focused()) FocusFirstControl();
    while (!Terminated()) {
        if (ModalResult != mrNone) {
            CloseAction a = CloseAction::Hide;
            if (OnClose) OnClose(this, a);
            if (a != CloseAction::None) break;
            ModalResult = mrNone;
        }
        MSG msg;
        BOOL r = GetMessageW(&msg, nullptr, 0, 0);
        if (r <= 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        DispatchQueued(msg);
    }
    // The owner is enabled again before this form goes, so that it is the one activated.
    for (HWND h : disabled) EnableWindow(h, TRUE);
    Hide();
    modal_ = false;
    return ModalResult;
}

void Form::SetMenu(MainMenu* menu) {
    menu_ = menu;
    ::SetMenu(hwnd_, menu ? menu->Handle() : nullptr);
}

void Form::SetTopMost(bool on) {
    RECT r;
    GetWindowRect(hwnd_, &r);
    SetWindowPos(hwnd_, on ? HWND_TOPMOST : HWND_NOTOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top, 0);
}

Control* Form::ActiveControl() const { return ControlAt(GetFocus()); }

void Form::FocusFirstControl() {
    HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
    if (Usable(first) && IsChild(hwnd_, first))
        ::SetFocus(first);
    else
        ::SetFocus(hwnd_);
}

void Form::RestoreFocus() {
    if (Usable(savedFocus_) && IsChild(hwnd_, savedFocus_))
        ::SetFocus(savedFocus_);
    else
        FocusFirstControl();
}

void Form::RememberFocus() {
    HWND f = GetFocus();
    if (f && IsChild(hwnd_, f)) savedFocus_ = f;
}

void Form::FocusNextAfter(HWND from) {
    HWND next = GetNextDlgTabItem(hwnd_, from, FALSE);
    if (Usable(next) && next != from && IsChild(hwnd_, next))
        ::SetFocus(next);
    else
        ::SetFocus(hwnd_);
    if (savedFocus_ == from || (savedFocus_ && IsChild(from, savedFocus_))) savedFocus_ = GetFocus();
}

void Form::AddTool(Control* c) {
    if (!tooltip_) {
        tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    }
    TTTOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(c->Handle());
    ti.lpszText = const_cast<char*>(c->Hint().c_str());  // the tooltip keeps its own copy
    if (!SendMessageA(tooltip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti)) ||
        !SendMessageA(tooltip_, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&ti)))
        SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void Form::RemoveTool(Control* c) {
    if (!tooltip_ || !c->Handle()) return;
    TTTOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(c->Handle());
    SendMessageA(tooltip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void Form::ApplyTabOrder() {
    std::function<void(Control*)> order = [&](Control* parent) {
        std::vector<Control*> stops;
        for (Control* c : parent->Controls()) {
            if (c->Windowed() && c->TabOrder() >= 0) stops.push_back(c);
            order(c);
        }
        std::stable_sort(stops.begin(), stops.end(),
                         [](Control* a, Control* b) { return a->TabOrder() < b->TabOrder(); });
        HWND after = HWND_TOP;
        for (Control* c : stops) {
            SetWindowPos(c->Handle(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            after = c->Handle();
        }
    };
    order(this);
}

LRESULT Form::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CLOSE: Close(); return 0;
    case WM_ACTIVATE:
        // The default would give the focus to the form itself; a control should have it.
        if (LOWORD(wp) == WA_INACTIVE) {
            RememberFocus();
        } else if (!HIWORD(wp)) {  // not while minimized
            RestoreFocus();
        }
        return 0;
    case WM_SETFOCUS:
        if (!IsIconic(hwnd_)) RestoreFocus();
        return 0;
    case WM_SIZE:
    case WM_MOVE: {
        RECT r;
        GetWindowRect(hwnd_, &r);
        left_ = r.left;
        top_ = r.top;
        width_ = Unscaled(r.right - r.left);
        height_ = Unscaled(r.bottom - r.top);
        if (msg == WM_SIZE && OnResize) OnResize(this);
        return 0;
    }
    case WM_DPICHANGED: MoveToDpi(LOWORD(wp), *reinterpret_cast<RECT*>(lp)); return 0;
    case WM_COMMAND:
        if (lp == 0 && HIWORD(wp) == 0) {
            if (MenuItem* item = FindMenuItem(LOWORD(wp))) item->Click();
            return 0;
        }
        break;
    case WM_INITMENUPOPUP:
        if (menu_ && !HIWORD(lp)) menu_->MenuOpening(reinterpret_cast<HMENU>(wp));
        break;
    }
    LRESULT r = Control::WndProc(msg, wp, lp);
    if (OnMessage) OnMessage(msg, wp, lp);
    return r;
}

}  // namespace forms
