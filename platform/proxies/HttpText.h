// The pieces of HTTP/1.x text the HTTP proxy and the tunnel relay read and
// write: request and response heads, header fields, the tunnel's query
// string, and Basic authorisation (Base64, RFC 4648).
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace proxies {

// Longest request head a stand-in reads.
constexpr size_t kMaxRequestHead = 8192;

struct HttpHead {
    // Request: method, target, version. Response: version, status, reason.
    std::string method;
    std::string target;
    std::string version;
    int status = 0;
    std::string reason;
    std::vector<std::pair<std::string, std::string>> fields;

    // The value of the first field of that name (case-insensitive), or null.
    const std::string* Field(const std::string& name) const;
};

// Lines end with "\r\n" or "\n"; the head ends with an empty line. Field
// values lose their surrounding blanks.
bool ParseRequestHead(const std::string& text, HttpHead& out, std::string& error);
bool ParseResponseHead(const std::string& text, HttpHead& out, std::string& error);

// "HTTP/1.1 407 Proxy Authentication Required\r\n" + fields + "\r\n".
std::string StatusHead(const char* version, int status,
                       const std::vector<std::pair<std::string, std::string>>& fields = {});
const char* ReasonPhrase(int status);

// How a stand-in's own answer is sent: whole; cut to its first half (the
// connection then closes); or padded with a header line beyond the 1024
// bytes of head that the client reads.
enum class ReplyShape { kWhole, kShort, kLong };
constexpr size_t kLongReplyPadding = 1100;
std::string ShapedHead(const std::string& head, ReplyShape shape);

std::string Base64Encode(const std::string& bytes);
// Standard alphabet with "=" padding; false on anything else.
bool Base64Decode(const std::string& text, std::string& bytes);

// True when the field holds "Basic <base64 of user:password>" (the scheme
// is matched without regard to case).
bool BasicCredentialsMatch(const std::string* fieldValue, const std::string& user,
                           const std::string& password);

// The path and query of a request target: "/default.asp?A=1&B=" gives
// "/default.asp" and {{"A","1"},{"B",""}}. Names and values are taken as
// they are (the tunnel's client does not escape them).
void SplitTarget(const std::string& target, std::string& path,
                 std::vector<std::pair<std::string, std::string>>& query);

// The GET leg of the HTTP tunnel:
// "/default.asp?SERIALNO=&METHOD=CONNECT&USERID=&SERVERIP=%u&SERVERPORT=%d".
// SERVERIP and SERVERPORT are the client's IPv4 address and port as they lie
// in memory in network order, printed as little-endian numbers: 127.0.0.1
// arrives as 16777343 and port 4001 as 41231.
struct TunnelQuery {
    std::string serial;
    std::string method;
    std::string user;
    std::string address;  // dotted
    uint16_t port = 0;
};
bool ParseTunnelQuery(const std::vector<std::pair<std::string, std::string>>& query,
                      TunnelQuery& out, std::string& error);

// The reverse of ParseTunnelQuery's numbers, for a client of the relay.
uint32_t TunnelAddressNumber(const uint8_t address[4]);
uint16_t TunnelPortNumber(uint16_t port);

}  // namespace proxies
