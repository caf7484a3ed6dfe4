// The image file fetcher against the local test service.
#include "engine/fetcher.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <thread>
#include <string>
#include <vector>

#include "platform/application.h"
#include "support/http_server.h"
#include "support/process_counts.h"
#include "support/temp_folder.h"

using engine::DownloadToFile;
using testsupport::FileExists;
using testsupport::HttpServer;
using testsupport::OpenHandles;
using testsupport::ReadWholeFile;
using testsupport::Response;
using testsupport::TempFolder;

namespace {

std::string Body(size_t n) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; i++) s[i] = static_cast<char>('a' + i % 26);
    return s;
}

// Ends the process with the test's name when it runs far past every time-out, so a hang shows
// which test it was instead of ending silently at the runner's limit. Declared first in the
// fixture, it outlives the test service, whose stop might be what hangs.
class Watchdog {
public:
    Watchdog() : done_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        name_ = info ? info->name() : "?";
        thread_ = std::thread([this] {
            if (WaitForSingleObject(done_, 90000) == WAIT_TIMEOUT) {
                std::fprintf(stderr, "\n%s: still running after 90 s, ended\n", name_.c_str());
                std::fflush(stderr);
                std::fflush(stdout);
                TerminateProcess(GetCurrentProcess(), 3);
            }
        });
    }
    ~Watchdog() {
        SetEvent(done_);
        thread_.join();
        CloseHandle(done_);
    }

private:
    HANDLE done_;
    std::string name_;
    std::thread thread_;
};

struct FetcherTest : ::testing::Test {
    Watchdog watchdog;
    HttpServer server;
    TempFolder folder;
    std::string out = folder.file("image.jpg");

    bool Fetch(const std::string& path, int32_t minSize, int32_t maxSize) {
        return DownloadToFile(server.url(path), out, minSize, maxSize, platform::ApplicationTitle());
    }
};

TEST_F(FetcherTest, SizesAtEitherLimitAreDownloadedAndOneOverIsRefused) {
    server.on("/small.jpg", Response::file(Body(100), "image/jpeg"));
    server.on("/large.jpg", Response::file(Body(5000), "image/jpeg"));
    server.on("/over.jpg", Response::file(Body(5001), "image/jpeg"));

    EXPECT_TRUE(Fetch("/small.jpg", 100, 5000));
    EXPECT_EQ(ReadWholeFile(out), Body(100));
    EXPECT_TRUE(Fetch("/large.jpg", 100, 5000));
    EXPECT_EQ(ReadWholeFile(out), Body(5000));  // the earlier file of that name is replaced
    DeleteFileA(out.c_str());

    EXPECT_FALSE(Fetch("/over.jpg", 100, 5000));
    EXPECT_FALSE(FileExists(out));
    EXPECT_FALSE(Fetch("/small.jpg", 101, 5000));
    EXPECT_FALSE(FileExists(out));
}

TEST_F(FetcherTest, TheAgentIsTheApplicationTitleAndOneRequestIsMade) {
    server.on("/a.jpg", Response::file(Body(10), "image/jpeg"));
    ASSERT_TRUE(Fetch("/a.jpg?x=1", 0, 100));
    auto reqs = server.requests();
    ASSERT_EQ(reqs.size(), 1u);
    EXPECT_EQ(reqs[0].method, "GET");
    EXPECT_EQ(reqs[0].target, "/a.jpg?x=1");
    EXPECT_EQ(reqs[0].header("User-Agent"), platform::ApplicationTitle());
    EXPECT_EQ(platform::ApplicationTitle(), "engine_fetcher_test");
}

TEST_F(FetcherTest, TheCallingThreadsMessagesArePumpedDuringTheTransfer) {
    server.on("/a.jpg", Response::file(Body(5000), "image/jpeg"));
    static int delivered = 0;
    WNDCLASSA wc{};
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_APP + 7) delivered++;
        return DefWindowProcA(h, m, w, l);
    };
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "FetcherPumpProbe";
    RegisterClassA(&wc);
    HWND probe = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(probe, nullptr);
    PostMessageA(probe, WM_APP + 7, 0, 0);
    EXPECT_TRUE(Fetch("/a.jpg", 0, 10000));
    EXPECT_EQ(delivered, 1);  // dispatched by the download itself
    DestroyWindow(probe);
}

TEST_F(FetcherTest, WithoutALengthOnlyASmallestSizeOfZeroAdmits) {
    Response r = Response::file(Body(3000), "image/jpeg");
    r.send_length = false;
    server.on("/nolength.jpg", r);

    EXPECT_FALSE(Fetch("/nolength.jpg", 1, 4096000));
    EXPECT_FALSE(FileExists(out));
    EXPECT_TRUE(Fetch("/nolength.jpg", 0, 4096000));
    EXPECT_EQ(ReadWholeFile(out), Body(3000));
}

TEST_F(FetcherTest, AStatusOtherThan200IsRefusedEvenWhenItsBodyFits) {
    server.on("/missing.jpg", Response::status_only(404, "Not Found", "<html>gone</html>"));
    server.on("/error.jpg", Response::status_only(500, "Server Error", "<html>oops</html>"));
    EXPECT_FALSE(Fetch("/missing.jpg", 0, 4096000));
    EXPECT_FALSE(Fetch("/error.jpg", 0, 4096000));
    EXPECT_FALSE(FileExists(out));
}

TEST_F(FetcherTest, ARedirectIsFollowedAndTheFinalResponseCounts) {
    server.on("/moved.jpg", Response::redirect(server.url("/real.jpg")));
    server.on("/real.jpg", Response::file(Body(700), "image/jpeg"));
    server.on("/moved-big.jpg", Response::redirect("/big.jpg"));
    server.on("/big.jpg", Response::file(Body(9000), "image/jpeg"));

    EXPECT_TRUE(Fetch("/moved.jpg", 0, 8000));
    EXPECT_EQ(ReadWholeFile(out), Body(700));
    DeleteFileA(out.c_str());
    EXPECT_FALSE(Fetch("/moved-big.jpg", 0, 8000));
    EXPECT_FALSE(FileExists(out));
}

TEST_F(FetcherTest, ACookieARedirectSetsGoesWithTheChainOnly) {
    Response gate = Response::redirect("/kept.jpg");
    gate.headers.push_back({"Set-Cookie", "pass=1; Path=/"});
    server.on("/gate.jpg", gate);
    server.on("/kept.jpg", [this](const testsupport::Request& req) {
        return req.header("Cookie") == "pass=1" ? Response::file(Body(700), "image/jpeg")
                                                : Response::status_only(403, "Forbidden");
    });
    EXPECT_TRUE(Fetch("/gate.jpg", 0, 8000));
    EXPECT_EQ(ReadWholeFile(out), Body(700));
    DeleteFileA(out.c_str());
    EXPECT_FALSE(Fetch("/kept.jpg", 0, 8000));  // not kept for a later download
}

TEST_F(FetcherTest, ABodyShorterThanAnnouncedKeepsWhatArrived) {
    Response r = Response::file(Body(2000), "image/jpeg");
    r.announce_length = 5000;
    server.on("/short.jpg", r);
    EXPECT_TRUE(Fetch("/short.jpg", 0, 8000));
    EXPECT_EQ(ReadWholeFile(out), Body(2000));
}

TEST_F(FetcherTest, AnAnnouncedLengthAbove4GBIsLargerThanAnyLimit) {
    Response r = Response::file(Body(10), "image/jpeg");
    r.announce_length = (int64_t{1} << 32) + 10;  // would read as 10 if it wrapped at 32 bits
    server.on("/huge.jpg", r);
    EXPECT_FALSE(Fetch("/huge.jpg", 0, 2147483647));
    EXPECT_FALSE(FileExists(out));
}

TEST_F(FetcherTest, ALengthTooLongToReadIsLargerThanAnyLimit) {
    // 70 digits: more than the fetcher reads of a header, and more than 64 bits hold.
    Response r = Response::file(Body(10), "image/jpeg");
    r.send_length = false;
    r.headers.push_back({"Content-Length", "1" + std::string(69, '0')});
    server.on("/long.jpg", r);
    Response zeros = r;  // leading zeros make the text long but not the number
    zeros.headers.back().second = std::string(68, '0') + "10";
    server.on("/zeros.jpg", zeros);

    EXPECT_FALSE(Fetch("/long.jpg", 0, 2147483647));
    EXPECT_FALSE(FileExists(out));
    EXPECT_FALSE(Fetch("/zeros.jpg", 0, 2147483647));
    EXPECT_FALSE(FileExists(out));
}

TEST_F(FetcherTest, AnEndlessBodyIsAbandonedPastTheLargestSize) {
    Response r = Response::file(Body(4096), "image/jpeg");
    r.send_length = false;
    r.endless_body = true;
    server.on("/endless.jpg", r);
    EXPECT_FALSE(Fetch("/endless.jpg", 0, 100000));
    EXPECT_FALSE(FileExists(out));
}

TEST_F(FetcherTest, AServerThatNeverAnswersIsGivenUpAfterTheTimeouts) {
    Response r;
    r.stall = true;
    server.on("/stall.jpg", r);
    Response h = Response::file(Body(100), "image/jpeg");
    h.stall_after_headers = true;
    server.on("/stall-body.jpg", h);

    DWORD start = GetTickCount();
    EXPECT_FALSE(Fetch("/stall.jpg", 0, 4096000));
    DWORD spent = GetTickCount() - start;
    EXPECT_FALSE(FileExists(out));
    EXPECT_LT(spent, 15000u);

    // Headers, then nothing: the read gives up, and the file keeps what arrived (nothing).
    start = GetTickCount();
    EXPECT_TRUE(Fetch("/stall-body.jpg", 0, 4096000));
    spent = GetTickCount() - start;
    EXPECT_LT(spent, 15000u);
    EXPECT_EQ(ReadWholeFile(out), "");
}

TEST_F(FetcherTest, ATransferGoesOnWhileItMovesAndIsAbandonedWhenItStalls) {
    // The stall rule shortened to 100 bytes in 1 s: a body trickling at about a byte a
    // millisecond outlasts several windows and arrives whole; one at 20 bytes a second stalls.
    Response steady = Response::file(Body(2500), "image/jpeg");
    steady.drip_ms = 1;
    server.on("/steady.jpg", steady);
    Response stalled = steady;
    stalled.drip_ms = 50;
    server.on("/stalled.jpg", stalled);
    const engine::DownloadBounds bounds{nullptr, 600000, 1000, 100};
    DWORD start = GetTickCount();
    EXPECT_TRUE(DownloadToFile(server.url("/steady.jpg"), out, 0, 4096000, platform::ApplicationTitle(), bounds));
    EXPECT_GE(GetTickCount() - start, 2500u);
    EXPECT_EQ(ReadWholeFile(out), Body(2500));
    start = GetTickCount();
    EXPECT_FALSE(DownloadToFile(server.url("/stalled.jpg"), out, 0, 4096000, platform::ApplicationTitle(), bounds));
    DWORD spent = GetTickCount() - start;
    EXPECT_GE(spent, 1000u);
    EXPECT_LT(spent, 4000u);
    EXPECT_FALSE(FileExists(out));
}

TEST_F(FetcherTest, RefusedAddressesAndClosedPortsGiveFalse) {
    EXPECT_FALSE(DownloadToFile("not an address", out, 0, 100, platform::ApplicationTitle()));
    EXPECT_FALSE(DownloadToFile("ftp://127.0.0.1/x.jpg", out, 0, 100, platform::ApplicationTitle()));
    HttpServer gone;
    std::string url = gone.url("/x.jpg");
    gone.stop();
    EXPECT_FALSE(DownloadToFile(url, out, 0, 100, platform::ApplicationTitle()));
    EXPECT_FALSE(FileExists(out));
}

TEST_F(FetcherTest, AMissingFolderRaisesAndLeavesNoHandleOpen) {
    server.on("/a.jpg", Response::file(Body(100), "image/jpeg"));
    server.on("/missing.jpg", Response::status_only(404, "Not Found"));
    std::string bad = folder.file("gone\\image.jpg");
    // A first failing call lets WinInet set up whatever it keeps for the process.
    EXPECT_THROW(DownloadToFile(server.url("/a.jpg"), bad, 0, 1000, platform::ApplicationTitle()), std::runtime_error);

    // The count is real, though other threads (WinInet's, the service's) move it a little.
    size_t before = OpenHandles();
    std::vector<HANDLE> events;
    for (int i = 0; i < 10; i++) events.push_back(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    ASSERT_GE(OpenHandles(), before + 8);
    for (HANDLE e : events) CloseHandle(e);

    // The test service keeps a thread handle per connection, so a refused download (which
    // needs no file) gives the baseline for the same number of requests.
    constexpr int kCalls = 20;
    before = OpenHandles();
    for (int i = 0; i < kCalls; i++)
        EXPECT_FALSE(DownloadToFile(server.url("/missing.jpg"), bad, 0, 1000, platform::ApplicationTitle()));
    size_t refused = OpenHandles() - before;
    before = OpenHandles();
    for (int i = 0; i < kCalls; i++) {
        try {
            DownloadToFile(server.url("/a.jpg"), bad, 0, 1000, platform::ApplicationTitle());
            ADD_FAILURE() << "no error raised";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find("Cannot create file \"" + bad + "\""), std::string::npos) << e.what();
        }
    }
    size_t raised = OpenHandles() - before;
    EXPECT_LE(raised, refused + kCalls / 4);  // a leak would add at least one handle per call
    EXPECT_FALSE(FileExists(bad));
}

}  // namespace
