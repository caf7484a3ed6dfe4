#include "forms/updown.h"

#include <commctrl.h>

#include <algorithm>

namespace forms {

UpDown::UpDown(Control* parent, const Design& d, int16_t min, int16_t max, int16_t position)
    : Control(parent, d), min_(min), max_(max) {
    CreateWindowed(UPDOWN_CLASSA, UDS_ARROWKEYS, 0, true);
    SendMessageA(Handle(), UDM_SETRANGE, 0, MAKELPARAM(static_cast<WORD>(max), static_cast<WORD>(min)));
    SetPosition(position);
}

int16_t UpDown::Position() const { return static_cast<int16_t>(LOWORD(SendMessageA(Handle(), UDM_GETPOS, 0, 0))); }

void UpDown::SetPosition(int16_t pos) {
    pos = std::clamp(pos, min_, max_);
    SendMessageA(Handle(), UDM_SETPOS, 0, MAKELPARAM(static_cast<WORD>(pos), 0));
}

// The arrows tell the parent twice: before the position moves (UDN_DELTAPOS), then that it
// moved (WM_VSCROLL).
bool UpDown::Notification(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_NOTIFY) {
        auto* nm = reinterpret_cast<NMUPDOWN*>(lp);
        if (nm->hdr.code != UDN_DELTAPOS) return false;
        last_ = nm->iDelta > 0 ? ArrowButton::Up : ArrowButton::Down;
        bool allow = true;
        if (OnChanging) OnChanging(this, allow);
        result = allow ? 0 : 1;
        return true;
    }
    if (msg == WM_VSCROLL) {
        if (LOWORD(wp) == SB_THUMBPOSITION && OnArrowClick) OnArrowClick(this, last_);
        result = 0;
        return true;
    }
    return false;
}

void UpDown::ClickArrow(ArrowButton button) {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    if (allow) {
        int next = Position() + (button == ArrowButton::Up ? 1 : -1);
        SetPosition(static_cast<int16_t>(std::clamp<int>(next, min_, max_)));
    }
    if (OnArrowClick) OnArrowClick(this, button);
}

}  // namespace forms
