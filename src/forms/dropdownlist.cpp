#include "forms/dropdownlist.h"

#include "forms/lists.h"

namespace forms {

DropDownList::DropDownList(Control* parent, const Design& d, int itemHeight)
    : Control(parent, d), itemHeight_(itemHeight) {
    // Room below for the list when it drops down.
    CreateWindowed("COMBOBOX", CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL, 0, true, 200);
    ApplyItemHeight();
}

void DropDownList::ApplyItemHeight() {
    SendMessageA(Handle(), CB_SETITEMHEIGHT, 0, Scaled(itemHeight_));
    SendMessageA(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), Scaled(itemHeight_));
}

void DropDownList::DpiChanged() {
    Control::DpiChanged();
    ApplyItemHeight();
}

std::string DropDownList::Text() const {
    int i = ItemIndex();
    return i < 0 ? std::string() : Item(i);
}

int DropDownList::Count() const { return ComboCount(Handle()); }

std::string DropDownList::Item(int i) const { return ComboItem(Handle(), i); }

void DropDownList::AddItem(const std::string& s) {
    SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
}

void DropDownList::DeleteItem(int i) { SendMessageA(Handle(), CB_DELETESTRING, static_cast<WPARAM>(i), 0); }

void DropDownList::Clear() { SendMessageA(Handle(), CB_RESETCONTENT, 0, 0); }

int DropDownList::ItemIndex() const { return static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0)); }

void DropDownList::SetItemIndex(int i) {
    if (i >= Count()) i = -1;
    SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(i), 0);
}

bool DropDownList::Notification(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg != WM_DRAWITEM) return false;
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
    bool selected = dis->itemState & ODS_SELECTED;
    FillRect(dis->hDC, &dis->rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (dis->itemID != static_cast<UINT>(-1)) {
        std::string text = Item(static_cast<int>(dis->itemID));
        SetBkMode(dis->hDC, TRANSPARENT);
        SetTextColor(dis->hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        HGDIOBJ old = SelectObject(dis->hDC, DesignFont(Bold(), Dpi()));
        RECT r = dis->rcItem;
        r.left += Scaled(2);
        DrawTextA(dis->hDC, text.c_str(), static_cast<int>(text.size()), &r,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dis->hDC, old);
    }
    if (dis->itemState & ODS_FOCUS) DrawFocusRect(dis->hDC, &dis->rcItem);
    result = TRUE;
    return true;
}

}  // namespace forms
