// The thumbnail size rule, nearest-pixel scaling and the image sniffing.
#include "imaging/thumbgeom.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace imaging;

TEST(ThumbGeometry, LandscapeFitsTheWidthOtherwiseTheHeightTruncated) {
    EXPECT_EQ(ThumbnailSize(400, 300, 138, 108), (Size{138, 103}));
    EXPECT_EQ(ThumbnailSize(300, 400, 138, 108), (Size{81, 108}));
    EXPECT_EQ(ThumbnailSize(500, 500, 138, 108), (Size{108, 108}));  // square takes the height
    EXPECT_EQ(ThumbnailSize(50, 40, 138, 108), (Size{138, 110}));    // enlarged, taller than the box
    EXPECT_EQ(ThumbnailSize(120, 100, 138, 108), (Size{138, 115}));
    EXPECT_EQ(ThumbnailSize(32, 32, 32, 32), (Size{32, 32}));
    EXPECT_EQ(ThumbnailSize(1000, 1, 138, 108), (Size{138, 0}));
    EXPECT_EQ(ThumbnailSize(1, 1000, 138, 108), (Size{0, 108}));
    EXPECT_EQ(ThumbnailSize(3000000000LL, 2000000000LL, 138, 108), (Size{138, 92}));  // no overflow
}

TEST(ThumbGeometry, AnEmptyPictureIsADivisionError) {
    EXPECT_THROW(ThumbnailSize(0, 0, 138, 108), DivisionError);
    EXPECT_EQ(ThumbnailSize(5, 0, 138, 108), (Size{138, 0}));
}

TEST(ThumbGeometry, NearestPixelsCoverTheWholeSource) {
    EXPECT_EQ(NearestIndices(4, 2), (std::vector<int>{1, 3}));
    EXPECT_EQ(NearestIndices(2, 4), (std::vector<int>{0, 0, 1, 1}));
    EXPECT_EQ(NearestIndices(3, 3), (std::vector<int>{0, 1, 2}));
    auto big = NearestIndices(20000, 108);
    EXPECT_EQ(big.front(), 92);
    EXPECT_EQ(big.back(), 19907);

    // 2 x 2 pixels of different values enlarged to 4 x 4: each becomes a 2 x 2 block.
    uint32_t src[4] = {1, 2, 3, 4}, dst[16] = {};
    ScaleNearest(reinterpret_cast<uint8_t*>(src), 2, 2, 8, reinterpret_cast<uint8_t*>(dst), 4, 4, 16);
    uint32_t want[16] = {1, 1, 2, 2, 1, 1, 2, 2, 3, 3, 4, 4, 3, 3, 4, 4};
    EXPECT_EQ(0, std::memcmp(dst, want, sizeof dst));
}

TEST(ImageSniff, FirstBytesTellTheKindAndHeadersTheSize) {
    auto kind = [](const std::string& s) { return SniffImage(reinterpret_cast<const uint8_t*>(s.data()), s.size()); };
    EXPECT_EQ(kind("\xFF\xD8\xFF\xE0"), ImageKind::Jpeg);
    EXPECT_EQ(kind(std::string("\x89PNG\r\n\x1a\n", 8)), ImageKind::Png);
    EXPECT_EQ(kind("RIFF\x10\x00\x00\x00WEBPVP8 "), ImageKind::Unknown);  // cut at the NUL
    EXPECT_EQ(kind(std::string("RIFF\x10\x00\x00\x00WEBPVP8 ", 16)), ImageKind::WebP);
    EXPECT_EQ(kind(std::string("RIFF\x10\x00\x00\x00WAVEfmt ", 16)), ImageKind::Unknown);
    EXPECT_EQ(kind("GIF89a"), ImageKind::Gif);
    EXPECT_EQ(kind("<html>"), ImageKind::Unknown);
    EXPECT_EQ(kind(""), ImageKind::Unknown);

    int64_t w = 0, h = 0;
    std::string gif("GIF89a\x20\x4E\x20\x4E\x00\x00\x00", 13);  // 20000 x 20000
    EXPECT_TRUE(HeaderSize(reinterpret_cast<const uint8_t*>(gif.data()), gif.size(), w, h));
    EXPECT_EQ(w, 20000);
    EXPECT_EQ(h, 20000);
    std::string bmp(54, '\0');
    bmp[0] = 'B', bmp[1] = 'M', bmp[14] = 40;
    bmp[18] = '\x10', bmp[19] = '\x27';                                      // width 10000
    bmp[22] = '\xF0', bmp[23] = '\xD8', bmp[24] = '\xFF', bmp[25] = '\xFF';  // height -10000: top-down
    EXPECT_TRUE(HeaderSize(reinterpret_cast<const uint8_t*>(bmp.data()), bmp.size(), w, h));
    EXPECT_EQ(w, 10000);
    EXPECT_EQ(h, 10000);
    EXPECT_FALSE(HeaderSize(reinterpret_cast<const uint8_t*>(gif.data()), 8, w, h));  // cut short
}
