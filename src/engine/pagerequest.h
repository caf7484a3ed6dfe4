#pragma once
// The results page request through MSXML's XMLHTTPRequest, on a thread that has entered a
// single-threaded COM apartment.
#include <stdexcept>
#include <string>

namespace engine {

// A failed COM call: its result code and the system's text for it.
class ComError : public std::runtime_error {
public:
    ComError(long hr, const std::string& text) : std::runtime_error(text), hr_(hr) {}
    long code() const { return hr_; }

private:
    long hr_;
};

// GETs the address synchronously with the program's three request headers and returns the
// body as 16-bit text, whatever the HTTP status. Throws ComError when the request object fails.
std::wstring FetchPage(const std::string& url);

}  // namespace engine
