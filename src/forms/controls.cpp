#include "forms/controls.h"
#include "platform/codepage.h"

#include <algorithm>

#include "forms/form.h"
#include "forms/menu.h"
#include "platform/owned.h"

namespace forms {

// ---- Label ----

Label::Label(Control* parent, const Design& d) : Control(parent, d) { AutoSize(); }

void Label::SetText(const std::string& text) {
    Invalidate();
    caption_ = text;
    FitFontTo(text);
    AutoSize();
    Invalidate();
}

void Label::AutoSize() {
    const int dpi = Dpi();
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font());
    SIZE sz{0, 0};
    std::wstring text = platform::Widen(caption_);  // measured as it is drawn
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &sz);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    width_ = Cover(sz.cx, dpi);
    height_ = std::max<int>(Cover(sz.cy, dpi), 13);
}

void Label::DpiChanged() {
    AutoSize();  // text does not scale exactly with its font's size
    Control::DpiChanged();
}

void Label::Paint(HDC dc) {
    RECT r = DeviceBounds();
    HGDIOBJ old = SelectObject(dc, Font());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(enabled_ ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    // Through UTF-16: the text is the process code page's, whatever the system's.
    std::wstring text = platform::Widen(caption_);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_SINGLELINE | DT_NOCLIP);
    SelectObject(dc, old);
}

// ---- Bevel ----

Bevel::Bevel(Control* parent, const Design& d, Shape shape, bool lowered, Layer layer)
    : Control(parent, d), shape_(shape), lowered_(lowered) {
    if (layer == Layer::OverSiblings) {
        CreateWindowed(OwnWindowClass(), 0, 0, false);
        SetBounds(left_, top_, width_, height_);
    }
}

void Bevel::SetBounds(int left, int top, int width, int height) {
    Control::SetBounds(left, top, width, height);
    ApplyShape();
}

void Bevel::DpiChanged() {
    Control::DpiChanged();
    ApplyShape();
}

void Bevel::ApplyShape() {
    if (!hwnd_) return;
    // Only the one-pixel edge belongs to the window, so what it frames shows through.
    const int width = DeviceWidth(), height = DeviceHeight();
    platform::Gdi<HRGN> ring(CreateRectRgn(0, 0, width, height));
    platform::Gdi<HRGN> inside(CreateRectRgn(1, 1, std::max(1, width - 1), std::max(1, height - 1)));
    CombineRgn(ring.get(), ring.get(), inside.get(), RGN_DIFF);
    if (SetWindowRgn(hwnd_, ring.get(), TRUE)) ring.Detach();  // the window owns the region from here on
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT Bevel::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        Draw(dc, RECT{0, 0, DeviceWidth(), DeviceHeight()});
        EndPaint(hwnd_, &ps);
        return 0;
    }
    }
    return Control::WndProc(msg, wp, lp);
}

void Bevel::Paint(HDC dc) { Draw(dc, DeviceBounds()); }

void Bevel::Draw(HDC dc, RECT r) {
    UINT edge = lowered_ ? EDGE_SUNKEN : EDGE_RAISED;
    switch (shape_) {
    case Shape::Box: DrawEdge(dc, &r, lowered_ ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT); break;
    case Shape::Frame: DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT); break;
    case Shape::TopLine: DrawEdge(dc, &r, edge, BF_TOP); break;
    case Shape::LeftLine: DrawEdge(dc, &r, edge, BF_LEFT); break;
    }
}

// ---- Buttons ----

Button::Button(Control* parent, const Design& d) : Control(parent, d) {
    showHint_ = true;
    CreateWindowed("BUTTON", BS_PUSHBUTTON, 0, true);
}

void Button::Command(WORD code) {
    if (code == BN_CLICKED) Click();
}

FlatButton::FlatButton(Control* parent, const Design& d, const char* iconResource)
    : Control(parent, d), iconResource_(iconResource) {
    showHint_ = true;
    LoadSmallIcon();
    CreateWindowed(OwnWindowClass(), 0, 0, false);
}

// The small icon at the size the DPI asks for, so that it is drawn from the icon's own image
// of that size where it has one.
void FlatButton::LoadSmallIcon() {
    if (!iconResource_) return;
    const int size = Scaled(16);
    icon_.Reset(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), iconResource_, IMAGE_ICON, size, size, 0)));
}

void FlatButton::DpiChanged() {
    LoadSmallIcon();
    Control::DpiChanged();
}

LRESULT FlatButton::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        const int w = DeviceWidth(), h = DeviceHeight();
        RECT r{0, 0, w, h};
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        if (pressed_) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
        if (icon_) {
            int shift = pressed_ ? Scaled(1) : 0, size = Scaled(16);
            DrawIconEx(dc, (w - size) / 2 + shift, (h - size) / 2 + shift, icon_.get(), size, size, 0, nullptr,
                       DI_NORMAL);
        } else {  // three lines, a menu's sign
            const int cx = w / 2, cy = h / 2;
            for (int i = 0; i < 3; i++) {
                RECT line{cx - Scaled(6), cy + Scaled(-5 + 4 * i), cx + Scaled(6), cy + Scaled(-3 + 4 * i)};
                FillRect(dc, &line, GetSysColorBrush(enabled_ ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
            }
        }
        EndPaint(hwnd_, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        pressed_ = true;
        SetCapture(hwnd_);
        Invalidate();
        return 0;
    case WM_LBUTTONUP: {
        bool was = pressed_;
        pressed_ = false;
        ReleaseCapture();
        Invalidate();
        POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        if (was && pt.x >= 0 && pt.y >= 0 && pt.x < DeviceWidth() && pt.y < DeviceHeight()) Click();
        return 0;
    }
    }
    return Control::WndProc(msg, wp, lp);
}

CheckBox::CheckBox(Control* parent, const Design& d) : Control(parent, d) {
    CreateWindowed("BUTTON", BS_AUTOCHECKBOX, 0, true);
}

bool CheckBox::Checked() const { return SendMessageA(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void CheckBox::SetChecked(bool on) { SendMessageA(hwnd_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }

void CheckBox::Command(WORD code) {
    if (code == BN_CLICKED) Click();
}

// ---- Edit ----

namespace {
std::string WindowText(HWND h) {
    if (!h) return {};
    int n = GetWindowTextLengthA(h);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    n = GetWindowTextA(h, s.data(), n + 1);
    s.resize(static_cast<size_t>(std::max(n, 0)));
    return s;
}
}  // namespace

Edit::Edit(Control* parent, const Design& d, bool readOnly) : Control(parent, d), readOnly_(readOnly) {
    CreateWindowed("EDIT", ES_AUTOHSCROLL | (readOnly ? ES_READONLY : 0), WS_EX_CLIENTEDGE, true);
}

std::string Edit::Text() const { return WindowText(hwnd_); }

void Edit::SetText(const std::string& text) {
    caption_ = text;
    FitFontTo(text);
    SetWindowTextA(hwnd_, text.c_str());
}

void Edit::Command(WORD code) {
    if (code == EN_CHANGE && OnChange) OnChange(this);
}

// ---- ComboBox ----

namespace {
constexpr char kComboOwnerProp[] = "QuenbyComboOwner";
}

ComboBox::ComboBox(Control* parent, const Design& d) : Control(parent, d) {
    extraHeight_ = 200;  // the drop-down list
    CreateWindowed("COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL, 0, true);
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (GetComboBoxInfo(hwnd_, &info)) edit_ = info.hwndItem;
    if (edit_) {
        SetPropA(edit_, kComboOwnerProp, this);
        editProc_ =
            reinterpret_cast<WNDPROC>(SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
    }
    SetWindowTextA(hwnd_, caption_.c_str());
}

// The edit inside the box: its context menu is the box's.
LRESULT CALLBACK ComboBox::EditProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto* box = static_cast<ComboBox*>(GetPropA(h, kComboOwnerProp));
    if (!box) return DefWindowProcW(h, msg, wp, lp);
    WNDPROC old = box->editProc_;
    if (msg == WM_CONTEXTMENU && box->Popup && box->hwnd_) return Dispatch(box, box->hwnd_, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        RemovePropA(h, kComboOwnerProp);
        SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        box->edit_ = nullptr;
    }
    return CallWindowProcW(old, h, msg, wp, lp);
}

LRESULT ComboBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) { return Control::WndProc(msg, wp, lp); }

std::string ComboBox::Text() const { return WindowText(hwnd_); }

void ComboBox::SetText(const std::string& text) {
    caption_ = text;
    FitFontTo(text);
    SetWindowTextA(hwnd_, text.c_str());
}

int ComboCount(HWND combo) { return static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0)); }

// Read as UTF-16 and narrowed here: Wine's ANSI CB_GETLBTEXT faults on a long item (a
// 2047-character keyword from the settings file) in a UTF-8 process.
std::string ComboItem(HWND combo, int i) {
    LRESULT n = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    if (n == CB_ERR) return {};
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    n = SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.data()));
    s.resize(n == CB_ERR ? 0 : static_cast<size_t>(n));
    return platform::Narrow(s);
}

int ComboBox::Count() const { return ComboCount(hwnd_); }

std::string ComboBox::Item(int i) const { return ComboItem(hwnd_, i); }

std::vector<std::string> ComboBox::Items() const {
    std::vector<std::string> out;
    for (int i = 0, n = Count(); i < n; i++) out.push_back(Item(i));
    return out;
}

void ComboBox::AddItem(const std::string& s) {
    FitFontTo(s);
    SendMessageA(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
}

void ComboBox::InsertItem(int i, const std::string& s) {
    FitFontTo(s);
    SendMessageA(hwnd_, CB_INSERTSTRING, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.c_str()));
}

void ComboBox::DeleteItem(int i) { SendMessageA(hwnd_, CB_DELETESTRING, static_cast<WPARAM>(i), 0); }

void ComboBox::Clear() {
    SendMessageA(hwnd_, CB_RESETCONTENT, 0, 0);
    SetWindowTextA(hwnd_, "");
}

int ComboBox::ItemIndex() const { return static_cast<int>(SendMessageA(hwnd_, CB_GETCURSEL, 0, 0)); }

void ComboBox::SetItemIndex(int i) { SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(i), 0); }

void ComboBox::Command(WORD code) {
    if ((code == CBN_EDITCHANGE || code == CBN_SELCHANGE) && OnChange) OnChange(this);
}

// ---- ListBox ----

ListBox::ListBox(Control* parent, const Design& d) : Control(parent, d) {
    CreateWindowed("LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, WS_EX_CLIENTEDGE, true);
}

int ListBox::Count() const { return static_cast<int>(SendMessageA(hwnd_, LB_GETCOUNT, 0, 0)); }

std::string ListBox::Item(int i) const {
    LRESULT n = SendMessageA(hwnd_, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    if (n == LB_ERR) return {};
    std::string s(static_cast<size_t>(n) + 1, '\0');
    n = SendMessageA(hwnd_, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.data()));
    s.resize(n == LB_ERR ? 0 : static_cast<size_t>(n));
    return s;
}

void ListBox::Add(const std::string& s) {
    FitFontTo(s);
    SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
}
void ListBox::Clear() { SendMessageA(hwnd_, LB_RESETCONTENT, 0, 0); }
int ListBox::ItemIndex() const { return static_cast<int>(SendMessageA(hwnd_, LB_GETCURSEL, 0, 0)); }
void ListBox::SetItemIndex(int i) { SendMessageA(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(i), 0); }
int ListBox::TopIndex() const { return static_cast<int>(SendMessageA(hwnd_, LB_GETTOPINDEX, 0, 0)); }

int ListBox::FindExact(const std::string& s) const {
    LRESULT r = SendMessageA(hwnd_, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(s.c_str()));
    return r == LB_ERR ? -1 : static_cast<int>(r);
}

int ListBox::ItemAtPos(POINT pt) const {
    LRESULT r = SendMessageA(hwnd_, LB_ITEMFROMPOINT, 0, MAKELPARAM(Scaled(pt.x), Scaled(pt.y)));
    if (HIWORD(r) != 0) return -1;
    int i = LOWORD(r);
    return i < Count() ? i : -1;
}

void ListBox::Command(WORD code) {
    if (code == LBN_SELCHANGE && OnClick) OnClick(this);
    if (code == LBN_DBLCLK && OnDblClick) OnDblClick(this);
}

// ---- Panel ----

Panel::Panel(Control* parent, const Design& d) : Control(parent, d) {
    CreateWindowed(OwnWindowClass(), WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, false);
}

void Panel::SetBounds(int left, int top, int width, int height) {
    Control::SetBounds(left, top, width, height);
    Realign();
}

// ---- ScrollBox ----

ScrollBox::ScrollBox(Control* parent, const Design& d) : Control(parent, d) {
    CreateWindowed(OwnWindowClass(), WS_CLIPCHILDREN | WS_VSCROLL, WS_EX_CONTROLPARENT, false);
    UpdateRange();
}

int ScrollBox::VertMax() const { return std::max(0, range_ - ClientHeight()); }

bool ScrollBox::WantsChildWindow(const Control& child) const {
    return child.Top() < ClientHeight() && child.Top() + child.Height() > 0;
}

void ScrollBox::SetBounds(int left, int top, int width, int height) {
    Control::SetBounds(left, top, width, height);
    UpdateRange();
}

void ScrollBox::ChildMoved() {
    if (!moving_ && !held_) UpdateRange();
}

void ScrollBox::UpdateRange() {
    int range = 0;
    for (Control* c : children_)
        if (c->Visible()) range = std::max(range, c->Top() + c->Height() + pos_);
    int page = ClientHeight();
    if (range == range_ && page == page_) return;  // the scroll bar redraws itself at once: only when needed
    range_ = range;
    page_ = page;
    if (!hwnd_) return;
    // The bar counts device pixels; the content is laid out in designed units.
    RECT client;
    GetClientRect(hwnd_, &client);
    SCROLLINFO si{
        sizeof(si), SIF_RANGE | SIF_PAGE, 0, std::max(0, Scaled(range_) - 1), static_cast<UINT>(client.bottom), 0, 0};
    SetScrollInfo(hwnd_, SB_VERT, &si, FALSE);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);  // drawn with the next paint
    if (pos_ > VertMax()) SetVertPosition(VertMax());
}

void ScrollBox::SetVertPosition(int pos) {
    pos = std::clamp(pos, 0, VertMax());
    int delta = pos_ - pos;
    if (delta == 0) return;
    pos_ = pos;
    moving_ = true;
    for (Control* c : children_) c->top_ += delta;
    PlaceChildren(false);
    if (hwnd_) {
        SCROLLINFO si{sizeof(si), SIF_POS, 0, 0, 0, Scaled(pos_), 0};
        SetScrollInfo(hwnd_, SB_VERT, &si, FALSE);
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    moving_ = false;
}

// Moving a window costs far more than a number, so only the windows that come into view or
// leave it move; the others stay parked out of view until they are needed (all: every one
// whose window is not where its control says).
void ScrollBox::PlaceChildren(bool all) {
    if (!hwnd_) return;
    int view = ClientHeight();
    auto inView = [view](int top, int height) { return top < view && top + height > 0; };
    HDWP dwp = BeginDeferWindowPos(8);
    for (Control* c : children_) {
        if (!c->hwnd_ && c->windowed_ && inView(c->top_, c->height_)) {
            c->EnsureWindow();  // made where it belongs
            continue;
        }
        if (!c->hwnd_ || c->winTop_ == c->top_) continue;
        if (!all && !inView(c->top_, c->height_) && !inView(c->winTop_, c->height_)) continue;
        // Edges are scaled one by one: at some DPIs the window's height depends on where it is.
        RECT r = c->DeviceRect(c->left_, c->top_, c->width_, c->height_);
        if (dwp)
            dwp = DeferWindowPos(dwp, c->hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        c->winTop_ = c->top_;
    }
    if (dwp) EndDeferWindowPos(dwp);
}

LRESULT ScrollBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_VSCROLL: {
        int page = ClientHeight();
        switch (LOWORD(wp)) {
        case SB_LINEUP: SetVertPosition(pos_ - kLine); break;
        case SB_LINEDOWN: SetVertPosition(pos_ + kLine); break;
        case SB_PAGEUP: SetVertPosition(pos_ - page); break;
        case SB_PAGEDOWN: SetVertPosition(pos_ + page); break;
        case SB_TOP: SetVertPosition(0); break;
        case SB_BOTTOM: SetVertPosition(VertMax()); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            SCROLLINFO si{sizeof(si), SIF_TRACKPOS, 0, 0, 0, 0, 0};
            GetScrollInfo(hwnd_, SB_VERT, &si);
            SetVertPosition(Unscaled(si.nTrackPos));
            break;
        }
        }
        return 0;
    }
    case WM_SIZE:
        Control::WndProc(msg, wp, lp);
        PlaceChildren(true);
        UpdateRange();
        return 0;
    }
    return Control::WndProc(msg, wp, lp);
}

void ScrollBox::DpiChanged() {
    moving_ = true;  // the children are placed again below, all at once
    Control::DpiChanged();
    moving_ = false;
    range_ = -1;  // the bar's device range changes with the DPI even where the content does not
    UpdateRange();
    PlaceChildren(true);
}

// ---- Image ----

Image::Image(Control* parent, const Design& d) : Control(parent, d), picture_(std::make_unique<Picture>()) {
    windowed_ = true;
    WindowIfWanted();
}

void Image::WindowIfWanted() {
    if (!hwnd_ && (!parent_ || parent_->WantsChildWindow(*this))) EnsureWindow();
}

void Image::EnsureWindow() {
    if (hwnd_) return;
    CreateWindowed(OwnWindowClass(), 0, 0, false);
    // Below its siblings, so a frame drawn over the pictures stays in sight.
    if (hwnd_) SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Image::SetBounds(int left, int top, int width, int height) {
    Control::SetBounds(left, top, width, height);
    WindowIfWanted();
}

void Image::SetPicture(std::unique_ptr<Picture> p) {
    picture_ = p ? std::move(p) : std::make_unique<Picture>();
    Invalidate();
}

LRESULT Image::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        RECT all{0, 0, DeviceWidth(), DeviceHeight()};
        FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
        int w = picture_->Width(), h = picture_->Height();
        if (w > 0 && h > 0) {
            // Centred in designed units, as the selection frame around it is, then scaled for
            // the screen edge by edge in the parent's space, so the two stay in step.
            int x = (width_ - w) / 2, y = (height_ - h) / 2;
            RECT r = DeviceRect(left_ + x, top_ + y, w, h);
            OffsetRect(&r, -Scaled(left_), -Scaled(top_));
            picture_->Draw(dc, r);
        }
        EndPaint(hwnd_, &ps);
        return 0;
    }
    }
    return Control::WndProc(msg, wp, lp);
}

}  // namespace forms
