// The page scan, URL decoding and file naming, without any Windows API.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "engine/naming.h"
#include "engine/pagescan.h"
#include "engine/scanflow.h"
#include "engine/urldecode.h"
#include "platform/text.h"

using namespace engine;

namespace {

// One result in the classic markup: the image anchor, the page anchor, a third anchor.
std::string Result(const std::string& image, const std::string& page) {
    return "<div><a class=\"thumb\" href=\"" + image + "\" h=\"ID=images,1\"><img src=\"t\"></a>" +
           "<a class=\"tit\" href=\"" + page + "\" h=\"ID=images,2\">title</a>" + "<a href=\"/site\">site</a></div>\n";
}

std::string Page(const std::vector<std::string>& results) {
    std::string page = "<html><a href=\"/before\">x</a><div id=\"b_SearchBoxAnswer\"></div>";
    for (auto& r : results) page += r;
    return page + "</html>";
}

// Plays the job: records every hook call in order.
struct FakeHooks : ScanHooks {
    std::vector<std::string> calls;
    std::vector<NewImage> fetched;
    std::set<std::string> folder;  // names in the target folder, lower case
    std::vector<std::string> fetchedUrls;
    int stopBefore = -1;  // StopRequested() answers true on this call
    int stopCalls = 0;
    int tried = 0;
    int random = 7;

    bool StopRequested() override {
        calls.push_back("stop?");
        return stopCalls++ == stopBefore;
    }
    bool IsFetched(const std::string& url) override {
        calls.push_back("fetched? " + url);
        return std::any_of(fetchedUrls.begin(), fetchedUrls.end(),
                           [&](const std::string& u) { return platform::SameAsciiIgnoringCase(u, url); });
    }
    void CountTried() override { tried++, calls.push_back("tried"); }
    bool FileExists(const std::string& name) override { return folder.count(LowerAscii(name)) > 0; }
    int RandomFactor() override { return random; }
    void Fetch(const NewImage& image) override {
        calls.push_back("fetch " + image.fileName);
        fetched.push_back(image);
        fetchedUrls.push_back(image.imageUrl);
        folder.insert(LowerAscii(image.fileName));
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> out;
        for (auto& f : fetched) out.push_back(f.fileName);
        return out;
    }
};

// The page from the start marker on, as the job hands it to the scan.
bool Scan(const std::string& page, FakeHooks& hooks) {
    size_t at = page.find("b_SearchBoxAnswer");
    return ScanResults(at == std::string::npos ? page : page.substr(at), hooks);
}

std::vector<std::string> NamesFor(const std::vector<std::string>& imageUrls, FakeHooks& hooks) {
    std::vector<std::string> results;
    for (auto& u : imageUrls) results.push_back(Result(u, "http://site.example/page"));
    Scan(Page(results), hooks);
    return hooks.Names();
}

}  // namespace

TEST(UrlDecode, EscapesPlusAndPercent) {
    EXPECT_EQ(UrlDecode("a+b%20c%%d%41%6a%6A"), "a b c%dAjj");
    EXPECT_EQ(UrlDecode("%00%ff%FF"), std::string("\0\xff\xff", 3));  // bytes unchanged
    EXPECT_EQ(UrlDecode("%2520"), "%20");                             // one pass only
    EXPECT_EQ(UrlDecode(""), "");
    EXPECT_EQ(UrlDecode("%%%%"), "%%");
    for (const char* bad : {"%", "%4", "abc%", "%zz", "%g1", "%1g", "%%%", "x%+1", "%-1"}) {
        EXPECT_THROW(UrlDecode(bad), UrlDecodeError) << bad;
        std::string out;
        EXPECT_FALSE(TryUrlDecode(bad, out)) << bad;
    }
}

TEST(UrlDecode, ErrorTextIsOneShortLine) {
    try {
        UrlDecode(std::string(500, 'a') + "\r\n%zz");
        FAIL();
    } catch (const UrlDecodeError& e) {
        std::string text = e.what();
        EXPECT_EQ(text.find('\n'), std::string::npos);
        EXPECT_LT(text.size(), 260u);
    }
}

TEST(PageScan, CutCountAndAddresses) {
    EXPECT_EQ(CutAtStartMarker(L"xx<a>b_SearchBoxAnswer<a>"), L"b_SearchBoxAnswer<a>");
    EXPECT_EQ(CutAtStartMarker(L"no marker <a>"), L"no marker <a>");
    EXPECT_EQ(CountOccurrences("", "<a"), 0u);
    EXPECT_EQ(CountOccurrences("<a", ""), 0u);
    EXPECT_EQ(CountOccurrences("<a<a <A <a", "<a"), 3u);
    EXPECT_EQ(CountOccurrences("aaaa", "aa"), 2u);  // non-overlapping
    EXPECT_EQ(PageScanner("<a").ResultCount(), 0u);
    EXPECT_EQ(PageScanner("<a<a<a<a<a").ResultCount(), 2u);

    EXPECT_EQ(AddressInTag("<a href=\"u\" h=\"ID=1\">"), "u");
    EXPECT_EQ(AddressInTag("<a href=\"u\">"), "");  // no address end
    // No address start: from the sixth character on.
    EXPECT_EQ(AddressInTag("<a class=\"thumb\" X\" h=\"ID>"), "ass=\"thumb\" X");
    EXPECT_EQ(AddressInTag("<a>"), "");
}

TEST(PageScan, TwoAnchorsReadAndOnePassedOver) {
    std::string page = Result("http://i/1.jpg", "http://p/1") + Result("http://i/2.jpg", "http://p/2");
    PageScanner s(page);
    EXPECT_EQ(s.ResultCount(), 3u);  // six anchor openings
    RawResult r;
    s.ReadAnchors(r);
    s.PassOver();
    EXPECT_EQ(r.imageUrl, "http://i/1.jpg");
    EXPECT_EQ(r.pageUrl, "http://p/1");
    s.ReadAnchors(r);
    s.PassOver();
    EXPECT_EQ(r.imageUrl, "http://i/2.jpg");
    s.ReadAnchors(r);
    EXPECT_EQ(r.imageUrl, "");
    EXPECT_EQ(r.pageUrl, "");

    // One tag with both classes sets both addresses; the next anchor then reads nothing.
    std::string both = "<a class=\"thumb\" class=\"tit\" href=\"x\" h=\"ID\"></a><a></a><a></a><a>";
    PageScanner b(both);
    b.ReadAnchors(r);
    EXPECT_EQ(r.imageUrl, "x");
    EXPECT_EQ(r.pageUrl, "x");
}

TEST(PageScan, CutMarkersAndMissingClosingsNeverReadPastTheEnd) {
    for (std::string page :
         std::vector<std::string>{"<a", "<a<a", "<a class=\"thumb\" href=\"", "</a", "<a></a", "<a<a<a<a>",
                                  "<a class=\"thumb\" href=\"u\" h=\"I", std::string(1000 * 2, 'x') + "<a<a>"}) {
        PageScanner s(page);
        RawResult r;
        for (size_t i = 0; i < s.ResultCount() + 2; i++) {
            s.ReadAnchors(r);
            s.PassOver();
        }
        EXPECT_EQ(r.imageUrl, "") << page;
    }
}

TEST(Naming, TextRules) {
    EXPECT_EQ(Extension("http://host.com/pic"), ".com/pic");  // the whole address counts
    EXPECT_EQ(Extension("a.b\\c"), "");
    EXPECT_EQ(Extension("a.b:c"), "");
    EXPECT_EQ(Extension("noext"), "");
    EXPECT_EQ(Extension("a.tar.gz"), ".gz");
    EXPECT_EQ(LastSegment("http://h/a/b.jpg"), "b.jpg");
    EXPECT_EQ(LastSegment("nosl"), "nosl");
    EXPECT_EQ(LastSegment("http://h/"), "");
    EXPECT_EQ(RemoveRefusedCharacters("a:/*\\?><|&\"=%b"), "ab");
    EXPECT_EQ(ReplaceAmpEntities("a&amp;b&AMP;c&amp;amp;d"), "a&b&c&amp;d");
}

TEST(Naming, PngAndWebpSkippedByTheAddressExtension) {
    EXPECT_TRUE(SkippedByExtension("http://h/a.png"));
    EXPECT_TRUE(SkippedByExtension("http://h/a.PNG?w=200"));
    EXPECT_TRUE(SkippedByExtension("http://h/a.webp"));
    EXPECT_TRUE(SkippedByExtension("http://h/a.WebP"));
    EXPECT_FALSE(SkippedByExtension("http://h/a.webp?x=1"));
    EXPECT_FALSE(SkippedByExtension("http://h/a.png.jpg"));
    EXPECT_TRUE(SkippedByExtension("http://h.png/a"));  // the extension of the whole address: ".png/a"
    EXPECT_FALSE(SkippedByExtension("http://h.png/a.jpg"));
}

TEST(Naming, TheDesignedExamples) {
    auto shape = [](const std::string& url, int p = 3, int r = 5) {
        return ShapeFileName(RemoveRefusedCharacters(LastSegment(url)), p, r);
    };
    EXPECT_EQ(shape("http://h/photo.jpg?w=300&h=200"), "photo.jpg");
    EXPECT_EQ(shape("http://h/image.gif?x=1"), "image.gif");
    EXPECT_EQ(shape("http://h/pic.jpg:large"), "pic.jpg");
    EXPECT_EQ(shape("http://h/PHOTO.JPEG"), "PHOTO.jpg");
    EXPECT_EQ(shape("http://h/pic"), "pic.jpg");
    EXPECT_EQ(shape("http://h/pic.tiff"), "pic.tiff");
    EXPECT_EQ(shape("http://h/pic.bmp"), "pic.bmp");
    EXPECT_EQ(shape("http://h/", 0, 998), "noname0_0.jpg");
    EXPECT_EQ(shape("http://h/", 4, 5), "noname20_4.jpg");
    EXPECT_EQ(shape("http://h/???"), "noname15_3.jpg");  // blank once the refused characters go
    std::string forty = std::string(36, 'n') + ".jpg";
    EXPECT_EQ(shape("http://h/" + forty), std::string(30, 'n') + ".jpg");
    EXPECT_EQ(shape("http://h/" + std::string(26, 'a') + ".jpeg"), std::string(26, 'a') + ".jpg");  // 30: kept
    EXPECT_EQ(shape("http://h/a.jpegX.gifX"), "a.jpgX.gif");  // ".jpeg" first, then the ".gif" rule
    EXPECT_EQ(shape("http://h/a.JPGlarge"), "a.jpg");
}

TEST(Naming, UniqueInTheFolder) {
    std::set<std::string> there{"photo.jpg", "photo(1).jpg"};
    auto exists = [&](const std::string& n) { return there.count(n) > 0; };
    EXPECT_EQ(UniqueFileName("photo.jpg", exists), "photo(2).jpg");
    EXPECT_EQ(UniqueFileName("other.jpg", exists), "other.jpg");
    there = {"x_", "x_(1)"};
    EXPECT_EQ(UniqueFileName("x_", exists), "x_(2)");
}

TEST(Naming, NamesWindowsWouldMishandleAreMended) {
    auto shape = [](const std::string& name) { return ShapeFileName(name, 1, 1); };
    EXPECT_EQ(shape("CON"), "_CON.jpg");
    EXPECT_EQ(shape("con.jpg"), "_con.jpg");
    EXPECT_EQ(shape("Nul.tar.gz"), "_Nul.tar.gz");
    EXPECT_EQ(shape("com1.gif"), "_com1.gif");
    EXPECT_EQ(shape("LPT9.png"), "_LPT9.png");
    EXPECT_EQ(shape("aux .jpg"), "_aux .jpg");
    EXPECT_EQ(shape("COM\xC2\xB9.jpg"), "_COM\xC2\xB9.jpg");  // a superscript one
    {
        platform::SetTextsAreUtf8(false);  // in code page 1252
        EXPECT_EQ(shape("COM\xB9.jpg"), "_COM\xB9.jpg");
        platform::SetTextsAreUtf8(true);
    }
    EXPECT_EQ(shape("photo."), "photo_");
    EXPECT_EQ(shape(".."), "__");
    EXPECT_EQ(shape("photo.jpg "), "photo.jpg");  // the ".jpg" rule already drops the space
    EXPECT_EQ(shape("photo.tif "), "photo.tif_");
    EXPECT_EQ(shape(std::string("a\0b\x1f.jpg", 8)), "a_b_.jpg");
    // Ordinary names stay as they are.
    for (const char* ok : {"console.jpg", "com10.jpg", "com0x.jpg", "lpt.jpg", "nul1.gif", "auxiliary.bmp", "con_.jpg",
                           ".jpg", "a b.jpg", "x.y.jpg"})
        EXPECT_EQ(shape(ok), ok);
}

TEST(Naming, NamesInEveryScriptAreCutByCharacterNeverInsideOne) {
    auto shape = [](const std::string& name) { return ShapeFileName(name, 1, 1); };
    const std::string cat = "\xE7\x8C\xAB";
    EXPECT_EQ(shape(cat + ".jpg"), cat + ".jpg");
    EXPECT_EQ(shape("caf\xC3\xA9 au lait.JPEG"), "caf\xC3\xA9 au lait.jpg");
    std::string forty;
    for (int i = 0; i < 40; i++) forty += cat;
    std::string thirty;
    for (int i = 0; i < 30; i++) thirty += cat;
    EXPECT_EQ(shape(forty + ".jpg"), thirty + ".jpg");  // 30 characters, 90 bytes
    // A name of 30 characters but more than 30 bytes is not cut at all.
    EXPECT_EQ(shape(thirty.substr(0, 26 * 3) + ".jpg"), thirty.substr(0, 26 * 3) + ".jpg");
    std::string emoji;
    for (int i = 0; i < 31; i++) emoji += "\xF0\x9F\x98\x80";
    EXPECT_EQ(shape(emoji + ".gif"), emoji.substr(0, 30 * 4) + ".gif");
    // A combining mark is not cut off its letter.
    std::string marks = std::string(29, 'a') + "e\xCC\x81" + "zz.jpg";
    EXPECT_EQ(shape(marks), std::string(29, 'a') + ".jpg");
    {
        platform::SetTextsAreUtf8(false);  // in a legacy code page the bytes count, as they always did
        EXPECT_EQ(shape(forty + ".jpg"), forty.substr(0, 30) + ".jpg");
        platform::SetTextsAreUtf8(true);
    }
}

TEST(Naming, NothingDownloadedRunsOrConfiguresTheFolder) {
    auto shape = [](const std::string& name) { return ShapeFileName(name, 1, 1); };
    for (const char* active : {"x.exe", "autorun.inf", "desktop.ini", "Setup.MSI", "a.b.lnk", "run.ps1", "doc.hta",
                               "x.scr", "x.url", "x.js", "x.vbs", "x.cmd", "x.bat", "x.com", "x.dll", "x.pif"})
        EXPECT_EQ(shape(active), std::string(active) + ".jpg") << active;
    // Pages that run script, disk images that mount, packages that install, searches and
    // libraries the shell obeys.
    for (const char* active : {"p.htm", "p.HTML", "p.svg", "p.mht", "p.xht", "d.iso", "d.vhd", "d.vhdx", "a.msix",
                               "a.appx", "a.appinstaller", "l.library-ms", "q.search-ms"})
        EXPECT_EQ(shape(active), std::string(active) + ".jpg") << active;
    // Longer than an extension may be: cut, and so no longer one the shell obeys.
    EXPECT_EQ(shape("s.settingcontent-ms"), "s.settingcontent-");
    // The rules that end a name with a dot or a space come first, so these are no longer active.
    EXPECT_EQ(shape("x.exe."), "x.exe_");
    EXPECT_EQ(shape("x.exe "), "x.exe_");
    for (const char* image : {"a.jpg", "a.gif", "a.bmp", "a.ico", "a.tif", "a.jfif", "a.exe.jpg", "exe", "a.execute"})
        EXPECT_EQ(shape(image), Extension(image).empty() ? std::string(image) + ".jpg" : std::string(image)) << image;
}

TEST(Naming, AnExtensionOfHundredsOfCharactersIsCut) {
    auto shape = [](const std::string& name) { return ShapeFileName(name, 1, 1); };
    EXPECT_EQ(shape("x." + std::string(300, 'e')), "x." + std::string(15, 'e'));
    EXPECT_EQ(shape(std::string(40, 'n') + "." + std::string(300, 'e')),
              std::string(30, 'n') + "." + std::string(15, 'e'));
    // Cut by character, never inside one; a cut that ends in a space is mended as any other.
    const std::string cat = "\xE7\x8C\xAB";  // 猫
    std::string longCat = "x.";
    for (int i = 0; i < 100; i++) longCat += cat;
    std::string expected = "x.";
    for (int i = 0; i < 15; i++) expected += cat;
    EXPECT_EQ(shape(longCat), expected);
    EXPECT_EQ(shape("x.abcdefghijklmn opq"), "x.abcdefghijklmn_");
    EXPECT_EQ(shape("x.abcdefghijklmno"), "x.abcdefghijklmno");  // 16 with the dot: kept
}

TEST(Naming, BytesOfNoCharacterAndHidingControlsBecomeUnderscores) {
    auto shape = [](const std::string& name) { return ShapeFileName(name, 1, 1); };
    EXPECT_EQ(shape("caf\xE9.jpg"), "caf_.jpg");
    EXPECT_EQ(shape("a\xC0\xAF"
                    "b.jpg"),
              "a__b.jpg");                                      // an overlong "/" stays in the folder
    EXPECT_EQ(shape("x\xE2\x80\xAEgpj.exe"), "x_gpj.exe.jpg");  // a right-to-left override
    EXPECT_EQ(shape("\xE2\x81\xA7"
                    "a\xC2\x85.jpg"),
              "_a_.jpg");  // an isolate, a C1 control
    // Right-to-left text itself is a name like any other.
    const std::string arabic = "\xD8\xA7\xD9\x84\xD9\x82\xD8\xB7";  // القط
    EXPECT_EQ(shape(arabic + ".jpg"), arabic + ".jpg");
    std::string named = shape(std::string(10000, '\xE7') + ".jpg");
    EXPECT_EQ(named, std::string(30, '_') + ".jpg");
}

TEST(ScanFlow, NamesAndOrderOfSteps) {
    FakeHooks hooks;
    hooks.folder = {"photo(1).jpg"};
    auto names = NamesFor({"http://h/photo.jpg?w=300&h=200", "http://h/image.gif?x=1", "http://h/pic.jpg:large",
                           "http://h/", "http://h/PHOTO.JPEG", "http://h/pic", "http://h/a.png?w=200",
                           "http://h/b.webp", "http://h/c.webp?x=1", "http://h/photo.jpg"},
                          hooks);
    EXPECT_EQ(names, (std::vector<std::string>{"photo.jpg", "image.gif", "pic.jpg", "noname21_3.jpg", "PHOTO(2).jpg",
                                               "pic(1).jpg", "c.webpx1", "photo(3).jpg"}));
    EXPECT_EQ(hooks.tried, 10);  // PNG and WebP are counted, then skipped
    EXPECT_EQ(hooks.fetched[2].index, 2);
    EXPECT_EQ(hooks.calls[0], "stop?");
    EXPECT_EQ(hooks.calls[1], "fetched? http://h/photo.jpg?w=300&h=200");
    EXPECT_EQ(hooks.calls[2], "tried");
    EXPECT_EQ(hooks.calls[3], "fetch photo.jpg");
}

TEST(ScanFlow, DuplicatesAreNotTriedAndCaseIsIgnored) {
    FakeHooks hooks;
    hooks.fetchedUrls = {"HTTP://H/Seen.JPG"};
    auto names = NamesFor({"http://h/seen.jpg", "http://h/new.jpg", "http://h/NEW.jpg"}, hooks);
    EXPECT_EQ(names, std::vector<std::string>{"new.jpg"});
    EXPECT_EQ(hooks.tried, 1);
}

TEST(ScanFlow, PageAddressesDecodedOnceWithEntitiesReplaced) {
    FakeHooks hooks;
    std::string page = Page({Result("http://h/a.jpg?x=1&amp;y=2%2520", "http://p/?a=1&amp;b=2%2520c+d")});
    EXPECT_FALSE(Scan(page, hooks));
    ASSERT_EQ(hooks.fetched.size(), 1u);
    EXPECT_EQ(hooks.fetched[0].imageUrl, "http://h/a.jpg?x=1&amp;y=2%20");  // the image keeps "&amp;"
    EXPECT_EQ(hooks.fetched[0].pageUrl, "http://p/?a=1&b=2%20c d");
    EXPECT_EQ(hooks.fetched[0].fileName, "a.jpg");
}

TEST(ScanFlow, BlankOrMissingAddressesSkipTheResult) {
    FakeHooks hooks;
    std::string noEnd =
        "<a class=\"thumb\" href=\"http://h/x.jpg\"></a><a class=\"tit\" href=\"p\" h=\"ID\"></a><a></a>";
    std::string noClass = "<a href=\"http://h/y.jpg\" h=\"ID\"></a><a class=\"tit\" href=\"p\" h=\"ID\"></a><a></a>";
    std::string page = Page({noEnd, noClass, Result("+%20", "p"), Result("http://h/ok.jpg", " ")});
    EXPECT_FALSE(Scan(page, hooks));
    EXPECT_TRUE(hooks.fetched.empty());
    EXPECT_EQ(hooks.tried, 0);
}

TEST(ScanFlow, ABadEscapeSkipsItsResultOnly) {
    FakeHooks hooks;
    // The bad page address comes with no image address: decoding comes before the blank test.
    // "%25zz" passes the first decoding and fails the second, before the duplicate test.
    std::string page = Page({Result("http://h/1.jpg", "p"), Result("", "http://p/%zz"),
                             Result("http://h/x%25zz.jpg", "p"), Result("http://h/3.jpg", "p")});
    EXPECT_FALSE(Scan(page, hooks));
    EXPECT_EQ(hooks.Names(), (std::vector<std::string>{"1.jpg", "3.jpg"}));
    EXPECT_EQ(hooks.tried, 2);
}

TEST(ScanFlow, StopRequestEndsTheScanBeforeTheNextResult) {
    FakeHooks hooks;
    hooks.stopBefore = 1;
    std::string page = Page({Result("http://h/1.jpg", "p"), Result("http://h/2.jpg", "p")});
    EXPECT_TRUE(Scan(page, hooks));
    EXPECT_EQ(hooks.Names(), std::vector<std::string>{"1.jpg"});
    FakeHooks none;
    EXPECT_FALSE(ScanResults("<a", none));  // no result: the stop flag is not even looked at
    EXPECT_TRUE(none.calls.empty());
}

TEST(ScanFlow, AThousandAnchorsWithoutAddresses) {
    FakeHooks hooks;
    std::string page;
    for (int i = 0; i < 1000; i++) page += "<a class=\"thumb\">x</a><a class=\"tit\" href=\"";
    EXPECT_FALSE(Scan(page, hooks));
    EXPECT_TRUE(hooks.fetched.empty());
    EXPECT_EQ(std::count(hooks.calls.begin(), hooks.calls.end(), "stop?"), 1000);
}
