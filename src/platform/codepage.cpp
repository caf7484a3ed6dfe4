#include "platform/codepage.h"

#include <windows.h>

#include <climits>

#include "platform/text.h"

namespace platform {

namespace {

unsigned RegistryCodePage() {
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return 0;
    wchar_t value[16] = {};
    DWORD size = sizeof value - sizeof(wchar_t), type = 0;
    unsigned cp = 0;
    if (RegQueryValueExW(key, L"ACP", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS &&
        type == REG_SZ)
        cp = static_cast<unsigned>(wcstoul(value, nullptr, 10));
    RegCloseKey(key);
    return cp;
}

unsigned LocaleCodePage() {
    DWORD cp = 0;
    if (!GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                         reinterpret_cast<LPWSTR>(&cp), sizeof cp / sizeof(wchar_t)))
        return 0;
    return cp;
}

bool Usable(unsigned cp) { return cp != 0 && cp != CP_UTF8 && IsValidCodePage(cp); }

}  // namespace

unsigned LegacyCodePage() {
    static const unsigned cp = [] {
        if (unsigned r = RegistryCodePage(); Usable(r)) return r;
        if (unsigned l = LocaleCodePage(); Usable(l)) return l;
        return 1252u;
    }();
    return cp;
}

std::wstring WidenFrom(std::string_view text, unsigned cp) {
    if (text.empty() || text.size() > INT_MAX) return {};
    int len = static_cast<int>(text.size());
    int n = MultiByteToWideChar(cp, 0, text.data(), len, nullptr, 0);
    if (n <= 0) return {};
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(cp, 0, text.data(), len, w.data(), n);
    return w;
}

std::string NarrowTo(std::wstring_view text, unsigned cp) {
    if (text.empty() || text.size() > INT_MAX) return {};
    int len = static_cast<int>(text.size());
    int n = WideCharToMultiByte(cp, 0, text.data(), len, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(cp, 0, text.data(), len, s.data(), n, nullptr, nullptr);
    return s;
}

std::string Recode(std::string_view text, unsigned from, unsigned to) {
    return from == to ? std::string(text) : NarrowTo(WidenFrom(text, from), to);
}

std::string StoredText(std::string_view bytes) {
    if (GetACP() != CP_UTF8) return std::string(bytes);
    return Utf8OrLegacy(bytes, [](std::string_view b) { return Recode(b, LegacyCodePage(), CP_UTF8); });
}

std::string StoredTextByLine(std::string_view bytes) {
    if (GetACP() != CP_UTF8) return std::string(bytes);
    return Utf8OrLegacyByLine(bytes, [](std::string_view b) { return Recode(b, LegacyCodePage(), CP_UTF8); });
}

std::wstring Widen(std::string_view text) { return WidenFrom(text, CP_ACP); }
std::string Narrow(std::wstring_view text) { return NarrowTo(text, CP_ACP); }

std::string ToUtf8(std::string_view text) { return Recode(text, GetACP(), CP_UTF8); }

}  // namespace platform
