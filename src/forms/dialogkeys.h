#pragma once
// Dialogs without a default button: Enter presses only the push button that has the focus.
#include "forms/controls.h"
#include "forms/form.h"

namespace forms {

inline void EnterPressesFocusedButton(Form& form) {
    form.OnKeyDown = [&form](Component*, WORD& key, unsigned) {
        if (key != VK_RETURN) return;
        if (auto* b = dynamic_cast<Button*>(form.ActiveControl())) {
            key = 0;
            b->Click();
        }
    };
}

}  // namespace forms
