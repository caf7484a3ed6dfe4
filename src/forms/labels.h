#pragma once
// What is painted on a parent rather than shown in a window of its own: texts and frames.
#include <string>

#include "forms/control.h"

namespace forms {

// A text painted on its parent; sized to its text on one line.
class Label : public Control {
public:
    Label(Control* parent, const Design& d) : Label(parent, d, false) {}
    void SetText(const std::string& text) override;
    void DpiChanged() override;

protected:
    // A wrapped text keeps its width and takes the height its lines need.
    Label(Control* parent, const Design& d, bool wrap);
    void Paint(HDC dc) override;

private:
    void AutoSize();
    const bool wrap_;
};

// A frame: a box, or a band of a panel when aligned. A frame that must show over windowed
// siblings (the selection frame over the thumbnails) gets a window of its own, shaped to its
// edge and kept above them; clicks pass through it.
class Bevel : public Control {
public:
    enum class Shape { Box, Frame, TopLine, LeftLine };
    enum class Layer { Painted, OverSiblings };
    Bevel(Control* parent, const Design& d, Shape shape = Shape::Box, bool lowered = true,
          Layer layer = Layer::Painted);
    void SetBounds(int left, int top, int width, int height) override;
    void DpiChanged() override;

protected:
    void Paint(HDC dc) override;
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void ApplyShape();
    void Draw(HDC dc, RECT r);
    Shape shape_;
    bool lowered_;
};

}  // namespace forms
