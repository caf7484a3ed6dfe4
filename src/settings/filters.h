#pragma once
// The search service's own filters and the market: the groups, each value's code as the
// service knows it, its entry in the Filters dialog, its word on the console's command line
// and its short text in the window's filter line. No Windows API here: the values the
// settings file holds come through here, and a fuzzer plays them.
#include <array>
#include <string>
#include <vector>

namespace settings {

struct FilterValue {
    const char* code;     // written after "+filterui:" in the request
    const char* caption;  // the dialog's entry
    const char* word;     // the console flag's value
    const char* brief;    // in the window's filter line
};

struct FilterGroup {
    const char* flag;   // the console flag ("--size")
    const char* label;  // the dialog's label ("Size:")
    std::vector<FilterValue> values;
};

// The groups in the order their codes go into the request.
enum FilterGroupIndex { kSize, kColor, kType, kLayout, kPeople, kDate, kLicense, kFilterGroupCount };
const std::array<FilterGroup, kFilterGroupCount>& FilterGroups();

// The market asked for when none is chosen, and the dialog's list of markets (nl-NL first).
inline constexpr char kDefaultMarket[] = "nl-NL";
const std::vector<std::string>& CommonMarkets();

// What is chosen: per group the index of a value, or -1 for "Any" (no filter); the market.
struct FilterChoice {
    std::array<int, kFilterGroupCount> value{-1, -1, -1, -1, -1, -1, -1};
    std::string market = kDefaultMarket;

    // No filter and the default market: the request is the plain one.
    bool Plain() const;
    bool operator==(const FilterChoice&) const = default;
};

// The value of a group whose code is exactly `code`, or -1 (empty, unknown or anything else).
int ValueForCode(int group, const std::string& code);
// The value of a group whose console word is `word` (case ignored), or -1.
int ValueForWord(int group, const std::string& word);
// "small, medium, large or wallpaper": the words a group's flag accepts.
std::string WordList(int group);

// A language-region tag that goes into the query as it stands: two or three letters, then
// parts of letters and digits, each after a "-" ("en-US", "zh-Hant-TW"); 35 characters at most.
bool IsMarketTag(const std::string& tag);

// A stored market as the search uses it: one that is no tag is the default market. (A stored
// group value goes through ValueForCode: an unknown code is no filter.)
std::string MarketFromStored(const std::string& stored);

// The code stored for a group's value ("" for "Any").
std::string StoredCode(int group, int value);

// The request's filter value: "+filterui:" and the code of each chosen value, in group order;
// "" when none is chosen.
std::string FilterQuery(const FilterChoice& c);

// What the window shows of the choice in force: "Filters: large, photo, free to share and
// use", with "; market en-US" after it for another market ("Market: en-US" alone); "" for the
// plain request.
std::string FilterLine(const FilterChoice& c);

}  // namespace settings
