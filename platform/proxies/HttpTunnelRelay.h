// The HTTP tunnel relay stand-in. A client that may only speak HTTP reaches
// a game server through two long requests to "/default.asp":
//
//   GET /default.asp?SERIALNO=&METHOD=CONNECT&USERID=&SERVERIP=<n>&SERVERPORT=<n> HTTP/1.0
//     The relay connects to the server named (see TunnelQuery), answers
//     "HTTP/1.0 200 OK" with a "SERIALNO" field naming the new session, and
//     then streams the server's bytes as the body until either side closes.
//     Before that it may send "100 Continue" heads, or redirect the client
//     with "302" to another relay: "Location: a.b.c.d:port" and a
//     "Redirect-Route" field that the next GET carries back.
//   POST /default.asp HTTP/1.0 with "METHOD: SEND", "SERIALNO: <serial>" and
//     "Content-Length: 1073741824"
//     Its body is the client's bytes for the server of that session.
//
// The POST leg's socket is handed to the thread of its GET leg, which then
// carries both directions; the session ends when any of the three
// connections closes.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "Forwarding.h"
#include "HttpText.h"
#include "ProxyServer.h"

namespace proxies {

struct TunnelOptions {
    int continues = 0;                  // "100 Continue" heads before each GET's answer
    int redirects = 0;                  // the first this many GETs are redirected
    std::optional<Endpoint> redirectTo; // the relay a redirect names (default: this one)
    std::string route = "mardavel-route";  // the "Redirect-Route" of a redirect
    std::string requireRoute;           // not empty: a GET served must carry this route
    int getStatus = 200;                // the status of a GET's final answer
    bool emptySerial = false;           // a 200 answer without "SERIALNO"
    ReplyShape shape = ReplyShape::kWhole;
    int handshakeTimeoutMs = 10000;
    ForwardOptions forward;
};

class HttpTunnelRelay : public Service {
public:
    explicit HttpTunnelRelay(TunnelOptions options) : options_(std::move(options)) {}

    const char* name() const override { return "tunnel"; }
    void Serve(Connection& connection) override;

    size_t openSessions() const;

private:
    struct Session;

    void ServeGet(Connection& connection, const HttpHead& request);
    void ServePost(Connection& connection, const HttpHead& request);
    struct CarriedSession {
        const char* end = nullptr;  // why the session ended; null if it never opened
        uint64_t toServer = 0;
        uint64_t toClient = 0;
    };
    CarriedSession CarrySession(Connection& connection, Stream& server, Session& session);
    void Answer(Connection& connection, int status,
                const std::vector<std::pair<std::string, std::string>>& fields = {});

    TunnelOptions options_;
    std::atomic<int> gets_{0};
    std::atomic<uint32_t> serials_{0};
    mutable std::mutex sessionsMutex_;
    std::map<std::string, std::shared_ptr<Session>> sessions_;
};

}  // namespace proxies
