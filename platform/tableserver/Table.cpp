#include "Table.h"

#include <algorithm>
#include <cstring>

#include "MardavelBoard.h"
#include "MardavelState.h"
#include "PlayerExtras.h"

namespace tableserver {

const char* const kDefaultRoomOptions = "0,0,0,0,0,0,0,0,3,1";

namespace {

// Referee callbacks the table acts on beyond the send codes of BoardInterface.h.
constexpr uint32_t kCbHandEnded = 20;        // after scoring
constexpr uint32_t kCbAllReady = 21;         // before the deal
constexpr uint32_t kCbScoreFactor = 10020;   // 0: keep the factor 1.0

// Board events beyond the framework's.
constexpr int32_t kEvTableState = 10050;
constexpr int32_t kEvAnnouncePlayers = 4111;  // kind, count 1 or 5, the 124-byte records
constexpr int32_t kEvWrapBlock = 4113;        // size, block: 0x26014 to all
constexpr int32_t kEvRelayEntries = 4116;     // 0 (to all), count, the 8-byte entries: 0x26024
constexpr int32_t kAnnounceToAll = 1;

constexpr uint8_t kOwnPlayerIdentify = 253;  // export for the seat's own player

constexpr auto kCloseGrace = std::chrono::seconds(2);
// The face message: u32 face number, u32 sender's seat, u32 face list.
constexpr size_t kFaceBodySize = 12;
constexpr int kFacesPerWindow = 5;
constexpr auto kFaceWindow = std::chrono::seconds(10);

std::string Hex(uint32_t v)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", v);
    return text;
}

BoardPlayerRecord MakeRecord(uint32_t userId, uint8_t seatByte, const std::string& name,
                             const std::string& nickname)
{
    BoardPlayerRecord record;
    std::memset(&record, 0, sizeof record);
    record.userId = userId;
    record.identify = 0;
    record.seat = seatByte;
    std::memcpy(record.userName, name.data(), std::min(name.size(), sizeof record.userName - 1));
    std::memcpy(record.nickname, nickname.data(),
                std::min(nickname.size(), sizeof record.nickname - 1));
    return record;
}

// Messages a client may send that need no answer.
bool IsSilentMessage(uint32_t id)
{
    switch (id) {
    case msgid::kKeepAlive:
    case msgid::kIdle:
    case msgid::kEmptyRequest:
    case msgid::kFlags174:
    case msgid::kRelayStatistics:
    case msgid::kPortHeader:
    case msgid::kQueryAnswer:
    case msgid::kLocalAddress:
        return true;
    default:
        return false;
    }
}

// Game messages a seated player's board sends to the referee.
bool IsPlayerGameMessage(uint32_t id)
{
    switch (id) {
    case msgid::kReady:
    case msgid::kEmperorChoice:
    case msgid::kGuardChoice:
    case msgid::kPlay:
    case msgid::kWatchersMaySee:
    case msgid::kKickChoice:
    case msgid::kFace:
        return true;
    default:
        return false;
    }
}

bool IsGameMessage(uint32_t id)
{
    return id >= msgid::kGameFirst && id <= msgid::kGameLast;
}

}  // namespace

Table::Table(TableOptions options, ServerLog& log) : options_(std::move(options)), log_(log) {}

Table::~Table()
{
    if (board_)
        QVBoardDestory(board_);
}

bool Table::Open(std::string& error)
{
    board_ = QVBoardCreate(kBoardModeReferee, &Table::BoardCallbackEntry,
                           reinterpret_cast<uintptr_t>(this), 0, nullptr);
    if (!board_) {
        error = "the board library refused to create a referee board";
        return false;
    }
    const BoardGameState* state = nullptr;
    BoardEvent(kEvTableState, 0, 0, &state);
    if (!state) {
        error = "the referee board gave no table state";
        return false;
    }
    state_ = state;
    if (options_.fixedSeed)
        MardavelSeedDeals(board_, options_.seed, options_.seed);
    if (!options_.rules.empty() &&
        BoardEvent(kEvSetOption, kOptionList, 0, const_cast<char*>(options_.rules.c_str())) != 1) {
        error = "the board refused the rule options \"" + options_.rules + "\"";
        return false;
    }
    for (int seat = 0; seat < kSeatCount; ++seat) {
        Seat& s = seats_[seat];
        s.userName = "Bot" + std::to_string(seat + 1);
        s.nickname = s.userName;
        BoardPlayerRecord record = MakeRecord(uint32_t(seat), uint8_t(seat), s.userName, s.nickname);
        if (BoardEvent(kEvAddPlayer, 0, 0, &record) != 1) {
            error = "the board refused the player of seat " + std::to_string(seat);
            return false;
        }
        SetAutomatic(seat, true);
    }
    log_.Line("table open: five bot seats, room options \"%s\", rules \"%s\"",
              options_.roomOptions.c_str(), options_.rules.empty() ? "(defaults)" : options_.rules.c_str());
    return true;
}

// ---- Connections ------------------------------------------------------------------

bool Table::OnConnected(Connection&, std::string&)
{
    return true;
}

bool Table::OnMessage(Connection& connection, const Message& message, std::string& reason)
{
    log_.Detail("%s -> %s (%zu bytes)", connection.Label().c_str(), Hex(message.id).c_str(),
                message.body.size());
    if (message.id == msgid::kSpeedTest)
        return OnSpeedTest(connection, message, reason);
    if (connection.who.role == Participant::Role::kJoining) {
        if (message.id == msgid::kJoin)
            return OnJoin(connection, message, reason);
        // Before the join only the connection's own housekeeping may come.
        if (message.id == msgid::kKeepAlive || message.id == msgid::kPortHeader ||
            message.id == msgid::kRelayStatistics)
            return true;
        reason = "expected the join request, got message " + Hex(message.id);
        return false;
    }
    return OnMemberMessage(connection, message, reason);
}

void Table::OnClosed(Connection& connection, const std::string&)
{
    if (connection.who.role != Participant::Role::kJoining)
        Detach(connection, true);
}

bool Table::OnMemberMessage(Connection& connection, const Message& message, std::string& reason)
{
    const bool player = connection.who.role == Participant::Role::kPlayer;
    if (IsSilentMessage(message.id))
        return true;
    switch (message.id) {
    case msgid::kJoin:
        reason = "second join request on one connection";
        return false;
    case msgid::kLeave:
    case msgid::kLeave203:
        OnLeave(connection);
        return true;
    case msgid::kTrustPlay:
        if (player)
            OnTrustPlayRequest(connection, message);
        return true;
    case msgid::kTrustQuit:
        OnTrustQuit(connection, message);
        return true;
    case msgid::kSetTitle:
    case msgid::kSeatPlayer:
        if (player)
            OnSetTitle(connection, message);
        return true;
    case msgid::kTaskRequest:
    case msgid::kStageReached:
    case msgid::kTitleListRequest:
        if (player)
            OnExtraRequest(connection, message);
        return true;
    default:
        break;
    }
    if (!IsGameMessage(message.id)) {
        reason = "unexpected message " + Hex(message.id);
        return false;
    }
    if (message.id == msgid::kFace) {
        if (FaceMayGo(connection, message))
            ToReferee(connection, message);
    } else if (player && IsPlayerGameMessage(message.id)) {
        ToReferee(connection, message);
    }
    else
        log_.Detail("%s: game message %s not taken", connection.Label().c_str(),
                    Hex(message.id).c_str());
    return true;
}

bool Table::OnSpeedTest(Connection& connection, const Message& message, std::string& reason)
{
    if (message.body.size() < 8) {
        reason = "speed test of " + std::to_string(message.body.size()) + " bytes";
        return false;
    }
    // The reply's first word echoes the tick; the second returns the previous result.
    std::vector<uint8_t> body;
    PutU32(body, GetU32(message.body.data() + 4));
    PutU32(body, GetU32(message.body.data()));
    connection.Send(Message(ReplyId(msgid::kSpeedTest), std::move(body), kResultOk));
    return true;
}

// ---- Joining ------------------------------------------------------------------------

bool Table::OnJoin(Connection& connection, const Message& message, std::string& reason)
{
    JoinRequest request;
    if (!ParseJoinRequest(message.body, request, reason))
        return false;
    if (request.userName.empty()) {
        RefuseJoin(connection, kJoinIllegalUser, "empty user name");
        return true;
    }
    const bool watching = request.chair >= kSeatCount;
    const int seat = watching ? request.chair - kSeatCount : request.chair;
    if (seat >= kSeatCount) {
        RefuseJoin(connection, kJoinNotNow, "chair " + std::to_string(request.chair) + " does not exist");
        return true;
    }
    // A name stands for one seat: the one a bot, or an away player, holds
    // under it is not taken twice.
    for (int other = 0; !watching && other < kSeatCount; ++other) {
        if (other != seat && seats_[other].userName == request.userName) {
            RefuseJoin(connection, kJoinNotNow,
                       request.userName + " holds seat " + std::to_string(other));
            return true;
        }
    }
    // A second login of a connected user replaces the first. On the same
    // seat the new connection takes over at once: the seat is never away.
    if (Connection* earlier = FindMember(request.userName)) {
        earlier->Send(Message(msgid::kEndOfGame, TextBody(request.userName), kEndOfGameDoubleLogin));
        if (!watching && earlier->who.role == Participant::Role::kPlayer && earlier->who.seat == seat) {
            seats_[seat].connection = nullptr;
            earlier->who = Participant();
        } else {
            Detach(*earlier, true);
        }
        earlier->CloseAfterFlush("replaced by a new login of " + request.userName,
                                 Clock::now() + kCloseGrace);
    }
    if (watching)
        SeatWatcher(connection, request.userName, seat);
    else
        SeatPlayer(connection, request.userName, seat);
    return true;
}

void Table::RefuseJoin(Connection& connection, uint32_t result, const std::string& why)
{
    log_.Line("%s: join refused (%s)", connection.Label().c_str(), why.c_str());
    connection.Send(JoinReply(result));
    connection.CloseAfterFlush("join refused: " + why, Clock::now() + kCloseGrace);
}

std::vector<JoinSeat> Table::JoinSeats() const
{
    std::vector<JoinSeat> list(kSeatCount);
    for (int seat = 0; seat < kSeatCount; ++seat) {
        list[seat].userName = seats_[seat].userName;
        list[seat].nickname = seats_[seat].nickname;
    }
    return list;
}

bool Table::SeatPlayer(Connection& connection, const std::string& name, int seat)
{
    Seat& s = seats_[seat];
    const bool returning = s.human && s.userName == name;
    if (s.connection) {
        RefuseJoin(connection, kJoinNotNow, "seat " + std::to_string(seat) + " is taken by " + s.userName);
        return false;
    }
    if (!returning && state_ && state_->phase != kPhaseIdle) {
        RefuseJoin(connection, kJoinNotNow, "a hand is under way at seat " + std::to_string(seat));
        return false;
    }
    connection.who = {Participant::Role::kPlayer, name, seat, uint32_t(seat)};
    // The reply comes first: the client dispatches nothing before it.
    if (!returning) {
        s.userName = name;
        s.nickname = name;
        s.human = true;
        s.trustRequested = false;
        s.trustUsed = 0;
        s.titleId = 0;
        ReplacePlayerRecord(seat);
    } else if (s.quitting) {
        s.trustRequested = false;
    }
    const bool wasAway = s.away;
    s.quitting = false;
    s.away = false;
    connection.Send(JoinReply(kResultOk, BuildJoinReplyBody(JoinSeats(), options_.roomOptions)));
    // The seat leaves automatic action before the client gets the table, so
    // its board sees its own seat as the referee does.
    SetAutomatic(seat, s.trustRequested);
    s.connection = &connection;
    SendBoardData(connection);
    log_.Line("%s %s seat %d", connection.Label().c_str(), returning ? "returns to" : "takes", seat);
    if (returning && wasAway)
        SendToAll(Message(msgid::kPlayerBack, TextBody(name)), &connection);
    else
        for (Connection* other : Members())
            if (other != &connection)
                SendBoardData(*other);  // the seat's name has changed
    if (s.trustRequested)
        connection.Send(TrustStateNotice(kResultOk, 1, s.trustUsed, TrustLimit(), name));
    SendExtras(connection);
    return true;
}

bool Table::SeatWatcher(Connection& connection, const std::string& name, int seat)
{
    if (watchers_.size() >= kMaxWatchers) {
        RefuseJoin(connection, kJoinNotNow, "the table has " + std::to_string(kMaxWatchers) + " watchers");
        return false;
    }
    const uint32_t userId = nextWatcherId_++;
    BoardPlayerRecord record = MakeRecord(userId, uint8_t(seat | kSeatWatchingBit), name, name);
    if (BoardEvent(kEvAddPlayer, 0, 0, &record) != 1) {
        RefuseJoin(connection, kJoinNotNow, "the board refused the watcher");
        return false;
    }
    connection.who = {Participant::Role::kWatcher, name, seat, userId};
    connection.Send(JoinReply(kResultOk, BuildJoinReplyBody(JoinSeats(), options_.roomOptions)));
    watchers_.push_back(&connection);
    SendBoardData(connection);
    log_.Line("%s watches seat %d", connection.Label().c_str(), seat);
    return true;
}

void Table::Detach(Connection& connection, bool notifyOffline)
{
    Participant& who = connection.who;
    if (who.role == Participant::Role::kPlayer && seats_[who.seat].connection == &connection) {
        Seat& s = seats_[who.seat];
        s.connection = nullptr;
        s.away = true;
        log_.Line("seat %d (%s) is away: automatic action", who.seat, s.userName.c_str());
        if (notifyOffline && !s.quitting)
            SendToAll(Message(msgid::kPlayerOffline, TextBody(s.userName)));
        SetAutomatic(who.seat, true);
    } else if (who.role == Participant::Role::kWatcher) {
        watchers_.erase(std::remove(watchers_.begin(), watchers_.end(), &connection), watchers_.end());
        BoardEvent(kEvRemovePlayer, int32_t(who.boardUserId), 0, nullptr);
    }
    who = Participant();
}

Connection* Table::FindMember(const std::string& userName)
{
    for (Connection* member : Members())
        if (member->who.userName == userName)
            return member;
    return nullptr;
}

std::vector<Connection*> Table::Members() const
{
    std::vector<Connection*> list;
    for (const Seat& s : seats_)
        if (s.connection)
            list.push_back(s.connection);
    list.insert(list.end(), watchers_.begin(), watchers_.end());
    return list;
}

void Table::SendToAll(const Message& message, const Connection* except)
{
    for (Connection* member : Members())
        if (member != except)
            member->Send(message);
}

// ---- Requests of a seated player ---------------------------------------------------

void Table::OnTrustPlayRequest(Connection& connection, const Message& message)
{
    Seat& s = seats_[connection.who.seat];
    if (message.body.size() < 4) {
        log_.Line("%s: trust-play request of %zu bytes ignored", connection.Label().c_str(),
                  message.body.size());
        return;
    }
    const uint32_t request = GetU32(message.body.data());
    const std::string& name = s.userName;
    if (request == 1 || request == 2) {
        if (!s.trustRequested)
            s.trustUsed = uint8_t(std::min(255, s.trustUsed + 1));
        s.trustRequested = true;
        // The notice goes out before the referee plays for the seat, so that
        // every board knows whose plays are the server's.
        SendToAll(TrustStateNotice(kResultOk, uint16_t(request), s.trustUsed, TrustLimit(), name));
        SetAutomatic(connection.who.seat, true);
    } else if (request == 0) {
        if (TrustLimit() != 0 && s.trustUsed > TrustLimit()) {
            connection.Send(TrustStateNotice(0, 0, s.trustUsed, TrustLimit(), name));
            return;
        }
        s.trustRequested = false;
        SendToAll(TrustStateNotice(kResultOk, 0, s.trustUsed, TrustLimit(), name));
        SetAutomatic(connection.who.seat, false);
    } else {
        log_.Line("%s: trust-play request %u ignored", connection.Label().c_str(), request);
    }
}

void Table::OnTrustQuit(Connection& connection, const Message&)
{
    const std::string& name = connection.who.userName;
    std::vector<uint8_t> body;
    PutName20(body, name);
    if (connection.who.role != Participant::Role::kPlayer) {
        connection.Send(Message(ReplyId(msgid::kTrustQuit), body, 0));
        return;
    }
    Seat& s = seats_[connection.who.seat];
    s.trustRequested = true;
    s.quitting = true;
    connection.Send(Message(ReplyId(msgid::kTrustQuit), body, kResultOk));
    SendToAll(Message(ReplyId(msgid::kTrustQuit), body, kResultOk), &connection);
    SetAutomatic(connection.who.seat, true);
    log_.Line("%s quits into trust play", connection.Label().c_str());
}

void Table::OnLeave(Connection& connection)
{
    const std::string name = connection.who.userName;
    connection.Send(Message(ReplyId(msgid::kLeave), TextBody(name), kResultOk));
    Detach(connection, true);
    connection.CloseAfterFlush("left the table", Clock::now() + kCloseGrace);
}

void Table::OnSetTitle(Connection& connection, const Message& message)
{
    if (message.body.size() < 8) {
        log_.Line("%s: title request of %zu bytes ignored", connection.Label().c_str(),
                  message.body.size());
        return;
    }
    Seat& s = seats_[connection.who.seat];
    s.titleId = GetU32(message.body.data() + 4);
    log_.Line("%s shows title %u", connection.Label().c_str(), s.titleId);
}

void Table::SendExtras(Connection& connection)
{
    // The information of every seat goes to the whole table through the
    // referee's announcement, as does the honour table; the award names the
    // new player. The title list and the task's status are the player's own.
    std::vector<std::string> names;
    for (const Seat& seat : seats_)
        names.push_back(seat.userName);
    std::vector<uint8_t> entries = PlayerInfoEntries(names);
    if (BoardEvent(kEvAnnouncePlayers, kAnnounceToAll, kSeatCount, entries.data()) != 1)
        log_.Line("%s: the board did not announce the players", connection.Label().c_str());
    uint32_t count = 0;
    std::vector<uint8_t> honour = HonourEntries(&count);
    if (BoardEvent(kEvRelayEntries, 0, int32_t(count), honour.data()) != 1)
        log_.Line("%s: the board did not relay the honour table", connection.Label().c_str());
    connection.Send(Message(msgid::kTitleList, TitleListBody(), kResultOk));
    std::vector<uint8_t> award = TitleAwardBlock(connection.who.userName);
    if (BoardEvent(kEvWrapBlock, 0, int32_t(award.size()), award.data()) != 1)
        log_.Line("%s: the board did not send the award", connection.Label().c_str());
    connection.Send(Message(msgid::kTaskStatus, TaskStatusBody(0)));
}

void Table::OnExtraRequest(Connection& connection, const Message& message)
{
    switch (message.id) {
    case msgid::kTaskRequest:
        connection.Send(Message(msgid::kTaskDefinition, TaskDefinitionBody()));
        connection.Send(Message(msgid::kTaskProgress, TaskProgressBody(kTaskStartElapsed, true)));
        log_.Line("%s: task sent", connection.Label().c_str());
        return;
    case msgid::kStageReached: {
        if (message.body.size() < 8) {
            log_.Line("%s: stage report of %zu bytes ignored", connection.Label().c_str(), message.body.size());
            return;
        }
        const uint32_t elapsed = GetU32(message.body.data() + 4);
        const uint32_t verdict = StageVerdict(elapsed);
        connection.Send(Message(msgid::kStageReached, StageVerdictBody(verdict)));
        log_.Line("%s: stage at %u seconds: verdict %d", connection.Label().c_str(), elapsed, int32_t(verdict));
        return;
    }
    case msgid::kTitleListRequest:
        connection.Send(Message(msgid::kTitleList, TitleListBody(), kResultOk));
        return;
    default:
        return;
    }
}

bool Table::FaceMayGo(Connection& connection, const Message& message)
{
    const Participant& who = connection.who;
    if (who.role != Participant::Role::kPlayer) {
        log_.Detail("%s: face message from a watcher dropped", connection.Label().c_str());
        return false;
    }
    if (message.body.size() != kFaceBodySize || GetU32(message.body.data() + 4) != uint32_t(who.seat)) {
        log_.Line("%s: face message of %zu bytes%s dropped", connection.Label().c_str(), message.body.size(),
                  message.body.size() == kFaceBodySize ? " naming another seat" : "");
        return false;
    }
    Seat& s = seats_[who.seat];
    const Clock::time_point now = Clock::now();
    if (s.facesInWindow == 0 || now - s.faceWindowStart >= kFaceWindow) {
        s.faceWindowStart = now;
        s.facesInWindow = 0;
    }
    if (s.facesInWindow >= kFacesPerWindow) {
        log_.Detail("%s: face message over the rate dropped", connection.Label().c_str());
        return false;
    }
    ++s.facesInWindow;
    return true;
}

void Table::ToReferee(Connection& connection, const Message& message)
{
    FlatMessage block(message);
    const int32_t result = BoardEvent(kEvGameMessage, int32_t(connection.who.boardUserId), 0, block.get());
    if (result != 1)
        log_.Detail("%s: the referee did not take %s (%d)", connection.Label().c_str(),
                    Hex(message.id).c_str(), result);
}

// ---- Board --------------------------------------------------------------------------

int32_t Table::BoardEvent(int32_t code, int32_t userId, int32_t identify, void* param)
{
    ++eventDepth_;
    const int32_t result = QVBoardEvent(board_, code, userId, identify, param);
    --eventDepth_;
    if (eventDepth_ == 0)
        ReadyAutomaticSeats();
    return result;
}

int32_t QVBOARD_CALL Table::BoardCallbackEntry(BoardCallbackRecord* record)
{
    if (!record || !record->cookie)
        return 0;
    return reinterpret_cast<Table*>(record->cookie)->OnBoardCallback(*record);
}

int32_t Table::OnBoardCallback(const BoardCallbackRecord& record)
{
    const auto* block = reinterpret_cast<const NetMsgHeader*>(record.p1);
    switch (record.code) {
    case kCbSendAll:
    case kCbSendSeatAndWatchers:
    case kCbSendSeat:
    case kCbSendWatchers:
        Route(record.code, block, int(record.p2), nullptr);
        return 1;
    case kCbSendRecipient: {
        char recipient[sizeof record.recipient + 1] = {};
        std::memcpy(recipient, record.recipient, sizeof record.recipient);
        Route(record.code, block, -1, recipient);
        return 1;
    }
    case kCbLog:
        if (record.p1)
            log_.Detail("board: %s", reinterpret_cast<const char*>(record.p1));
        return 1;
    case kCbAllReady:
        for (Seat& s : seats_)
            s.trustUsed = s.trustRequested ? 1 : 0;
        log_.Detail("all seats ready: dealing");
        return 1;
    case kCbHandEnded:
        log_.Line("hand %u scored", ++handsScored_);
        return 1;
    case kCbScoreFactor:
        return 0;
    default:
        return 1;
    }
}

void Table::Route(uint32_t code, const NetMsgHeader* block, int seat, const char* recipient)
{
    Message message;
    if (!MessageFromBoard(block, message)) {
        log_.Line("board message dropped: %s", block ? "body above the cap" : "no message");
        return;
    }
    const bool toSeat = code == kCbSendSeatAndWatchers || code == kCbSendSeat;
    const bool toWatchers = code == kCbSendSeatAndWatchers || code == kCbSendWatchers;
    const std::vector<uint8_t> frame = EncodeFrame(message, true);
    for (Connection* member : Members()) {
        const Participant& who = member->who;
        bool send = false;
        if (code == kCbSendAll)
            send = true;
        else if (code == kCbSendRecipient)
            send = recipient && who.userName == recipient;
        else if (who.seat == seat)
            send = who.role == Participant::Role::kPlayer ? toSeat : toWatchers;
        if (send)
            member->SendFrame(frame);
    }
    log_.Detail("board %u -> %s (%zu bytes)", code, Hex(message.id).c_str(), message.body.size());
}

void Table::SetAutomatic(int seat, bool on)
{
    Seat& s = seats_[seat];
    if (s.automatic == on)
        return;
    s.automatic = on;
    BoardEvent(kEvTrustPlay, seat, on ? 1 : 0, nullptr);
}

bool Table::ReplacePlayerRecord(int seat)
{
    const Seat& s = seats_[seat];
    BoardEvent(kEvRemovePlayer, seat, 0, nullptr);
    BoardPlayerRecord record = MakeRecord(uint32_t(seat), uint8_t(seat), s.userName, s.nickname);
    if (BoardEvent(kEvAddPlayer, 0, 0, &record) != 1) {
        log_.Line("the board refused the player of seat %d", seat);
        return false;
    }
    return true;
}

void Table::SendBoardData(Connection& connection)
{
    const Participant& who = connection.who;
    const int32_t identify = who.role == Participant::Role::kPlayer ? kOwnPlayerIdentify : 0;
    char recipient[20] = {};
    std::memcpy(recipient, who.userName.data(), std::min(who.userName.size(), sizeof recipient - 1));
    if (BoardEvent(kEvSendBoardData, int32_t(who.boardUserId), identify, recipient) != 1)
        log_.Line("%s: the board did not export the table", connection.Label().c_str());
}

void Table::ReadyAutomaticSeats()
{
    if (readying_ || !state_ || state_->phase != kPhaseIdle)
        return;
    // The table only deals on when a connected player has declared ready:
    // between hands nobody else starts one.
    bool humanReady = false;
    for (int seat = 0; seat < kSeatCount; ++seat)
        if (seats_[seat].connection && state_->readyMarks[seat])
            humanReady = true;
    if (!humanReady)
        return;
    readying_ = true;
    for (int seat = 0; seat < kSeatCount && state_->phase == kPhaseIdle; ++seat) {
        if (!seats_[seat].automatic || state_->readyMarks[seat])
            continue;
        std::vector<uint8_t> body;
        PutU32(body, uint32_t(seat));
        FlatMessage ready(Message(msgid::kReady, std::move(body)));
        BoardEvent(kEvGameMessage, seat, 0, ready.get());
    }
    readying_ = false;
}

}  // namespace tableserver
