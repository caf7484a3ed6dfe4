// libFuzzer: reading a header never reads past the bytes, and any size it names is one a
// picture can have.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/keywordlist.h"
#include "engine/picturesize.h"
#include "engine/sourcerecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (auto s = engine::PictureSizeFromHeader(bytes); s && (s->width <= 0 || s->height <= 0)) abort();
    // The same bytes as a list of keywords and as every text of a source line.
    engine::ReadKeywordList(bytes, 100);
    engine::SourceRecord r;
    r.file = r.imageUrl = r.keywords = std::string(bytes);
    const std::string json = engine::SourceLine(r, engine::SourceFormat::JsonLines);
    for (char c : json.substr(0, json.size() - 1))
        if (c == '\n' || c == '\r') abort();  // one record, one line
    return 0;
}
