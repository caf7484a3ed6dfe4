#include "mainwindow/searchsession.h"

#include <windows.h>
#include <wininet.h>

#include "forms/messageloop.h"

namespace mainwindow {

SearchSession::~SearchSession() {
    *stop_ = true;
    link_->Detach();
}

bool SearchSession::Connected() const {
    if (ConnectionTest) return ConnectionTest();
    DWORD flags = 0;
    return InternetGetConnectedState(&flags, 0) != FALSE;
}

void SearchSession::Command(const std::function<bool()>& ask, std::function<void()> rest) {
    if (commandBusy_) return;
    commandBusy_ = true;
    try {
        if (ask()) {
            if (job_) {
                pending_ = std::move(rest);  // Finish hands it back
                return;
            }
            rest();
        }
    } catch (...) {
        commandBusy_ = false;
        throw;
    }
    commandBusy_ = false;
}

void SearchSession::Start(engine::SearchRequest request) {
    *stop_ = false;
    saved_ = false;
    running_ = true;
    request.sink = link_;
    request.stop = stop_;
    engine::TDownThread* job = MakeJob(request);
    job_ = job;
    job->Start();
}

void SearchSession::Stop() {
    *stop_ = true;
    running_ = false;
}

void SearchSession::Finish() {
    *stop_ = true;
    running_ = false;
    job_ = nullptr;
    if (pending_) ResumeCommand();
}

// The link says whether the window, and this session with it, is still there when the rest runs.
void SearchSession::ResumeCommand() {
    const bool queued = link_->PostToUi([this, link = link_] {
        if (!link->Window()) return;
        std::function<void()> rest = std::move(pending_);
        pending_ = nullptr;
        if (!forms::Terminated()) forms::Guarded(rest);
        commandBusy_ = false;
    });
    if (!queued) {
        pending_ = nullptr;
        commandBusy_ = false;
    }
}

}  // namespace mainwindow
