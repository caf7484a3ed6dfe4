#pragma once
// The saved-search chooser: lists the saved searches beside the executable by base name,
// preselects the one loaded last, deletes sets, and hands the choice to the load command,
// which reads the list's text and selected index after the dialog has closed.
#include <string>

#include "forms/controls.h"
#include "forms/dropdownlist.h"
#include "forms/form.h"

namespace savedsearch {

class TForm_oldsearchs : public forms::Form {
public:
    TForm_oldsearchs();

    // ---- Controls as designed (left, top, width, height in pixels) ----
    forms::Label Label3{this, {.name = "Label3", .left = 8, .top = 12, .caption = "Saved keywords:", .bold = true}};
    forms::DropDownList ComboBox_search{
        this, {.name = "ComboBox_search", .left = 112, .top = 8, .width = 161, .height = 20, .tabOrder = 0}, 14};
    forms::Button Button_load{this,
                              {.name = "Button_load",
                               .left = 110,
                               .top = 38,
                               .width = 81,
                               .height = 20,
                               .caption = "Load ...",
                               .tabOrder = 1}};
    forms::Button Button_cancel{this,
                                {.name = "Button_cancel",
                                 .left = 200,
                                 .top = 38,
                                 .width = 73,
                                 .height = 20,
                                 .caption = "Cancel",
                                 .tabOrder = 2}};
    forms::Button Button_delete{this,
                                {.name = "Button_delete",
                                 .left = 8,
                                 .top = 38,
                                 .width = 65,
                                 .height = 20,
                                 .caption = "Delete !",
                                 .tabOrder = 3}};

    // Fills the list, then shows the dialog modally: mrOk from "Load ...", mrCancel otherwise.
    int ShowModal();

    void FormShow(forms::Component* sender);
    void Button_deleteClick(forms::Component* sender);
    void FormKeyUp(forms::Component* sender, WORD& key, unsigned shift);

    // Where saved searches and the settings file lie: the executable's folder, ending in "\".
    std::string Folder;
};

// The dialog, created at start-up after the About box; lives until the program ends.
extern TForm_oldsearchs* Form_oldsearchs;

}  // namespace savedsearch
