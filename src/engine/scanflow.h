#pragma once
// The walk over one results page, result by result, without any Windows API. What touches
// the world (the stop flag and message pump, the fetched-image list, the target folder, the
// download and the Result entry) is asked of the caller through ScanHooks, in the order the
// steps need it, so a decoding error ends the scan exactly after the results before it.
#include <string>
#include <string_view>

namespace engine {

// A result that passed every test: the file is to be fetched under `fileName`.
struct NewImage {
    int index = 0;         // position of the result on its page, from 0
    std::string imageUrl;  // decoded once: the address to download
    std::string pageUrl;   // decoded once, "&amp;" already replaced
    std::string fileName;  // new in the target folder
    // Today's markup gives both lines as they are shown (modernscan.h); the classic one's are
    // decoded once more after the download.
    bool linesReady = false;
};

class ScanHooks {
public:
    virtual ~ScanHooks() = default;
    // Before each result: pumps the worker's own messages; true ends the scan (stop request).
    virtual bool StopRequested() = 0;
    // Every result with an image address, before the duplicate test.
    virtual void MeetAddress(const std::string& imageUrl) {}
    // The duplicate test against every image fetched since the program started (case ignored).
    virtual bool IsFetched(const std::string& imageUrl) = 0;
    // A result passed the duplicate test.
    virtual void CountTried() = 0;
    // Whether a file (or anything else) of this name is in the target folder.
    virtual bool FileExists(const std::string& name) = 0;
    // A pseudo-random number from 0 to 998 for a "noname" name.
    virtual int RandomFactor() = 0;
    // Downloads the image and, on success, registers its Result entry. Errors it throws end
    // the scan and the search.
    virtual void Fetch(const NewImage& image) = 0;
};

// Scans the rest of a page (cut at the start marker, in 8-bit text). Returns true when a stop
// request ended the scan. A result with an address that cannot be decoded is skipped (it still
// makes the page a classic one). `found`, when given, tells whether any result had both
// addresses.
bool ScanResults(std::string_view rest, ScanHooks& hooks, bool* found = nullptr);

// The steps of one result with both addresses, from the duplicate test to the download
// (`image.fileName` is made here); the results of either markup take them. A classic result
// whose lines cannot be decoded a second time is skipped before the duplicate test.
void TakeResult(NewImage image, ScanHooks& hooks);

}  // namespace engine
