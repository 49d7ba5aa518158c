// The stand-ins' log, and the record of what each handshake exchanged.
//
// Log lines go to stderr with a time stamp unless a sink is given. Record
// lines ("#3 socks5 greeting: 05 02 00 02") go to the record sink when one is
// set; they show the bytes exactly, so a test of the client can compare them.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

namespace proxies {

#if defined(__GNUC__)
#define PROXIES_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define PROXIES_PRINTF(fmt, args)
#endif

// Bytes as upper-case hex pairs separated by blanks.
std::string HexBytes(const void* data, size_t count);
inline std::string HexBytes(const std::string& bytes) { return HexBytes(bytes.data(), bytes.size()); }
// Text in double quotes with \r, \n, \t, \\, \" and other control or
// non-ASCII bytes escaped (\xHH).
std::string QuotedText(const std::string& text);

class ProxyLog {
public:
    using Sink = std::function<void(const std::string& line)>;

    explicit ProxyLog(Sink logSink = nullptr, bool verbose = false);

    void SetRecordSink(Sink sink);

    void Line(const char* format, ...) PROXIES_PRINTF(2, 3);
    // Kept only when verbose.
    void Detail(const char* format, ...) PROXIES_PRINTF(2, 3);

    // "<connection> <step>: <hex>" and "<connection> <step>: "<text>"".
    void RecordBytes(const std::string& connection, const char* step, const void* data, size_t count);
    void RecordBytes(const std::string& connection, const char* step, const std::string& bytes)
    {
        RecordBytes(connection, step, bytes.data(), bytes.size());
    }
    void RecordText(const std::string& connection, const char* step, const std::string& text);

private:
    void Emit(const char* format, va_list args);
    void Record(const std::string& line);

    std::mutex mutex_;
    Sink logSink_;
    Sink recordSink_;
    bool verbose_;
};

}  // namespace proxies
