#pragma once
// Push buttons, flat picture buttons and check boxes: each turns a click into OnClick.
#include "forms/control.h"
#include "platform/owned.h"

namespace forms {

class Button : public Control {
public:
    Button(Control* parent, const Design& d);

protected:
    void Command(WORD code) override;
};

// A flat button with a small picture (an icon resource) instead of a caption.
class FlatButton : public Control {
public:
    FlatButton(Control* parent, const Design& d, const char* iconResource = nullptr);
    void DpiChanged() override;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void LoadSmallIcon();
    const char* iconResource_;
    platform::Icon icon_;
    bool pressed_ = false;
};

class CheckBox : public Control {
public:
    CheckBox(Control* parent, const Design& d);
    bool Checked() const;
    void SetChecked(bool on);

protected:
    void Command(WORD code) override;
};

}  // namespace forms
