// The search service's filters in the settings file: written at close in a section of their
// own, read back at the next start, and whatever else the file holds never sent as it stands.
#include "harness.h"

using namespace mainwindow;
using testsupport::Response;
using windowtest::MainWindowTest;

namespace {

const char* const kFilterKeyNames[] = {"Size", "Color", "Type", "Layout", "People", "Date", "License"};

}  // namespace

class FilterSettings : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        env.mainwindow.searchStartPauseMs = 0;
        env.Install();
        connectionTest = [] { return true; };
        server.on("/images/search", Response::text("<html><body></body></html>"));
        onModal = [this](forms::Form& f) -> int {
            if (&f != filters.get() || !user) return forms::mrCancel;
            return user(*filters);
        };
    }
    // A search from the window as it is (the real page scan; the page holds nothing); the
    // request line's target of its page.
    std::string SearchTarget() {
        form->SearchService = server.base();
        SavePath = folder;
        server.clear_requests();
        form->ComboBox_search.SetText("red car");
        form->Button_search.Click();
        EXPECT_TRUE(
            forms::WaitUntil([&] { return !form->Search().CommandBusy() && !form->Search().JobAlive(); }, 20000));
        auto reqs = server.requests_for("/images/search");
        return reqs.empty() ? std::string() : reqs.front().target;
    }
    std::string Tail(const std::string& target) { return target.substr(target.find("&safeSearch=")); }

    std::function<int(settings::TForm_filters&)> user;
};

TEST_F(FilterSettings, AFirstCloseWritesTheSectionWithNoFilterAndTheDefaultMarket) {
    Open();
    EXPECT_TRUE(SearchFilters.Plain());
    EXPECT_FALSE(form->Label_filters.Visible());
    form->Close();
    for (const char* key : kFilterKeyNames) EXPECT_EQ(Stored("Filters", key), "") << key;
    EXPECT_EQ(Stored("Filters", "Market"), "nl-NL");
    EXPECT_NE(ReadIni().find("[Filters]"), std::string::npos);
}

TEST_F(FilterSettings, TheChoiceSurvivesARestart) {
    Open();
    user = [](settings::TForm_filters& d) {
        d.ComboBox_size.SetItemIndex(3);
        d.ComboBox_license.SetItemIndex(4);
        d.ComboBox_date.SetItemIndex(2);
        for (int i = 0; i < d.ComboBox_market.Count(); ++i)
            if (d.ComboBox_market.Item(i) == "en-US") d.ComboBox_market.SetItemIndex(i);
        return forms::mrOk;
    };
    form->MainMenu_Filters->Click();
    form->Close();
    EXPECT_EQ(Stored("Filters", "Size"), "imagesize-large");
    EXPECT_EQ(Stored("Filters", "License"), "license-L2_L3_L4");
    EXPECT_EQ(Stored("Filters", "Date"), "age-lt10080");
    EXPECT_EQ(Stored("Filters", "Color"), "");
    EXPECT_EQ(Stored("Filters", "Market"), "en-US");

    Reopen();
    EXPECT_EQ(settings::FilterQuery(SearchFilters),
              "+filterui:imagesize-large+filterui:age-lt10080+filterui:license-L2_L3_L4");
    EXPECT_EQ(SearchFilters.market, "en-US");
    EXPECT_EQ(form->Label_filters.Text(),
              "Filters: large, past week, free to share and use commercially; market en-US");
    EXPECT_TRUE(IsWindowVisible(form->Label_filters.Handle()));
    int seen = 0;
    user = [&](settings::TForm_filters& d) {
        ++seen;
        EXPECT_EQ(d.ComboBox_size.Text(), "Large");
        EXPECT_EQ(d.ComboBox_license.Text(), "Free to share and use commercially");
        EXPECT_EQ(d.ComboBox_date.Text(), "Past week");
        EXPECT_EQ(d.ComboBox_type.Text(), "Any");
        EXPECT_EQ(d.ComboBox_market.Text(), "en-US");
        return forms::mrCancel;
    };
    form->PopFilters1->Click();
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(Tail(SearchTarget()),
              "&safeSearch=Moderate&mkt=en-US&adlt=Moderate"
              "&qft=+filterui:imagesize-large+filterui:age-lt10080+filterui:license-L2_L3_L4");
}

// Unknown, doubled, empty and absurdly long values are no filter; the valid rest is sent.
TEST_F(FilterSettings, ValuesThatAreNoCodeAreNeverSent) {
    WriteIni(
        "[Filters]\r\nSize=huge\r\nSize=imagesize-small\r\n"
        "Color=color2-FGcls_RED+filterui:imagesize-large\r\nType=photo-photo\r\nLayout=\r\n"
        "People=" +
        std::string(5000, 'f') + "\r\nDate=age-lt1440&adlt=Off\r\nLicense=license-L1\r\nMarket=en-US&adlt=Off\r\n");
    Open();
    EXPECT_EQ(settings::FilterQuery(SearchFilters), "+filterui:photo-photo+filterui:license-L1");
    EXPECT_EQ(SearchFilters.market, "nl-NL");
    EXPECT_EQ(form->Label_filters.Text(), "Filters: photo, public domain");
    EXPECT_EQ(Tail(SearchTarget()),
              "&safeSearch=Moderate&mkt=nl-NL&adlt=Moderate&qft=+filterui:photo-photo+filterui:license-L1");
    // The close writes back only what is in force.
    form->Close();
    EXPECT_EQ(Stored("Filters", "Size"), "");
    EXPECT_EQ(Stored("Filters", "People"), "");
    EXPECT_EQ(Stored("Filters", "Type"), "photo-photo");
    EXPECT_EQ(Stored("Filters", "Market"), "nl-NL");
}

TEST_F(FilterSettings, AMarketThatWouldBreakTheQueryIsTheDefaultOne) {
    for (const std::string& market :
         std::vector<std::string>{"en-US#top", "en US", "en-US&mkt=x", "\"en-US x\"", std::string(3000, 'a')}) {
        WriteIni("[Filters]\r\nMarket=" + market + "\r\nSize=imagesize-wallpaper\r\n");
        Reopen();
        EXPECT_EQ(SearchFilters.market, "nl-NL") << market;
        EXPECT_EQ(Tail(SearchTarget()),
                  "&safeSearch=Moderate&mkt=nl-NL&adlt=Moderate&qft=+filterui:imagesize-wallpaper")
            << market;
    }
}

// A valid market that the list does not offer is kept: the list takes it at its end.
TEST_F(FilterSettings, AnUncommonMarketJoinsTheList) {
    WriteIni("[Filters]\r\nMarket=sv-FI\r\n");
    Open();
    EXPECT_EQ(form->Label_filters.Text(), "Market: sv-FI");
    user = [](settings::TForm_filters& d) {
        EXPECT_EQ(d.ComboBox_market.Text(), "sv-FI");
        EXPECT_EQ(d.ComboBox_market.Item(d.ComboBox_market.Count() - 1), "sv-FI");
        d.ComboBox_color.SetItemIndex(2);
        return forms::mrOk;
    };
    form->MainMenu_Filters->Click();
    EXPECT_EQ(SearchFilters.market, "sv-FI");
    EXPECT_EQ(Tail(SearchTarget()), "&safeSearch=Moderate&mkt=sv-FI&adlt=Moderate&qft=+filterui:color2-bw");
}
