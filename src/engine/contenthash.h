#pragma once
// A file's SHA-256 through the system's cryptography (CNG), and a folder's files for the index
// of pictures already had.
#include <optional>
#include <string>

#include "engine/identical.h"

namespace engine {

// Lower-case hex; none when the file cannot be opened or read.
std::optional<std::string> FileSha256(const std::string& path);

// Adds the folder's files (not its subfolders) to the index by size; returns how many.
size_t AddFolderFiles(IdenticalIndex& index, const std::string& folder);

}  // namespace engine
