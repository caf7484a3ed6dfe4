// quenby-cli: one image search from the command line, for batches and scripts. It runs the
// same search job as the window, with the same rules, file names and thumbnails; it reads the
// settings file beside the program and never writes it.
#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/consolesink.h"
#include "cli/keywordsfile.h"
#include "cli/options.h"
#include "cli/search.h"
#include "engine/downthread.h"
#include "engine/phasetimes.h"
#include "platform/application.h"
#include "platform/codepage.h"
#include "settings/rules.h"
#include "settings/settingsfile.h"

namespace {

std::atomic<bool> g_stop{false};         // the search under way; a run of empty pages sets it too
std::atomic<bool> g_interrupted{false};  // Ctrl+C: the searches still to come are skipped

// Ctrl+C (or Ctrl+Break) stops as the Stop button does: the download under way completes and
// the search ends. A second one ends the program at once.
BOOL WINAPI OnConsoleControl(DWORD type) {
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT) return FALSE;
    if (g_interrupted.exchange(true)) return FALSE;
    g_stop = true;
    return TRUE;
}

std::string EnvTemp() {
    wchar_t buf[32768];
    DWORD n = GetEnvironmentVariableW(L"TEMP", buf, 32768);
    return n > 0 && n < 32768 ? platform::Narrow(std::wstring_view(buf, n)) : std::string();
}

void ErrorLine(const std::string& text) {
    std::string line = text;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) line.pop_back();
    cli::Print(true, "quenby-cli: " + cli::OneLine(line) + "\n");
}

// The arguments from the wide command line, in the process code page: the C runtime's narrow
// ones would have gone through the legacy code page on a system that did not grant UTF-8.
std::vector<std::string> Arguments() {
    std::vector<std::string> args;
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv) return args;
    for (int i = 1; i < argc; i++) args.push_back(platform::Narrow(argv[i]));
    LocalFree(argv);
    return args;
}

// Milliseconds per image of each phase and of the rest, summed over every thread.
void PrintTimings(int images, double wallMs) {
    const double n = images > 0 ? images : 1;
    char line[128];
    std::snprintf(line, sizeof line, "timings: %d images, %.2f ms per image:", images, wallMs / n);
    std::string text = line;
    double timed = 0;
    for (int p = 0; p < static_cast<int>(engine::Phase::Count); p++) {
        auto phase = static_cast<engine::Phase>(p);
        double ms = engine::PhaseTimes::Milliseconds(phase);
        timed += ms;
        std::snprintf(line, sizeof line, " %s %.2f,", engine::PhaseTimes::Name(phase), ms / n);
        text += line;
    }
    std::snprintf(line, sizeof line, " the rest %.2f\n", (wallMs - timed) / n);
    cli::Print(true, text + line);
}

}  // namespace

int main() {
    std::vector<std::string> args = Arguments();
    cli::ParseResult parsed = cli::ParseCommandLine(args);
    const cli::Options& o = parsed.options;
    if (o.help) {
        cli::Print(false, cli::UsageText());
        return 0;
    }
    if (!parsed.error.empty()) {
        ErrorLine(parsed.error);
        cli::Print(true, cli::UsageText());
        return 2;
    }

    // The settings the window would start with; the command line overrides them.
    settings::SettingsFile ini(settings::DefaultSettingsPath());
    settings::Preferences defaults;
    defaults.SavePath = EnvTemp();
    const settings::Preferences stored = settings::LoadPreferences(ini, defaults);
    std::string folder = settings::WithTrailingBackslash(o.folder.value_or(stored.SavePath));
    int32_t minSize = o.minSize.value_or(stored.MinFilesize);
    int32_t maxSize = o.maxSize.value_or(stored.MaxFilesize);
    int32_t maxFiles = o.maxFiles.value_or(stored.MaxFileCount);
    int32_t parallel = o.parallel.value_or(stored.SimultaneousDownloads);
    std::string level = o.safeSearch.value_or(stored.SafeSearchT);
    std::string service = o.service.value_or(ini.ReadText(settings::kSearchService));

    DWORD attrs = folder.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(folder.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES || !(attrs & FILE_ATTRIBUTE_DIRECTORY)) {
        ErrorLine("Path to save images to no longer exists.. Please correct ! (" + folder + ")");
        return 2;
    }

    cli::ConsoleSink sink(o.quiet);
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    sink.Message("Doing: 1 of ...");

    // The job as the search command makes it.
    const engine::SearchRequest request{
        .maxSize = maxSize,
        .minSize = minSize,
        .fileLimit = maxFiles,
        .folder = folder,
        .keywords = o.query,
        .safeSearch = level,
        .service = service,
        .filters = settings::FilterQuery(o.filters),
        .market = o.filters.market,
        .agent = platform::ApplicationTitle(),
        .parallel = parallel,
        .collection = o.collection,
    };
    if (o.keywordsFile)
        return cli::RunKeywordsFile(*o.keywordsFile, request, o.emptyPages, sink, g_stop, g_interrupted);
    const ULONGLONG started = GetTickCount64();
    const cli::SearchEnd end = cli::RunSearch(request, o.emptyPages, sink, g_stop);
    if (o.timings) PrintTimings(sink.Downloaded(), static_cast<double>(GetTickCount64() - started));

    if (!end.error.empty()) {
        ErrorLine(end.error);
        return 3;
    }
    return end.downloaded > 0 ? 0 : 1;
}
