#pragma once
// A fresh folder under the temporary folder for one test, removed with everything in it.
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

namespace testsupport {

class TempFolder {
public:
    TempFolder() {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        static int counter = 0;
        path_ = std::string(base) + "quenby-settings-" + std::to_string(GetCurrentProcessId()) +
                "-" + std::to_string(++counter) + "\\";
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TempFolder() {
        RemoveAll(path_);
    }
    const std::string& path() const { return path_; }

    static std::string Read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
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
                    SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                    DeleteFileA(full.c_str());
                }
            } while (FindNextFileA(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryA(folder.c_str());
    }
    std::string path_;
};

}  // namespace testsupport
