// The stand-in programs' start line and stop signals.
#pragma once

#include <atomic>
#include <cstdint>

namespace serverkit {

// From now on SIGINT and SIGTERM raise StopRequested(); SIGPIPE is ignored.
void CatchStopSignals();
const std::atomic<bool>& StopRequested();

// "listening on 127.0.0.1:PORT" on stdout, flushed: what scripts and tests
// wait for before they connect.
void AnnounceListening(uint16_t port);

}  // namespace serverkit
