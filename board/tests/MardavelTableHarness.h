// A table as a game server runs it, in one process: one referee board and a
// player board for each seat and each watcher, wired through their
// callbacks. The referee's messages (callbacks 0, 3, 4, 5, 7) go to the
// boards they name, the players' messages (callback 8) to the referee, in
// order, through one queue. A seeded driver plays the seats that are not under
// automatic action from their own boards' view: readiness, decisions, hints
// and leads. Checks after each step: every card is accounted for, each board's
// view agrees with the referee's (hidden cards excepted), and no board logs a
// line that a sound table never logs.
//
// Used by the match tests, the benchmark and the fuzzer; no test framework.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "BoardInterface.h"
#include "MardavelState.h"

class TableHarness {
public:
    // A message a board handed to its host (callbacks 0, 3, 4, 5, 7, 8).
    struct Sent {
        uint32_t code = 0;
        int seat = -1;          // callbacks 3, 4, 5
        std::string recipient;  // callback 7
        std::vector<uint8_t> bytes;
        const NetMsgHeader* Msg() const { return reinterpret_cast<const NetMsgHeader*>(bytes.data()); }
        uint32_t Id() const { return Msg()->id; }
        // Body word i (little-endian), 0 beyond the body.
        int32_t Word(uint32_t i) const;
    };

    struct Party {
        TableHarness* table = nullptr;
        int index = 0;
        BoardHandle board = nullptr;
        bool referee = false;
        int seat = -1;          // seat played or watched
        bool watching = false;
        BoardPlayerRecord record{};
        std::vector<std::string> logs;
        std::vector<BoardCallbackRecord> calls;  // every callback but 13 (kept when recording)
        std::vector<Sent> sent;                  // messages handed to the host (when recording)
        bool decidedThisStep = false;            // a decision sent in the current phase step
        uint32_t stepKey = 0;                    // the phase step that decision belongs to
        uint32_t emperorMessages = 0;            // emperor decisions delivered to the board
        const BoardGameState* state = nullptr;
    };

    struct Counters {
        int hands = 0;          // score messages sent by the referee
        int deals = 0;
        int plays = 0;
        int passes = 0;
        int hintsUsed = 0;
        int matchesOver = 0;    // callback 17 with 0 from the referee
        int deliveries = 0;
        // What the referee announced, by path: "emperor 1", "emperor 2",
        // "emperor 3 alone" ..., "guard 3".."guard 5", "kick 2".."kick 5",
        // "named guard", "no named guard", "lead passed on".
        std::map<std::string, int> paths;
        uint64_t digest = 1469598103934665603ull;  // of every message the referee sent, in order
        int trustToggles = 0;
    };

    // seed drives the deals and the driver's choices.
    explicit TableHarness(uint32_t seed, bool recordCalls = false);
    ~TableHarness();
    TableHarness(const TableHarness&) = delete;
    TableHarness& operator=(const TableHarness&) = delete;

    // Seats five players (and the watchers given as seats watched); every
    // player board is sent the board data. Options first (rule option id,
    // value).
    void Setup(const std::vector<std::pair<int, int>>& options, const std::vector<int>& watchedSeats);
    // Trust play (automatic action) of a seat: the referee's event and the
    // platform message to every board.
    void SetTrustPlay(int seat, bool on);
    // A seat's player goes offline: the referee's event and the platform
    // message to every board.
    void SetOffline(int seat);
    // The seat's player lets its watchers see its cards (before a hand).
    void LetWatchersSee(int seat);

    // Delivers queued messages until none is left; false when it never ends.
    bool Pump();
    // One action of one board that may act; false when no board can act.
    bool ActOnce();
    // Plays until `hands` more hands are scored or something goes wrong;
    // false when a hand got stuck.
    bool PlayHands(int hands, int maxActions = 100000);

    // Whether the cards add up and every board agrees with the referee;
    // problems are appended to Problems().
    void CheckCards();
    void CheckViews();
    const std::vector<std::string>& Problems() const { return m_problems; }
    void AddProblem(const std::string& p);

    Party& Referee() { return *m_parties[0]; }
    Party& SeatPlayer(int seat) { return *m_parties[1 + seat]; }
    std::vector<std::unique_ptr<Party>>& Parties() { return m_parties; }
    const BoardGameState& RefereeState() const { return *m_parties[0]->state; }
    const Counters& Count() const { return m_counters; }
    int32_t Event(Party& p, int32_t code, int32_t userId = -1, int32_t identify = -1, void* param = nullptr);

    // Lines a sound table may log.
    static bool ExpectedLog(const std::string& line);
    // The driver's probability of passing the emperor's card on (0-100).
    void SetPassPercent(int percent) { m_passPercent = percent; }
    void SetChecksEachDelivery(bool on) { m_checkEachDelivery = on; }
    // Chance per thousand actions that a seat's trust play is switched.
    void SetTrustToggles(int perThousand) { m_trustToggles = perThousand; }
    // Called after each delivery (the fuzzer's hook).
    std::function<void()> afterDelivery;

private:
    struct Delivery {
        int to = 0;
        std::vector<uint8_t> bytes;
        int32_t userId = -1;
        int32_t identify = -1;
    };

    static int32_t QVBOARD_CALL Callback(BoardCallbackRecord* record);
    int32_t OnCallback(Party& from, BoardCallbackRecord& record);
    void Queue(int to, const NetMsgHeader* msg, int32_t userId, int32_t identify);
    void QueueToSeat(const NetMsgHeader* msg, int seat, bool player, bool watchers);
    void SnapshotDeal();
    void NotePlayed(const NetMsgHeader* msg);
    void NotePath(const NetMsgHeader* msg);
    bool ActFor(Party& p);
    bool Decide(Party& p, const BoardGameState& s);
    bool PlayTurn(Party& p, const BoardGameState& s);
    void SelectCards(Party& p, const std::vector<uint8_t>& ids);
    uint32_t StepKey(const Party& p, const BoardGameState& s) const;

    std::vector<std::unique_ptr<Party>> m_parties;
    std::deque<Delivery> m_queue;
    std::vector<std::string> m_problems;
    std::mt19937 m_rng;
    uint32_t m_seed;
    bool m_record;
    bool m_checkEachDelivery = true;
    int m_passPercent = 35;
    int m_trustToggles = 0;
    size_t m_nextActor = 0;
    Counters m_counters;
    // Faces (rank value * 64 + suit) dealt, and those played since the deal.
    std::vector<int> m_dealt;
    std::vector<int> m_played;
    std::vector<int> m_dealtHands;  // ids per seat of the last deal
    bool m_dealSeen = false;
    int m_handsAtLastDeal = 0;
};
