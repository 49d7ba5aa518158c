#include "CommandLine.h"

#include "OptionValues.h"
#include "RelayProxy.h"

namespace proxies {

const char* const kUsage =
    "usage: mardavel_proxies MODE [options]\n"
    "Stand-ins for the proxies a client connects through, on 127.0.0.1. MODE is\n"
    "  socks    SOCKS4, SOCKS4a and SOCKS5 proxy (default port 26101)\n"
    "  relay    the relay proxy: SOCKS5 with user name and password (26102)\n"
    "  http     HTTP proxy: CONNECT, and other requests passed on to their host (26103)\n"
    "  tunnel   HTTP tunnel relay: GET and POST legs to /default.asp (26104)\n"
    "Every mode:\n"
    "  --port N                port to listen on (0 picks a free one)\n"
    "  --target HOST:PORT      send every connection there (a loopback address, such as\n"
    "                          the table server's); default: where the client asks, which\n"
    "                          must be a loopback address or \"localhost\"\n"
    "  --handshake-timeout MS  time a client has to finish its request (10000)\n"
    "  --connect-timeout MS    time to connect to the destination (5000)\n"
    "  --record FILE           append every handshake's bytes to FILE, a line a step\n"
    "  --verbose               log every handshake step\n"
    "socks and relay:\n"
    "  --user NAME, --password TEXT\n"
    "                          SOCKS5 login required (relay: always; default empty)\n"
    "  --method N              answer every SOCKS5 greeting with method N (255: none)\n"
    "  --refuse                refuse every request (SOCKS4 91, SOCKS5 5)\n"
    "  --reply-code N          the status byte of every request's reply\n"
    "  --bound ipv4|name|ipv6  address type of the SOCKS5 reply's bound address (ipv4)\n"
    "  --bound-name TEXT       the bound name of --bound name (\"localhost\")\n"
    "  --short-reply           send half of the request's reply, then close\n"
    "  --delay MS              hold every chunk from the target MS milliseconds (a slower\n"
    "                          way for the relay's speed tests)\n"
    "http:\n"
    "  --user NAME, --password TEXT\n"
    "                          Basic authorisation required (else 407)\n"
    "  --connect-status N      answer every CONNECT with status N (403, 407, ...)\n"
    "  --short-reply           send half of the answer's head, then close\n"
    "  --long-reply            pad the answer's head beyond 1024 bytes\n"
    "tunnel:\n"
    "  --continue N            send N \"100 Continue\" heads before a GET's answer\n"
    "  --redirects N           redirect the first N GETs (302)\n"
    "  --redirect-to HOST:PORT the relay a redirect names (default: this one)\n"
    "  --route TEXT            the Redirect-Route of a redirect (\"mardavel-route\")\n"
    "  --require-route TEXT    a GET must carry this Redirect-Route (else 403)\n"
    "  --get-status N          answer GETs with status N instead of 200\n"
    "  --empty-serial          answer 200 without a SERIALNO\n"
    "  --short-reply, --long-reply  as for http, for a GET's answer\n"
    "It prints \"listening on 127.0.0.1:PORT\" once it accepts connections, and stops\n"
    "on Ctrl+C or SIGTERM.\n";

namespace {

using serverkit::ReadNumber;

bool ReadLoopbackEndpoint(const std::string& option, const std::string& text, Endpoint& out,
                          std::string& error)
{
    if (!ParseEndpoint(text, out)) {
        error = option + ": \"" + text + "\" is not HOST:PORT";
        return false;
    }
    if (!IsLoopbackHost(out.host)) {
        error = option + ": " + out.host + " is not a loopback address";
        return false;
    }
    return true;
}

const char* ModeName(Mode mode)
{
    switch (mode) {
    case Mode::kSocks: return "socks";
    case Mode::kRelay: return "relay";
    case Mode::kHttp: return "http";
    case Mode::kTunnel: return "tunnel";
    }
    return "?";
}

// The options that every mode has.
struct Common {
    ForwardOptions forward;
    int handshakeTimeoutMs = 10000;
};

}  // namespace

uint16_t DefaultPort(Mode mode)
{
    switch (mode) {
    case Mode::kSocks: return 26101;
    case Mode::kRelay: return 26102;
    case Mode::kHttp: return 26103;
    case Mode::kTunnel: return 26104;
    }
    return 0;
}

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error)
{
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        out.help = true;
        return true;
    }
    if (args.empty()) {
        error = "a mode is needed: socks, relay, http or tunnel";
        return false;
    }
    const std::string& mode = args[0];
    if (mode == "socks")
        out.mode = Mode::kSocks;
    else if (mode == "relay")
        out.mode = Mode::kRelay;
    else if (mode == "http")
        out.mode = Mode::kHttp;
    else if (mode == "tunnel")
        out.mode = Mode::kTunnel;
    else {
        error = "unknown mode \"" + mode + "\"";
        return false;
    }
    out.port = DefaultPort(out.mode);
    const bool socks = out.mode == Mode::kSocks || out.mode == Mode::kRelay;
    const bool http = out.mode == Mode::kHttp;
    const bool tunnel = out.mode == Mode::kTunnel;
    Common common;
    std::string user;
    std::string password;
    bool login = false;
    bool shortReply = false;
    bool longReply = false;

    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& option = args[i];
        const auto notHere = [&] {
            error = option + " is not an option of the " + ModeName(out.mode) + " mode";
            return false;
        };
        // Options without a value.
        if (serverkit::ReadCommonFlag(option, out.help, out.verbose))
            continue;
        if (option == "--refuse") {
            if (!socks)
                return notHere();
            out.socks.refuse = true;
            continue;
        }
        if (option == "--short-reply") {
            shortReply = true;
            continue;
        }
        if (option == "--long-reply") {
            if (socks)
                return notHere();
            longReply = true;
            continue;
        }
        if (option == "--empty-serial") {
            if (!tunnel)
                return notHere();
            out.tunnel.emptySerial = true;
            continue;
        }
        if (!serverkit::ValueFollows(args, i, error))
            return false;
        const std::string& value = args[++i];
        unsigned long n = 0;
        if (option == "--port") {
            if (!serverkit::ReadPort(option, value, out.port, error))
                return false;
        } else if (option == "--target") {
            Endpoint target;
            if (!ReadLoopbackEndpoint(option, value, target, error))
                return false;
            common.forward.target = target;
        } else if (option == "--handshake-timeout") {
            if (!ReadNumber(option, value, 3600000, n, error))
                return false;
            common.handshakeTimeoutMs = int(n);
        } else if (option == "--connect-timeout") {
            if (!ReadNumber(option, value, 3600000, n, error))
                return false;
            common.forward.connectTimeoutMs = int(n);
        } else if (option == "--record") {
            out.recordPath = value;
        } else if (option == "--user" || option == "--password") {
            if (tunnel)
                return notHere();
            if (value.size() > 255) {
                error = option + ": longer than 255 bytes";
                return false;
            }
            (option == "--user" ? user : password) = value;
            login = true;
        } else if (option == "--method") {
            if (!socks)
                return notHere();
            if (!ReadNumber(option, value, 255, n, error))
                return false;
            out.socks.forcedMethod = int(n);
        } else if (option == "--reply-code") {
            if (!socks)
                return notHere();
            if (!ReadNumber(option, value, 255, n, error))
                return false;
            out.socks.replyCode = int(n);
        } else if (option == "--bound") {
            if (!socks)
                return notHere();
            if (value == "ipv4")
                out.socks.bound = BoundAddress::kIPv4;
            else if (value == "name")
                out.socks.bound = BoundAddress::kName;
            else if (value == "ipv6")
                out.socks.bound = BoundAddress::kIPv6;
            else {
                error = "--bound: \"" + value + "\" is not ipv4, name or ipv6";
                return false;
            }
        } else if (option == "--delay") {
            if (!socks)
                return notHere();
            if (!ReadNumber(option, value, 60000, n, error))
                return false;
            out.socks.delayMs = int(n);
        } else if (option == "--bound-name") {
            if (!socks)
                return notHere();
            if (value.size() > 255) {
                error = "--bound-name: longer than 255 bytes";
                return false;
            }
            out.socks.boundName = value;
        } else if (option == "--connect-status") {
            if (!http)
                return notHere();
            if (!ReadNumber(option, value, 999, n, error))
                return false;
            if (n < 100) {
                error = "--connect-status: " + value + " is not an HTTP status";
                return false;
            }
            out.http.connectStatus = int(n);
        } else if (option == "--continue") {
            if (!tunnel)
                return notHere();
            if (!ReadNumber(option, value, 100, n, error))
                return false;
            out.tunnel.continues = int(n);
        } else if (option == "--redirects") {
            if (!tunnel)
                return notHere();
            if (!ReadNumber(option, value, 1000000, n, error))
                return false;
            out.tunnel.redirects = int(n);
        } else if (option == "--redirect-to") {
            if (!tunnel)
                return notHere();
            Endpoint to;
            if (!ParseEndpoint(value, to)) {
                error = "--redirect-to: \"" + value + "\" is not HOST:PORT";
                return false;
            }
            out.tunnel.redirectTo = to;
        } else if (option == "--route" || option == "--require-route") {
            if (!tunnel)
                return notHere();
            if (value.find_first_of("\r\n") != std::string::npos) {
                error = option + ": a line break in the value";
                return false;
            }
            (option == "--route" ? out.tunnel.route : out.tunnel.requireRoute) = value;
        } else if (option == "--get-status") {
            if (!tunnel)
                return notHere();
            if (!ReadNumber(option, value, 999, n, error))
                return false;
            if (n < 200) {
                error = "--get-status: " + value + " is not a final HTTP status";
                return false;
            }
            out.tunnel.getStatus = int(n);
        } else {
            error = "unknown option \"" + option + "\"";
            return false;
        }
    }
    if (shortReply && longReply) {
        error = "--short-reply and --long-reply exclude each other";
        return false;
    }
    const ReplyShape shape =
        shortReply ? ReplyShape::kShort : longReply ? ReplyShape::kLong : ReplyShape::kWhole;

    out.socks.forward = common.forward;
    out.socks.handshakeTimeoutMs = common.handshakeTimeoutMs;
    out.socks.shortReply = shortReply;
    out.socks.requireLogin = login;
    out.socks.user = user;
    out.socks.password = password;
    if (out.mode == Mode::kRelay)
        out.socks = RelayOptions(out.socks);

    out.http.forward = common.forward;
    out.http.handshakeTimeoutMs = common.handshakeTimeoutMs;
    out.http.shape = shape;
    out.http.requireLogin = login;
    out.http.user = user;
    out.http.password = password;

    out.tunnel.forward = common.forward;
    out.tunnel.handshakeTimeoutMs = common.handshakeTimeoutMs;
    out.tunnel.shape = shape;
    return true;
}

std::unique_ptr<Service> MakeService(const CommandLine& command)
{
    switch (command.mode) {
    case Mode::kSocks: return std::make_unique<SocksProxy>(command.socks, "socks");
    case Mode::kRelay: return std::make_unique<SocksProxy>(command.socks, "relay");
    case Mode::kHttp: return std::make_unique<HttpConnectProxy>(command.http);
    case Mode::kTunnel: return std::make_unique<HttpTunnelRelay>(command.tunnel);
    }
    return nullptr;
}

}  // namespace proxies
