// A whole search through the real page scan, image fetcher and thumbnail maker, from the
// keyword box to the files in the target folder and the thumbnails in the strip.
#include "harness.h"

#include "platform/codepage.h"

using namespace windowtest;

namespace {

std::string JpegFile(int w, int h) {
    std::vector<uint8_t> px(static_cast<size_t>(w) * h * 4, 0x60);
    auto bytes = imaging::EncodeJpeg(px.data(), w, h, static_cast<size_t>(w) * 4, 80);
    return std::string(bytes.begin(), bytes.end());
}

// Three anchors per result: the image, its page, its site.
std::string Result(const std::string& image, const std::string& page) {
    return "<div><a class=\"thumb\" href=\"" + image + "\" h=\"ID=images,1.1\"><img src=\"t.jpg\"></a>" +
           "<a class=\"tit\" href=\"" + page + "\" h=\"ID=images,1.2\">title</a>" +
           "<a class=\"site\" href=\"http://site.example/\">site</a></div>\n";
}

struct EndToEndTest : WindowTest {
    void SetUp() override {
        WindowTest::SetUp();
        form->Search().MakeJob = engine::MakeJob;  // the program's own page scan
    }
};

TEST_F(EndToEndTest, ImagesLandInTheFolderListAndStrip) {
    server.on("/img/wide.jpg", Response::file(JpegFile(300, 200), "image/jpeg"));
    server.on("/img/tall.jpg", Response::file(JpegFile(200, 300), "image/jpeg"));
    std::string page = "<html><body><div id=\"b_SearchBoxAnswer\"></div>\n" +
                       Result(server.url("/img/wide.jpg"), "http://pages.example/a%20b") +
                       Result(server.url("/img/tall.jpg"), "http://pages.example/c") + "</body></html>";
    server.on("/images/search", [page](const Request& r) {
        return QueryValue(r.target, "first") == "1" ? Response::text(page) : Response::text("<html></html>");
    });
    mainwindow::MaxFileCount = 2;  // a search that found something asks for pages until its limit
    SearchToEnd("red car");
    ASSERT_EQ(form->ListBox1.Count(), 2);
    EXPECT_EQ(form->ListBox1.Item(0), "http://pages.example/a b");
    EXPECT_EQ(form->Thumbnail(0)->Hint(), "wide.jpg");
    EXPECT_EQ(form->Thumbnail(1)->Hint(), "tall.jpg");
    EXPECT_EQ(form->Thumbnail(0)->GetPicture().Width(), 138);
    EXPECT_EQ(form->Thumbnail(0)->GetPicture().Height(), 92);
    EXPECT_EQ(form->Thumbnail(1)->GetPicture().Height(), 108);
    EXPECT_TRUE(form->Thumbnail(1)->GetPicture().IsJpeg());
    EXPECT_NE(GetFileAttributesA((folder + "wide.jpg").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(form->Label1.Text(), "Downed: 2 images");
    EXPECT_EQ(form->Label2.Text(), "Trying: 2 of 2 images");
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Finished all downloads..."});
    // Selecting the landscape one frames its 138 x 92 picture.
    form->ListBox1.SetItemIndex(0);
    form->ListBox1Click(&form->ListBox1);
    EXPECT_EQ(form->Bevel_f.Height(), 98);
    EXPECT_EQ(form->Bevel_f.Top(), 4 + (108 - 98) / 2);
    // The same images again are skipped as fetched: nothing new.
    boxes.clear();
    SearchToEnd("red car");
    EXPECT_EQ(form->ListBox1.Count(), 0);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Want to save your search to disk before doing another ?",
                                                    "No downloads to get for this...", "Finished all downloads..."}));
}

// Keywords in three scripts typed into the keyword box (as UTF-16 characters, the way the
// keyboard sends them), then Enter: the request, the file names, the lines and the history.
TEST_F(EndToEndTest, KeywordsTypedInEveryScript) {
    struct Case {
        std::wstring typed;
        std::string utf8, query, escaped;
    };
    const Case cases[] = {{L"\x732B", "\xE7\x8C\xAB", "%E7%8C%AB", "%E7%8C%AB"},
                          {L"\x043A\x043E\x0448\x043A\x0430", "\xD0\xBA\xD0\xBE\xD1\x88\xD0\xBA\xD0\xB0",
                           "%D0%BA%D0%BE%D1%88%D0%BA%D0%B0", "%D0%BA%D0%BE%D1%88%D0%BA%D0%B0"},
                          {L"caf\x00E9 au lait", "caf\xC3\xA9 au lait", "caf%C3%A9+au+lait", "caf%C3%A9%20au%20lait"}};
    mainwindow::MaxFileCount = 1;
    mainwindow::SaveOnExitAsk = false;
    answerByText = {{"Want to save your search to disk before doing another ?", IDNO}};
    for (const Case& c : cases) {
        server.on("/img/" + c.escaped + ".jpg", Response::file(JpegFile(300, 200), "image/jpeg"));
        server.on("/images/search",
                  Response::text("<html><body>" +
                                 Result(server.url("/img/" + c.escaped + ".jpg"), "http://pages.example/" + c.escaped) +
                                 "</body></html>"));
        server.clear_requests();
        HWND edit = form->ComboBox_search.EditHandle();
        form->ComboBox_search.SetText("");
        form->ComboBox_search.SetFocus();
        for (wchar_t ch : c.typed + L"\r") PostMessageW(edit, WM_CHAR, ch, 1);
        ASSERT_TRUE(Pump([&] { return server.requests_for("/images/search").size() > 0; }));
        WaitIdle();
        auto reqs = server.requests_for("/images/search");
        ASSERT_EQ(reqs.size(), 1u);
        EXPECT_EQ(QueryValue(reqs[0].target, "q"), c.query);
        ASSERT_EQ(form->ListBox1.Count(), 1);
        EXPECT_EQ(form->ListBox1.Item(0), "http://pages.example/" + c.utf8);
        EXPECT_EQ(form->Thumbnail(0)->Hint(), c.utf8 + ".jpg");
        EXPECT_NE(GetFileAttributesW((platform::Widen(folder) + c.typed + L".jpg").c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(form->ComboBox_search.Item(0), c.utf8);
        EXPECT_EQ(form->ComboBox_search.Text(), c.utf8);
        DeleteFileW((platform::Widen(folder) + c.typed + L".jpg").c_str());
    }
}

}  // namespace

// The options' collection rules reach the search: the same bytes under two addresses are kept
// once; a list of sources that cannot be written (a folder of its name) is said once and the
// search goes on; once it can be, it gets a row for each file kept.
TEST_F(EndToEndTest, WhatTheOptionsSayASearchKeeps) {
    const std::string jpeg = JpegFile(300, 200);
    for (const char* n : {"/img/a.jpg", "/img/b.jpg", "/img/c.jpg"})
        server.on(n, Response::file(n[5] == 'c' ? JpegFile(200, 300) : jpeg, "image/jpeg"));
    server.on("/images/search", [this](const Request& r) {
        if (QueryValue(r.target, "first") != "1") return Response::text("<html></html>");
        return Response::text("<html><body><div id=\"b_SearchBoxAnswer\"></div>\n" +
                              Result(server.url("/img/a.jpg"), "http://pages.example/a") +
                              Result(server.url("/img/b.jpg"), "http://pages.example/b") +
                              Result(server.url("/img/c.jpg"), "http://pages.example/c") + "</body></html>");
    });
    mainwindow::MaxFileCount = 3;
    mainwindow::SaveOnExitAsk = false;
    mainwindow::Prefs.SkipIdentical = mainwindow::Prefs.WriteSources = true;
    mainwindow::Prefs.MinWidth = -5;  // as a hand-edited file may hold it: no limit
    ASSERT_TRUE(CreateDirectoryA((folder + "sources.csv").c_str(), nullptr));
    SearchToEnd("twins");
    EXPECT_EQ(form->ListBox1.Count(), 2);
    EXPECT_EQ(GetFileAttributesA((folder + "b.jpg").c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_EQ(Texts(forms::BoxKind::Warning).size(), 1u);
    EXPECT_NE(Texts(forms::BoxKind::Warning)[0].find("sources.csv"), std::string::npos);

    RemoveDirectoryA((folder + "sources.csv").c_str());
    DeleteFileA((folder + "c.jpg").c_str());
    boxes.clear();
    // a.jpg was fetched before; b.jpg, refused as identical before, is kept with the rule off;
    // the upright c.jpg is too narrow now.
    mainwindow::Prefs.SkipIdentical = false;
    mainwindow::Prefs.MinWidth = 250;
    SearchToEnd("twins again");
    EXPECT_EQ(form->ListBox1.Count(), 1);
    EXPECT_TRUE(Texts(forms::BoxKind::Warning).empty());
    const std::string rows = TempFolder::Read(folder + "sources.csv");
    EXPECT_EQ(rows.rfind("\xEF\xBB\xBF"
                         "file,image_url,",
                         0),
              0u)
        << rows;
    EXPECT_NE(rows.find("\r\nb.jpg," + server.url("/img/b.jpg") + ",http://pages.example/b,twins again,,nl-NL,"),
              std::string::npos)
        << rows;
    EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 2);
}
