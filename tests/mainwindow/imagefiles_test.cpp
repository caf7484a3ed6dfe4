// The image file commands against real files in a temporary target folder.
#include "mainwindow/imagefiles.h"

#include "harness.h"

#include "platform/application.h"
#include "info/about.h"
#include "info/versioncheck.h"
#include "info/versioninfo.h"

using namespace info;
using namespace mainwindow;

namespace {

struct ImageFilesTest : windowtest::MainWindowTest {
    void Write(const std::string& name, size_t bytes) {
        HANDLE h = CreateFileA((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        std::string data(bytes, 'j');
        DWORD done = 0;
        WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &done, nullptr);
        CloseHandle(h);
    }

    // Sets the file's last-write time to a local time.
    void SetLocalTime(const std::string& name, WORD y, WORD mo, WORD d, WORD h, WORD mi, WORD s) {
        SYSTEMTIME st{y, mo, 0, d, h, mi, s, 0};
        FILETIME local, utc;
        SystemTimeToFileTime(&st, &local);
        LocalFileTimeToFileTime(&local, &utc);
        HANDLE f = CreateFileA((folder + name).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE);
        SetFileTime(f, nullptr, nullptr, &utc);
        CloseHandle(f);
    }

    static std::string DateOf(WORD y, WORD mo, WORD d) {
        SYSTEMTIME st{y, mo, 0, d, 0, 0, 0, 0};
        char buf[128];
        GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buf, sizeof buf);
        return buf;
    }
    static std::string TimeOf(WORD h, WORD mi, WORD s) {
        SYSTEMTIME st{2026, 1, 0, 1, h, mi, s, 0};
        char buf[128];
        GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, buf, sizeof buf);
        return buf;
    }
};

TEST_F(ImageFilesTest, InfoOfA2048ByteFile) {
    Write("red_car.jpg", 2048);
    SetLocalTime("red_car.jpg", 2026, 3, 4, 13, 5, 7);
    ShowImageFileInfo(folder, "red_car.jpg");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, forms::BoxKind::Information);
    EXPECT_EQ(boxes[0].caption, "Information");
    // The packed time keeps even seconds only: 13:05:07 shows as 13:05:06.
    EXPECT_EQ(boxes[0].text, "File name: red_car.jpg\rFile size:     2048 bytes\rFile date:   " + DateOf(2026, 3, 4) +
                                 " " + TimeOf(13, 5, 6) + "\r");
}

TEST_F(ImageFilesTest, InfoLeavesOutTheTimeAtMidnight) {
    Write("a.jpg", 1);
    SetLocalTime("a.jpg", 2025, 12, 31, 0, 0, 0);
    EXPECT_EQ(FileDateText([&] {
                  WIN32_FIND_DATAA e;
                  FindClose(FindFirstFileA((folder + "a.jpg").c_str(), &e));
                  return e.ftLastWriteTime;
              }()),
              DateOf(2025, 12, 31));
    SetLocalTime("a.jpg", 2025, 12, 31, 0, 0, 2);
    ShowImageFileInfo(folder, "a.jpg");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("File date:   " + DateOf(2025, 12, 31) + " " + TimeOf(0, 0, 2) + "\r"),
              std::string::npos);
}

TEST_F(ImageFilesTest, MissingImageEachCommandInItsOwnBox) {
    OpenDownloadedImage(nullptr, folder, "gone.jpg");
    ShowImageFileInfo(folder, "gone.jpg");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].kind, forms::BoxKind::Plain);
    EXPECT_EQ(boxes[0].caption, platform::ApplicationTitle());
    EXPECT_EQ(boxes[0].text,
              "Can't find this image anymore on the traget folder,\rmaybe it is missing or has been moved...");
    EXPECT_EQ(boxes[1].kind, forms::BoxKind::Information);
    EXPECT_EQ(boxes[1].text,
              "Can't find this image anymore on the target folder,\rmaybe it is missing or has been moved...");
    EXPECT_TRUE(shells.empty());
}

TEST_F(ImageFilesTest, NothingSelected) {
    Write("x.jpg", 10);
    for (const char* blank : {"", " \t "}) OpenDownloadedImage(nullptr, folder, blank);
    ASSERT_EQ(boxes.size(), 2u);
    for (auto& b : boxes) {
        EXPECT_EQ(b.kind, forms::BoxKind::Plain);
        EXPECT_EQ(b.text, "Please select an image from image list first...");
    }
    // The info command looks up the folder alone and finds no entry.
    ShowImageFileInfo(folder, "");
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[2].text.rfind("Can't find this image anymore on the target folder", 0), 0u);
    EXPECT_TRUE(shells.empty());
}

TEST_F(ImageFilesTest, NoneSelected) {
    OpenDownloadedImage(nullptr, folder, "none");
    ShowImageFileInfo(folder, "none");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text.rfind("Can't find this image anymore on the traget", 0), 0u);
    EXPECT_EQ(boxes[1].text.rfind("Can't find this image anymore on the target", 0), 0u);
    // A file really named "none": the open command does nothing, the info command shows it.
    Write("none", 3);
    boxes.clear();
    OpenDownloadedImage(nullptr, folder, "none");
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(shells.empty());
    ShowImageFileInfo(folder, "none");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind("File name: none\rFile size:     3 bytes\r", 0), 0u);
}

TEST_F(ImageFilesTest, OpensTheImageQuotedWithItsOwner) {
    Write("red car.jpg", 5);
    HWND owner = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
    OpenDownloadedImage(owner, folder, "red car.jpg");
    EXPECT_TRUE(boxes.empty());
    ASSERT_EQ(shells.size(), 1u);
    EXPECT_EQ(shells[0].owner, owner);
    EXPECT_EQ(shells[0].verb, "open");
    EXPECT_EQ(shells[0].file, "\"" + folder + "red car.jpg\"");
    EXPECT_EQ(shells[0].params, "");
    EXPECT_EQ(shells[0].dir, "");
    EXPECT_EQ(shells[0].show, SW_SHOWNORMAL);
}

TEST_F(ImageFilesTest, TargetFolderChangedAfterTheSearch) {
    Write("red_car.jpg", 2048);
    std::string other = folder + "other\\";
    CreateDirectoryA(other.c_str(), nullptr);
    OpenDownloadedImage(nullptr, other, "red_car.jpg");
    ShowImageFileInfo(other, "red_car.jpg");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text,
              "Can't find this image anymore on the traget folder,\rmaybe it is missing or has been moved...");
    EXPECT_EQ(boxes[1].text,
              "Can't find this image anymore on the target folder,\rmaybe it is missing or has been moved...");
    EXPECT_TRUE(shells.empty());
}

TEST_F(ImageFilesTest, LockedFileAndFolderInPlaceOfTheFile) {
    Write("locked.jpg", 2048);
    HANDLE lock = CreateFileA((folder + "locked.jpg").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    ShowImageFileInfo(folder, "locked.jpg");
    OpenDownloadedImage(nullptr, folder, "locked.jpg");
    CloseHandle(lock);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("File size:     2048 bytes\r"), std::string::npos);
    EXPECT_EQ(shells.size(), 1u);
    // A folder where the image was: the open command finds no file, the info command shows
    // the entry as it is.
    CreateDirectoryA((folder + "dir.jpg").c_str(), nullptr);
    boxes.clear();
    shells.clear();
    OpenDownloadedImage(nullptr, folder, "dir.jpg");
    ShowImageFileInfo(folder, "dir.jpg");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text,
              "Can't find this image anymore on the traget folder,\rmaybe it is missing or has been moved...");
    EXPECT_EQ(boxes[1].text.rfind("File name: dir.jpg\rFile size:     0 bytes\r", 0), 0u);
    EXPECT_TRUE(shells.empty());
}

TEST_F(ImageFilesTest, OpenTargetFolderFixedCall) {
    OpenTargetFolder("C:\\no such folder\\");
    ASSERT_EQ(shells.size(), 1u);
    EXPECT_EQ(shells[0].owner, nullptr);
    EXPECT_EQ(shells[0].verb, "");
    EXPECT_EQ(shells[0].file, "\"C:\\no such folder\\\"");
    EXPECT_EQ(shells[0].params, "/select,C:\\WINDOWS\\explorer.exe");
    EXPECT_EQ(shells[0].dir, "");
    EXPECT_EQ(shells[0].show, SW_SHOWNORMAL);
    EXPECT_TRUE(boxes.empty());
}

}  // namespace
