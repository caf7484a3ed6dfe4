// The limits and options dialog with the main window that opens it: filling, clamping while
// typing, the arrows, Reset, Cancel and Ok.
#include "settings/options.h"

#include "forms/textlabels.h"
#include "harness.h"
#include "support/ui_loop.h"

using namespace mainwindow;
using settings::TForm_options;

namespace {

struct OptionsTest : windowtest::MainWindowTest {
    TForm_options* dialog = nullptr;
    // What the user does while the dialog is up; returns the button's result.
    std::function<int(TForm_options&)> user;

    void SetUp() override {
        MainWindowTest::SetUp();
        Open();
        dialog = options.get();
        onModal = [this](forms::Form& f) -> int {
            EXPECT_EQ(&f, dialog);
            return user ? user(*dialog) : forms::mrCancel;
        };
    }
    // Types into a field as the keyboard would, through the message loop and key preview.
    void Type(forms::Edit& field, const std::string& chars) {
        for (char c : chars) PostMessageA(field.Handle(), WM_CHAR, static_cast<unsigned char>(c), 1);
        forms::ProcessMessages();
    }
    void SelectAll(forms::Edit& field) { SendMessageA(field.Handle(), EM_SETSEL, 0, -1); }
    // A key pressed and released on the focused control, through the message loop.
    void Press(WORD key) {
        HWND to = GetFocus();
        PostMessageA(to, WM_KEYDOWN, key, 1);
        PostMessageA(to, WM_KEYUP, key, 0xC0000001);
        forms::ProcessMessages();
    }
    // Starts a search against a local page without results and waits for its end.
    void SearchOnce() {
        server.fallback([](const testsupport::Request&) { return testsupport::Response::text("<html></html>"); });
        SavePath = folder;
        env.mainwindow.searchStartPauseMs = 0;
        env.Install();
        form->Search().ConnectionTest = [] { return true; };
        form->SearchService = server.base();
        form->ComboBox_search.SetText("red car");
        form->Button_searchClick(&form->Button_search);
        ASSERT_TRUE(testsupport::PumpUntil([&] { return !form->Search().JobAlive(); }));
    }
    // How many downloads at once the next search is given.
    int ParallelOfASearch() {
        int parallel = 0;
        form->Search().MakeJob = [&](const engine::SearchRequest& r) {
            engine::TDownThread* job = engine::MakeJob(r);
            parallel = job->Parallel();
            return job;
        };
        SearchOnce();
        form->Search().MakeJob = engine::MakeJob;
        return parallel;
    }
    std::vector<std::string> Errors() const { return Texts(forms::BoxKind::Error); }
};

}  // namespace

TEST_F(OptionsTest, DesignedDialog) {
    TForm_options& d = *dialog;
    EXPECT_EQ(d.Caption(), "  Limits & options to download");
    EXPECT_EQ(d.ClientWidth(), 279);
    EXPECT_EQ(d.ClientHeight(), 367);  // the designed 251, and the row of what a search keeps below
    EXPECT_TRUE(GetWindowLongA(d.Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(GetWindowLongA(d.Handle(), GWL_STYLE) & WS_SYSMENU);  // no close box
    EXPECT_TRUE(d.KeyPreview);
    EXPECT_EQ(d.ComboBox1.Items(), (std::vector<std::string>{"Safe search", "Moderate *", "No filters (+18)"}));
    EXPECT_EQ(d.CheckBox2.Text(), "Show main window  menu");
    EXPECT_EQ(d.UpDown1.Min(), 0);
    EXPECT_EQ(d.UpDown2.Max(), 10000);
    EXPECT_EQ(d.UpDown3.Min(), 50);
    EXPECT_EQ(d.Label8.Text(), "Simultaneous downloads");
    EXPECT_EQ(d.UpDown4.Min(), 1);
    EXPECT_EQ(d.UpDown4.Max(), 8);
    EXPECT_EQ(d.Edit4.Text(), "1");
    EXPECT_EQ(d.Edit4.Popup, &d.PopupMenu1);
    // Its row lies below the other number fields and the line, inside the dialog, and clear of
    // the buttons beside it.
    EXPECT_GE(d.Edit4.Top(), d.Edit3.Top() + d.Edit3.Height());
    EXPECT_GE(d.Label8.Top(), d.Bevel1.Top() + d.Bevel1.Height());
    EXPECT_LE(d.Edit4.Top() + d.Edit4.Height(), d.ClientHeight());
    EXPECT_LE(d.Button_set.Top() + d.Button_set.Height(), d.ClientHeight());
    EXPECT_LT(d.Label8.Left() + d.Label8.Width(), d.Button1.Left());
    EXPECT_LT(d.UpDown4.Left() + d.UpDown4.Width(), d.Button1.Left());
    EXPECT_EQ(d.Edit2.Text(), "10000");
    EXPECT_TRUE(d.PopupMenu1.Items.empty());
    EXPECT_EQ(d.Edit1.Popup, &d.PopupMenu1);
    EXPECT_EQ(d.CheckBox_skipIdentical.Text(), "Skip pictures already in the folder (same content)");
    EXPECT_EQ(d.CheckBox_writeSources.Text(), "Write a list of sources beside the pictures");
    // The new rows lie below the designed dialog and inside it, their captions in full.
    EXPECT_GE(d.CheckBox_skipIdentical.Top(), d.Button_set.Top() + d.Button_set.Height());
    EXPECT_LE(d.Edit_minHeight.Top() + d.Edit_minHeight.Height(), d.ClientHeight());
    for (forms::CheckBox* box : {&d.CheckBox_skipIdentical, &d.CheckBox_onlyPictures, &d.CheckBox_writeSources}) {
        EXPECT_LE(box->Left() + box->Width(), d.ClientWidth());
        EXPECT_LE(forms::TextWidth(box->Text()) + 20, box->Width()) << box->Text();
    }
}

// What a search keeps (the boxes are played by keys in the desktop suite): the smallest
// picture's fields hold 0 to 100000 while typing, Ok keeps them and the boxes, the next
// opening shows them, Reset clears the fields and leaves the boxes.
TEST_F(OptionsTest, WhatASearchKeeps) {
    int opened = 0;
    user = [&](TForm_options& d) {
        if (opened++ == 1) {
            EXPECT_TRUE(d.CheckBox_skipIdentical.Checked() && !d.CheckBox_onlyPictures.Checked());
            EXPECT_EQ(d.Edit_minWidth.Text() + " " + d.Edit_minHeight.Text(), "100000 768");
            d.Button_reset.Click();
            EXPECT_EQ(d.Edit_minWidth.Text() + " " + d.Edit_minHeight.Text(), "0 0");
            EXPECT_TRUE(d.CheckBox_skipIdentical.Checked());
            return forms::mrCancel;
        }
        d.CheckBox_skipIdentical.SetChecked(true);
        SelectAll(d.Edit_minWidth);
        Type(d.Edit_minWidth, "-99999999999");  // the minus never gets through; the rest is held at the bound
        EXPECT_EQ(d.Edit_minWidth.Text(), "100000");
        SelectAll(d.Edit_minHeight);
        Type(d.Edit_minHeight, "768");
        return forms::mrOk;
    };
    form->PopSizeToDownload1Click(form.get());
    EXPECT_TRUE(Prefs.SkipIdentical && !Prefs.WriteSources);
    EXPECT_EQ(Prefs.MinWidth, 100000);
    EXPECT_EQ(Prefs.MinHeight, 768);
    form->PopSizeToDownload1Click(form.get());
    EXPECT_EQ(Prefs.MinWidth, 100000);  // cancelled
    EXPECT_TRUE(Errors().empty());
}

TEST_F(OptionsTest, FieldsClampWhileTypingAndFilterKeys) {
    TForm_options& d = *dialog;
    d.Edit3.SetText("1000");
    SelectAll(d.Edit3);
    Type(d.Edit3, "7");
    EXPECT_EQ(d.Edit3.Text(), "50");
    EXPECT_EQ(d.UpDown3.Position(), 50);

    d.Edit1.SetText("500");
    SendMessageA(d.Edit1.Handle(), EM_SETSEL, 3, 3);
    Type(d.Edit1, "4");
    EXPECT_EQ(d.Edit1.Text(), "500");
    EXPECT_EQ(d.UpDown1.Position(), 500);

    d.Edit2.SetText("12");
    SendMessageA(d.Edit2.Handle(), EM_SETSEL, 2, 2);
    Type(d.Edit2, "a-+ 3");  // only the digit gets through
    EXPECT_EQ(d.Edit2.Text(), "123");
    EXPECT_EQ(d.UpDown2.Position(), 123);
    EXPECT_TRUE(Errors().empty());

    // Deleting every digit: the conversion error, the field stays empty, the arrows stay put.
    SelectAll(d.Edit2);
    Type(d.Edit2, "\b");
    EXPECT_EQ(d.Edit2.Text(), "");
    EXPECT_EQ(d.UpDown2.Position(), 123);
    EXPECT_EQ(Errors(), std::vector<std::string>{"'' is not a valid integer value"});
}

TEST_F(OptionsTest, ArrowsStopAtTheirEnds) {
    TForm_options& d = *dialog;
    d.Edit3.SetText("1000");
    d.UpDown3.ClickArrow(forms::ArrowButton::Up);
    EXPECT_EQ(d.Edit3.Text(), "1000");
    d.UpDown3.ClickArrow(forms::ArrowButton::Down);
    EXPECT_EQ(d.Edit3.Text(), "999");
    d.Edit1.SetText("0");
    d.UpDown1.ClickArrow(forms::ArrowButton::Down);
    EXPECT_EQ(d.Edit1.Text(), "0");
    d.UpDown1.ClickArrow(forms::ArrowButton::Up);
    EXPECT_EQ(d.Edit1.Text(), "1");
}

TEST_F(OptionsTest, OpeningConvertsAndOkStoresKilobytesOf1024) {
    MinFilesize = 1536;
    MaxFilesize = 4096000;
    MaxFileCount = 20;
    std::string shown[3];
    user = [&](TForm_options& d) {
        shown[0] = d.Edit1.Text();
        shown[1] = d.Edit2.Text();
        shown[2] = d.Edit3.Text();
        d.Button_set.Click();
        return d.ModalResult;
    };
    form->PopSizeToDownload1Click(form.get());
    EXPECT_EQ(shown[0], "1");
    EXPECT_EQ(shown[1], "4000");
    EXPECT_EQ(shown[2], "50");
    EXPECT_EQ(MinFilesize, 1024);
    EXPECT_EQ(MaxFilesize, 4000 * 1024);
    EXPECT_EQ(MaxFileCount, 50);

    // A smallest size above the largest is stored as entered; 600 KB shows at the bound.
    MinFilesize = 614400;
    user = [&](TForm_options& d) {
        shown[0] = d.Edit1.Text();
        d.Edit2.SetText("1");
        d.Button_set.Click();
        return d.ModalResult;
    };
    form->PopSizeToDownload1Click(form.get());
    EXPECT_EQ(shown[0], "500");
    EXPECT_EQ(MinFilesize, 512000);
    EXPECT_EQ(MaxFilesize, 1024);

    // Placed a quarter of the way into the result list.
    EXPECT_EQ(dialog->Left(), form->Left() + form->ListBox1.Left() + form->ListBox1.Width() / 4);
    EXPECT_EQ(dialog->Top(), form->Top() + form->ListBox1.Top() + form->ListBox1.Height() / 4);
}

TEST_F(OptionsTest, ResetProposesDefaultsAndCancelChangesNothing) {
    MinFilesize = 2048;
    MaxFilesize = 4096000;
    MaxFileCount = 300;
    SafeSearchT = "Strict";
    SaveOnExitAsk = false;
    ShowMainMenu = true;
    HMENU bar = GetMenu(form->Handle());
    int width = form->ClientWidth();
    user = [&](TForm_options& d) {
        d.Button_reset.Click();
        EXPECT_EQ(d.Edit1.Text(), "0");
        EXPECT_EQ(d.Edit2.Text(), "10000");
        EXPECT_EQ(d.Edit3.Text(), "1000");
        EXPECT_EQ(d.UpDown2.Position(), 10000);
        EXPECT_EQ(d.ComboBox1.ItemIndex(), 1);
        EXPECT_FALSE(d.CheckBox1.Checked());  // the check boxes stay as they are
        d.CheckBox2.SetChecked(false);
        d.CheckBox3.SetChecked(!d.CheckBox3.Checked());
        d.Button1.Click();
        return d.ModalResult;
    };
    form->PopSizeToDownload1Click(form.get());
    EXPECT_EQ(MinFilesize, 2048);
    EXPECT_EQ(MaxFilesize, 4096000);
    EXPECT_EQ(MaxFileCount, 300);
    EXPECT_EQ(SafeSearchT, "Strict");
    EXPECT_TRUE(ShowMainMenu);
    EXPECT_EQ(GetMenu(form->Handle()), bar);
    EXPECT_EQ(form->ClientWidth(), width);
}

TEST_F(OptionsTest, MenuBarAndStripFollowTheBoxes) {
    ShowMainMenu = true;
    bool strip = ShowThumbsList;
    user = [&](TForm_options& d) {
        EXPECT_TRUE(d.CheckBox2.Checked());
        EXPECT_EQ(d.CheckBox3.Checked(), strip);
        d.CheckBox2.SetChecked(false);
        d.Button_set.Click();
        return d.ModalResult;
    };
    int width = form->ClientWidth();
    form->PopSizeToDownload1Click(form.get());
    EXPECT_FALSE(ShowMainMenu);
    EXPECT_EQ(GetMenu(form->Handle()), nullptr);
    EXPECT_FALSE(form->PopShowMenu1->Checked);
    EXPECT_EQ(ShowThumbsList, strip);  // unchanged box: the strip stays as it was
    EXPECT_EQ(form->ClientWidth(), width);

    user = [&](TForm_options& d) {
        d.CheckBox2.SetChecked(true);
        d.CheckBox3.SetChecked(!strip);
        d.Button_set.Click();
        return d.ModalResult;
    };
    form->PopSizeToDownload1Click(form.get());
    EXPECT_TRUE(ShowMainMenu);
    EXPECT_EQ(GetMenu(form->Handle()), form->MainMenu1.Handle());
    EXPECT_EQ(ShowThumbsList, !strip);
    EXPECT_EQ(form->ClientWidth(), form->Panel_Main.Width() + (ShowThumbsList ? 164 : 0));
}

TEST_F(OptionsTest, AnEmptyFieldAtOkAppliesOnlyTheFieldsBeforeIt) {
    MinFilesize = 0;
    MaxFilesize = 4096000;
    MaxFileCount = 1000;
    SaveOnExitAsk = true;
    SafeSearchT = "Moderate";
    user = [&](TForm_options& d) {
        d.Edit1.SetText("3");
        d.Edit3.SetText("");
        d.CheckBox1.SetChecked(false);
        d.ComboBox1.SetItemIndex(2);
        d.Button_set.Click();
        return d.ModalResult;
    };
    boxes.clear();
    forms::Guarded([&] { form->PopSizeToDownload1Click(form.get()); });
    EXPECT_EQ(MinFilesize, 3072);
    EXPECT_EQ(MaxFilesize, 4000 * 1024);
    EXPECT_EQ(MaxFileCount, 1000);
    EXPECT_TRUE(SaveOnExitAsk);
    EXPECT_EQ(SafeSearchT, "Moderate");
    ASSERT_FALSE(Errors().empty());
    EXPECT_EQ(Errors().back(), "'' is not a valid integer value");
}

TEST_F(OptionsTest, NoSelectionKeepsTheLevelAndNoFiltersSendsOff) {
    SafeSearchT = "Unknown";
    user = [&](TForm_options& d) {
        d.ComboBox1.SetItemIndex(-1);
        d.Button_set.Click();
        return d.ModalResult;
    };
    form->PopSizeToDownload1Click(form.get());
    EXPECT_EQ(SafeSearchT, "Unknown");

    user = [&](TForm_options& d) {
        d.ComboBox1.SetItemIndex(2);
        EXPECT_EQ(d.ComboBox1.Text(), "No filters (+18)");
        d.Button_set.Click();
        return d.ModalResult;
    };
    form->PopSizeToDownload1Click(form.get());
    EXPECT_EQ(SafeSearchT, "Off");

    // The next search asks the service with "Off".
    SearchOnce();
    auto reqs = server.requests_for("/images/search");
    ASSERT_FALSE(reqs.empty());
    EXPECT_NE(reqs[0].target.find("&safeSearch=Off&"), std::string::npos) << reqs[0].target;
    EXPECT_NE(reqs[0].target.find("&adlt=Off"), std::string::npos) << reqs[0].target;
}

// The simultaneous downloads as a person sets them: Tab from the file count, typing, the
// arrows; out-of-range values show the nearest bound; Ok stores the value and the next search
// downloads that many at once.
TEST_F(OptionsTest, SimultaneousDownloadsByKeysReachTheNextSearch) {
    SimultaneousDownloads = 1;
    std::string opened;
    user = [&](TForm_options& d) {
        opened = d.Edit4.Text();
        d.Show();
        d.Edit3.SetFocus();
        forms::ProcessMessages();
        Press(VK_TAB);
        EXPECT_TRUE(d.Edit4.Focused());
        SelectAll(d.Edit4);
        Type(d.Edit4, "9");
        EXPECT_EQ(d.Edit4.Text(), "8");
        d.UpDown4.ClickArrow(forms::ArrowButton::Up);
        EXPECT_EQ(d.Edit4.Text(), "8");
        SelectAll(d.Edit4);
        Type(d.Edit4, "-0");  // the minus never gets through; 0 shows the lower bound
        EXPECT_EQ(d.Edit4.Text(), "1");
        d.UpDown4.ClickArrow(forms::ArrowButton::Down);
        EXPECT_EQ(d.Edit4.Text(), "1");
        d.UpDown4.ClickArrow(forms::ArrowButton::Up);
        d.UpDown4.ClickArrow(forms::ArrowButton::Up);
        EXPECT_EQ(d.Edit4.Text(), "3");
        SelectAll(d.Edit4);
        Type(d.Edit4, "4");
        EXPECT_EQ(d.UpDown4.Position(), 4);
        Press(VK_TAB);  // on to the check boxes of the right column
        EXPECT_TRUE(d.CheckBox3.Focused());
        d.Button_set.Click();
        d.Hide();
        return d.ModalResult;
    };
    form->PopSizeToDownload1Click(form.get());
    EXPECT_EQ(opened, "1");
    EXPECT_EQ(SimultaneousDownloads, 4);
    EXPECT_TRUE(Errors().empty());

    EXPECT_EQ(ParallelOfASearch(), 4);
}

TEST_F(OptionsTest, StoredSimultaneousDownloadsOutsideTheRangeShowTheBoundAndResetProposesOne) {
    // (0 and 9 as read from the file: see the start-up tests.)
    for (auto [stored, shown] : {std::pair{-5, "1"}, {65540, "8"}, {6, "6"}}) {
        SimultaneousDownloads = stored;
        std::string text;
        int arrows = 0;
        user = [&](TForm_options& d) {
            text = d.Edit4.Text();
            arrows = d.UpDown4.Position();
            d.Button_reset.Click();
            EXPECT_EQ(d.Edit4.Text(), "1");
            EXPECT_EQ(d.UpDown4.Position(), 1);
            d.Button1.Click();
            return d.ModalResult;
        };
        form->PopSizeToDownload1Click(form.get());
        EXPECT_EQ(text, shown) << stored;
        EXPECT_EQ(arrows, std::stoi(shown)) << stored;
        EXPECT_EQ(SimultaneousDownloads, stored);  // Cancel keeps what was held
    }
    // A stored value that was never brought within is brought within by the search.
    SimultaneousDownloads = 9;
    EXPECT_EQ(ParallelOfASearch(), 8);
}

TEST_F(OptionsTest, AnEmptySimultaneousDownloadsFieldStopsOkBeforeTheBoxes) {
    SimultaneousDownloads = 3;
    SaveOnExitAsk = true;
    user = [&](TForm_options& d) {
        d.Edit3.SetText("200");
        d.Edit4.SetText("");
        d.CheckBox1.SetChecked(false);
        d.Button_set.Click();
        return d.ModalResult;
    };
    boxes.clear();
    forms::Guarded([&] { form->PopSizeToDownload1Click(form.get()); });
    EXPECT_EQ(MaxFileCount, 200);  // the field before it is applied
    EXPECT_EQ(SimultaneousDownloads, 3);
    EXPECT_TRUE(SaveOnExitAsk);
    ASSERT_FALSE(Errors().empty());
    EXPECT_EQ(Errors().back(), "'' is not a valid integer value");
}
