// The proxy settings of the platform, read as values: the SOCKS proxy of
// the game connection, the HTTP tunnel's relay and proxy, and which way a
// connect goes. The values come from the registry in the program
// (ProxyRegistry.h) and from a table in the tests.
//
// Key HKCU "Software\Quorvintel\Game\Share\Proxy":
//   "ProxyEnable", "SocksPort", "SocksVersion" (DWORD), "SocksServer" (40 bytes),
//   "UserName", "Password" (64 bytes) - the SOCKS proxy;
//   "HttpProxyType", "TransServerPort", "HttpProxyPort" (DWORD), "TransServer",
//   "HttpProxyServer" (100 bytes), "HttpProxyUser", "HttpProxyPass" (64 bytes)
//   - the HTTP tunnel.
// Key HKCU "Software\Microsoft\Windows\CurrentVersion\Internet Settings":
//   "ProxyEnable" (DWORD), "ProxyServer" (64 bytes) - the browser's proxy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

extern const char kProxySettingsKey[];     // "Software\Quorvintel\Game\Share\Proxy"
extern const char kBrowserSettingsKey[];   // "Software\Microsoft\Windows\CurrentVersion\Internet Settings"

// Named values of one key.
class CProxyValueSource
{
public:
    virtual ~CProxyValueSource() = default;
    // False when the value is missing or not a DWORD.
    virtual bool ReadDword(const char* name, uint32_t& value) = 0;
    // False when the value is missing, not a string, or does not fit a
    // field of fieldBytes bytes with its terminating zero.
    virtual bool ReadString(const char* name, size_t fieldBytes, std::string& value) = 0;
};

// ---- The SOCKS proxy (the game connection's LoadProxySettings) --------------------------

struct SocksProxySettings {
    bool enabled = false;    // the connection's proxy flag
    std::string host;        // up to 39 characters
    uint16_t port = 0;
    uint32_t version = 0;    // 1 (HTTP: the tunnel's settings decide), 4 or 5
    std::string user;        // SOCKS5 login, up to 63 characters each
    std::string password;
};

// Enabled only when "ProxyEnable", "SocksServer", "SocksPort" and
// "SocksVersion" all read, the first is nonzero, the server is not empty,
// the port is 1-65535 and the version is 1, 4 or 5; otherwise host, port
// and version are cleared. User name and password are read either way.
SocksProxySettings ReadSocksProxySettings(CProxyValueSource& proxyKey);

// ---- The HTTP tunnel (CHttpTunnel::IsConfigured) --------------------------------------------

enum class TunnelConfig {
    kNotConfigured,  // IsConfigured returns 0
    kNoTunnel,       // returns 1 with enabled 0
    kTunnel,         // returns 1 with enabled 1
};

struct TunnelSettings {
    TunnelConfig config = TunnelConfig::kNotConfigured;
    std::string relayHost;    // "TransServer": a dotted address or a name, to be resolved
    uint16_t relayPort = 0;
    bool useProxy = false;
    bool useBrowserProxy = false;  // "HttpProxyType" 1
    std::string proxyHost;    // type 2: a dotted address or a name; type 1: dotted
    uint16_t proxyPort = 0;
    std::string authLine;     // "Proxy-Authorization: Basic ..." or ""
};

// Reads the tunnel's settings. kTunnel needs the caller to resolve relayHost
// (and proxyHost of type 2): a failure there makes it kNotConfigured.
TunnelSettings ReadTunnelSettings(CProxyValueSource& proxyKey, CProxyValueSource& browserKey);

// ---- Which way a connect goes (the game connection's Connect, steps 3 and 4) ----------------

enum class ConnectWay { kDirect, kSocks, kTunnel };

struct ConnectRoute {
    ConnectWay way = ConnectWay::kDirect;
    // Where the connect thread connects: the SOCKS proxy, or the game server
    // (direct, and the tunnel's target).
    std::string host;
    uint16_t port = 0;
    // The game server's port as the SOCKS request names it (the alternative
    // port when one is set).
    uint16_t targetPort = 0;
    // The proxy flag is switched off for this connect (tunnel configured, not allowed).
    bool proxySwitchedOff = false;
};

// alternatePort 0 = none.
ConnectRoute DecideConnectRoute(const SocksProxySettings& socks, TunnelConfig tunnel, bool tunnelAllowed,
                                const std::string& host, uint16_t port, uint16_t alternatePort);
