// The command line of mardavel_proxies: a mode, then options.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "HttpConnectProxy.h"
#include "HttpTunnelRelay.h"
#include "ProxyServer.h"
#include "SocksProxy.h"

namespace proxies {

enum class Mode { kSocks, kRelay, kHttp, kTunnel };

struct CommandLine {
    Mode mode = Mode::kSocks;
    uint16_t port = 0;
    std::string recordPath;  // every handshake's bytes are appended here when set
    bool verbose = false;
    bool help = false;
    // The options of the mode chosen (the others stay at their defaults).
    SocksOptions socks;
    HttpProxyOptions http;
    TunnelOptions tunnel;
};

extern const char* const kUsage;

uint16_t DefaultPort(Mode mode);

// Arguments without the program name. False with the reason on a bad one.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error);

// The service the command line describes.
std::unique_ptr<Service> MakeService(const CommandLine& command);

}  // namespace proxies
