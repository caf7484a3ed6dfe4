#pragma once
// The program's own texts for the image file commands and the new-version check.
#include <cstdint>
#include <string>
#include <string_view>

namespace info {

inline constexpr const char* kSelectImageFirst = "Please select an image from image list first...";
// The open command's wording ("traget") differs from the info command's on purpose: both are
// the texts users know.
inline constexpr const char* kOpenImageMissing =
    "Can't find this image anymore on the traget folder,\rmaybe it is missing or has been moved...";
inline constexpr const char* kInfoImageMissing =
    "Can't find this image anymore on the target folder,\rmaybe it is missing or has been moved...";

inline constexpr const char* kNewVersionAvailable =
    "There is a *new* version of this freeware available !\r\rPlease go to our freeware web page "
    "and download it,\rand replace the existing one by the new version.";
inline constexpr const char* kMostRecentVersion =
    "You have the most recent version of this freeware..\rBut keep checking, as this is updated "
    "regularly!";

// The warning when no version-description file could be downloaded; `fileName` is the last
// part of the second source's address.
std::string DownloadWarning(std::string_view fileName);

// The image file information: name, size and date lines, each ended by a CR.
std::string ImageInfoText(std::string_view name, uint64_t sizeBytes, std::string_view dateText);

// A date and time as the info text writes it: the time is left out at exactly midnight.
std::string DateTimeText(std::string_view date, std::string_view time, bool midnight);

// Blanks and control characters removed from both ends.
std::string TrimBlanks(std::string_view text);

}  // namespace info
