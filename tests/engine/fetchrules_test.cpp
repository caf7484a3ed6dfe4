// The fetcher's length and size rules.
#include "engine/fetchrules.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace engine;

TEST(FetchRules, ContentLengthIsReadAsAnUnsigned64BitNumber) {
    EXPECT_EQ(ParseContentLength("4096000"), 4096000u);
    EXPECT_EQ(ParseContentLength(" 12"), 12u);
    EXPECT_EQ(ParseContentLength("4294967306"), 4294967306u);  // past 32 bits, not wrapped
    EXPECT_EQ(ParseContentLength(""), 0u);
    EXPECT_EQ(ParseContentLength("abc"), 0u);
    EXPECT_EQ(ParseContentLength("99999999999999999999999"), UINT64_MAX);
    EXPECT_EQ(ParseContentLength("18446744073709551615"), UINT64_MAX);
    EXPECT_EQ(ParseContentLength("18446744073709551616"), UINT64_MAX);
}

TEST(FetchRules, BothLimitsAreInclusive) {
    EXPECT_TRUE(WithinSizeLimits(0, 0, 4096000));
    EXPECT_TRUE(WithinSizeLimits(4096000, 0, 4096000));
    EXPECT_FALSE(WithinSizeLimits(4096001, 0, 4096000));
    EXPECT_TRUE(WithinSizeLimits(100, 100, 100));
    EXPECT_FALSE(WithinSizeLimits(99, 100, 100));
    EXPECT_FALSE(WithinSizeLimits(4294967306u, 0, 2147483647));
    EXPECT_FALSE(WithinSizeLimits(0, 0, -1));
    EXPECT_TRUE(WithinSizeLimits(5, -10, 10));
}

TEST(FetchRules, TheOriginMarkIsTheInternetZoneWithBothAddressesOnLinesOfTheirOwn) {
    EXPECT_EQ(ZoneIdentifierText("http://img.example/a.jpg", "https://site.example/p?x=1"),
              "[ZoneTransfer]\r\nZoneId=3\r\nReferrerUrl=https://site.example/p?x=1\r\n"
              "HostUrl=http://img.example/a.jpg\r\n");
    EXPECT_EQ(ZoneIdentifierText("http://i/a\r\nZoneId=0", "p\n"),
              "[ZoneTransfer]\r\nZoneId=3\r\nReferrerUrl=p%0A\r\nHostUrl=http://i/a%0D%0AZoneId=0\r\n");
}
