#pragma once
// The settings file "Quenby.ini", read and written through the platform's profile-string
// service: every read sees the file as it is now, every write reaches it at once, and the
// other keys and sections stay as they are.
#include <cstdint>
#include <optional>
#include <string>

#include "settings/settingskeys.h"

namespace settings {

// The settings file beside the executable, or the environment's (settings/environment.h).
std::string DefaultSettingsPath();

class SettingsFile {
public:
    explicit SettingsFile(std::string fullPath);

    const std::string& Path() const { return path_; }

    // A missing file, section or key gives the default. Values are cut to 2047 characters.
    std::string ReadText(const std::string& section, const std::string& key, const std::string& def) const;
    // Decimal or "0x" hexadecimal; anything that is no integer gives the default.
    int32_t ReadInteger(const std::string& section, const std::string& key, int32_t def) const;
    // Throws std::runtime_error("Unable to write to <path>") when the write is refused. CR and
    // LF in a text become spaces, so a value always stays on its own line; a text with blanks
    // or quotes at its ends is written so that it reads back unchanged.
    void WriteText(const std::string& section, const std::string& key, const std::string& value);

    // The same through the key table; keys without a fixed default take the one given. A flag
    // is read as an integer, non-zero being true, and written as 1 or 0.
    std::string ReadText(const KeyDef& key, const std::string& def = {}) const {
        return ReadText(key.section, key.name, key.fixedDefault ? key.fixedDefault : def);
    }
    int32_t ReadInteger(const KeyDef& key, std::optional<int32_t> def = {}) const {
        return ReadInteger(key.section, key.name, def.value_or(IntegerDefault(key)));
    }
    bool ReadBool(const KeyDef& key, std::optional<bool> def = {}) const {
        return ReadInteger(key.section, key.name, def.value_or(IntegerDefault(key) != 0) ? 1 : 0) != 0;
    }
    void WriteText(const KeyDef& key, const std::string& value) { WriteText(key.section, key.name, value); }
    // Throws as WriteText does.
    void Remove(const KeyDef& key);
    void WriteInteger(const KeyDef& key, int32_t value) { WriteText(key, std::to_string(value)); }
    void WriteBool(const KeyDef& key, bool value) { WriteText(key, value ? "1" : "0"); }

private:
    std::string path_;
};

// The preferences read from the file: a missing key, or an integer or flag that is none, keeps
// its value in `defaults`; an unknown filter code is no filter, a market no tag the default.
Preferences LoadPreferences(const SettingsFile& file, Preferences defaults = {});
// Writes every key of the preferences in the table's order, up to a refused write (it throws);
// an option key only when it is set.
void SavePreferences(SettingsFile& file, const Preferences& p);

}  // namespace settings
