// The save and load commands of the main window: the Result entries on show to a saved
// search beside the executable and back.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/application.h"
#include "platform/codepage.h"
#include "forms/msgbox.h"
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

// Keeps a window from painting while many children or lines come and go; each change would
// otherwise redraw it (and its scroll bar) at once. Repainted whole when the scope ends.
class NoRedraw {
public:
    explicit NoRedraw(HWND h) : h_(h) { SendMessageA(h_, WM_SETREDRAW, FALSE, 0); }
    ~NoRedraw() {
        SendMessageA(h_, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(h_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
    NoRedraw(const NoRedraw&) = delete;
    NoRedraw& operator=(const NoRedraw&) = delete;

private:
    HWND h_;
};

using Pictures = std::vector<std::unique_ptr<imaging::Picture>>;

// Decodes the stored thumbnails on worker threads while the UI thread builds the strip.
// Bytes the decoder rejects are kept as they are, drawn as nothing. Joined on destruction.
class Decoder {
public:
    explicit Decoder(std::vector<std::optional<Bytes>>& records) : out_(records.size()) {
        unsigned workers = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
        for (unsigned w = 0; w < workers; ++w)
            threads_.emplace_back([this, &records, w, workers] {
                for (size_t i = w; i < records.size(); i += workers) {
                    if (!records[i]) continue;
                    try {
                        auto p = std::make_unique<imaging::Picture>();
                        p->SetJpegBytes(std::move(*records[i]));
                        out_[i] = std::move(p);
                    } catch (...) {
                        // Out of memory for one picture: that thumbnail stays empty.
                    }
                }
            });
    }
    Pictures& Wait() {
        threads_.clear();  // joins
        return out_;
    }

private:
    Pictures out_;
    std::vector<std::jthread> threads_;
};

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
    const std::string base = platform::ExeFolder() + name;
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
    const std::string base = platform::ExeFolder() + name;
    if (!FileExists(base + kLinkExt)) {
        Inform("No file for those keywords found ...");
        return;
    }

    NoRedraw quietList(ListBox1.Handle()), quietStrip(ScrollBox1.Handle());
    const int shown = ListBox1.Count();
    for (int i = 0; i < shown; ++i)
        if (forms::Image* thumb = Thumbnail(i)) ScrollBox1.DestroyChild(thumb);
    ListBox1.Clear();
    // A set saved in the legacy code page comes back in the program's one (platform/codepage.h).
    const Bytes links = ReadWholeFile(base + kLinkExt, true);
    const std::string linkText = platform::StoredText(std::string(links.begin(), links.end()));
    for (const std::string& line : SplitLinkLines(AsBytes(linkText))) ListBox1.Add(line);
    const int n = ListBox1.Count();

    // A missing thumbnail file ends the command here, the loaded lines on show.
    std::vector<std::optional<Bytes>> records = ReadThumbnailRecords(ReadWholeFile(base + kThumbExt, false), n);
    Decoder decoder(records);
    // From the fifth thumbnail on the strip follows the newest one. Scrolling moves every
    // thumbnail window, so the position is followed here and the strip scrolled once at the
    // end, to where scrolling at each step would have brought it.
    const int shownAt = ScrollBox1.VertPosition();
    int position = shownAt;
    for (int i = 0; i < n; ++i) {
        try {
            const std::string thumbName = "Image_" + std::to_string(i);
            const int top = ThumbContentTop(i) - position;
            auto* thumb = ScrollBox1.Adopt<forms::Image>(forms::Design{.name = thumbName.c_str(),
                                                                       .left = kThumbLeft,
                                                                       .top = ThumbContentTop(i) - shownAt,
                                                                       .width = kThumbWidth,
                                                                       .height = kThumbHeight});
            thumb->Tag = i;
            thumb->OnMouseDown = [this](Component* s, forms::MouseButton b, unsigned sh, int x, int y) {
                ThumbnailMouseDown(s, b, sh, x, y);
            };
            thumb->OnDblClick = [this](Component* s) { ListBox1DblClick(s); };
            // No tooltip: hint display stays off for loaded thumbnails.
            if (i > 3) position = std::clamp(top + thumb->Height(), 0, ScrollBox1.VertMax());
        } catch (...) {
            // One thumbnail that cannot be made leaves only its own place empty.
        }
    }
    Pictures& pictures = decoder.Wait();
    for (int i = 0; i < n; ++i)
        if (forms::Image* thumb = Thumbnail(i); thumb && pictures[i]) thumb->SetPicture(std::move(pictures[i]));
    ScrollBox1.SetVertPosition(position);

    if (FileExists(base + kNameExt)) {
        std::vector<std::string> names = ReadNameRecords(ReadWholeFile(base + kNameExt, false), n);
        for (int i = 0; i < n; ++i)
            if (forms::Image* thumb = Thumbnail(i)) thumb->SetHint(platform::StoredText(names[i]));
    }

    ComboBox_search.SetText(name);
    KeywordsToTop(name);

    Label2.SetText("Doing: " + std::to_string(n) + " of " + std::to_string(n));
    Settings().WriteInteger(settings::kLastLoaded, chooser.ComboBox_search->ItemIndex());
    ResultsSaved = true;
    LoadedName = name;
}

}  // namespace mainwindow
