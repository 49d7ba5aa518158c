// SOCKS4 and SOCKS4a, the proxy's side.
//
// Request: VN = 4, CD (1 = CONNECT), DSTPORT (2 bytes, network order),
// DSTIP (4 bytes), USERID, a zero byte. SOCKS4a: a DSTIP of 0.0.0.x with
// x not 0 means that the host name follows, ended by a zero byte too.
// Reply: VN = 0, CD (90 granted; 91 rejected or failed; 92 and 93 identd
// failures), DSTPORT, DSTIP: 8 bytes.
#include <cstdio>

#include "SocksProxy.h"

namespace proxies {

namespace {

constexpr uint8_t kConnect = 1;
constexpr uint8_t kGranted = 90;
constexpr uint8_t kRejected = 91;
constexpr size_t kMaxUserId = 255;
constexpr size_t kMaxHostName = 255;

struct Socks4Request {
    uint8_t command = 0;
    uint16_t port = 0;
    uint8_t ip[4] = {};
    std::string userId;
    std::string host;  // SOCKS4a only
    bool named = false;
};

// The request as it arrived, for the record.
std::string RequestBytes(const Socks4Request& r)
{
    std::string bytes = {4, char(r.command), char(r.port >> 8), char(r.port & 0xFF)};
    bytes.append(reinterpret_cast<const char*>(r.ip), 4);
    bytes += r.userId;
    bytes += '\0';
    if (r.named) {
        bytes += r.host;
        bytes += '\0';
    }
    return bytes;
}

IoStatus ReadRequest(Stream& client, Socks4Request& r, Deadline deadline)
{
    uint8_t fixed[7];
    IoStatus status = client.ReadExact(fixed, sizeof fixed, deadline);
    if (status != IoStatus::kOk)
        return status;
    r.command = fixed[0];
    r.port = uint16_t(fixed[1] << 8 | fixed[2]);
    for (int i = 0; i < 4; ++i)
        r.ip[i] = fixed[3 + i];
    status = client.ReadZeroTerminated(r.userId, kMaxUserId, deadline);
    if (status != IoStatus::kOk)
        return status;
    r.named = r.ip[0] == 0 && r.ip[1] == 0 && r.ip[2] == 0 && r.ip[3] != 0;
    if (r.named)
        status = client.ReadZeroTerminated(r.host, kMaxHostName, deadline);
    return status;
}

// Sends the 8-byte reply (only its first half with --short-reply).
bool SendReply(Connection& connection, const SocksOptions& options, uint8_t code, uint16_t port,
               const uint8_t ip[4])
{
    const std::string reply = {0,           char(code),  char(port >> 8), char(port & 0xFF),
                               char(ip[0]), char(ip[1]), char(ip[2]),     char(ip[3])};
    const std::string sent = options.shortReply ? reply.substr(0, 4) : reply;
    connection.RecordBytes("socks4 reply", sent);
    return connection.client().WriteAll(sent) == IoStatus::kOk && !options.shortReply;
}

}  // namespace

void ServeSocks4(Connection& connection, const SocksOptions& options)
{
    Socks4Request request;
    const IoStatus status =
        ReadRequest(connection.client(), request, DeadlineIn(options.handshakeTimeoutMs));
    if (status != IoStatus::kOk) {
        connection.Note("SOCKS4 request incomplete: %s", Describe(status));
        return;
    }
    connection.RecordBytes(request.named ? "socks4a request" : "socks4 request",
                           RequestBytes(request));

    char dotted[16];
    std::snprintf(dotted, sizeof dotted, "%u.%u.%u.%u", request.ip[0], request.ip[1], request.ip[2],
                  request.ip[3]);
    const Endpoint requested{request.named ? request.host : dotted, request.port};
    connection.Note("%s CONNECT %s, user id %s", request.named ? "SOCKS4a" : "SOCKS4",
                    requested.Text().c_str(), QuotedText(request.userId).c_str());

    uint8_t code = kGranted;
    if (request.command != kConnect) {
        connection.Note("command %u is not served", request.command);
        code = kRejected;
    } else if (options.replyCode >= 0) {
        code = uint8_t(options.replyCode);
    } else if (options.refuse) {
        code = kRejected;
    }
    if (code != kGranted) {
        connection.Note("refused with %u", code);
        SendReply(connection, options, code, request.port, request.ip);
        return;
    }

    ForwardError error = ForwardError::kNone;
    std::string reason;
    const std::unique_ptr<Stream> target = OpenDestination(
        requested, options.forward, connection.client().stop(), error, reason);
    if (!target) {
        connection.Note("cannot connect: %s", reason.c_str());
        SendReply(connection, options, kRejected, request.port, request.ip);
        return;
    }
    const uint8_t bound[4] = {127, 0, 0, 1};
    if (!SendReply(connection, options, kGranted, target->LocalPort(), bound))
        return;
    ForwardAfterHandshake(connection, *target, options);
}

}  // namespace proxies
