#pragma once
// A fresh folder under the system's temporary folder, removed with what it holds.
#include <windows.h>

#include <string>

namespace testsupport {

class TempFolder {
public:
    TempFolder() {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        static int serial = 0;
        path_ = std::string(base) + "quenby-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++serial) + "\\";
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TempFolder() {
        WIN32_FIND_DATAA d;
        HANDLE h = FindFirstFileA((path_ + "*").c_str(), &d);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                if (!(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((path_ + d.cFileName).c_str());
            } while (FindNextFileA(h, &d));
            FindClose(h);
        }
        RemoveDirectoryA(path_.c_str());
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

inline bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline std::string ReadWholeFile(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    std::string out;
    char buf[65536];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n) out.append(buf, n);
    CloseHandle(h);
    return out;
}

}  // namespace testsupport
