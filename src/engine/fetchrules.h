#pragma once
// The fetcher's decisions that need no network: reading the announced length and testing it
// against the size limits; the mark of a file's origin.
#include <cstdint>
#include <string>

namespace engine {

// The Content-Length header's text as an unsigned 64-bit number of bytes. Leading blanks are
// skipped and the digits up to the first non-digit are read; no digits give 0 (as if the
// header were missing). A number too large for 64 bits gives UINT64_MAX, so it is refused.
uint64_t ParseContentLength(const std::string& text);

// Both bounds inclusive; a negative bound admits nothing above it and everything below it.
bool WithinSizeLimits(uint64_t length, int32_t minSize, int32_t maxSize);

// The Zone.Identifier stream a browser gives a downloaded file: the Internet zone (3), the page
// that showed the image and the image's own address. Control characters in an address become
// "%XX", so neither can add a line or a key.
std::string ZoneIdentifierText(const std::string& imageUrl, const std::string& pageUrl);

}  // namespace engine
