#pragma once
// Menus built from tables: each item has its designed name, caption ("&" marks the access
// key, "&&" shows one "&"), state and handler. The menu handles are rebuilt from the items
// whenever a menu opens, so the items' state is always what shows.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/control.h"

namespace forms {

struct ItemDesign {
    const char* name;
    const char* caption;  // "-" for a separator
};

class MenuItem : public Component {
public:
    explicit MenuItem(const ItemDesign& d);
    ~MenuItem() override;
    std::string Caption;
    bool Enabled = true;
    bool Visible = true;
    bool Checked = false;
    bool Separator() const { return Caption == "-"; }
    Notify OnClick;  // for a menu of the bar: runs when it opens
    // A click on a disabled or hidden item does nothing, also when code clicks it.
    void Click();
    UINT Id() const { return id_; }

    std::vector<std::unique_ptr<MenuItem>> Items;
    MenuItem* Add(const ItemDesign& d);
    MenuItem* Find(const std::string& name);  // this item or one below it

private:
    UINT id_;
};

// Fills a menu handle from items (only visible ones).
void BuildMenu(HMENU menu, const std::vector<std::unique_ptr<MenuItem>>& items);
MenuItem* FindMenuItem(UINT id);  // a live item by command number

class PopupMenu : public Component {
public:
    explicit PopupMenu(const char* name) : Component(name) {}
    std::vector<std::unique_ptr<MenuItem>> Items;
    MenuItem* Add(const ItemDesign& d);
    MenuItem* Find(const std::string& name);
    Notify OnPopup;
    // The control on which the menu was opened (for a context menu), else nullptr.
    Control* PopupComponent = nullptr;
    // Opens the menu at a screen point, owned by the window; runs the chosen item's Click.
    void Popup(HWND owner, int x, int y);
};

class MainMenu : public Component {
public:
    explicit MainMenu(const char* name) : Component(name) {}
    ~MainMenu() override;
    std::vector<std::unique_ptr<MenuItem>> Items;  // the menus of the bar
    MenuItem* Add(const ItemDesign& d);
    MenuItem* Find(const std::string& name);
    HMENU Handle();  // the bar, built on first use
    // WM_INITMENUPOPUP: runs the opening menu's OnClick and rebuilds its items.
    void MenuOpening(HMENU popup);

private:
    HMENU bar_ = nullptr;
};

}  // namespace forms
