// Text rules of the version check and the image file commands.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/integers.h"
#include "info/texts.h"
#include "info/versionscan.h"

using namespace info;
using namespace platform;

TEST(StrToInt, DecimalHexAndRange) {
    EXPECT_EQ(StrToInt("1072"), 1072);
    EXPECT_EQ(StrToInt("0011"), 11);
    EXPECT_EQ(StrToInt("-5"), -5);
    EXPECT_EQ(StrToInt("+5"), 5);
    EXPECT_EQ(StrToInt("  7"), 7);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
    EXPECT_EQ(StrToInt("$1F"), 31);
    EXPECT_EQ(StrToInt("0x1f"), 31);
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
    for (const char* bad : {"", " ", "-", "$", "0x", "2147483648", "-2147483649", "$100000000", "1 ", "\r\n1080", "10a",
                            "1.0", "99999999999999999999999", "+-1"})
        EXPECT_FALSE(TryStrToInt(bad).has_value()) << bad;
}

TEST(StrToInt, ErrorNamesTheText) {
    try {
        StrToInt("\r\n1.0.8");
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "'\r\n1.0.8' is not a valid integer value");
    }
    EXPECT_THROW(StrToInt(""), std::runtime_error);
}

TEST(VersionScan, TakesTwentyCharactersCutBeforeClosingTag) {
    EXPECT_EQ(PublishedVersionText("<XML><Program_Version>1.0.8.0</Program_Version>"), "1.0.8.0");
    // Only the first element counts.
    EXPECT_EQ(PublishedVersionText("<Program_Version>1.1</Program_Version><Program_Version>2"), "1.1");
    // Exact, case-sensitive tag.
    EXPECT_EQ(PublishedVersionText("<program_version>1.1</program_version>"), "");
    EXPECT_EQ(PublishedVersionText("no element here"), "");
    // 20 characters without "</": all 20 are taken.
    EXPECT_EQ(PublishedVersionText("<Program_Version>12345678901234567890123</Program_Version>"),
              "12345678901234567890");
    // 18 characters then "</" fit; with 19, the "</" is cut in two and the "<" stays.
    EXPECT_EQ(PublishedVersionText("<Program_Version>123456789012345678</Program_Version>"), "123456789012345678");
    EXPECT_EQ(PublishedVersionText("<Program_Version>1234567890123456789</Program_Version>"), "1234567890123456789<");
    // The text ends sooner.
    EXPECT_EQ(PublishedVersionText("<Program_Version>1.0"), "1.0");
    EXPECT_EQ(PublishedVersionText("<Program_Version>1.0\n"), "1.0");
}

TEST(VersionScan, LineEndsBecomeCrLf) {
    // A value on the line after the tag begins with CR LF, whatever the file's line ends.
    for (const char* file :
         {"<Program_Version>\n1.0.8.0\n</Program_Version>", "<Program_Version>\r\n1.0.8.0\r\n</Program_Version>",
          "<Program_Version>\r1.0.8.0\r</Program_Version>"})
        EXPECT_EQ(PublishedVersionText(file), "\r\n1.0.8.0\r\n") << file;
    EXPECT_EQ(PublishedVersionText("<Program_Version>\n\n1"), "\r\n\r\n1");
    // An empty last line survives; the line end after the last line does not.
    EXPECT_EQ(PublishedVersionText("<Program_Version>1\n\n"), "1\r\n");
}

TEST(VersionScan, FedInPiecesStopsOnceKnown) {
    std::string file = "head\r\n<Program_Version>1.0.7.2</Program_Version>\r\n" + std::string(5000, 'x');
    VersionScan scan;
    size_t fed = 0;
    // Pieces of one byte split the tag and the CR LF pairs.
    while (fed < file.size() && !scan.Done()) scan.Feed(std::string_view(file).substr(fed++, 1));
    EXPECT_TRUE(scan.Done());
    EXPECT_LT(fed, 60u);
    EXPECT_EQ(scan.Text(), "1.0.7.2");
    // A CR at the end of one block and its LF at the start of the next are one line end.
    VersionScan split;
    split.Feed("<Program_Version>\r");
    split.Feed("\n1</");
    split.Finish();
    EXPECT_EQ(split.Text(), "\r\n1");
}

TEST(VersionScan, BinaryBytesDoNotConfuseIt) {
    std::string file("\0\xff\x01<Program_Version>\0\x80x</", 26);
    EXPECT_EQ(PublishedVersionText(file), std::string("\0\x80x", 3));
    EXPECT_FALSE(TryStrToInt(RemoveDots(PublishedVersionText(file))).has_value());
}

TEST(VersionTexts, DotsAddressesAndMessages) {
    EXPECT_EQ(RemoveDots("1.0.7.2"), "1072");
    EXPECT_EQ(RemoveDots("..1.."), "1");
    EXPECT_EQ(UrlFileName("http://downloads.example.net/pad/quenby_pad.xml"), "quenby_pad.xml");
    EXPECT_EQ(UrlFileName("http://example.net/"), "");
    EXPECT_EQ(DownloadWarning("q.xml"),
              "Error downloading file \"q.xml\" for version check.\r"
              "Please check your internet connection and/or firewall..");
}

TEST(ImageInfoText, LabelsBlanksAndEndingCr) {
    EXPECT_EQ(ImageInfoText("cat.jpg", 2048, "12/08/2026 05:04:02 PM"),
              "File name: cat.jpg\rFile size:     2048 bytes\rFile date:   12/08/2026 05:04:02 PM\r");
    EXPECT_EQ(ImageInfoText("big", 5000000000ULL, "d"),
              "File name: big\rFile size:     5000000000 bytes\rFile date:   d\r");
    EXPECT_EQ(DateTimeText("1/2/2026", "12:00:00 AM", true), "1/2/2026");
    EXPECT_EQ(DateTimeText("1/2/2026", "12:00:02 AM", false), "1/2/2026 12:00:02 AM");
    EXPECT_EQ(TrimBlanks(" \t none\r\n"), "none");
    EXPECT_EQ(TrimBlanks("\x01 \x1f"), "");
    EXPECT_EQ(TrimBlanks("a b"), "a b");
}
