#include "savedsearch/chooser.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "forms/msgbox.h"
#include "savedsearch/setfiles.h"
#include "settings/settingsfile.h"
#include "support/environment.h"
#include "support/temp_folder.h"

using namespace savedsearch;

namespace {

class Chooser : public testsupport::TempFolderTest {
protected:
    void SetUp() override {
        dialog.Folder = folder;
        for (const char* n : {"red+car", "blue+sky", "cats"}) WriteSet(Base(n), {});
    }
    std::vector<std::string> Items() {
        std::vector<std::string> v;
        for (int i = 0; i < dialog.ComboBox_search->Count(); ++i) v.push_back(dialog.ComboBox_search->Item(i));
        return v;
    }
    void SetLastLoaded(int v) { settings::SettingsFile(folder + "Quenby.ini").WriteInteger(settings::kLastLoaded, v); }

    testsupport::EnvironmentScope env;
    TForm_oldsearchs dialog;
};

}  // namespace

TEST_F(Chooser, ListsSetsByThumbnailFileAndPreselectsTheLastLoaded) {
    DeleteFileA((Base("cats") + kLinkExt).c_str());  // still listed
    WriteSet(Base("gone"), {});
    DeleteFileA((Base("gone") + kThumbExt).c_str());  // not listed

    dialog.FormShow(&dialog);
    auto items = Items();
    EXPECT_EQ(items, FindSavedSearches(folder));  // the file system's order, unsorted
    std::sort(items.begin(), items.end());
    EXPECT_EQ(items, (std::vector<std::string>{"blue+sky", "cats", "red+car"}));
    // No LastLoaded yet: the last item found.
    EXPECT_EQ(dialog.ComboBox_search->ItemIndex(), 2);
    EXPECT_EQ(dialog.ComboBox_search->Text(), Items()[2]);

    SetLastLoaded(0);
    dialog.FormShow(&dialog);
    EXPECT_EQ(dialog.ComboBox_search->ItemIndex(), 0);
    EXPECT_EQ(Items().size(), 3u);  // refilled, not appended

    for (int outside : {3, -1, 1000}) {
        SetLastLoaded(outside);
        dialog.FormShow(&dialog);
        EXPECT_EQ(dialog.ComboBox_search->ItemIndex(), -1) << outside;
        EXPECT_EQ(dialog.ComboBox_search->Text(), "");
    }
}

TEST_F(Chooser, ShowingFillsTheListAndTheButtonsGiveTheResult) {
    int seen = -1;
    env.forms.modal = [&](forms::Form&) {
        seen = dialog.ComboBox_search->Count();
        dialog.Button_load->Click();
        return dialog.ModalResult;
    };
    env.Install();
    EXPECT_EQ(dialog.ShowModal(), forms::mrOk);
    EXPECT_EQ(seen, 3);
    env.forms.modal = [&](forms::Form&) {
        dialog.Button_cancel->Click();
        return dialog.ModalResult;
    };
    env.Install();
    EXPECT_EQ(dialog.ShowModal(), forms::mrCancel);
}

TEST_F(Chooser, DeleteAsksThenRemovesTheThreeFilesAndTheItem) {
    SetLastLoaded(0);
    dialog.FormShow(&dialog);
    std::string victim = dialog.ComboBox_search->Text();
    std::vector<forms::BoxCall> calls;
    int answer = IDCANCEL;
    env.forms.box = [&](const forms::BoxCall& c) {
        calls.push_back(c);
        return answer;
    };
    env.Install();

    dialog.Button_delete->Click();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].kind, forms::BoxKind::Confirm);
    EXPECT_EQ(calls[0].text, "Sure to delete this saved  '" + victim + "'  search definitively ?");
    EXPECT_EQ(calls[0].flags, forms::kBoxYesCancel);
    EXPECT_TRUE(FileExists(Base(victim) + kThumbExt));
    EXPECT_EQ(dialog.ComboBox_search->Count(), 3);

    answer = IDYES;
    dialog.Button_delete->Click();
    for (const char* ext : {kThumbExt, kNameExt, kLinkExt}) EXPECT_FALSE(FileExists(Base(victim) + ext));
    EXPECT_EQ(dialog.ComboBox_search->Count(), 2);
    auto left = Items();
    EXPECT_EQ(std::count(left.begin(), left.end(), victim), 0);

    // Nothing selected: the question names nothing and no item goes.
    dialog.ComboBox_search->SetItemIndex(-1);
    dialog.Button_delete->Click();
    EXPECT_EQ(calls.back().text, "Sure to delete this saved  ''  search definitively ?");
    EXPECT_EQ(dialog.ComboBox_search->Count(), 2);
}
