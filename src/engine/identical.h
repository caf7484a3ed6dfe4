#pragma once
// Pictures already had: the files of the target folder when a search starts and every file
// downloaded in this program run, known by size at once and by content (SHA-256) only when a new
// file of the same size comes, so that a folder of many files costs a listing, not a reading.
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace engine {

class IdenticalIndex {
public:
    // The hash of a file's bytes in lower-case hex; none when it cannot be read (locked, gone).
    using HashFile = std::function<std::optional<std::string>(const std::string& path)>;
    explicit IdenticalIndex(HashFile hashFile) : hashFile_(std::move(hashFile)) {}

    // A file in the folder, by its path and size; read only when a new file of that size comes.
    void AddExisting(const std::string& path, uint64_t size);

    // Whether a file already had holds exactly these bytes (`size` bytes hashing to `sha256`);
    // when none does, the new file is had from now on. Any thread.
    bool HadBefore(const std::string& path, uint64_t size, const std::string& sha256);

    size_t Count() const;

private:
    struct Entry {
        std::string path;
        std::optional<std::string> sha256;  // empty until needed
        bool unreadable = false;            // tried once; a locked file is not read again
    };
    HashFile hashFile_;
    mutable std::mutex lock_;
    std::unordered_map<uint64_t, std::vector<Entry>> bySize_;
    std::unordered_map<std::string, bool> paths_;  // lower case, so a folder listed twice adds nothing
};

}  // namespace engine
