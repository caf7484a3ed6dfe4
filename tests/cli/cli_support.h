#pragma once
// What the console tests share: a copy of the program beside its own settings, run with its
// output and exit status caught, against the local service.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "scan_support.h"

namespace clitest {

using namespace scantest;
using testsupport::HttpServer;
using testsupport::Response;

struct Outcome {
    int status = -1;
    std::string out, err;
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        size_t at = 0;
        for (size_t nl; (nl = out.find('\n', at)) != std::string::npos; at = nl + 1) {
            std::string l = out.substr(at, nl - at);
            if (!l.empty() && l.back() == '\r') l.pop_back();
            lines.push_back(l);
        }
        return lines;
    }
};

inline std::string ReadAll(HANDLE h) {
    std::string s;
    char buf[4096];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n) s.append(buf, n);
    return s;
}

// The built program, copied into `dir` so each test has its own settings file beside it.
inline std::string CopyProgram(const TempDir& dir) {
    std::string built = QUENBY_CLI_EXE;
    for (char& c : built)
        if (c == '/') c = '\\';
    std::string copy = dir.path + "quenby-cli.exe";
    CopyFileA(("Z:" + built).c_str(), copy.c_str(), FALSE);
    return copy;
}

inline Outcome RunProgram(const std::string& exe, const std::string& args, DWORD flags = 0,
                          const std::function<void(const PROCESS_INFORMATION&)>& meanwhile = nullptr) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE outR, outW, errR, errW;
    CreatePipe(&outR, &outW, &sa, 0);
    CreatePipe(&errR, &errW, &sa, 0);
    SetHandleInformation(outR, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errR, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = outW;
    si.hStdError = errW;
    PROCESS_INFORMATION pi{};
    std::string cmd = "\"" + exe + "\" " + args;
    Outcome run;
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, flags, nullptr, nullptr, &si, &pi)) {
        ADD_FAILURE() << "cannot start " << cmd;
        return run;
    }
    CloseHandle(outW);
    CloseHandle(errW);
    std::thread errReader([&] { run.err = ReadAll(errR); });
    if (meanwhile) meanwhile(pi);
    run.out = ReadAll(outR);
    errReader.join();
    if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        run.status = static_cast<int>(code);
    }
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    CloseHandle(outR);
    CloseHandle(errR);
    return run;
}

struct CliTest : ::testing::Test {
    HttpServer server;
    TempDir home, folder;  // the program's own folder, the target folder
    std::string exe = CopyProgram(home);

    void ServeImage(const std::string& path, const std::string& fixture) {
        server.on(path, Response::file(Fixture(fixture), "image/jpeg"));
    }
    std::string Url(const std::string& p) { return server.url(p); }
    // The folder goes without its trailing "\\" (which would escape the quote); the program adds it.
    std::string Bare(const TempDir& d) { return d.path.substr(0, d.path.size() - 1); }
    std::string Options() { return "--service " + server.base() + " --folder \"" + Bare(folder) + "\" "; }
};

}  // namespace clitest
