// Figures of the game connection on loopback (prints, does not judge):
//   1. messages per second through the receive path (framing, expansion of
//      compressed bodies, dispatch to the handler), over loopback and in
//      memory without the socket, against plain zlib inflate of the same
//      bodies and against a bare WSAAsyncSelect reader of the same stream,
//      in the same run;
//   2. the round trip of a request and its reply through SendMsg, against a
//      bare Winsock echo of the same bytes in the same run.
// Usage: bench_runtime_net [messages] [round trips]
#include "GameClientSocket.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <thread>
#include <vector>

namespace {

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

// A body like a game message: small numbers and card bytes, compressible.
std::vector<uint8_t> GameLikeBody(size_t size, uint32_t seed)
{
    std::vector<uint8_t> body(size);
    uint32_t x = seed * 2654435761u + 1;
    for (size_t i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        body[i] = (i % 8 < 4) ? uint8_t((x >> 16) % 54) : 0;
    }
    return body;
}

struct CompressedBody {
    std::vector<uint8_t> raw;
    std::vector<uint8_t> packed;   // u32 raw length + zlib data
};

CompressedBody Compress(const std::vector<uint8_t>& raw)
{
    CompressedBody body{raw, std::vector<uint8_t>(4 + compressBound(uLong(raw.size())))};
    uLongf length = uLongf(body.packed.size() - 4);
    compress(body.packed.data() + 4, &length, raw.data(), uLong(raw.size()));
    body.packed.resize(4 + length);
    WriteWireU32(body.packed.data(), uint32_t(raw.size()));
    return body;
}

// A listening socket on 127.0.0.1 whose one connection a thread serves.
class BenchPeer
{
public:
    BenchPeer()
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        SOCKADDR_IN addr = {};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(m_listener, (SOCKADDR*)&addr, sizeof(addr));
        ::listen(m_listener, 1);
        int length = sizeof(addr);
        ::getsockname(m_listener, (SOCKADDR*)&addr, &length);
        m_port = ntohs(addr.sin_port);
    }
    ~BenchPeer()
    {
        if (m_thread.joinable())
            m_thread.join();
        ::closesocket(m_listener);
    }
    UINT Port() const { return m_port; }

    // Accepts one connection and runs serve(socket) on the thread.
    template <class Serve>
    void Start(Serve serve)
    {
        m_thread = std::thread([this, serve] {
            SOCKET s = ::accept(m_listener, NULL, NULL);
            BOOL noDelay = TRUE;
            ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, (const char*)&noDelay, sizeof(noDelay));
            serve(s);
            ::shutdown(s, SD_SEND);
            char drain[256];
            while (::recv(s, drain, sizeof(drain), 0) > 0) {
            }
            ::closesocket(s);
        });
    }

private:
    SOCKET m_listener;
    UINT m_port = 0;
    std::thread m_thread;
};

bool RecvAll(SOCKET s, void* buffer, int length)
{
    char* p = static_cast<char*>(buffer);
    while (length > 0) {
        const int n = ::recv(s, p, length, 0);
        if (n <= 0)
            return false;
        p += n;
        length -= n;
    }
    return true;
}

bool SendAll(SOCKET s, const void* buffer, int length)
{
    return ::send(s, static_cast<const char*>(buffer), length, 0) == length;
}

struct Counter {
    long messages = 0;
    uint64_t bytes = 0;
};

int CountingHandler(void* pContext, void* pData, uint32_t dwCode)
{
    auto* counter = static_cast<Counter*>(pContext);
    if (dwCode != kHandlerConnectionClosed) {
        counter->messages++;
        counter->bytes += MsgBodyLength(pData);
    }
    return 0;
}

void PumpUntil(const long& value, long target)
{
    while (value < target)
        if (!AfxPumpOneMessage())
            ::Sleep(0);
}

// Messages per second through the connection's receive path.
double ReceiveRate(const std::vector<CompressedBody>& bodies, bool compressed, long count)
{
    std::vector<uint8_t> stream;
    for (long i = 0; i < count; ++i) {
        const CompressedBody& b = bodies[size_t(i) % bodies.size()];
        const std::vector<uint8_t>& body = compressed ? b.packed : b.raw;
        const std::vector<uint8_t> wire = BuildNetMessage(0x26005 | (compressed ? kMsgCompressedBit : 0), body.data(),
                                                          uint32_t(body.size()));
        stream.insert(stream.end(), wire.begin(), wire.end());
    }
    BenchPeer peer;
    peer.Start([&](SOCKET s) { SendAll(s, stream.data(), int(stream.size())); });
    CGameClientSocket conn;
    Counter counter;
    conn.SetHandler(CountingHandler, &counter);
    conn.SetAskFlags(FALSE);
    if (!conn.Connect("127.0.0.1", peer.Port(), FALSE))
        return 0;
    const double start = Now();
    PumpUntil(counter.messages, count);
    const double seconds = Now() - start;
    conn.Close();
    return count / seconds;
}

// Messages per second of a bare reader: a message-only window, WSAAsyncSelect,
// and one message read per read notification (no framing checks, no
// expansion, no dispatch) - the floor that the notifications set.
struct BareReader {
    SOCKET socket = INVALID_SOCKET;
    long messages = 0;
    std::vector<uint8_t> buffer = std::vector<uint8_t>(64 * 1024);
};
BareReader* g_bareReader = nullptr;
const UINT kBareNotify = WM_APP + 1;

bool RecvSpin(SOCKET s, void* buffer, int length)
{
    char* p = static_cast<char*>(buffer);
    while (length > 0) {
        const int n = ::recv(s, p, length, 0);
        if (n > 0) {
            p += n;
            length -= n;
        } else if (n == 0 || ::WSAGetLastError() != WSAEWOULDBLOCK) {
            return false;
        }
    }
    return true;
}

LRESULT CALLBACK BareReaderProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kBareNotify && WSAGETSELECTEVENT(lParam) == FD_READ) {
        uint8_t header[8];
        if (RecvSpin(g_bareReader->socket, header, 8) &&
            RecvSpin(g_bareReader->socket, g_bareReader->buffer.data(), int(ReadWireU32(header + 4))))
            g_bareReader->messages++;
        return 0;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

double BareReceiveRate(const std::vector<CompressedBody>& bodies, long count)
{
    std::vector<uint8_t> stream;
    for (long i = 0; i < count; ++i) {
        const std::vector<uint8_t>& body = bodies[size_t(i) % bodies.size()].raw;
        const std::vector<uint8_t> wire = BuildNetMessage(0x26005, body.data(), uint32_t(body.size()));
        stream.insert(stream.end(), wire.begin(), wire.end());
    }
    BenchPeer peer;
    peer.Start([&](SOCKET s) { SendAll(s, stream.data(), int(stream.size())); });
    WNDCLASSA wc = {};
    wc.lpfnWndProc = BareReaderProc;
    wc.hInstance = ::GetModuleHandleA(NULL);
    wc.lpszClassName = "BareReader";
    ::RegisterClassA(&wc);   // fails harmlessly after the first run
    HWND hWnd = ::CreateWindowExA(0, "BareReader", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, wc.hInstance, NULL);
    BareReader reader;
    g_bareReader = &reader;
    reader.socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    SOCKADDR_IN addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(u_short(peer.Port()));
    if (::connect(reader.socket, (SOCKADDR*)&addr, sizeof(addr)) != 0)
        return 0;
    const double start = Now();
    ::WSAAsyncSelect(reader.socket, hWnd, kBareNotify, FD_READ | FD_CLOSE);
    PumpUntil(reader.messages, count);
    const double seconds = Now() - start;
    ::WSAAsyncSelect(reader.socket, hWnd, 0, 0);
    ::closesocket(reader.socket);
    ::DestroyWindow(hWnd);
    return count / seconds;
}

// Messages per second of the receive path's own work without the socket:
// the assembler takes the stream piece by piece as the connection reads it
// (8 bytes, then the rest), a compressed body is expanded through DIDuv.dll,
// and the message goes to the handler and is freed.
double InMemoryRate(const std::vector<CompressedBody>& bodies, long count)
{
    std::vector<uint8_t> stream;
    for (long i = 0; i < count; ++i) {
        const std::vector<uint8_t>& body = bodies[size_t(i) % bodies.size()].packed;
        const std::vector<uint8_t> wire =
            BuildNetMessage(0x26005 | kMsgCompressedBit, body.data(), uint32_t(body.size()));
        stream.insert(stream.end(), wire.begin(), wire.end());
    }
    Counter counter;
    CMessageAssembler assembler;
    size_t at = 0;
    const double start = Now();
    while (at < stream.size()) {
        const uint32_t wanted = assembler.BytesWanted();
        uint8_t* place = assembler.ReserveForRead(wanted);
        if (place == NULL)
            return 0;
        memcpy(place, stream.data() + at, wanted);
        at += wanted;
        if (assembler.Commit(wanted) != CMessageAssembler::kComplete)
            continue;
        uint32_t size = 0;
        uint8_t* message = assembler.Release(&size);
        uint8_t* expanded = NULL;
        uint32_t expandedSize = 0;
        if (ExpandNetMessage(message, size, &expanded, &expandedSize) != ExpandResult::kExpanded)
            return 0;
        free(message);
        CountingHandler(&counter, expanded, MsgId(expanded));
        free(expanded);
    }
    const double seconds = Now() - start;
    return counter.messages == count ? count / seconds : 0;
}

// Messages per second of zlib's own inflate over the same bodies.
double InflateRate(const std::vector<CompressedBody>& bodies, long count)
{
    std::vector<uint8_t> out(64 * 1024);
    uint64_t check = 0;
    const double start = Now();
    for (long i = 0; i < count; ++i) {
        const CompressedBody& b = bodies[size_t(i) % bodies.size()];
        uLongf length = uLongf(out.size());
        uncompress(out.data(), &length, b.packed.data() + 4, uLong(b.packed.size() - 4));
        check += out[length / 2];
    }
    const double seconds = Now() - start;
    if (check == 1)
        printf(" ");
    return count / seconds;
}

// Mean round trip in microseconds of SendMsg with its reply.
double ConnectionRoundTrip(long trips, uint32_t bodySize)
{
    BenchPeer peer;
    peer.Start([&](SOCKET s) {
        std::vector<uint8_t> request(8 + bodySize);
        for (long i = 0; i < trips; ++i) {
            if (!RecvAll(s, request.data(), int(request.size())))
                return;
            std::vector<uint8_t> reply = BuildNetMessage(ReplyIdOf(MsgId(request.data())), request.data() + 8,
                                                         bodySize, 1);
            SendAll(s, reply.data(), int(reply.size()));
        }
    });
    CGameClientSocket conn;
    conn.SetAskFlags(FALSE);
    if (!conn.Connect("127.0.0.1", peer.Port(), FALSE))
        return 0;
    BOOL noDelay = TRUE;
    conn.SetSockOpt(TCP_NODELAY, &noDelay, sizeof(noDelay), IPPROTO_TCP);
    const std::vector<uint8_t> body = GameLikeBody(bodySize, 1);
    const std::vector<uint8_t> request = BuildNetMessage(0x26100, body.data(), bodySize);
    const double start = Now();
    for (long i = 0; i < trips; ++i) {
        void* reply = NULL;
        if (!conn.SendMsg(request.data(), &reply))
            return 0;
        FreeNetMessage(reply);
    }
    const double seconds = Now() - start;
    conn.Close();
    return seconds / trips * 1e6;
}

// Mean round trip in microseconds of a blocking Winsock echo of the same bytes.
double BareRoundTrip(long trips, uint32_t bodySize)
{
    BenchPeer peer;
    peer.Start([&](SOCKET s) {
        std::vector<uint8_t> request(8 + bodySize);
        for (long i = 0; i < trips; ++i) {
            if (!RecvAll(s, request.data(), int(request.size())))
                return;
            std::vector<uint8_t> reply(12 + bodySize);
            memcpy(reply.data() + 12, request.data() + 8, bodySize);
            SendAll(s, reply.data(), int(reply.size()));
        }
    });
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    SOCKADDR_IN addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(u_short(peer.Port()));
    if (::connect(s, (SOCKADDR*)&addr, sizeof(addr)) != 0)
        return 0;
    BOOL noDelay = TRUE;
    ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, (const char*)&noDelay, sizeof(noDelay));
    std::vector<uint8_t> request(8 + bodySize), reply(12 + bodySize);
    const double start = Now();
    for (long i = 0; i < trips; ++i) {
        if (!SendAll(s, request.data(), int(request.size())) || !RecvAll(s, reply.data(), int(reply.size())))
            return 0;
    }
    const double seconds = Now() - start;
    ::shutdown(s, SD_SEND);
    ::closesocket(s);
    return seconds / trips * 1e6;
}

}  // namespace

int main(int argc, char** argv)
{
    const long messages = argc > 1 ? atol(argv[1]) : 20000;
    const long trips = argc > 2 ? atol(argv[2]) : 2000;
    if (!AfxSocketInit() || messages <= 0 || trips <= 0) {
        fprintf(stderr, "usage: bench_runtime_net [messages] [round trips]\n");
        return 2;
    }
    std::vector<CompressedBody> bodies;
    size_t raw = 0, packed = 0;
    for (uint32_t i = 0; i < 64; ++i) {
        bodies.push_back(Compress(GameLikeBody(600 + 40 * i, i)));
        raw += bodies.back().raw.size();
        packed += bodies.back().packed.size();
    }
    printf("bodies: 64 game-like bodies, %zu bytes on average, %zu compressed\n", raw / 64, packed / 64);

    // The best of three runs of each: the figures are for the code, not for
    // whatever else the machine is doing.
    double inflate = 0, inMemory = 0, compressedPath = 0, plainPath = 0, barePath = 0;
    for (int run = 0; run < 3; ++run) {
        inflate = std::max(inflate, InflateRate(bodies, messages));
        inMemory = std::max(inMemory, InMemoryRate(bodies, messages));
        compressedPath = std::max(compressedPath, ReceiveRate(bodies, true, messages));
        plainPath = std::max(plainPath, ReceiveRate(bodies, false, messages));
        barePath = std::max(barePath, BareReceiveRate(bodies, messages));
    }
    printf("receive path, compressed bodies:  %10.0f messages/s\n", compressedPath);
    printf("receive path, plain bodies:       %10.0f messages/s\n", plainPath);
    printf("bare WSAAsyncSelect reader:       %10.0f messages/s\n", barePath);
    printf("framing + expansion + dispatch,\n  in memory (no socket):           %10.0f messages/s\n", inMemory);
    printf("zlib inflate alone, same bodies:  %10.0f messages/s\n", inflate);
    printf("ratio in-memory path / inflate:   %10.3f\n", inMemory / inflate);
    printf("ratio receive path / inflate:     %10.3f\n", compressedPath / inflate);
    printf("ratio receive path / bare reader: %10.3f\n", compressedPath / barePath);

    for (uint32_t size : {16u, 1000u}) {
        double bare = 1e30, connection = 1e30;
        for (int run = 0; run < 3; ++run) {
            const double b = BareRoundTrip(trips, size), c = ConnectionRoundTrip(trips, size);
            if (b <= 0 || c <= 0) {
                fprintf(stderr, "round trip failed\n");
                return 1;
            }
            bare = std::min(bare, b);
            connection = std::min(connection, c);
        }
        printf("round trip, %4u-byte body: SendMsg %8.1f us, bare Winsock echo %8.1f us, ratio %.2f\n", size,
               connection, bare, connection / bare);
    }
    return 0;
}
