#include "tls_channel.h"

#include <mbedtls/ctr_drbg.h>
#include <mbedtls/entropy.h>
#include <mbedtls/net_sockets.h>
#include <mbedtls/pk.h>
#include <mbedtls/ssl.h>
#include <mbedtls/x509_crt.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

#ifdef _WIN32
#include <winsock2.h>
using Sock = SOCKET;
#else
#include <sys/socket.h>
using Sock = int;
#endif

namespace testsupport {

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("test service: cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

#ifdef MSG_NOSIGNAL
constexpr int kSendFlags = MSG_NOSIGNAL;
#else
constexpr int kSendFlags = 0;
#endif

int SendCallback(void* ctx, const unsigned char* buf, size_t len) {
    Sock s = static_cast<Sock>(*static_cast<intptr_t*>(ctx));
    int n = ::send(s, reinterpret_cast<const char*>(buf), static_cast<int>(std::min<size_t>(len, 1 << 16)), kSendFlags);
    return n < 0 ? MBEDTLS_ERR_NET_SEND_FAILED : n;
}

int RecvCallback(void* ctx, unsigned char* buf, size_t len) {
    Sock s = static_cast<Sock>(*static_cast<intptr_t*>(ctx));
    int n = ::recv(s, reinterpret_cast<char*>(buf), static_cast<int>(std::min<size_t>(len, 1 << 16)), 0);
    return n < 0 ? MBEDTLS_ERR_NET_RECV_FAILED : n;
}

}  // namespace

TlsIdentity LoadTlsIdentity(const std::string& dir, const std::string& name) {
    std::string base = dir.empty() || dir.back() == '/' || dir.back() == '\\' ? dir + name : dir + "/" + name;
    return {ReadFile(base + ".pem"), ReadFile(base + ".key")};
}

struct TlsChannel::State {
    mbedtls_entropy_context entropy;
    mbedtls_ctr_drbg_context drbg;
    mbedtls_x509_crt cert;
    mbedtls_pk_context key;
    mbedtls_ssl_config conf;
    mbedtls_ssl_context ssl;

    State() {
        mbedtls_entropy_init(&entropy);
        mbedtls_ctr_drbg_init(&drbg);
        mbedtls_x509_crt_init(&cert);
        mbedtls_pk_init(&key);
        mbedtls_ssl_config_init(&conf);
        mbedtls_ssl_init(&ssl);
    }
    ~State() {
        mbedtls_ssl_free(&ssl);
        mbedtls_ssl_config_free(&conf);
        mbedtls_pk_free(&key);
        mbedtls_x509_crt_free(&cert);
        mbedtls_ctr_drbg_free(&drbg);
        mbedtls_entropy_free(&entropy);
    }
};

TlsChannel::TlsChannel(intptr_t sock, const TlsIdentity& id) : s_(std::make_unique<State>()), sock_(sock) {
    State& s = *s_;
    // PEM text is parsed with its terminating NUL.
    auto bytes = [](const std::string& t) { return reinterpret_cast<const unsigned char*>(t.c_str()); };
    if (mbedtls_ctr_drbg_seed(&s.drbg, mbedtls_entropy_func, &s.entropy, nullptr, 0) != 0 ||
        mbedtls_x509_crt_parse(&s.cert, bytes(id.certPem), id.certPem.size() + 1) != 0 ||
        mbedtls_pk_parse_key(&s.key, bytes(id.keyPem), id.keyPem.size() + 1, nullptr, 0) != 0 ||
        mbedtls_ssl_config_defaults(&s.conf, MBEDTLS_SSL_IS_SERVER, MBEDTLS_SSL_TRANSPORT_STREAM,
                                    MBEDTLS_SSL_PRESET_DEFAULT) != 0)
        return;
    mbedtls_ssl_conf_rng(&s.conf, mbedtls_ctr_drbg_random, &s.drbg);
    if (mbedtls_ssl_conf_own_cert(&s.conf, &s.cert, &s.key) != 0 || mbedtls_ssl_setup(&s.ssl, &s.conf) != 0) return;
    mbedtls_ssl_set_bio(&s.ssl, &sock_, SendCallback, RecvCallback, nullptr);
    int ret;
    while ((ret = mbedtls_ssl_handshake(&s.ssl)) != 0)
        if (ret != MBEDTLS_ERR_SSL_WANT_READ && ret != MBEDTLS_ERR_SSL_WANT_WRITE) return;
    ready_ = true;
}

TlsChannel::~TlsChannel() {
    if (ready_) mbedtls_ssl_close_notify(&s_->ssl);
}

int TlsChannel::recv(char* buf, int len) {
    for (;;) {
        int n = mbedtls_ssl_read(&s_->ssl, reinterpret_cast<unsigned char*>(buf), static_cast<size_t>(len));
        if (n == MBEDTLS_ERR_SSL_WANT_READ || n == MBEDTLS_ERR_SSL_WANT_WRITE) continue;
        if (n == MBEDTLS_ERR_SSL_PEER_CLOSE_NOTIFY) return 0;
        return n;
    }
}

bool TlsChannel::send_all(const char* data, size_t len) {
    while (len > 0) {
        int n = mbedtls_ssl_write(&s_->ssl, reinterpret_cast<const unsigned char*>(data), len);
        if (n == MBEDTLS_ERR_SSL_WANT_READ || n == MBEDTLS_ERR_SSL_WANT_WRITE) continue;
        if (n <= 0) return false;
        data += n;
        len -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace testsupport
