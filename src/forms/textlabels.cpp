#include "forms/textlabels.h"

#include <map>

namespace forms {

namespace {

HFONT LinkFont(int dpi) {
    static std::map<int, HFONT> fonts;
    HFONT& font = fonts[dpi];
    if (!font)
        font = CreateFontA(-Scale(11, dpi), 0, 0, 0, FW_NORMAL, FALSE, TRUE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");
    return font;
}

int MeasuredWidth(const std::string& text, HFONT font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE sz{0, 0};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &sz);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return sz.cx;
}

}  // namespace

int TextWidth(const std::string& text, bool bold, int dpi) {
    return Cover(MeasuredWidth(text, DesignFont(bold, dpi)), dpi);
}

WrapLabel::WrapLabel(Control* parent, const Design& d) : Control(parent, d) { AutoSize(); }

void WrapLabel::SetText(const std::string& text) {
    Invalidate();
    caption_ = text;
    AutoSize();
    Invalidate();
}

void WrapLabel::AutoSize() {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, DesignFont(bold_, Dpi()));
    RECT r{0, 0, DeviceWidth(), 0};
    DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    height_ = Cover(r.bottom, Dpi());
}

void WrapLabel::DpiChanged() {
    AutoSize();
    Control::DpiChanged();
}

void WrapLabel::Paint(HDC dc) {
    RECT r = DeviceBounds();
    HGDIOBJ old = SelectObject(dc, DesignFont(bold_, Dpi()));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
}

LinkLabel::LinkLabel(Control* parent, const Design& d) : Control(parent, d) {
    if (width_ == 0) width_ = Cover(MeasuredWidth(caption_, LinkFont(Dpi())), Dpi());
    if (height_ == 0) height_ = 13;
    CreateWindowed(OwnWindowClass(), 0, 0, false);
    // Above the text it lies over, for painting and for clicks.
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT LinkLabel::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        RECT r{0, 0, DeviceWidth(), DeviceHeight()};
        HGDIOBJ old = SelectObject(dc, LinkFont(Dpi()));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 255));
        DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
        EndPaint(hwnd_, &ps);
        return 0;
    }
    case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT) {
            ::SetCursor(LoadCursorA(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    }
    return Control::WndProc(msg, wp, lp);
}

}  // namespace forms
