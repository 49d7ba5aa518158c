// One table of five seats, refereed by the board library.
//
// The table hosts the board in referee mode. Every seat is in the board's
// player list as user id = seat, identify 0; a watcher as its own user id
// (from 1000 on) with the watched seat's number and bit 7. Seats without a
// connected human, and seats whose player asked for trust play, are under
// the board's automatic action (the trust-play flag, event 0x100A): the
// referee decides and plays for them. When a connected human at the table
// has declared ready, the table declares the automatic seats ready, so one
// client can play whole hands against four bots.
//
// Messages from clients go to the board as event 1 with the sender's board
// identity; what the board sends (callbacks 0, 3, 4, 5, 7) goes to the
// players and watchers it names.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "BoardInterface.h"
#include "Session.h"
#include "ServerLog.h"
#include "TableProtocol.h"

struct BoardGameState;

namespace tableserver {

// Room option text sent in the join reply: ten decimal room settings that the
// client reads (the ninth lets every player use the card memory; the tenth, 1,
// takes the user's own personal-data choice).
extern const char* const kDefaultRoomOptions;
constexpr uint8_t kDefaultTrustLimit = 3;
constexpr size_t kMaxWatchers = 32;

struct TableOptions {
    std::string roomOptions = kDefaultRoomOptions;
    // The referee's rule options 0, 1, 2 ... as a comma list; empty keeps the
    // board's defaults.
    std::string rules;
    // Times a player may enter trust play in one hand before leaving it is
    // refused (0: never refused).
    uint8_t trustLimit = kDefaultTrustLimit;
    // Fixed seeds make the deals reproducible.
    bool fixedSeed = false;
    uint32_t seed = 0;
};

class Table : public Session {
public:
    Table(TableOptions options, ServerLog& log);
    ~Table() override;
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    // Creates the referee board, sets the rules and seats the five bots.
    bool Open(std::string& error);

    bool OnConnected(Connection& connection, std::string& reason) override;
    bool OnMessage(Connection& connection, const Message& message, std::string& reason) override;
    void OnClosed(Connection& connection, const std::string& reason) override;

    // Hands scored since the table opened (readable from any thread).
    uint32_t handsScored() const { return handsScored_.load(); }

private:
    struct Seat {
        std::string userName;
        std::string nickname;
        Connection* connection = nullptr;
        bool human = false;           // a human holds the seat, here or away
        bool trustRequested = false;  // the player asked for trust play (or quit into it)
        bool quitting = false;        // left by trust quit: no offline notice
        bool away = false;            // its player dropped and may come back
        bool automatic = false;       // what the board was last told
        uint8_t trustUsed = 0;        // times trust play was entered this hand
        uint32_t titleId = 0;
        Clock::time_point faceWindowStart;  // the face messages' rate window
        int facesInWindow = 0;
    };

    // Messages.
    bool OnJoin(Connection& connection, const Message& message, std::string& reason);
    bool OnMemberMessage(Connection& connection, const Message& message, std::string& reason);
    bool OnSpeedTest(Connection& connection, const Message& message, std::string& reason);
    void OnTrustPlayRequest(Connection& connection, const Message& message);
    void OnTrustQuit(Connection& connection, const Message& message);
    void OnLeave(Connection& connection);
    void OnSetTitle(Connection& connection, const Message& message);
    // The platform's extras (PlayerExtras.h): a seated player gets the
    // players' information, the honour table, the title list, an award and
    // the task's status; a task request is answered with the task and its
    // progress, a reported stage with the verdict, a title list request with
    // the list.
    void SendExtras(Connection& connection);
    void OnExtraRequest(Connection& connection, const Message& message);
    // The face message goes to every member: only from a seated player,
    // with its 12-byte body naming the sender's own seat, and at most
    // kFacesPerWindow in kFaceWindow; false drops it (logged).
    bool FaceMayGo(Connection& connection, const Message& message);
    void ToReferee(Connection& connection, const Message& message);

    // Joining.
    void RefuseJoin(Connection& connection, uint32_t result, const std::string& why);
    bool SeatPlayer(Connection& connection, const std::string& name, int seat);
    bool SeatWatcher(Connection& connection, const std::string& name, int seat);
    // Takes a member off the table: a player's seat goes under automatic
    // action (with the offline notice unless it quit), a watcher leaves the
    // board's list.
    void Detach(Connection& connection, bool notifyOffline);
    Connection* FindMember(const std::string& userName);
    std::vector<JoinSeat> JoinSeats() const;
    std::vector<Connection*> Members() const;

    // Board.
    int32_t BoardEvent(int32_t code, int32_t userId, int32_t identify, void* param);
    static int32_t QVBOARD_CALL BoardCallbackEntry(BoardCallbackRecord* record);
    int32_t OnBoardCallback(const BoardCallbackRecord& record);
    void Route(uint32_t code, const NetMsgHeader* block, int seat, const char* recipient);
    void SetAutomatic(int seat, bool on);
    bool ReplacePlayerRecord(int seat);
    void SendBoardData(Connection& connection);
    void ReadyAutomaticSeats();

    void SendToAll(const Message& message, const Connection* except = nullptr);
    uint8_t TrustLimit() const { return options_.trustLimit; }

    TableOptions options_;
    ServerLog& log_;
    BoardHandle board_ = nullptr;
    const BoardGameState* state_ = nullptr;
    int eventDepth_ = 0;
    bool readying_ = false;
    Seat seats_[kSeatCount];
    std::vector<Connection*> watchers_;
    uint32_t nextWatcherId_ = 1000;
    std::atomic<uint32_t> handsScored_{0};
};

}  // namespace tableserver
