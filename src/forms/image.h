#pragma once
// A picture in a window of its own, made when it comes into view.
#include <memory>

#include "forms/control.h"
#include "imaging/picture.h"

namespace forms {

using imaging::Picture;

// Shows a picture centred, not stretched, on the parent's colour. Its window is made only
// once the parent wants it (a scroll box: when it comes into view), so a strip of a thousand
// pictures costs a thousand windows only if all of them are looked at.
class Image : public Control {
public:
    Image(Control* parent, const Design& d);
    Picture& GetPicture() { return *picture_; }
    const Picture& GetPicture() const { return *picture_; }
    void SetPicture(std::unique_ptr<Picture> p);
    void SetBounds(int left, int top, int width, int height) override;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void EnsureWindow() override;

private:
    void WindowIfWanted();
    std::unique_ptr<Picture> picture_;
};

}  // namespace forms
