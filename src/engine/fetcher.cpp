#include "engine/fetcher.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "engine/fetchrules.h"
#include "engine/phasetimes.h"
#include "platform/text.h"
#include "platform/systemtext.h"
#include "platform/pump.h"
#include "platform/owned.h"

namespace engine {

namespace {

constexpr DWORD kTimeoutMs = 4000;
constexpr DWORD kBlock = 1024;
constexpr ULONGLONG kPumpEveryMs = 10;

std::string LastErrorText() {
    DWORD err = GetLastError();
    std::string text = platform::SystemText(err);
    return text.empty() ? "Error " + std::to_string(err) : text;
}

// All seven time-outs. The control options share their numbers with the plain receive and
// send options, so those two are simply set twice.
void SetTimeouts(HINTERNET h) {
    static const DWORD kOptions[] = {INTERNET_OPTION_CONNECT_TIMEOUT,      INTERNET_OPTION_RECEIVE_TIMEOUT,
                                     INTERNET_OPTION_SEND_TIMEOUT,         INTERNET_OPTION_CONTROL_RECEIVE_TIMEOUT,
                                     INTERNET_OPTION_CONTROL_SEND_TIMEOUT, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT,
                                     INTERNET_OPTION_DATA_SEND_TIMEOUT};
    for (DWORD option : kOptions) {
        DWORD value = kTimeoutMs;
        InternetSetOptionA(h, option, &value, sizeof value);
    }
}

// The pieces of the address that a connection and a request need.
struct Target {
    std::string host, user, password, object;
    INTERNET_PORT port = 0;
    bool secure = false;
};

bool Crack(const std::string& url, Target& t) {
    URL_COMPONENTSA c{};
    c.dwStructSize = sizeof c;
    c.dwHostNameLength = c.dwUserNameLength = c.dwPasswordLength = c.dwUrlPathLength = c.dwExtraInfoLength = 1;
    if (!InternetCrackUrlA(url.c_str(), static_cast<DWORD>(url.size()), 0, &c)) return false;
    if (c.nScheme != INTERNET_SCHEME_HTTP && c.nScheme != INTERNET_SCHEME_HTTPS) return false;
    auto piece = [](const char* p, DWORD n) { return p ? std::string(p, n) : std::string(); };
    t.host = piece(c.lpszHostName, c.dwHostNameLength);
    t.user = piece(c.lpszUserName, c.dwUserNameLength);
    t.password = piece(c.lpszPassword, c.dwPasswordLength);
    t.object = piece(c.lpszUrlPath, c.dwUrlPathLength) + piece(c.lpszExtraInfo, c.dwExtraInfoLength);
    if (t.object.empty()) t.object = "/";
    t.secure = c.nScheme == INTERNET_SCHEME_HTTPS;
    t.port = c.nPort ? c.nPort : (t.secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT);
    return !t.host.empty();
}

// One header of the response as text. `tooLong` when it does not fit the buffer: a header
// that long is no size or status the fetcher could accept.
struct HeaderText {
    bool present = false;
    bool tooLong = false;
    std::string text;
};

HeaderText QueryText(HINTERNET request, DWORD what) {
    char buf[64] = {};
    DWORD len = sizeof buf - 1;  // room for the terminator whatever the platform writes
    DWORD index = 0;
    HeaderText h;
    if (!HttpQueryInfoA(request, what, buf, &len, &index)) {
        h.present = h.tooLong = GetLastError() == ERROR_INSUFFICIENT_BUFFER;
        return h;
    }
    h.present = true;
    h.text.assign(buf, strnlen(buf, std::min<size_t>(len, sizeof buf - 1)));
    return h;
}

// No header counts as 0; one too long to read is larger than any limit.
uint64_t AnnouncedLength(HINTERNET request) {
    HeaderText h = QueryText(request, HTTP_QUERY_CONTENT_LENGTH);
    if (h.tooLong) return UINT64_MAX;
    return h.present ? ParseContentLength(h.text) : 0;
}

bool IsRedirect(const HeaderText& status) {
    return status.present && !status.tooLong &&
           (status.text == "301" || status.text == "302" || status.text == "303" || status.text == "307" ||
            status.text == "308");
}

// The address a redirect names, made absolute against the address that answered; empty when
// there is none or it is longer than any address the fetcher follows.
std::string RedirectTarget(HINTERNET request, const std::string& from) {
    constexpr DWORD kLongest = 8192;
    std::string location(kLongest, '\0');
    DWORD len = kLongest - 1, index = 0;
    if (!HttpQueryInfoA(request, HTTP_QUERY_LOCATION, location.data(), &len, &index)) return {};
    location.resize(strnlen(location.data(), std::min<DWORD>(len, kLongest - 1)));
    if (location.empty()) return {};
    std::string combined(kLongest, '\0');
    DWORD size = kLongest - 1;
    if (!InternetCombineUrlA(from.c_str(), location.c_str(), combined.data(), &size, 0)) return {};
    combined.resize(strnlen(combined.data(), std::min<DWORD>(size, kLongest - 1)));
    return combined;
}

// One request of the chain: its own connection on the download's session. The session goes
// last, after the request and its connection.
struct Exchange {
    platform::InetHandle session, connection, request;
    std::string host;     // that answered, in lower case
    DWORD sendError = 0;  // why the last send failed, when it ended before the bounds did
};

// Sends on a thread of its own, so that a send that waits past the download's bounds can be
// left behind: Wine applies no time-out to a TLS handshake, nor does closing the request end
// one, and a server that stalled in it would hold the download until it closed. A send left
// behind keeps the exchange's handles until its call returns.
bool SendBounded(const std::shared_ptr<Exchange>& x, std::string headers, const std::function<bool()>& givenUp) {
    struct Call {
        std::mutex lock;
        std::condition_variable ended;
        bool done = false, sent = false;
    };
    auto call = std::make_shared<Call>();
    try {
        std::thread([x, call, headers = std::move(headers)] {
            const bool sent = HttpSendRequestA(x->request.get(), headers.empty() ? nullptr : headers.c_str(),
                                               static_cast<DWORD>(headers.size()), nullptr, 0) != FALSE;
            const DWORD error = sent ? 0 : GetLastError();
            std::lock_guard<std::mutex> hold(call->lock);
            x->sendError = error;
            call->done = true;
            call->sent = sent;
            call->ended.notify_one();
        }).detach();
    } catch (const std::system_error&) {
        return false;  // no thread to be had: the image is refused like any that does not start
    }
    std::unique_lock<std::mutex> hold(call->lock);
    while (!call->ended.wait_for(hold, std::chrono::milliseconds(50), [&] { return call->done; }))
        if (givenUp()) return false;
    return call->sent;
}

// The cookies one download's redirects set, each for the host that set it, sent back on the
// later hops to that host as a browser would, and kept nowhere else. The system's cookie store
// is left out: an image's download has no business with the user's cookies, and Wine reads and
// writes that store on every request (1.5 of the 2.3 ms a request to 127.0.0.1 took).
class ChainCookies {
public:
    void Take(HINTERNET request, const std::string& host) {
        for (DWORD index = 0; cookies_.size() < kMost;) {
            char buf[4096] = {};
            DWORD len = sizeof buf - 1, at = index;
            if (!HttpQueryInfoA(request, HTTP_QUERY_SET_COOKIE, buf, &len, &at)) break;
            std::string pair(buf, strnlen(buf, std::min<size_t>(len, sizeof buf - 1)));
            pair = pair.substr(0, pair.find(';'));
            pair.erase(0, pair.find_first_not_of(' '));
            const size_t eq = pair.find('=');
            const bool plain = std::none_of(pair.begin(), pair.end(), [](char c) { return c >= 0 && c < 32; });
            if (eq != std::string::npos && eq > 0 && plain) {
                std::erase_if(cookies_, [&](const auto& c) {
                    return c.first == host && c.second.compare(0, eq + 1, pair, 0, eq + 1) == 0;
                });
                cookies_.emplace_back(host, pair);
            }
            if (at <= index) break;  // the platform names the next index; never the same one twice
            index = at;
        }
    }
    // "Cookie: ..." with its line end, or nothing.
    std::string HeaderFor(const std::string& host) const {
        std::string values;
        for (const auto& [from, pair] : cookies_)
            if (from == host) values += (values.empty() ? "" : "; ") + pair;
        return values.empty() ? std::string() : "Cookie: " + values + "\r\n";
    }

private:
    static constexpr size_t kMost = 50;
    std::vector<std::pair<std::string, std::string>> cookies_;
};

bool Send(const std::string& url, const ChainCookies& cookies, const std::shared_ptr<Exchange>& shared,
          const std::function<bool()>& givenUp) {
    Exchange& x = *shared;
    // The last hop's handles go first, the request before its connection: Wine fails a third
    // request on the session while earlier ones are left open.
    x.request.Reset();
    x.connection.Reset();
    Target target;
    if (!Crack(url, target)) return false;
    x.host = platform::AsciiLowerCase(target.host);
    // The request is opened in steps (connection, then request) rather than by address in one
    // call: Wine keeps only the connect time-out of a session handle, so the others are set on
    // the request handle as well, where both Windows and Wine apply them.
    x.connection.Reset(InternetConnectA(
        x.session.get(), target.host.c_str(), target.port, target.user.empty() ? nullptr : target.user.c_str(),
        target.password.empty() ? nullptr : target.password.c_str(), INTERNET_SERVICE_HTTP, 0, 0));
    if (!x.connection) return false;
    SetTimeouts(x.connection.get());
    // Redirects are followed below, where they can be counted (Wine's WinInet follows a loop
    // for ever). The cache is neither read nor written: every body goes to its file only, and
    // a refused one nowhere.
    const DWORD flags = INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RELOAD |
                        INTERNET_FLAG_NO_COOKIES | (target.secure ? INTERNET_FLAG_SECURE : 0);
    static const char* kAccept[] = {"*/*", nullptr};
    x.request.Reset(
        HttpOpenRequestA(x.connection.get(), "GET", target.object.c_str(), nullptr, nullptr, kAccept, flags, 0));
    if (!x.request) return false;
    SetTimeouts(x.request.get());
    return SendBounded(shared, cookies.HeaderFor(x.host), givenUp);
}

}  // namespace

bool DownloadToFile(const std::string& url, const std::string& path, int32_t minSize, int32_t maxSize,
                    const std::string& agent, const DownloadBounds& bounds, bool* whole) {
    if (whole) *whole = false;
    const ULONGLONG start = GetTickCount64();
    // A stall: less than stallBytes since `moved`, the last time that many had arrived. Waiting
    // for the response counts as well.
    ULONGLONG moved = start;
    uint64_t movedTotal = 0;
    const std::function<bool()> givenUp = [&] {
        const ULONGLONG now = GetTickCount64();
        return (bounds.stop && bounds.stop->load()) || now - start >= bounds.deadlineMs ||
               now - moved >= bounds.stallMs;
    };

    PhaseTimer setup(Phase::Setup);
    auto shared = std::make_shared<Exchange>();
    Exchange& x = *shared;
    x.session.Reset(InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!x.session) return false;
    SetTimeouts(x.session.get());

    ChainCookies cookies;
    HeaderText status;
    std::string address = url;
    for (int hop = 0;; hop++) {
        if (!Send(address, cookies, shared, givenUp) || givenUp()) return false;
        status = QueryText(x.request.get(), HTTP_QUERY_STATUS_CODE);
        if (!IsRedirect(status)) break;
        if (hop == kMaxRedirects) return false;  // a loop, or a chain too long to be one
        cookies.Take(x.request.get(), x.host);
        address = RedirectTarget(x.request.get(), address);
        if (address.empty()) return false;
    }
    const uint64_t announced = AnnouncedLength(x.request.get());
    if (!WithinSizeLimits(announced, minSize, maxSize)) return false;
    if (!status.present || status.tooLong || status.text != "200") return false;
    setup.Stop();

    using Clock = std::chrono::steady_clock;
    const Clock::time_point created = Clock::now();
    platform::Handle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw std::runtime_error("Cannot create file \"" + path + "\". " + LastErrorText());
    auto abandon = [&] {
        file.Close();
        DeleteFileA(path.c_str());
        return false;
    };

    const Clock::time_point reading = Clock::now();
    Clock::duration writing = reading - created;  // the file's creation, its writes and its close
    char buffer[kBlock];
    uint64_t total = 0;
    DWORD available = 0;
    ULONGLONG pumped = 0;
    bool failed = false;  // a read failed: the body was cut short
    for (;;) {
        if (givenUp()) return abandon();
        // Asking what has arrived first means a read never waits for more than that: when the
        // connection then stalls or drops, the bytes already here are in the file. What is
        // known to be here is read before asking again.
        if (available == 0) {
            if (!InternetQueryDataAvailable(x.request.get(), &available, 0, 0)) failed = true;
            if (failed || available == 0) break;
        }
        std::memset(buffer, 0, sizeof buffer);
        DWORD got = 0;
        BOOL read = InternetReadFile(x.request.get(), buffer, std::min(available, kBlock), &got);
        if (got > sizeof buffer) got = 0;
        available = read && got <= available ? available - got : 0;
        const Clock::time_point write = Clock::now();
        DWORD written = 0;
        if (got && (!WriteFile(file.get(), buffer, got, &written, nullptr) || written != got))
            throw std::runtime_error("Stream write error");
        writing += Clock::now() - write;
        total += got;
        if (total - movedTotal >= bounds.stallBytes) {
            movedTotal = total;
            moved = GetTickCount64();
        }
        // Without an announced length only the bytes themselves show that a body runs past the
        // largest size (an endless body would otherwise fill the disk).
        if (total > static_cast<uint64_t>(maxSize < 0 ? 0 : maxSize)) return abandon();
        // The queue is served after the first block and then every 10 ms: looking at it costs
        // more than a block of a fast transfer.
        const ULONGLONG now = GetTickCount64();
        if (pumped == 0 || now - pumped >= kPumpEveryMs) {
            platform::PumpThreadMessages();
            pumped = now;
        }
        if (!read || got == 0) {
            failed = !read;
            break;
        }
    }
    platform::PumpThreadMessages();
    const Clock::time_point closing = Clock::now();
    PhaseTimes::Add(Phase::Transfer, closing - reading - (writing - (reading - created)));
    file.Close();
    PhaseTimes::Add(Phase::Writes, writing + (Clock::now() - closing));
    if (whole) *whole = !failed && (announced == 0 || announced == total);
    return true;
}

std::string SecureConnectionFault(const std::string& url, const std::string& agent, uint32_t withinMs,
                                  const std::atomic<bool>* stop) {
    const ULONGLONG start = GetTickCount64();
    const std::function<bool()> givenUp = [&] {
        return (stop && stop->load()) || GetTickCount64() - start >= withinMs;
    };
    auto shared = std::make_shared<Exchange>();
    shared->session.Reset(InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!shared->session || url.compare(0, 8, "https://") != 0) return {};
    SetTimeouts(shared->session.get());
    if (Send(url, ChainCookies(), shared, givenUp) || givenUp()) return {};
    switch (shared->sendError) {
    case ERROR_INTERNET_SEC_CERT_DATE_INVALID: return "its certificate has expired or is not yet valid";
    case ERROR_INTERNET_SEC_CERT_CN_INVALID: return "its certificate is for another host name";
    case ERROR_INTERNET_INVALID_CA: return "its certificate is not from a trusted authority";
    case ERROR_INTERNET_SEC_CERT_ERRORS:
    case ERROR_INTERNET_SEC_INVALID_CERT:
    case ERROR_INTERNET_SEC_CERT_REVOKED:
    case ERROR_INTERNET_SEC_CERT_REV_FAILED: return "its certificate is not valid";
    case ERROR_INTERNET_SECURITY_CHANNEL_ERROR: return "no secure connection could be made";
    default: return {};
    }
}

bool FolderKeepsStreams(const std::string& folder) {
    // Asked of the folder itself rather than of its drive's root: Wine cannot open the device
    // of a drive mapped to a Unix folder, and says so on stderr each time.
    platform::Handle dir(CreateFileA(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    DWORD flags = 0;
    return dir && GetVolumeInformationByHandleW(dir.get(), nullptr, 0, nullptr, nullptr, &flags, nullptr, 0) &&
           (flags & FILE_NAMED_STREAMS) != 0;
}

void MarkFromInternet(const std::string& path, const std::string& imageUrl, const std::string& pageUrl) {
    const std::string text = ZoneIdentifierText(imageUrl, pageUrl);
    platform::Handle stream(CreateFileA((path + ":Zone.Identifier").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (stream) WriteFile(stream.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace engine
