#pragma once
// What the creator of a search job hands it: the way to the UI thread and the UI-step bodies.
// The engine knows no window; the main window (or the console front end) implements this.
#include <functional>
#include <memory>
#include <string>

#include "imaging/picture.h"

namespace engine {

using imaging::Picture;

class JobSink {
public:
    virtual ~JobSink() = default;

    // Called on the worker. RunUiStep runs the step on the UI thread and returns once it has
    // run (steps run in the order handed over); while it waits the worker pumps only its own
    // thread's messages. It throws when the step cannot run (the window has gone), which ends
    // the run. PostToUi queues work for the UI thread and returns at once; false when the work
    // cannot be queued.
    virtual void RunUiStep(const std::function<void()>& step) = 0;
    virtual bool PostToUi(std::function<void()> fn) = 0;

    // Called on the UI thread, inside a UI step.
    virtual void ShowProgress(const std::string& label2, const std::string& label1) = 0;
    // While a busy service is waited for, once a second: the label and whether it is the first.
    virtual void ShowServiceBusy(const std::string& label, bool first) {}
    // A problem that does not end the search (the sources file cannot be written), told once.
    virtual void ShowNotice(const std::string& text) {}
    // The closing step: shows "No downloads to get for this..." when nothing was downloaded.
    virtual void SearchDone(bool downloadedNothing) = 0;

    // Called on the UI thread, inside UI steps of the page scan.
    // The result list shows the hourglass cursor while busy (around each download). A sink with
    // no cursor to show (the console) says so, and no step is handed over for it.
    virtual bool HasBusyCursor() const { return true; }
    virtual void SetListBusy(bool busy) {}
    // The duplicate test: whether the fetched-image list holds this address, case ignored.
    virtual bool IsFetched(const std::string& imageUrl) { return false; }
    // One Result entry: the page line goes to the result list, the image line to the
    // fetched-image list, and a thumbnail control shows the picture (null when making it
    // failed: the control then shows none). fileName is the name in the target folder.
    virtual void AddResultEntry(const std::string& pageLine, const std::string& imageLine, const std::string& fileName,
                                std::unique_ptr<Picture> picture) {}

    // Called on the UI thread once the run has returned, after every run: the thread-end
    // handler. `error` is the text of the error that ended the run, empty when none did.
    virtual void DownloadsFinished(const std::string& error) = 0;
};

// A sink (or a stop flag) the caller keeps alive until the job has ended (a console run, a
// test): the job then shares no ownership of it.
template <class T>
std::shared_ptr<T> Unowned(T& thing) {
    return std::shared_ptr<T>(std::shared_ptr<T>(), &thing);
}

}  // namespace engine
