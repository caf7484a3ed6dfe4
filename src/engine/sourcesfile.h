#pragma once
// The sources file one search appends to: opened at its first row, for appending only and shared
// with readers and other writers (another search, another program run). Each row goes in one
// write at the end of the file, so a reader never meets half a row and two writers never mix
// theirs; a file that is new or empty gets its start (SourceFileStart) in the same write.
#include <windows.h>

#include <string>

#include "engine/sourcerecord.h"
#include "platform/owned.h"

namespace engine {

class SourcesFile {
public:
    explicit SourcesFile(std::string path);

    // Appends the record's row. Returns what went wrong, once: empty when the row was written or
    // the problem has been told already (nothing more is tried after one).
    std::string Append(const SourceRecord& record);

private:
    const std::string path_;
    const SourceFormat format_;
    platform::Handle file_;
    bool failed_ = false;
};

}  // namespace engine
