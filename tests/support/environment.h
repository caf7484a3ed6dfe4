#pragma once
// The environment of a test program over every layer that has one: what a test answers in the
// system's place (message boxes, the shell, menus, modal forms, the folders, the version service,
// the search's pause). Installed with one call; a scope puts back what was there before.
#include "forms/environment.h"
#include "info/environment.h"
#include "mainwindow/environment.h"
#include "platform/environment.h"
#include "settings/environment.h"

namespace testsupport {

struct Environment {
    platform::Environment platform = platform::Env();
    forms::Environment forms = forms::Env();
    settings::Environment settings = settings::Env();
    info::Environment info = info::Env();
    mainwindow::Environment mainwindow = mainwindow::Env();
};

inline void Install(const Environment& env) {
    platform::SetEnvironment(env.platform);
    forms::SetEnvironment(env.forms);
    settings::SetEnvironment(env.settings);
    info::SetEnvironment(env.info);
    mainwindow::SetEnvironment(env.mainwindow);
}

// The environment in place when it was made, for a test to change and Install(); the one before
// comes back when the scope ends.
class EnvironmentScope : public Environment {
public:
    EnvironmentScope() = default;
    ~EnvironmentScope() { testsupport::Install(saved_); }
    EnvironmentScope(const EnvironmentScope&) = delete;
    EnvironmentScope& operator=(const EnvironmentScope&) = delete;

    void Install() const { testsupport::Install(*this); }

private:
    Environment saved_;
};

}  // namespace testsupport
