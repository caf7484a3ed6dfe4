#pragma once
// The settings' part of the environment (see platform/environment.h): an empty member is the
// program's own.
#include <string>

namespace settings {

struct Environment {
    // The full path of the main window's settings file; empty: "Quenby.ini" in DataFolder().
    std::string settingsPath;
};

inline Environment& CurrentEnvironment() {
    static Environment env;
    return env;
}
inline const Environment& Env() { return CurrentEnvironment(); }
inline void SetEnvironment(Environment env) { CurrentEnvironment() = std::move(env); }

}  // namespace settings
