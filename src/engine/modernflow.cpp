#include "engine/modernflow.h"

#include <vector>

namespace engine {

bool ScanEitherMarkup(std::string_view rest, const std::function<std::string()>& wholePage, ScanHooks& hooks,
                      const PageCharset& charset) {
    bool found = false;
    if (ScanResults(rest, hooks, &found)) return true;
    if (found) return false;
    const std::vector<ModernResult> results = ScanModernPage(wholePage(), charset);
    for (size_t i = 0; i < results.size(); i++) {
        if (hooks.StopRequested()) return true;
        NewImage image{static_cast<int>(i), results[i].imageUrl, results[i].pageLine, ""};
        image.linesReady = true;
        TakeResult(std::move(image), hooks);
    }
    return false;
}

}  // namespace engine
