// The page scan of the search job on Windows: the portable walk over the page (scanflow) with
// the job's side of each step. Everything that touches the window is a UI step; the picture
// is made here on the worker, which has COM for the picture loader.
#include <windows.h>

#include <climits>
#include <memory>
#include <random>
#include <stdexcept>

#include "engine/downthread.h"
#include "engine/fetcher.h"
#include "engine/pagedownloads.h"
#include "engine/thumbnail.h"
#include "engine/pagescan.h"
#include "engine/query.h"
#include "engine/modernflow.h"
#include "engine/scanflow.h"
#include "engine/urldecode.h"
#include "platform/pump.h"
#include "platform/text.h"

namespace engine {

namespace {

// The page in the system's 8-bit code page.
std::string ToAnsi(const std::wstring& text) {
    if (text.empty()) return {};
    if (text.size() > INT_MAX) throw std::runtime_error("The results page is too large");
    int len = static_cast<int>(text.size());
    int n = WideCharToMultiByte(CP_ACP, 0, text.data(), len, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), len, out.data(), n, nullptr, nullptr);
    return out;
}

// One character in the system's 8-bit code page, for the result list lines of today's markup;
// false when the code page has no such character (no best-fit look-alikes).
bool CodePageChar(char32_t c, std::string& out) {
    wchar_t w[2];
    int units = 1;
    if (c >= 0x10000) {
        w[0] = static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
        w[1] = static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        units = 2;
    } else {
        w[0] = static_cast<wchar_t>(c);
    }
    char buf[16];
    BOOL usedDefault = FALSE;
    // A UTF-8 system code page takes neither the flag nor the default-character test.
    const bool utf8 = GetACP() == CP_UTF8;
    int n = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, w, units, buf, sizeof buf, nullptr,
                                utf8 ? nullptr : &usedDefault);
    if (n <= 0 || usedDefault) return false;
    out.append(buf, static_cast<size_t>(n));
    return true;
}

class JobHooks : public ScanHooks {
public:
    explicit JobHooks(TDownThread& job)
        : job_(job),
          sink_(job.Sink()),
          random_(GetTickCount() ^ GetCurrentThreadId()),
          markOrigin_(FolderKeepsStreams(job.Folder)),
          downloads_(job, static_cast<size_t>(job.Parallel()), markOrigin_, [this](Download& d) { Retire(d); }) {}

    // An error that ends the scan leaves the hourglass to be taken off here, unless the window
    // has gone first: then the step cannot run, and a destructor must not throw.
    ~JobHooks() override {
        try {
            SetBusy(false);
        } catch (...) {}
    }

    // Several at once: the downloads still running when the scan has ended.
    void FinishPage() {
        downloads_.Finish();
        SetBusy(false);
    }

    bool StopRequested() override {
        platform::PumpThreadMessages();
        return job_.StopRequested();
    }

    void MeetAddress(const std::string& imageUrl) override { job_.MeetAddress(imageUrl); }

    bool IsFetched(const std::string& imageUrl) override {
        if (downloads_.Fetching(imageUrl)) return true;
        // The list belongs to the UI thread, which appends to it in AddResultEntry.
        bool fetched = false;
        sink_.RunUiStep([&] { fetched = sink_.IsFetched(imageUrl); });
        return fetched;
    }

    void CountTried() override { job_.TriedCount++; }

    bool FileExists(const std::string& name) override {
        if (downloads_.NameTaken(name)) return true;
        // A folder of that name counts too: the file could not be created there.
        return GetFileAttributesA((job_.Folder + name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    int RandomFactor() override { return static_cast<int>(random_() % 999); }

    void Fetch(const NewImage& image) override {
        // An address that failed once in this search fails again, at the same cost.
        if (job_.FailedBefore(image.imageUrl)) return;
        const std::string path = job_.Folder + image.fileName;
        SetBusy(true);  // an error that ends the scan leaves the hourglass to the destructor
        if (job_.Parallel() > 1) {
            downloads_.Add(image, path, job_.TriedCount);
            return;
        }
        Taken taken = TakeImage(job_, image, path, markOrigin_);
        SetBusy(false);
        Ended(image, std::move(taken), job_.TriedCount);
    }

private:
    // The list shows the hourglass while any download of the page runs.
    void SetBusy(bool busy) {
        if (busy == busy_) return;
        busy_ = busy;
        if (sink_.HasBusyCursor()) sink_.RunUiStep([&] { sink_.SetListBusy(busy); });
    }

    // A download of several at once, in page order: as the one-at-a-time steps after theirs.
    void Retire(Download& d) {
        Ended(d.image, std::move(d.taken), d.tried);
        if (downloads_.Empty()) SetBusy(false);
    }

    // After a download either way; `tried` is the tried count when the result was taken.
    void Ended(const NewImage& image, Taken taken, int32_t tried) {
        // Bytes had before are refused here, in page order, so that of two identical files the
        // same one is kept however several downloads at once end.
        const std::string path = job_.Folder + image.fileName;
        if (taken.ok && job_.HadBefore(path, taken.facts)) {
            DeleteFileA(path.c_str());
            taken.ok = false;
        }
        if (taken.ok)
            Register(image, std::move(taken), tried);
        else if (!job_.StopRequested())
            job_.NoteFailed(image.imageUrl);
    }

    // The scan made sure both lines decode. A decoded page line that forms no text in the code
    // page keeps those bytes as %XX, so it can be shown, saved and loaded as it is. The image
    // line stays as decoded: the duplicate test compares it with the addresses of later pages.
    void Register(const NewImage& image, Taken taken, int32_t tried) {
        const std::string pageLine =
            image.linesReady ? image.pageUrl : platform::ShowableText(UrlDecode(image.pageUrl));
        const std::string imageLine = image.linesReady ? image.imageUrl : UrlDecode(image.imageUrl);
        // The entry and the labels that count it in one hand-over: each costs a round trip
        // between the threads, and nothing runs between the two.
        job_.DownedCount++;
        const std::string label2 = TryingLabel(job_.Position, tried, job_.FileLimit);
        const std::string label1 = DownedLabel(job_.DownedCount);
        sink_.RunUiStep([&] {
            sink_.AddResultEntry(pageLine, imageLine, image.fileName, std::move(taken.picture));
            sink_.ShowProgress(label2, label1);
        });
        job_.RecordSource(image.fileName, RequestForm(image.imageUrl), pageLine, taken.facts);
    }

    TDownThread& job_;
    JobSink& sink_;
    std::minstd_rand random_;
    const bool markOrigin_;  // the target folder keeps named streams
    bool busy_ = false;
    PageDownloads downloads_;
};

}  // namespace

bool TDownThread::ScanPage(const std::wstring& text) {
    const std::string rest = ToAnsi(CutAtStartMarker(text));
    JobHooks hooks(*this);
    bool stopped = ScanEitherMarkup(
        rest, [&] { return ToAnsi(text); }, hooks, CodePageChar);
    hooks.FinishPage();
    return stopped;
}

}  // namespace engine
