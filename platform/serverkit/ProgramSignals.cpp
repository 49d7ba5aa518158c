#include "ProgramSignals.h"

#include <csignal>
#include <cstdio>

namespace serverkit {

namespace {

std::atomic<bool> g_stop{false};

void OnSignal(int)
{
    g_stop.store(true);
}

}  // namespace

void CatchStopSignals()
{
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
}

const std::atomic<bool>& StopRequested()
{
    return g_stop;
}

void AnnounceListening(uint16_t port)
{
    std::printf("listening on 127.0.0.1:%u\n", unsigned(port));
    std::fflush(stdout);
}

}  // namespace serverkit
