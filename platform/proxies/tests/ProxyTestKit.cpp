#include "ProxyTestKit.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace proxies::test {

namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point end)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
    return left.count() < 0 ? 0 : int(left.count());
}

}  // namespace

// ---- LogCapture ---------------------------------------------------------------------

ProxyLog::Sink LogCapture::Sink()
{
    return [this](const std::string& line) {
        std::lock_guard<std::mutex> lock(mutex_);
        lines_.push_back(line);
    };
}

bool LogCapture::Contains(const std::string& text) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    for (const std::string& line : lines_)
        if (line.find(text) != std::string::npos)
            return true;
    return false;
}

bool LogCapture::WaitFor(const std::string& text, int timeoutMs) const
{
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!Contains(text)) {
        if (Clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

std::vector<std::string> LogCapture::Lines() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return {lines_.begin(), lines_.end()};
}

std::string LogCapture::Dump() const
{
    std::string text;
    for (const std::string& line : Lines())
        text += line + "\n";
    return text;
}

// ---- EchoService --------------------------------------------------------------------

void EchoService::Serve(Connection& connection)
{
    ++connections_;
    Stream& client = connection.client();
    char chunk[4096];
    for (;;) {
        pollfd fds[2] = {{client.fd(), POLLIN, 0}, {client.stop().fd(), POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 && errno != EINTR)
            return;
        if (fds[1].revents & POLLIN)
            return;
        size_t got = 0;
        if (client.ReadAvailable(chunk, sizeof chunk, got) != IoStatus::kOk)
            return;
        if (got == 0)
            continue;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            received_.append(chunk, got);
        }
        if (client.WriteAll(chunk, got) != IoStatus::kOk)
            return;
    }
}

std::string EchoService::Received() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
}

bool EchoService::WaitForBytes(size_t count, int timeoutMs) const
{
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Received().size() < count) {
        if (Clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// ---- RunningServer ------------------------------------------------------------------

RunningServer::RunningServer(std::unique_ptr<Service> service, ServerOptions options)
    : proxyLog_(log_.Sink(), true), service_(std::move(service))
{
    proxyLog_.SetRecordSink(record_.Sink());
    options.port = 0;
    server_ = std::make_unique<ProxyServer>(*service_, options, proxyLog_);
    std::string error;
    ok_ = server_->Listen(error);
    if (ok_)
        server_->Start();
}

RunningServer::~RunningServer()
{
    server_.reset();
}

// ---- TestClient ---------------------------------------------------------------------

TestClient::TestClient(uint16_t port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address;
    std::memset(&address, 0, sizeof address);
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
        fd_ = fd;
    else if (fd >= 0)
        ::close(fd);
}

TestClient::~TestClient()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool TestClient::Send(const std::string& bytes)
{
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        sent += size_t(n);
    }
    return true;
}

bool TestClient::SendInPieces(const std::string& bytes)
{
    for (const char c : bytes) {
        if (!Send(std::string(1, c)))
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

std::string TestClient::Read(size_t count, int timeoutMs)
{
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string out = pending_.substr(0, count);
    pending_.erase(0, out.size());
    while (out.size() < count) {
        pollfd p = {fd_, POLLIN, 0};
        if (::poll(&p, 1, MillisecondsLeft(end)) <= 0)
            break;
        char chunk[4096];
        const ssize_t n = ::recv(fd_, chunk, std::min(sizeof chunk, count - out.size()), 0);
        if (n <= 0)
            break;
        out.append(chunk, size_t(n));
    }
    return out;
}

std::string TestClient::ReadHead(int timeoutMs)
{
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const size_t at = pending_.find("\r\n\r\n");
        if (at != std::string::npos) {
            std::string head = pending_.substr(0, at + 4);
            pending_.erase(0, at + 4);
            return head;
        }
        pollfd p = {fd_, POLLIN, 0};
        if (::poll(&p, 1, MillisecondsLeft(end)) <= 0)
            return {};
        char chunk[4096];
        const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
        if (n <= 0)
            return {};
        pending_.append(chunk, size_t(n));
    }
}

std::string TestClient::ReadToClose(int timeoutMs)
{
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string out;
    out.swap(pending_);
    for (;;) {
        pollfd p = {fd_, POLLIN, 0};
        if (::poll(&p, 1, MillisecondsLeft(end)) <= 0)
            return out;
        char chunk[4096];
        const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
        if (n <= 0)
            return out;
        out.append(chunk, size_t(n));
    }
}

bool TestClient::ClosedByPeer(int timeoutMs)
{
    if (!pending_.empty())
        return false;
    pollfd p = {fd_, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0)
        return false;
    char c;
    return ::recv(fd_, &c, 1, 0) <= 0;
}

void TestClient::ShutdownWrite()
{
    ::shutdown(fd_, SHUT_WR);
}

// ---- Bytes --------------------------------------------------------------------------

std::string Bytes(std::initializer_list<int> values)
{
    std::string out;
    for (const int v : values)
        out += char(v);
    return out;
}

std::string BigEndian16(uint16_t value)
{
    return Bytes({value >> 8, value & 0xFF});
}

std::string LittleEndian32(uint32_t value)
{
    return Bytes({int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF),
                  int(value >> 24)});
}

std::string GameMessage(uint32_t id, const std::string& body)
{
    return LittleEndian32(id) + LittleEndian32(uint32_t(body.size())) + body;
}

uint16_t UnusedPort()
{
    // Bound but never listening: connecting to it is refused.
    static const int holder = [] {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address;
        std::memset(&address, 0, sizeof address);
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        return fd;
    }();
    sockaddr_in address;
    socklen_t length = sizeof address;
    getsockname(holder, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

}  // namespace proxies::test
