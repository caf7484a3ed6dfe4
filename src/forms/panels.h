#pragma once
// Controls that hold others: a panel that lays out its aligned children, and a box that
// scrolls its content.
#include "forms/control.h"

namespace forms {

// A panel that holds other controls; its aligned children follow its size.
class Panel : public Control {
public:
    Panel(Control* parent, const Design& d);
    void SetBounds(int left, int top, int width, int height) override;
};

// A borderless box whose vertical scroll bar moves its content (children keep their places
// in the scrolled content); the range covers every visible child. One line is 8 pixels.
class ScrollBox : public Control {
public:
    ScrollBox(Control* parent, const Design& d);
    int VertPosition() const { return pos_; }
    void SetVertPosition(int pos);  // clamped to the range
    int VertRange() const { return range_; }
    int VertMax() const;  // the largest position
    void SetBounds(int left, int top, int width, int height) override;
    static constexpr int kLine = 8;
    // The window itself or one inside it (a thumbnail).
    bool Holds(HWND h) const { return h && (h == Handle() || IsChild(Handle(), h)); }
    bool WantsChildWindow(const Control& child) const override;
    void DpiChanged() override;

    // While many children are added, the range is worked out once, when released.
    class RangeHold {
    public:
        explicit RangeHold(ScrollBox& box) : box_(&box) { box.held_ = true; }
        ~RangeHold() { Release(); }
        RangeHold(const RangeHold&) = delete;
        RangeHold& operator=(const RangeHold&) = delete;
        void Release() {
            if (!box_) return;
            box_->held_ = false;
            box_->UpdateRange();
            box_ = nullptr;
        }

    private:
        ScrollBox* box_;
    };

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void ChildMoved() override;

private:
    void UpdateRange();
    void PlaceChildren(bool all);
    bool held_ = false;
    int pos_ = 0;
    int range_ = -1;
    int page_ = -1;
    bool moving_ = false;
};

}  // namespace forms
