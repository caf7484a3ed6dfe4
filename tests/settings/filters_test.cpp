// The search service's filters and the market: the codes, the console words, what a stored
// value turns into, and the request each choice makes.
#include "settings/filters.h"

#include <gtest/gtest.h>

#include "engine/query.h"

using namespace settings;

namespace {

std::vector<std::string> Codes(int group) {
    std::vector<std::string> out;
    for (const FilterValue& v : FilterGroups()[static_cast<size_t>(group)].values) out.push_back(v.code);
    return out;
}

FilterChoice With(std::initializer_list<std::pair<int, int>> values, std::string market = kDefaultMarket) {
    FilterChoice c;
    for (auto [g, v] : values) c.value[static_cast<size_t>(g)] = v;
    c.market = std::move(market);
    return c;
}

// The request of page one for "red car" with this choice, as the job builds it.
std::string Request(const FilterChoice& c) {
    engine::QueryParams p{"red+car", 1, 28, 4096000, 0, "Moderate", FilterQuery(c), c.market};
    return engine::SearchPath(p);
}

const std::string kPlain =
    "/images/search?q=red+car&first=1&count=28&maxFileSize=4096000&minFileSize=0&safeSearch=Moderate&mkt=nl-NL"
    "&adlt=Moderate";

}  // namespace

TEST(Filters, TheServicesCodesInTheirGroups) {
    EXPECT_EQ(Codes(kSize), (std::vector<std::string>{"imagesize-small", "imagesize-medium", "imagesize-large",
                                                      "imagesize-wallpaper"}));
    std::vector<std::string> colors{"color2-color", "color2-bw"};
    for (const char* c :
         {"RED", "ORANGE", "YELLOW", "GREEN", "TEAL", "BLUE", "PURPLE", "PINK", "BROWN", "BLACK", "GRAY", "WHITE"})
        colors.push_back(std::string("color2-FGcls_") + c);
    EXPECT_EQ(Codes(kColor), colors);
    EXPECT_EQ(Codes(kType), (std::vector<std::string>{"photo-photo", "photo-clipart", "photo-linedrawing",
                                                      "photo-animatedgif", "photo-transparent"}));
    EXPECT_EQ(Codes(kLayout), (std::vector<std::string>{"aspect-square", "aspect-wide", "aspect-tall"}));
    EXPECT_EQ(Codes(kPeople), (std::vector<std::string>{"face-face", "face-portrait"}));
    EXPECT_EQ(Codes(kDate), (std::vector<std::string>{"age-lt1440", "age-lt10080", "age-lt43200", "age-lt525600"}));
    EXPECT_EQ(Codes(kLicense), (std::vector<std::string>{"licenseType-Any", "license-L1", "license-L2_L3_L4_L5_L6_L7",
                                                         "license-L2_L3_L4", "license-L2_L3_L5_L6", "license-L2_L3"}));
    EXPECT_EQ(FilterGroups()[kLicense].values[3].caption, std::string("Free to share and use commercially"));
    EXPECT_EQ(CommonMarkets().front(), "nl-NL");
    for (const std::string& m : CommonMarkets()) EXPECT_TRUE(IsMarketTag(m)) << m;
}

TEST(Filters, ConsoleWords) {
    std::vector<std::string> words;
    for (int g = 0; g < kFilterGroupCount; ++g) words.push_back(WordList(g));
    EXPECT_EQ(words, (std::vector<std::string>{
                         "small, medium, large or wallpaper",
                         "color, bw, red, orange, yellow, green, teal, blue, purple, pink, brown, black, gray or white",
                         "photo, clipart, line, animated or transparent", "square, wide or tall", "faces or portraits",
                         "day, week, month or year",
                         "cc, public-domain, share, share-commercially, modify-share or modify-share-commercially"}));
    EXPECT_EQ(ValueForWord(kLicense, "share-commercially"), 3);
    EXPECT_EQ(ValueForWord(kSize, "LARGE"), 2);
    EXPECT_EQ(ValueForWord(kType, "line"), 2);
    for (const char* bad : {"", "larger", "larg", "imagesize-large", "large "}) EXPECT_EQ(ValueForWord(kSize, bad), -1);
    EXPECT_EQ(ValueForWord(kFilterGroupCount, "large"), -1);
}

// What the settings file may hold: only a group's own code exactly is a filter.
TEST(Filters, StoredValuesOnlyExactCodes) {
    EXPECT_EQ(ValueForCode(kSize, "imagesize-large"), 2);
    EXPECT_EQ(ValueForCode(kLicense, "license-L2_L3_L4"), 3);
    for (std::string bad :
         {std::string(), std::string("large"), std::string("IMAGESIZE-LARGE"),
          std::string("imagesize-large imagesize-large"), std::string("imagesize-largeimagesize-large"),
          std::string("imagesize-large+filterui:imagesize-small"), std::string("imagesize-large&x=1"),
          std::string(" imagesize-large"), std::string("imagesize-large\r\n"), std::string(5000, 'x'),
          std::string("photo-photo")})
        EXPECT_EQ(ValueForCode(kSize, bad), -1) << bad;
    EXPECT_EQ(StoredCode(kSize, 2), "imagesize-large");
    EXPECT_EQ(StoredCode(kSize, -1), "");
    EXPECT_EQ(StoredCode(kSize, 4), "");
    EXPECT_EQ(StoredCode(-1, 0), "");
}

TEST(Filters, MarketTags) {
    for (const char* good : {"en-US", "de-DE", "ja-JP", "zh-Hant-TW", "es-419", "en", "fil-PH", "en-us"})
        EXPECT_TRUE(IsMarketTag(good)) << good;
    for (std::string bad :
         {std::string(), std::string("e"), std::string("engl-US"), std::string("en-"), std::string("en--US"),
          std::string("-US"), std::string("en US"), std::string("en-US&adlt=Off"), std::string("en-US#x"),
          std::string("en-US\r\nX: y"), std::string("en_US"), std::string("en-US+x"), std::string("en-abcdefghi"),
          std::string("en-") + std::string(40, 'a'), std::string("en-US\0", 6), std::string("n\xe9-NL")})
        EXPECT_FALSE(IsMarketTag(bad)) << bad;
    EXPECT_EQ(MarketFromStored("en-US"), "en-US");
    EXPECT_EQ(MarketFromStored("en-US&x"), "nl-NL");
    EXPECT_EQ(MarketFromStored(""), "nl-NL");
}

TEST(Filters, RequestWithoutFiltersIsTodaysExactly) {
    EXPECT_TRUE(FilterChoice{}.Plain());
    EXPECT_EQ(FilterQuery(FilterChoice{}), "");
    EXPECT_EQ(Request(FilterChoice{}), kPlain);
    EXPECT_EQ(FilterLine(FilterChoice{}), "");
}

TEST(Filters, EachGroupAloneFollowsTheLastKey) {
    for (int g = 0; g < kFilterGroupCount; ++g) {
        const auto& values = FilterGroups()[static_cast<size_t>(g)].values;
        for (size_t v = 0; v < values.size(); ++v) {
            FilterChoice c = With({{g, static_cast<int>(v)}});
            EXPECT_FALSE(c.Plain());
            EXPECT_EQ(Request(c), kPlain + "&qft=+filterui:" + values[v].code) << g << " " << v;
        }
    }
}

TEST(Filters, SeveralTogetherInGroupOrderAndTheMarket) {
    FilterChoice c = With({{kLicense, 3}, {kSize, 2}});
    EXPECT_EQ(FilterQuery(c), "+filterui:imagesize-large+filterui:license-L2_L3_L4");
    EXPECT_EQ(Request(c), kPlain + "&qft=+filterui:imagesize-large+filterui:license-L2_L3_L4");
    FilterChoice all =
        With({{kDate, 3}, {kPeople, 1}, {kLayout, 1}, {kType, 0}, {kColor, 2}, {kSize, 3}, {kLicense, 0}});
    EXPECT_EQ(FilterQuery(all),
              "+filterui:imagesize-wallpaper+filterui:color2-FGcls_RED+filterui:photo-photo+filterui:aspect-wide"
              "+filterui:face-portrait+filterui:age-lt525600+filterui:licenseType-Any");

    FilterChoice market = With({}, "en-US");
    EXPECT_FALSE(market.Plain());
    std::string expected = kPlain;
    expected.replace(expected.find("mkt=nl-NL"), 9, "mkt=en-US");
    EXPECT_EQ(Request(market), expected);
    EXPECT_EQ(Request(With({{kType, 0}}, "ja-JP")),
              "/images/search?q=red+car&first=1&count=28&maxFileSize=4096000&minFileSize=0&safeSearch=Moderate"
              "&mkt=ja-JP&adlt=Moderate&qft=+filterui:photo-photo");
}

// The job's own last line of defence: whatever reaches it, the query keeps its keys.
TEST(Filters, TheRequestNeverCarriesABrokenMarketOrFilterText) {
    for (std::string market : {std::string("en-US&adlt=Off"), std::string("en US"), std::string("a#b"),
                               std::string("en\r\nUS"), std::string(), std::string(100, 'a')}) {
        engine::QueryParams p{"red+car", 1, 28, 4096000, 0, "Moderate", "", market};
        EXPECT_EQ(engine::SearchPath(p), kPlain) << market;
    }
    for (std::string filters : {std::string("+filterui:a&b=c"), std::string("+filterui:a b"), std::string("x#y"),
                                std::string("+filterui:a\nb"), std::string("+filterui:a\0b", 13)}) {
        engine::QueryParams p{"red+car", 1, 28, 4096000, 0, "Moderate", filters, "nl-NL"};
        EXPECT_EQ(engine::SearchPath(p), kPlain) << filters;
    }
}

TEST(Filters, TheWindowsLine) {
    EXPECT_EQ(FilterLine(With({{kSize, 2}, {kType, 0}, {kLicense, 2}})),
              "Filters: large, photo, free to share and use");
    EXPECT_EQ(FilterLine(With({{kSize, 2}}, "en-US")), "Filters: large; market en-US");
    EXPECT_EQ(FilterLine(With({}, "en-US")), "Market: en-US");
    EXPECT_EQ(FilterLine(With({{kColor, 1}, {kPeople, 0}, {kDate, 0}})),
              "Filters: black and white, faces, past 24 hours");
    // Values outside a group count as none, in the line and in the request.
    FilterChoice odd = With({{kSize, 99}, {kColor, -5}});
    EXPECT_EQ(FilterLine(odd), "");
    EXPECT_EQ(FilterQuery(odd), "");
}
