// Filter values and a market as a settings file may hold them (one a line): whatever they
// are, the request keeps its keys and carries only the service's own codes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/query.h"
#include "settings/filters.h"

namespace {

bool QuerySafe(const std::string& s) {
    for (char c : s) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!plain && c != '+' && c != ':' && c != '-' && c != '_' && c != '=' && c != '&') return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    std::string lines[settings::kFilterGroupCount + 1];
    size_t at = 0;
    for (std::string& line : lines) {
        size_t nl = text.find('\n', at);
        line = text.substr(std::min(at, text.size()), nl == std::string::npos ? std::string::npos : nl - at);
        at = nl == std::string::npos ? text.size() : nl + 1;
    }
    settings::FilterChoice c;
    for (int g = 0; g < settings::kFilterGroupCount; ++g) {
        int v = settings::ValueForCode(g, lines[g]);
        if (v >= 0 && settings::StoredCode(g, v) != lines[g]) std::abort();
        c.value[static_cast<size_t>(g)] = v;
        settings::ValueForWord(g, lines[g]);
    }
    c.market = settings::MarketFromStored(lines[settings::kFilterGroupCount]);
    if (!settings::IsMarketTag(c.market)) std::abort();

    std::string qft = settings::FilterQuery(c);
    std::string path = engine::SearchPath({"q", 1, 28, 0, 0, "Moderate", qft, c.market});
    std::string tail = path.substr(path.find("&mkt="));
    if (!QuerySafe(tail)) std::abort();
    if (qft.empty() != (path.find("&qft=") == std::string::npos)) std::abort();
    // Every code sent is one the service knows, each group at most once.
    for (size_t from = 0; (from = qft.find("+filterui:", from)) != std::string::npos;) {
        size_t next = qft.find("+filterui:", from + 1);
        std::string code = qft.substr(from + 10, next == std::string::npos ? std::string::npos : next - from - 10);
        int groups = 0;
        for (int g = 0; g < settings::kFilterGroupCount; ++g) groups += settings::ValueForCode(g, code) >= 0;
        if (groups != 1) std::abort();
        from = from + 1;
    }
    settings::FilterLine(c);
    return 0;
}
