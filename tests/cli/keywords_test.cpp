// quenby-cli.exe with a file of keywords and a collection's flags: one search per line in three
// scripts with their rows in the sources file, and the inputs it refuses or works around.
#include <gtest/gtest.h>
#include <windows.h>

#include "cli_support.h"
#include "source_rows.h"

using namespace clitest;
using testsupport::Request;

namespace {

struct KeywordsTest : CliTest {
    // Each query's page brings its own picture; any other query finds nothing.
    void ServeByQuery(const std::vector<std::pair<std::string, std::string>>& pictures) {
        for (auto& [query, fixture] : pictures) ServeImage("/" + fixture, fixture);
        server.on("/images/search", [this, pictures](const Request& req) {
            for (auto& [query, fixture] : pictures)
                if (req.target.find("?q=" + query + "&") != std::string::npos)
                    return Response::text(Page({Result(Url("/" + fixture), "http://p.example/" + fixture)}));
            return Response::text(Page({}));
        });
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        home.Write(name, bytes);
        return "\"" + home.path + name + "\"";
    }
    static size_t Count(const std::string& text, const std::string& part) {
        size_t n = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) n++;
        return n;
    }
};

}  // namespace

TEST_F(KeywordsTest, OneSearchPerLineEachRecordedInTheSourcesFile) {
    ServeByQuery({{"caf%C3%A9+au+lait", "photo.jpg"},
                  {"%D0%BA%D0%BE%D1%88%D0%BA%D0%B0", "image.gif"},
                  {"%E7%8C%AB", "tall.jpg"}});
    const std::string list = Write("list.txt",
                                   "\xEF\xBB\xBF"
                                   "caf\xC3\xA9  au lait\r\n\r\n\xD0\xBA\xD0\xBE\xD1\x88"
                                   "\xD0\xBA\xD0\xB0\n\xE7\x8C\xAB\n");
    // A file already there is appended to, its first line kept, no header added.
    const std::string jsonl = folder.path + "sources.jsonl";
    folder.Write("sources.jsonl", "{\"earlier\":1}\n");
    Outcome r = RunProgram(exe, Options() + "--quiet --skip-identical --type photo --market en-US --sources \"" +
                                    jsonl + "\" --keywords-file " + list);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.Lines().size(), 3u) << r.out;
    EXPECT_NE(r.err.find("Search 1 of 3 \"caf\xC3\xA9  au lait\": 1 image\r\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Search 3 of 3 \"\xE7\x8C\xAB\": 1 image\r\n"), std::string::npos) << r.err;

    const std::string text = testsupport::ReadWholeFile(jsonl);
    std::vector<std::map<std::string, std::string>> rows;
    for (size_t at = 0, nl; (nl = text.find('\n', at)) != std::string::npos; at = nl + 1)
        rows.push_back(sourcerows::JsonFields(text.substr(at, nl - at)));
    ASSERT_EQ(rows.size(), 4u) << text;
    EXPECT_EQ(rows[0]["earlier"], "1");
    EXPECT_EQ(rows[1]["keywords"], "caf\xC3\xA9 au lait");
    EXPECT_EQ(rows[2]["keywords"], "\xD0\xBA\xD0\xBE\xD1\x88\xD0\xBA\xD0\xB0");
    EXPECT_EQ(rows[3]["keywords"], "\xE7\x8C\xAB");
    EXPECT_EQ(rows[3]["file"], "tall.jpg");
    EXPECT_EQ(rows[3]["width"] + "x" + rows[3]["height"], "30x60");
    EXPECT_EQ(rows[2]["bytes"], std::to_string(Fixture("image.gif").size()));
    EXPECT_EQ(rows[1]["sha256"].size(), 64u);
    EXPECT_EQ(rows[1]["filters"] + " " + rows[1]["market"], "filterui:photo-photo en-US");

    // A second run: every picture is in the folder already, so no search downloads anything.
    server.clear_requests();
    r = RunProgram(exe, Options() + "--quiet --skip-identical --keywords-file " + list);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(server.requests_for("/photo.jpg").size(), 1u);  // downloaded, found identical, deleted
    EXPECT_EQ(folder.Files().size(), 4u);
}

TEST_F(KeywordsTest, BadInputsAreNamedAndAnUnwritableSourcesFileIsToldOnce) {
    for (auto [bytes, problem] : std::vector<std::pair<std::string, std::string>>{
             {std::string("cats\0dogs", 9), "line 1 is not UTF-8 text"}, {" \r\n", "it holds no keywords"}}) {
        Outcome r = RunProgram(exe, Options() + "--keywords-file " + Write("bad.txt", bytes));
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("bad.txt\" cannot be used: " + problem), std::string::npos) << r.err;
    }
    for (std::string args : {"--min-width -5 cats", "--min-height 100001 cats", "--sources out.txt cats"}) {
        Outcome r = RunProgram(exe, Options() + args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_NE(r.err.find("usage: quenby-cli"), std::string::npos) << args;
    }
    EXPECT_EQ(server.request_count(), 0u);

    // A sources file that is a folder: said once, and the search goes on.
    ServeImage("/a.jpg", "photo.jpg");
    ServeImage("/b.gif", "image.gif");
    server.on("/images/search", Response::text(Page({Result(Url("/a.jpg"), "p"), Result(Url("/b.gif"), "p")})));
    CreateDirectoryA((home.path + "rows.csv").c_str(), nullptr);
    Outcome r = RunProgram(exe, Options() + "--quiet --sources \"" + home.path + "rows.csv\" cats");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.Lines().size(), 2u);
    EXPECT_EQ(Count(r.err, "Unable to write to \"" + home.path + "rows.csv\""), 1u) << r.err;
}
