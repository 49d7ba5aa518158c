// What the server runs over its connections: the table, or a script.
#pragma once

#include <string>

#include "Connection.h"
#include "MessageFrame.h"

namespace tableserver {

class Session {
public:
    virtual ~Session() = default;

    // A client has connected; false refuses it with the reason.
    virtual bool OnConnected(Connection& connection, std::string& reason) = 0;
    // A whole message from a client; false closes that connection with the reason.
    virtual bool OnMessage(Connection& connection, const Message& message, std::string& reason) = 0;
    // The connection is closed and goes away after this call.
    virtual void OnClosed(Connection& connection, const std::string& reason) = 0;

    // Called on every turn of the server's loop.
    virtual void OnTick(Clock::time_point /*now*/) {}
    // Milliseconds until the session next needs OnTick; -1 when it waits for nothing.
    virtual int MillisecondsToNextTick(Clock::time_point /*now*/) const { return -1; }

    // A session that has run its course ends the server with its exit code.
    virtual bool Finished() const { return false; }
    virtual int ExitCode() const { return 0; }
};

}  // namespace tableserver
