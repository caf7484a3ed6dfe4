// The legacy-or-UTF-8 reader and the character rules on any bytes: the result is always UTF-8,
// UTF-8 input comes back unchanged, and no rule cuts a character.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string text = platform::Utf8OrLegacy(bytes, platform::Cp1252ToUtf8);
    if (!platform::IsValidUtf8(text)) std::abort();
    std::string_view body = bytes;
    if (body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);
    if (platform::IsValidUtf8(body) && text != body) std::abort();

    for (size_t n : {size_t{0}, size_t{1}, size_t{30}, size % 64}) {
        std::string_view head = platform::FirstCharacters(text, n);
        if (!platform::IsValidUtf8(head) || platform::CharacterCount(head) > n) std::abort();
    }
    if (!platform::IsValidUtf8(platform::ShowableText(bytes))) std::abort();
    std::string cut = platform::WithoutCutCharacter(text.substr(0, size / 2));
    if (!platform::IsValidUtf8(cut)) std::abort();
    if (!platform::SameTextIgnoringCase(text, text)) std::abort();
    return 0;
}
