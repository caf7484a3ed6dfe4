#pragma once
// Every key of "Quenby.ini" in one place: its section, name, type and fixed default. Defaults
// that depend on the running window or the environment (the TEMP folder, the designed
// placement, the panel's width) are supplied by the caller and marked here with no text.
#include <array>
#include <cstdint>
#include <string>

namespace settings {

enum class KeyType { Text, Integer, Boolean };

struct KeyDef {
    const char* section;
    const char* name;
    KeyType type;
    const char* fixedDefault;  // nullptr: the caller knows the default
};

inline constexpr char kHistorySection[] = "SearchStrings";
inline constexpr char kPreferences[] = "Preferences";
inline constexpr int kHistoryKeys = 12;  // keys "0" to "11", "0" the most recent

inline constexpr KeyDef kSavePath{kPreferences, "SavePath", KeyType::Text, nullptr};  // TEMP
inline constexpr KeyDef kWindowTop{kPreferences, "WindowTop", KeyType::Integer, "118"};
inline constexpr KeyDef kWindowLeft{kPreferences, "WindowLeft", KeyType::Integer, "203"};
inline constexpr KeyDef kWindowWidth{kPreferences, "WindowWidth", KeyType::Integer, nullptr};
inline constexpr KeyDef kWindowHeight{kPreferences, "WindowHeight", KeyType::Integer, nullptr};
inline constexpr KeyDef kShowThumbsList{kPreferences, "ShowThumbsList", KeyType::Boolean, "1"};
inline constexpr KeyDef kMinFilesize{kPreferences, "MinFilesize", KeyType::Integer, "0"};
inline constexpr KeyDef kMaxFilesize{kPreferences, "MaxFilesize", KeyType::Integer, "4096000"};
inline constexpr KeyDef kMaxFileCount{kPreferences, "MaxFileCount", KeyType::Integer, "1000"};
// Images of one page downloaded at once (1 to 8; a search brings other values within).
inline constexpr KeyDef kSimultaneousDownloads{kPreferences, "SimultaneousDownloads", KeyType::Integer, "1"};
inline constexpr KeyDef kSaveOnExitAsk{kPreferences, "SaveOnExitAsk", KeyType::Boolean, "1"};
inline constexpr KeyDef kShowMainMenu{kPreferences, "ShowMainMenu", KeyType::Boolean, "1"};
inline constexpr KeyDef kSafeSearchT{kPreferences, "SafeSearchT", KeyType::Text, "Moderate"};
// Written when a saved search is loaded; its default is the chooser's last entry.
inline constexpr KeyDef kLastLoaded{kPreferences, "LastLoaded", KeyType::Integer, nullptr};
// Written "1" by the system-menu donation item; never read.
inline constexpr KeyDef kDonated{kPreferences, "Donated", KeyType::Boolean, nullptr};
// The search service's address; read, never written.
inline constexpr KeyDef kSearchService{kPreferences, "SearchService", KeyType::Text, "https://www.bing.com"};

// The [Preferences] keys a normal close writes, in the order it writes them.
inline constexpr std::array<const KeyDef*, 13> kClosingKeys{
    &kSavePath,       &kWindowTop,    &kWindowLeft,  &kWindowWidth,  &kWindowHeight,
    &kShowThumbsList, &kMinFilesize,  &kMaxFilesize, &kMaxFileCount, &kSimultaneousDownloads,
    &kSaveOnExitAsk,  &kShowMainMenu, &kSafeSearchT};

// The search service's filters, each the code of a value ("" for none), and the market, in a
// section of their own; a close writes them after [Preferences], in this order.
inline constexpr char kFiltersSection[] = "Filters";
inline constexpr std::array<KeyDef, 7> kFilterKeys{{{kFiltersSection, "Size", KeyType::Text, ""},
                                                    {kFiltersSection, "Color", KeyType::Text, ""},
                                                    {kFiltersSection, "Type", KeyType::Text, ""},
                                                    {kFiltersSection, "Layout", KeyType::Text, ""},
                                                    {kFiltersSection, "People", KeyType::Text, ""},
                                                    {kFiltersSection, "Date", KeyType::Text, ""},
                                                    {kFiltersSection, "License", KeyType::Text, ""}}};
inline constexpr KeyDef kMarket{kFiltersSection, "Market", KeyType::Text, "nl-NL"};

// The fixed default of an integer or boolean key read as a number (0 when it has none).
int32_t IntegerDefault(const KeyDef& key);

}  // namespace settings
