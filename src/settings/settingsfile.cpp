#include "settings/settingsfile.h"
#include "platform/integers.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <variant>

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

void SettingsFile::WriteText(const std::string& section, const std::string& key, const std::string& value) {
    std::string clean = StoredForm(value);
    // A legacy file becomes UTF-8 as a whole before the first write, so its other values stay.
    if (std::string bytes = FileBytes(path_); IsLegacyFile(bytes))
        if (!ReplaceWhole(path_, platform::StoredTextByLine(bytes)))
            throw std::runtime_error("Unable to write to " + path_);
    if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), clean.c_str(), path_.c_str()))
        throw std::runtime_error("Unable to write to " + path_);
}

void SettingsFile::Remove(const KeyDef& key) {
    if (!WritePrivateProfileStringA(key.section, key.name, nullptr, path_.c_str()))
        throw std::runtime_error("Unable to write to " + path_);
}

namespace {

// Each key the preferences hold, in the order a close writes them.
template <class F>
void ForEachHeldKey(F each) {
    for (const KeyDef* key : kClosingKeys) each(*key);
    for (const KeyDef& key : kFilterKeys) each(key);
    each(kMarket);
    for (const KeyDef* key : kCollectionKeys) each(*key);
}

// A key's value as the file holds it.
std::string StoredText(const Preferences& p, const Held& h) {
    if (auto* m = std::get_if<std::string Preferences::*>(&h)) return p.*(*m);
    if (auto* m = std::get_if<int32_t Preferences::*>(&h)) return std::to_string(p.*(*m));
    if (auto* m = std::get_if<bool Preferences::*>(&h)) return p.*(*m) ? "1" : "0";
    if (auto* g = std::get_if<FilterGroupIndex>(&h)) return StoredCode(*g, p.SearchFilters.value[size_t(*g)]);
    return std::holds_alternative<HeldMarket>(h) ? p.SearchFilters.market : std::string();
}

// A text the file holds for a key, taken into the preferences: an integer or a flag only when
// the text is an integer (a flag is set when it is not 0).
void Take(Preferences& p, const Held& h, const std::string& text) {
    std::optional<int32_t> n = platform::ParseInteger(text);
    if (auto* m = std::get_if<std::string Preferences::*>(&h)) p.*(*m) = text;
    if (auto* m = std::get_if<int32_t Preferences::*>(&h)) p.*(*m) = n.value_or(p.*(*m));
    if (auto* m = std::get_if<bool Preferences::*>(&h)) p.*(*m) = n ? *n != 0 : p.*(*m);
    if (auto* g = std::get_if<FilterGroupIndex>(&h)) p.SearchFilters.value[size_t(*g)] = ValueForCode(*g, text);
    if (std::holds_alternative<HeldMarket>(h)) p.SearchFilters.market = MarketFromStored(text);
}

}  // namespace

Preferences::Preferences() {
    ForEachHeldKey([this](const KeyDef& key) {
        if (key.fixedDefault) Take(*this, key.held, key.fixedDefault);
    });
}

Preferences LoadPreferences(const SettingsFile& file, Preferences defaults) {
    Preferences p = defaults;
    // A missing key reads as its default's own text, which gives the default back.
    ForEachHeldKey([&](const KeyDef& key) {
        Take(p, key.held, file.ReadText(key.section, key.name, StoredText(defaults, key.held)));
    });
    return p;
}

void SavePreferences(SettingsFile& file, const Preferences& p) {
    ForEachHeldKey([&](const KeyDef& key) {
        const std::string text = StoredText(p, key.held);
        const bool option = std::find(kCollectionKeys.begin(), kCollectionKeys.end(), &key) != kCollectionKeys.end();
        if (option && text == key.fixedDefault)
            file.Remove(key);
        else
            file.WriteText(key.section, key.name, text);
    });
}

}  // namespace settings
