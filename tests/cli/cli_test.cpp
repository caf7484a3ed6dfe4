// quenby-cli.exe end to end: a copy of the program runs against the local service, with and
// without a settings file beside it; its lines, messages and exit status are checked.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "cli_support.h"

using namespace scantest;
using namespace clitest;
using testsupport::HttpServer;
using testsupport::Request;
using testsupport::Response;

TEST_F(CliTest, PrintsOneLinePerImageAndTheProgress) {
    ServeImage("/a/photo.jpg", "photo.jpg");
    ServeImage("/b/image.gif", "image.gif");
    ServeImage("/c/", "tall.jpg");
    server.on(
        "/images/search",
        Response::text(Page({Result(Url("/c/"), "http://site.example/c"),
                             Result(Url("/a/photo.jpg?w=300&amp;h=200"), "http://site.example/p?a=1&amp;b=x%2520y"),
                             Result(Url("/d/x.png"), "http://site.example/d"),
                             Result(Url("/b/image.gif?x=1"), "http://site.example/b")})));
    Outcome r = RunProgram(exe, Options() + "--max 1 red car");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.Lines(), (std::vector<std::string>{
                             "noname0_0.jpg\thttp://site.example/c\t" + Url("/c/"),
                             "photo.jpg\thttp://site.example/p?a=1&b=x y\t" + Url("/a/photo.jpg?w=300&amp;h=200"),
                             "image.gif\thttp://site.example/b\t" + Url("/b/image.gif?x=1")}));
    EXPECT_EQ(folder.Read("image.gif"), Fixture("image.gif"));
    EXPECT_NE(r.err.find("Doing: 1 of ...\r\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Trying: 1 of 1 images\tDowned: 1 images\r\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Trying: 4 of 1 images\tDowned: 3 images\r\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Finished all downloads..."), std::string::npos);
    auto searches = server.requests_for("/images/search");
    ASSERT_EQ(searches.size(), 1u);
    EXPECT_EQ(searches[0].target.substr(0, 33), "/images/search?q=red+car&first=1&");
}

TEST_F(CliTest, NothingToDownloadIsExitOne) {
    server.on("/images/search", Response::text(Page({})));
    Outcome r = RunProgram(exe, Options() + "--quiet nothing");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "No downloads to get for this...\r\n");
}

TEST_F(CliTest, UsageErrorsAreExitTwoWithTheUsage) {
    for (std::string args : {"", "--max many cats", "--safe-search Medium cats", "--bogus cats", "--parallel 9 cats"}) {
        Outcome r = RunProgram(exe, args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_NE(r.err.find("usage: quenby-cli"), std::string::npos) << args;
    }
    Outcome missing = RunProgram(exe, "--folder \"" + folder.path + "gone\" cats");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("no longer exists"), std::string::npos);
    EXPECT_EQ(server.request_count(), 0u);
}

TEST_F(CliTest, ABadEscapeCostsItsResultAndAnUnreachableServiceIsExitThree) {
    ServeImage("/a/1.jpg", "photo.jpg");
    server.on("/images/search", Response::text(Page({Result(Url("/a/1.jpg"), "p"), Result("", "http://x/%zz")})));
    Outcome r = RunProgram(exe, Options() + "--quiet --empty-pages 1 cats");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.Lines(), std::vector<std::string>{"1.jpg\tp\t" + Url("/a/1.jpg")});

    int port;
    {
        HttpServer gone;
        port = gone.port();
    }
    Outcome down = RunProgram(
        exe, "--service http://127.0.0.1:" + std::to_string(port) + " --folder \"" + Bare(folder) + "\" cats");
    EXPECT_EQ(down.status, 3);
    EXPECT_NE(down.err.find("quenby-cli: "), std::string::npos) << down.err;
}

TEST_F(CliTest, TheLastPageAgainEndsTheSearchAndEmptyPagesInARowToo) {
    auto firsts = [&] {
        std::vector<std::string> out;
        for (auto& q : server.requests_for("/images/search")) {
            std::string t = q.target.substr(q.target.find("&first=") + 7);
            out.push_back(t.substr(0, t.find('&')));
        }
        server.clear_requests();
        return out;
    };
    // Page one brings an image; every later page is that page again, as the real service
    // answers once its results have run out: nothing new, so the search ends after it.
    ServeImage("/a/1.jpg", "photo.jpg");
    server.on("/images/search", Response::text(Page({Result(Url("/a/1.jpg"), "p")})));
    Outcome r = RunProgram(exe, Options() + "--quiet cats");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.Lines().size(), 1u);
    EXPECT_EQ(firsts(), (std::vector<std::string>{"1", "57"}));

    // Later pages with new addresses that all fail: --empty-pages ends the search.
    int n = 0;
    server.on("/images/search", [&](const testsupport::Request&) {
        return Response::text(Page({Result(Url(n++ ? "/gone/" + std::to_string(n) + ".jpg" : "/a/1.jpg"), "p")}));
    });
    r = RunProgram(exe, Options() + "--quiet --empty-pages 2 dogs");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(firsts(), (std::vector<std::string>{"1", "57", "85"}));
}

TEST_F(CliTest, DefaultsComeFromTheSettingsFileWhichStaysUnwritten) {
    ServeImage("/a/1.jpg", "photo.jpg");
    server.on("/images/search", Response::text(Page({Result(Url("/a/1.jpg"), "p")})));
    std::string folderNoSlash = folder.path.substr(0, folder.path.size() - 1);
    std::string ini = "[Preferences]\r\nSavePath=" + folderNoSlash +
                      "\r\nMinFilesize=0x10\r\nMaxFilesize=12abc\r\n"
                      "MaxFileCount=0x1\r\nSafeSearchT=Strict\r\nSearchService=" +
                      server.base() + "\r\n";
    home.Write("Quenby.ini", ini);
    Outcome r = RunProgram(exe, "--quiet blue");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(folder.Read("1.jpg"), Fixture("photo.jpg"));
    auto searches = server.requests_for("/images/search");
    ASSERT_EQ(searches.size(), 1u);  // a limit of 1 ends the search after the page
    EXPECT_EQ(searches[0].target,
              "/images/search?q=blue&first=1&count=28&maxFileSize=4096000&minFileSize=16&safeSearch=Strict"
              "&mkt=nl-NL&adlt=Strict");
    EXPECT_EQ(home.Read("Quenby.ini"), ini);

    // The command line wins over the file.
    folder.Write("keep.txt", "x");
    Outcome o = RunProgram(exe, "--quiet --safe-search Off --max-size 100 --min-size 0 blue");
    EXPECT_EQ(o.status, 1);  // the only image is refused by its size
    EXPECT_NE(server.requests_for("/images/search").back().target.find("maxFileSize=100&minFileSize=0&safeSearch=Off"),
              std::string::npos);
}

TEST_F(CliTest, WithoutSettingsTheFolderIsTemp) {
    ServeImage("/a/1.jpg", "photo.jpg");
    server.on("/images/search", Response::text(Page({Result(Url("/a/1.jpg"), "p")})));
    char old[MAX_PATH];
    DWORD had = GetEnvironmentVariableA("TEMP", old, MAX_PATH);
    std::string temp = folder.path.substr(0, folder.path.size() - 1);
    SetEnvironmentVariableA("TEMP", temp.c_str());
    Outcome r = RunProgram(exe, "--quiet --max 1 --service " + server.base() + " blue");
    SetEnvironmentVariableA("TEMP", had ? old : nullptr);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(folder.Read("1.jpg"), Fixture("photo.jpg"));
    EXPECT_NE(server.requests_for("/images/search")
                  .at(0)
                  .target.find("maxFileSize=4096000&minFileSize=0&safeSearch=Moderate"),
              std::string::npos);
}

TEST_F(CliTest, ReadsTodaysResultsPagesToo) {
    ServeImage("/a/photo.jpg", "photo.jpg");
    ServeImage("/b/x%20y.gif", "image.gif");
    auto result = [](const std::string& murl, const std::string& purl) {
        return "<a class=\"iusc\" m=\"{&quot;murl&quot;:&quot;" + murl + "&quot;,&quot;purl&quot;:&quot;" + purl +
               "&quot;,&quot;t&quot;:&quot;x&quot;}\" href=\"/images/search?view=detailV2\"><img src=\"t\"></a>\n";
    };
    server.on("/images/search",
              Response::text("<html><body><a href=\"/\">Images</a><div id=\"b_SearchBoxAnswer\">" +
                             result(Url("/a/photo.jpg?w=1&amp;h=2"), "http://site.example/a%20b") +
                             result(Url("/b/x y.gif"), "http://site.example/b") + "</div></body></html>"));
    Outcome r = RunProgram(exe, Options() + "--quiet --max 1 red car");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.Lines(), (std::vector<std::string>{"photo.jpg\thttp://site.example/a b\t" + Url("/a/photo.jpg?w=1&h=2"),
                                                   "x20y.gif\thttp://site.example/b\t" + Url("/b/x%20y.gif")}));
    EXPECT_EQ(folder.Read("x20y.gif"), Fixture("image.gif"));
}

TEST_F(CliTest, FilterFlagsGoIntoTheRequest) {
    server.on("/images/search", Response::text(Page({})));
    const std::string plain =
        "/images/search?q=red+car&first=1&count=28&maxFileSize=4096000&minFileSize=0&safeSearch=Moderate"
        "&mkt=nl-NL&adlt=Moderate";
    struct Case {
        std::string flags, target;
    };
    std::string enUs = plain;
    enUs.replace(enUs.find("mkt=nl-NL"), 9, "mkt=en-US");
    for (const Case& c : std::vector<Case>{
             {"", plain},
             {"--size large", plain + "&qft=+filterui:imagesize-large"},
             {"--color bw", plain + "&qft=+filterui:color2-bw"},
             {"--type animated", plain + "&qft=+filterui:photo-animatedgif"},
             {"--layout square", plain + "&qft=+filterui:aspect-square"},
             {"--people faces", plain + "&qft=+filterui:face-face"},
             {"--date month", plain + "&qft=+filterui:age-lt43200"},
             {"--license public-domain", plain + "&qft=+filterui:license-L1"},
             {"--license share-commercially --size large",
              plain + "&qft=+filterui:imagesize-large+filterui:license-L2_L3_L4"},
             {"--market en-US", enUs},
             {"--market en-US --color red --date day", enUs + "&qft=+filterui:color2-FGcls_RED+filterui:age-lt1440"},
         }) {
        server.clear_requests();
        Outcome r = RunProgram(
            exe, Options() + "--max-size 4096000 --min-size 0 --safe-search Moderate --quiet " + c.flags + " red car");
        EXPECT_EQ(r.status, 1) << c.flags << ": " << r.err;
        auto searches = server.requests_for("/images/search");
        ASSERT_FALSE(searches.empty()) << c.flags;
        EXPECT_EQ(searches[0].target, c.target) << c.flags;
    }
}

TEST_F(CliTest, AnUnknownFilterValueIsAUsageError) {
    Outcome r = RunProgram(exe, Options() + "--type photograph cats");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("quenby-cli: --type takes photo, clipart, line, animated or transparent, not \"photograph\""),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("usage: quenby-cli"), std::string::npos);
    Outcome m = RunProgram(exe, Options() + "--market \"en-US&adlt=Off\" cats");
    EXPECT_EQ(m.status, 2);
    EXPECT_NE(m.err.find("--market takes a language-region tag such as en-US"), std::string::npos) << m.err;
    EXPECT_EQ(server.request_count(), 0u);
}

// Keywords in three scripts, as a script would pass them: the request carries their UTF-8
// percent-encoded once, the files are named in those scripts and the lines print as UTF-8.
TEST_F(CliTest, KeywordsAndNamesInEveryScript) {
    struct Case {
        std::string keywords, query, name;  // as typed; as requested; the image's name, escaped
    };
    const std::string cat = "\xE7\x8C\xAB", koshka = "\xD0\xBA\xD0\xBE\xD1\x88\xD0\xBA\xD0\xB0";
    const Case cases[] = {{cat, "%E7%8C%AB", "%E7%8C%AB"},
                          {koshka, "%D0%BA%D0%BE%D1%88%D0%BA%D0%B0", "%D0%BA%D0%BE%D1%88%D0%BA%D0%B0"},
                          {"caf\xC3\xA9 au lait", "caf%C3%A9+au+lait", "caf%C3%A9%20au%20lait"}};
    for (const Case& c : cases) {
        server.clear_requests();
        ServeImage("/img/" + c.name + ".jpg", "photo.jpg");
        server.on("/images/search",
                  Response::text(Page({Result(Url("/img/" + c.name + ".jpg"), "http://site.example/" + c.name)})));
        Outcome r = RunProgram(exe, Options() + "--quiet --max 1 \"" + c.keywords + "\"");
        EXPECT_EQ(r.status, 0) << r.err;
        auto searches = server.requests_for("/images/search");
        ASSERT_EQ(searches.size(), 1u);
        EXPECT_EQ(searches[0].target.substr(0, 17 + c.query.size() + 1), "/images/search?q=" + c.query + "&");
        EXPECT_EQ(server.requests_for("/img/" + c.name + ".jpg").size(), 1u);
        std::string shown = c.keywords;  // the decoded name: the keywords themselves
        EXPECT_EQ(r.Lines(), std::vector<std::string>{shown + ".jpg\thttp://site.example/" + shown + "\t" +
                                                      Url("/img/" + shown + ".jpg")});
        EXPECT_EQ(folder.Read(shown + ".jpg"), Fixture("photo.jpg"));
    }
}

// Bytes that form no character: the request sends them as they came, the name and the lines
// show them, and nothing lands outside the folder.
TEST_F(CliTest, InvalidUtf8InAddressesIsShownNotPassedOn) {
    ServeImage("/img/a%FF%C0%AF.jpg", "photo.jpg");
    server.on("/images/search",
              Response::text(Page({Result(Url("/img/a%FF%C0%AF.jpg"), "http://site.example/caf%E9")})));
    Outcome r = RunProgram(exe, Options() + "--quiet --empty-pages 1 odd");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.Lines(),
              std::vector<std::string>{"a___.jpg\thttp://site.example/caf%E9\t" + Url("/img/a%FF%C0%AF.jpg")});
    EXPECT_EQ(folder.Read("a___.jpg"), Fixture("photo.jpg"));
    EXPECT_EQ(folder.Files().size(), 1u);
}
