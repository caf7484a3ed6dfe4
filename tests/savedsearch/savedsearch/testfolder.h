#pragma once
// A fresh, empty folder per test for saved-search files, removed afterwards.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

class TestFolder : public testing::Test {
protected:
    void SetUp() override {
        char tmp[MAX_PATH];
        GetTempPathA(MAX_PATH, tmp);
        folder = std::string(tmp) + "quenby-sets-" + std::to_string(GetCurrentProcessId()) + "-" +
                 testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
        Clear();
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    void TearDown() override {
        Clear();
        RemoveDirectoryA(folder.c_str());
    }
    std::string Base(const std::string& name) const { return folder + name; }
    void Clear() {
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((folder + "*").c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE) return;
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((folder + fd.cFileName).c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }

    std::string folder;
};
