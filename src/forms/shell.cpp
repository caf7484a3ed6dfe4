#include "forms/shell.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include "forms/environment.h"
#include "platform/owned.h"

namespace forms {

namespace {

const char* OrNull(const std::string& s) { return s.empty() ? nullptr : s.c_str(); }

// Pre-selects the folder given as the browser's lParam once it is ready; 0 for every event.
int CALLBACK BrowseCallback(HWND hwnd, UINT msg, LPARAM, LPARAM data) {
    if (msg == BFFM_INITIALIZED && data) SendMessageA(hwnd, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

}  // namespace

intptr_t ShellOpen(HWND owner, const std::string& verb, const std::string& file, const std::string& params,
                   const std::string& dir, int show) {
    if (auto script = Env().shell) return script(ShellCall{owner, verb, file, params, dir, show});
    HINSTANCE r = ShellExecuteA(owner, OrNull(verb), file.c_str(), OrNull(params), OrNull(dir), show);
    return reinterpret_cast<intptr_t>(r);
}

unsigned RunCommandLine(const std::string& commandLine, int show) {
    if (auto script = Env().shell)
        return static_cast<unsigned>(script(ShellCall{nullptr, "WinExec", commandLine, "", "", show}));
    return WinExec(commandLine.c_str(), static_cast<UINT>(show));
}

std::optional<std::string> BrowseForFolder(const FolderQuery& q) {
    if (auto script = Env().folder) return script(q);
    BROWSEINFOA bi{};
    bi.hwndOwner = q.owner;
    bi.lpszTitle = q.title.c_str();
    bi.ulFlags = q.flags;
    bi.lpfn = BrowseCallback;
    bi.lParam = reinterpret_cast<LPARAM>(q.initial.c_str());
    LPITEMIDLIST list = SHBrowseForFolderA(&bi);
    std::optional<std::string> result;
    if (list) {
        char path[261] = {};
        if (SHGetPathFromIDListA(list, path)) result = path;
        platform::Com<IMalloc> malloc;
        if (SUCCEEDED(SHGetMalloc(malloc.Put())) && malloc) malloc->Free(list);
    }
    return result;
}

}  // namespace forms
