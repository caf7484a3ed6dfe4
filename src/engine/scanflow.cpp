#include "engine/scanflow.h"

#include "engine/naming.h"
#include "engine/pagescan.h"
#include "engine/urldecode.h"

namespace engine {

void TakeResult(NewImage image, ScanHooks& hooks) {
    if (hooks.IsFetched(image.imageUrl)) return;
    std::string name = RemoveRefusedCharacters(LastSegment(image.imageUrl));
    hooks.CountTried();
    if (SkippedByExtension(image.imageUrl)) return;
    // The random number is drawn only for a name that needs one.
    name = ShapeFileName(std::move(name), image.index, IsBlank(name) ? hooks.RandomFactor() : 0);
    image.fileName = UniqueFileName(name, [&](const std::string& n) { return hooks.FileExists(n); });
    hooks.Fetch(image);
}

bool ScanResults(std::string_view rest, ScanHooks& hooks, bool* found) {
    PageScanner scanner(rest);
    const size_t count = scanner.ResultCount();
    RawResult raw;
    for (size_t i = 0; i < count; i++) {
        const int p = static_cast<int>(i);
        if (hooks.StopRequested()) return true;
        scanner.ReadAnchors(raw);
        std::string imageUrl = UrlDecode(raw.imageUrl);
        std::string pageUrl = UrlDecode(raw.pageUrl);
        scanner.PassOver();
        if (IsBlank(imageUrl) || IsBlank(pageUrl)) continue;
        if (found) *found = true;
        TakeResult({p, std::move(imageUrl), ReplaceAmpEntities(pageUrl), ""}, hooks);
    }
    return false;
}

}  // namespace engine
