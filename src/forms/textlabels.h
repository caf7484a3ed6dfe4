#pragma once
// Labels beyond the plain one: a word-wrapped text and a link. A text is painted by its form,
// so a click on it is a click on the form; a link is a window of its own and takes its clicks.
#include <windows.h>

#include <string>

#include "forms/control.h"
#include "forms/labels.h"

namespace forms {

// Keeps its width and takes the height its wrapped text needs, as an auto-sized label does.
class WrapLabel : public Label {
public:
    WrapLabel(Control* parent, const Design& d) : Label(parent, d, true) {}
};

// Blue, underlined, hand cursor; as wide as designed, or as its text when no width is given;
// paints its background, so it may lie over another text. (Wine draws some texts a little
// wider than it measures them: a link with room beside it gets a designed width.)
class LinkLabel : public Control {
public:
    LinkLabel(Control* parent, const Design& d);

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
};

// The width of a text in the design font, in designed units.
int TextWidth(const std::string& text, bool bold = false, int dpi = kDesignDpi);

}  // namespace forms
