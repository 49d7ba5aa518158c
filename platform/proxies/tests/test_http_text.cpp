// HTTP heads, Base64 and Basic authorisation, request targets, answer
// shapes, and the addresses the stand-ins accept.
#include <gtest/gtest.h>

#include "Forwarding.h"
#include "HttpText.h"
#include "ProxyLog.h"

using namespace proxies;

namespace {

TEST(HttpHeadTest, RequestHeads)
{
    const struct {
        const char* name;
        std::string text;
        bool ok;
        const char* method;
        const char* target;
    } cases[] = {
        {"CONNECT", "CONNECT 1.2.3.4:80 HTTP/1.1\r\nContent-length: 0\r\n\r\n", true, "CONNECT",
         "1.2.3.4:80"},
        {"LF line ends", "GET /x HTTP/1.0\nHost: a\n\n", true, "GET", "/x"},
        {"no fields", "GET / HTTP/1.0\r\n\r\n", true, "GET", "/"},
        {"two blanks", "GET  / HTTP/1.0\r\n\r\n", false, "", ""},
        {"no version", "GET /\r\n\r\n", false, "", ""},
        {"bad version", "GET / HTTP/x.y\r\n\r\n", false, "", ""},
        {"field without colon", "GET / HTTP/1.0\r\nHost\r\n\r\n", false, "", ""},
        {"blank in a field name", "GET / HTTP/1.0\r\nBad Name: x\r\n\r\n", false, "", ""},
        {"no empty line", "GET / HTTP/1.0\r\nHost: a\r\n", false, "", ""},
        {"empty", "\r\n\r\n", false, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HttpHead head;
        std::string error;
        EXPECT_EQ(ParseRequestHead(c.text, head, error), c.ok) << error;
        if (c.ok) {
            EXPECT_EQ(head.method, c.method);
            EXPECT_EQ(head.target, c.target);
        }
    }
}

TEST(HttpHeadTest, FieldsAreFoundWithoutRegardToCaseAndTrimmed)
{
    HttpHead head;
    std::string error;
    ASSERT_TRUE(ParseRequestHead(
        "POST /default.asp HTTP/1.0\r\nSERIALNO:  abc \r\ncontent-length:5\r\nEmpty:\r\n\r\n", head,
        error));
    ASSERT_NE(head.Field("serialno"), nullptr);
    EXPECT_EQ(*head.Field("serialno"), "abc");
    EXPECT_EQ(*head.Field("Content-Length"), "5");
    EXPECT_EQ(*head.Field("EMPTY"), "");
    EXPECT_EQ(head.Field("Host"), nullptr);
}

TEST(HttpHeadTest, ResponseHeads)
{
    const struct {
        std::string text;
        int status;  // -1: refused
    } cases[] = {
        {"HTTP/1.1 200 Connection established\r\n\r\n", 200},
        {"HTTP/1.0 302 Found\r\nLocation: 1.2.3.4:80\r\n\r\n", 302},
        {"HTTP/1.1 100\r\n\r\n", 100},
        {"HTTP/1.1 99 Low\r\n\r\n", -1},
        {"HTTP/1.1 1000 High\r\n\r\n", -1},
        {"HTTP/1.1 OK\r\n\r\n", -1},
        {"ICY 200 OK\r\n\r\n", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        HttpHead head;
        std::string error;
        const bool ok = ParseResponseHead(c.text, head, error);
        EXPECT_EQ(ok ? head.status : -1, c.status);
    }
}

TEST(HttpHeadTest, StatusHeadAndShapes)
{
    const std::string head = StatusHead("HTTP/1.1", 407, {{"Proxy-Authenticate", "Basic realm=\"x\""}});
    EXPECT_EQ(head,
              "HTTP/1.1 407 Proxy Authentication Required\r\nProxy-Authenticate: Basic "
              "realm=\"x\"\r\n\r\n");
    EXPECT_EQ(ShapedHead(head, ReplyShape::kWhole), head);
    EXPECT_EQ(ShapedHead(head, ReplyShape::kShort), head.substr(0, head.size() / 2));
    const std::string padded = ShapedHead(head, ReplyShape::kLong);
    EXPECT_GT(padded.size(), 1024u);
    HttpHead parsed;
    std::string error;
    ASSERT_TRUE(ParseResponseHead(padded, parsed, error)) << error;
    EXPECT_EQ(parsed.status, 407);
    EXPECT_EQ(*parsed.Field("Proxy-Authenticate"), "Basic realm=\"x\"");
}

TEST(Base64Test, StandardVectorsBothWays)
{
    // RFC 4648, section 10.
    const std::pair<std::string, std::string> vectors[] = {
        {"", ""},           {"f", "Zg=="},         {"fo", "Zm8="},         {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
        {"\xFF\xFE", "//4="}, {"alice:secret", "YWxpY2U6c2VjcmV0"},
    };
    for (const auto& v : vectors) {
        SCOPED_TRACE(v.first);
        EXPECT_EQ(Base64Encode(v.first), v.second);
        std::string decoded;
        ASSERT_TRUE(Base64Decode(v.second, decoded));
        EXPECT_EQ(decoded, v.first);
    }
    for (const char* bad : {"Zg=", "Z===", "Zg==Zg==", "Zm9*", "====", "Zm9v\n"}) {
        SCOPED_TRACE(bad);
        std::string decoded;
        EXPECT_FALSE(Base64Decode(bad, decoded));
    }
}

TEST(Base64Test, BasicCredentials)
{
    const std::string good = "Basic " + Base64Encode("alice:secret");
    const std::string colonInPassword = "Basic " + Base64Encode("alice:se:cret");
    const std::string emptyBoth = "Basic " + Base64Encode(":");
    EXPECT_TRUE(BasicCredentialsMatch(&good, "alice", "secret"));
    EXPECT_FALSE(BasicCredentialsMatch(&good, "alice", "secreT"));
    EXPECT_FALSE(BasicCredentialsMatch(nullptr, "alice", "secret"));
    EXPECT_TRUE(BasicCredentialsMatch(&colonInPassword, "alice", "se:cret"));
    EXPECT_TRUE(BasicCredentialsMatch(&emptyBoth, "", ""));
    const std::string noScheme = Base64Encode("alice:secret");
    EXPECT_FALSE(BasicCredentialsMatch(&noScheme, "alice", "secret"));
}

TEST(TargetTest, PathAndQuery)
{
    std::string path;
    std::vector<std::pair<std::string, std::string>> query;
    SplitTarget("/default.asp?SERIALNO=&METHOD=CONNECT&flag&&X=a=b", path, query);
    EXPECT_EQ(path, "/default.asp");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"SERIALNO", ""}, {"METHOD", "CONNECT"}, {"flag", ""}, {"X", "a=b"}};
    EXPECT_EQ(query, expected);
    SplitTarget("/plain", path, query);
    EXPECT_EQ(path, "/plain");
    EXPECT_TRUE(query.empty());
}

TEST(EndpointTest, ParsingAndLoopback)
{
    const struct {
        const char* text;
        bool ok;
        const char* host;
        uint16_t port;
    } cases[] = {
        {"127.0.0.1:4001", true, "127.0.0.1", 4001}, {"localhost:80", true, "localhost", 80},
        {"[::1]:65535", true, "::1", 65535},          {"host:0", false, "", 0},
        {"host:65536", false, "", 0},                 {"host", false, "", 0},
        {":80", false, "", 0},                        {"::1:80", false, "", 0},
        {"[::1]80", false, "", 0},                    {"host:8x", false, "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Endpoint endpoint;
        EXPECT_EQ(ParseEndpoint(c.text, endpoint), c.ok);
        if (c.ok) {
            EXPECT_EQ(endpoint.host, c.host);
            EXPECT_EQ(endpoint.port, c.port);
            EXPECT_EQ(endpoint.Text(), c.text);
        }
    }
    for (const char* host : {"127.0.0.1", "127.255.0.9", "::1", "::ffff:127.0.0.1", "localhost",
                             "LocalHost"})
        EXPECT_TRUE(IsLoopbackHost(host)) << host;
    for (const char* host : {"10.0.0.1", "128.0.0.1", "::2", "::ffff:10.0.0.1", "gs.example", "",
                             "127.0.0.1.example"})
        EXPECT_FALSE(IsLoopbackHost(host)) << host;
}

TEST(RecordTextTest, HexAndQuotedText)
{
    EXPECT_EQ(HexBytes(std::string("\x05\x02\x00\xFF", 4)), "05 02 00 FF");
    EXPECT_EQ(HexBytes(std::string()), "");
    EXPECT_EQ(QuotedText("GET / HTTP/1.0\r\n\t\"q\"\\\x01\xC4"),
              "\"GET / HTTP/1.0\\r\\n\\t\\\"q\\\"\\\\\\x01\\xC4\"");
}

}  // namespace
