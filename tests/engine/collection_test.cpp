// A collection's pieces: the size of a picture read from its header, the sources file's lines
// read back as a spreadsheet and a JSON reader would, and the console's keyword lists.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/keywordlist.h"
#include "engine/picturesize.h"
#include "engine/sourcerecord.h"
#include "source_rows.h"

using namespace engine;
using sourcerows::CsvFields;
using namespace std::string_view_literals;

namespace {

std::string Bytes(std::initializer_list<int> b) {
    std::string s;
    for (int c : b) s += static_cast<char>(c);
    return s;
}

}  // namespace

TEST(PictureSize, ReadFromEachKindOfHeader) {
    // JPEG: an APP0 segment and fill bytes before a progressive frame header of 640 x 480.
    const std::string jpeg = Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0,  4, 'J',  'F',  0xFF, 0xFF, 0xC4, 0,
                                    2,    0xFF, 0xC2, 0,    11, 8, 0x01, 0xE0, 0x02, 0x80, 3});
    EXPECT_EQ(PictureSizeFromHeader(jpeg), (PictureSize{640, 480}));
    std::string png = "\x89PNG\r\n\x1A\n" + Bytes({0, 0, 0, 13}) + "IHDR" + Bytes({0, 0, 4, 0, 0, 0, 3, 0});
    EXPECT_EQ(PictureSizeFromHeader(png), (PictureSize{1024, 768}));
    EXPECT_EQ(PictureSizeFromHeader("GIF89a" + Bytes({0x90, 1, 0x2C, 1})), (PictureSize{400, 300}));
    std::string bmp = "BM" + std::string(12, '\0') + Bytes({40, 0, 0, 0, 50, 0, 0, 0, 0xD8, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(PictureSizeFromHeader(bmp), (PictureSize{50, 40}));  // stored top row first
    std::string webp =
        "RIFF" + std::string(4, '\0') + "WEBPVP8X" + std::string(8, '\0') + Bytes({0x7F, 2, 0, 0xDF, 1, 0});
    EXPECT_EQ(PictureSizeFromHeader(webp), (PictureSize{640, 480}));

    // Cut off, damaged or no picture at all: no size, never a guess.
    EXPECT_FALSE(PictureSizeFromHeader(jpeg.substr(0, 18)));
    EXPECT_FALSE(PictureSizeFromHeader(png.substr(0, 20)));
    EXPECT_FALSE(PictureSizeFromHeader(Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 1})));
    EXPECT_FALSE(PictureSizeFromHeader("GIF89a" + Bytes({0, 0, 5, 0})));
    EXPECT_FALSE(PictureSizeFromHeader("<html>hotlinking forbidden</html>"));
    EXPECT_FALSE(PictureSizeFromHeader(""));

    EXPECT_TRUE(SmallerThan({1023, 800}, 1024, 768));
    EXPECT_TRUE(SmallerThan({2000, 700}, 1024, 768));
    EXPECT_FALSE(SmallerThan({1024, 768}, 1024, 768));
    EXPECT_FALSE(SmallerThan({1, 1}, 0, 0));
}

TEST(SourceRecord, LinesReadBackAsWritten) {
    SourceRecord r{"cat (2).jpg",
                   "https://img.example/a,b.jpg",
                   "https://p.example/?q=\"x\"",
                   "",
                   "filterui:photo",
                   "fr-FR",
                   1796880422,
                   51234,
                   640,
                   480,
                   std::string(64, 'a')};
    EXPECT_EQ(SourceFileStart(SourceFormat::Csv).substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(CsvFields(SourceFileStart(SourceFormat::Csv).substr(3)).size(), 11u);
    for (const char* keywords : {"chats noirs", "\xD0\xBA\xD0\xBE\xD1\x88\xD0\xBA\xD0\xB8", "\xE7\x8C\xAB\n2"}) {
        r.keywords = keywords;
        const std::string line = SourceLine(r, SourceFormat::Csv);
        ASSERT_EQ(line.substr(line.size() - 2), "\r\n");
        std::string record = line.substr(0, line.size() - 2);
        std::vector<std::string> f = CsvFields(record);
        if (r.keywords.find('\n') != std::string::npos) {  // a line break stays inside its quotes
            EXPECT_NE(record.find("\"\xE7\x8C\xAB\n2\""), std::string::npos);
            continue;
        }
        EXPECT_EQ(f, (std::vector<std::string>{r.file, r.imageUrl, r.pageUrl, keywords, "filterui:photo", "fr-FR",
                                               "2026-12-10T05:27:02Z", "51234", "640", "480", r.sha256}));
    }
    r.keywords = "caf\xC3\xA9 \"q\"\t\xFF";  // a quote, a tab and a byte that is no UTF-8
    EXPECT_EQ(SourceLine(r, SourceFormat::JsonLines),
              "{\"file\":\"cat (2).jpg\",\"image_url\":\"https://img.example/a,b.jpg\",\"page_url\":"
              "\"https://p.example/?q=\\\"x\\\"\",\"keywords\":\"caf\xC3\xA9 \\\"q\\\"\\u0009\xEF\xBF\xBD\","
              "\"filters\":\"filterui:photo\",\"market\":\"fr-FR\",\"time_utc\":\"2026-12-10T05:27:02Z\","
              "\"bytes\":51234,\"width\":640,\"height\":480,\"sha256\":\"" +
                  r.sha256 + "\"}\n");
    EXPECT_EQ(sourcerows::JsonFields(SourceLine(r, SourceFormat::JsonLines))["keywords"],
              "caf\xC3\xA9 \"q\"\t\xEF\xBF\xBD");
    EXPECT_EQ(SourceFormatFor("C:\\out\\Sources.JSONL"), SourceFormat::JsonLines);
    EXPECT_EQ(SourceFormatFor("sources.csv"), SourceFormat::Csv);
    EXPECT_EQ(IsoUtc(0), "1970-01-01T00:00:00Z");
    EXPECT_EQ(IsoUtc(951782400), "2000-02-29T00:00:00Z");
}

TEST(KeywordList, LinesOfAFileAndWhatIsRefused) {
    KeywordList list = ReadKeywordList(
        "\xEF\xBB\xBF"
        "cats\r\n\r\n  red fox \t\rn\xC3\xBA\n \n\xE7\x8C\xAB");
    EXPECT_EQ(list.searches, (std::vector<std::string>{"cats", "red fox", "n\xC3\xBA", "\xE7\x8C\xAB"}));
    EXPECT_EQ(list.error, "");
    EXPECT_EQ(ReadKeywordList("").error, "it holds no keywords");
    EXPECT_EQ(ReadKeywordList(" \r\n\t\n").error, "it holds no keywords");
    EXPECT_EQ(ReadKeywordList("cats\ndo\0gs"sv).error, "line 2 is not UTF-8 text");
    EXPECT_EQ(ReadKeywordList("cats\n\xC0\xAF").error, "line 2 is not UTF-8 text");
    std::string many;
    for (int i = 0; i < 10000; i++) many += "k" + std::to_string(i) + "\n";
    EXPECT_EQ(ReadKeywordList(many).searches.size(), 10000u);
    EXPECT_EQ(ReadKeywordList(many, 9999).error, "it holds more than 9999 searches");
}
