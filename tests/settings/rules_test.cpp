#include "platform/integers.h"
#include "settings/rules.h"

#include <gtest/gtest.h>

#include "settings/settingskeys.h"

using namespace settings;
using platform::ParseInteger;

TEST(StoredInteger, DecimalHexAndGarbage) {
    EXPECT_EQ(ParseInteger("1024"), 1024);
    EXPECT_EQ(ParseInteger("-5"), -5);
    EXPECT_EQ(ParseInteger("+7"), 7);
    EXPECT_EQ(ParseInteger("0x400"), 1024);
    EXPECT_EQ(ParseInteger("0X1f"), 31);
    EXPECT_EQ(ParseInteger("0xFFFFFFFF"), -1);
    EXPECT_EQ(ParseInteger("2147483647"), INT32_MAX);
    EXPECT_EQ(ParseInteger("-2147483648"), INT32_MIN);
    for (const char* bad : {"", "12abc", "0x", "0x1G", "-", "+", " 12", "12 ", "2147483648", "-2147483649",
                            "0x100000000", "99999999999999999999999", "1e3", "-0x10", "$400"})
        EXPECT_FALSE(ParseInteger(bad).has_value()) << bad;
}

TEST(StoredInteger, TableDefaults) {
    EXPECT_EQ(IntegerDefault(kMaxFilesize), 4096000);
    EXPECT_EQ(IntegerDefault(kMaxFileCount), 1000);
    EXPECT_EQ(IntegerDefault(kMinFilesize), 0);
    EXPECT_EQ(IntegerDefault(kWindowTop), 118);
    EXPECT_EQ(IntegerDefault(kWindowLeft), 203);
    EXPECT_EQ(IntegerDefault(kShowThumbsList), 1);
    EXPECT_EQ(IntegerDefault(kShowMainMenu), 1);
    EXPECT_EQ(IntegerDefault(kSaveOnExitAsk), 1);
    EXPECT_STREQ(kSearchService.fixedDefault, "https://www.bing.com");
    EXPECT_STREQ(kSafeSearchT.fixedDefault, "Moderate");
}

TEST(StoredText, LineBreaksCannotStartNewLines) {
    std::string v = SanitizeValue("cats\r\n[Preferences]\r\nSavePath=C:\\");
    EXPECT_EQ(v, "cats  [Preferences]  SavePath=C:\\");
    EXPECT_EQ(SanitizeValue("a\rb\nc"), "a b c");
    EXPECT_EQ(SanitizeValue("plain = text; [x]"), "plain = text; [x]");
}

TEST(StoredText, QuotedWhereReadingWouldChangeIt) {
    EXPECT_EQ(StoredForm("cats"), "cats");
    EXPECT_EQ(StoredForm(""), "");
    EXPECT_EQ(StoredForm("\"red car\""), "\"\"red car\"\"");
    EXPECT_EQ(StoredForm("'x'"), "\"'x'\"");
    EXPECT_EQ(StoredForm(" cats"), "\" cats\"");
    EXPECT_EQ(StoredForm("cats\t"), "\"cats\t\"");
    EXPECT_EQ(StoredForm("a \"b\""), "a \"b\"");
    EXPECT_EQ(StoredForm("\"'"), "\"'");
    EXPECT_EQ(StoredForm("\""), "\"");
    EXPECT_EQ(StoredForm("x\r\n"), "\"x  \"");
}

TEST(Folder, TrailingBackslash) {
    EXPECT_EQ(WithTrailingBackslash(""), "");
    EXPECT_EQ(WithTrailingBackslash("C:\\tmp"), "C:\\tmp\\");
    EXPECT_EQ(WithTrailingBackslash("C:\\tmp\\"), "C:\\tmp\\");
}

TEST(KeywordBox, AllowedCharacters) {
    std::string allowed;
    for (unsigned c = 0; c < 128; ++c)
        if (IsKeywordChar(c)) allowed += static_cast<char>(c);
    EXPECT_EQ(allowed, std::string("\x08\x0C !\"#$%&'()+,-.0123456789=ABCDEFGHIJKLMNOPQRSTUVWXYZ[]_"
                                   "abcdefghijklmnopqrstuvwxyz"));
    // Every other script is typed as it is; C1 controls are not.
    for (unsigned c : {0xE9u, 0x732Bu, 0x043Au, 0x0627u, 0xD83Du, 0xDE00u}) EXPECT_TRUE(IsKeywordChar(c)) << c;
    for (unsigned c = 0x80; c < 0xA0; ++c) EXPECT_FALSE(IsKeywordChar(c)) << c;
}

TEST(GoToWebpage, SiteOfAnAddress) {
    EXPECT_EQ(SiteAddress("http://example.test/dir/page.html"), "http://example.test/");
    EXPECT_EQ(SiteAddress("https://a.b:8080/x"), "https://a.b:8080/");
    EXPECT_EQ(SiteAddress("http://host"), "http://host/");
    EXPECT_EQ(SiteAddress("host/dir/page"), "");
    EXPECT_EQ(SiteAddress(""), "");
}
