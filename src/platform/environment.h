#pragma once
// What the program takes from its surroundings that a test program gives instead. Every layer
// that has such a need keeps its own environment; an empty member means the system's own, which
// is what the program runs with. Tests install theirs all at once (tests/support/environment.h).
#include <string>

namespace platform {

struct Environment {
    // The folder ExeFolder names (ending in "\"), so that test programs running at once never
    // share a settings file or saved searches; empty: the executable's own folder.
    std::string exeFolder;
};

inline Environment& CurrentEnvironment() {
    static Environment env;
    return env;
}
inline const Environment& Env() { return CurrentEnvironment(); }
inline void SetEnvironment(Environment env) { CurrentEnvironment() = std::move(env); }

}  // namespace platform
