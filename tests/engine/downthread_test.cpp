// The search job against the local test service: request, stop rules, UI steps.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "scan_support.h"

using namespace engine;
using testsupport::HttpServer;
using testsupport::Response;

namespace {

// Plays the main window: records every UI step in order, on the UI (test) thread.
class RecordingSink : public scantest::UiSink {
public:
    void ShowProgress(const std::string& l2, const std::string& l1) override {
        OnUiThread();
        steps.push_back("progress " + l2 + " / " + l1);
    }
    void SearchDone(bool nothing) override {
        OnUiThread();
        steps.push_back(nothing ? "done: No downloads to get for this..." : "done");
    }

    std::vector<std::string> steps;
};

struct JobTest : ::testing::Test {
    HttpServer server;
    RecordingSink sink;
    std::atomic<bool> stop{false};

    // A search from the first page through `scan`, run to its end. Wine never reports a refused
    // connection of the page request: the deadlines are short.
    void RunJob(int32_t limit, PageScan scan, const std::string& keywords = "red+car",
                const std::string& level = "Moderate", const std::string& service = "") {
        SearchRequest request = scantest::TestSearch(service.empty() ? server.base() : service, "C:\\x\\", limit);
        request.keywords = keywords;
        request.safeSearch = level;
        request.pageMs = request.imageMs = 5000;
        request.scan = std::move(scan);
        ASSERT_TRUE(scantest::RunJob(request, sink, stop, 20000));
    }

    std::vector<std::string> Firsts() {
        std::vector<std::string> out;
        for (auto& r : server.requests_for("/images/search")) {
            auto t = r.target;
            auto a = t.find("&first=") + 7;
            out.push_back(t.substr(a, t.find('&', a) - a));
        }
        return out;
    }
};

PageScan Downloading(int perPage) {
    return [perPage](TDownThread& job, const std::wstring&) {
        for (int i = 0; i < perPage; i++) {
            job.MeetAddress(std::to_string(job.Position + i));
            job.TriedCount++;
            job.DownedCount++;
            job.ShowProgress();
        }
        return false;
    };
}

}  // namespace

TEST_F(JobTest, RequestsTheExactPathAndHeaders) {
    server.on("/images/search", Response::text("<html>b_SearchBoxAnswer</html>"));
    RunJob(1000, Downloading(0), "red+car");
    auto reqs = server.requests();
    ASSERT_EQ(reqs.size(), 1u);
    EXPECT_EQ(reqs[0].method, "GET");
    EXPECT_EQ(reqs[0].target,
              "/images/search?q=red+car&first=1&count=28&maxFileSize=4096000&minFileSize=0&safeSearch=Moderate"
              "&mkt=nl-NL&adlt=Moderate");
    // The three headers of the program, Referer being the URL itself. They are set in this
    // order; Windows sends them so, Wine's request object sends them in reverse.
    std::vector<std::string> ours;
    for (auto& [k, v] : reqs[0].headers)
        if (k == "Referer" || k == "Pragma" || k == "User-Agent") ours.push_back(k + ": " + v);
    std::vector<std::string> want{"Referer: " + server.base() + reqs[0].target, "Pragma: no-cache",
                                  "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)"};
    std::vector<std::string> reversed(want.rbegin(), want.rend());
    EXPECT_TRUE(ours == want || ours == reversed) << ::testing::PrintToString(ours);
    EXPECT_EQ(sink.steps, std::vector<std::string>{"done: No downloads to get for this..."});
    EXPECT_EQ(sink.error, "");
}

TEST_F(JobTest, OffLevelEndsTheQuery) {
    server.on("/images/search", Response::text(""));
    RunJob(1000, Downloading(0), "a+b", "Off");
    auto t = server.requests().at(0).target;
    EXPECT_EQ(t.substr(t.size() - 34), "&safeSearch=Off&mkt=nl-NL&adlt=Off");
}

TEST_F(JobTest, PagesGoOutAt1And57And85UntilTheLimit) {
    server.on("/images/search", Response::text("page"));
    // 28 a page with a limit of 60: the limit is tested between pages only.
    RunJob(60, Downloading(28));
    EXPECT_EQ(Firsts(), (std::vector<std::string>{"1", "57", "85"}));
    EXPECT_EQ(sink.steps.back(), "done");
    EXPECT_EQ(sink.steps[0], "progress Trying: 1 of 60 images / Downed: 1 images");
    EXPECT_EQ(sink.steps[28], "progress Trying: 29 of 60 images / Downed: 29 images");
    EXPECT_EQ(sink.steps.size(), 28u * 3 + 1);
    EXPECT_EQ(sink.finished, 1);
}

TEST_F(JobTest, LimitOfZeroEndsBeforeAnyRequest) {
    server.on("/images/search", Response::text("page"));
    RunJob(0, Downloading(5));
    EXPECT_EQ(server.request_count(), 0u);
    EXPECT_EQ(sink.steps, std::vector<std::string>{"done: No downloads to get for this..."});
    EXPECT_EQ(sink.finished, 1);
}

TEST_F(JobTest, FirstPageWithNothingDownloadedEndsAfterOneRequest) {
    server.on("/images/search", Response::status_only(500, "Server Error", "<html>error</html>"));
    int scans = 0;
    RunJob(1000, [&](TDownThread&, const std::wstring& text) {
        scans++;
        EXPECT_EQ(text, L"<html>error</html>");  // an error page is returned and scanned
        return false;
    });
    EXPECT_EQ(server.request_count(), 1u);
    EXPECT_EQ(scans, 1);
    EXPECT_EQ(sink.steps, std::vector<std::string>{"done: No downloads to get for this..."});
}

TEST_F(JobTest, StopDuringThePageFetchLeavesThePageUnscanned) {
    Response slow = Response::text("page");
    slow.delay_ms = 800;
    server.on("/images/search", [&](const testsupport::Request&) {
        stop = true;  // the user presses Stop while the page is on its way
        return slow;
    });
    int scans = 0;
    RunJob(1000, [&](TDownThread&, const std::wstring&) { return ++scans, false; });
    EXPECT_EQ(scans, 0);
    EXPECT_EQ(server.request_count(), 1u);
    EXPECT_EQ(sink.steps, std::vector<std::string>{"done: No downloads to get for this..."});
    EXPECT_EQ(sink.finished, 1);
}

TEST_F(JobTest, UnreachableServiceEndsWithoutSearchDoneButTheEndHandlerRuns) {
    int port;
    {
        HttpServer gone;
        port = gone.port();
    }
    RunJob(1000, Downloading(1), "x", "Moderate", "http://127.0.0.1:" + std::to_string(port));
    EXPECT_TRUE(sink.steps.empty());
    EXPECT_EQ(sink.finished, 1);
    EXPECT_FALSE(sink.error.empty());
}

TEST_F(JobTest, GarbageBodyIsHandedToTheScan) {
    std::string junk("\x01\xff<a <a href=\"", 14);
    server.on("/images/search", Response::text(junk, "application/octet-stream"));
    int scans = 0;
    RunJob(1000, [&](TDownThread&, const std::wstring& text) { return ++scans, false; });
    EXPECT_EQ(scans, 1);
    EXPECT_EQ(sink.finished, 1);
}

TEST_F(JobTest, ErrorInsideTheScanEndsTheRun) {
    server.on("/images/search", Response::text("page"));
    RunJob(1000, [](TDownThread& job, const std::wstring&) -> bool {
        job.DownedCount = 1;
        throw std::runtime_error("bad escape");
    });
    EXPECT_EQ(server.request_count(), 1u);
    EXPECT_TRUE(sink.steps.empty());
    EXPECT_EQ(sink.error, "bad escape");
    EXPECT_EQ(sink.finished, 1);
}
