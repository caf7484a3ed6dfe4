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

TEST(FetchRules, RetryAfterIsSecondsOrADateBoundedToAMinute) {
    const int64_t now = 784111777;  // Sun, 06 Nov 1994 08:49:37 GMT
    EXPECT_EQ(RetryAfterMs("7", now), 7000u);
    EXPECT_EQ(RetryAfterMs(" 0 ", now), 0u);
    EXPECT_EQ(RetryAfterMs("31536000", now), 60000u);  // a year
    EXPECT_EQ(RetryAfterMs("99999999999999999999", now), 60000u);
    EXPECT_EQ(RetryAfterMs("", now), 5000u);
    EXPECT_EQ(RetryAfterMs("-5", now), 5000u);
    EXPECT_EQ(RetryAfterMs("soon", now), 5000u);
    EXPECT_EQ(RetryAfterMs("Sun, 06 Nov 1994 08:49:47 GMT", now), 10000u);
    EXPECT_EQ(RetryAfterMs("Sunday, 06-Nov-94 08:50:07 GMT", now), 30000u);
    EXPECT_EQ(RetryAfterMs("Sun Nov  6 08:49:40 1994", now), 3000u);
    EXPECT_EQ(RetryAfterMs("Mon, 06 Nov 1995 08:49:37 GMT", now), 60000u);
    EXPECT_EQ(RetryAfterMs("Sat, 05 Nov 1994 08:49:37 GMT", now), 0u);  // already past
    EXPECT_EQ(RetryAfterMs("Sun, 32 Nov 1994 08:49:37 GMT", now), 5000u);
    EXPECT_TRUE(ServiceBusy(429) && ServiceBusy(503) && !ServiceBusy(200) && !ServiceBusy(500));
}

TEST(FetchRules, TheOriginMarkIsTheInternetZoneWithBothAddressesOnLinesOfTheirOwn) {
    EXPECT_EQ(ZoneIdentifierText("http://img.example/a.jpg", "https://site.example/p?x=1"),
              "[ZoneTransfer]\r\nZoneId=3\r\nReferrerUrl=https://site.example/p?x=1\r\n"
              "HostUrl=http://img.example/a.jpg\r\n");
    EXPECT_EQ(ZoneIdentifierText("http://i/a\r\nZoneId=0", "p\n"),
              "[ZoneTransfer]\r\nZoneId=3\r\nReferrerUrl=p%0A\r\nHostUrl=http://i/a%0D%0AZoneId=0\r\n");
}
