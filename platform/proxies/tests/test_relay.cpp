// The relay proxy: SOCKS5 with a required login, and the port header and
// speed-test messages that pass through it.
#include <gtest/gtest.h>

#include <chrono>

#include "ProxyTestKit.h"
#include "RelayProxy.h"

using namespace proxies;
using namespace proxies::test;

namespace {

std::string RelayLogin(const std::string& user, const std::string& password)
{
    return Bytes({5, 2, 0, 2, 1, int(user.size())}) + user + char(password.size()) + password;
}

std::string ConnectName(const std::string& name, uint16_t port)
{
    return Bytes({5, 1, 0, 3, int(name.size())}) + name + BigEndian16(port);
}

class RelayTest : public ::testing::Test {
protected:
    RelayTest()
    {
        SocksOptions options;
        options.user = "tavry";
        options.password = "pw";
        options.handshakeTimeoutMs = 2000;
        // The client asks for the game server's name and P80 port; the
        // relay takes everything to the target.
        options.forward.target = Endpoint{"127.0.0.1", target_.port()};
        relay_ = std::make_unique<RunningServer>(
            std::make_unique<SocksProxy>(RelayOptions(options), "relay"));
    }
    EchoService& echo() { return static_cast<EchoService&>(target_.service()); }

    RunningServer target_{std::make_unique<EchoService>()};
    std::unique_ptr<RunningServer> relay_;
};

TEST_F(RelayTest, LoginIsRequiredAndChecked)
{
    const struct {
        const char* name;
        std::string bytes;
        std::string answer;
        bool granted;
    } cases[] = {
        {"right login", RelayLogin("tavry", "pw") + ConnectName("gs.example", 80),
         Bytes({5, 2, 1, 0, 5, 0, 0, 1, 127, 0, 0, 1}), true},
        {"wrong password", RelayLogin("tavry", "xx"), Bytes({5, 2, 1, 1}), false},
        {"no login offered", Bytes({5, 1, 0}), Bytes({5, 0xFF}), false},
        {"SOCKS4 request", Bytes({4, 1, 0, 80, 127, 0, 0, 1, 0}), "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestClient client(relay_->port());
        ASSERT_TRUE(client.Send(c.bytes));
        EXPECT_EQ(HexBytes(client.Read(c.answer.size())), HexBytes(c.answer));
        if (!c.granted) {
            EXPECT_TRUE(client.ClosedByPeer());
            continue;
        }
        client.Read(2);  // the bound port
        ASSERT_TRUE(client.Send("ping"));
        EXPECT_EQ(client.Read(4), "ping");
    }
}

TEST_F(RelayTest, PortHeaderIsLoggedAndPassedOnUnchanged)
{
    const std::string header = GameMessage(kPortHeaderId, LittleEndian32(4001) + LittleEndian32(0));
    const std::string speedTest = GameMessage(0x110, LittleEndian32(0) + LittleEndian32(123456));
    const std::string statistics =
        GameMessage(0x1A9, Bytes({40, 0, 35, 0, 9, 0, 0, 0}));  // R 40, G 35, type 9
    for (const bool inPieces : {false, true}) {
        SCOPED_TRACE(inPieces ? "one byte at a time" : "all at once");
        TestClient client(relay_->port());
        ASSERT_TRUE(client.Send(RelayLogin("tavry", "pw") + ConnectName("gs.example", 80)));
        ASSERT_EQ(client.Read(14).size(), 14u);
        const std::string before = echo().Received();
        const std::string stream = header + speedTest + statistics;
        ASSERT_TRUE(inPieces ? client.SendInPieces(stream) : client.Send(stream));
        EXPECT_EQ(client.Read(stream.size()), stream);
        EXPECT_EQ(echo().Received(), before + stream);
    }
    EXPECT_TRUE(relay_->log().WaitFor("#1: port header: server port 4001, value 0"));
    EXPECT_TRUE(relay_->log().WaitFor("#2: port header: server port 4001, value 0"));
}

// A slower relay for the speed tests: the answer of a speed test comes back
// no sooner than the delay, while bytes still arrive whole and in order.
TEST_F(RelayTest, DelayHoldsTheTargetsBytes)
{
    SocksOptions options;
    options.user = "tavry";
    options.password = "pw";
    options.delayMs = 150;
    options.forward.target = Endpoint{"127.0.0.1", target_.port()};
    RunningServer slow(std::make_unique<SocksProxy>(RelayOptions(options), "relay"));
    TestClient client(slow.port());
    ASSERT_TRUE(client.Send(RelayLogin("tavry", "pw") + ConnectName("gs.example", 80)));
    ASSERT_EQ(client.Read(14).size(), 14u);
    const std::string speedTest = GameMessage(0x110, LittleEndian32(0) + LittleEndian32(42));
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(client.Send(speedTest));
    EXPECT_EQ(client.Read(speedTest.size()), speedTest);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
    // Stopping does not wait for a held chunk.
    ASSERT_TRUE(client.Send(speedTest));
    ASSERT_TRUE(echo().WaitForBytes(2 * speedTest.size()));
    const auto stopStart = std::chrono::steady_clock::now();
    slow.server().Stop();
    // Wide: the bound tells a stop from one that waits on the held chunk.
    EXPECT_LT(std::chrono::steady_clock::now() - stopStart, std::chrono::seconds(10));
}

TEST_F(RelayTest, StreamWithoutAPortHeaderLogsNone)
{
    const struct {
        const char* name;
        std::string stream;
    } cases[] = {
        {"speed test first", GameMessage(0x110, LittleEndian32(0) + LittleEndian32(1))},
        {"0x663 of another length", GameMessage(kPortHeaderId, LittleEndian32(4001))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestClient client(relay_->port());
        ASSERT_TRUE(client.Send(RelayLogin("tavry", "pw") + ConnectName("gs.example", 80)));
        ASSERT_EQ(client.Read(14).size(), 14u);
        ASSERT_TRUE(client.Send(c.stream));
        EXPECT_EQ(client.Read(c.stream.size()), c.stream);
    }
    EXPECT_FALSE(relay_->log().Contains("port header"));
}

}  // namespace
