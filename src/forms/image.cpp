#include "forms/image.h"

namespace forms {

Image::Image(Control* parent, const Design& d) : Control(parent, d), picture_(std::make_unique<Picture>()) {
    WindowLater();
    WindowIfWanted();
}

void Image::WindowIfWanted() {
    if (!Handle() && (!Parent() || Parent()->WantsChildWindow(*this))) EnsureWindow();
}

void Image::EnsureWindow() {
    if (Handle()) return;
    CreateWindowed(OwnWindowClass(), 0, 0, false);
    // Below its siblings, so a frame drawn over the pictures stays in sight.
    if (Handle()) SetWindowPos(Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
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
        HDC dc = BeginPaint(Handle(), &ps);
        RECT all{0, 0, DeviceWidth(), DeviceHeight()};
        FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
        int w = picture_->Width(), h = picture_->Height();
        if (w > 0 && h > 0) {
            // Centred in designed units, as the selection frame around it is, then scaled for
            // the screen edge by edge in the parent's space, so the two stay in step.
            int x = (Width() - w) / 2, y = (Height() - h) / 2;
            RECT r = DeviceRect(Left() + x, Top() + y, w, h);
            OffsetRect(&r, -Scaled(Left()), -Scaled(Top()));
            picture_->Draw(dc, r);
        }
        EndPaint(Handle(), &ps);
        return 0;
    }
    }
    return Control::WndProc(msg, wp, lp);
}

}  // namespace forms
