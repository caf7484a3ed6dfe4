// The search command, the Stop and Exit commands and the end of a search job; the search's
// own state and its one start and finish are the session's (searchsession.h).
#include <windows.h>

#include <string>

#include "engine/downthread.h"
#include "platform/application.h"
#include "engine/query.h"
#include "forms/messageloop.h"
#include "forms/msgbox.h"
#include "mainwindow/environment.h"
#include "mainwindow/keywords.h"
#include "mainwindow/mainform.h"
#include "settings/optionsrules.h"
#include "mainwindow/state.h"
#include "settings/settingsfile.h"

namespace mainwindow {

namespace {

bool FolderExists(const std::string& path) {
    if (path.empty()) return false;
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::string TForm1::ReadSearchService() {
    settings::SettingsFile file(settings::DefaultSettingsPath());
    std::string base = file.ReadText(settings::kSearchService, engine::kDefaultService);
    return base.empty() ? engine::kDefaultService : base;
}

void TForm1::SetSearchingState(bool searching) {
    Button_search.SetBold(!searching);
    Button_stopsearch.SetBold(searching);
    Button_savepath.SetEnabled(!searching);
    Button_stopsearch.SetEnabled(searching);
    MainMenu_SizeToDownload->Enabled = !searching;
    PopSizeToDownload1->Enabled = !searching;
    MainMenu_Filters->Enabled = !searching;
    PopFilters1->Enabled = !searching;
}

void TForm1::KeywordsToTop(const std::string& text) {
    std::vector<std::string> history = ComboBox_search.Items();
    int from = PutOnTop(history, text);
    if (from < 0) {
        ComboBox_search.InsertItem(0, text);
    } else if (from > 0) {
        ComboBox_search.DeleteItem(from);
        ComboBox_search.InsertItem(0, history[0]);
    }
    ComboBox_search.SetItemIndex(0);
}

void TForm1::Button_searchClick(Component*) {
    const bool wasRunning = search_.Running();
    search_.Command(
        [this] {
            if (search_.StopRequested()) return true;
            int answer =
                forms::ShowBox(forms::BoxKind::Confirm,
                               "Already doing a search. want to stop it\rand start this other one ?", MB_OKCANCEL);
            if (answer != IDOK) return false;
            Button_stopsearchClick(this);
            return true;
        },
        [this, wasRunning] { ContinueSearch(wasRunning); });
}

void TForm1::ContinueSearch(bool wasRunning) {
    if (ListBox1.Count() > 0 && !search_.Saved() && SaveOnExitAsk) {
        int answer = forms::ShowBox(forms::BoxKind::Confirm, "Want to save your search to disk before doing another ?",
                                    MB_YESNOCANCEL);
        if (answer == IDYES)
            forms::Guarded([this] { PopSave1Click(this); });  // on whatever its outcome
        else if (answer != IDNO)
            return;
    }
    if (!FolderExists(SavePath)) {
        forms::ShowBox(forms::BoxKind::Plain, "Path to save images to no longer exists..\rPlease correct !");
        return;
    }
    if (!wasRunning && !search_.Connected()) {
        forms::ShowBox(forms::BoxKind::Plain, "No connection to Internet !");
        return;
    }
    Sleep(static_cast<DWORD>(Env().searchStartPauseMs));

    ClearResults();
    SetSearchingState(true);
    KeywordsToTop(ComboBox_search.Text());
    QueryKeywords = QueryFromKeywords(ComboBox_search.Text());
    const engine::SearchRequest request{.maxSize = MaxFilesize,
                                        .minSize = MinFilesize,
                                        .fileLimit = MaxFileCount,
                                        .folder = SavePath,
                                        .keywords = QueryKeywords,
                                        .safeSearch = SafeSearchT,
                                        .service = SearchService,
                                        .filters = settings::FilterQuery(SearchFilters),
                                        .market = SearchFilters.market,
                                        .agent = platform::ApplicationTitle(),
                                        .parallel = SimultaneousDownloads,
                                        .collection = Collection()};
    Label2.SetText("Doing: " + std::to_string(request.first) + " of ...");
    search_.Start(request);
}

// What the options say a search keeps; the list of sources is "sources.csv" in the folder.
engine::CollectionOptions TForm1::Collection() const {
    return {.skipIdentical = Prefs.SkipIdentical,
            .minWidth = settings::PixelLimit(Prefs.MinWidth),
            .minHeight = settings::PixelLimit(Prefs.MinHeight),
            .onlyPictures = Prefs.OnlyPictures,
            .sourcesPath = Prefs.WriteSources ? SavePath + "sources.csv" : std::string()};
}

void TForm1::Button_stopsearchClick(Component*) { search_.Stop(); }

void TForm1::Button_exitClick(Component*) { Close(); }

void TForm1::ShowProgress(const std::string& label2, const std::string& label1) {
    Label2.SetText(label2);
    Label1.SetText(label1);
}

void TForm1::SearchDone(bool downloadedNothing) {
    if (downloadedNothing) forms::ShowBox(forms::BoxKind::Information, "No downloads to get for this...");
}

void TForm1::DownloadsFinished(const std::string& error) {
    // An error that ended the run stays in the progress label, so that the end has a reason.
    if (!error.empty()) Label2.SetText("Search ended: " + error);
    forms::ShowBox(forms::BoxKind::Information, "Finished all downloads...");
    SetSearchingState(false);
    search_.Finish();
}

}  // namespace mainwindow
