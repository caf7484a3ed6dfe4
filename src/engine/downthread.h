#pragma once
// One search: a worker thread that requests the results pages one after another, scans each
// and ends with one closing step on the UI thread.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <unordered_set>

#include "engine/collection.h"
#include "engine/identical.h"
#include "engine/jobsink.h"
#include "engine/query.h"
#include "engine/sourcesfile.h"

namespace engine {

class TDownThread;

// Scans one results page for the job; returns true when a stop request ended the scan.
using PageScan = std::function<bool(TDownThread& job, const std::wstring& text)>;

// What a search job is to do, and with whom: the window, the console and the tests all
// describe their jobs so.
struct SearchRequest {
    int32_t first = 1;  // index of the first result of the first page
    int32_t pageSize = kPageSize;
    int32_t maxSize = 4096000;  // bytes
    int32_t minSize = 0;        // bytes
    int32_t fileLimit = 1000;
    std::string folder = {};    // ends with "\"
    std::string keywords = {};  // spaces replaced by "+"
    std::string safeSearch = "Moderate";
    std::string service = kDefaultService;  // scheme, host, optional port
    // The service's filters ("qft") and the market of every page request (SearchPath).
    std::string filters = {};
    std::string market = kDefaultMarket;
    std::string agent = {};  // the user agent of the image downloads: the program's title
    int parallel = 1;        // images of one page downloaded at once, brought within 1 to 8
    // How long a results page may take; how long an image may take in all, and how long it may
    // go on with less than 1 KB arriving (tests shorten them).
    uint32_t pageMs = 30000;
    uint32_t imageMs = 600000;
    uint32_t stallMs = 30000;
    // The job keeps its share of the sink until it has freed itself, so a window that goes
    // first can leave its side behind (detached) instead of waiting for the job; the same for
    // the stop flag, which the job only reads.
    std::shared_ptr<JobSink> sink = {};
    std::shared_ptr<const std::atomic<bool>> stop = {};
    PageScan scan = {};  // replaces the page scan (tests and the console)
    CollectionOptions collection = {};
};

// The job the request describes, created suspended: Start() runs it. After the run the
// thread-end handler runs on the UI thread and the job deletes itself.
TDownThread* MakeJob(const SearchRequest& request);

class TDownThread {
public:
    TDownThread(const TDownThread&) = delete;
    TDownThread& operator=(const TDownThread&) = delete;

    const std::string& Agent() const { return agent_; }
    int Parallel() const { return parallel_; }
    uint32_t ImageDeadline() const { return imageMs_; }
    uint32_t StallWindow() const { return stallMs_; }
    const std::atomic<bool>* StopFlag() const { return stop_.get(); }
    void Start();
    // How many jobs exist (made and not yet freed), on every thread.
    static int Alive();

    // Fields as constructed; only Position changes during the run.
    int32_t Position;
    const int32_t PageSize;
    const int32_t MaxSize;
    const int32_t MinSize;
    const int32_t FileLimit;
    const std::string Folder;    // ends with "\"
    const std::string Keywords;  // spaces replaced by "+"
    const std::string SafeSearch;

    // Written by the worker only; the UI reads them inside UI steps while the worker waits.
    int32_t DownedCount = 0;
    int32_t TriedCount = 0;

    bool StopRequested() const { return stop_ && stop_->load(); }
    // Image addresses whose download failed in this search are not requested again (letter
    // case ignored, as in the duplicate test). Worker only.
    bool FailedBefore(const std::string& imageUrl) const;
    void NoteFailed(const std::string& imageUrl);
    // Every image address a page offers, whatever becomes of it (letter case ignored). A page
    // that brings no address new to this search ends it: once its results have run out, the
    // service answers every later page with its last one again. Worker only.
    void MeetAddress(const std::string& imageUrl);
    JobSink& Sink() { return *sink_; }

    const CollectionOptions& Collection() const { return collection_; }
    // Skip identical: whether a kept file's bytes were had before; when not, they are from now
    // on. False when the rule is off. Worker only, in page order.
    bool HadBefore(const std::string& path, const FileFacts& facts);
    // The kept file's row in the sources file, when there is one; a file that cannot be written
    // is told once through the sink, and the search goes on. Worker only.
    void RecordSource(const std::string& fileName, const std::string& imageUrl, const std::string& pageLine,
                      const FileFacts& facts);

    // The results page whose first result has index `first`, as 16-bit text. A service that
    // answers 429 or 503 is asked once more after the wait it names (5 s when it names none,
    // 60 s at most); a second refusal ends the search with an error that names the status.
    std::wstring RequestPage(int32_t first);
    // Returns true when a stop request ended the scan. Runs the page scan seam when one is
    // set, else ScanPage.
    bool ParsePage(const std::wstring& text);
    // The page scan: every new image on the page is downloaded, given its thumbnail and
    // registered as a Result entry through UI steps.
    bool ScanPage(const std::wstring& text);
    void ShowProgress();  // UI step
    // With the tried count as it was when the downloaded result was taken (several at once).
    void ShowProgress(int32_t tried);
    void SearchDone();  // UI step

private:
    friend TDownThread* MakeJob(const SearchRequest& request);
    explicit TDownThread(const SearchRequest& request);
    ~TDownThread();  // only the job deletes itself
    void Run();
    // Waits, telling the user each second; false when a stop request ended the wait.
    bool WaitForBusyService(uint32_t ms);

    const std::shared_ptr<JobSink> sink_;
    const std::shared_ptr<const std::atomic<bool>> stop_;
    const std::string service_;
    const std::string filters_;
    const std::string market_;
    const std::string agent_;
    const PageScan scan_;
    const int parallel_;
    const uint32_t pageMs_;
    const uint32_t imageMs_;
    const uint32_t stallMs_;
    const CollectionOptions collection_;
    std::shared_ptr<IdenticalIndex> identical_;  // the folder's, shared by every search into it
    std::unique_ptr<SourcesFile> sources_;
    std::unordered_set<std::string> failed_;
    std::unordered_set<std::string> met_;
    bool pageBroughtNew_ = false;
    std::thread thread_;
};

}  // namespace engine
