#include "forms/labels.h"

#include <algorithm>

#include "platform/codepage.h"
#include "platform/owned.h"

namespace forms {

Label::Label(Control* parent, const Design& d, bool wrap) : Control(parent, d), wrap_(wrap) { AutoSize(); }

void Label::SetText(const std::string& text) {
    Invalidate();  // the old extent
    Control::SetText(text);
    AutoSize();
    Invalidate();
}

void Label::AutoSize() {
    const int dpi = Dpi();
    if (wrap_) {
        KeepBounds(Left(), Top(), Width(), Cover(MeasureText(Font(), Text(), DeviceWidth()).cy, dpi));
        return;
    }
    SIZE size = MeasureText(Font(), Text());
    KeepBounds(Left(), Top(), Cover(size.cx, dpi), std::max<int>(Cover(size.cy, dpi), 13));
}

void Label::DpiChanged() {
    AutoSize();  // text does not scale exactly with its font's size
    Control::DpiChanged();
}

void Label::Paint(HDC dc) {
    RECT r = DeviceBounds();
    HGDIOBJ old = SelectObject(dc, Font());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(Enabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    // Through UTF-16: the text is the process code page's, whatever the system's.
    std::wstring text = platform::Widen(Text());
    const UINT format = wrap_ ? DT_WORDBREAK | DT_NOPREFIX : DT_SINGLELINE | DT_NOCLIP;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | format);
    SelectObject(dc, old);
}

// ---- Bevel ----

Bevel::Bevel(Control* parent, const Design& d, Shape shape, bool lowered, Layer layer)
    : Control(parent, d), shape_(shape), lowered_(lowered) {
    if (layer == Layer::OverSiblings) {
        CreateWindowed(OwnWindowClass(), 0, 0, false);
        SetBounds(Left(), Top(), Width(), Height());
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
    if (!Handle()) return;
    // Only the one-pixel edge belongs to the window, so what it frames shows through.
    const int width = DeviceWidth(), height = DeviceHeight();
    platform::Gdi<HRGN> ring(CreateRectRgn(0, 0, width, height));
    platform::Gdi<HRGN> inside(CreateRectRgn(1, 1, std::max(1, width - 1), std::max(1, height - 1)));
    CombineRgn(ring.get(), ring.get(), inside.get(), RGN_DIFF);
    if (SetWindowRgn(Handle(), ring.get(), TRUE)) ring.Detach();  // the window owns the region from here on
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT Bevel::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        Draw(dc, RECT{0, 0, DeviceWidth(), DeviceHeight()});
        EndPaint(Handle(), &ps);
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

}  // namespace forms
