// Feeds arbitrary bytes to the board as messages (event 1) and as board-data
// streams (event 0x1006 / message 0x80000280), on a referee and a player
// board, through the packing library's readers, and as a display-object map
// file (event 0). The first byte picks the target; message blocks are exactly
// as long as their header says, so the sanitizers see any read past a body.
//
// A first byte of 0xF0 or more plays a table instead: a referee and five
// player boards with watchers, seeded from the input, get a sequence of game
// messages with valid headers (bodies and senders from the input, some built
// from the table's own cards), commands, automatic players and legal moves.
// Whatever arrives, every card the referee dealt stays in a hand or on the
// table.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "BoardInterface.h"
#include "MardavelBoard.h"
#include "MardavelPlay.h"
#include "MardavelTableHarness.h"
#include "MsgPack.h"

namespace {

int32_t QVBOARD_CALL IgnoreCallback(BoardCallbackRecord*)
{
    return 1;
}

BoardPlayerRecord Player(uint32_t userId, uint8_t identify, uint8_t seat, char tag)
{
    BoardPlayerRecord r;
    std::memset(&r, 0, sizeof r);
    r.userId = userId;
    r.identify = identify;
    r.seat = seat;
    r.userName[0] = tag;
    return r;
}

BoardHandle Referee()
{
    BoardHandle h = QVBoardCreate(kBoardModeReferee, &IgnoreCallback, 1, 0, nullptr);
    for (uint8_t s = 0; s < 5; ++s) {
        BoardPlayerRecord p = Player(100u + s, 0, s, static_cast<char>('a' + s));
        QVBoardEvent(h, kEvAddPlayer, 0, 0, &p);
    }
    BoardPlayerRecord w = Player(200, 1, 0x81, 'w');
    QVBoardEvent(h, kEvAddPlayer, 0, 0, &w);
    return h;
}

BoardHandle PlayerBoard()
{
    BoardInitBlock init;
    std::memset(&init, 0, sizeof init);
    init.ownUserId = 102;
    init.ownIdentifyPlusOne = 1;
    return QVBoardCreate(kBoardModePlayer, &IgnoreCallback, 1, 0, &init);
}

// A message block of header + body, the header's id from the input.
std::vector<uint8_t> Message(uint32_t id, uint32_t extra, const uint8_t* body, size_t size)
{
    const uint32_t header = MsgHeaderSize(id);
    std::vector<uint8_t> bytes(header + size);
    const NetMsgHeader h{id, static_cast<uint32_t>(size), extra};
    std::memcpy(bytes.data(), &h, header);
    if (size)
        std::memcpy(bytes.data() + header, body, size);
    return bytes;
}

uint32_t Word(const uint8_t*& data, size_t& size)
{
    uint32_t w = 0;
    const size_t n = size < 4 ? size : 4;
    std::memcpy(&w, data, n);
    data += n;
    size -= n;
    return w;
}

void ReadWithPackers(const uint8_t* data, size_t size)
{
    const int32_t n1 = static_cast<int32_t>(Word(data, size)) % 300;
    const int32_t n2 = static_cast<int32_t>(Word(data, size)) % 300;
    // Each reader on the header form it is made for.
    for (uint32_t id : {0x26000u, 0x80026000u}) {
        const bool isLong = (id & kMsgLongHeaderBit) != 0;
        const uint32_t header = MsgHeaderSize(id);
        auto bytes = Message(id, 0, data, size);
        auto* msg = reinterpret_cast<NetMsgHeader*>(bytes.data());
        std::vector<uint8_t> d1(n1 < 0 ? -n1 : n1), d2(n2 < 0 ? -n2 : n2);
        if (isLong)
            MsgParseEx(msg, {{n1, d1.data()}, {n2, d2.data()}});
        else
            MsgParse(msg, {{n1, d1.data()}, {n2, d2.data()}});
        msg->id = 0;
        char text[16];
        uint32_t length = 0;
        for (;;) {
            const bool read = isLong ? StreamRead(msg, d1.data(), n1, d2.data(), n2)
                                     : StreamReadPlain(msg, d1.data(), n1, d2.data(), n2);
            if (!read && !StreamTake(msg, header, n1) &&
                !StreamReadString(msg, header, text, sizeof text) &&
                !StreamPeekString(msg, header, &length) && !(isLong && StreamTakeBytes(msg, 1)))
                break;
        }
    }
}

int32_t QVBOARD_CALL CreateObjects(BoardCallbackRecord* r)
{
    // Refuse some objects so that the failure path runs too.
    return r->code == kCbCreateDisplayObject ? (r->userId != 13) : 1;
}

void LoadMapFile(const uint8_t* data, size_t size)
{
    static const std::string path = "/tmp/fuzz-board-map-" + std::to_string(getpid()) + ".ini";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    BoardInitBlock init;
    std::memset(&init, 0, sizeof init);
    std::memcpy(init.mapIniPath, path.c_str(), path.size() + 1);
    std::memset(init.clientExePath, 'E', sizeof init.clientExePath);  // no zero: bounded reads
    std::strcpy(init.gameDllPath, "%d%GameDllPath%");
    BoardHandle h = QVBoardCreate(kBoardModePlayer, &CreateObjects, 1, 0, &init);
    QVBoardEvent(h, kEvLoadDisplayMap, 0, 0, nullptr);
    for (int32_t code = 2; code <= 10; ++code)
        QVBoardEvent(h, code, static_cast<int32_t>(size % 7), 1, nullptr);
    QVBoardDestory(h);
    std::remove(path.c_str());
}

// ---- a table driven by the input

class Input {
public:
    Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool More() const { return m_at < m_size; }
    uint8_t Byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    std::vector<uint8_t> Bytes(size_t n)
    {
        n = std::min(n, m_size - m_at);
        std::vector<uint8_t> out(m_data + m_at, m_data + m_at + n);
        m_at += n;
        return out;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

const uint32_t kGameIds[] = {
    kMsgReady, kMsgEmperorChoice, kMsgGuardChoice, kMsgPlay, kMsgWatchersMaySee, kMsgRestart,
    kMsgKickChoice, kMsgRelayedBlock, kMsgAnnouncement, kMsgBlock, kMsgEntries, kMsgDeal,
    kMsgEmperorResult, kMsgScore, kMsgPlayerMarked, kMsgPlayerUnmarked, kMsgPlayerOffline, kMsgTrustState,
    kMsgBoardData,
};

const int32_t kEvents[] = {
    kEvReady, kEvAcceptEmperor, kEvPassEmperorCard, kEvPlayAlone, kEvGuardOpen, kEvGuardHidden, kEvKick,
    kEvNoKick, kEvPlayCards, kEvPass, kEvNextHint, kEvToggleSort, kEvToggleWatchersMaySee, kEvTableState,
    kEvSavedCounts, kEvSavedCards, kEvIdenticalCards, kEvBothMarkedCards, kEvLiveTable, kEvSendMessageLog,
    kEvAnnounce, kEvSeatSummaries, kEvWrapBlock, kEvNameSeatPlayer, kEvSendTableSummary, kEvRelayEntries,
    kEvReadSeatValues, kEvSetOption, kEvSetCard, kEvUndoReplayStep,
};

// A body built from the table: the sender's seat and cards of its hand.
std::vector<uint8_t> PlausibleBody(uint32_t id, int seat, const BoardGameState& s, Input& in)
{
    std::vector<uint32_t> words;
    std::vector<uint8_t> tail;
    const int held = HandCount(s, seat);
    auto card = [&]() { return held > 0 ? s.hands[seat][in.Byte() % held].id : in.Byte(); };
    switch (id) {
    case kMsgEmperorChoice: {
        const uint32_t n = in.Byte() % 4;
        words = {static_cast<uint32_t>(seat), 1u + in.Byte() % 3, 0, n};
        for (uint32_t i = 0; i < n; ++i)
            tail.push_back(card());
        tail.resize(9, 0);
        break;
    }
    case kMsgPlay: {
        const uint32_t n = in.Byte() % 4;
        words = {static_cast<uint32_t>(seat), static_cast<uint32_t>(-1), n};
        for (uint32_t i = 0; i < n; ++i)
            words.push_back(card());
        break;
    }
    default:
        words = {static_cast<uint32_t>(seat), static_cast<uint32_t>(static_cast<int>(in.Byte() % 4) - 1), 0};
        break;
    }
    std::vector<uint8_t> body(words.size() * 4);
    std::memcpy(body.data(), words.data(), body.size());
    body.insert(body.end(), tail.begin(), tail.end());
    return body;
}

void GameMessage(TableHarness& t, Input& in, bool toReferee)
{
    const uint8_t who = in.Byte();
    const uint32_t id = kGameIds[in.Byte() % (sizeof kGameIds / sizeof kGameIds[0])];
    const uint8_t shape = in.Byte();
    auto& parties = t.Parties();
    const size_t players = parties.size() - 1;
    TableHarness::Party& from = *parties[1 + who % players];
    std::vector<uint8_t> body;
    if (shape & 1)
        body = PlausibleBody(id, from.seat, t.RefereeState(), in);
    else
        body = in.Bytes(shape >> 1);
    auto msg = Message(id, in.Byte() & 1, body.data(), body.size());
    if (toReferee) {
        // A seated player, a watcher, or someone not at the table.
        const bool stranger = (who & 0x80) != 0;
        t.Event(t.Referee(), kEvGameMessage, stranger ? 999 : static_cast<int32_t>(from.record.userId),
                from.record.identify, msg.data());
    } else {
        t.Event(from, kEvGameMessage, -1, -1, msg.data());
    }
}

void GameEvent(TableHarness& t, Input& in)
{
    static std::vector<uint8_t> scratch(70000);
    const uint8_t who = in.Byte();
    const int32_t code = kEvents[in.Byte() % (sizeof kEvents / sizeof kEvents[0])];
    const int32_t a = static_cast<int8_t>(in.Byte());
    int32_t b = static_cast<int8_t>(in.Byte());
    auto& parties = t.Parties();
    TableHarness::Party& board = *parties[who % parties.size()];
    std::fill(scratch.begin(), scratch.begin() + 64, 0);
    std::strcpy(reinterpret_cast<char*>(scratch.data()), "seat1");
    void* param = scratch.data();
    if (code == kEvSetCard && !board.referee)
        param = const_cast<CardEntry*>(&board.state->hands[who % 5][in.Byte() % kCardAreaSize]);
    if (code == kEvUndoReplayStep)
        param = nullptr;
    if (code == kEvSetOption)
        b = in.Byte() % 3;
    if (code == kEvWrapBlock && !board.referee)
        param = nullptr;  // the player side hands a message on
    t.Event(board, code, a, b, param);
}

void PlayTable(const uint8_t* data, size_t size)
{
    Input in(data, size);
    const uint32_t seed = in.Byte() | (in.Byte() << 8);
    const uint8_t mask = in.Byte();
    TableHarness t(seed);
    t.SetChecksEachDelivery(false);
    t.Setup({{kOptMoreCardsBeat, mask & 1}, {kOptLowestLast, (mask >> 1) & 1},
             {kOptAllSeatsGuardStep, (mask >> 2) & 1}, {kOptShortPacks, (mask >> 3) & 1},
             {kOptJointFirstDecision, (mask >> 4) & 1}, {kOptNoGuardCard, (mask >> 5) & 1},
             {kOptKickRules, (mask >> 6) & 1}, {kOptHandsPerMatch, 2}},
            {0, 3});
    for (int ops = 0; in.More() && ops < 200; ++ops) {
        switch (in.Byte() % 6) {
        case 0: GameMessage(t, in, true); break;
        case 1: GameMessage(t, in, false); break;
        case 2:
            for (int n = 1 + in.Byte() % 32; n > 0 && t.ActOnce(); --n)
                t.Pump();
            break;
        case 3: {
            const uint8_t b = in.Byte();
            if (b & 0x80)
                t.SetOffline(b % 5);
            else
                t.SetTrustPlay(b % 5, (b & 0x40) != 0);
            break;
        }
        case 4: GameEvent(t, in); break;
        default: break;
        }
        t.Pump();
        t.CheckCards();
        for (const std::string& p : t.Problems())
            if (p.rfind("cards do not add up", 0) == 0 || p == "the messages never end") {
                std::fprintf(stderr, "%s\n", p.c_str());
                std::abort();
            }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    if (data[0] >= 0xF0) {
        PlayTable(data + 1, size - 1);
        return 0;
    }
    const uint8_t mode = data[0] % 5;
    ++data;
    --size;
    if (mode == 3) {
        ReadWithPackers(data, size);
        return 0;
    }
    if (mode == 4) {
        LoadMapFile(data, size);
        return 0;
    }

    BoardHandle referee = Referee();
    BoardHandle player = PlayerBoard();
    if (mode == 0 || mode == 1) {
        // id, extra word, sender (a seat of the table, or anyone), then the body.
        const uint32_t id = Word(data, size);
        const uint32_t extra = Word(data, size);
        const uint32_t sender = Word(data, size);
        auto bytes = Message(id, extra, data, size);
        auto* msg = reinterpret_cast<NetMsgHeader*>(bytes.data());
        if (mode == 0)
            QVBoardEvent(referee, kEvGameMessage, static_cast<int32_t>(100 + sender % 7), 0, msg);
        else
            QVBoardEvent(player, kEvGameMessage, -1, -1, msg);
    } else {
        // A board-data stream, both ways in.
        auto bytes = Message(kMsgBoardData, 1, data, size);
        auto* msg = reinterpret_cast<NetMsgHeader*>(bytes.data());
        QVBoardEvent(player, kEvImportBoardData, 0, 0, msg);
        QVBoardEvent(player, kEvGameMessage, -1, -1, msg);
        // Whatever was imported exports again.
        PlayerExportRequest request{102, kIdentifyOwnPlayer, nullptr};
        QVBoardEvent(referee, kEvBuildPlayerExport, 0, 0, &request);
        BoardPlayerRecord seats[5];
        QVBoardEvent(player, kEvExportPlayers, 5, 0, seats);
    }
    QVBoardDestory(referee);
    QVBoardDestory(player);
    return 0;
}
