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

    forms::Label* Label3 = nullptr;
    forms::DropDownList* ComboBox_search = nullptr;
    forms::Button* Button_load = nullptr;
    forms::Button* Button_cancel = nullptr;
    forms::Button* Button_delete = nullptr;

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
