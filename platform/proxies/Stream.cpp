#include "Stream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace proxies {

namespace {

constexpr size_t kChunk = 4096;

int MillisecondsUntil(Deadline deadline)
{
    if (deadline == kNoDeadline)
        return -1;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0)
        return 0;
    return int(std::min<long long>(left.count() + 1, 60 * 60 * 1000));
}

}  // namespace

Deadline DeadlineIn(int milliseconds)
{
    return Clock::now() + std::chrono::milliseconds(milliseconds);
}

// ---- StopSignal ---------------------------------------------------------------------

StopSignal::StopSignal() : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

StopSignal::~StopSignal()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void StopSignal::Raise()
{
    const uint64_t one = 1;
    ssize_t written = ::write(fd_, &one, sizeof one);
    (void)written;  // the counter only ever needs to be non-zero
}

bool StopSignal::raised() const
{
    pollfd p = {fd_, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & POLLIN);
}

const char* Describe(IoStatus status)
{
    switch (status) {
    case IoStatus::kOk: return "ok";
    case IoStatus::kClosed: return "closed by the peer";
    case IoStatus::kTimedOut: return "timed out";
    case IoStatus::kStopped: return "server stopping";
    case IoStatus::kFailed: return "socket error";
    case IoStatus::kTooLong: return "too long";
    }
    return "?";
}

// ---- Stream -------------------------------------------------------------------------

Stream::Stream(int fd, const StopSignal& stop) : fd_(fd), stop_(stop)
{
    const int flags = fcntl(fd_, F_GETFL, 0);
    if (flags >= 0)
        fcntl(fd_, F_SETFL, flags | O_NONBLOCK);
}

Stream::~Stream()
{
    if (fd_ >= 0)
        ::close(fd_);
}

IoStatus Stream::WaitFor(short events, Deadline deadline)
{
    for (;;) {
        pollfd fds[2] = {{fd_, events, 0}, {stop_.fd(), POLLIN, 0}};
        const int n = ::poll(fds, 2, MillisecondsUntil(deadline));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            lastError_ = errno;
            return IoStatus::kFailed;
        }
        if (fds[1].revents & POLLIN)
            return IoStatus::kStopped;
        if (n == 0)
            return IoStatus::kTimedOut;
        // Errors and hang-ups show up in the read or write that follows.
        return IoStatus::kOk;
    }
}

IoStatus Stream::Fill(Deadline deadline)
{
    if (offset_ > 0 && offset_ == buffer_.size()) {
        buffer_.clear();
        offset_ = 0;
    }
    for (;;) {
        char chunk[kChunk];
        const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
        if (n > 0) {
            buffer_.append(chunk, size_t(n));
            return IoStatus::kOk;
        }
        if (n == 0)
            return IoStatus::kClosed;
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            lastError_ = errno;
            return IoStatus::kFailed;
        }
        const IoStatus waited = WaitFor(POLLIN, deadline);
        if (waited != IoStatus::kOk)
            return waited;
    }
}

void Stream::Consume(void* out, size_t count)
{
    std::memcpy(out, buffer_.data() + offset_, count);
    offset_ += count;
}

IoStatus Stream::ReadExact(void* out, size_t count, Deadline deadline)
{
    while (Buffered() < count) {
        const IoStatus status = Fill(deadline);
        if (status != IoStatus::kOk)
            return status;
    }
    Consume(out, count);
    return IoStatus::kOk;
}

IoStatus Stream::ReadZeroTerminated(std::string& out, size_t maxLength, Deadline deadline)
{
    size_t scanned = 0;
    for (;;) {
        const size_t limit = std::min(Buffered(), maxLength + 1);
        const char* begin = buffer_.data() + offset_;
        const void* zero = std::memchr(begin + scanned, '\0', limit - scanned);
        if (zero) {
            const size_t length = size_t(static_cast<const char*>(zero) - begin);
            out.assign(begin, length);
            offset_ += length + 1;
            return IoStatus::kOk;
        }
        scanned = limit;
        if (scanned > maxLength)
            return IoStatus::kTooLong;
        const IoStatus status = Fill(deadline);
        if (status != IoStatus::kOk)
            return status;
    }
}

IoStatus Stream::ReadHead(std::string& out, size_t maxLength, Deadline deadline)
{
    for (;;) {
        const std::string_view pending(buffer_.data() + offset_, Buffered());
        size_t end = std::string_view::npos;
        const size_t crlf = pending.find("\r\n\r\n");
        const size_t lf = pending.find("\n\n");
        if (crlf != std::string_view::npos)
            end = crlf + 4;
        if (lf != std::string_view::npos && (end == std::string_view::npos || lf + 2 < end))
            end = lf + 2;
        if (end != std::string_view::npos && end <= maxLength) {
            out.assign(pending.data(), end);
            offset_ += end;
            return IoStatus::kOk;
        }
        if (pending.size() >= maxLength)
            return IoStatus::kTooLong;
        const IoStatus status = Fill(deadline);
        if (status != IoStatus::kOk)
            return status;
    }
}

IoStatus Stream::ReadAvailable(void* out, size_t capacity, size_t& got)
{
    got = 0;
    if (capacity == 0)
        return IoStatus::kOk;
    if (HasBuffered()) {
        got = std::min(capacity, Buffered());
        Consume(out, got);
        return IoStatus::kOk;
    }
    for (;;) {
        const ssize_t n = ::recv(fd_, out, capacity, 0);
        if (n > 0) {
            got = size_t(n);
            return IoStatus::kOk;
        }
        if (n == 0)
            return IoStatus::kClosed;
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return IoStatus::kOk;
        lastError_ = errno;
        return IoStatus::kFailed;
    }
}

IoStatus Stream::WriteAll(const void* data, size_t count, Deadline deadline)
{
    const char* p = static_cast<const char*>(data);
    while (count > 0) {
        const ssize_t n = ::send(fd_, p, count, MSG_NOSIGNAL);
        if (n > 0) {
            p += n;
            count -= size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            lastError_ = errno;
            return errno == EPIPE || errno == ECONNRESET ? IoStatus::kClosed : IoStatus::kFailed;
        }
        const IoStatus waited = WaitFor(POLLOUT, deadline);
        if (waited != IoStatus::kOk)
            return waited;
    }
    return IoStatus::kOk;
}

void Stream::ShutdownWrite()
{
    ::shutdown(fd_, SHUT_WR);
}

void Stream::FinishGracefully(int drainMs)
{
    ShutdownWrite();
    const Deadline deadline = DeadlineIn(drainMs);
    offset_ = buffer_.size();
    for (;;) {
        char chunk[kChunk];
        size_t got = 0;
        const IoStatus status = ReadAvailable(chunk, sizeof chunk, got);
        if (status != IoStatus::kOk)
            return;
        if (got == 0 && WaitFor(POLLIN, deadline) != IoStatus::kOk)
            return;
    }
}

uint16_t Stream::LocalPort() const
{
    sockaddr_storage address;
    socklen_t length = sizeof address;
    if (getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 0;
    if (address.ss_family == AF_INET)
        return ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
    if (address.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port);
    return 0;
}

}  // namespace proxies
