// The HTTP tunnel's and the HTTP proxy's texts: exact requests, the
// authorisation and redirect lines, reading heads to their end, and the
// verdict on every answer of the relay and the proxy.
#include <gtest/gtest.h>

#include "HttpTunnelText.h"
#include "ProxyTestFakes.h"

using namespace proxytest;

namespace {

Ipv4Endpoint Endpoint(uint8_t a, uint8_t b, uint8_t c, uint8_t d, uint16_t port)
{
    Ipv4Endpoint e;
    e.address[0] = a;
    e.address[1] = b;
    e.address[2] = c;
    e.address[3] = d;
    e.port = port;
    return e;
}

const Ipv4Endpoint kServer = Endpoint(127, 0, 0, 1, 4001);
const Ipv4Endpoint kRelay = Endpoint(10, 0, 0, 7, 8080);
const Ipv4Endpoint kProxy = Endpoint(10, 0, 0, 9, 3128);

const std::string kGetHead =
    "GET /default.asp?SERIALNO=&METHOD=CONNECT&USERID=&SERVERIP=16777343&SERVERPORT=41231 HTTP/1.0\r\n"
    "Accept: */*\r\n"
    "Accept-Language: zh-cn\r\n"
    "Accept-Encoding: gzip, deflate\r\n"
    "USERAGENT: VIVAVAROVOVA\r\n"
    "Cache-Control: no-cache, max-age=0\r\n"
    "Host: 10.0.0.7:8080\r\n"
    "Connection: keep-alive\r\n";

const std::string kPostHead =
    "POST /default.asp HTTP/1.0\r\n"
    "USERAGENT: VIVAVAROVOVA\r\n"
    "METHOD: SEND\r\n"
    "SERIALNO: S-17\r\n"
    "Host: 10.0.0.7:8080\r\n"
    "Content-Length: 1073741824\r\n"
    "Proxy-Connection: Keep-Alive\r\n"
    "Cache-Control: no-cache, max-age=0\r\n"
    "Content-Type: application/octet-stream\r\n";

const std::string kAuth = "Proxy-Authorization: Basic YWxpY2U6c2VjcmV0";  // alice:secret

// Feeds a stream to a head reader as the tunnel reads a socket; returns how
// many bytes it took.
size_t ReadHead(CHttpHeadReader& reader, const std::string& stream, size_t from = 0)
{
    size_t at = from;
    while (size_t wanted = reader.BytesWanted()) {
        if (at + wanted > stream.size())
            break;
        reader.Receive(stream.data() + at, wanted);
        at += wanted;
    }
    return at - from;
}

}  // namespace

TEST(ProxyHttp, Base64IsStandard)
{
    const struct {
        std::string in;
        const char* out;
    } cases[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
        {std::string("\xFB\xFF\xBF", 3), "+/+/"},
        {std::string("\0\0", 2), "AAA="},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Base64Encode(c.in), c.out);
}

TEST(ProxyHttp, AuthorisationLineNeedsBothCredentials)
{
    EXPECT_EQ(BuildProxyAuthorizationLine("alice", "secret"), kAuth);
    EXPECT_EQ(BuildProxyAuthorizationLine("", "secret"), "");
    EXPECT_EQ(BuildProxyAuthorizationLine("alice", ""), "");
    // The longest pair the settings hold: 63 + 1 + 63 bytes, 172 characters
    // of Base64, all of it kept.
    const std::string user(63, 'u');
    const std::string password(63, 'p');
    const std::string line = BuildProxyAuthorizationLine(user, password);
    EXPECT_EQ(line, "Proxy-Authorization: Basic " + Base64Encode(user + ":" + password));
    EXPECT_EQ(line.size(), 27u + 172u);
}

TEST(ProxyHttp, HostTextAndTunnelNumbers)
{
    EXPECT_EQ(TunnelHostText(Endpoint(10, 0, 0, 7, 80)), "10.0.0.7");
    EXPECT_EQ(TunnelHostText(Endpoint(10, 0, 0, 7, 8080)), "10.0.0.7:8080");
    EXPECT_EQ(TunnelHostText(Endpoint(255, 255, 255, 255, 65535)), "255.255.255.255:65535");
    EXPECT_EQ(TunnelAddressNumber(kServer), 16777343u);
    EXPECT_EQ(TunnelAddressNumber(Endpoint(10, 0, 0, 1, 1)), 16777226u);
    EXPECT_EQ(TunnelPortNumber(4001), 41231);
    EXPECT_EQ(TunnelPortNumber(80), 20480);
}

TEST(ProxyHttp, RequestsAreExact)
{
    const std::string route = "Redirect-Route: " + std::string(200, 'r');  // longer than any fixed field
    const struct {
        const char* name;
        std::string built;
        std::string expected;
    } cases[] = {
        {"CONNECT", BuildHttpConnectRequest(kServer, ""),
         "CONNECT 127.0.0.1:4001 HTTP/1.1\r\nContent-Type: text/html\r\nProxy-Connection: Keep-Alive\r\n"
         "Content-length: 0\r\n\r\n"},
        {"CONNECT with authorisation", BuildHttpConnectRequest(kServer, kAuth),
         "CONNECT 127.0.0.1:4001 HTTP/1.1\r\nContent-Type: text/html\r\nProxy-Connection: Keep-Alive\r\n"
         "Content-length: 0\r\n" + kAuth + "\r\n\r\n"},
        {"GET", BuildTunnelGetRequest(kServer, "10.0.0.7:8080", "", ""), kGetHead + "\r\n"},
        {"GET with redirect", BuildTunnelGetRequest(kServer, "10.0.0.7:8080", "Redirect-Route: r7", ""),
         kGetHead + "Redirect-Route: r7\r\n\r\n"},
        {"GET with authorisation", BuildTunnelGetRequest(kServer, "10.0.0.7:8080", "", kAuth),
         kGetHead + kAuth + "\r\n\r\n"},
        {"GET with both, authorisation last", BuildTunnelGetRequest(kServer, "10.0.0.7:8080", route, kAuth),
         kGetHead + route + "\r\n" + kAuth + "\r\n\r\n"},
        {"POST", BuildTunnelPostRequest("S-17", "10.0.0.7:8080", ""), kPostHead + "\r\n"},
        {"POST with authorisation", BuildTunnelPostRequest("S-17", "10.0.0.7:8080", kAuth),
         kPostHead + kAuth + "\r\n\r\n"},
        {"GET through a proxy", BuildTunnelGetRequest(kServer, "10.0.0.7:8080", "", "", TunnelOrigin("10.0.0.7:8080")),
         "GET http://10.0.0.7:8080" + kGetHead.substr(4) + "\r\n"},
        {"POST through a proxy", BuildTunnelPostRequest("S-17", "10.0.0.7", "", TunnelOrigin("10.0.0.7")),
         "POST http://10.0.0.7" + kPostHead.substr(5).replace(kPostHead.substr(5).find("10.0.0.7:8080"), 13, "10.0.0.7") +
             "\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.built, c.expected);
    }
}

TEST(ProxyHttp, HeadsAreReadToTheirEndAndNoFurther)
{
    const std::string kilobyteHead = "HTTP/1.0 200 OK\r\nX: " + std::string(1024 - 20 - 4, 'x') + "\r\n\r\n";
    ASSERT_EQ(kilobyteHead.size(), 1024u);
    const struct {
        const char* name;
        std::string stream;
        bool complete;
        bool failed;
        size_t taken;
    } cases[] = {
        {"CRLF head, then the body", "HTTP/1.0 200 OK\r\nSERIALNO: 5\r\n\r\nGAME", true, false, 32},
        {"LF head", "HTTP/1.0 200 OK\nSERIALNO: 5\n\nGAME", true, false, 29},
        {"head of exactly 1024 bytes", kilobyteHead + "GAME", true, false, 1024},
        {"1024 bytes without an end", std::string(1500, 'h'), false, true, 1024},
        {"closed in the middle", "HTTP/1.0 200 OK\r\n", false, false, 17},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CHttpHeadReader reader;
        EXPECT_EQ(ReadHead(reader, c.stream), c.taken);
        EXPECT_EQ(reader.Complete(), c.complete);
        EXPECT_EQ(reader.Failed(), c.failed);
        if (c.complete) {
            EXPECT_EQ(reader.Head(), c.stream.substr(0, c.taken));
        }
    }
}

TEST(ProxyHttp, StatusAndHeaderValues)
{
    const struct {
        const char* head;
        int status;
    } statuses[] = {
        {"HTTP/1.1 200 Connection established\r\n\r\n", 200},
        {"HTTP/1.0   302 Found\r\n\r\n", 302},
        {"HTTP/1.1\t407 Proxy Authentication Required\r\n\r\n", 407},
        {"HTTP/1.1 100\r\n\r\n", 100},
        {"HTTP/1.1\r\n200 OK\r\n\r\n", 0},
        {"HTTP/1.1 OK 200\r\n\r\n", 0},
        {"", 0},
    };
    for (const auto& c : statuses)
        EXPECT_EQ(HttpStatusOf(c.head), c.status) << c.head;

    const std::string head = "HTTP/1.0 302 Found\r\nlocation:   10.0.0.8:80  \r\nSERIALNO2: no\r\nSERIALNO: "
                             "S 1\r\nEmpty:\r\nLong: " +
                             std::string(128, 'l') + "\r\nEdge: " + std::string(127, 'e') + "\r\n\r\n";
    const struct {
        const char* name;
        HeaderLookup result;
        std::string value;
    } lookups[] = {
        {"Location", HeaderLookup::kFound, "10.0.0.8:80"},
        {"SERIALNO", HeaderLookup::kFound, "S 1"},
        {"Empty", HeaderLookup::kFound, ""},
        {"Long", HeaderLookup::kTooLong, ""},
        {"Edge", HeaderLookup::kFound, std::string(127, 'e')},
        {"Redirect-Route", HeaderLookup::kMissing, ""},
        {"HTTP/1.0 302 Found", HeaderLookup::kMissing, ""},
    };
    for (const auto& c : lookups) {
        SCOPED_TRACE(c.name);
        std::string value = "stale";
        EXPECT_EQ(FindHttpHeader(head, c.name, value), c.result);
        if (c.result != HeaderLookup::kTooLong) {
            EXPECT_EQ(value, c.value);
        }
    }
}

TEST(ProxyHttp, DottedEndpoints)
{
    const struct {
        const char* text;
        bool ok;
        Ipv4Endpoint endpoint;
    } cases[] = {
        {"10.0.0.8:80", true, Endpoint(10, 0, 0, 8, 80)},
        {"10.0.0.8:65535", true, Endpoint(10, 0, 0, 8, 65535)},
        {"10.0.0.8:0", false, {}},
        {"10.0.0.8:65536", false, {}},
        {"10.0.0.8", false, {}},
        {"10.0.0.8:", false, {}},
        {"relay.example:80", false, {}},
        {"10.0.0.8:80x", false, {}},
        {"http=10.0.0.8:80", false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Ipv4Endpoint out;
        EXPECT_EQ(ParseDottedEndpoint(c.text, out), c.ok);
        if (c.ok) {
            EXPECT_TRUE(out == c.endpoint);
        }
    }
}

TEST(ProxyHttp, VerdictOnEveryGetAnswer)
{
    const struct {
        const char* name;
        std::string head;
        TunnelAnswer answer;
        std::string serial;
    } cases[] = {
        {"200 with a serial number", "HTTP/1.0 200 OK\r\nSERIALNO: MDV-1\r\n\r\n", TunnelAnswer::kOpened, "MDV-1"},
        {"100 Continue", "HTTP/1.1 100 Continue\r\n\r\n", TunnelAnswer::kContinue, ""},
        {"200 without a serial number", "HTTP/1.0 200 OK\r\n\r\n", TunnelAnswer::kFailed, ""},
        {"200 with an empty serial number", "HTTP/1.0 200 OK\r\nSERIALNO: \r\n\r\n", TunnelAnswer::kFailed, ""},
        {"200 with an overlong serial number", "HTTP/1.0 200 OK\r\nSERIALNO: " + std::string(128, '7') + "\r\n\r\n",
         TunnelAnswer::kFailed, ""},
        {"302 without Location", "HTTP/1.0 302 Found\r\nRedirect-Route: r\r\n\r\n", TunnelAnswer::kFailed, ""},
        {"302 to a name", "HTTP/1.0 302 Found\r\nLocation: relay.example:80\r\n\r\n", TunnelAnswer::kFailed, ""},
        {"302 without a port", "HTTP/1.0 302 Found\r\nLocation: 10.0.0.8\r\n\r\n", TunnelAnswer::kFailed, ""},
        {"302 with an overlong route",
         "HTTP/1.0 302 Found\r\nLocation: 10.0.0.8:80\r\nRedirect-Route: " + std::string(128, 'r') + "\r\n\r\n",
         TunnelAnswer::kFailed, ""},
        {"403", "HTTP/1.0 403 Forbidden\r\n\r\n", TunnelAnswer::kFailed, ""},
        {"407", "HTTP/1.1 407 Proxy Authentication Required\r\n\r\n", TunnelAnswer::kFailed, ""},
        {"500", "HTTP/1.0 500 Internal Server Error\r\nSERIALNO: x\r\n\r\n", TunnelAnswer::kFailed, ""},
        {"not HTTP", "\x05\x00 garbage\r\n\r\n", TunnelAnswer::kFailed, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CHttpTunnelExchange exchange(kRelay, nullptr, "", kServer);
        exchange.GetRequest();
        EXPECT_STREQ(DescribeTunnelAnswer(exchange.OnGetAnswer(c.head)), DescribeTunnelAnswer(c.answer));
        EXPECT_EQ(exchange.Serial(), c.serial);
        EXPECT_TRUE(exchange.RelayEndpoint() == kRelay);
    }
}

TEST(ProxyHttp, RedirectMovesTheLegsAndCarriesTheRoute)
{
    CHttpTunnelExchange exchange(kRelay, nullptr, "", kServer);
    EXPECT_EQ(exchange.GetRequest(), kGetHead + "\r\n");
    EXPECT_EQ(exchange.OnGetAnswer("HTTP/1.0 302 Found\r\nLocation: 10.0.0.8:80\r\nRedirect-Route: r-7\r\n\r\n"),
              TunnelAnswer::kRedirected);
    EXPECT_TRUE(exchange.RelayEndpoint() == Endpoint(10, 0, 0, 8, 80));
    EXPECT_TRUE(exchange.LegEndpoint() == Endpoint(10, 0, 0, 8, 80));
    EXPECT_EQ(exchange.HostText(), "10.0.0.8");
    EXPECT_EQ(exchange.RedirectLine(), "Redirect-Route: r-7");
    std::string second = kGetHead;
    second.replace(second.find("Host: 10.0.0.7:8080"), 19, "Host: 10.0.0.8");
    EXPECT_EQ(exchange.GetRequest(), second + "Redirect-Route: r-7\r\n\r\n");

    // A redirect without a route sends the line with an empty value.
    EXPECT_EQ(exchange.OnGetAnswer("HTTP/1.0 302 Found\r\nLocation: 10.0.0.9:81\r\n\r\n"), TunnelAnswer::kRedirected);
    EXPECT_EQ(exchange.RedirectLine(), "Redirect-Route: ");
    EXPECT_EQ(exchange.HostText(), "10.0.0.9:81");
}

TEST(ProxyHttp, FiveRedirectsGiveUpAfterTheFourthAttempt)
{
    CHttpTunnelExchange exchange(kRelay, nullptr, "", kServer);
    int attempts = 0;
    TunnelAnswer answer;
    do {
        exchange.GetRequest();
        ++attempts;
        answer = exchange.OnGetAnswer("HTTP/1.0 302 Found\r\nLocation: 10.0.0.8:80\r\nRedirect-Route: r\r\n\r\n");
    } while (answer == TunnelAnswer::kRedirected && exchange.MayRetry());
    EXPECT_EQ(attempts, 4);
    EXPECT_EQ(exchange.Attempts(), CHttpTunnelExchange::kMaxAttempts);
}

TEST(ProxyHttp, ContinueThenOpenedThroughAProxy)
{
    CHttpTunnelExchange exchange(kRelay, &kProxy, kAuth, kServer);
    EXPECT_TRUE(exchange.UsesProxy());
    EXPECT_TRUE(exchange.LegEndpoint() == kProxy);
    EXPECT_EQ(exchange.ConnectRequest(), BuildHttpConnectRequest(kServer, kAuth));
    EXPECT_TRUE(CHttpTunnelExchange::IsConnectAccepted("HTTP/1.1 200 Connection established\r\n\r\n"));
    EXPECT_FALSE(CHttpTunnelExchange::IsConnectAccepted("HTTP/1.1 407 Proxy Authentication Required\r\n\r\n"));
    EXPECT_FALSE(CHttpTunnelExchange::IsConnectAccepted("HTTP/1.1 403 Forbidden\r\n\r\n"));

    // The GET leg's answers arrive on one stream: 100, then 200, then the game.
    const std::string stream = "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.0 200 OK\r\nSERIALNO: S-17\r\n\r\nGAME";
    // Through the proxy the legs name the relay in full: a proxy refuses a path alone.
    std::string absoluteGet = kGetHead;
    absoluteGet.replace(0, 4, "GET http://10.0.0.7:8080");
    EXPECT_EQ(exchange.GetRequest(), absoluteGet + kAuth + "\r\n\r\n");
    CHttpHeadReader reader;
    size_t at = ReadHead(reader, stream);
    ASSERT_TRUE(reader.Complete());
    EXPECT_EQ(exchange.OnGetAnswer(reader.Head()), TunnelAnswer::kContinue);
    reader.Reset();
    at += ReadHead(reader, stream, at);
    ASSERT_TRUE(reader.Complete());
    EXPECT_EQ(exchange.OnGetAnswer(reader.Head()), TunnelAnswer::kOpened);
    EXPECT_EQ(stream.substr(at), "GAME");
    std::string absolutePost = kPostHead;
    absolutePost.replace(0, 5, "POST http://10.0.0.7:8080");
    EXPECT_EQ(exchange.PostRequest(), absolutePost + kAuth + "\r\n\r\n");
}
