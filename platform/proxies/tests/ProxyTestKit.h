// Pieces shared by the stand-ins' tests: servers running in the test
// process with their log and record captured, an echo target, and a plain
// TCP client with time-outs.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ProxyLog.h"
#include "ProxyServer.h"

namespace proxies::test {

constexpr int kWaitMs = 5000;

class LogCapture {
public:
    ProxyLog::Sink Sink();
    bool Contains(const std::string& text) const;
    bool WaitFor(const std::string& text, int timeoutMs = kWaitMs) const;
    std::vector<std::string> Lines() const;
    std::string Dump() const;

private:
    mutable std::mutex mutex_;
    std::deque<std::string> lines_;
};

// The fake target: echoes every byte back and keeps what it received.
class EchoService : public Service {
public:
    const char* name() const override { return "echo"; }
    void Serve(Connection& connection) override;

    std::string Received() const;
    int connections() const { return connections_.load(); }
    // Waits until `count` bytes have arrived in all.
    bool WaitForBytes(size_t count, int timeoutMs = kWaitMs) const;

private:
    mutable std::mutex mutex_;
    std::string received_;
    std::atomic<int> connections_{0};
};

// A service on a free loopback port, accepting until destroyed.
class RunningServer {
public:
    explicit RunningServer(std::unique_ptr<Service> service, ServerOptions options = {});
    ~RunningServer();

    uint16_t port() const { return server_->port(); }
    const LogCapture& log() const { return log_; }
    const LogCapture& record() const { return record_; }
    Service& service() { return *service_; }
    ProxyServer& server() { return *server_; }
    bool ok() const { return ok_; }

private:
    LogCapture log_;
    LogCapture record_;
    ProxyLog proxyLog_;
    std::unique_ptr<Service> service_;
    std::unique_ptr<ProxyServer> server_;
    bool ok_ = false;
};

// A fixture with the echo target that the stand-ins under test forward to.
class EchoTargetTest : public ::testing::Test {
protected:
    // A StandIn (SocksProxy, HttpConnectProxy, ...) on a free port, with a
    // short handshake time-out.
    template <class StandIn, class Options>
    std::unique_ptr<RunningServer> StartStandIn(Options options)
    {
        options.handshakeTimeoutMs = 2000;
        auto server = std::make_unique<RunningServer>(std::make_unique<StandIn>(options));
        EXPECT_TRUE(server->ok());
        return server;
    }
    EchoService& echo() { return static_cast<EchoService&>(target_.service()); }

    RunningServer target_{std::make_unique<EchoService>()};
};

// A blocking TCP client of 127.0.0.1 with time-outs on every read.
class TestClient {
public:
    explicit TestClient(uint16_t port);
    ~TestClient();
    TestClient(const TestClient&) = delete;
    TestClient& operator=(const TestClient&) = delete;

    bool connected() const { return fd_ >= 0; }
    bool Send(const std::string& bytes);
    // One byte per write, with a short pause between them.
    bool SendInPieces(const std::string& bytes);
    // Exactly `count` bytes, or fewer when the peer closed or the time ran out.
    std::string Read(size_t count, int timeoutMs = kWaitMs);
    // Up to and including the first empty line ("" on time-out or close).
    std::string ReadHead(int timeoutMs = kWaitMs);
    // Everything until the peer closes.
    std::string ReadToClose(int timeoutMs = kWaitMs);
    // True when the peer closes (or resets) within the time, and sent
    // nothing more before.
    bool ClosedByPeer(int timeoutMs = kWaitMs);
    void ShutdownWrite();

private:
    int fd_ = -1;
    std::string pending_;  // read ahead by ReadHead
};

std::string Bytes(std::initializer_list<int> values);
std::string BigEndian16(uint16_t value);
std::string LittleEndian32(uint32_t value);
// A game message with an 8-byte header {u32 id, u32 body length}.
std::string GameMessage(uint32_t id, const std::string& body);

// A port on 127.0.0.1 where nothing listens.
uint16_t UnusedPort();

}  // namespace proxies::test
