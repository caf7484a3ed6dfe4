#pragma once
// The state that the main window's handlers, the search job and the other windows share:
// the module variables of the main window's module.
#include <cstdint>
#include <string>

#include "settings/filters.h"
#include "settings/rules.h"

namespace mainwindow {

// Keyword text of the last search started, spaces replaced by "+".
extern std::string QueryKeywords;
// File name of the image last selected (no folder).
extern std::string SelectedImageName;

// The settings held while the program runs.
extern std::string SavePath;  // ends with "\" when not empty
extern int32_t MinFilesize;   // bytes
extern int32_t MaxFilesize;   // bytes
extern int32_t MaxFileCount;
extern int32_t SimultaneousDownloads;  // as stored; the job brings it within 1 to 8
extern std::string SafeSearchT;        // one of SafeSearchLevels, passed on unchanged
extern bool SaveOnExitAsk;
extern bool ShowMainMenu;
extern bool ShowThumbsList;
// The search service's filters and the market, copied into each search as the limits are.
extern settings::FilterChoice SearchFilters;

using settings::SafeSearchLevels;

// Every variable back to its value at program start (a new main window in the tests).
void ResetModuleState();

}  // namespace mainwindow
