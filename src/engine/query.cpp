#include "engine/query.h"

#include <string_view>

namespace engine {

namespace {

bool OnlyCodeCharacters(const std::string& s, std::string_view signs) {
    for (char c : s) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!plain && signs.find(c) == std::string_view::npos) return false;
    }
    return true;
}

}  // namespace

std::string EncodedKeywords(const std::string& keywords) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char ch : keywords) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c >= 0x7F) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

std::string SearchPath(const QueryParams& p) {
    const bool marketOk = !p.market.empty() && p.market.size() <= 35 && OnlyCodeCharacters(p.market, "-");
    std::string path = "/images/search?q=" + EncodedKeywords(p.keywords) + "&first=" + std::to_string(p.first) +
                       "&count=" + std::to_string(p.count) + "&maxFileSize=" + std::to_string(p.maxSize) +
                       "&minFileSize=" + std::to_string(p.minSize) + "&safeSearch=" + p.safeSearch +
                       "&mkt=" + (marketOk ? p.market : kDefaultMarket) + "&adlt=" + p.safeSearch;
    if (!p.filters.empty() && OnlyCodeCharacters(p.filters, "+:-_")) path += "&qft=" + p.filters;
    return path;
}

std::string SearchUrl(const std::string& serviceBase, const QueryParams& p) {
    std::string base = serviceBase;
    while (!base.empty() && base.back() == '/') base.pop_back();
    return base + SearchPath(p);
}

std::string TryingLabel(int32_t position, int32_t tried, int32_t fileLimit) {
    // Widened so an absurd stored limit or position cannot overflow the sum.
    int64_t shown = static_cast<int64_t>(position) - 1 + tried;
    return "Trying: " + std::to_string(shown) + " of " + std::to_string(fileLimit) + " images";
}

std::string DownedLabel(int32_t downed) { return "Downed: " + std::to_string(downed) + " images"; }

std::string BusyLabel(uint32_t seconds) { return "Service busy, retrying in " + std::to_string(seconds) + " s..."; }

}  // namespace engine
