// The HTTP tunnel relay: the GET and POST legs as the client sends them,
// 100 Continue, redirects with their route, its refusals, and the whole
// path through the HTTP proxy when CONNECT is refused.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "HttpConnectProxy.h"
#include "HttpTunnelRelay.h"
#include "ProxyTestKit.h"

using namespace proxies;
using namespace proxies::test;

namespace {

// SERVERIP of 127.0.0.1 as the client prints it.
const std::string kLoopbackNumber = "16777343";
// The Content-Length of the client's POST leg.
const std::string kPostLength = "1073741824";

std::string WithLastLines(std::string request, const std::vector<std::string>& lines)
{
    request.erase(request.size() - 2);
    for (const std::string& line : lines)
        request += line + "\r\n";
    return request + "\r\n";
}

// The client's GET leg for the game server at 127.0.0.1:serverPort; origin
// "http://host" when it goes through a proxy.
std::string GetLeg(uint16_t serverPort, const std::string& host,
                   const std::vector<std::string>& lastLines = {},
                   const std::string& serverIp = kLoopbackNumber, const std::string& origin = "")
{
    return WithLastLines(
        "GET " + origin + "/default.asp?SERIALNO=&METHOD=CONNECT&USERID=&SERVERIP=" + serverIp +
            "&SERVERPORT=" + std::to_string(TunnelPortNumber(serverPort)) +
            " HTTP/1.0\r\nAccept: */*\r\nAccept-Language: zh-cn\r\nAccept-Encoding: gzip, "
            "deflate\r\nUSERAGENT: VIVAVAROVOVA\r\nCache-Control: no-cache, max-age=0\r\nHost: " +
            host + "\r\nConnection: keep-alive\r\n\r\n",
        lastLines);
}

// The client's POST leg.
std::string PostLeg(const std::string& serial, const std::string& host,
                    const std::vector<std::string>& lastLines = {},
                    const std::string& length = kPostLength, const std::string& origin = "")
{
    return WithLastLines("POST " + origin + "/default.asp HTTP/1.0\r\nUSERAGENT: VIVAVAROVOVA\r\nMETHOD: "
                         "SEND\r\nSERIALNO: " +
                             serial + "\r\nHost: " + host + "\r\nContent-Length: " + length +
                             "\r\nProxy-Connection: Keep-Alive\r\nCache-Control: no-cache, "
                             "max-age=0\r\nContent-Type: application/octet-stream\r\n\r\n",
                         lastLines);
}

HttpHead Parse(const std::string& head)
{
    HttpHead parsed;
    std::string error;
    if (!ParseResponseHead(head, parsed, error))
        parsed.status = -1;
    return parsed;
}

std::string Serial(const HttpHead& head)
{
    const std::string* serial = head.Field("SERIALNO");
    return serial ? *serial : "";
}

class TunnelTest : public EchoTargetTest {
protected:
    std::unique_ptr<RunningServer> StartRelay(TunnelOptions options = {})
    {
        return StartStandIn<HttpTunnelRelay>(options);
    }
    static std::string Host(const RunningServer& server)
    {
        return "127.0.0.1:" + std::to_string(server.port());
    }
    static HttpTunnelRelay& Relay(RunningServer& server)
    {
        return static_cast<HttpTunnelRelay&>(server.service());
    }
    // Bytes go up the POST leg to the echo target and come back down the GET leg.
    void ExpectRoundTrip(TestClient& get, TestClient& post, const std::string& text)
    {
        ASSERT_TRUE(post.Send(text));
        EXPECT_EQ(get.Read(text.size()), text);
    }

    // The two legs of one session, each its own connection to the relay.
    struct Legs {
        std::unique_ptr<TestClient> get;
        std::unique_ptr<TestClient> post;
        std::string serial;  // of the GET's answer
    };

    // Opens a session the client's way: the GET leg, then the POST leg with
    // the serial number of the GET's answer, its head followed by `body`.
    // False when a leg could not be sent.
    bool OpenSession(RunningServer& relay, Legs& legs, const std::string& length = kPostLength,
                     const std::string& body = "")
    {
        legs.get = std::make_unique<TestClient>(relay.port());
        if (!legs.get->Send(GetLeg(target_.port(), Host(relay))))
            return false;
        legs.serial = Serial(Parse(legs.get->ReadHead()));
        legs.post = std::make_unique<TestClient>(relay.port());
        return legs.post->Send(PostLeg(legs.serial, Host(relay), {}, length) + body);
    }
};

TEST(TunnelQueryTest, NumbersAreTheClientsInMemoryNetworkOrder)
{
    const uint8_t loopback[4] = {127, 0, 0, 1};
    EXPECT_EQ(TunnelAddressNumber(loopback), 16777343u);
    EXPECT_EQ(TunnelPortNumber(4001), 41231);
    const struct {
        const char* ip;
        const char* port;
        bool ok;
        const char* address;
        uint16_t decoded;
    } cases[] = {
        {"16777343", "41231", true, "127.0.0.1", 4001},
        {"4294967295", "65535", true, "255.255.255.255", 65535},
        {"0", "256", true, "0.0.0.0", 1},
        {"4294967296", "1", false, "", 0},
        {"-1", "1", false, "", 0},
        {"16777343", "65536", false, "", 0},
        {"16777343", "0", false, "", 0},
        {"", "1", false, "", 0},
        {"1x", "1", false, "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.ip) + " " + c.port);
        TunnelQuery query;
        std::string error;
        const bool ok = ParseTunnelQuery({{"SERIALNO", ""}, {"METHOD", "CONNECT"}, {"USERID", ""},
                                          {"SERVERIP", c.ip}, {"SERVERPORT", c.port}},
                                         query, error);
        EXPECT_EQ(ok, c.ok) << error;
        if (ok) {
            EXPECT_EQ(query.address, c.address);
            EXPECT_EQ(query.port, c.decoded);
            EXPECT_EQ(query.method, "CONNECT");
        }
    }
    TunnelQuery query;
    std::string error;
    EXPECT_FALSE(ParseTunnelQuery({{"METHOD", "CONNECT"}, {"SERVERIP", "1"}}, query, error));
}

TEST_F(TunnelTest, GetAndPostLegsCarryBytesBothWays)
{
    auto relay = StartRelay();
    TestClient get(relay->port());
    ASSERT_TRUE(get.Send(GetLeg(target_.port(), Host(*relay))));
    const HttpHead answer = Parse(get.ReadHead());
    ASSERT_EQ(answer.status, 200);
    EXPECT_EQ(answer.version, "HTTP/1.0");
    const std::string serial = Serial(answer);
    ASSERT_FALSE(serial.empty());
    ASSERT_LE(serial.size(), 127u);  // the client keeps up to 128 characters

    TestClient post(relay->port());
    ASSERT_TRUE(post.Send(PostLeg(serial, Host(*relay))));
    ExpectRoundTrip(get, post, "hello");
    ExpectRoundTrip(get, post, std::string(50000, 'x'));
    EXPECT_EQ(echo().Received(), "hello" + std::string(50000, 'x'));

    // The client closing the GET leg ends the session and its server connection.
    get.ShutdownWrite();
    EXPECT_TRUE(post.ClosedByPeer());
    EXPECT_TRUE(relay->log().WaitFor("session ended: the GET leg closed"));
    EXPECT_EQ(Relay(*relay).openSessions(), 0u);
}

TEST_F(TunnelTest, PostBodyInTheSameWriteAsItsHeadArrives)
{
    auto relay = StartRelay();
    Legs legs;
    ASSERT_TRUE(OpenSession(*relay, legs, kPostLength, "early bytes"));
    EXPECT_EQ(legs.get->Read(11), "early bytes");
}

TEST_F(TunnelTest, PostBodyEndsAtItsLength)
{
    auto relay = StartRelay();
    Legs legs;
    ASSERT_TRUE(OpenSession(*relay, legs, "5", "12345678"));
    EXPECT_EQ(legs.get->ReadToClose(), "12345");
    EXPECT_EQ(echo().Received(), "12345");
}

TEST_F(TunnelTest, ServerClosingEndsBothLegs)
{
    auto relay = StartRelay();
    Legs legs;
    ASSERT_TRUE(OpenSession(*relay, legs));
    ExpectRoundTrip(*legs.get, *legs.post, "x");
    target_.server().Stop();  // the game server goes away
    EXPECT_TRUE(legs.get->ClosedByPeer());
    EXPECT_TRUE(legs.post->ClosedByPeer());
}

TEST_F(TunnelTest, ContinueHeadsComeBeforeTheAnswer)
{
    TunnelOptions options;
    options.continues = 2;
    auto relay = StartRelay(options);
    TestClient get(relay->port());
    ASSERT_TRUE(get.Send(GetLeg(target_.port(), Host(*relay))));
    EXPECT_EQ(get.ReadHead(), "HTTP/1.1 100 Continue\r\n\r\n");
    EXPECT_EQ(get.ReadHead(), "HTTP/1.1 100 Continue\r\n\r\n");
    const HttpHead answer = Parse(get.ReadHead());
    EXPECT_EQ(answer.status, 200);
    TestClient post(relay->port());
    ASSERT_TRUE(post.Send(PostLeg(Serial(answer), Host(*relay))));
    ExpectRoundTrip(get, post, "after continue");
}

TEST_F(TunnelTest, RedirectNamesTheNextRelayAndItsRoute)
{
    TunnelOptions second;
    second.requireRoute = "route-7";
    auto relayB = StartRelay(second);
    TunnelOptions first;
    first.redirects = 1;
    first.redirectTo = Endpoint{"127.0.0.1", relayB->port()};
    first.route = "route-7";
    auto relayA = StartRelay(first);

    TestClient redirected(relayA->port());
    ASSERT_TRUE(redirected.Send(GetLeg(target_.port(), Host(*relayA))));
    const HttpHead answer = Parse(redirected.ReadHead());
    EXPECT_EQ(answer.status, 302);
    ASSERT_NE(answer.Field("Location"), nullptr);
    EXPECT_EQ(*answer.Field("Location"), Host(*relayB));
    ASSERT_NE(answer.Field("Redirect-Route"), nullptr);
    EXPECT_EQ(*answer.Field("Redirect-Route"), "route-7");
    EXPECT_TRUE(redirected.ClosedByPeer());

    // The next relay wants the route back.
    TestClient withoutRoute(relayB->port());
    ASSERT_TRUE(withoutRoute.Send(GetLeg(target_.port(), Host(*relayB))));
    EXPECT_EQ(Parse(withoutRoute.ReadHead()).status, 403);
    TestClient wrongRoute(relayB->port());
    ASSERT_TRUE(wrongRoute.Send(GetLeg(target_.port(), Host(*relayB), {"Redirect-Route: route-8"})));
    EXPECT_EQ(Parse(wrongRoute.ReadHead()).status, 403);

    TestClient get(relayB->port());
    ASSERT_TRUE(get.Send(GetLeg(target_.port(), Host(*relayB), {"Redirect-Route: route-7"})));
    const HttpHead served = Parse(get.ReadHead());
    ASSERT_EQ(served.status, 200);
    TestClient post(relayB->port());
    ASSERT_TRUE(post.Send(PostLeg(Serial(served), Host(*relayB))));
    ExpectRoundTrip(get, post, "redirected");
}

TEST_F(TunnelTest, RedirectsToItselfUntilTheCountIsUsedUp)
{
    TunnelOptions options;
    options.redirects = 5;  // more than the client's four attempts
    auto relay = StartRelay(options);
    for (int attempt = 1; attempt <= 4; ++attempt) {
        SCOPED_TRACE(attempt);
        TestClient get(relay->port());
        const std::vector<std::string> route =
            attempt == 1 ? std::vector<std::string>{} : std::vector<std::string>{"Redirect-Route: mardavel-route"};
        ASSERT_TRUE(get.Send(GetLeg(target_.port(), Host(*relay), route)));
        const HttpHead answer = Parse(get.ReadHead());
        EXPECT_EQ(answer.status, 302);
        ASSERT_NE(answer.Field("Location"), nullptr);
        EXPECT_EQ(*answer.Field("Location"), Host(*relay));
    }
    TestClient fifth(relay->port());
    ASSERT_TRUE(fifth.Send(GetLeg(target_.port(), Host(*relay))));
    EXPECT_EQ(Parse(fifth.ReadHead()).status, 302);
    TestClient sixth(relay->port());
    ASSERT_TRUE(sixth.Send(GetLeg(target_.port(), Host(*relay))));
    EXPECT_EQ(Parse(sixth.ReadHead()).status, 200);
    // Only the GET leg served reached the server.
    EXPECT_TRUE(target_.log().WaitFor("echo #1: connection from"));
    EXPECT_FALSE(target_.log().Contains("echo #2:"));
}

TEST_F(TunnelTest, RefusedLegsAreAnsweredAndClosed)
{
    const uint16_t dead = UnusedPort();
    auto relay = StartRelay();
    const std::string host = Host(*relay);
    const std::string get = GetLeg(target_.port(), host);
    const struct {
        const char* name;
        std::string request;
        int status;
    } cases[] = {
        {"another path", "GET /other.asp?METHOD=CONNECT&SERVERIP=16777343&SERVERPORT=1 HTTP/1.0\r\n\r\n",
         404},
        {"METHOD other than CONNECT",
         "GET /default.asp?METHOD=SEND&SERVERIP=16777343&SERVERPORT=41231 HTTP/1.0\r\n\r\n", 400},
        {"no SERVERPORT", "GET /default.asp?METHOD=CONNECT&SERVERIP=16777343 HTTP/1.0\r\n\r\n", 400},
        {"a server elsewhere", GetLeg(target_.port(), host, {}, "16777226"), 403},  // 10.0.0.1
        {"nothing listening", GetLeg(dead, host), 502},
        {"POST of an unknown session", PostLeg("nobody", host), 404},
        {"POST without METHOD", "POST /default.asp HTTP/1.0\r\nSERIALNO: x\r\nContent-Length: 1\r\n\r\n",
         400},
        {"POST without a length", "POST /default.asp HTTP/1.0\r\nMETHOD: SEND\r\nSERIALNO: x\r\n\r\n", 411},
        {"POST with a bad length", PostLeg("x", host, {}, "12ab"), 411},
        {"another method", "PUT /default.asp HTTP/1.0\r\n\r\n", 400},
        {"not HTTP", "\x05\x02 garbage\r\n\r\n", 400},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestClient client(relay->port());
        ASSERT_TRUE(client.Send(c.request));
        EXPECT_EQ(Parse(client.ReadHead()).status, c.status);
        EXPECT_TRUE(client.ClosedByPeer());
    }
    EXPECT_EQ(echo().connections(), 0);
}

TEST_F(TunnelTest, SecondPostForASessionIsRefused)
{
    auto relay = StartRelay();
    Legs legs;
    ASSERT_TRUE(OpenSession(*relay, legs));
    ASSERT_TRUE(relay->log().WaitFor("joins session"));
    TestClient again(relay->port());
    ASSERT_TRUE(again.Send(PostLeg(legs.serial, Host(*relay))));
    EXPECT_EQ(Parse(again.ReadHead()).status, 409);
    ExpectRoundTrip(*legs.get, *legs.post, "still the first");
}

TEST_F(TunnelTest, AnswerVariants)
{
    const struct {
        const char* name;
        int getStatus;
        bool emptySerial;
        ReplyShape shape;
    } cases[] = {
        {"status 500", 500, false, ReplyShape::kWhole},
        {"status 404", 404, false, ReplyShape::kWhole},
        {"200 without a serial number", 200, true, ReplyShape::kWhole},
        {"short answer", 200, false, ReplyShape::kShort},
        {"long answer", 200, false, ReplyShape::kLong},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TunnelOptions options;
        options.getStatus = c.getStatus;
        options.emptySerial = c.emptySerial;
        options.shape = c.shape;
        auto relay = StartRelay(options);
        TestClient get(relay->port());
        ASSERT_TRUE(get.Send(GetLeg(target_.port(), Host(*relay))));
        if (c.shape == ReplyShape::kShort) {
            const std::string cut = get.ReadToClose();
            EXPECT_EQ(cut.rfind("HTTP/1.0 200 OK\r\nSERIALNO: ", 0), 0u);
            EXPECT_EQ(cut.find("\r\n\r\n"), std::string::npos);
            continue;
        }
        const std::string head = get.ReadHead();
        const HttpHead answer = Parse(head);
        EXPECT_EQ(answer.status, c.getStatus);
        EXPECT_EQ(Serial(answer).empty(), c.getStatus != 200 || c.emptySerial);
        if (c.shape == ReplyShape::kLong) {
            EXPECT_GT(head.size(), 1024u);
        }
        if (c.getStatus != 200 || c.emptySerial) {
            EXPECT_TRUE(get.ClosedByPeer());
        }
    }
}

TEST_F(TunnelTest, RecordShowsTheLegsExactly)
{
    auto relay = StartRelay();
    TestClient get(relay->port());
    const std::string request = GetLeg(target_.port(), Host(*relay));
    ASSERT_TRUE(get.Send(request));
    const std::string answer = get.ReadHead();
    ASSERT_TRUE(relay->record().WaitFor("tunnel answer"));
    const std::vector<std::string> lines = relay->record().Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "#1 tunnel request: " + QuotedText(request));
    EXPECT_EQ(lines[1], "#1 tunnel answer: " + QuotedText(answer));
}

TEST_F(TunnelTest, StopEndsOpenSessionsPromptly)
{
    auto relay = StartRelay();
    Legs legs;
    ASSERT_TRUE(OpenSession(*relay, legs));
    ExpectRoundTrip(*legs.get, *legs.post, "x");
    const auto start = std::chrono::steady_clock::now();
    relay->server().Stop();
    // Wide: the bound tells a stop from one that waits on its connections.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_TRUE(legs.get->ClosedByPeer(10000));
    EXPECT_TRUE(legs.post->ClosedByPeer(10000));
}

// The client's way when the HTTP proxy refuses CONNECT: both legs go to the
// relay through the proxy, each with the authorisation line last.
TEST_F(TunnelTest, LegsReachTheRelayThroughTheHttpProxy)
{
    auto relay = StartRelay();
    HttpProxyOptions proxyOptions;
    proxyOptions.requireLogin = true;
    proxyOptions.user = "alice";
    proxyOptions.password = "secret";
    proxyOptions.connectStatus = 407;
    RunningServer proxy(std::make_unique<HttpConnectProxy>(proxyOptions));
    const std::string authorisation = "Proxy-Authorization: Basic " + Base64Encode("alice:secret");

    TestClient connect(proxy.port());
    ASSERT_TRUE(connect.Send("CONNECT 127.0.0.1:" + std::to_string(target_.port()) +
                             " HTTP/1.1\r\nContent-Type: text/html\r\nProxy-Connection: "
                             "Keep-Alive\r\nContent-length: 0\r\n" +
                             authorisation + "\r\n\r\n"));
    EXPECT_EQ(Parse(connect.ReadHead()).status, 407);

    // A leg that names only the path is refused, as a real proxy does.
    TestClient pathOnly(proxy.port());
    ASSERT_TRUE(pathOnly.Send(GetLeg(target_.port(), Host(*relay), {authorisation})));
    EXPECT_EQ(Parse(pathOnly.ReadHead()).status, 400);

    const std::string origin = "http://" + Host(*relay);
    TestClient get(proxy.port());
    ASSERT_TRUE(get.Send(GetLeg(target_.port(), Host(*relay), {authorisation}, kLoopbackNumber, origin)));
    const HttpHead answer = Parse(get.ReadHead());
    ASSERT_EQ(answer.status, 200);
    TestClient post(proxy.port());
    ASSERT_TRUE(post.Send(PostLeg(Serial(answer), Host(*relay), {authorisation}, kPostLength, origin)));
    ExpectRoundTrip(get, post, "through the proxy");
    // The relay never saw the proxy's authorisation.
    EXPECT_FALSE(relay->record().Contains("Proxy-Authorization"));
}

}  // namespace
