#include "mainwindow/state.h"

namespace mainwindow {

engine::TDownThread* CurrentSearch = nullptr;
std::atomic<bool> StopRequested{true};
int32_t SearchRunning = 0;
bool ResultsSaved = false;
std::string QueryKeywords;
std::string SelectedImageName;

namespace {
// The settings as the program starts: the file's defaults, the strip and the menu bar off.
settings::Preferences AtStart() {
    settings::Preferences p;
    p.ShowMainMenu = p.ShowThumbsList = false;
    return p;
}
}  // namespace

settings::Preferences Prefs = AtStart();

int SearchStartPauseMs = 2000;

void ResetModuleState() {
    CurrentSearch = nullptr;
    StopRequested = true;
    SearchRunning = 0;
    ResultsSaved = false;
    QueryKeywords.clear();
    SelectedImageName.clear();
    Prefs = AtStart();
}

}  // namespace mainwindow
