// The main window's side of the limits and options dialog: fill it from the settings held
// while the program runs, show it, and apply what it holds after "Ok".
#include "mainwindow/mainform.h"
#include "mainwindow/state.h"
#include "settings/options.h"
#include "settings/optionsrules.h"

namespace mainwindow {

using settings::Form_options;

void TForm1::PopSizeToDownload1Click(Component*) {
    settings::TForm_options& d = *Form_options;
    // Setting a field's text runs its change handling, which shows a stored value outside the
    // arrows' range at the nearest bound.
    int32_t minKb = settings::KilobytesShown(MinFilesize), maxKb = settings::KilobytesShown(MaxFilesize);
    d.UpDown1.SetPosition(static_cast<int16_t>(minKb));
    d.Edit1.SetText(std::to_string(minKb));
    d.UpDown2.SetPosition(static_cast<int16_t>(maxKb));
    d.Edit2.SetText(std::to_string(maxKb));
    d.UpDown3.SetPosition(static_cast<int16_t>(MaxFileCount));
    d.Edit3.SetText(std::to_string(MaxFileCount));
    d.UpDown4.SetPosition(settings::ArrowPosition(SimultaneousDownloads, settings::kParallelRange));
    d.Edit4.SetText(std::to_string(SimultaneousDownloads));
    if (int row = settings::SafeSearchRow(SafeSearchT); row >= 0) d.ComboBox1.SetItemIndex(row);
    d.CheckBox1.SetChecked(SaveOnExitAsk);
    d.CheckBox2.SetChecked(ShowMainMenu);
    d.CheckBox3.SetChecked(ShowThumbsList);
    d.CheckBox_skipIdentical.SetChecked(Prefs.SkipIdentical);
    d.CheckBox_onlyPictures.SetChecked(Prefs.OnlyPictures);
    d.CheckBox_writeSources.SetChecked(Prefs.WriteSources);
    d.Edit_minWidth.SetText(std::to_string(settings::PixelLimit(Prefs.MinWidth)));
    d.Edit_minHeight.SetText(std::to_string(settings::PixelLimit(Prefs.MinHeight)));
    // A quarter of the way into the result list (the window's outer corner plus designed units).
    d.SetBounds(Left() + Scaled(ListBox1.Left() + ListBox1.Width() / 4),
                Top() + Scaled(ListBox1.Top() + ListBox1.Height() / 4), d.Width(), d.Height());
    if (d.ShowModal() != forms::mrOk) return;

    // In this order: an empty field stops here with its error, the values before it applied.
    MinFilesize = settings::BytesStored(settings::FieldValue(d.Edit1.Text()));
    MaxFilesize = settings::BytesStored(settings::FieldValue(d.Edit2.Text()));
    MaxFileCount = settings::FieldValue(d.Edit3.Text());
    SimultaneousDownloads = settings::FieldValue(d.Edit4.Text());
    Prefs.SkipIdentical = d.CheckBox_skipIdentical.Checked();
    Prefs.OnlyPictures = d.CheckBox_onlyPictures.Checked();
    Prefs.WriteSources = d.CheckBox_writeSources.Checked();
    Prefs.MinWidth = settings::PixelLimit(d.Edit_minWidth.Text());
    Prefs.MinHeight = settings::PixelLimit(d.Edit_minHeight.Text());
    SaveOnExitAsk = d.CheckBox1.Checked();
    ShowMainMenu = d.CheckBox2.Checked();
    // With no entry selected the level stays what it was.
    SafeSearchT = settings::SafeSearchForRow(d.ComboBox1.ItemIndex(), SafeSearchT);
    PopShowMenu1->Checked = ShowMainMenu;
    MainMenu_ShowMenu->Checked = ShowMainMenu;
    SetMenu(ShowMainMenu ? &MainMenu1 : nullptr);
    // The toggle inverts the flag again, so the strip ends shown exactly when the box is ticked.
    ShowThumbsList = !d.CheckBox3.Checked();
    ToggleThumbStrip();
}

}  // namespace mainwindow
