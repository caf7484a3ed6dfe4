// The main window's side of the Filters dialog: fill it from the filters in force, show it,
// take its choice after "Ok"; and the window's line that says which filters are in force.
#include "mainwindow/mainform.h"
#include "mainwindow/state.h"
#include "settings/filtersdialog.h"

namespace mainwindow {

namespace {
// The progress band as designed, and grown by one line for the filter line.
constexpr int kBandHeight = 41, kBandWithFilters = 57;
}  // namespace

void TForm1::PopFilters1Click(Component*) {
    if (!settings::Form_filters) return;
    settings::TForm_filters& d = *settings::Form_filters;
    d.Fill(SearchFilters);
    // Where the options dialog shows: a quarter of the way into the result list.
    d.SetBounds(Left() + ListBox1.Left() + ListBox1.Width() / 4, Top() + ListBox1.Top() + ListBox1.Height() / 4,
                d.Width(), d.Height());
    if (d.ShowModal() != forms::mrOk) return;
    SearchFilters = d.Choice();
    ShowFilterLine();
}

void TForm1::ShowFilterLine() {
    std::string line = settings::FilterLine(SearchFilters);
    Label_filters.SetText(line);
    Label_filters.SetHint(line);  // the whole text where the line is too narrow for it
    Label_filters.SetShowHint(!line.empty());
    bool shown = !line.empty();
    if (Label_filters.Visible() == shown && Bevel2.Height() == (shown ? kBandWithFilters : kBandHeight)) return;
    Label_filters.SetVisible(shown);
    Bevel2.SetHeight(shown ? kBandWithFilters : kBandHeight);
    Panel_Main.Realign();
}

}  // namespace mainwindow
