#include "engine/identical.h"

#include "platform/text.h"

namespace engine {

void IdenticalIndex::AddExisting(const std::string& path, uint64_t size) {
    std::lock_guard<std::mutex> hold(lock_);
    if (!paths_.emplace(platform::AsciiLowerCase(path), true).second) return;
    bySize_[size].push_back(Entry{path, std::nullopt, false});
}

bool IdenticalIndex::HadBefore(const std::string& path, uint64_t size, const std::string& sha256) {
    std::lock_guard<std::mutex> hold(lock_);
    auto& same = bySize_[size];
    const std::string key = platform::AsciiLowerCase(path);
    for (Entry& e : same) {
        // A file listed at the new file's path has gone since (the name was free): reading it
        // now would read the new file itself.
        if (!e.sha256 && !e.unreadable && platform::SameAsciiIgnoringCase(e.path, path)) e.unreadable = true;
        if (!e.sha256 && !e.unreadable) {
            e.sha256 = hashFile_(e.path);
            e.unreadable = !e.sha256;
        }
        if (e.sha256 && *e.sha256 == sha256) return true;
    }
    paths_.emplace(key, true);
    same.push_back(Entry{path, sha256, false});
    return false;
}

size_t IdenticalIndex::Count() const {
    std::lock_guard<std::mutex> hold(lock_);
    return paths_.size();
}

}  // namespace engine
