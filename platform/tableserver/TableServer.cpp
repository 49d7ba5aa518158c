#include "TableServer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "LoopbackListener.h"

namespace tableserver {

namespace {

// Most bytes read from one client in one turn, so that one busy client does
// not starve the others.
constexpr size_t kReadPerTurn = 256 * 1024;

int Milliseconds(Clock::duration d)
{
    return int(std::chrono::duration_cast<std::chrono::milliseconds>(d).count());
}

}  // namespace

TableServer::TableServer(ServerOptions options, Session& session, ServerLog& log)
    : options_(options), session_(session), log_(log)
{
}

TableServer::~TableServer()
{
    for (auto& connection : connections_)
        if (std::find(closed_.begin(), closed_.end(), connection.get()) == closed_.end())
            session_.OnClosed(*connection, "server stopped");
    connections_.clear();
    if (listenFd_ >= 0)
        ::close(listenFd_);
}

bool TableServer::Listen(std::string& error)
{
    listenFd_ = serverkit::ListenOnLoopback(options_.port, port_, error);
    return listenFd_ >= 0;
}

void TableServer::Run(const std::atomic<bool>& stop)
{
    while (!stop.load() && !session_.Finished())
        RunOnce(100);
}

void TableServer::RunOnce(int timeoutMs)
{
    Clock::time_point now = Clock::now();
    std::vector<pollfd> fds;
    fds.push_back({listenFd_, POLLIN, 0});
    for (const auto& connection : connections_) {
        short events = POLLIN;
        if (connection->Backlog() > 0)
            events |= POLLOUT;
        fds.push_back({connection->fd(), events, 0});
    }
    int wait = timeoutMs;
    const int sessionWait = session_.MillisecondsToNextTick(now);
    if (sessionWait >= 0)
        wait = std::min(wait, sessionWait);
    wait = std::max(0, std::min(wait, MillisecondsToNextDeadline(now)));
    if (::poll(fds.data(), fds.size(), wait) < 0 && errno != EINTR)
        log_.Line("poll failed: %s", std::strerror(errno));
    now = Clock::now();

    if (fds[0].revents & POLLIN)
        AcceptAll(now);
    // Connections accepted just now were not polled: they start at fds.size() - 1.
    const size_t polled = fds.size() - 1;
    for (size_t i = 0; i < polled; ++i) {
        Connection& connection = *connections_[i];
        if (fds[i + 1].revents & (POLLIN | POLLHUP | POLLERR))
            Receive(connection);
    }
    for (const auto& connection : connections_) {
        if (std::find(closed_.begin(), closed_.end(), connection.get()) != closed_.end())
            continue;
        std::string reason;
        if (!connection->failure().empty())
            Close(*connection, connection->failure());
        else if (connection->Backlog() > 0 && !connection->Flush(reason))
            Close(*connection, reason);
        else
            CheckLimits(*connection, now);
    }
    session_.OnTick(now);

    for (Connection* gone : closed_)
        connections_.erase(std::find_if(connections_.begin(), connections_.end(),
                                        [gone](const auto& c) { return c.get() == gone; }));
    closed_.clear();
}

void TableServer::AcceptAll(Clock::time_point now)
{
    for (;;) {
        sockaddr_in address;
        socklen_t length = sizeof address;
        const int fd = ::accept4(listenFd_, reinterpret_cast<sockaddr*>(&address), &length,
                                 SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
                log_.Line("accept failed: %s", std::strerror(errno));
            return;
        }
        const std::string peer = serverkit::PeerText(address);
        if (connections_.size() >= options_.maxConnections) {
            log_.Line("connection from %s refused: %zu connections already", peer.c_str(),
                      connections_.size());
            ::close(fd);
            continue;
        }
        serverkit::SetNoDelay(fd);
        connections_.push_back(std::make_unique<Connection>(fd, nextNumber_++, peer, now));
        Connection& connection = *connections_.back();
        connection.SetBacklogCap(options_.maxBacklog);
        log_.Line("connection %s opened", connection.Label().c_str());
        std::string reason;
        if (!session_.OnConnected(connection, reason))
            Close(connection, reason);
    }
}

void TableServer::Receive(Connection& connection)
{
    std::string closedReason;
    const bool open = connection.ReadAvailable(kReadPerTurn, closedReason);
    // Messages that arrived whole before a close are still handled.
    Message message;
    bool completed = false;  // a message was finished by this read
    for (;;) {
        const FrameReader::Status status = connection.reader().Next(message);
        if (status == FrameReader::Status::kNeedMore)
            break;
        if (status == FrameReader::Status::kError) {
            Close(connection, "bad message: " + connection.reader().error());
            return;
        }
        completed = true;
        if (connection.closing())
            continue;  // what a closing client still sends is read and dropped
        std::string reason;
        if (!session_.OnMessage(connection, message, reason)) {
            Close(connection, reason);
            return;
        }
    }
    if (!open) {
        Close(connection, connection.closing() ? connection.closeReason() : closedReason);
        return;
    }
    connection.NotePartial(Clock::now(), completed);
}

void TableServer::CheckLimits(Connection& connection, Clock::time_point now)
{
    if (connection.closing()) {
        if (now >= connection.closeDeadline())
            Close(connection, connection.closeReason());
        else if (connection.Backlog() == 0)
            connection.ShutdownWrite();
        return;
    }
    if (connection.Backlog() > options_.maxBacklog) {
        Close(connection, "client does not read: " + std::to_string(connection.Backlog()) +
                              " bytes waiting");
        return;
    }
    if (connection.who.role == Participant::Role::kJoining &&
        now - connection.connectedAt() >= std::chrono::milliseconds(options_.joinTimeoutMs)) {
        Close(connection, "no join request within " + std::to_string(options_.joinTimeoutMs) + " ms");
        return;
    }
    if (connection.hasPartial() &&
        now - connection.partialSince() >= std::chrono::milliseconds(options_.stallTimeoutMs)) {
        Close(connection, "message incomplete for " + std::to_string(options_.stallTimeoutMs) +
                              " ms (" + std::to_string(connection.reader().PendingBytes()) +
                              " bytes of it received)");
    }
}

void TableServer::Close(Connection& connection, const std::string& reason)
{
    if (std::find(closed_.begin(), closed_.end(), &connection) != closed_.end())
        return;
    closed_.push_back(&connection);
    log_.Line("connection %s closed: %s", connection.Label().c_str(), reason.c_str());
    session_.OnClosed(connection, reason);
}

int TableServer::MillisecondsToNextDeadline(Clock::time_point now) const
{
    Clock::duration soonest = std::chrono::hours(1);
    for (const auto& connection : connections_) {
        if (connection->closing()) {
            soonest = std::min(soonest, connection->closeDeadline() - now);
            continue;
        }
        if (connection->who.role == Participant::Role::kJoining)
            soonest = std::min(soonest, connection->connectedAt() +
                                            std::chrono::milliseconds(options_.joinTimeoutMs) - now);
        if (connection->hasPartial())
            soonest = std::min(soonest, connection->partialSince() +
                                            std::chrono::milliseconds(options_.stallTimeoutMs) - now);
    }
    return std::max(0, Milliseconds(soonest) + 1);
}

}  // namespace tableserver
