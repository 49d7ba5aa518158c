#include "SocksProxy.h"

#include "RelayProxy.h"
#include "Splice.h"

namespace proxies {

SocksProxy::SocksProxy(SocksOptions options, const char* name)
    : options_(std::move(options)), name_(name)
{
}

void SocksProxy::Serve(Connection& connection)
{
    uint8_t version = 0;
    const IoStatus status =
        connection.client().ReadExact(&version, 1, DeadlineIn(options_.handshakeTimeoutMs));
    if (status != IoStatus::kOk) {
        connection.Note("no request: %s", Describe(status));
        return;
    }
    if (version == 5) {
        ServeSocks5(connection, options_);
    } else if (version == 4 && options_.socks4) {
        ServeSocks4(connection, options_);
    } else {
        connection.RecordBytes("first byte", std::string(1, char(version)));
        connection.Note("not a request of a SOCKS version served here (first byte 0x%02X)", version);
    }
}

void ForwardAfterHandshake(Connection& connection, Stream& target, const SocksOptions& options)
{
    PortHeaderWatcher watcher(connection);
    ChunkWatcher watch;
    if (options.watchPortHeader)
        watch = [&watcher](const uint8_t* data, size_t count) { watcher.See(data, count); };
    const SpliceTotals totals = Splice(connection.client(), target, watch, options.delayMs);
    connection.Note("%llu bytes to the target, %llu to the client; %s",
                    static_cast<unsigned long long>(totals.toTarget),
                    static_cast<unsigned long long>(totals.toClient), totals.end.c_str());
}

}  // namespace proxies
