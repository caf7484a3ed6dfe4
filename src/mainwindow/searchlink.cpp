#include "mainwindow/searchlink.h"

#include <stdexcept>

#include "forms/msgbox.h"
#include "mainwindow/mainform.h"

namespace mainwindow {

void SearchLink::RunUiStep(const std::function<void()>& step) {
    ui_.Run([&] {
        if (!window_) throw std::runtime_error("The window has closed.");
        step();
    });
}

void SearchLink::ShowProgress(const std::string& label2, const std::string& label1) {
    if (window_) window_->ShowProgress(label2, label1);
}

void SearchLink::ShowServiceBusy(const std::string& label, bool) {
    if (window_) window_->Label2.SetText(label);
}

// A problem the search goes on with (the list of sources cannot be written): a box, since a
// label would be overwritten by the next image's progress.
void SearchLink::ShowNotice(const std::string& text) {
    if (window_) forms::ShowBox(forms::BoxKind::Warning, text);
}

void SearchLink::SearchDone(bool downloadedNothing) {
    if (window_) window_->SearchDone(downloadedNothing);
}

void SearchLink::SetListBusy(bool busy) {
    if (window_) window_->SetListBusy(busy);
}

bool SearchLink::IsFetched(const std::string& imageUrl) { return window_ && window_->IsFetched(imageUrl); }

void SearchLink::AddResultEntry(const std::string& pageLine, const std::string& imageLine, const std::string& fileName,
                                std::unique_ptr<imaging::Picture> picture) {
    if (window_) window_->AddResultEntry(pageLine, imageLine, fileName, std::move(picture));
}

void SearchLink::DownloadsFinished(const std::string& error) {
    if (window_) window_->DownloadsFinished(error);
}

}  // namespace mainwindow
