// The relay proxy stand-in: the relay network's SOCKS5 server. Every client
// must log in with user name and password (those of the client's language
// file, [TavryProxy] "TavryUser" and "TavryPwd"); SOCKS4 is not spoken.
//
// Through the relay the client may reach a game server's alternative port;
// it then starts the stream with the port header, message 0x663 of 8 bytes
// {u32 server port, u32 value} (little-endian, framed like every game
// message). The relay passes it on unchanged and logs it. The speed test
// (0x110 and its reply) and the statistics message (0x1A9) pass through
// like every other message.
#pragma once

#include <cstdint>
#include <string>

#include "SocksProxy.h"

namespace proxies {

constexpr uint32_t kPortHeaderId = 0x663;

// The relay's options from a SOCKS proxy's: SOCKS5 only, login required,
// the port header watched.
SocksOptions RelayOptions(SocksOptions options);

// Looks at the first 16 bytes the client sends after the handshake and logs
// the port header when they are one.
class PortHeaderWatcher {
public:
    explicit PortHeaderWatcher(Connection& connection) : connection_(connection) {}
    void See(const uint8_t* data, size_t count);

private:
    Connection& connection_;
    std::string first_;
    bool done_ = false;
};

}  // namespace proxies
