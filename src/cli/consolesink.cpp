#include "cli/consolesink.h"

#include <windows.h>

#include "cli/options.h"
#include "engine/naming.h"
#include "engine/phasetimes.h"
#include "platform/codepage.h"
#include "platform/text.h"

namespace cli {

void Print(bool toStderr, const std::string& text) {
    HANDLE out = GetStdHandle(toStderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    if (!out || out == INVALID_HANDLE_VALUE || text.empty()) return;
    DWORD mode = 0, done = 0;
    if (GetConsoleMode(out, &mode)) {
        std::wstring wide = platform::Widen(text);
        WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &done, nullptr);
        return;
    }
    // Lines end in CR LF, as the C runtime's text mode wrote them.
    std::string bytes;
    for (char c : platform::ToUtf8(text)) {
        if (c == '\n') bytes += '\r';
        bytes += c;
    }
    WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
}

void ConsoleSink::RunUiStep(const std::function<void()>& step) {
    // The console has no window that only its own thread may touch: a step runs where it is
    // handed over, one at a time, in the order handed over. A round trip to the main thread
    // would cost more than most steps (under Wine about half a millisecond).
    engine::PhaseTimer timer(engine::Phase::Handoff);
    std::lock_guard<std::mutex> lock(steps_);
    step();
}

void ConsoleSink::Message(const std::string& text) {
    if (quiet_) return;
    Print(true, OneLine(text) + "\n");
}

void ConsoleSink::ShowProgress(const std::string& label2, const std::string& label1) {
    if (quiet_) return;
    Print(true, label2 + "\t" + label1 + "\n");
}

void ConsoleSink::ShowServiceBusy(const std::string& label, bool first) {
    // Said even when quiet, once: it explains a pause.
    if (first) Print(true, label + "\n");
}

void ConsoleSink::ShowNotice(const std::string& text) {
    // Said even when quiet: something asked for is not being done.
    Print(true, "quenby-cli: " + OneLine(text) + "\n");
}

void ConsoleSink::SearchDone(bool downloadedNothing) {
    // Said even when quiet: it explains the exit status.
    if (downloadedNothing) Print(true, "No downloads to get for this...\n");
}

void ConsoleSink::DownloadsFinished(const std::string& error) {
    error_ = error;
    if (error.empty()) Message("Finished all downloads...");
    finished_ = true;  // the loop ends after this message: no quit message, so that another search can run
}

bool ConsoleSink::IsFetched(const std::string& imageUrl) { return fetched_.count(engine::LowerAscii(imageUrl)) > 0; }

void ConsoleSink::AddResultEntry(const std::string& pageLine, const std::string& imageLine, const std::string& fileName,
                                 std::unique_ptr<imaging::Picture>) {
    fetched_.insert(engine::LowerAscii(imageLine));
    downloaded_++;
    Print(false,
          OneLine(fileName) + "\t" + OneLine(pageLine) + "\t" + OneLine(platform::ShowableText(imageLine)) + "\n");
}

void ConsoleSink::RunUntilFinished() {
    MSG msg;
    while (!finished_ && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace cli
