#include "savedsearch/records.h"

#include <gtest/gtest.h>

using namespace savedsearch;

namespace {

Bytes Jpeg(size_t n, uint8_t fill) {
    Bytes b(n, fill);
    b.front() = 0xFF;
    b.back() = 0xD9;
    return b;
}

Bytes Le(int32_t v) {
    uint32_t u = static_cast<uint32_t>(v);
    return {uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16), uint8_t(u >> 24)};
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

}  // namespace

TEST(ThumbnailRecords, SecondRecordStartsRightAfterTheFirst) {
    Bytes a = Jpeg(300, 1), b = Jpeg(17, 2);
    Bytes file;
    AppendThumbnailRecord(file, a);
    AppendThumbnailRecord(file, b);
    ASSERT_EQ(file.size(), 4 + 300 + 4 + 17u);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 4), Le(300));
    EXPECT_EQ(Bytes(file.begin() + 304, file.begin() + 308), Le(17));

    auto read = ReadThumbnailRecords(file, 2);
    ASSERT_TRUE(read[0] && read[1]);
    EXPECT_EQ(*read[0], a);
    EXPECT_EQ(*read[1], b);

    // Written again from what was read: the same bytes, so load and save lose nothing.
    Bytes again;
    for (auto& p : read) AppendThumbnailRecord(again, *p);
    EXPECT_EQ(again, file);
}

TEST(ThumbnailRecords, AThumbnailWithoutDataIsAnEmptyRecordReadBackAsNoPicture) {
    Bytes out;
    AppendThumbnailRecord(out, Bytes{});
    AppendThumbnailRecord(out, Jpeg(5, 1));
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 4), (Bytes{0, 0, 0, 0}));
    auto read = ReadThumbnailRecords(out, 2);
    EXPECT_FALSE(read[0]);
    EXPECT_EQ(*read[1], Jpeg(5, 1));
}

TEST(ThumbnailRecords, MalformedRecordsStayInsideTheirOwnBytes) {
    Bytes good = Jpeg(10, 7);
    // A zero-length record: that entry gets no picture, the next record is still found.
    auto r = ReadThumbnailRecords(Cat({Le(0), Le(10), good}), 2);
    EXPECT_FALSE(r[0]);
    ASSERT_TRUE(r[1]);
    EXPECT_EQ(*r[1], good);

    // A negative length: nothing after it can be trusted.
    r = ReadThumbnailRecords(Cat({Le(10), good, Le(-5), Le(10), good}), 3);
    EXPECT_TRUE(r[0]);
    EXPECT_FALSE(r[1]);
    EXPECT_FALSE(r[2]);

    // A length past the end of the file (truncated, or an absurd hand-written one).
    for (int32_t len : {11, 0x7FFFFFFF, kMaxRecordLength + 1}) {
        r = ReadThumbnailRecords(Cat({Le(10), good, Le(len), good}), 3);
        EXPECT_TRUE(r[0]) << len;
        EXPECT_FALSE(r[1]) << len;
        EXPECT_FALSE(r[2]) << len;
    }

    // A length field cut short, and a file that ends before the lines do.
    r = ReadThumbnailRecords(Cat({Le(10), good, Bytes{3, 0}}), 3);
    EXPECT_TRUE(r[0]);
    EXPECT_FALSE(r[1]);
    r = ReadThumbnailRecords(Cat({Le(10), good}), 4);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_TRUE(r[0]);
    EXPECT_FALSE(r[3]);

    // Padding after the records the lines ask for is never read.
    r = ReadThumbnailRecords(Cat({Le(10), good, Bytes(100, 0xAB)}), 1);
    EXPECT_EQ(*r[0], good);
}

TEST(ThumbnailRecords, ReaderNeverGoesBack) {
    Bytes good = Jpeg(10, 7);
    Bytes file = Cat({Le(10), good, Le(-1)});
    RecordReader reader(file);
    ByteView p;
    EXPECT_EQ(reader.Next(p), RecordStatus::Ok);
    EXPECT_EQ(reader.Next(p), RecordStatus::Broken);
    EXPECT_TRUE(p.empty());
    EXPECT_EQ(reader.Next(p), RecordStatus::Broken);
    EXPECT_EQ(reader.Offset(), 14u);

    RecordReader empty(ByteView{});
    EXPECT_EQ(empty.Next(p), RecordStatus::End);
    EXPECT_EQ(empty.Next(p), RecordStatus::End);
}

TEST(NameRecords, ANameAndAnEmptyOneGiveThirteenBytes) {
    Bytes file;
    AppendNameRecord(file, "a.jpg");
    AppendNameRecord(file, "");
    EXPECT_EQ(file, (Bytes{5, 0, 0, 0, 'a', '.', 'j', 'p', 'g', 0, 0, 0, 0}));
    EXPECT_EQ(ReadNameRecords(file, 2), (std::vector<std::string>{"a.jpg", ""}));
}

TEST(NameRecords, MissingAndBrokenRecordsGiveEmptyNames) {
    Bytes file;
    AppendNameRecord(file, "one.jpg");
    // Fewer records than lines, and no file at all.
    EXPECT_EQ(ReadNameRecords(file, 3), (std::vector<std::string>{"one.jpg", "", ""}));
    EXPECT_EQ(ReadNameRecords({}, 2), (std::vector<std::string>{"", ""}));
    // A name running past the end gets nothing, not the bytes that are there.
    Bytes cut = Cat({file, Le(50), Bytes{'x', 'y'}});
    EXPECT_EQ(ReadNameRecords(cut, 2), (std::vector<std::string>{"one.jpg", ""}));
    // Names may hold any byte, NUL included.
    Bytes odd;
    AppendNameRecord(odd, std::string("a\0b\r\n", 5));
    EXPECT_EQ(ReadNameRecords(odd, 1)[0], std::string("a\0b\r\n", 5));
}

TEST(LinkLines, EveryLineEndsInCrLf) {
    EXPECT_EQ(JoinLinkLines({"http://a/1", "", "b"}),
              (Bytes{'h', 't', 't', 'p', ':', '/', '/', 'a', '/', '1', '\r', '\n', '\r', '\n', 'b', '\r', '\n'}));
    EXPECT_TRUE(JoinLinkLines({}).empty());
    EXPECT_TRUE(SplitLinkLines({}).empty());
}

TEST(LinkLines, ReadingTakesEveryEndingAndStopsAtNul) {
    auto split = [](const std::string& s) { return SplitLinkLines(AsBytes(s)); };
    using V = std::vector<std::string>;
    EXPECT_EQ(split("a\r\nb\rc\nd"), (V{"a", "b", "c", "d"}));
    EXPECT_EQ(split("a\r\n\r\n"), (V{"a", ""}));
    EXPECT_EQ(split("a\n\rb"), (V{"a", "", "b"}));
    EXPECT_EQ(split(std::string("a\r\nbc\0d\r\ne\r\n", 12)), (V{"a", "bc"}));
    EXPECT_EQ(split(std::string("\0a", 2)), V{});
}

TEST(LinkLines, ALineHoldingALineFeedShiftsTheEntriesAfterIt) {
    // Three entries were saved, the second line held a LF: it reads back as two lines, and
    // the pictures and names of the later lines shift by one place.
    Bytes links = JoinLinkLines({"p0", "p1a\np1b", "p2"});
    auto lines = SplitLinkLines(links);
    ASSERT_EQ(lines, (std::vector<std::string>{"p0", "p1a", "p1b", "p2"}));

    Bytes thumbs, names;
    for (uint8_t i = 0; i < 3; ++i) {
        AppendThumbnailRecord(thumbs, Jpeg(5 + i, i));
        AppendNameRecord(names, "n" + std::to_string(i));
    }
    auto pics = ReadThumbnailRecords(thumbs, lines.size());
    auto hints = ReadNameRecords(names, lines.size());
    EXPECT_EQ(*pics[2], Jpeg(7, 2));  // the picture of entry 2 now sits beside line "p1b"
    EXPECT_FALSE(pics[3]);            // the last thumbnail stays empty
    EXPECT_EQ(hints, (std::vector<std::string>{"n0", "n1", "n2", ""}));
}
