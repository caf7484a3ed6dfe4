// What the index of pictures already had costs at a search's start: a folder of 5,000 and of
// 20,000 files of about 50 KB listed, then one new file looked up against the folder, with
// 1, 10 and 100 files of its size there (each of those read once). Prints figures; asserts nothing.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "engine/contenthash.h"
#include "support/temp_folder.h"

using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::time_point since) { return std::chrono::duration<double, std::milli>(Clock::now() - since).count(); }

void Measure(size_t files, size_t sameSize) {
    testsupport::TempFolder dir;
    std::string bytes(50000, 'x');
    for (size_t i = 0; i < files; i++) {
        bytes.resize(i < sameSize ? 50000 : 50001 + i % 20000);
        bytes[0] = static_cast<char>(i);
        bytes[1] = static_cast<char>(i >> 8);
        bytes[2] = static_cast<char>(i >> 16);
        testsupport::TempFolder::Write(dir.file(std::to_string(i) + ".jpg"), bytes);
    }
    testsupport::TempFolder elsewhere;  // the new download, not yet in the folder's listing
    bytes.assign(50000, 'y');
    testsupport::TempFolder::Write(elsewhere.file("new.jpg"), bytes);
    const Clock::time_point start = Clock::now();
    engine::IdenticalIndex index(engine::FileSha256);
    const size_t listed = engine::AddFolderFiles(index, dir.path());
    const double listing = Ms(start);
    const Clock::time_point look = Clock::now();
    const bool had = index.HadBefore(elsewhere.file("new.jpg"), 50000, *engine::FileSha256(elsewhere.file("new.jpg")));
    std::printf("%6zu files: listed %zu in %.1f ms; a new file against %zu of its size: %.1f ms (%s)\n", files, listed,
                listing, sameSize, Ms(look), had ? "had" : "new");
}

}  // namespace

int main() {
    for (size_t same : {1, 10, 100}) Measure(5000, same);
    Measure(20000, 1);
    return 0;
}
