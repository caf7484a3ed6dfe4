#include "settings/filtersdialog.h"

#include "forms/dialogkeys.h"
#include "forms/keyredraw.h"

namespace settings {

TForm_filters* Form_filters = nullptr;

TForm_filters::TForm_filters()
    : Form(forms::FormDesign{.name = "Form_filters",
                             .caption = "  Filters of the search service",
                             .clientWidth = 294,
                             .clientHeight = 260,
                             .resizable = false,
                             .minimizeBox = false,
                             .maximizeBox = false,
                             .toolWindow = true}) {
    auto lists = GroupLists();
    for (int g = 0; g < kFilterGroupCount; ++g) {
        forms::DropDownList& list = *lists[static_cast<size_t>(g)];
        list.AddItem("Any");
        for (const FilterValue& v : FilterGroups()[static_cast<size_t>(g)].values) list.AddItem(v.caption);
        list.SetItemIndex(0);
    }
    for (const std::string& market : CommonMarkets()) ComboBox_market.AddItem(market);
    ComboBox_market.SetItemIndex(0);

    Button_reset.OnClick = [this](Component* s) { Button_resetClick(s); };
    Button_cancel.OnClick = [this](Component*) { ModalResult = forms::mrCancel; };
    Button_set.OnClick = [this](Component*) { ModalResult = forms::mrOk; };
    KeyPreview = true;
    OnKeyUp = [this](Component* s, WORD& k, unsigned sh) { FormKeyUp(s, k, sh); };
    forms::EnterPressesFocusedButton(*this);
}

std::array<forms::DropDownList*, kFilterGroupCount> TForm_filters::GroupLists() {
    return {&ComboBox_size,   &ComboBox_color, &ComboBox_type,   &ComboBox_layout,
            &ComboBox_people, &ComboBox_date,  &ComboBox_license};
}

void TForm_filters::Fill(const FilterChoice& choice) {
    auto lists = GroupLists();
    for (size_t g = 0; g < lists.size(); ++g) {
        int v = choice.value[g];
        lists[g]->SetItemIndex(v >= 0 && v + 1 < lists[g]->Count() ? v + 1 : 0);
    }
    std::string market = MarketFromStored(choice.market);
    int row = -1;
    for (int i = 0; i < ComboBox_market.Count() && row < 0; ++i)
        if (ComboBox_market.Item(i) == market) row = i;
    if (row < 0) {
        ComboBox_market.AddItem(market);
        row = ComboBox_market.Count() - 1;
    }
    ComboBox_market.SetItemIndex(row);
}

FilterChoice TForm_filters::Choice() {
    FilterChoice c;
    auto lists = GroupLists();
    for (size_t g = 0; g < lists.size(); ++g) c.value[g] = lists[g]->ItemIndex() >= 1 ? lists[g]->ItemIndex() - 1 : -1;
    c.market = MarketFromStored(ComboBox_market.Text());
    return c;
}

void TForm_filters::Button_resetClick(Component*) {
    for (forms::DropDownList* list : GroupLists()) list->SetItemIndex(0);
    ComboBox_market.SetItemIndex(0);
}

void TForm_filters::FormKeyUp(Component*, WORD& Key, unsigned) { forms::RedrawButtonsOnKeyUp(this, Key); }

}  // namespace settings
