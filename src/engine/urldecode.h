#pragma once
// URL decoding of the addresses the page scan finds. One pass, left to right: "+" becomes a
// space, "%%" one "%", "%" and two hex digits the byte of that value (no character-set
// conversion); any other "%" is an error that ends the search.
#include <stdexcept>
#include <string>
#include <string_view>

namespace engine {

class UrlDecodeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws UrlDecodeError naming the address (shortened) when an escape is malformed.
std::string UrlDecode(std::string_view text);

// An address as it goes into a request in a UTF-8 process: every byte of 0x80 or more, every
// control byte and the space percent-encoded (a decoded UTF-8 character as its bytes, a stray byte as itself),
// so the request line holds only ASCII. Other processes keep the address as it is.
std::string RequestForm(std::string_view url);

// The same pass without the error: false when an escape is malformed (out then undefined).
bool TryUrlDecode(std::string_view text, std::string& out);

}  // namespace engine
