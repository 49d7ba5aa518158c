// The texts of the HTTP tunnel and the HTTP proxy connector, without
// sockets: the CONNECT request, the GET and POST legs to the relay's
// "/default.asp", the authorisation and redirect lines, and the reading of
// the answers' heads (status, header values, 100 Continue, redirects).
//
// Every text is a std::string sized by what it holds: long credentials, a
// long "Redirect-Route" value or both extra lines at once never overrun a
// field. Answers are read one head at a time and never beyond its end
// (CHttpHeadReader), so the bytes after a head stay in the socket for the
// game connection.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// An IPv4 address (bytes in network order) and a port (host order).
struct Ipv4Endpoint {
    uint8_t address[4] = {0, 0, 0, 0};
    uint16_t port = 0;

    std::string Dotted() const;
    bool operator==(const Ipv4Endpoint& other) const;
};

// ---- Pieces ----------------------------------------------------------------------------

// Standard Base64 (RFC 4648 alphabet, "=" padding).
std::string Base64Encode(const std::string& bytes);

// "Proxy-Authorization: Basic <Base64 of user:password>" when both are
// non-empty, else "" (no line).
std::string BuildProxyAuthorizationLine(const std::string& user, const std::string& password);

// The relay's Host text: "a.b.c.d" when its port is 80, else "a.b.c.d:port".
std::string TunnelHostText(const Ipv4Endpoint& relay);

// SERVERIP and SERVERPORT of the GET leg: the address and port as they lie
// in memory in network order, read as little-endian numbers (127.0.0.1 is
// 16777343, port 4001 is 41231).
uint32_t TunnelAddressNumber(const Ipv4Endpoint& target);
uint16_t TunnelPortNumber(uint16_t port);

// Adds a header line as the request's last one: the text from the last
// carriage return on becomes the line and "\r\n\r\n". An empty line adds
// nothing.
void AddHeaderLine(std::string& request, const std::string& line);

// ---- Requests ----------------------------------------------------------------------------

// "CONNECT a.b.c.d:port HTTP/1.1 ..." to the proxy, the authorisation line last.
std::string BuildHttpConnectRequest(const Ipv4Endpoint& target, const std::string& authLine);
// "http://" and the Host text: what comes before "/default.asp" in the
// request line of a leg that goes through an HTTP proxy, which needs the
// absolute address (a path alone is refused: 400).
std::string TunnelOrigin(const std::string& hostText);
// The GET leg (empty serial number, method "CONNECT", empty user id), then
// the redirect line and the authorisation line when set. origin: "" for a
// leg straight to the relay, TunnelOrigin(hostText) through a proxy.
std::string BuildTunnelGetRequest(const Ipv4Endpoint& target, const std::string& hostText,
                                  const std::string& redirectLine, const std::string& authLine,
                                  const std::string& origin = std::string());
// The POST leg with the session's serial number and a length of 1073741824.
std::string BuildTunnelPostRequest(const std::string& serial, const std::string& hostText,
                                   const std::string& authLine, const std::string& origin = std::string());

constexpr uint32_t kTunnelPostLength = 0x40000000u;

// ---- Reading answers -----------------------------------------------------------------------

// Reads one head: 4 bytes, then one byte at a time until it ends with
// "\r\n\r\n" or "\n\n"; more than 1024 bytes without an end fail.
class CHttpHeadReader
{
public:
    static constexpr size_t kMaxHead = 1024;

    // Bytes to read next (4, then 1); 0 once complete or failed.
    size_t BytesWanted() const;
    void Receive(const char* data, size_t count);
    bool Complete() const { return m_bComplete; }
    bool Failed() const { return m_bFailed; }
    const std::string& Head() const { return m_head; }
    // For the next head on the same socket.
    void Reset();

private:
    std::string m_head;
    bool m_bComplete = false;
    bool m_bFailed = false;
};

// The number after the first run of blanks of the first line; 0 when none.
int HttpStatusOf(const std::string& head);

// Longest header value kept (the client's fields hold 128 bytes with the
// terminating zero).
constexpr size_t kMaxTunnelHeaderValue = 127;

enum class HeaderLookup { kFound, kMissing, kTooLong };
// The value of the header line "Name: value" (name without regard to case,
// blanks around the value dropped), at most maxLength characters.
HeaderLookup FindHttpHeader(const std::string& head, const char* name, std::string& value,
                            size_t maxLength = kMaxTunnelHeaderValue);

// "a.b.c.d:port" (port 1-65535).
bool ParseDottedEndpoint(const std::string& text, Ipv4Endpoint& out);

// ---- The tunnel's exchange ------------------------------------------------------------------

enum class TunnelAnswer {
    kContinue,    // 100: read the next head on the same leg
    kOpened,      // 200 with a serial number: open the POST leg
    kRedirected,  // 302: connect again (RelayEndpoint() changed) if MayRetry()
    kFailed,
};

const char* DescribeTunnelAnswer(TunnelAnswer answer);

// The state of one tunnel connect: where the legs go, the Host text, the
// redirect line, the serial number, the attempts. The caller resolves the
// relay and the proxy, opens the sockets and reads the heads.
//
//   if (useProxy) { connect proxy; send ConnectRequest(); read head;
//                   IsConnectAccepted(head) -> CONNECT mode, done }
//   do { connect LegEndpoint(); send GetRequest();
//        do read head, answer = OnGetAnswer(head) while answer == kContinue;
//   } while (answer == kRedirected && MayRetry());
//   answer == kOpened -> connect LegEndpoint(); send PostRequest().
class CHttpTunnelExchange
{
public:
    static constexpr int kMaxAttempts = 4;

    CHttpTunnelExchange(const Ipv4Endpoint& relay, const Ipv4Endpoint* proxy, const std::string& authLine,
                        const Ipv4Endpoint& target);

    std::string ConnectRequest() const;
    static bool IsConnectAccepted(const std::string& head) { return HttpStatusOf(head) == 200; }

    // The proxy when one is used, else the relay.
    const Ipv4Endpoint& LegEndpoint() const { return m_bUseProxy ? m_proxy : m_relay; }
    const Ipv4Endpoint& RelayEndpoint() const { return m_relay; }
    bool UsesProxy() const { return m_bUseProxy; }

    // The next GET leg's request; counts an attempt.
    std::string GetRequest();
    TunnelAnswer OnGetAnswer(const std::string& head);
    // Another attempt may follow a redirect (4 attempts in all).
    bool MayRetry() const { return m_nAttempts < kMaxAttempts; }
    int Attempts() const { return m_nAttempts; }

    std::string PostRequest() const;

    const std::string& HostText() const { return m_hostText; }
    const std::string& RedirectLine() const { return m_redirectLine; }
    const std::string& Serial() const { return m_serial; }

private:
    Ipv4Endpoint m_relay;
    Ipv4Endpoint m_proxy;
    bool m_bUseProxy;
    std::string m_authLine;
    Ipv4Endpoint m_target;
    std::string m_hostText;
    std::string m_redirectLine;
    std::string m_serial;
    int m_nAttempts = 0;
};
