#include "engine/scanflow.h"

#include "engine/naming.h"
#include "engine/pagescan.h"
#include "engine/urldecode.h"

namespace engine {

bool ScanResults(std::string_view rest, ScanHooks& hooks) {
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
        if (hooks.IsFetched(imageUrl)) continue;
        std::string name = RemoveRefusedCharacters(LastSegment(imageUrl));
        hooks.CountTried();
        if (SkippedByExtension(imageUrl)) continue;
        // The random number is drawn only for a name that needs one.
        name = ShapeFileName(std::move(name), p, IsBlank(name) ? hooks.RandomFactor() : 0);
        NewImage image{p, std::move(imageUrl), ReplaceAmpEntities(pageUrl), ""};
        image.fileName = UniqueFileName(name, [&](const std::string& n) { return hooks.FileExists(n); });
        hooks.Fetch(image);
    }
    return false;
}

}  // namespace engine
