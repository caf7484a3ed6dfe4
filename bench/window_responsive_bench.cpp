// How quickly the main window's UI thread answers while a search fills the list and strip:
// a prober thread posts a stamped message every 5 ms and the UI thread notes how late each
// one runs; meanwhile a result is selected every 50 ms as a user would. The search runs the
// real page scan, fetcher and thumbnail maker against a local service (the start pause is
// set to 0; it is a specified 2000 ms of its own).
#include <windows.h>

#include <algorithm>
#include <functional>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "imaging/jpegcodec.h"
#include "forms/messageloop.h"
#include "forms/msgbox.h"
#include "platform/uithread.h"
#include "mainwindow/mainform.h"
#include "mainwindow/state.h"
#include "support/environment.h"
#include "support/http_server.h"

namespace {

double NowMs() {
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

std::string Jpeg(int w, int h, int seed) {
    std::vector<uint8_t> px(static_cast<size_t>(w) * h * 4);
    for (size_t i = 0; i < px.size(); i++) px[i] = static_cast<uint8_t>((i * 7 + seed * 31) ^ (i >> 9));
    auto b = imaging::EncodeJpeg(px.data(), w, h, static_cast<size_t>(w) * 4, 85);
    return {b.begin(), b.end()};
}

double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())))];
}

}  // namespace

int main() {
    const int pages = 4, perPage = 28;
    testsupport::HttpServer server;
    std::vector<std::string> images;
    for (int i = 0; i < 8; i++) images.push_back(Jpeg(640 + 16 * i, 480 - 8 * i, i));
    server.fallback([&](const testsupport::Request& r) {
        if (r.path() == "/images/search") {
            size_t a = r.target.find("&first=") + 7;
            int first = std::atoi(r.target.substr(a).c_str());
            std::string page = "<html><body><div id=\"b_SearchBoxAnswer\"></div>\n";
            for (int k = 0; k < perPage; k++) {
                std::string n = std::to_string(first + k);
                page += "<div><a class=\"thumb\" href=\"" + server.url("/img/" + n + ".jpg") +
                        "\" h=\"ID=images,1.1\"><img src=\"t.jpg\"></a><a class=\"tit\" href=\"http://pages.example/" +
                        n +
                        "\" h=\"ID=images,1.2\">t</a><a class=\"site\" href=\"http://pages.example/\">s</a></div>\n";
            }
            return testsupport::Response::text(page + "</body></html>");
        }
        int n = std::atoi(r.path().substr(5).c_str());
        return testsupport::Response::file(images[static_cast<size_t>(n) % images.size()], "image/jpeg");
    });

    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    std::string folder = std::string(tmp) + "quenby-bench-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    testsupport::Environment env;
    env.forms.box = [](const forms::BoxCall&) { return IDOK; };
    env.mainwindow.searchStartPauseMs = 0;
    testsupport::Install(env);

    auto form = std::make_unique<mainwindow::TForm1>();
    form->Show();
    form->SearchService = server.base();
    mainwindow::SavePath = folder;
    mainwindow::MaxFileCount = pages * perPage;
    form->Search().ConnectionTest = [] { return true; };

    platform::UiDispatcher probeTarget;
    std::vector<double> late;  // written on the UI thread only
    std::atomic<bool> probing{true};
    std::thread prober([&] {
        while (probing) {
            double stamp = NowMs();
            probeTarget.Post([stamp, &late] { late.push_back(NowMs() - stamp); });
            Sleep(5);
        }
    });

    std::vector<double> selectMs;
    double start = NowMs();
    form->ComboBox_search.SetText("bench");
    form->Button_search.Click();
    double nextSelect = NowMs() + 50;
    forms::WaitUntil(
        [&] {
            if (NowMs() >= nextSelect && form->ListBox1.Count() > 0) {
                double t0 = NowMs();
                form->ListBox1.SetItemIndex(form->ListBox1.Count() / 2);
                form->ListBox1Click(&form->ListBox1);
                selectMs.push_back(NowMs() - t0);
                nextSelect = NowMs() + 50;
            }
            return !form->Search().JobAlive();
        },
        120000);
    double elapsed = NowMs() - start;
    probing = false;
    prober.join();
    forms::ProcessMessages();

    int entries = form->ListBox1.Count();
    std::printf("search: %d results (%d pages of %d, 640x480 JPEGs) in %.0f ms, %.1f ms per result\n", entries, pages,
                perPage, elapsed, entries ? elapsed / entries : 0.0);
    std::printf("UI thread lateness for %zu probes posted every 5 ms: median %.2f ms, p99 %.2f ms, max %.2f ms\n",
                late.size(), Percentile(late, 0.5), Percentile(late, 0.99), Percentile(late, 1.0));
    std::printf("selecting a result during the search (%zu times): median %.2f ms, max %.2f ms\n", selectMs.size(),
                Percentile(selectMs, 0.5), Percentile(selectMs, 1.0));

    // The same selections and scrolls with the search over.
    auto timeIt = [&](const char* what, const std::function<void(int)>& fn) {
        double t0 = NowMs();
        for (int i = 0; i < 50; i++) fn(i);
        forms::ProcessMessages();
        std::printf("idle, %s: %.2f ms each\n", what, (NowMs() - t0) / 50);
    };
    timeIt("selecting a result", [&](int i) {
        form->ListBox1.SetItemIndex((i * 37) % entries);
        form->ListBox1Click(&form->ListBox1);
    });
    timeIt("scrolling the strip by 40 lines", [&](int i) { form->ScrollBox1.SetVertPosition((i % 2) * 320 + 2000); });
    timeIt("framing a thumbnail", [&](int i) { form->Bevel_f.SetBounds(2, i, 144, 114); });
    timeIt("adding a result entry", [&](int i) {
        auto pic = std::make_unique<imaging::Picture>();
        std::vector<uint8_t> px(138 * 104 * 4, 0x50);
        pic->SetJpegBytes(imaging::EncodeJpeg(px.data(), 138, 104, 138 * 4, 70));
        form->AddResultEntry("http://p/" + std::to_string(i), "http://i/" + std::to_string(i), "f.jpg", std::move(pic));
    });
    timeIt("scroll info", [&](int i) {
        SCROLLINFO si{sizeof(si), SIF_POS, 0, 0, 0, i, 0};
        SetScrollInfo(form->ScrollBox1.Handle(), SB_VERT, &si, TRUE);
    });
    timeIt("redraw request", [&](int) {
        RedrawWindow(form->ScrollBox1.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    });
    timeIt("address field", [&](int i) { form->Edit1.SetText("http://x/" + std::to_string(i)); });
    timeIt("scroll 0 then 2000", [&](int) {
        form->ScrollBox1.SetVertPosition(0);
        form->ScrollBox1.SetVertPosition(2000);
    });
    timeIt("find thumbnail", [&](int i) { (void)form->Thumbnail(i); });
    timeIt("a list line", [&](int i) { form->ListBox1.SetItemIndex(i); });
    timeIt("pumping", [&](int) { forms::ProcessMessages(); });

    form.reset();
    WIN32_FIND_DATAA d;
    HANDLE h = FindFirstFileA((folder + "*").c_str(), &d);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((folder + d.cFileName).c_str());
        } while (FindNextFileA(h, &d));
        FindClose(h);
    }
    RemoveDirectoryA(folder.c_str());
    return 0;
}
