// The client's SOCKS4, SOCKS4a and SOCKS5 handshakes: the exact bytes sent
// and the verdict on every reply, with the reply read to its end and not a
// byte further.
#include <gtest/gtest.h>

#include "ProxyTestFakes.h"

using namespace proxytest;

namespace {

// The game server's first bytes, right behind the proxy's reply.
const std::vector<uint8_t> kStream = Bytes(std::string("GAME"));

SocksRequest Socks4(const std::string& host, const std::string& localUser = "player")
{
    SocksRequest r;
    r.version = 4;
    r.host = host;
    r.port = 4001;
    r.localUser = localUser;
    return r;
}

SocksRequest Socks5(const std::string& host, const std::string& user = "", const std::string& password = "")
{
    SocksRequest r;
    r.version = 5;
    r.host = host;
    r.port = 4001;
    r.user = user;
    r.password = password;
    return r;
}

// 05 00 00 01 127.0.0.1 port
std::vector<uint8_t> ReplyIPv4(int code = 0)
{
    return Bytes({5, code, 0, 1, 127, 0, 0, 1, 0x9C, 0x41});
}

const std::vector<uint8_t> kPort4001 = Bytes({0x0F, 0xA1});

}  // namespace

TEST(ProxySocks, DottedAddressesAreFourDecimalParts)
{
    const struct {
        const char* text;
        bool dotted;
        uint8_t address[4];
    } cases[] = {
        {"127.0.0.1", true, {127, 0, 0, 1}},
        {"0.0.0.0", true, {0, 0, 0, 0}},
        {"255.255.255.255", true, {255, 255, 255, 255}},
        {"010.1.2.3", true, {10, 1, 2, 3}},
        {"256.0.0.1", false, {}},
        {"1.2.3", false, {}},
        {"1.2.3.4.5", false, {}},
        {"1..2.3", false, {}},
        {"1.2.3.4 ", false, {}},
        {"0x7f.0.0.1", false, {}},
        {"1234.0.0.1", false, {}},
        {"game.example", false, {}},
        {"", false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        uint8_t address[4] = {9, 9, 9, 9};
        EXPECT_EQ(ParseDottedIPv4(c.text, address), c.dotted);
        if (c.dotted) {
            EXPECT_EQ(Hex({address, address + 4}), Hex({c.address, c.address + 4}));
        }
    }
}

TEST(ProxySocks, RequestBytesAreExact)
{
    const std::string longName(255, 'n');
    const struct {
        const char* name;
        std::vector<uint8_t> built;
        std::vector<uint8_t> expected;
    } cases[] = {
        {"SOCKS4 to a dotted address", BuildSocks4Request("10.1.2.3", 4001, "player"),
         Concat({Bytes({4, 1, 0x0F, 0xA1, 10, 1, 2, 3}), Bytes(std::string("player")), Bytes({0})})},
        {"SOCKS4 without a user name", BuildSocks4Request("10.1.2.3", 80, ""), Bytes({4, 1, 0, 80, 10, 1, 2, 3, 0})},
        {"SOCKS4a to a name", BuildSocks4Request("gs.example", 4001, "player"),
         Concat({Bytes({4, 1, 0x0F, 0xA1, 0, 0, 0, 1}), Bytes(std::string("player")), Bytes({0}),
                 Bytes(std::string("gs.example")), Bytes({0})})},
        {"SOCKS5 greeting", BuildSocks5Greeting(), Bytes({5, 2, 0, 2})},
        {"SOCKS5 login", BuildSocks5Login("alice", "secret"),
         Concat({Bytes({1, 5}), Bytes(std::string("alice")), Bytes({6}), Bytes(std::string("secret"))})},
        {"SOCKS5 empty login", BuildSocks5Login("", ""), Bytes({1, 0, 0})},
        {"SOCKS5 connect to a dotted address", BuildSocks5ConnectRequest("10.1.2.3", 4001),
         Bytes({5, 1, 0, 1, 10, 1, 2, 3, 0x0F, 0xA1})},
        {"SOCKS5 connect to a name", BuildSocks5ConnectRequest("gs.example", 80),
         Concat({Bytes({5, 1, 0, 3, 10}), Bytes(std::string("gs.example")), Bytes({0, 80})})},
        {"SOCKS5 connect to the longest name", BuildSocks5ConnectRequest(longName, 80),
         Concat({Bytes({5, 1, 0, 3, 255}), Bytes(longName), Bytes({0, 80})})},
        {"SOCKS5 name too long", BuildSocks5ConnectRequest(longName + "n", 80), {}},
        {"SOCKS5 user too long", BuildSocks5Login(std::string(256, 'u'), "p"), {}},
        {"no host", BuildSocks4Request("", 80, "player"), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Hex(c.built), Hex(c.expected));
    }
}

TEST(ProxySocks, VerdictForEveryReply)
{
    const std::string name255(255, 'b');
    const std::vector<uint8_t> greeting = Bytes({5, 2, 0, 2});
    const std::vector<uint8_t> connectByAddress = Bytes({5, 1, 0, 1, 10, 1, 2, 3, 0x0F, 0xA1});
    const std::vector<uint8_t> login = Concat({Bytes({1, 5}), Bytes(std::string("alice")), Bytes({6}),
                                               Bytes(std::string("secret"))});
    const struct {
        const char* name;
        SocksRequest request;
        std::vector<uint8_t> replies;   // the proxy's bytes, then the game's
        std::vector<uint8_t> sent;
        SocksVerdict verdict;
        size_t consumed;
    } cases[] = {
        // SOCKS4 and SOCKS4a: the second byte decides.
        {"SOCKS4 granted", Socks4("10.1.2.3"), Concat({Bytes({0, 90, 0x9C, 0x41, 127, 0, 0, 1}), kStream}),
         BuildSocks4Request("10.1.2.3", 4001, "player"), SocksVerdict::kGranted, 8},
        {"SOCKS4 granted, reply version 4", Socks4("10.1.2.3"), Bytes({4, 90, 0, 0, 0, 0, 0, 0}),
         BuildSocks4Request("10.1.2.3", 4001, "player"), SocksVerdict::kGranted, 8},
        {"SOCKS4 rejected (91)", Socks4("10.1.2.3"), Bytes({0, 91, 0, 0, 0, 0, 0, 0}),
         BuildSocks4Request("10.1.2.3", 4001, "player"), SocksVerdict::kRefused, 8},
        {"SOCKS4 no identd (92)", Socks4("10.1.2.3"), Bytes({0, 92, 0, 0, 0, 0, 0, 0}),
         BuildSocks4Request("10.1.2.3", 4001, "player"), SocksVerdict::kRefused, 8},
        {"SOCKS4 identd mismatch (93)", Socks4("10.1.2.3"), Bytes({0, 93, 0, 0, 0, 0, 0, 0}),
         BuildSocks4Request("10.1.2.3", 4001, "player"), SocksVerdict::kRefused, 8},
        {"SOCKS4 short reply", Socks4("10.1.2.3"), Bytes({0, 90, 0, 0}),
         BuildSocks4Request("10.1.2.3", 4001, "player"), SocksVerdict::kInProgress, 0},
        {"SOCKS4a granted", Socks4("gs.example"), Concat({Bytes({0, 90, 0, 0, 0, 0, 0, 0}), kStream}),
         BuildSocks4Request("gs.example", 4001, "player"), SocksVerdict::kGranted, 8},
        // SOCKS5 methods and logins.
        {"SOCKS5 without login", Socks5("10.1.2.3"), Concat({Bytes({5, 0}), ReplyIPv4(), kStream}),
         Concat({greeting, connectByAddress}), SocksVerdict::kGranted, 12},
        {"SOCKS5 with login", Socks5("10.1.2.3", "alice", "secret"),
         Concat({Bytes({5, 2}), Bytes({1, 0}), ReplyIPv4(), kStream}), Concat({greeting, login, connectByAddress}),
         SocksVerdict::kGranted, 14},
        {"SOCKS5 login refused", Socks5("10.1.2.3", "alice", "secret"), Bytes({5, 2, 1, 1}),
         Concat({greeting, login}), SocksVerdict::kBadCredentials, 4},
        {"SOCKS5 login answered with version 5", Socks5("10.1.2.3", "alice", "secret"),
         Concat({Bytes({5, 2, 5, 0}), ReplyIPv4()}), Concat({greeting, login, connectByAddress}),
         SocksVerdict::kGranted, 14},
        {"SOCKS5 no acceptable method", Socks5("10.1.2.3"), Bytes({5, 0xFF}), greeting,
         SocksVerdict::kNoAcceptableMethod, 2},
        {"SOCKS5 GSSAPI only", Socks5("10.1.2.3"), Bytes({5, 1}), greeting, SocksVerdict::kNoAcceptableMethod, 2},
        // SOCKS5 replies: refusals and every bound-address type.
        {"SOCKS5 refused (5)", Socks5("10.1.2.3"), Concat({Bytes({5, 0}), ReplyIPv4(5)}),
         Concat({greeting, connectByAddress}), SocksVerdict::kRefused, 6},
        {"SOCKS5 general failure (1)", Socks5("10.1.2.3"), Concat({Bytes({5, 0}), ReplyIPv4(1)}),
         Concat({greeting, connectByAddress}), SocksVerdict::kRefused, 6},
        {"SOCKS5 bound name", Socks5("10.1.2.3"),
         Concat({Bytes({5, 0}), Bytes({5, 0, 0, 3, 9}), Bytes(std::string("localhost")), Bytes({0x9C, 0x41}), kStream}),
         Concat({greeting, connectByAddress}), SocksVerdict::kGranted, 2 + 5 + 9 + 2},
        {"SOCKS5 bound empty name", Socks5("10.1.2.3"),
         Concat({Bytes({5, 0}), Bytes({5, 0, 0, 3, 0, 0x9C, 0x41}), kStream}), Concat({greeting, connectByAddress}),
         SocksVerdict::kGranted, 2 + 7},
        {"SOCKS5 bound longest name", Socks5("10.1.2.3"),
         Concat({Bytes({5, 0}), Bytes({5, 0, 0, 3, 255}), Bytes(name255), Bytes({0x9C, 0x41}), kStream}),
         Concat({greeting, connectByAddress}), SocksVerdict::kGranted, 2 + 5 + 255 + 2},
        {"SOCKS5 bound IPv6", Socks5("10.1.2.3"),
         Concat({Bytes({5, 0}), Bytes({5, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0x9C, 0x41}),
                 kStream}),
         Concat({greeting, connectByAddress}), SocksVerdict::kGranted, 2 + 22},
        {"SOCKS5 unknown address type", Socks5("10.1.2.3"), Concat({Bytes({5, 0}), Bytes({5, 0, 0, 9}), kStream}),
         Concat({greeting, connectByAddress}), SocksVerdict::kMalformed, 6},
        {"SOCKS5 short reply", Socks5("10.1.2.3"), Bytes({5, 0, 5, 0, 0, 1, 127}),
         Concat({greeting, connectByAddress}), SocksVerdict::kInProgress, 6},
        // Requests that cannot be made: nothing is sent.
        {"SOCKS5 name too long", Socks5(std::string(256, 'n')), Bytes({5, 0}), {}, SocksVerdict::kCannotEncode, 0},
        {"SOCKS5 password too long", Socks5("10.1.2.3", "alice", std::string(256, 'p')), Bytes({5, 2}), {},
         SocksVerdict::kCannotEncode, 0},
        {"SOCKS version 6", [] { SocksRequest r = Socks5("10.1.2.3"); r.version = 6; return r; }(), Bytes({5, 0}),
         {}, SocksVerdict::kCannotEncode, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SocksRun run = RunSocks(c.request, c.replies);
        EXPECT_EQ(Hex(run.sent), Hex(c.sent));
        EXPECT_EQ(DescribeSocksVerdict(run.verdict), std::string(DescribeSocksVerdict(c.verdict)));
        EXPECT_EQ(run.consumed, c.consumed);
    }
}

TEST(ProxySocks, RelayLoginWithTheLongestCredentials)
{
    // The relay's user and password are read as up to 63 characters each.
    const std::string user(63, 'u');
    const std::string password(63, 'p');
    SocksRequest relay = Socks5("gs.example", user, password);
    relay.port = 8080;
    const SocksRun run =
        RunSocks(relay, Concat({Bytes({5, 2, 1, 0}), Bytes({5, 0, 0, 3, 4}), Bytes(std::string("wpip")),
                                Bytes({0, 80}), kStream}));
    EXPECT_EQ(run.verdict, SocksVerdict::kGranted);
    EXPECT_EQ(Hex(run.sent), Hex(Concat({Bytes({5, 2, 0, 2, 1, 63}), Bytes(user), Bytes({63}), Bytes(password),
                                         Bytes({5, 1, 0, 3, 10}), Bytes(std::string("gs.example")),
                                         Bytes({0x1F, 0x90})})));
    EXPECT_EQ(run.consumed, 4u + 5 + 4 + 2);
}

TEST(ProxySocks, ReceivingTheWrongCountChangesNothing)
{
    CSocksHandshake handshake(Socks4("10.1.2.3"));
    handshake.TakeOutgoing();
    const std::vector<uint8_t> reply = Bytes({0, 90, 0, 0, 0, 0, 0, 0});
    handshake.Receive(reply.data(), 7);
    EXPECT_FALSE(handshake.Finished());
    EXPECT_EQ(handshake.BytesWanted(), 8u);
    handshake.Receive(reply.data(), 8);
    EXPECT_EQ(handshake.Verdict(), SocksVerdict::kGranted);
    EXPECT_EQ(handshake.BytesWanted(), 0u);
}
