// The Filters dialog from the main window's menus: filled from the filters in force, Cancel,
// Reset and Ok, the window's filter line, and the request each search then makes.
#include "harness.h"

using namespace windowtest;
using mainwindow::SearchFilters;
using settings::TForm_filters;

namespace {

const std::string kPlainTail = "&safeSearch=Moderate&mkt=nl-NL&adlt=Moderate";

struct FiltersTest : WindowTest {
    // What the user does while the dialog is up; returns the button's result.
    std::function<int(TForm_filters&)> user;
    int shown = 0;

    void SetUp() override {
        WindowTest::SetUp();
        onModal = [this](forms::Form& f) -> int {
            if (&f != filters.get()) return forms::mrCancel;
            ++shown;
            return user ? user(*filters) : forms::mrCancel;
        };
    }
    // The request line's target of the last search's first page.
    std::string LastRequest() {
        auto reqs = server.requests_for("/images/search");
        return reqs.empty() ? std::string() : reqs.front().target;
    }
    std::string SearchRequest(const std::string& keywords = "red car") {
        server.clear_requests();
        boxes.clear();
        SearchToEnd(keywords);
        return LastRequest();
    }
};

}  // namespace

TEST_F(FiltersTest, MenusOfBothKindsOpenTheDialogFilledWithAnyAndTheDefaultMarket) {
    EXPECT_EQ(form->MainMenu_Filters->Caption, "&Filters...");
    EXPECT_EQ(form->PopFilters1->Caption, "&Filters...");
    int rows = 0;
    user = [&](TForm_filters& d) {
        EXPECT_EQ(d.Caption(), "  Filters of the search service");
        for (forms::DropDownList* list : d.GroupLists()) {
            EXPECT_EQ(list->ItemIndex(), 0);
            EXPECT_EQ(list->Text(), "Any");
        }
        EXPECT_EQ(d.ComboBox_market.Text(), "nl-NL");
        EXPECT_EQ(d.ComboBox_market.Item(0), "nl-NL");
        EXPECT_GT(d.ComboBox_market.Count(), 10);
        rows = d.ComboBox_license.Count();
        EXPECT_EQ(d.ComboBox_license.Item(4), "Free to share and use commercially");
        EXPECT_EQ(d.ComboBox_size.Item(3), "Large");
        return forms::mrCancel;
    };
    form->MainMenu_Filters->Click();
    form->PopFilters1->Click();
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(rows, 7);  // "Any" and the six licences
}

TEST_F(FiltersTest, OkAppliesTheLineShowsAndTheRequestCarriesTheFilters) {
    std::string target = SearchRequest();
    EXPECT_EQ(target, "/images/search?q=red+car&first=1&count=28&maxFileSize=4096000&minFileSize=0" + kPlainTail);
    user = [](TForm_filters& d) {
        d.ComboBox_license.SetItemIndex(4);
        d.ComboBox_size.SetItemIndex(3);
        return forms::mrOk;
    };
    const int listTop = form->ListBox1.Top();
    form->MainMenu_Filters->Click();
    EXPECT_EQ(settings::FilterQuery(SearchFilters), "+filterui:imagesize-large+filterui:license-L2_L3_L4");
    EXPECT_TRUE(form->Label_filters.Visible());
    EXPECT_TRUE(IsWindowVisible(form->Label_filters.Handle()));
    EXPECT_EQ(form->Label_filters.Text(), "Filters: large, free to share and use commercially");
    EXPECT_EQ(form->ListBox1.Top(), listTop + 16);  // the band grew by the line

    target = SearchRequest("green sea");  // new images: those of red car are fetched already
    EXPECT_EQ(target.substr(target.find("&safeSearch=")),
              kPlainTail + "&qft=+filterui:imagesize-large+filterui:license-L2_L3_L4");
    EXPECT_EQ(QueryValue(target, "q"), "green+sea");
    ASSERT_EQ(form->ListBox1.Count(), 5);  // the search itself goes as ever

    // Reset and Ok: back to the plain request, the line and its band gone.
    user = [](TForm_filters& d) {
        EXPECT_EQ(d.ComboBox_size.Text(), "Large");  // filled from the choice in force
        EXPECT_EQ(d.ComboBox_license.Text(), "Free to share and use commercially");
        d.Button_reset.Click();
        for (forms::DropDownList* list : d.GroupLists()) EXPECT_EQ(list->ItemIndex(), 0);
        EXPECT_EQ(d.ComboBox_market.Text(), "nl-NL");
        return forms::mrOk;
    };
    form->PopFilters1->Click();
    EXPECT_TRUE(SearchFilters.Plain());
    EXPECT_FALSE(IsWindowVisible(form->Label_filters.Handle()));
    EXPECT_EQ(form->ListBox1.Top(), listTop);
    target = SearchRequest("blue");
    EXPECT_EQ(target, "/images/search?q=blue&first=1&count=28&maxFileSize=4096000&minFileSize=0" + kPlainTail);
}

TEST_F(FiltersTest, CancelLeavesEverythingUntouched) {
    user = [](TForm_filters& d) {
        d.ComboBox_type.SetItemIndex(1);
        d.ComboBox_market.SetItemIndex(d.ComboBox_market.Count() - 1);
        return forms::mrOk;
    };
    form->MainMenu_Filters->Click();
    settings::FilterChoice before = SearchFilters;
    std::string line = form->Label_filters.Text();
    ASSERT_EQ(settings::FilterQuery(before), "+filterui:photo-photo");
    ASSERT_NE(before.market, "nl-NL");

    user = [](TForm_filters& d) {
        for (forms::DropDownList* list : d.GroupLists()) list->SetItemIndex(list->Count() - 1);
        d.Button_reset.Click();
        d.ComboBox_date.SetItemIndex(2);
        return forms::mrCancel;
    };
    form->PopFilters1->Click();
    EXPECT_EQ(SearchFilters, before);
    EXPECT_EQ(form->Label_filters.Text(), line);
    std::string target = SearchRequest();
    EXPECT_NE(target.find("&mkt=" + before.market + "&adlt=Moderate&qft=+filterui:photo-photo"), std::string::npos)
        << target;
    EXPECT_EQ(target.find("age-"), std::string::npos);
}

TEST_F(FiltersTest, AMarketAloneReplacesTheDefaultOne) {
    user = [](TForm_filters& d) {
        for (int i = 0; i < d.ComboBox_market.Count(); ++i)
            if (d.ComboBox_market.Item(i) == "de-DE") d.ComboBox_market.SetItemIndex(i);
        return forms::mrOk;
    };
    form->MainMenu_Filters->Click();
    EXPECT_EQ(form->Label_filters.Text(), "Market: de-DE");
    std::string target = SearchRequest();
    EXPECT_EQ(target.substr(target.find("&safeSearch=")), "&safeSearch=Moderate&mkt=de-DE&adlt=Moderate");
}

TEST_F(FiltersTest, TheChoiceIsCopiedIntoEachSearchAndLockedWhileOneRuns) {
    user = [](TForm_filters& d) {
        d.ComboBox_people.SetItemIndex(1);
        return forms::mrOk;
    };
    form->MainMenu_Filters->Click();
    LongSearches();
    Search("cats");
    ExpectSearchingControls(true);  // the filters items among them
    // Even set meanwhile from elsewhere, the running search keeps what it was started with.
    SearchFilters = {};
    ASSERT_TRUE(Pump([&] { return server.requests_for("/images/search").size() >= 2; }));
    form->Search().StopJob();
    WaitIdle();
    ExpectSearchingControls(false);
    for (auto& r : server.requests_for("/images/search"))
        EXPECT_NE(r.target.find("&qft=+filterui:face-face"), std::string::npos) << r.target;
}
