#pragma once
// Where the program keeps what it writes for itself: the settings file and the saved searches.
// Beside the executable when the program may write there, as it always did; where it may not
// (kept in "C:\Program Files", on a read-only share or a write-protected stick) in the user's
// own folder %LOCALAPPDATA%\Quenby, made when needed, so that settings can be kept, searches
// saved and the window closed.
#include <string>

namespace settings {

// The folder, ending in "\". Decided once for each executable folder (tests change it).
std::string DataFolder();

// The choice itself: `programFolder` when its settings file can be written there (the folder
// takes a new file and an existing "Quenby.ini" opens for writing), else `perUserRoot` +
// "Quenby\" (created; a settings file in the program folder is copied there first, so the
// settings made for the program carry over), else `programFolder` after all. Both end in "\".
std::string ChooseDataFolder(const std::string& programFolder, const std::string& perUserRoot);

}  // namespace settings
