// The client's proxy logic (runtime/proxy) against the stand-ins on
// loopback: each handshake is driven the way the game connection drives it,
// with reads of exactly the count the logic asks for, and the bytes that
// follow must be the target's.
#include <gtest/gtest.h>

#include <functional>

#include "HttpConnectProxy.h"
#include "HttpTunnelRelay.h"
#include "HttpTunnelText.h"
#include "ProxyTestKit.h"
#include "RelayDecision.h"
#include "RelayProxy.h"
#include "SocksHandshake.h"
#include "SocksProxy.h"

using namespace proxies;
using namespace proxies::test;

namespace {

std::string Text(const std::vector<uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

// Runs the handshake on a connected client; kInProgress when the proxy
// closed before its reply was complete.
SocksVerdict RunHandshake(TestClient& client, const SocksRequest& request)
{
    CSocksHandshake handshake(request);
    while (!handshake.Finished()) {
        const std::vector<uint8_t> out = handshake.TakeOutgoing();
        if (!out.empty() && !client.Send(Text(out)))
            return SocksVerdict::kInProgress;
        const size_t wanted = handshake.BytesWanted();
        const std::string reply = client.Read(wanted, 3000);
        if (reply.size() != wanted)
            return SocksVerdict::kInProgress;
        handshake.Receive(reinterpret_cast<const uint8_t*>(reply.data()), wanted);
    }
    return handshake.Verdict();
}

// Reads one head the way the tunnel does; "" when it failed or the peer closed.
std::string ReadOneHead(TestClient& client, bool* tooLong = nullptr)
{
    CHttpHeadReader reader;
    while (const size_t wanted = reader.BytesWanted()) {
        const std::string got = client.Read(wanted, 3000);
        if (got.size() != wanted)
            return std::string();
        reader.Receive(got.data(), wanted);
    }
    if (tooLong)
        *tooLong = reader.Failed();
    return reader.Complete() ? reader.Head() : std::string();
}

Ipv4Endpoint Loopback(uint16_t port)
{
    Ipv4Endpoint e;
    e.address[0] = 127;
    e.address[3] = 1;
    e.port = port;
    return e;
}

SocksRequest Request(int version, const std::string& host, uint16_t port)
{
    SocksRequest r;
    r.version = version;
    r.host = host;
    r.port = port;
    r.localUser = "player";
    return r;
}

class ClientLogic : public ::testing::Test
{
protected:
    std::unique_ptr<RunningServer> Socks(SocksOptions options, const char* name = "socks")
    {
        options.handshakeTimeoutMs = 2000;
        auto proxy = std::make_unique<RunningServer>(std::make_unique<SocksProxy>(options, name));
        EXPECT_TRUE(proxy->ok());
        return proxy;
    }

    void ExpectEcho(TestClient& client, const std::string& text = "ping")
    {
        ASSERT_TRUE(client.Send(text));
        EXPECT_EQ(client.Read(text.size()), text);
    }

    EchoService& echo() { return static_cast<EchoService&>(target_.service()); }

    RunningServer target_{std::make_unique<EchoService>()};
};

}  // namespace

TEST_F(ClientLogic, SocksHandshakesAgainstEveryProxyAnswer)
{
    const uint16_t port = target_.port();
    const struct {
        const char* name;
        std::function<void(SocksOptions&)> configure;
        SocksRequest request;
        SocksVerdict verdict;
    } cases[] = {
        {"SOCKS4", nullptr, Request(4, "127.0.0.1", port), SocksVerdict::kGranted},
        {"SOCKS4a", nullptr, Request(4, "localhost", port), SocksVerdict::kGranted},
        {"SOCKS4 refused", [](SocksOptions& o) { o.refuse = true; }, Request(4, "127.0.0.1", port),
         SocksVerdict::kRefused},
        {"SOCKS5 without login", nullptr, Request(5, "127.0.0.1", port), SocksVerdict::kGranted},
        {"SOCKS5 by name", nullptr, Request(5, "localhost", port), SocksVerdict::kGranted},
        {"SOCKS5 refused", [](SocksOptions& o) { o.refuse = true; }, Request(5, "127.0.0.1", port),
         SocksVerdict::kRefused},
        {"SOCKS5 bound name",
         [](SocksOptions& o) {
             o.bound = BoundAddress::kName;
             o.boundName = std::string(255, 'b');
         },
         Request(5, "127.0.0.1", port), SocksVerdict::kGranted},
        {"SOCKS5 bound IPv6", [](SocksOptions& o) { o.bound = BoundAddress::kIPv6; }, Request(5, "127.0.0.1", port),
         SocksVerdict::kGranted},
        {"SOCKS5 no acceptable method", [](SocksOptions& o) { o.forcedMethod = 255; },
         Request(5, "127.0.0.1", port), SocksVerdict::kNoAcceptableMethod},
        {"SOCKS5 short reply", [](SocksOptions& o) { o.shortReply = true; }, Request(5, "127.0.0.1", port),
         SocksVerdict::kInProgress},
        {"SOCKS4 short reply", [](SocksOptions& o) { o.shortReply = true; }, Request(4, "127.0.0.1", port),
         SocksVerdict::kInProgress},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SocksOptions options;
        if (c.configure)
            c.configure(options);
        auto proxy = Socks(options);
        TestClient client(proxy->port());
        EXPECT_EQ(RunHandshake(client, c.request), c.verdict);
        // After a refusal the proxy closes; the rest of its reply is never read.
        if (c.verdict == SocksVerdict::kGranted)
            ExpectEcho(client);
    }
}

TEST_F(ClientLogic, Socks5LoginIsCheckedByTheProxy)
{
    SocksOptions options;
    options.requireLogin = true;
    options.user = std::string(63, 'u');
    options.password = std::string(63, 'p');
    auto proxy = Socks(options);
    SocksRequest request = Request(5, "127.0.0.1", target_.port());
    request.user = options.user;
    request.password = options.password;
    TestClient good(proxy->port());
    EXPECT_EQ(RunHandshake(good, request), SocksVerdict::kGranted);
    ExpectEcho(good);

    request.password = "wrong";
    TestClient bad(proxy->port());
    EXPECT_EQ(RunHandshake(bad, request), SocksVerdict::kBadCredentials);
    EXPECT_TRUE(bad.ClosedByPeer());
}

TEST_F(ClientLogic, RelayWithItsLoginPortHeaderAndSpeedTestBytes)
{
    SocksOptions options;
    options.user = "tavry";
    options.password = "pw";
    options.forward.target = Endpoint{"127.0.0.1", target_.port()};
    auto relay = Socks(RelayOptions(options), "relay");

    // The relay's SOCKS5 names the game server and its P80 port.
    SocksRequest request = Request(5, "gs.example", 8001);
    request.user = "tavry";
    request.password = "pw";
    TestClient client(relay->port());
    ASSERT_EQ(RunHandshake(client, request), SocksVerdict::kGranted);
    const std::string stream = Text(BuildRelayPortHeader(4001)) + Text(BuildRelaySpeedTest(0, 123456));
    ASSERT_TRUE(client.Send(stream));
    EXPECT_EQ(client.Read(stream.size()), stream);
    EXPECT_TRUE(relay->log().WaitFor("port header: server port 4001, value 0"));

    // Without the relay's login nothing passes.
    request.password = "";
    TestClient refused(relay->port());
    EXPECT_EQ(RunHandshake(refused, request), SocksVerdict::kBadCredentials);
}

TEST_F(ClientLogic, HttpConnectAndItsRefusals)
{
    const std::string auth = BuildProxyAuthorizationLine("alice", "secret");
    const struct {
        const char* name;
        int connectStatus;
        ReplyShape shape;
        std::string authLine;
        bool accepted;
        bool tooLong;
    } cases[] = {
        {"accepted", 0, ReplyShape::kWhole, auth, true, false},
        {"without authorisation: 407", 0, ReplyShape::kWhole, "", false, false},
        {"forbidden", 403, ReplyShape::kWhole, auth, false, false},
        {"head beyond 1024 bytes", 0, ReplyShape::kLong, auth, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HttpProxyOptions options;
        options.requireLogin = true;
        options.user = "alice";
        options.password = "secret";
        options.connectStatus = c.connectStatus;
        options.shape = c.shape;
        RunningServer proxy(std::make_unique<HttpConnectProxy>(options));
        CHttpTunnelExchange exchange(Loopback(0), nullptr, c.authLine, Loopback(target_.port()));
        TestClient client(proxy.port());
        ASSERT_TRUE(client.Send(exchange.ConnectRequest()));
        bool tooLong = false;
        const std::string head = ReadOneHead(client, &tooLong);
        EXPECT_EQ(tooLong, c.tooLong);
        EXPECT_EQ(CHttpTunnelExchange::IsConnectAccepted(head), c.accepted);
        if (c.accepted)
            ExpectEcho(client);
    }
}

// The tunnel as the connector runs it: GET leg (100 Continue, redirects)
// until opened, then the POST leg; the game's bytes go up the POST leg and
// come back down the GET leg.
class TunnelLogic : public ClientLogic
{
protected:
    // Opens the legs; false when the exchange failed.
    bool OpenLegs(CHttpTunnelExchange& exchange, std::unique_ptr<TestClient>& get, std::unique_ptr<TestClient>& post)
    {
        TunnelAnswer answer;
        do {
            get = std::make_unique<TestClient>(exchange.LegEndpoint().port);
            if (!get->Send(exchange.GetRequest()))
                return false;
            do {
                const std::string head = ReadOneHead(*get);
                if (head.empty())
                    return false;
                answer = exchange.OnGetAnswer(head);
            } while (answer == TunnelAnswer::kContinue);
        } while (answer == TunnelAnswer::kRedirected && exchange.MayRetry());
        if (answer != TunnelAnswer::kOpened)
            return false;
        post = std::make_unique<TestClient>(exchange.LegEndpoint().port);
        return post->Send(exchange.PostRequest());
    }

    std::unique_ptr<RunningServer> Relay(TunnelOptions options)
    {
        options.handshakeTimeoutMs = 2000;
        auto relay = std::make_unique<RunningServer>(std::make_unique<HttpTunnelRelay>(options));
        EXPECT_TRUE(relay->ok());
        return relay;
    }
};

TEST_F(TunnelLogic, ContinueAndRedirectThenBytesBothWays)
{
    TunnelOptions second;
    second.continues = 2;
    second.requireRoute = "route-7";
    auto relayB = Relay(second);
    TunnelOptions first;
    first.redirects = 1;
    first.redirectTo = Endpoint{"127.0.0.1", relayB->port()};
    first.route = "route-7";
    auto relayA = Relay(first);

    CHttpTunnelExchange exchange(Loopback(relayA->port()), nullptr, "", Loopback(target_.port()));
    std::unique_ptr<TestClient> get;
    std::unique_ptr<TestClient> post;
    ASSERT_TRUE(OpenLegs(exchange, get, post));
    EXPECT_EQ(exchange.Attempts(), 2);
    EXPECT_TRUE(exchange.RelayEndpoint() == Loopback(relayB->port()));
    ASSERT_TRUE(post->Send("hello"));
    EXPECT_EQ(get->Read(5), "hello");
    EXPECT_EQ(echo().Received(), "hello");
}

TEST_F(TunnelLogic, EndlessRedirectsGiveUpAfterFourAttempts)
{
    TunnelOptions options;
    options.redirects = 10;
    auto relay = Relay(options);
    CHttpTunnelExchange exchange(Loopback(relay->port()), nullptr, "", Loopback(target_.port()));
    std::unique_ptr<TestClient> get;
    std::unique_ptr<TestClient> post;
    EXPECT_FALSE(OpenLegs(exchange, get, post));
    EXPECT_EQ(exchange.Attempts(), 4);
    EXPECT_EQ(echo().connections(), 0);
}

TEST_F(TunnelLogic, LegsThroughTheHttpProxyWhenConnectIsRefused)
{
    auto relay = Relay(TunnelOptions());
    HttpProxyOptions proxyOptions;
    proxyOptions.requireLogin = true;
    proxyOptions.user = "alice";
    proxyOptions.password = "secret";
    proxyOptions.connectStatus = 407;
    RunningServer proxy(std::make_unique<HttpConnectProxy>(proxyOptions));

    const Ipv4Endpoint proxyEndpoint = Loopback(proxy.port());
    CHttpTunnelExchange exchange(Loopback(relay->port()), &proxyEndpoint,
                                 BuildProxyAuthorizationLine("alice", "secret"), Loopback(target_.port()));
    TestClient connect(proxy.port());
    ASSERT_TRUE(connect.Send(exchange.ConnectRequest()));
    EXPECT_FALSE(CHttpTunnelExchange::IsConnectAccepted(ReadOneHead(connect)));

    std::unique_ptr<TestClient> get;
    std::unique_ptr<TestClient> post;
    ASSERT_TRUE(OpenLegs(exchange, get, post));
    ASSERT_TRUE(post->Send("through the proxy"));
    EXPECT_EQ(get->Read(17), "through the proxy");
}

TEST_F(TunnelLogic, RelayAnswersThatFailTheTunnel)
{
    const struct {
        const char* name;
        int getStatus;
        bool emptySerial;
        ReplyShape shape;
    } cases[] = {
        {"500", 500, false, ReplyShape::kWhole},
        {"no serial number", 200, true, ReplyShape::kWhole},
        {"head beyond 1024 bytes", 200, false, ReplyShape::kLong},
        {"head cut short", 200, false, ReplyShape::kShort},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TunnelOptions options;
        options.getStatus = c.getStatus;
        options.emptySerial = c.emptySerial;
        options.shape = c.shape;
        auto relay = Relay(options);
        CHttpTunnelExchange exchange(Loopback(relay->port()), nullptr, "", Loopback(target_.port()));
        std::unique_ptr<TestClient> get;
        std::unique_ptr<TestClient> post;
        EXPECT_FALSE(OpenLegs(exchange, get, post));
        EXPECT_EQ(exchange.Attempts(), 1);
    }
}
