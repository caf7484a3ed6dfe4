#pragma once
// The About box's own controls: a word-wrapped text, a link, and a picture that shows a
// bitmap stretched or an icon. Texts and pictures are painted by the form, so a click on them
// is a click on the form; a link is a window of its own and takes its clicks.
#include <windows.h>

#include <string>

#include "forms/control.h"
#include "platform/owned.h"

namespace info {

// Keeps its width and takes the height its wrapped text needs, as an auto-sized label does.
class WrapLabel : public forms::Control {
public:
    WrapLabel(forms::Control* parent, const forms::Design& d);
    void SetText(const std::string& text) override;
    void DpiChanged() override;

protected:
    void Paint(HDC dc) override;

private:
    void AutoSize();
};

// Blue, underlined, hand cursor; as wide as designed, or as its text when no width is given;
// paints its background, so it may lie over another text. (Wine draws some texts a little
// wider than it measures them: a link with room beside it gets a designed width.)
class LinkLabel : public forms::Control {
public:
    LinkLabel(forms::Control* parent, const forms::Design& d);

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
};

class PictureView : public forms::Control {
public:
    PictureView(forms::Control* parent, const forms::Design& d) : Control(parent, d) {}
    void SetIcon(HICON icon);                       // drawn at its own size at the top left; not owned
    void SetBitmap(platform::Gdi<HBITMAP> bitmap);  // stretched over the whole control
    HICON Icon() const { return icon_; }

protected:
    void Paint(HDC dc) override;

private:
    HICON icon_ = nullptr;
    platform::Gdi<HBITMAP> bitmap_;
};

// The width of a text in the design font, in designed units.
int TextWidth(const std::string& text, bool bold = false, int dpi = forms::kDesignDpi);

// The maker's logo: a small picture drawn here, 48 by 48 pixels.
platform::Gdi<HBITMAP> MakeLogo();

}  // namespace info
