#include "forms/menu.h"

#include <unordered_map>

#include "forms/environment.h"

namespace forms {

namespace {

std::unordered_map<UINT, MenuItem*>& Registry() {
    static std::unordered_map<UINT, MenuItem*> items;
    return items;
}

UINT NextId() {
    static UINT next = 20000;  // clear of the system menu's numbers
    return next++;
}

MenuItem* FindIn(std::vector<std::unique_ptr<MenuItem>>& items, const std::string& name) {
    for (auto& i : items)
        if (MenuItem* m = i->Find(name)) return m;
    return nullptr;
}

}  // namespace

MenuItem::MenuItem(const ItemDesign& d) : Component(d.name), Caption(d.caption), id_(NextId()) {
    Registry()[id_] = this;
}

MenuItem::~MenuItem() { Registry().erase(id_); }

void MenuItem::Click() {
    if (Enabled && OnClick) OnClick(this);
}

MenuItem* MenuItem::Add(const ItemDesign& d) {
    Items.push_back(std::make_unique<MenuItem>(d));
    return Items.back().get();
}

MenuItem* MenuItem::Find(const std::string& name) { return Name == name ? this : FindIn(Items, name); }

MenuItem* FindMenuItem(UINT id) {
    auto it = Registry().find(id);
    return it == Registry().end() ? nullptr : it->second;
}

void BuildMenu(HMENU menu, const std::vector<std::unique_ptr<MenuItem>>& items) {
    while (GetMenuItemCount(menu) > 0) DeleteMenu(menu, 0, MF_BYPOSITION);
    for (auto& item : items) {
        if (!item->Visible) continue;
        if (item->Separator()) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING | (item->Enabled ? 0 : MF_GRAYED) | (item->Checked ? MF_CHECKED : 0);
        if (!item->Items.empty()) {
            HMENU sub = CreatePopupMenu();
            BuildMenu(sub, item->Items);
            AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), item->Caption.c_str());
        } else {
            AppendMenuA(menu, flags, item->Id(), item->Caption.c_str());
        }
    }
}

MenuItem* PopupMenu::Add(const ItemDesign& d) {
    Items.push_back(std::make_unique<MenuItem>(d));
    return Items.back().get();
}

MenuItem* PopupMenu::Find(const std::string& name) { return FindIn(Items, name); }

void PopupMenu::Popup(HWND owner, int x, int y) {
    if (OnPopup) OnPopup(this);
    if (auto script = Env().popup) {
        if (MenuItem* item = script(*this, POINT{x, y})) item->Click();
        return;
    }
    HMENU menu = CreatePopupMenu();
    BuildMenu(menu, Items);
    UINT cmd = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr));
    DestroyMenu(menu);
    if (cmd)
        if (MenuItem* item = FindMenuItem(cmd)) item->Click();
}

MainMenu::~MainMenu() {
    if (bar_) DestroyMenu(bar_);
}

MenuItem* MainMenu::Add(const ItemDesign& d) {
    Items.push_back(std::make_unique<MenuItem>(d));
    return Items.back().get();
}

MenuItem* MainMenu::Find(const std::string& name) { return FindIn(Items, name); }

HMENU MainMenu::Handle() {
    if (!bar_) {
        bar_ = CreateMenu();
        BuildMenu(bar_, Items);
    }
    return bar_;
}

void MainMenu::MenuOpening(HMENU popup) {
    if (!bar_) return;
    for (int i = 0, n = GetMenuItemCount(bar_); i < n; i++) {
        if (GetSubMenu(bar_, i) != popup) continue;
        // Position i counts the visible menus of the bar.
        int visible = -1;
        for (auto& item : Items) {
            if (item->Visible && ++visible == i) {
                if (item->OnClick) item->OnClick(item.get());
                BuildMenu(popup, item->Items);
                return;
            }
        }
    }
}

}  // namespace forms
