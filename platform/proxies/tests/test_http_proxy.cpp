// The HTTP proxy: CONNECT with and without authorisation, its refusals and
// answer variants, and requests passed on to the host they name.
#include <gtest/gtest.h>

#include "HttpConnectProxy.h"
#include "ProxyTestKit.h"

using namespace proxies;
using namespace proxies::test;

namespace {

const std::string kAuthorisation = "Proxy-Authorization: Basic " + Base64Encode("alice:secret");

// The client's CONNECT request, with an optional last header line.
std::string ConnectRequest(const std::string& target, const std::string& lastLine = "")
{
    std::string request = "CONNECT " + target +
                          " HTTP/1.1\r\nContent-Type: text/html\r\nProxy-Connection: "
                          "Keep-Alive\r\nContent-length: 0\r\n";
    if (!lastLine.empty())
        request += lastLine + "\r\n";
    return request + "\r\n";
}

int Status(const std::string& head)
{
    HttpHead parsed;
    std::string error;
    return ParseResponseHead(head, parsed, error) ? parsed.status : -1;
}

class HttpProxyTest : public EchoTargetTest {
protected:
    std::unique_ptr<RunningServer> StartProxy(HttpProxyOptions options)
    {
        return StartStandIn<HttpConnectProxy>(options);
    }
    HttpProxyOptions WithLogin()
    {
        HttpProxyOptions options;
        options.requireLogin = true;
        options.user = "alice";
        options.password = "secret";
        return options;
    }
    std::string Target() { return "127.0.0.1:" + std::to_string(target_.port()); }
};

TEST_F(HttpProxyTest, ConnectIsAnsweredByItsAuthorisation)
{
    const std::string longUser(63, 'u');
    const std::string longPassword(63, 'p');
    const struct {
        const char* name;
        bool login;
        std::string user, password;
        std::string lastLine;
        int status;
    } cases[] = {
        {"no login configured", false, "", "", "", 200},
        {"no login configured, credentials sent", false, "", "", kAuthorisation, 200},
        {"login, none sent", true, "alice", "secret", "", 407},
        {"login, right credentials", true, "alice", "secret", kAuthorisation, 200},
        {"login, scheme in lower case", true, "alice", "secret",
         "Proxy-Authorization: basic " + Base64Encode("alice:secret"), 200},
        {"login, wrong password", true, "alice", "secret",
         "Proxy-Authorization: Basic " + Base64Encode("alice:secreT"), 407},
        {"login, not Base64", true, "alice", "secret", "Proxy-Authorization: Basic !!!!", 407},
        {"login, another scheme", true, "alice", "secret",
         "Proxy-Authorization: Digest " + Base64Encode("alice:secret"), 407},
        {"the longest credentials", true, longUser, longPassword,
         "Proxy-Authorization: Basic " + Base64Encode(longUser + ":" + longPassword), 200},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HttpProxyOptions options;
        options.requireLogin = c.login;
        options.user = c.user;
        options.password = c.password;
        auto proxy = StartProxy(options);
        TestClient client(proxy->port());
        ASSERT_TRUE(client.Send(ConnectRequest(Target(), c.lastLine)));
        const std::string head = client.ReadHead();
        EXPECT_EQ(Status(head), c.status) << head;
        if (c.status == 407) {
            EXPECT_NE(head.find("\r\nProxy-Authenticate: Basic realm=\"mardavel\"\r\n"),
                      std::string::npos);
            EXPECT_TRUE(client.ClosedByPeer());
            continue;
        }
        EXPECT_EQ(head, "HTTP/1.1 200 Connection established\r\n\r\n");
        ASSERT_TRUE(client.Send("ping"));
        EXPECT_EQ(client.Read(4), "ping");
    }
}

TEST_F(HttpProxyTest, RefusedConnectsForwardNothing)
{
    const uint16_t dead = UnusedPort();
    const struct {
        const char* name;
        int connectStatus;
        std::string request;
        int status;
    } cases[] = {
        {"forced 403", 403, ConnectRequest(Target()), 403},
        {"forced 407 despite right credentials", 407, ConnectRequest(Target(), kAuthorisation), 407},
        {"forced 502", 502, ConnectRequest(Target()), 502},
        {"an address elsewhere", 0, ConnectRequest("10.0.0.1:4001"), 403},
        {"a name not resolved", 0, ConnectRequest("game.example:4001"), 502},
        {"nothing listening", 0, ConnectRequest("127.0.0.1:" + std::to_string(dead)), 502},
        {"no port", 0, ConnectRequest("127.0.0.1"), 400},
        {"port 0", 0, ConnectRequest("127.0.0.1:0"), 400},
        {"bad request line", 0, "CONNECT 127.0.0.1:1 HTTP/1.1 extra\r\n\r\n", 400},
        {"not HTTP", 0, "HELLO\r\n\r\n", 400},
        {"bad header line", 0, "CONNECT 127.0.0.1:1 HTTP/1.1\r\nno colon\r\n\r\n", 400},
        {"head too long", 0, "CONNECT " + std::string(9000, 'a') + "\r\n\r\n", 431},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HttpProxyOptions options;
        options.connectStatus = c.connectStatus;
        auto proxy = StartProxy(options);
        TestClient client(proxy->port());
        ASSERT_TRUE(client.Send(c.request));
        EXPECT_EQ(Status(client.ReadHead()), c.status);
        EXPECT_TRUE(client.ClosedByPeer());
    }
    EXPECT_EQ(echo().connections(), 0);
}

TEST_F(HttpProxyTest, FixedTargetTakesEveryConnect)
{
    HttpProxyOptions options;
    options.forward.target = Endpoint{"127.0.0.1", target_.port()};
    auto proxy = StartProxy(options);
    TestClient client(proxy->port());
    ASSERT_TRUE(client.Send(ConnectRequest("10.20.30.40:4001") + "ping"));
    EXPECT_EQ(Status(client.ReadHead()), 200);
    EXPECT_EQ(client.Read(4), "ping");
}

TEST_F(HttpProxyTest, AnswerShapes)
{
    for (const ReplyShape shape : {ReplyShape::kShort, ReplyShape::kLong}) {
        HttpProxyOptions options;
        options.shape = shape;
        auto proxy = StartProxy(options);
        TestClient client(proxy->port());
        ASSERT_TRUE(client.Send(ConnectRequest(Target())));
        if (shape == ReplyShape::kShort) {
            EXPECT_EQ(client.ReadToClose(), "HTTP/1.1 200 Connec");  // 19 of its 39 bytes
            continue;
        }
        const std::string head = client.ReadHead();
        EXPECT_GT(head.size(), 1024u);
        EXPECT_EQ(Status(head), 200);
        ASSERT_TRUE(client.Send("ping"));
        EXPECT_EQ(client.Read(4), "ping");
    }
}

TEST_F(HttpProxyTest, OtherRequestsArePassedOnWithoutTheProxysFields)
{
    const std::string host = Target();
    const struct {
        const char* name;
        std::string request;
        std::string passedOn;
    } cases[] = {
        {"absolute form with the proxy's fields",
         "GET http://" + host + "/default.asp?A=1 HTTP/1.0\r\nAccept: */*\r\nHost: " + host + "\r\n" +
             kAuthorisation + "\r\nProxy-Connection: Keep-Alive\r\n\r\n",
         "GET /default.asp?A=1 HTTP/1.0\r\nAccept: */*\r\nHost: " + host + "\r\n\r\n"},
        {"absolute form", "POST http://" + host + "/default.asp HTTP/1.0\r\nMETHOD: SEND\r\n\r\nbody",
         "POST /default.asp HTTP/1.0\r\nMETHOD: SEND\r\n\r\nbody"},
    };
    auto proxy = StartProxy({});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string before = echo().Received();
        TestClient client(proxy->port());
        ASSERT_TRUE(client.Send(c.request));
        // The echo target sends back what reached it.
        EXPECT_EQ(client.Read(c.passedOn.size()), c.passedOn);
        EXPECT_EQ(echo().Received(), before + c.passedOn);
    }
}

TEST_F(HttpProxyTest, PassingOnNeedsAHostAndTheLogin)
{
    auto open = StartProxy({});
    auto guarded = StartProxy(WithLogin());
    const std::string get = "GET http://" + Target() + "/default.asp HTTP/1.0\r\nHost: " + Target() + "\r\n";
    const struct {
        const char* name;
        RunningServer* proxy;
        std::string request;
        int status;
    } cases[] = {
        {"no Host", open.get(), "GET /default.asp HTTP/1.0\r\nAccept: */*\r\n\r\n", 400},
        // A real proxy refuses a path alone, whatever the Host field says.
        {"path only, with Host", open.get(), "GET /default.asp HTTP/1.0\r\nHost: " + Target() + "\r\n\r\n", 400},
        {"elsewhere", open.get(), "GET http://10.0.0.1:80/ HTTP/1.0\r\nHost: 10.0.0.1:80\r\n\r\n", 403},
        {"without the login", guarded.get(), get + "\r\n", 407},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestClient client(c.proxy->port());
        ASSERT_TRUE(client.Send(c.request));
        EXPECT_EQ(Status(client.ReadHead()), c.status);
        EXPECT_TRUE(client.ClosedByPeer());
    }
    TestClient client(guarded->port());
    ASSERT_TRUE(client.Send(get + kAuthorisation + "\r\n\r\n"));
    // Passed on in the origin form, without the authorisation.
    EXPECT_EQ(client.ReadHead(), "GET /default.asp HTTP/1.0\r\nHost: " + Target() + "\r\n\r\n");
}

TEST_F(HttpProxyTest, RecordShowsTheRequestAndAnswerText)
{
    auto proxy = StartProxy(WithLogin());
    TestClient client(proxy->port());
    const std::string request = ConnectRequest(Target(), kAuthorisation);
    ASSERT_TRUE(client.Send(request));
    ASSERT_EQ(Status(client.ReadHead()), 200);
    ASSERT_TRUE(proxy->record().WaitFor("http answer"));
    const std::vector<std::string> lines = proxy->record().Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "#1 http request: " + QuotedText(request));
    EXPECT_EQ(lines[1], "#1 http answer: \"HTTP/1.1 200 Connection established\\r\\n\\r\\n\"");
}

}  // namespace
