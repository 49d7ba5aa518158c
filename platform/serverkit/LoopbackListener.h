// The listening side of a stand-in: a socket on 127.0.0.1 only.
#pragma once

#include <cstdint>
#include <string>

#include <netinet/in.h>

namespace serverkit {

// A non-blocking listening socket on 127.0.0.1:port (0: a free port, whose
// number goes to boundPort). The descriptor, or -1 with the reason.
int ListenOnLoopback(uint16_t port, uint16_t& boundPort, std::string& error);

// "a.b.c.d:port" of a peer.
std::string PeerText(const sockaddr_in& address);

// Turns Nagle's delay off on an accepted connection.
void SetNoDelay(int fd);

}  // namespace serverkit
