// The save and load commands of the main window: the Result entries on show to a saved
// search beside the executable and back.
#include <memory>
#include <string>
#include <vector>

#include "forms/application.h"
#include "forms/msgbox.h"
#include "mainwindow/keywords.h"
#include "mainwindow/mainform.h"
#include "mainwindow/state.h"
#include "mainwindow/stripgeom.h"
#include "savedsearch/chooser.h"
#include "savedsearch/setfiles.h"
#include "settings/rules.h"
#include "settings/settingsfile.h"

namespace savedsearch {

// The name of the saved search on show, when the results came from a load. A search started
// since then clears `ResultsSaved`, and a save seeing that forgets the name.
std::string LoadedName;

}  // namespace savedsearch

namespace mainwindow {

using forms::BoxKind;
using forms::ShowBox;
using namespace savedsearch;

namespace {

void Inform(const std::string& text) { ShowBox(BoxKind::Information, text); }

}  // namespace

void TForm1::PopSave1Click(Component*) {
    if (SearchRunning > 0) {
        Inform("Don't save during a running search,\rstop it first...");
        return;
    }
    if (!ResultsSaved) LoadedName.clear();
    // Results that came from a load are saved again under the name they were loaded from.
    const std::string name = LoadedName.empty() ? QueryKeywords : LoadedName;
    if (name.empty()) {
        Inform("There are no search keywords to name this list after, so it was not saved.");
        return;
    }
    const std::string base = forms::ExeFolder() + name;
    if (FileExists(base + kThumbExt) &&
        ShowBox(BoxKind::Confirm, "File already exists. Want to overwrite it with this new data?",
                forms::kBoxYesCancel) != IDYES)
        return;

    // Everything is gathered before the first file is touched, so a thumbnail that cannot be
    // saved leaves the old set as it was.
    SetContents set;
    const int n = ListBox1.Count();
    for (int i = 0; i < n; ++i) {
        forms::Image* thumb = Thumbnail(i);
        if (!thumb || !thumb->GetPicture().IsJpeg() || thumb->GetPicture().JpegBytes().empty()) {
            Inform("Thumbnail " + std::to_string(i + 1) + " of " + std::to_string(n) +
                   " has no picture data,\rso the search list was not saved.");
            return;
        }
        set.jpegs.push_back(thumb->GetPicture().JpegBytes());
        set.names.push_back(thumb->Hint());
        set.lines.push_back(ListBox1.Item(i));
    }
    WriteSet(base, set);  // on failure no half set stays; the error handler shows why
    Inform("Saved search results to disk.");
    ResultsSaved = true;
}

void TForm1::PopLoad1Click(Component*) {
    if (SearchRunning > 0) {
        Inform("Don't load during a running search,\rstop it first...");
        return;
    }
    TForm_oldsearchs& chooser = *Form_oldsearchs;
    if (chooser.ShowModal() != forms::mrOk) return;
    const std::string name = chooser.ComboBox_search->Text();
    if (settings::IsBlankEntry(name)) {
        Inform("No file selected ...");
        return;
    }
    const std::string base = forms::ExeFolder() + name;
    if (!FileExists(base + kLinkExt)) {
        Inform("No file for those keywords found ...");
        return;
    }

    const int shown = ListBox1.Count();
    for (int i = 0; i < shown; ++i)
        if (forms::Image* thumb = Thumbnail(i)) ScrollBox1.DestroyChild(thumb);
    ListBox1.Clear();
    for (const std::string& line : SplitLinkLines(ReadWholeFile(base + kLinkExt, true))) ListBox1.Add(line);
    const int n = ListBox1.Count();

    // A missing thumbnail file ends the command here, the loaded lines on show.
    std::vector<std::optional<Bytes>> pictures = ReadThumbnailRecords(ReadWholeFile(base + kThumbExt, false), n);
    for (int i = 0; i < n; ++i) {
        try {
            const std::string thumbName = "Image_" + std::to_string(i);
            const int top = ThumbContentTop(i) - ScrollBox1.VertPosition();
            auto* thumb = ScrollBox1.Adopt<forms::Image>(forms::Design{
                .name = thumbName.c_str(), .left = kThumbLeft, .top = top, .width = kThumbWidth, .height = kThumbHeight});
            thumb->Tag = i;
            thumb->OnMouseDown = [this](Component* s, forms::MouseButton b, unsigned sh, int x, int y) {
                ThumbnailMouseDown(s, b, sh, x, y);
            };
            thumb->OnDblClick = [this](Component* s) { ListBox1DblClick(s); };
            // No tooltip: hint display stays off for loaded thumbnails.
            if (pictures[i]) {
                auto picture = std::make_unique<forms::Picture>();
                // Bytes the decoder rejects are kept as they are, drawn as nothing.
                picture->SetJpegBytes(std::move(*pictures[i]));
                thumb->SetPicture(std::move(picture));
            }
            if (i > 3) ScrollBox1.SetVertPosition(top + thumb->Height());
        } catch (...) {
            // One thumbnail that cannot be made leaves only its own place empty.
        }
    }

    if (FileExists(base + kNameExt)) {
        std::vector<std::string> names = ReadNameRecords(ReadWholeFile(base + kNameExt, false), n);
        for (int i = 0; i < n; ++i)
            if (forms::Image* thumb = Thumbnail(i)) thumb->SetHint(names[i]);
    }

    ComboBox_search.SetText(name);
    std::vector<std::string> history = ComboBox_search.Items();
    int from = PutOnTop(history, name);
    if (from < 0) {
        ComboBox_search.InsertItem(0, name);
    } else if (from > 0) {
        ComboBox_search.DeleteItem(from);
        ComboBox_search.InsertItem(0, history[0]);
    }
    ComboBox_search.SetItemIndex(0);

    Label2.SetText("Doing: " + std::to_string(n) + " of " + std::to_string(n));
    settings::SettingsFile(settings::DefaultSettingsPath())
        .WriteInteger(settings::kLastLoaded, chooser.ComboBox_search->ItemIndex());
    ResultsSaved = true;
    LoadedName = name;
}

}  // namespace mainwindow
