#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for the tests: it plays the search service and the
// image servers, over plain HTTP or over TLS. Each test registers the responses it wants; every
// request's request line and headers are recorded in order of arrival. Connections are closed
// after each response.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tls_channel.h"

namespace testsupport {

struct Request {
    std::string method;
    std::string target;  // path and query as sent
    std::string version;
    std::vector<std::pair<std::string, std::string>> headers;  // in the order sent

    std::string header(const std::string& name) const;  // first match, case ignored; "" if absent
    std::string path() const;                           // target without the query
};

struct Response {
    int status = 200;
    std::string reason = "OK";
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    bool send_length = true;           // send Content-Length
    int64_t announce_length = -1;      // Content-Length to announce instead of body.size()
    int delay_ms = 0;                  // wait before answering
    bool stall = false;                // accept, read the request, never answer (until stop)
    int body_delay_ms = 0;             // wait after the headers, before the body
    bool stall_after_headers = false;  // send the headers, then hold the connection
    bool endless_body = false;         // after the headers, send the body again and again until the client goes
    int drip_ms = 0;                   // send the body one byte at a time, this long apart
    int repeat_pause_ms = 0;           // with endless_body: the pause between two sendings
    bool hold_after_body = false;      // keep the connection open after the body (until stop)

    static Response text(std::string body, std::string type = "text/html");
    static Response file(std::string body, std::string type);
    static Response status_only(int status, std::string reason, std::string body = {});
    static Response redirect(const std::string& location, int status = 302);
};

// How an HTTPS server meets a client: with a proper handshake, by never answering one, or by
// answering with bytes that are no TLS at all.
enum class Handshake { Proper, Stall, Garbage };

// The certificates of the test authority, made for each build tree at build time and trusted
// only inside the test Wine prefixes: "server" (127.0.0.1), "expired", "wrongname" (another
// host) and "selfsigned" (not from the authority).
TlsIdentity TestIdentity(const std::string& name);

class HttpServer {
public:
    using Handler = std::function<Response(const Request&)>;

    // Listens on 127.0.0.1 at a free port; with an identity (or a faulty handshake) over TLS.
    explicit HttpServer(TlsIdentity tls = {}, Handshake handshake = Handshake::Proper);
    ~HttpServer();  // stops and joins every thread
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    int port() const { return port_; }
    std::string base() const;  // "http://127.0.0.1:PORT", or "https://..." over TLS
    std::string url(const std::string& path) const { return base() + path; }

    // Exact match on the path (query ignored) unless a handler for the whole target exists.
    void on(const std::string& path, Response r);
    void on(const std::string& path, Handler h);
    void fallback(Handler h);  // anything unmatched (default: 404)

    std::vector<Request> requests() const;
    std::vector<Request> requests_for(const std::string& path) const;
    size_t request_count() const;
    void clear_requests();
    void stop();

private:
    void accept_loop();
    void serve(intptr_t sock);
    Response respond(const Request& req);

    TlsIdentity tls_;
    Handshake handshake_;
    intptr_t listen_sock_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread acceptor_;
    mutable std::mutex mu_;
    std::condition_variable stop_cv_;
    std::vector<std::thread> workers_;
    std::vector<intptr_t> open_socks_;
    std::map<std::string, Handler> routes_;
    Handler fallback_;
    std::vector<Request> log_;
};

}  // namespace testsupport
