#pragma once
// The limits and options dialog: four number fields with arrows, the safe-search list and
// three display options. The main window fills it, shows it and applies what it holds after
// "Ok" (PopSizeToDownload1Click); the dialog itself only keeps fields and arrows in step.
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/menu.h"
#include "forms/updown.h"

namespace settings {

using forms::Component;
using forms::Design;

// The icon at the top right.
class IconImage : public forms::Control {
public:
    IconImage(Control* parent, const Design& d);
};

class TForm_options : public forms::Form {
public:
    TForm_options();

    // A context menu without items: a right click on a number field offers nothing.
    forms::PopupMenu PopupMenu1{"PopupMenu1"};

    //                       name           left top width height caption                     bold tab
    forms::Label Label1{this, {"Label1", 8, 8, 0, 0, "Min size to downld"}};
    forms::Edit Edit1{this, {"Edit1", 8, 24, 57, 21, "0", "", false, 0}};
    forms::UpDown UpDown1{this, {"UpDown1", 65, 24, 16, 21}, 0, 500, 0};
    forms::Label Label5{this, {"Label5", 86, 28, 0, 0, "KB"}};
    forms::Label Label2{this, {"Label2", 8, 52, 0, 0, "Max size to downld"}};
    forms::Edit Edit2{this, {"Edit2", 8, 68, 57, 21, "10000", "", false, 1}};
    forms::UpDown UpDown2{this, {"UpDown2", 65, 68, 16, 21}, 1, 10000, 10000};
    forms::Label Label6{this, {"Label6", 86, 72, 0, 0, "KB"}};
    forms::Label Label3{this, {"Label3", 8, 96, 0, 0, "Safe search type:"}};
    forms::ComboBox ComboBox1{this, {"ComboBox1", 8, 112, 108, 21, "", "", false, 2}};
    forms::Label Label4{this, {"Label4", 8, 140, 0, 0, "Max files to downld"}};
    forms::Edit Edit3{this, {"Edit3", 8, 156, 57, 21, "1000", "", false, 3}};
    forms::UpDown UpDown3{this, {"UpDown3", 65, 156, 16, 21}, 50, 1000, 1000};
    forms::Label Label7{this, {"Label7", 86, 160, 0, 0, "un"}};
    // Its label is wider than the left column: the row lies below the line, beside the buttons.
    forms::Label Label8{this, {"Label8", 8, 206, 0, 0, "Simultaneous downloads"}};
    forms::Edit Edit4{this, {"Edit4", 8, 222, 57, 21, "1", "", false, 4}};
    forms::UpDown UpDown4{this, {"UpDown4", 65, 222, 16, 21}, 1, 8, 1};
    forms::Bevel Bevel1{this, {"Bevel1", 122, 8, 2, 191}, forms::Bevel::Shape::LeftLine};
    IconImage Image1{this, {"Image1", 239, 8, 32, 32}};
    forms::CheckBox CheckBox3{this, {"CheckBox3", 130, 48, 146, 17, "Show thumbnails side list >", "", false, 5}};
    forms::CheckBox CheckBox2{this, {"CheckBox2", 130, 70, 146, 17, "Show main window  menu", "", false, 6}};
    forms::CheckBox CheckBox1{this, {"CheckBox1", 130, 92, 146, 17, "Ask to save search on exit", "", false, 7}};
    forms::Button Button_reset{this, {"Button_reset", 130, 128, 65, 22, "Reset ...", "", false, 8}};
    forms::Button Button1{this, {"Button1", 130, 221, 65, 22, "Cancel", "", false, 9}};
    forms::Button Button_set{this, {"Button_set", 206, 221, 65, 22, "Ok", "", false, 10}};

    void Edit1KeyPress(Component* Sender, wchar_t& Key);
    void Edit_number_Change(Component* Sender);
    void UpDown1Click(Component* Sender, forms::ArrowButton Button);
    void UpDown2Click(Component* Sender, forms::ArrowButton Button);
    void UpDown3Click(Component* Sender, forms::ArrowButton Button);
    void UpDown4Click(Component* Sender, forms::ArrowButton Button);
    void UpDown1Changing(Component* Sender, bool& AllowChange);
    void UpDown2Changing(Component* Sender, bool& AllowChange);
    void UpDown3Changing(Component* Sender, bool& AllowChange);
    void UpDown4Changing(Component* Sender, bool& AllowChange);
    void Button_resetClick(Component* Sender);
    void FormKeyUp(Component* Sender, WORD& Key, unsigned Shift);
};

// The dialog, created at start-up after the saved-search chooser; lives until the program ends.
extern TForm_options* Form_options;

}  // namespace settings
