#pragma once
// The images of one results page downloaded several at once, each on a thread of its own with
// its own handles, and handed back in page order: whatever the servers' speeds, the entries,
// counters and labels come as a one-at-a-time search would give them.
#include <windows.h>

#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "engine/keeping.h"
#include "engine/scanflow.h"
#include "engine/thumbnail.h"
#include "platform/owned.h"

namespace engine {

class TDownThread;

// One image on its way to the target folder.
struct Download {
    NewImage image;
    std::string path;
    int32_t tried = 0;         // the job's tried count when the result was taken
    Taken taken;               // the file kept and its thumbnail, made where the file was downloaded
    std::exception_ptr error;  // the file could not be created or written
    platform::Handle done{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    std::thread thread;
};

class PageDownloads {
public:
    // `retire` runs on the job's thread for each download, in page order, once it has ended.
    PageDownloads(TDownThread& job, size_t most, bool markOrigin, std::function<void(Download&)> retire);
    PageDownloads(const PageDownloads&) = delete;
    PageDownloads& operator=(const PageDownloads&) = delete;
    ~PageDownloads();  // waits for the downloads still running (a scan that ended in an error)

    // Starts the download, first waiting while `most` run; those already ended at the front are
    // retired first. After a stop request nothing more starts. Throws what a retired download
    // raised.
    void Add(NewImage image, std::string path, int32_t tried);
    // Waits for every download and retires them in order.
    void Finish();
    bool Empty() const { return running_.empty(); }
    // A name or an address given to a download not yet retired counts as taken; names compare
    // as the file system compares them.
    bool NameTaken(const std::string& name) const;
    bool Fetching(const std::string& imageUrl) const;

private:
    void RetireFront();

    TDownThread& job_;
    size_t most_;
    bool markOrigin_;
    std::function<void(Download&)> retire_;
    std::deque<std::unique_ptr<Download>> running_;
};

}  // namespace engine
