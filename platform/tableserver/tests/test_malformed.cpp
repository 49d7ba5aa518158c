// Malformed input closes that one connection with a logged reason; the
// server and the other clients go on.
#include <gtest/gtest.h>

#include <zlib.h>

#include <thread>

#include "ServerFixture.h"
#include "TestClient.h"

using namespace tableserver;
using namespace tableserver::test;

namespace {

constexpr int kWait = 5000;

std::vector<uint8_t> Le32(uint32_t v)
{
    return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
}

std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// A framed message whose compressed body declares `declared` bytes and holds
// `plain` in zlib form.
std::vector<uint8_t> CompressedFrame(const std::vector<uint8_t>& plain, uint32_t declared)
{
    uLongf size = compressBound(plain.size());
    std::vector<uint8_t> packed(size);
    compress(packed.data(), &size, plain.data(), plain.size());
    packed.resize(size);
    return Concat({Le32(msgid::kPlay | kCompressedBit), Le32(uint32_t(size + 4)), Le32(declared), packed});
}

std::vector<uint8_t> Frame(uint32_t id, std::vector<uint8_t> body)
{
    return EncodeFrame(Message(id, std::move(body)), false);
}

bool SpeedTestAnswered(TestClient& client)
{
    std::vector<uint8_t> body;
    PutU32(body, 0);
    PutU32(body, 99);
    Message reply;
    return client.Send(Message(msgid::kSpeedTest, body)) &&
           client.WaitFor(ReplyId(msgid::kSpeedTest), reply, kWait);
}

}  // namespace

TEST(Malformed, EachBadInputClosesOnlyItsConnection)
{
    ServerOptions limits;
    limits.joinTimeoutMs = 400;
    limits.stallTimeoutMs = 400;
    RunningServer server({}, limits);
    ASSERT_TRUE(server.ok());

    // Another seat and a watcher stay at the table throughout.
    TestClient seated, watcher;
    Message reply;
    ASSERT_TRUE(seated.Connect(server.port()) && seated.Join("keeper", 4, reply, kWait));
    ASSERT_TRUE(watcher.Connect(server.port()) && watcher.Join("wanda", 5 + 4, reply, kWait));

    const struct {
        const char* what;
        bool join;                   // join (seat 0) before the bad bytes
        std::vector<uint8_t> bytes;  // what the client sends
        bool endAfter;               // close the sending direction after them
        const char* reason;          // in the server's close line
    } cases[] = {
        {"truncated header, then the end", false, {0x00, 0x60, 0x02, 0x00, 0x05}, true,
         "inside a message (5 bytes of it received)"},
        {"truncated header that never completes", true, {0x05, 0x60, 0x02}, false,
         "message incomplete for 400 ms (3 bytes of it received)"},
        {"truncated body, then the end", true, Concat({Le32(msgid::kPlay), Le32(16), Le32(1)}), true,
         "inside a message (12 bytes of it received)"},
        {"oversized length", false, Concat({Le32(msgid::kJoin), Le32(0x7FFFFFFF)}), false,
         "declares a body of 2147483647 bytes (cap 65536)"},
        {"compressed body declaring more than the cap", true,
         CompressedFrame(std::vector<uint8_t>(200, 1), 1 << 20), false,
         "compressed body declares 1048576 bytes (cap 65536)"},
        {"compressed body inflating beyond what it declares", true,
         CompressedFrame(std::vector<uint8_t>(1 << 20, 0), 60000), false,
         "compressed body expands beyond its declared 60000 bytes"},
        {"garbage after the join", true,
         {0xDE, 0xAD, 0xBE, 0xEF, 0x01, 0x02, 0x03, 0x04, 0x42, 0x42, 0x42, 0x42}, false,
         "declares a body of 67305985 bytes"},
        {"well-framed message nobody knows after the join", true, Frame(0x12345, {1, 2, 3}), false,
         "unexpected message 0x12345"},
        {"game message before the join", false, Frame(msgid::kPlay, {0, 0, 0, 0}), false,
         "expected the join request, got message 0x26005"},
        {"short join request", false, Frame(msgid::kJoin, std::vector<uint8_t>(50, 'a')), false,
         "join request of 50 bytes (expected 108)"},
        {"second join on one connection", true, Frame(msgid::kJoin, JoinRequestBytes("mallory", 0)),
         false, "second join request on one connection"},
        {"short speed test", false, Frame(msgid::kSpeedTest, {1, 2, 3, 4}), false,
         "speed test of 4 bytes"},
        {"silence instead of a join", false, {}, false, "no join request within 400 ms"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestClient client;
        ASSERT_TRUE(client.Connect(server.port()));
        if (c.join) {
            ASSERT_TRUE(client.Join("mallory", 0, reply, kWait));
        }
        ASSERT_TRUE(client.SendBytes(c.bytes));
        if (c.endAfter)
            client.ShutdownWrite();
        EXPECT_TRUE(client.WaitClosed(kWait));
        EXPECT_TRUE(server.log().WaitForLine(" closed: ", c.reason, std::chrono::milliseconds(kWait)))
            << server.log().Dump();
        if (c.join) {
            // The seat goes under automatic action; the others are told.
            Message note;
            ASSERT_TRUE(watcher.WaitFor(msgid::kPlayerOffline, note, kWait));
        }
        EXPECT_TRUE(SpeedTestAnswered(seated));
        EXPECT_TRUE(SpeedTestAnswered(watcher));
    }
    EXPECT_FALSE(server.log().Contains("keeper closed"));
}

TEST(Malformed, AClientThatDoesNotReadIsClosedWhenItsBacklogGrows)
{
    ServerOptions limits;
    limits.maxBacklog = 64 * 1024;
    RunningServer server({}, limits);
    ASSERT_TRUE(server.ok());
    TestClient sleeper;
    Message reply;
    ASSERT_TRUE(sleeper.Connect(server.port(), 4096) && sleeper.Join("sleepy", 5, reply, kWait));
    // Ask for answers and never read them: the socket buffers fill, then the backlog.
    std::vector<uint8_t> body;
    PutU32(body, 0);
    PutU32(body, 1);
    const std::vector<uint8_t> probe = EncodeFrame(Message(msgid::kSpeedTest, body), false);
    std::vector<uint8_t> burst;
    for (int i = 0; i < 4000; ++i)
        burst.insert(burst.end(), probe.begin(), probe.end());
    bool closed = false;
    for (int round = 0; round < 200 && !closed; ++round) {
        closed = !sleeper.SendBytes(burst) || server.log().Contains("client does not read");
    }
    EXPECT_TRUE(server.log().WaitFor("sleepy closed: client does not read", std::chrono::milliseconds(kWait)))
        << server.log().Dump();
    // One turn answers far more than the cap (a read of 256 KiB holds 16384
    // requests, 320 KiB of answers): the cap holds all the same.
    const std::string dump = server.log().Dump();
    const std::string mark = "sleepy closed: client does not read: ";
    const size_t at = dump.find(mark);
    ASSERT_NE(at, std::string::npos);
    const unsigned long waiting = std::stoul(dump.substr(at + mark.size()));
    EXPECT_LE(waiting, limits.maxBacklog) << dump.substr(at, 120);
}

TEST(Malformed, FaceMessagesGoOnlyFromTheirOwnSeatAtABoundedRate)
{
    RunningServer server;
    ASSERT_TRUE(server.ok());
    TestClient sender, other, watcher;
    Message reply;
    ASSERT_TRUE(sender.Connect(server.port()) && sender.Join("faces", 0, reply, kWait));
    ASSERT_TRUE(other.Connect(server.port()) && other.Join("quiet", 1, reply, kWait));
    ASSERT_TRUE(watcher.Connect(server.port()) && watcher.Join("looker", 5 + 1, reply, kWait));
    auto face = [](uint32_t number, uint32_t seat, size_t size = 12) {
        std::vector<uint8_t> body;
        PutU32(body, number);
        PutU32(body, seat);
        PutU32(body, 0);
        body.resize(size, 0x5A);
        return Frame(msgid::kFace, body);
    };
    // The watcher floods: large bodies, and well-formed ones naming a seat.
    std::vector<uint8_t> flood;
    for (int i = 0; i < 100; ++i)
        flood = Concat({flood, face(1, 1, 60000), face(2, 1), face(3, 0)});
    ASSERT_TRUE(watcher.SendBytes(flood));
    ASSERT_TRUE(SpeedTestAnswered(watcher));
    // The player: faces naming another seat, bodies of the wrong size, then
    // a flood of its own faces, of which the rate lets the first five go.
    std::vector<uint8_t> own;
    for (int i = 0; i < 20; ++i)
        own = Concat({own, face(4, 1), face(5, 0, 8), face(6, 0, 16)});
    for (uint32_t i = 0; i < 200; ++i)
        own = Concat({own, face(100 + i, 0)});
    ASSERT_TRUE(sender.SendBytes(own));
    ASSERT_TRUE(SpeedTestAnswered(sender));

    // The other player gets the five faces, and its own answer right behind them.
    std::vector<uint8_t> body;
    PutU32(body, 0);
    PutU32(body, 7);
    ASSERT_TRUE(other.Send(Message(msgid::kSpeedTest, body)));
    std::vector<uint32_t> faces;
    for (;;) {
        Message m;
        ASSERT_EQ(other.Receive(m, kWait), TestClient::Wait::kMessage);
        if (m.id == ReplyId(msgid::kSpeedTest))
            break;
        if (m.id != msgid::kFace)
            continue;
        ASSERT_EQ(m.body.size(), 12u);
        EXPECT_EQ(GetU32(m.body.data() + 4), 0u);
        faces.push_back(GetU32(m.body.data()));
    }
    EXPECT_EQ(faces, std::vector<uint32_t>({100, 101, 102, 103, 104}));
    // Nobody was closed for it.
    EXPECT_FALSE(server.log().Contains("closed")) << server.log().Dump();
}

TEST(Malformed, AStreamThatKeepsFinishingMessagesIsNoStall)
{
    ServerOptions limits;
    limits.stallTimeoutMs = 1000;
    RunningServer server({}, limits);
    ASSERT_TRUE(server.ok());
    TestClient client;
    Message reply;
    ASSERT_TRUE(client.Connect(server.port()) && client.Join("steady", 5, reply, kWait));

    // For three times the stall limit every write finishes one keep-alive and
    // begins the next, so that a message is always under way.
    const std::vector<uint8_t> keepAlive = Frame(msgid::kKeepAlive, {});
    const std::vector<uint8_t> head(keepAlive.begin(), keepAlive.begin() + 4);
    const std::vector<uint8_t> tail(keepAlive.begin() + 4, keepAlive.end());
    ASSERT_TRUE(client.SendBytes(head));
    for (int i = 0; i < 60; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ASSERT_TRUE(client.SendBytes(Concat({tail, head})));
    }
    ASSERT_TRUE(client.SendBytes(tail));
    EXPECT_TRUE(SpeedTestAnswered(client));
    EXPECT_FALSE(server.log().Contains("steady closed")) << server.log().Dump();
}
