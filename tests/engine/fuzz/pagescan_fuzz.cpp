// libFuzzer: any page text goes through the cut, the scan, the decoding and the naming; every
// name handed to the download must be one Windows stores as it is, inside the folder.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "engine/naming.h"
#include "platform/text.h"
#include "engine/pagescan.h"
#include "engine/scanflow.h"
#include "engine/urldecode.h"

namespace {

void Check(bool ok) {
    if (!ok) abort();
}

struct Hooks : engine::ScanHooks {
    std::vector<std::string> fetched;
    std::set<std::string> folder{"photo.jpg", "photo(1).jpg", "noname0_0.jpg"};
    int stops = 0;

    // A stop after some results keeps each run short and walks the stop path too.
    bool StopRequested() override { return ++stops > 2000; }
    bool IsFetched(const std::string& url) override {
        for (auto& f : fetched)
            if (platform::SameAsciiIgnoringCase(f, url)) return true;
        return false;
    }
    void CountTried() override {}
    bool FileExists(const std::string& name) override { return folder.count(engine::LowerAscii(name)) > 0; }
    int RandomFactor() override { return 998; }
    void Fetch(const engine::NewImage& image) override {
        const std::string& n = image.fileName;
        Check(!n.empty() && !platform::IsBlank(image.imageUrl) && !platform::IsBlank(image.pageUrl));
        Check(n.find_first_of(":/*\\?><|&\"=%") == std::string::npos);
        for (char c : n) Check(static_cast<unsigned char>(c) >= 32);
        Check(n.back() != '.' && n.back() != ' ');
        Check(!engine::IsDeviceName(n));
        Check(!engine::SkippedByExtension(image.imageUrl));
        Check(!FileExists(n) && !IsFetched(image.imageUrl));
        fetched.push_back(image.imageUrl);
        folder.insert(engine::LowerAscii(n));
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The page arrives as 16-bit text; here each byte stands for one character.
    std::wstring page(data, data + size);
    std::wstring cut = engine::CutAtStartMarker(page);
    Check(cut.size() <= page.size());
    std::string rest(cut.begin(), cut.end());
    Hooks hooks;
    try {
        engine::ScanResults(rest, hooks);
    } catch (const engine::UrlDecodeError&) {}
    return 0;
}
