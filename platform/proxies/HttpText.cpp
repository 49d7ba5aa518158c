#include "HttpText.h"

#include <cctype>
#include <cstdio>
#include <strings.h>

namespace proxies {

namespace {

std::string Trim(const std::string& text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t'))
        ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    return text.substr(begin, end - begin);
}

// The lines of a head, without their endings, up to the empty line.
bool SplitLines(const std::string& text, std::vector<std::string>& lines, std::string& error)
{
    size_t at = 0;
    for (;;) {
        const size_t end = text.find('\n', at);
        if (end == std::string::npos) {
            error = "the head does not end with an empty line";
            return false;
        }
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        at = end + 1;
        if (line.empty())
            break;
        lines.push_back(std::move(line));
    }
    if (lines.empty()) {
        error = "empty head";
        return false;
    }
    return true;
}

bool ParseFields(const std::vector<std::string>& lines, HttpHead& out, std::string& error)
{
    for (size_t i = 1; i < lines.size(); ++i) {
        const size_t colon = lines[i].find(':');
        if (colon == 0 || colon == std::string::npos) {
            error = "bad header line \"" + lines[i] + "\"";
            return false;
        }
        const std::string name = lines[i].substr(0, colon);
        for (const char c : name) {
            if (c == ' ' || c == '\t') {
                error = "blank in the header name \"" + name + "\"";
                return false;
            }
        }
        out.fields.emplace_back(name, Trim(lines[i].substr(colon + 1)));
    }
    return true;
}

bool IsVersion(const std::string& text)
{
    return text.size() == 8 && text.compare(0, 5, "HTTP/") == 0 && isdigit(uint8_t(text[5])) &&
           text[6] == '.' && isdigit(uint8_t(text[7]));
}

int Base64Value(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

bool ParseDecimal(const std::string& text, uint64_t max, uint64_t& out)
{
    if (text.empty() || text.size() > 20)
        return false;
    uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        const uint64_t digit = uint64_t(c - '0');
        if (value > (max - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    out = value;
    return true;
}

}  // namespace

const std::string* HttpHead::Field(const std::string& name) const
{
    for (const auto& field : fields)
        if (strcasecmp(field.first.c_str(), name.c_str()) == 0)
            return &field.second;
    return nullptr;
}

bool ParseRequestHead(const std::string& text, HttpHead& out, std::string& error)
{
    std::vector<std::string> lines;
    if (!SplitLines(text, lines, error))
        return false;
    const std::string& first = lines[0];
    const size_t space1 = first.find(' ');
    const size_t space2 = space1 == std::string::npos ? space1 : first.find(' ', space1 + 1);
    if (space2 == std::string::npos || first.find(' ', space2 + 1) != std::string::npos) {
        error = "bad request line \"" + first + "\"";
        return false;
    }
    out.method = first.substr(0, space1);
    out.target = first.substr(space1 + 1, space2 - space1 - 1);
    out.version = first.substr(space2 + 1);
    if (out.method.empty() || out.target.empty() || !IsVersion(out.version)) {
        error = "bad request line \"" + first + "\"";
        return false;
    }
    return ParseFields(lines, out, error);
}

bool ParseResponseHead(const std::string& text, HttpHead& out, std::string& error)
{
    std::vector<std::string> lines;
    if (!SplitLines(text, lines, error))
        return false;
    const std::string& first = lines[0];
    const size_t space = first.find(' ');
    out.version = first.substr(0, space);
    uint64_t status = 0;
    const std::string rest = space == std::string::npos ? "" : first.substr(space + 1);
    const size_t space2 = rest.find(' ');
    if (!IsVersion(out.version) || !ParseDecimal(rest.substr(0, space2), 999, status) ||
        status < 100) {
        error = "bad status line \"" + first + "\"";
        return false;
    }
    out.status = int(status);
    out.reason = space2 == std::string::npos ? "" : rest.substr(space2 + 1);
    return ParseFields(lines, out, error);
}

const char* ReasonPhrase(int status)
{
    switch (status) {
    case 100: return "Continue";
    case 200: return "OK";
    case 302: return "Found";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 407: return "Proxy Authentication Required";
    case 409: return "Conflict";
    case 411: return "Length Required";
    case 431: return "Request Header Fields Too Large";
    case 500: return "Internal Server Error";
    case 502: return "Bad Gateway";
    case 503: return "Service Unavailable";
    case 504: return "Gateway Timeout";
    default: return "Status";
    }
}

std::string StatusHead(const char* version, int status,
                       const std::vector<std::pair<std::string, std::string>>& fields)
{
    std::string head = std::string(version) + " " + std::to_string(status) + " " +
                       ReasonPhrase(status) + "\r\n";
    for (const auto& field : fields)
        head += field.first + ": " + field.second + "\r\n";
    return head + "\r\n";
}

std::string ShapedHead(const std::string& head, ReplyShape shape)
{
    switch (shape) {
    case ReplyShape::kWhole:
        break;
    case ReplyShape::kShort:
        return head.substr(0, head.size() / 2);
    case ReplyShape::kLong:
        if (head.size() >= 2)
            return head.substr(0, head.size() - 2) + "X-Padding: " +
                   std::string(kLongReplyPadding, 'x') + "\r\n\r\n";
        break;
    }
    return head;
}

std::string Base64Encode(const std::string& bytes)
{
    static const char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
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

bool Base64Decode(const std::string& text, std::string& bytes)
{
    if (text.size() % 4 != 0)
        return false;
    bytes.clear();
    for (size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        const int pad = (text[i + 3] == '=') + (text[i + 2] == '=' && text[i + 3] == '=');
        if (pad > 0 && !last)
            return false;
        uint32_t v = 0;
        for (int k = 0; k < 4; ++k) {
            const int value = k >= 4 - pad ? 0 : Base64Value(text[i + k]);
            if (value < 0)
                return false;
            v = v << 6 | uint32_t(value);
        }
        bytes += char(v >> 16);
        if (pad < 2)
            bytes += char((v >> 8) & 0xFF);
        if (pad < 1)
            bytes += char(v & 0xFF);
    }
    return true;
}

bool BasicCredentialsMatch(const std::string* fieldValue, const std::string& user,
                           const std::string& password)
{
    if (!fieldValue)
        return false;
    const std::string& value = *fieldValue;
    const size_t space = value.find(' ');
    if (space == std::string::npos || strcasecmp(value.substr(0, space).c_str(), "Basic") != 0)
        return false;
    std::string decoded;
    return Base64Decode(Trim(value.substr(space + 1)), decoded) && decoded == user + ":" + password;
}

void SplitTarget(const std::string& target, std::string& path,
                 std::vector<std::pair<std::string, std::string>>& query)
{
    const size_t mark = target.find('?');
    path = target.substr(0, mark);
    query.clear();
    if (mark == std::string::npos)
        return;
    size_t at = mark + 1;
    while (at <= target.size()) {
        size_t end = target.find('&', at);
        if (end == std::string::npos)
            end = target.size();
        const std::string item = target.substr(at, end - at);
        if (!item.empty()) {
            const size_t equals = item.find('=');
            if (equals == std::string::npos)
                query.emplace_back(item, "");
            else
                query.emplace_back(item.substr(0, equals), item.substr(equals + 1));
        }
        at = end + 1;
    }
}

bool ParseTunnelQuery(const std::vector<std::pair<std::string, std::string>>& query,
                      TunnelQuery& out, std::string& error)
{
    const std::string* address = nullptr;
    const std::string* port = nullptr;
    const std::string* method = nullptr;
    for (const auto& item : query) {
        if (item.first == "SERIALNO")
            out.serial = item.second;
        else if (item.first == "METHOD")
            method = &item.second;
        else if (item.first == "USERID")
            out.user = item.second;
        else if (item.first == "SERVERIP")
            address = &item.second;
        else if (item.first == "SERVERPORT")
            port = &item.second;
    }
    if (!method || !address || !port) {
        error = "METHOD, SERVERIP and SERVERPORT are needed";
        return false;
    }
    out.method = *method;
    uint64_t ip = 0;
    uint64_t portNumber = 0;
    if (!ParseDecimal(*address, 0xFFFFFFFFu, ip)) {
        error = "SERVERIP \"" + *address + "\" is not a 32-bit number";
        return false;
    }
    if (!ParseDecimal(*port, 0xFFFF, portNumber)) {
        error = "SERVERPORT \"" + *port + "\" is not a 16-bit number";
        return false;
    }
    // The number's little-endian bytes are the address bytes in network order.
    char dotted[16];
    std::snprintf(dotted, sizeof dotted, "%u.%u.%u.%u", unsigned(ip & 0xFF),
                  unsigned((ip >> 8) & 0xFF), unsigned((ip >> 16) & 0xFF), unsigned(ip >> 24));
    out.address = dotted;
    out.port = uint16_t(((portNumber & 0xFF) << 8) | (portNumber >> 8));
    if (out.port == 0) {
        error = "SERVERPORT gives port 0";
        return false;
    }
    return true;
}

uint32_t TunnelAddressNumber(const uint8_t address[4])
{
    return uint32_t(address[0]) | uint32_t(address[1]) << 8 | uint32_t(address[2]) << 16 |
           uint32_t(address[3]) << 24;
}

uint16_t TunnelPortNumber(uint16_t port)
{
    return uint16_t((port >> 8) | ((port & 0xFF) << 8));
}

}  // namespace proxies
