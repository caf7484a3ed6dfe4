#include "info/about.h"

#include "platform/application.h"
#include "platform/codepage.h"
#include "forms/messageloop.h"
#include "forms/shell.h"
#include "info/versioninfo.h"

namespace info {

TFormAbout* FormAbout = nullptr;

namespace {

const forms::FormDesign kDesign{.name = "FormAbout",
                                .caption = "About",
                                .left = 300,
                                .top = 200,
                                .clientWidth = 274,
                                .clientHeight = 165,
                                .resizable = false,
                                .minimizeBox = false,
                                .maximizeBox = false};

}  // namespace

TFormAbout::TFormAbout() : forms::Form(kDesign) {
    auto on = [this](void (TFormAbout::*h)(Component*)) { return [this, h](Component* s) { (this->*h)(s); }; };
    OnClick = on(&TFormAbout::FormClick);         // the background and every text or picture on it
    Label1.OnClick = on(&TFormAbout::FormClick);  // a window of its own: its clicks are not the form's
    Label7.OnClick = on(&TFormAbout::Label7Click);
    Label8.OnClick = on(&TFormAbout::Label8Click);
    Label10.OnClick = on(&TFormAbout::Label10Click);
    Label8.SetLeft(Label5.Left() + forms::TextWidth("You can also help development, by ", false, Dpi()));
    Image1.SetBitmap(MakeLogo());
    Label1.SetText(platform::Narrow(L"\u00A9"));
    try {
        FormCreate(this);
    } catch (...) {
        forms::HandleException();
    }
}

void TFormAbout::FormCreate(Component*) {
    const std::string exe = platform::ExePath();
    VersionInfo v = ReadVersionInfo(exe);
    SetCaption(platform::ApplicationTitle() + "   (v" + v.FileVersion + ")");
    SetClientSize(Label4.Left() + Label4.Width() + 8, Label5.Top() + Label5.Height() + 8);
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
    Image2.SetIcon(icon ? icon : LoadIconA(nullptr, IDI_APPLICATION));
    v = ReadVersionInfo(exe);
    Label6.SetText(v.Comments);
}

void TFormAbout::FormClick(Component*) { Close(); }

void TFormAbout::Label7Click(Component*) {
    forms::ShellOpen(Handle(), "open", std::string("mailto:") + kMakerMail + kMailSubject);
}

void TFormAbout::Label8Click(Component*) { forms::ShellOpen(Handle(), "open", kDonationPage); }

void TFormAbout::Label10Click(Component*) { forms::ShellOpen(Handle(), "open", kFreewarePage); }

}  // namespace info
