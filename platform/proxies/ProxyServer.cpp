#include "ProxyServer.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <exception>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "LoopbackListener.h"

namespace proxies {

namespace {

// Time a client gets to read the last answer and close by itself.
constexpr int kDrainOnCloseMs = 500;

}  // namespace

Connection::Connection(const char* service, uint32_t number, std::string peer,
                       std::unique_ptr<Stream> client, uint16_t serverPort, ProxyLog& log)
    : service_(service),
      label_("#" + std::to_string(number)),
      peer_(std::move(peer)),
      client_(std::move(client)),
      serverPort_(serverPort),
      log_(log)
{
}

void Connection::Note(const char* format, ...)
{
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    log_.Line("%s %s: %s", service_, label_.c_str(), text);
}

ProxyServer::ProxyServer(Service& service, ServerOptions options, ProxyLog& log)
    : service_(service), options_(options), log_(log)
{
}

ProxyServer::~ProxyServer()
{
    Stop();
    if (listenFd_ >= 0)
        ::close(listenFd_);
}

bool ProxyServer::Listen(std::string& error)
{
    listenFd_ = serverkit::ListenOnLoopback(options_.port, port_, error);
    return listenFd_ >= 0;
}

void ProxyServer::Start()
{
    acceptThread_ = std::thread([this] { AcceptLoop(); });
}

void ProxyServer::Stop()
{
    if (stopped_)
        return;
    stopped_ = true;
    stop_.Raise();
    if (acceptThread_.joinable())
        acceptThread_.join();
    std::vector<Worker> workers;
    {
        std::lock_guard<std::mutex> lock(workersMutex_);
        workers.swap(workers_);
    }
    for (Worker& worker : workers)
        worker.thread.join();
}

size_t ProxyServer::liveConnections() const
{
    std::lock_guard<std::mutex> lock(workersMutex_);
    size_t live = 0;
    for (const Worker& worker : workers_)
        live += worker.done->load() ? 0 : 1;
    return live;
}

void ProxyServer::AcceptLoop()
{
    for (;;) {
        pollfd fds[2] = {{listenFd_, POLLIN, 0}, {stop_.fd(), POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 && errno != EINTR) {
            log_.Line("%s: poll failed: %s", service_.name(), std::strerror(errno));
            return;
        }
        if (fds[1].revents & POLLIN)
            return;
        if (fds[0].revents & POLLIN)
            Accept();
        ReapFinished();
    }
}

void ProxyServer::Accept()
{
    for (;;) {
        sockaddr_in address;
        socklen_t length = sizeof address;
        const int fd = ::accept4(listenFd_, reinterpret_cast<sockaddr*>(&address), &length,
                                 SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
                log_.Line("%s: accept failed: %s", service_.name(), std::strerror(errno));
            return;
        }
        ReapFinished();
        const std::string peer = serverkit::PeerText(address);
        if (liveConnections() >= options_.maxConnections) {
            log_.Line("%s: connection from %s refused: %zu connections already", service_.name(),
                      peer.c_str(), options_.maxConnections);
            ::close(fd);
            continue;
        }
        serverkit::SetNoDelay(fd);
        auto done = std::make_shared<std::atomic<bool>>(false);
        const uint32_t number = nextNumber_++;
        std::lock_guard<std::mutex> lock(workersMutex_);
        workers_.push_back(
            {std::thread([this, number, peer, fd, done] { RunConnection(number, peer, fd, done); }),
             done});
    }
}

void ProxyServer::ReapFinished()
{
    std::lock_guard<std::mutex> lock(workersMutex_);
    for (auto it = workers_.begin(); it != workers_.end();) {
        if (it->done->load()) {
            it->thread.join();
            it = workers_.erase(it);
        } else {
            ++it;
        }
    }
}

void ProxyServer::RunConnection(uint32_t number, std::string peer, int fd,
                                std::shared_ptr<std::atomic<bool>> done)
{
    Connection connection(service_.name(), number, peer, std::make_unique<Stream>(fd, stop_), port_,
                          log_);
    connection.Note("connection from %s", peer.c_str());
    try {
        service_.Serve(connection);
    } catch (const std::exception& e) {
        connection.Note("%s", e.what());
    }
    if (connection.hasClient()) {
        connection.client().FinishGracefully(kDrainOnCloseMs);
        connection.Note("closed");
    }
    done->store(true);
}

}  // namespace proxies
