#include "engine/downthread.h"
#include "platform/codepage.h"

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <ctime>
#include <exception>

#include "engine/contenthash.h"
#include "engine/fetchrules.h"
#include "engine/naming.h"
#include "engine/pagerequest.h"
#include "platform/pump.h"
#include "engine/phasetimes.h"

namespace engine {

namespace {
std::atomic<int> g_alive{0};
}  // namespace

TDownThread* MakeJob(const SearchRequest& request) { return new TDownThread(request); }

TDownThread::TDownThread(const SearchRequest& r)
    : Position(r.first),
      PageSize(r.pageSize),
      MaxSize(r.maxSize),
      MinSize(r.minSize),
      FileLimit(r.fileLimit),
      Folder(r.folder),
      Keywords(r.keywords),
      SafeSearch(r.safeSearch),
      sink_(r.sink),
      stop_(r.stop),
      service_(r.service),
      filters_(r.filters),
      market_(r.market),
      agent_(r.agent),
      scan_(r.scan),
      parallel_(std::clamp(r.parallel, 1, 8)),
      pageMs_(r.pageMs),
      imageMs_(r.imageMs),
      stallMs_(r.stallMs),
      collection_(r.collection) {
    if (!collection_.sourcesPath.empty()) sources_ = std::make_unique<SourcesFile>(collection_.sourcesPath);
    g_alive++;
}

TDownThread::~TDownThread() { g_alive--; }

int TDownThread::Alive() { return g_alive; }

void TDownThread::Start() {
    thread_ = std::thread([this] {
        std::string error;
        HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        try {
            Run();
        } catch (const std::exception& e) {
            error = e.what();  // ends the run; SearchDone does not run
            if (error.empty()) error = "Unknown error";
        } catch (...) {
            error = "Unknown error";
        }
        if (SUCCEEDED(init)) CoUninitialize();
        // The thread-end handler runs on the UI thread; then the job frees itself. With no UI
        // thread left to run it, the job frees itself here.
        bool posted = sink_->PostToUi([this, error] {
            sink_->DownloadsFinished(error);
            if (thread_.joinable()) thread_.join();
            delete this;
        });
        if (!posted) {
            thread_.detach();
            delete this;
        }
    });
}

void TDownThread::Run() {
    DownedCount = 0;
    // The folder as it is now, listed by size only: a file is read when a download of its size comes.
    if (collection_.skipIdentical) {
        identical_ = IndexOfFolder(Folder);
        AddFolderFiles(*identical_, Folder, StopFlag());
    }
    int32_t first = Position;
    for (;;) {
        if (DownedCount >= FileLimit || StopRequested()) break;
        TriedCount = 0;
        std::wstring text = RequestPage(first);
        if (StopRequested() || DownedCount >= FileLimit) break;  // the page is not scanned
        pageBroughtNew_ = false;
        if (ParsePage(text)) break;
        if (DownedCount == 0 || !pageBroughtNew_) break;
        Position += PageSize;
        first = Position + PageSize;
    }
    SearchDone();
}

std::wstring TDownThread::RequestPage(int32_t first) {
    // The web's rule for a query is UTF-8, whatever the process code page.
    PhaseTimer timer(Phase::Pages);
    QueryParams q{platform::ToUtf8(Keywords), first, PageSize, MaxSize, MinSize, SafeSearch, filters_, market_};
    const std::string url = SearchUrl(service_, q);
    PageAnswer page = FetchPage(url, PageBounds{stop_.get(), pageMs_});
    if (!ServiceBusy(page.status)) return std::move(page.text);
    if (!WaitForBusyService(RetryAfterMs(page.retryAfter, static_cast<int64_t>(std::time(nullptr))))) return {};
    page = FetchPage(url, PageBounds{stop_.get(), pageMs_});
    if (ServiceBusy(page.status))
        throw PageRefused("The search service refused the results page twice (HTTP " + std::to_string(page.status) +
                          (page.status == 429 ? " Too Many Requests)" : " Service Unavailable)"));
    return std::move(page.text);
}

bool TDownThread::WaitForBusyService(uint32_t ms) {
    const ULONGLONG start = GetTickCount64();
    uint32_t shown = UINT32_MAX;
    for (;;) {
        const ULONGLONG spent = GetTickCount64() - start;
        if (spent >= ms) return true;
        const auto left = static_cast<uint32_t>((ms - spent + 999) / 1000);
        if (left != shown) {
            const bool first = shown == UINT32_MAX;
            shown = left;
            sink_->RunUiStep([&] { sink_->ShowServiceBusy(BusyLabel(left), first); });
        }
        platform::PumpThreadMessages();
        if (StopRequested()) return false;
        Sleep(static_cast<DWORD>(std::min<ULONGLONG>(100, ms - spent)));
    }
}

bool TDownThread::HadBefore(const std::string& path, const FileFacts& facts) {
    return identical_ && identical_->HadBefore(path, facts.bytes, facts.sha256);
}

void TDownThread::RecordSource(const std::string& fileName, const std::string& imageUrl, const std::string& pageLine,
                               const FileFacts& facts) {
    if (!sources_) return;
    // The keywords as searched, their spaces back; every text in UTF-8 whatever the code page.
    std::string keywords = platform::ToUtf8(Keywords);
    for (char& c : keywords)
        if (c == '+') c = ' ';
    // "+filterui:a+filterui:b" without its first "+", which a spreadsheet would take for a formula.
    const std::string filters = filters_.starts_with('+') ? filters_.substr(1) : filters_;
    const SourceRecord record{platform::ToUtf8(fileName),
                              imageUrl,
                              platform::ToUtf8(pageLine),
                              keywords,
                              filters,
                              market_,
                              static_cast<int64_t>(std::time(nullptr)),
                              facts.bytes,
                              facts.size ? facts.size->width : 0,
                              facts.size ? facts.size->height : 0,
                              facts.sha256};
    const std::string problem = sources_->Append(record);
    if (!problem.empty()) sink_->RunUiStep([&] { sink_->ShowNotice(problem); });
}

bool TDownThread::FailedBefore(const std::string& imageUrl) const { return failed_.contains(LowerAscii(imageUrl)); }

void TDownThread::NoteFailed(const std::string& imageUrl) { failed_.insert(LowerAscii(imageUrl)); }

void TDownThread::MeetAddress(const std::string& imageUrl) {
    if (met_.insert(LowerAscii(imageUrl)).second) pageBroughtNew_ = true;
}

bool TDownThread::ParsePage(const std::wstring& text) {
    if (StopRequested() || DownedCount >= FileLimit) return true;
    return scan_ ? scan_(*this, text) : ScanPage(text);
}

void TDownThread::ShowProgress() { ShowProgress(TriedCount); }

void TDownThread::ShowProgress(int32_t tried) {
    std::string label2 = TryingLabel(Position, tried, FileLimit);
    std::string label1 = DownedLabel(DownedCount);
    sink_->RunUiStep([&] { sink_->ShowProgress(label2, label1); });
}

void TDownThread::SearchDone() {
    bool nothing = DownedCount == 0;
    sink_->RunUiStep([&] { sink_->SearchDone(nothing); });
}

}  // namespace engine
