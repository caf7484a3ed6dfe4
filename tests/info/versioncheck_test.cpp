// The version information of this executable (it carries the program's version resource and
// runs as "Quenby.exe") and the new-version check against the local test service.
#include "info/versioncheck.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/application.h"
#include "forms/msgbox.h"
#include "info/versioninfo.h"
#include "support/environment.h"
#include "support/http_server.h"
#include "support/process_counts.h"

using namespace info;
using testsupport::HttpServer;
using testsupport::Response;

namespace {

const char* kNew =
    "There is a *new* version of this freeware available !\r\rPlease go to our freeware web page and download "
    "it,\rand replace the existing one by the new version.";
const char* kRecent =
    "You have the most recent version of this freeware..\rBut keep checking, as this is updated regularly!";

std::string Pad(const std::string& version) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<XML_DIZ_INFO>\r\n<Program_Info>\r\n"
           "<Program_Name>Quenby</Program_Name>\r\n<Program_Version>" +
           version + "</Program_Version>\r\n</Program_Info>\r\n</XML_DIZ_INFO>\r\n";
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// An address on this machine where nothing listens any more.
std::string DeadUrl(const std::string& path) {
    HttpServer gone;
    return gone.url(path);
}

struct VersionCheckTest : ::testing::Test {
    HttpServer server;
    std::vector<forms::BoxCall> boxes;
    const std::string local = platform::ExeFolder() + "quenby.xml";
    testsupport::EnvironmentScope env;

    void SetUp() override {
        DeleteFileA(local.c_str());
        env.forms.box = [this](const forms::BoxCall& c) {
            boxes.push_back(c);
            return IDOK;
        };
        env.Install();
    }
    void TearDown() override { DeleteFileA(local.c_str()); }
    // Aims the check at these addresses.
    void SetVersionSources(VersionSources sources) {
        env.info.versionSources = std::move(sources);
        env.Install();
    }

    // Both sources on the test service; each test uses its own paths, so no cached copy
    // of another test's file can answer.
    void Publish(const std::string& own, const std::string& body) {
        server.on(own, Response::file(body, "text/xml"));
        SetVersionSources({server.url(own), DeadUrl("/repo/quenby_pad.xml")});
    }

    // Runs the check and returns the single box it showed.
    forms::BoxCall CheckOnce() {
        CheckNewVersion();
        EXPECT_EQ(boxes.size(), 1u);
        EXPECT_FALSE(Exists(local));
        return boxes.empty() ? forms::BoxCall{} : boxes.back();
    }

    std::string CheckError() {
        try {
            CheckNewVersion();
        } catch (const std::runtime_error& e) {
            EXPECT_TRUE(boxes.empty());
            EXPECT_FALSE(Exists(local));
            return e.what();
        }
        ADD_FAILURE() << "no error";
        return {};
    }
};

TEST(ReadVersionInfo, AllValuesOfTheProgramsResource) {
    VersionInfo v = ReadVersionInfo(platform::ExePath());
    EXPECT_EQ(v.FileVersion, "1.0.7.2");
    EXPECT_EQ(v.ProductVersion, "1.0.7.2");
    EXPECT_EQ(v.FileDescription, "Quenby");
    EXPECT_EQ(v.ProductName, "Quenby");
    EXPECT_EQ(v.InternalName, "Quenby");
    EXPECT_EQ(v.OriginalFileName, "Quenby.exe");  // the resource spells the key "OriginalFilename"
    EXPECT_EQ(v.LegalTrademarks, "");
    EXPECT_EQ(v.Comments,
              "Search and download images easily from the net, save links and images to hard disk, record searches "
              "for latter offline browsing.");
    EXPECT_FALSE(v.CompanyName.empty());
    EXPECT_FALSE(v.LegalCopyright.empty());
    EXPECT_EQ(v.PrivateBuild, "");
    EXPECT_EQ(v.SpecialBuild, "");
}

TEST_F(VersionCheckTest, NewerEqualAndShorterVersions) {
    Publish("/a/newer.xml", Pad("1.0.8.0"));
    auto box = CheckOnce();
    EXPECT_EQ(box.kind, forms::BoxKind::Information);
    EXPECT_EQ(box.text, kNew);

    boxes.clear();
    Publish("/a/same.xml", Pad("1.0.7.2"));
    box = CheckOnce();
    EXPECT_EQ(box.kind, forms::BoxKind::Information);
    EXPECT_EQ(box.text, kRecent);

    // 11 is less than 1072: whole numbers, not components.
    boxes.clear();
    Publish("/a/short.xml", Pad("1.1"));
    EXPECT_EQ(CheckOnce().text, kRecent);
}

TEST_F(VersionCheckTest, FirstSourceDownSecondUp) {
    server.on("/repo/up_pad.xml", Response::file(Pad("1.0.8.0"), "text/xml"));
    SetVersionSources({DeadUrl("/own/version.xml"), server.url("/repo/up_pad.xml")});
    auto box = CheckOnce();
    EXPECT_EQ(box.text, kNew);
    EXPECT_EQ(server.requests_for("/repo/up_pad.xml").size(), 1u);
}

TEST_F(VersionCheckTest, FirstSourceUpSecondNotAsked) {
    server.on("/b/own.xml", Response::file(Pad("1.0.7.2"), "text/xml"));
    server.on("/b/pad.xml", Response::file(Pad("9.9.9.9"), "text/xml"));
    SetVersionSources({server.url("/b/own.xml"), server.url("/b/pad.xml")});
    EXPECT_EQ(CheckOnce().text, kRecent);
    EXPECT_TRUE(server.requests_for("/b/pad.xml").empty());
}

TEST_F(VersionCheckTest, BothSourcesDown) {
    // A file left by an earlier check that ended in an error is not kept either.
    HANDLE h = CreateFileA(local.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(h);
    SetVersionSources({DeadUrl("/own/version.xml"), DeadUrl("/files/quenby_pad.xml")});
    auto box = CheckOnce();
    EXPECT_EQ(box.kind, forms::BoxKind::Warning);
    EXPECT_EQ(box.caption, platform::ApplicationTitle());
    EXPECT_EQ(box.text,
              "Error downloading file \"quenby_pad.xml\" for version check.\rPlease check your internet connection "
              "and/or firewall..");
}

TEST_F(VersionCheckTest, VersionOnTheLineAfterTheTag) {
    Publish("/c/nextline.xml", "<XML_DIZ_INFO>\n<Program_Version>\n1.0.8.0\n</Program_Version>\n");
    EXPECT_EQ(CheckError(), "'\r\n1080\r\n' is not a valid integer value");
}

TEST_F(VersionCheckTest, UnusableFiles) {
    Publish("/d/noelement.xml", "<XML_DIZ_INFO><Program_Name>Quenby</Program_Name></XML_DIZ_INFO>");
    EXPECT_EQ(CheckError(), "'' is not a valid integer value");

    // 20 characters: the closing tag is not within them.
    Publish("/d/long.xml", Pad("1.0.8.0-release-2026"));
    EXPECT_EQ(CheckError(), "'1080-release-2026' is not a valid integer value");
    Publish("/d/long19.xml", Pad("1.0.8.0000000000001"));
    EXPECT_EQ(CheckError(), "'1080000000000001<' is not a valid integer value");

    std::string binary;
    for (int i = 0; i < 70000; i++) binary += static_cast<char>((i * 7919) & 0xff);
    Publish("/d/binary.xml", binary);
    EXPECT_NE(CheckError().find("is not a valid integer value"), std::string::npos);
}

TEST_F(VersionCheckTest, HugeFileWithTheElementAtItsEnd) {
    std::string big(20 * 1024 * 1024, ' ');
    for (size_t i = 80; i < big.size(); i += 81) big[i] = '\n';
    Publish("/e/huge.xml", big + Pad("1.0.8.0"));
    EXPECT_EQ(CheckOnce().text, kNew);
}

TEST_F(VersionCheckTest, NoOutcomeLeavesTheFileOpen) {
    server.on("/f/new.xml", Response::file(Pad("1.0.8.0"), "text/xml"));
    server.on("/f/bad.xml", Response::file(Pad("1.0.8.x"), "text/xml"));
    std::string down = DeadUrl("/f/pad.xml");
    auto outcomes = [&] {
        SetVersionSources({server.url("/f/new.xml"), down});
        CheckNewVersion();
        SetVersionSources({server.url("/f/bad.xml"), down});
        EXPECT_THROW(CheckNewVersion(), std::runtime_error);
        SetVersionSources({down, down});
        CheckNewVersion();
        EXPECT_FALSE(Exists(local));  // deleted, so no longer open
    };
    outcomes();  // the downloader sets up what it keeps for the process
    size_t before = testsupport::OpenHandles(), requests = server.request_count();
    for (int i = 0; i < 20; i++) outcomes();
    // The test service keeps a thread handle per request until it stops; a leak would add 40.
    EXPECT_LE(testsupport::OpenHandles(), before + (server.request_count() - requests) + 5);
    EXPECT_EQ(boxes.size(), 42u);
}

}  // namespace
