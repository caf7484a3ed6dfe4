#pragma once
// A list of lines to choose from, and the items of any combo box's list.
#include <windows.h>

#include <string>

#include "forms/control.h"

namespace forms {

// The items of a combo box window, editable or drop-down list alike ("" for no such item).
int ComboCount(HWND combo);
std::string ComboItem(HWND combo, int i);

// A list of lines. OnClick comes when the user changes the selection (mouse or keys).
class ListBox : public Control {
public:
    ListBox(Control* parent, const Design& d);
    int Count() const;
    std::string Item(int i) const;
    void Add(const std::string& s);
    void Clear();
    int ItemIndex() const;
    void SetItemIndex(int i);             // no OnClick; the list scrolls the line into view
    int ItemAtPos(POINT clientPt) const;  // -1 when the point is not over a line
    int TopIndex() const;
    int FindExact(const std::string& s) const;  // whole line, case ignored; -1 if none

protected:
    void Command(WORD code) override;
};

}  // namespace forms
