#include "mainwindow/state.h"

namespace mainwindow {

std::string QueryKeywords;
std::string SelectedImageName;

std::string SavePath;
int32_t MinFilesize = 0;
int32_t MaxFilesize = 4096000;
int32_t MaxFileCount = 1000;
int32_t SimultaneousDownloads = 1;
std::string SafeSearchT = "Moderate";
bool SaveOnExitAsk = true;
bool ShowMainMenu = false;  // both set when the window is first shown
bool ShowThumbsList = false;
settings::FilterChoice SearchFilters;

void ResetModuleState() {
    QueryKeywords.clear();
    SelectedImageName.clear();
    SavePath.clear();
    MinFilesize = 0;
    MaxFilesize = 4096000;
    MaxFileCount = 1000;
    SimultaneousDownloads = 1;
    SafeSearchT = "Moderate";
    SaveOnExitAsk = true;
    ShowMainMenu = false;
    ShowThumbsList = false;
    SearchFilters = {};
}

}  // namespace mainwindow
