// A log of one line per event: to a sink when one is given, else to stderr
// with a time stamp ("12:34:56.789 text"). Safe to use from several threads.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>

namespace serverkit {

#if defined(__GNUC__)
#define SERVERKIT_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define SERVERKIT_PRINTF(fmt, args)
#endif

class LineLog {
public:
    using Sink = std::function<void(const std::string& line)>;

    // Longer lines are cut to maxLine - 1 bytes.
    explicit LineLog(Sink sink = nullptr, bool verbose = false, size_t maxLine = 1024);

    void Line(const char* format, ...) SERVERKIT_PRINTF(2, 3);
    // Kept only when verbose.
    void Detail(const char* format, ...) SERVERKIT_PRINTF(2, 3);

    bool verbose() const { return verbose_; }

private:
    void Emit(const char* format, va_list args);

    std::mutex mutex_;
    Sink sink_;
    bool verbose_;
    size_t maxLine_;
};

}  // namespace serverkit
