#include "forms/lists.h"

#include "platform/codepage.h"

namespace forms {

int ComboCount(HWND combo) { return static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0)); }

// Read as UTF-16 and narrowed here: Wine's ANSI CB_GETLBTEXT faults on a long item (a
// 2047-character keyword from the settings file) in a UTF-8 process.
std::string ComboItem(HWND combo, int i) {
    LRESULT n = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    if (n == CB_ERR) return {};
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    n = SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.data()));
    s.resize(n == CB_ERR ? 0 : static_cast<size_t>(n));
    return platform::Narrow(s);
}

ListBox::ListBox(Control* parent, const Design& d) : Control(parent, d) {
    CreateWindowed("LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, WS_EX_CLIENTEDGE, true);
}

int ListBox::Count() const { return static_cast<int>(SendMessageA(Handle(), LB_GETCOUNT, 0, 0)); }

std::string ListBox::Item(int i) const {
    LRESULT n = SendMessageA(Handle(), LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    if (n == LB_ERR) return {};
    std::string s(static_cast<size_t>(n) + 1, '\0');
    n = SendMessageA(Handle(), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.data()));
    s.resize(n == LB_ERR ? 0 : static_cast<size_t>(n));
    return s;
}

void ListBox::Add(const std::string& s) {
    FitFontTo(s);
    SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
}
void ListBox::Clear() { SendMessageA(Handle(), LB_RESETCONTENT, 0, 0); }
int ListBox::ItemIndex() const { return static_cast<int>(SendMessageA(Handle(), LB_GETCURSEL, 0, 0)); }
void ListBox::SetItemIndex(int i) { SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(i), 0); }
int ListBox::TopIndex() const { return static_cast<int>(SendMessageA(Handle(), LB_GETTOPINDEX, 0, 0)); }

int ListBox::FindExact(const std::string& s) const {
    LRESULT r =
        SendMessageA(Handle(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(s.c_str()));
    return r == LB_ERR ? -1 : static_cast<int>(r);
}

int ListBox::ItemAtPos(POINT pt) const {
    LRESULT r = SendMessageA(Handle(), LB_ITEMFROMPOINT, 0, MAKELPARAM(Scaled(pt.x), Scaled(pt.y)));
    if (HIWORD(r) != 0) return -1;
    int i = LOWORD(r);
    return i < Count() ? i : -1;
}

void ListBox::Command(WORD code) {
    if (code == LBN_SELCHANGE && OnClick) OnClick(this);
    if (code == LBN_DBLCLK && OnDblClick) OnDblClick(this);
}

}  // namespace forms
