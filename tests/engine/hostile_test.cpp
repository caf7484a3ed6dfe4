// Whole searches against a search service and image servers that misbehave: each ends in
// bounded time, leaves only the files it should (compared byte for byte) in the target folder
// and nothing beside it, and keeps memory bounded where a server would have it grow.
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>

#include <atomic>
#include <cstdio>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "scan_support.h"

using namespace scantest;
using testsupport::HttpServer;
using testsupport::Request;
using testsupport::Response;

namespace {

// Deadlines shortened for the tests; the program's are 30 s for a page and 10 minutes for an
// image (which is also abandoned when less than 1 KB arrives in 30 s).
constexpr uint32_t kPageMs = 3000;
constexpr uint32_t kImageMs = 3000;

size_t PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX c{};
    c.cb = sizeof c;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&c), sizeof c);
    return c.PagefileUsage;  // the commit charge: Wine leaves PrivateUsage at 0
}

// What one search left behind.
struct Outcome {
    double seconds = 0;
    double peakGrowthMb = 0;  // above the private bytes at the start
    std::map<std::string, std::string> files;
    std::vector<std::string> names;  // of the Result entries, in order
    std::string error;
    bool done = false;
};

std::string Bytes(size_t n, char seed = 'a') {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; i++) s[i] = static_cast<char>(seed + i % 23);
    return s;
}

// The files of a folder (ending in "\"), names to bytes; the folder itself is kept.
std::map<std::string, std::string> FilesIn(const std::string& folder) {
    std::map<std::string, std::string> out;
    WIN32_FIND_DATAA d;
    HANDLE h = FindFirstFileA((folder + "*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return out;
    do {
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        std::string bytes;
        HANDLE f = CreateFileA((folder + d.cFileName).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                               nullptr);
        char buf[4096];
        DWORD n = 0;
        while (f != INVALID_HANDLE_VALUE && ReadFile(f, buf, sizeof buf, &n, nullptr) && n) bytes.append(buf, n);
        if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
        out[d.cFileName] = bytes;
    } while (FindNextFileA(h, &d));
    FindClose(h);
    return out;
}

struct HostileTest : ::testing::Test {
    HttpServer server;
    WindowSink sink;
    TempDir parent;  // the target folder lives inside, so a stray file would show here
    std::string folder = parent.path + "target\\";
    std::atomic<bool> stop{false};
    uint32_t pageMs = kPageMs;

    HostileTest() { CreateDirectoryA(folder.c_str(), nullptr); }
    ~HostileTest() override {
        for (auto& file : FilesIn(folder)) DeleteFileA((folder + file.first).c_str());
        RemoveDirectoryA(folder.c_str());
    }

    std::string Url(const std::string& path) { return server.url(path); }
    void ServePage(const std::vector<std::string>& results) { ServeFirstPageThenStop(server, results, stop); }

    // Runs one search from the first page; `stopAfterMs` presses Stop that long after the start.
    Outcome Search(const std::string& service, int stopAfterMs = -1, int parallel = 1) {
        sink.NewSearch();
        sink.fetchedList.clear();
        Outcome out;
        const size_t before = PrivateBytes();
        std::atomic<size_t> peak{before};
        std::atomic<bool> running{true};
        std::thread sampler([&] {
            while (running) {
                size_t now = PrivateBytes();
                if (now > peak) peak = now;
                Sleep(20);
            }
        });
        const ULONGLONG start = GetTickCount64();
        engine::SearchRequest request = TestSearch(service, folder);
        request.parallel = parallel;
        request.pageMs = pageMs;
        request.imageMs = kImageMs;
        bool ended = RunJob(request, sink, stop, 60000, stopAfterMs);
        out.seconds = static_cast<double>(GetTickCount64() - start) / 1000;
        running = false;
        sampler.join();
        if (!ended) {
            ADD_FAILURE() << "the search did not end";
            for (auto& r : server.requests()) std::printf("    request %s\n", r.target.c_str());
        }
        out.peakGrowthMb = static_cast<double>(peak - before) / (1 << 20);
        out.files = FilesIn(folder);
        // Each search starts with an empty folder.
        for (auto& file : out.files) DeleteFileA((folder + file.first).c_str());
        out.names = sink.Names();
        out.error = sink.error;
        out.done = !sink.done.empty();
        // Nothing beside the target folder.
        EXPECT_TRUE(parent.Files().empty());
        std::printf("    %.2f s, peak +%.1f MB, %zu files%s%s\n", out.seconds, out.peakGrowthMb, out.files.size(),
                    out.error.empty() ? "" : ", error: ", out.error.c_str());
        return out;
    }

    // One image on the page, served as given; then a well-behaved one, which must still arrive.
    Outcome OneImage(const Response& image) {
        server.on("/img/x.jpg", image);
        server.on("/img/after.jpg", Response::file(Bytes(3000, 'A'), "image/jpeg"));
        ServePage({Result(Url("/img/x.jpg"), "http://site.example/x"),
                   Result(Url("/img/after.jpg"), "http://site.example/after")});
        Outcome out = Search(server.base());
        EXPECT_EQ(out.files["after.jpg"], Bytes(3000, 'A'));
        EXPECT_TRUE(out.error.empty()) << out.error;
        return out;
    }
};

void ExpectNoFile(const Outcome& out, const std::string& name = "x.jpg") {
    EXPECT_EQ(out.files.count(name), 0u) << name;
}

}  // namespace

TEST_F(HostileTest, ImageServersThatLieAboutLengths) {
    const std::string body = Bytes(3000);
    {
        SCOPED_TRACE("no length");
        Response r = Response::file(body, "image/jpeg");
        r.send_length = false;
        Outcome out = OneImage(r);
        EXPECT_EQ(out.files["x.jpg"], body);
    }
    {
        SCOPED_TRACE("a length longer than the body, connection closed");
        Response r = Response::file(body, "image/jpeg");
        r.announce_length = 5000;
        EXPECT_EQ(OneImage(r).files["x.jpg"], body);
    }
    {
        SCOPED_TRACE("a length longer than the body, connection held open: every byte that came stays");
        Response r = Response::file(body, "image/jpeg");
        r.announce_length = 5000;
        r.hold_after_body = true;
        Outcome out = OneImage(r);
        EXPECT_EQ(out.files["x.jpg"], body);
        EXPECT_LT(out.seconds, 12);  // one receive time-out of 4 s
    }
    {
        SCOPED_TRACE("5 GB announced");
        Response r = Response::file(body, "image/jpeg");
        r.announce_length = 5000000000LL;
        Outcome out = OneImage(r);
        ExpectNoFile(out);
        EXPECT_LT(out.seconds, 5);
    }
    {
        SCOPED_TRACE("an endless body without a length");
        Response r = Response::file(Bytes(65536), "image/jpeg");
        r.send_length = false;
        r.endless_body = true;
        Outcome out = OneImage(r);
        ExpectNoFile(out);
        EXPECT_LT(out.peakGrowthMb, 40);
        EXPECT_LT(out.seconds, 10);
    }
}

TEST_F(HostileTest, ImageServersThatStallOrDrip) {
    const std::string body = Bytes(3000);
    {
        SCOPED_TRACE("headers after 2.5 s, within the time-outs");
        Response r = Response::file(body, "image/jpeg");
        r.delay_ms = 2500;
        EXPECT_EQ(OneImage(r).files["x.jpg"], body);
    }
    {
        SCOPED_TRACE("a server that never answers");
        Response r;
        r.stall = true;
        Outcome out = OneImage(r);
        ExpectNoFile(out);
        EXPECT_LT(out.seconds, 15);
    }
    {
        SCOPED_TRACE("one byte every 150 ms: each read is within the time-out, the deadline ends it");
        Response r = Response::file(body, "image/jpeg");
        r.drip_ms = 150;
        Outcome out = OneImage(r);
        ExpectNoFile(out);
        EXPECT_GE(out.seconds, kImageMs / 1000.0);
        EXPECT_LT(out.seconds, kImageMs / 1000.0 + 6);
    }
    {
        SCOPED_TRACE("Stop during a drip ends the search without the file");
        Response r = Response::file(body, "image/jpeg");
        r.drip_ms = 150;
        server.on("/img/x.jpg", r);
        ServePage({Result(Url("/img/x.jpg"), "http://site.example/x")});
        Outcome out = Search(server.base(), 1000);
        EXPECT_TRUE(out.files.empty());
        EXPECT_LT(out.seconds, 3);
        EXPECT_TRUE(out.done);
    }
}

TEST_F(HostileTest, RedirectsAreCountedAndRefusedStatusesLeaveNothing) {
    const std::string body = Bytes(2000);
    server.on("/img/loop.jpg", Response::redirect("/img/loop.jpg"));
    for (int i = 0; i < 11; i++)
        server.on("/img/hop" + std::to_string(i) + ".jpg",
                  Response::redirect("/img/hop" + std::to_string(i + 1) + ".jpg"));
    server.on("/img/hop11.jpg", Response::file(body, "image/jpeg"));
    server.on("/img/ten.jpg", Response::redirect("/img/hop2.jpg"));  // ten redirects to the file
    server.on("/img/eleven.jpg", Response::redirect("/img/hop1.jpg"));
    server.on("/img/gone.jpg", Response::status_only(404, "Not Found", Bytes(2000)));
    ServePage({Result(Url("/img/loop.jpg"), "p"), Result(Url("/img/ten.jpg"), "p"), Result(Url("/img/eleven.jpg"), "p"),
               Result(Url("/img/gone.jpg"), "p")});
    Outcome out = Search(server.base());
    EXPECT_EQ(out.files, (std::map<std::string, std::string>{{"ten.jpg", body}}));
    EXPECT_EQ(server.requests_for("/img/loop.jpg").size(), 11u);  // the request and ten hops
    EXPECT_LT(out.seconds, 10);
}

TEST_F(HostileTest, TruncatedAndHugeImagesKeepTheirFiles) {
    const std::string truncated = Fixture("photo.jpg").substr(0, Fixture("photo.jpg").size() / 2);
    // A real picture whose frame header claims 20000 x 20000 pixels.
    std::string huge = Fixture("photo.jpg");
    for (size_t i = 0; i + 9 < huge.size(); i++)
        if (static_cast<unsigned char>(huge[i]) == 0xFF && static_cast<unsigned char>(huge[i + 1]) == 0xC0) {
            huge[i + 5] = huge[i + 7] = static_cast<char>(20000 >> 8);
            huge[i + 6] = huge[i + 8] = static_cast<char>(20000 & 0xFF);
            break;
        }
    server.on("/img/truncated.jpg", Response::file(truncated, "image/jpeg"));
    server.on("/img/huge.jpg", Response::file(huge, "image/jpeg"));
    ServePage({Result(Url("/img/truncated.jpg"), "p"), Result(Url("/img/huge.jpg"), "p")});
    Outcome out = Search(server.base());
    EXPECT_EQ(out.files, (std::map<std::string, std::string>{{"truncated.jpg", truncated}, {"huge.jpg", huge}}));
    EXPECT_EQ(out.names, (std::vector<std::string>{"truncated.jpg", "huge.jpg"}));
    EXPECT_LT(out.peakGrowthMb, 100);
}

TEST_F(HostileTest, SearchServicesThatNeverEndOrNeverAnswer) {
    {
        SCOPED_TRACE("an endless page, 64 KB every 5 ms");
        Response r = Response::text(std::string(65536, 'x'));
        r.send_length = false;
        r.endless_body = true;
        r.repeat_pause_ms = 5;
        // A service of its own: Wine's loader goes on reading a page that is given up for as
        // long as the bytes keep coming, so the service goes when the case ends.
        HttpServer endless;
        endless.on("/images/search", r);
        Outcome out = Search(endless.base());
        EXPECT_FALSE(out.error.empty());
        EXPECT_LT(out.seconds, kPageMs / 1000.0 + 5);
        EXPECT_LT(out.peakGrowthMb, 160);
    }
    {
        SCOPED_TRACE("a page of 17 MB, in time");
        server.on("/images/search", Response::text(std::string(17 << 20, 'x')));
        pageMs = 30000;
        Outcome out = Search(server.base());
        pageMs = kPageMs;
        EXPECT_NE(out.error.find("too large"), std::string::npos) << out.error;
    }
    {
        SCOPED_TRACE("a service that accepts and stays silent");
        Response r;
        r.stall = true;
        server.on("/images/search", r);
        Outcome out = Search(server.base());
        EXPECT_NE(out.error.find("did not arrive"), std::string::npos) << out.error;
        EXPECT_LT(out.seconds, kPageMs / 1000.0 + 3);
    }
    {
        SCOPED_TRACE("Stop while the service is silent");
        Outcome out = Search(server.base(), 500);
        EXPECT_TRUE(out.error.empty()) << out.error;
        EXPECT_TRUE(out.done);
        EXPECT_LT(out.seconds, 2);
    }
    {
        SCOPED_TRACE("a closed port");
        HttpServer closed;
        std::string base = closed.base();
        closed.stop();
        Outcome out = Search(base);
        EXPECT_FALSE(out.error.empty());
        EXPECT_LT(out.seconds, kPageMs / 1000.0 + 3);
    }
}

TEST_F(HostileTest, APageOfBytesEndsTheSearchQuietly) {
    {
        std::string garbage;
        for (uint32_t i = 0; i < 300000; i++) garbage += static_cast<char>((i * 7919u + i / 7) % 256);
        server.on("/images/search", Response::file(garbage, "application/octet-stream"));
        Outcome out = Search(server.base());
        EXPECT_TRUE(out.files.empty());
        EXPECT_TRUE(out.error.empty()) << out.error;
        EXPECT_TRUE(out.done);
    }
}

TEST_F(HostileTest, AnAddressThatFailedIsNotRequestedAgain) {
    Response r;
    r.stall = true;
    server.on("/img/stall.jpg", r);
    server.on("/img/ok.jpg", Response::file(Bytes(1000), "image/jpeg"));
    std::vector<std::string> results(5000, Result(Url("/img/stall.jpg"), "p"));
    results.push_back(Result(Url("/img/ok.jpg"), "p"));
    results.push_back(Result(Url("/IMG/STALL.JPG"), "p"));  // the case of the address does not matter
    ServePage(results);
    Outcome out = Search(server.base());
    EXPECT_EQ(server.requests_for("/img/stall.jpg").size(), 1u);
    EXPECT_TRUE(server.requests_for("/IMG/STALL.JPG").empty());
    EXPECT_EQ(out.files, (std::map<std::string, std::string>{{"ok.jpg", Bytes(1000)}}));
    EXPECT_LT(out.seconds, 20);
}

TEST_F(HostileTest, HostileNamesStayInTheFolderAndCannotRun) {
    server.fallback([](const Request&) { return Response::file(Bytes(777, 'n'), "image/jpeg"); });
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/n/x.exe", "x.exe.jpg"},
        {"/n/autorun.inf", "autorun.inf.jpg"},
        {"/n/desktop.ini", "desktop.ini.jpg"},
        {"/n/a.LNK", "a.LNK.jpg"},
        {"/n/..%5C..%5Cevil.jpg", "....evil.jpg"},
        {"/n/%2e%2e%2fup.jpg", "up.jpg"},
        {"/n/con.jpg", "_con.jpg"},
        {"/n/trail.exe.", "trail.exe_"},
        {"/n/x." + std::string(300, 'e'), "x." + std::string(15, 'e')},
        {"/n/pic.jpg?%25zz", ""},  // cannot be decoded twice: skipped, nothing requested
    };
    std::vector<std::string> results;
    for (auto& c : cases) results.push_back(Result(Url(c.first), "p"));
    ServePage(results);
    Outcome out = Search(server.base());
    std::map<std::string, std::string> expected;
    for (auto& c : cases)
        if (!c.second.empty()) expected[c.second] = Bytes(777, 'n');
    EXPECT_EQ(out.files, expected);
    EXPECT_TRUE(out.error.empty()) << out.error;
    EXPECT_TRUE(server.requests_for("/n/pic.jpg").empty());
}

TEST_F(HostileTest, EightHostileServersAtOnceEndWithinTheTimeouts) {
    const std::string body = Bytes(3000);
    auto with = [&](auto change) {
        Response r = Response::file(body, "image/jpeg");
        change(r);
        return r;
    };
    server.on("/h/stall.jpg", with([](Response& r) { r.stall = true; }));
    server.on("/h/drip.jpg", with([](Response& r) { r.drip_ms = 150; }));
    server.on("/h/lie.jpg", with([](Response& r) { r.announce_length = 5000, r.hold_after_body = true; }));
    server.on("/h/huge.jpg", with([](Response& r) { r.announce_length = 5000000000LL; }));
    server.on("/h/endless.jpg", with([](Response& r) { r.send_length = false, r.endless_body = true; }));
    server.on("/h/gone.jpg", Response::status_only(404, "Not Found", body));
    server.on("/h/loop.jpg", Response::redirect("/h/loop.jpg"));
    server.on("/h/ok.jpg", Response::file(body, "image/jpeg"));
    std::vector<std::string> results;
    for (const char* name : {"stall", "drip", "lie", "huge", "endless", "gone", "loop", "ok"})
        results.push_back(Result(Url(std::string("/h/") + name + ".jpg"), "p"));
    ServePage(results);
    Outcome out = Search(server.base(), -1, 8);
    EXPECT_EQ(out.files, (std::map<std::string, std::string>{{"lie.jpg", body}, {"ok.jpg", body}}));
    EXPECT_EQ(out.names, (std::vector<std::string>{"lie.jpg", "ok.jpg"}));
    EXPECT_TRUE(out.error.empty()) << out.error;
    EXPECT_LT(out.seconds, 12);  // the longest of them, not their sum
    EXPECT_LT(out.peakGrowthMb, 60);
}
