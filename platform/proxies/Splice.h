// Copies bytes both ways between a client and its destination until both
// directions have ended. When one side stops sending, the other side's
// sending half is shut down and the other direction goes on, so nothing in
// flight is lost; a socket error or the server's stop ends both at once.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "Stream.h"

namespace proxies {

struct SpliceTotals {
    uint64_t toTarget = 0;
    uint64_t toClient = 0;
    std::string end;  // why it ended, for the log
};

// Sees every chunk on its way from the client to the target.
using ChunkWatcher = std::function<void(const uint8_t* data, size_t count)>;

// delayMs > 0 holds every chunk from the target that long before it goes to
// the client (a slower way, for speed tests).
SpliceTotals Splice(Stream& client, Stream& target, const ChunkWatcher& watchClientBytes = nullptr,
                    int delayMs = 0);

}  // namespace proxies
