#pragma once
// An arrow pair (up-down control) not bound to any field: its owner keeps field and arrows in
// step. Positions are signed 16-bit, the arrows step by 1 and stop at the ends (no wrap).
#include <cstdint>
#include <functional>

#include "forms/control.h"

namespace forms {

enum class ArrowButton { Up, Down };

class UpDown : public Control {
public:
    UpDown(Control* parent, const Design& d, int16_t min, int16_t max, int16_t position);
    int16_t Min() const { return min_; }
    int16_t Max() const { return max_; }
    int16_t Position() const;
    void SetPosition(int16_t pos);  // the control keeps it within the range

    // Before an arrow moves the position: `allow` false keeps it.
    std::function<void(Component* sender, bool& allow)> OnChanging;
    // After an arrow was clicked (also at an end, where the position stays).
    std::function<void(Component* sender, ArrowButton button)> OnArrowClick;

    // What a click on an arrow does, for tests and the keyboard.
    void ClickArrow(ArrowButton button);

protected:
    bool Notification(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    int16_t min_, max_;
    ArrowButton last_ = ArrowButton::Up;
};

}  // namespace forms
