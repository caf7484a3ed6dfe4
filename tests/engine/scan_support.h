#pragma once
// What the whole-search tests share: sinks on the test's thread, the one way they run a job, a
// fresh target folder, the image fixtures and results pages in the classic markup.
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

// The test's thread plays the UI thread: the job's steps run there and its ends are counted.
class UiSink : public engine::JobSink {
public:
    void RunUiStep(const std::function<void()>& step) override { ui.Run(step); }
    bool PostToUi(std::function<void()> fn) override { return ui.Post(std::move(fn)); }
    void DownloadsFinished(const std::string& err) override {
        OnUiThread();
        error = err;
        finished++;
    }
    void OnUiThread() { EXPECT_EQ(GetCurrentThreadId(), uiThread); }

    platform::UiDispatcher ui;
    DWORD uiThread = GetCurrentThreadId();
    std::string error;
    int finished = 0;
};

// The tests' search: "test" from `service` into `folder`, the rest as the window asks by default.
inline engine::SearchRequest TestSearch(const std::string& service, const std::string& folder, int32_t limit = 1000) {
    return {.fileLimit = limit, .folder = folder, .keywords = "test", .service = service};
}

// Starts the job the request describes as the search command does: its steps go to `sink`,
// its stop flag is `stop`, cleared first.
inline void StartJob(engine::SearchRequest request, UiSink& sink, std::atomic<bool>& stop) {
    stop = false;
    request.sink = engine::Unowned(sink);
    request.stop = engine::Unowned(stop);
    engine::MakeJob(request)->Start();
}

// Starts the job and runs the UI loop until its end handler has run; `stopAfterMs`, when not
// negative, presses Stop that long after the start. False when it did not end within `ms`.
inline bool RunJob(const engine::SearchRequest& request, UiSink& sink, std::atomic<bool>& stop, DWORD ms = 60000,
                   int stopAfterMs = -1) {
    const int before = sink.finished;
    const ULONGLONG start = GetTickCount64();
    StartJob(request, sink, stop);
    return testsupport::PumpUntil(
        [&] {
            if (stopAfterMs >= 0 && GetTickCount64() - start >= static_cast<ULONGLONG>(stopAfterMs)) stop = true;
            return sink.finished > before;
        },
        ms);
}

// Plays the main window: the result list, the fetched-image list (kept across searches, as
// for the whole program run), the cursor and the labels.
class WindowSink : public UiSink {
public:
    void RunUiStep(const std::function<void()>& step) override {
        // A window that has gone: its steps cannot run, as the main window's sink reports.
        if (stepsBeforeGone == 0) throw std::runtime_error("The window has gone");
        if (stepsBeforeGone > 0) stepsBeforeGone--;
        ui.Run(step);
    }
    void ShowProgress(const std::string& l2, const std::string& l1) override { progress.push_back(l2 + " / " + l1); }
    void ShowServiceBusy(const std::string& label, bool) override { progress.push_back(label); }
    void ShowNotice(const std::string& text) override { notices.push_back(text); }
    void SearchDone(bool nothing) override { done.push_back(nothing ? "No downloads to get for this..." : "done"); }
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
    std::vector<std::string> Names() const {
        std::vector<std::string> out;
        for (auto& e : entries) out.push_back(e.fileName);
        return out;
    }
    // Forgets the last search's results, as a new search clears the window (not the list).
    void NewSearch() { entries.clear(), progress.clear(), done.clear(), notices.clear(), error.clear(), finished = 0; }

    std::vector<Entry> entries;
    std::vector<std::string> fetchedList, progress, done, notices;
    std::atomic<bool> busy{false};
    std::atomic<int> stepsBeforeGone{-1};  // the window goes after this many steps; -1: never
    int busyCalls = 0;
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

// A search from the first page, run to its end.
inline void RunSearch(WindowSink& sink, const std::string& service, const std::string& folder, int32_t limit,
                      std::atomic<bool>& stop) {
    ASSERT_TRUE(RunJob(TestSearch(service, folder, limit), sink, stop));
}

}  // namespace scantest
