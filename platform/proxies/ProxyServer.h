// The listening side shared by every stand-in: a socket on 127.0.0.1, an
// accepting thread, and one thread per client connection that runs the
// service's protocol on it with blocking reads (each bounded by a deadline
// and by the server's stop signal). Stop() wakes and joins them all.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ProxyLog.h"
#include "Stream.h"

namespace proxies {

// One accepted client connection as a service sees it.
class Connection {
public:
    Connection(const char* service, uint32_t number, std::string peer,
               std::unique_ptr<Stream> client, uint16_t serverPort, ProxyLog& log);

    // "#3": the prefix of this connection's log and record lines.
    const std::string& label() const { return label_; }
    const std::string& peer() const { return peer_; }
    uint16_t serverPort() const { return serverPort_; }
    ProxyLog& log() { return log_; }
    // A log line "<service> #3: <text>".
    void Note(const char* format, ...) PROXIES_PRINTF(2, 3);
    // Record lines of this connection (see ProxyLog).
    void RecordBytes(const char* step, const std::string& bytes)
    {
        log_.RecordBytes(label_, step, bytes);
    }
    void RecordText(const char* step, const std::string& text) { log_.RecordText(label_, step, text); }

    Stream& client() { return *client_; }
    // Hands the client's socket to someone else (the tunnel's POST leg joins
    // the thread of its GET leg); the connection thread then just ends.
    std::unique_ptr<Stream> TakeClient() { return std::move(client_); }
    bool hasClient() const { return client_ != nullptr; }

private:
    const char* service_;
    std::string label_;
    std::string peer_;
    std::unique_ptr<Stream> client_;
    uint16_t serverPort_;
    ProxyLog& log_;
};

class Service {
public:
    virtual ~Service() = default;
    // "socks", "relay", "http", "tunnel": the first word of the log lines.
    virtual const char* name() const = 0;
    // Runs the protocol on one connection, on that connection's own thread.
    virtual void Serve(Connection& connection) = 0;
};

struct ServerOptions {
    uint16_t port = 0;  // 0: a free port, see ProxyServer::port()
    size_t maxConnections = 64;
};

class ProxyServer {
public:
    ProxyServer(Service& service, ServerOptions options, ProxyLog& log);
    ~ProxyServer();
    ProxyServer(const ProxyServer&) = delete;
    ProxyServer& operator=(const ProxyServer&) = delete;

    bool Listen(std::string& error);
    uint16_t port() const { return port_; }

    // Starts accepting on a thread of its own.
    void Start();
    // Raises the stop signal and joins the accepting and connection threads.
    void Stop();

    const StopSignal& stopSignal() const { return stop_; }
    size_t liveConnections() const;
    uint32_t acceptedConnections() const { return nextNumber_.load() - 1; }

private:
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };

    void AcceptLoop();
    void Accept();
    void ReapFinished();
    void RunConnection(uint32_t number, std::string peer, int fd,
                       std::shared_ptr<std::atomic<bool>> done);

    Service& service_;
    ServerOptions options_;
    ProxyLog& log_;
    StopSignal stop_;
    int listenFd_ = -1;
    uint16_t port_ = 0;
    std::atomic<uint32_t> nextNumber_{1};
    std::thread acceptThread_;
    mutable std::mutex workersMutex_;
    std::vector<Worker> workers_;
    bool stopped_ = false;
};

}  // namespace proxies
