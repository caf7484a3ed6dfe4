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
