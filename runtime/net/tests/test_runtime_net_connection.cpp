// The game connection against a scripted peer: framing from any cut of the
// stream, compressed bodies, bad frames, reply waits, the time-out question,
// receive gating and holds, sending limits, the short requests and the
// error boxes.
#include "NetTestSupport.h"

#include <cstring>

#include "NetStrings.h"

namespace {

class Connection : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxSocketInit());
        g_boxes.Clear();
        g_boxes.Attach(conn);
        conn.SetUiServices(&ui);
        handler.Attach(conn);
        ASSERT_TRUE(conn.Connect("127.0.0.1", peer.Port(), TRUE));
        ASSERT_TRUE(peer.Accept());
    }
    void TearDown() override { conn.Close(); }

    // Pumps until the handler got n messages.
    bool WaitForMessages(size_t n, DWORD timeoutMs = 30000)
    {
        return PumpUntil([&] { return handler.MessageIds().size() >= n; }, timeoutMs);
    }

    CTestPeer peer;
    CTestConnection conn;
    CRecordingUi ui;
    CHandlerRecorder handler;
};

struct FramingCase {
    const char* name;
    uint32_t id;
    uint32_t result;
    size_t bodySize;
    bool compress;
    size_t pieceSize;   // 0: the whole message at once
};

const FramingCase kFramingCases[] = {
    {"short header, empty body", 0x26000, 0, 0, false, 1},
    {"short header in 1-byte pieces", 0x26005, 0, 37, false, 1},
    {"long header in 1-byte pieces", 0x80026001, 7, 53, false, 1},
    {"long header, empty body, 1-byte pieces", 0x80026003, 1, 0, false, 1},
    {"compressed body at once", 0x26010, 0, 3000, true, 0},
    {"compressed long-header body in 5-byte pieces", 0x80026006, 1, 500, true, 5},
    {"large body in 1000-byte pieces", 0x26007, 0, 200000, false, 1000},
    {"header and body across one cut", 0x80000280, 3, 20, false, 10},
};

std::vector<uint8_t> PatternBody(size_t size, uint32_t seed)
{
    std::vector<uint8_t> body(size);
    for (size_t i = 0; i < size; ++i)
        body[i] = uint8_t((i * 7 + seed) % 23);   // compressible
    return body;
}

}  // namespace

TEST_F(Connection, AssemblesEveryMessageWhateverTheCutOfTheStream)
{
    for (const FramingCase& c : kFramingCases) {
        SCOPED_TRACE(c.name);
        handler.calls.clear();
        const std::vector<uint8_t> body = PatternBody(c.bodySize, c.id);
        ASSERT_TRUE(peer.SendBytes(WireMessage(c.id, body, c.result, c.compress), c.pieceSize, c.pieceSize ? 1 : 0));
        ASSERT_TRUE(WaitForMessages(1, 20000));
        ASSERT_EQ(handler.calls.size(), 1u);
        EXPECT_EQ(handler.calls[0].id, c.id);
        EXPECT_EQ(handler.calls[0].body, body);
        EXPECT_TRUE(handler.calls[0].receivingStopped);
        // The last header is kept as it came (compressed bit and all).
        EXPECT_EQ(ReadWireU32(conn.GetLastHeader()), c.compress ? (c.id | kMsgCompressedBit) : c.id);
        if (c.id & kMsgLongHeaderBit) {
            EXPECT_EQ(ReadWireU32(conn.GetLastHeader() + 8), c.result);
        }
    }
    EXPECT_TRUE(g_boxes.calls.empty());
    EXPECT_TRUE(conn.IsOpen());
}

TEST_F(Connection, ReadsALongHeaderAsEightBytesAndThenTheRest)
{
    // Eight bytes of a long header: the size is known, the rest is awaited.
    const std::vector<uint8_t> wire = WireMessage(0x80026001, PatternBody(30, 1), 1);
    ASSERT_TRUE(peer.SendBytes(std::vector<uint8_t>(wire.begin(), wire.begin() + 8)));
    uint32_t filled = 0, total = 0;
    ASSERT_TRUE(PumpUntil([&] { return conn.GetPendingSize(&filled, &total); }));
    EXPECT_EQ(filled, 8u);
    EXPECT_EQ(total, 12u + 30u);
    ASSERT_TRUE(peer.SendBytes(std::vector<uint8_t>(wire.begin() + 8, wire.end())));
    ASSERT_TRUE(WaitForMessages(1));
    EXPECT_FALSE(conn.GetPendingSize(&filled, &total));
}

TEST_F(Connection, DeliversABurstOneMessageAtATimeInOrder)
{
    std::vector<uint8_t> burst;
    for (uint32_t i = 0; i < 50; ++i) {
        const auto one = WireMessage(0x26000 + i, PatternBody(i * 13, i), 0, i % 3 == 0 && i * 13 >= 100);
        burst.insert(burst.end(), one.begin(), one.end());
    }
    ASSERT_TRUE(peer.SendBytes(burst));
    ASSERT_TRUE(WaitForMessages(50));
    const auto ids = handler.MessageIds();
    for (uint32_t i = 0; i < 50; ++i)
        EXPECT_EQ(ids[i], 0x26000 + i);
}

// A compressed message whose prefix declares one byte more than its data holds.
std::vector<uint8_t> MisdeclaredCompressedMessage()
{
    std::vector<uint8_t> wire = WireMessage(0x26000, PatternBody(400, 3), 0, true);
    WriteWireU32(wire.data() + 8, 401);
    return wire;
}

struct BadFrameCase {
    const char* name;
    std::vector<uint8_t> bytes;
};

TEST(ConnectionBadFrames, CloseTheConnectionWithTheErrorBoxAndNeverReachTheHandler)
{
    ASSERT_TRUE(AfxSocketInit());
    const std::vector<uint8_t> garbage = {0x78, 0x9c, 1, 2, 3, 4, 5, 6, 7, 8};
    const BadFrameCase cases[] = {
        {"length beyond the cap", U32s({0x26000, kMaxReceivedMessage})},
        {"length wrapping round with a long header", U32s({0x80026000, 0xFFFFFFF8u})},
        {"compressed body shorter than its prefix", WireMessage(0x26000 | kMsgCompressedBit, {1, 2})},
        {"compressed body declaring 0 bytes", WireMessage(0x26000 | kMsgCompressedBit, U32s({0}))},
        {"compressed body declaring more than the cap",
         WireMessage(0x26000 | kMsgCompressedBit, Concat({U32s({kMaxExpandedBody + 1}), garbage}))},
        {"compressed body that is not compressed data",
         WireMessage(0x26000 | kMsgCompressedBit, Concat({U32s({100}), garbage}))},
        {"compressed body expanding to another length", MisdeclaredCompressedMessage()},
    };
    for (const BadFrameCase& c : cases) {
        SCOPED_TRACE(c.name);
        CTestPeer peer;
        CTestConnection conn;
        CHandlerRecorder handler;
        g_boxes.Clear();
        g_boxes.Attach(conn);
        handler.Attach(conn);
        ASSERT_TRUE(conn.Connect("127.0.0.1", peer.Port(), TRUE));
        ASSERT_TRUE(peer.Accept());
        ASSERT_TRUE(peer.SendBytes(c.bytes));
        ASSERT_TRUE(PumpUntil([&] { return !conn.IsOpen(); }));
        EXPECT_TRUE(handler.MessageIds().empty());
        ASSERT_EQ(g_boxes.calls.size(), 1u);
        EXPECT_EQ(g_boxes.calls[0].stringId, (UINT)IDS_NET_OTHER_ERROR);
        EXPECT_EQ(conn.GetLastNetError(), kNetErrorBadMessage);
        ASSERT_EQ(handler.calls.size(), 1u);
        EXPECT_EQ(handler.calls[0].code, kHandlerConnectionClosed);
    }
}

TEST_F(Connection, GivesAReplyToItsWaiterAndNotToTheHandler)
{
    peer.SetResponder([&](const PeerMessage& m) {
        if (m.id == 0x26100) {
            peer.Send(0x26001);                                  // something else first
            peer.Send(ReplyIdOf(m.id), Bytes("pong"), 1, false);
        }
    });
    const auto request = BuildNetMessage(0x26100, "ping", 4);
    void* reply = nullptr;
    ASSERT_TRUE(conn.SendMsg(request.data(), &reply));
    ASSERT_NE(reply, nullptr);
    EXPECT_EQ(MsgId(reply), 0x80026100u);
    EXPECT_EQ(MsgResult(reply), 1u);
    EXPECT_EQ(std::string((const char*)MsgBody(reply), MsgBodyLength(reply)), "pong");
    FreeNetMessage(reply);
    // The other message went to the handler during the wait; the reply did not.
    EXPECT_EQ(handler.MessageIds(), std::vector<uint32_t>({0x26001}));
    ASSERT_EQ(peer.Received().size(), 1u);
    EXPECT_EQ(peer.Received()[0].body, Bytes("ping"));
}

TEST_F(Connection, AWaitWithoutDataStillDispatchesTheReply)
{
    peer.SetResponder([&](const PeerMessage& m) {
        if (m.id == 0x26101)
            peer.Send(0x26555, Bytes("answer"));
    });
    const auto request = BuildNetMessage(0x26101);
    ASSERT_TRUE(conn.SendMsg(request.data(), GAMESOCKET_WAIT_NO_DATA, 0x26555));
    EXPECT_EQ(handler.MessageIds(), std::vector<uint32_t>({0x26555}));
}

TEST_F(Connection, RefusesTheEleventhWaitAtOnce)
{
    // Each trigger from the peer starts one more nested wait from inside the
    // dispatch; the replies come only after the eleventh request.
    class CNestingConnection : public CTestConnection
    {
    public:
        std::vector<BOOL> results;
        std::vector<DWORD> durations;
        BOOL OnMessage(void* pMessage) override
        {
            if (MsgId(pMessage) != 0x26200)
                return CTestConnection::OnMessage(pMessage);
            const uint32_t n = ReadWireU32(MsgBody(pMessage));
            const auto request = BuildNetMessage(0x26300 + n);
            const DWORD start = ::GetTickCount();
            const BOOL ok = SendMsg(request.data(), GAMESOCKET_WAIT_NO_DATA);
            durations.push_back(::GetTickCount() - start);
            results.push_back(ok);
            return TRUE;
        }
    };
    CTestPeer nestPeer;
    CNestingConnection nest;
    g_boxes.Attach(nest);
    ASSERT_TRUE(nest.Connect("127.0.0.1", nestPeer.Port(), TRUE));
    ASSERT_TRUE(nestPeer.Accept());
    for (uint32_t n = 0; n < 11; ++n)
        ASSERT_TRUE(nestPeer.Send(0x26200, U32s({n})));
    ASSERT_TRUE(PumpUntil([&] { return nest.results.size() == 11; }, 10000));
    // The innermost (eleventh) wait failed first and at once; the slot table
    // was full, so the connection reported its last error and closed, which
    // ended the ten other waits too.
    EXPECT_FALSE(nest.results[0]);
    EXPECT_LT(nest.durations[0], 10000u);   // not the wait's time-out (30 s)
    for (BOOL ok : nest.results)
        EXPECT_FALSE(ok);
    EXPECT_FALSE(nest.IsOpen());
    ASSERT_TRUE(PumpUntil([&] { return nestPeer.ReceivedCount() == 11; }));
}

TEST_F(Connection, TenWaitsAtOnceAreServed)
{
    class CNestingConnection : public CTestConnection
    {
    public:
        std::vector<BOOL> results;
        BOOL OnMessage(void* pMessage) override
        {
            if (MsgId(pMessage) != 0x26200)
                return CTestConnection::OnMessage(pMessage);
            const auto request = BuildNetMessage(0x26300 + ReadWireU32(MsgBody(pMessage)));
            results.push_back(SendMsg(request.data(), GAMESOCKET_WAIT_NO_DATA));
            return TRUE;
        }
    };
    CTestPeer nestPeer;
    CNestingConnection nest;
    g_boxes.Attach(nest);
    nestPeer.SetResponder([&](const PeerMessage& m) {
        // Once all ten requests are in, answer them all.
        if (m.id == 0x26309)
            for (uint32_t n = 0; n < 10; ++n)
                nestPeer.Send(ReplyIdOf(0x26300 + n));
    });
    ASSERT_TRUE(nest.Connect("127.0.0.1", nestPeer.Port(), TRUE));
    ASSERT_TRUE(nestPeer.Accept());
    for (uint32_t n = 0; n < 10; ++n)
        ASSERT_TRUE(nestPeer.Send(0x26200, U32s({n})));
    ASSERT_TRUE(PumpUntil([&] { return nest.results.size() == 10; }, 10000));
    for (BOOL ok : nest.results)
        EXPECT_TRUE(ok);
    EXPECT_TRUE(nest.IsOpen());
}

TEST_F(Connection, ATimeOutAnsweredNoEndsTheWaitWithoutAnErrorBox)
{
    conn.SetTimeoutValue(1);
    g_boxes.answers = {IDNO};
    const auto request = BuildNetMessage(0x26102);
    void* reply = nullptr;
    const DWORD start = ::GetTickCount();
    EXPECT_FALSE(conn.SendMsg(request.data(), &reply));
    EXPECT_GE(::GetTickCount() - start, 900u);
    EXPECT_EQ(reply, nullptr);
    EXPECT_EQ(conn.GetLastNetError(), WSAETIMEDOUT);
    EXPECT_EQ(CAsyncSocket::GetLastError(), kNetErrorWaitFailed);
    EXPECT_TRUE(conn.GetState());
    // One question, no error box; the wait wanted data, so the connection
    // reported the time-out and closed.
    ASSERT_EQ(g_boxes.calls.size(), 1u);
    EXPECT_EQ(g_boxes.calls[0].stringId, (UINT)IDS_NET_WAIT_LONGER);
    EXPECT_EQ(g_boxes.calls[0].flags, (UINT)(MB_YESNO | MB_ICONQUESTION));
    EXPECT_FALSE(conn.IsOpen());
    ASSERT_EQ(handler.calls.size(), 1u);
    EXPECT_EQ(handler.calls[0].code, kHandlerConnectionClosed);
}

TEST_F(Connection, ATimeOutAnsweredYesWaitsOnForTheReply)
{
    conn.SetTimeoutValue(1);
    g_boxes.answers = {IDYES};
    g_boxes.onBox = [&](const BoxCall&) { peer.Send(0x80026103, Bytes("late"), 1); };
    const auto request = BuildNetMessage(0x26103);
    void* reply = nullptr;
    ASSERT_TRUE(conn.SendMsg(request.data(), &reply));
    EXPECT_EQ(MsgBodyLength(reply), 4u);
    FreeNetMessage(reply);
    EXPECT_EQ(g_boxes.calls.size(), 1u);
    EXPECT_FALSE(conn.GetState());
    EXPECT_TRUE(conn.IsOpen());
}

TEST_F(Connection, ATimeOutWithoutTheAskFlagFailsWithoutAQuestion)
{
    conn.SetTimeoutValue(1);
    conn.SetAskFlags(FALSE);
    const auto request = BuildNetMessage(0x26104);
    EXPECT_FALSE(conn.SendMsg(request.data(), GAMESOCKET_WAIT_NO_DATA));
    EXPECT_EQ(conn.GetLastNetError(), WSAETIMEDOUT);
    EXPECT_TRUE(g_boxes.calls.empty());
    EXPECT_TRUE(conn.IsOpen());   // a wait without data leaves the connection
}

TEST_F(Connection, TheCallersCancelFlagEndsAWaitWithoutABox)
{
    volatile LONG cancel = 1;
    conn.SetCancelFlag(&cancel);
    EXPECT_EQ(cancel, 0);
    peer.SetResponder([&](const PeerMessage&) { cancel = 1; });
    const auto request = BuildNetMessage(0x26105);
    void* reply = nullptr;
    EXPECT_FALSE(conn.SendMsg(request.data(), &reply));
    EXPECT_EQ(conn.GetLastNetError(), kNetErrorCancelled);
    EXPECT_TRUE(conn.GetState());
    EXPECT_TRUE(g_boxes.calls.empty());
    conn.SetCancelFlag(nullptr);
}

TEST_F(Connection, ASecondJoinWhileOneWaitsIsRefused)
{
    // While the join waits, a timer tries another join and another message.
    struct Attempts {
        CTestConnection* conn;
        std::vector<BOOL> results;
        HANDLE done;
    };
    static Attempts attempts;
    attempts = {&conn, {}, ::CreateEventA(NULL, TRUE, FALSE, NULL)};
    ASSERT_NE(attempts.done, nullptr);
    struct TimerProc {
        static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD)
        {
            ::KillTimer(NULL, id);
            const auto join = BuildNetMessage(netmsg::kJoin);
            attempts.results.push_back(attempts.conn->SendMsg(join.data()));
            attempts.results.push_back(attempts.conn->SendMsg(0x26106, nullptr, 0));
            ::SetEvent(attempts.done);
        }
    };
    ::SetTimer(NULL, 0, 50, TimerProc::Fire);
    peer.SetResponder([&](const PeerMessage& m) {
        if (m.id == netmsg::kJoin)
            // The reply comes once the timer has tried (or never, if it did not).
            ::WaitForSingleObject(attempts.done, 30000), peer.Send(ReplyIdOf(netmsg::kJoin), Bytes("ok"), 1);
    });
    const auto join = BuildNetMessage(netmsg::kJoin);
    void* reply = nullptr;
    ASSERT_TRUE(conn.SendMsg(join.data(), &reply));
    FreeNetMessage(reply);
    EXPECT_EQ(attempts.results, std::vector<BOOL>({FALSE, FALSE}));
    ::CloseHandle(attempts.done);
    EXPECT_EQ(peer.ReceivedCount(), 1u);
    // Once the join has its reply, sending goes on.
    EXPECT_TRUE(conn.SendMsg(0x26107, nullptr, 0));
}

TEST_F(Connection, AFailedJoinWaitDoesNotBlockLaterRequests)
{
    conn.SetTimeoutValue(1);
    conn.SetAskFlags(FALSE);
    const auto join = BuildNetMessage(netmsg::kJoin);
    EXPECT_FALSE(conn.SendMsg(join.data(), GAMESOCKET_WAIT_NO_DATA));
    ASSERT_TRUE(conn.IsOpen());
    EXPECT_TRUE(conn.SendMsg(0x26108, nullptr, 0));
}

TEST_F(Connection, StopAndStartReceiveKeepMessagesInTheSocketMeanwhile)
{
    conn.StopReceive();
    for (uint32_t i = 0; i < 3; ++i)
        ASSERT_TRUE(peer.Send(0x26400 + i, PatternBody(10, i)));
    // All three are in the socket and their notification has come.
    ASSERT_TRUE(WaitUntilUnread(conn.m_hSocket, 3 * 18));
    ASSERT_TRUE(WaitForReadNotification(conn.m_hSocket));
    PumpQueued();
    EXPECT_TRUE(handler.calls.empty());
    conn.StartReceive();
    ASSERT_TRUE(WaitForMessages(3));
    EXPECT_EQ(handler.MessageIds(), std::vector<uint32_t>({0x26400, 0x26401, 0x26402}));
}

TEST_F(Connection, AStopOrHoldOfTheLastConnectionDoesNotStopTheNextOne)
{
    conn.StopReceive();
    conn.SuspendReceive();
    conn.Close();
    CTestPeer next;
    ASSERT_TRUE(conn.Connect("127.0.0.1", next.Port(), TRUE));
    ASSERT_TRUE(next.Accept());
    EXPECT_TRUE(conn.IsReceiving());
    ASSERT_TRUE(next.Send(0x26400, PatternBody(10, 0)));
    ASSERT_TRUE(WaitForMessages(1));
}

TEST_F(Connection, APeerCloseWhileReceivingIsStoppedComesAfterTheMessagesBeforeIt)
{
    conn.StopReceive();
    for (uint32_t i = 0; i < 3; ++i)
        ASSERT_TRUE(peer.Send(0x26410 + i, PatternBody(10, i)));
    peer.Close();
    ASSERT_TRUE(WaitUntilUnread(conn.m_hSocket, 3 * 18));
    ASSERT_TRUE(WaitForReadNotification(conn.m_hSocket));
    PumpQueued();
    EXPECT_TRUE(handler.calls.empty());
    EXPECT_TRUE(conn.IsOpen());
    conn.StartReceive();
    ASSERT_TRUE(PumpUntil([&] { return !conn.IsOpen(); }));
    EXPECT_EQ(handler.MessageIds(), std::vector<uint32_t>({0x26410, 0x26411, 0x26412}));
    ASSERT_EQ(handler.calls.size(), 4u);
    EXPECT_EQ(handler.calls.back().code, kHandlerConnectionClosed);
}

namespace {

CTestConnection* g_heldConnection = nullptr;
DWORD g_resumedAt = 0;

void CALLBACK ResumeAfterHold(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(NULL, id);
    g_resumedAt = ::GetTickCount();
    g_heldConnection->ResumeReceive();
}

}  // namespace

TEST_F(Connection, HoldsReadingForTheTimeTheBoardAsks)
{
    // The table window suspends reading and resumes it from a timer.
    g_heldConnection = &conn;
    g_resumedAt = 0;
    std::vector<DWORD> arrivals;
    handler.onCall = [&](const HandlerCall&) { arrivals.push_back(::GetTickCount()); };
    conn.SuspendReceive();
    ::SetTimer(NULL, 0, 400, ResumeAfterHold);
    ASSERT_TRUE(peer.Send(0x26500));
    ASSERT_TRUE(peer.Send(0x26501));
    ASSERT_TRUE(WaitForMessages(2));
    ASSERT_NE(g_resumedAt, 0u);
    for (DWORD t : arrivals)
        EXPECT_GE(t, g_resumedAt);
}

TEST_F(Connection, HoldsNestAndDoNotEndAStop)
{
    conn.SuspendReceive();
    conn.SuspendReceive();
    ASSERT_TRUE(peer.Send(0x26510));
    ASSERT_TRUE(WaitUntilUnread(conn.m_hSocket, 8));
    conn.ResumeReceive();
    PumpQueued();
    EXPECT_TRUE(handler.calls.empty());   // one hold is still on
    conn.StopReceive();
    conn.ResumeReceive();
    PumpQueued();
    EXPECT_TRUE(handler.calls.empty());   // the stop is still on
    conn.ResumeReceive();                  // more resumes than holds: no effect
    conn.StartReceive();
    ASSERT_TRUE(WaitForMessages(1));
}

TEST_F(Connection, SendsUpToTheSizeLimitAndRefusesMoreWithABox)
{
    const uint32_t limitBody = kMaxSentMessage - 8;
    const auto largest = BuildNetMessage(0x26600, PatternBody(limitBody, 1).data(), limitBody);
    EXPECT_TRUE(conn.SendMsg(largest.data()));
    const auto tooLarge = BuildNetMessage(0x26601, PatternBody(limitBody + 1, 1).data(), limitBody + 1);
    EXPECT_FALSE(conn.SendMsg(tooLarge.data()));
    ASSERT_EQ(g_boxes.calls.size(), 1u);
    EXPECT_EQ(g_boxes.calls[0].stringId, (UINT)IDS_NET_SEND_TOO_LONG);
    EXPECT_EQ(g_boxes.calls[0].flags, (UINT)MB_ICONINFORMATION);
    // Nothing of the refused one went out: the next message follows the first.
    EXPECT_TRUE(conn.SendMsg(0x26602, nullptr, 0));
    ASSERT_TRUE(PumpUntil([&] { return peer.ReceivedCount() == 2; }));
    EXPECT_EQ(peer.Received()[0].body.size(), limitBody);
    EXPECT_EQ(peer.Received()[1].id, 0x26602u);
    EXPECT_TRUE(peer.Received()[1].body.empty());
    EXPECT_TRUE(conn.IsOpen());
}

TEST_F(Connection, SendsTheShortRequestsAndLeaves)
{
    conn.SendNotice201();
    conn.SendRequest208();
    EXPECT_TRUE(conn.SendFlag174(1, 77));
    EXPECT_TRUE(conn.SendFlag174(4, 78));
    EXPECT_TRUE(conn.SendFlag174(9, 79));
    conn.LeaveAndClose();
    EXPECT_FALSE(conn.IsOpen());
    ASSERT_TRUE(PumpUntil([&] { return peer.SawClose(); }));
    const auto got = peer.Received();
    ASSERT_EQ(got.size(), 6u);
    EXPECT_EQ(got[0].id, netmsg::kKeepAlive);
    EXPECT_TRUE(got[0].body.empty());
    EXPECT_EQ(got[1].id, netmsg::kEmptyRequest208);
    EXPECT_EQ(got[2].id, netmsg::kFlags174);
    EXPECT_EQ(got[2].body, U32s({77, 0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(got[3].body, U32s({78, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(got[4].body, U32s({79, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(got[5].id, netmsg::kLeave);
    // Closed by the program itself: no box, and the requests need a socket.
    EXPECT_TRUE(g_boxes.calls.empty());
    conn.SendNotice201();
    EXPECT_FALSE(conn.SendFlag174(1, 1));
}

TEST_F(Connection, RunsTheServersStreamTransformsBothWays)
{
    const std::vector<uint8_t> sendKey = Bytes("client-to-server key");
    const std::vector<uint8_t> receiveKey = Bytes("other");
    ASSERT_TRUE(peer.Send(netmsg::kTransforms, Concat({U32s({0x11223344, 0xA5A5A5A5, (uint32_t)sendKey.size(),
                                                        (uint32_t)receiveKey.size()}),
                                                  sendKey, receiveKey})));
    peer.UseTransforms(sendKey, 0x11223344, receiveKey, 0xA5A5A5A5);
    // Cut into odd pieces on the way in; the transform follows the stream.
    ASSERT_TRUE(peer.SendBytes(WireMessage(0x26700, PatternBody(301, 9), 0, true), 7, 1));
    ASSERT_TRUE(peer.Send(0x26701, Bytes("plain")));
    ASSERT_TRUE(WaitForMessages(2));
    EXPECT_EQ(handler.calls[0].body, PatternBody(301, 9));
    EXPECT_EQ(handler.calls[1].body, Bytes("plain"));
    EXPECT_TRUE(conn.SendMsg(0x26702, "back", 4));
    EXPECT_TRUE(conn.SendMsg(0x26703, "again", 5));
    ASSERT_TRUE(PumpUntil([&] { return peer.ReceivedCount() == 2; }));
    EXPECT_EQ(peer.Received()[0].body, Bytes("back"));
    EXPECT_EQ(peer.Received()[1].id, 0x26703u);
}

TEST_F(Connection, IgnoresATransformMessageShorterThanItsKeys)
{
    ASSERT_TRUE(peer.Send(netmsg::kTransforms, Concat({U32s({1, 2, 100, 0}), Bytes("short")})));
    ASSERT_TRUE(peer.Send(0x26710, Bytes("still plain")));
    ASSERT_TRUE(WaitForMessages(1));
    EXPECT_EQ(handler.calls[0].body, Bytes("still plain"));
}

TEST_F(Connection, SendsThePortHeaderAfterConnectingToTheAlternativePort)
{
    CTestPeer other;
    CTestConnection alt;
    g_boxes.Attach(alt);
    alt.SetAlternatePort(other.Port(), 0xBEEF);
    ASSERT_TRUE(alt.Connect("127.0.0.1", 9, TRUE));   // port 9 is replaced
    ASSERT_TRUE(other.Accept());
    ASSERT_TRUE(PumpUntil([&] { return other.ReceivedCount() == 1; }));
    EXPECT_EQ(other.Received()[0].id, netmsg::kPortHeader);
    EXPECT_EQ(other.Received()[0].body, U32s({9, 0xBEEF}));
}

TEST_F(Connection, LooksTheAlternativePortUpInTheLanguageFile)
{
    // The registry's share folder holds the language file with the rule
    // "port 9 is served on the peer's port".
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    const std::string share = std::string(folder) + "mardavel_p80_" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(share.c_str(), NULL);
    const std::string file = share + "\\LangRsc.ini";
    CTestPeer other;
    const std::string rule = "[P80Port]\r\n9=" + std::to_string(other.Port()) + "\r\n";
    FILE* f = fopen(file.c_str(), "wb");
    ASSERT_TRUE(f != NULL);
    fwrite(rule.data(), 1, rule.size(), f);
    fclose(f);
    {
        CPrivateUserKey user;
        ASSERT_TRUE(user.Overridden());
        user.String("Software\\Quorvintel\\Game\\Share", "Path", share);
        CTestConnection alt;
        g_boxes.Attach(alt);
        ASSERT_TRUE(alt.Connect("127.0.0.1", 9, TRUE));
        ASSERT_TRUE(other.Accept());
        ASSERT_TRUE(PumpUntil([&] { return other.ReceivedCount() == 1; }));
        EXPECT_EQ(other.Received()[0].id, netmsg::kPortHeader);
        EXPECT_EQ(other.Received()[0].body, U32s({9, 0}));
    }
    ::DeleteFileA(file.c_str());
    ::RemoveDirectoryA(share.c_str());
}

namespace {

// A listener on 127.0.0.1 whose queue of connections is full: a further
// connect to it waits (the system drops its requests) until it is given up.
class CStalledListener
{
public:
    CStalledListener()
    {
        m_listener = ListenOnLoopback(1, &m_port);
        SOCKADDR_IN addr;
        memset(&addr, 0, sizeof(addr));
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = htons((u_short)m_port);
        for (int i = 0; i < 8; ++i) {
            SOCKET filler = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
            u_long nonBlocking = 1;
            ::ioctlsocket(filler, FIONBIO, &nonBlocking);
            ::connect(filler, (SOCKADDR*)&addr, sizeof(addr));
            m_fillers.push_back(filler);
        }
        ::Sleep(200);
    }
    ~CStalledListener()
    {
        for (SOCKET filler : m_fillers)
            ::closesocket(filler);
        ::closesocket(m_listener);
    }
    UINT Port() const { return m_port; }

private:
    SOCKET m_listener;
    UINT m_port = 0;
    std::vector<SOCKET> m_fillers;
};

CTestConnection* g_connecting = nullptr;
volatile LONG g_cancelConnect = 0;
std::vector<BOOL> g_secondConnects;

void CALLBACK TryAgainAndCancel(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(NULL, id);
    g_secondConnects.push_back(g_connecting->Connect("127.0.0.1", 9, TRUE));
    g_cancelConnect = 1;
}

}  // namespace

TEST(ConnectionConnect, RefusesASecondConnectAndLeavesACancelledOneWithoutABox)
{
    ASSERT_TRUE(AfxSocketInit());
    CStalledListener stalled;
    CTestConnection conn;
    g_boxes.Clear();
    g_boxes.Attach(conn);
    conn.SetCancelFlag(&g_cancelConnect);
    g_connecting = &conn;
    g_secondConnects.clear();
    ::SetTimer(NULL, 0, 300, TryAgainAndCancel);
    const DWORD start = ::GetTickCount();
    EXPECT_FALSE(conn.Connect("127.0.0.1", stalled.Port(), TRUE));
    // The connect thread saw that it was given up and ended: the connect
    // did not wait for it beyond its poll.
    EXPECT_LT(::GetTickCount() - start, 10000u);   // far below the connect's time-out (30 s)
    EXPECT_EQ(g_secondConnects, std::vector<BOOL>({FALSE}));
    EXPECT_EQ(conn.GetLastNetError(), kNetErrorCancelled);
    EXPECT_TRUE(conn.GetState());
    EXPECT_FALSE(conn.IsOpen());
    EXPECT_TRUE(g_boxes.calls.empty());
    conn.SetCancelFlag(nullptr);
}

TEST(ConnectionConnect, AConnectThatTimesOutAsksAndEndsWithoutAnErrorBox)
{
    ASSERT_TRUE(AfxSocketInit());
    CStalledListener stalled;
    CTestConnection conn;
    g_boxes.Clear();
    g_boxes.Attach(conn);
    g_boxes.answers = {IDNO};
    conn.SetTimeoutValue(1);
    EXPECT_FALSE(conn.Connect("127.0.0.1", stalled.Port(), TRUE));
    EXPECT_EQ(conn.GetLastNetError(), WSAETIMEDOUT);
    ASSERT_EQ(g_boxes.calls.size(), 1u);
    EXPECT_EQ(g_boxes.calls[0].stringId, (UINT)IDS_NET_WAIT_LONGER);
    // Connecting again works once the first attempt is over.
    CTestPeer peer;
    EXPECT_TRUE(conn.Connect("127.0.0.1", peer.Port(), TRUE));
    EXPECT_TRUE(peer.Accept());
}

TEST(ConnectionClose, ClosesAtOnceWhileSentDataStillWaitsToGoOut)
{
    // The peer never takes its connection, so the client's bytes pile up.
    ASSERT_TRUE(AfxSocketInit());
    CTestPeer peer;
    CTestConnection conn;
    g_boxes.Clear();
    g_boxes.Attach(conn);
    ASSERT_TRUE(conn.Connect("127.0.0.1", peer.Port(), TRUE));
    std::vector<char> chunk(65536, 'q');
    int sends = 0;
    while (conn.CAsyncSocket::Send(chunk.data(), (int)chunk.size()) != SOCKET_ERROR && ++sends < 10000) {
    }
    ASSERT_EQ(CAsyncSocket::GetLastError(), WSAEWOULDBLOCK);
    const SOCKET handle = conn.m_hSocket;
    const DWORD start = ::GetTickCount();
    conn.Close();
    EXPECT_LT(::GetTickCount() - start, 4000u);   // a lingering close waits 5 s
    int type = 0;
    int length = sizeof(type);
    EXPECT_EQ(::getsockopt(handle, SOL_SOCKET, SO_TYPE, (char*)&type, &length), SOCKET_ERROR);
    EXPECT_TRUE(g_boxes.calls.empty());
}

TEST(ConnectionClose, AMessageCutOffByAFailedSendEndsTheConnection)
{
    // A peer that reads only when told: the client's buffers are filled to
    // the last byte first.
    ASSERT_TRUE(AfxSocketInit());
    SOCKET listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    SOCKADDR_IN addr;
    memset(&addr, 0, sizeof(addr));
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    // Fixed buffers on both ends: the system would otherwise grow them as the
    // peer reads, and a busy machine could then take the whole message.
    const int bufferSize = 32768;
    ::setsockopt(listener, SOL_SOCKET, SO_RCVBUF, (const char*)&bufferSize, sizeof(bufferSize));
    ASSERT_EQ(::bind(listener, (SOCKADDR*)&addr, sizeof(addr)), 0);
    ASSERT_EQ(::listen(listener, 1), 0);
    int length = sizeof(addr);
    ::getsockname(listener, (SOCKADDR*)&addr, &length);
    CTestConnection conn;
    CHandlerRecorder handler;
    g_boxes.Clear();
    g_boxes.Attach(conn);
    handler.Attach(conn);
    ASSERT_TRUE(conn.Connect("127.0.0.1", ntohs(addr.sin_port), TRUE));
    conn.SetSockOpt(SO_SNDBUF, &bufferSize, sizeof(bufferSize));
    SOCKET peer = ::accept(listener, NULL, NULL);
    ASSERT_NE(peer, INVALID_SOCKET);
    std::vector<char> chunk(65536, 'q');
    for (bool more = true; more;) {
        // Until a round finds no room left, once the bytes in flight settled.
        more = false;
        for (int size = (int)chunk.size(); size > 0; size /= 2)
            while (conn.CAsyncSocket::Send(chunk.data(), size) != SOCKET_ERROR)
                more = true;
        ::Sleep(200);
    }
    conn.SetTimeoutValue(1);

    // Room for a part of the message: the rest never follows.
    for (int taken = 0; taken < 16384;) {
        const int n = ::recv(peer, chunk.data(), 16384 - taken, 0);
        ASSERT_GT(n, 0);
        taken += n;
    }
    ::Sleep(100);
    g_boxes.answers = {IDNO};
    const std::vector<uint8_t> body(kMaxSentMessage - 8, 'm');
    EXPECT_FALSE(conn.SendMsg(0x26001, body.data(), (uint32_t)body.size()));
    EXPECT_GT(conn.GetBytesSentBeforeFailure(), 0);
    EXPECT_FALSE(conn.IsOpen());
    ASSERT_EQ(handler.calls.size(), 1u);
    EXPECT_EQ(handler.calls[0].code, kHandlerConnectionClosed);
    // The question and no error box (the user ended the wait).
    ASSERT_EQ(g_boxes.calls.size(), 1u);
    EXPECT_EQ(g_boxes.calls[0].stringId, (UINT)IDS_NET_WAIT_LONGER);
    ::closesocket(peer);
    ::closesocket(listener);
}

TEST_F(Connection, ReadExactTakesTheBytesOfAHandshake)
{
    // A proxy's answer, and the first game message right behind it; the read
    // notification is the next in the queue when the handshake reads.
    PumpQueued();
    ASSERT_TRUE(peer.SendBytes(Concat({Bytes("0123456789"), WireMessage(0x26123, Bytes("after"))})));
    ASSERT_TRUE(WaitUntilUnread(conn.m_hSocket, 10 + 8 + 5));
    ASSERT_TRUE(WaitForReadNotification(conn.m_hSocket));
    char got[10];
    ASSERT_TRUE(conn.ReadExact(got, sizeof(got)));
    EXPECT_EQ(std::string(got, sizeof(got)), "0123456789");
    EXPECT_TRUE(handler.calls.empty());
    // Reading goes on afterwards with the message.
    ASSERT_TRUE(WaitForMessages(1));
    EXPECT_EQ(handler.calls[0].body, Bytes("after"));
}

// ---- Errors and their boxes -----------------------------------------------------------

TEST(ConnectionErrors, EachSocketErrorShowsItsString)
{
    struct ErrorCase {
        int error;
        UINT stringId;   // 0: no box
    };
    const ErrorCase cases[] = {
        {0, IDS_NET_RESET_BY_SERVER},       {WSAECONNRESET, IDS_NET_RESET_BY_SERVER},
        {WSAECONNREFUSED, IDS_NET_SERVICE_NOT_STARTED}, {WSAENETRESET, IDS_NET_ABANDONED},
        {WSAECONNABORTED, IDS_NET_ABORTED}, {kNetErrorProxyConnect, IDS_NET_PROXY_UNREACHABLE},
        {kNetErrorProxyRefused, IDS_NET_PROXY_REFUSED}, {WSAETIMEDOUT, IDS_NET_TIMED_OUT},
        {WSAHOST_NOT_FOUND, IDS_NET_NO_INTERNET}, {kNetErrorNoBox, 0},
        {kNetErrorCancelled, 0},            {WSAENOBUFS, IDS_NET_OTHER_ERROR},
        {kNetErrorWaitFailed, IDS_NET_OTHER_ERROR},
    };
    ASSERT_TRUE(AfxSocketInit());
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.error);
        CTestPeer peer;
        CTestConnection conn;
        CHandlerRecorder handler;
        g_boxes.Clear();
        g_boxes.Attach(conn);
        handler.Attach(conn);
        ASSERT_TRUE(conn.Connect("127.0.0.1", peer.Port(), TRUE));
        conn.OnClose(c.error);
        EXPECT_FALSE(conn.IsOpen());
        if (c.stringId == 0) {
            EXPECT_TRUE(g_boxes.calls.empty());
        } else {
            ASSERT_EQ(g_boxes.calls.size(), 1u);
            EXPECT_EQ(g_boxes.calls[0].stringId, c.stringId);
            EXPECT_EQ(g_boxes.calls[0].flags, (UINT)MB_ICONEXCLAMATION);
            EXPECT_STRNE(LoadNetString(c.stringId), "");
        }
        ASSERT_EQ(handler.calls.size(), 1u);
        EXPECT_EQ(handler.calls[0].code, kHandlerConnectionClosed);
    }
}

TEST(ConnectionErrors, RealFailuresReachTheirBoxes)
{
    ASSERT_TRUE(AfxSocketInit());
    {
        SCOPED_TRACE("nobody listens");
        UINT freePort;
        {
            CTestPeer gone;
            freePort = gone.Port();
        }
        CTestConnection conn;
        g_boxes.Clear();
        g_boxes.Attach(conn);
        EXPECT_FALSE(conn.Connect("127.0.0.1", freePort, TRUE));
        ASSERT_EQ(g_boxes.calls.size(), 1u);
        EXPECT_EQ(g_boxes.calls[0].stringId, (UINT)IDS_NET_SERVICE_NOT_STARTED);
    }
    {
        SCOPED_TRACE("unknown host");
        CTestConnection conn;
        g_boxes.Clear();
        g_boxes.Attach(conn);
        EXPECT_FALSE(conn.Connect("no-such-host.invalid", 26100, TRUE));
        ASSERT_EQ(g_boxes.calls.size(), 1u);
        EXPECT_EQ(g_boxes.calls[0].stringId, (UINT)IDS_NET_NO_INTERNET);
    }
    {
        SCOPED_TRACE("connect without asking");
        CTestConnection conn;
        g_boxes.Clear();
        g_boxes.Attach(conn);
        EXPECT_FALSE(conn.Connect("no-such-host.invalid", 26100, FALSE));
        EXPECT_TRUE(g_boxes.calls.empty());
    }
    for (bool reset : {false, true}) {
        SCOPED_TRACE(reset ? "peer resets" : "peer closes");
        CTestPeer peer;
        CTestConnection conn;
        g_boxes.Clear();
        g_boxes.Attach(conn);
        ASSERT_TRUE(conn.Connect("127.0.0.1", peer.Port(), TRUE));
        ASSERT_TRUE(peer.Accept());
        if (reset)
            peer.Reset();
        else
            peer.Close();
        ASSERT_TRUE(PumpUntil([&] { return !conn.IsOpen(); }));
        ASSERT_EQ(g_boxes.calls.size(), 1u);
        EXPECT_EQ(g_boxes.calls[0].stringId, (UINT)IDS_NET_RESET_BY_SERVER);
    }
}

TEST_F(Connection, MessagesSentBeforeAPeerCloseAreDeliveredFirst)
{
    for (uint32_t i = 0; i < 5; ++i)
        ASSERT_TRUE(peer.Send(0x26800 + i, PatternBody(50, i)));
    peer.Close();
    ASSERT_TRUE(PumpUntil([&] { return !conn.IsOpen(); }));
    EXPECT_EQ(handler.MessageIds().size(), 5u);
    ASSERT_FALSE(handler.calls.empty());
    EXPECT_EQ(handler.calls.back().code, kHandlerConnectionClosed);
}

TEST(ConnectionSettings, IdleSecondsComeFromTheSharedSettings)
{
    const char* key = "Software\\Quorvintel\\Game\\Share";
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, key, "IdleSecond");
    EXPECT_EQ(CGameSocket::GetIdleSecond(), 120u);
    HKEY hKey;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, NULL, 0, KEY_SET_VALUE, NULL, &hKey, NULL), ERROR_SUCCESS);
    const DWORD seconds = 45;
    ::RegSetValueExA(hKey, "IdleSecond", 0, REG_DWORD, (const BYTE*)&seconds, sizeof(seconds));
    ::RegCloseKey(hKey);
    EXPECT_EQ(CGameSocket::GetIdleSecond(), 45u);
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, key, "IdleSecond");
}

// ---- A handler that throws ------------------------------------------------------------

namespace {

int ThrowingHandler(void*, void*, uint32_t dwCode)
{
    if (dwCode == 0x26900)
        throw std::runtime_error("handler failed");
    return 0;
}

void ConnectAndDispatchAThrowingHandler()
{
    AfxSocketInit();
    CTestPeer peer;
    CTestConnection conn;
    g_boxes.Attach(conn);
    conn.SetHandler(ThrowingHandler, nullptr);
    if (!conn.Connect("127.0.0.1", peer.Port(), TRUE) || !peer.Accept())
        exit(50);
    peer.Send(0x26900);
    PumpFor(60000);
    exit(0);   // not reached when the fault ends the process
}

}  // namespace

TEST(ConnectionDeathTest, AnExceptionFromAHandlerEndsTheProcessWithAFailureCode)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(ConnectAndDispatchAThrowingHandler(), ::testing::ExitedWithCode(kDispatchFaultExitCode),
                "exception in the handler of message 0x00026900");
}
