// The server: a listening socket on 127.0.0.1 and its client connections,
// run by one thread with poll(). What the messages mean is the session's
// affair (the table, or a script); the server frames them, watches the
// limits and closes a connection, with a logged reason, when it breaks them.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Connection.h"
#include "ServerLog.h"
#include "Session.h"

namespace tableserver {

constexpr uint16_t kDefaultPort = 26100;

struct ServerOptions {
    uint16_t port = kDefaultPort;        // 0: any free port (see TableServer::port)
    int joinTimeoutMs = 30000;           // a new connection must send its first message by then
    int stallTimeoutMs = 30000;          // a message begun must be complete by then
    size_t maxConnections = 64;
    size_t maxBacklog = size_t(4) << 20; // bytes waiting for a client that does not read
};

class TableServer {
public:
    TableServer(ServerOptions options, Session& session, ServerLog& log);
    ~TableServer();
    TableServer(const TableServer&) = delete;
    TableServer& operator=(const TableServer&) = delete;

    // Binds 127.0.0.1 on the configured port and listens.
    bool Listen(std::string& error);
    // The port listened on (the one chosen when 0 was asked for).
    uint16_t port() const { return port_; }

    // Runs until stop is set or the session has finished.
    void Run(const std::atomic<bool>& stop);
    // One turn of the loop, waiting at most timeoutMs for something to happen.
    void RunOnce(int timeoutMs);

    size_t connectionCount() const { return connections_.size(); }

private:
    void AcceptAll(Clock::time_point now);
    void Receive(Connection& connection);
    void CheckLimits(Connection& connection, Clock::time_point now);
    void Close(Connection& connection, const std::string& reason);
    int MillisecondsToNextDeadline(Clock::time_point now) const;

    ServerOptions options_;
    Session& session_;
    ServerLog& log_;
    int listenFd_ = -1;
    uint16_t port_ = 0;
    uint32_t nextNumber_ = 1;
    std::vector<std::unique_ptr<Connection>> connections_;
    std::vector<Connection*> closed_;  // closed this turn, removed at its end
};

}  // namespace tableserver
