// A control's window: made, or subclassed, with the object in a window property; the one
// window procedure and the messages every control handles alike; the notifications a child
// window sends handed back to its control; and windows that go before their objects.
#include "forms/control.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "forms/form.h"
#include "forms/menu.h"
#include "forms/messageloop.h"
#include "platform/codepage.h"

namespace forms {

namespace {
constexpr char kObjectProp[] = "QuenbyControl";
constexpr char kOldProcProp[] = "QuenbyOldProc";
// Every window and control is a Unicode window: typed characters reach it whole, whatever the
// code page (an ANSI window proc gets WM_CHAR narrowed to one byte). Texts still go in and out
// through the A functions, converted in the process code page.
constexpr char kClassName[] = "QuenbyWindow";
constexpr wchar_t kWideClassName[] = L"QuenbyWindow";
}  // namespace

const char* OwnWindowClass() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = Control::Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hIcon = LoadIconW(wc.hInstance, L"MAINICON");
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kWideClassName;
        RegisterClassW(&wc);
        registered = true;
    }
    return kClassName;
}

Control* Control::FromHandle(HWND hwnd) { return hwnd ? static_cast<Control*>(GetPropA(hwnd, kObjectProp)) : nullptr; }

Control* Control::ControlAt(HWND hwnd) {
    for (; hwnd; hwnd = GetParent(hwnd))
        if (Control* c = FromHandle(hwnd)) return c;
    return nullptr;
}

void Control::CreateWindowed(const char* cls, DWORD style, DWORD exStyle, bool subclass, int listHeight) {
    windowed_ = true;
    ownClass_ = !subclass;
    extraHeight_ = listHeight;
    DWORD st = style | WS_CHILD | WS_CLIPSIBLINGS;
    if (visible_) st |= WS_VISIBLE;
    if (!enabled_) st |= WS_DISABLED;
    if (tabOrder_ >= 0) st |= WS_TABSTOP;
    winTop_ = top_;
    // Each child window is numbered once for the program's life, so a parent can tell which
    // of its children an owner-drawn list's first WM_MEASUREITEM comes from.
    static UINT lastId = 0x100;
    id_ = ++lastId;
    RECT r = DeviceRect(left_, top_, width_, height_ + extraHeight_);
    HWND h = CreateWindowExW(exStyle, platform::Widen(cls).c_str(), platform::Widen(caption_).c_str(), st, r.left,
                             r.top, r.right - r.left, r.bottom - r.top, ParentHandle(),
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id_)), GetModuleHandleA(nullptr),
                             subclass ? nullptr : this);
    if (subclass && h) {
        hwnd_ = h;
        SetPropA(h, kObjectProp, this);
        oldProc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
        SetPropA(h, kOldProcProp, reinterpret_cast<HANDLE>(oldProc_));
    }
    ApplyFont();
    RegisterHint();
}

void Control::CreateTopLevel(DWORD style, DWORD exStyle, const RECT& outer, HWND owner) {
    windowed_ = true;
    ownClass_ = true;
    CreateWindowExW(exStyle, platform::Widen(OwnWindowClass()).c_str(), platform::Widen(caption_).c_str(), style,
                    outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top, owner, nullptr,
                    GetModuleHandleA(nullptr), this);
}

LRESULT CALLBACK Control::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Control* c = Control::FromHandle(hwnd);
    if (!c && msg == WM_NCCREATE) {
        c = static_cast<Control*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        if (c) {
            SetPropA(hwnd, kObjectProp, c);
            c->hwnd_ = hwnd;
        }
    }
    if (c) return Dispatch(c, hwnd, msg, wp, lp);
    auto old = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kOldProcProp));
    if (msg == WM_NCDESTROY) RemovePropA(hwnd, kOldProcProp);
    return old ? CallWindowProcW(old, hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT Control::Dispatch(Control* c, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    EnterHandler();
    LRESULT r = 0;
    try {
        r = c->WndProc(msg, wp, lp);
    } catch (...) {
        HandleException();
    }
    if (msg == WM_NCDESTROY) {
        RemovePropA(hwnd, kObjectProp);
        RemovePropA(hwnd, kOldProcProp);
        if (c->hwnd_ == hwnd) c->hwnd_ = nullptr;
    }
    LeaveHandler();
    return r;
}

LRESULT Control::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
    return oldProc_ ? CallWindowProcW(oldProc_, hwnd_, msg, wp, lp) : DefWindowProcW(hwnd_, msg, wp, lp);
}

bool Control::ReflectToChild(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    Control* child = nullptr;
    switch (msg) {
    case WM_COMMAND:  // lp 0: a menu's command
    case WM_HSCROLL:
    case WM_VSCROLL:  // lp 0: the window's own scroll bar
        child = FromHandle(reinterpret_cast<HWND>(lp));
        break;
    case WM_NOTIFY:
        if (lp) child = FromHandle(reinterpret_cast<NMHDR*>(lp)->hwndFrom);
        break;
    case WM_DRAWITEM:
        if (auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lp); item && item->CtlType != ODT_MENU)
            child = FromHandle(item->hwndItem);
        break;
    case WM_MEASUREITEM:
        // Sent while the child's window is being made, before its handle is known.
        if (auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lp); item && item->CtlType != ODT_MENU && item->CtlID)
            for (Control* c : children_)
                if (c->id_ == item->CtlID) child = c;
        break;
    default: return false;
    }
    if (!child || child->parent_ != this) return false;
    if (msg != WM_COMMAND) return child->Notification(msg, wp, lp, result);
    child->Command(HIWORD(wp));
    result = 0;
    return true;
}

LRESULT Control::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (LRESULT r = 0; ownClass_ && ReflectToChild(msg, wp, lp, r)) return r;
    switch (msg) {
    case WM_PAINT:
        if (ownClass_) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd_, &ps);
            PaintGraphicChildren(dc);
            EndPaint(hwnd_, &ps);
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (OnMouseDown) {
            MouseButton b = msg == WM_LBUTTONDOWN   ? MouseButton::Left
                            : msg == WM_RBUTTONDOWN ? MouseButton::Right
                                                    : MouseButton::Middle;
            unsigned shift = static_cast<unsigned>(wp) & (MK_SHIFT | MK_CONTROL);
            if (GetKeyState(VK_MENU) < 0) shift |= kAlt;
            OnMouseDown(this, b, shift, Unscaled(static_cast<short>(LOWORD(lp))),
                        Unscaled(static_cast<short>(HIWORD(lp))));
        }
        break;
    case WM_LBUTTONUP:
        if (ownClass_ && OnClick && enabled_) OnClick(this);
        break;
    case WM_LBUTTONDBLCLK:
        if (ownClass_ && OnDblClick) OnDblClick(this);
        break;
    case WM_SETCURSOR:
        if (cursor_ == Cursor::HourGlass && LOWORD(lp) == HTCLIENT) {
            ::SetCursor(LoadCursorA(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_CONTEXTMENU:
        if (Popup) {
            POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            if (lp == -1) {  // from the keyboard: the control's centre
                pt = ScreenPoint(width_ / 2, height_ / 2);
            }
            Popup->PopupComponent = this;
            Form* f = OwnerForm();
            Popup->Popup(f ? f->Handle() : hwnd_, pt.x, pt.y);
            return 0;
        }
        break;
    }
    return DefaultProc(msg, wp, lp);
}

void Control::DropWindow(Form* tips) {
    if (tips) tips->RemoveTool(this);
    HWND h = hwnd_;
    RemovePropA(h, kObjectProp);  // later messages go to the old or default procedure
    hwnd_ = nullptr;
    DestroyWindow(h);
}

void Control::DestroyChild(Control* child) { DestroyChildren({child}); }

void Control::DestroyChildren(const std::vector<Control*>& doomed) {
    std::unordered_set<Control*> gone(doomed.begin(), doomed.end());
    std::vector<std::unique_ptr<Control>> taken;
    auto owned = std::stable_partition(owned_.begin(), owned_.end(), [&](auto& p) { return !gone.count(p.get()); });
    for (auto it = owned; it != owned_.end(); ++it) taken.push_back(std::move(*it));
    owned_.erase(owned, owned_.end());
    if (taken.empty()) return;
    gone.clear();
    for (auto& p : taken) gone.insert(p.get());
    children_.erase(std::remove_if(children_.begin(), children_.end(), [&](Control* c) { return gone.count(c) > 0; }),
                    children_.end());
    for (auto& p : taken) Forget(std::move(p));
    ChildMoved();
}

void Control::Forget(std::unique_ptr<Control> doomed) {
    Control* child = doomed.get();
    if (child->hwnd_)
        child->DropWindow(OwnerForm());
    else
        child->Invalidate();
    child->parent_ = nullptr;
    DeleteLater(std::move(doomed));
}

}  // namespace forms
