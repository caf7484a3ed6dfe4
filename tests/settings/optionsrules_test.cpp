#include "settings/optionsrules.h"

#include <stdexcept>

#include <gtest/gtest.h>

using namespace settings;

TEST(OptionFields, EmptyOrNonNumericTextIsNoInteger) {
    EXPECT_EQ(FieldValue("500"), 500);
    try {
        FieldValue("");
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "'' is not a valid integer value");
    }
    EXPECT_THROW(FieldValue("99999999999"), std::runtime_error);
}

TEST(OptionFields, ValuesOutsideTheRangeShowTheNearestBound) {
    EXPECT_EQ(ClampedFieldText(7, kFileCountRange), "50");    // typing 7 over everything
    EXPECT_EQ(ClampedFieldText(5000, kMinSizeRange), "500");  // a fourth digit after "500"
    EXPECT_EQ(ClampedFieldText(0, kMaxSizeRange), "1");
    EXPECT_EQ(ClampedFieldText(1000, kFileCountRange), std::nullopt);
    EXPECT_EQ(ArrowPosition(20, kFileCountRange), 50);
    EXPECT_EQ(ArrowPosition(600, kMinSizeRange), 500);
    EXPECT_EQ(ArrowPosition(4000, kMaxSizeRange), 4000);
}

TEST(OptionFields, OnlyBackspaceAndDigitsPass) {
    EXPECT_TRUE(PassesNumberKey('\b'));
    EXPECT_TRUE(PassesNumberKey('0'));
    EXPECT_TRUE(PassesNumberKey('9'));
    for (char c : {'-', '+', ' ', 'a', '\r', '\x16', '\x1b', '\t'}) EXPECT_FALSE(PassesNumberKey(c)) << int(c);
}

TEST(OptionFields, KilobytesOf1024) {
    EXPECT_EQ(KilobytesShown(1536), 1);
    EXPECT_EQ(BytesStored(1), 1024);
    EXPECT_EQ(KilobytesShown(4096000), 4000);
    EXPECT_EQ(KilobytesShown(614400), 600);
    EXPECT_EQ(BytesStored(500), 512000);
    EXPECT_EQ(BytesStored(10000), 10240000);
    EXPECT_EQ(BytesStored(5000000), 2147483647);  // never wraps round to a negative size
}

TEST(SafeSearchRows, ExactTextPicksTheRowAndNoRowKeepsTheLevel) {
    EXPECT_EQ(SafeSearchRow("Strict"), 0);
    EXPECT_EQ(SafeSearchRow("Moderate"), 1);
    EXPECT_EQ(SafeSearchRow("Off"), 2);
    EXPECT_EQ(SafeSearchRow("off"), -1);
    EXPECT_EQ(SafeSearchForRow(2, "Moderate"), "Off");
    EXPECT_EQ(SafeSearchForRow(-1, "weird"), "weird");
}
