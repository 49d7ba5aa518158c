// The board framework seen from inside: the layers' answers, the hooks, the
// player list, the base messages and the board-data stream.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Board.h"
#include "BoardTestSupport.h"
#include "MardavelBoard.h"

namespace {

// "Board.cpp : <line><rest>": a log line that names its source file and line.
bool IsSourceLine(const std::string& line, const std::string& rest)
{
    const std::string file = "Board.cpp : ";
    if (line.compare(0, file.size(), file) != 0 || line.size() < file.size() + rest.size())
        return false;
    const std::string number = line.substr(file.size(), line.size() - file.size() - rest.size());
    return !number.empty() && number.find_first_not_of("0123456789") == std::string::npos &&
           line.compare(line.size() - rest.size(), rest.size(), rest) == 0;
}

// A game board that records the hooks the framework calls.
class RecordingBoard : public CMardavelBoard {
public:
    std::vector<std::string> hooks;

    int OnPlayerSeat(int32_t seat) override { return Note("seat", seat); }
    int OnPlayerLeave(int32_t seat) override { return Note("leave", seat); }
    int OnSeatFlag(int32_t seat, const char* name, int32_t flag) override
    {
        return Note("flag", seat, name, flag);
    }
    int OnTrustPlay(int32_t seat, const char* name, int32_t state) override
    {
        return Note("trust", seat, name, state);
    }
    int OnOffline(int32_t seat, const char* name) override { return Note("offline", seat, name); }
    int SetOption(int32_t id, int32_t value) override { return Note("option", id, nullptr, value); }

    using CBoard::m_unhandled;

private:
    int Note(const char* what, int32_t a, const char* name = nullptr, int32_t b = 0)
    {
        hooks.push_back(std::string(what) + " " + std::to_string(a) + " " + (name ? name : "-") +
                        " " + std::to_string(b));
        return 1;
    }
};

struct Table {
    TestHost host;
    RecordingBoard board;

    explicit Table(int32_t mode, const BoardInitBlock* init = nullptr)
    {
        EXPECT_EQ(board.Init(mode, &TestHost::Callback, host.Cookie(), init), 1);
    }
    int Event(int32_t code, int32_t userId = 0, int32_t identify = 0, void* param = nullptr)
    {
        return board.OnEvent(code, userId, identify, param);
    }
    void Seat(uint32_t userId, uint8_t identify, uint8_t seat, const char* name)
    {
        BoardPlayerRecord p = MakePlayer(userId, identify, seat, name);
        ASSERT_EQ(board.AddPlayer(&p), 1);
    }
};

// ---- Event dispatch ------------------------------------------------------------------

TEST(BoardEvents, UnknownCodeIsZeroAtFrameworkLevelAndOneAtGameLevel)
{
    TestHost host;
    CBoard framework;
    ASSERT_EQ(framework.Init(kBoardModePlayer, &TestHost::Callback, host.Cookie(), nullptr), 1);
    EXPECT_EQ(framework.OnEvent(0x7777, 0, 0, nullptr), 0);

    CBoardClient client;
    ASSERT_EQ(client.Init(kBoardModePlayer, &TestHost::Callback, host.Cookie(), nullptr), 1);
    EXPECT_EQ(client.OnEvent(0x7777, 0, 0, nullptr), 0);

    Table t(kBoardModePlayer);
    EXPECT_EQ(t.Event(0x7777), 1);
}

TEST(BoardEvents, UnknownMessageIsNotHandledByTheFramework)
{
    TestHost host;
    CBoard framework;
    ASSERT_EQ(framework.Init(kBoardModePlayer, &TestHost::Callback, host.Cookie(), nullptr), 1);
    auto msg = MessageBytes(0x26999, 0, nullptr, 0);
    EXPECT_EQ(framework.OnEvent(kEvGameMessage, -1, -1, AsMsg(msg)), 0);
}

TEST(BoardEvents, SideOnlyOperationsFailOnTheOtherSide)
{
    BoardPlayerRecord p = MakePlayer(1, 0, 0, "a");
    PlayerExportRequest request{1, 0, nullptr};
    auto stream = MessageBytes(kMsgBoardData, 1, nullptr, 0);
    const struct {
        int32_t mode;
        int32_t code;
        void* param;
    } cases[] = {
        {kBoardModePlayer, kEvAddPlayer, &p},
        {kBoardModePlayer, kEvRemovePlayer, nullptr},
        {kBoardModePlayer, kEvSetOption, nullptr},
        {kBoardModePlayer, kEvBuildPlayerExport, &request},
        {kBoardModePlayer, kEvSendBoardData, const_cast<char*>("x")},
        {kBoardModeReferee, kEvImportBoardData, AsMsg(stream)},
        {kBoardModeReferee, kEvLoadDisplayMap, nullptr},
    };
    for (const auto& c : cases) {
        Table t(c.mode);
        EXPECT_EQ(t.Event(c.code, 1, 0, c.param), -1) << std::hex << c.code;
    }
}

TEST(BoardEvents, InitRefusesAnUnknownMode)
{
    TestHost host;
    CMardavelBoard board;
    EXPECT_EQ(board.Init(2, &TestHost::Callback, host.Cookie(), nullptr), 0);
    EXPECT_TRUE(host.Logged("CBoard::Init, unknown mode 2"));
}

TEST(BoardEvents, TheBoardIsSilentWithoutCallbackOrCookie)
{
    TestHost host;
    CMardavelBoard noCookie;
    ASSERT_EQ(noCookie.Init(kBoardModeReferee, &TestHost::Callback, 0, nullptr), 1);
    noCookie.Log("dropped");
    CMardavelBoard noCallback;
    ASSERT_EQ(noCallback.Init(kBoardModeReferee, nullptr, host.Cookie(), nullptr), 1);
    noCallback.Log("dropped");
    EXPECT_TRUE(host.calls.empty());
}

// ---- Players ----------------------------------------------------------------------------

TEST(BoardPlayers, SecondAddOfTheSameUserLeavesOneRecord)
{
    Table t(kBoardModeReferee);
    BoardPlayerRecord p = MakePlayer(7, 1, 3, "seven");
    EXPECT_EQ(t.Event(kEvAddPlayer, 0, 0, &p), 1);
    p.seat = 4;
    EXPECT_EQ(t.Event(kEvAddPlayer, 0, 0, &p), 1);
    ASSERT_EQ(t.board.PlayerCount(), 1u);
    EXPECT_EQ(t.board.PlayerAt(0)->seat, 3);
    EXPECT_EQ(t.board.hooks, std::vector<std::string>{"seat 3 - 0"});

    p.identify = 2;  // same user from another connection
    EXPECT_EQ(t.Event(kEvAddPlayer, 0, 0, &p), 1);
    EXPECT_EQ(t.board.PlayerCount(), 2u);
    EXPECT_EQ(t.Event(kEvAddPlayer, 0, 0, nullptr), -1);
}

TEST(BoardPlayers, NamesAreAlwaysTerminated)
{
    Table t(kBoardModeReferee);
    BoardPlayerRecord p = MakePlayer(1, 0, 0, "x");
    std::memset(p.userName, 'A', sizeof p.userName);
    std::memset(p.nickname, 'B', sizeof p.nickname);
    ASSERT_EQ(t.Event(kEvAddPlayer, 0, 0, &p), 1);
    EXPECT_EQ(std::string(t.board.PlayerAt(0)->userName), std::string(19, 'A'));
    EXPECT_EQ(std::string(t.board.PlayerAt(0)->nickname), std::string(19, 'B'));
}

TEST(BoardPlayers, RemoveTakesTheMatchingRecordAfterTheHook)
{
    Table t(kBoardModeReferee);
    t.Seat(1, 0, 0, "a");
    t.Seat(2, 0, 1, "b");
    t.Seat(2, 5, 0x81, "b-watch");
    EXPECT_EQ(t.Event(kEvRemovePlayer, 2, 5), 1);
    EXPECT_EQ(t.board.hooks.back(), "leave 129 - 0");
    EXPECT_EQ(t.board.PlayerCount(), 2u);
    EXPECT_EQ(t.board.FindPlayer(2, 5), nullptr);
    EXPECT_NE(t.board.FindPlayer(2, 0), nullptr);
    EXPECT_EQ(t.Event(kEvRemovePlayer, 9, 0), -1);
}

TEST(BoardPlayers, ExportPlayersCopiesSeatsInOrderAndFailsAtAGap)
{
    Table t(kBoardModeReferee);
    t.Seat(11, 0, 1, "one");
    t.Seat(10, 0, 0, "zero");
    t.Seat(12, 3, 0x82, "watching-two");
    BoardPlayerRecord out[3];
    std::memset(out, 0, sizeof out);
    EXPECT_EQ(t.Event(kEvExportPlayers, 2, 0, out), 1);
    EXPECT_EQ(out[0].userId, 10u);
    EXPECT_EQ(out[1].userId, 11u);
    EXPECT_EQ(t.Event(kEvExportPlayers, 3, 0, out), -1);  // a watcher does not fill seat 2
    EXPECT_EQ(t.Event(kEvExportPlayers, 1, 0, nullptr), -1);
}

// Seats are exported by the record's seat byte whatever user ids the host gave:
// a lookup by "user id = seat, identify 0" would fail or pick another record
// in every case but the first.
TEST(BoardPlayers, ExportPlayersFindsSeatsByTheirSeatByteWhateverTheUserIds)
{
    struct Rec {
        uint32_t userId;
        uint8_t identify;
        uint8_t seat;
    };
    struct Case {
        const char* what;
        std::vector<Rec> records;  // in list order
        uint32_t expected[3];      // user id exported for seats 0-2
    };
    const Case cases[] = {
        {"host numbers seats 0-2, identify 0", {{0, 0, 0}, {1, 0, 1}, {2, 0, 2}}, {0, 1, 2}},
        {"account ids", {{1000, 0, 0}, {1001, 0, 1}, {1002, 0, 2}}, {1000, 1001, 1002}},
        {"ids counting the other way", {{2, 0, 0}, {1, 0, 1}, {0, 0, 2}}, {2, 1, 0}},
        {"a player with identify 1", {{0, 1, 0}, {1, 0, 1}, {2, 0, 2}}, {0, 1, 2}},
        {"a watcher with a seat's user id listed first",
         {{1, 0, 0x80}, {5, 0, 0}, {6, 0, 1}, {7, 0, 2}}, {5, 6, 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Table t(kBoardModeReferee);
        for (const Rec& r : c.records)
            t.Seat(r.userId, r.identify, r.seat, "p");
        BoardPlayerRecord out[3];
        std::memset(out, 0, sizeof out);
        ASSERT_EQ(t.Event(kEvExportPlayers, 3, 0, out), 1);
        for (int seat = 0; seat < 3; ++seat) {
            EXPECT_EQ(out[seat].userId, c.expected[seat]) << "seat " << seat;
            EXPECT_EQ(out[seat].seat, seat);
        }
    }
}

TEST(BoardPlayers, OwnIdentityTakesTheWatchingBitOffTheSeat)
{
    Table t(kBoardModePlayer);
    BoardPlayerRecord me = MakePlayer(42, 3, 0x84, "me");
    EXPECT_EQ(t.Event(kEvOwnIdentity, 0, 0, &me), 1);
    EXPECT_EQ(t.board.OwnUserId(), 42u);
    EXPECT_EQ(t.board.OwnIdentify(), 3);
    EXPECT_EQ(t.board.OwnSeat(), 4);
    EXPECT_TRUE(t.board.OwnWatching());
    EXPECT_STREQ(t.board.OwnName(), "me");
    EXPECT_EQ(t.Event(kEvOwnIdentity), -1);
}

TEST(BoardPlayers, ResetLeavesOneRecordOrNone)
{
    Table t(kBoardModeReferee);
    t.Seat(1, 0, 0, "a");
    t.Seat(2, 0, 1, "b");
    BoardPlayerRecord only = MakePlayer(9, 0, 2, "only");
    t.board.ResetPlayers(&only);
    ASSERT_EQ(t.board.PlayerCount(), 1u);
    EXPECT_EQ(t.board.PlayerAt(0)->userId, 9u);
    t.board.ResetPlayers(nullptr);
    EXPECT_EQ(t.board.PlayerCount(), 0u);
}

// ---- Sender check and options ---------------------------------------------------------------------

TEST(BoardMessages, RefereeRefusesAMessageFromAStranger)
{
    Table t(kBoardModeReferee);
    t.Seat(5, 1, 0, "five");
    auto msg = MessageBytes(0x26000, 0, "\0\0\0\0", 4);
    EXPECT_EQ(t.Event(kEvGameMessage, 5, 2, AsMsg(msg)), -1);
    EXPECT_TRUE(t.host.Logged("CBoard::OnEventProcessMsg,cannot find player :UserID=5,Identify = 2"));
    t.host.Clear();
    // The identify is compared as a byte; the game level answers the message.
    EXPECT_EQ(t.Event(kEvGameMessage, 5, 0x101, AsMsg(msg)), 1);
    EXPECT_TRUE(t.host.Logs().empty());
    EXPECT_EQ(t.Event(kEvGameMessage, 5, 1, nullptr), -1);
}

TEST(BoardOptions, SingleListAndSpareValue)
{
    Table t(kBoardModeReferee);
    EXPECT_EQ(t.Event(kEvSetOption, 12, 1), 1);
    EXPECT_EQ(t.Event(kEvSetOption, kOptionList, 0, const_cast<char*>("3, 5,,-7")), 1);
    EXPECT_EQ(t.Event(kEvSetOption, kOptionSpareValue, 99), 1);
    EXPECT_EQ(t.Event(kEvSetOption, kOptionList, 0, nullptr), -1);
    EXPECT_EQ(t.board.hooks, (std::vector<std::string>{"option 12 - 1", "option 0 - 3",
                                                        "option 1 - 5", "option 2 - 0",
                                                        "option 3 - -7"}));
    EXPECT_EQ(t.board.SpareValue(), 99);
}

// ---- Base messages ----------------------------------------------------------------------------------

std::vector<uint8_t> NameMessage(uint32_t id, const std::string& name, uint32_t extra = 0)
{
    return MessageBytes(id, extra, name.data(), static_cast<uint32_t>(name.size()));
}

TEST(BoardMessages, MarkUnmarkAndOfflineSetFlagsAndTellThePlayerSide)
{
    const struct {
        uint32_t id;
        uint32_t flagsAfter;
        const char* hook;
    } cases[] = {
        {kMsgPlayerMarked, kPlayerFlagMarked, "flag 2 bob 1"},
        {kMsgPlayerUnmarked, 0, "flag 2 bob 0"},
        {kMsgPlayerOffline, kPlayerFlagOffline, "offline 2 bob 0"},
    };
    for (int32_t mode : {kBoardModeReferee, kBoardModePlayer}) {
        for (const auto& c : cases) {
            Table t(mode);
            BoardPlayerRecord p = MakePlayer(3, 0, 2, "bob");
            t.board.ResetPlayers(&p);
            auto msg = NameMessage(c.id, std::string("bob\0", 4));
            EXPECT_EQ(t.Event(kEvGameMessage, 3, 0, AsMsg(msg)), 1) << c.id;
            EXPECT_EQ(t.board.PlayerAt(0)->flags, c.flagsAfter);
            EXPECT_EQ(t.board.hooks, std::vector<std::string>{c.hook});
            const auto state = t.host.Calls(kCbObjectState);
            if (mode == kBoardModePlayer) {
                ASSERT_EQ(state.size(), 1u);
                EXPECT_EQ(state[0]->record.p1, 2);
                EXPECT_EQ(state[0]->record.p2, static_cast<intptr_t>(c.flagsAfter));
            } else {
                EXPECT_TRUE(state.empty());
            }
        }
    }
}

TEST(BoardMessages, BadNamesChangeNothing)
{
    const std::string tooLong(20, 'b');  // fills the field with no room for the zero
    const struct {
        const char* what;
        std::string body;
    } cases[] = {
        {"unknown player", std::string("eve\0", 4)},
        {"no zero in the body", "bob"},
        {"name too long", tooLong + std::string("\0", 1)},
        {"empty body", ""},
    };
    for (const auto& c : cases) {
        Table t(kBoardModePlayer);
        BoardPlayerRecord p = MakePlayer(3, 0, 2, "bob");
        t.board.ResetPlayers(&p);
        auto msg = NameMessage(kMsgPlayerMarked, c.body);
        EXPECT_EQ(t.Event(kEvGameMessage, 3, 0, AsMsg(msg)), -1) << c.what;
        EXPECT_EQ(t.board.PlayerAt(0)->flags, 0u) << c.what;
        EXPECT_TRUE(t.host.Calls(kCbObjectState).empty()) << c.what;
    }
}

TEST(BoardMessages, TrustStateNeedsExtraWordOne)
{
    Table t(kBoardModePlayer);
    BoardPlayerRecord p = MakePlayer(3, 0, 1, "bob");
    t.board.ResetPlayers(&p);
    const std::string on = std::string("\x01\0\0\0bob\0", 8);
    // Leaving trust play: mode 0 with the counts (1 used of 3) still set.
    const std::string off = std::string("\0\0\x01\x03" "bob\0", 8);

    auto ignored = NameMessage(kMsgTrustState, on, 0);
    EXPECT_EQ(t.Event(kEvGameMessage, 0, 0, AsMsg(ignored)), 1);
    EXPECT_EQ(t.board.PlayerAt(0)->flags, 0u);

    auto set = NameMessage(kMsgTrustState, on, 1);
    EXPECT_EQ(t.Event(kEvGameMessage, 0, 0, AsMsg(set)), 1);
    EXPECT_EQ(t.board.PlayerAt(0)->flags, kPlayerFlagTrustPlay);
    auto clear = NameMessage(kMsgTrustState, off, 1);
    EXPECT_EQ(t.Event(kEvGameMessage, 0, 0, AsMsg(clear)), 1);
    EXPECT_EQ(t.board.PlayerAt(0)->flags, 0u);
    EXPECT_EQ(t.board.hooks, (std::vector<std::string>{"trust 1 bob 1", "trust 1 bob 0"}));
    EXPECT_EQ(t.host.Calls(kCbObjectState).size(), 2u);

    auto shortBody = NameMessage(kMsgTrustState, std::string("\x01\0", 2), 1);
    EXPECT_EQ(t.Event(kEvGameMessage, 0, 0, AsMsg(shortBody)), -1);
}

TEST(BoardMessages, PlayerStateEventsReachTheHooks)
{
    Table t(kBoardModeReferee);
    t.Seat(8, 0, 3, "eight");
    EXPECT_EQ(t.Event(kEvTrustPlay, 8, 1), 1);
    EXPECT_EQ(t.Event(kEvOffline, 8), 1);
    EXPECT_EQ(t.board.PlayerAt(0)->flags, kPlayerFlagOffline);
    EXPECT_EQ(t.Event(kEvOffline, 9), -1);
    EXPECT_EQ(t.Event(kEvSeatFlag, 8, 1, reinterpret_cast<void*>(intptr_t{3})), 1);
    EXPECT_EQ(t.board.hooks, (std::vector<std::string>{"seat 3 - 0", "trust 3 eight 1",
                                                        "offline 3 eight 0", "flag 3 - 1"}));
}

// ---- Board-data stream -----------------------------------------------------------------------------

NetMsgHeader* ExportFor(Table& referee, uint32_t userId, uint8_t identify)
{
    PlayerExportRequest request{userId, identify, nullptr};
    EXPECT_EQ(referee.Event(kEvBuildPlayerExport, 0, 0, &request), 1);
    return request.message;
}

// A board-data message as the host would lend it: its own copy, exact size.
std::vector<uint8_t> Lend(const NetMsgHeader* msg)
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(msg);
    return std::vector<uint8_t>(bytes, bytes + MsgSize(msg));
}

TEST(BoardData, ExportHoldsVersionPlayersAndExtraWordOne)
{
    Table referee(kBoardModeReferee);
    referee.Seat(10, 0, 0, "zero");
    referee.Seat(11, 0, 1, "one");
    NetMsgHeader* msg = ExportFor(referee, 10, kIdentifyOwnPlayer);
    ASSERT_NE(msg, nullptr);
    EXPECT_EQ(msg->id, kMsgPlayerBoardData);
    EXPECT_EQ(msg->extra, 1u);
    // Versions, count and records, then the 3880-byte table state.
    ASSERT_EQ(msg->length, 4u + 4u + 4u + 2u * 88u + 3880u);
    const uint8_t* body = MsgBody(msg);
    uint32_t words[3];
    std::memcpy(words, body, sizeof words);
    EXPECT_EQ(words[0], 0x01000001u);
    EXPECT_EQ(words[1], 0x01000001u);
    EXPECT_EQ(words[2], 2u);
    BoardPlayerRecord second;
    std::memcpy(&second, body + 12 + 88, sizeof second);
    EXPECT_EQ(second.userId, 11u);
    EXPECT_STREQ(second.userName, "one");
}

TEST(BoardData, ImportReplacesTheListAndFindsTheOwnRecord)
{
    Table referee(kBoardModeReferee);
    referee.Seat(10, 0, 0, "zero");
    referee.Seat(11, 0, 1, "one");
    referee.Seat(12, 4, 0x81, "watcher");

    BoardInitBlock init;
    std::memset(&init, 0, sizeof init);
    init.ownUserId = 11;
    init.ownIdentifyPlusOne = 1;
    Table player(kBoardModePlayer, &init);
    for (uint32_t i = 0; i < 5; ++i) {  // a longer, older list
        BoardPlayerRecord old = MakePlayer(100 + i, 0, static_cast<uint8_t>(i), "old");
        ASSERT_EQ(player.board.AddPlayer(&old), 1);
    }
    auto stream = Lend(ExportFor(referee, 12, 4));
    EXPECT_EQ(player.Event(kEvImportBoardData, 0, 0, AsMsg(stream)), 1);
    EXPECT_EQ(AsMsg(stream)->id, kMsgPlayerBoardData);  // the host's id is given back

    ASSERT_EQ(player.board.PlayerCount(), 3u);
    EXPECT_EQ(player.board.PlayerAt(2)->userId, 12u);
    EXPECT_EQ(player.board.OwnUserId(), 11u);
    EXPECT_EQ(player.board.OwnSeat(), 1);
    EXPECT_FALSE(player.board.OwnWatching());
    EXPECT_EQ(player.host.Logs(), (std::vector<std::string>{
                                      "CBoard::ImportBoardData,nick-zero[zero,10,0],seat=0 ",
                                      "CBoard::ImportBoardData,nick-watcher[watcher,12,4],seat=129 ",
                                  }));
    EXPECT_EQ(player.host.Calls(kCbBoardImported).size(), 1u);
}

TEST(BoardData, ImportWithFewerPlayersRemovesTheSurplus)
{
    Table big(kBoardModeReferee);
    for (uint8_t s = 0; s < 5; ++s)
        big.Seat(20u + s, 0, s, "p");
    Table small(kBoardModeReferee);
    small.Seat(30, 0, 0, "q");
    small.Seat(31, 0, 1, "r");

    Table player(kBoardModePlayer);
    auto first = Lend(ExportFor(big, 20, kIdentifyOwnPlayer));
    AsMsg(first)->id = kMsgBoardData;
    ASSERT_EQ(player.Event(kEvGameMessage, -1, -1, AsMsg(first)), 1);
    ASSERT_EQ(player.board.PlayerCount(), 5u);
    auto second = Lend(ExportFor(small, 30, kIdentifyOwnPlayer));
    AsMsg(second)->id = kMsgBoardData;
    ASSERT_EQ(player.Event(kEvGameMessage, -1, -1, AsMsg(second)), 1);
    ASSERT_EQ(player.board.PlayerCount(), 2u);
    EXPECT_EQ(player.board.PlayerAt(0)->userId, 30u);
    EXPECT_EQ(player.board.PlayerAt(1)->userId, 31u);
}

TEST(BoardData, BadStreamsAreRefusedBeforeAnythingChanges)
{
    Table referee(kBoardModeReferee);
    referee.Seat(10, 0, 0, "zero");
    referee.Seat(11, 0, 1, "one");
    auto good = Lend(ExportFor(referee, 10, kIdentifyOwnPlayer));

    const struct {
        const char* what;
        size_t wordOffset;  // body word to change
        uint32_t value;
        size_t cut;         // bytes taken off the body's end
    } cases[] = {
        {"wrong leading version", 0, 0x01000002, 0},
        {"wrong framework version", 4, 0x01000000, 0},
        {"count beyond the records", 8, 3, 0},
        {"huge count", 8, 0xFFFFFFFF, 0},
        {"last record cut short", 8, 2, 1},
        {"no count", 8, 2, 2 * 88 + 1},
    };
    for (const auto& c : cases) {
        Table player(kBoardModePlayer);
        BoardPlayerRecord keep = MakePlayer(77, 0, 0, "keep");
        player.board.ResetPlayers(&keep);
        std::vector<uint8_t> bytes(good.begin(), good.end() - static_cast<long>(c.cut));
        AsMsg(bytes)->length -= static_cast<uint32_t>(c.cut);
        if (12 + c.wordOffset + 4 <= bytes.size())
            std::memcpy(bytes.data() + 12 + c.wordOffset, &c.value, 4);
        EXPECT_EQ(player.Event(kEvImportBoardData, 0, 0, AsMsg(bytes)), -1) << c.what;
        ASSERT_EQ(player.board.PlayerCount(), 1u) << c.what;
        EXPECT_EQ(player.board.PlayerAt(0)->userId, 77u) << c.what;
        EXPECT_TRUE(player.host.Calls(kCbBoardImported).empty()) << c.what;
    }
}

TEST(BoardData, ExportForAStrangerIsRefused)
{
    Table referee(kBoardModeReferee);
    referee.Seat(10, 0, 0, "zero");
    PlayerExportRequest request{99, 0, nullptr};
    EXPECT_EQ(referee.Event(kEvBuildPlayerExport, 0, 0, &request), -1);
    EXPECT_EQ(request.message, nullptr);
    EXPECT_EQ(referee.Event(kEvSendBoardData, 99, 0, const_cast<char*>("x")), -1);
    EXPECT_EQ(referee.Event(kEvSendBoardData, 10, kIdentifyOwnPlayer, nullptr), -1);
    EXPECT_TRUE(referee.host.Calls(kCbSendRecipient).empty());
}

// Records the recipient role that the game level is asked to export for.
class RoleBoard : public CMardavelBoard {
public:
    int32_t seat = -9, identify = -9;
    int ExportBoardData(NetMsgHeader** stream, int32_t a, int32_t b, int32_t s, int32_t id) override
    {
        seat = s;
        identify = id;
        return CMardavelBoard::ExportBoardData(stream, a, b, s, id);
    }
};

TEST(BoardData, RecipientRoleComesFromItsRecord)
{
    TestHost host;
    RoleBoard board;
    ASSERT_EQ(board.Init(kBoardModeReferee, &TestHost::Callback, host.Cookie(), nullptr), 1);
    for (const BoardPlayerRecord& p : {MakePlayer(10, 0, 2, "player"), MakePlayer(11, 6, 0x82, "watcher")})
        ASSERT_EQ(board.AddPlayer(&p), 1);
    const struct {
        uint32_t userId, identify;
        int32_t seat, exportIdentify;
    } cases[] = {
        {10, kIdentifyOwnPlayer, 2, kIdentifyOwnPlayer},
        {10, 0, 2, kIdentifyOwnPlayer},
        {11, 6, 2, 6},
    };
    for (const auto& c : cases) {
        PlayerExportRequest request{c.userId, c.identify, nullptr};
        ASSERT_EQ(board.OnEvent(kEvBuildPlayerExport, 0, 0, &request), 1);
        EXPECT_EQ(board.seat, c.seat);
        EXPECT_EQ(board.identify, c.exportIdentify);
    }
}

TEST(BoardData, ExportOfMoreThan64KIsRefused)
{
    Table referee(kBoardModeReferee);
    referee.Seat(10, 0, 0, "zero");
    referee.board.SetExportSize(0x10000);
    EXPECT_EQ(referee.Event(kEvSendBoardData, 10, kIdentifyOwnPlayer, const_cast<char*>("to")), -1);
    EXPECT_TRUE(referee.host.Calls(kCbSendRecipient).empty());
    const auto logs = referee.host.Logs();
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_TRUE(IsSourceLine(logs[0], ", ExportData more than 64K (00010000)")) << logs[0];

    referee.host.Clear();
    referee.board.SetExportSize(0xFFFF);  // the largest size still taken
    EXPECT_EQ(referee.Event(kEvSendBoardData, 10, kIdentifyOwnPlayer, const_cast<char*>("to")), 1);
    referee.board.SetExportSize(0);
    EXPECT_EQ(referee.Event(kEvSendBoardData, 10, kIdentifyOwnPlayer, const_cast<char*>("to")), -1);
}

TEST(BoardData, ExportRemembersTheGrownSize)
{
    Table referee(kBoardModeReferee);
    for (uint32_t i = 0; i < 20; ++i)
        referee.Seat(100 + i, 0, static_cast<uint8_t>(i < 5 ? i : 0x80 | (i % 5)), "p");
    ASSERT_NE(ExportFor(referee, 100, kIdentifyOwnPlayer), nullptr);
    // 1024 bytes held the first eleven records; the twelfth grew the block to
    // header + used + record + 4096 (5176 bytes), which held the other
    // records; the table state grew it to header + used + 3880 + 4096.
    EXPECT_EQ(referee.board.ExportSize(), 12u + (12u + 20u * 88u) + 3880u + 4096u);
    // A smaller buffer asked for later does not shrink the one held.
    referee.board.SetExportSize(16);
    ASSERT_NE(ExportFor(referee, 100, kIdentifyOwnPlayer), nullptr);
}

TEST(BoardData, ExportOutOfMemoryIsLogged)
{
    Table referee(kBoardModeReferee);
    referee.Seat(10, 0, 0, "zero");
    gpFailAllocationAfter(0);
    EXPECT_EQ(referee.Event(kEvSendBoardData, 10, kIdentifyOwnPlayer, const_cast<char*>("to")), -1);
    const auto logs = referee.host.Logs();
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_TRUE(IsSourceLine(logs[0], " Out of Memory !")) << logs[0];
}

// ---- Creation failures ---------------------------------------------------------------------

TEST(BoardCreate, TableAllocationFailuresAreLoggedAndFail)
{
    const char* lines[] = {
        "m_pScriptMap (PQVSCRIPTMAP)gpMalloc !!!",
        "m_pfFuncMap (MAPFUNC *)gpMalloc Failed !!!",
        "m_pdwVarName (DWORD *)gpMalloc Failed !!!",
    };
    for (int i = 0; i < 3; ++i) {
        TestHost host;
        gpFailAllocationAfter(i);
        EXPECT_EQ(QVBoardCreate(kBoardModePlayer, &TestHost::Callback, host.Cookie(), 0, nullptr),
                  nullptr);
        gpFailAllocationAfter(-1);
        EXPECT_EQ(host.Logs(), std::vector<std::string>{lines[i]});
    }
}

}  // namespace
