// The board library as a host sees it: only the three entry points and the
// callback. Natively these are the static library's; in the Windows build the
// same tests run against Mardavel_Board.dll loaded by name.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "BoardTestSupport.h"
#include "MsgPack.h"

#if defined(BOARD_TEST_USE_DLL)
#include <windows.h>
#endif

namespace {

class Board {
public:
    Board(int32_t mode, const BoardInitBlock* init = nullptr)
    {
        handle = TheBoardApi().create(mode, &TestHost::Callback, host.Cookie(), 0, init);
        EXPECT_NE(handle, nullptr);
    }
    ~Board()
    {
        if (handle)
            TheBoardApi().destroy(handle);
    }
    int32_t Event(int32_t code, int32_t userId = 0, int32_t identify = 0, void* param = nullptr)
    {
        return TheBoardApi().event(handle, code, userId, identify, param);
    }
    void Seat(const BoardPlayerRecord& p) { ASSERT_EQ(Event(kEvAddPlayer, 0, 0, const_cast<BoardPlayerRecord*>(&p)), 1); }

    TestHost host;
    BoardHandle handle = nullptr;
};

std::vector<BoardPlayerRecord> FivePlayers()
{
    std::vector<BoardPlayerRecord> players;
    const char* names[] = {"zhao", "qian", "sun", "li", "zhou"};
    for (uint8_t s = 0; s < 5; ++s)
        players.push_back(MakePlayer(1000u + s, 0, s, names[s]));
    players[3].flags = kPlayerFlagTrustPlay;
    return players;
}

BoardInitBlock InitFor(uint32_t userId, uint8_t identify)
{
    BoardInitBlock init;
    std::memset(&init, 0, sizeof init);
    init.size = sizeof init;
    init.codePage = 936;
    std::strcpy(init.role, "Client");
    init.ownUserId = userId;
    init.ownIdentifyPlusOne = static_cast<uint8_t>(identify + 1);
    init.value1382 = 255;
    return init;
}

// The message of the last callback 7, as the host would lend it on.
std::vector<uint8_t> LastSent(const TestHost& host)
{
    const auto sent = host.Calls(kCbSendRecipient);
    return sent.empty() ? std::vector<uint8_t>() : sent.back()->message;
}

TEST(BoardInterface, CreateAndDestroy)
{
    TestHost host;
    const BoardApi& api = TheBoardApi();
    for (int32_t mode : {kBoardModeReferee, kBoardModePlayer}) {
        BoardHandle h = api.create(mode, &TestHost::Callback, host.Cookie(), 0, nullptr);
        ASSERT_NE(h, nullptr);
        api.destroy(h);
    }
    EXPECT_EQ(api.create(7, &TestHost::Callback, host.Cookie(), 0, nullptr), nullptr);
    api.destroy(nullptr);
    EXPECT_EQ(api.event(nullptr, 0x7777, 0, 0, nullptr), -1);
}

TEST(BoardInterface, CodesNobodyKnowsAreAcceptedByTheGameLevel)
{
    Board b(kBoardModePlayer);
    for (int32_t code : {0x7777, 12345, -3})
        EXPECT_EQ(b.Event(code), 1) << code;
    EXPECT_TRUE(b.host.calls.empty());
}

TEST(BoardInterface, LogLinesComeThroughCallback13)
{
    Board referee(kBoardModeReferee);
    auto msg = MessageBytes(0x26000, 0, "\0\0\0\0", 4);
    // The identify reaches the board reduced to its low 16 bits.
    EXPECT_EQ(referee.Event(kEvGameMessage, 77, 0x12345, AsMsg(msg)), -1);
    const auto logs = referee.host.Calls(kCbLog);
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_EQ(logs[0]->text, "CBoard::OnEventProcessMsg,cannot find player :UserID=77,Identify = 9029");
    const BoardCallbackRecord& r = logs[0]->record;
    EXPECT_EQ(r.cookie, referee.host.Cookie());
    EXPECT_EQ(r.p2, 0);
    EXPECT_EQ(r.p3, 0);
    EXPECT_EQ(r.userId, 0);
    EXPECT_EQ(r.identify, 0);
}

TEST(BoardInterface, Code7RecordNamesItsRecipient)
{
    Board referee(kBoardModeReferee);
    for (const BoardPlayerRecord& p : FivePlayers())
        referee.Seat(p);
    char recipient[] = "a-recipient-name-longer-than-nineteen";
    EXPECT_EQ(referee.Event(kEvSendBoardData, 1002, kIdentifyOwnPlayer, recipient), 1);
    const auto sent = referee.host.Calls(kCbSendRecipient);
    ASSERT_EQ(sent.size(), 1u);
    const BoardCallbackRecord& r = sent[0]->record;
    EXPECT_EQ(r.cookie, referee.host.Cookie());
    EXPECT_EQ(r.code, 7u);
    EXPECT_NE(r.p1, 0);
    EXPECT_EQ(r.p2, 0);
    EXPECT_EQ(std::string(r.recipient), "a-recipient-name-lo");
    EXPECT_EQ(r.recipient[19], '\0');
    EXPECT_EQ(r.userId, -1);
    EXPECT_EQ(r.identify, 255);
    const auto* msg = reinterpret_cast<const NetMsgHeader*>(sent[0]->message.data());
    EXPECT_EQ(msg->id, kMsgBoardData);
    EXPECT_EQ(msg->extra, 1u);
}

TEST(BoardInterface, ExportAndImportCarryTheTable)
{
    const auto players = FivePlayers();
    Board referee(kBoardModeReferee);
    for (const BoardPlayerRecord& p : players)
        referee.Seat(p);
    BoardPlayerRecord watcher = MakePlayer(2000, 3, 0x82, "kan");
    referee.Seat(watcher);
    char to[] = "sun";
    ASSERT_EQ(referee.Event(kEvSendBoardData, 1002, kIdentifyOwnPlayer, to), 1);
    auto stream = LastSent(referee.host);

    const BoardInitBlock init = InitFor(1002, 0);
    Board player(kBoardModePlayer, &init);
    ASSERT_EQ(player.Event(kEvGameMessage, -1, -1, AsMsg(stream)), 1);
    EXPECT_EQ(AsMsg(stream)->id, kMsgBoardData);
    EXPECT_EQ(player.host.Calls(kCbBoardImported).size(), 1u);
    // Every record but the own one is logged.
    EXPECT_EQ(player.host.Calls(kCbLog).size(), 5u);

    BoardPlayerRecord seats[5];
    ASSERT_EQ(player.Event(kEvExportPlayers, 5, 0, seats), 1);
    for (int s = 0; s < 5; ++s)
        EXPECT_EQ(std::memcmp(&seats[s], &players[s], sizeof seats[s]), 0) << s;

    // The request form: 0x80000281 in the request's pointer word.
    PlayerExportRequest request{2000, 3, nullptr};
    ASSERT_EQ(referee.Event(kEvBuildPlayerExport, 0, 0, &request), 1);
    ASSERT_NE(request.message, nullptr);
    EXPECT_EQ(request.message->id, kMsgPlayerBoardData);
    const auto* bytes = reinterpret_cast<const uint8_t*>(request.message);
    std::vector<uint8_t> lent(bytes, bytes + MsgSize(request.message));
    EXPECT_EQ(player.Event(kEvImportBoardData, 0, 0, AsMsg(lent)), 1);
}

TEST(BoardInterface, WrongVersionChangesNothing)
{
    Board referee(kBoardModeReferee);
    for (const BoardPlayerRecord& p : FivePlayers())
        referee.Seat(p);
    char to[] = "li";
    ASSERT_EQ(referee.Event(kEvSendBoardData, 1003, 0, to), 1);
    auto stream = LastSent(referee.host);
    Board player(kBoardModePlayer);
    ASSERT_EQ(player.Event(kEvImportBoardData, 0, 0, AsMsg(stream)), 1);

    Board small(kBoardModeReferee);
    small.Seat(MakePlayer(1, 0, 0, "one"));
    char to2[] = "one";
    ASSERT_EQ(small.Event(kEvSendBoardData, 1, 0, to2), 1);
    auto other = LastSent(small.host);
    const uint32_t future = 0x01000002;
    std::memcpy(other.data() + 12, &future, 4);
    player.host.Clear();
    EXPECT_EQ(player.Event(kEvImportBoardData, 0, 0, AsMsg(other)), -1);
    EXPECT_TRUE(player.host.Calls(kCbBoardImported).empty());
    BoardPlayerRecord seats[5];
    EXPECT_EQ(player.Event(kEvExportPlayers, 5, 0, seats), 1);
    EXPECT_EQ(seats[4].userId, 1004u);
}

TEST(BoardInterface, NullInitBlockMeansNoOwnIdentity)
{
    Board referee(kBoardModeReferee);
    referee.Seat(MakePlayer(0, 0, 0, "zero-id"));
    char to[] = "zero-id";
    ASSERT_EQ(referee.Event(kEvSendBoardData, 0, 0, to), 1);
    auto stream = LastSent(referee.host);
    Board player(kBoardModePlayer);
    ASSERT_EQ(player.Event(kEvImportBoardData, 0, 0, AsMsg(stream)), 1);
    EXPECT_TRUE(player.host.Logged("CBoard::ImportBoardData,nick-zero-id[zero-id,0,0],seat=0 "));
    EXPECT_EQ(player.Event(kEvLoadDisplayMap), -1);  // no map path
}

TEST(BoardInterface, ExportsThatOutgrow64KAreRefusedNextTime)
{
    Board referee(kBoardModeReferee);
    referee.Seat(MakePlayer(1, 0, 0, "host"));
    for (uint32_t i = 0; i < 800; ++i)
        referee.Seat(MakePlayer(10 + i, 1, 0x80, "watcher"));
    char to[] = "host";
    ASSERT_EQ(referee.Event(kEvSendBoardData, 1, 0, to), 1);
    EXPECT_GT(LastSent(referee.host).size(), 0xFFFFu);
    referee.host.Clear();
    EXPECT_EQ(referee.Event(kEvSendBoardData, 1, 0, to), -1);
    EXPECT_TRUE(referee.host.Calls(kCbSendRecipient).empty());
    const auto logs = referee.host.Logs();
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_NE(logs[0].find(", ExportData more than 64K ("), std::string::npos) << logs[0];
}

TEST(BoardInterface, BaseMessagesReportTheSeatToThePlayerSide)
{
    Board referee(kBoardModeReferee);
    for (const BoardPlayerRecord& p : FivePlayers())
        referee.Seat(p);
    char to[] = "zhao";
    ASSERT_EQ(referee.Event(kEvSendBoardData, 1000, 0, to), 1);
    auto stream = LastSent(referee.host);
    Board player(kBoardModePlayer);
    ASSERT_EQ(player.Event(kEvImportBoardData, 0, 0, AsMsg(stream)), 1);
    player.host.Clear();

    auto marked = MessageBytes(kMsgPlayerMarked, 0, "li", 3);
    EXPECT_EQ(player.Event(kEvGameMessage, -1, -1, AsMsg(marked)), 1);
    const auto state = player.host.Calls(kCbObjectState);
    ASSERT_EQ(state.size(), 1u);
    EXPECT_EQ(state[0]->record.p1, 3);
    EXPECT_EQ(state[0]->record.p2, static_cast<intptr_t>(kPlayerFlagTrustPlay | kPlayerFlagMarked));

    auto stranger = MessageBytes(kMsgPlayerOffline, 0, "nobody", 7);
    EXPECT_EQ(player.Event(kEvGameMessage, -1, -1, AsMsg(stranger)), -1);
}

TEST(BoardInterface, WrongSideIsRefused)
{
    BoardPlayerRecord p = MakePlayer(1, 0, 0, "a");
    Board player(kBoardModePlayer);
    EXPECT_EQ(player.Event(kEvAddPlayer, 0, 0, &p), -1);
    Board referee(kBoardModeReferee);
    auto stream = MessageBytes(kMsgBoardData, 1, nullptr, 0);
    EXPECT_EQ(referee.Event(kEvImportBoardData, 0, 0, AsMsg(stream)), -1);
    EXPECT_EQ(referee.Event(kEvLoadDisplayMap), -1);
}

TEST(BoardInterface, DestroyFromInsideACallbackWaitsForTheEvent)
{
    Board* referee = new Board(kBoardModeReferee);
    for (const BoardPlayerRecord& p : FivePlayers())
        referee->Seat(p);
    referee->host.onCallback = [&](const BoardCallbackRecord& r) {
        if (r.code == kCbSendRecipient) {
            TheBoardApi().destroy(referee->handle);
            referee->handle = nullptr;
        }
    };
    char to[] = "sun";
    BoardHandle h = referee->handle;
    EXPECT_EQ(TheBoardApi().event(h, kEvSendBoardData, 1002, 0, to), 1);
    EXPECT_EQ(referee->host.calls.size(), 1u);
    delete referee;
}

#if defined(BOARD_TEST_USE_DLL)
TEST(BoardInterface, DllExportsUndecoratedNames)
{
    HMODULE dll = GetModuleHandleA("Mardavel_Board.dll");
    ASSERT_NE(dll, nullptr);
    for (const char* name : {"QVBoardCreate", "QVBoardEvent", "QVBoardDestory"})
        EXPECT_NE(GetProcAddress(dll, name), nullptr) << name;
    for (const char* name : {"QVBoardCreate@20", "_QVBoardCreate@20", "QVBoardDestroy"})
        EXPECT_EQ(GetProcAddress(dll, name), nullptr) << name;
}
#endif

}  // namespace
