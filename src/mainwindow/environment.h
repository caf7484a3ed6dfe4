#pragma once
// The main window's part of the environment (see platform/environment.h).

namespace mainwindow {

struct Environment {
    // The pause before a search starts, in milliseconds (tests shorten it).
    int searchStartPauseMs = 2000;
};

inline Environment& CurrentEnvironment() {
    static Environment env;
    return env;
}
inline const Environment& Env() { return CurrentEnvironment(); }
inline void SetEnvironment(Environment env) { CurrentEnvironment() = std::move(env); }

}  // namespace mainwindow
