#pragma once
// One search as the main window runs it, from the command to the job's end: the job, its stop
// flag, whether the search runs, whether its results were saved, and a search command waiting
// for the old job's end. Everything here runs on the UI thread.
//
// At most one job exists: a new search stops the running one and goes on only once that job's
// thread-end handler has run, so an old job can neither add results to the new list nor reset
// the new search's state. The command does not wait for it in a loop of its own: it may have
// been pressed inside a message box that the old job's end is showing, and that box could
// never close under a loop waiting for it. Instead the rest of the command is run after the
// end handler has returned. One search command runs at a time; a second Search (or Enter)
// while one is in progress, or waiting, does nothing.
#include <atomic>
#include <functional>
#include <memory>

#include "engine/downthread.h"
#include "mainwindow/searchlink.h"

namespace mainwindow {

class TForm1;

class SearchSession {
public:
    explicit SearchSession(TForm1& window) : link_(std::make_shared<SearchLink>(window)) {}
    // A job still stopping is not waited for: it keeps only the detached link and its flag.
    ~SearchSession();
    SearchSession(const SearchSession&) = delete;
    SearchSession& operator=(const SearchSession&) = delete;

    // From the start until Stop or the job's end: Save and Load refuse meanwhile, and a new
    // search skips the connection test.
    bool Running() const { return running_; }
    // True when no search is wanted; the job's stop flag.
    bool StopRequested() const { return *stop_; }
    // From a job's start until its thread-end handler has run.
    bool JobAlive() const { return job_ != nullptr; }
    // While a search command is in progress, also while it waits for the old job's end.
    bool CommandBusy() const { return commandBusy_; }
    // The result list on show was saved or loaded; a new search's list was not.
    bool Saved() const { return saved_; }
    void SetSaved(bool saved) { saved_ = saved; }
    // Whether there is a connection to the Internet.
    bool Connected() const;
    // The window's side of the job (tests play the job's UI steps through it).
    engine::JobSink& Sink() { return *link_; }

    // The search command: `ask` runs first (false ends the command), then `rest` once no job is
    // alive: at once, or from the message loop after the old job's end handler has returned.
    void Command(const std::function<bool()>& ask, std::function<void()> rest);
    // The one start: a job for the request, with the window's link and this session's stop flag.
    void Start(engine::SearchRequest request);
    // The Stop command: the job is told to stop, and the search no longer counts as running.
    void Stop();
    // The job is told to stop; the search counts as running until the job's end (a close).
    void StopJob() { *stop_ = true; }
    // The one finish, the last thing of the job's end handler: idle again; a command waiting
    // for this end goes on from the message loop.
    void Finish();

    // Tests: the connection test, and how each new job is made.
    std::function<bool()> ConnectionTest;
    std::function<engine::TDownThread*(const engine::SearchRequest&)> MakeJob = engine::MakeJob;
    // Tests: the state of a started search, without a job.
    void MarkRunning() {
        running_ = true;
        *stop_ = false;
    }

private:
    void ResumeCommand();

    std::shared_ptr<SearchLink> link_;
    std::shared_ptr<std::atomic<bool>> stop_ = std::make_shared<std::atomic<bool>>(true);
    engine::TDownThread* job_ = nullptr;  // it frees itself right after its end handler
    bool running_ = false;
    bool saved_ = false;
    bool commandBusy_ = false;
    std::function<void()> pending_;  // the rest of a command waiting for the job's end
};

}  // namespace mainwindow
