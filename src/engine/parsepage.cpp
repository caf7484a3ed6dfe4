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
#include "engine/thumbnail.h"
#include "engine/pagescan.h"
#include "engine/scanflow.h"
#include "engine/urldecode.h"
#include "forms/uithread.h"

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

class JobHooks : public ScanHooks {
public:
    explicit JobHooks(TDownThread& job) : job_(job), sink_(job.Sink()), random_(GetTickCount() ^ GetCurrentThreadId()) {}

    bool StopRequested() override {
        forms::PumpThreadMessages();
        return job_.StopRequested();
    }

    bool IsFetched(const std::string& imageUrl) override {
        // The list belongs to the UI thread, which appends to it in AddResultEntry.
        bool fetched = false;
        sink_.RunUiStep([&] { fetched = sink_.IsFetched(imageUrl); });
        return fetched;
    }

    void CountTried() override { job_.TriedCount++; }

    bool FileExists(const std::string& name) override {
        // A folder of that name counts too: the file could not be created there.
        return GetFileAttributesA((job_.Folder + name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    int RandomFactor() override { return static_cast<int>(random_() % 999); }

    void Fetch(const NewImage& image) override {
        const std::string path = job_.Folder + image.fileName;
        sink_.RunUiStep([&] { sink_.SetListBusy(true); });
        bool ok = false;
        try {
            ok = DownloadToFile(image.imageUrl, path, job_.MinSize, job_.MaxSize);
        } catch (...) {
            sink_.RunUiStep([&] { sink_.SetListBusy(false); });
            throw;
        }
        sink_.RunUiStep([&] { sink_.SetListBusy(false); });
        if (!ok) return;

        // Both decodings come before anything is registered, so a bad escape leaves no half entry.
        const std::string pageLine = UrlDecode(image.pageUrl);
        const std::string imageLine = UrlDecode(image.imageUrl);
        auto picture = std::make_unique<Picture>();
        try {
            if (LoadPictureFile(path, *picture))
                MakeThumbnail(*picture, 138, 108);
            else
                MakeThumbnail(*picture, 32, 32);
        } catch (...) {
            picture.reset();  // the thumbnail control shows no picture
        }
        sink_.RunUiStep([&] { sink_.AddResultEntry(pageLine, imageLine, image.fileName, std::move(picture)); });
        job_.DownedCount++;
        job_.ShowProgress();
    }

private:
    TDownThread& job_;
    JobSink& sink_;
    std::minstd_rand random_;
};

}  // namespace

bool TDownThread::ScanPage(const std::wstring& text) {
    const std::string rest = ToAnsi(CutAtStartMarker(text));
    JobHooks hooks(*this);
    return ScanResults(rest, hooks);
}

}  // namespace engine
