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

#include "engine/jobsink.h"
#include "engine/query.h"

namespace engine {

class TDownThread;

// Scans one results page for the job; returns true when a stop request ended the scan.
using PageScan = std::function<bool(TDownThread& job, const std::wstring& text)>;

class TDownThread {
public:
    // Created suspended; the creator attaches what the job needs, then calls Start(). After
    // the run the thread-end handler runs on the UI thread and the object deletes itself.
    TDownThread(int32_t first, int32_t pageSize, int32_t maxSize, int32_t minSize, int32_t fileLimit,
                std::string folder, std::string keywords, std::string safeSearch);
    TDownThread(const TDownThread&) = delete;
    TDownThread& operator=(const TDownThread&) = delete;

    // The job keeps its share of the sink until it has freed itself, so a window that goes
    // first can leave its side behind (detached) instead of waiting for the job.
    void SetSink(std::shared_ptr<JobSink> sink) { sink_ = std::move(sink); }
    void SetStopFlag(const std::atomic<bool>* stop) { stop_ = stop; }
    void SetService(std::string base) { service_ = std::move(base); }  // scheme, host, optional port
    // The service's filters ("qft") and the market of every page request (SearchPath).
    void SetFilters(std::string filters, std::string market) {
        filters_ = std::move(filters);
        market_ = std::move(market);
    }
    // The user agent of the image downloads: the program's title.
    void SetAgent(std::string agent) { agent_ = std::move(agent); }
    const std::string& Agent() const { return agent_; }
    void SetPageScan(PageScan scan) { scan_ = std::move(scan); }  // tests and the console
    // How many images of one page are downloaded at once; 1 is one after another.
    void SetParallel(int n) { parallel_ = n < 1 ? 1 : (n > 8 ? 8 : n); }
    int Parallel() const { return parallel_; }
    // How long a results page may take; how long an image may take in all, and how long it may
    // go on with less than 1 KB arriving (tests shorten them).
    void SetDeadlines(uint32_t pageMs, uint32_t imageMs, uint32_t stallMs = 30000) {
        pageMs_ = pageMs;
        imageMs_ = imageMs;
        stallMs_ = stallMs;
    }
    uint32_t ImageDeadline() const { return imageMs_; }
    uint32_t StallWindow() const { return stallMs_; }
    const std::atomic<bool>* StopFlag() const { return stop_; }
    void Start();
    // How many jobs exist (made and not yet freed), on every thread.
    static int Alive();
    // Asks the thread to end; the run itself watches the stop flag.
    void Terminate() { terminated_ = true; }

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
    ~TDownThread();  // only the job deletes itself
    void Run();
    // Waits, telling the user each second; false when a stop request ended the wait.
    bool WaitForBusyService(uint32_t ms);

    std::shared_ptr<JobSink> sink_;
    const std::atomic<bool>* stop_ = nullptr;
    std::string service_ = kDefaultService;
    std::string filters_;
    std::string market_ = kDefaultMarket;
    std::string agent_;
    PageScan scan_;
    int parallel_ = 1;
    uint32_t pageMs_ = 30000;
    uint32_t imageMs_ = 600000;
    uint32_t stallMs_ = 30000;
    std::unordered_set<std::string> failed_;
    std::unordered_set<std::string> met_;
    bool pageBroughtNew_ = false;
    std::atomic<bool> terminated_{false};
    std::thread thread_;
};

}  // namespace engine
