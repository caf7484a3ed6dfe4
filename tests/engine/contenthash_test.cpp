// Pictures already had, against a real folder: identical bytes under another name are found,
// files of other sizes are never read, a locked file is passed over.
#include <gtest/gtest.h>
#include <windows.h>

#include "engine/contenthash.h"
#include "support/temp_folder.h"

TEST(IdenticalIndex, AFolderIsReadOnlyForFilesOfTheSameSize) {
    testsupport::TempFolder dir;
    auto write = [&](const std::string& name, const std::string& bytes) { dir.Write(dir.file(name), bytes); };
    write("abc.jpg", "abc");
    write("other.jpg", "abd");
    write("long.jpg", "a longer picture");
    CreateDirectoryA(dir.file("sub").c_str(), nullptr);
    EXPECT_EQ(engine::FileSha256(dir.file("abc.jpg")),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_FALSE(engine::FileSha256(dir.file("none.jpg")));

    std::vector<std::string> read;
    engine::IdenticalIndex index([&](const std::string& path) {
        read.push_back(path.substr(path.rfind('\\') + 1));
        return engine::FileSha256(path);
    });
    EXPECT_EQ(engine::AddFolderFiles(index, dir.path()), 3u);
    EXPECT_EQ(engine::AddFolderFiles(index, dir.path()), 3u);  // listed again, added once
    EXPECT_EQ(index.Count(), 3u);

    write("new.jpg", "abc");
    EXPECT_TRUE(index.HadBefore(dir.file("new.jpg"), 3, *engine::FileSha256(dir.file("new.jpg"))));
    EXPECT_EQ(read, (std::vector<std::string>{"abc.jpg"}));  // only the first of that size was needed

    // A new picture is had from now on; a locked file of its size is passed over, once.
    HANDLE locked = CreateFileA(dir.file("other.jpg").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const std::string xyz = std::string(64, 'e');
    EXPECT_FALSE(index.HadBefore(dir.file("x.jpg"), 3, xyz));
    EXPECT_TRUE(index.HadBefore(dir.file("y.jpg"), 3, xyz));
    CloseHandle(locked);
    EXPECT_EQ(read, (std::vector<std::string>{"abc.jpg", "other.jpg"}));
}
