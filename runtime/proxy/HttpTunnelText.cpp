#include "HttpTunnelText.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "SocksHandshake.h"

namespace {

const char kConnectRequest[] =
    "CONNECT %s:%u HTTP/1.1\r\n"
    "Content-Type: text/html\r\n"
    "Proxy-Connection: Keep-Alive\r\n"
    "Content-length: 0\r\n"
    "\r\n";

const char kGetRequest[] =
    "GET %s/default.asp?SERIALNO=%s&METHOD=%s&USERID=%s&SERVERIP=%lu&SERVERPORT=%u HTTP/1.0\r\n"
    "Accept: */*\r\n"
    "Accept-Language: zh-cn\r\n"
    "Accept-Encoding: gzip, deflate\r\n"
    "USERAGENT: VIVAVAROVOVA\r\n"
    "Cache-Control: no-cache, max-age=0\r\n"
    "Host: %s\r\n"
    "Connection: keep-alive\r\n"
    "\r\n";

const char kPostRequest[] =
    "POST %s/default.asp HTTP/1.0\r\n"
    "USERAGENT: VIVAVAROVOVA\r\n"
    "METHOD: SEND\r\n"
    "SERIALNO: %s\r\n"
    "Host: %s\r\n"
    "Content-Length: %lu\r\n"
    "Proxy-Connection: Keep-Alive\r\n"
    "Cache-Control: no-cache, max-age=0\r\n"
    "Content-Type: application/octet-stream\r\n"
    "\r\n";

const char kRedirectRoute[] = "Redirect-Route";

// printf into a string sized by the result.
std::string Format(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

std::string Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (length > 0) {
        out.resize(size_t(length) + 1);
        std::vsnprintf(&out[0], out.size(), format, args);
        out.resize(size_t(length));
    }
    va_end(args);
    return out;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool SameName(const char* a, size_t length, const char* b)
{
    if (std::strlen(b) != length)
        return false;
    for (size_t i = 0; i < length; ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

}  // namespace

std::string Ipv4Endpoint::Dotted() const
{
    return Format("%u.%u.%u.%u", address[0], address[1], address[2], address[3]);
}

bool Ipv4Endpoint::operator==(const Ipv4Endpoint& other) const
{
    return std::memcmp(address, other.address, 4) == 0 && port == other.port;
}

// ---- Pieces ----------------------------------------------------------------------------

std::string Base64Encode(const std::string& bytes)
{
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const uint32_t v = uint32_t(uint8_t(bytes[i])) << 16 | uint32_t(uint8_t(bytes[i + 1])) << 8 |
                           uint8_t(bytes[i + 2]);
        out += kAlphabet[v >> 18];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += kAlphabet[v & 63];
    }
    const size_t left = bytes.size() - i;
    if (left > 0) {
        uint32_t v = uint32_t(uint8_t(bytes[i])) << 16;
        if (left == 2)
            v |= uint32_t(uint8_t(bytes[i + 1])) << 8;
        out += kAlphabet[v >> 18];
        out += kAlphabet[(v >> 12) & 63];
        out += left == 2 ? kAlphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

std::string BuildProxyAuthorizationLine(const std::string& user, const std::string& password)
{
    if (user.empty() || password.empty())
        return std::string();
    return "Proxy-Authorization: Basic " + Base64Encode(user + ":" + password);
}

std::string TunnelHostText(const Ipv4Endpoint& relay)
{
    if (relay.port == 80)
        return relay.Dotted();
    return relay.Dotted() + ":" + std::to_string(relay.port);
}

uint32_t TunnelAddressNumber(const Ipv4Endpoint& target)
{
    const uint8_t* a = target.address;
    return uint32_t(a[0]) | uint32_t(a[1]) << 8 | uint32_t(a[2]) << 16 | uint32_t(a[3]) << 24;
}

uint16_t TunnelPortNumber(uint16_t port)
{
    return uint16_t((port >> 8) | ((port & 0xFF) << 8));
}

void AddHeaderLine(std::string& request, const std::string& line)
{
    if (line.empty())
        return;
    const size_t lastReturn = request.rfind('\r');
    if (lastReturn == std::string::npos)
        return;
    request.erase(lastReturn);
    request += line;
    request += "\r\n\r\n";
}

// ---- Requests ----------------------------------------------------------------------------

std::string BuildHttpConnectRequest(const Ipv4Endpoint& target, const std::string& authLine)
{
    std::string request = Format(kConnectRequest, target.Dotted().c_str(), unsigned(target.port));
    AddHeaderLine(request, authLine);
    return request;
}

std::string TunnelOrigin(const std::string& hostText)
{
    return "http://" + hostText;
}

std::string BuildTunnelGetRequest(const Ipv4Endpoint& target, const std::string& hostText,
                                  const std::string& redirectLine, const std::string& authLine,
                                  const std::string& origin)
{
    std::string request = Format(kGetRequest, origin.c_str(), "", "CONNECT", "", (unsigned long)TunnelAddressNumber(target),
                                 unsigned(TunnelPortNumber(target.port)), hostText.c_str());
    AddHeaderLine(request, redirectLine);
    AddHeaderLine(request, authLine);
    return request;
}

std::string BuildTunnelPostRequest(const std::string& serial, const std::string& hostText,
                                   const std::string& authLine, const std::string& origin)
{
    std::string request = Format(kPostRequest, origin.c_str(), serial.c_str(), hostText.c_str(),
                                 (unsigned long)kTunnelPostLength);
    AddHeaderLine(request, authLine);
    return request;
}

// ---- Reading answers -----------------------------------------------------------------------

size_t CHttpHeadReader::BytesWanted() const
{
    if (m_bComplete || m_bFailed)
        return 0;
    return m_head.empty() ? 4 : 1;
}

void CHttpHeadReader::Receive(const char* data, size_t count)
{
    if (count != BytesWanted() || data == nullptr)
        return;
    m_head.append(data, count);
    const size_t n = m_head.size();
    if ((n >= 4 && m_head.compare(n - 4, 4, "\r\n\r\n") == 0) ||
        (n >= 2 && m_head.compare(n - 2, 2, "\n\n") == 0)) {
        m_bComplete = true;
    } else if (n >= kMaxHead) {
        m_bFailed = true;
    }
}

void CHttpHeadReader::Reset()
{
    m_head.clear();
    m_bComplete = false;
    m_bFailed = false;
}

int HttpStatusOf(const std::string& head)
{
    const size_t lineEnd = head.find_first_of("\r\n");
    const std::string line = head.substr(0, lineEnd);
    size_t at = 0;
    while (at < line.size() && !IsBlank(line[at]))
        ++at;
    while (at < line.size() && IsBlank(line[at]))
        ++at;
    int status = 0;
    for (int digits = 0; at < line.size() && line[at] >= '0' && line[at] <= '9' && digits < 4; ++at, ++digits)
        status = status * 10 + (line[at] - '0');
    return status;
}

HeaderLookup FindHttpHeader(const std::string& head, const char* name, std::string& value, size_t maxLength)
{
    // Header lines follow the first line.
    size_t at = head.find('\n');
    while (at != std::string::npos && at + 1 < head.size()) {
        const size_t begin = at + 1;
        size_t end = head.find('\n', begin);
        if (end == std::string::npos)
            end = head.size();
        size_t lineEnd = end;
        if (lineEnd > begin && head[lineEnd - 1] == '\r')
            --lineEnd;
        const size_t colon = head.find(':', begin);
        if (colon != std::string::npos && colon < lineEnd) {
            size_t nameEnd = colon;
            while (nameEnd > begin && IsBlank(head[nameEnd - 1]))
                --nameEnd;
            if (SameName(head.data() + begin, nameEnd - begin, name)) {
                size_t valueBegin = colon + 1;
                while (valueBegin < lineEnd && IsBlank(head[valueBegin]))
                    ++valueBegin;
                size_t valueEnd = lineEnd;
                while (valueEnd > valueBegin && IsBlank(head[valueEnd - 1]))
                    --valueEnd;
                if (valueEnd - valueBegin > maxLength)
                    return HeaderLookup::kTooLong;
                value.assign(head, valueBegin, valueEnd - valueBegin);
                return HeaderLookup::kFound;
            }
        }
        at = end;
    }
    value.clear();
    return HeaderLookup::kMissing;
}

bool ParseDottedEndpoint(const std::string& text, Ipv4Endpoint& out)
{
    const size_t colon = text.find(':');
    if (colon == std::string::npos)
        return false;
    Ipv4Endpoint parsed;
    if (!ParseDottedIPv4(text.substr(0, colon), parsed.address))
        return false;
    const std::string port = text.substr(colon + 1);
    if (port.empty() || port.size() > 5)
        return false;
    unsigned value = 0;
    for (const char c : port) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + unsigned(c - '0');
    }
    if (value == 0 || value > 65535)
        return false;
    parsed.port = uint16_t(value);
    out = parsed;
    return true;
}

// ---- The tunnel's exchange ------------------------------------------------------------------

const char* DescribeTunnelAnswer(TunnelAnswer answer)
{
    switch (answer) {
    case TunnelAnswer::kContinue: return "continue";
    case TunnelAnswer::kOpened: return "opened";
    case TunnelAnswer::kRedirected: return "redirected";
    case TunnelAnswer::kFailed: return "failed";
    }
    return "?";
}

CHttpTunnelExchange::CHttpTunnelExchange(const Ipv4Endpoint& relay, const Ipv4Endpoint* proxy,
                                         const std::string& authLine, const Ipv4Endpoint& target)
    : m_relay(relay),
      m_bUseProxy(proxy != nullptr),
      m_authLine(authLine),
      m_target(target),
      m_hostText(TunnelHostText(relay))
{
    if (proxy)
        m_proxy = *proxy;
}

std::string CHttpTunnelExchange::ConnectRequest() const
{
    return BuildHttpConnectRequest(m_target, m_authLine);
}

std::string CHttpTunnelExchange::GetRequest()
{
    ++m_nAttempts;
    return BuildTunnelGetRequest(m_target, m_hostText, m_redirectLine, m_authLine,
                                 m_bUseProxy ? TunnelOrigin(m_hostText) : std::string());
}

TunnelAnswer CHttpTunnelExchange::OnGetAnswer(const std::string& head)
{
    switch (HttpStatusOf(head)) {
    case 100:
        return TunnelAnswer::kContinue;
    case 200: {
        std::string serial;
        if (FindHttpHeader(head, "SERIALNO", serial) != HeaderLookup::kFound || serial.empty())
            return TunnelAnswer::kFailed;
        m_serial = serial;
        return TunnelAnswer::kOpened;
    }
    case 302: {
        std::string location;
        std::string route;
        Ipv4Endpoint next;
        if (FindHttpHeader(head, "Location", location) != HeaderLookup::kFound || location.empty() ||
            !ParseDottedEndpoint(location, next))
            return TunnelAnswer::kFailed;
        // A missing route gives the line with an empty value, as the relay expects.
        if (FindHttpHeader(head, kRedirectRoute, route) == HeaderLookup::kTooLong)
            return TunnelAnswer::kFailed;
        m_redirectLine = std::string(kRedirectRoute) + ": " + route;
        m_relay = next;
        // The Host text follows the relay: an HTTP proxy passes the legs on
        // to the host it names.
        m_hostText = TunnelHostText(next);
        return TunnelAnswer::kRedirected;
    }
    default:
        return TunnelAnswer::kFailed;
    }
}

std::string CHttpTunnelExchange::PostRequest() const
{
    return BuildTunnelPostRequest(m_serial, m_hostText, m_authLine,
                                  m_bUseProxy ? TunnelOrigin(m_hostText) : std::string());
}
