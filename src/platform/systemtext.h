#pragma once
// The system's text for an error code, without the line break it ends with.
#include <string>

namespace platform {

// Empty when the system has no text for the code.
std::string SystemText(unsigned long code);

}  // namespace platform
