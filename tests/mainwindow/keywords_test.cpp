// Keyword history order, the query text and the strip's geometry.
#include <gtest/gtest.h>

#include "mainwindow/keywords.h"
#include "mainwindow/stripgeom.h"

using namespace mainwindow;

TEST(KeywordHistory, MovesEntryAsStoredOrInsertsOnTop) {
    std::vector<std::string> h{"cats", "red car", "Dogs"};
    EXPECT_EQ(PutOnTop(h, "DOGS"), 2);
    EXPECT_EQ(h, (std::vector<std::string>{"Dogs", "cats", "red car"}));
    EXPECT_EQ(PutOnTop(h, "dogs"), 0);
    EXPECT_EQ(h, (std::vector<std::string>{"Dogs", "cats", "red car"}));
    EXPECT_EQ(PutOnTop(h, "red car "), -1);  // a trailing space makes another entry
    EXPECT_EQ(h.front(), "red car ");
    EXPECT_EQ(h.size(), 4u);
    std::vector<std::string> empty;
    EXPECT_EQ(PutOnTop(empty, ""), -1);
    EXPECT_EQ(empty, (std::vector<std::string>{""}));
    // The history keeps keywords in every script; case is ignored where the script has it.
    std::vector<std::string> h2{"\xE7\x8C\xAB", "\xD0\xBA\xD0\xBE\xD1\x88\xD0\xBA\xD0\xB0"};
    EXPECT_EQ(PutOnTop(h2, "\xD0\x9A\xD0\xBE\xD1\x88\xD0\xBA\xD0\xB0"), 1);  // Кошка
    EXPECT_EQ(h2.front(), "\xD0\xBA\xD0\xBE\xD1\x88\xD0\xBA\xD0\xB0");
    EXPECT_EQ(PutOnTop(h2, "caf\xC3\xA9 au lait"), -1);
    EXPECT_EQ(PutOnTop(h2, "\xE7\x8C\xAB"), 2);
}

TEST(KeywordHistory, QueryReplacesEverySpaceAndNothingElse) {
    EXPECT_EQ(QueryFromKeywords("red car"), "red+car");
    EXPECT_EQ(QueryFromKeywords("  red  car "), "++red++car+");
    EXPECT_EQ(QueryFromKeywords("a&b=c+d%20"), "a&b=c+d%20");
    EXPECT_EQ(QueryFromKeywords(""), "");
}

TEST(StripGeometry, FrameAroundPictures) {
    Box thumb{5, 4 + 111 * 2, 138, 108};
    Box f = FrameAround(thumb, 138, 103);
    EXPECT_EQ(f.width, 144);
    EXPECT_EQ(f.height, 109);
    EXPECT_EQ(f.left, thumb.left - 3);
    EXPECT_EQ(f.top, thumb.top);  // (108 - 109) / 2 truncates to 0
    f = FrameAround(thumb, 138, 115);
    EXPECT_EQ(f.height, 121);
    EXPECT_EQ(f.top, thumb.top - 6);
    f = FrameAround(thumb, 100, 108);
    EXPECT_EQ(f.left, thumb.left + 16);
    EXPECT_EQ(f.top, thumb.top - 3);
    EXPECT_EQ(ThumbContentTop(0), 4);
    EXPECT_EQ(ThumbContentTop(10), 1114);
}
