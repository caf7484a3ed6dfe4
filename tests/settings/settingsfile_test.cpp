#include "settings/settingsfile.h"
#include "settings/datafolder.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/temp_folder.h"

using namespace settings;
using testsupport::TempFolder;

TEST(SettingsFile, MissingFileGivesDefaultsAndFirstWriteCreatesIt) {
    TempFolder dir;
    SettingsFile f(dir.path() + "Quenby.ini");
    EXPECT_EQ(f.ReadText("Preferences", "SafeSearchT", "Moderate"), "Moderate");
    EXPECT_EQ(f.ReadInteger(kMaxFilesize), 4096000);
    EXPECT_EQ(f.ReadInteger(kMaxFileCount), 1000);
    EXPECT_TRUE(f.ReadBool(kShowMainMenu));
    EXPECT_EQ(f.ReadText(kSavePath, "C:\\temp"), "C:\\temp");
    EXPECT_EQ(f.ReadText(kSearchService), "https://www.bing.com");
    EXPECT_EQ(GetFileAttributesA(f.Path().c_str()), INVALID_FILE_ATTRIBUTES);

    f.WriteInteger(kMaxFileCount, 12);
    EXPECT_NE(GetFileAttributesA(f.Path().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(f.ReadInteger(kMaxFileCount), 12);
    // An empty value is not a missing key for texts, but is no integer.
    f.WriteText("SearchStrings", "3", "");
    EXPECT_EQ(f.ReadText("SearchStrings", "3", "x"), "");
    EXPECT_EQ(f.ReadInteger("SearchStrings", "3", 77), 77);
}

TEST(SettingsFile, TypesAsStored) {
    TempFolder dir;
    std::string path = dir.path() + "Quenby.ini";
    TempFolder::Write(path,
                      "[Preferences]\r\nMaxFileCount=0x400\r\nMaxFilesize=12abc\r\n"
                      "MinFilesize=-20\r\nShowMainMenu=0\r\nShowThumbsList=yes\r\n"
                      "SaveOnExitAsk=2\r\nWindowTop=0X10\r\nWindowLeft=99999999999\r\n");
    SettingsFile f(path);
    EXPECT_EQ(f.ReadInteger(kMaxFileCount), 1024);
    EXPECT_EQ(f.ReadInteger(kMaxFilesize), 4096000);
    EXPECT_EQ(f.ReadInteger(kMinFilesize), -20);
    EXPECT_FALSE(f.ReadBool(kShowMainMenu));
    EXPECT_TRUE(f.ReadBool(kShowThumbsList));  // not an integer: the default
    EXPECT_FALSE(f.ReadBool(kShowThumbsList, false));
    EXPECT_TRUE(f.ReadBool(kSaveOnExitAsk));  // non-zero
    EXPECT_EQ(f.ReadInteger(kWindowTop), 16);
    EXPECT_EQ(f.ReadInteger(kWindowLeft), 203);  // out of range: the default

    f.WriteBool(kShowMainMenu, true);
    f.WriteBool(kShowThumbsList, false);
    f.WriteInteger(kMinFilesize, -7);
    std::string text = TempFolder::Read(path);
    EXPECT_NE(text.find("ShowMainMenu=1"), std::string::npos);
    EXPECT_NE(text.find("ShowThumbsList=0"), std::string::npos);
    EXPECT_NE(text.find("MinFilesize=-7"), std::string::npos);
}

TEST(SettingsFile, WritesReachTheFileAtOnceAndKeepTheRest) {
    TempFolder dir;
    std::string path = dir.path() + "Quenby.ini";
    TempFolder::Write(path, "[Other]\r\nmine=kept\r\n[Preferences]\r\nLastLoaded=3\r\nZ=last\r\n");
    SettingsFile a(path);
    SettingsFile b(path);
    a.WriteInteger(kLastLoaded, 5);
    EXPECT_EQ(b.ReadInteger(kLastLoaded, -1), 5);
    b.WriteText("SearchStrings", "0", "cats");
    EXPECT_EQ(a.ReadText("SearchStrings", "0", ""), "cats");
    a.WriteBool(kDonated, true);
    std::string text = TempFolder::Read(path);
    EXPECT_NE(text.find("mine=kept"), std::string::npos);
    EXPECT_NE(text.find("Z=last"), std::string::npos);
    EXPECT_NE(text.find("Donated=1"), std::string::npos);
    // New keys go to the end of their section, new sections to the end of the file.
    EXPECT_LT(text.find("Z=last"), text.find("Donated=1"));
    EXPECT_LT(text.find("Donated=1"), text.find("[SearchStrings]"));
}

TEST(SettingsFile, TextsReadBackAsWritten) {
    TempFolder dir;
    SettingsFile f(dir.path() + "Quenby.ini");
    const std::string texts[] = {"\"red car\"", "'cats'", " dogs ",         "\tbirds",        "\"", "''", "a \"b\"",
                                 "\"half",      "x=y",    ";not a comment", "[not a section]"};
    for (size_t i = 0; i < std::size(texts); ++i) {
        f.WriteText("SearchStrings", std::to_string(i), texts[i]);
        EXPECT_EQ(f.ReadText("SearchStrings", std::to_string(i), "<none>"), texts[i]) << i;
    }
}

TEST(SettingsFile, LongValuesAreCutOnReading) {
    TempFolder dir;
    SettingsFile f(dir.path() + "Quenby.ini");
    std::string longText(3000, 'k');
    f.WriteText("SearchStrings", "0", longText);
    EXPECT_EQ(f.ReadText("SearchStrings", "0", ""), std::string(2047, 'k'));
}

TEST(SettingsFile, LineBreaksInAValueCannotInjectKeys) {
    TempFolder dir;
    std::string path = dir.path() + "Quenby.ini";
    SettingsFile f(path);
    f.WriteText("SearchStrings", "0", "cats\r\n[Preferences]\r\nSavePath=C:\\");
    f.WriteText("SearchStrings", "1", "dogs\nSafeSearchT=Off");
    EXPECT_EQ(f.ReadText("SearchStrings", "0", ""), "cats  [Preferences]  SavePath=C:\\");
    EXPECT_EQ(f.ReadText("SearchStrings", "1", ""), "dogs SafeSearchT=Off");
    EXPECT_EQ(f.ReadText(kSavePath, "none"), "none");
    EXPECT_EQ(f.ReadText(kSafeSearchT), "Moderate");
    std::string text = TempFolder::Read(path);
    EXPECT_EQ(text.find("[Preferences]\r"), std::string::npos);
    EXPECT_EQ(text.find("\nSavePath"), std::string::npos);
}

TEST(SettingsFile, RefusedWriteNamesTheFile) {
    TempFolder dir;
    std::string missing = dir.path() + "no such folder\\Quenby.ini";
    SettingsFile f(missing);
    try {
        f.WriteText("SearchStrings", "0", "cats");
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + missing);
    }
    std::string folderPath = dir.path() + "Quenby.ini";
    CreateDirectoryA(folderPath.c_str(), nullptr);
    SettingsFile g(folderPath);
    EXPECT_THROW(g.WriteInteger(kMaxFileCount, 5), std::runtime_error);
    EXPECT_THROW(g.WriteBool(kDonated, true), std::runtime_error);
    EXPECT_EQ(g.ReadInteger(kMaxFileCount), 1000);
}

TEST(SettingsFile, UnusableFilesGiveDefaults) {
    TempFolder dir;
    std::string path = dir.path() + "Quenby.ini";
    std::string binary;
    for (int i = 0; i < 5000; ++i) binary += static_cast<char>((i * 37 + 11) % 256);
    std::string huge = "[Preferences]\r\n";
    for (int i = 0; i < 60000; ++i) huge += "Key" + std::to_string(i) + "=" + std::string(40, 'v') + "\r\n";
    huge += "MaxFileCount=77\r\n";
    const std::string files[] = {
        "",
        binary,
        "MaxFileCount=5\r\nSafeSearchT=Off\r\n",  // no section at all
        "[Preferences]\r\nMaxFileCount=5\r\nMaxFileCount=9\r\n",
        "[Preferences]\r\nMaxFileCount=-99999999999999999999\r\nMaxFilesize=0xFFFFFFFFFF\r\n",
        huge,
    };
    for (size_t i = 0; i < std::size(files); ++i) {
        TempFolder::Write(path, files[i]);
        SettingsFile f(path);
        int32_t count = f.ReadInteger(kMaxFileCount);
        EXPECT_TRUE(count == 1000 || count == 5 || count == 77) << i << ": " << count;
        EXPECT_EQ(f.ReadInteger(kMaxFilesize), 4096000) << i;
        if (i == 2) {
            EXPECT_EQ(f.ReadText(kSafeSearchT), "Moderate");
        } else if (i == 3) {
            EXPECT_EQ(count, 5);  // the first of duplicate keys
        } else if (i == 5) {
            EXPECT_EQ(count, 77);
        }
        f.WriteText("SearchStrings", "0", "after");
        EXPECT_EQ(f.ReadText("SearchStrings", "0", ""), "after") << i;
    }
}

TEST(SettingsFile, TextsInEveryScriptAsUtf8) {
    TempFolder dir;
    SettingsFile f(dir.path() + "Quenby.ini");
    const std::string cat = "\xE7\x8C\xAB", koshka = "\xD0\xBA\xD0\xBE\xD1\x88\xD0\xBA\xD0\xB0";
    f.WriteText("SearchStrings", "0", cat);
    f.WriteText("SearchStrings", "1", koshka);
    f.WriteText("SearchStrings", "2", "caf\xC3\xA9 au lait");
    f.WriteText(kSavePath, "C:\\Bilder \xF0\x9F\x98\x80\\");
    EXPECT_EQ(f.ReadText("SearchStrings", "0", ""), cat);
    EXPECT_EQ(f.ReadText("SearchStrings", "1", ""), koshka);
    EXPECT_EQ(f.ReadText("SearchStrings", "2", ""), "caf\xC3\xA9 au lait");
    EXPECT_EQ(f.ReadText(kSavePath, ""), "C:\\Bilder \xF0\x9F\x98\x80\\");
    EXPECT_NE(TempFolder::Read(f.Path()).find("0=" + cat + "\r\n"), std::string::npos);  // UTF-8 in the file

    // A value longer than the 2047 the service reads is cut on a character, never inside one.
    std::string longest;
    for (int i = 0; i < 3000; i++) longest += cat;
    f.WriteText("SearchStrings", "3", longest);
    std::string back = f.ReadText("SearchStrings", "3", "");
    EXPECT_EQ(back, longest.substr(0, 2046));  // 682 whole characters
}

// A settings file of an earlier version, written in code page 1252, reads as it was meant; the
// first write turns the whole file into UTF-8 and keeps every other value.
TEST(SettingsFile, ALegacyFileInCodePage1252Reads) {
    TempFolder dir;
    std::string path = dir.path() + "Quenby.ini";
    TempFolder::Write(path,
                      "[SearchStrings]\r\n0=caf\xE9\r\n1=M\xFCller\r\n2=  \"quoted \xE9\"  \r\n"
                      "[Preferences]\r\nSavePath=C:\\Bilder f\xFCr M\xFCller\\\r\nMaxFileCount=0x10\r\n");
    SettingsFile f(path);
    EXPECT_EQ(f.ReadText("SearchStrings", "0", ""), "caf\xC3\xA9");
    EXPECT_EQ(f.ReadText("searchstrings", "1", ""), "M\xC3\xBCller");
    EXPECT_EQ(f.ReadText("SearchStrings", "2", ""), "quoted \xC3\xA9");
    EXPECT_EQ(f.ReadText("SearchStrings", "5", "none"), "none");
    EXPECT_EQ(f.ReadText(kSavePath, ""), "C:\\Bilder f\xC3\xBCr M\xC3\xBCller\\");
    EXPECT_EQ(f.ReadInteger(kMaxFileCount), 16);

    f.WriteText("SearchStrings", "3", "\xE7\x8C\xAB");
    std::string bytes = TempFolder::Read(path);
    EXPECT_NE(bytes.find("0=caf\xC3\xA9\r\n"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("3=\xE7\x8C\xAB\r\n"), std::string::npos) << bytes;
    EXPECT_EQ(f.ReadText("SearchStrings", "1", ""), "M\xC3\xBCller");
    EXPECT_EQ(f.ReadText(kSavePath, ""), "C:\\Bilder f\xC3\xBCr M\xC3\xBCller\\");
}

// One stray legacy byte no longer makes the UTF-8 values mojibake; a whole-file rewrite that
// cannot complete (its copy cannot be made) leaves the file as it was and is reported.
TEST(SettingsFile, MixedEncodingsStayWholeAndAFailedRewriteLosesNothing) {
    TempFolder dir;
    std::string path = dir.path() + "Quenby.ini";
    const std::string original = std::string("[SearchStrings]\r\n0=\xE7\x8C\xAB\r\n1=caf\xE9\r\n2=a") + '\0' +
                                 "b\r\n3=" + std::string(100000, 'x') + "\r\n[Preferences]\r\nMaxFileCount=7\r\n";
    TempFolder::Write(path, original);
    SettingsFile f(path);
    EXPECT_EQ(f.ReadText("SearchStrings", "0", ""), "\xE7\x8C\xAB");
    EXPECT_EQ(f.ReadText("SearchStrings", "1", ""), "caf\xC3\xA9");

    CreateDirectoryA((path + ".new").c_str(), nullptr);  // the copy's name taken by a folder
    EXPECT_THROW(f.WriteInteger(kMaxFileCount, 9), std::runtime_error);
    EXPECT_EQ(TempFolder::Read(path), original);
    RemoveDirectoryA((path + ".new").c_str());

    f.WriteInteger(kMaxFileCount, 9);
    std::string bytes = TempFolder::Read(path);
    EXPECT_NE(bytes.find("0=\xE7\x8C\xAB\r\n1=caf\xC3\xA9\r\n"), std::string::npos) << bytes.substr(0, 60);
    EXPECT_EQ(f.ReadText("SearchStrings", "0", ""), "\xE7\x8C\xAB");
    EXPECT_EQ(f.ReadInteger(kMaxFileCount), 9);
    EXPECT_FALSE(testsupport::FileExists(path + ".new"));
}

// Where the settings cannot be written beside the program, they and the saved searches go to
// the per-user folder, which starts from the program's settings; a writable folder stays.
TEST(SettingsFile, AnUnwritableProgramFolderGivesThePerUserOne) {
    TempFolder program, user;
    EXPECT_EQ(ChooseDataFolder(program.path(), user.path()), program.path());
    EXPECT_FALSE(testsupport::FileExists(user.path() + "Quenby"));
    EXPECT_FALSE(testsupport::FileExists(program.path() + "Quenby.ini"));  // the trial left nothing

    // Settings made read-only (held by a program that lets others only read them).
    TempFolder::Write(program.path() + "Quenby.ini", "[Preferences]\r\nMaxFileCount=33\r\n");
    HANDLE held = CreateFileA((program.path() + "Quenby.ini").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_EQ(ChooseDataFolder(program.path(), user.path()), user.path() + "Quenby\\");
    CloseHandle(held);
    EXPECT_EQ(SettingsFile(user.path() + "Quenby\\Quenby.ini").ReadInteger(kMaxFileCount), 33);

    // A folder that does not exist (a stick pulled, a share gone), or whose settings file is a folder.
    EXPECT_EQ(ChooseDataFolder(program.path() + "gone\\", user.path()), user.path() + "Quenby\\");
    CreateDirectoryA((user.path() + "x\\").c_str(), nullptr);
    CreateDirectoryA((user.path() + "x\\Quenby.ini").c_str(), nullptr);
    EXPECT_EQ(ChooseDataFolder(user.path() + "x\\", user.path()), user.path() + "Quenby\\");
}
