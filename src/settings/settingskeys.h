#pragma once
// Every key of "Quenby.ini" in one place: its section, name, fixed default and, for the keys of
// the preferences structure, its place there (which gives the key's type). Defaults that depend
// on the running window or the environment (the TEMP folder, the designed placement, the
// panel's width) are supplied by the caller and marked here with no text.
#include <array>
#include <cstdint>
#include <string>
#include <variant>

#include "settings/filters.h"

namespace settings {

// The values of [Preferences] and [Filters]. Their defaults, reading and writing walk the table
// below (settingsfile.h), so each key's default, type and place in the file are written once.
struct Preferences {
    Preferences();  // every key at its fixed default; the rest empty or 0

    // The folder ends in "\" when not empty; the level is passed on unchanged; the window's
    // size is in designed units; file sizes are in bytes; the simultaneous downloads as stored
    // (a search brings them within 1 to 8).
    std::string SavePath, SafeSearchT;
    int32_t WindowTop{}, WindowLeft{}, WindowWidth{}, WindowHeight{};
    int32_t MinFilesize{}, MaxFilesize{}, MaxFileCount{}, SimultaneousDownloads{};
    bool ShowThumbsList{}, SaveOnExitAsk{}, ShowMainMenu{};
    FilterChoice SearchFilters;
    // What a search keeps: no file whose bytes are already in the folder, none smaller than
    // the smallest picture (0 = no limit), only files that are pictures; and a list of sources.
    bool SkipIdentical{}, OnlyPictures{}, WriteSources{};
    int32_t MinWidth{}, MinHeight{};

    bool operator==(const Preferences&) const = default;
};

struct HeldMarket {};  // the market, in the filter choice

// Where the preferences hold a key's value: a member of the key's type (text, integer, or flag
// stored as 1 or 0), a filter group (its value stored as its code), the market; or nowhere.
using Held = std::variant<std::monostate, std::string Preferences::*, int32_t Preferences::*, bool Preferences::*,
                          FilterGroupIndex, HeldMarket>;

struct KeyDef {
    const char* section;
    const char* name;
    const char* fixedDefault;  // nullptr: the caller knows the default
    Held held{};
};

inline constexpr char kHistorySection[] = "SearchStrings";
inline constexpr char kPreferences[] = "Preferences";
inline constexpr int kHistoryKeys = 12;  // keys "0" to "11", "0" the most recent

inline constexpr KeyDef kSavePath{kPreferences, "SavePath", nullptr, &Preferences::SavePath};  // TEMP
inline constexpr KeyDef kWindowTop{kPreferences, "WindowTop", "118", &Preferences::WindowTop};
inline constexpr KeyDef kWindowLeft{kPreferences, "WindowLeft", "203", &Preferences::WindowLeft};
inline constexpr KeyDef kWindowWidth{kPreferences, "WindowWidth", nullptr, &Preferences::WindowWidth};
inline constexpr KeyDef kWindowHeight{kPreferences, "WindowHeight", nullptr, &Preferences::WindowHeight};
inline constexpr KeyDef kShowThumbsList{kPreferences, "ShowThumbsList", "1", &Preferences::ShowThumbsList};
inline constexpr KeyDef kMinFilesize{kPreferences, "MinFilesize", "0", &Preferences::MinFilesize};
inline constexpr KeyDef kMaxFilesize{kPreferences, "MaxFilesize", "4096000", &Preferences::MaxFilesize};
inline constexpr KeyDef kMaxFileCount{kPreferences, "MaxFileCount", "1000", &Preferences::MaxFileCount};
// Images of one page downloaded at once (1 to 8; a search brings other values within).
inline constexpr KeyDef kSimultaneousDownloads{kPreferences, "SimultaneousDownloads", "1",
                                               &Preferences::SimultaneousDownloads};
inline constexpr KeyDef kSaveOnExitAsk{kPreferences, "SaveOnExitAsk", "1", &Preferences::SaveOnExitAsk};
inline constexpr KeyDef kShowMainMenu{kPreferences, "ShowMainMenu", "1", &Preferences::ShowMainMenu};
inline constexpr KeyDef kSafeSearchT{kPreferences, "SafeSearchT", "Moderate", &Preferences::SafeSearchT};
// An integer written when a saved search is loaded; its default is the chooser's last entry.
inline constexpr KeyDef kLastLoaded{kPreferences, "LastLoaded", nullptr};
// A flag written "1" by the system-menu donation item; never read.
inline constexpr KeyDef kDonated{kPreferences, "Donated", nullptr};
// The search service's address; read, never written.
inline constexpr KeyDef kSearchService{kPreferences, "SearchService", "https://www.bing.com"};

// The [Preferences] keys a normal close writes, in the order it writes them.
inline constexpr std::array<const KeyDef*, 13> kClosingKeys{
    &kSavePath,       &kWindowTop,    &kWindowLeft,  &kWindowWidth,  &kWindowHeight,
    &kShowThumbsList, &kMinFilesize,  &kMaxFilesize, &kMaxFileCount, &kSimultaneousDownloads,
    &kSaveOnExitAsk,  &kShowMainMenu, &kSafeSearchT};

// Options a close writes only when they are set, and removes otherwise: a file of a program
// that never set them stays as it was, and an older program reads it as before.
inline constexpr KeyDef kSkipIdentical{kPreferences, "SkipIdentical", "0", &Preferences::SkipIdentical};
inline constexpr KeyDef kOnlyPictures{kPreferences, "OnlyPictures", "0", &Preferences::OnlyPictures};
inline constexpr KeyDef kWriteSources{kPreferences, "WriteSources", "0", &Preferences::WriteSources};
inline constexpr KeyDef kMinWidth{kPreferences, "MinWidth", "0", &Preferences::MinWidth};
inline constexpr KeyDef kMinHeight{kPreferences, "MinHeight", "0", &Preferences::MinHeight};
inline constexpr std::array<const KeyDef*, 5> kCollectionKeys{&kSkipIdentical, &kOnlyPictures, &kWriteSources,
                                                              &kMinWidth, &kMinHeight};

// The search service's filters, each the code of a value ("" for none), and the market, in a
// section of their own; a close writes them after [Preferences], in this order.
inline constexpr char kFiltersSection[] = "Filters";
inline constexpr std::array<KeyDef, kFilterGroupCount> kFilterKeys{{{kFiltersSection, "Size", "", kSize},
                                                                    {kFiltersSection, "Color", "", kColor},
                                                                    {kFiltersSection, "Type", "", kType},
                                                                    {kFiltersSection, "Layout", "", kLayout},
                                                                    {kFiltersSection, "People", "", kPeople},
                                                                    {kFiltersSection, "Date", "", kDate},
                                                                    {kFiltersSection, "License", "", kLicense}}};
inline constexpr KeyDef kMarket{kFiltersSection, "Market", kDefaultMarket, HeldMarket{}};

// The fixed default of an integer or boolean key read as a number (0 when it has none).
int32_t IntegerDefault(const KeyDef& key);

}  // namespace settings
