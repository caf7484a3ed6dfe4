#include "settings/settingsfile.h"
#include "platform/integers.h"

#include <windows.h>

#include <cstring>
#include <optional>
#include <stdexcept>

#include "platform/application.h"
#include "platform/codepage.h"
#include "platform/owned.h"
#include "platform/text.h"
#include "settings/datafolder.h"
#include "settings/environment.h"
#include "settings/rules.h"

namespace settings {

namespace {
// Handed to the profile service as the default so a missing key can be told from an empty
// one; the caller's default is then returned exactly as given.
constexpr char kMissing[] = "\x01quenby-missing\x01";

// The file's bytes; empty when it cannot be read (a missing file reads as empty too).
std::string FileBytes(const std::string& path) {
    platform::Handle f(CreateFileW(platform::Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return {};
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(f.get(), &size) || size.QuadPart > (64 << 20)) return {};
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!bytes.empty() && !ReadFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) return {};
    bytes.resize(got);
    return bytes;
}

// A file the legacy code page wrote, which the profile service of a UTF-8 process would read
// with every accented letter lost.
bool IsLegacyFile(const std::string& bytes) { return GetACP() == CP_UTF8 && !platform::IsValidUtf8(bytes); }

// Writes the whole text to a copy beside the file, which takes the file's place only once it
// is complete: a write that fails half-way (a full disk) leaves the file as it was.
bool ReplaceWhole(const std::string& path, const std::string& text) {
    const std::wstring file = platform::Widen(path), copy = platform::Widen(path + ".new");
    bool written = false;
    {
        platform::Handle f(
            CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD put = 0;
        written = f && WriteFile(f.get(), text.data(), static_cast<DWORD>(text.size()), &put, nullptr) &&
                  put == text.size() && FlushFileBuffers(f.get()) && f.Close();
    }
    if (written && MoveFileExW(copy.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(copy.c_str());
    return false;
}
}  // namespace

std::string DefaultSettingsPath() {
    return Env().settingsPath.empty() ? DataFolder() + "Quenby.ini" : Env().settingsPath;
}

SettingsFile::SettingsFile(std::string fullPath) : path_(std::move(fullPath)) {}

std::string SettingsFile::ReadText(const std::string& section, const std::string& key, const std::string& def) const {
    if (std::string bytes = FileBytes(path_); IsLegacyFile(bytes)) {
        std::optional<std::string> value = ProfileValue(platform::StoredTextByLine(bytes), section, key);
        if (!value) return def;
        if (value->size() > 2047) value->resize(2047);
        return platform::WithoutCutCharacter(std::move(*value));
    }
    char buf[2048];
    DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), kMissing, buf, sizeof buf, path_.c_str());
    std::string value(buf, strnlen(buf, n));
    // The cut at the buffer's end may fall inside a character.
    return value == kMissing ? def : platform::WithoutCutCharacter(std::move(value));
}

int32_t SettingsFile::ReadInteger(const std::string& section, const std::string& key, int32_t def) const {
    return platform::ParseInteger(ReadText(section, key, {})).value_or(def);
}

bool SettingsFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void SettingsFile::WriteText(const std::string& section, const std::string& key, const std::string& value) {
    std::string clean = StoredForm(value);
    // A legacy file becomes UTF-8 as a whole before the first write, so its other values stay.
    if (std::string bytes = FileBytes(path_); IsLegacyFile(bytes))
        if (!ReplaceWhole(path_, platform::StoredTextByLine(bytes)))
            throw std::runtime_error("Unable to write to " + path_);
    if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), clean.c_str(), path_.c_str()))
        throw std::runtime_error("Unable to write to " + path_);
}

void SettingsFile::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
    WriteText(section, key, std::to_string(value));
}

void SettingsFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteText(section, key, value ? "1" : "0");
}

std::string SettingsFile::ReadText(const KeyDef& key, const std::string& def) const {
    return ReadText(key.section, key.name, key.fixedDefault ? key.fixedDefault : def);
}

int32_t SettingsFile::ReadInteger(const KeyDef& key) const {
    return ReadInteger(key.section, key.name, IntegerDefault(key));
}

int32_t SettingsFile::ReadInteger(const KeyDef& key, int32_t def) const {
    return ReadInteger(key.section, key.name, def);
}

bool SettingsFile::ReadBool(const KeyDef& key) const {
    return ReadBool(key.section, key.name, IntegerDefault(key) != 0);
}

bool SettingsFile::ReadBool(const KeyDef& key, bool def) const { return ReadBool(key.section, key.name, def); }

}  // namespace settings
