#include "forms/panels.h"

#include <algorithm>

namespace forms {

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
    for (Control* c : Controls())
        if (c->Visible()) range = std::max(range, c->Top() + c->Height() + pos_);
    int page = ClientHeight();
    if (range == range_ && page == page_) return;  // the scroll bar redraws itself at once: only when needed
    range_ = range;
    page_ = page;
    if (!Handle()) return;
    // The bar counts device pixels; the content is laid out in designed units.
    RECT client;
    GetClientRect(Handle(), &client);
    SCROLLINFO si{
        sizeof(si), SIF_RANGE | SIF_PAGE, 0, std::max(0, Scaled(range_) - 1), static_cast<UINT>(client.bottom), 0, 0};
    SetScrollInfo(Handle(), SB_VERT, &si, FALSE);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);  // drawn with the next paint
    if (pos_ > VertMax()) SetVertPosition(VertMax());
}

void ScrollBox::SetVertPosition(int pos) {
    pos = std::clamp(pos, 0, VertMax());
    int delta = pos_ - pos;
    if (delta == 0) return;
    pos_ = pos;
    moving_ = true;
    ShiftChildren(delta);
    PlaceChildren(false);
    if (Handle()) {
        SCROLLINFO si{sizeof(si), SIF_POS, 0, 0, 0, Scaled(pos_), 0};
        SetScrollInfo(Handle(), SB_VERT, &si, FALSE);
        RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    moving_ = false;
}

// Moving a window costs far more than a number, so only the windows that come into view or
// leave it move; the others stay parked out of view until they are needed (all: every one
// whose window is not where its control says).
void ScrollBox::PlaceChildren(bool all) {
    if (!Handle()) return;
    int view = ClientHeight();
    auto inView = [view](int top, int height) { return top < view && top + height > 0; };
    HDWP dwp = BeginDeferWindowPos(8);
    for (Control* c : Controls()) {
        if (!c->Handle() && c->Windowed() && inView(c->Top(), c->Height())) {
            MakeWindow(*c);  // made where it belongs
            continue;
        }
        if (!c->Handle() || WindowTop(*c) == c->Top()) continue;
        if (!all && !inView(c->Top(), c->Height()) && !inView(WindowTop(*c), c->Height())) continue;
        dwp = DeferPlace(*c, dwp);
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
            GetScrollInfo(Handle(), SB_VERT, &si);
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

}  // namespace forms
