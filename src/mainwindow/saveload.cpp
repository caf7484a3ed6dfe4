// The save and load commands of the main window: the Result entries on show to a saved
// search beside the executable and back.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/codepage.h"
#include "forms/msgbox.h"
#include "mainwindow/mainform.h"
#include "mainwindow/state.h"
#include "mainwindow/stripgeom.h"
#include "savedsearch/chooser.h"
#include "savedsearch/setfiles.h"
#include "engine/untrusted.h"
#include "settings/datafolder.h"
#include "settings/rules.h"
#include "settings/settingsfile.h"
#include "platform/systemtext.h"
#include "platform/text.h"

namespace mainwindow {

// A saved search read whole, checked, before the window changes at all.
struct LoadedSet {
    std::vector<std::string> lines;
    std::vector<std::optional<savedsearch::Bytes>> thumbs;
    std::vector<std::string> names;  // "" where the name could mean anything but a file in the target folder
};

using forms::BoxKind;
using forms::ShowBox;
using namespace savedsearch;

namespace {

void Inform(const std::string& text) { ShowBox(BoxKind::Information, text); }

// Throws the file errors of ReadWholeFile, and SetTooLarge.
LoadedSet ReadSet(const std::string& base) {
    LoadedSet set;
    // A set saved in the legacy code page comes back in the program's one (platform/codepage.h).
    const Bytes links = ReadWholeFile(base + kLinkExt, true);
    const std::string linkText = platform::StoredText(std::string(links.begin(), links.end()));
    set.lines = SplitLinkLines(AsBytes(linkText));
    if (set.lines.size() > kMaxSetEntries) throw SetTooLarge();
    set.thumbs = ReadThumbnailRecords(ReadWholeFile(base + kThumbExt, false), set.lines.size());
    set.names.resize(set.lines.size());
    if (FileExists(base + kNameExt)) {
        set.names = ReadNameRecords(ReadWholeFile(base + kNameExt, false), set.lines.size());
        for (std::string& name : set.names) {
            name = platform::StoredText(name);
            // Names come from whoever made the set: only a plain name of the target folder is kept.
            if (!engine::IsPlainFileName(name)) name.clear();
        }
    }
    return set;
}

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
    if (search_.Running()) {
        Inform("Don't save during a running search,\rstop it first...");
        return;
    }
    SaveResults();
}

void TForm1::SaveResults() {
    if (!search_.Saved()) loadedName_.clear();
    // Results that came from a load are saved again under the name they were loaded from.
    const std::string name = loadedName_.empty() ? QueryKeywords : loadedName_;
    if (name.empty()) {
        Inform("There are no search keywords to name this list after, so it was not saved.");
        return;
    }
    const std::string base = settings::DataFolder() + name;
    // Keywords holding a folder or drive part would name a file outside the program's folder:
    // they fail as any other name a file cannot have.
    if (name.find_first_of("\\/:") != std::string::npos)
        throw std::runtime_error("Cannot create file \"" + base + kThumbExt + "\". " +
                                 platform::SystemReason(ERROR_INVALID_NAME));
    if (FileExists(base + kThumbExt) &&
        ShowBox(BoxKind::Confirm, "File already exists. Want to overwrite it with this new data?",
                forms::kBoxYesCancel) != IDYES)
        return;

    // Everything is gathered before the first file is touched. A thumbnail without JPEG data
    // (a picture that failed to render) is kept as an entry without a picture.
    SetContents set;
    const int n = ListBox1.Count();
    for (int i = 0; i < n; ++i) {
        forms::Image* thumb = Thumbnail(i);
        const bool jpeg = thumb && thumb->GetPicture().IsJpeg();
        set.jpegs.push_back(jpeg ? thumb->GetPicture().JpegBytes() : Bytes{});
        set.names.push_back(thumb ? thumb->Hint() : std::string());
        set.lines.push_back(ListBox1.Item(i));
    }
    WriteSet(base, set);  // on failure no half set stays; the error handler shows why
    Inform("Saved search results to disk.");
    search_.SetSaved(true);
}

void TForm1::PopLoad1Click(Component*) {
    if (search_.Running()) {
        Inform("Don't load during a running search,\rstop it first...");
        return;
    }
    TForm_oldsearchs& chooser = *Form_oldsearchs;
    if (chooser.ShowModal() != forms::mrOk) return;
    const std::string name = chooser.ComboBox_search.Text();
    if (platform::IsBlank(name)) {
        Inform("No file selected ...");
        return;
    }
    const std::string base = settings::DataFolder() + name;
    if (!FileExists(base + kLinkExt)) {
        Inform("No file for those keywords found ...");
        return;
    }

    // Every file is read and the chooser's place written before the window changes: a load
    // that fails leaves the list, its name and its saved state as they were.
    LoadedSet set;
    try {
        set = ReadSet(base);
    } catch (const SetTooLarge&) {
        Inform("This saved search is too large to load:\r" + name + "\r(more than " + std::to_string(kMaxSetEntries) +
               " entries, or a file over 1 GB).");
        return;
    }
    Settings().WriteInteger(settings::kLastLoaded, chooser.ComboBox_search.ItemIndex());

    try {
        ShowLoadedSet(set);
    } catch (...) {
        // Nothing half-shown stays: the list, its name and its saved state go together.
        DestroyThumbnails();
        ListBox1.Clear();
        loadedName_.clear();
        search_.SetSaved(false);
        throw;
    }
    ComboBox_search.SetText(name);
    KeywordsToTop(name);
    Label2.SetText("Doing: " + std::to_string(set.lines.size()) + " of " + std::to_string(set.lines.size()));
    search_.SetSaved(true);
    loadedName_ = name;
}

void TForm1::ShowLoadedSet(LoadedSet& set) {
    NoRedraw quietList(ListBox1.Handle()), quietStrip(ScrollBox1.Handle());
    DestroyThumbnails();
    ListBox1.Clear();
    for (const std::string& line : set.lines) ListBox1.Add(line);
    const int n = ListBox1.Count();

    Decoder decoder(set.thumbs);
    // From the fifth thumbnail on the strip follows the newest one. Scrolling moves every
    // thumbnail window, so the position is followed here and the strip scrolled once at the
    // end, to where scrolling at each step would have brought it.
    const int shownAt = ScrollBox1.VertPosition();
    int position = shownAt;
    // The range is worked out once at the end, not for each thumbnail: followed here instead.
    int range = ScrollBox1.VertRange();
    forms::ScrollBox::RangeHold hold(ScrollBox1);
    thumbs_.assign(static_cast<size_t>(n), nullptr);
    for (int i = 0; i < n; ++i) {
        try {
            const int top = ThumbContentTop(i) - position;
            // No tooltip: hint display stays off for loaded thumbnails.
            forms::Image* thumb = NewThumbnail(i, ThumbContentTop(i) - shownAt, set.names[static_cast<size_t>(i)]);
            thumbs_[static_cast<size_t>(i)] = thumb;
            range = std::max(range, ThumbContentTop(i) + thumb->Height());
            if (i > 3) position = std::clamp(top + thumb->Height(), 0, std::max(0, range - ScrollBox1.ClientHeight()));
        } catch (...) {
            // One thumbnail that cannot be made leaves only its own place empty.
        }
    }
    Pictures& pictures = decoder.Wait();
    for (int i = 0; i < n; ++i)
        if (forms::Image* thumb = Thumbnail(i); thumb && pictures[i]) thumb->SetPicture(std::move(pictures[i]));
    hold.Release();
    ScrollBox1.SetVertPosition(position);
}

}  // namespace mainwindow
