// The server's log: one line per event, to stderr unless a sink is given.
#pragma once

#include <cstdarg>
#include <functional>
#include <string>

namespace tableserver {

#if defined(__GNUC__)
#define TABLESERVER_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define TABLESERVER_PRINTF(fmt, args)
#endif

class ServerLog {
public:
    using Sink = std::function<void(const std::string& line)>;

    // Without a sink, lines go to stderr with a time stamp.
    explicit ServerLog(Sink sink = nullptr, bool verbose = false);

    void Line(const char* format, ...) TABLESERVER_PRINTF(2, 3);
    // Lines for every message and the board's own log; kept only when verbose.
    void Detail(const char* format, ...) TABLESERVER_PRINTF(2, 3);

    bool verbose() const { return verbose_; }

private:
    void Emit(const char* format, va_list args);

    Sink sink_;
    bool verbose_;
};

}  // namespace tableserver
