#pragma once
// Text the search job builds without any Windows API: the results page address and the
// progress label texts.
#include <cstdint>
#include <string>

namespace engine {

inline constexpr const char* kDefaultService = "https://www.bing.com";
inline constexpr const char* kDefaultMarket = "nl-NL";
// Results a page asks for; a search steps through the service's results by as many.
inline constexpr int32_t kPageSize = 28;

struct QueryParams {
    std::string keywords;  // UTF-8, spaces already replaced by "+"; nothing else escaped
    int32_t first = 1;
    int32_t count = kPageSize;
    int32_t maxSize = 0;     // bytes
    int32_t minSize = 0;     // bytes
    std::string safeSearch;  // "Strict", "Moderate" or "Off"
    // The service's filters ("+filterui:imagesize-large..."), or none; the market.
    std::string filters = {};
    std::string market = kDefaultMarket;
};

// The keywords as the query carries them: every byte of a non-ASCII character (UTF-8) and every
// control character percent-encoded, once; the rest (ASCII, "%", "&" and "#" included) as typed.
std::string EncodedKeywords(const std::string& keywords);

// "/images/search?q=...&first=...&count=...&maxFileSize=...&minFileSize=...&safeSearch=...&mkt=nl-NL&adlt=...",
// then "&qft=" and the filters when there are any. A market or filter text holding anything
// but letters, digits and the signs of their codes would change the query's meaning: such a
// market is replaced by the default one, such filters are left out.
std::string SearchPath(const QueryParams& p);

// The service base ("https://www.bing.com", or a test service "http://127.0.0.1:PORT")
// followed by the search path. A trailing "/" on the base is dropped.
std::string SearchUrl(const std::string& serviceBase, const QueryParams& p);

// Label2: "Trying: <position - 1 + tried> of <limit> images"
std::string TryingLabel(int32_t position, int32_t tried, int32_t fileLimit);
// Label1: "Downed: <downed> images"
std::string DownedLabel(int32_t downed);
// Label2 while a busy service is waited for: "Service busy, retrying in <seconds> s..."
std::string BusyLabel(uint32_t seconds);

}  // namespace engine
