#include "forms/statictext.h"

namespace forms {

StaticText::StaticText(Control* parent, const Design& d) : Control(parent, d) {
    CreateWindowed("STATIC", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS | SS_NOTIFY, 0, true);  // notify: hints
}

void StaticText::Command(WORD code) {
    if (code == STN_CLICKED) Click();
}

}  // namespace forms
