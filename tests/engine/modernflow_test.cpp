// Which markup's rules read a page, and the steps today's results take, without Windows API.
#include "engine/modernflow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/naming.h"
#include "platform/text.h"
#include "engine/urldecode.h"

using namespace engine;

namespace {

std::string Classic(const std::string& image, const std::string& page) {
    return "<div><a class=\"thumb\" href=\"" + image + "\" h=\"ID=images,1\"><img src=\"t\"></a>" +
           "<a class=\"tit\" href=\"" + page + "\" h=\"ID=images,2\">title</a><a href=\"/site\">site</a></div>\n";
}

std::string Modern(const std::string& murl, const std::string& purl) {
    return "<li><a class=\"iusc\" m=\"{&quot;purl&quot;:&quot;" + purl + "&quot;,&quot;murl&quot;:&quot;" + murl +
           "&quot;}\" href=\"/images/search?view=detailV2\"><img src=\"t\"></a>"
           "<a class=\"inflnk\" href=\"" +
           purl + "\">site</a></li>\n";
}

// Plays the job: records every hook call in order.
struct Hooks : ScanHooks {
    std::vector<std::string> calls, fetchedUrls;
    std::vector<NewImage> fetched;
    int stopAt = -1, stopCalls = 0;

    bool StopRequested() override { return stopCalls++ == stopAt; }
    bool IsFetched(const std::string& url) override {
        calls.push_back("fetched? " + url);
        for (auto& u : fetchedUrls)
            if (platform::SameAsciiIgnoringCase(u, url)) return true;
        return false;
    }
    void CountTried() override { calls.push_back("tried"); }
    bool FileExists(const std::string& name) override {
        for (auto& f : fetched)
            if (platform::SameAsciiIgnoringCase(f.fileName, name)) return true;
        return false;
    }
    int RandomFactor() override { return 5; }
    void Fetch(const NewImage& image) override {
        calls.push_back("fetch " + image.fileName);
        fetched.push_back(image);
        fetchedUrls.push_back(image.imageUrl);
    }
};

struct Scan {
    std::string page;
    int wholePageAsked = 0;
    bool stopped = false;

    void Run(Hooks& hooks) {
        size_t at = page.find("b_SearchBoxAnswer");
        std::string rest = at == std::string::npos ? page : page.substr(at);
        stopped = ScanEitherMarkup(rest, [&] { return wholePageAsked++, page; }, hooks, {});
    }
};

}  // namespace

TEST(EitherMarkup, APageWithClassicResultsIsTheClassicRulesAlone) {
    Hooks hooks;
    Scan scan{Modern("http://m/0.jpg", "http://p/0") + "<div id=\"b_SearchBoxAnswer\">" +
              Classic("http://c/1.jpg", "http://p/a%2520b&amp;c") + Modern("http://m/1.jpg", "http://p/1") +
              Modern("http://m/2.jpg", "http://p/2")};
    scan.Run(hooks);
    ASSERT_EQ(hooks.fetched.size(), 1u);
    EXPECT_EQ(hooks.fetched[0].imageUrl, "http://c/1.jpg");
    EXPECT_EQ(hooks.fetched[0].pageUrl, "http://p/a%20b&c");
    EXPECT_FALSE(hooks.fetched[0].linesReady);
    EXPECT_EQ(scan.wholePageAsked, 0);

    // One classic result that is then skipped still makes the page a classic one.
    Hooks seen;
    seen.fetchedUrls = {"http://c/1.jpg"};
    scan.Run(seen);
    EXPECT_EQ(seen.calls, std::vector<std::string>{"fetched? http://c/1.jpg"});
    EXPECT_EQ(scan.wholePageAsked, 0);

    // An address the classic rules cannot decode is skipped, and still makes the page classic.
    Hooks bad;
    Scan broken{Classic("http://c/%zz.jpg", "p") + Modern("http://m/1.jpg", "http://p/1")};
    broken.Run(bad);
    EXPECT_FALSE(broken.stopped);
    EXPECT_TRUE(bad.fetched.empty());
    EXPECT_EQ(broken.wholePageAsked, 0);
}

TEST(EitherMarkup, TodaysResultsTakeTheClassicSteps) {
    Hooks hooks;
    hooks.fetchedUrls = {"HTTP://M/SEEN.JPG"};
    // The start marker stands after the first result: today's rules read the whole page.
    Scan scan{"<html><a href=\"/\">Images</a>" + Modern("http://m/a/photo.jpg", "http://p/a%20b") +
              "<div id=\"b_SearchBoxAnswer\"></div>" + Modern("http://m/seen.jpg", "http://p/s") +
              Modern("http://m/pic.png?w=1", "http://p/png") + Modern("http://m/pic.webp", "http://p/webp") +
              Modern("http://m/x/", "http://p/noname") + Modern("http://m/b/photo.JPEG?a=1&amp;b=2", "http://p/b") +
              Modern("http://m/c.webp?x=1", "http://p/c") + "</html>"};
    scan.Run(hooks);
    EXPECT_FALSE(scan.stopped);
    EXPECT_EQ(scan.wholePageAsked, 1);
    EXPECT_EQ(hooks.calls,
              (std::vector<std::string>{
                  "fetched? http://m/a/photo.jpg", "tried", "fetch photo.jpg", "fetched? http://m/seen.jpg",
                  "fetched? http://m/pic.png?w=1", "tried", "fetched? http://m/pic.webp", "tried",
                  "fetched? http://m/x/", "tried", "fetch noname20_4.jpg", "fetched? http://m/b/photo.JPEG?a=1&b=2",
                  "tried", "fetch photo(1).jpg", "fetched? http://m/c.webp?x=1", "tried", "fetch c.webpx1"}));
    ASSERT_EQ(hooks.fetched.size(), 4u);
    EXPECT_EQ(hooks.fetched[0].pageUrl, "http://p/a b");
    EXPECT_TRUE(hooks.fetched[0].linesReady);
    EXPECT_EQ(hooks.fetched[0].index, 0);
    EXPECT_EQ(hooks.fetched[2].index, 5);
}

TEST(EitherMarkup, AStopRequestEndsTodaysResultsToo) {
    Scan scan{"<a href=\"/\">x</a><a href=\"/\">y</a>" + Modern("http://m/1.jpg", "http://p/1") +
              Modern("http://m/2.jpg", "http://p/2")};
    // Six anchor openings: the classic rules ask three times for their (blank) results, so the
    // fifth question comes before the second of today's results.
    Hooks hooks;
    hooks.stopAt = 4;
    scan.Run(hooks);
    EXPECT_TRUE(scan.stopped);
    ASSERT_EQ(hooks.fetched.size(), 1u);
    EXPECT_EQ(hooks.fetched[0].imageUrl, "http://m/1.jpg");

    Hooks early;
    early.stopAt = 0;
    scan.Run(early);
    EXPECT_TRUE(scan.stopped);
    EXPECT_EQ(scan.wholePageAsked, 1);  // a stop during the classic rules ends the page there
    EXPECT_TRUE(early.fetched.empty());
}

TEST(EitherMarkup, APageOfNeitherMarkupGivesNothing) {
    Hooks hooks;
    Scan scan{"<html><a href=\"/\">x</a><a class=\"iusc\" m=\"{broken\">y</a></html>"};
    scan.Run(hooks);
    EXPECT_FALSE(scan.stopped);
    EXPECT_TRUE(hooks.calls.empty());
}
