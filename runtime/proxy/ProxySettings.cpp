#include "ProxySettings.h"

#include "HttpTunnelText.h"
#include "SocksHandshake.h"

const char kProxySettingsKey[] = "Software\\Quorvintel\\Game\\Share\\Proxy";
const char kBrowserSettingsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

namespace {

// Field sizes of the settings, terminating zero included.
constexpr size_t kSocksServerField = 40;
constexpr size_t kCredentialField = 64;
constexpr size_t kTunnelHostField = 100;
constexpr size_t kBrowserProxyField = 64;

constexpr uint32_t kHttpProxyRelayDirect = 0;
constexpr uint32_t kHttpProxyBrowser = 1;
constexpr uint32_t kHttpProxyGiven = 2;

bool ReadPort(CProxyValueSource& values, const char* name, uint16_t& port)
{
    uint32_t value = 0;
    if (!values.ReadDword(name, value) || value > 65535)
        return false;
    port = uint16_t(value);
    return true;
}

// A string that reads as a non-empty value.
bool ReadNonEmpty(CProxyValueSource& values, const char* name, size_t field, std::string& out)
{
    return values.ReadString(name, field, out) && !out.empty();
}

// The browser's proxy for type 1: false when its address is not dotted.
bool ConfigureBrowserProxy(CProxyValueSource& browserKey, TunnelSettings& out)
{
    uint32_t enable = 0;
    std::string server;
    if (!browserKey.ReadDword("ProxyEnable", enable) || enable != 1 ||
        !browserKey.ReadString("ProxyServer", kBrowserProxyField, server))
        return true;  // no browser proxy: the relay is reached directly
    if (server.find(':') == std::string::npos)
        return true;
    Ipv4Endpoint proxy;
    if (!ParseDottedEndpoint(server, proxy))
        return false;
    out.useProxy = true;
    out.proxyHost = proxy.Dotted();
    out.proxyPort = proxy.port;
    return true;
}

}  // namespace

SocksProxySettings ReadSocksProxySettings(CProxyValueSource& proxyKey)
{
    SocksProxySettings out;
    uint32_t enable = 0;
    uint32_t port = 0;
    uint32_t version = 0;
    std::string host;
    const bool read = proxyKey.ReadDword("ProxyEnable", enable) &&
                      proxyKey.ReadString("SocksServer", kSocksServerField, host) &&
                      proxyKey.ReadDword("SocksPort", port) && proxyKey.ReadDword("SocksVersion", version);
    if (!proxyKey.ReadString("UserName", kCredentialField, out.user))
        out.user.clear();
    if (!proxyKey.ReadString("Password", kCredentialField, out.password))
        out.password.clear();
    if (read && enable != 0 && !host.empty() && port != 0 && port <= 65535 &&
        (version == 1 || version == 4 || version == 5)) {
        out.enabled = true;
        out.host = host;
        out.port = uint16_t(port);
        out.version = version;
    }
    return out;
}

TunnelSettings ReadTunnelSettings(CProxyValueSource& proxyKey, CProxyValueSource& browserKey)
{
    TunnelSettings out;
    uint32_t enable = 0;
    uint32_t version = 0;
    if (!proxyKey.ReadDword("ProxyEnable", enable) || enable != 1 ||
        !proxyKey.ReadDword("SocksVersion", version) || version != 1)
        return out;

    uint32_t type = 0;
    if (!proxyKey.ReadDword("HttpProxyType", type) ||
        (type != kHttpProxyRelayDirect && type != kHttpProxyBrowser && type != kHttpProxyGiven)) {
        out.config = TunnelConfig::kNoTunnel;
        return out;
    }
    if (!ReadNonEmpty(proxyKey, "TransServer", kTunnelHostField, out.relayHost) ||
        !ReadPort(proxyKey, "TransServerPort", out.relayPort) || out.relayPort == 0)
        return TunnelSettings();

    if (type == kHttpProxyGiven) {
        uint16_t proxyPort = 0;
        if (!ReadNonEmpty(proxyKey, "HttpProxyServer", kTunnelHostField, out.proxyHost) ||
            !ReadPort(proxyKey, "HttpProxyPort", proxyPort))
            return TunnelSettings();
        out.useProxy = true;
        out.proxyPort = proxyPort != 0 ? proxyPort : 80;
    } else if (type == kHttpProxyBrowser) {
        out.useBrowserProxy = true;
        if (!ConfigureBrowserProxy(browserKey, out))
            return TunnelSettings();
    }

    std::string user;
    std::string password;
    if (ReadNonEmpty(proxyKey, "HttpProxyUser", kCredentialField, user) &&
        ReadNonEmpty(proxyKey, "HttpProxyPass", kCredentialField, password))
        out.authLine = BuildProxyAuthorizationLine(user, password);
    out.config = TunnelConfig::kTunnel;
    return out;
}

ConnectRoute DecideConnectRoute(const SocksProxySettings& socks, TunnelConfig tunnel, bool tunnelAllowed,
                                const std::string& host, uint16_t port, uint16_t alternatePort)
{
    ConnectRoute route;
    route.targetPort = alternatePort != 0 ? alternatePort : port;
    route.host = host;
    route.port = route.targetPort;
    if (tunnel == TunnelConfig::kTunnel) {
        if (tunnelAllowed)
            route.way = ConnectWay::kTunnel;
        else
            route.proxySwitchedOff = true;
        return route;
    }
    if (socks.enabled && (socks.version == 4 || socks.version == 5)) {
        route.way = ConnectWay::kSocks;
        route.host = socks.host;
        route.port = socks.port;
    }
    return route;
}
