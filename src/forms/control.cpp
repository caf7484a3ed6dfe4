#include "forms/control.h"

#include <algorithm>
#include <unordered_set>
#include <map>
#include <string>
#include <utility>
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

unsigned CurrentShiftState() {
    unsigned s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= kShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= kCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= kAlt;
    return s;
}

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

Control::Control(Control* parent, const Design& d)
    : Component(d.name),
      parent_(parent),
      left_(d.left),
      top_(d.top),
      width_(d.width),
      height_(d.height),
      caption_(d.caption),
      hint_(d.hint),
      bold_(d.bold),
      tabOrder_(d.tabOrder),
      align_(d.align) {
    if (parent_) {
        parent_->children_.push_back(this);
        parent_->ChildMoved();
    }
}

Control::~Control() {
    // Adopted children go first, while this object is still whole.
    auto owned = std::move(owned_);
    owned.clear();
    if (hwnd_) {
        if (Form* f = OwnerForm(); f && f != this) f->RemoveTool(this);
        RemovePropA(hwnd_, kObjectProp);  // later messages go to the old or default procedure
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
    if (parent_) {
        auto& sib = parent_->children_;
        sib.erase(std::remove(sib.begin(), sib.end(), this), sib.end());
        if (!windowed_) parent_->Invalidate();
        parent_->ChildMoved();
    }
}

Form* Control::OwnerForm() {
    Control* c = this;
    while (c->parent_) c = c->parent_;
    return dynamic_cast<Form*>(c);
}

HWND Control::ParentHandle() const {
    for (Control* p = parent_; p; p = p->parent_)
        if (p->hwnd_) return p->hwnd_;
    return nullptr;
}

Control* Control::FindChild(const std::string& name) const {
    for (Control* c : children_)
        if (c->Name == name) return c;
    return nullptr;
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

void Control::PaintGraphicChildren(HDC dc) {
    for (Control* c : children_)
        if (!c->windowed_ && c->visible_) c->Paint(dc);
}

void Control::SetBounds(int left, int top, int width, int height) {
    if (!windowed_) Invalidate();  // the old place
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (hwnd_) PlaceWindow();
    if (!windowed_) Invalidate();
    if (parent_) parent_->ChildMoved();
}

void Control::KeepBounds(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
}

void Control::ShiftChildren(int dy) {
    for (Control* c : children_) c->top_ += dy;
}

HDWP Control::DeferPlace(Control& child, HDWP dwp) {
    // Edges are scaled one by one: at some DPIs the window's height depends on where it is.
    RECT r = child.DeviceBounds();
    if (dwp)
        dwp = DeferWindowPos(dwp, child.hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                             SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    child.winTop_ = child.top_;
    return dwp;
}

void Control::PlaceWindow() {
    RECT r = DeviceRect(left_, top_, width_, height_ + extraHeight_);
    MoveWindow(hwnd_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    winTop_ = top_;
}

RECT Control::DeviceRect(int left, int top, int width, int height) const {
    int dpi = Dpi();
    return {Scale(left, dpi), Scale(top, dpi), Scale(left + width, dpi), Scale(top + height, dpi)};
}

RECT Control::DeviceBounds() const { return DeviceRect(left_, top_, width_, height_); }

int Control::ClientWidth() const {
    if (!hwnd_) return width_;
    RECT r;
    GetClientRect(hwnd_, &r);
    return FitIn(r.right, Dpi());
}

int Control::ClientHeight() const {
    if (!hwnd_) return height_;
    RECT r;
    GetClientRect(hwnd_, &r);
    return FitIn(r.bottom, Dpi());
}

POINT Control::CursorPos() const {
    POINT pt{0, 0};
    GetCursorPos(&pt);
    if (hwnd_) ScreenToClient(hwnd_, &pt);
    return {Unscaled(pt.x), Unscaled(pt.y)};
}

POINT Control::ScreenPoint(int x, int y) const {
    POINT pt{Scaled(x), Scaled(y)};
    if (hwnd_) ClientToScreen(hwnd_, &pt);
    return pt;
}

void Control::DpiChanged() {
    if (fallback_) fallback_ = FallbackFont(bold_, fallbackText_, Dpi());
    if (hwnd_) {
        PlaceWindow();
        ApplyFont();
    }
    for (Control* c : children_) c->DpiChanged();
    Invalidate();
}

void Control::Realign() {
    int cw = ClientWidth(), top = 0, bottom = ClientHeight();
    for (Control* c : children_)
        if (c->align_ == Align::Top) {
            c->SetBounds(0, top, cw, c->height_);
            top += c->height_;
        }
    for (Control* c : children_)
        if (c->align_ == Align::Bottom) {
            bottom -= c->height_;
            c->SetBounds(0, bottom, cw, c->height_);
        }
    for (Control* c : children_)
        if (c->align_ == Align::Client) c->SetBounds(0, top, cw, std::max(0, bottom - top));
}

std::string Control::Text() const { return caption_; }

void Control::SetText(const std::string& text) {
    caption_ = text;
    FitFontTo(text);
    if (hwnd_)
        SetWindowTextA(hwnd_, text.c_str());
    else
        Invalidate();
}

void Control::SetEnabled(bool on) {
    // A disabled control cannot keep the focus: it goes on to the next one, as in a dialog,
    // rather than to nothing (Stop is disabled at the end of a search).
    if (!on && hwnd_ && Focused())
        if (Form* f = OwnerForm(); f && f != this) f->FocusNextAfter(hwnd_);
    enabled_ = on;
    if (hwnd_) EnableWindow(hwnd_, on);
    Invalidate();
}

void Control::SetVisible(bool on) {
    visible_ = on;
    if (hwnd_)
        ShowWindow(hwnd_, on ? SW_SHOW : SW_HIDE);
    else if (parent_)
        parent_->Invalidate();
    if (parent_) parent_->ChildMoved();
}

void Control::SetBold(bool on) {
    bold_ = on;
    ApplyFont();
    Invalidate();
}

HFONT Control::Font() const { return fallback_ ? fallback_ : DesignFont(bold_, Dpi()); }

void Control::FitFontTo(const std::string& text) {
    if (fallback_ || DesignFontShows(text)) return;
    fallbackText_ = text;
    fallback_ = FallbackFont(bold_, text, Dpi());
    ApplyFont();
}

void Control::ApplyFont() {
    if (hwnd_) SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), TRUE);
}

void Control::SetHint(const std::string& hint) {
    hint_ = hint;
    RegisterHint();
}

void Control::SetShowHint(bool on) {
    showHint_ = on;
    RegisterHint();
}

void Control::RegisterHint() {
    Form* f = OwnerForm();
    if (!f || f == this || !hwnd_) return;
    if (showHint_ && !hint_.empty())
        f->AddTool(this);
    else
        f->RemoveTool(this);
}

void Control::SetCursor(Cursor c) {
    cursor_ = c;
    if (!hwnd_) return;
    POINT pt;
    GetCursorPos(&pt);
    if (WindowFromPoint(pt) == hwnd_) ::SetCursor(LoadCursorA(nullptr, c == Cursor::HourGlass ? IDC_WAIT : IDC_ARROW));
}

bool Control::Focused() const {
    HWND f = GetFocus();
    return hwnd_ && f && (f == hwnd_ || IsChild(hwnd_, f));
}

void Control::SetFocus() {
    if (hwnd_) ::SetFocus(hwnd_);
}

void Control::Invalidate() {
    if (hwnd_) {
        InvalidateRect(hwnd_, nullptr, TRUE);
    } else if (HWND p = ParentHandle(); p && !windowed_) {  // a window not made yet has nothing to show
        RECT r = DeviceBounds();
        InvalidateRect(p, &r, TRUE);
    }
}

void Control::Click() {
    if (enabled_ && OnClick) OnClick(this);
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
    if (child->hwnd_) {
        if (Form* f = OwnerForm()) f->RemoveTool(child);
        HWND h = child->hwnd_;
        RemovePropA(h, kObjectProp);
        child->hwnd_ = nullptr;
        DestroyWindow(h);
    } else {
        child->Invalidate();
    }
    child->parent_ = nullptr;
    DeleteLater(std::move(doomed));
}

}  // namespace forms
