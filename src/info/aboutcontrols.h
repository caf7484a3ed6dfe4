#pragma once
// The About box's own picture: a bitmap stretched or an icon, painted by the form (a click on
// it is a click on the form); and the maker's logo it shows.
#include <windows.h>

#include "forms/control.h"
#include "platform/owned.h"

namespace info {

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

// The maker's logo: a small picture drawn here, 48 by 48 pixels.
platform::Gdi<HBITMAP> MakeLogo();

}  // namespace info
