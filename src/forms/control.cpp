// A control's place, state and texts, and its place among its parent's children.
#include "forms/control.h"

#include <algorithm>
#include <string>

#include "forms/form.h"

namespace forms {

unsigned CurrentShiftState() {
    unsigned s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= kShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= kCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= kAlt;
    return s;
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
        Form* f = OwnerForm();
        DropWindow(f != this ? f : nullptr);
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

}  // namespace forms
