#pragma once
// The info windows' part of the environment (see platform/environment.h).
#include "info/versioncheck.h"

namespace info {

struct Environment {
    // Where the version check looks (tests aim it at the local test service); a record with
    // both addresses empty: DefaultVersionSources().
    VersionSources versionSources;
};

inline Environment& CurrentEnvironment() {
    static Environment env;
    return env;
}
inline const Environment& Env() { return CurrentEnvironment(); }
inline void SetEnvironment(Environment env) { CurrentEnvironment() = std::move(env); }

}  // namespace info
