#pragma once
// What the end-to-end scan tests share: a sink that plays the main window, a fresh target
// folder, the image fixtures and results pages in the classic markup.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/downthread.h"
#include "engine/naming.h"
#include "platform/text.h"
#include "platform/uithread.h"
#include "support/http_server.h"
#include "support/temp_folder.h"
#include "support/ui_loop.h"

std::string Fixture(const std::string& name);  // tests/data/scan, compiled in

namespace scantest {

struct Entry {
    std::string pageLine, imageLine, fileName;
    std::shared_ptr<imaging::Picture> picture;
};

// Plays the main window: the result list, the fetched-image list (kept across searches, as
// for the whole program run), the cursor and the labels. Runs on the test's (UI) thread.
class WindowSink : public engine::JobSink {
public:
    void RunUiStep(const std::function<void()>& step) override {
        // A window that has gone: its steps cannot run, as the main window's sink reports.
        if (stepsBeforeGone == 0) throw std::runtime_error("The window has gone");
        if (stepsBeforeGone > 0) stepsBeforeGone--;
        ui.Run(step);
    }
    bool PostToUi(std::function<void()> fn) override { return ui.Post(std::move(fn)); }
    void ShowProgress(const std::string& l2, const std::string& l1) override { progress.push_back(l2 + " / " + l1); }
    void ShowServiceBusy(const std::string& label, bool) override { progress.push_back(label); }
    void SearchDone(bool nothing) override { done.push_back(nothing ? "No downloads to get for this..." : "done"); }
    void DownloadsFinished(const std::string& err) override { error = err, finished++; }
    void SetListBusy(bool b) override {
        OnUiThread();
        busy = b;
        busyCalls++;
    }
    bool IsFetched(const std::string& url) override {
        OnUiThread();
        for (auto& f : fetchedList)
            if (platform::SameAsciiIgnoringCase(f, url)) return true;
        return false;
    }
    void AddResultEntry(const std::string& page, const std::string& image, const std::string& name,
                        std::unique_ptr<imaging::Picture> picture) override {
        OnUiThread();
        entries.push_back({page, image, name, std::move(picture)});
        fetchedList.push_back(image);
    }
    void OnUiThread() { EXPECT_EQ(GetCurrentThreadId(), uiThread); }

    std::vector<std::string> Names() const {
        std::vector<std::string> out;
        for (auto& e : entries) out.push_back(e.fileName);
        return out;
    }
    // Forgets the last search's results, as a new search clears the window (not the list).
    void NewSearch() { entries.clear(), progress.clear(), done.clear(), error.clear(), finished = 0; }

    platform::UiDispatcher ui;
    DWORD uiThread = GetCurrentThreadId();
    std::vector<Entry> entries;
    std::vector<std::string> fetchedList, progress, done;
    std::atomic<bool> busy{false};
    std::atomic<int> stepsBeforeGone{-1};  // the window goes after this many steps; -1: never
    int busyCalls = 0, finished = 0;
    std::string error;
};

// The shared temporary folder with the scan tests' own names: a missing file reads "<missing>".
struct TempDir : testsupport::TempFolder {
    const std::string path = TempFolder::path();
    std::string Read(const std::string& name) const {
        return testsupport::ReadFileIfAny(path + name).value_or("<missing>");
    }
    void Write(const std::string& name, const std::string& bytes) const { TempFolder::Write(path + name, bytes); }
};

// One result in the classic markup: image anchor, page anchor, a third anchor passed over.
inline std::string Result(const std::string& image, const std::string& page) {
    return "<div><a class=\"thumb\" href=\"" + image + "\" h=\"ID=images,1.1\"><img src=\"t.jpg\"></a>" +
           "<a class=\"tit\" href=\"" + page + "\" h=\"ID=images,1.2\">title</a>" +
           "<a class=\"site\" href=\"http://site.example/\">site</a></div>\n";
}

inline std::string Page(const std::vector<std::string>& results) {
    std::string page = "<html><body><a href=\"/\">Images</a><div id=\"b_SearchBoxAnswer\"></div>\n";
    for (auto& r : results) page += r;
    return page + "</body></html>\n";
}

// Serves `results` as the first results page; asking for the second presses Stop, as a search
// that has downloaded anything goes on asking for pages until its file limit.
inline void ServeFirstPageThenStop(testsupport::HttpServer& server, const std::vector<std::string>& results,
                                   std::atomic<bool>& stop) {
    testsupport::Response page = testsupport::Response::text(Page(results));
    server.on("/images/search", [&stop, page](const testsupport::Request& req) {
        if (req.target.find("&first=1&") != std::string::npos) return page;
        stop = true;
        return testsupport::Response::text(Page({}));
    });
}

// Starts a job as the search command does and runs the UI loop until its end handler ran.
inline void RunSearch(WindowSink& sink, const std::string& service, const std::string& folder, int32_t limit,
                      std::atomic<bool>& stop) {
    stop = false;
    auto* job = new engine::TDownThread(1, 28, 4096000, 0, limit, folder, "test", "Moderate");
    job->SetSink(engine::Unowned(sink));
    job->SetStopFlag(&stop);
    job->SetService(service);
    job->Start();
    ASSERT_TRUE(testsupport::PumpUntil([&] { return sink.finished > 0; }, 60000));
}

}  // namespace scantest
