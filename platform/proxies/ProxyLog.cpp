#include "ProxyLog.h"

namespace proxies {

std::string HexBytes(const void* data, size_t count)
{
    static const char kDigits[] = "0123456789ABCDEF";
    const auto* p = static_cast<const uint8_t*>(data);
    std::string text;
    text.reserve(count * 3);
    for (size_t i = 0; i < count; ++i) {
        if (i > 0)
            text += ' ';
        text += kDigits[p[i] >> 4];
        text += kDigits[p[i] & 15];
    }
    return text;
}

std::string QuotedText(const std::string& text)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<uint8_t>(c);
        switch (c) {
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        default:
            if (byte < 0x20 || byte >= 0x7F) {
                out += "\\x";
                out += kDigits[byte >> 4];
                out += kDigits[byte & 15];
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

// Lines of up to 2047 bytes: a record line shows a whole handshake step.
ProxyLog::ProxyLog(Sink logSink, bool verbose) : LineLog(std::move(logSink), verbose, 2048) {}

void ProxyLog::SetRecordSink(Sink sink)
{
    std::lock_guard<std::mutex> lock(recordMutex_);
    recordSink_ = std::move(sink);
}

void ProxyLog::Record(const std::string& line)
{
    {
        std::lock_guard<std::mutex> lock(recordMutex_);
        if (recordSink_)
            recordSink_(line);
    }
    Detail("%s", line.c_str());
}

void ProxyLog::RecordBytes(const std::string& connection, const char* step, const void* data,
                           size_t count)
{
    Record(connection + " " + step + ": " + HexBytes(data, count));
}

void ProxyLog::RecordText(const std::string& connection, const char* step, const std::string& text)
{
    Record(connection + " " + step + ": " + QuotedText(text));
}

}  // namespace proxies
