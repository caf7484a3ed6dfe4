// What a person at the keyboard meets: which control has the focus, which window a message box
// belongs to, and a window that goes while its search is still stopping.
#include <thread>

#include "harness.h"

using namespace windowtest;
using mainwindow::QueryKeywords;

namespace {

const char* const kFinished = "Finished all downloads...";
const char* const kAlready = "Already doing a search. want to stop it\rand start this other one ?";

// Stands for another program's window in front of ours.
struct OtherWindow {
    HWND h = CreateWindowExA(0, "STATIC", "another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                             nullptr, nullptr, nullptr);
    ~OtherWindow() { DestroyWindow(h); }
};

// A visible dialog-class window (a message box) of this process, or none.
HWND FindBox() {
    struct Q {
        HWND found = nullptr;
    } q;
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            char cls[16] = {};
            GetClassNameA(h, cls, sizeof cls);
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            if (pid != GetCurrentProcessId() || lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(h)) return TRUE;
            reinterpret_cast<Q*>(lp)->found = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&q));
    return q.found;
}

TEST_F(WindowTest, TheKeywordBoxHasTheFocusAtFirstShowingAndGetsItBackOnReactivation) {
    EXPECT_TRUE(form->ComboBox_search.Focused());
    form->ListBox1.SetFocus();
    OtherWindow other;
    SetActiveWindow(other.h);
    ASSERT_FALSE(form->ListBox1.Focused());
    SetActiveWindow(form->Handle());
    EXPECT_TRUE(form->ListBox1.Focused());
}

TEST_F(WindowTest, TheFocusLeavesStopWhenASearchEnds) {
    LongSearches();
    Search("cats");
    ASSERT_TRUE(Pump([&] { return form->ListBox1.Count() >= 1; }));
    form->Button_stopsearch.SetFocus();
    ASSERT_TRUE(form->Button_stopsearch.Focused());
    form->Button_stopsearch.Click();
    WaitIdle();
    HWND focus = GetFocus();
    ASSERT_NE(focus, nullptr);
    EXPECT_TRUE(IsChild(form->Handle(), focus));
    EXPECT_TRUE(IsWindowEnabled(focus));
}

TEST_F(WindowTest, BoxesBelongToOurWindowWhateverWindowIsActive) {
    OtherWindow other;
    SetActiveWindow(other.h);
    SearchToEnd("cats");
    ASSERT_EQ(BoxTexts(), std::vector<std::string>{kFinished});
    EXPECT_EQ(boxes[0].owner, form->Handle());
    // A box over a dialog belongs to the dialog.
    HWND ownerInDialog = nullptr;
    onModal = [&](forms::Form& dialog) {
        forms::ShowBox(forms::BoxKind::Plain, "a question of the dialog");
        ownerInDialog = boxes.back().owner;
        EXPECT_EQ(ownerInDialog, dialog.Handle());
        return forms::mrCancel;
    };
    form->PopSizeToDownload1->Click();
    EXPECT_NE(ownerInDialog, nullptr);
}

TEST_F(WindowTest, ARealBoxDisablesOurWindowUnderItAndGivesTheFocusBack) {
    form->ComboBox_search.SetFocus();
    OtherWindow other;
    SetActiveWindow(other.h);
    env.forms.box = nullptr;  // a real box from here on
    env.Install();
    std::atomic<HWND> owner{nullptr};
    std::atomic<bool> enabledUnder{true};
    DWORD ourThread = GetCurrentThreadId();
    std::thread answer([&] {
        for (int i = 0; i < 400; i++, Sleep(50)) {
            // A person answers a box once it is in front: a box closed before it was ever
            // activated leaves the other window active, and nothing gives our window the focus.
            HWND box = FindBox();
            GUITHREADINFO gui{};
            gui.cbSize = sizeof gui;
            if (box && GetGUIThreadInfo(ourThread, &gui) && gui.hwndActive == box) {
                owner = GetWindow(box, GW_OWNER);
                enabledUnder = IsWindowEnabled(form->Handle()) != 0;
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                return;
            }
        }
    });
    int r = forms::ShowBox(forms::BoxKind::Information, kFinished);
    answer.join();
    EXPECT_EQ(r, IDOK);
    EXPECT_EQ(owner.load(), form->Handle());
    EXPECT_FALSE(enabledUnder);
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
    // Our window is activated again once its queue has taken the platform's messages about it.
    EXPECT_TRUE(Pump([&] { return form->ComboBox_search.Focused(); }, 5000));
}

TEST_F(WindowTest, SearchPressedUnderTheFinishedBoxStartsOnceTheBoxIsClosed) {
    int pressed = 0;
    onBox = [&](const forms::BoxCall& c) {
        if (c.text != kFinished || pressed++) return;
        form->ComboBox_search.SetText("dogs");
        form->Button_search.Click();  // runs inside the box: it must not wait there
    };
    SearchToEnd("cats");
    ASSERT_TRUE(Pump([&] { return jobsStarted == 2 && !form->Search().JobAlive() && !form->Search().CommandBusy(); }))
        << "the second search never ran";
    EXPECT_EQ(BoxTexts(),
              (std::vector<std::string>{kFinished, kAlready, "Want to save your search to disk before doing another ?",
                                        kFinished}));
    EXPECT_EQ(QueryKeywords, "dogs");
    ASSERT_GT(form->ListBox1.Count(), 0);
    EXPECT_EQ(form->ListBox1.Item(0), "http://site.example/dogs/1");
    EXPECT_EQ(mostAtOnce, 1);
}

TEST_F(WindowTest, AWindowThatGoesWhileItsSearchStopsDoesNotWaitForIt) {
    LongSearches(3000);  // each result takes the worker 3 s
    Search("cats");
    ASSERT_TRUE(Pump([&] { return jobsRunning == 1; }));
    DWORD start = GetTickCount();
    form.reset();
    EXPECT_LT(GetTickCount() - start, 1000u) << "the window waited for its job";
    size_t boxesBefore = boxes.size();
    // The job finds no window for its next step, ends and frees itself; nothing of the window
    // is touched any more.
    EXPECT_TRUE(Pump([&] { return engine::TDownThread::Alive() == 0; }, 15000)) << "the job never ended";
    EXPECT_EQ(boxes.size(), boxesBefore);
}

}  // namespace
