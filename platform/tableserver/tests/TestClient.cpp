#include "TestClient.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "MardavelState.h"
#include "SimpleSeatMove.h"

namespace tableserver::test {

namespace {

using SteadyClock = std::chrono::steady_clock;

int MillisecondsLeft(SteadyClock::time_point end)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - SteadyClock::now());
    return std::max<int>(0, int(left.count()));
}

constexpr size_t kMaxKeptIds = 20000;

// Whose turn it is. The player's own play changes none of it before the
// referee's echo arrives.
std::array<int64_t, 4> TurnKey(const BoardGameState& s, int seat)
{
    return {s.phase, s.seatToAct, s.handsFinished, s.readyMarks[seat]};
}
constexpr uint32_t kCbTableRefresh = 10000;

}  // namespace

// ---- TestClient -----------------------------------------------------------------

TestClient::~TestClient()
{
    Close();
}

bool TestClient::Connect(uint16_t port, int receiveBuffer)
{
    Close();
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0)
        return false;
    if (receiveBuffer > 0)
        setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    sockaddr_in address;
    std::memset(&address, 0, sizeof address);
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        Close();
        return false;
    }
    const int on = 1;
    setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    closedByPeer_ = false;
    reader_ = FrameReader();
    return true;
}

void TestClient::Close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool TestClient::Send(const Message& message, bool compress)
{
    return SendBytes(EncodeFrame(message, compress));
}

bool TestClient::SendBytes(const std::vector<uint8_t>& bytes)
{
    size_t sent = 0;
    while (fd_ >= 0 && sent < bytes.size()) {
        const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += size_t(n);
    }
    return fd_ >= 0;
}

void TestClient::ShutdownWrite()
{
    if (fd_ >= 0)
        ::shutdown(fd_, SHUT_WR);
}

bool TestClient::ReadAvailable()
{
    if (fd_ < 0 || closedByPeer_)
        return false;
    uint8_t chunk[16384];
    for (;;) {
        const ssize_t n = ::recv(fd_, chunk, sizeof chunk, MSG_DONTWAIT);
        if (n > 0) {
            reader_.Append(chunk, size_t(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return true;
        closedByPeer_ = true;
        return false;
    }
}

bool TestClient::NextBuffered(Message& out)
{
    return reader_.Next(out) == FrameReader::Status::kMessage;
}

TestClient::Wait TestClient::Receive(Message& out, int timeoutMs)
{
    const auto end = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const FrameReader::Status status = reader_.Next(out);
        if (status == FrameReader::Status::kMessage)
            return Wait::kMessage;
        if (status == FrameReader::Status::kError)
            return Wait::kError;
        if (fd_ < 0 || closedByPeer_)
            return Wait::kClosed;
        pollfd p = {fd_, POLLIN, 0};
        if (::poll(&p, 1, MillisecondsLeft(end)) == 0)
            return Wait::kTimeout;
        ReadAvailable();
    }
}

bool TestClient::WaitClosed(int timeoutMs)
{
    const auto end = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    Message dropped;
    for (;;) {
        const Wait w = Receive(dropped, MillisecondsLeft(end));
        if (w == Wait::kClosed)
            return true;
        if (w == Wait::kTimeout || w == Wait::kError)
            return false;
    }
}

bool TestClient::WaitFor(uint32_t id, Message& out, int timeoutMs)
{
    const auto end = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (Receive(out, MillisecondsLeft(end)) != Wait::kMessage)
            return false;
        if (out.id == id)
            return true;
    }
}

bool TestClient::Join(const std::string& userName, uint16_t chair, Message& reply, int timeoutMs)
{
    return Send(Message(msgid::kJoin, JoinRequestBytes(userName, chair))) &&
           Receive(reply, timeoutMs) == Wait::kMessage && reply.id == ReplyId(msgid::kJoin);
}

std::vector<uint8_t> JoinRequestBytes(const std::string& userName, uint16_t chair)
{
    JoinRequestBody body;
    std::memset(&body, 0, sizeof body);
    std::memcpy(body.userName, userName.data(), std::min(userName.size(), sizeof body.userName - 1));
    std::strcpy(body.text20, "ticket");
    std::strcpy(body.text60, "room");
    body.chair = chair;
    body.kind = 3;
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&body);
    return std::vector<uint8_t>(bytes, bytes + sizeof body);
}

bool ReadJoinReply(const Message& reply, JoinReplyView& out)
{
    const std::vector<uint8_t>& body = reply.body;
    if (body.size() < 4)
        return false;
    const size_t count = size_t(body[0]) | size_t(body[1]) << 8;
    size_t at = 4;
    if (body.size() - at < count * sizeof(JoinPlayerRecord))
        return false;
    out.records.resize(count);
    std::memcpy(out.records.data(), body.data() + at, count * sizeof(JoinPlayerRecord));
    at += count * sizeof(JoinPlayerRecord);
    if (body.size() - at < 4)
        return false;
    const uint32_t length = GetU32(body.data() + at);
    at += 4;
    if (body.size() - at < length || length == 0 || body[at + length - 1] != 0)
        return false;
    out.roomOptions.assign(reinterpret_cast<const char*>(body.data() + at), length - 1);
    return true;
}

// ---- BoardPlayer -------------------------------------------------------------------

BoardPlayer::BoardPlayer(std::string userName, int seat, bool watching)
    : userName_(std::move(userName)), seat_(seat), watching_(watching)
{
}

BoardPlayer::~BoardPlayer()
{
    if (board_)
        QVBoardDestory(board_);
}

bool BoardPlayer::Join(uint16_t port)
{
    if (!client_.Connect(port))
        return false;
    Message reply;
    if (!client_.Join(userName_, uint16_t(watching_ ? seat_ + kSeatCount : seat_), reply) ||
        reply.result != kResultOk)
        return false;
    // A fresh board for each session, as the client program makes one.
    if (board_)
        QVBoardDestory(board_);
    state_ = nullptr;
    board_ = QVBoardCreate(kBoardModePlayer, &BoardPlayer::Callback, reinterpret_cast<uintptr_t>(this),
                           0, nullptr);
    if (!board_)
        return false;
    BoardPlayerRecord identity;
    std::memset(&identity, 0, sizeof identity);
    std::memcpy(identity.userName, userName_.data(), std::min(userName_.size(), sizeof identity.userName - 1));
    identity.seat = uint8_t(seat_ | (watching_ ? kSeatWatchingBit : 0));
    QVBoardEvent(board_, kEvOwnIdentity, 0, 0, &identity);
    QVBoardEvent(board_, kEvTableState, 0, 0, &state_);
    hasActed_ = false;
    return true;
}

void BoardPlayer::Vanish()
{
    client_.Close();
}

int32_t BoardPlayer::Event(int32_t code)
{
    return board_ ? QVBoardEvent(board_, code, -1, -1, nullptr) : 0;
}

bool BoardPlayer::Pump()
{
    const bool open = client_.ReadAvailable();
    Message message;
    while (client_.NextBuffered(message))
        Apply(message);
    return open;
}

void BoardPlayer::Apply(const Message& message)
{
    if (onMessage)
        onMessage(message);
    if (keepIds && ids_.size() < kMaxKeptIds)
        ids_.push_back(message.id);
    if (message.id == msgid::kDeal && message.body.size() >= 8) {
        ++deals_;
        const bool hidden = std::all_of(message.body.begin() + 8, message.body.end(),
                                        [](uint8_t id) { return id == kHiddenCardId; });
        if (hidden)
            ++hiddenDeals_;
    }
    if (message.id == msgid::kScore && message.body.size() >= 20) {
        ++scores_;
        for (int seat = 0; seat < kSeatCount; ++seat)
            scoreSum_ += int32_t(GetU32(message.body.data() + 4 * seat));
    }
    FlatMessage block(message);
    QVBoardEvent(board_, kEvGameMessage, -1, -1, block.get());
    if (hasActed_ && state_ && TurnKey(*state_, seat_) != actedOn_)
        hasActed_ = false;
    Act();
}

int32_t QVBOARD_CALL BoardPlayer::Callback(BoardCallbackRecord* record)
{
    auto* self = reinterpret_cast<BoardPlayer*>(record->cookie);
    // The table's refresh says in word 9, during the play, whether the seat
    // to act can only pass: the referee passes for it then, and the client
    // waits for that.
    if (record->code == kCbTableRefresh)
        self->mustPass_ = record->userId == 1;
    if (record->code == kCbSendReferee && !self->watching_) {
        Message message;
        if (MessageFromBoard(reinterpret_cast<const NetMsgHeader*>(record->p1), message))
            self->client_.Send(message);
    }
    return 1;
}

void BoardPlayer::Act()
{
    if (watching_ || !acting || !state_ || hasActed_)
        return;
    const BoardGameState& s = *state_;
    const int32_t event = SimpleSeatMove(*state_, seat_, mustPass_);
    if (event == 0)
        return;
    actedOn_ = TurnKey(s, seat_);
    hasActed_ = true;
    QVBoardEvent(board_, event, -1, -1, nullptr);
    // A decision the board applies at once (the guard's) may already have
    // handed the turn on.
    if (TurnKey(s, seat_) != actedOn_) {
        hasActed_ = false;
        Act();
    }
}

bool PumpUntil(const std::vector<BoardPlayer*>& players, const std::function<bool()>& done,
               int timeoutMs)
{
    const auto end = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (SteadyClock::now() >= end)
            return false;
        std::vector<pollfd> fds;
        for (BoardPlayer* player : players)
            if (player->client().connected())
                fds.push_back({player->client().fd(), POLLIN, 0});
        ::poll(fds.data(), fds.size(), std::min(MillisecondsLeft(end), 20));
        for (BoardPlayer* player : players)
            if (player->client().connected())
                player->Pump();
    }
    return true;
}

std::vector<Message> Drain(TestClient& client, int timeoutMs)
{
    static uint32_t tick = 1000;
    std::vector<uint8_t> body;
    PutU32(body, 0);
    PutU32(body, ++tick);
    std::vector<Message> got;
    if (!client.Send(Message(msgid::kSpeedTest, body)))
        return got;
    Message m;
    while (client.Receive(m, timeoutMs) == TestClient::Wait::kMessage) {
        if (m.id == ReplyId(msgid::kSpeedTest) && m.body.size() >= 4 && GetU32(m.body.data()) == tick)
            break;
        got.push_back(m);
    }
    return got;
}

const Message* FindId(const std::vector<Message>& messages, uint32_t id)
{
    for (const Message& m : messages)
        if (m.id == id)
            return &m;
    return nullptr;
}

}  // namespace tableserver::test
