#include "Connection.h"

#include <cerrno>
#include <cstring>

#include <sys/socket.h>
#include <unistd.h>

namespace tableserver {

Connection::Connection(int fd, uint32_t number, std::string peer, Clock::time_point now)
    : fd_(fd), number_(number), peer_(std::move(peer)), connectedAt_(now)
{
}

Connection::~Connection()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::string Connection::Label() const
{
    return "#" + std::to_string(number_) + " " + (who.userName.empty() ? peer_ : who.userName);
}

bool Connection::ReadAvailable(size_t maxBytes, std::string& reason)
{
    uint8_t chunk[16384];
    size_t total = 0;
    while (total < maxBytes) {
        const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
        if (n > 0) {
            reader_.Append(chunk, static_cast<size_t>(n));
            total += static_cast<size_t>(n);
            continue;
        }
        if (n == 0) {
            const size_t pending = reader_.PendingBytes();
            reason = pending ? "client closed the connection inside a message (" +
                                   std::to_string(pending) + " bytes of it received)"
                             : "client closed the connection";
            return false;
        }
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            break;
        reason = std::string("read failed: ") + std::strerror(errno);
        return false;
    }
    return true;
}

void Connection::Send(const Message& message)
{
    if (!closing_ && failure_.empty())
        SendFrame(EncodeFrame(message, mayCompress));
}

void Connection::SendFrame(const std::vector<uint8_t>& frame)
{
    if (closing_ || !failure_.empty())
        return;
    if (Backlog() + frame.size() > backlogCap_) {
        // One turn may queue a lot (a whole automatic hand): what the client
        // reads meanwhile makes room.
        std::string reason;
        if (!Flush(reason)) {
            failure_ = reason;
            return;
        }
        if (Backlog() + frame.size() > backlogCap_) {
            failure_ = "client does not read: " + std::to_string(Backlog()) + " bytes waiting, " +
                       std::to_string(frame.size()) + " more to queue";
            return;
        }
    }
    if (outStart_ > 0 && outStart_ == out_.size()) {
        out_.clear();
        outStart_ = 0;
    }
    out_.insert(out_.end(), frame.begin(), frame.end());
}

bool Connection::Flush(std::string& reason)
{
    while (outStart_ < out_.size()) {
        const ssize_t n = ::send(fd_, out_.data() + outStart_, out_.size() - outStart_, MSG_NOSIGNAL);
        if (n > 0) {
            outStart_ += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        reason = std::string("write failed: ") + (n < 0 ? std::strerror(errno) : "no progress");
        return false;
    }
    if (outStart_ == out_.size()) {
        out_.clear();
        outStart_ = 0;
    } else if (outStart_ > 65536 && outStart_ * 2 > out_.size()) {
        out_.erase(out_.begin(), out_.begin() + static_cast<std::ptrdiff_t>(outStart_));
        outStart_ = 0;
    }
    return true;
}

void Connection::CloseAfterFlush(std::string reason, Clock::time_point deadline)
{
    if (closing_)
        return;
    closing_ = true;
    closeReason_ = std::move(reason);
    closeDeadline_ = deadline;
}

void Connection::ShutdownWrite()
{
    if (!writeShut_) {
        writeShut_ = true;
        ::shutdown(fd_, SHUT_WR);
    }
}

void Connection::NotePartial(Clock::time_point now, bool completed)
{
    const bool partial = reader_.PendingBytes() > 0;
    if (partial && (!hasPartial_ || completed))
        partialSince_ = now;
    hasPartial_ = partial;
}

}  // namespace tableserver
