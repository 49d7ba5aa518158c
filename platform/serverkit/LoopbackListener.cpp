#include "LoopbackListener.h"

#include <cerrno>
#include <cstring>

#include <arpa/inet.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace serverkit {

namespace {

int Fail(int fd, std::string& error, const std::string& reason)
{
    error = reason;
    ::close(fd);
    return -1;
}

}  // namespace

int ListenOnLoopback(uint16_t port, uint16_t& boundPort, std::string& error)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return -1;
    }
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address;
    std::memset(&address, 0, sizeof address);
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        return Fail(fd, error, "bind 127.0.0.1:" + std::to_string(port) + ": " + std::strerror(errno));
    if (::listen(fd, 16) != 0)
        return Fail(fd, error, std::string("listen: ") + std::strerror(errno));
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    boundPort = ntohs(address.sin_port);
    return fd;
}

std::string PeerText(const sockaddr_in& address)
{
    char host[INET_ADDRSTRLEN] = "?";
    inet_ntop(AF_INET, &address.sin_addr, host, sizeof host);
    return std::string(host) + ":" + std::to_string(ntohs(address.sin_port));
}

void SetNoDelay(int fd)
{
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

}  // namespace serverkit
