// The page scan over a results page of about 2 MB holding 500 results, natively and without
// sanitizers: how long one page takes to walk, name and hand over. Prints figures only.
#include <chrono>
#include <cstdio>
#include <string>
#include <utility>

#include "engine/naming.h"
#include "engine/pagescan.h"
#include "engine/scanflow.h"

namespace {

struct Hooks : engine::ScanHooks {
    int fetched = 0;
    bool StopRequested() override { return false; }
    bool IsFetched(const std::string&) override { return false; }
    void CountTried() override {}
    bool FileExists(const std::string& name) override { return name == "photo.jpg"; }
    int RandomFactor() override { return 1; }
    void Fetch(const engine::NewImage&) override { fetched++; }
};

}  // namespace

int main() {
    std::string page = "<html><head>" + std::string(20000, ' ') + "</head><body><div id=\"b_SearchBoxAnswer\"></div>";
    for (int i = 0; i < 500; i++) {
        std::string n = std::to_string(i);
        page += "<div class=\"iuscp\"><a class=\"thumb\" href=\"http://img" + n +
                ".example/photos/photo.jpg?w=300&amp;h=200\" h=\"ID=images," + n +
                ".1\"><img src=\"x\"></a><div class=\"meta\"><a class=\"tit\" href=\"http://site.example/p%2520" + n +
                "?a=1&amp;b=2\" h=\"ID=images," + n + ".2\">title</a><a class=\"site\" href=\"/s\">site</a></div>" +
                "<p>" + std::string(3900, 'x') + "</p></div>\n";
    }
    page += "</body></html>";
    const std::wstring wide(page.begin(), page.end());

    const int rounds = 20;
    Hooks hooks;
    auto start = std::chrono::steady_clock::now();
    for (int r = 0; r < rounds; r++) {
        std::wstring cut = engine::CutAtStartMarker(wide);
        std::string rest(cut.begin(), cut.end());  // stands in for the code page conversion
        engine::ScanResults(rest, hooks);
    }
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / rounds;
    std::printf("page scan: %.2f MB page, %d results, %.2f ms per page (%d images handed over)\n",
                page.size() / 1048576.0, hooks.fetched / rounds, ms, hooks.fetched / rounds);

    // Hostile pages of the same size: a million anchor openings, and tags that never end.
    auto repeat = [](const std::string& piece) {
        std::string t;
        while (t.size() < (2u << 20)) t += piece;
        return t;
    };
    const std::pair<const char*, std::string> hostile[] = {
        {"anchor openings only", repeat("<a")}, {"tags without an end", repeat("<a class=\"thumb\" href=\"x")}};
    for (auto& [name, text] : hostile) {
        Hooks none;
        auto t0 = std::chrono::steady_clock::now();
        engine::ScanResults(text, none);
        double hms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        std::printf("page scan: %.2f MB of %s, %zu results walked, %.2f ms\n", text.size() / 1048576.0, name,
                    engine::PageScanner(text).ResultCount(), hms);
    }
    return 0;
}
