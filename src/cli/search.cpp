#include "cli/search.h"

namespace cli {

SearchEnd RunSearch(engine::SearchRequest request, int emptyPages, ConsoleSink& sink, std::atomic<bool>& stop) {
    int emptyRun = 0;
    request.sink = engine::Unowned(sink);  // the sink outlives the job: the run waits for its end
    request.stop = engine::Unowned(stop);
    request.scan = [&emptyRun, emptyPages, &stop](engine::TDownThread& j, const std::wstring& text) {
        int32_t before = j.DownedCount;
        bool stopped = j.ScanPage(text);
        emptyRun = j.DownedCount == before ? emptyRun + 1 : 0;
        if (emptyRun >= emptyPages) stop = true;
        return stopped;
    };
    const int before = sink.Downloaded();
    sink.BeginSearch();
    engine::MakeJob(request)->Start();
    sink.RunUntilFinished();
    return {sink.Downloaded() - before, sink.Error()};
}

}  // namespace cli
