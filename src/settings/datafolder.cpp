#include "settings/datafolder.h"

#include <windows.h>

#include <utility>

#include "platform/application.h"
#include "platform/codepage.h"
#include "platform/owned.h"

namespace settings {

namespace {

constexpr char kSettingsName[] = "Quenby.ini";

DWORD Attributes(const std::string& path) { return GetFileAttributesW(platform::Widen(path).c_str()); }

// Whether the settings file can be written in the folder. A trial file, deleted as it closes,
// shows that the folder takes new files; the settings file, when there, must open for writing.
bool SettingsWritableIn(const std::string& folder) {
    const std::string ini = folder + kSettingsName;
    DWORD a = Attributes(ini);
    if (a != INVALID_FILE_ATTRIBUTES) {
        if (a & FILE_ATTRIBUTE_DIRECTORY) return false;
        platform::Handle f(CreateFileW(platform::Widen(ini).c_str(), GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!f) return false;
    }
    const std::string trial = folder + "~quenby-" + std::to_string(GetCurrentProcessId()) + ".tmp";
    platform::Handle t(CreateFileW(platform::Widen(trial).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return static_cast<bool>(t);
}

std::string PerUserRoot() {
    wchar_t buf[MAX_PATH];
    DWORD n = GetEnvironmentVariableW(L"LOCALAPPDATA", buf, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    std::string root = platform::Narrow(std::wstring_view(buf, n));
    if (root.back() != '\\') root += '\\';
    return root;
}

}  // namespace

std::string ChooseDataFolder(const std::string& programFolder, const std::string& perUserRoot) {
    if (SettingsWritableIn(programFolder) || perUserRoot.empty()) return programFolder;
    const std::string own = perUserRoot + "Quenby\\";
    CreateDirectoryW(platform::Widen(own).c_str(), nullptr);  // there already: fine
    DWORD a = Attributes(own);
    if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY)) return programFolder;
    const std::string from = programFolder + kSettingsName, to = own + kSettingsName;
    if (Attributes(to) == INVALID_FILE_ATTRIBUTES && Attributes(from) != INVALID_FILE_ATTRIBUTES)
        CopyFileW(platform::Widen(from).c_str(), platform::Widen(to).c_str(), TRUE);
    return own;
}

std::string DataFolder() {
    static std::pair<std::string, std::string> decided;  // the executable's folder, the choice
    const std::string program = platform::ExeFolder();
    if (decided.first != program || decided.second.empty())
        decided = {program, ChooseDataFolder(program, PerUserRoot())};
    return decided.second;
}

}  // namespace settings
