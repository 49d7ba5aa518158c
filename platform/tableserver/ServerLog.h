// The server's log: one line per event, to stderr unless a sink is given.
#pragma once

#include <string>

#include "LineLog.h"

namespace tableserver {

// Line() for every event; Detail() for every message and the board's own
// log, kept only when verbose. Without a sink, lines go to stderr with a
// time stamp.
class ServerLog : public serverkit::LineLog {
public:
    explicit ServerLog(Sink sink = nullptr, bool verbose = false)
        : LineLog(std::move(sink), verbose, kMaxLine)
    {
    }

private:
    static constexpr size_t kMaxLine = 1024;
};

}  // namespace tableserver
