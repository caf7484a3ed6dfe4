// The search command, Stop, the questions and the states of the window, driven as a user
// would against the local test service.
#include "harness.h"

#include "platform/application.h"

using namespace windowtest;
using mainwindow::QueryKeywords;

namespace {

const char* const kAlready = "Already doing a search. want to stop it\rand start this other one ?";
const char* const kWantSave = "Want to save your search to disk before doing another ?";
const char* const kFinished = "Finished all downloads...";
const char* const kNoFolder = "Path to save images to no longer exists..\rPlease correct !";

TEST_F(WindowTest, SearchFillsListStripAndLabelsThenReturnsToIdle) {
    perPage = 28;
    mainwindow::MaxFileCount = 30;
    form->Label1.SetText("Downed: 7 images");  // a previous search's count
    Search("red car");
    // At once: the searching state, the query and the first label.
    EXPECT_EQ(form->Label2.Text(), "Doing: 1 of ...");
    EXPECT_EQ(form->Label1.Text(), "Downed: 7 images");
    EXPECT_EQ(QueryKeywords, "red+car");
    EXPECT_TRUE(form->Search().Running());
    EXPECT_FALSE(form->Search().StopRequested());
    ExpectSearchingControls(true);
    EXPECT_EQ(form->ComboBox_search.Item(0), "red car");

    WaitIdle();
    // Two pages (1 and 57), 56 images: the limit is looked at between pages only.
    auto reqs = server.requests_for("/images/search");
    ASSERT_EQ(reqs.size(), 2u);
    EXPECT_EQ(QueryValue(reqs[0].target, "first"), "1");
    EXPECT_EQ(QueryValue(reqs[1].target, "first"), "57");
    EXPECT_EQ(QueryValue(reqs[0].target, "q"), "red+car");
    ASSERT_EQ(form->ListBox1.Count(), 56);
    EXPECT_EQ(form->ListBox_Bak.Count(), 56);
    EXPECT_EQ(form->ListBox1.Item(0), "http://site.example/red+car/1");
    EXPECT_EQ(form->ListBox1.Item(28), "http://site.example/red+car/57");
    EXPECT_EQ(form->Label1.Text(), "Downed: 56 images");
    EXPECT_EQ(form->Label2.Text(), "Trying: 56 of 30 images");
    for (int i : {0, 1, 2, 55}) {
        forms::Image* t = form->Thumbnail(i);
        ASSERT_NE(t, nullptr) << i;
        EXPECT_EQ(t->Name, "Image_" + std::to_string(i));
        EXPECT_EQ(t->Tag, i);
        EXPECT_EQ(t->Hint(), "red+car_" + std::to_string(i < 28 ? i + 1 : i + 29) + ".jpg");
        EXPECT_EQ(t->Left(), 5);
        EXPECT_EQ(t->Top(), 4 + 111 * i);
        EXPECT_EQ(t->Width(), 138);
        EXPECT_EQ(t->Height(), 108);
        EXPECT_EQ(t->GetPicture().Width(), 138);
    }
    EXPECT_EQ(form->ScrollBox1.VertRange(), 4 + 111 * 55 + 108);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kFinished});
    EXPECT_EQ(boxes[0].kind, forms::BoxKind::Information);
    EXPECT_FALSE(form->Search().Running());
    EXPECT_TRUE(form->Search().StopRequested());
    EXPECT_EQ(form->ListBox1.GetCursor(), forms::Cursor::Default);
    ExpectSearchingControls(false);
}

TEST_F(WindowTest, NothingFoundGivesBothMessagesInOrder) {
    perPage = 0;
    SearchToEnd("nothing");
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"No downloads to get for this...", kFinished}));
    ExpectSearchingControls(false);
}

TEST_F(WindowTest, EscapeStopsFromAnyControlAndTheWindowGoesBackToIdle) {
    LongSearches();
    Search("cats");
    ASSERT_TRUE(Pump([&] { return form->ListBox1.Count() >= 2; }));
    PressKey(form->ComboBox_search.EditHandle(), VK_ESCAPE);
    // Stopping: the flags change at once, the controls wait for the job's end.
    EXPECT_TRUE(form->Search().StopRequested());
    EXPECT_FALSE(form->Search().Running());
    ExpectSearchingControls(true);
    WaitIdle();
    ExpectSearchingControls(false);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kFinished});
    // Escape while idle sets the flag again and changes nothing else.
    size_t lines = static_cast<size_t>(form->ListBox1.Count());
    PressKey(form->ListBox1.Handle(), VK_ESCAPE);
    EXPECT_TRUE(form->Search().StopRequested());
    EXPECT_EQ(static_cast<size_t>(form->ListBox1.Count()), lines);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(WindowTest, EnterInTheKeywordBoxSearches) {
    form->ComboBox_search.SetText("boats");
    PostMessageA(form->ComboBox_search.EditHandle(), WM_CHAR, 13, 0);
    forms::ProcessMessages();
    EXPECT_EQ(QueryKeywords, "boats");
    WaitIdle();
    EXPECT_EQ(form->ComboBox_search.Text(), "boats");
    EXPECT_EQ(form->ListBox1.Count(), 5);
}

TEST_F(WindowTest, CancelLeavesTheRunningSearchUntouched) {
    LongSearches();
    Search("cats");
    ASSERT_TRUE(Pump([&] { return form->ListBox1.Count() >= 2; }));
    answers = {IDCANCEL};
    Search("dogs");
    ASSERT_EQ(BoxTexts(), std::vector<std::string>{kAlready});
    EXPECT_EQ(boxes[0].kind, forms::BoxKind::Confirm);
    EXPECT_EQ(boxes[0].flags & 0xF, static_cast<unsigned>(MB_OKCANCEL));
    EXPECT_EQ(QueryKeywords, "cats");
    EXPECT_TRUE(form->Search().Running());
    EXPECT_FALSE(form->Search().StopRequested());
    int before = form->ListBox1.Count();
    ASSERT_TRUE(Pump([&] { return form->ListBox1.Count() > before; }));
    EXPECT_EQ(jobsStarted, 1);
}

TEST_F(WindowTest, OkStopsTheOldSearchFirstThenAsksToSave) {
    LongSearches();
    Search("cats");
    ASSERT_TRUE(Pump([&] { return form->ListBox1.Count() >= 3; }));
    std::vector<int> linesAtSaveQuestion;
    onBox = [&](const forms::BoxCall& c) {
        if (c.text == kWantSave) linesAtSaveQuestion.push_back(form->ListBox1.Count());
    };
    answers = {IDOK, IDYES};
    Search("dogs");
    // Yes saves the old list beside the executable before the new search starts.
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{kAlready, kFinished, kWantSave, "Saved search results to disk."}));
    for (const char* ext : {".QBI", ".QBJ", ".QBL"}) {
        std::string saved = platform::ExeFolder() + "cats" + ext;
        EXPECT_NE(GetFileAttributesA(saved.c_str()), INVALID_FILE_ATTRIBUTES) << saved;
        DeleteFileA(saved.c_str());
    }
    EXPECT_EQ(boxes[2].flags & 0xF, static_cast<unsigned>(MB_YESNOCANCEL));
    ASSERT_EQ(linesAtSaveQuestion.size(), 1u);
    EXPECT_GE(linesAtSaveQuestion[0], 3);  // the complete old list was still there to save
    EXPECT_EQ(QueryKeywords, "dogs");
    ASSERT_TRUE(Pump([&] { return form->ListBox1.Count() >= 2; }));
    form->Button_stopsearch.Click();
    WaitIdle();
    // Only the new search's results are in the list; never two jobs at once.
    for (int i = 0; i < form->ListBox1.Count(); i++)
        EXPECT_EQ(form->ListBox1.Item(i).rfind("http://site.example/dogs/", 0), 0u) << form->ListBox1.Item(i);
    EXPECT_EQ(form->Thumbnail(form->ListBox1.Count()), nullptr);
    EXPECT_EQ(mostAtOnce, 1);
}

TEST_F(WindowTest, StopThenSearchAtOnceWaitsForTheOldJob) {
    LongSearches();
    Search("cats");
    ASSERT_TRUE(Pump([&] { return form->ListBox1.Count() >= 2; }));
    form->Button_stopsearch.Click();
    answers = {IDNO};
    Search("dogs");  // no pumping in between
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{kFinished, kWantSave}));
    EXPECT_TRUE(form->Search().Running());
    ExpectSearchingControls(true);
    ASSERT_TRUE(Pump([&] { return form->ListBox1.Count() >= 1; }));
    form->Button_stopsearch.Click();
    WaitIdle();
    EXPECT_EQ(form->ListBox1.Item(0), "http://site.example/dogs/1");
    EXPECT_EQ(mostAtOnce, 1);
}

TEST_F(WindowTest, ASecondSearchDuringAQuestionDoesNothing) {
    LongSearches();
    Search("cats");
    ASSERT_TRUE(Pump([&] { return form->ListBox1.Count() >= 1; }));
    int inner = 0;
    onBox = [&](const forms::BoxCall& c) {
        if (c.text == kAlready && inner++ == 0) form->Button_search.Click();
    };
    answers = {IDCANCEL};
    Search("dogs");
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kAlready});
    EXPECT_EQ(jobsStarted, 1);
}

TEST_F(WindowTest, CancelAtTheSaveQuestionKeepsTheOldResults) {
    SearchToEnd("cats");
    boxes.clear();
    answers = {IDCANCEL};
    Search("dogs");
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kWantSave});
    EXPECT_EQ(form->ListBox1.Count(), 5);
    EXPECT_EQ(QueryKeywords, "cats");
    EXPECT_FALSE(form->Search().JobAlive());
    // Saved, or not asked for: no question.
    boxes.clear();
    form->Search().SetSaved(true);
    SearchToEnd("dogs");
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kFinished});
}

TEST_F(WindowTest, ADeletedTargetFolderIsReportedAndTheOldListStays) {
    SearchToEnd("cats");
    boxes.clear();
    ASSERT_TRUE(RemoveDirectoryA(folder.c_str()));
    Search("dogs");
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{kWantSave, kNoFolder}));
    EXPECT_EQ(boxes[1].kind, forms::BoxKind::Plain);
    EXPECT_EQ(form->ListBox1.Count(), 5);
    EXPECT_NE(form->Thumbnail(4), nullptr);
    EXPECT_EQ(QueryKeywords, "cats");
    ExpectSearchingControls(false);
}

TEST_F(WindowTest, AFolderVanishingMidSearchEndsTheJobAndTheWindowRecovers) {
    LongSearches(30);
    Search("cats");
    ASSERT_TRUE(Pump([&] { return form->ListBox1.Count() >= 1; }));
    ASSERT_TRUE(RemoveDirectoryA(folder.c_str()));
    WaitIdle();
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kFinished});  // the error ends the run quietly
    ExpectSearchingControls(false);
    EXPECT_FALSE(form->Search().Running());
    EXPECT_FALSE(form->Search().JobAlive());
}

TEST_F(WindowTest, NoConnectionIsReportedOnlyWhenNoSearchRuns) {
    form->Search().ConnectionTest = [] { return false; };
    Search("cats");
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"No connection to Internet !"});
    EXPECT_FALSE(form->Search().JobAlive());
    // A running search skips the test.
    form->Search().ConnectionTest = [] { return true; };
    LongSearches();
    Search("cats");
    ASSERT_TRUE(Pump([&] { return form->ListBox1.Count() >= 1; }));
    form->Search().ConnectionTest = [] { return false; };
    boxes.clear();
    answers = {IDOK, IDNO};
    Search("dogs");
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{kAlready, kFinished, kWantSave}));
    EXPECT_EQ(QueryKeywords, "dogs");
}

TEST_F(WindowTest, KeywordHistoryAndQueryText) {
    form->ComboBox_search.AddItem("cats");
    form->ComboBox_search.AddItem("dogs");
    mainwindow::SaveOnExitAsk = false;
    SearchToEnd("DOGS");
    EXPECT_EQ(form->ComboBox_search.Items(), (std::vector<std::string>{"dogs", "cats"}));
    EXPECT_EQ(form->ComboBox_search.Text(), "dogs");
    EXPECT_EQ(QueryKeywords, "dogs");
    SearchToEnd("  red car ");
    EXPECT_EQ(QueryKeywords, "++red+car+");
    EXPECT_EQ(form->ComboBox_search.Items(), (std::vector<std::string>{"  red car ", "dogs", "cats"}));
    SearchToEnd("");  // an empty box is not refused
    EXPECT_EQ(QueryKeywords, "");
    std::string pasted = "a/b:c?d*\xC3\xA9\x01" + std::string(300, 'x');
    SearchToEnd(pasted);
    EXPECT_EQ(QueryKeywords, pasted);
    auto reqs = server.requests_for("/images/search");
    ASSERT_EQ(reqs.size(), 4u);
    EXPECT_EQ(QueryValue(reqs[0].target, "q"), "dogs");
    EXPECT_EQ(QueryValue(reqs[1].target, "q"), "++red+car+");
    EXPECT_EQ(QueryValue(reqs[2].target, "q"), "");
    EXPECT_EQ(QueryValue(reqs[3].target, "q"), "a/b:c?d*%C3%A9%01" + std::string(300, 'x'));
    EXPECT_EQ(form->ComboBox_search.Count(), 5);
}

TEST_F(WindowTest, SearchAndStopOverAndOverNeverRunsTwoJobs) {
    LongSearches(5);
    answerByText = {{kAlready, IDOK}, {kWantSave, IDNO}};
    for (int round = 0; round < 9; round++) {
        Search("round" + std::to_string(round));
        forms::ProcessMessages();
        if (round % 2) PressKey(form->ListBox1.Handle(), VK_ESCAPE);
    }
    ASSERT_TRUE(Pump([&] { return form->ListBox1.Count() >= 3; }));
    PressKey(form->ListBox1.Handle(), VK_ESCAPE);
    WaitIdle();
    EXPECT_LE(mostAtOnce, 1);
    EXPECT_EQ(jobsStarted, 9);
    for (int i = 0; i < form->ListBox1.Count(); i++)
        EXPECT_EQ(form->ListBox1.Item(i).rfind("http://site.example/round8/", 0), 0u) << form->ListBox1.Item(i);
    ExpectSearchingControls(false);
}

TEST_F(WindowTest, ExitClosesTheWindow) {
    form->Button_exit.Click();
    EXPECT_TRUE(forms::Terminated());
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
}

}  // namespace
