#pragma once
// One image from its address to a file the search keeps: the download, the collection's rules
// that need only the file, and the thumbnail, all on the thread that downloads it.
#include <memory>
#include <string>

#include "engine/collection.h"
#include "engine/scanflow.h"
#include "imaging/picture.h"

namespace engine {

class TDownThread;

// A file downloaded and kept, with its thumbnail (null when making it failed) and its facts.
struct Taken {
    bool ok = false;
    std::unique_ptr<imaging::Picture> picture;
    FileFacts facts;
};

// One image to its file within the job's bounds, and the mark of the file's origin (when
// `markOrigin`). True when the file was written; throws as DownloadToFile does.
bool FetchImage(const TDownThread& job, const NewImage& image, const std::string& path, bool markOrigin,
                bool* whole = nullptr);

// FetchImage, then the job's rules: a picture smaller than the smallest size (measured from its
// header, so an unmeasurable file is refused too) and, for only pictures, a body cut short or
// bytes the thumbnail maker cannot read. A refused file is deleted: the download was refused.
Taken TakeImage(const TDownThread& job, const NewImage& image, const std::string& path, bool markOrigin);

// The file's length, its picture size from the first bytes and, when `hash`, its SHA-256 (empty
// when the file cannot be read whole).
FileFacts ReadFacts(const std::string& path, bool hash);

}  // namespace engine
