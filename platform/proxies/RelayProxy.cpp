#include "RelayProxy.h"

#include <algorithm>

namespace proxies {

namespace {

constexpr size_t kHeaderSize = 8;
constexpr size_t kPortHeaderSize = kHeaderSize + 8;

uint32_t LittleEndian32(const std::string& bytes, size_t at)
{
    return uint32_t(uint8_t(bytes[at])) | uint32_t(uint8_t(bytes[at + 1])) << 8 |
           uint32_t(uint8_t(bytes[at + 2])) << 16 | uint32_t(uint8_t(bytes[at + 3])) << 24;
}

}  // namespace

SocksOptions RelayOptions(SocksOptions options)
{
    options.socks4 = false;
    options.requireLogin = true;
    options.watchPortHeader = true;
    return options;
}

void PortHeaderWatcher::See(const uint8_t* data, size_t count)
{
    if (done_)
        return;
    first_.append(reinterpret_cast<const char*>(data),
                  std::min(count, kPortHeaderSize - first_.size()));
    if (first_.size() >= kHeaderSize &&
        (LittleEndian32(first_, 0) != kPortHeaderId || LittleEndian32(first_, 4) != 8)) {
        done_ = true;  // the stream starts with another message
        return;
    }
    if (first_.size() < kPortHeaderSize)
        return;
    done_ = true;
    connection_.RecordBytes("port header", first_);
    connection_.Note("port header: server port %u, value %u", LittleEndian32(first_, 8),
                     LittleEndian32(first_, 12));
}

}  // namespace proxies
