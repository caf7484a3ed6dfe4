#pragma once
// The About box: the program's title and version, its description, the maker's credit and
// three links. Created once at start-up, shown modally by the About commands.
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/statictext.h"
#include "forms/textlabels.h"
#include "info/aboutcontrols.h"
#include "info/links.h"

namespace info {

using forms::Component;

class TFormAbout : public forms::Form {
public:
    // Runs FormCreate; an error there (no version information) is shown by the
    // application-wide error handler, and the box keeps its design texts.
    TFormAbout();

    void FormCreate(Component* Sender);
    void FormClick(Component* Sender);
    void Label7Click(Component* Sender);
    void Label8Click(Component* Sender);
    void Label10Click(Component* Sender);

    // ---- Controls as designed (left, top, width, height in pixels) ----
    PictureView Image1{this, {.name = "Image1", .left = 8, .top = 6, .width = 44, .height = 44}};
    forms::Label Label2{this, {.name = "Label2", .left = 60, .top = 6, .caption = "FreeWare by", .bold = true}};
    // "©", set as a character (the single byte 0xA9 is none in UTF-8), in a window of its own
    // so that it is drawn from its UTF-16 text and can be read back.
    forms::StaticText Label1{this, {.name = "Label1", .left = 60, .top = 21, .width = 10, .height = 13}};
    forms::Label Label3{this, {.name = "Label3", .left = 70, .top = 21, .caption = kAuthorName}};
    forms::LinkLabel Label10{
        this, {.name = "Label10", .left = 60, .top = 36, .width = 190, .height = 13, .caption = kMakerWebText}};
    forms::WrapLabel Label6{this,
                            {.name = "Label6", .left = 8, .top = 52, .width = 209, .height = 41, .caption = "Label6"}};
    PictureView Image2{this, {.name = "Image2", .left = 223, .top = 52, .width = 41, .height = 41}};
    forms::Bevel Bevel1{
        this, {.name = "Bevel1", .left = 8, .top = 105, .width = 256, .height = 2}, forms::Bevel::Shape::TopLine};
    forms::WrapLabel Label4{this,
                            {.name = "Label4",
                             .left = 8,
                             .top = 107,
                             .width = 256,
                             .height = 26,
                             .caption = "If you like this program, email me with feedback, ideas, suggestions or "
                                        "questions to"}};
    forms::LinkLabel Label7{
        this, {.name = "Label7", .left = 8, .top = 133, .width = 210, .height = 13, .caption = kMakerMail}};
    forms::Label Label5{
        this,
        {.name = "Label5", .left = 8, .top = 146, .caption = "You can also help development, by _______ a few $$"}};
    // Lies over the blank of Label5; its left is set from Label5's text.
    forms::LinkLabel Label8{this, {.name = "Label8", .left = 8, .top = 146, .caption = "donating "}};
};

// The About box, created at start-up right after the main window.
extern TFormAbout* FormAbout;

}  // namespace info
