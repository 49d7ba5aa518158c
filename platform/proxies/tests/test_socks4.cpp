// The SOCKS4 and SOCKS4a sides of the SOCKS proxy.
#include <gtest/gtest.h>

#include "ProxyTestKit.h"
#include "SocksProxy.h"

using namespace proxies;
using namespace proxies::test;

namespace {

// 04 01 port address user 00 [host 00]
std::string Request(int command, uint16_t port, std::initializer_list<int> address,
                    const std::string& user, const char* host = nullptr)
{
    std::string bytes = Bytes({4, command}) + BigEndian16(port) + Bytes(address) + user + '\0';
    if (host)
        bytes += std::string(host) + '\0';
    return bytes;
}

class Socks4Test : public EchoTargetTest {
protected:
    std::unique_ptr<RunningServer> StartProxy(SocksOptions options)
    {
        return StartStandIn<SocksProxy>(options);
    }
};

TEST_F(Socks4Test, RequestsGetTheReplyOfTheirOutcome)
{
    const uint16_t port = target_.port();
    const uint16_t dead = UnusedPort();
    const struct {
        const char* name;
        bool fixedTarget;
        std::string request;
        int code;
    } cases[] = {
        {"SOCKS4 to the target", false, Request(1, port, {127, 0, 0, 1}, "alice"), 90},
        {"SOCKS4 with an empty user id", false, Request(1, port, {127, 0, 0, 1}, ""), 90},
        {"SOCKS4a by name", false, Request(1, port, {0, 0, 0, 1}, "alice", "localhost"), 90},
        {"SOCKS4a with 0.0.0.255", false, Request(1, port, {0, 0, 0, 255}, "", "localhost"), 90},
        {"SOCKS4a, a name not resolved", false,
         Request(1, port, {0, 0, 0, 1}, "alice", "game.example"), 91},
        {"SOCKS4a, a name with a fixed target", true,
         Request(1, 4001, {0, 0, 0, 1}, "alice", "game.example"), 90},
        {"an address elsewhere", false, Request(1, port, {10, 0, 0, 1}, "alice"), 91},
        {"an address elsewhere with a fixed target", true,
         Request(1, 4001, {10, 0, 0, 1}, "alice"), 90},
        {"nothing listening", false, Request(1, dead, {127, 0, 0, 1}, "alice"), 91},
        {"BIND", false, Request(2, port, {127, 0, 0, 1}, "alice"), 91},
    };
    SocksOptions plain;
    SocksOptions fixed;
    fixed.forward.target = Endpoint{"127.0.0.1", port};
    auto plainProxy = StartProxy(plain);
    auto fixedProxy = StartProxy(fixed);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int connectionsBefore = echo().connections();
        TestClient client((c.fixedTarget ? fixedProxy : plainProxy)->port());
        ASSERT_TRUE(client.Send(c.request));
        const std::string reply = client.Read(8);
        ASSERT_EQ(reply.size(), 8u);
        EXPECT_EQ(reply[0], 0);
        EXPECT_EQ(uint8_t(reply[1]), c.code);
        if (c.code != 90) {
            EXPECT_TRUE(client.ClosedByPeer());
            EXPECT_EQ(echo().connections(), connectionsBefore);
            continue;
        }
        EXPECT_EQ(HexBytes(reply.substr(4)), "7F 00 00 01");
        ASSERT_TRUE(client.Send("ping"));
        EXPECT_EQ(client.Read(4), "ping");
    }
}

TEST_F(Socks4Test, RefusalsAndForcedCodes)
{
    const struct {
        bool refuse;
        int replyCode;
        int expected;
    } cases[] = {{true, -1, 91}, {false, 91, 91}, {false, 92, 92}, {false, 93, 93}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        SocksOptions options;
        options.refuse = c.refuse;
        options.replyCode = c.replyCode;
        auto proxy = StartProxy(options);
        TestClient client(proxy->port());
        ASSERT_TRUE(client.Send(Request(1, target_.port(), {127, 0, 0, 1}, "alice")));
        // A refusal repeats the requested port and address.
        EXPECT_EQ(HexBytes(client.Read(8)), HexBytes(Bytes({0, c.expected}) +
                                                     BigEndian16(target_.port()) +
                                                     Bytes({127, 0, 0, 1})));
        EXPECT_TRUE(client.ClosedByPeer());
    }
    EXPECT_EQ(echo().connections(), 0);
}

TEST_F(Socks4Test, ShortReplyIsCutAndTheConnectionClosed)
{
    SocksOptions options;
    options.shortReply = true;
    auto proxy = StartProxy(options);
    TestClient client(proxy->port());
    ASSERT_TRUE(client.Send(Request(1, target_.port(), {127, 0, 0, 1}, "alice")));
    const std::string reply = client.ReadToClose();
    EXPECT_EQ(HexBytes(reply.substr(0, 2)), "00 5A");
    EXPECT_EQ(reply.size(), 4u);
}

TEST_F(Socks4Test, OverlongOrStalledFieldsCloseWithoutAReply)
{
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"user id without an end", Bytes({4, 1, 0, 80, 127, 0, 0, 1}) + std::string(300, 'u')},
        {"host name without an end",
         Bytes({4, 1, 0, 80, 0, 0, 0, 1}) + "alice" + '\0' + std::string(300, 'h')},
        {"stalled request", Bytes({4, 1, 0})},
    };
    auto proxy = StartProxy({});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestClient client(proxy->port());
        ASSERT_TRUE(client.Send(c.bytes));
        EXPECT_TRUE(client.ClosedByPeer(4000));
    }
    EXPECT_EQ(echo().connections(), 0);
}

TEST_F(Socks4Test, RecordShowsTheRequestAndReply)
{
    auto proxy = StartProxy({});
    TestClient client(proxy->port());
    ASSERT_TRUE(client.Send(Request(1, target_.port(), {0, 0, 0, 1}, "bob", "localhost")));
    ASSERT_EQ(client.Read(8).size(), 8u);
    ASSERT_TRUE(proxy->record().WaitFor("socks4 reply"));
    const std::vector<std::string> lines = proxy->record().Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "#1 socks4a request: 04 01 " + HexBytes(BigEndian16(target_.port())) +
                            " 00 00 00 01 62 6F 62 00 6C 6F 63 61 6C 68 6F 73 74 00");
    EXPECT_EQ(lines[1].rfind("#1 socks4 reply: 00 5A ", 0), 0u) << lines[1];
}

}  // namespace
