// The SOCKS5 proxy: greetings and logins, every request and reply variant,
// and the bytes that flow once a request is granted.
#include <gtest/gtest.h>

#include <chrono>

#include "ProxyTestKit.h"
#include "SocksProxy.h"

using namespace proxies;
using namespace proxies::test;

namespace {

const std::string kGreeting = Bytes({5, 2, 0, 2});  // the client offers "none" and login

std::string Login(const std::string& user, const std::string& password)
{
    return Bytes({1, int(user.size())}) + user + char(password.size()) + password;
}

std::string ConnectIPv4(uint16_t port)
{
    return Bytes({5, 1, 0, 1, 127, 0, 0, 1}) + BigEndian16(port);
}

std::string ConnectName(const std::string& name, uint16_t port)
{
    return Bytes({5, 1, 0, 3, int(name.size())}) + name + BigEndian16(port);
}

class Socks5Test : public EchoTargetTest {
protected:
    std::unique_ptr<RunningServer> StartProxy(SocksOptions options)
    {
        return StartStandIn<SocksProxy>(options);
    }

    // After a granted request: bytes reach the echo target and come back.
    void ExpectForwarding(TestClient& client)
    {
        const std::string before = echo().Received();
        ASSERT_TRUE(client.Send("ping"));
        EXPECT_EQ(client.Read(4), "ping");
        EXPECT_EQ(echo().Received(), before + "ping");
    }

    // The greeting offering "none" and login, answered "none", and a request
    // for the echo target.
    void GreetAndRequestTarget(TestClient& client)
    {
        ASSERT_TRUE(client.Send(kGreeting + ConnectIPv4(targetPort())));
        EXPECT_EQ(client.Read(2), Bytes({5, 0}));
    }

    uint16_t targetPort() { return target_.port(); }
};

// ---- Greeting and login --------------------------------------------------------------

struct LoginCase {
    const char* name;
    bool requireLogin;
    int forcedMethod;
    std::string greeting;
    std::string login;          // sent when the method answered is 2
    std::string methodAnswer;   // 05 xx
    std::string loginAnswer;    // 01 xx, or empty when no login takes place
    bool proceeds;              // a request may follow
};

TEST_F(Socks5Test, GreetingsAndLoginsAreAnsweredAsConfigured)
{
    const LoginCase cases[] = {
        {"no login configured", false, -1, kGreeting, "", Bytes({5, 0}), "", true},
        {"right login", true, -1, kGreeting, Login("alice", "secret"), Bytes({5, 2}),
         Bytes({1, 0}), true},
        {"wrong password", true, -1, kGreeting, Login("alice", "guess"), Bytes({5, 2}),
         Bytes({1, 1}), false},
        {"wrong user", true, -1, kGreeting, Login("bob", "secret"), Bytes({5, 2}), Bytes({1, 1}),
         false},
        {"login required, none offered", true, -1, Bytes({5, 1, 0}), "", Bytes({5, 0xFF}), "",
         false},
        {"only login offered, none configured", false, -1, Bytes({5, 1, 2}), "", Bytes({5, 0xFF}),
         "", false},
        {"no methods at all", false, -1, Bytes({5, 0}), "", Bytes({5, 0xFF}), "", false},
        {"forced GSSAPI", false, 1, kGreeting, "", Bytes({5, 1}), "", false},
        {"forced no acceptable method", true, 255, kGreeting, "", Bytes({5, 0xFF}), "", false},
        {"forced login, any credentials", false, 2, kGreeting, Login("x", "y"), Bytes({5, 2}),
         Bytes({1, 0}), true},
        {"forced none despite a login", true, 0, kGreeting, "", Bytes({5, 0}), "", true},
    };
    for (const LoginCase& c : cases) {
        SCOPED_TRACE(c.name);
        SocksOptions options;
        options.requireLogin = c.requireLogin;
        options.user = "alice";
        options.password = "secret";
        options.forcedMethod = c.forcedMethod;
        options.forward.target = Endpoint{"127.0.0.1", targetPort()};
        auto proxy = StartProxy(options);
        TestClient client(proxy->port());
        ASSERT_TRUE(client.Send(c.greeting));
        EXPECT_EQ(HexBytes(client.Read(2)), HexBytes(c.methodAnswer));
        if (!c.login.empty()) {
            ASSERT_TRUE(client.Send(c.login));
            EXPECT_EQ(HexBytes(client.Read(2)), HexBytes(c.loginAnswer));
        }
        if (!c.proceeds) {
            EXPECT_TRUE(client.ClosedByPeer());
            continue;
        }
        ASSERT_TRUE(client.Send(ConnectIPv4(targetPort())));
        EXPECT_EQ(client.Read(10).substr(0, 2), Bytes({5, 0}));
        ExpectForwarding(client);
    }
}

TEST_F(Socks5Test, EmptyUserAndPasswordAreALogin)
{
    SocksOptions options;
    options.requireLogin = true;  // with nothing configured, the relay's default
    auto proxy = StartProxy(options);
    TestClient client(proxy->port());
    ASSERT_TRUE(client.Send(kGreeting + Login("", "") + ConnectIPv4(targetPort())));
    EXPECT_EQ(HexBytes(client.Read(4)), "05 02 01 00");
    EXPECT_EQ(client.Read(10).substr(0, 2), Bytes({5, 0}));
    ExpectForwarding(client);
}

// ---- Requests and replies ------------------------------------------------------------

struct RequestCase {
    const char* name;
    std::string request;        // 0 in a port means the target's port
    std::string replyWithoutPort;
    bool granted;
};

TEST_F(Socks5Test, RequestsGetTheReplyOfTheirOutcome)
{
    const uint16_t port = targetPort();
    const uint16_t dead = UnusedPort();
    const std::string bound4 = Bytes({1, 127, 0, 0, 1});
    const RequestCase cases[] = {
        {"IPv4 address", ConnectIPv4(port), Bytes({5, 0, 0}) + bound4, true},
        {"localhost by name", ConnectName("localhost", port), Bytes({5, 0, 0}) + bound4, true},
        {"another loopback address", Bytes({5, 1, 0, 1, 127, 1, 2, 3}) + BigEndian16(port),
         Bytes({5, 5, 0}) + bound4, false},  // nothing listens on 127.1.2.3
        {"a name that is not resolved", ConnectName("game.example", port),
         Bytes({5, 4, 0}) + bound4, false},
        {"an empty name", ConnectName("", port), Bytes({5, 4, 0}) + bound4, false},
        {"an address elsewhere", Bytes({5, 1, 0, 1, 10, 1, 2, 3}) + BigEndian16(port),
         Bytes({5, 2, 0}) + bound4, false},
        {"an IPv6 address elsewhere",
         Bytes({5, 1, 0, 4, 0x20, 0x01, 0x0d, 0xb8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}) +
             BigEndian16(port),
         Bytes({5, 2, 0}) + bound4, false},
        {"nothing listening", ConnectIPv4(dead), Bytes({5, 5, 0}) + bound4, false},
        {"BIND", Bytes({5, 2, 0, 1, 127, 0, 0, 1}) + BigEndian16(port), Bytes({5, 7, 0}) + bound4,
         false},
        {"UDP ASSOCIATE", Bytes({5, 3, 0, 1, 127, 0, 0, 1}) + BigEndian16(port),
         Bytes({5, 7, 0}) + bound4, false},
        {"unknown address type", Bytes({5, 1, 0, 9}), Bytes({5, 8, 0}) + bound4, false},
    };
    SocksOptions options;
    auto proxy = StartProxy(options);
    for (const RequestCase& c : cases) {
        SCOPED_TRACE(c.name);
        const int connectionsBefore = echo().connections();
        TestClient client(proxy->port());
        ASSERT_TRUE(client.Send(kGreeting));
        ASSERT_EQ(client.Read(2), Bytes({5, 0}));
        ASSERT_TRUE(client.Send(c.request));
        const std::string reply = client.Read(c.replyWithoutPort.size() + 2);
        EXPECT_EQ(HexBytes(reply.substr(0, c.replyWithoutPort.size())), HexBytes(c.replyWithoutPort));
        if (c.granted) {
            EXPECT_NE(reply.substr(reply.size() - 2), Bytes({0, 0}));  // the bound port
            ExpectForwarding(client);
        } else {
            EXPECT_EQ(reply.substr(reply.size() - 2), Bytes({0, 0}));
            EXPECT_TRUE(client.ClosedByPeer());
            EXPECT_EQ(echo().connections(), connectionsBefore);
        }
    }
}

TEST_F(Socks5Test, FixedTargetTakesEveryRequestWhateverItNames)
{
    SocksOptions options;
    options.forward.target = Endpoint{"127.0.0.1", targetPort()};
    auto proxy = StartProxy(options);
    const std::string requests[] = {
        ConnectName("game.example", 4001),
        Bytes({5, 1, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}) + BigEndian16(4001),
        Bytes({5, 1, 0, 1, 10, 0, 0, 1}) + BigEndian16(4001),
    };
    for (const std::string& request : requests) {
        SCOPED_TRACE(HexBytes(request));
        TestClient client(proxy->port());
        ASSERT_TRUE(client.Send(kGreeting + request));
        EXPECT_EQ(client.Read(2), Bytes({5, 0}));
        EXPECT_EQ(client.Read(10).substr(0, 2), Bytes({5, 0}));
        ExpectForwarding(client);
    }
}

TEST_F(Socks5Test, RefusalsSendTheirCodeAndForwardNothing)
{
    const struct {
        bool refuse;
        int replyCode;
        int expected;
    } cases[] = {{true, -1, 5}, {false, 1, 1}, {false, 2, 2}, {false, 4, 4}, {true, 8, 8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        SocksOptions options;
        options.refuse = c.refuse;
        options.replyCode = c.replyCode;
        auto proxy = StartProxy(options);
        TestClient client(proxy->port());
        ASSERT_NO_FATAL_FAILURE(GreetAndRequestTarget(client));
        EXPECT_EQ(HexBytes(client.Read(10)), HexBytes(Bytes({5, c.expected, 0, 1, 127, 0, 0, 1, 0, 0})));
        EXPECT_TRUE(client.ClosedByPeer());
        EXPECT_EQ(echo().connections(), 0);
    }
}

TEST_F(Socks5Test, EachBoundAddressTypeIsFollowedByTheTargetsBytes)
{
    const std::string longName(255, 'n');
    const struct {
        const char* name;
        BoundAddress bound;
        std::string boundName;
        std::string replyWithoutPort;
    } cases[] = {
        {"IPv4", BoundAddress::kIPv4, "", Bytes({5, 0, 0, 1, 127, 0, 0, 1})},
        {"name", BoundAddress::kName, "localhost", Bytes({5, 0, 0, 3, 9}) + "localhost"},
        {"longest name", BoundAddress::kName, longName, Bytes({5, 0, 0, 3, 255}) + longName},
        {"IPv6", BoundAddress::kIPv6, "",
         Bytes({5, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SocksOptions options;
        options.bound = c.bound;
        options.boundName = c.boundName;
        auto proxy = StartProxy(options);
        TestClient client(proxy->port());
        ASSERT_NO_FATAL_FAILURE(GreetAndRequestTarget(client));
        const std::string reply = client.Read(c.replyWithoutPort.size() + 2);
        EXPECT_EQ(HexBytes(reply.substr(0, c.replyWithoutPort.size())), HexBytes(c.replyWithoutPort));
        // The next bytes are the target's, with nothing of the reply left over.
        ExpectForwarding(client);
    }
}

TEST_F(Socks5Test, ShortReplyIsCutAndTheConnectionClosed)
{
    SocksOptions options;
    options.shortReply = true;
    auto proxy = StartProxy(options);
    TestClient client(proxy->port());
    ASSERT_NO_FATAL_FAILURE(GreetAndRequestTarget(client));
    EXPECT_EQ(HexBytes(client.ReadToClose()), "05 00 00 01 7F");
}

// ---- Robustness ----------------------------------------------------------------------

TEST_F(Socks5Test, HandshakeArrivingByteByByteIsAssembled)
{
    SocksOptions options;
    options.requireLogin = true;
    options.user = "alice";
    options.password = "secret";
    auto proxy = StartProxy(options);
    TestClient client(proxy->port());
    ASSERT_TRUE(client.SendInPieces(kGreeting + Login("alice", "secret") + ConnectIPv4(targetPort())));
    EXPECT_EQ(HexBytes(client.Read(4)), "05 02 01 00");
    EXPECT_EQ(client.Read(10).substr(0, 2), Bytes({5, 0}));
    ExpectForwarding(client);
}

TEST_F(Socks5Test, BrokenHandshakesCloseWithoutAnAnswer)
{
    SocksOptions options;
    options.requireLogin = true;
    const struct {
        const char* name;
        std::string bytes;
        std::string answer;
    } cases[] = {
        {"unknown version", Bytes({6, 1, 0}), ""},
        {"login of version 2", Bytes({5, 1, 2, 2, 0, 0}), Bytes({5, 2})},
        {"request of version 4", Bytes({5, 1, 2, 1, 0, 0, 4, 1, 0, 1}), Bytes({5, 2, 1, 0})},
        {"stalled greeting", Bytes({5, 2}), ""},
        {"stalled request", Bytes({5, 1, 2, 1, 0, 0, 5, 1, 0, 1, 127}), Bytes({5, 2, 1, 0})},
    };
    auto proxy = StartProxy(options);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestClient client(proxy->port());
        ASSERT_TRUE(client.Send(c.bytes));
        EXPECT_EQ(HexBytes(client.Read(c.answer.size())), HexBytes(c.answer));
        // Stalled ones end with the handshake time-out (2 s here).
        EXPECT_TRUE(client.ClosedByPeer(4000));
    }
    EXPECT_EQ(echo().connections(), 0);
}

TEST_F(Socks5Test, HalfCloseLosesNothing)
{
    auto proxy = StartProxy({});
    TestClient client(proxy->port());
    ASSERT_TRUE(client.Send(kGreeting + ConnectIPv4(targetPort())));
    ASSERT_EQ(client.Read(12).substr(2, 2), Bytes({5, 0}));
    const std::string data(100000, 'd');
    ASSERT_TRUE(client.Send(data));
    client.ShutdownWrite();
    // The echo target sees the end only after all of it, and closes after echoing.
    EXPECT_EQ(client.ReadToClose().size(), data.size());
}

TEST_F(Socks5Test, RecordShowsEveryStepExactly)
{
    SocksOptions options;
    options.requireLogin = true;
    options.user = "alice";
    options.password = "secret";
    auto proxy = StartProxy(options);
    TestClient client(proxy->port());
    ASSERT_TRUE(client.Send(kGreeting + Login("alice", "secret") + ConnectName("localhost", targetPort())));
    ASSERT_EQ(client.Read(14).size(), 14u);
    ASSERT_TRUE(proxy->record().WaitFor("socks5 reply"));
    const std::vector<std::string> lines = proxy->record().Lines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "#1 socks5 greeting: 05 02 00 02");
    EXPECT_EQ(lines[1], "#1 socks5 method: 05 02");
    EXPECT_EQ(lines[2], "#1 socks5 login: 01 05 61 6C 69 63 65 06 73 65 63 72 65 74");
    EXPECT_EQ(lines[3], "#1 socks5 login reply: 01 00");
    EXPECT_EQ(lines[4], "#1 socks5 request: 05 01 00 03 09 6C 6F 63 61 6C 68 6F 73 74 " +
                            HexBytes(BigEndian16(targetPort())));
    EXPECT_EQ(lines[5].rfind("#1 socks5 reply: 05 00 00 01 7F 00 00 01 ", 0), 0u) << lines[5];
}

TEST_F(Socks5Test, StopEndsLiveConnectionsPromptly)
{
    auto proxy = StartProxy({});
    TestClient forwarding(proxy->port());
    ASSERT_TRUE(forwarding.Send(kGreeting + ConnectIPv4(targetPort())));
    ASSERT_EQ(forwarding.Read(12).size(), 12u);
    TestClient stalled(proxy->port());
    ASSERT_TRUE(stalled.Send(Bytes({5})));
    ASSERT_TRUE(proxy->log().WaitFor("#2: connection from"));

    const auto start = std::chrono::steady_clock::now();
    proxy->server().Stop();
    // Wide: the bound tells a stop from one that waits on its connections.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_TRUE(forwarding.ClosedByPeer(10000));
    EXPECT_TRUE(stalled.ClosedByPeer(10000));
}

TEST_F(Socks5Test, ConnectionsBeyondTheLimitAreClosed)
{
    ServerOptions limit;
    limit.maxConnections = 2;
    RunningServer proxy(std::make_unique<SocksProxy>(SocksOptions{}), limit);
    TestClient first(proxy.port());
    TestClient second(proxy.port());
    ASSERT_TRUE(proxy.log().WaitFor("#2: connection from"));
    TestClient third(proxy.port());
    EXPECT_TRUE(third.ClosedByPeer());
    ASSERT_TRUE(first.Send(kGreeting + ConnectIPv4(targetPort())));
    EXPECT_EQ(first.Read(12).substr(2, 2), Bytes({5, 0}));
}

TEST_F(Socks5Test, ManyClientsAtOnceEachGetTheirOwnBytes)
{
    auto proxy = StartProxy({});
    std::vector<std::unique_ptr<TestClient>> clients;
    for (int i = 0; i < 16; ++i) {
        clients.push_back(std::make_unique<TestClient>(proxy->port()));
        ASSERT_TRUE(clients.back()->Send(kGreeting + ConnectIPv4(targetPort())));
    }
    for (int i = 0; i < 16; ++i) {
        ASSERT_EQ(clients[i]->Read(12).substr(2, 2), Bytes({5, 0}));
        const std::string text = "client " + std::to_string(i);
        ASSERT_TRUE(clients[i]->Send(text));
        EXPECT_EQ(clients[i]->Read(text.size()), text);
    }
}

}  // namespace
