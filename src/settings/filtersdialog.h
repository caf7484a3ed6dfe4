#pragma once
// The Filters dialog: one drop-down list for each of the search service's filter groups, each
// starting at "Any" (no filter), and the market list, whose first entry is the default market.
// The main window fills it from the choice in force (Fill), shows it and takes its Choice()
// after "Ok" (PopFilters1Click); "Reset" only sets the lists back.
#include <array>

#include "forms/controls.h"
#include "forms/dropdownlist.h"
#include "forms/form.h"
#include "settings/filters.h"

namespace settings {

using forms::Component;

class TForm_filters : public forms::Form {
public:
    TForm_filters();

    //                              name          left top width height caption    bold tab
    forms::Label Label_size{this, {"Label_size", 8, 12, 0, 0, "Size:"}};
    forms::DropDownList ComboBox_size{this, {"ComboBox_size", 64, 8, 222, 20, "", "", false, 0}, 14};
    forms::Label Label_color{this, {"Label_color", 8, 38, 0, 0, "Colour:"}};
    forms::DropDownList ComboBox_color{this, {"ComboBox_color", 64, 34, 222, 20, "", "", false, 1}, 14};
    forms::Label Label_type{this, {"Label_type", 8, 64, 0, 0, "Type:"}};
    forms::DropDownList ComboBox_type{this, {"ComboBox_type", 64, 60, 222, 20, "", "", false, 2}, 14};
    forms::Label Label_layout{this, {"Label_layout", 8, 90, 0, 0, "Layout:"}};
    forms::DropDownList ComboBox_layout{this, {"ComboBox_layout", 64, 86, 222, 20, "", "", false, 3}, 14};
    forms::Label Label_people{this, {"Label_people", 8, 116, 0, 0, "People:"}};
    forms::DropDownList ComboBox_people{this, {"ComboBox_people", 64, 112, 222, 20, "", "", false, 4}, 14};
    forms::Label Label_date{this, {"Label_date", 8, 142, 0, 0, "Date:"}};
    forms::DropDownList ComboBox_date{this, {"ComboBox_date", 64, 138, 222, 20, "", "", false, 5}, 14};
    forms::Label Label_license{this, {"Label_license", 8, 168, 0, 0, "Licence:"}};
    forms::DropDownList ComboBox_license{this, {"ComboBox_license", 64, 164, 222, 20, "", "", false, 6}, 14};
    forms::Label Label_market{this, {"Label_market", 8, 194, 0, 0, "Market:"}};
    forms::DropDownList ComboBox_market{this, {"ComboBox_market", 64, 190, 222, 20, "", "", false, 7}, 14};
    forms::Bevel Bevel1{this, {"Bevel1", 8, 220, 278, 2}, forms::Bevel::Shape::TopLine};
    forms::Button Button_reset{this, {"Button_reset", 8, 230, 65, 22, "Reset", "", false, 8}};
    forms::Button Button_cancel{this, {"Button_cancel", 150, 230, 65, 22, "Cancel", "", false, 9}};
    forms::Button Button_set{this, {"Button_set", 221, 230, 65, 22, "Ok", "", false, 10}};

    // The group lists in the order of the groups.
    std::array<forms::DropDownList*, kFilterGroupCount> GroupLists();

    // Each list shows the choice's value; a market not in the list joins it at its end.
    void Fill(const FilterChoice& choice);
    // What the lists hold: a list with nothing selected counts as "Any" (the default market).
    FilterChoice Choice();

    void Button_resetClick(Component* Sender);
    void FormKeyUp(Component* Sender, WORD& Key, unsigned Shift);
};

// The dialog, created at start-up after the options dialog; lives until the program ends.
extern TForm_filters* Form_filters;

}  // namespace settings
