// The thumbnail pipeline (load + thumbnail) against libjpeg-turbo's own decode and encode of
// the same photo-like JPEGs, the memory it takes, and the fetcher's throughput from the local
// test service.
#include <windows.h>
#include <objbase.h>
#include <psapi.h>

#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "engine/fetcher.h"
#include "platform/pump.h"
#include "imaging/jpegcodec.h"
#include "imaging/thumbgeom.h"
#include "engine/thumbnail.h"
#include "platform/uithread.h"
#include "support/http_server.h"
#include "support/jpeg_rows.h"

using namespace engine;
using namespace imaging;
using Clock = std::chrono::steady_clock;

namespace {

double MsSince(Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); }

double PeakMB() {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    K32GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return static_cast<double>(pmc.PeakWorkingSetSize) / (1 << 20);
}

// Smooth gradients with some noise: compresses like a photograph, not like flat colour.
std::vector<uint8_t> PhotoLikeJpeg(int w, int h) {
    uint32_t seed = 12345;
    auto clamp = [](int v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
    return testsupport::JpegFromRows(w, h, 85, [&](int y, uint8_t* row) {
        for (int x = 0; x < w; x++) {
            seed = seed * 1103515245 + 12345;
            int noise = static_cast<int>((seed >> 16) & 31) - 16;
            row[3 * x] = clamp(((x + y) * 255 / (w + h)) ^ ((x / 64 + y / 64) & 1 ? 64 : 0));
            row[3 * x + 1] = clamp(y * 255 / h + noise);
            row[3 * x + 2] = clamp(x * 255 / w + noise);
        }
    });
}

std::string WriteTemp(const std::string& name, const std::vector<uint8_t>& bytes) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    std::string path = std::string(dir) + name;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(f);
    return path;
}

std::vector<uint8_t> ReadAll(const std::string& path) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER len{};
    GetFileSizeEx(f, &len);
    std::vector<uint8_t> out(static_cast<size_t>(len.QuadPart));
    DWORD n = 0;
    ReadFile(f, out.data(), static_cast<DWORD>(out.size()), &n, nullptr);
    CloseHandle(f);
    return out;
}

double PipelineMs(const std::string& path, int runs) {
    auto t = Clock::now();
    for (int i = 0; i < runs; i++) {
        Picture p;
        LoadPictureFile(path, p);
        MakeThumbnail(p, 138, 108);
    }
    return MsSince(t) / runs;
}

// The reference: the file read, decoded whole, scaled to the same thumbnail, encoded.
double LibjpegMs(const std::string& path, int runs) {
    auto t = Clock::now();
    for (int i = 0; i < runs; i++) {
        auto bytes = ReadAll(path);
        std::vector<uint8_t> px;
        int w = 0, h = 0;
        DecodeJpeg(bytes.data(), bytes.size(), 1ull << 32, px, w, h);
        Size s = ThumbnailSize(w, h, 138, 108);
        std::vector<uint8_t> thumb(4 * static_cast<size_t>(s.width) * s.height);
        ScaleNearest(px.data(), w, h, 4 * static_cast<size_t>(w), thumb.data(), s.width, s.height,
                     4 * static_cast<size_t>(s.width));
        EncodeJpeg(thumb.data(), s.width, s.height, 4 * static_cast<size_t>(s.width), 70);
    }
    return MsSince(t) / runs;
}

// Decode whole and encode whole at the image's own size: libjpeg-turbo's full round trip.
double LibjpegFullMs(const std::string& path, int runs) {
    auto t = Clock::now();
    for (int i = 0; i < runs; i++) {
        auto bytes = ReadAll(path);
        std::vector<uint8_t> px;
        int w = 0, h = 0;
        DecodeJpeg(bytes.data(), bytes.size(), 1ull << 32, px, w, h);
        EncodeJpeg(px.data(), w, h, 4 * static_cast<size_t>(w), 70);
    }
    return MsSince(t) / runs;
}

void Thumbnails() {
    struct Case {
        int w = 0, h = 0, runs = 0;
        std::string path = {};
        size_t kb = 0;
        double pipe = 0, peak = 0;
    };
    // The picture above the whole-decode limit goes first, so its peak is not the others'.
    std::vector<Case> cases(4);
    cases[0].w = 9000, cases[0].h = 7000, cases[0].runs = 1;
    cases[1].w = 640, cases[1].h = 480, cases[1].runs = 40;
    cases[2].w = 1920, cases[2].h = 1080, cases[2].runs = 10;
    cases[3].w = 4000, cases[3].h = 3000, cases[3].runs = 3;
    for (auto& c : cases) {
        auto jpeg = PhotoLikeJpeg(c.w, c.h);
        c.kb = jpeg.size() / 1024;
        c.path = WriteTemp("quenby-bench-" + std::to_string(c.w) + ".jpg", jpeg);
    }
    double base = PeakMB();
    for (auto& c : cases) {
        PipelineMs(c.path, 1);  // warm: loader DLLs, caches
        c.pipe = PipelineMs(c.path, c.runs);
        c.peak = PeakMB();
    }
    std::printf("thumbnail pipeline (load + 138x108 thumbnail, quality 70) vs libjpeg-turbo, ms per image\n");
    std::printf("%-10s %8s %9s %10s %6s %13s %6s %8s\n", "image", "file KB", "pipeline", "dec+thumb", "ratio",
                "dec+enc full", "ratio", "peak MB");
    for (auto& c : cases) {
        double ref = LibjpegMs(c.path, c.runs);
        double full = LibjpegFullMs(c.path, c.runs);
        char name[32];
        std::snprintf(name, sizeof name, "%dx%d", c.w, c.h);
        std::printf("%-10s %8zu %9.2f %10.2f %6.2f %13.2f %6.2f %8.1f\n", name, c.kb, c.pipe, ref, c.pipe / ref, full,
                    c.pipe / full, c.peak);
        DeleteFileA(c.path.c_str());
    }
    std::printf(
        "dec+thumb: read, decode whole, nearest-pixel scale, encode the thumbnail; dec+enc full:\n"
        "decode and encode at the image's own size. peak MB: the process's peak working set after\n"
        "the pipeline runs, in the order above (%.1f MB before any); 9000x7000 is above the\n"
        "whole-decode limit and is scaled row by row.\n",
        base);
}

void Download() {
    testsupport::HttpServer server;
    std::string body(4u << 20, '\0');
    for (size_t i = 0; i < body.size(); i++) body[i] = static_cast<char>(i * 131);
    server.on("/big.jpg", testsupport::Response::file(body, "image/jpeg"));
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    std::string path = std::string(dir) + "quenby-bench-download.jpg";
    DownloadToFile(server.url("/big.jpg"), path, 0, 8 << 20, "Bench");
    const int runs = 5;
    auto t = Clock::now();
    for (int i = 0; i < runs; i++) DownloadToFile(server.url("/big.jpg"), path, 0, 8 << 20, "Bench");
    double s = MsSince(t) / 1000 / runs;
    std::printf("DownloadToFile, 4 MB from 127.0.0.1 in 1024-byte blocks: %.1f ms each, %.1f MB/s\n", s * 1000,
                4.0 / s);
    DeleteFileA(path.c_str());
    // Context: what the message pump after each of the 4096 blocks costs by itself.
    t = Clock::now();
    for (int i = 0; i < 4096; i++) platform::PumpThreadMessages();
    std::printf("  of which 4096 empty message pumps: %.1f ms\n", MsSince(t));
}

}  // namespace

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Thumbnails();
    Download();
    CoUninitialize();
    return 0;
}
