// The preferences structure: its defaults from the key table, and a save and a load walking it.
#include "settings/settingsfile.h"

#include <gtest/gtest.h>

#include "settings/settingsfile.h"
#include "support/temp_folder.h"

using namespace settings;
using testsupport::TempFolder;

namespace {

struct PreferencesTest : ::testing::Test {
    TempFolder dir;
    std::string path = dir.path() + "Quenby.ini";
    SettingsFile file{path};
};

}  // namespace

TEST_F(PreferencesTest, DefaultsAreTheTablesAndSaveInTheTablesOrder) {
    Preferences p;
    EXPECT_EQ(p.SavePath, "");
    EXPECT_EQ(p.WindowTop, 118);
    EXPECT_EQ(p.WindowLeft, 203);
    EXPECT_EQ(p.WindowWidth, 0);
    EXPECT_TRUE(p.ShowThumbsList);
    EXPECT_EQ(p.MinFilesize, 0);
    EXPECT_EQ(p.MaxFilesize, 4096000);
    EXPECT_EQ(p.MaxFileCount, 1000);
    EXPECT_EQ(p.SimultaneousDownloads, 1);
    EXPECT_TRUE(p.SaveOnExitAsk);
    EXPECT_TRUE(p.ShowMainMenu);
    EXPECT_EQ(p.SafeSearchT, "Moderate");
    EXPECT_EQ(p.SearchFilters, FilterChoice{});
    EXPECT_FALSE(p.SkipIdentical || p.OnlyPictures || p.WriteSources || p.MinWidth || p.MinHeight);

    SavePreferences(file, p);  // options that are off leave no key
    EXPECT_EQ(TempFolder::Read(path),
              "[Preferences]\r\nSavePath=\r\nWindowTop=118\r\nWindowLeft=203\r\nWindowWidth=0\r\nWindowHeight=0\r\n"
              "ShowThumbsList=1\r\nMinFilesize=0\r\nMaxFilesize=4096000\r\nMaxFileCount=1000\r\n"
              "SimultaneousDownloads=1\r\nSaveOnExitAsk=1\r\nShowMainMenu=1\r\nSafeSearchT=Moderate\r\n"
              "[Filters]\r\nSize=\r\nColor=\r\nType=\r\nLayout=\r\nPeople=\r\nDate=\r\nLicense=\r\nMarket=nl-NL\r\n");
    EXPECT_EQ(LoadPreferences(file), p);
}

TEST_F(PreferencesTest, EverySettingReadsBackAsSaved) {
    Preferences p;
    p.SavePath = " D:\\\"pictures\" ";
    p.WindowTop = -4;
    p.WindowLeft = 2000;
    p.WindowWidth = 640;
    p.WindowHeight = 480;
    p.ShowThumbsList = p.SaveOnExitAsk = p.ShowMainMenu = false;
    p.MinFilesize = 1024;
    p.MaxFilesize = INT32_MAX;
    p.MaxFileCount = 50;
    p.SimultaneousDownloads = 9;
    p.SafeSearchT = "Off";
    p.SearchFilters.value = {0, 1, 2, 0, 1, 2, 0};
    p.SearchFilters.market = "en-US";
    p.SkipIdentical = p.OnlyPictures = p.WriteSources = true;
    p.MinWidth = 1024;
    p.MinHeight = 768;
    SavePreferences(file, p);
    EXPECT_EQ(LoadPreferences(file), p);
    // Turned off again, the options leave the file as a program that never set them wrote it.
    SavePreferences(file, Preferences{});
    SettingsFile fresh(dir.path() + "fresh.ini");
    SavePreferences(fresh, Preferences{});
    EXPECT_EQ(TempFolder::Read(path), TempFolder::Read(fresh.Path()));
}

// A missing key, and an integer or flag that is none, keeps the caller's default; an empty text
// is a text. Codes and markets follow their own rules.
TEST_F(PreferencesTest, TheCallersDefaultsStandInForWhatIsMissingOrUnusable) {
    TempFolder::Write(path,
                      "[Preferences]\r\nWindowTop=0x10\r\nWindowLeft=left\r\nShowMainMenu=\r\nSafeSearchT=\r\n"
                      "MaxFileCount=2147483648\r\n[Filters]\r\nSize=nonsense\r\nMarket=en US\r\n");
    Preferences defaults;
    defaults.SavePath = "C:\\temp";
    defaults.WindowLeft = 77;
    defaults.WindowWidth = 300;
    defaults.ShowMainMenu = false;
    defaults.MaxFileCount = 5;
    defaults.SearchFilters.value[kSize] = 1;
    Preferences p = LoadPreferences(file, defaults);
    EXPECT_EQ(p.SavePath, "C:\\temp");
    EXPECT_EQ(p.WindowTop, 16);
    EXPECT_EQ(p.WindowLeft, 77);
    EXPECT_EQ(p.WindowWidth, 300);
    EXPECT_FALSE(p.ShowMainMenu);
    EXPECT_EQ(p.SafeSearchT, "");
    EXPECT_EQ(p.MaxFileCount, 5);
    EXPECT_EQ(p.SearchFilters.value[kSize], -1);
    EXPECT_EQ(p.SearchFilters.market, "nl-NL");
}
