// The SOCKS proxy stand-in: SOCKS4, SOCKS4a and SOCKS5 on one port, told
// apart by the first byte. The relay proxy is the same server limited to
// SOCKS5 with a login (RelayProxy.h).
#pragma once

#include <cstdint>
#include <string>

#include "Forwarding.h"
#include "ProxyServer.h"

namespace proxies {

// The address type of the bound address in a SOCKS5 reply.
enum class BoundAddress { kIPv4, kName, kIPv6 };

struct SocksOptions {
    bool socks4 = true;          // SOCKS4 and SOCKS4a requests are served
    bool requireLogin = false;   // SOCKS5 asks for user name and password (RFC 1929)
    std::string user;
    std::string password;
    int forcedMethod = -1;       // SOCKS5: the method byte answered to every greeting
    bool refuse = false;         // every request is refused (SOCKS4 91, SOCKS5 5)
    int replyCode = -1;          // the status byte of every request's reply
    BoundAddress bound = BoundAddress::kIPv4;
    std::string boundName = "localhost";
    bool shortReply = false;     // half of the request's reply is sent, then the connection closed
    bool watchPortHeader = false;  // log the port header that may start the stream (relay)
    int delayMs = 0;             // every chunk from the target waits this long (a slower way)
    int handshakeTimeoutMs = 10000;
    ForwardOptions forward;
};

class SocksProxy : public Service {
public:
    explicit SocksProxy(SocksOptions options, const char* name = "socks");

    const char* name() const override { return name_; }
    void Serve(Connection& connection) override;

private:
    SocksOptions options_;
    const char* name_;
};

// The protocols, each after its version byte was read.
void ServeSocks4(Connection& connection, const SocksOptions& options);
void ServeSocks5(Connection& connection, const SocksOptions& options);

// After a granted request: copies bytes both ways until both sides closed.
void ForwardAfterHandshake(Connection& connection, Stream& target, const SocksOptions& options);

}  // namespace proxies
