#include "forms/edits.h"

#include <algorithm>

#include "forms/lists.h"

namespace forms {

namespace {

constexpr char kComboOwnerProp[] = "QuenbyComboOwner";

std::string WindowText(HWND h) {
    if (!h) return {};
    int n = GetWindowTextLengthA(h);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    n = GetWindowTextA(h, s.data(), n + 1);
    s.resize(static_cast<size_t>(std::max(n, 0)));
    return s;
}

}  // namespace

Edit::Edit(Control* parent, const Design& d, bool readOnly) : Control(parent, d), readOnly_(readOnly) {
    CreateWindowed("EDIT", ES_AUTOHSCROLL | (readOnly ? ES_READONLY : 0), WS_EX_CLIENTEDGE, true);
}

std::string Edit::Text() const { return WindowText(Handle()); }

void Edit::Command(WORD code) {
    if (code == EN_CHANGE && OnChange) OnChange(this);
}

ComboBox::ComboBox(Control* parent, const Design& d) : Control(parent, d) {
    CreateWindowed("COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL, 0, true, 200);
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (GetComboBoxInfo(Handle(), &info)) edit_ = info.hwndItem;
    if (edit_) {
        SetPropA(edit_, kComboOwnerProp, this);
        editProc_ =
            reinterpret_cast<WNDPROC>(SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
    }
    SetWindowTextA(Handle(), Control::Text().c_str());  // the designed text: a new box shows none
}

// The edit inside the box: its context menu is the box's.
LRESULT CALLBACK ComboBox::EditProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto* box = static_cast<ComboBox*>(GetPropA(h, kComboOwnerProp));
    if (!box) return DefWindowProcW(h, msg, wp, lp);
    WNDPROC old = box->editProc_;
    if (msg == WM_CONTEXTMENU && box->Popup && box->Handle()) return Dispatch(box, box->Handle(), msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        RemovePropA(h, kComboOwnerProp);
        SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        box->edit_ = nullptr;
    }
    return CallWindowProcW(old, h, msg, wp, lp);
}

std::string ComboBox::Text() const { return WindowText(Handle()); }

int ComboBox::Count() const { return ComboCount(Handle()); }

std::string ComboBox::Item(int i) const { return ComboItem(Handle(), i); }

std::vector<std::string> ComboBox::Items() const {
    std::vector<std::string> out;
    for (int i = 0, n = Count(); i < n; i++) out.push_back(Item(i));
    return out;
}

void ComboBox::AddItem(const std::string& s) {
    FitFontTo(s);
    SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
}

void ComboBox::InsertItem(int i, const std::string& s) {
    FitFontTo(s);
    SendMessageA(Handle(), CB_INSERTSTRING, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.c_str()));
}

void ComboBox::DeleteItem(int i) { SendMessageA(Handle(), CB_DELETESTRING, static_cast<WPARAM>(i), 0); }

void ComboBox::Clear() {
    SendMessageA(Handle(), CB_RESETCONTENT, 0, 0);
    SetWindowTextA(Handle(), "");
}

int ComboBox::ItemIndex() const { return static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0)); }

void ComboBox::SetItemIndex(int i) { SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(i), 0); }

void ComboBox::Command(WORD code) {
    if ((code == CBN_EDITCHANGE || code == CBN_SELCHANGE) && OnChange) OnChange(this);
}

}  // namespace forms
