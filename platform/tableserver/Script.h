// Scripted mode: the server plays a fixed list of steps to the first client
// that connects and records every message it receives, so that a client's
// tests can drive it deterministically.
//
// Script file, one step a line ('#' starts a comment line):
//
//   expect ID                 wait for a message with this id from the client
//   join-reply [RESULT]       answer the client's join (default result 1): five
//                             seats, the client at its chair, Bot1-Bot5 elsewhere,
//                             and the room option text
//   send ID [result=N] FIELD...
//                             send one message; a FIELD is u8:N, u16:N, u32:N,
//                             i32:N, str:TEXT (with its zero byte),
//                             char[N]:TEXT (N bytes, zero-padded) or hex:BYTES
//   extra NAME                send one of the platform's extras as the default
//                             table does (PlayerExtras.h): player-info (the
//                             seats of the join reply), honour, titles, award
//                             (to the client), task-status, task-definition,
//                             task-progress, stage-ok, stage-refused,
//                             task-done, task-no-event; needs the join
//   raw HEX                   write these bytes as they are, unframed
//   compress on|off           compress later bodies of 100 bytes or more (on)
//   sleep MS                  pause
//   wait-close                wait for the client to close the connection
//   close                     close the connection
//
// Numbers are decimal or 0x-hexadecimal. An expect or wait-close that is not
// met within the script time-out fails the script. When the last step is
// done the connection is closed and the server ends: exit code 0, or 1 when
// the script failed.
//
// The record has one line per event: "recv 0x<id> [result=N] len=N <hex body>"
// for each message (after expansion), "closed: <reason>", and "failed: <why>".
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ServerLog.h"
#include "Session.h"

namespace tableserver {

struct ScriptStep {
    enum class Kind { kExpect, kJoinReply, kSend, kExtra, kRaw, kCompress, kSleep, kWaitClose, kClose };
    Kind kind = Kind::kSleep;
    int line = 0;
    uint32_t id = 0;
    uint32_t result = 0;
    std::vector<uint8_t> bytes;  // body of send, bytes of raw
    uint32_t number = 0;         // milliseconds of sleep; 1/0 of compress
    std::string name;            // the extra's name
};

// Parses a script; false with "line N: why" on the first bad line.
bool ParseScript(const std::string& text, std::vector<ScriptStep>& steps, std::string& error);

class ScriptSession : public Session {
public:
    using RecordSink = std::function<void(const std::string& line)>;

    ScriptSession(std::vector<ScriptStep> steps, RecordSink record, std::string roomOptions,
                  int timeoutMs, ServerLog& log);

    bool OnConnected(Connection& connection, std::string& reason) override;
    bool OnMessage(Connection& connection, const Message& message, std::string& reason) override;
    void OnClosed(Connection& connection, const std::string& reason) override;
    void OnTick(Clock::time_point now) override;
    int MillisecondsToNextTick(Clock::time_point now) const override;
    bool Finished() const override { return done_ && !connection_; }
    int ExitCode() const override { return failed_ ? 1 : 0; }

private:
    void Advance(Clock::time_point now);
    // Runs the current step; false when it has to wait.
    bool Step(const ScriptStep& step, Clock::time_point now);
    void Fail(const std::string& why);
    void Finish();
    // The seats as the join reply names them.
    std::vector<std::string> SeatNames() const;

    std::vector<ScriptStep> steps_;
    RecordSink record_;
    std::string roomOptions_;
    Clock::duration timeout_;
    ServerLog& log_;

    Connection* connection_ = nullptr;
    bool served_ = false;        // a client has come (and maybe gone)
    size_t next_ = 0;            // step to run
    bool stepStarted_ = false;
    Clock::time_point stepDeadline_;
    std::vector<uint32_t> received_;
    size_t scanned_ = 0;         // received ids an expect has looked at
    std::string joinUser_;
    uint16_t joinChair_ = 0;
    bool haveJoin_ = false;
    bool compress_ = true;
    bool done_ = false;
    bool failed_ = false;
};

}  // namespace tableserver
