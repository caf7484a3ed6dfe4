// Several downloads at once: whatever the image servers' speeds, a page gives the files, names,
// list lines, entry order and labels of a one-at-a-time search; Stop ends a page promptly.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "engine/fetcher.h"
#include "engine/fetchrules.h"
#include "scan_support.h"

using namespace scantest;
using testsupport::HttpServer;
using testsupport::Request;
using testsupport::Response;

namespace {

struct ParallelTest : ::testing::Test {
    HttpServer server;
    std::atomic<bool> stop{false};
    std::atomic<int> inFlight{0}, mostInFlight{0};

    std::string Url(const std::string& path) { return server.url(path); }

    // An image that answers after `delayMs`; counts how many are being answered at once.
    void Serve(const std::string& path, const std::string& fixture, int delayMs) {
        Response r = Response::file(Fixture(fixture), "image/jpeg");
        server.on(path, [this, r, delayMs](const Request&) {
            int now = ++inFlight;
            for (int seen = mostInFlight; now > seen && !mostInFlight.compare_exchange_weak(seen, now);) {}
            Sleep(static_cast<DWORD>(delayMs));
            --inFlight;
            return r;
        });
    }
    void ServePage(const std::vector<std::string>& results) { ServeFirstPageThenStop(server, results, stop); }

    struct Run {
        std::vector<std::string> names, imageLines, pageLines, progress, done;
        std::map<std::string, std::string> files, zones;
        std::string error;
        double seconds = 0;
        size_t pages = 0;
    };

    Run Search(int parallel, int32_t limit = 1000, int stopAfterMs = -1, int windowSteps = -1) {
        TempDir dir;
        WindowSink sink;
        sink.stepsBeforeGone = windowSteps;
        server.clear_requests();
        const ULONGLONG start = GetTickCount64();
        engine::SearchRequest request = TestSearch(server.base(), dir.path, limit);
        request.parallel = parallel;
        request.pageMs = request.imageMs = 5000;
        EXPECT_TRUE(RunJob(request, sink, stop, 60000, stopAfterMs));
        Run run;
        run.seconds = static_cast<double>(GetTickCount64() - start) / 1000;
        for (auto& e : sink.entries) {
            run.names.push_back(e.fileName);
            run.imageLines.push_back(e.imageLine);
            run.pageLines.push_back(e.pageLine);
            EXPECT_TRUE(e.picture && e.picture->IsJpeg()) << e.fileName;
        }
        // Where the folder has no named streams (Wine on a Unix file system) the origin mark is
        // left out: no "name:Zone.Identifier" file of its own beside the image.
        const bool streams = engine::FolderKeepsStreams(dir.path);
        for (auto& n : dir.Files()) {
            run.files[n] = dir.Read(n);
            EXPECT_EQ(n.find(':'), std::string::npos) << n;
            if (streams) run.zones[n] = dir.Read(n + ":Zone.Identifier");
        }
        run.progress = sink.progress;
        run.done = sink.done;
        run.error = sink.error;
        run.pages = server.requests_for("/images/search").size();
        if (windowSteps < 0) {
            EXPECT_FALSE(sink.busy);
        }
        return run;
    }
};

}  // namespace

TEST_F(ParallelTest, FourAtOnceGiveWhatOneAtATimeGives) {
    // Later images answer sooner; names collide across hosts; one image is on the page twice,
    // one is refused, a PNG and a WebP are skipped by their addresses.
    Serve("/a/photo.jpg", "photo.jpg", 400);
    Serve("/b/photo.jpg", "tall.jpg", 300);
    Serve("/c/pic.jpg", "photo.jpg", 200);
    Serve("/d/photo.jpg", "tall.jpg", 100);
    Serve("/e/", "photo.jpg", 0);
    Serve("/f/last.jpg", "tall.jpg", 50);
    // A blank name takes a random number unless it is the first result.
    ServePage({Result(Url("/e/"), "http://site.example/e"), Result(Url("/a/photo.jpg"), "http://site.example/a"),
               Result(Url("/b/photo.jpg"), "http://site.example/b"),
               Result(Url("/missing.jpg"), "http://site.example/404"),
               Result(Url("/c/pic.jpg"), "http://site.example/c"),
               Result(Url("/A/PHOTO.JPG"), "http://site.example/again"), Result(Url("/g/x.png"), "p"),
               Result(Url("/h/x.webp"), "p"), Result(Url("/d/photo.jpg"), "http://site.example/d%2520x"),
               Result(Url("/f/last.jpg"), "http://site.example/f")});
    Run one = Search(1);
    Run four = Search(4);
    EXPECT_EQ(one.names, (std::vector<std::string>{"noname0_0.jpg", "photo.jpg", "photo(1).jpg", "pic.jpg",
                                                   "photo(2).jpg", "last.jpg"}));
    EXPECT_EQ(four.names, one.names);
    EXPECT_EQ(four.imageLines, one.imageLines);
    EXPECT_EQ(four.pageLines, one.pageLines);
    EXPECT_EQ(four.progress, one.progress);
    EXPECT_EQ(four.files, one.files);
    EXPECT_EQ(four.done, one.done);
    EXPECT_EQ(four.zones, one.zones);
    if (!one.zones.empty()) {
        EXPECT_EQ(one.zones["pic.jpg"], engine::ZoneIdentifierText(Url("/c/pic.jpg"), "http://site.example/c"));
    }
    EXPECT_TRUE(four.error.empty()) << four.error;
    EXPECT_GE(mostInFlight.load(), 2);
    EXPECT_LE(mostInFlight.load(), 4);
}

TEST_F(ParallelTest, TheFileLimitIsTestedBetweenPages) {
    std::vector<std::string> results;
    for (int i = 0; i < 8; i++) {
        Serve("/i/" + std::to_string(i) + ".jpg", "photo.jpg", 20 * (8 - i));
        results.push_back(Result(Url("/i/" + std::to_string(i) + ".jpg"), "p"));
    }
    ServePage(results);
    Run four = Search(4, 3);
    EXPECT_EQ(four.names.size(), 8u);  // the whole first page
    EXPECT_EQ(four.pages, 1u);         // and no second
    EXPECT_EQ(four.names, Search(1, 3).names);
}

TEST_F(ParallelTest, StopDuringAPageEndsItPromptlyWithoutPartialFiles) {
    std::vector<std::string> results;
    for (int i = 0; i < 12; i++) {
        Response r = Response::file(std::string(4000, 'x'), "image/jpeg");
        r.drip_ms = 50;  // a byte every 50 ms: each of these takes minutes
        server.on("/slow/" + std::to_string(i) + ".jpg", r);
        results.push_back(Result(Url("/slow/" + std::to_string(i) + ".jpg"), "p"));
    }
    ServePage(results);
    Run four = Search(4, 1000, 800);
    EXPECT_TRUE(four.files.empty());
    EXPECT_TRUE(four.names.empty());
    EXPECT_LT(four.seconds, 0.8 + 1.0);
    EXPECT_EQ(server.requests_for("/slow/4.jpg").size(), 0u);  // not yet started: skipped
}

TEST_F(ParallelTest, NamesInFlightCompareAsTheFileSystemComparesThem) {
    // Names that differ only in the case of an accented letter are one file on NTFS: the second
    // takes the next free name, even while the first is still on its way.
    Serve("/x/%C3%84rger.jpg", "photo.jpg", 400);
    Serve("/y/%C3%A4rger.jpg", "tall.jpg", 0);
    ServePage({Result(Url("/x/%C3%84rger.jpg"), "http://site.example/x"),
               Result(Url("/y/%C3%A4rger.jpg"), "http://site.example/y")});
    Run two = Search(2);
    EXPECT_EQ(two.names, (std::vector<std::string>{"\xC3\x84rger.jpg", "\xC3\xA4rger(1).jpg"}));
    EXPECT_EQ(two.files["\xC3\x84rger.jpg"], Fixture("photo.jpg"));
    EXPECT_EQ(two.files["\xC3\xA4rger(1).jpg"], Fixture("tall.jpg"));
    EXPECT_EQ(Search(1).names, two.names);
}

TEST_F(ParallelTest, AWindowThatGoesDuringThePageEndsTheSearchWithoutEndingTheProgram) {
    // The window goes with downloads running and the hourglass on: the error ends the run, and
    // taking the hourglass off (which can no longer run) must not end the process.
    std::vector<std::string> results;
    for (int i = 0; i < 4; i++) {
        Serve("/w/" + std::to_string(i) + ".jpg", "photo.jpg", 300);
        results.push_back(Result(Url("/w/" + std::to_string(i) + ".jpg"), "p"));
    }
    ServePage(results);
    Run gone = Search(4, 1000, -1, 3);
    EXPECT_EQ(gone.error, "The window has gone");
    EXPECT_TRUE(gone.names.empty());
}
