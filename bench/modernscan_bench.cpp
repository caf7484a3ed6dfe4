// How the second rule set of the page scan grows with the page: ordinary pages of more and more
// results, and hostile pages (one huge attribute, deep nesting, endless references). Prints
// the time per megabyte at each size and the ratio to the smallest size; linear reading keeps
// that ratio near 1.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "engine/modernscan.h"

namespace {

std::string Results(size_t n) {
    std::string page = "<html><body>";
    for (size_t i = 0; i < n; ++i) {
        std::string k = std::to_string(i);
        page += "<div class=\"imgpt\"><a class=\"iusc\" style=\"height:185px\" m=\"{&quot;cid&quot;:&quot;" + k +
                "&quot;,&quot;purl&quot;:&quot;https://site.example/p%20" + k +
                "&quot;,&quot;murl&quot;:&quot;https:\\/\\/img.example\\/" + k +
                ".jpg&quot;,&quot;turl&quot;:&quot;https://tse.example/th?id=" + k +
                "&quot;,&quot;t&quot;:&quot;caf\\u00e9&quot;}\" href=\"/images/search?view=detailV2\"></a></div>\n";
    }
    return page + "</body></html>";
}

std::string LongAttribute(size_t bytes) {
    std::string v;
    while (v.size() < bytes) v += "&quot;&#x41;&#39;";
    return "<a class=\"iusc\" m=\"{&quot;t&quot;:&quot;" + v + "&quot;}\">";
}

std::string Deep(size_t bytes) { return "<a class=iusc m='{\"t\":" + std::string(bytes, '[') + "'>"; }

std::string Openings(size_t bytes) {
    std::string v;
    while (v.size() < bytes) v += "<a class=iusc m=";
    return v;
}

void Measure(const char* name, const std::function<std::string(size_t)>& make) {
    double base = 0;
    for (size_t mb : {1, 4, 16, 32}) {
        std::string page = make(mb << 20);
        double s = 1e9;  // the best of three runs: the machine is shared
        size_t found = 0;
        for (int run = 0; run < 3; run++) {
            auto t0 = std::chrono::steady_clock::now();
            found = engine::ScanModernPage(page).size();
            s = std::min(s, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
        }
        double perMb = s / (double(page.size()) / (1 << 20));
        if (base == 0) base = perMb;
        std::printf("%-15s %6.1f MB  %8.3f s  %8.4f s/MB  ratio %.2f  results %zu\n", name,
                    double(page.size()) / (1 << 20), s, perMb, perMb / base, found);
    }
}

}  // namespace

int main() {
    Measure("results", [](size_t bytes) { return Results(bytes / 330); });
    Measure("long attribute", LongAttribute);
    Measure("deep nesting", Deep);
    Measure("open tags", Openings);
    return 0;
}
