#include "engine/query.h"

#include <gtest/gtest.h>

using namespace engine;

TEST(SearchUrl, KeysInOrderUnescaped) {
    QueryParams p{"red+car", 1, 28, 4096000, 0, "Moderate"};
    EXPECT_EQ(SearchPath(p),
              "/images/search?q=red+car&first=1&count=28&maxFileSize=4096000&minFileSize=0"
              "&safeSearch=Moderate&mkt=nl-NL&adlt=Moderate");
    p.safeSearch = "Off";
    p.keywords = "a&b#c";
    p.first = 57;
    std::string url = SearchUrl("https://www.bing.com/", p);
    EXPECT_EQ(url.rfind("https://www.bing.com/images/search?q=a&b#c&first=57&", 0), 0u);
    EXPECT_EQ(url.substr(url.size() - 34), "&safeSearch=Off&mkt=nl-NL&adlt=Off");
}

TEST(ProgressLabels, Texts) {
    EXPECT_EQ(TryingLabel(29, 1, 1000), "Trying: 29 of 1000 images");
    EXPECT_EQ(TryingLabel(1, 0, -5), "Trying: 0 of -5 images");
    EXPECT_EQ(DownedLabel(0), "Downed: 0 images");
}

TEST(Query, KeywordsInEveryScriptArePercentEncodedAsUtf8Once) {
    QueryParams p{"\xE7\x8C\xAB", 1, 28, 4096000, 0, "Moderate"};
    EXPECT_EQ(SearchPath(p).substr(0, 35), "/images/search?q=%E7%8C%AB&first=1&");
    p.keywords = "\xD0\xBA\xD0\xBE\xD1\x88\xD0\xBA\xD0\xB0";
    EXPECT_EQ(EncodedKeywords(p.keywords), "%D0%BA%D0%BE%D1%88%D0%BA%D0%B0");
    EXPECT_EQ(EncodedKeywords("caf\xC3\xA9+au+lait"), "caf%C3%A9+au+lait");
    // What is ASCII stays as typed, an escape the user typed included: nothing is encoded twice.
    EXPECT_EQ(EncodedKeywords("100%+a&b#c"), "100%+a&b#c");
    EXPECT_EQ(EncodedKeywords("a\tb\x7F"), "a%09b%7F");
    std::string longest(10000, 'x');
    longest += "\xE7\x8C\xAB";
    EXPECT_EQ(EncodedKeywords(longest).size(), 10009u);
}
