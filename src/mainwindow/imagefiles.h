#pragma once
// The commands on downloaded image files. `folder` is the target folder text as shown (it
// ends with "\" when not empty) and `selected` the file name of the image last selected; the
// image is looked for at folder + selected, in the current target folder.
#include <windows.h>

#include <string>

namespace mainwindow {

// Opens the folder in the file manager; no check and no message.
void OpenTargetFolder(const std::string& folder);

// Opens the image with the program the system associates with it, owned by `owner`.
void OpenDownloadedImage(HWND owner, const std::string& folder, const std::string& selected);

// Shows the image file's name, size and date in an information box.
void ShowImageFileInfo(const std::string& folder, const std::string& selected);

// A last-write time as the info box writes it: local time through the file system's packed
// date (seconds in steps of two), the user's short date and long time formats, no time at
// exactly midnight.
std::string FileDateText(const FILETIME& lastWrite);

}  // namespace mainwindow
