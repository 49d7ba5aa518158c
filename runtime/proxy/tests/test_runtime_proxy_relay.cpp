// The relay connection's decisions: its settings files, the connect
// decision tree with its fall-backs and log lines, the sample lists, the
// switching rules, the statistics and the speed test's messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "RelayDecision.h"
#include "ProxyTestFakes.h"

using namespace proxytest;

namespace {

const char kHost[] = "10.1.1.1";
const char kRelay[] = "10.0.0.1";

std::string Scrambled(const std::string& text)
{
    return ScrambleRelayName(text, true);
}

// The steps a planner asks for, as text.
std::string Describe(const RelayAction& a)
{
    std::string text;
    switch (a.step) {
    case RelayStep::kDirectConnect: text = "direct " + a.host + ":" + std::to_string(a.port); break;
    case RelayStep::kRelayConnect: text = "relay " + a.host + ":" + std::to_string(a.port); break;
    case RelayStep::kSocks5Exchange: text = "socks5 " + a.host + ":" + std::to_string(a.port); break;
    case RelayStep::kSendPortHeader: text = "header " + std::to_string(a.serverPort); break;
    case RelayStep::kFinished: text = std::string("finished ") + (a.connected ? "1" : "0"); break;
    }
    if (a.step == RelayStep::kDirectConnect || a.step == RelayStep::kRelayConnect)
        text += a.ask ? " ask" : " quiet";
    if (a.setCallerAskAfter)
        text += " +callerAsk";
    if (a.clearLastError)
        text += " +clear";
    if (a.restoreConnectOptions)
        text += " +restore";
    if (a.restoreTimeout)
        text += " +timeout";
    return text;
}

struct Outcome {
    bool ok;
    bool cancelled;
};
const Outcome kOk = {true, false};
const Outcome kFail = {false, false};
const Outcome kCancel = {false, true};

struct PlanCase {
    const char* name;
    bool otherProxy;
    bool firewall;
    uint32_t port;
    int p80Port;
    std::function<void(CFakeProfile& language, CRelaySettings& settings)> setup;
    std::vector<Outcome> outcomes;
    std::vector<std::string> steps;
    uint32_t connType;
    bool viaRelay;
    std::vector<std::string> logs;
};

void ListRelay(CFakeProfile& language, CRelaySettings&)
{
    language.WriteString("TavryProxy", "1", "10.9.9.9;5000");
    language.WriteString("TavryProxy", "2", "10.0.0.1;3000;4001");
}

void ListAndMark(CFakeProfile& language, CRelaySettings& settings)
{
    ListRelay(language, settings);
    settings.MarkServer(kHost, 4001, true);
}

// Log lines every case shares.
const std::string kCreate = "[连接]客户端创建连接，10.1.1.1:4001";
const std::string kNoOther = "[连接]当前没有使用其它代理服务器";
const std::string kNoFirewall = "[连接]当前没有使用突破防火墙功能";
const std::string kUseOn = "[连接]当前没有手动禁用互联代理功能";
const std::string kListed = "[连接]当前游戏配置了支持互联代理";
const std::string kNotMarked = "[连接]游戏配置了支持互联代理，但此台游戏服务器不支持，10.1.1.1:4001";
const std::string kMarked = "[连接]此游戏服务器连接使用互联代理方式";
const std::string kDirect = "[连接]当前使用直连方式连接 GSIP:10.1.1.1:4001";
const std::string kDirectOk = "[连接]直连方式连接成功 GSIP:10.1.1.1:4001";
const std::string kDirectFailed = "[连接]直连方式连接失败 GSIP:10.1.1.1:4001";
const std::string kRelayTry = "[连接]准备与互联代理进行连接 10.0.0.1:80";
const std::string kRelayOk = "[连接]互联代理服务器连接成功 10.0.0.1:80";
const std::string kSocksOk = "[连接]Socket5代理协议发送成功 10.0.0.1:80";
const std::string kHeader = "[连接]发送了P80服务使用的消息头4001";
const std::string kViaRelay = "[连接]当前使用互联代理连接 GSIP:10.1.1.1:4001 WPIP:10.0.0.1:80";

const std::vector<std::string> kToListed = {kCreate, kNoOther, kNoFirewall, kUseOn, kListed};

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

// ---- Settings files -------------------------------------------------------------------------

TEST(ProxyRelay, ScrambledNames)
{
    EXPECT_EQ(ScrambleRelayName("4001", true), "6E6A6A6B");   // '4' ^ 0x5A = 0x6E ...
    EXPECT_EQ(ScrambleRelayName("Setting", true), "093F2E2E33343D");
    EXPECT_EQ(ScrambleRelayName("\xFF", true), "A5");
    EXPECT_EQ(ScrambleRelayName("Setting", false), "Setting");
    EXPECT_EQ(ScrambleRelayName("", true), "");
}

TEST(ProxyRelay, RelayListLines)
{
    const struct {
        const char* line;
        uint32_t port;
        const char* relay;
        bool end;
    } cases[] = {
        {"10.0.0.1;4001;4002", 4002, "10.0.0.1", false},
        {"10.0.0.1;4001;4002", 4001, "10.0.0.1", false},
        {"10.0.0.1;4001;4002", 4003, "", false},
        {"10.0.0.1; 4002 ", 4002, "10.0.0.1", false},
        {"10.0.0.1;40020", 4002, "", false},
        {"10.0.0.1;x4002", 4002, "", false},
        {"10.0.0.1", 4002, "", false},
        {"4002;4002", 4002, "4002", false},
        {";4002", 4002, "", true},
        {"10.0.0.1;;4002", 4002, "10.0.0.1", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        bool end = !c.end;
        EXPECT_EQ(RelayOfListLine(c.line, c.port, &end), c.relay);
        EXPECT_EQ(end, c.end);
    }
}

TEST(ProxyRelay, ListsAreSearchedUntilTheFirstEmptyValueOrRelay)
{
    CFakeProfile language;
    CFakeProfile file;
    CRelaySettings settings(language, file);
    language.WriteString("TavryProxy", "1", "10.9.9.9;5000");
    language.WriteString("TavryProxy", "2", "10.0.0.1;4001;4002");
    language.WriteString("TavryProxy", "4", "10.0.0.4;6000");   // after the gap at "3": never read
    language.WriteString("TavryProxy", "499", "10.0.0.5;7000");
    EXPECT_EQ(settings.RelayForPort(4002), "10.0.0.1");
    EXPECT_EQ(settings.RelayForPort(5000), "10.9.9.9");
    EXPECT_EQ(settings.RelayForPort(6000), "");

    language.WriteString("TavryProxy", "2", ";4002");
    EXPECT_EQ(settings.RelayForPort(4002), "");

    CFakeProfile full;
    CRelaySettings fullSettings(full, file);
    for (int key = 1; key <= 499; ++key)
        full.WriteString("TavryProxy", std::to_string(key), "10.0.0.9;" + std::to_string(10000 + key));
    EXPECT_EQ(fullSettings.RelayForPort(10499), "10.0.0.9");
}

TEST(ProxyRelay, LanguageFileValuesAndDefaults)
{
    CFakeProfile language;
    CFakeProfile file;
    CRelaySettings settings(language, file);
    EXPECT_EQ(settings.RelayPort(), 80);
    EXPECT_EQ(settings.RelayUser(), "");
    EXPECT_EQ(settings.FirewallRelay(), "");
    language.WriteString("TavryProxy", "Port", "1080");
    language.WriteString("TavryProxy", "TavryUser", std::string(70, 'u'));
    language.WriteString("TavryProxy", "TavryPwd", "pw");
    language.WriteString("TavryProxy", "80PortIP", std::string(45, '1'));
    EXPECT_EQ(settings.RelayPort(), 1080);
    EXPECT_EQ(settings.RelayUser(), std::string(63, 'u'));
    EXPECT_EQ(settings.RelayPassword(), "pw");
    EXPECT_EQ(settings.FirewallRelay(), std::string(39, '1'));
}

TEST(ProxyRelay, RelayUseSwitchAndMarksUseScrambledNames)
{
    CFakeProfile language;
    CFakeProfile file;
    CRelaySettings settings(language, file);
    EXPECT_TRUE(settings.Encrypt());
    EXPECT_TRUE(settings.GetRelayUse());   // missing: written as on
    EXPECT_EQ(file.Value(Scrambled("Setting"), Scrambled("UseTavryNet")), "1");
    settings.SetRelayUse(false);
    EXPECT_FALSE(settings.GetRelayUse());
    file.WriteString(Scrambled("Setting"), Scrambled("UseTavryNet"), "7");
    EXPECT_TRUE(settings.GetRelayUse());

    EXPECT_FALSE(settings.IsServerMarked(kHost, 4001));
    settings.MarkServer(kHost, 4001, true);
    EXPECT_EQ(file.Value(Scrambled("4001"), Scrambled(kHost)), "1");
    EXPECT_TRUE(settings.IsServerMarked(kHost, 4001));
    EXPECT_FALSE(settings.IsServerMarked(kHost, 4002));
    settings.MarkServer(kHost, 4001, false);
    EXPECT_FALSE(file.Has(Scrambled("4001"), Scrambled(kHost)));
    EXPECT_FALSE(settings.IsServerMarked("", 4001));

    // [Debug] "Encrypt" 0: plain names.
    CFakeProfile plainFile;
    plainFile.WriteString("Debug", "Encrypt", "0");
    plainFile.WriteString("Debug", "log", "1");
    CRelaySettings plain(language, plainFile);
    EXPECT_FALSE(plain.Encrypt());
    EXPECT_TRUE(plain.LogEnabled());
    EXPECT_FALSE(settings.LogEnabled());
    plain.MarkServer(kHost, 4001, true);
    EXPECT_EQ(plainFile.Value("4001", kHost), "1");
}

TEST(ProxyRelay, EnvironmentFromTheRegistry)
{
    const struct {
        const char* name;
        std::function<void(CFakeValues& share, CFakeValues& proxy)> setup;
        const char* installPath;
        bool firewall;
        bool otherProxy;
    } cases[] = {
        {"nothing set", nullptr, "", false, false},
        {"path without a backslash",
         [](CFakeValues& s, CFakeValues&) { s.String("Path", "C:\\Quorvintel").Dword("Use80PortSvr", 1); },
         "C:\\Quorvintel\\", true, false},
        {"path with a backslash", [](CFakeValues& s, CFakeValues& p) { s.String("Path", "C:\\Q\\"); p.Dword("ProxyEnable", 2); },
         "C:\\Q\\", false, true},
        {"path beyond 259 characters", [](CFakeValues& s, CFakeValues&) { s.String("Path", std::string(260, 'p')); },
         "", false, false},
        {"switches off", [](CFakeValues& s, CFakeValues& p) { s.Dword("Use80PortSvr", 0); p.Dword("ProxyEnable", 0); },
         "", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CFakeValues share;
        CFakeValues proxy;
        if (c.setup)
            c.setup(share, proxy);
        const RelayEnvironment env = ReadRelayEnvironment(share, proxy);
        EXPECT_EQ(env.installPath, c.installPath);
        EXPECT_EQ(env.firewallMode, c.firewall);
        EXPECT_EQ(env.otherProxy, c.otherProxy);
    }
    EXPECT_EQ(RelayFilePath("C:\\Q\\", kRelaySettingsFile), "C:\\Q\\TavryProxy.dat");
    EXPECT_EQ(RelayFilePath("", kRelayLanguageFile), "");

    // Without an install path the files are not there: defaults, nothing written.
    CNullProfileStore none;
    CRelaySettings settings(none, none);
    EXPECT_EQ(settings.RelayPort(), 80);
    EXPECT_TRUE(settings.GetRelayUse());
    EXPECT_FALSE(settings.IsServerMarked(kHost, 4001));
    settings.MarkServer(kHost, 4001, true);
    EXPECT_FALSE(settings.IsServerMarked(kHost, 4001));
}

// ---- The connect decision tree --------------------------------------------------------------

TEST(ProxyRelay, ConnectDecisionTable)
{
    const PlanCase cases[] = {
        {"1: another proxy", true, false, 4001, 8001, nullptr, {kOk}, {"direct 10.1.1.1:4001 ask", "finished 1"},
         kConnOtherProxy, false,
         {kCreate, "[连接]当前使用了其它代理服务器，互联代理不启用。", kDirect, kDirectOk}},
        {"2: firewall without its relay", false, true, 4001, 8001, nullptr, {kOk},
         {"direct 10.1.1.1:4001 ask", "finished 1"}, kConnFirewallNoRelay, false,
         {kCreate, kNoOther, "[连接]当前使用了突破防火墙功能，Port=4001",
          "[连接]当前使用了破突防火墙功能，但配置中没有找到对应的互联代理IP地址", kDirect, kDirectOk}},
        {"3: firewall, server on port 80", false, true, 80, 0,
         [](CFakeProfile& l, CRelaySettings&) { l.WriteString("TavryProxy", "80PortIP", kRelay); }, {kOk, kOk},
         {"relay 10.0.0.1:80 quiet +callerAsk", "socks5 10.1.1.1:80", "finished 1 +timeout"}, kConnFirewallPort80, true,
         {"[连接]客户端创建连接，10.1.1.1:80", kNoOther, "[连接]当前使用了突破防火墙功能，Port=80",
          "[连接]找到互联代理的IP地址：10.0.0.1", "[连接]当前使用了破突防火墙功能，但GameList中配置还是使用了80端口",
          kRelayTry, kRelayOk, kSocksOk, "[连接]当前使用互联代理连接 GSIP:10.1.1.1:80 WPIP:10.0.0.1:80"}},
        {"4: firewall, P80 header", false, true, 4001, 8001,
         [](CFakeProfile& l, CRelaySettings&) { l.WriteString("TavryProxy", "80PortIP", kRelay); }, {kOk, kOk, kOk},
         {"relay 10.0.0.1:80 quiet +callerAsk", "socks5 10.1.1.1:8001", "header 4001 +timeout", "finished 1"}, kConnFirewallHeader,
         true,
         {kCreate, kNoOther, "[连接]当前使用了突破防火墙功能，Port=4001", "[连接]找到互联代理的IP地址：10.0.0.1",
          "[连接]当前使用了破突防火墙功能，GameList已配置成使用P80服务, Port:4001", kRelayTry, kRelayOk, kSocksOk,
          kHeader, kViaRelay}},
        {"4: firewall without a P80 port: no header", false, true, 4001, 0,
         [](CFakeProfile& l, CRelaySettings&) { l.WriteString("TavryProxy", "80PortIP", kRelay); }, {kOk, kOk},
         {"relay 10.0.0.1:80 quiet +callerAsk", "socks5 10.1.1.1:4001", "finished 1 +timeout"}, kConnFirewallHeader, true,
         {kCreate, kNoOther, "[连接]当前使用了突破防火墙功能，Port=4001", "[连接]找到互联代理的IP地址：10.0.0.1",
          "[连接]当前使用了破突防火墙功能，GameList已配置成使用P80服务, Port:4001", kRelayTry, kRelayOk, kSocksOk,
          kViaRelay}},
        {"5: relay switched off", false, false, 4001, 8001,
         [](CFakeProfile&, CRelaySettings& s) { s.SetRelayUse(false); }, {kOk},
         {"direct 10.1.1.1:4001 ask", "finished 1"}, kConnRelayDisabled, false,
         {kCreate, kNoOther, kNoFirewall, "[连接]当前手动禁用了互联代理功能", kDirect, kDirectOk}},
        {"6: no relay for the port", false, false, 4001, 8001,
         [](CFakeProfile& l, CRelaySettings&) { l.WriteString("TavryProxy", "1", "10.0.0.1;4002"); }, {kFail},
         {"direct 10.1.1.1:4001 ask", "finished 0"}, kConnNoRelayForPort, false,
         {kCreate, kNoOther, kNoFirewall, kUseOn, "[连接]当前游戏没有配置支持互联代理，10.1.1.1:4001", kDirect,
          kDirectFailed}},
        {"7: not marked, direct works", false, false, 4001, 8001, ListRelay, {kOk},
         {"direct 10.1.1.1:4001 quiet +callerAsk", "finished 1"}, kConnNotMarked, false,
         Join(kToListed, {kNotMarked, kDirect, kDirectOk})},
        {"7: not marked, direct cancelled", false, false, 4001, 8001, ListRelay, {kCancel},
         {"direct 10.1.1.1:4001 quiet +callerAsk", "finished 0"}, kConnNotMarked, false,
         Join(kToListed, {kNotMarked, kDirect, kDirectFailed, "[连接]手动取消了与游戏服务器直连操作，10.1.1.1:4001"})},
        {"8: not marked, direct failed, relay works", false, false, 4001, 8001, ListRelay, {kFail, kOk, kOk, kOk},
         {"direct 10.1.1.1:4001 quiet +callerAsk", "relay 10.0.0.1:80 quiet +callerAsk +clear", "socks5 10.1.1.1:8001",
          "header 4001 +timeout", "finished 1"},
         kConnDirectFailed, true,
         Join(kToListed, {kNotMarked, kDirect, kDirectFailed,
                          "[连接]直连游戏服务器失败，使用互联代理再次尝试连接，10.1.1.1:4001", kRelayTry, kRelayOk,
                          kSocksOk, kHeader, kViaRelay})},
        {"9: marked", false, false, 4001, 8001, ListAndMark, {kOk, kOk, kOk},
         {"relay 10.0.0.1:80 quiet +callerAsk", "socks5 10.1.1.1:8001", "header 4001 +timeout", "finished 1"}, kConnMarked, true,
         Join(kToListed, {kMarked, kRelayTry, kRelayOk, kSocksOk, kHeader, kViaRelay})},
        {"10: relay unreachable", false, false, 4001, 8001, ListAndMark, {kFail, kOk},
         {"relay 10.0.0.1:80 quiet +callerAsk", "direct 10.1.1.1:4001 ask +clear +restore", "finished 1"}, kConnRelayUnreachable,
         false,
         Join(kToListed,
              {kMarked, kRelayTry, "[连接]连接互联代理服务器失败切回直连方式 10.0.0.1:80", kDirect, kDirectOk})},
        {"10: relay unreachable, direct fails too", false, false, 4001, 8001, ListAndMark, {kFail, kFail},
         {"relay 10.0.0.1:80 quiet +callerAsk", "direct 10.1.1.1:4001 ask +clear +restore", "finished 0"}, kConnRelayUnreachable,
         false,
         Join(kToListed,
              {kMarked, kRelayTry, "[连接]连接互联代理服务器失败切回直连方式 10.0.0.1:80", kDirect, kDirectFailed})},
        {"relay connect cancelled", false, false, 4001, 8001, ListAndMark, {kCancel},
         {"relay 10.0.0.1:80 quiet +callerAsk", "finished 0 +restore"}, kConnMarked, false,
         Join(kToListed, {kMarked, kRelayTry, "[连接]手动取消了与互联代理服务器连接操作，10.0.0.1:80"})},
        {"11: SOCKS5 refused", false, false, 4001, 8001, ListAndMark, {kOk, kFail, kOk},
         {"relay 10.0.0.1:80 quiet +callerAsk", "socks5 10.1.1.1:8001", "direct 10.1.1.1:4001 ask +clear +restore", "finished 1"},
         kConnSocksFailed, false,
         Join(kToListed, {kMarked, kRelayTry, kRelayOk, "[连接]Socket5代理协议发送失败切回直连方式 10.0.0.1:80",
                          kDirect, kDirectOk})},
        {"SOCKS5 cancelled", false, false, 4001, 8001, ListAndMark, {kOk, kCancel},
         {"relay 10.0.0.1:80 quiet +callerAsk", "socks5 10.1.1.1:8001", "finished 0 +restore"}, kConnMarked, false,
         Join(kToListed,
              {kMarked, kRelayTry, kRelayOk, "[连接]手动取消了向互联代理服务发送Socket5消息操作，10.0.0.1:80"})},
        {"port header not sent", false, false, 4001, 8001, ListAndMark, {kOk, kOk, kFail},
         {"relay 10.0.0.1:80 quiet +callerAsk", "socks5 10.1.1.1:8001", "header 4001 +timeout", "finished 0"}, kConnMarked, false,
         Join(kToListed, {kMarked, kRelayTry, kRelayOk, kSocksOk})},
    };
    for (const PlanCase& c : cases) {
        SCOPED_TRACE(c.name);
        CFakeProfile language;
        CFakeProfile file;
        CRelaySettings settings(language, file);
        if (c.setup)
            c.setup(language, settings);
        RelayConnectFacts facts;
        facts.otherProxy = c.otherProxy;
        facts.firewallMode = c.firewall;
        facts.relayPort = settings.RelayPort();
        std::vector<std::string> logs;
        CRelayConnectPlanner plan(settings, facts, kHost, c.port, true, c.p80Port,
                                  [&logs](const std::string& text) { logs.push_back(text); });
        std::vector<std::string> steps;
        size_t next = 0;
        while (steps.size() < 10) {
            steps.push_back(Describe(plan.Next()));
            if (plan.Next().step == RelayStep::kFinished || next >= c.outcomes.size())
                break;
            plan.Report(c.outcomes[next].ok, c.outcomes[next].cancelled);
            ++next;
        }
        EXPECT_EQ(next, c.outcomes.size());
        EXPECT_EQ(steps, c.steps);
        EXPECT_EQ(plan.ConnType(), c.connType);
        EXPECT_EQ(plan.ViaRelay(), c.viaRelay);
        EXPECT_EQ(logs, c.logs);
    }
}

TEST(ProxyRelay, SocksExchangeUsesTheRelaysCredentials)
{
    CFakeProfile language;
    CFakeProfile file;
    CRelaySettings settings(language, file);
    ListAndMark(language, settings);
    RelayConnectFacts facts;
    facts.relayUser = "tavry";
    facts.relayPassword = "pw";
    CRelayConnectPlanner plan(settings, facts, kHost, 4001, true, 8001, nullptr);
    plan.Report(true, false);
    ASSERT_EQ(plan.Next().step, RelayStep::kSocks5Exchange);
    const SocksRequest request = plan.Socks5Request();
    EXPECT_EQ(request.version, 5);
    EXPECT_EQ(request.host, kHost);
    EXPECT_EQ(request.port, 8001);
    EXPECT_EQ(request.user, "tavry");
    EXPECT_EQ(request.password, "pw");
    EXPECT_EQ(plan.RelayHost(), kRelay);
}

// ---- Samples, switching and statistics ---------------------------------------------------------

namespace {

class CRecordingActions : public CRelaySpeedActions
{
public:
    void MarkServer(bool mark) override { calls.push_back(mark ? "mark" : "unmark"); }
    void StartTestThread() override { calls.push_back("start"); }
    void StopTestThread() override { calls.push_back("stop"); }
    void SendStatistics(const RelayStatisticsBody& body) override
    {
        calls.push_back("statistics " + Hex(BuildRelayStatistics(body)));
    }
    std::vector<std::string> Take()
    {
        std::vector<std::string> out;
        out.swap(calls);
        return out;
    }
    std::vector<std::string> calls;
};

class RelaySpeed : public ::testing::Test
{
protected:
    // Parameters: Valve 30, RoomAvgCnt 2, GSAvgCnt 1, GSTestTick 30, nSendStat 300.
    void Connect(uint32_t connType, bool viaRelay)
    {
        state.SetConnection(kHost, 4001, connType, viaRelay);
        state.SetParameters(1, 30, 2, 1, 30, 300, RelayDebugOverrides(), actions);
        logs.clear();
        actions.Take();
    }
    // Past the three samples that never count.
    void SkipIgnoredSamples()
    {
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(state.OnRoomSample(500, 0, actions), -1);
        logs.clear();
    }

    std::vector<std::string> logs;
    CRelaySpeedState state{[this](const std::string& text) { logs.push_back(text); }};
    CRecordingActions actions;
};

}  // namespace

TEST(ProxyRelaySamples, AveragesAndReplacement)
{
    CRelaySampleList list;
    EXPECT_EQ(list.Average(1), -1);
    list.Add(10, 3);
    EXPECT_EQ(list.Average(2), -1);
    EXPECT_EQ(list.Average(1), 10);
    list.Add(21, 3);
    EXPECT_EQ(list.Average(2), 15);   // plain mean of two
    list.Add(90, 3);
    EXPECT_EQ(list.Average(3), 21);   // 10 and 90 dropped
    list.Add(40, 3);                  // replaces the oldest, 10
    EXPECT_EQ(list.Size(), 3u);
    EXPECT_EQ(list.Average(3), 40);   // 21, 40, 90: 21 and 90 dropped
    list.Add(-5, 3);
    list.Add(7, 0);
    EXPECT_EQ(list.Size(), 3u);
    EXPECT_EQ(list.Average(4), -1);

    CRelaySampleList four;
    for (const int v : {1, 2, 3, 10})
        four.Add(v, 4);
    EXPECT_EQ(four.Average(4), 2);    // (16 - 1 - 10) / 2
}

TEST_F(RelaySpeed, FirstThreeRoomSamplesNeverCount)
{
    Connect(kConnMarked, true);
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(state.OnRoomSample(40 + i, 0, actions), -1);
    EXPECT_EQ(state.OnRoomSample(50, 0, actions), -1);   // one sample of the two averaged
    EXPECT_EQ(state.OnRoomSample(70, 0, actions), 60);
    EXPECT_EQ(state.RoomSamples().Size(), 2u);
    EXPECT_EQ(logs, (std::vector<std::string>{
                        "[切换]第[1]个Room单次测速传入值 = 41，忽略", "[切换]第[2]个Room单次测速传入值 = 42，忽略",
                        "[切换]第[3]个Room单次测速传入值 = 43，忽略", "[切换]第[4]个Room单次测速传入值 = 50",
                        "[切换]还未计算出Room测速结果", "[切换]第[5]个Room单次测速传入值 = 70",
                        "[切换]互联方式 - Room测速值:60", "[切换]互联方式 - 还未计算出直连测速结果"}));
}

TEST_F(RelaySpeed, ViaRelayTheServerFollowsTheFasterWay)
{
    Connect(kConnMarked, true);
    SkipIgnoredSamples();
    state.OnTestMeasured(true, 20);   // the direct way: 20
    EXPECT_EQ(state.OnRoomSample(10, 0, actions), -1);
    EXPECT_EQ(state.OnRoomSample(10, 0, actions), 10);   // relay 10 < direct 20
    EXPECT_EQ(actions.Take(), (std::vector<std::string>{"mark"}));
    EXPECT_EQ(state.OnRoomSample(10, 0, actions), 10);
    EXPECT_TRUE(actions.Take().empty());                  // already moved to the relay
    EXPECT_EQ(state.OnRoomSample(50, 0, actions), 30);    // relay 30 >= direct 20
    EXPECT_EQ(actions.Take(), (std::vector<std::string>{"unmark"}));
    EXPECT_EQ(state.LastSwitch(), 2);
    EXPECT_NE(std::find(logs.begin(), logs.end(), "[切换]互联方式 - 将10.1.1.1:4001切换为使用互联代理"), logs.end());
    EXPECT_NE(std::find(logs.begin(), logs.end(), "[切换]互联方式 - 将10.1.1.1:4001切换为使用直连GS"), logs.end());
    EXPECT_NE(std::find(logs.begin(), logs.end(), "[线程]直连GS单次返回值 = 20"), logs.end());
}

TEST_F(RelaySpeed, AfterAFailedDirectConnectTheRelayStays)
{
    Connect(kConnDirectFailed, true);
    SkipIgnoredSamples();
    state.OnTestMeasured(true, 5);
    state.OnRoomSample(100, 0, actions);
    EXPECT_EQ(state.OnRoomSample(100, 0, actions), 100);
    EXPECT_TRUE(actions.Take().empty());
}

TEST_F(RelaySpeed, StatisticsGoOutEveryInterval)
{
    Connect(kConnMarked, true);
    SkipIgnoredSamples();
    state.OnTestMeasured(true, 70000);   // beyond the 16-bit field: sent as 65535
    state.OnRoomSample(40, 1000, actions);
    state.OnRoomSample(40, 1000, actions);   // starts the clock
    state.OnRoomSample(40, 1299, actions);
    EXPECT_TRUE(actions.Take() == std::vector<std::string>{"mark"});
    state.OnRoomSample(40, 1300, actions);
    EXPECT_EQ(actions.Take(), (std::vector<std::string>{"statistics A9 01 00 00 08 00 00 00 28 00 FF FF 09 00 00 00"}));
    EXPECT_NE(std::find(logs.begin(), logs.end(),
                        "[切换]向游戏服务器发送了统计消息 wTavryNetSpeed=40, wDCSpeed=65535, nConnType=9"),
              logs.end());
}

TEST_F(RelaySpeed, DirectSlowRoomTriesTheRelayOnce)
{
    Connect(kConnNotMarked, false);
    SkipIgnoredSamples();
    state.OnRoomSample(10, 0, actions);
    EXPECT_EQ(state.OnRoomSample(20, 0, actions), 15);   // below Valve 30
    EXPECT_EQ(actions.Take(), (std::vector<std::string>{"unmark"}));
    logs.clear();

    EXPECT_EQ(state.OnRoomSample(80, 0, actions), 50);   // above: the relay is measured first
    EXPECT_EQ(actions.Take(), (std::vector<std::string>{"start"}));
    EXPECT_TRUE(state.FirstDecisionPending());
    state.OnTestMeasured(false, 20);                      // the relay: 20
    EXPECT_EQ(state.OnRoomSample(80, 0, actions), 80);
    EXPECT_EQ(actions.Take(), (std::vector<std::string>{"start", "mark", "stop"}));
    EXPECT_FALSE(state.FirstDecisionPending());
    EXPECT_EQ(state.ConnType(), kConnNotMarked);
    EXPECT_EQ(logs, (std::vector<std::string>{
                        "[切换]第[6]个Room单次测速传入值 = 80", "[切换]直连方式 - Room测速值:50 阀值:30",
                        "[切换]直连方式 - 速度大于阀值", "[切换]直连方式 - 还未计算出互联代理测速结果",
                        "[线程]互联GS单次返回值 = 20", "[切换]第[7]个Room单次测速传入值 = 80",
                        "[切换]直连方式 - Room测速值:80 阀值:30", "[切换]直连方式 - 速度大于阀值",
                        "[切换]直连方式 - 互联代理后台测速结果:20",
                        "[切换]直连方式 - 经过与互联代理的测速发现互联方式较快，可以启用切换判断",
                        "[切换]直连方式 - 将10.1.1.1:4001切换为使用互联代理"}));
}

TEST_F(RelaySpeed, DirectWhenTheRelayIsSlowerSwitchingStops)
{
    Connect(kConnMarked, false);
    SkipIgnoredSamples();
    state.OnTestMeasured(false, 90);
    state.OnRoomSample(40, 0, actions);
    EXPECT_EQ(state.OnRoomSample(40, 0, actions), 40);
    EXPECT_EQ(actions.Take(), (std::vector<std::string>{"start", "stop"}));
    EXPECT_EQ(state.ConnType(), kConnRelaySlower);
    EXPECT_EQ(logs.back(), "[切换]直连方式 - 互联代理比直连方式要慢不再尝试切换到互联代理的操作");
    // Type 12 does not switch: the room average is all that is left.
    EXPECT_EQ(state.OnRoomSample(10, 0, actions), 25);
    EXPECT_TRUE(actions.Take().empty());
}

TEST_F(RelaySpeed, ParametersAreClampedAndOverridden)
{
    state.SetConnection(kHost, 4001, kConnMarked, true);
    state.SetParameters(1, 5, 0, -3, 1, 10, RelayDebugOverrides(), actions);
    EXPECT_EQ(state.Valve(), 30);
    EXPECT_EQ(state.RoomAvgCnt(), 1);
    EXPECT_EQ(state.GSAvgCnt(), 1);
    EXPECT_EQ(state.GSTestTick(), 30);
    EXPECT_EQ(state.SendStat(), 300);
    EXPECT_EQ(actions.Take(), (std::vector<std::string>{"stop", "start"}));
    EXPECT_EQ(logs.back(), "[设置]测速参数：Valve=30, RoomAvgCnt=1, GSAvgCnt=1, GSTestTick=30, nSendStat=300");

    logs.clear();
    RelayDebugOverrides overrides;
    overrides.valve = 7;
    overrides.gsTick = 5;
    state.SetParameters(1, 50, 4, 4, 60, 600, overrides, actions);
    EXPECT_EQ(state.Valve(), 7);
    EXPECT_EQ(state.GSTestTick(), 5);
    EXPECT_EQ(state.RoomAvgCnt(), 4);
    EXPECT_EQ(logs, (std::vector<std::string>{
                        "[设置]Room设置测速参数", "[调试]重新设置阀值", "[调试]重新设置直连测速间隔",
                        "[设置]测速参数：Valve=7, RoomAvgCnt=4, GSAvgCnt=4, GSTestTick=5, nSendStat=600"}));
}

TEST_F(RelaySpeed, DisabledByTheServerOrNotApplicable)
{
    Connect(kConnMarked, true);
    state.SetParameters(0, 50, 4, 4, 60, 600, RelayDebugOverrides(), actions);
    EXPECT_EQ(actions.Take(), (std::vector<std::string>{"stop", "unmark"}));
    EXPECT_EQ(state.Valve(), -1);
    EXPECT_EQ(state.OnRoomSample(40, 0, actions), -1);
    EXPECT_EQ(logs.back(), "[设置]游戏服务器设置了下次登录禁用互联代理标志，则本次不进行任何测速操作");

    for (const uint32_t type : {kConnOtherProxy, kConnRelayDisabled}) {
        CRelaySpeedState other(nullptr);
        other.SetConnection(kHost, 4001, type, false);
        other.SetParameters(1, 50, 1, 1, 60, 600, RelayDebugOverrides(), actions);
        EXPECT_EQ(other.Valve(), -1);
        EXPECT_EQ(other.OnRoomSample(40, 0, actions), -1);
    }
    CRelaySpeedState noHost(nullptr);
    noHost.SetConnection("", 4001, kConnMarked, true);
    noHost.SetParameters(1, 50, 1, 1, 60, 600, RelayDebugOverrides(), actions);
    EXPECT_TRUE(actions.Take().empty());
}

TEST_F(RelaySpeed, TestFailuresAreLogged)
{
    Connect(kConnMarked, true);
    state.OnTestFailed(true, RelayTestFailure::kConnect);
    state.OnTestFailed(false, RelayTestFailure::kSecondMessage);
    EXPECT_EQ(logs, (std::vector<std::string>{"[线程]与游戏服务器直连测速失败 10.1.1.1:4001",
                                              "[线程]发送第二次互联测速消息失败 10.1.1.1:4001"}));
}

// ---- Messages and log lines ---------------------------------------------------------------------

TEST(ProxyRelayMessages, BytesOnTheWire)
{
    EXPECT_EQ(Hex(BuildRelayPortHeader(4001)), "63 06 00 00 08 00 00 00 A1 0F 00 00 00 00 00 00");
    EXPECT_EQ(Hex(BuildRelaySpeedTest(7, 0x12345678)), "10 01 00 00 08 00 00 00 07 00 00 00 78 56 34 12");
    EXPECT_EQ(Hex(BuildRelayStatistics(MakeRelayStatistics(-4, 35, 9))),
              "A9 01 00 00 08 00 00 00 00 00 23 00 09 00 00 00");
}

TEST(ProxyRelayMessages, SpeedTestEchoAndLatency)
{
    const std::vector<uint8_t> good = Bytes({0x10, 1, 0, 0x80, 8, 0, 0, 0, 1, 0, 0, 0, 0x78, 0x56, 0x34, 0x12, 7, 0, 0, 0});
    const struct {
        const char* name;
        std::vector<uint8_t> message;
        bool ok;
    } echoes[] = {
        {"reply", good, true},
        {"body of 4 bytes", Bytes({0x10, 1, 0, 0x80, 4, 0, 0, 0, 1, 0, 0, 0, 0x78, 0x56, 0x34, 0x12}), true},
        {"empty body", Bytes({0x10, 1, 0, 0x80, 0, 0, 0, 0, 1, 0, 0, 0}), false},
        {"length beyond the message", Bytes({0x10, 1, 0, 0x80, 9, 0, 0, 0, 1, 0, 0, 0, 0x78, 0x56, 0x34, 0x12}), false},
        {"another id", Bytes({0x11, 1, 0, 0x80, 4, 0, 0, 0, 1, 0, 0, 0, 0x78, 0x56, 0x34, 0x12}), false},
        {"request id", Bytes({0x10, 1, 0, 0, 4, 0, 0, 0, 0x78, 0x56, 0x34, 0x12, 0, 0, 0, 0}), false},
    };
    for (const auto& c : echoes) {
        SCOPED_TRACE(c.name);
        uint32_t tick = 0;
        EXPECT_EQ(ReadSpeedTestEcho(c.message.data(), c.message.size(), tick), c.ok);
        if (c.ok) {
            EXPECT_EQ(tick, 0x12345678u);
        }
    }
    uint32_t tick = 0;
    EXPECT_FALSE(ReadSpeedTestEcho(nullptr, 0, tick));

    const struct {
        uint32_t now;
        uint32_t echoed;
        int latency;
    } latencies[] = {
        {1000, 1000, 1}, {1000, 995, 1}, {1000, 900, 10}, {1000, 1100, 10},
        {200000, 0, 9999}, {5, 0xFFFFFFF6u, 1}, {100, 0xFFFFFF9Cu, 20}, {0x80000000u, 0, 9999},
    };
    for (const auto& c : latencies)
        EXPECT_EQ(SpeedTestLatency(c.now, c.echoed), c.latency) << c.now << " " << c.echoed;
}

TEST(ProxyRelayMessages, LogLines)
{
    std::tm t = {};
    t.tm_year = 124;
    t.tm_mon = 4;
    t.tm_mday = 6;
    t.tm_hour = 7;
    t.tm_min = 8;
    t.tm_sec = 9;
    EXPECT_EQ(FormatRelayLogLine(t, 123, "[连接]收到OnClose消息网络断开"), "24/05/06 07:08:09   123 [连接]收到OnClose消息网络断开\n");
    EXPECT_EQ(FormatRelayLogLine(t, 123456, "x"), "24/05/06 07:08:09 123456 x\n");
    const std::string line = FormatRelayLogLine(t, 1, std::string(5000, 'z'));
    EXPECT_EQ(line.size(), 17u + 1 + 5 + 1 + 1023 + 1);
    EXPECT_EQ(RelayLogRule(), std::string(85, '-') + "\n");
    EXPECT_TRUE(IsSwitchableConnType(kConnFirewallPort80));
    EXPECT_TRUE(IsSwitchableConnType(kConnMarked));
    EXPECT_FALSE(IsSwitchableConnType(kConnRelaySlower));
    EXPECT_FALSE(IsSwitchableConnType(kConnRelayUnreachable));
}
