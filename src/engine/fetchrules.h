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

// A service that is asked too fast answers 429 or 503.
inline bool ServiceBusy(long status) { return status == 429 || status == 503; }

// How long to wait before asking a busy service again, from its Retry-After header: a number
// of seconds or an HTTP date (`now` in seconds since 1970, UTC). Absent or unreadable: 5 s; a
// date already past: 0; never more than 60 s.
uint32_t RetryAfterMs(const std::string& value, int64_t now);

// The Zone.Identifier stream a browser gives a downloaded file: the Internet zone (3), the page
// that showed the image and the image's own address. Control characters in an address become
// "%XX", so neither can add a line or a key.
std::string ZoneIdentifierText(const std::string& imageUrl, const std::string& pageUrl);

}  // namespace engine
