#include "Splice.h"

#include <cerrno>

#include <poll.h>

namespace proxies {

namespace {

constexpr size_t kChunk = 16 * 1024;

struct Direction {
    Stream& from;
    Stream& to;
    uint64_t& total;
    const char* name;
    bool open = true;
};

enum class Step { kGoOn, kEnded, kBroken };

// Waits delayMs unless the server stops first.
bool Delay(const StopSignal& stop, int delayMs)
{
    if (delayMs <= 0)
        return true;
    pollfd p = {stop.fd(), POLLIN, 0};
    int ready;
    do {
        ready = ::poll(&p, 1, delayMs);
    } while (ready < 0 && errno == EINTR);
    return ready == 0;
}

// Moves what `from` has to `to`. kEnded when `from` finished sending.
Step Move(Direction& d, const ChunkWatcher* watcher, int delayMs, std::string& why)
{
    uint8_t chunk[kChunk];
    size_t got = 0;
    const IoStatus read = d.from.ReadAvailable(chunk, sizeof chunk, got);
    if (read == IoStatus::kClosed)
        return Step::kEnded;
    if (read != IoStatus::kOk) {
        why = std::string(d.name) + ": read " + Describe(read);
        return Step::kBroken;
    }
    if (got == 0)
        return Step::kGoOn;
    if (watcher && *watcher)
        (*watcher)(chunk, got);
    if (!Delay(d.from.stop(), delayMs)) {
        why = "server stopping";
        return Step::kBroken;
    }
    const IoStatus written = d.to.WriteAll(chunk, got);
    if (written != IoStatus::kOk) {
        why = std::string(d.name) + ": write " + Describe(written);
        return Step::kBroken;
    }
    d.total += got;
    return Step::kGoOn;
}

}  // namespace

SpliceTotals Splice(Stream& client, Stream& target, const ChunkWatcher& watchClientBytes, int delayMs)
{
    SpliceTotals totals;
    Direction directions[2] = {{client, target, totals.toTarget, "client to target"},
                               {target, client, totals.toClient, "target to client"}};
    while (directions[0].open || directions[1].open) {
        // Bytes a handshake read ahead are in the stream's buffer, where poll
        // cannot see them: move those without waiting.
        bool buffered = false;
        pollfd fds[3];
        for (int i = 0; i < 2; ++i) {
            // A finished direction is left out: its socket may report a hang-up
            // for as long as the other direction still runs.
            fds[i] = {directions[i].open ? directions[i].from.fd() : -1, POLLIN, 0};
            buffered = buffered || (directions[i].open && directions[i].from.HasBuffered());
        }
        fds[2] = {client.stop().fd(), POLLIN, 0};
        const int n = ::poll(fds, 3, buffered ? 0 : -1);
        if (n < 0 && errno != EINTR) {
            totals.end = "poll failed";
            return totals;
        }
        if (fds[2].revents & POLLIN) {
            totals.end = "server stopping";
            return totals;
        }
        for (int i = 0; i < 2; ++i) {
            Direction& d = directions[i];
            if (!d.open || !(d.from.HasBuffered() || (fds[i].revents & (POLLIN | POLLHUP | POLLERR))))
                continue;
            const Step step = Move(d, i == 0 ? &watchClientBytes : nullptr, i == 1 ? delayMs : 0, totals.end);
            if (step == Step::kBroken)
                return totals;
            if (step == Step::kEnded) {
                d.open = false;
                d.to.ShutdownWrite();
            }
        }
    }
    totals.end = "both sides closed";
    return totals;
}

}  // namespace proxies
