// One client's TCP connection: the socket, the frame reader for what comes
// in, the bytes waiting to go out, and who the client is at the table.
#pragma once

#include <chrono>
#include <cstddef>
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "MessageFrame.h"

namespace tableserver {

using Clock = std::chrono::steady_clock;

// Who is on the other end, as the table knows it.
struct Participant {
    enum class Role { kJoining, kPlayer, kWatcher };
    Role role = Role::kJoining;
    std::string userName;
    int seat = -1;             // own seat, or the watched seat
    uint32_t boardUserId = 0;  // identity in the referee board's player list
};

class Connection {
public:
    Connection(int fd, uint32_t number, std::string peer, Clock::time_point now);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    int fd() const { return fd_; }
    uint32_t number() const { return number_; }
    const std::string& peer() const { return peer_; }
    Clock::time_point connectedAt() const { return connectedAt_; }
    // Short name for log lines: "#3 alice" or "#3 127.0.0.1:40012".
    std::string Label() const;

    // Reads at most maxBytes of what the socket holds into the reader. False
    // when the peer has closed or the read failed; reason tells which.
    bool ReadAvailable(size_t maxBytes, std::string& reason);
    FrameReader& reader() { return reader_; }

    // Queue bytes to send; nothing is queued once the connection is closing
    // or has failed. The queue never grows past the cap: a frame that would
    // pass it first pushes out what the socket takes now, and when the
    // queue still has no room the connection fails ("client does not
    // read") and queues nothing more.
    void Send(const Message& message);
    void SendFrame(const std::vector<uint8_t>& frame);
    void SetBacklogCap(size_t bytes) { backlogCap_ = bytes; }
    // Why the connection can go on no more (empty while it can): its queue
    // reached the cap, or a write failed while queueing.
    const std::string& failure() const { return failure_; }
    // Writes what the socket takes now. False with a reason on a write error.
    bool Flush(std::string& reason);
    size_t Backlog() const { return out_.size() - outStart_; }

    // Close once everything queued has gone out (or the deadline passed).
    void CloseAfterFlush(std::string reason, Clock::time_point deadline);
    bool closing() const { return closing_; }
    const std::string& closeReason() const { return closeReason_; }
    Clock::time_point closeDeadline() const { return closeDeadline_; }
    // Ends the sending direction once the queue is empty, so the client reads
    // everything before it sees the end; the close follows its own.
    void ShutdownWrite();

    // When the message now being received began to arrive (partial bytes).
    bool hasPartial() const { return hasPartial_; }
    Clock::time_point partialSince() const { return partialSince_; }
    // After a read: completed tells whether it finished a message, so that
    // bytes left over start the next message's clock.
    void NotePartial(Clock::time_point now, bool completed);

    // Compress bodies of 100 bytes or more when that makes them smaller.
    bool mayCompress = true;
    Participant who;

private:
    int fd_;
    uint32_t number_;
    std::string peer_;
    Clock::time_point connectedAt_;
    FrameReader reader_;
    std::vector<uint8_t> out_;
    size_t outStart_ = 0;
    size_t backlogCap_ = SIZE_MAX;
    std::string failure_;
    bool closing_ = false;
    bool writeShut_ = false;
    std::string closeReason_;
    Clock::time_point closeDeadline_;
    bool hasPartial_ = false;
    Clock::time_point partialSince_;
};

}  // namespace tableserver
