// A table server running in the test process on a free loopback port, with
// its log captured.
#pragma once

#include <atomic>
#include <chrono>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "ServerLog.h"
#include "Table.h"
#include "TableServer.h"

namespace tableserver::test {

// The server's log lines, kept for the checks (the most recent ones only, so
// that a long run does not grow).
class LogCapture {
public:
    explicit LogCapture(size_t keep = 4000) : keep_(keep) {}
    ServerLog::Sink Sink();
    bool Contains(const std::string& text, const std::string& then = {}) const;
    // Waits until a line containing text has been logged.
    bool WaitFor(const std::string& text, std::chrono::milliseconds timeout) const;
    // Waits for a line that holds first and, after it, second.
    bool WaitForLine(const std::string& first, const std::string& second,
                     std::chrono::milliseconds timeout) const;
    std::string Dump() const;

private:
    size_t keep_;
    mutable std::mutex mutex_;
    std::deque<std::string> lines_;
};

class RunningServer {
public:
    explicit RunningServer(TableOptions table = {}, ServerOptions server = {}, bool verbose = false,
                           size_t keepLines = 4000);
    ~RunningServer();

    uint16_t port() const { return port_; }
    const LogCapture& log() const { return capture_; }
    const Table& table() const { return *table_; }
    bool ok() const { return ok_; }

private:
    LogCapture capture_;
    ServerLog log_;
    std::unique_ptr<Table> table_;
    std::unique_ptr<TableServer> server_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    uint16_t port_ = 0;
    bool ok_ = false;
};

}  // namespace tableserver::test
