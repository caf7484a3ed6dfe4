// The main window's image file, About and version-check commands, reached as menu commands.
#include "harness.h"
#include "platform/application.h"
#include "info/about.h"
#include "info/versioncheck.h"
#include "info/versioninfo.h"

using namespace mainwindow;

namespace {

struct CommandsTest : windowtest::MainWindowTest {
    const std::string other = folder + "moved\\";

    void SetUp() override {
        MainWindowTest::SetUp();
        form = std::make_unique<TForm1>();
        CreateDirectoryA(other.c_str(), nullptr);
    }
    void SetVersionSources(info::VersionSources sources) {
        env.info.versionSources = std::move(sources);
        env.Install();
    }
};

TEST_F(CommandsTest, ImageLookedForInTheFolderShownNow) {
    HANDLE h = CreateFileA((folder + "red_car.jpg").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    std::string data(2048, 'x');
    DWORD n;
    WriteFile(h, data.data(), 2048, &n, nullptr);
    CloseHandle(h);
    form->Edit_savepath.SetText(folder);
    SelectedImageName = "red_car.jpg";

    Command(form->PopImageInfo1);
    Command(form->MainMenu_OpenImage);
    Command(form->PopOpenTarget1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, forms::BoxKind::Information);
    EXPECT_EQ(boxes[0].text.rfind("File name: red_car.jpg\rFile size:     2048 bytes\rFile date:   ", 0), 0u);
    ASSERT_EQ(shells.size(), 2u);
    EXPECT_EQ(shells[0].owner, form->Handle());
    EXPECT_EQ(shells[0].file, "\"" + folder + "red_car.jpg\"");
    EXPECT_EQ(shells[1].file, "\"" + folder + "\"");
    EXPECT_EQ(shells[1].params, "/select,C:\\WINDOWS\\explorer.exe");

    // The target folder changed after the search: its images are missing now.
    boxes.clear();
    shells.clear();
    form->Edit_savepath.SetText(other);
    Command(form->MainMenu_OpenImage);
    Command(form->PopImageInfo1);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].kind, forms::BoxKind::Plain);
    EXPECT_NE(boxes[0].text.find("traget folder"), std::string::npos);
    EXPECT_EQ(boxes[1].kind, forms::BoxKind::Information);
    EXPECT_NE(boxes[1].text.find("target folder"), std::string::npos);
    EXPECT_TRUE(shells.empty());
}

TEST_F(CommandsTest, AboutShownModallyFromBothMenus) {
    info::TFormAbout about;  // without version information: its error box comes first
    info::FormAbout = &about;
    std::vector<std::string> shown;
    onModal = [&](forms::Form& f) {
        shown.push_back(f.Name);
        return forms::mrCancel;
    };
    Command(form->PopAbout1);
    Command(form->MainMenu_About);
    info::FormAbout = nullptr;
    EXPECT_EQ(shown, (std::vector<std::string>{"FormAbout", "FormAbout"}));
}

TEST_F(CommandsTest, VersionCheckFromTheHelpMenu) {
    const std::string local = platform::ExeFolder() + "quenby.xml";
    std::string dead;
    {
        testsupport::HttpServer gone;
        dead = gone.url("/files/quenby_pad.xml");
    }
    SetVersionSources({dead, dead});
    Command(form->MainMenu_CheckNewVersion);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, forms::BoxKind::Warning);
    EXPECT_NE(boxes[0].text.find("\"quenby_pad.xml\""), std::string::npos);

    // This executable has no version information: the error handler shows the reader's
    // error, and the downloaded file stays where the next check overwrites it.
    server.on("/v.xml", testsupport::Response::file("<Program_Version>1.0.8.0</Program_Version>", "text/xml"));
    SetVersionSources({server.url("/v.xml"), dead});
    boxes.clear();
    Command(form->MainMenu_CheckNewVersion);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, forms::BoxKind::Error);
    EXPECT_EQ(boxes[0].text, info::SystemErrorText(ERROR_RESOURCE_DATA_NOT_FOUND));
    EXPECT_NE(GetFileAttributesA(local.c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileA(local.c_str());
}

}  // namespace
