#pragma once
// The console front end's side of a search: it plays the main window for the job. Its steps run
// on the thread that hands them over, one at a time; the end of the run is posted to the main
// thread, whose message loop ends then. Lines go to stdout, progress and messages to stderr.
#include <mutex>
#include <string>
#include <unordered_set>

#include "engine/jobsink.h"
#include "platform/uithread.h"

namespace cli {

// Writes text of the process code page to stdout or stderr: to a console as UTF-16, so it shows
// whatever the console's code page; redirected to a file or a pipe as UTF-8.
void Print(bool toStderr, const std::string& text);

class ConsoleSink : public engine::JobSink {
public:
    explicit ConsoleSink(bool quiet) : quiet_(quiet) {}

    void RunUiStep(const std::function<void()>& step) override;
    bool HasBusyCursor() const override { return false; }
    bool PostToUi(std::function<void()> fn) override { return ui_.Post(std::move(fn)); }
    void ShowProgress(const std::string& label2, const std::string& label1) override;
    void ShowServiceBusy(const std::string& label, bool first) override;
    void ShowNotice(const std::string& text) override;
    void SearchDone(bool downloadedNothing) override;
    void DownloadsFinished(const std::string& error) override;
    bool IsFetched(const std::string& imageUrl) override;
    void AddResultEntry(const std::string& pageLine, const std::string& imageLine, const std::string& fileName,
                        std::unique_ptr<imaging::Picture> picture) override;

    // Runs the UI thread's message loop until the job's end handler has run.
    void RunUntilFinished();
    // Before each search of a run: its end and error are its own; the downloaded count and the
    // fetched images go on for the whole run.
    void BeginSearch() { finished_ = false, error_.clear(); }

    void Message(const std::string& text);  // a progress text, unless quiet
    int Downloaded() const { return downloaded_; }
    const std::string& Error() const { return error_; }

private:
    platform::UiDispatcher ui_;  // the main thread's: the end of the run is posted to it
    std::mutex steps_;           // held while a step runs
    bool quiet_;
    bool finished_ = false;
    int downloaded_ = 0;
    std::string error_;
    std::unordered_set<std::string> fetched_;  // image lines in lower case: the whole run
};

}  // namespace cli
