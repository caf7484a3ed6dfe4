#pragma once
// The three files of a saved search on disk: names, whole-file reading and writing with the
// sharing each file is held with, listing and deleting sets. Errors are std::runtime_error
// with the texts the application-wide error handler shows.
#include <stdexcept>
#include <string>
#include <vector>

#include "savedsearch/records.h"

namespace savedsearch {

inline constexpr char kThumbExt[] = ".QBI";
inline constexpr char kNameExt[] = ".QBJ";
inline constexpr char kLinkExt[] = ".QBL";

bool FileExists(const std::string& path);  // a file, not a folder

// What a saved search holds, entry by entry.
struct SetContents {
    std::vector<Bytes> jpegs;        // one complete JPEG stream per entry, or none
    std::vector<std::string> names;  // the image file names (hints), same count
    std::vector<std::string> lines;  // the result list's lines, same count
};

// Writes base + ".QBI", ".QBJ", ".QBL" in this order, each created anew and held exclusively
// while it is written. When any of them fails after the first was created, all three are
// deleted, so no half set is left that the chooser would offer; then the error is thrown
// ("Cannot create file "<path>". <reason>" or "Stream write error").
void WriteSet(const std::string& base, const SetContents& set);

// Reads a whole file. share: 0 (the thumbnail and name files) or read sharing (the link file).
// Throws "Cannot open file "<path>". <reason>", or "Stream read error" for a failed read, and
// SetTooLarge when the file holds more than `limit` bytes (nothing of it is read then).
struct SetTooLarge : std::runtime_error {
    SetTooLarge() : std::runtime_error("saved search too large") {}
};
Bytes ReadWholeFile(const std::string& path, bool shareRead, size_t limit = kMaxSetFileBytes);

// The base names of the saved searches in `folder` (ending in "\"), found by their ".QBI"
// files in the order the file system returns them; folders are left out.
std::vector<std::string> FindSavedSearches(const std::string& folder);

// Deletes base + ".QBI", ".QBL", ".QBJ" in this order; a file that is missing or cannot be
// deleted is passed over.
void DeleteSet(const std::string& base);

}  // namespace savedsearch
