#include "settings/settingsfile.h"
#include "platform/integers.h"

#include <windows.h>

#include <stdexcept>

#include "platform/application.h"
#include "settings/rules.h"

namespace settings {

namespace {
// Handed to the profile service as the default so a missing key can be told from an empty
// one; the caller's default is then returned exactly as given.
constexpr char kMissing[] = "\x01quenby-missing\x01";

std::string& PathForTests() {
    static std::string path;
    return path;
}
}  // namespace

std::string DefaultSettingsPath() {
    return PathForTests().empty() ? platform::ExeFolder() + "Quenby.ini" : PathForTests();
}

void SetSettingsPath(std::string fullPath) { PathForTests() = std::move(fullPath); }

SettingsFile::SettingsFile(std::string fullPath) : path_(std::move(fullPath)) {}

std::string SettingsFile::ReadText(const std::string& section, const std::string& key, const std::string& def) const {
    char buf[2048];
    DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), kMissing, buf, sizeof buf, path_.c_str());
    std::string value(buf, n);
    return value == kMissing ? def : value;
}

int32_t SettingsFile::ReadInteger(const std::string& section, const std::string& key, int32_t def) const {
    return platform::ParseInteger(ReadText(section, key, {})).value_or(def);
}

bool SettingsFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void SettingsFile::WriteText(const std::string& section, const std::string& key, const std::string& value) {
    std::string clean = StoredForm(value);
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
