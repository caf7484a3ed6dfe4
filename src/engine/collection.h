#pragma once
// What a search keeps for a collection. Its rules refuse a downloaded file as a server's refusal
// would (the file is deleted, nothing is listed, the address counts as failed); each file kept
// gets a row in the sources file. All off by default: a search is then as it always was.
#include <cstdint>
#include <optional>
#include <string>

#include "engine/picturesize.h"

namespace engine {

struct CollectionOptions {
    // Bytes equal to a file in the target folder when the search started, or to one downloaded
    // earlier in this program run.
    bool skipIdentical = false;
    int minWidth = 0;  // pixels, from the picture's header; 0 is no limit
    int minHeight = 0;
    // Bytes the thumbnail maker cannot read: a page served as an image, an empty or cut-off body.
    bool onlyPictures = false;
    std::string sourcesPath = {};  // CSV, or JSON Lines by extension (SourceFormatFor); empty: none

    bool Measures() const { return minWidth > 0 || minHeight > 0; }
    bool Hashes() const { return skipIdentical || !sourcesPath.empty(); }
};

// What the collection learns of a downloaded file, reading it once.
struct FileFacts {
    uint64_t bytes = 0;
    std::optional<PictureSize> size;  // none when the header names none
    std::string sha256;               // lower-case hex; only when the rules need it
};

}  // namespace engine
