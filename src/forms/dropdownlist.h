#pragma once
// A drop-down list that offers only its items (nothing can be typed), each drawn by us as
// its plain text in rows of a fixed height.
#include <string>

#include "forms/control.h"

namespace forms {

class DropDownList : public Control {
public:
    DropDownList(Control* parent, const Design& d, int itemHeight);  // designed units
    void DpiChanged() override;
    // The selected item's text, or "" when nothing is selected.
    std::string Text() const override;
    int Count() const;
    std::string Item(int i) const;
    void AddItem(const std::string& s);
    void DeleteItem(int i);
    void Clear();
    int ItemIndex() const;
    void SetItemIndex(int i);  // -1 or an index outside the list selects nothing

protected:
    bool Notification(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;  // draws an item

private:
    void ApplyItemHeight();
    int itemHeight_;
};

}  // namespace forms
