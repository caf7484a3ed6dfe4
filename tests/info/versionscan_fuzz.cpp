// Any bytes, fed in any blocks, give the same version text as the whole file at once, and
// reading it as a number never fails other than by saying so.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/integers.h"
#include "info/versionscan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    size_t step = data[0] % 7 + 1;  // the first byte picks the block size
    std::string_view file(reinterpret_cast<const char*>(data) + 1, size - 1);
    info::VersionScan scan;
    for (size_t at = 0; at < file.size() && !scan.Done(); at += step) scan.Feed(file.substr(at, step));
    scan.Finish();
    std::string text = scan.Text();
    if (text != info::PublishedVersionText(file)) __builtin_trap();
    if (text.size() > info::VersionScan::kTaken) __builtin_trap();
    (void)platform::TryStrToInt(info::RemoveDots(text));
    (void)platform::TryStrToInt(std::string(file));
    return 0;
}
