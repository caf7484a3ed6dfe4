// Whole searches through the real page scan: the local service plays the search service and
// the image servers, with real image files of several formats.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "scan_support.h"

using namespace scantest;
using testsupport::HttpServer;
using testsupport::Request;
using testsupport::Response;

namespace {

struct ScanTest : ::testing::Test {
    HttpServer server;
    WindowSink sink;
    std::atomic<bool> stop{false};
    std::atomic<int> requestsWhileIdle{0};

    // Serves an image file; every image request must arrive while the list shows the hourglass.
    void Serve(const std::string& path, const std::string& fixture, const std::string& type) {
        Response r = Response::file(Fixture(fixture), type);
        server.on(path, [this, r](const Request&) {
            if (!sink.busy) requestsWhileIdle++;
            return r;
        });
    }
    void ServePage(const std::vector<std::string>& results) {
        server.on("/images/search", Response::text(Page(results)));
    }
    std::string Url(const std::string& path) { return server.url(path); }
    bool Requested(const std::string& path) { return !server.requests_for(path).empty(); }
};

}  // namespace

TEST_F(ScanTest, NamesFormatsAndLinesOfOnePage) {
    TempDir dir;
    Serve("/a/", "photo.jpg", "image/jpeg");
    Serve("/b/photo.jpg", "photo.jpg", "image/jpeg");
    Serve("/c/image.gif", "image.gif", "image/gif");
    Serve("/d/pic.jpg:large", "tall.jpg", "image/jpeg");
    std::string longName = std::string(36, 'n') + ".jpg";
    Serve("/e/" + longName, "photo.jpg", "image/jpeg");
    Serve("/f/pic.bmp", "pic.bmp", "image/bmp");
    Serve("/g/a.png", "pic.png", "image/png");
    Serve("/h/b.webp", "pic.webp", "image/webp");
    Serve("/j/c.webp", "pic.webp", "image/webp");
    ServePage(
        {Result(Url("/a/"), "http://site.example/a"),
         Result(Url("/b/photo.jpg?w=300&amp;h=200"), "http://site.example/p?a=1&amp;b=x%2520y"),
         Result(Url("/c/image.gif?x=1"), "http://site.example/c"),
         Result(Url("/d/pic.jpg:large"), "http://site.example/d"),
         Result(Url("/e/" + longName), "http://site.example/e"), Result(Url("/f/pic.bmp"), "http://site.example/f"),
         Result(Url("/g/a.png?w=200"), "http://site.example/g"), Result(Url("/h/b.webp"), "http://site.example/h"),
         Result(Url("/i/missing.jpg"), "http://site.example/i"),  // 404: refused
         Result(Url("/j/c.webp?x=1"), "http://site.example/j")});
    RunSearch(sink, server.base(), dir.path, 1, stop);

    EXPECT_EQ(sink.error, "");
    EXPECT_EQ(sink.Names(), (std::vector<std::string>{"noname0_0.jpg", "photo.jpg", "image.gif", "pic.jpg",
                                                      std::string(30, 'n') + ".jpg", "pic.bmp", "c.webpx1"}));
    // Each file holds exactly what the server sent.
    EXPECT_EQ(dir.Read("image.gif"), Fixture("image.gif"));
    EXPECT_EQ(dir.Read("pic.jpg"), Fixture("tall.jpg"));
    EXPECT_EQ(dir.Read("pic.bmp"), Fixture("pic.bmp"));
    EXPECT_EQ(dir.Files().size(), 7u);
    // Thumbnails: JPEG pictures fitted to 138 x 108; the WebP file does not decode and shows
    // the program's icon at 32 x 32.
    auto size = [&](size_t i) {
        auto& p = sink.entries.at(i).picture;
        return p && p->IsJpeg() && !p->JpegBytes().empty()
                   ? std::to_string(p->Width()) + "x" + std::to_string(p->Height())
                   : std::string("none");
    };
    EXPECT_EQ(size(1), "138x103");  // 64 x 48
    EXPECT_EQ(size(2), "138x103");  // GIF 40 x 30
    EXPECT_EQ(size(3), "54x108");   // 30 x 60
    EXPECT_EQ(size(5), "138x92");   // BMP 30 x 20
    EXPECT_EQ(size(6), "32x32");
    // PNG and WebP by the address are never asked for; every download ran under the hourglass.
    EXPECT_FALSE(Requested("/g/a.png"));
    EXPECT_FALSE(Requested("/h/b.webp"));
    EXPECT_EQ(requestsWhileIdle, 0);
    EXPECT_EQ(sink.busyCalls, 2 * 8);
    EXPECT_FALSE(sink.busy);
    // The image keeps "&amp;" in its request and its line; the page line has "&" and, after two
    // decodings, a space for "%2520".
    EXPECT_EQ(server.requests_for("/b/photo.jpg").at(0).target, "/b/photo.jpg?w=300&amp;h=200");
    EXPECT_EQ(sink.entries[1].imageLine, Url("/b/photo.jpg?w=300&amp;h=200"));
    EXPECT_EQ(sink.entries[1].pageLine, "http://site.example/p?a=1&b=x y");
    EXPECT_EQ(sink.fetchedList.size(), 7u);
    // Tried counts every result past the duplicate test, the skipped and refused ones too.
    EXPECT_EQ(sink.progress.back(), "Trying: 10 of 1 images / Downed: 7 images");
    EXPECT_EQ(sink.progress.size(), 7u);
    EXPECT_EQ(sink.done, std::vector<std::string>{"done"});
    EXPECT_EQ(server.requests_for("/images/search").size(), 1u);
}

TEST_F(ScanTest, NewNamesBesideFilesAlreadyThereWhichStayUntouched) {
    TempDir dir, other;
    dir.Write("photo.jpg", "old 0");
    dir.Write("photo(1).jpg", "old 1");
    Serve("/a/photo.jpg", "photo.jpg", "image/jpeg");
    Serve("/b/pic", "photo.jpg", "image/jpeg");
    Serve("/c/CON", "photo.jpg", "image/jpeg");
    ServePage({Result(Url("/a/photo.jpg"), "p1"), Result(Url("/b/pic"), "p2"), Result(Url("/c/CON"), "p3")});
    RunSearch(sink, server.base(), dir.path, 1, stop);
    EXPECT_EQ(sink.Names(), (std::vector<std::string>{"photo(2).jpg", "pic.jpg", "_CON.jpg"}));
    EXPECT_EQ(dir.Read("photo.jpg"), "old 0");
    EXPECT_EQ(dir.Read("photo(1).jpg"), "old 1");
    EXPECT_EQ(dir.Read("_CON.jpg"), Fixture("photo.jpg"));

    sink.NewSearch();
    Serve("/d/PHOTO.JPEG", "photo.jpg", "image/jpeg");
    ServePage({Result(Url("/d/PHOTO.JPEG"), "p4")});
    RunSearch(sink, server.base(), other.path, 1, stop);
    EXPECT_EQ(sink.Names(), std::vector<std::string>{"PHOTO.jpg"});
}

TEST_F(ScanTest, ImageFetchedByAnEarlierSearchIsSkippedWhateverItsCase) {
    TempDir dir;
    Serve("/s/Seen.jpg", "photo.jpg", "image/jpeg");
    ServePage({Result(Url("/s/Seen.jpg"), "p")});
    RunSearch(sink, server.base(), dir.path, 1, stop);
    ASSERT_EQ(sink.Names(), std::vector<std::string>{"Seen.jpg"});  // the first image of the run

    sink.NewSearch();  // the result list is cleared, the fetched-image list is not
    Serve("/t/new.jpg", "photo.jpg", "image/jpeg");
    std::string seen = Url("/S/SEEN.JPG");
    for (auto& c : seen) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    ServePage({Result(seen, "p"), Result(Url("/t/new.jpg"), "p")});
    RunSearch(sink, server.base(), dir.path, 1, stop);
    EXPECT_EQ(sink.Names(), std::vector<std::string>{"new.jpg"});
    EXPECT_EQ(sink.progress.back(), "Trying: 1 of 1 images / Downed: 1 images");
    EXPECT_FALSE(Requested("/S/SEEN.JPG"));
}

TEST_F(ScanTest, TheFileLimitLetsAWholePageThrough) {
    TempDir dir;
    server.fallback([](const Request& r) { return Response::file(Fixture("photo.jpg"), "image/jpeg"); });
    server.on("/images/search", [this](const Request& r) {
        std::string first = r.target.substr(r.target.find("&first=") + 7);
        first = first.substr(0, first.find('&'));
        std::vector<std::string> results;
        for (int i = 0; i < 28; i++)
            results.push_back(
                Result(Url("/p" + first + "/" + std::to_string(i) + ".jpg"), "http://site.example/" + first));
        return Response::text(Page(results));
    });
    RunSearch(sink, server.base(), dir.path, 50, stop);
    EXPECT_EQ(sink.entries.size(), 56u);
    EXPECT_EQ(server.requests_for("/images/search").size(), 2u);  // no third request
    EXPECT_EQ(sink.progress[28], "Trying: 29 of 50 images / Downed: 29 images");
    EXPECT_EQ(sink.entries[28].fileName, "0(1).jpg");  // page two's 0.jpg beside page one's
    EXPECT_EQ(sink.done, std::vector<std::string>{"done"});
}

TEST_F(ScanTest, AnAddressThatCannotBeDecodedCostsItsResultOnly) {
    TempDir dir;
    server.fallback([](const Request&) { return Response::file(Fixture("photo.jpg"), "image/jpeg"); });
    // "%zz" fails the first decoding; "%25zz" decodes once to "%zz" and fails the second, which
    // comes before the download, so no file is left behind.
    ServePage({Result(Url("/a/1.jpg"), "p"), Result("", "http://site.example/%zz"), Result(Url("/b/x.jpg?%25zz"), "p"),
               Result(Url("/c/3.jpg"), "p")});
    RunSearch(sink, server.base(), dir.path, 2, stop);
    EXPECT_EQ(sink.Names(), (std::vector<std::string>{"1.jpg", "3.jpg"}));
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"1.jpg", "3.jpg"}));
    EXPECT_TRUE(sink.error.empty()) << sink.error;
    EXPECT_FALSE(Requested("/b/x.jpg"));
    EXPECT_EQ(sink.done, std::vector<std::string>{"done"});
    EXPECT_FALSE(sink.busy);
}

TEST_F(ScanTest, StopDuringADownloadEndsItWithoutAFileAndEndsTheScan) {
    TempDir dir;
    Response img = Response::file(Fixture("photo.jpg"), "image/jpeg");
    server.on("/a/1.jpg", [&](const Request&) {
        stop = true;  // the user presses Stop while the first image arrives
        return img;
    });
    Serve("/b/2.jpg", "photo.jpg", "image/jpeg");
    ServePage({Result(Url("/a/1.jpg"), "p"), Result(Url("/b/2.jpg"), "p")});
    RunSearch(sink, server.base(), dir.path, 1000, stop);
    EXPECT_TRUE(sink.Names().empty());
    EXPECT_TRUE(dir.Files().empty());
    EXPECT_FALSE(Requested("/b/2.jpg"));
    EXPECT_EQ(sink.done, std::vector<std::string>{"No downloads to get for this..."});
    EXPECT_EQ(sink.finished, 1);
}

TEST_F(ScanTest, PagesOfAnyContentEndTheSearchQuietly) {
    TempDir dir;
    std::string noAddresses;
    for (int i = 0; i < 1000; i++) noAddresses += "<a class=\"thumb\"><a class=\"tit\" href=\"x\"></a>";
    std::string binary;
    for (int i = 0; i < 200000; i++) binary += static_cast<char>((i * 7919) % 251 + 1);
    for (const std::string& body : {std::string(), noAddresses, binary, std::string("b_SearchBoxAns<a class=\"thu")}) {
        sink.NewSearch();
        server.on("/images/search", Response::text(body, "application/octet-stream"));
        RunSearch(sink, server.base(), dir.path, 1000, stop);
        EXPECT_EQ(sink.error, "");
        EXPECT_EQ(sink.done, std::vector<std::string>{"No downloads to get for this..."});
    }
    EXPECT_TRUE(dir.Files().empty());
}
