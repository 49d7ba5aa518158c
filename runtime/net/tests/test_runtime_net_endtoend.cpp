// End to end against the table server stand-in: the connection joins the
// table with 0x200, reads the player list of the reply, and a test handler
// with the board's player side plays a whole hand through it.
//
// The server runs as a native program beside Wine; run_with_tableserver.sh
// starts it and names its port in MARDAVEL_TABLESERVER_PORT.
#include "NetTestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "BoardInterface.h"
#include "MardavelState.h"

namespace {

constexpr int32_t kEvReady = 10000;
constexpr int32_t kEvTakeEmperor = 10010;
constexpr int32_t kEvHiddenProtection = 10021;
constexpr int32_t kEvPlaySelected = 10030;
constexpr int32_t kEvPass = 10031;
constexpr int32_t kEvTableState = 10050;
constexpr uint32_t kCbTableRefresh = 10000;
constexpr uint32_t kMsgDeal = 0x80026001;
constexpr uint32_t kMsgPlay = 0x26005;
constexpr uint32_t kMsgScore = 0x80026006;
constexpr int kSeats = 5;
constexpr uint16_t kOwnChair = 2;
const char kUser[] = "carol";

// One player record of the join reply.
struct JoinPlayer {
    uint32_t chairAndCodePage;
    char userName[20];
    char nickname[20];
    uint32_t value;
};
static_assert(sizeof(JoinPlayer) == 48, "join player record is 48 bytes");

std::vector<uint8_t> JoinBody(const char* user, uint16_t chair)
{
    std::vector<uint8_t> body(108, 0);
    memcpy(body.data(), user, strlen(user));
    body[102] = uint8_t(chair);
    body[103] = uint8_t(chair >> 8);
    body[104] = 3;
    return body;
}

// The game handler of the test: hands every game message to the board and
// answers the own turns the simple way (ready, take the emperor's place,
// hidden protection, lead the lowest card, otherwise pass). When the board
// asks to hold further messages, reading is suspended and a timer resumes
// it, as the table window does (a tenth of the time, to keep the test short).
class CBoardHandler
{
public:
    explicit CBoardHandler(CGameSocket& socket) : m_socket(socket)
    {
        s_current = this;
        m_board = QVBoardCreate(kBoardModePlayer, &CBoardHandler::Callback, reinterpret_cast<uintptr_t>(this), 0,
                                nullptr);
        BoardPlayerRecord identity;
        memset(&identity, 0, sizeof(identity));
        memcpy(identity.userName, kUser, sizeof(kUser));
        identity.seat = uint8_t(kOwnChair);
        QVBoardEvent(m_board, kEvOwnIdentity, 0, 0, &identity);
        QVBoardEvent(m_board, kEvTableState, 0, 0, &m_state);
    }
    ~CBoardHandler()
    {
        QVBoardDestory(m_board);
        s_current = nullptr;
    }

    bool Ready() const { return m_board != nullptr && m_state != nullptr; }
    static int Handler(void* pContext, void* pData, uint32_t dwCode)
    {
        auto* self = static_cast<CBoardHandler*>(pContext);
        if (dwCode == kHandlerConnectionClosed) {
            self->closed = true;
            return 0;
        }
        if (dwCode == kHandlerTrustState || dwCode == kHandlerTrustQuit)
            return 0;
        self->ids.push_back(dwCode);
        self->receivingStopped = self->receivingStopped && !self->m_socket.IsReceiving();
        if (self->m_holding)
            self->deliveredWhileHeld++;
        if (dwCode == kMsgScore && MsgBodyLength(pData) >= 4 * kSeats) {
            self->scores++;
            for (int seat = 0; seat < kSeats; ++seat)
                self->scoreSum += int32_t(ReadWireU32(MsgBody(pData) + 4 * seat));
        }
        QVBoardEvent(self->m_board, kEvGameMessage, -1, -1, pData);
        self->m_applied++;
        self->Act();
        return 0;
    }

    std::vector<uint32_t> ids;
    std::vector<uint32_t> sent;
    int scores = 0;
    int64_t scoreSum = 0;
    bool closed = false;
    bool receivingStopped = true;
    int holds = 0;
    int deliveredWhileHeld = 0;
    bool Holding() const { return m_holding; }

private:
    static int32_t QVBOARD_CALL Callback(BoardCallbackRecord* record)
    {
        auto* self = reinterpret_cast<CBoardHandler*>(record->cookie);
        switch (record->code) {
        case kCbSendReferee: {
            const void* message = reinterpret_cast<const void*>(record->p1);
            self->sent.push_back(MsgId(message));
            self->m_socket.SendMsg(message);
            break;
        }
        case kCbTableRefresh:
            // During the play, word 9 says whether the seat to act can only
            // pass: the referee passes for it then.
            self->m_mustPass = record->userId == 1;
            break;
        case kCbHoldMessages:
            if (record->p1 > 0 && !self->m_holding) {
                self->m_holding = true;
                self->holds++;
                self->m_socket.SuspendReceive();
                ::SetTimer(NULL, 0, UINT(std::max<intptr_t>(record->p1 / 10, 1)), &CBoardHandler::EndHold);
            }
            break;
        default:
            break;
        }
        return 1;
    }

    static void CALLBACK EndHold(HWND, UINT, UINT_PTR id, DWORD)
    {
        ::KillTimer(NULL, id);
        if (s_current != nullptr && s_current->m_holding) {
            s_current->m_holding = false;
            s_current->m_socket.ResumeReceive();
        }
    }

    void Act()
    {
        if (!m_state || m_actedAt == m_applied)
            return;
        const BoardGameState& s = *m_state;
        int32_t event = 0;
        switch (s.phase) {
        case kPhaseIdle:
            if (!s.readyMarks[kOwnChair])
                event = kEvReady;
            break;
        case kPhaseEmperor:
            if (s.seatToAct == kOwnChair)
                event = kEvTakeEmperor;
            break;
        case kPhaseGuard:
            event = kEvHiddenProtection;   // refused by the board when the seat has no say
            break;
        case kPhasePlay:
            if (s.seatToAct != kOwnChair || m_mustPass)
                break;
            if (s.leadSeat == kOwnChair && s.seats[kOwnChair].cardsInHand > 0) {
                CardEntry* hand = m_state->hands[kOwnChair];
                const uint32_t count = std::min<uint32_t>(s.seats[kOwnChair].cardsInHand, kCardAreaSize);
                for (uint32_t i = 0; i < count; ++i)
                    hand[i].flags &= uint8_t(~kCardSelected);
                hand[count - 1].flags |= kCardSelected;
                event = kEvPlaySelected;
            } else {
                event = kEvPass;
            }
            break;
        default:
            break;
        }
        if (event == 0)
            return;
        m_actedAt = m_applied;
        QVBoardEvent(m_board, event, -1, -1, nullptr);
    }

    static CBoardHandler* s_current;
    CGameSocket& m_socket;
    BoardHandle m_board = nullptr;
    BoardGameState* m_state = nullptr;
    bool m_mustPass = false;
    bool m_holding = false;
    uint64_t m_applied = 0;
    uint64_t m_actedAt = ~uint64_t(0);
};
CBoardHandler* CBoardHandler::s_current = nullptr;

}  // namespace

TEST(EndToEnd, JoinsTheTableAndPlaysAWholeHand)
{
    const char* portText = getenv("MARDAVEL_TABLESERVER_PORT");
    if (portText == nullptr)
        GTEST_SKIP() << "no table server: run through run_with_tableserver.sh";
    ASSERT_TRUE(AfxSocketInit());
    CTestConnection conn;
    g_boxes.Clear();
    g_boxes.Attach(conn);
    conn.SetOwnUserName(kUser);
    ASSERT_TRUE(conn.Connect("127.0.0.1", (UINT)atoi(portText), TRUE));

    // The join and its player list.
    const std::vector<uint8_t> body = JoinBody(kUser, kOwnChair);
    const std::vector<uint8_t> join = BuildNetMessage(netmsg::kJoin, body.data(), (uint32_t)body.size());
    void* reply = nullptr;
    ASSERT_TRUE(conn.SendMsg(join.data(), &reply));
    conn.StopReceive();   // the board is made before anything else is read
    ASSERT_EQ(MsgId(reply), ReplyIdOf(netmsg::kJoin));
    EXPECT_EQ(MsgResult(reply) & 0xFF, 1u);
    const uint8_t* players = MsgBody(reply);
    const uint32_t length = MsgBodyLength(reply);
    ASSERT_GE(length, 4u);
    const uint16_t count = ReadWireU16(players);
    ASSERT_EQ(count, kSeats);
    ASSERT_GE(length, 4u + count * sizeof(JoinPlayer));
    int own = -1;
    for (int i = 0; i < count; ++i) {
        JoinPlayer player;
        memcpy(&player, players + 4 + i * sizeof(JoinPlayer), sizeof(player));
        EXPECT_EQ(player.chairAndCodePage >> 16, 936u);
        if (strncmp(player.userName, kUser, sizeof(player.userName)) == 0)
            own = int(player.chairAndCodePage & 0xFFFF);
    }
    EXPECT_EQ(own, kOwnChair);
    FreeNetMessage(reply);

    CBoardHandler handler(conn);
    ASSERT_TRUE(handler.Ready());
    conn.SetHandler(CBoardHandler::Handler, &handler);
    conn.StartReceive();

    ASSERT_TRUE(PumpUntil([&] { return handler.scores >= 1 || handler.closed; }, 90000))
        << "no hand was scored; messages seen: " << handler.ids.size();
    EXPECT_FALSE(handler.closed);
    EXPECT_EQ(handler.scoreSum, 0);
    EXPECT_TRUE(handler.receivingStopped);
    // The board asked to hold messages after plays; none came during a hold.
    EXPECT_GT(handler.holds, 0);
    EXPECT_EQ(handler.deliveredWhileHeld, 0);
    auto seen = [&](uint32_t id) { return std::count(handler.ids.begin(), handler.ids.end(), id); };
    EXPECT_EQ(seen(kMsgBoardData), 1);
    EXPECT_EQ(seen(kMsgDeal), 1);
    EXPECT_GT(seen(kMsgPlay), 0);
    // The own seat took part: ready, and plays or passes of its own.
    EXPECT_GE(std::count(handler.sent.begin(), handler.sent.end(), 0x26000u), 1);
    EXPECT_GT(handler.sent.size(), 1u);
    EXPECT_TRUE(g_boxes.calls.empty());

    conn.LeaveAndClose();
    EXPECT_FALSE(conn.IsOpen());
}
