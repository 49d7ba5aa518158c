// The game board's frame: event and message dispatch, the messages out, the
// message log, the board-data stream, the player hooks, and the small game
// events (relays, queries, replay). Readiness, the deal and the decisions are
// in MardavelBoardHand.cpp, the play in MardavelBoardPlay.cpp.
#include "MardavelBoard.h"

#include <algorithm>
#include <cstring>

#include "MardavelBoardInternal.h"
#include "MardavelCards.h"
#include "MardavelPlay.h"
#include "MardavelScoring.h"

using namespace mardavel_board;

CMardavelBoard::CMardavelBoard()
{
    InitBoardGameState(m_state);
    InitSideData(m_side);
    m_log.SetGrowth(kStreamGrow, 0);
}

CMardavelBoard::~CMardavelBoard() = default;

// ---------------------------------------------------------------- dispatch

int CMardavelBoard::OnEvent(int32_t code, int32_t userId, int32_t identify, void* param)
{
    ++m_gameEventDepth;
    int result = CBoardClient::OnEvent(code, userId, identify, param);
    if (result == 0)
        result = DispatchGameEvent(code, userId, identify, param);
    if (--m_gameEventDepth == 0)
        RunPendingAutoActions();
    return result;
}

int CMardavelBoard::DispatchGameEvent(int32_t code, int32_t userId, int32_t identify, void* param)
{
    const bool player = !IsReferee();
    switch (code) {
    case kEvSendMessageLog:
        return SendMessageLog(static_cast<const char*>(param));
    case kEvAnnounce:
        return player ? -1 : Announce(userId, identify, static_cast<const uint8_t*>(param));
    case kEvSeatSummaries:
        return FillSeatSummaries(static_cast<uint8_t*>(param));
    case kEvWrapBlock:
        if (player)
            return param ? HandToHost(static_cast<NetMsgHeader*>(param), kCbBlock,
                                      static_cast<intptr_t>(MsgSize(static_cast<NetMsgHeader*>(param))))
                         : -1;
        return WrapBlock(identify, param);
    case kEvNameSeatPlayer:
        return player ? NameSeatPlayer(userId, identify) : 0;
    case kEvSendTableSummary:
        return player ? -1 : SendTableSummary(static_cast<const char*>(param));
    case kEvRelayEntries:
        if (player)
            return param ? HandToHost(static_cast<NetMsgHeader*>(param), kCbEntries,
                                      static_cast<intptr_t>(MsgSize(static_cast<NetMsgHeader*>(param))))
                         : -1;
        return RelayEntries(userId, identify, static_cast<const uint8_t*>(param));
    case kEvReady:
        return player ? ReadyCommand() : -1;
    case kEvAcceptEmperor:
        return player ? SendEmperorChoice(kChoiceAccept) : -1;
    case kEvPassEmperorCard:
        return player ? SendEmperorChoice(kChoicePass) : -1;
    case kEvPlayAlone:
        return player ? SendEmperorChoice(kChoiceAlone) : -1;
    case kEvGuardOpen:
        return player ? SendGuardChoice(1) : -1;
    case kEvGuardHidden:
        return player ? SendGuardChoice(0) : -1;
    case kEvKick:
        return player ? SendKickChoice(1) : -1;
    case kEvNoKick:
        return player ? SendKickChoice(0) : -1;
    case kEvPlayCards:
        return player ? PlayCards() : -1;
    case kEvPass:
        return player ? Pass() : -1;
    case kEvNextHint:
        return player ? NextHint(param) : -1;
    case kEvToggleSort:
        return ToggleSortMode();
    case kEvToggleWatchersMaySee:
        return player ? ToggleWatchersMaySee() : -1;
    case kEvTableState:
        return StorePointer(param, &m_state);
    case kEvSavedCounts:
        return StorePointer(param, m_side.saved.counts);
    case kEvSavedCards:
        return StorePointer(param, m_side.saved.cards);
    case kEvIdenticalCards:
        return QueryIdenticalCards(userId, param);
    case kEvBothMarkedCards:
        return QueryBothMarkedCards(param);
    case kEvLiveTable:
        m_side.liveTable = identify != 0 ? 1u : 0u;
        return 1;
    case kEvSetCard:
        return player ? SetCardEntry(identify, param) : -1;
    case kEvUndoReplayStep:
        return player ? UndoReplayStep(userId, identify, static_cast<const NetMsgHeader*>(param)) : -1;
    default:
        return 1;
    }
}

int CMardavelBoard::ProcessMsg(NetMsgHeader* msg)
{
    const int result = CBoardClient::ProcessMsg(msg);
    if (!m_unhandled)
        return result;
    m_unhandled = false;
    const bool player = !IsReferee();
    switch (msg->id) {
    case kMsgReady:
        return OnReady(msg);
    case kMsgEmperorChoice:
        return OnEmperorChoice(msg);
    case kMsgGuardChoice:
        return OnGuardChoice(msg);
    case kMsgPlay:
        return OnPlayCards(msg);
    case kMsgWatchersMaySee:
        return OnWatchersMaySee(msg);
    case kMsgRestart:
        return player ? OnRestart() : 1;
    case kMsgKickChoice:
        return OnKickChoice(msg);
    case kMsgRelayedBlock:
        if (player)
            return HandToHost(msg, kCbRelayedBlock, static_cast<intptr_t>(MsgSize(msg)));
        SendAll(msg);
        return 1;
    case kMsgAnnouncement:
        return player ? HandToHost(msg, kCbAnnouncement, static_cast<intptr_t>(MsgSize(msg))) : 1;
    case kMsgBlock:
        return player ? HandToHost(msg, kCbBlock, static_cast<intptr_t>(MsgSize(msg))) : 1;
    case kMsgEntries:
        return player ? HandToHost(msg, kCbEntries, static_cast<intptr_t>(msg->length) + 8) : 1;
    case kMsgDeal:
        return player ? OnDeal(msg) : 1;
    case kMsgEmperorResult:
        return player ? OnEmperorResult(msg) : 1;
    case kMsgScore:
        return player ? OnScore(msg) : 1;  // the referee made it
    default:
        m_unhandled = true;
        return 0;
    }
}

int CMardavelBoard::SetOption(int32_t id, int32_t value)
{
    SetRuleOption(m_state, m_side, id, value);
    return 1;
}

// ---------------------------------------------------------------- messages out

void CMardavelBoard::SendSeatAndWatchers(NetMsgHeader* msg, int seat)
{
    Callback(kCbSendSeatAndWatchers, reinterpret_cast<intptr_t>(msg), seat);
}

void CMardavelBoard::SendSeat(NetMsgHeader* msg, int seat)
{
    Callback(kCbSendSeat, reinterpret_cast<intptr_t>(msg), seat);
}

void CMardavelBoard::SendWatchers(NetMsgHeader* msg, int seat)
{
    Callback(kCbSendWatchers, reinterpret_cast<intptr_t>(msg), seat);
}

void CMardavelBoard::AddToLog(const NetMsgHeader* msg)
{
    const uint32_t size = static_cast<uint32_t>(MsgSize(msg));
    if (m_log.Size() + 4u + size > kMaxMessageLog) {
        if (!m_logFull)
            Log("CMardavelBoard::AddToLog, the message log is full (%u bytes)", m_log.Size());
        m_logFull = true;
        return;
    }
    if (!m_log.Append(&size, 4) || !m_log.Append(msg, size))
        LogOutOfMemory(__LINE__);
}

void CMardavelBoard::Notify(uint32_t code, intptr_t p1, intptr_t p2)
{
    if (!IsReferee())
        Callback(code, p1, p2);
}

void CMardavelBoard::LogOutOfMemory(int line)
{
    Log("%s : %d Out of Memory !", SourceName(__FILE__), line);
}

// ---------------------------------------------------------------- who acts

int CMardavelBoard::OwnSeatOrNone() const
{
    return IsReferee() ? -1 : (IsValidSeat(OwnSeat()) ? OwnSeat() : -1);
}

bool CMardavelBoard::OwnHandVisible() const
{
    const int own = OwnSeatOrNone();
    return own >= 0 && (!OwnWatching() || m_state.seats[own].watchersMaySee != 0);
}

int CMardavelBoard::SenderSeat() const
{
    if (!IsReferee() || m_senderWatching || !IsValidSeat(m_senderSeat))
        return -1;
    return m_senderSeat;
}

bool CMardavelBoard::NamedRecordIsWatcher(const char* name)
{
    if (!name)
        return false;
    const BoardPlayerRecord* p = FindPlayerByName(name);
    return p && (p->seat & kSeatWatchingBit);
}

// ---------------------------------------------------------------- player hooks

int CMardavelBoard::OnPlayerSeat(int32_t seat)
{
    const BoardPlayerRecord* added = PlayerCount() ? PlayerAt(PlayerCount() - 1) : nullptr;
    if (!IsValidSeat(seat) || !added || added->seat != seat)
        return 1;  // a watcher
    BoardPlayerRecord& record = m_state.seats[seat].player;
    record = *added;
    record.flags &= ~kPlayerFlagReady;
    if (m_state.readyMarks[seat]) {
        m_state.readyMarks[seat] = 0;
        --m_state.readyCount;
    }
    return 1;
}

int CMardavelBoard::OnPlayerLeave(int32_t seat)
{
    if (!IsValidSeat(seat))
        return 1;
    if (m_state.phase == kPhaseIdle) {
        if (m_state.readyMarks[seat]) {
            m_state.readyMarks[seat] = 0;
            --m_state.readyCount;
        }
        std::memset(&m_state.seats[seat].player, 0, sizeof m_state.seats[seat].player);
        return 1;
    }
    // During a hand the seat is played on by the automatic action.
    m_state.seats[seat].player.flags |= kPlayerFlagOffline;
    RequestAutoAction();
    return 1;
}

namespace {

int SetSeatFlag(BoardGameState& s, int32_t seat, uint32_t flag, bool on)
{
    if (!IsValidSeat(seat))
        return 0;
    uint32_t& flags = s.seats[seat].player.flags;
    flags = on ? (flags | flag) : (flags & ~flag);
    return 1;
}

}  // namespace

int CMardavelBoard::OnSeatFlag(int32_t seat, const char* name, int32_t flag)
{
    if (NamedRecordIsWatcher(name))
        return 1;
    if (!SetSeatFlag(m_state, seat, kPlayerFlagMarked, flag != 0))
        return 0;
    RequestAutoAction();
    return 1;
}

int CMardavelBoard::OnTrustPlay(int32_t seat, const char* name, int32_t state)
{
    if (NamedRecordIsWatcher(name))
        return 1;
    if (!SetSeatFlag(m_state, seat, kPlayerFlagTrustPlay, state != 0))
        return 0;
    RequestAutoAction();
    return 1;
}

int CMardavelBoard::OnOffline(int32_t seat, const char* name)
{
    if (NamedRecordIsWatcher(name))
        return 1;
    if (!SetSeatFlag(m_state, seat, kPlayerFlagOffline, true))
        return 0;
    RequestAutoAction();
    return 1;
}

int CMardavelBoard::ReadSeatValues(int32_t count, void* out)
{
    if (count < 0 || (count > 0 && !out))
        return 0;
    const int n = std::min(count, static_cast<int32_t>(kBoardSeats));
    std::memcpy(out, m_state.handTotal, sizeof(int32_t) * static_cast<size_t>(n));
    m_state.phase = kPhaseIdle;
    return 1;
}

// ---------------------------------------------------------------- board data

int CMardavelBoard::ExportBoardData(NetMsgHeader** stream, int32_t a, int32_t b, int32_t seat,
                                    int32_t identify)
{
    const uint32_t version = kBoardDataVersion;
    if (!StreamWrite(stream, &version, 4, kStreamGrow))
        return 0;
    if (!CBoardClient::ExportBoardData(stream, a, b, seat, identify))
        return 0;
    return WriteTableState(stream, seat, identify);
}

int CMardavelBoard::ImportBoardData(NetMsgHeader* stream)
{
    // The whole stream is checked before anything changes.
    if (!StreamHoldsSoundTable(stream)) {
        Log("CMardavelBoard::ImportBoardData, bad table state");
        return 0;
    }
    uint32_t version = 0;
    if (!StreamRead(stream, &version, 4) || version != kBoardDataVersion) {
        Log("CMardavelBoard::ImportBoardData, bad stream version %08x", version);
        return 0;
    }
    if (!CBoardClient::ImportBoardData(stream))
        return 0;
    if (!ReadTableState(stream))
        return 0;
    Callback(kCbBoardImported);
    return 1;
}

int CMardavelBoard::WriteTableState(NetMsgHeader** stream, int32_t seat, int32_t identify)
{
    BoardGameState copy = m_state;
    if (copy.phase >= kPhaseEmperor && copy.phase <= kPhasePlay) {
        for (int s = 0; s < kBoardSeats; ++s) {
            const bool hidden = identify == kIdentifyOwnPlayer
                                    ? s != seat
                                    : (s != seat || !IsValidSeat(seat) || !copy.seats[seat].watchersMaySee);
            if (hidden)
                HideHand(copy, s);
        }
    }
    std::memset(copy.checkCards, 0, sizeof copy.checkCards);
    copy.checkCount = 0;
    return StreamWrite(stream, &copy, sizeof copy, kStreamGrow);
}

int CMardavelBoard::ReadTableState(NetMsgHeader* stream)
{
    BoardGameState incoming;
    if (!StreamRead(stream, &incoming, sizeof incoming)) {
        Log("CMardavelBoard::ImportBoardData, no table state");
        return 0;
    }
    if (!TableStateIsSound(incoming)) {
        Log("CMardavelBoard::ImportBoardData, bad table state");
        return 0;
    }
    incoming.sortMode = m_state.sortMode;
    m_state = incoming;
    for (SeatState& seat : m_state.seats) {
        seat.player.userName[sizeof seat.player.userName - 1] = '\0';
        seat.player.nickname[sizeof seat.player.nickname - 1] = '\0';
    }
    for (int s = 0; s < kBoardSeats; ++s)
        SortCards(m_state.hands[s], HandCount(m_state, s), m_state.sortMode);
    std::memset(&m_side.saved, 0, sizeof m_side.saved);
    m_hintsStale = true;
    return 1;
}

// ---------------------------------------------------------------- small events

int CMardavelBoard::SendMessageLog(const char* recipient)
{
    if (!recipient)
        return -1;
    OwnedMsg msg(ShortMessage(kMsgMessageLog, m_log.Data(), m_log.Size()));
    if (!msg) {
        LogOutOfMemory(__LINE__);
        return -1;
    }
    SendToRecipient(msg.get(), recipient);
    return 1;
}

int CMardavelBoard::Announce(int32_t kind, int32_t count, const uint8_t* entries)
{
    if ((count != 1 && count != kBoardSeats) || !entries || kind < 1 || kind > 3)
        return -1;
    OwnedMsg msg(ShortMessage(kMsgAnnouncement, entries,
                              static_cast<uint32_t>(count * kAnnouncementEntrySize)));
    if (!msg) {
        LogOutOfMemory(__LINE__);
        return -1;
    }
    if (kind == 2) {
        char recipient[20];
        CopyRecipient(recipient, entries);
        SendToRecipient(msg.get(), recipient);
    } else {
        SendAll(msg.get());
    }
    return 1;
}

int CMardavelBoard::FillSeatSummaries(uint8_t* out)
{
    if (!out)
        return -1;
    for (int s = 0; s < kBoardSeats; ++s) {
        uint8_t* entry = out + s * kSeatSummarySize;
        std::memcpy(entry, &m_state.seats[s], sizeof(SeatState));
        std::memcpy(entry + sizeof(SeatState), &m_state.handTotal[s], sizeof(int32_t));
    }
    return 1;
}

int CMardavelBoard::WrapBlock(int32_t size, const void* block)
{
    if (size < 0 || (size > 0 && !block))
        return -1;
    OwnedMsg msg(ShortMessage(kMsgBlock, block, static_cast<uint32_t>(size)));
    if (!msg) {
        LogOutOfMemory(__LINE__);
        return -1;
    }
    SendAll(msg.get());
    return 1;
}

int CMardavelBoard::NameSeatPlayer(int32_t seat, int32_t value)
{
    // The client names its own seat and the title it asks for.
    const uint32_t body[2] = {static_cast<uint32_t>(seat), static_cast<uint32_t>(value)};
    OwnedMsg msg(ShortMessage(kMsgSeatPlayer, body, sizeof body));
    if (!msg)
        return -1;
    SendReferee(msg.get());
    return 1;
}

int CMardavelBoard::SendTableSummary(const char* recipient)
{
    if (!recipient)
        return -1;
    OwnedMsg msg(MsgBuild(kMsgTableSummary, 0, {{kTableSummarySize, m_side.tableSummary}}));
    if (!msg) {
        LogOutOfMemory(__LINE__);
        return -1;
    }
    SendToRecipient(msg.get(), recipient);
    return 1;
}

int CMardavelBoard::RelayEntries(int32_t toRecipient, int32_t count, const uint8_t* param)
{
    if (count < 0 || count > kMaxRelayedEntries) {
        Log("CMardavelBoard::RelayEntries, %d entries refused", count);
        return -1;
    }
    const bool named = toRecipient == 1;
    if (!param && (named || count > 0))
        return -1;
    const uint8_t* entries = named ? param + 20 : param;
    const uint32_t n = static_cast<uint32_t>(count);
    OwnedMsg msg(n > 0 ? MsgBuildPlain(kMsgEntries, {{4, &n}, {static_cast<int32_t>(8 * n), entries}})
                       : MsgBuildPlain(kMsgEntries, {{4, &n}}));
    if (!msg) {
        LogOutOfMemory(__LINE__);
        return -1;
    }
    if (named) {
        char recipient[20];
        CopyRecipient(recipient, param);
        SendToRecipient(msg.get(), recipient);
    } else {
        SendAll(msg.get());
    }
    return 1;
}

int CMardavelBoard::ToggleSortMode()
{
    m_state.sortMode = m_state.sortMode == kSortGroups ? kSortPlain : kSortGroups;
    const int own = OwnSeatOrNone();
    if (own >= 0)
        SortCards(m_state.hands[own], HandCount(m_state, own), m_state.sortMode);
    return 1;
}

int CMardavelBoard::ToggleWatchersMaySee()
{
    const int own = OwnSeatOrNone();
    if (own < 0 || OwnWatching())
        return 1;
    uint32_t& flag = m_state.seats[own].watchersMaySee;
    flag = flag ? 0u : 1u;
    const uint32_t body[3] = {static_cast<uint32_t>(own), flag, 0};
    OwnedMsg msg(ShortMessage(kMsgWatchersMaySee, body, sizeof body));
    if (!msg)
        return -1;
    SendReferee(msg.get());
    return 1;
}

int CMardavelBoard::OnWatchersMaySee(const NetMsgHeader* msg)
{
    uint32_t words[3];
    if (!ReadWords(msg, words, 3))
        return ShortBody(*this, msg);
    const int seat = static_cast<int>(words[0] % kBoardSeats);
    const uint32_t flag = words[1];
    SeatState& s = m_state.seats[seat];
    if (IsReferee()) {
        if (SenderSeat() != seat)
            return 1;
        s.watchersMaySee = flag;
        if (m_state.phase == kPhaseIdle) {
            SendWatchers(const_cast<NetMsgHeader*>(msg), seat);
            return 1;
        }
        uint8_t body[12 + kCardAreaSize];
        const uint32_t count = static_cast<uint32_t>(HandCount(m_state, seat));
        const uint32_t head[3] = {static_cast<uint32_t>(seat), flag, count};
        std::memcpy(body, head, sizeof head);
        std::memset(body + 12, kHiddenCardId, kCardAreaSize);
        for (uint32_t i = 0; i < count && flag; ++i)
            body[12 + i] = m_state.hands[seat][i].id;
        OwnedMsg out(ShortMessage(kMsgWatchersMaySee, body, sizeof body));
        if (!out) {
            LogOutOfMemory(__LINE__);
            return 1;
        }
        SendWatchers(out.get(), seat);
        return 1;
    }
    s.watchersMaySee = flag;
    const uint32_t count = words[2];
    if (msg->length >= 12 + kCardAreaSize && count <= static_cast<uint32_t>(kCardAreaSize)) {
        SetCardsFromIds(m_state.hands[seat], MsgBody(msg) + 12, static_cast<int>(count), m_state);
        s.cardsInHand = count;
        SortCards(m_state.hands[seat], static_cast<int>(count), m_state.sortMode);
    }
    Notify(kCbWatchersMaySee, seat);
    return 1;
}

int CMardavelBoard::NextHint(void* param)
{
    if (!param)
        return -1;
    HintCandidate* hint = nullptr;
    const int own = OwnSeatOrNone();
    if (own >= 0 && m_state.seatToAct != m_state.leadSeat) {
        if (m_hintsStale) {
            m_hintBeatCount = std::clamp(m_state.trickCount, 0, static_cast<int32_t>(kCardAreaSize));
            std::memcpy(m_hintBeat, m_state.trickCards, sizeof m_hintBeat);
            const int kind = BuildHints(m_hints, m_state.hands[own], HandCount(m_state, own), m_hintBeat,
                                        m_hintBeatCount, PlayRules(m_state));
            m_hintIndex = -1;
            m_hintsStale = kind == kKindInvalid;
        }
        if (m_hints.Count() > 0) {
            m_hintIndex = (m_hintIndex + 1) % m_hints.Count();
            hint = &m_hints.At(m_hintIndex);
        }
    }
    std::memcpy(param, &hint, sizeof hint);
    return 1;
}

int CMardavelBoard::QueryIdenticalCards(int32_t k, void* param)
{
    if (!param)
        return -1;
    CardEntry* found = nullptr;
    const int own = OwnSeatOrNone();
    if (own >= 0 && FindIdenticalCards(m_state.hands[own], HandCount(m_state, own), k, &m_identical))
        found = &m_identical;
    std::memcpy(param, &found, sizeof found);
    return 1;
}

int CMardavelBoard::QueryBothMarkedCards(void* param)
{
    if (!param)
        return -1;
    const int own = OwnSeatOrNone();
    if (own < 0)
        return 1;
    bool emperor = false;
    bool guard = false;
    for (int i = 0; i < HandCount(m_state, own); ++i) {
        emperor = emperor || (m_state.hands[own][i].flags & kCardEmperor);
        guard = guard || (m_state.hands[own][i].flags & kCardGuard);
    }
    if (emperor && guard) {
        const int32_t one = 1;
        std::memcpy(param, &one, sizeof one);
    }
    return 1;
}

int CMardavelBoard::SetCardEntry(int32_t id, void* param)
{
    // Only an entry of the state's card areas may be written.
    const auto* first = reinterpret_cast<const uint8_t*>(m_state.hands);
    const auto* end = reinterpret_cast<const uint8_t*>(&m_state.readyMarks);
    const auto* at = static_cast<const uint8_t*>(param);
    if (!param || at < first || at + sizeof(CardEntry) > end ||
        (at - first) % static_cast<ptrdiff_t>(sizeof(CardEntry)) != 0)
        return -1;
    const CardEntry entry = MakeCardEntry(static_cast<uint8_t>(id), m_state);
    std::memcpy(param, &entry, sizeof entry);
    return 1;
}

int CMardavelBoard::UndoReplayStep(int32_t seat, int32_t leader, const NetMsgHeader* play)
{
    if (!IsValidSeat(seat) || (leader != -1 && !IsValidSeat(leader)))
        return -1;
    uint32_t words[3] = {};
    const bool hasPlay = play != nullptr;
    if (hasPlay && (!ReadWords(play, words, 3) || words[2] > static_cast<uint32_t>(kCardAreaSize) ||
                    play->length < 12 + 4 * words[2]))
        return -1;
    SeatState& s = m_state.seats[seat];
    const int held = HandCount(m_state, seat);
    const int shown = static_cast<int>(std::min<uint32_t>(s.tableCardCount, kCardAreaSize));
    if (held + shown < kCardAreaSize) {
        std::memcpy(m_state.hands[seat] + held, m_state.tableCards[seat], sizeof(CardEntry) * static_cast<size_t>(shown));
        s.cardsInHand = static_cast<uint32_t>(held + shown);
        SortCards(m_state.hands[seat], held + shown, m_state.sortMode);
    }
    const int count = hasPlay ? static_cast<int>(words[2]) : 0;
    std::memset(m_state.tableCards[seat], 0, sizeof m_state.tableCards[seat]);
    for (int i = 0; i < count; ++i) {
        uint32_t id;
        std::memcpy(&id, MsgBody(play) + 12 + 4 * i, 4);
        m_state.tableCards[seat][i] = MakeCardEntry(static_cast<uint8_t>(id), m_state);
    }
    s.tableCardCount = static_cast<uint32_t>(count);
    m_state.seatToAct = seat;
    m_state.leadSeat = leader;
    m_hintsStale = true;
    return 1;
}

int CMardavelBoard::HandToHost(NetMsgHeader* msg, uint32_t code, intptr_t size)
{
    Callback(code, reinterpret_cast<intptr_t>(msg), size);
    return 1;
}

void MardavelSeedDeals(BoardHandle board, uint32_t boardSeed, unsigned crtSeed)
{
    if (board)
        static_cast<CMardavelBoard*>(board)->SeedDeals(boardSeed, crtSeed);
}
