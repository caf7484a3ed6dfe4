#include "info/aboutcontrols.h"

#include <map>

namespace info {

namespace {

HFONT LinkFont(int dpi) {
    static std::map<int, HFONT> fonts;
    HFONT& font = fonts[dpi];
    if (!font)
        font = CreateFontA(-forms::Scale(11, dpi), 0, 0, 0, FW_NORMAL, FALSE, TRUE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                           "MS Sans Serif");
    return font;
}

}  // namespace

int TextWidth(const std::string& text, bool bold, int dpi) {
    return forms::Cover(forms::MeasureText(forms::DesignFont(bold, dpi), text).cx, dpi);
}

WrapLabel::WrapLabel(forms::Control* parent, const forms::Design& d) : Control(parent, d) { AutoSize(); }

void WrapLabel::SetText(const std::string& text) {
    Invalidate();
    Control::SetText(text);
    AutoSize();
    Invalidate();
}

void WrapLabel::AutoSize() {
    SIZE size = forms::MeasureText(forms::DesignFont(Bold(), Dpi()), Text(), DeviceWidth());
    KeepBounds(Left(), Top(), Width(), forms::Cover(size.cy, Dpi()));
}

void WrapLabel::DpiChanged() {
    AutoSize();
    Control::DpiChanged();
}

void WrapLabel::Paint(HDC dc) {
    RECT r = DeviceBounds();
    HGDIOBJ old = SelectObject(dc, forms::DesignFont(Bold(), Dpi()));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    const std::string text = Text();
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
}

LinkLabel::LinkLabel(forms::Control* parent, const forms::Design& d) : Control(parent, d) {
    KeepBounds(Left(), Top(), Width() ? Width() : forms::Cover(forms::MeasureText(LinkFont(Dpi()), Text()).cx, Dpi()),
               Height() ? Height() : 13);
    CreateWindowed(forms::OwnWindowClass(), 0, 0, false);
    // Above the text it lies over, for painting and for clicks.
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT LinkLabel::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        RECT r{0, 0, DeviceWidth(), DeviceHeight()};
        HGDIOBJ old = SelectObject(dc, LinkFont(Dpi()));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 255));
        const std::string text = Text();
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
        EndPaint(Handle(), &ps);
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

void PictureView::SetIcon(HICON icon) {
    icon_ = icon;
    Invalidate();
}

void PictureView::SetBitmap(platform::Gdi<HBITMAP> bitmap) {
    bitmap_ = std::move(bitmap);
    Invalidate();
}

void PictureView::Paint(HDC dc) {
    if (bitmap_) {
        BITMAP bm{};
        GetObjectA(bitmap_.get(), sizeof bm, &bm);
        platform::MemoryDc mem(CreateCompatibleDC(dc));
        platform::Selection selected(mem.get(), bitmap_.get());
        RECT r = DeviceBounds();
        SetStretchBltMode(dc, HALFTONE);
        StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, mem.get(), 0, 0, bm.bmWidth, bm.bmHeight,
                   SRCCOPY);
    }
    // The icon's designed size is the system's at 96 DPI (32 pixels), scaled as the rest.
    if (icon_) DrawIconEx(dc, Scaled(Left()), Scaled(Top()), icon_, Scaled(32), Scaled(32), 0, nullptr, DI_NORMAL);
}

platform::Gdi<HBITMAP> MakeLogo() {
    const int n = 48;
    HDC screen = GetDC(nullptr);
    platform::MemoryDc dc(CreateCompatibleDC(screen));
    platform::Gdi<HBITMAP> bmp(CreateCompatibleBitmap(screen, n, n));
    ReleaseDC(nullptr, screen);
    // The pens and brushes outlive the selections below, which put the DC's own back first.
    platform::Gdi<HBRUSH> tile(CreateSolidBrush(RGB(32, 84, 156))), sky(CreateSolidBrush(RGB(170, 214, 246))),
        hill(CreateSolidBrush(RGB(74, 160, 66)));
    platform::Gdi<HPEN> lens(CreatePen(PS_SOLID, 4, RGB(255, 255, 255))), none(CreatePen(PS_NULL, 0, 0)),
        handle(CreatePen(PS_SOLID, 6, RGB(240, 176, 48)));
    {
        platform::Selection selectedBitmap(dc.get(), bmp.get());
        // A blue tile with a magnifying glass over a small landscape: searching for pictures.
        RECT all{0, 0, n, n};
        FillRect(dc.get(), &all, tile.get());
        platform::Selection brush(dc.get(), sky.get()), pen(dc.get(), lens.get());
        Ellipse(dc.get(), 6, 6, 34, 34);
        SelectObject(dc.get(), hill.get());
        SelectObject(dc.get(), none.get());
        POINT land[] = {{10, 28}, {17, 18}, {22, 24}, {26, 20}, {31, 28}};
        Polygon(dc.get(), land, 5);
        SelectObject(dc.get(), handle.get());
        MoveToEx(dc.get(), 31, 31, nullptr);
        LineTo(dc.get(), 42, 42);
    }
    return bmp;
}

}  // namespace info
