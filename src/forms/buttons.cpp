#include "forms/buttons.h"

namespace forms {

Button::Button(Control* parent, const Design& d) : Control(parent, d) {
    SetShowHint(true);
    CreateWindowed("BUTTON", BS_PUSHBUTTON, 0, true);
}

void Button::Command(WORD code) {
    if (code == BN_CLICKED) Click();
}

FlatButton::FlatButton(Control* parent, const Design& d, const char* iconResource)
    : Control(parent, d), iconResource_(iconResource) {
    SetShowHint(true);
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
        HDC dc = BeginPaint(Handle(), &ps);
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
                FillRect(dc, &line, GetSysColorBrush(Enabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
            }
        }
        EndPaint(Handle(), &ps);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        pressed_ = true;
        SetCapture(Handle());
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

bool CheckBox::Checked() const { return SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }
void CheckBox::SetChecked(bool on) { SendMessageA(Handle(), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }

void CheckBox::Command(WORD code) {
    if (code == BN_CLICKED) Click();
}

}  // namespace forms
