// A small native client for the server's tests: a socket with the game
// framing, the join, and a player that hosts the board's player side and
// answers its turns the simple way (ready, take the emperor's place, hidden
// protection, lead the lowest card, otherwise pass).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "BoardInterface.h"
#include "MessageFrame.h"
#include "TableProtocol.h"

struct BoardGameState;

namespace tableserver::test {

class TestClient {
public:
    enum class Wait { kMessage, kTimeout, kClosed, kError };

    TestClient() = default;
    ~TestClient();
    TestClient(const TestClient&) = delete;
    TestClient& operator=(const TestClient&) = delete;

    // receiveBuffer: a small socket receive buffer in bytes (0 keeps the system's).
    bool Connect(uint16_t port, int receiveBuffer = 0);
    void Close();
    bool connected() const { return fd_ >= 0; }
    int fd() const { return fd_; }

    bool Send(const Message& message, bool compress = false);
    bool SendBytes(const std::vector<uint8_t>& bytes);
    void ShutdownWrite();

    // The next message, waiting at most timeoutMs.
    Wait Receive(Message& out, int timeoutMs);
    // Reads what the socket holds without waiting; false once it is closed.
    bool ReadAvailable();
    // A whole message already read, if any.
    bool NextBuffered(Message& out);
    // Drops messages until the server closes the connection.
    bool WaitClosed(int timeoutMs);
    // Waits for a message with this id, dropping others.
    bool WaitFor(uint32_t id, Message& out, int timeoutMs);

    // Sends the join request and waits for its reply.
    bool Join(const std::string& userName, uint16_t chair, Message& reply, int timeoutMs = 5000);

private:
    int fd_ = -1;
    bool closedByPeer_ = false;
    FrameReader reader_;
};

// Everything that arrives before the answer to a speed test sent now: what
// the server had queued for this client up to this point.
std::vector<Message> Drain(TestClient& client, int timeoutMs);
// The first message of an id, or null.
const Message* FindId(const std::vector<Message>& messages, uint32_t id);

// The join request body as the client builds it.
std::vector<uint8_t> JoinRequestBytes(const std::string& userName, uint16_t chair);

// Player records and room text of a join reply.
struct JoinReplyView {
    std::vector<JoinPlayerRecord> records;
    std::string roomOptions;
};
bool ReadJoinReply(const Message& reply, JoinReplyView& out);

// One seat's client with the board's player side.
class BoardPlayer {
public:
    // watching: watches the seat instead of playing it.
    BoardPlayer(std::string userName, int seat, bool watching);
    ~BoardPlayer();
    BoardPlayer(const BoardPlayer&) = delete;
    BoardPlayer& operator=(const BoardPlayer&) = delete;

    bool Join(uint16_t port);
    TestClient& client() { return client_; }
    const std::string& userName() const { return userName_; }
    int seat() const { return seat_; }
    bool watching() const { return watching_; }

    // Reads and applies what has arrived; false once the connection is gone.
    bool Pump();
    // Leaves by closing the socket (a client that vanishes).
    void Vanish();
    // A board event of the own player (decisions and commands: a = b = -1).
    int32_t Event(int32_t code);
    // Whether the player answers its turns.
    bool acting = true;
    // Whether ids() keeps the ids of the messages received (the first 20000).
    bool keepIds = true;

    // Observations.
    const BoardGameState* state() const { return state_; }
    int scores() const { return scores_; }                // 0x80026006 received
    int deals() const { return deals_; }                  // 0x80026001 received
    int hiddenDeals() const { return hiddenDeals_; }      // deals whose cards were all hidden
    int64_t scoreSum() const { return scoreSum_; }        // sum of all seats' scores
    const std::vector<uint32_t>& ids() const { return ids_; }
    // Called with each message before the board sees it.
    std::function<void(const Message&)> onMessage;

private:
    static int32_t QVBOARD_CALL Callback(BoardCallbackRecord* record);
    void Apply(const Message& message);
    void Act();

    std::string userName_;
    int seat_;
    bool watching_;
    TestClient client_;
    BoardHandle board_ = nullptr;
    BoardGameState* state_ = nullptr;
    bool mustPass_ = false;
    // The turn the player last acted on. It acts again only once the table
    // has moved on: a notice that arrives before the echo of its own play
    // must not make it play twice.
    std::array<int64_t, 4> actedOn_{};
    bool hasActed_ = false;
    int scores_ = 0;
    int deals_ = 0;
    int hiddenDeals_ = 0;
    int64_t scoreSum_ = 0;
    std::vector<uint32_t> ids_;
};

// Pumps the players until done() says so or the time is up; false on time-out.
bool PumpUntil(const std::vector<BoardPlayer*>& players, const std::function<bool()>& done,
               int timeoutMs);

}  // namespace tableserver::test
