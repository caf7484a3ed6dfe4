// The JPEG encoder and decoders over libjpeg.
#include "imaging/jpegcodec.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "imaging/thumbgeom.h"

using namespace imaging;

namespace {

// Four coloured quarters, 4 bytes a pixel in B, G, R, x order.
std::vector<uint8_t> Quarters(int w, int h) {
    std::vector<uint8_t> px(4 * static_cast<size_t>(w) * h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            uint8_t* p = &px[4 * (static_cast<size_t>(y) * w + x)];
            bool right = x >= w / 2, low = y >= h / 2;
            p[2] = (low == right) ? 255 : 0;   // red, yellow
            p[1] = right ? 255 : 0;            // lime, yellow
            p[0] = (low && !right) ? 255 : 0;  // blue
            p[3] = 0;
        }
    return px;
}

bool Near(const uint8_t* p, int r, int g, int b) {
    return std::abs(p[2] - r) < 40 && std::abs(p[1] - g) < 40 && std::abs(p[0] - b) < 40;
}

}  // namespace

TEST(JpegCodec, EncodesBaselineColourThatDecodesBack) {
    auto px = Quarters(138, 103);
    auto jpeg = EncodeJpeg(px.data(), 138, 103, 4 * 138, 70);
    ASSERT_FALSE(jpeg.empty());
    JpegInfo info;
    ASSERT_TRUE(ReadJpegInfo(jpeg.data(), jpeg.size(), info));
    EXPECT_EQ(info.width, 138);
    EXPECT_EQ(info.height, 103);
    EXPECT_EQ(info.components, 3);
    EXPECT_FALSE(info.progressive);

    std::vector<uint8_t> out;
    int w = 0, h = 0;
    ASSERT_TRUE(DecodeJpeg(jpeg.data(), jpeg.size(), 1u << 20, out, w, h));
    ASSERT_EQ(w, 138);
    ASSERT_EQ(h, 103);
    auto at = [&](int x, int y) { return &out[4 * (static_cast<size_t>(y) * w + x)]; };
    EXPECT_TRUE(Near(at(20, 20), 255, 0, 0));
    EXPECT_TRUE(Near(at(120, 20), 0, 255, 0));
    EXPECT_TRUE(Near(at(20, 90), 0, 0, 255));
    EXPECT_TRUE(Near(at(120, 90), 255, 255, 0));
}

TEST(JpegCodec, ASideOfZeroGivesNoData) {
    uint8_t px[4] = {};
    EXPECT_TRUE(EncodeJpeg(px, 0, 1, 0, 70).empty());
    EXPECT_TRUE(EncodeJpeg(px, 1, 0, 4, 70).empty());
}

TEST(JpegCodec, RowByRowScalingEqualsDecodingWholeThenScaling) {
    auto px = Quarters(400, 300);
    uint32_t seed = 1;
    for (auto& v : px) v = static_cast<uint8_t>(v ^ ((seed = seed * 1103515245 + 12345) >> 27));  // detail everywhere
    auto jpeg = EncodeJpeg(px.data(), 400, 300, 1600, 90);
    std::vector<uint8_t> whole, direct;
    int w = 0, h = 0;
    // The smallest scale that still covers 138 x 103 is 3/8: 150 x 113 (2/8 gives 100 x 75).
    ASSERT_TRUE(DecodeJpeg(jpeg.data(), jpeg.size(), 1u << 20, whole, w, h, 138, 103));
    EXPECT_EQ(w, 150);
    EXPECT_EQ(h, 113);
    std::vector<uint8_t> scaled(4 * 138 * 103);
    ScaleNearest(whole.data(), w, h, 4 * static_cast<size_t>(w), scaled.data(), 138, 103, 4 * 138);
    ASSERT_TRUE(DecodeJpegNearest(jpeg.data(), jpeg.size(), 138, 103, direct));
    EXPECT_EQ(direct, scaled);
    // Enlarging too, from the image at its own size.
    ASSERT_TRUE(DecodeJpeg(jpeg.data(), jpeg.size(), 1u << 20, whole, w, h));
    EXPECT_EQ(w, 400);
    std::vector<uint8_t> up(4 * 500 * 400);
    ScaleNearest(whole.data(), w, h, 4 * static_cast<size_t>(w), up.data(), 500, 400, 2000);
    ASSERT_TRUE(DecodeJpegNearest(jpeg.data(), jpeg.size(), 500, 400, direct));
    EXPECT_EQ(direct, up);
}

TEST(JpegCodec, BrokenOrOversizedDataIsRejected) {
    std::vector<uint8_t> out;
    int w = 0, h = 0;
    JpegInfo info;
    std::string junk = "<html>not found</html>";
    auto* j = reinterpret_cast<const uint8_t*>(junk.data());
    EXPECT_FALSE(ReadJpegInfo(j, junk.size(), info));
    EXPECT_FALSE(DecodeJpeg(j, junk.size(), 1u << 20, out, w, h));
    EXPECT_FALSE(DecodeJpegNearest(j, junk.size(), 10, 10, out));
    EXPECT_FALSE(DecodeJpeg(nullptr, 0, 1u << 20, out, w, h));

    auto px = Quarters(64, 64);
    auto jpeg = EncodeJpeg(px.data(), 64, 64, 256, 70);
    EXPECT_FALSE(DecodeJpeg(jpeg.data(), jpeg.size(), 64 * 64 - 1, out, w, h));  // over the limit
    // Cut short: libjpeg pads what is missing and warns; that is not an error.
    EXPECT_TRUE(DecodeJpeg(jpeg.data(), jpeg.size() - 40, 1u << 20, out, w, h));
    EXPECT_EQ(w, 64);
    // Every prefix of a valid file: rejected or decoded, never a crash.
    for (size_t n = 0; n < jpeg.size(); n += 7) DecodeJpeg(jpeg.data(), n, 1u << 20, out, w, h);
}
