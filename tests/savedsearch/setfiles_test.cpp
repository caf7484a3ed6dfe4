#include "savedsearch/setfiles.h"

#include <windows.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "support/process_counts.h"

using namespace savedsearch;
using TestFolder = testsupport::TempFolderTest;

namespace {

SetContents TwoEntries() {
    SetContents s;
    s.jpegs = {Bytes{0xFF, 0xD8, 1, 2, 3, 0xFF, 0xD9}, Bytes{0xFF, 0xD8, 9, 0xFF, 0xD9}};
    s.names = {"a.jpg", ""};
    s.lines = {"http://example.test/one", "http://example.test/two"};
    return s;
}

}  // namespace

TEST_F(TestFolder, WriteSetWritesTheThreeFiles) {
    WriteSet(Base("red+car"), TwoEntries());
    Bytes thumbs = ReadWholeFile(Base("red+car") + kThumbExt, false);
    EXPECT_EQ(thumbs.size(), 4 + 7 + 4 + 5u);
    EXPECT_EQ(ReadWholeFile(Base("red+car") + kNameExt, false),
              (Bytes{5, 0, 0, 0, 'a', '.', 'j', 'p', 'g', 0, 0, 0, 0}));
    std::string links = "http://example.test/one\r\nhttp://example.test/two\r\n";
    EXPECT_EQ(ReadWholeFile(Base("red+car") + kLinkExt, true), Bytes(links.begin(), links.end()));

    // An empty list gives three empty files.
    WriteSet(Base("empty"), {});
    for (const char* ext : {kThumbExt, kNameExt, kLinkExt})
        EXPECT_TRUE(ReadWholeFile(Base("empty") + ext, false).empty());
}

TEST_F(TestFolder, AFileNameThatCannotBeCreatedNamesThePath) {
    try {
        WriteSet(Base("say \"hi\""), TwoEntries());
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        std::string want = "Cannot create file \"" + Base("say \"hi\"") + ".QBI\". ";
        EXPECT_EQ(std::string(e.what()).substr(0, want.size()), want);
        EXPECT_GT(std::string(e.what()).size(), want.size());  // the system's reason follows
    }
    EXPECT_TRUE(FindSavedSearches(folder).empty());
}

TEST_F(TestFolder, AFailedWriteLeavesNoHalfSet) {
    WriteSet(Base("cats"), TwoEntries());
    // Another program holds the link file: the name file was already replaced, so the whole
    // set goes rather than three files that no longer belong together.
    HANDLE held = CreateFileA((Base("cats") + kLinkExt).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_THROW(WriteSet(Base("cats"), TwoEntries()), std::runtime_error);
    CloseHandle(held);
    EXPECT_FALSE(FileExists(Base("cats") + kThumbExt));
    EXPECT_FALSE(FileExists(Base("cats") + kNameExt));
    EXPECT_TRUE(FindSavedSearches(folder).empty());

    // A thumbnail without data is written as an empty record: an entry without a picture.
    SetContents spacer = TwoEntries();
    spacer.jpegs[1].clear();
    WriteSet(Base("dogs"), spacer);
    auto thumbs = ReadThumbnailRecords(ReadWholeFile(Base("dogs") + kThumbExt, false), 2);
    EXPECT_EQ(*thumbs[0], spacer.jpegs[0]);
    EXPECT_FALSE(thumbs[1]);
}

TEST_F(TestFolder, ReadingHonoursSharingAndReportsMissingFiles) {
    WriteSet(Base("s"), TwoEntries());
    HANDLE reader =
        CreateFileA((Base("s") + kLinkExt).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NO_THROW(ReadWholeFile(Base("s") + kLinkExt, true));  // readers may share it
    CloseHandle(reader);
    try {
        ReadWholeFile(Base("nothing") + kThumbExt, false);
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        std::string want = "Cannot open file \"" + Base("nothing") + ".QBI\". ";
        EXPECT_EQ(std::string(e.what()).substr(0, want.size()), want);
    }
}

TEST_F(TestFolder, ListingFindsSetsByThumbnailFileAndDeletes) {
    WriteSet(Base("one"), TwoEntries());
    WriteSet(Base("two+words"), TwoEntries());
    DeleteFileA((Base("two+words") + kLinkExt).c_str());  // still listed: its .QBI is there
    WriteSet(Base("gone"), TwoEntries());
    DeleteFileA((Base("gone") + kThumbExt).c_str());  // not listed
    CreateDirectoryA((Base("folder") + kThumbExt).c_str(), nullptr);

    auto names = FindSavedSearches(folder);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"one", "two+words"}));

    DeleteSet(Base("one"));
    DeleteSet(Base("never"));  // missing files are passed over
    EXPECT_FALSE(FileExists(Base("one") + kThumbExt));
    EXPECT_FALSE(FileExists(Base("one") + kNameExt));
    EXPECT_FALSE(FileExists(Base("one") + kLinkExt));
    RemoveDirectoryA((Base("folder") + kThumbExt).c_str());
}

TEST_F(TestFolder, NoFailureLeavesAFileOpen) {
    WriteSet(Base("kept"), TwoEntries());
    HANDLE held = CreateFileA((Base("cats") + kLinkExt).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    auto failures = [&] {
        EXPECT_THROW(WriteSet(Base("cats"), TwoEntries()), std::runtime_error);       // the third file is held
        EXPECT_THROW(WriteSet(Base("bad\"name"), TwoEntries()), std::runtime_error);  // the first cannot be made
        EXPECT_THROW(ReadWholeFile(Base("cats") + kLinkExt, true), std::runtime_error);
        EXPECT_THROW(ReadWholeFile(Base("none") + kThumbExt, false), std::runtime_error);
        EXPECT_EQ(ReadWholeFile(Base("kept") + kThumbExt, false).size(), 20u);
        EXPECT_EQ(FindSavedSearches(folder), std::vector<std::string>{"kept"});
    };
    failures();
    size_t before = testsupport::OpenHandles();
    for (int i = 0; i < 50; i++) failures();
    EXPECT_LE(testsupport::OpenHandles(), before + 5);  // a leak would add 50 or more
    CloseHandle(held);
    // Nothing else holds them: each can be opened with no sharing at all.
    for (const char* ext : {kThumbExt, kNameExt, kLinkExt}) {
        HANDLE h = CreateFileA((Base("kept") + ext).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(h, INVALID_HANDLE_VALUE) << ext;
        CloseHandle(h);
    }
}
