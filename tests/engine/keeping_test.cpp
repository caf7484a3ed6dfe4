// Whole searches that keep a collection: the same bytes under other addresses, pictures below the
// smallest size, bodies that are no picture, and the sources file read back.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <ctime>

#include "engine/contenthash.h"
#include "engine/sourcerecord.h"
#include "scan_support.h"
#include "source_rows.h"

using namespace scantest;
using testsupport::HttpServer;
using testsupport::Response;

namespace {

Response Picture(const std::string& fixture) {
    return Response::file(Fixture(fixture), fixture.ends_with(".gif") ? "image/gif" : "image/jpeg");
}

struct KeepingTest : ::testing::Test {
    HttpServer server;
    WindowSink sink;
    TempDir folder, records;
    std::atomic<bool> stop{false};

    // A search of "café au lait" whose one page (then that page again) holds the results.
    void Search(const std::vector<std::string>& results, const engine::CollectionOptions& rules, int parallel = 1) {
        server.on("/images/search", Response::text(Page(results)));
        sink.NewSearch();
        engine::SearchRequest request = TestSearch(server.base(), folder.path);
        request.keywords = "caf\xC3\xA9+au+lait";
        request.parallel = parallel;
        request.imageMs = 10000;
        request.collection = rules;
        ASSERT_TRUE(RunJob(request, sink, stop));
        EXPECT_EQ(sink.error, "");
    }
    std::vector<std::string> Files() const {
        std::vector<std::string> files = folder.Files();
        std::sort(files.begin(), files.end());
        return files;
    }
};

}  // namespace

TEST_F(KeepingTest, OnlyNewPicturesOfTheSmallestSizeAreKeptAndEachIsRecorded) {
    folder.Write("had.gif", Fixture("image.gif"));  // in the folder before the search
    for (const char* path : {"/a.jpg", "/b/copy.jpg", "/again.jpg"}) server.on(path, Picture("photo.jpg"));
    server.on("/same.gif", Picture("image.gif"));
    server.on("/tall.jpg", Picture("tall.jpg"));  // 30 x 60: narrower than the smallest
    Response cut = Picture("photo.jpg");          // the connection ends before the rest
    cut.announce_length = static_cast<int64_t>(cut.body.size());
    cut.body.resize(cut.body.size() - 100);
    server.on("/cut.jpg", cut);
    server.on("/page.jpg", Response::text("<html><body>Hotlinking is not allowed</body></html>"));
    server.on("/empty.jpg", Response::file("", "image/jpeg"));
    const std::string csv = records.path + "sources.csv";

    // Several at once: of two identical files the first on the page is kept all the same.
    const int64_t before = std::time(nullptr);
    Search({Result(server.url("/a.jpg"), "http://p.example/a?x=1&amp;y=%E7%8C%AB"),
            Result(server.url("/b/copy.jpg"), "p"), Result(server.url("/tall.jpg"), "p"),
            Result(server.url("/cut.jpg"), "p"), Result(server.url("/same.gif"), "p")},
           {.skipIdentical = true, .minWidth = 35, .minHeight = 25, .onlyPictures = true, .sourcesPath = csv}, 4);
    EXPECT_EQ(sink.Names(), std::vector<std::string>{"a.jpg"});
    EXPECT_EQ(Files(), (std::vector<std::string>{"a.jpg", "had.gif"}));
    EXPECT_EQ(sink.done, std::vector<std::string>{"done"});
    EXPECT_EQ(server.requests_for("/cut.jpg").size(), 1u);  // refused after its download, never asked again

    const std::string text = testsupport::ReadWholeFile(csv);
    ASSERT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
    const auto rows = sourcerows::CsvRecords(text.substr(3));
    ASSERT_EQ(rows.size(), 2u) << text;
    EXPECT_EQ(rows[0][0], "file");
    const std::string when = rows[1][6];
    EXPECT_TRUE(when >= engine::IsoUtc(before) && when <= engine::IsoUtc(std::time(nullptr))) << when;
    EXPECT_EQ(rows[1], (std::vector<std::string>{"a.jpg", server.url("/a.jpg"), "http://p.example/a?x=1&y=\xE7\x8C\xAB",
                                                 "caf\xC3\xA9 au lait", "", "nl-NL", when,
                                                 std::to_string(Fixture("photo.jpg").size()), "64", "48",
                                                 *engine::FileSha256(folder.path + "a.jpg")}));

    // Into the same folder: those bytes under a new address, a page and an empty body served as
    // pictures. Nothing is new: nothing is kept, listed or recorded.
    Search({Result(server.url("/again.jpg"), "p"), Result(server.url("/page.jpg"), "p"),
            Result(server.url("/empty.jpg"), "p")},
           {.skipIdentical = true, .onlyPictures = true, .sourcesPath = csv});
    EXPECT_TRUE(sink.entries.empty());
    EXPECT_EQ(sink.done, std::vector<std::string>{"No downloads to get for this..."});
    EXPECT_EQ(Files(), (std::vector<std::string>{"a.jpg", "had.gif"}));
    EXPECT_EQ(testsupport::ReadWholeFile(csv), text);
    EXPECT_EQ(server.requests_for("/page.jpg").size(), 1u);

    // Without the rules the page is kept and listed, with the program's icon, as it always was.
    Search({Result(server.url("/page.jpg?again"), "p")}, {});
    EXPECT_EQ(sink.Names(), std::vector<std::string>{"page.jpg"});
    EXPECT_TRUE(sink.notices.empty());
}
