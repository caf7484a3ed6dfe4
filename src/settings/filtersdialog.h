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

    // ---- Controls as designed (left, top, width, height in pixels) ----
    forms::Label Label_size{this, {.name = "Label_size", .left = 8, .top = 12, .caption = "Size:"}};
    forms::DropDownList ComboBox_size{
        this, {.name = "ComboBox_size", .left = 64, .top = 8, .width = 222, .height = 20, .tabOrder = 0}, 14};
    forms::Label Label_color{this, {.name = "Label_color", .left = 8, .top = 38, .caption = "Colour:"}};
    forms::DropDownList ComboBox_color{
        this, {.name = "ComboBox_color", .left = 64, .top = 34, .width = 222, .height = 20, .tabOrder = 1}, 14};
    forms::Label Label_type{this, {.name = "Label_type", .left = 8, .top = 64, .caption = "Type:"}};
    forms::DropDownList ComboBox_type{
        this, {.name = "ComboBox_type", .left = 64, .top = 60, .width = 222, .height = 20, .tabOrder = 2}, 14};
    forms::Label Label_layout{this, {.name = "Label_layout", .left = 8, .top = 90, .caption = "Layout:"}};
    forms::DropDownList ComboBox_layout{
        this, {.name = "ComboBox_layout", .left = 64, .top = 86, .width = 222, .height = 20, .tabOrder = 3}, 14};
    forms::Label Label_people{this, {.name = "Label_people", .left = 8, .top = 116, .caption = "People:"}};
    forms::DropDownList ComboBox_people{
        this, {.name = "ComboBox_people", .left = 64, .top = 112, .width = 222, .height = 20, .tabOrder = 4}, 14};
    forms::Label Label_date{this, {.name = "Label_date", .left = 8, .top = 142, .caption = "Date:"}};
    forms::DropDownList ComboBox_date{
        this, {.name = "ComboBox_date", .left = 64, .top = 138, .width = 222, .height = 20, .tabOrder = 5}, 14};
    forms::Label Label_license{this, {.name = "Label_license", .left = 8, .top = 168, .caption = "Licence:"}};
    forms::DropDownList ComboBox_license{
        this, {.name = "ComboBox_license", .left = 64, .top = 164, .width = 222, .height = 20, .tabOrder = 6}, 14};
    forms::Label Label_market{this, {.name = "Label_market", .left = 8, .top = 194, .caption = "Market:"}};
    forms::DropDownList ComboBox_market{
        this, {.name = "ComboBox_market", .left = 64, .top = 190, .width = 222, .height = 20, .tabOrder = 7}, 14};
    forms::Bevel Bevel1{
        this, {.name = "Bevel1", .left = 8, .top = 220, .width = 278, .height = 2}, forms::Bevel::Shape::TopLine};
    forms::Button Button_reset{
        this,
        {.name = "Button_reset", .left = 8, .top = 230, .width = 65, .height = 22, .caption = "Reset", .tabOrder = 8}};
    forms::Button Button_cancel{this,
                                {.name = "Button_cancel",
                                 .left = 150,
                                 .top = 230,
                                 .width = 65,
                                 .height = 22,
                                 .caption = "Cancel",
                                 .tabOrder = 9}};
    forms::Button Button_set{
        this,
        {.name = "Button_set", .left = 221, .top = 230, .width = 65, .height = 22, .caption = "Ok", .tabOrder = 10}};

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
