// Where a stand-in sends a connection it has accepted: to the fixed target
// of its command line when one is given, else to the address the client
// asked for, which must be on this machine (a loopback address or
// "localhost"). The stand-ins never connect anywhere else.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "Stream.h"

namespace proxies {

struct Endpoint {
    std::string host;  // dotted IPv4, IPv6 text or a name
    uint16_t port = 0;

    // "host:port", with brackets around an IPv6 address.
    std::string Text() const;
};

// "host:port" or "[v6]:port"; the port must be 1-65535.
bool ParseEndpoint(const std::string& text, Endpoint& out);

// A loopback address (127.0.0.0/8, ::1, ::ffff:127.x.y.z) or "localhost".
bool IsLoopbackHost(const std::string& host);

enum class ForwardError {
    kNone,
    kNotAllowed,  // not an address on this machine
    kUnresolved,  // a name other than "localhost"
    kRefused,     // nothing listens there, or the connect failed
    kTimedOut,
    kStopped,
};

struct ForwardOptions {
    std::optional<Endpoint> target;  // every connection goes here when set
    int connectTimeoutMs = 5000;
};

// Connects to the destination for a request of `requested`. Null with the
// error and a reason for the log on failure.
std::unique_ptr<Stream> OpenDestination(const Endpoint& requested, const ForwardOptions& options,
                                        const StopSignal& stop, ForwardError& error,
                                        std::string& reason);

}  // namespace proxies
