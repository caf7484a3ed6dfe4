#pragma once
// The server's side of one TLS connection of the test service (mbed TLS), over a socket that
// is already accepted. Each connection parses its own certificate and key and seeds its own
// generator, so connections on different threads share nothing.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace testsupport {

// A certificate chain and its key, as PEM text.
struct TlsIdentity {
    std::string certPem;
    std::string keyPem;
    bool empty() const { return certPem.empty(); }
};

// The identity NAME of the test certificate authority's folder DIR: NAME.pem and NAME.key
// (made by tests/support/test-ca.sh). Throws when a file cannot be read.
TlsIdentity LoadTlsIdentity(const std::string& dir, const std::string& name);

class TlsChannel {
public:
    TlsChannel(intptr_t sock, const TlsIdentity& identity);  // runs the handshake
    ~TlsChannel();
    TlsChannel(const TlsChannel&) = delete;
    TlsChannel& operator=(const TlsChannel&) = delete;

    bool ready() const { return ready_; }  // the handshake succeeded
    int recv(char* buf, int len);          // > 0 bytes, 0 at the end, < 0 on an error
    bool send_all(const char* data, size_t len);

private:
    struct State;
    std::unique_ptr<State> s_;
    intptr_t sock_;
    bool ready_ = false;
};

}  // namespace testsupport
