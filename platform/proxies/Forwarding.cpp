#include "Forwarding.h"

#include <cerrno>
#include <cstring>
#include <strings.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace proxies {

namespace {

bool ParsePort(const std::string& text, uint16_t& port)
{
    if (text.empty() || text.size() > 5)
        return false;
    unsigned value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + unsigned(c - '0');
    }
    if (value == 0 || value > 65535)
        return false;
    port = uint16_t(value);
    return true;
}

// The socket address of a loopback host; false for anything else.
bool LoopbackAddress(const std::string& host, uint16_t port, sockaddr_storage& out,
                     socklen_t& length)
{
    std::memset(&out, 0, sizeof out);
    in_addr v4;
    in6_addr v6;
    if (strcasecmp(host.c_str(), "localhost") == 0) {
        inet_pton(AF_INET, "127.0.0.1", &v4);
    } else if (inet_pton(AF_INET, host.c_str(), &v4) == 1) {
        if ((ntohl(v4.s_addr) >> 24) != 127)
            return false;
    } else if (inet_pton(AF_INET6, host.c_str(), &v6) == 1) {
        if (IN6_IS_ADDR_V4MAPPED(&v6)) {
            std::memcpy(&v4, &v6.s6_addr[12], 4);
            if ((ntohl(v4.s_addr) >> 24) != 127)
                return false;
        } else {
            if (!IN6_IS_ADDR_LOOPBACK(&v6))
                return false;
            auto& a = reinterpret_cast<sockaddr_in6&>(out);
            a.sin6_family = AF_INET6;
            a.sin6_addr = v6;
            a.sin6_port = htons(port);
            length = sizeof a;
            return true;
        }
    } else {
        return false;
    }
    auto& a = reinterpret_cast<sockaddr_in&>(out);
    a.sin_family = AF_INET;
    a.sin_addr = v4;
    a.sin_port = htons(port);
    length = sizeof a;
    return true;
}

bool IsAddressText(const std::string& host)
{
    unsigned char scratch[sizeof(in6_addr)];
    return inet_pton(AF_INET, host.c_str(), scratch) == 1 ||
           inet_pton(AF_INET6, host.c_str(), scratch) == 1;
}

}  // namespace

std::string Endpoint::Text() const
{
    if (host.find(':') != std::string::npos)
        return "[" + host + "]:" + std::to_string(port);
    return host + ":" + std::to_string(port);
}

bool ParseEndpoint(const std::string& text, Endpoint& out)
{
    std::string host;
    std::string port;
    if (!text.empty() && text[0] == '[') {
        const size_t close = text.find(']');
        if (close == std::string::npos || close + 1 >= text.size() || text[close + 1] != ':')
            return false;
        host = text.substr(1, close - 1);
        port = text.substr(close + 2);
    } else {
        const size_t colon = text.rfind(':');
        if (colon == std::string::npos || text.find(':') != colon)
            return false;
        host = text.substr(0, colon);
        port = text.substr(colon + 1);
    }
    if (host.empty() || !ParsePort(port, out.port))
        return false;
    out.host = host;
    return true;
}

bool IsLoopbackHost(const std::string& host)
{
    sockaddr_storage address;
    socklen_t length = 0;
    return LoopbackAddress(host, 1, address, length);
}

std::unique_ptr<Stream> OpenDestination(const Endpoint& requested, const ForwardOptions& options,
                                        const StopSignal& stop, ForwardError& error,
                                        std::string& reason)
{
    const Endpoint& destination = options.target ? *options.target : requested;
    sockaddr_storage address;
    socklen_t length = 0;
    if (!LoopbackAddress(destination.host, destination.port, address, length)) {
        const bool name = !IsAddressText(destination.host);
        error = name ? ForwardError::kUnresolved : ForwardError::kNotAllowed;
        reason = destination.Text() + (name ? ": only \"localhost\" is resolved"
                                            : ": not an address on this machine");
        return nullptr;
    }
    const int fd = ::socket(address.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = ForwardError::kRefused;
        reason = std::string("socket: ") + std::strerror(errno);
        return nullptr;
    }
    auto stream = std::make_unique<Stream>(fd, stop);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 && errno != EINPROGRESS) {
        error = ForwardError::kRefused;
        reason = destination.Text() + ": " + std::strerror(errno);
        return nullptr;
    }
    pollfd fds[2] = {{fd, POLLOUT, 0}, {stop.fd(), POLLIN, 0}};
    int ready;
    do {
        ready = ::poll(fds, 2, options.connectTimeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (fds[1].revents & POLLIN) {
        error = ForwardError::kStopped;
        reason = "server stopping";
        return nullptr;
    }
    if (ready == 0) {
        error = ForwardError::kTimedOut;
        reason = destination.Text() + ": no answer in " + std::to_string(options.connectTimeoutMs) +
                 " ms";
        return nullptr;
    }
    int socketError = 0;
    socklen_t size = sizeof socketError;
    getsockopt(fd, SOL_SOCKET, SO_ERROR, &socketError, &size);
    if (ready < 0 || socketError != 0) {
        error = ForwardError::kRefused;
        reason = destination.Text() + ": " + std::strerror(ready < 0 ? errno : socketError);
        return nullptr;
    }
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    error = ForwardError::kNone;
    return stream;
}

}  // namespace proxies
