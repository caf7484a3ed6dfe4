// The save and load commands with the main window and the chooser, over real files beside
// the test executable.
#include "platform/application.h"
#include "mainwindow/stripgeom.h"
#include "savedsearch/setfiles.h"
#include "harness.h"

using namespace mainwindow;
using namespace savedsearch;

namespace {

Bytes MakeJpeg(int w, int h, uint8_t shade) {
    std::vector<uint8_t> px(static_cast<size_t>(w) * h * 4, shade);
    return imaging::EncodeJpeg(px.data(), w, h, static_cast<size_t>(w) * 4, 70);
}

Bytes FileBytes(const std::string& path) { return FileExists(path) ? ReadWholeFile(path, true) : Bytes{}; }

void RemoveSets(const std::string& folder) {
    for (const char* pattern : {"*.QBI", "*.QBJ", "*.QBL", "Quenby.ini"}) {
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((folder + pattern).c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE) continue;
        do DeleteFileA((folder + fd.cFileName).c_str());
        while (FindNextFileA(h, &fd));
        FindClose(h);
    }
}

struct SaveLoad : windowtest::MainWindowTest {
    int confirmAnswer = IDYES;
    std::string pick;  // the chooser's item to load; empty: nothing selected
    int chooserResult = forms::mrOk;
    const std::string sets = platform::ExeFolder();

    void SetUp() override {
        RemoveSets(sets);
        MainWindowTest::SetUp();
        // The window's settings file is the chooser's, beside the program.
        env.settings.settingsPath.clear();
        env.Install();
        boxAnswer = [this](const forms::BoxCall& c) {
            return c.kind == forms::BoxKind::Confirm ? confirmAnswer : IDOK;
        };
        Open();
        onModal = [this](forms::Form&) {
            int i = -1;
            for (int k = 0; k < chooser->ComboBox_search->Count(); ++k)
                if (chooser->ComboBox_search->Item(k) == pick) i = k;
            chooser->ComboBox_search->SetItemIndex(i);
            return chooserResult;
        };
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        RemoveSets(sets);
    }

    void AddEntry(const std::string& line, const Bytes& jpeg, const std::string& file) {
        auto pic = std::make_unique<imaging::Picture>();
        pic->SetJpegBytes(jpeg);
        form->AddResultEntry(line, "http://img.test/" + file, file, std::move(pic));
    }
    // Runs a command as a menu click does: an error it throws goes to the error box.
    void Run(void (TForm1::*cmd)(forms::Component*)) {
        boxes.clear();
        forms::Guarded([&] { (form.get()->*cmd)(form.get()); });
    }
    void Save() { Run(&TForm1::PopSave1Click); }
    void Load(const std::string& name) {
        pick = name;
        Run(&TForm1::PopLoad1Click);
    }
    std::vector<std::string> Lines() const {
        std::vector<std::string> out;
        for (int i = 0; i < form->ListBox1.Count(); ++i) out.push_back(form->ListBox1.Item(i));
        return out;
    }
    int ThumbCount() const {
        int n = 0;
        for (forms::Control* c : form->ScrollBox1.Controls())
            if (c->Name.rfind("Image_", 0) == 0) ++n;
        return n;
    }
    std::string Base(const std::string& name) const { return sets + name; }
};

const std::string kSaved = "Saved search results to disk.";

}  // namespace

TEST_F(SaveLoad, SaveThenLoadBringsBackEveryEntryAndSavingAgainGivesTheSameBytes) {
    Bytes a = MakeJpeg(138, 80, 40), b = MakeJpeg(60, 108, 200), c = MakeJpeg(32, 32, 90);
    AddEntry("http://pages.test/one", a, "one.jpg");
    AddEntry("http://pages.test/two", b, "");
    AddEntry("http://pages.test/three", c, "three_1.jpg");
    QueryKeywords = "red+car";
    Save();
    EXPECT_EQ(Texts(forms::BoxKind::Information), std::vector<std::string>{kSaved});
    EXPECT_TRUE(form->Search().Saved());

    Bytes thumbs = FileBytes(Base("red+car.QBI"));
    ASSERT_EQ(thumbs.size(), 12 + a.size() + b.size() + c.size());
    EXPECT_EQ(Bytes(thumbs.begin() + 4, thumbs.begin() + 4 + a.size()), a);
    uint32_t second = thumbs[4 + a.size()] | thumbs[5 + a.size()] << 8;  // right after the first
    EXPECT_EQ(second, b.size());
    Bytes names = FileBytes(Base("red+car.QBJ"));
    EXPECT_EQ(names.size(), 4 + 7 + 4 + 4 + 11u);
    std::string links = "http://pages.test/one\r\nhttp://pages.test/two\r\nhttp://pages.test/three\r\n";
    EXPECT_EQ(FileBytes(Base("red+car.QBL")), Bytes(links.begin(), links.end()));

    // Load it over other entries, as a later session would.
    form->Search().SetSaved(false);
    AddEntry("http://pages.test/other", a, "x.jpg");
    form->ComboBox_search.InsertItem(0, "dogs");
    form->ComboBox_search.InsertItem(1, "RED+CAR");
    Load("red+car");
    EXPECT_TRUE(Texts(forms::BoxKind::Error).empty());
    EXPECT_EQ(Lines(),
              (std::vector<std::string>{"http://pages.test/one", "http://pages.test/two", "http://pages.test/three"}));
    ASSERT_EQ(ThumbCount(), 3);
    const Bytes* want[] = {&a, &b, &c};
    const char* hints[] = {"one.jpg", "", "three_1.jpg"};
    for (int i = 0; i < 3; ++i) {
        forms::Image* t = form->Thumbnail(i);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->Tag, i);
        EXPECT_EQ(t->GetPicture().JpegBytes(), *want[i]);
        EXPECT_EQ(t->Hint(), hints[i]);
        EXPECT_FALSE(t->ShowHint());  // loaded thumbnails show no tooltip
        EXPECT_EQ(t->Top(), ThumbContentTop(i));
        EXPECT_EQ(t->Left(), 5);
        EXPECT_EQ(t->Width(), 138);
        EXPECT_EQ(t->Height(), 108);
    }
    EXPECT_EQ(form->Thumbnail(0)->GetPicture().Width(), 138);  // decoded for drawing
    // The history item already there moves to the top, once, as stored.
    EXPECT_EQ(form->ComboBox_search.Item(0), "RED+CAR");
    EXPECT_EQ(form->ComboBox_search.Count(), 2);
    EXPECT_EQ(form->ComboBox_search.ItemIndex(), 0);
    EXPECT_EQ(form->Label2.Text(), "Doing: 3 of 3");
    EXPECT_EQ(settings::SettingsFile(sets + "Quenby.ini").ReadInteger(settings::kLastLoaded, -7),
              chooser->ComboBox_search->ItemIndex());
    EXPECT_TRUE(form->Search().Saved());
    EXPECT_EQ(QueryKeywords, "red+car");

    // Saved again (under the loaded name, after the question): the very same bytes.
    Bytes before[3] = {thumbs, names, FileBytes(Base("red+car.QBL"))};
    QueryKeywords = "something+else";
    Save();
    ASSERT_EQ(Texts(forms::BoxKind::Confirm),
              std::vector<std::string>{"File already exists. Want to overwrite it with this new data?"});
    EXPECT_EQ(boxes[0].flags, forms::kBoxYesCancel);
    EXPECT_EQ(FileBytes(Base("red+car.QBI")), before[0]);
    EXPECT_EQ(FileBytes(Base("red+car.QBJ")), before[1]);
    EXPECT_EQ(FileBytes(Base("red+car.QBL")), before[2]);
    EXPECT_FALSE(FileExists(Base("something+else.QBI")));
}

TEST_F(SaveLoad, OverwriteIsAskedOnlyForAThumbnailFileAndCancelKeepsTheOldSet) {
    WriteSet(Base("cats"), {{MakeJpeg(8, 8, 1)}, {"old.jpg"}, {"http://old.test/"}});
    Bytes old = FileBytes(Base("cats.QBI"));
    AddEntry("http://new.test/", MakeJpeg(20, 20, 5), "new.jpg");
    QueryKeywords = "cats";
    confirmAnswer = IDCANCEL;
    Save();
    EXPECT_EQ(Texts(forms::BoxKind::Confirm).size(), 1u);
    EXPECT_TRUE(Texts(forms::BoxKind::Information).empty());
    EXPECT_EQ(FileBytes(Base("cats.QBI")), old);
    EXPECT_FALSE(form->Search().Saved());

    confirmAnswer = IDYES;
    Save();
    EXPECT_EQ(Texts(forms::BoxKind::Information), std::vector<std::string>{kSaved});
    EXPECT_NE(FileBytes(Base("cats.QBI")), old);
    EXPECT_EQ(ReadNameRecords(FileBytes(Base("cats.QBJ")), 1)[0], "new.jpg");

    // Only a link file of that name: no question, all three written.
    DeleteFileA(Base("cats.QBI").c_str());
    Save();
    EXPECT_TRUE(Texts(forms::BoxKind::Confirm).empty());
    EXPECT_TRUE(FileExists(Base("cats.QBI")));
}

TEST_F(SaveLoad, AKeywordAFileCannotBeNamedAfterFailsWithTheCreationError) {
    AddEntry("http://x.test/", MakeJpeg(10, 10, 3), "x.jpg");
    QueryKeywords = "say+\"hi\"";
    Save();
    auto errors = Texts(forms::BoxKind::Error);
    ASSERT_EQ(errors.size(), 1u);
    std::string want = "Cannot create file \"" + Base("say+\"hi\"") + ".QBI\". ";
    EXPECT_EQ(errors[0].substr(0, want.size()), want);
    EXPECT_TRUE(Texts(forms::BoxKind::Information).empty());
    EXPECT_FALSE(form->Search().Saved());

    // Nor is a file written outside the program's folder by keywords with a folder part.
    for (const char* ext : {".QBI", ".QBJ", ".QBL"}) DeleteFileA((sets + "..\\..\\up" + ext).c_str());
    for (const std::string keywords : {"..\\..\\up", "sub/dir", "C:x"}) {
        QueryKeywords = keywords;
        Save();
        ASSERT_EQ(Texts(forms::BoxKind::Error).size(), 1u) << keywords;
        EXPECT_EQ(Texts(forms::BoxKind::Error)[0].rfind("Cannot create file \"" + Base(keywords) + ".QBI\". ", 0), 0u);
        EXPECT_FALSE(FileExists(sets + "..\\..\\up.QBI"));
    }
}

TEST_F(SaveLoad, SavesThatCannotBeDoneSayWhyAndAThumbnailWithoutDataIsKept) {
    AddEntry("http://x.test/", MakeJpeg(10, 10, 3), "x.jpg");
    QueryKeywords = "";
    Save();
    ASSERT_EQ(Texts(forms::BoxKind::Information).size(), 1u);
    EXPECT_NE(Texts(forms::BoxKind::Information)[0].find("not saved"), std::string::npos);

    // A thumbnail without JPEG data (a picture that failed to render) does not block the save:
    // it is kept as an entry without a picture.
    QueryKeywords = "spacer";
    auto empty = std::make_unique<imaging::Picture>();
    empty->SetEmptyJpeg();
    form->AddResultEntry("http://y.test/", "http://img.test/y", "y.jpg", std::move(empty));
    Save();
    EXPECT_EQ(Texts(forms::BoxKind::Information), std::vector<std::string>{kSaved});
    Load("spacer");
    EXPECT_EQ(Lines(), (std::vector<std::string>{"http://x.test/", "http://y.test/"}));
    EXPECT_FALSE(form->Thumbnail(0)->GetPicture().Empty());
    EXPECT_TRUE(form->Thumbnail(1)->GetPicture().Empty());
    EXPECT_EQ(form->Thumbnail(1)->Hint(), "y.jpg");

    form->Search().MarkRunning();
    Save();
    EXPECT_EQ(Texts(forms::BoxKind::Information),
              std::vector<std::string>{"Don't save during a running search,\rstop it first..."});
    Load("x");
    EXPECT_EQ(Texts(forms::BoxKind::Information),
              std::vector<std::string>{"Don't load during a running search,\rstop it first..."});
    form->Search().Stop();
}

TEST_F(SaveLoad, LoadStopsBeforeChangingAnythingWithoutAChoiceOrALinkFile) {
    AddEntry("http://keep.test/", MakeJpeg(10, 10, 3), "k.jpg");
    chooserResult = forms::mrCancel;
    Load("anything");
    EXPECT_TRUE(boxes.empty());
    chooserResult = forms::mrOk;
    Load("");  // empty list, or nothing selected
    EXPECT_EQ(Texts(forms::BoxKind::Information), std::vector<std::string>{"No file selected ..."});
    WriteSet(Base("lost"), {});
    DeleteFileA(Base("lost.QBL").c_str());
    Load("lost");
    EXPECT_EQ(Texts(forms::BoxKind::Information), std::vector<std::string>{"No file for those keywords found ..."});
    EXPECT_EQ(Lines(), std::vector<std::string>{"http://keep.test/"});
    EXPECT_EQ(ThumbCount(), 1);
}

TEST_F(SaveLoad, ThreeEmptyFilesLoadAsAnEmptySet) {
    AddEntry("http://a.test/", MakeJpeg(10, 10, 3), "a.jpg");
    AddEntry("http://b.test/", MakeJpeg(10, 10, 4), "b.jpg");
    WriteSet(Base("nothing"), {});
    Load("nothing");
    EXPECT_TRUE(Texts(forms::BoxKind::Error).empty());
    EXPECT_TRUE(Lines().empty());
    EXPECT_EQ(ThumbCount(), 0);
    EXPECT_EQ(form->Label2.Text(), "Doing: 0 of 0");
    EXPECT_TRUE(form->Search().Saved());
}

// A file held by another program, or a settings file that refuses the chooser's place: the
// error says why, and the list, its name and its saved state stay as they were, so a later
// save goes back where the list came from.
TEST_F(SaveLoad, ALoadThatFailsAnywhereChangesNothing) {
    WriteSet(Base("first"), {{MakeJpeg(8, 8, 1)}, {"f.jpg"}, {"http://first.test/"}});
    WriteSet(Base("half"), {{MakeJpeg(8, 8, 1)}, {"n.jpg"}, {"http://loaded.test/"}});
    Load("first");
    const std::string label = form->Label2.Text(), ini = sets + "Quenby.ini";
    auto failsWith = [&](const std::string& error) {
        auto errors = Texts(forms::BoxKind::Error);
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0].substr(0, error.size()), error);
        EXPECT_EQ(Lines(), std::vector<std::string>{"http://first.test/"});
        ASSERT_EQ(ThumbCount(), 1);
        EXPECT_EQ(form->Thumbnail(0)->Hint(), "f.jpg");
        EXPECT_EQ(form->Label2.Text(), label);
        EXPECT_TRUE(form->Search().Saved());
    };
    for (const std::string ext : {".QBI", ".QBJ"}) {
        HANDLE held = CreateFileA(Base("half" + ext).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        Load("half");
        CloseHandle(held);
        failsWith("Cannot open file \"" + Base("half" + ext) + "\". ");
    }
    DeleteFileA(ini.c_str());
    CreateDirectoryA(ini.c_str(), nullptr);  // the settings file's name taken by a folder
    Load("half");
    RemoveDirectoryA(ini.c_str());
    failsWith("Unable to write to " + ini);

    Save();
    EXPECT_EQ(ReadNameRecords(FileBytes(Base("half.QBJ")), 1)[0], "n.jpg");
    EXPECT_EQ(ReadNameRecords(FileBytes(Base("first.QBJ")), 1)[0], "f.jpg");
}

// A set made by someone else: lines naming programs, paths and other schemes, names reaching
// out of the target folder. Nothing reaches the shell but a web address; every refusal says why.
TEST_F(SaveLoad, AHostileSetRunsNothing) {
    const std::vector<std::string> lines = {"Z:\\tmp\\marker.exe", "\\\\server\\share\\x.exe", "file:///C:/x.exe",
                                            "http://ok.test/a",    "https://ok.test/b",        "mailto:x@y"};
    const std::vector<std::string> names = {"..\\marker2.exe", "x.jpg:evil.exe", "\\\\?\\C:\\x.jpg",
                                            "CON.jpg",         "run.exe",        "fine.jpg"};
    WriteSet(Base("hostile"), {std::vector<Bytes>(6, MakeJpeg(8, 8, 1)), names, lines});
    Load("hostile");
    ASSERT_EQ(Lines(), lines);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(form->Thumbnail(i)->Hint(), i == 5 ? "fine.jpg" : "") << i;

    std::vector<std::string> refused;
    for (int i = 0; i < 6; ++i) {
        form->ListBox1.SetItemIndex(i);
        form->ListBox1Click(&form->ListBox1);
        boxes.clear();
        form->ListBox1DblClick(form->PopBrowser1);
        for (auto& b : boxes) refused.push_back(b.text);
    }
    EXPECT_EQ(refused,
              (std::vector<std::string>{
                  "This address cannot be opened:\r" + lines[0], "This address cannot be opened:\r" + lines[1],
                  "This address cannot be opened:\r" + lines[2], "This address cannot be opened:\r" + lines[5]}));
    ASSERT_EQ(shells.size(), 2u);
    EXPECT_EQ(shells[0].file, "http://ok.test/a");
    EXPECT_EQ(shells[1].file, "https://ok.test/b");

    // "Go to Webpage" on the file address, "Open downloaded Image..." on a name from elsewhere.
    form->ListBox1.SetItemIndex(2);
    form->ListBox1Click(&form->ListBox1);
    Run(&TForm1::PopWebpage1Click);
    EXPECT_EQ(Texts(forms::BoxKind::Information), std::vector<std::string>{"This address cannot be opened:\rfile:///"});
    SelectedImageName = names[0];
    Run(&TForm1::PopOpenImage1Click);
    EXPECT_EQ(Texts(forms::BoxKind::Information),
              std::vector<std::string>{"This file name cannot be opened:\r" + names[0]});
    EXPECT_EQ(shells.size(), 2u);
}

// Over 100,000 entries, or a file over 1 GB (a sparse one here): refused before anything changes.
TEST_F(SaveLoad, ASetOverTheLimitsIsRefused) {
    AddEntry("http://keep.test/", MakeJpeg(10, 10, 3), "k.jpg");
    std::vector<std::string> many(kMaxSetEntries + 1, "http://x.test/");
    WriteSet(Base("many"), {std::vector<Bytes>(many.size()), std::vector<std::string>(many.size()), many});
    WriteSet(Base("huge"), {{MakeJpeg(8, 8, 1)}, {"h.jpg"}, {"http://huge.test/"}});
    HANDLE h = CreateFileA(Base("huge.QBI").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER size{};
    size.QuadPart = static_cast<LONGLONG>(kMaxSetFileBytes) + 1;
    SetFilePointerEx(h, size, nullptr, FILE_BEGIN);
    SetEndOfFile(h);
    CloseHandle(h);
    for (const std::string name : {"many", "huge"}) {
        Load(name);
        EXPECT_EQ(Texts(forms::BoxKind::Information),
                  std::vector<std::string>{"This saved search is too large to load:\r" + name +
                                           "\r(more than 100000 entries, or a file over 1 GB)."});
        EXPECT_EQ(Lines(), std::vector<std::string>{"http://keep.test/"});
        EXPECT_EQ(ThumbCount(), 1);
    }
}

TEST_F(SaveLoad, FewerNamesThanLinesAndALineHoldingALineFeed) {
    Bytes p0 = MakeJpeg(10, 10, 10), p1 = MakeJpeg(12, 10, 20), p2 = MakeJpeg(14, 10, 30);
    WriteSet(Base("shift"), {{p0, p1, p2}, {"n0", "n1", "n2"}, {"l0", "l1a\nl1b", "l2"}});
    Load("shift");
    EXPECT_EQ(Lines(), (std::vector<std::string>{"l0", "l1a", "l1b", "l2"}));
    ASSERT_EQ(ThumbCount(), 4);
    EXPECT_EQ(form->Thumbnail(2)->GetPicture().JpegBytes(), p2);  // shifted by one place
    EXPECT_EQ(form->Thumbnail(2)->Hint(), "n2");
    EXPECT_TRUE(form->Thumbnail(3)->GetPicture().Empty());  // the last stays empty
    EXPECT_EQ(form->Thumbnail(3)->Hint(), "");
    EXPECT_EQ(form->Label2.Text(), "Doing: 4 of 4");

    // A name file with one record for three lines.
    Bytes names;
    AppendNameRecord(names, "only.jpg");
    HANDLE h = CreateFileA(Base("shift.QBJ").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD wrote;
    WriteFile(h, names.data(), static_cast<DWORD>(names.size()), &wrote, nullptr);
    CloseHandle(h);
    Load("shift");
    EXPECT_EQ(form->Thumbnail(0)->Hint(), "only.jpg");
    EXPECT_EQ(form->Thumbnail(1)->Hint(), "");
    EXPECT_EQ(form->Thumbnail(3)->Hint(), "");
}

TEST_F(SaveLoad, DamagedFilesLoadWhatCanBeTrusted) {
    Bytes p0 = MakeJpeg(10, 10, 10), p1 = MakeJpeg(12, 10, 20);
    WriteSet(Base("bad"), {{p0, p1, p0}, {"a", "b", "c"}, {"l0", "l1", "l2"}});
    // Second record: an absurd length; the name file cut in the middle of its second record.
    Bytes thumbs = FileBytes(Base("bad.QBI"));
    thumbs[4 + p0.size() + 3] = 0x7F;
    Bytes names = FileBytes(Base("bad.QBJ"));
    names.resize(4 + 1 + 3);
    for (auto [ext, bytes] : {std::pair{".QBI", &thumbs}, std::pair{".QBJ", &names}}) {
        HANDLE h =
            CreateFileA(Base(std::string("bad") + ext).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD wrote;
        WriteFile(h, bytes->data(), static_cast<DWORD>(bytes->size()), &wrote, nullptr);
        CloseHandle(h);
    }
    Load("bad");
    EXPECT_TRUE(Texts(forms::BoxKind::Error).empty());
    ASSERT_EQ(ThumbCount(), 3);
    EXPECT_EQ(form->Thumbnail(0)->GetPicture().JpegBytes(), p0);
    EXPECT_TRUE(form->Thumbnail(1)->GetPicture().Empty());
    EXPECT_TRUE(form->Thumbnail(2)->GetPicture().Empty());
    EXPECT_EQ(form->Thumbnail(0)->Hint(), "a");
    EXPECT_EQ(form->Thumbnail(1)->Hint(), "");

    // Bytes the decoder rejects: no picture drawn, the bytes kept for a later save.
    Bytes junk{0xFF, 0xD8, 1, 2, 3};
    WriteSet(Base("junk"), {{junk, p1}, {"j", "k"}, {"l0", "l1"}});
    Load("junk");
    EXPECT_EQ(form->Thumbnail(0)->GetPicture().Width(), 0);
    EXPECT_EQ(form->Thumbnail(0)->GetPicture().JpegBytes(), junk);
    EXPECT_EQ(form->Thumbnail(1)->GetPicture().JpegBytes(), p1);
}

TEST_F(SaveLoad, TheStripFollowsFromTheFifthThumbnailOn) {
    Bytes p = MakeJpeg(10, 10, 10);
    WriteSet(Base("four"), {{p, p, p, p}, {"", "", "", ""}, {"a", "b", "c", "d"}});
    WriteSet(Base("six"), {{p, p, p, p, p, p}, {"", "", "", "", "", ""}, {"a", "b", "c", "d", "e", "f"}});
    Load("four");
    EXPECT_EQ(form->ScrollBox1.VertPosition(), 0);
    Load("six");
    int pos = form->ScrollBox1.VertPosition();
    EXPECT_GT(pos, 0);
    EXPECT_EQ(pos, form->ScrollBox1.VertMax());
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(form->Thumbnail(i)->Top(), ThumbContentTop(i) - pos) << i;
        EXPECT_EQ(form->Thumbnail(i)->Name, "Image_" + std::to_string(i));
    }
    // The newest thumbnail is in view with its window where it belongs, ready for the mouse.
    HWND last = form->Thumbnail(5)->Handle();
    ASSERT_NE(last, nullptr);
    RECT r;
    GetWindowRect(last, &r);
    MapWindowPoints(nullptr, form->ScrollBox1.Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.top, form->Thumbnail(5)->Top());
    // Loading four over six: the strip scrolled as it was, four thumbnails, no more.
    Load("four");
    EXPECT_EQ(ThumbCount(), 4);
}

TEST_F(SaveLoad, ResultsOfANewSearchAreSavedUnderItsKeywords) {
    WriteSet(Base("cats"), {{MakeJpeg(8, 8, 1)}, {"c.jpg"}, {"http://cats.test/"}});
    Load("cats");
    QueryKeywords = "dogs";
    form->Search().SetSaved(false);  // what starting a search does
    Save();
    EXPECT_TRUE(Texts(forms::BoxKind::Confirm).empty());
    EXPECT_TRUE(FileExists(Base("dogs.QBI")));
}

// Keywords, lines and names in three scripts: the set is named after the keywords, and a save
// and a load bring every byte back.
TEST_F(SaveLoad, SetsInEveryScriptComeBackByteExact) {
    const std::string cat = "\xE7\x8C\xAB", koshka = "\xD0\xBA\xD0\xBE\xD1\x88\xD0\xBA\xD0\xB0",
                      cafe = "caf\xC3\xA9 au lait";
    Bytes a = MakeJpeg(20, 20, 40);
    AddEntry("http://site.example/" + cat, a, cat + ".jpg");
    AddEntry("http://site.example/" + koshka + "?q=caf%E9", a, koshka + ".jpg");
    AddEntry("http://site.example/" + cafe, a, cafe + ".jpg");
    for (const std::string& keywords : {cat, koshka + "+" + cafe}) {
        form->Search().SetSaved(false);  // as after a search: saved under its keywords
        QueryKeywords = keywords;
        Save();
        ASSERT_TRUE(FileExists(Base(keywords + ".QBI"))) << keywords;
        Bytes before[3] = {FileBytes(Base(keywords + ".QBI")), FileBytes(Base(keywords + ".QBJ")),
                           FileBytes(Base(keywords + ".QBL"))};
        std::string links(before[2].begin(), before[2].end());
        EXPECT_EQ(links, "http://site.example/" + cat + "\r\nhttp://site.example/" + koshka +
                             "?q=caf%E9\r\nhttp://site.example/" + cafe + "\r\n");

        Load(keywords);
        EXPECT_TRUE(Texts(forms::BoxKind::Error).empty());
        EXPECT_EQ(Lines(),
                  (std::vector<std::string>{"http://site.example/" + cat, "http://site.example/" + koshka + "?q=caf%E9",
                                            "http://site.example/" + cafe}));
        EXPECT_EQ(form->Thumbnail(0)->Hint(), cat + ".jpg");
        EXPECT_EQ(form->Thumbnail(2)->Hint(), cafe + ".jpg");
        EXPECT_EQ(form->ComboBox_search.Item(0), keywords);

        Save();  // over itself, after the question
        EXPECT_EQ(FileBytes(Base(keywords + ".QBI")), before[0]);
        EXPECT_EQ(FileBytes(Base(keywords + ".QBJ")), before[1]);
        EXPECT_EQ(FileBytes(Base(keywords + ".QBL")), before[2]);
    }
}

// A set an earlier version wrote in code page 1252 loads with its accented letters.
TEST_F(SaveLoad, ASetWrittenInCodePage1252Loads) {
    Bytes a = MakeJpeg(20, 20, 40);
    WriteSet(
        Base("caf\xC3\xA9"),
        {{a, a}, {"caf\xE9.jpg", "M\xFCller.jpg"}, {"http://site.example/caf\xE9", "http://site.example/M\xFCller"}});
    Load("caf\xC3\xA9");
    EXPECT_TRUE(Texts(forms::BoxKind::Error).empty());
    EXPECT_EQ(Lines(),
              (std::vector<std::string>{"http://site.example/caf\xC3\xA9", "http://site.example/M\xC3\xBCller"}));
    EXPECT_EQ(form->Thumbnail(0)->Hint(), "caf\xC3\xA9.jpg");
    EXPECT_EQ(form->Thumbnail(1)->Hint(), "M\xC3\xBCller.jpg");
}
