#pragma once
// The new-version check: downloads the published version-description file, compares its
// version with the running executable's FileVersion and tells the user the outcome.
#include <string>

namespace info {

// Where the version-description file is published, tried in this order: the maker's own
// file, then the program's description file in a public software repository.
struct VersionSources {
    std::string own;
    std::string repository;
};

VersionSources DefaultVersionSources();

// The whole check, on the UI thread (the downloads block it). Shows the outcome, or the
// warning when neither source could be downloaded. A version text that is not a whole
// number raises std::runtime_error "'<text>' is not a valid integer value"; a running
// executable without version information raises ReadVersionInfo's error. Both are left to
// the application-wide error handler.
void CheckNewVersion();

}  // namespace info
