#include "engine/pagedownloads.h"

#include <objbase.h>

#include "engine/downthread.h"
#include "engine/fetcher.h"
#include "engine/naming.h"
#include "engine/urldecode.h"
#include "platform/codepage.h"
#include "platform/pump.h"
#include "platform/text.h"

namespace engine {

namespace {

// On the download's own thread, which has COM for the picture loader.
void Run(Download& d, const TDownThread& job, bool markOrigin) {
    HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    try {
        d.taken = TakeImage(job, d.image, d.path, markOrigin);
    } catch (...) {
        d.error = std::current_exception();
    }
    if (SUCCEEDED(init)) CoUninitialize();
    SetEvent(d.done.get());
}

}  // namespace

PageDownloads::PageDownloads(TDownThread& job, size_t most, bool markOrigin, std::function<void(Download&)> retire)
    : job_(job), most_(most < 1 ? 1 : most), markOrigin_(markOrigin), retire_(std::move(retire)) {}

PageDownloads::~PageDownloads() {
    for (auto& d : running_)
        if (d->thread.joinable()) d->thread.join();
}

void PageDownloads::Add(NewImage image, std::string path, int32_t tried) {
    while (!running_.empty() &&
           (running_.size() >= most_ || WaitForSingleObject(running_.front()->done.get(), 0) == WAIT_OBJECT_0))
        RetireFront();
    if (job_.StopRequested()) return;  // what has not started is skipped
    auto d = std::make_unique<Download>();
    if (!d->done) throw std::runtime_error("Out of system resources");
    d->image = std::move(image);
    d->path = std::move(path);
    d->tried = tried;
    Download* raw = d.get();
    const TDownThread* job = &job_;
    d->thread = std::thread([raw, job, mark = markOrigin_] { Run(*raw, *job, mark); });
    running_.push_back(std::move(d));
}

void PageDownloads::Finish() {
    while (!running_.empty()) RetireFront();
}

void PageDownloads::RetireFront() {
    Download& d = *running_.front();
    platform::WaitPumping(d.done.get(), INFINITE);
    d.thread.join();
    std::unique_ptr<Download> front = std::move(running_.front());
    running_.pop_front();
    if (front->error) {
        // The rest end first: the error ends the search, and nothing may still write. Their
        // files are in the folder, so they get their entries.
        try {
            Finish();
        } catch (...) {}
        std::rethrow_exception(front->error);
    }
    retire_(*front);
}

bool PageDownloads::NameTaken(const std::string& name) const {
    // As the file system compares names: the case of every letter ignored, not only of A to Z
    // ("Ärger.jpg" is "ärger.jpg" on NTFS).
    const std::wstring wide = platform::Widen(name);
    for (auto& d : running_) {
        const std::wstring other = platform::Widen(d->image.fileName);
        if (CompareStringOrdinal(wide.data(), static_cast<int>(wide.size()), other.data(),
                                 static_cast<int>(other.size()), TRUE) == CSTR_EQUAL)
            return true;
    }
    return false;
}

bool PageDownloads::Fetching(const std::string& imageUrl) const {
    for (auto& d : running_)
        if (platform::SameAsciiIgnoringCase(d->image.imageUrl, imageUrl)) return true;
    return false;
}

}  // namespace engine
