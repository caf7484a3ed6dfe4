// Stored texts of any kind: integers read back as written, values never span lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/integers.h"
#include "platform/text.h"
#include "settings/rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    if (auto v = platform::ParseInteger(text)) {
        if (platform::ParseInteger(std::to_string(*v)) != v) std::abort();
    }
    std::string clean = settings::SanitizeValue(text);
    if (clean.size() != text.size() || clean.find_first_of("\r\n") != std::string::npos) std::abort();
    std::string stored = settings::StoredForm(text);
    if (stored.find_first_of("\r\n") != std::string::npos) std::abort();
    if (stored != clean && stored != '"' + clean + '"') std::abort();
    platform::IsBlank(text);
    std::string site = settings::SiteAddress(text);
    if (!site.empty() && (site.back() != '/' || site.find("://") == std::string::npos)) std::abort();
    return 0;
}
