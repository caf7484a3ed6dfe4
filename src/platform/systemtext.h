#pragma once
// The system's text for an error code, without the line break it ends with.
#include <string>

namespace platform {

// Empty when the system has no text for the code.
std::string SystemText(unsigned long code);

// The same text to stand inside a sentence: without its full stop, and "System error N" when the
// system has none.
std::string SystemReason(unsigned long code);

}  // namespace platform
