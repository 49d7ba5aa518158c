// The proxy settings as values: the SOCKS proxy, the HTTP tunnel with its
// relay and proxy, and which way a connect goes.
#include <gtest/gtest.h>

#include <functional>

#include "HttpTunnelText.h"
#include "ProxyTestFakes.h"

using namespace proxytest;

namespace {

CFakeValues SocksValues(uint32_t version)
{
    CFakeValues values;
    values.Dword("ProxyEnable", 1)
        .String("SocksServer", "10.0.0.5")
        .Dword("SocksPort", 1080)
        .Dword("SocksVersion", version)
        .String("UserName", "alice")
        .String("Password", "secret");
    return values;
}

CFakeValues TunnelValues(uint32_t type)
{
    CFakeValues values;
    values.Dword("ProxyEnable", 1)
        .Dword("SocksVersion", 1)
        .Dword("HttpProxyType", type)
        .String("TransServer", "relay.example")
        .Dword("TransServerPort", 8080);
    return values;
}

}  // namespace

TEST(ProxySettings, SocksProxyIsEnabledOnlyWhenComplete)
{
    using Edit = std::function<void(CFakeValues&)>;
    const struct {
        const char* name;
        uint32_t version;
        Edit edit;
        bool enabled;
    } cases[] = {
        {"SOCKS5", 5, nullptr, true},
        {"SOCKS4", 4, nullptr, true},
        {"HTTP (version 1)", 1, nullptr, true},
        {"version 2", 2, nullptr, false},
        {"version 0", 0, nullptr, false},
        {"switched off", 5, [](CFakeValues& v) { v.Dword("ProxyEnable", 0); }, false},
        {"enable missing", 5, [](CFakeValues& v) {
             v = CFakeValues().String("SocksServer", "10.0.0.5").Dword("SocksPort", 1080).Dword("SocksVersion", 5)
                     .String("UserName", "alice").String("Password", "secret");
         }, false},
        {"empty server", 5, [](CFakeValues& v) { v.String("SocksServer", ""); }, false},
        {"server of 39 characters", 5, [](CFakeValues& v) { v.String("SocksServer", std::string(39, 's')); }, true},
        {"server of 40 characters", 5, [](CFakeValues& v) { v.String("SocksServer", std::string(40, 's')); }, false},
        {"port 0", 5, [](CFakeValues& v) { v.Dword("SocksPort", 0); }, false},
        {"port 65536", 5, [](CFakeValues& v) { v.Dword("SocksPort", 65536); }, false},
        {"enable 7 counts as on", 5, [](CFakeValues& v) { v.Dword("ProxyEnable", 7); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CFakeValues values = SocksValues(c.version);
        if (c.edit)
            c.edit(values);
        const SocksProxySettings s = ReadSocksProxySettings(values);
        EXPECT_EQ(s.enabled, c.enabled);
        if (c.enabled) {
            EXPECT_FALSE(s.host.empty());
            EXPECT_EQ(s.port, 1080);
            EXPECT_EQ(s.version, c.version);
        } else {
            EXPECT_EQ(s.host, "");
            EXPECT_EQ(s.port, 0);
            EXPECT_EQ(s.version, 0u);
        }
        EXPECT_EQ(s.user, "alice");
        EXPECT_EQ(s.password, "secret");
    }
}

TEST(ProxySettings, SocksCredentialsLongerThanTheirFieldAreNotRead)
{
    CFakeValues values = SocksValues(5);
    values.String("UserName", std::string(63, 'u')).String("Password", std::string(64, 'p'));
    const SocksProxySettings s = ReadSocksProxySettings(values);
    EXPECT_TRUE(s.enabled);
    EXPECT_EQ(s.user, std::string(63, 'u'));
    EXPECT_EQ(s.password, "");
}

TEST(ProxySettings, TunnelConfigurationTable)
{
    using Edit = std::function<void(CFakeValues& proxy, CFakeValues& browser)>;
    const struct {
        const char* name;
        uint32_t type;
        Edit edit;
        TunnelConfig config;
        bool useProxy;
        const char* proxyHost;
        uint16_t proxyPort;
    } cases[] = {
        {"relay direct", 0, nullptr, TunnelConfig::kTunnel, false, "", 0},
        {"SOCKS version 5", 0, [](CFakeValues& p, CFakeValues&) { p.Dword("SocksVersion", 5); },
         TunnelConfig::kNotConfigured, false, "", 0},
        {"switched off", 0, [](CFakeValues& p, CFakeValues&) { p.Dword("ProxyEnable", 0); },
         TunnelConfig::kNotConfigured, false, "", 0},
        {"enable 2 is not 1", 0, [](CFakeValues& p, CFakeValues&) { p.Dword("ProxyEnable", 2); },
         TunnelConfig::kNotConfigured, false, "", 0},
        {"type missing", 0,
         [](CFakeValues& p, CFakeValues&) { p = CFakeValues().Dword("ProxyEnable", 1).Dword("SocksVersion", 1); },
         TunnelConfig::kNoTunnel, false, "", 0},
        {"type 3", 3, nullptr, TunnelConfig::kNoTunnel, false, "", 0},
        {"no relay", 0, [](CFakeValues& p, CFakeValues&) { p.String("TransServer", ""); },
         TunnelConfig::kNotConfigured, false, "", 0},
        {"relay of 100 bytes", 0, [](CFakeValues& p, CFakeValues&) { p.String("TransServer", std::string(100, 'r')); },
         TunnelConfig::kNotConfigured, false, "", 0},
        {"relay port 0", 0, [](CFakeValues& p, CFakeValues&) { p.Dword("TransServerPort", 0); },
         TunnelConfig::kNotConfigured, false, "", 0},
        {"given proxy", 2,
         [](CFakeValues& p, CFakeValues&) { p.String("HttpProxyServer", "proxy.example").Dword("HttpProxyPort", 3128); },
         TunnelConfig::kTunnel, true, "proxy.example", 3128},
        {"given proxy on port 0 means 80", 2,
         [](CFakeValues& p, CFakeValues&) { p.String("HttpProxyServer", "10.0.0.9").Dword("HttpProxyPort", 0); },
         TunnelConfig::kTunnel, true, "10.0.0.9", 80},
        {"given proxy without its port", 2, [](CFakeValues& p, CFakeValues&) { p.String("HttpProxyServer", "10.0.0.9"); },
         TunnelConfig::kNotConfigured, false, "", 0},
        {"given proxy without its server", 2, [](CFakeValues& p, CFakeValues&) { p.Dword("HttpProxyPort", 3128); },
         TunnelConfig::kNotConfigured, false, "", 0},
        {"browser proxy", 1,
         [](CFakeValues&, CFakeValues& b) { b.Dword("ProxyEnable", 1).String("ProxyServer", "10.0.0.9:8080"); },
         TunnelConfig::kTunnel, true, "10.0.0.9", 8080},
        {"browser proxy switched off", 1,
         [](CFakeValues&, CFakeValues& b) { b.Dword("ProxyEnable", 0).String("ProxyServer", "10.0.0.9:8080"); },
         TunnelConfig::kTunnel, false, "", 0},
        {"browser proxy without a colon", 1,
         [](CFakeValues&, CFakeValues& b) { b.Dword("ProxyEnable", 1).String("ProxyServer", "10.0.0.9"); },
         TunnelConfig::kTunnel, false, "", 0},
        {"browser proxy by name", 1,
         [](CFakeValues&, CFakeValues& b) { b.Dword("ProxyEnable", 1).String("ProxyServer", "proxy.example:8080"); },
         TunnelConfig::kNotConfigured, false, "", 0},
        {"browser proxy per protocol", 1,
         [](CFakeValues&, CFakeValues& b) { b.Dword("ProxyEnable", 1).String("ProxyServer", "http=10.0.0.9:80;https=10.0.0.9:443"); },
         TunnelConfig::kNotConfigured, false, "", 0},
        {"no browser settings", 1, nullptr, TunnelConfig::kTunnel, false, "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CFakeValues proxy = TunnelValues(c.type);
        CFakeValues browser;
        if (c.edit)
            c.edit(proxy, browser);
        const TunnelSettings s = ReadTunnelSettings(proxy, browser);
        EXPECT_EQ(int(s.config), int(c.config));
        EXPECT_EQ(s.useProxy, c.useProxy);
        EXPECT_EQ(s.proxyHost, c.proxyHost);
        EXPECT_EQ(s.proxyPort, c.proxyPort);
        if (c.config == TunnelConfig::kTunnel) {
            EXPECT_EQ(s.relayHost, "relay.example");
            EXPECT_EQ(s.relayPort, 8080);
            EXPECT_EQ(s.useBrowserProxy, c.type == 1);
        }
    }
}

TEST(ProxySettings, TunnelAuthorisationOnlyWithBothCredentials)
{
    const struct {
        const char* user;
        const char* password;
        bool line;
    } cases[] = {{"alice", "secret", true}, {"alice", "", false}, {"", "secret", false}, {nullptr, "secret", false}};
    for (const auto& c : cases) {
        CFakeValues proxy = TunnelValues(2);
        proxy.String("HttpProxyServer", "10.0.0.9").Dword("HttpProxyPort", 3128).String("HttpProxyPass", c.password);
        if (c.user)
            proxy.String("HttpProxyUser", c.user);
        CFakeValues browser;
        const TunnelSettings s = ReadTunnelSettings(proxy, browser);
        EXPECT_EQ(s.authLine, c.line ? BuildProxyAuthorizationLine(c.user, c.password) : "");
    }
    // The longest credentials are encoded whole.
    CFakeValues proxy = TunnelValues(0);
    proxy.String("HttpProxyUser", std::string(63, 'u')).String("HttpProxyPass", std::string(63, 'p'));
    CFakeValues browser;
    EXPECT_EQ(ReadTunnelSettings(proxy, browser).authLine.size(), 27u + 172u);
}

TEST(ProxySettings, ConnectRouteTable)
{
    SocksProxySettings off;
    SocksProxySettings socks5;
    socks5.enabled = true;
    socks5.host = "10.0.0.5";
    socks5.port = 1080;
    socks5.version = 5;
    SocksProxySettings socks4 = socks5;
    socks4.version = 4;
    SocksProxySettings http = socks5;
    http.version = 1;
    const struct {
        const char* name;
        const SocksProxySettings& socks;
        TunnelConfig tunnel;
        bool allowed;
        uint16_t alternate;
        ConnectWay way;
        const char* host;
        uint16_t port;
        uint16_t targetPort;
        bool switchedOff;
    } cases[] = {
        {"direct", off, TunnelConfig::kNotConfigured, true, 0, ConnectWay::kDirect, "gs.example", 4001, 4001, false},
        {"direct, alternative port", off, TunnelConfig::kNotConfigured, true, 80, ConnectWay::kDirect, "gs.example", 80,
         80, false},
        {"SOCKS5", socks5, TunnelConfig::kNotConfigured, true, 0, ConnectWay::kSocks, "10.0.0.5", 1080, 4001, false},
        {"SOCKS4, alternative port", socks4, TunnelConfig::kNotConfigured, true, 80, ConnectWay::kSocks, "10.0.0.5",
         1080, 80, false},
        {"HTTP proxy without a tunnel", http, TunnelConfig::kNoTunnel, true, 0, ConnectWay::kDirect, "gs.example", 4001,
         4001, false},
        {"tunnel", http, TunnelConfig::kTunnel, true, 0, ConnectWay::kTunnel, "gs.example", 4001, 4001, false},
        {"tunnel, alternative port", http, TunnelConfig::kTunnel, true, 80, ConnectWay::kTunnel, "gs.example", 80, 80,
         false},
        {"tunnel not allowed", http, TunnelConfig::kTunnel, false, 0, ConnectWay::kDirect, "gs.example", 4001, 4001,
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ConnectRoute r = DecideConnectRoute(c.socks, c.tunnel, c.allowed, "gs.example", 4001, c.alternate);
        EXPECT_EQ(int(r.way), int(c.way));
        EXPECT_EQ(r.host, c.host);
        EXPECT_EQ(r.port, c.port);
        EXPECT_EQ(r.targetPort, c.targetPort);
        EXPECT_EQ(r.proxySwitchedOff, c.switchedOff);
    }
}
