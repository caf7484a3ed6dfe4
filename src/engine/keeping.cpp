#include "engine/keeping.h"

#include <windows.h>

#include <vector>

#include "engine/contenthash.h"
#include "engine/downthread.h"
#include "engine/fetcher.h"
#include "engine/naming.h"
#include "engine/thumbnail.h"
#include "engine/urldecode.h"
#include "platform/owned.h"

namespace engine {

namespace {

// Enough for any header: a JPEG's frame header may follow long metadata segments.
constexpr size_t kHeaderBytes = 1 << 20;

Taken Refused(const std::string& path) {
    DeleteFileA(path.c_str());
    return {};
}

}  // namespace

bool FetchImage(const TDownThread& job, const NewImage& image, const std::string& path, bool markOrigin, bool* whole) {
    const std::string address = RequestForm(image.imageUrl);
    if (!DownloadToFile(address, path, job.MinSize, job.MaxSize, job.Agent(),
                        DownloadBounds{job.StopFlag(), job.ImageDeadline(), job.StallWindow()}, whole))
        return false;
    if (markOrigin) MarkFromInternet(path, address, image.pageUrl);
    return true;
}

FileFacts ReadFacts(const std::string& path, bool hash) {
    FileFacts facts;
    platform::Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return facts;
    std::string header;
    Sha256 sha;
    std::vector<char> block(1 << 16);
    bool complete = false;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), block.data(), static_cast<DWORD>(block.size()), &got, nullptr)) break;
        if (got == 0) {
            complete = true;
            break;
        }
        const std::string_view piece(block.data(), got);
        facts.bytes += got;
        if (header.size() < kHeaderBytes) header.append(piece.substr(0, kHeaderBytes - header.size()));
        if (hash)
            sha.Add(piece);
        else if (header.size() >= kHeaderBytes)
            break;  // the rest is needed for nothing; its length comes from the file system
    }
    if (!hash && !complete) {
        LARGE_INTEGER size{};
        if (GetFileSizeEx(file.get(), &size)) facts.bytes = static_cast<uint64_t>(size.QuadPart);
    }
    facts.size = PictureSizeFromHeader(header);
    if (hash && complete) facts.sha256 = sha.Hex();
    return facts;
}

Taken TakeImage(const TDownThread& job, const NewImage& image, const std::string& path, bool markOrigin) {
    const CollectionOptions& rules = job.Collection();
    bool whole = true;
    Taken taken;
    if (!FetchImage(job, image, path, markOrigin, &whole)) return taken;
    if (rules.Measures() || rules.Hashes()) {
        taken.facts = ReadFacts(path, rules.Hashes());
        if (rules.Hashes() && taken.facts.sha256.empty()) return Refused(path);  // not even readable
        const bool measured = taken.facts.size.has_value();
        if (rules.Measures() && (!measured || SmallerThan(*taken.facts.size, rules.minWidth, rules.minHeight)))
            return Refused(path);
    }
    if (rules.onlyPictures && !whole) return Refused(path);
    bool decoded = false;
    taken.picture = ThumbnailOfFile(path, &decoded);
    if (rules.onlyPictures && !decoded) return Refused(path);
    taken.ok = true;
    return taken;
}

}  // namespace engine
