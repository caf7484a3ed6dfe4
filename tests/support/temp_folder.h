#pragma once
// A fresh folder under the system's temporary folder for one test, removed with all it holds.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

inline bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The whole file, also while another handle writes it; nothing when it cannot be opened.
inline std::optional<std::string> ReadFileIfAny(const std::string& path) {
    HANDLE h =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string out;
    char buf[65536];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n) out.append(buf, n);
    CloseHandle(h);
    return out;
}
inline std::string ReadWholeFile(const std::string& path) { return ReadFileIfAny(path).value_or(""); }

class TempFolder {
public:
    TempFolder() {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        static int serial = 0;
        path_ = std::string(base) + "quenby-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial) +
                "\\";
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TempFolder() { RemoveAll(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + name; }
    // The names of the files it holds (no folders).
    std::vector<std::string> Files() const {
        std::vector<std::string> out;
        WIN32_FIND_DATAA d;
        HANDLE h = FindFirstFileA((path_ + "*").c_str(), &d);
        if (h == INVALID_HANDLE_VALUE) return out;
        do {
            if (!(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) out.push_back(d.cFileName);
        } while (FindNextFileA(h, &d));
        FindClose(h);
        return out;
    }

    static std::string Read(const std::string& file) { return ReadWholeFile(file); }
    static void Write(const std::string& file, const std::string& text) {
        std::ofstream(file, std::ios::binary) << text;
    }

private:
    static void RemoveAll(const std::string& folder) {
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((folder + "*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                std::string name = fd.cFileName;
                if (name == "." || name == "..") continue;
                std::string full = folder + name;
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveAll(full + "\\");
                } else {
                    SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);  // read-only ones too
                    DeleteFileA(full.c_str());
                }
            } while (FindNextFileA(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryA(folder.c_str());
    }
    std::string path_;
};

// A test with a fresh folder of its own.
class TempFolderTest : public ::testing::Test {
protected:
    TempFolder dir;
    const std::string folder = dir.path();  // ends with "\"
    std::string Base(const std::string& name) const { return folder + name; }
};

}  // namespace testsupport
