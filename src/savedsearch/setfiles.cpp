#include "savedsearch/setfiles.h"
#include "platform/systemtext.h"
#include "platform/owned.h"
#include "platform/codepage.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>

namespace savedsearch {

namespace {

std::runtime_error FileError(const char* what, const std::string& path, DWORD err) {
    return std::runtime_error(std::string(what) + " \"" + path + "\". " + platform::SystemReason(err));
}

// Creates the file anew, held exclusively, writes it whole and closes it.
// `created` tells the caller whether the file on disk was replaced before a failure.
void WriteNewFile(const std::string& path, const Bytes& bytes, bool& created) {
    platform::Handle f(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) throw FileError("Cannot create file", path, GetLastError());
    created = true;
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
        DWORD wrote = 0;
        if (!WriteFile(f.get(), bytes.data() + done, chunk, &wrote, nullptr) || wrote != chunk)
            throw std::runtime_error("Stream write error");
        done += wrote;
    }
    // The last writes may reach the disk only in the close, so its result counts too.
    if (!f.Close()) throw std::runtime_error("Stream write error");
}

}  // namespace

bool FileExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

void WriteSet(const std::string& base, const SetContents& set) {
    Bytes thumbs, names;
    for (const Bytes& j : set.jpegs) AppendThumbnailRecord(thumbs, j);
    for (const std::string& n : set.names) AppendNameRecord(names, n);
    Bytes links = JoinLinkLines(set.lines);

    const std::string paths[3] = {base + kThumbExt, base + kNameExt, base + kLinkExt};
    const Bytes* contents[3] = {&thumbs, &names, &links};
    bool created = false;
    for (int i = 0; i < 3; ++i) {
        try {
            WriteNewFile(paths[i], *contents[i], created);
        } catch (...) {
            // Once the thumbnail file has been replaced the old set is gone anyway, and files
            // that do not belong together must not stay behind as a saved search.
            if (created)
                for (const std::string& p : paths) DeleteFileA(p.c_str());
            throw;
        }
    }
}

Bytes ReadWholeFile(const std::string& path, bool shareRead, size_t limit) {
    platform::Handle f(CreateFileA(path.c_str(), GENERIC_READ, shareRead ? FILE_SHARE_READ : 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) throw FileError("Cannot open file", path, GetLastError());
    Bytes out;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(f.get(), &size) && static_cast<unsigned long long>(size.QuadPart) > limit) throw SetTooLarge();
    if (size.QuadPart > 0) out.reserve(static_cast<size_t>(std::min<LONGLONG>(size.QuadPart, 256 << 20)));
    uint8_t buf[64 * 1024];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(f.get(), buf, sizeof buf, &got, nullptr)) throw std::runtime_error("Stream read error");
        if (got == 0) break;
        if (got > limit - out.size()) throw SetTooLarge();  // a file still growing
        out.insert(out.end(), buf, buf + got);
    }
    return out;
}

std::vector<std::string> FindSavedSearches(const std::string& folder) {
    std::vector<std::string> names;
    // The wide search: an ANSI one's 260 bytes would not hold a long name in UTF-8.
    WIN32_FIND_DATAW fd;
    platform::FindHandle find(FindFirstFileW(platform::Widen(folder + "*" + kThumbExt).c_str(), &fd));
    if (!find) return names;
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        std::string name = platform::Narrow(fd.cFileName);
        size_t dot = name.find_last_of('.');
        names.push_back(dot == std::string::npos ? name : name.substr(0, dot));
    } while (FindNextFileW(find.get(), &fd));
    return names;
}

void DeleteSet(const std::string& base) {
    for (const char* ext : {kThumbExt, kLinkExt, kNameExt}) DeleteFileA((base + ext).c_str());
}

}  // namespace savedsearch
