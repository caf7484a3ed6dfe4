#include "settings/options.h"

#include <string>

#include "forms/dialogkeys.h"
#include "forms/keyredraw.h"
#include "settings/optionsrules.h"

namespace settings {

TForm_options* Form_options = nullptr;

IconImage::IconImage(Control* parent, const Design& d) : Control(parent, d) {
    CreateWindowed("STATIC", SS_ICON | SS_CENTERIMAGE, 0, true);
    if (HICON icon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON"))
        SendMessageA(Handle(), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    SetBounds(d.left, d.top, d.width, d.height);  // the icon must not resize the control
}

TForm_options::TForm_options()
    : Form(forms::FormDesign{.name = "Form_options",
                             .caption = "  Limits & options to download",
                             .clientWidth = 279,
                             .clientHeight = 367,
                             .resizable = false,
                             .minimizeBox = false,
                             .maximizeBox = false,
                             .toolWindow = true}) {
    for (const char* entry : {"Safe search", "Moderate *", "No filters (+18)"}) ComboBox1.AddItem(entry);

    for (forms::Edit* e : {&Edit1, &Edit2, &Edit3, &Edit4}) {
        e->Popup = &PopupMenu1;
        e->OnKeyPress = [this](Component* s, wchar_t& k) { Edit1KeyPress(s, k); };
        e->OnChange = [this](Component* s) { Edit_number_Change(s); };
    }
    for (forms::Edit* e : {&Edit_minWidth, &Edit_minHeight}) {
        e->Popup = &PopupMenu1;
        e->OnKeyPress = [this](Component* s, wchar_t& k) { Edit1KeyPress(s, k); };
        // Digits only reach the field, so only the upper bound needs keeping while typing.
        e->OnChange = [e](Component*) {
            const std::string text = e->Text(), most = std::to_string(kPixelRange.max);
            if (PixelLimit(text) == kPixelRange.max && text != most) e->SetText(most);
        };
    }
    UpDown1.OnArrowClick = [this](Component* s, forms::ArrowButton b) { UpDown1Click(s, b); };
    UpDown2.OnArrowClick = [this](Component* s, forms::ArrowButton b) { UpDown2Click(s, b); };
    UpDown3.OnArrowClick = [this](Component* s, forms::ArrowButton b) { UpDown3Click(s, b); };
    UpDown4.OnArrowClick = [this](Component* s, forms::ArrowButton b) { UpDown4Click(s, b); };
    UpDown1.OnChanging = [this](Component* s, bool& a) { UpDown1Changing(s, a); };
    UpDown2.OnChanging = [this](Component* s, bool& a) { UpDown2Changing(s, a); };
    UpDown3.OnChanging = [this](Component* s, bool& a) { UpDown3Changing(s, a); };
    UpDown4.OnChanging = [this](Component* s, bool& a) { UpDown4Changing(s, a); };
    Button_reset.OnClick = [this](Component* s) { Button_resetClick(s); };
    Button1.OnClick = [this](Component*) { ModalResult = forms::mrCancel; };
    Button_set.OnClick = [this](Component*) { ModalResult = forms::mrOk; };

    KeyPreview = true;
    OnKeyUp = [this](Component* s, WORD& k, unsigned sh) { FormKeyUp(s, k, sh); };
    forms::EnterPressesFocusedButton(*this);
}

void TForm_options::Edit1KeyPress(Component*, wchar_t& Key) {
    if (!PassesNumberKey(Key)) Key = 0;
}

// Keeps the field within its arrows' range while the user types; the arrows follow.
void TForm_options::Edit_number_Change(Component* Sender) {
    auto* field = dynamic_cast<forms::Edit*>(Sender);
    if (!field) return;
    int32_t value = FieldValue(field->Text());
    forms::UpDown& arrows = field == &Edit1 ? UpDown1 : field == &Edit2 ? UpDown2 : field == &Edit4 ? UpDown4 : UpDown3;
    FieldRange range{arrows.Min(), arrows.Max()};
    if (auto text = ClampedFieldText(value, range)) field->SetText(*text);  // runs this again
    arrows.SetPosition(ArrowPosition(value, range));
}

void TForm_options::UpDown1Click(Component*, forms::ArrowButton) { Edit1.SetText(std::to_string(UpDown1.Position())); }
void TForm_options::UpDown2Click(Component*, forms::ArrowButton) { Edit2.SetText(std::to_string(UpDown2.Position())); }
void TForm_options::UpDown3Click(Component*, forms::ArrowButton) { Edit3.SetText(std::to_string(UpDown3.Position())); }
void TForm_options::UpDown4Click(Component*, forms::ArrowButton) { Edit4.SetText(std::to_string(UpDown4.Position())); }

void TForm_options::UpDown1Changing(Component*, bool& AllowChange) { AllowChange = true; }
void TForm_options::UpDown2Changing(Component*, bool& AllowChange) { AllowChange = true; }
void TForm_options::UpDown3Changing(Component*, bool& AllowChange) { AllowChange = true; }
void TForm_options::UpDown4Changing(Component*, bool& AllowChange) { AllowChange = true; }

void TForm_options::Button_resetClick(Component*) {
    Edit1.SetText(std::to_string(kMinSizeReset));
    UpDown1.SetPosition(kMinSizeReset);
    Edit2.SetText(std::to_string(kMaxSizeReset));
    UpDown2.SetPosition(kMaxSizeReset);
    Edit3.SetText(std::to_string(kFileCountReset));
    UpDown3.SetPosition(kFileCountReset);
    Edit4.SetText(std::to_string(kParallelReset));
    UpDown4.SetPosition(kParallelReset);
    ComboBox1.SetItemIndex(1);
    Edit_minWidth.SetText("0");
    Edit_minHeight.SetText("0");
}

void TForm_options::FormKeyUp(Component*, WORD& Key, unsigned) { forms::RedrawButtonsOnKeyUp(this, Key); }

}  // namespace settings
