// Whole searches on results pages in today's markup, through the real page scan: the local
// service plays the search service and the image servers.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "scan_support.h"

using namespace scantest;
using testsupport::HttpServer;
using testsupport::Request;
using testsupport::Response;

namespace {

using Strings = std::vector<std::string>;

// The JSON of one result as the service escapes it into a double-quoted attribute.
std::string Escaped(const std::string& json) {
    std::string out;
    for (char c : json) {
        if (c == '&')
            out += "&amp;";
        else if (c == '"')
            out += "&quot;";
        else
            out += c;
    }
    return out;
}

// One result of today's markup: the "iusc" anchor with its m attribute, a thumbnail, and a
// second anchor to the page (classic-looking anchors, but not of the classic classes).
std::string Modern(const std::string& mAttribute) {
    return "<li><div class=\"iuscp\"><div class=\"imgpt\"><a class=\"iusc\" style=\"height:160px\" " + mAttribute +
           " href=\"/images/search?view=detailV2&amp;q=test\"><div class=\"img_cont\"><img class=\"mimg\" "
           "src=\"/th?id=OIP.1\" alt=\"\"></div></a><div class=\"infopt\"><a class=\"inflnk\" href=\"/site\" "
           "h=\"ID=images,5\">site</a></div></div></div></li>\n";
}

std::string Json(const std::string& murl, const std::string& purl) {
    return "{\"cid\":\"a1\",\"purl\":\"" + purl + "\",\"murl\":\"" + murl +
           "\",\"turl\":\"https://tse.example/th?id=OIP.1\",\"md5\":\"0f3e\",\"t\":\"Red car\"}";
}

std::string ModernPage(const std::vector<std::string>& results) {
    std::string page =
        "<!DOCTYPE html><html><head><title>test - Search</title><script>var _G={};"
        "var t='<a class=\"thumb\" href=\"x\" h=\"ID=1\">';</script></head><body>"
        "<a href=\"/\" h=\"ID=images,1\">Images</a><div id=\"b_SearchBoxAnswer\"></div><ul>\n";
    for (auto& r : results) page += r;
    return page + "</ul></body></html>\n";
}

struct ModernTest : ::testing::Test {
    HttpServer server;
    WindowSink sink;
    std::atomic<bool> stop{false};

    void Serve(const std::string& path, const std::string& fixture, const std::string& type) {
        server.on(path, Response::file(Fixture(fixture), type));
    }
    std::string Url(const std::string& path) { return server.url(path); }
    bool Requested(const std::string& path) { return !server.requests_for(path).empty(); }
    Strings Targets() {
        Strings out;
        for (auto& r : server.requests())
            if (r.path() != "/images/search") out.push_back(r.target);
        return out;
    }
};

}  // namespace

TEST_F(ModernTest, EveryReadableResultGoesThroughTheWholePath) {
    TempDir dir;
    dir.Write("photo.jpg", "old");
    Serve("/a/photo.jpg", "photo.jpg", "image/jpeg");
    Serve("/b/caf%C3%A9%20one.gif", "image.gif", "image/gif");
    Serve("/c/tall.jpg", "tall.jpg", "image/jpeg");
    Serve("/d/pic.png", "pic.png", "image/png");
    Serve("/e/pic.webp", "pic.webp", "image/webp");
    Serve("/f/pic.bmp", "pic.bmp", "image/bmp");
    Serve("/g/seen.jpg", "photo.jpg", "image/jpeg");
    Serve("/h/", "photo.jpg", "image/jpeg");
    sink.fetchedList = {Url("/G/SEEN.JPG")};  // fetched by an earlier search of the program run
    std::string ok = Json(Url("/x/never.jpg"), "http://site.example/x");
    server.on(
        "/images/search",
        Response::text(ModernPage({
            Modern("m=\"" + Escaped(Json(Url("/a/photo.jpg"), "http://site.example/a%20b/?q=red+car&x=%2541")) + "\""),
            // attributes in another order, single quotes, escapes of both kinds
            "<li><a m='{\"murl\":\"" + Url("\\/b\\/caf\\u00e9 one.gif") +
                "\",\"purl\":\"http:\\/\\/site.example\\/caf%C3%A9\\u0141%E4%B8%AD\"}' "
                "href=\"#\" class=\"thumbnail iusc\"></a></li>\n",
            Modern("m=\"" + Escaped(ok).substr(0, 40) + "\""),                          // malformed: cut short
            Modern("m=\"{&quot;murl&quot;:&quot;" + Url("/x/lone.jpg") + "&quot;}\""),  // no page address
            Modern("m=\"" + Escaped(Json(Url("/c/tall.jpg?w=300&h=200"), "http://site.example/c")) + "\""),
            Modern("m=\"" + Escaped(Json(Url("/d/pic.png"), "http://site.example/d")) + "\""),
            Modern("m=\"" + Escaped(Json(Url("/e/pic.webp"), "http://site.example/e")) + "\""),
            Modern("m=\"" + Escaped(Json(Url("/missing.jpg"), "http://site.example/404")) + "\""),
            Modern("m=\"" + Escaped(Json(Url("/f/pic.bmp"), "http://site.example/f")) + "\""),
            Modern("m=\"" + Escaped(Json(Url("/g/seen.jpg"), "http://site.example/g")) + "\""),
            Modern("m=\"" + Escaped(Json(Url("/h/"), "http://site.example/h")) + "\""),
        })));
    RunSearch(sink, server.base(), dir.path, 4, stop);

    EXPECT_EQ(sink.error, "");
    // Files: new names beside the one already there, each holding what the server sent.
    const Strings names = sink.Names();
    ASSERT_EQ(names.size(), 5u);
    EXPECT_EQ(Strings(names.begin(), names.begin() + 4),
              (Strings{"photo(1).jpg", "cafC3A920one.gif", "tall.jpg", "pic.bmp"}));
    // the ninth readable result: noname, a random multiple of 8, _8.jpg
    const std::string& noname = names[4];
    EXPECT_EQ(noname.rfind("noname", 0), 0u) << noname;
    EXPECT_EQ(noname.substr(noname.size() - 6), "_8.jpg") << noname;
    EXPECT_EQ(dir.Read("photo.jpg"), "old");
    EXPECT_EQ(dir.Read("photo(1).jpg"), Fixture("photo.jpg"));
    EXPECT_EQ(dir.Read("cafC3A920one.gif"), Fixture("image.gif"));
    EXPECT_EQ(dir.Read("tall.jpg"), Fixture("tall.jpg"));
    EXPECT_EQ(dir.Files().size(), 6u);
    // Requests: the addresses as the service gave them, a space and a non-ASCII character
    // percent-encoded, "&" from "&amp;"; never PNG, WebP, an address fetched before or one of
    // an unreadable result.
    EXPECT_EQ(Targets(), (Strings{"/a/photo.jpg", "/b/caf%C3%A9%20one.gif", "/c/tall.jpg?w=300&h=200", "/missing.jpg",
                                  "/f/pic.bmp", "/h/"}));
    // Lines: the page as a person reads it; the image address as requested.
    ASSERT_EQ(sink.entries.size(), 5u);
    EXPECT_EQ(sink.entries[0].pageLine, "http://site.example/a b/?q=red+car&x=%41");
    EXPECT_EQ(sink.entries[0].imageLine, Url("/a/photo.jpg"));
    EXPECT_EQ(sink.entries[1].imageLine, Url("/b/caf%C3%A9%20one.gif"));
    if (GetACP() == 1252) {
        // no best-fit look-alike ("L" for U+0141): what the code page lacks stays encoded
        EXPECT_EQ(sink.entries[1].pageLine, "http://site.example/caf\xE9%C5%81%E4%B8%AD");
    }
    EXPECT_EQ(sink.entries[2].imageLine, Url("/c/tall.jpg?w=300&h=200"));
    EXPECT_EQ(sink.fetchedList.size(), 6u);
    auto& picture = sink.entries[2].picture;
    ASSERT_TRUE(picture && picture->IsJpeg());
    EXPECT_EQ(picture->Height(), 108);
    // Counts: tried = past the duplicate test (PNG, WebP and the refused one too).
    EXPECT_EQ(sink.progress.back(), "Trying: 8 of 4 images / Downed: 5 images");
    EXPECT_EQ(sink.progress.size(), 5u);
    EXPECT_EQ(sink.done, Strings{"done"});
    EXPECT_EQ(sink.busyCalls, 2 * 6);
}

TEST_F(ModernTest, ClassicPagesAreReadAsBefore) {
    TempDir dir;
    Serve("/c/classic.jpg", "photo.jpg", "image/jpeg");
    Serve("/m/modern.jpg", "photo.jpg", "image/jpeg");
    // A page with a classic result keeps to the classic rules, even beside today's anchors.
    server.on(
        "/images/search",
        Response::text(Page({Result(Url("/c/classic.jpg?a=1&amp;b=2"), "http://site.example/a%2520b&amp;c"),
                             Modern("m=\"" + Escaped(Json(Url("/m/modern.jpg"), "http://site.example/m")) + "\"")})));
    RunSearch(sink, server.base(), dir.path, 1, stop);
    EXPECT_EQ(sink.Names(), Strings{"classic.jpg"});
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_EQ(sink.entries[0].pageLine, "http://site.example/a b&c");
    EXPECT_EQ(sink.entries[0].imageLine, Url("/c/classic.jpg?a=1&amp;b=2"));
    EXPECT_FALSE(Requested("/m/modern.jpg"));
}

TEST_F(ModernTest, APageOfUnreadableResultsDownloadsNothing) {
    TempDir dir;
    server.fallback([](const Request&) { return Response::file(Fixture("photo.jpg"), "image/jpeg"); });
    std::string huge(1 << 20, 'x');
    server.on(
        "/images/search",
        Response::text(ModernPage({
            Modern("m=\"{&quot;murl&quot;:&quot;" + Url("/1.jpg") + "&quot;,&quot;purl&quot;:&quot;p&quot;"),  // open
            Modern("m=\"{&quot;murl&quot;:&quot;" + Url("/2.jpg") + "\\q&quot;,&quot;purl&quot;:&quot;p&quot;}\""),
            Modern("m=\"{&quot;t&quot;:&quot;" + huge + "&quot;,&quot;purl&quot;:&quot;p&quot;}\""),
            Modern("m=\"" + std::string(100000, '[') + "\""),
            Modern("m=\"{&quot;murl&quot;:&quot;" + Url("/3.jpg") + "&quot;,&quot;purl&quot;:&quot;  &quot;}\""),
        })));
    RunSearch(sink, server.base(), dir.path, 5, stop);
    EXPECT_EQ(sink.error, "");
    EXPECT_TRUE(sink.entries.empty());
    EXPECT_EQ(sink.done, Strings{"No downloads to get for this..."});
    EXPECT_EQ(server.request_count(), 1u);
}
