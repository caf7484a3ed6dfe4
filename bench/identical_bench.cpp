// What the index of pictures already had costs at a search's start: a folder of 5,000 and of
// 20,000 files of about 50 KB listed (with QUENBY_BENCH_LARGE=1 also 100,000 files of about
// 1 KB), then one new file looked up against the folder, with 1, 10 and 100 files of its size
// there (each of those read once); then whole searches of 8 images into a folder of 5,000
// files with skip identical off and on. Prints figures; asserts nothing.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/contenthash.h"
#include "engine/downthread.h"
#include "platform/uithread.h"
#include "support/http_server.h"
#include "support/temp_folder.h"
#include "support/ui_loop.h"

using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::time_point since) { return std::chrono::duration<double, std::milli>(Clock::now() - since).count(); }

void Measure(size_t files, size_t sameSize, size_t each = 50000) {
    testsupport::TempFolder dir;
    std::string bytes(each, 'x');
    for (size_t i = 0; i < files; i++) {
        bytes.resize(i < sameSize ? each : each + 1 + i % 20000);
        bytes[0] = static_cast<char>(i);
        bytes[1] = static_cast<char>(i >> 8);
        bytes[2] = static_cast<char>(i >> 16);
        testsupport::TempFolder::Write(dir.file(std::to_string(i) + ".jpg"), bytes);
    }
    testsupport::TempFolder elsewhere;  // the new download, not yet in the folder's listing
    bytes.assign(each, 'y');
    testsupport::TempFolder::Write(elsewhere.file("new.jpg"), bytes);
    const Clock::time_point start = Clock::now();
    engine::IdenticalIndex index(engine::FileSha256);
    const size_t listed = engine::AddFolderFiles(index, dir.path());
    const double listing = Ms(start);
    const Clock::time_point look = Clock::now();
    const bool had = index.HadBefore(elsewhere.file("new.jpg"), each, *engine::FileSha256(elsewhere.file("new.jpg")));
    std::printf("%6zu files: listed %zu in %.1f ms; a new file against %zu of its size: %.1f ms (%s)\n", files, listed,
                listing, sameSize, Ms(look), had ? "had" : "new");
}

class Sink : public engine::JobSink {
public:
    void RunUiStep(const std::function<void()>& step) override { ui.Run(step); }
    bool PostToUi(std::function<void()> fn) override { return ui.Post(std::move(fn)); }
    void ShowProgress(const std::string&, const std::string&) override {}
    void SearchDone(bool) override {}
    void AddResultEntry(const std::string&, const std::string&, const std::string&,
                        std::unique_ptr<imaging::Picture>) override {
        kept++;
    }
    void DownloadsFinished(const std::string&) override { finished = true; }
    platform::UiDispatcher ui;
    int kept = 0;
    bool finished = false;
};

// One search of 8 new images (bytes of their own each run) into the folder.
void Search(const char* what, const std::string& folder, bool skipIdentical, int run) {
    testsupport::HttpServer server;
    std::string page = "<div id=\"b_SearchBoxAnswer\"></div>";
    for (int i = 0; i < 8; i++) {
        const std::string path = "/" + std::to_string(run) + "-" + std::to_string(i) + ".jpg";
        server.on(path,
                  testsupport::Response::file(std::string(40000 + i, static_cast<char>('a' + run)), "image/jpeg"));
        page += "<a class=\"thumb\" href=\"" + server.url(path) +
                "\" h=\"ID=1\"></a><a class=\"tit\" href=\"p\" h=\"ID=2\">" + "</a><a></a>";
    }
    server.on("/images/search", testsupport::Response::text(page));
    Sink sink;
    std::atomic<bool> stop{false};
    engine::TDownThread* job = engine::MakeJob({.fileLimit = 8,
                                                .folder = folder,
                                                .keywords = "x",
                                                .service = server.base(),
                                                .sink = engine::Unowned(sink),
                                                .stop = engine::Unowned(stop),
                                                .collection = {.skipIdentical = skipIdentical}});
    const Clock::time_point start = Clock::now();
    job->Start();
    testsupport::PumpUntil([&] { return sink.finished; }, 60000);
    std::printf("search of 8 images into 5,000 files, %-42s %6.1f ms (%d kept)\n", what, Ms(start), sink.kept);
}

}  // namespace

int main() {
    for (size_t same : {1, 10, 100}) Measure(5000, same);
    Measure(20000, 1);
    // Wine looks each new name up against the whole folder, so making 100,000 files takes it
    // about twenty minutes: only on request.
    if (const char* large = std::getenv("QUENBY_BENCH_LARGE"); large && *large == '1') Measure(100000, 1, 1000);

    testsupport::TempFolder dir;
    for (size_t i = 0; i < 5000; i++)
        testsupport::TempFolder::Write(dir.file(std::to_string(i) + ".jpg"), std::string(50000 + i % 20000, 'x'));
    Search("skip identical off:", dir.path(), false, 0);
    Search("on, the folder listed for the first time:", dir.path(), true, 1);
    Search("on, listed again:", dir.path(), true, 2);
    Search("off again:", dir.path(), false, 3);
    return 0;
}
