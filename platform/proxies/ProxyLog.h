// The stand-ins' log, and the record of what each handshake exchanged.
//
// Log lines go to stderr with a time stamp unless a sink is given. Record
// lines ("#3 socks5 greeting: 05 02 00 02") go to the record sink when one is
// set; they show the bytes exactly, so a test of the client can compare them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

#include "LineLog.h"

namespace proxies {

#define PROXIES_PRINTF(fmt, args) SERVERKIT_PRINTF(fmt, args)

// Bytes as upper-case hex pairs separated by blanks.
std::string HexBytes(const void* data, size_t count);
inline std::string HexBytes(const std::string& bytes) { return HexBytes(bytes.data(), bytes.size()); }
// Text in double quotes with \r, \n, \t, \\, \" and other control or
// non-ASCII bytes escaped (\xHH).
std::string QuotedText(const std::string& text);

// Line() and Detail() (kept only when verbose) come from LineLog.
class ProxyLog : public serverkit::LineLog {
public:
    explicit ProxyLog(Sink logSink = nullptr, bool verbose = false);

    void SetRecordSink(Sink sink);

    // "<connection> <step>: <hex>" and "<connection> <step>: "<text>"".
    void RecordBytes(const std::string& connection, const char* step, const void* data, size_t count);
    void RecordBytes(const std::string& connection, const char* step, const std::string& bytes)
    {
        RecordBytes(connection, step, bytes.data(), bytes.size());
    }
    void RecordText(const std::string& connection, const char* step, const std::string& text);

private:
    void Record(const std::string& line);

    std::mutex recordMutex_;
    Sink recordSink_;
};

}  // namespace proxies
