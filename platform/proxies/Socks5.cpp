// SOCKS5 (RFC 1928) with user name and password (RFC 1929), the proxy's side.
//
// Greeting: VER = 5, NMETHODS, METHODS. Answer: VER, METHOD (0 none,
// 2 user name and password, 0xFF none acceptable, then the connection ends).
// Login: VER = 1, ULEN, UNAME, PLEN, PASSWD. Answer: VER = 1, STATUS (0 good;
// anything else, then the connection ends).
// Request: VER = 5, CMD (1 CONNECT), RSV, ATYP, DST.ADDR, DST.PORT; ATYP 1 is
// four address bytes, 3 a length byte and a name, 4 sixteen address bytes.
// Reply: VER = 5, REP, RSV = 0, ATYP, BND.ADDR, BND.PORT; its length depends
// on the bound address type (10 bytes for IPv4, 22 for IPv6, 7 + length for
// a name).
#include <cstring>

#include <arpa/inet.h>

#include "SocksProxy.h"

namespace proxies {

namespace {

constexpr uint8_t kMethodNone = 0x00;
constexpr uint8_t kMethodLogin = 0x02;
constexpr uint8_t kNoAcceptableMethod = 0xFF;
constexpr uint8_t kLoginVersion = 1;

constexpr uint8_t kConnect = 1;
constexpr uint8_t kTypeIPv4 = 1;
constexpr uint8_t kTypeName = 3;
constexpr uint8_t kTypeIPv6 = 4;

enum Reply : uint8_t {
    kSucceeded = 0,
    kGeneralFailure = 1,
    kNotAllowed = 2,
    kHostUnreachable = 4,
    kConnectionRefused = 5,
    kCommandNotSupported = 7,
    kAddressTypeNotSupported = 8,
};

uint8_t ChooseMethod(const std::string& offered, const SocksOptions& options)
{
    if (options.forcedMethod >= 0)
        return uint8_t(options.forcedMethod);
    const char wanted = char(options.requireLogin ? kMethodLogin : kMethodNone);
    return offered.find(wanted) != std::string::npos ? uint8_t(wanted) : kNoAcceptableMethod;
}

bool Send(Connection& connection, const char* step, const std::string& bytes)
{
    connection.RecordBytes(step, bytes);
    return connection.client().WriteAll(bytes) == IoStatus::kOk;
}

// RFC 1929. True when the client may go on to its request.
bool Login(Connection& connection, const SocksOptions& options, Deadline deadline)
{
    Stream& client = connection.client();
    uint8_t version = 0;
    uint8_t length = 0;
    std::string user;
    std::string password;
    IoStatus status = client.ReadExact(&version, 1, deadline);
    if (status == IoStatus::kOk)
        status = client.ReadExact(&length, 1, deadline);
    if (status == IoStatus::kOk) {
        user.resize(length);
        status = client.ReadExact(&user[0], length, deadline);
    }
    if (status == IoStatus::kOk)
        status = client.ReadExact(&length, 1, deadline);
    if (status == IoStatus::kOk) {
        password.resize(length);
        status = client.ReadExact(&password[0], length, deadline);
    }
    if (status != IoStatus::kOk) {
        connection.Note("login incomplete: %s", Describe(status));
        return false;
    }
    connection.RecordBytes("socks5 login", std::string(1, char(version)) + char(user.size()) + user +
                                               char(password.size()) + password);
    if (version != kLoginVersion) {
        connection.Note("login of version %u", version);
        return false;
    }
    // Without a login to check (a forced method 2), any user name and password pass.
    const bool good =
        !options.requireLogin || (user == options.user && password == options.password);
    connection.Note("login of user %s %s", QuotedText(user).c_str(), good ? "accepted" : "refused");
    return Send(connection, "socks5 login reply", {char(kLoginVersion), char(good ? 0 : 1)}) && good;
}

// The reply with the bound address of the configured type.
std::string ReplyBytes(const SocksOptions& options, uint8_t code, uint16_t port)
{
    std::string reply = {5, char(code), 0};
    switch (options.bound) {
    case BoundAddress::kIPv4:
        reply += {char(kTypeIPv4), 127, 0, 0, 1};
        break;
    case BoundAddress::kName:
        reply += char(kTypeName);
        reply += char(options.boundName.size());
        reply += options.boundName;
        break;
    case BoundAddress::kIPv6:
        reply += char(kTypeIPv6);
        reply += std::string(15, '\0');
        reply += '\1';  // ::1
        break;
    }
    reply += {char(port >> 8), char(port & 0xFF)};
    return reply;
}

// Sends the reply (only its first half with --short-reply). True when the
// connection goes on.
bool SendReply(Connection& connection, const SocksOptions& options, uint8_t code, uint16_t port)
{
    const std::string reply = ReplyBytes(options, code, port);
    const std::string sent = options.shortReply ? reply.substr(0, reply.size() / 2) : reply;
    return Send(connection, "socks5 reply", sent) && !options.shortReply;
}

uint8_t ReplyForError(ForwardError error)
{
    switch (error) {
    case ForwardError::kNotAllowed: return kNotAllowed;
    case ForwardError::kUnresolved: return kHostUnreachable;
    case ForwardError::kTimedOut: return kHostUnreachable;
    case ForwardError::kRefused: return kConnectionRefused;
    default: return kGeneralFailure;
    }
}

}  // namespace

void ServeSocks5(Connection& connection, const SocksOptions& options)
{
    Stream& client = connection.client();
    const Deadline deadline = DeadlineIn(options.handshakeTimeoutMs);

    // Greeting and method.
    uint8_t count = 0;
    std::string methods;
    IoStatus status = client.ReadExact(&count, 1, deadline);
    if (status == IoStatus::kOk) {
        methods.resize(count);
        status = client.ReadExact(&methods[0], count, deadline);
    }
    if (status != IoStatus::kOk) {
        connection.Note("SOCKS5 greeting incomplete: %s", Describe(status));
        return;
    }
    connection.RecordBytes("socks5 greeting", std::string(1, 5) + char(count) + methods);
    const uint8_t method = ChooseMethod(methods, options);
    if (!Send(connection, "socks5 method", {5, char(method)}))
        return;
    if (method == kMethodLogin) {
        if (!Login(connection, options, deadline))
            return;
    } else if (method != kMethodNone) {
        connection.Note("method 0x%02X answered; no request follows", method);
        return;
    }

    // Request.
    uint8_t fixed[4];
    status = client.ReadExact(fixed, sizeof fixed, deadline);
    if (status != IoStatus::kOk) {
        connection.Note("SOCKS5 request incomplete: %s", Describe(status));
        return;
    }
    std::string bytes(reinterpret_cast<const char*>(fixed), sizeof fixed);
    if (fixed[0] != 5) {
        connection.RecordBytes("socks5 request", bytes);
        connection.Note("request of version %u", fixed[0]);
        return;
    }
    const uint8_t command = fixed[1];
    const uint8_t type = fixed[3];
    std::string host;
    if (type == kTypeIPv4 || type == kTypeIPv6) {
        uint8_t address[16];
        const size_t size = type == kTypeIPv4 ? 4 : 16;
        status = client.ReadExact(address, size, deadline);
        bytes.append(reinterpret_cast<const char*>(address), size);
        char text[INET6_ADDRSTRLEN] = "";
        inet_ntop(type == kTypeIPv4 ? AF_INET : AF_INET6, address, text, sizeof text);
        host = text;
    } else if (type == kTypeName) {
        uint8_t length = 0;
        status = client.ReadExact(&length, 1, deadline);
        if (status == IoStatus::kOk) {
            host.resize(length);
            status = client.ReadExact(&host[0], length, deadline);
        }
        bytes += char(length);
        bytes += host;
    } else {
        connection.RecordBytes("socks5 request", bytes);
        connection.Note("address type %u is not served", type);
        SendReply(connection, options, kAddressTypeNotSupported, 0);
        return;
    }
    uint8_t port[2] = {};
    if (status == IoStatus::kOk)
        status = client.ReadExact(port, 2, deadline);
    if (status != IoStatus::kOk) {
        connection.Note("SOCKS5 request incomplete: %s", Describe(status));
        return;
    }
    bytes.append(reinterpret_cast<const char*>(port), 2);
    connection.RecordBytes("socks5 request", bytes);
    const Endpoint requested{host, uint16_t(port[0] << 8 | port[1])};
    connection.Note("SOCKS5 command %u to %s (address type %u)", command,
                    QuotedText(requested.Text()).c_str(), type);

    uint8_t code = kSucceeded;
    if (command != kConnect)
        code = kCommandNotSupported;
    else if (options.replyCode >= 0)
        code = uint8_t(options.replyCode);
    else if (options.refuse)
        code = kConnectionRefused;
    if (code != kSucceeded) {
        connection.Note("refused with %u", code);
        SendReply(connection, options, code, 0);
        return;
    }

    ForwardError error = ForwardError::kNone;
    std::string reason;
    const std::unique_ptr<Stream> target =
        OpenDestination(requested, options.forward, client.stop(), error, reason);
    if (!target) {
        connection.Note("cannot connect: %s", reason.c_str());
        SendReply(connection, options, ReplyForError(error), 0);
        return;
    }
    if (!SendReply(connection, options, kSucceeded, target->LocalPort()))
        return;
    ForwardAfterHandshake(connection, *target, options);
}

}  // namespace proxies
