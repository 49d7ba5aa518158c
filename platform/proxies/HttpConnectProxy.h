// The HTTP proxy stand-in (HTTP/1.1): CONNECT opens a tunnel to the address
// named; any other request is passed on to the host its target or Host
// field names, and the two connections are then joined, so the HTTP
// tunnel's long GET and POST legs reach the tunnel relay through it. With a
// user name and password every request needs "Proxy-Authorization: Basic",
// else 407.
#pragma once

#include <memory>
#include <string>

#include "Forwarding.h"
#include "HttpText.h"
#include "ProxyServer.h"

namespace proxies {

struct HttpProxyOptions {
    bool requireLogin = false;
    std::string user;
    std::string password;
    int connectStatus = 0;  // not 0: the status of every CONNECT's answer (403, 407, ...)
    ReplyShape shape = ReplyShape::kWhole;
    int handshakeTimeoutMs = 10000;
    ForwardOptions forward;  // CONNECT's destinations; other requests go where they name
};

class HttpConnectProxy : public Service {
public:
    explicit HttpConnectProxy(HttpProxyOptions options) : options_(std::move(options)) {}

    const char* name() const override { return "http"; }
    void Serve(Connection& connection) override;

private:
    void ServeConnect(Connection& connection, const HttpHead& request);
    void PassOn(Connection& connection, const HttpHead& request);
    // The connection to the destination; null, with the client answered,
    // when it cannot be made.
    std::unique_ptr<Stream> ConnectOrAnswer(Connection& connection, const Endpoint& destination,
                                            const ForwardOptions& forward);
    // Sends an answer of the proxy's own, after which the connection ends.
    void Answer(Connection& connection, int status,
                const std::vector<std::pair<std::string, std::string>>& fields = {});

    HttpProxyOptions options_;
};

}  // namespace proxies
