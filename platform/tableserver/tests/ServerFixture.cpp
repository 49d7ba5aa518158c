#include "ServerFixture.h"

#include <cstdio>
#include <cstdlib>

namespace tableserver::test {

ServerLog::Sink LogCapture::Sink()
{
    // TABLESERVER_TEST_ECHO=1 also prints every line, for a look at a failing run.
    const bool echo = std::getenv("TABLESERVER_TEST_ECHO") != nullptr;
    return [this, echo](const std::string& line) {
        if (echo)
            std::fprintf(stderr, "server: %s\n", line.c_str());
        std::lock_guard<std::mutex> lock(mutex_);
        lines_.push_back(line);
        if (lines_.size() > keep_)
            lines_.pop_front();
    };
}

bool LogCapture::Contains(const std::string& text, const std::string& then) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    for (const std::string& line : lines_) {
        const size_t at = line.find(text);
        if (at != std::string::npos && line.find(then, at + text.size()) != std::string::npos)
            return true;
    }
    return false;
}

bool LogCapture::WaitFor(const std::string& text, std::chrono::milliseconds timeout) const
{
    return WaitForLine(text, {}, timeout);
}

bool LogCapture::WaitForLine(const std::string& first, const std::string& second,
                             std::chrono::milliseconds timeout) const
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!Contains(first, second)) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

std::string LogCapture::Dump() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::string text;
    for (const std::string& line : lines_)
        text += line + "\n";
    return text;
}

RunningServer::RunningServer(TableOptions table, ServerOptions server, bool verbose, size_t keepLines)
    : capture_(keepLines), log_(capture_.Sink(), verbose)
{
    server.port = 0;
    table_ = std::make_unique<Table>(std::move(table), log_);
    std::string error;
    if (!table_->Open(error)) {
        std::fprintf(stderr, "table: %s\n", error.c_str());
        return;
    }
    server_ = std::make_unique<TableServer>(server, *table_, log_);
    if (!server_->Listen(error)) {
        std::fprintf(stderr, "server: %s\n", error.c_str());
        return;
    }
    port_ = server_->port();
    ok_ = true;
    thread_ = std::thread([this] { server_->Run(stop_); });
}

RunningServer::~RunningServer()
{
    stop_.store(true);
    if (thread_.joinable())
        thread_.join();
    server_.reset();
    table_.reset();
}

}  // namespace tableserver::test
