// The search command, the Stop and Exit commands and the end of a search job.
//
// At most one job exists: a new search stops the running one and goes on only once that job's
// thread-end handler has run, so an old job can neither add results to the new list nor reset
// the new search's flags. The command does not wait for it in a loop of its own: it may have
// been pressed inside a message box that the old job's end is showing, and that box could
// never close under a loop waiting for it. Instead the rest of the command is run after the
// end handler has returned. One search command runs at a time; a second Search (or Enter)
// while one is in progress, or waiting, does nothing.
#include <windows.h>
#include <wininet.h>

#include <string>

#include "engine/downthread.h"
#include "platform/application.h"
#include "engine/query.h"
#include "forms/messageloop.h"
#include "forms/msgbox.h"
#include "mainwindow/environment.h"
#include "mainwindow/keywords.h"
#include "mainwindow/mainform.h"
#include "mainwindow/state.h"
#include "settings/settingsfile.h"

namespace mainwindow {

std::function<bool()> TForm1::ConnectionTest;
std::function<void(engine::TDownThread&)> TForm1::ConfigureJob;

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

bool TForm1::IsInternetConnected() {
    if (ConnectionTest) return ConnectionTest();
    DWORD flags = 0;
    return InternetGetConnectedState(&flags, 0) != FALSE;
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
    if (commandBusy_) return;
    commandBusy_ = true;
    struct Done {
        TForm1& f;
        ~Done() {
            if (!f.searchPending_) f.commandBusy_ = false;
        }
    } done{*this};

    const bool wasRunning = SearchRunning > 0;
    if (!StopRequested) {
        int answer = forms::ShowBox(forms::BoxKind::Confirm,
                                    "Already doing a search. want to stop it\rand start this other one ?", MB_OKCANCEL);
        if (answer != IDOK) return;
        Button_stopsearchClick(this);
    }
    if (jobAlive_) {
        searchPending_ = true;  // DownloadsFinished hands the rest back (ContinueSearch)
        pendingWasRunning_ = wasRunning;
        return;
    }
    ContinueSearch(wasRunning);
}

void TForm1::ContinueSearch(bool wasRunning) {
    if (ListBox1.Count() > 0 && !ResultsSaved && SaveOnExitAsk) {
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
    if (!wasRunning && !IsInternetConnected()) {
        forms::ShowBox(forms::BoxKind::Plain, "No connection to Internet !");
        return;
    }
    Sleep(static_cast<DWORD>(Env().searchStartPauseMs));

    const int32_t first = 1, pageSize = 28;
    StopRequested = false;
    ResultsSaved = false;
    ClearResults();
    SetSearchingState(true);

    KeywordsToTop(ComboBox_search.Text());

    Label2.SetText("Doing: " + std::to_string(first) + " of ...");
    QueryKeywords = QueryFromKeywords(ComboBox_search.Text());
    SearchRunning = 1;

    auto* job = new engine::TDownThread(first, pageSize, MaxFilesize, MinFilesize, MaxFileCount, SavePath,
                                        QueryKeywords, SafeSearchT);
    job->SetSink(link_);
    job->SetStopFlag(&StopRequested);
    job->SetService(SearchService);
    job->SetFilters(settings::FilterQuery(SearchFilters), SearchFilters.market);
    job->SetAgent(platform::ApplicationTitle());
    job->SetParallel(SimultaneousDownloads);
    if (ConfigureJob) ConfigureJob(*job);
    CurrentSearch = job;
    jobAlive_ = true;
    job->Start();
}

// The waiting search command goes on from the message loop, after the old job has freed
// itself; the command stays busy until then.
void TForm1::ResumePendingSearch() {
    bool queued = link_->PostToUi([link = link_] {
        TForm1* f = link->Window();  // none when the window has gone meanwhile
        if (!f) return;
        f->searchPending_ = false;
        struct Done {
            bool& busy;
            ~Done() { busy = false; }
        } done{f->commandBusy_};
        if (!forms::Terminated()) forms::Guarded([&] { f->ContinueSearch(f->pendingWasRunning_); });
    });
    if (!queued) searchPending_ = commandBusy_ = false;
}

void TForm1::Button_stopsearchClick(Component*) {
    StopRequested = true;
    if (SearchRunning > 0) {
        if (CurrentSearch) CurrentSearch->Terminate();
        SearchRunning = 0;
    }
}

void TForm1::Button_exitClick(Component*) { Close(); }

void TForm1::ShowProgress(const std::string& label2, const std::string& label1) {
    Label2.SetText(label2);
    Label1.SetText(label1);
}

void TForm1::SearchDone(bool downloadedNothing) {
    if (downloadedNothing) forms::ShowBox(forms::BoxKind::Information, "No downloads to get for this...");
    CurrentSearch = nullptr;
}

void TForm1::DownloadsFinished(const std::string& error) {
    // An error that ended the run stays in the progress label, so that the end has a reason.
    if (!error.empty()) Label2.SetText("Search ended: " + error);
    struct Ended {
        TForm1& f;
        ~Ended() {
            f.jobAlive_ = false;
            CurrentSearch = nullptr;  // the job frees itself right after this handler
            if (f.searchPending_) f.ResumePendingSearch();
        }
    } ended{*this};
    forms::ShowBox(forms::BoxKind::Information, "Finished all downloads...");
    SearchRunning = 0;
    Button_stopsearch.SetBold(false);
    Button_search.SetBold(true);
    Button_savepath.SetEnabled(true);
    StopRequested = true;
    Button_stopsearch.SetEnabled(false);
    MainMenu_SizeToDownload->Enabled = true;
    PopSizeToDownload1->Enabled = true;
    MainMenu_Filters->Enabled = true;
    PopFilters1->Enabled = true;
}

}  // namespace mainwindow
