#pragma once
// The limits and options dialog: four number fields with arrows, the safe-search list and
// three display options; below them, what a search keeps (identical files, files that are no
// picture, the smallest picture) and the list of sources. The main window fills it, shows it and applies what it holds
// after "Ok" (PopSizeToDownload1Click); the dialog itself only keeps fields and arrows in step.
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

    // ---- Controls as designed (left, top, width, height in pixels) ----
    forms::Label Label1{this, {.name = "Label1", .left = 8, .top = 8, .caption = "Min size to downld"}};
    forms::Edit Edit1{
        this, {.name = "Edit1", .left = 8, .top = 24, .width = 57, .height = 21, .caption = "0", .tabOrder = 0}};
    forms::UpDown UpDown1{this, {.name = "UpDown1", .left = 65, .top = 24, .width = 16, .height = 21}, 0, 500, 0};
    forms::Label Label5{this, {.name = "Label5", .left = 86, .top = 28, .caption = "KB"}};
    forms::Label Label2{this, {.name = "Label2", .left = 8, .top = 52, .caption = "Max size to downld"}};
    forms::Edit Edit2{
        this, {.name = "Edit2", .left = 8, .top = 68, .width = 57, .height = 21, .caption = "10000", .tabOrder = 1}};
    forms::UpDown UpDown2{this, {.name = "UpDown2", .left = 65, .top = 68, .width = 16, .height = 21}, 1, 10000, 10000};
    forms::Label Label6{this, {.name = "Label6", .left = 86, .top = 72, .caption = "KB"}};
    forms::Label Label3{this, {.name = "Label3", .left = 8, .top = 96, .caption = "Safe search type:"}};
    forms::ComboBox ComboBox1{this,
                              {.name = "ComboBox1", .left = 8, .top = 112, .width = 108, .height = 21, .tabOrder = 2}};
    forms::Label Label4{this, {.name = "Label4", .left = 8, .top = 140, .caption = "Max files to downld"}};
    forms::Edit Edit3{
        this, {.name = "Edit3", .left = 8, .top = 156, .width = 57, .height = 21, .caption = "1000", .tabOrder = 3}};
    forms::UpDown UpDown3{this, {.name = "UpDown3", .left = 65, .top = 156, .width = 16, .height = 21}, 50, 1000, 1000};
    forms::Label Label7{this, {.name = "Label7", .left = 86, .top = 160, .caption = "un"}};
    // Its label is wider than the left column: the row lies below the line, beside the buttons.
    forms::Label Label8{this, {.name = "Label8", .left = 8, .top = 206, .caption = "Simultaneous downloads"}};
    forms::Edit Edit4{
        this, {.name = "Edit4", .left = 8, .top = 222, .width = 57, .height = 21, .caption = "1", .tabOrder = 4}};
    forms::UpDown UpDown4{this, {.name = "UpDown4", .left = 65, .top = 222, .width = 16, .height = 21}, 1, 8, 1};
    forms::Bevel Bevel1{
        this, {.name = "Bevel1", .left = 122, .top = 8, .width = 2, .height = 191}, forms::Bevel::Shape::LeftLine};
    IconImage Image1{this, {.name = "Image1", .left = 239, .top = 8, .width = 32, .height = 32}};
    forms::CheckBox CheckBox3{this,
                              {.name = "CheckBox3",
                               .left = 130,
                               .top = 48,
                               .width = 146,
                               .height = 17,
                               .caption = "Show thumbnails side list >",
                               .tabOrder = 5}};
    forms::CheckBox CheckBox2{this,
                              {.name = "CheckBox2",
                               .left = 130,
                               .top = 70,
                               .width = 146,
                               .height = 17,
                               .caption = "Show main window  menu",
                               .tabOrder = 6}};
    forms::CheckBox CheckBox1{this,
                              {.name = "CheckBox1",
                               .left = 130,
                               .top = 92,
                               .width = 146,
                               .height = 17,
                               .caption = "Ask to save search on exit",
                               .tabOrder = 7}};
    forms::Button Button_reset{this,
                               {.name = "Button_reset",
                                .left = 130,
                                .top = 128,
                                .width = 65,
                                .height = 22,
                                .caption = "Reset ...",
                                .tabOrder = 8}};
    forms::Button Button1{
        this,
        {.name = "Button1", .left = 130, .top = 221, .width = 65, .height = 22, .caption = "Cancel", .tabOrder = 9}};
    forms::Button Button_set{
        this,
        {.name = "Button_set", .left = 206, .top = 221, .width = 65, .height = 22, .caption = "Ok", .tabOrder = 10}};

    // ---- What a search keeps, below the designed dialog ----
    forms::Bevel Bevel2{
        this, {.name = "Bevel2", .left = 8, .top = 251, .width = 263, .height = 2}, forms::Bevel::Shape::TopLine};
    forms::CheckBox CheckBox_skipIdentical{this,
                                           {.name = "CheckBox_skipIdentical",
                                            .left = 8,
                                            .top = 259,
                                            .width = 268,
                                            .height = 17,
                                            .caption = "Skip pictures already in the folder (same content)",
                                            .tabOrder = 11}};
    forms::CheckBox CheckBox_onlyPictures{this,
                                          {.name = "CheckBox_onlyPictures",
                                           .left = 8,
                                           .top = 279,
                                           .width = 268,
                                           .height = 17,
                                           .caption = "Keep only files that are pictures",
                                           .tabOrder = 12}};
    forms::CheckBox CheckBox_writeSources{this,
                                          {.name = "CheckBox_writeSources",
                                           .left = 8,
                                           .top = 299,
                                           .width = 268,
                                           .height = 17,
                                           .caption = "Write a list of sources beside the pictures",
                                           .tabOrder = 13}};
    forms::Label Label9{this,
                        {.name = "Label9", .left = 8, .top = 322, .caption = "Smallest picture (pixels, 0 = any)"}};
    forms::Edit Edit_minWidth{
        this,
        {.name = "Edit_minWidth", .left = 8, .top = 338, .width = 57, .height = 21, .caption = "0", .tabOrder = 14}};
    forms::Label Label10{this, {.name = "Label10", .left = 70, .top = 342, .caption = "x"}};
    forms::Edit Edit_minHeight{
        this,
        {.name = "Edit_minHeight", .left = 82, .top = 338, .width = 57, .height = 21, .caption = "0", .tabOrder = 15}};
    forms::Label Label11{this, {.name = "Label11", .left = 144, .top = 342, .caption = "width x height"}};

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
