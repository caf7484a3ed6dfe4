#include "mainwindow/state.h"

namespace mainwindow {

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

void ResetModuleState() {
    QueryKeywords.clear();
    SelectedImageName.clear();
    Prefs = AtStart();
}

}  // namespace mainwindow
