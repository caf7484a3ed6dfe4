#include "info/versioninfo.h"
#include "platform/systemtext.h"

#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <vector>

namespace info {

std::string SystemErrorText(unsigned long code) {
    std::string text = platform::SystemText(code);
    return text.empty() ? "System error " + std::to_string(code) : text;
}

namespace {

[[noreturn]] void RaiseLastError() {
    DWORD code = GetLastError();
    if (code == 0) throw std::runtime_error("A call to an OS function failed");
    throw std::runtime_error(SystemErrorText(code));
}

bool Query(const std::vector<char>& data, const std::string& key, std::string& out) {
    char* value = nullptr;
    UINT len = 0;
    if (!VerQueryValueA(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &len) || !value) return false;
    std::string text(value, len);
    text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));  // len counts the NUL
    out = text;
    return true;
}

}  // namespace

VersionInfo ReadVersionInfo(const std::string& fileName) {
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(fileName.c_str(), &handle);
    if (size == 0) RaiseLastError();
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(fileName.c_str(), 0, size, data.data())) RaiseLastError();

    WORD* translation = nullptr;
    UINT len = 0;
    if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation\\", reinterpret_cast<void**>(&translation), &len))
        RaiseLastError();
    if (!translation || len < 4) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        RaiseLastError();
    }
    char lang[16];
    std::snprintf(lang, sizeof lang, "%.4x%.4x", translation[0], translation[1]);
    const std::string base = std::string("\\StringFileInfo\\") + lang + "\\";

    VersionInfo v;
    const std::pair<const char*, std::string*> keys[] = {
        {"CompanyName", &v.CompanyName},           {"FileDescription", &v.FileDescription},
        {"FileVersion", &v.FileVersion},           {"InternalName", &v.InternalName},
        {"LegalCopyright", &v.LegalCopyright},     {"LegalTrademarks", &v.LegalTrademarks},
        {"OriginalFileName", &v.OriginalFileName}, {"ProductName", &v.ProductName},
        {"ProductVersion", &v.ProductVersion},     {"Comments", &v.Comments},
        {"PrivateBuild", &v.PrivateBuild},         {"SpecialBuild", &v.SpecialBuild},
    };
    for (const auto& [name, field] : keys) Query(data, base + name, *field);
    // Resource compilers write this key as "OriginalFilename"; look for that spelling too in
    // case a platform compares key names exactly.
    if (v.OriginalFileName.empty()) Query(data, base + "OriginalFilename", v.OriginalFileName);
    return v;
}

}  // namespace info
