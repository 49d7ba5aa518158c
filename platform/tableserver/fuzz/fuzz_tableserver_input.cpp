// Feeds arbitrary bytes to the table as if they came from up to four clients,
// each through its own frame reader (lengths, compressed bodies) and then to
// the table (join, watchers, platform messages, trust play, the referee). A
// client whose input breaks the rules is closed as the server closes it, and
// a fresh connection takes its place. Everything the table sends is read
// back through a frame reader: it must always be well framed and under the cap.
//
// Input: one byte of set-up, then chunks.
//   set-up bit 0: client 0 joins seat 0; bit 1: client 1 watches seat 2;
//          bit 2: client 0 declares ready; bits 3-7: the deal seed.
//   chunk: u8 kind, u8 length, then that many bytes.
//          kind bits 0-1: the client; bit 7: the client vanishes (no bytes
//          follow); bit 6: the bytes are u32 id and body, framed here
//          (bit 5: with compression); otherwise they are raw stream bytes.
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Connection.h"
#include "MessageFrame.h"
#include "ServerLog.h"
#include "Table.h"
#include "TableProtocol.h"

using namespace tableserver;

namespace {

constexpr int kClients = 4;

// One client: the server's side of a socket pair and the client's end, from
// which everything the table sends is read back and checked.
struct Client {
    std::unique_ptr<Connection> connection;
    int peer = -1;
    FrameReader fromServer;

    ~Client()
    {
        if (peer >= 0)
            close(peer);
    }
};

uint32_t g_nextNumber = 1;

std::unique_ptr<Client> Connect(Table& table)
{
    int fds[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fds) != 0)
        std::abort();
    auto client = std::make_unique<Client>();
    client->connection =
        std::make_unique<Connection>(fds[0], g_nextNumber++, "fuzz", Clock::now());
    client->peer = fds[1];
    std::string reason;
    table.OnConnected(*client->connection, reason);
    return client;
}

// Sends what the table queued and checks it frame by frame.
void DrainAndCheck(Client& client)
{
    std::string reason;
    uint8_t chunk[65536];
    for (;;) {
        client.connection->Flush(reason);
        const ssize_t n = recv(client.peer, chunk, sizeof chunk, MSG_DONTWAIT);
        if (n <= 0)
            break;
        client.fromServer.Append(chunk, size_t(n));
        Message m;
        FrameReader::Status status;
        while ((status = client.fromServer.Next(m)) == FrameReader::Status::kMessage) {
        }
        if (status == FrameReader::Status::kError) {
            std::fprintf(stderr, "the table sent a bad frame: %s\n", client.fromServer.error().c_str());
            std::abort();
        }
    }
}

// Hands the client's bytes to the table as the server does; false when the
// connection is to be closed.
bool Deliver(Table& table, Client& client, const uint8_t* data, size_t size)
{
    Connection& connection = *client.connection;
    connection.reader().Append(data, size);
    Message message;
    for (;;) {
        const FrameReader::Status status = connection.reader().Next(message);
        if (status == FrameReader::Status::kNeedMore)
            return true;
        if (status == FrameReader::Status::kError)
            return false;
        if (connection.closing())
            continue;
        std::string reason;
        if (!table.OnMessage(connection, message, reason))
            return false;
    }
}

std::vector<uint8_t> Frame(uint32_t id, std::vector<uint8_t> body, bool compress)
{
    return EncodeFrame(Message(id, std::move(body)), compress);
}

std::vector<uint8_t> JoinFrame(const char* name, uint16_t chair)
{
    JoinRequestBody body;
    std::memset(&body, 0, sizeof body);
    std::strncpy(body.userName, name, sizeof body.userName - 1);
    body.chair = chair;
    body.kind = 3;
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&body);
    return Frame(msgid::kJoin, std::vector<uint8_t>(bytes, bytes + sizeof body), false);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    // TABLESERVER_FUZZ_ECHO=1 shows the table's log, for a look at one input.
    static const bool echo = std::getenv("TABLESERVER_FUZZ_ECHO") != nullptr;
    ServerLog log(echo ? ServerLog::Sink() : [](const std::string&) {});
    TableOptions options;
    options.fixedSeed = true;
    options.seed = data[0] >> 3;
    Table table(options, log);
    std::string error;
    if (!table.Open(error))
        std::abort();

    std::unique_ptr<Client> clients[kClients];
    for (auto& client : clients)
        client = Connect(table);
    auto closeClient = [&](int i) {
        table.OnClosed(*clients[i]->connection, "closed");
        clients[i] = Connect(table);
    };
    auto deliver = [&](int i, const std::vector<uint8_t>& bytes) {
        if (!Deliver(table, *clients[i], bytes.data(), bytes.size()))
            closeClient(i);
    };

    const uint8_t setup = data[0];
    if (setup & 1)
        deliver(0, JoinFrame("alice", 0));
    if (setup & 2)
        deliver(1, JoinFrame("wanda", kSeatCount + 2));
    if (setup & 4) {
        std::vector<uint8_t> ready;
        PutU32(ready, 0);
        deliver(0, Frame(msgid::kReady, ready, false));
    }

    size_t at = 1;
    while (at < size) {
        const uint8_t kind = data[at++];
        const int i = kind & 3;
        if (kind & 0x80) {
            closeClient(i);
            continue;
        }
        if (at >= size)
            break;
        const size_t declared = data[at++];
        const size_t length = std::min(declared, size - at);
        const uint8_t* bytes = data + at;
        at += length;
        if ((kind & 0x40) && length >= 4) {
            deliver(i, Frame(GetU32(bytes), std::vector<uint8_t>(bytes + 4, bytes + length),
                             (kind & 0x20) != 0));
        } else if (!Deliver(table, *clients[i], bytes, length)) {
            closeClient(i);
        }
        for (auto& client : clients)
            DrainAndCheck(*client);
    }
    for (auto& client : clients) {
        DrainAndCheck(*client);
        table.OnClosed(*client->connection, "end of input");
    }
    return 0;
}
