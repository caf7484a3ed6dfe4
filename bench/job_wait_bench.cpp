// How much CPU the search job uses while it waits: for a slow results page, and for a UI step
// that the UI thread is slow to run. The worker should sleep in both, apart from its 100 ms pump.
#include <windows.h>

#include <atomic>
#include <cstdio>

#include "engine/downthread.h"
#include "platform/uithread.h"
#include "support/http_server.h"
#include "support/ui_loop.h"

namespace {

double ProcessCpuMs() {
    FILETIME c, e, k, u;
    GetProcessTimes(GetCurrentProcess(), &c, &e, &k, &u);
    auto ms = [](FILETIME f) { return (static_cast<double>(f.dwHighDateTime) * 4294967296.0 + f.dwLowDateTime) / 1e4; };
    return ms(k) + ms(u);
}

class SlowSink : public engine::JobSink {
public:
    explicit SlowSink(DWORD stepDelay) : delay(stepDelay) {}
    void RunUiStep(const std::function<void()>& step) override { ui.Run(step); }
    bool PostToUi(std::function<void()> fn) override { return ui.Post(std::move(fn)); }
    void ShowProgress(const std::string&, const std::string&) override { Sleep(delay); }
    void SearchDone(bool) override {}
    void DownloadsFinished(const std::string&) override { finished = true; }
    platform::UiDispatcher ui;
    DWORD delay;
    bool finished = false;
};

void Measure(const char* what, DWORD pageDelay, DWORD stepDelay) {
    testsupport::HttpServer server;
    testsupport::Response page = testsupport::Response::text("page");
    page.delay_ms = static_cast<int>(pageDelay);
    server.on("/images/search", page);
    SlowSink sink(stepDelay);
    std::atomic<bool> stop{false};
    engine::TDownThread* job = engine::MakeJob({.fileLimit = 1,
                                                .folder = "C:\\",
                                                .keywords = "x",
                                                .service = server.base(),
                                                .sink = engine::Unowned(sink),
                                                .stop = engine::Unowned(stop),
                                                .scan = [](engine::TDownThread& j, const std::wstring&) {
                                                    j.DownedCount++;
                                                    j.ShowProgress();
                                                    return false;
                                                }});
    double cpu0 = ProcessCpuMs();
    DWORD t0 = GetTickCount();
    job->Start();
    testsupport::PumpUntil([&] { return sink.finished; }, 60000);
    double wall = GetTickCount() - t0, cpu = ProcessCpuMs() - cpu0;
    std::printf("%-34s wall %6.0f ms   cpu %6.1f ms   cpu/wall %5.2f %%\n", what, wall, cpu, 100.0 * cpu / wall);
}

}  // namespace

int main() {
    Measure("page answered after 2000 ms", 2000, 0);
    Measure("UI step that takes 2000 ms", 0, 2000);
    return 0;
}
