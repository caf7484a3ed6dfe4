#include "forms/textlabels.h"

#include <map>

#include "forms/fonts.h"

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

}  // namespace

int TextWidth(const std::string& text, bool bold, int dpi) {
    return Cover(MeasureText(DesignFont(bold, dpi), text).cx, dpi);
}

LinkLabel::LinkLabel(Control* parent, const Design& d) : Control(parent, d) {
    KeepBounds(Left(), Top(), Width() ? Width() : Cover(MeasureText(LinkFont(Dpi()), Text()).cx, Dpi()),
               Height() ? Height() : 13);
    CreateWindowed(OwnWindowClass(), 0, 0, false);
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

}  // namespace forms
