#include "info/aboutcontrols.h"

namespace info {

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
