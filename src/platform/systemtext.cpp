#include "platform/systemtext.h"

#include <windows.h>

namespace platform {

std::string SystemText(unsigned long code) {
    char* buf = nullptr;
    DWORD n =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<char*>(&buf), 0, nullptr);
    std::string text = n && buf ? std::string(buf, n) : std::string();
    if (buf) LocalFree(buf);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.pop_back();
    return text;
}

std::string SystemReason(unsigned long code) {
    std::string text = SystemText(code);
    if (text.empty()) return "System error " + std::to_string(code);
    while (!text.empty() && (static_cast<unsigned char>(text.back()) <= ' ' || text.back() == '.')) text.pop_back();
    return text;
}

}  // namespace platform
