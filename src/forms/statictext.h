#pragma once
// A line of text in a window of its own (a standard static control), for a text that changes
// while the program runs and that other programs (screen readers, test probes) can read; a
// text too long for its width ends in "...".
#include <string>

#include "forms/control.h"

namespace forms {

class StaticText : public Control {
public:
    StaticText(Control* parent, const Design& d);

protected:
    void Command(WORD code) override;  // a click runs OnClick
};

}  // namespace forms
