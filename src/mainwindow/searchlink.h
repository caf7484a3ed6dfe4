#pragma once
// The main window's side of a running search job. The job shares this object, not the window:
// when the window goes while a search is still stopping, it detaches the link and goes at
// once; the job's later UI steps then find no window (the step throws and the run ends), its
// end handler does nothing, and the job frees itself. Everything here but RunUiStep and
// PostToUi runs on the UI thread, where Detach runs too.
#include <functional>
#include <memory>
#include <string>

#include "engine/jobsink.h"
#include "platform/uithread.h"

namespace mainwindow {

class TForm1;

class SearchLink : public engine::JobSink {
public:
    explicit SearchLink(TForm1& window) : window_(&window), ui_(platform::UiDispatcher::OfThisThread()) {}
    void Detach() { window_ = nullptr; }
    TForm1* Window() const { return window_; }

    void RunUiStep(const std::function<void()>& step) override;
    bool PostToUi(std::function<void()> fn) override { return ui_.Post(std::move(fn)); }

    void ShowProgress(const std::string& label2, const std::string& label1) override;
    void ShowServiceBusy(const std::string& label, bool first) override;
    void ShowNotice(const std::string& text) override;
    void SearchDone(bool downloadedNothing) override;
    void SetListBusy(bool busy) override;
    bool IsFetched(const std::string& imageUrl) override;
    void AddResultEntry(const std::string& pageLine, const std::string& imageLine, const std::string& fileName,
                        std::unique_ptr<imaging::Picture> picture) override;
    void DownloadsFinished(const std::string& error) override;

private:
    TForm1* window_;
    platform::UiDispatcher& ui_;
};

}  // namespace mainwindow
