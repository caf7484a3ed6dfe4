#include "cli/keywordsfile.h"

#include <windows.h>

#include "cli/options.h"
#include "cli/search.h"
#include "engine/keywordlist.h"
#include "platform/codepage.h"
#include "platform/owned.h"
#include "platform/systemtext.h"

namespace cli {

namespace {

constexpr size_t kMostSearches = 10000;
constexpr LONGLONG kMostBytes = 16 << 20;

// The file's bytes, or why they cannot be had.
bool ReadWhole(const std::string& path, std::string& bytes, std::string& problem) {
    platform::Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size)) {
        problem = platform::SystemReason(GetLastError());
        return false;
    }
    if (size.QuadPart > kMostBytes) {
        problem = "it is larger than 16 MB";
        return false;
    }
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    if (!bytes.empty() &&
        (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) || got != bytes.size())) {
        problem = platform::SystemReason(GetLastError());
        return false;
    }
    return true;
}

// A line's words joined as the command line joins its keywords: single spaces, each then "+".
std::string Query(const std::string& line) {
    std::string query;
    for (char c : line) {
        const bool blank = c == ' ' || c == '\t';
        if (blank && (query.empty() || query.back() == '+')) continue;
        query += blank ? '+' : c;
    }
    while (!query.empty() && query.back() == '+') query.pop_back();
    return query;
}

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    return text;
}

}  // namespace

int RunKeywordsFile(const std::string& path, const engine::SearchRequest& request, int emptyPages, ConsoleSink& sink,
                    std::atomic<bool>& stop, const std::atomic<bool>& interrupted) {
    std::string bytes, problem;
    engine::KeywordList list;
    if (ReadWhole(path, bytes, problem)) list = engine::ReadKeywordList(bytes, kMostSearches);
    if (problem.empty()) problem = list.error;
    if (!problem.empty()) {
        Print(true, "quenby-cli: " + OneLine("The keywords file \"" + path + "\" cannot be used: " + problem) + "\n");
        return 2;
    }
    const size_t count = list.searches.size();
    bool nothing = false, failed = false;
    for (size_t i = 0; i < count; i++) {
        // Keywords arrive in UTF-8; the job takes them in the process code page, as typed ones.
        const std::string keywords = platform::Recode(list.searches[i], CP_UTF8, GetACP());
        const std::string head =
            "Search " + std::to_string(i + 1) + " of " + std::to_string(count) + " \"" + OneLine(keywords) + "\": ";
        if (interrupted) {
            Print(true, head + "skipped\n");
            nothing = true;
            continue;
        }
        engine::SearchRequest one = request;
        one.keywords = Query(keywords);
        stop = false;
        if (interrupted) stop = true;  // Ctrl+C since the test above: its stop was just cleared
        const SearchEnd end = RunSearch(one, emptyPages, sink, stop);
        std::string summary = std::to_string(end.downloaded) + (end.downloaded == 1 ? " image" : " images");
        if (!end.error.empty())
            summary += ", ended by an error: " + OneLine(Trimmed(end.error));
        else if (interrupted)
            summary += ", stopped";
        Print(true, head + summary + "\n");
        failed = failed || !end.error.empty();
        nothing = nothing || end.downloaded == 0;
    }
    return failed ? 3 : nothing ? 1 : 0;
}

}  // namespace cli
