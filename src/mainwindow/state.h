#pragma once
// The state that the main window's handlers, the search job and the other windows share:
// the module variables of the main window's module.
#include <cstdint>
#include <string>

#include "settings/filters.h"
#include "settings/rules.h"
#include "settings/settingskeys.h"

namespace mainwindow {

// Keyword text of the last search started, spaces replaced by "+".
extern std::string QueryKeywords;
// File name of the image last selected (no folder).
extern std::string SelectedImageName;

// The settings held while the program runs. The strip and the menu bar are held as they are
// shown, so both start off until the window's first showing applies the file's. The placement
// is the window's own: the held one is not kept up to date.
extern settings::Preferences Prefs;
// Its members under the names the handlers know them by.
inline std::string& SavePath = Prefs.SavePath;  // ends with "\" when not empty
inline int32_t& MinFilesize = Prefs.MinFilesize;
inline int32_t& MaxFilesize = Prefs.MaxFilesize;
inline int32_t& MaxFileCount = Prefs.MaxFileCount;
inline int32_t& SimultaneousDownloads = Prefs.SimultaneousDownloads;
inline std::string& SafeSearchT = Prefs.SafeSearchT;
inline bool& SaveOnExitAsk = Prefs.SaveOnExitAsk;
inline bool& ShowMainMenu = Prefs.ShowMainMenu;
inline bool& ShowThumbsList = Prefs.ShowThumbsList;
// The search service's filters and the market, copied into each search as the limits are.
inline settings::FilterChoice& SearchFilters = Prefs.SearchFilters;

using settings::SafeSearchLevels;

// Every variable back to its value at program start (a new main window in the tests).
void ResetModuleState();

}  // namespace mainwindow
