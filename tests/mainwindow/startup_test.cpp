// The main window's creation, first showing and close with its settings file.
#include <tuple>

#include "platform/application.h"
#include "harness.h"

using namespace mainwindow;
using windowtest::MainWindowTest;

namespace {

const char* const kPreferenceKeys[] = {
    "SavePath",       "WindowTop",    "WindowLeft",  "WindowWidth",  "WindowHeight",
    "ShowThumbsList", "MinFilesize",  "MaxFilesize", "MaxFileCount", "SimultaneousDownloads",
    "SaveOnExitAsk",  "ShowMainMenu", "SafeSearchT"};
static_assert(std::size(kPreferenceKeys) == settings::kClosingKeys.size());

std::vector<std::string> Items(const forms::ComboBox& box) { return box.Items(); }

}  // namespace

class Startup : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        char old[MAX_PATH] = {};
        GetEnvironmentVariableA("TEMP", old, MAX_PATH);
        oldTemp = old;
        SetEnvironmentVariableA("TEMP", "C:\\quenby temp");
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        SetEnvironmentVariableA("TEMP", oldTemp.c_str());
    }
    std::string oldTemp;
};

TEST_F(Startup, FirstStartWithoutAFileThenTheFirstCloseWritesEveryKey) {
    Open();
    EXPECT_EQ(form->ComboBox_search.Count(), 0);
    EXPECT_EQ(form->ComboBox_search.Text(), "Quenby");
    EXPECT_EQ(form->Edit_savepath.Text(), "C:\\quenby temp\\");
    EXPECT_EQ(SavePath, "C:\\quenby temp\\");
    EXPECT_EQ(MinFilesize, 0);
    EXPECT_EQ(MaxFilesize, 4096000);
    EXPECT_EQ(MaxFileCount, 1000);
    EXPECT_EQ(SafeSearchT, "Moderate");
    EXPECT_TRUE(SaveOnExitAsk);
    EXPECT_TRUE(ShowMainMenu);
    EXPECT_TRUE(ShowThumbsList);
    EXPECT_NE(GetMenu(form->Handle()), nullptr);
    EXPECT_TRUE(form->PopShowMenu1->Checked);
    EXPECT_TRUE(form->PopShowThumbs1->Checked);
    EXPECT_EQ(form->Top(), 118);
    EXPECT_EQ(form->Left(), 203);
    EXPECT_EQ(form->ClientWidth(), form->Panel_Main.Width() + 164);
    EXPECT_TRUE(form->Search().StopRequested());
    EXPECT_FALSE(form->Search().Saved());
    EXPECT_FALSE(form->Button_stopsearch.Enabled());
    EXPECT_FALSE(IniExists());

    form->Close();
    EXPECT_TRUE(forms::Terminated());
    EXPECT_TRUE(boxes.empty());  // nothing to save, nothing asked
    std::string text = ReadIni();
    EXPECT_NE(text.find("[SearchStrings]"), std::string::npos);
    EXPECT_NE(text.find("[Preferences]"), std::string::npos);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(Stored("SearchStrings", std::to_string(i)), "") << i;
    for (const char* key : kPreferenceKeys) EXPECT_NE(Stored("Preferences", key), "<none>") << key;
    for (size_t i = 0; i < std::size(kPreferenceKeys); ++i)
        EXPECT_STREQ(settings::kClosingKeys[i]->name, kPreferenceKeys[i]);
    EXPECT_EQ(Stored("Preferences", "SavePath"), "C:\\quenby temp\\");
    EXPECT_EQ(Stored("Preferences", "WindowTop"), "118");
    EXPECT_EQ(Stored("Preferences", "ShowThumbsList"), "1");
    EXPECT_EQ(Stored("Preferences", "MaxFilesize"), "4096000");
    EXPECT_EQ(Stored("Preferences", "SafeSearchT"), "Moderate");
    EXPECT_EQ(Stored("Preferences", "SimultaneousDownloads"), "1");
    EXPECT_EQ(Stored("Preferences", "WindowWidth"), std::to_string(form->Panel_Main.Width()));
    EXPECT_EQ(Stored("Preferences", "WindowHeight"), std::to_string(form->Height()));
    EXPECT_EQ(Stored("Preferences", "Donated"), "<none>");
    EXPECT_EQ(Stored("Preferences", "SearchService"), "<none>");
    // The keys come in their order.
    size_t last = 0;
    for (const char* key : kPreferenceKeys) {
        size_t at = text.find(std::string("\n") + key + "=");
        EXPECT_GT(at, last) << key;
        last = at;
    }
}

TEST_F(Startup, BlankHistoryEntriesAreSkippedAndLaterOnesMoveUp) {
    WriteIni("[SearchStrings]\r\n0=cats\r\n1=  \r\n2=dogs\r\n5=\x01\r\n7= birds\r\n");
    Open();
    EXPECT_EQ(Items(form->ComboBox_search), (std::vector<std::string>{"cats", "dogs", "birds"}));
    EXPECT_EQ(form->ComboBox_search.Text(), "cats");
    form->Close();
    EXPECT_EQ(Stored("SearchStrings", "0"), "cats");
    EXPECT_EQ(Stored("SearchStrings", "1"), "dogs");
    EXPECT_EQ(Stored("SearchStrings", "2"), "birds");
    for (int i = 3; i < 12; ++i) EXPECT_EQ(Stored("SearchStrings", std::to_string(i)), "") << i;
}

TEST_F(Startup, OnlyTheTwelveMostRecentKeywordsAreStored) {
    Open();
    for (int i = 1; i <= 15; ++i) form->ComboBox_search.InsertItem(0, "keyword " + std::to_string(i));
    form->Close();
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(Stored("SearchStrings", std::to_string(i)), "keyword " + std::to_string(15 - i));
    EXPECT_EQ(Stored("SearchStrings", "12"), "<none>");
}

TEST_F(Startup, StoredValuesAsWritten) {
    WriteIni(
        "[Preferences]\r\nMaxFileCount=0x400\r\nMaxFilesize=12abc\r\nMinFilesize=-3\r\n"
        "SavePath=D:\\pictures\r\nSafeSearchT=Nonsense\r\nSaveOnExitAsk=0\r\nShowMainMenu=0\r\n"
        "ShowThumbsList=0\r\n");
    Open();
    EXPECT_EQ(MaxFileCount, 1024);
    EXPECT_EQ(MaxFilesize, 4096000);
    EXPECT_EQ(MinFilesize, -3);
    EXPECT_EQ(SavePath, "D:\\pictures\\");
    EXPECT_EQ(SafeSearchT, "Nonsense");  // passed on unchanged until the options dialog stores one
    EXPECT_FALSE(SaveOnExitAsk);
    EXPECT_EQ(GetMenu(form->Handle()), nullptr);
    EXPECT_FALSE(form->PopShowMenu1->Checked);
    EXPECT_FALSE(form->MainMenu_ShowMenu->Checked);
    EXPECT_FALSE(ShowThumbsList);
    EXPECT_EQ(form->ClientWidth(), form->Panel_Main.Width());
}

RECT WorkArea() {
    RECT w{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &w, 0);
    return w;
}

RECT WindowRect(const forms::Form& f) {
    RECT r{};
    GetWindowRect(f.Handle(), &r);
    return r;
}

// Part of the caption in the work area: a user can see the window and drag it.
bool OnScreen(const RECT& r) {
    RECT w = WorkArea(), caption{r.left, r.top, r.right, r.top + 16}, both{};
    return IntersectRect(&both, &caption, &w) && both.right - both.left >= 48;
}

TEST_F(Startup, APlacementPartlyOffTheScreenIsAppliedExactly) {
    RECT w = WorkArea();
    std::string left = std::to_string(w.right - 100), top = std::to_string(w.bottom - 60);
    WriteIni("[Preferences]\r\nWindowTop=" + top + "\r\nWindowLeft=" + left +
             "\r\nWindowWidth=400\r\nWindowHeight=350\r\nShowThumbsList=0\r\n");
    Open();
    RECT r = WindowRect(*form);
    EXPECT_EQ(std::to_string(r.left), left);
    EXPECT_EQ(std::to_string(r.top), top);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 350);
}

TEST_F(Startup, APlacementOffEveryMonitorIsMovedOntoTheNearestKeepingItsSize) {
    // A monitor to the right, unplugged since: the window comes back to the right edge.
    WriteIni(
        "[Preferences]\r\nWindowTop=200\r\nWindowLeft=9000\r\nWindowWidth=400\r\nWindowHeight=350\r\n"
        "ShowThumbsList=0\r\n");
    Open();
    RECT r = WindowRect(*form), w = WorkArea();
    EXPECT_EQ(r.right, w.right);
    EXPECT_EQ(r.top, 200);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 350);
    EXPECT_TRUE(OnScreen(r));
}

TEST_F(Startup, AbsurdPlacementsStillOpenAVisibleWindow) {
    for (const char* values :
         {"WindowTop=-4000\r\nWindowLeft=-2147483648\r\nWindowWidth=400\r\nWindowHeight=350",
          "WindowTop=0\r\nWindowLeft=0\r\nWindowWidth=0\r\nWindowHeight=0",
          "WindowTop=-5\r\nWindowLeft=-5\r\nWindowWidth=99999999\r\nWindowHeight=99999999",
          "WindowTop=2147483647\r\nWindowLeft=2147483647\r\nWindowWidth=-400\r\nWindowHeight=-1"}) {
        SCOPED_TRACE(values);
        WriteIni(std::string("[Preferences]\r\n") + values + "\r\n");
        Reopen();
        RECT r = WindowRect(*form);
        EXPECT_TRUE(OnScreen(r)) << r.left << "," << r.top << " " << r.right - r.left << "x" << r.bottom - r.top;
        EXPECT_GE(r.right - r.left, 532);  // never below the minimum size
        EXPECT_GE(r.bottom - r.top, 320);
    }
}

TEST_F(Startup, ClosingWhileMinimizedStoresThePlacementBeforeTheMinimize) {
    WriteIni("[Preferences]\r\nWindowTop=150\r\nWindowLeft=260\r\nWindowWidth=420\r\nWindowHeight=380\r\n");
    Open();
    RECT before = WindowRect(*form);
    int panel = form->Panel_Main.Width();
    ShowWindow(form->Handle(), SW_MINIMIZE);
    forms::ProcessMessages();
    ASSERT_TRUE(IsIconic(form->Handle()));
    form->Close();
    EXPECT_EQ(Stored("Preferences", "WindowTop"), std::to_string(before.top));
    EXPECT_EQ(Stored("Preferences", "WindowLeft"), std::to_string(before.left));
    EXPECT_EQ(Stored("Preferences", "WindowHeight"), std::to_string(before.bottom - before.top));
    EXPECT_EQ(Stored("Preferences", "WindowWidth"), std::to_string(panel));

    // And the next start opens where the window was.
    Reopen();
    EXPECT_EQ(WindowRect(*form).left, before.left);
    EXPECT_EQ(WindowRect(*form).top, before.top);
    EXPECT_EQ(form->Height(), before.bottom - before.top);
}

TEST_F(Startup, TheStripAddsItsWidthToTheStoredOne) {
    WriteIni("[Preferences]\r\nWindowWidth=400\r\n");
    Open();
    EXPECT_EQ(form->Width(), 400 + 164);
}

TEST_F(Startup, CancelAtTheClosingQuestionWritesNothingAndKeepsTheWindow) {
    Open();
    form->ListBox1.Add("http://pages.test/one");
    form->Search().MarkRunning();  // a search under way
    answers = {IDCANCEL};
    form->Close();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, forms::BoxKind::Confirm);
    EXPECT_EQ(boxes[0].text, "Want to save your search to disk for later browsing ?");
    EXPECT_EQ(boxes[0].flags & 0xF, static_cast<unsigned>(MB_YESNOCANCEL));
    EXPECT_TRUE(form->Search().StopRequested());  // told to stop all the same
    EXPECT_FALSE(IniExists());
    EXPECT_TRUE(WindowOpen());

    answers = {IDNO};
    form->Close();
    EXPECT_FALSE(WindowOpen());
    EXPECT_TRUE(IniExists());
}

TEST_F(Startup, NoQuestionWhenSavedOrNotWanted) {
    Open();
    form->ListBox1.Add("http://pages.test/one");
    form->Search().SetSaved(true);
    form->Close();
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(WindowOpen());
}

// A settings file that cannot be written (a program folder the user may not write to) is
// reported once, and the window closes all the same.
TEST_F(Startup, ARefusedWriteIsReportedOnceAndTheWindowStillCloses) {
    Open();
    form->ComboBox_search.AddItem("cats");
    CreateDirectoryA(ini.c_str(), nullptr);  // the settings file's name is taken by a folder
    form->Close();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, forms::BoxKind::Error);
    EXPECT_EQ(boxes[0].text, "Unable to write to " + ini);
    EXPECT_FALSE(WindowOpen());
    RemoveDirectoryA(ini.c_str());
}

// Yes to the question while a search is still stopping saves the entries handed over so far.
TEST_F(Startup, ClosingDuringASearchSavesTheListWhenAsked) {
    Open();
    for (const char* line : {"http://pages.test/one", "http://pages.test/two"}) {
        auto picture = std::make_unique<imaging::Picture>();
        picture->SetEmptyJpeg();
        form->AddResultEntry(line, std::string(line) + ".jpg", "one.jpg", std::move(picture));
    }
    QueryKeywords = "running+cats";
    form->Search().MarkRunning();
    answers = {IDYES};
    form->Close();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, "Saved search results to disk.");
    EXPECT_FALSE(WindowOpen());
    const std::string base = platform::ExeFolder() + "running+cats";
    EXPECT_EQ(testsupport::ReadWholeFile(base + ".QBL"), "http://pages.test/one\r\nhttp://pages.test/two\r\n");
    for (const char* ext : {".QBI", ".QBJ", ".QBL"}) DeleteFileA((base + ext).c_str());
}

TEST_F(Startup, LineBreaksInKeywordsCannotInjectKeys) {
    Open();
    form->ComboBox_search.InsertItem(0, "cats\r\n[Preferences]\r\nSavePath=C:\\");
    form->Close();
    std::string text = ReadIni();
    EXPECT_EQ(Stored("SearchStrings", "0"), "cats  [Preferences]  SavePath=C:\\");
    EXPECT_EQ(Stored("SearchStrings", "1"), "");
    EXPECT_EQ(Stored("Preferences", "SavePath"), "C:\\quenby temp\\");
    EXPECT_EQ(text.find("\n[Preferences]"), text.rfind("\n[Preferences]"));
    EXPECT_EQ(text.find("\nSavePath="), text.rfind("\nSavePath="));
}

TEST_F(Startup, UnusableSettingsFilesStartWithDefaults) {
    std::string binary;
    for (int i = 0; i < 4000; ++i) binary += static_cast<char>((i * 131 + 7) % 256);
    std::string huge = "[SearchStrings]\r\n0=" + std::string(100000, 'x') + "\r\n[Preferences]\r\n";
    for (int i = 0; i < 20000; ++i) huge += "Junk" + std::to_string(i) + "=1\r\n";
    const std::string files[] = {
        "",
        binary,
        "SavePath=E:\\\r\nMaxFileCount=5\r\n",
        "[Preferences]\r\nMaxFileCount=7\r\nMaxFileCount=9\r\n[Preferences]\r\nMaxFileCount=11\r\n",
        "[Preferences]\r\nWindowWidth=999999999\r\nWindowHeight=-999999999\r\nMaxFilesize=-1\r\n"
        "MaxFileCount=99999999999999\r\nWindowTop=0x7FFFFFFF\r\n",
        huge,
    };
    for (const std::string& f : files) {
        WriteIni(f);
        Open();
        EXPECT_TRUE(IsWindow(form->Handle()));
        EXPECT_EQ(SafeSearchT, "Moderate");
        EXPECT_TRUE(MaxFileCount == 1000 || MaxFileCount == 7) << MaxFileCount;
        EXPECT_LE(form->ComboBox_search.Count(), 1);
        if (form->ComboBox_search.Count() == 1) {
            EXPECT_EQ(form->ComboBox_search.Item(0).size(), 2047u);
        }
        form->Close();
        EXPECT_FALSE(WindowOpen());
        form.reset();
        forms::ResetTerminated();
    }
}

TEST_F(Startup, FolderChooser) {
    Open();
    std::vector<forms::FolderQuery> queries;
    std::optional<std::string> answer = "D:\\pictures";
    env.forms.folder = [&](const forms::FolderQuery& q) {
        queries.push_back(q);
        return answer;
    };
    env.Install();
    form->Button_savepath.Click();
    ASSERT_EQ(queries.size(), 1u);
    EXPECT_EQ(queries[0].owner, form->Handle());
    EXPECT_EQ(queries[0].title, "Save downloaded files to ...");
    EXPECT_EQ(queries[0].flags, 65u);
    EXPECT_EQ(queries[0].initial, "C:\\quenby temp\\");
    EXPECT_EQ(form->Edit_savepath.Text(), "D:\\pictures\\");
    EXPECT_EQ(SavePath, "D:\\pictures\\");

    answer.reset();  // cancelled
    form->Edit_savepath.SetText("E:\\x");
    form->Button_savepath.Click();
    EXPECT_EQ(queries.back().initial, "E:\\x");
    EXPECT_EQ(form->Edit_savepath.Text(), "E:\\x\\");
    EXPECT_EQ(SavePath, "E:\\x\\");
}

TEST_F(Startup, DonationItemRecordsAtOnce) {
    Open();
    Post(WM_SYSCOMMAND, 1027);
    ASSERT_EQ(shells.size(), 1u);
    EXPECT_EQ(shells[0].owner, GetDesktopWindow());
    EXPECT_EQ(shells[0].verb, "open");
    EXPECT_EQ(shells[0].file.rfind("https://", 0), 0u);
    EXPECT_EQ(shells[0].show, SW_SHOWNORMAL);
    EXPECT_EQ(Stored("Preferences", "Donated"), "1");
    // The menu-bar item opens the same page and records nothing.
    DeleteFileA(ini.c_str());
    form->MainMenu_Donations->Click();
    ASSERT_EQ(shells.size(), 2u);
    EXPECT_EQ(shells[1].file, shells[0].file);
    EXPECT_FALSE(IniExists());
}

// Read as the other numbers are: as written, garbage and a missing key giving the default; the
// dialog shows a value outside 1 to 8 at the nearest bound.
TEST_F(Startup, SimultaneousDownloadsAreReadAsTheOtherNumbers) {
    for (auto [line, held, shown] : {std::tuple{"SimultaneousDownloads=garbage", 1, "1"},
                                     {"SimultaneousDownloads=0", 0, "1"},
                                     {"SimultaneousDownloads=9", 9, "8"},
                                     {"SimultaneousDownloads=0x3", 3, "3"},
                                     {"SimultaneousDownloads=", 1, "1"},
                                     {"MaxFileCount=200", 1, "1"}}) {
        SCOPED_TRACE(line);
        WriteIni(std::string("[Preferences]\r\n") + line + "\r\n");
        Reopen();
        EXPECT_EQ(SimultaneousDownloads, held);
        std::string text;
        onModal = [&](forms::Form&) {
            text = options->Edit4.Text();
            return forms::mrCancel;
        };
        form->PopSizeToDownload1Click(form.get());
        EXPECT_EQ(text, shown);
    }
}

// Set with the keyboard and "Ok", written at the close, read again at the next start.
TEST_F(Startup, SimultaneousDownloadsSetInTheDialogAreStoredAndReadBack) {
    Open();
    onModal = [&](forms::Form&) {
        settings::TForm_options& d = *options;
        d.Show();
        d.Edit4.SetFocus();
        SendMessageA(d.Edit4.Handle(), EM_SETSEL, 0, -1);
        Post(WM_CHAR, '5', 1, d.Edit4.Handle());
        d.UpDown4.ClickArrow(forms::ArrowButton::Down);
        d.Button_set.Click();
        d.Hide();
        return d.ModalResult;
    };
    form->PopSizeToDownload1Click(form.get());
    EXPECT_EQ(SimultaneousDownloads, 4);
    EXPECT_FALSE(IniExists());  // settings reach the file at the close
    form->Close();
    EXPECT_EQ(Stored("Preferences", "SimultaneousDownloads"), "4");

    Reopen();
    EXPECT_EQ(SimultaneousDownloads, 4);
    std::string text;
    onModal = [&](forms::Form&) {
        text = options->Edit4.Text();
        return forms::mrCancel;
    };
    form->PopSizeToDownload1Click(form.get());
    EXPECT_EQ(text, "4");
}
