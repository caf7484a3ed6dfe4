// Whole searches against a service that answers as the real one does: results that run out
// (the last page again for every later one), HTTPS with redirects both ways and faulty
// certificates, a service that asks to be asked more slowly, and a page given up half-way.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "scan_support.h"

using namespace scantest;
using testsupport::Handshake;
using testsupport::HttpServer;
using testsupport::Request;
using testsupport::Response;
using testsupport::TestIdentity;

namespace {

Response Jpeg() { return Response::file(Fixture("photo.jpg"), "image/jpeg"); }

struct ServiceTest : ::testing::Test {
    HttpServer plain;
    HttpServer tls{TestIdentity("server")};
    WindowSink sink;
    TempDir folder;
    std::atomic<bool> stop{false};
    int pages = 0;  // results pages asked for

    // Serves `page(n)` for the n-th results page asked for (from 0).
    void ServePages(HttpServer& service, std::function<std::string(int)> page) {
        service.on("/images/search", [this, page](const Request&) { return Response::text(page(pages++)); });
    }

    // Runs a search from the first page; returns its length in seconds.
    double Search(const std::string& service, uint32_t pageMs = 5000) {
        sink.NewSearch();
        const ULONGLONG start = GetTickCount64();
        engine::SearchRequest request = TestSearch(service, folder.path);
        request.pageMs = pageMs;
        request.imageMs = 5000;
        EXPECT_TRUE(RunJob(request, sink, stop, 90000)) << "the search did not end";
        return static_cast<double>(GetTickCount64() - start) / 1000;
    }
};

}  // namespace

TEST_F(ServiceTest, TheLastPageAgainEndsTheSearch) {
    // Three results, then the same three for every later page, as the real service answers.
    for (const char* name : {"/a.jpg", "/b.jpg", "/c.png"}) plain.on(name, Jpeg());
    const std::string page = Page({Result(plain.url("/a.jpg"), "http://p/a"), Result(plain.url("/B.JPG"), "http://p/b"),
                                   Result(plain.url("/c.png"), "http://p/c")});
    ServePages(plain, [&](int) { return page; });
    Search(plain.base());
    EXPECT_EQ(pages, 2);                   // the repeated page brings nothing new: the search ends after it
    EXPECT_EQ(folder.Files().size(), 1u);  // B.JPG is a 404 and c.png is skipped, met all the same
    EXPECT_EQ(sink.done, std::vector<std::string>{"done"});
    EXPECT_EQ(sink.error, "");

    // Pages that keep bringing new addresses go on, even when every one of them fails.
    pages = 0;
    ServePages(plain, [&](int n) {
        if (n == 6) stop = true;
        return n == 0 ? Page({Result(plain.url("/a.jpg?again"), "http://p/a")})
                      : Page({Result(plain.url("/gone" + std::to_string(n) + ".jpg"), "http://p/g")});
    });
    Search(plain.base());
    EXPECT_EQ(pages, 7);
}

TEST_F(ServiceTest, HttpsPagesImagesAndRedirectsBothWays) {
    tls.on("/t.jpg", Jpeg());
    plain.on("/p.jpg", Jpeg());
    plain.on("/up.jpg", Response::redirect(tls.url("/t.jpg")));    // http to https
    tls.on("/down.jpg", Response::redirect(plain.url("/p.jpg")));  // https to http
    ServePages(tls, [&](int n) {
        return n ? Page({})
                 : Page({Result(tls.url("/t.jpg"), "https://p/t"), Result(plain.url("/up.jpg"), "p/u"),
                         Result(tls.url("/down.jpg"), "https://p/d")});
    });
    Search(tls.base());
    EXPECT_EQ(sink.error, "");
    ASSERT_EQ(sink.Names(), (std::vector<std::string>{"t.jpg", "up.jpg", "down.jpg"}));
    for (auto& name : sink.Names()) EXPECT_EQ(folder.Read(name), Fixture("photo.jpg")) << name;
}

TEST_F(ServiceTest, CertificateFaultsAndBrokenHandshakesAreRefused) {
    tls.on("/good.jpg", Jpeg());
    std::vector<std::pair<std::string, std::unique_ptr<HttpServer>>> faults;
    for (const char* cert : {"expired", "wrongname", "selfsigned"})
        faults.emplace_back(cert, std::make_unique<HttpServer>(TestIdentity(cert)));
    faults.emplace_back("garbage", std::make_unique<HttpServer>(testsupport::TlsIdentity{}, Handshake::Garbage));
    // A server that stalls in the handshake: the image's deadline ends it, the page's as the service.
    faults.emplace_back("stall", std::make_unique<HttpServer>(testsupport::TlsIdentity{}, Handshake::Stall));
    for (auto& [name, server] : faults) {
        SCOPED_TRACE(name);
        server->on("/bad.jpg", Jpeg());
        pages = 0;
        ServePages(tls, [&](int n) {
            return n ? Page({})
                     : Page({Result(server->url("/bad.jpg"), "https://p/b"),
                             Result(tls.url("/good.jpg"), "https://p/g")});
        });
        EXPECT_LT(Search(tls.base()), 20);
        EXPECT_EQ(folder.Files(), std::vector<std::string>{"good.jpg"});  // the image refused, the search goes on
        DeleteFileA((folder.path + "good.jpg").c_str());
        sink.fetchedList.clear();

        // The same server as the search service: the page fails, and says why.
        server->on("/images/search", Response::text(Page({Result(tls.url("/good.jpg"), "p")})));
        EXPECT_LT(Search(server->base(), 3000), 10);
        const char* why = name == "stall"       ? "did not arrive within 3 s"
                          : name == "garbage"   ? "no secure connection"
                          : name == "wrongname" ? "for another host name"
                          : name == "expired"   ? "expired"
                                                : "not from a trusted authority";
        EXPECT_NE(sink.error.find(why), std::string::npos) << sink.error;
        EXPECT_TRUE(folder.Files().empty());
        std::printf("    %s as the service: %s\n", name.c_str(), sink.error.c_str());
    }
}

TEST_F(ServiceTest, ABusyServiceIsAskedOnceMoreAfterItsWait) {
    plain.on("/a.jpg", Jpeg());
    const std::string page = Page({Result(plain.url("/a.jpg"), "http://p/a")});
    auto busy = [](int status, const char* retryAfter) {
        Response r = Response::status_only(status, status == 429 ? "Too Many Requests" : "Service Unavailable");
        if (retryAfter) r.headers.push_back({"Retry-After", retryAfter});
        return r;
    };
    std::atomic<int> refusals{1};
    std::vector<Response> answers;
    plain.on("/images/search", [&](const Request&) {
        pages++;
        if (refusals-- > 0) return answers.front();
        return Response::text(pages == 2 ? page : Page({}));
    });
    struct Case {
        Response refusal;
        int refusals;
        double least, most;
    };
    for (Case c :
         {Case{busy(429, "1"), 1, 0.9, 4}, Case{busy(503, nullptr), 1, 4.9, 9}, Case{busy(429, "0"), 2, 0, 4}}) {
        answers = {c.refusal};
        refusals = c.refusals;
        pages = 0;
        sink.fetchedList.clear();
        const double seconds = Search(plain.base());
        EXPECT_GE(seconds, c.least);
        EXPECT_LE(seconds, c.most);
        const std::string wait = c.refusal.headers.size() > 1 ? "1" : "5";
        if (c.refusals == 1) {
            EXPECT_EQ(sink.progress.front(), "Service busy, retrying in " + wait + " s...");
            EXPECT_EQ(folder.Files(), std::vector<std::string>{"a.jpg"});
            DeleteFileA((folder.path + "a.jpg").c_str());
        } else {  // refused twice: the search ends with the status named
            EXPECT_EQ(sink.error, "The search service refused the results page twice (HTTP 429 Too Many Requests)");
        }
    }

    // Stop during the wait ends the search at once.
    answers = {busy(429, "60")};
    refusals = 1;
    sink.NewSearch();
    StartJob(TestSearch(plain.base(), folder.path), sink, stop);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !sink.progress.empty(); }, 10000));
    EXPECT_EQ(sink.progress.front(), "Service busy, retrying in 60 s...");
    const ULONGLONG pressed = GetTickCount64();
    stop = true;
    ASSERT_TRUE(testsupport::PumpUntil([&] { return sink.finished > 0; }, 5000));
    EXPECT_LT(GetTickCount64() - pressed, 1000u);
    EXPECT_EQ(sink.done, std::vector<std::string>{"No downloads to get for this..."});
}

namespace {

uint64_t FolderBytes(const std::string& dir) {
    uint64_t total = 0;
    WIN32_FIND_DATAA d;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do {
        std::string name = d.cFileName;
        if (name == "." || name == "..") continue;
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            total += FolderBytes(dir + "\\" + name);
        else
            total += (static_cast<uint64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
    } while (FindNextFileA(h, &d));
    FindClose(h);
    return total;
}

}  // namespace

// Not yet mended: under Wine a page request given up (deadline or Stop) leaves what it had
// received in the internet cache (22 MB in 2 s here); the deletion after it finds no entry.
TEST_F(ServiceTest, DISABLED_APageGivenUpLeavesNothingInTheInternetCache) {
    char cache[MAX_PATH];
    ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_INTERNET_CACHE, nullptr, 0, cache), S_OK);
    Response endless = Response::text(std::string(1 << 16, 'x'));
    endless.send_length = false;
    endless.endless_body = true;
    endless.repeat_pause_ms = 2;
    plain.on("/images/search", endless);
    for (const char* how : {"deadline", "stop"}) {
        SCOPED_TRACE(how);
        const uint64_t before = FolderBytes(cache);
        if (std::string(how) == "stop")
            plain.on("/images/search", [&](const Request&) {
                stop = true;  // pressed while the page arrives
                return endless;
            });
        Search(plain.base(), 2000);
        Sleep(1500);  // whatever the request would still write
        const uint64_t after = FolderBytes(cache);
        std::printf("    cache %llu -> %llu bytes\n", static_cast<unsigned long long>(before),
                    static_cast<unsigned long long>(after));
        EXPECT_LE(after, before + 64 * 1024);
    }
}
