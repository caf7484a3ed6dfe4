#pragma once
// The results page request through MSXML's XMLHTTPRequest, on a thread that has entered a
// single-threaded COM apartment.
#include <atomic>
#include <cstdint>
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

// What bounds the wait for one page.
struct PageBounds {
    const std::atomic<bool>* stop = nullptr;  // a stop request ends the wait; the page is empty
    uint32_t deadlineMs = 30000;              // from the request to the whole page
    size_t largestChars = 16u << 20;          // text past this is no results page
};

// What came back for one page request.
struct PageAnswer {
    std::wstring text;       // the body as 16-bit text, whatever the status; empty after a stop
    long status = 0;         // the HTTP status
    std::string retryAfter;  // the Retry-After header, "" when absent
};

// A page that took too long or grew too large: the search ends as for a failed request.
class PageRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// GETs the address with the program's three request headers and returns the body as 16-bit
// text, whatever the HTTP status, with the status and the Retry-After header. The request runs on a thread of its own,
// in its own single-threaded apartment, while the calling thread waits, pumping its messages every 100 ms: a stop
// request ends the wait with an empty page; the deadline or a page past its largest size throws PageRefused, and the
// request is given up. Throws ComError when the request object fails. Whatever ends the request, nothing of it is left
// in the internet cache.
PageAnswer FetchPage(const std::string& url, const PageBounds& bounds = {});

}  // namespace engine
