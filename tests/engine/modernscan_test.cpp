#include "engine/modernscan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace engine;
using namespace std::string_literals;

namespace {

// HTML-escapes a JSON text the way the service writes it into a double-quoted attribute.
std::string Escape(const std::string& json) {
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

std::string Anchor(const std::string& json) {
    return "<div class=\"imgpt\"><a class=\"iusc\" style=\"height:185px;width:278px\" m=\"" + Escape(json) +
           "\" mad=\"{}\" href=\"/images/search?view=detailV2&amp;q=red+car\"><div class=\"img_cont\">"
           "<img class=\"mimg\" src=\"http://127.0.0.1/th?id=1\" alt=\"x\"/></div></a></div>\n";
}

std::string Result(const std::string& murl, const std::string& purl) {
    return Anchor("{\"cid\":\"c1\",\"purl\":\"" + purl + "\",\"murl\":\"" + murl +
                  "\",\"turl\":\"http://tse.example/th?id=OIP\",\"md5\":\"9f0e\",\"t\":\"A title\"}");
}

// A code page that holds Latin-1's printable characters.
bool Latin1(char32_t c, std::string& out) {
    if (c < 0xA0 || c > 0xFF) return false;
    out += char(c);
    return true;
}

std::vector<std::string> Images(const std::vector<ModernResult>& rs) {
    std::vector<std::string> v;
    for (const auto& r : rs) v.push_back(r.imageUrl);
    return v;
}

using Strings = std::vector<std::string>;

}  // namespace

TEST(ModernScan, ReadsEveryResultInPageOrderWhateverTheMarkup) {
    std::string page =
        "<html><head><title>red car <a class=\"iusc\" m='{\"murl\":\"http://t/x.jpg\",\"purl\":\"http://t/\"}'>"
        "</title><script>var s = '<a class=\"iusc\" m=\\'{\"murl\":\"http://s/x.jpg\",\"purl\":\"http://s/\"}\\'>';"
        "</script></head><body id=\"b_SearchBoxAnswer\">\n"
        "<!-- <a class=\"iusc\" m='{\"murl\":\"http://c/x.jpg\",\"purl\":\"http://c/\"}'> -->\n" +
        Result("http://img.example/a/one.jpg", "http://site.example/one.html") +
        // attributes in another order, single quotes, letter case, more classes
        "<A M='{\"murl\":\"http://img.example/two.jpg\",\"purl\":\"http://site.example/two\"}' HREF=\"#\" "
        "Class='thumb iusc\tbig'>\n"
        // unquoted values
        "<a m={&quot;purl&quot;:&quot;http://site.example/3&quot;,&quot;murl&quot;:&quot;http://img.example/"
        "three.gif&quot;} class=iusc>\n"
        // not results: another class, another element, no m, only a look-alike attribute
        "<a class=\"iuscx\" m='{\"murl\":\"http://n/1.jpg\",\"purl\":\"http://n/\"}'>"
        "<div class=\"iusc\" m='{\"murl\":\"http://n/2.jpg\",\"purl\":\"http://n/\"}'></div>"
        "<a class=\"iusc\" href=\"http://n/3.jpg\"><a class=\"iusc\" data-m='{\"murl\":\"http://n/4.jpg\","
        "\"purl\":\"http://n/\"}'>\n" +
        Result("http://img.example/four.png", "http://site.example/4") + "</body></html>";
    auto rs = ScanModernPage(page);
    EXPECT_EQ(Images(rs), (Strings{"http://img.example/a/one.jpg", "http://img.example/two.jpg",
                                   "http://img.example/three.gif", "http://img.example/four.png"}));
    ASSERT_EQ(rs.size(), 4u);
    EXPECT_EQ(rs[0].pageLine, "http://site.example/one.html");
    EXPECT_EQ(rs[2].pageLine, "http://site.example/3");
    EXPECT_TRUE(ScanModernPage("").empty());
    EXPECT_TRUE(ScanModernPage("<a class=\"thumb\" href=\"http://x/a.jpg\" h=\"ID=1\">").empty());
}

TEST(ModernScan, UndoesCharacterReferencesThenJsonEscapes) {
    // decimal, hexadecimal and named references in one value; \/ and \u escapes in JSON
    std::string page =
        "<a class=\"iusc\" m=\"{&#34;murl&#x22;:&#X22;http:\\/\\/img.example\\/p.jpg?w=1&amp;h=2&#38;k=%20&quot;,"
        "&quot;purl&quot;:&quot;http://site.example/it&apos;s/&#39;&lt;b&gt;\\u0041&quot;}\">"
        "<a class=\"iusc\" m=\"{&quot;murl&quot;:&quot;http://img.example/caf\\u00e9 \\ud83d\\ude00\\ud800x.jpg&quot;,"
        "&quot;purl&quot;:&quot;http://site.example/?a=1&lt=2&ampx=3&amp=4&quot;}\">";
    auto rs = ScanModernPage(page);
    ASSERT_EQ(rs.size(), 2u);
    EXPECT_EQ(rs[0].imageUrl, "http://img.example/p.jpg?w=1&h=2&k=%20");
    EXPECT_EQ(rs[0].pageLine, "http://site.example/it's/'<b>A");
    // UTF-8 then percent-encoded; a space encoded; a lone surrogate becomes U+FFFD
    EXPECT_EQ(rs[1].imageUrl, "http://img.example/caf%C3%A9%20%F0%9F%98%80%EF%BF%BDx.jpg");
    // old named references without ";" count, except before "=" or a longer name
    EXPECT_EQ(rs[1].pageLine, "http://site.example/?a=1&lt=2&ampx=3&amp=4");
}

TEST(ModernScan, PageLineIsTheAddressAsAPersonReadsIt) {
    auto line = [](const std::string& purl, const PageCharset& cs = {}) {
        auto rs = ScanModernPage(Result("http://img.example/a.jpg", purl), cs);
        return rs.size() == 1 ? rs[0].pageLine : "<none>";
    };
    EXPECT_EQ(line("http://site.example/a%20b/%2520c?q=red+car&x=%41%2f"),
              "http://site.example/a b/%20c?q=red+car&x=A/");
    EXPECT_EQ(line("http://site.example/caf%C3%A9", Latin1), "http://site.example/caf\xE9");
    EXPECT_EQ(line("http://site.example/caf%c3%a9"), "http://site.example/caf%c3%a9");          // no code page given
    EXPECT_EQ(line("http://site.example/%E2%82%AC", Latin1), "http://site.example/%E2%82%AC");  // not in it
    EXPECT_EQ(line("http://site.example/%0A%zz%C3%2541%F0%9F%98", Latin1), "http://site.example/%0A%zz%C3%41%F0%9F%98");
    EXPECT_EQ(line("http://site.example/%C0%AF%ED%A0%80%"), "http://site.example/%C0%AF%ED%A0%80%");  // not UTF-8
    EXPECT_EQ(line("http://site.example/\\u00e9\\u20ac", Latin1), "http://site.example/\xE9%E2%82%AC");
    EXPECT_EQ(line("http://site.example/a\\nb\\u007f\\tc"), "http://site.example/a%0Ab%7F%09c");
    EXPECT_EQ(line("  \\thttp://site.example/ \\n"), "http://site.example/");
    // C1 controls stay encoded even where a code page would take them
    auto any = [](char32_t, std::string& out) { return out += '?', true; };
    EXPECT_EQ(line("http://site.example/\\u0085%C2%85%C2%A0", any), "http://site.example/%C2%85%C2%85?");
}

TEST(ModernScan, BytesOfTheEightBitPageStayBytes) {
    auto rs = ScanModernPage(
        "<a class=iusc m='{\"murl\":\" http://img.example/\xE9t\xE9 1.jpg\\r\","
        "\"purl\":\"http://site.example/\xE9t\xE9%C3%A9\"}'>",
        Latin1);
    ASSERT_EQ(rs.size(), 1u);
    EXPECT_EQ(rs[0].imageUrl, "http://img.example/%E9t%E9%201.jpg");
    EXPECT_EQ(rs[0].pageLine, "http://site.example/\xE9t\xE9\xE9");
}

TEST(ModernScan, MalformedValueSkipsThatResultOnly) {
    const std::string first = Result("http://img.example/first.jpg", "http://site.example/1");
    const std::string last = Result("http://img.example/last.jpg", "http://site.example/2");
    const Strings expected{"http://img.example/first.jpg", "http://img.example/last.jpg"};
    const std::string ok = "\"murl\":\"http://img.example/bad.jpg\",\"purl\":\"http://site.example/bad\"";
    for (const std::string& bad : Strings{
             "{" + ok,                        // unterminated object
             "{" + ok + "} x",                // trailing text
             "{" + ok + ",}",                 // trailing comma
             "{" + ok + " \"t\":1}",          // missing comma
             "[" + ok + "]",                  // not an object
             "{" + ok + ",\"t\":\"a\\xb\"}",  // unknown escape
             "{" + ok + ",\"t\":\"\\u12G4\"}",
             "{" + ok + ",\"t\":\"a\nb\"}",  // raw control character in a string
             "{" + ok + ",\"t\":01}",        // numbers, literals
             "{" + ok + ",\"t\":-}",
             "{" + ok + ",\"t\":1.}",
             "{" + ok + ",\"t\":1e}",
             "{" + ok + ",\"t\":nul}",
             "{" + ok + ",\"t\":[1,]}",
             "{" + ok + ",\"t\":[}",
             "{" + ok + ",\"t\":{\"a\"}}",
             "{'murl':'http://img.example/bad.jpg','purl':'http://site.example/bad'}",
             "{\"murl\":\"http://img.example/bad.jpg\",\"purl\":\"http://site.example/bad",
             "{" + ok + ",\"t\":\"a\0b\"}"s,  // NUL
             std::string(),
         }) {
        EXPECT_EQ(Images(ScanModernPage(first + Anchor(bad) + last)), expected) << bad;
    }
    // well-formed variations are read
    for (const std::string& good : Strings{
             " \r\n{ \"t\" : [ 1 , -2.5e+3 , true , false , null , { } , [ ] , \"\\\"\\\\\\b\\f\\n\\r\\t\" ] ," + ok +
                 " } ",
             "{\"x\":{\"murl\":\"http://n/1.jpg\"}," + ok + ",\"y\":[{\"purl\":\"http://n/\"}]}",
         }) {
        EXPECT_EQ(Images(ScanModernPage(Anchor(good))), Strings{"http://img.example/bad.jpg"}) << good;
    }
}

TEST(ModernScan, ResultsWithoutBothAddressesAreSkipped) {
    const std::string p = "\"purl\":\"http://site.example/p\"";
    const std::string m = "\"murl\":\"http://img.example/m.jpg\"";
    std::string page = Anchor("{" + m + "}") + Anchor("{" + p + "}") + Anchor("{\"murl\":\" \\t \"," + p + "}") +
                       Anchor("{" + m + ",\"purl\":\"\"}") + Anchor("{\"murl\":7," + p + "}") +
                       Anchor("{\"murl\":null," + p + "}") + Anchor("{\"murl\":{\"u\":\"http://n/\"}," + p + "}") +
                       Anchor("{\"x\":{" + m + "," + p + "}}") +
                       Anchor("{" + m + ",\"murl\":1," + p + "}") +  // the last member of a name wins
                       Anchor("{\"murl\":\"http://img.example/old.jpg\"," + m + "," + p + "}") + "<a class=iusc m='{" +
                       m + "," + p + "}' m='{}'>";  // the first attribute of a name wins
    auto rs = ScanModernPage(page);
    EXPECT_EQ(Images(rs), (Strings{"http://img.example/m.jpg", "http://img.example/m.jpg"}));
}

TEST(ModernScan, TruncatedPagesKeepWhatCameBefore) {
    const std::string one = Result("http://img.example/1.jpg", "http://site.example/1");
    const std::string two = Result("http://img.example/2.jpg", "http://site.example/2");
    for (size_t cut = 0; cut < two.size(); ++cut) {
        auto rs = ScanModernPage(one + two.substr(0, cut));
        // the second result counts once its tag is whole
        size_t tagEnd = two.find("\">", two.find("href=")) + 2;
        EXPECT_EQ(rs.size(), cut >= tagEnd ? 2u : 1u) << cut;
    }
    // an open comment, script or quote swallows the rest, as in a browser
    EXPECT_EQ(ScanModernPage(one + "<!-- " + two).size(), 1u);
    EXPECT_EQ(ScanModernPage(one + "<script>" + two).size(), 1u);
    EXPECT_EQ(ScanModernPage(one + "<p title='" + two).size(), 1u);
    EXPECT_EQ(ScanModernPage(one + "<p title='a'>" + two).size(), 2u);
}

TEST(ModernScan, HostilePagesAreReadInLinearTime) {
    const std::string ok = "\"murl\":\"http://img.example/x.jpg\",\"purl\":\"http://site.example/x\"";
    // a megabyte-long attribute, mostly references
    std::string longTitle;
    for (int i = 0; i < 200000; ++i) longTitle += "&quot;";
    std::string page = "<a class=\"iusc\" m=\"{&quot;t&quot;:&quot;" + std::string(300000, 'x') + "&quot;," +
                       Escape(ok) + "}\" title=\"" + longTitle + "\">";
    EXPECT_EQ(ScanModernPage(page).size(), 1u);
    // deep nesting, closed and unclosed
    const size_t depth = 300000;
    std::string deep = "{\"t\":" + std::string(depth, '[') + std::string(depth, ']') + "," + ok + "}";
    EXPECT_EQ(ScanModernPage(Anchor(deep)).size(), 1u);
    EXPECT_EQ(ScanModernPage(Anchor("{\"t\":" + std::string(depth, '[') + "," + ok + "}")).size(), 0u);
    EXPECT_EQ(ScanModernPage(Anchor("{\"t\":" + std::string(depth, '{') + ok)).size(), 0u);
    // many openings that never close, references with endless digits, NUL bytes, lone "<"
    std::string junk;
    for (int i = 0; i < 100000; ++i) junk += "<a class=iusc m=";
    EXPECT_EQ(ScanModernPage(junk).size(), 0u);
    std::string digits = "<a class=iusc m=\"&#" + std::string(500000, '9') + ";&#x" + std::string(500000, 'f') + "\">";
    EXPECT_EQ(ScanModernPage(digits).size(), 0u);
    std::string nul = "<a\0class=iusc m='{"s + ok + "}'>\0<<<\0<a class=iusc m='{"s + ok + "}'>";
    EXPECT_EQ(ScanModernPage(nul).size(), 1u);
    std::string amps(1000000, '&');
    EXPECT_EQ(ScanModernPage("<a class=iusc m='" + amps + "'>" + std::string(1000000, '<')).size(), 0u);
}
