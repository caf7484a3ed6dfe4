#include "info/versioncheck.h"

#include <objbase.h>
#include <urlmon.h>
#include <windows.h>
#include <wininet.h>

#include <stdexcept>

#include "platform/application.h"
#include "forms/msgbox.h"
#include "platform/integers.h"
#include "info/environment.h"
#include "info/texts.h"
#include "info/versioninfo.h"
#include "info/versionscan.h"
#include "platform/owned.h"

namespace info {

namespace {

// The two published addresses, in one place.
constexpr const char* kOwnVersionFile = "https://www.quenby-freeware.example/quenby/version.xml";
constexpr const char* kRepositoryPadFile = "https://pad.software-shelf.example/files/quenby_pad.xml";

// The environment's sources, when it names any.
VersionSources Sources() {
    const VersionSources& set = Env().versionSources;
    return set.own.empty() && set.repository.empty() ? DefaultVersionSources() : set;
}

// URLMon wants COM on the calling thread; the UI thread may or may not have it already.
struct ComScope {
    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ~ComScope() {
        if (SUCCEEDED(hr)) CoUninitialize();
    }
};

bool Download(const std::string& url, const std::string& path) {
    // A copy kept in the shared internet cache would hide a newly published version, and the
    // downloader leaves one there: removed before and after.
    DeleteUrlCacheEntryA(url.c_str());
    bool ok = URLDownloadToFileA(nullptr, url.c_str(), path.c_str(), 0, nullptr) == S_OK;
    DeleteUrlCacheEntryA(url.c_str());
    return ok;
}

// Reads the file block by block until the version text is known. A file that cannot be
// opened raises the same error as any file the program cannot open.
std::string ReadPublishedVersion(const std::string& path) {
    platform::Handle file(CreateFileA(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw std::runtime_error("Cannot open file \"" + path + "\". " + SystemErrorText(GetLastError()));
    VersionScan scan;
    char block[65536];
    DWORD got = 0;
    bool ok = true;
    while (!scan.Done() && (ok = ReadFile(file.get(), block, sizeof block, &got, nullptr)) && got > 0)
        scan.Feed(std::string_view(block, got));
    if (!ok) throw std::runtime_error("Stream read error");
    scan.Finish();
    return scan.Text();
}

}  // namespace

VersionSources DefaultVersionSources() { return {kOwnVersionFile, kRepositoryPadFile}; }

void CheckNewVersion() {
    ComScope com;
    const VersionSources src = Sources();
    const std::string local = platform::ExeFolder() + "quenby.xml";
    if (!Download(src.own, local) && !Download(src.repository, local)) {
        DeleteFileA(local.c_str());  // nothing half-written stays behind
        forms::ShowBox(forms::BoxKind::Warning, DownloadWarning(UrlFileName(src.repository)));
        return;
    }
    std::string published = ReadPublishedVersion(local);
    std::string running = ReadVersionInfo(platform::ExePath()).FileVersion;
    published = RemoveDots(published);
    running = RemoveDots(running);
    DeleteFileA(local.c_str());
    if (platform::StrToInt(published) > platform::StrToInt(running))
        forms::ShowBox(forms::BoxKind::Information, kNewVersionAvailable);
    else
        forms::ShowBox(forms::BoxKind::Information, kMostRecentVersion);
}

}  // namespace info
