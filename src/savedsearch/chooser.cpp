#include "savedsearch/chooser.h"

#include "platform/application.h"
#include "forms/dialogkeys.h"
#include "forms/msgbox.h"
#include "forms/keyredraw.h"
#include "savedsearch/setfiles.h"
#include "settings/datafolder.h"
#include "settings/settingsfile.h"

using namespace forms;

namespace savedsearch {

TForm_oldsearchs* Form_oldsearchs = nullptr;

TForm_oldsearchs::TForm_oldsearchs()
    : Form(FormDesign{.name = "Form_oldsearchs",
                      .caption = "  Load older searches ...",
                      .left = 277,
                      .top = 263,
                      .clientWidth = 281,
                      .clientHeight = 65,
                      .resizable = false,
                      .minimizeBox = false,
                      .maximizeBox = false,
                      .toolWindow = true}),
      Folder(settings::DataFolder()) {
    Button_load.OnClick = [this](Component*) { ModalResult = mrOk; };
    Button_cancel.OnClick = [this](Component*) { ModalResult = mrCancel; };
    Button_delete.OnClick = [this](Component* s) { Button_deleteClick(s); };
    KeyPreview = true;
    OnKeyUp = [this](Component* s, WORD& key, unsigned shift) { FormKeyUp(s, key, shift); };
    EnterPressesFocusedButton(*this);
}

int TForm_oldsearchs::ShowModal() {
    FormShow(this);
    return Form::ShowModal();
}

void TForm_oldsearchs::FormShow(Component*) {
    ComboBox_search.Clear();
    for (const std::string& name : savedsearch::FindSavedSearches(Folder)) ComboBox_search.AddItem(name);
    // A settings object of its own, for this step alone: the main window's may not exist.
    settings::SettingsFile ini(Folder + "Quenby.ini");
    int n = ComboBox_search.Count();
    if (n > 0) {
        int last = ini.ReadInteger(settings::kLastLoaded, n - 1);
        ComboBox_search.SetItemIndex(last >= 0 && last < n ? last : -1);
    }
}

void TForm_oldsearchs::Button_deleteClick(Component*) {
    std::string name = ComboBox_search.Text();
    std::string question = "Sure to delete this saved  '" + name + "'" + "  search definitively ?";
    if (ShowBox(BoxKind::Confirm, question, kBoxYesCancel) != IDYES) return;
    savedsearch::DeleteSet(Folder + name);
    int i = ComboBox_search.ItemIndex();
    if (i >= 0) ComboBox_search.DeleteItem(i);
}

void TForm_oldsearchs::FormKeyUp(Component*, WORD& key, unsigned) { forms::RedrawButtonsOnKeyUp(this, key); }

}  // namespace savedsearch
