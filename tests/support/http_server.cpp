#include "http_server.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <stdexcept>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
using socklen_t = int;
static void close_socket(intptr_t s) { closesocket(static_cast<SOCKET>(s)); }
static void shutdown_socket(intptr_t s) { shutdown(static_cast<SOCKET>(s), SD_BOTH); }
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
static void close_socket(intptr_t s) { ::close(static_cast<int>(s)); }
static void shutdown_socket(intptr_t s) { ::shutdown(static_cast<int>(s), SHUT_RDWR); }
#endif

namespace testsupport {

namespace {

std::string lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

#ifdef MSG_NOSIGNAL
constexpr int kSendFlags = MSG_NOSIGNAL;  // a client that went away is not a signal
#else
constexpr int kSendFlags = 0;
#endif

bool send_all(intptr_t s, const char* data, size_t len) {
    while (len > 0) {
        int n = ::send(s, data, static_cast<int>(std::min<size_t>(len, 1 << 16)), kSendFlags);
        if (n <= 0) return false;
        data += n;
        len -= static_cast<size_t>(n);
    }
    return true;
}

#ifdef _WIN32
struct WinsockInit {
    WinsockInit() {
        WSADATA d;
        WSAStartup(MAKEWORD(2, 2), &d);
    }
};
#endif

}  // namespace

std::string Request::header(const std::string& name) const {
    auto want = lower(name);
    for (auto& [k, v] : headers)
        if (lower(k) == want) return v;
    return {};
}

std::string Request::path() const { return target.substr(0, target.find('?')); }

Response Response::text(std::string body, std::string type) {
    Response r;
    r.body = std::move(body);
    r.headers.push_back({"Content-Type", std::move(type)});
    return r;
}

Response Response::file(std::string body, std::string type) { return text(std::move(body), std::move(type)); }

Response Response::status_only(int status, std::string reason, std::string body) {
    Response r;
    r.status = status;
    r.reason = std::move(reason);
    r.body = std::move(body);
    r.headers.push_back({"Content-Type", "text/html"});
    return r;
}

Response Response::redirect(const std::string& location, int status) {
    Response r;
    r.status = status;
    r.reason = "Found";
    r.headers.push_back({"Location", location});
    return r;
}

TlsIdentity TestIdentity(const std::string& name) {
#ifdef QUENBY_TEST_CA
    return LoadTlsIdentity(QUENBY_TEST_CA, name);
#else
    throw std::runtime_error("test service: no test certificate authority in this build (" + name + ")");
#endif
}

HttpServer::HttpServer(TlsIdentity tls, Handshake handshake) : tls_(std::move(tls)), handshake_(handshake) {
#ifdef _WIN32
    static WinsockInit winsock;
#endif
    auto s = ::socket(AF_INET, SOCK_STREAM, 0);
    listen_sock_ = static_cast<intptr_t>(s);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    if (::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(s, 64) != 0)
        throw std::runtime_error("test server: cannot listen on 127.0.0.1");
    socklen_t len = sizeof addr;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    fallback_ = [](const Request&) { return Response::status_only(404, "Not Found", "<html>not found</html>"); };
    acceptor_ = std::thread([this] { accept_loop(); });
}

HttpServer::~HttpServer() { stop(); }

std::string HttpServer::base() const {
    const bool https = !tls_.empty() || handshake_ != Handshake::Proper;
    return (https ? "https://127.0.0.1:" : "http://127.0.0.1:") + std::to_string(port_);
}

void HttpServer::on(const std::string& path, Response r) {
    on(path, Handler([r](const Request&) { return r; }));
}

void HttpServer::on(const std::string& path, Handler h) {
    std::lock_guard<std::mutex> lock(mu_);
    routes_[path] = std::move(h);
}

void HttpServer::fallback(Handler h) {
    std::lock_guard<std::mutex> lock(mu_);
    fallback_ = std::move(h);
}

std::vector<Request> HttpServer::requests() const {
    std::lock_guard<std::mutex> lock(mu_);
    return log_;
}

std::vector<Request> HttpServer::requests_for(const std::string& path) const {
    std::vector<Request> out;
    for (auto& r : requests())
        if (r.path() == path) out.push_back(r);
    return out;
}

size_t HttpServer::request_count() const {
    std::lock_guard<std::mutex> lock(mu_);
    return log_.size();
}

void HttpServer::clear_requests() {
    std::lock_guard<std::mutex> lock(mu_);
    log_.clear();
}

void HttpServer::stop() {
    if (stopping_.exchange(true)) return;
    shutdown_socket(listen_sock_);
    close_socket(listen_sock_);
    {
        std::lock_guard<std::mutex> lock(mu_);
        for (auto s : open_socks_) shutdown_socket(s);
    }
    stop_cv_.notify_all();
    if (acceptor_.joinable()) acceptor_.join();
    std::vector<std::thread> workers;
    {
        std::lock_guard<std::mutex> lock(mu_);
        workers.swap(workers_);
    }
    for (auto& t : workers) t.join();
}

void HttpServer::accept_loop() {
    while (!stopping_) {
        auto c = ::accept(listen_sock_, nullptr, nullptr);
        if (stopping_) {
            if (static_cast<intptr_t>(c) >= 0) close_socket(static_cast<intptr_t>(c));
            break;
        }
#ifdef _WIN32
        if (c == INVALID_SOCKET) continue;
#else
        if (c < 0) continue;
#endif
        auto sock = static_cast<intptr_t>(c);
        std::lock_guard<std::mutex> lock(mu_);
        open_socks_.push_back(sock);
        workers_.emplace_back([this, sock] { serve(sock); });
    }
}

Response HttpServer::respond(const Request& req) {
    Handler h;
    {
        std::lock_guard<std::mutex> lock(mu_);
        log_.push_back(req);
        auto it = routes_.find(req.target);
        if (it == routes_.end()) it = routes_.find(req.path());
        h = it != routes_.end() ? it->second : fallback_;
    }
    return h(req);
}

void HttpServer::serve(intptr_t sock) {
    auto wait = [this](int ms) {
        std::unique_lock<std::mutex> lock(mu_);
        stop_cv_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stopping_.load(); });
    };
    std::unique_ptr<TlsChannel> tls;
    if (handshake_ == Handshake::Stall) {
        wait(60000);
    } else if (handshake_ == Handshake::Garbage) {
        const char junk[] = "\x15garbage where a TLS handshake belongs\r\n\r\n";
        send_all(sock, junk, sizeof junk - 1);
        wait(1000);
    } else if (!tls_.empty()) {
        tls = std::make_unique<TlsChannel>(sock, tls_);
    }
    const bool proceed = handshake_ == Handshake::Proper && (!tls || tls->ready());
    auto receive = [&](char* b, int len) {
        return tls ? tls->recv(b, len) : static_cast<int>(::recv(sock, b, len, 0));
    };
    auto send = [&](const char* d, size_t len) { return tls ? tls->send_all(d, len) : send_all(sock, d, len); };
    std::string in;
    char buf[4096];
    size_t end = std::string::npos;
    while (proceed && (end = in.find("\r\n\r\n")) == std::string::npos && in.size() < (1 << 20)) {
        int n = receive(buf, sizeof buf);
        if (n <= 0) break;
        in.append(buf, static_cast<size_t>(n));
    }
    if (end != std::string::npos) {
        Request req;
        size_t pos = in.find("\r\n");
        std::string line = in.substr(0, pos);
        size_t a = line.find(' '), b = line.rfind(' ');
        if (a != std::string::npos && b > a) {
            req.method = line.substr(0, a);
            req.target = line.substr(a + 1, b - a - 1);
            req.version = line.substr(b + 1);
        }
        pos += 2;
        while (pos < end) {
            size_t e = in.find("\r\n", pos);
            std::string h = in.substr(pos, e - pos);
            size_t colon = h.find(':');
            if (colon != std::string::npos) {
                size_t v = h.find_first_not_of(' ', colon + 1);
                req.headers.push_back({h.substr(0, colon), v == std::string::npos ? "" : h.substr(v)});
            }
            pos = e + 2;
        }
        Response r = respond(req);
        if (r.delay_ms) wait(r.delay_ms);
        if (r.stall) {
            wait(60000);
        } else if (!stopping_) {
            std::string head = "HTTP/1.1 " + std::to_string(r.status) + " " + r.reason + "\r\n";
            for (auto& [k, v] : r.headers) head += k + ": " + v + "\r\n";
            if (r.send_length)
                head +=
                    "Content-Length: " +
                    std::to_string(r.announce_length >= 0 ? r.announce_length : static_cast<int64_t>(r.body.size())) +
                    "\r\n";
            head += "Connection: close\r\n\r\n";
            bool ok = send(head.data(), head.size());
            if (ok && r.stall_after_headers) {
                wait(60000);
            } else if (ok && req.method != "HEAD") {
                if (r.body_delay_ms) wait(r.body_delay_ms);
                if (r.drip_ms) {
                    for (size_t i = 0; ok && i < r.body.size() && !stopping_; i++) {
                        ok = send(r.body.data() + i, 1);
                        wait(r.drip_ms);
                    }
                } else {
                    do {
                        ok = send(r.body.data(), r.body.size());
                        if (ok && r.endless_body && r.repeat_pause_ms) wait(r.repeat_pause_ms);
                    } while (ok && r.endless_body && !r.body.empty() && !stopping_);
                }
                if (ok && r.hold_after_body) wait(60000);
            }
        }
    }
    tls.reset();  // its closing alert goes out before the socket is shut
    shutdown_socket(sock);
    {
        std::lock_guard<std::mutex> lock(mu_);
        open_socks_.erase(std::remove(open_socks_.begin(), open_socks_.end(), sock), open_socks_.end());
    }
    close_socket(sock);
}

}  // namespace testsupport
