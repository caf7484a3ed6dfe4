#pragma once
// Controls that hold a text the user types: a one-line edit, and one with a drop-down list.
#include <string>
#include <vector>

#include "forms/control.h"

namespace forms {

class Edit : public Control {
public:
    Edit(Control* parent, const Design& d, bool readOnly = false);
    std::string Text() const override;
    bool ReadOnly() const { return readOnly_; }

protected:
    void Command(WORD code) override;

private:
    bool readOnly_;
};

// An editable text with a drop-down list (CBS_DROPDOWN).
class ComboBox : public Control {
public:
    ComboBox(Control* parent, const Design& d);
    std::string Text() const override;
    HWND EditHandle() const { return edit_; }

    int Count() const;
    std::string Item(int i) const;
    std::vector<std::string> Items() const;
    void AddItem(const std::string& s);
    void InsertItem(int i, const std::string& s);
    void DeleteItem(int i);
    void Clear();  // every item and the text
    int ItemIndex() const;
    void SetItemIndex(int i);  // -1: none; otherwise the box shows that item's text

protected:
    void Command(WORD code) override;

private:
    HWND edit_ = nullptr;
    WNDPROC editProc_ = nullptr;
    static LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM);
};

}  // namespace forms
