#include "engine/scanflow.h"

#include "engine/naming.h"
#include "engine/pagescan.h"
#include "engine/urldecode.h"
#include "platform/text.h"

namespace engine {

namespace {

bool Decodable(std::string_view text) {
    try {
        UrlDecode(text);
        return true;
    } catch (const UrlDecodeError&) {
        return false;
    }
}

}  // namespace

void TakeResult(NewImage image, ScanHooks& hooks) {
    // The classic lines are decoded once more for the list; a result that cannot be is
    // passed over before anything is downloaded.
    if (!image.linesReady && (!Decodable(image.imageUrl) || !Decodable(image.pageUrl))) return;
    hooks.MeetAddress(image.imageUrl);
    if (hooks.IsFetched(image.imageUrl)) return;
    std::string name = RemoveRefusedCharacters(LastSegment(image.imageUrl));
    hooks.CountTried();
    if (SkippedByExtension(image.imageUrl)) return;
    // The random number is drawn only for a name that needs one.
    name = ShapeFileName(std::move(name), image.index, platform::IsBlank(name) ? hooks.RandomFactor() : 0);
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
        std::string imageUrl, pageUrl;
        bool decoded = true;
        try {
            imageUrl = UrlDecode(raw.imageUrl);
            pageUrl = UrlDecode(raw.pageUrl);
        } catch (const UrlDecodeError&) {
            decoded = false;  // one bad address costs its result only
        }
        scanner.PassOver();
        if (!decoded) {
            if (found) *found = true;
            continue;
        }
        if (platform::IsBlank(imageUrl) || platform::IsBlank(pageUrl)) continue;
        if (found) *found = true;
        TakeResult({p, std::move(imageUrl), ReplaceAmpEntities(pageUrl), ""}, hooks);
    }
    return false;
}

}  // namespace engine
