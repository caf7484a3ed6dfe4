#pragma once
// The settings file "Quenby.ini", read and written through the platform's profile-string
// service: every read sees the file as it is now, every write reaches it at once, and the
// other keys and sections stay as they are.
#include <cstdint>
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
    // Read as an integer: non-zero is true.
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;

    // Each throws std::runtime_error("Unable to write to <path>") when the write is refused.
    // CR and LF in a text become spaces, so a value always stays on its own line; a text with
    // blanks or quotes at its ends is written so that it reads back unchanged.
    void WriteText(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int32_t value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

    // The same through the key table; keys without a fixed default take the one given.
    std::string ReadText(const KeyDef& key, const std::string& def = {}) const;
    int32_t ReadInteger(const KeyDef& key) const;
    int32_t ReadInteger(const KeyDef& key, int32_t def) const;
    bool ReadBool(const KeyDef& key) const;
    bool ReadBool(const KeyDef& key, bool def) const;
    void WriteText(const KeyDef& key, const std::string& value) { WriteText(key.section, key.name, value); }
    void WriteInteger(const KeyDef& key, int32_t value) { WriteInteger(key.section, key.name, value); }
    void WriteBool(const KeyDef& key, bool value) { WriteBool(key.section, key.name, value); }

private:
    std::string path_;
};

}  // namespace settings
