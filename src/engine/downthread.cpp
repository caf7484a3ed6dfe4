#include "engine/downthread.h"
#include "platform/codepage.h"

#include <windows.h>
#include <objbase.h>

#include <atomic>
#include <exception>

#include "engine/naming.h"
#include "engine/pagerequest.h"
#include "engine/phasetimes.h"

namespace engine {

namespace {
std::atomic<int> g_alive{0};
}  // namespace

TDownThread::TDownThread(int32_t first, int32_t pageSize, int32_t maxSize, int32_t minSize, int32_t fileLimit,
                         std::string folder, std::string keywords, std::string safeSearch)
    : Position(first),
      PageSize(pageSize),
      MaxSize(maxSize),
      MinSize(minSize),
      FileLimit(fileLimit),
      Folder(std::move(folder)),
      Keywords(std::move(keywords)),
      SafeSearch(std::move(safeSearch)) {
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
    int32_t first = Position;
    for (;;) {
        if (DownedCount >= FileLimit || StopRequested()) break;
        TriedCount = 0;
        std::wstring text = RequestPage(first);
        if (StopRequested() || DownedCount >= FileLimit) break;  // the page is not scanned
        if (ParsePage(text)) break;
        if (DownedCount == 0) break;
        Position += 28;
        first = Position + PageSize;
    }
    SearchDone();
}

std::wstring TDownThread::RequestPage(int32_t first) {
    // The web's rule for a query is UTF-8, whatever the process code page.
    PhaseTimer timer(Phase::Pages);
    QueryParams q{platform::ToUtf8(Keywords), first, PageSize, MaxSize, MinSize, SafeSearch, filters_, market_};
    return FetchPage(SearchUrl(service_, q), PageBounds{stop_, pageMs_});
}

bool TDownThread::FailedBefore(const std::string& imageUrl) const { return failed_.contains(LowerAscii(imageUrl)); }

void TDownThread::NoteFailed(const std::string& imageUrl) { failed_.insert(LowerAscii(imageUrl)); }

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
