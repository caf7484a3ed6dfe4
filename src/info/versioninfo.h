#pragma once
// The version information of an executable file, read from its version resource.
#include <string>

namespace info {

struct VersionInfo {
    std::string CompanyName;
    std::string FileDescription;
    std::string FileVersion;
    std::string InternalName;
    std::string LegalCopyright;
    std::string LegalTrademarks;
    std::string OriginalFileName;
    std::string ProductName;
    std::string ProductVersion;
    std::string Comments;
    std::string PrivateBuild;
    std::string SpecialBuild;
};

// Reads the string values of the first translation of the file's version resource; a value
// the resource lacks stays empty. A file without version information or without a
// translation table raises std::runtime_error with the system's text for the last error.
VersionInfo ReadVersionInfo(const std::string& fileName);

// The system's text for an error code (trailing line end and blanks removed).
std::string SystemErrorText(unsigned long code);

}  // namespace info
