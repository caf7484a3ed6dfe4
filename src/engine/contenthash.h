#pragma once
// A file's SHA-256 through the system's cryptography (CNG), and a folder's files for the index
// of pictures already had.
#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/identical.h"

namespace engine {

// SHA-256 over data given in pieces; Hex() ends it. Hex() is empty when the system has no hash.
class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;
    void Add(std::string_view data);
    std::string Hex();  // lower case

private:
    void* algorithm_ = nullptr;
    void* hash_ = nullptr;
    bool ok_ = false;
};

// Lower-case hex; none when the file cannot be opened or read.
std::optional<std::string> FileSha256(const std::string& path);

// Adds the folder's files (not its subfolders) to the index by size; returns how many. A folder
// of a hundred thousand files takes about half a second: `stop`, when given, ends it early.
size_t AddFolderFiles(IdenticalIndex& index, const std::string& folder, const std::atomic<bool>* stop = nullptr);

// The index of pictures already had in this folder for the whole program run (letter case of the
// path ignored), made empty at its first use. In memory only.
std::shared_ptr<IdenticalIndex> IndexOfFolder(const std::string& folder);

}  // namespace engine
