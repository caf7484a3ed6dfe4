#include "platform/application.h"

#include <windows.h>

#include <cctype>

#include "platform/environment.h"

namespace platform {

std::string ExePath() {
    std::string buf(MAX_PATH, '\0');
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n < buf.size()) {
            buf.resize(n);
            return buf;
        }
        buf.resize(buf.size() * 2);
    }
}

std::string ExeFolder() {
    if (!Env().exeFolder.empty()) return Env().exeFolder;
    std::string p = ExePath();
    return p.substr(0, p.find_last_of('\\') + 1);
}

std::string TitleFromExeName(const std::string& path) {
    std::string name = path.substr(path.find_last_of("\\/") + 1);
    name = name.substr(0, name.find('.'));
    for (size_t i = 1; i < name.size(); i++)
        name[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[i])));
    return name;
}

std::string ApplicationTitle() { return TitleFromExeName(ExePath()); }

}  // namespace platform
