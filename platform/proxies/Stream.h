// One TCP connection of a stand-in, read and written with deadlines. Every
// wait also watches the server's stop signal, so that stopping a server
// wakes every connection thread at once.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace proxies {

using Clock = std::chrono::steady_clock;
using Deadline = Clock::time_point;

constexpr Deadline kNoDeadline = Deadline::max();
// Longest time a peer may leave written bytes unread before the write fails.
constexpr int kWriteTimeoutMs = 30000;

Deadline DeadlineIn(int milliseconds);

// Raised once, never lowered: every poll that includes fd() wakes from then on.
class StopSignal {
public:
    StopSignal();
    ~StopSignal();
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;

    void Raise();
    bool raised() const;
    int fd() const { return fd_; }

private:
    int fd_ = -1;
};

enum class IoStatus {
    kOk,
    kClosed,    // the peer closed before the bytes came
    kTimedOut,  // the deadline passed
    kStopped,   // the server is stopping
    kFailed,    // a socket error
    kTooLong,   // a delimited read found no end within its limit
};

const char* Describe(IoStatus status);

class Stream {
public:
    // Takes the connected socket; it is made non-blocking.
    Stream(int fd, const StopSignal& stop);
    ~Stream();
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    int fd() const { return fd_; }
    const StopSignal& stop() const { return stop_; }

    IoStatus ReadExact(void* out, size_t count, Deadline deadline);
    // Bytes up to a zero byte, which is consumed and not stored. kTooLong when
    // no zero byte comes within maxLength bytes.
    IoStatus ReadZeroTerminated(std::string& out, size_t maxLength, Deadline deadline);
    // An HTTP head: everything up to and including the first empty line
    // ("\r\n\r\n" or "\n\n"). What follows stays buffered for later reads.
    IoStatus ReadHead(std::string& out, size_t maxLength, Deadline deadline);

    // Without waiting: buffered bytes first, else what the socket has. kOk with
    // got == 0 means nothing is there yet; kClosed means the peer closed.
    IoStatus ReadAvailable(void* out, size_t capacity, size_t& got);
    bool HasBuffered() const { return offset_ < buffer_.size(); }

    IoStatus WriteAll(const void* data, size_t count, Deadline deadline = DeadlineIn(kWriteTimeoutMs));
    IoStatus WriteAll(const std::string& text) { return WriteAll(text.data(), text.size()); }

    void ShutdownWrite();
    // Ends the conversation without losing what was last written: shuts the
    // sending half down and reads and drops what the peer still sends, until
    // it closes or drainMs passed (closing with unread bytes would reset the
    // connection and could discard the last answer at the peer).
    void FinishGracefully(int drainMs);
    // The local port of the socket (the bound port a proxy reports).
    uint16_t LocalPort() const;
    // errno of the last kFailed.
    int lastError() const { return lastError_; }

private:
    IoStatus WaitFor(short events, Deadline deadline);
    // Appends what the socket has to the buffer, waiting for at least one byte.
    IoStatus Fill(Deadline deadline);
    size_t Buffered() const { return buffer_.size() - offset_; }
    void Consume(void* out, size_t count);

    int fd_;
    const StopSignal& stop_;
    std::string buffer_;  // bytes read but not yet handed out, from offset_
    size_t offset_ = 0;
    int lastError_ = 0;
};

}  // namespace proxies
