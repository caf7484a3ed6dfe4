// Loading image files and making their thumbnails, on a thread in a COM apartment.
#include "engine/thumbnail.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "imaging/jpegcodec.h"
#include "imaging/thumbgeom.h"
#include "support/jpeg_rows.h"
#include "support/process_counts.h"
#include "support/temp_folder.h"

using namespace engine;
using namespace imaging;

namespace {

std::string Data(const std::string& name) { return std::string(QUENBY_TEST_DATA) + name; }

struct Rgb {
    int r, g, b;
};
constexpr Rgb kRed{255, 0, 0}, kLime{0, 255, 0}, kBlue{0, 0, 255}, kYellow{255, 255, 0}, kWhite{255, 255, 255};

// The thumbnail's bytes decoded by libjpeg: its header and pixels.
struct Decoded {
    JpegInfo info;
    std::vector<uint8_t> px;
    int w = 0, h = 0;

    explicit Decoded(const Picture& p) {
        const auto& b = p.JpegBytes();
        EXPECT_TRUE(ReadJpegInfo(b.data(), b.size(), info));
        EXPECT_TRUE(DecodeJpeg(b.data(), b.size(), 1u << 24, px, w, h));
    }
    // Colour at a fraction of the width and height.
    bool Is(double fx, double fy, Rgb c) const {
        int x = static_cast<int>(fx * w), y = static_cast<int>(fy * h);
        const uint8_t* p = &px[4 * (static_cast<size_t>(y) * w + x)];
        bool ok = std::abs(p[2] - c.r) < 48 && std::abs(p[1] - c.g) < 48 && std::abs(p[0] - c.b) < 48;
        if (!ok) ADD_FAILURE() << "at " << x << "," << y << ": " << int(p[2]) << " " << int(p[1]) << " " << int(p[0]);
        return ok;
    }
    bool Quarters() const {
        return Is(0.25, 0.25, kRed) && Is(0.75, 0.25, kLime) && Is(0.25, 0.75, kBlue) && Is(0.75, 0.75, kYellow);
    }
};

struct ThumbnailTest : ::testing::Test {
    void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override { CoUninitialize(); }

    // Loads the file, makes its thumbnail in the box the scan uses, checks its bytes.
    Decoded Thumb(const std::string& file, int w, int h) {
        Picture p;
        EXPECT_TRUE(LoadPictureFile(Data(file), p)) << file;
        MakeThumbnail(p, 138, 108);
        EXPECT_TRUE(p.IsJpeg());
        Decoded d(p);
        EXPECT_EQ(d.info.width, w) << file;
        EXPECT_EQ(d.info.height, h) << file;
        EXPECT_EQ(d.info.components, 3) << file;
        EXPECT_FALSE(d.info.progressive) << file;
        EXPECT_EQ(p.Width(), w);
        EXPECT_EQ(p.Height(), h);
        return d;
    }
};

TEST_F(ThumbnailTest, EachFormatDecodesAndScalesToTheSizeRule) {
    EXPECT_TRUE(Thumb("quad400x300.jpg", 138, 103).Quarters());
    EXPECT_TRUE(Thumb("quad300x400.jpg", 81, 108).Quarters());
    EXPECT_TRUE(Thumb("quad500x500.jpg", 108, 108).Quarters());
    EXPECT_TRUE(Thumb("quad200x150.bmp", 138, 103).Quarters());
    EXPECT_TRUE(Thumb("quad50x40.bmp", 138, 110).Quarters());  // enlarged whole, taller than the box
    EXPECT_TRUE(Thumb("quad400x300.gif", 138, 103).Quarters());
    EXPECT_TRUE(Thumb("anim60x40.gif", 138, 92).Is(0.5, 0.5, kRed));  // the first frame
    auto icon = Thumb("icon48.ico", 108, 108);
    EXPECT_TRUE(icon.Is(0.5, 0.5, kLime));
    auto trans = Thumb("trans40x40.gif", 108, 108);  // transparent parts come out white
    EXPECT_TRUE(trans.Is(0.25, 0.5, kWhite));
    EXPECT_TRUE(trans.Is(0.75, 0.5, kBlue));
}

TEST_F(ThumbnailTest, UndecodableFilesGiveTheIconAndA32PixelThumbnail) {
    for (const char* file : {"image20.png", "image.webp", "damaged.jpg", "notimage.jpg"}) {
        Picture p;
        EXPECT_FALSE(LoadPictureFile(Data(file), p)) << file;
        EXPECT_EQ(p.GetKind(), Picture::Kind::Icon) << file;
        EXPECT_EQ(p.Width(), 32) << file;
        EXPECT_EQ(p.Height(), 32) << file;
        MakeThumbnail(p, 32, 32);
        Decoded d(p);
        EXPECT_EQ(d.info.width, 32);
        EXPECT_EQ(d.info.height, 32);
    }
}

TEST_F(ThumbnailTest, ATruncatedJpegNeverCrashes) {
    Picture p;
    bool ok = LoadPictureFile(Data("truncated.jpg"), p);
    MakeThumbnail(p, ok ? 138 : 32, ok ? 108 : 32);
    EXPECT_TRUE(p.IsJpeg());
    EXPECT_FALSE(p.JpegBytes().empty());
}

TEST_F(ThumbnailTest, AnOpenFailureRaisesAndLeavesThePicture) {
    Picture p;
    ASSERT_TRUE(LoadPictureFile(Data("quad400x300.jpg"), p));
    try {
        LoadPictureFile(Data("no-such-file.jpg"), p);
        ADD_FAILURE() << "no error raised";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot open file \"" + Data("no-such-file.jpg") + "\". ", 0), 0u)
            << e.what();
    }
    EXPECT_EQ(p.GetKind(), Picture::Kind::Bitmap);
    EXPECT_EQ(p.Width(), 400);
}

TEST_F(ThumbnailTest, AFileOpenForWritingElsewhereStillLoads) {
    testsupport::TempFolder folder;
    std::string path = folder.file("copy.jpg");
    ASSERT_TRUE(CopyFileA(Data("quad400x300.jpg").c_str(), path.c_str(), FALSE));
    HANDLE writer = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    Picture p;
    EXPECT_TRUE(LoadPictureFile(path, p));
    CloseHandle(writer);
    EXPECT_TRUE(DeleteFileA(path.c_str()));  // and it was closed again
}

TEST_F(ThumbnailTest, AComputedSideOfZeroLeavesEmptyJpegData) {
    Picture p;
    ASSERT_TRUE(LoadPictureFile(Data("line1000x1.bmp"), p));
    EXPECT_EQ(p.Width(), 1000);
    MakeThumbnail(p, 138, 108);
    EXPECT_TRUE(p.IsJpeg());
    EXPECT_TRUE(p.JpegBytes().empty());
}

TEST_F(ThumbnailTest, AnEmptyPictureIsADivisionErrorAndStaysAsItWas) {
    Picture p;
    std::vector<uint8_t> junk{1, 2, 3};
    EXPECT_FALSE(p.SetJpegBytes(junk));  // kept, but no pixels: 0 x 0
    EXPECT_THROW(MakeThumbnail(p, 138, 108), DivisionError);
    EXPECT_EQ(p.JpegBytes(), junk);
    Picture empty;
    EXPECT_THROW(MakeThumbnail(empty, 138, 108), DivisionError);
}

TEST_F(ThumbnailTest, JpegBytesAreHandedOutAndCopiedUnchanged) {
    Picture p;
    ASSERT_TRUE(LoadPictureFile(Data("quad400x300.jpg"), p));
    MakeThumbnail(p, 138, 108);
    std::vector<uint8_t> bytes = p.JpegBytes();

    Picture loaded;
    EXPECT_TRUE(loaded.SetJpegBytes(bytes));
    EXPECT_EQ(loaded.JpegBytes(), bytes);
    EXPECT_EQ(loaded.Width(), 138);
    EXPECT_EQ(loaded.Height(), 103);
    Picture copy;
    copy.Assign(loaded);
    EXPECT_EQ(copy.JpegBytes(), bytes);
    EXPECT_TRUE(copy.IsJpeg());

    // Drawn into a bitmap, the copy shows the quarters.
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 138, -103, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bmp);
    copy.Draw(dc, RECT{0, 0, 138, 103});
    GdiFlush();
    const auto* px = static_cast<const uint8_t*>(bits);
    const uint8_t* lowRight = px + 4 * (80 * 138 + 110);
    EXPECT_GT(lowRight[2], 200);  // yellow
    EXPECT_GT(lowRight[1], 200);
    EXPECT_LT(lowRight[0], 60);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
}

// A JPEG of width x height, the left 40% red, the rest blue.
std::vector<uint8_t> StripedJpeg(int width, int height) {
    return testsupport::JpegFromRows(width, height, 30, [width](int y, uint8_t* row) {
        if (y > 0) return;  // every row the same
        for (int x = 0; x < width; x++) {
            bool left = x < width * 2 / 5;
            row[3 * x] = left ? 255 : 0;
            row[3 * x + 1] = 0;
            row[3 * x + 2] = left ? 0 : 255;
        }
    });
}

TEST_F(ThumbnailTest, AHugePictureIsScaledWithoutDecodingItWhole) {
    testsupport::TempFolder folder;
    std::string path = folder.file("huge.jpg");
    auto jpeg = StripedJpeg(9000, 7000);  // 63 million pixels: 250 MB as a 32-bit bitmap
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(jpeg.data(), 1, jpeg.size(), f);
    std::fclose(f);

    Picture p;
    ASSERT_TRUE(LoadPictureFile(path, p));
    EXPECT_EQ(p.Width(), 9000);
    EXPECT_EQ(p.Height(), 7000);
    MakeThumbnail(p, 138, 108);
    Decoded d(p);
    EXPECT_EQ(d.w, 138);
    EXPECT_EQ(d.h, 107);
    EXPECT_TRUE(d.Is(0.2, 0.5, kRed));
    EXPECT_TRUE(d.Is(0.6, 0.5, kBlue));
}

TEST_F(ThumbnailTest, APhotographIsDecodedAtTheScaleOfItsThumbnail) {
    // 6000 x 4000, 24 megapixels: 96 MB of pixels decoded whole, 1.5 MB at an eighth of its
    // size, which still covers the 138 x 92 thumbnail.
    testsupport::TempFolder folder;
    std::string path = folder.file("photo24.jpg");
    auto jpeg = StripedJpeg(6000, 4000);
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(jpeg.data(), 1, jpeg.size(), f);
    std::fclose(f);

    const size_t before = testsupport::PeakWorkingSet();
    Picture p;
    ASSERT_TRUE(LoadPictureFile(path, p));
    EXPECT_EQ(p.Width(), 6000);
    EXPECT_EQ(p.Height(), 4000);
    MakeThumbnail(p, 138, 108);
    EXPECT_LT(testsupport::PeakWorkingSet() - before, size_t{24} << 20);
    Decoded d(p);
    EXPECT_EQ(d.w, 138);
    EXPECT_EQ(d.h, 92);
    EXPECT_TRUE(d.Is(0.2, 0.5, kRed));
    EXPECT_TRUE(d.Is(0.6, 0.5, kBlue));
}

// A GIF and a bitmap whose headers announce 20000 x 20000 pixels, too many to decode.
std::vector<std::string> WriteHugeHeaders(const testsupport::TempFolder& folder) {
    std::string gif = folder.file("huge.gif"), bmp = folder.file("huge.bmp");
    FILE* f = std::fopen(gif.c_str(), "wb");
    std::fwrite("GIF89a\x20\x4E\x20\x4E\xF0\x00\x00", 1, 13, f);  // 20000 x 20000 screen
    std::fwrite(std::string(600, '\0').data(), 1, 600, f);
    std::fclose(f);
    std::string header(54, '\0');
    header[0] = 'B', header[1] = 'M', header[14] = 40, header[26] = 1, header[28] = 24;
    header[18] = '\x20', header[19] = '\x4E', header[22] = '\x20', header[23] = '\x4E';
    f = std::fopen(bmp.c_str(), "wb");
    std::fwrite(header.data(), 1, header.size(), f);
    std::fclose(f);
    return {gif, bmp};
}

TEST_F(ThumbnailTest, AHugeGifOrBitmapCountsAsNotDecodable) {
    testsupport::TempFolder folder;
    for (const auto& path : WriteHugeHeaders(folder)) {
        Picture p;
        EXPECT_FALSE(LoadPictureFile(path, p)) << path;
        EXPECT_EQ(p.GetKind(), Picture::Kind::Icon);
    }
}

// Good, damaged and refused files through both functions, hundreds of times, and a working
// bitmap too large to make: every handle, GDI object and memory block goes back each time.
TEST_F(ThumbnailTest, NothingIsLeftBehindOnAnyPath) {
    testsupport::TempFolder folder;
    std::vector<std::string> files = WriteHugeHeaders(folder);
    for (const char* name : {"quad400x300.jpg", "quad200x150.bmp", "quad400x300.gif", "icon48.ico", "trans40x40.gif",
                             "damaged.jpg", "notimage.jpg", "truncated.jpg", "image20.png"})
        files.push_back(Data(name));
    auto round = [&] {
        for (const auto& file : files) {
            Picture p;
            bool ok = LoadPictureFile(file, p);
            MakeThumbnail(p, ok ? 138 : 32, ok ? 108 : 32);
        }
        Picture p;
        ASSERT_TRUE(LoadPictureFile(Data("quad500x500.jpg"), p));
        // 60000 x 60000 pixels of 4 bytes: more than a bitmap can hold on either platform.
        EXPECT_THROW(MakeThumbnail(p, 60000, 60000), std::runtime_error);
        EXPECT_EQ(p.Width(), 500);
    };
    round();  // the picture loader and GDI keep a few things for the process once used
    size_t handles = testsupport::OpenHandles(), gdi = testsupport::GdiObjects();
    ASSERT_GT(gdi, 0u);
    for (int i = 0; i < 200; i++) round();
    EXPECT_LE(testsupport::OpenHandles(), handles + 5);  // a leak would add 200 or more
    EXPECT_LE(testsupport::GdiObjects(), gdi + 5);
}

}  // namespace
