#include "cli/consolesink.h"

#include <windows.h>

#include <cstdio>

#include "cli/options.h"
#include "engine/naming.h"

namespace cli {

void ConsoleSink::Message(const std::string& text) {
    if (quiet_) return;
    std::fprintf(stderr, "%s\n", OneLine(text).c_str());
    std::fflush(stderr);
}

void ConsoleSink::ShowProgress(const std::string& label2, const std::string& label1) {
    if (quiet_) return;
    std::fprintf(stderr, "%s\t%s\n", label2.c_str(), label1.c_str());
    std::fflush(stderr);
}

void ConsoleSink::SearchDone(bool downloadedNothing) {
    // Said even when quiet: it explains the exit status.
    if (downloadedNothing) std::fprintf(stderr, "No downloads to get for this...\n");
}

void ConsoleSink::DownloadsFinished(const std::string& error) {
    error_ = error;
    if (error.empty()) Message("Finished all downloads...");
    finished_ = true;
    PostQuitMessage(0);
}

bool ConsoleSink::IsFetched(const std::string& imageUrl) { return fetched_.count(engine::LowerAscii(imageUrl)) > 0; }

void ConsoleSink::AddResultEntry(const std::string& pageLine, const std::string& imageLine, const std::string& fileName,
                                 std::unique_ptr<imaging::Picture>) {
    fetched_.insert(engine::LowerAscii(imageLine));
    downloaded_++;
    std::string line = OneLine(fileName) + "\t" + OneLine(pageLine) + "\t" + OneLine(imageLine) + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

void ConsoleSink::RunUntilFinished() {
    MSG msg;
    while (!finished_ && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace cli
