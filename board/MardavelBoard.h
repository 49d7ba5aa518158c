// The game board: a CBoardClient that holds the table of one five-seat game.
//
// The same class runs on both sides of a table. The referee (mode 0) deals,
// checks every decision and play, acts for seats under automatic action,
// scores, and sends its results to the seats (callbacks 0, 3, 4, 5, 7). The
// player side (mode 1) checks the user's commands, sends them to the referee
// (callback 8), applies the referee's messages to its copy of the table and
// tells the host what changed (callbacks 10000 and up).
//
// The rules themselves live in free functions over the table state
// (MardavelCards, MardavelDecisions, MardavelPlay, MardavelHints,
// MardavelScoring, BoardRandom); this class reads messages, keeps the state
// and raises the callbacks.
#pragma once

#include <cstdint>

#include "Board.h"
#include "BoardRandom.h"
#include "ByteBuffer.h"
#include "MardavelDecisions.h"
#include "MardavelHints.h"
#include "MardavelState.h"

// Game messages.
enum MardavelMessage : uint32_t {
    kMsgReady = 0x26000,
    kMsgEmperorChoice = 0x26002,
    kMsgGuardChoice = 0x26004,
    kMsgPlay = 0x26005,
    kMsgWatchersMaySee = 0x26007,
    kMsgRestart = 0x26009,
    kMsgKickChoice = 0x26010,
    kMsgRelayedBlock = 0x26011,
    kMsgMessageLog = 0x26012,
    kMsgAnnouncement = 0x26013,
    kMsgBlock = 0x26014,
    kMsgSeatPlayer = 0x26022,
    kMsgEntries = 0x26024,
    kMsgDeal = 0x80026001,
    kMsgEmperorResult = 0x80026003,
    kMsgScore = 0x80026006,
    kMsgTableSummary = 0x80026023,
};

// Game events.
enum MardavelEvent : int32_t {
    kEvSendMessageLog = 4110,
    kEvAnnounce = 4111,
    kEvSeatSummaries = 4112,
    kEvWrapBlock = 4113,
    kEvNameSeatPlayer = 4114,  // 0x1012: the client's set-title request (own seat, title id)
    kEvSendTableSummary = 4115,
    kEvRelayEntries = 4116,
    kEvReady = 10000,
    kEvAcceptEmperor = 10010,
    kEvPassEmperorCard = 10011,
    kEvPlayAlone = 10042,
    kEvGuardOpen = 10020,
    kEvGuardHidden = 10021,
    kEvPlayCards = 10030,
    kEvPass = 10031,
    kEvNextHint = 10032,
    kEvToggleSort = 10040,
    kEvToggleWatchersMaySee = 10041,
    kEvTableState = 10050,
    kEvSavedCounts = 10053,
    kEvSavedCards = 10054,
    kEvIdenticalCards = 10055,
    kEvBothMarkedCards = 10056,
    kEvKick = 10057,
    kEvNoKick = 10058,
    kEvLiveTable = 10059,
    kEvSetCard = 10060,
    kEvUndoReplayStep = 10061,
};

// Callbacks of the game level.
enum MardavelCallback : uint32_t {
    kCbHandEndMarker = 19,
    kCbHandEnded = 20,
    kCbAllReady = 21,
    kCbScoreSent = 22,
    kCbSeatActed = 23,
    kCbRefresh = 10000,
    kCbSeatReady = 10001,
    kCbDealArrived = 10002,
    kCbEmperorDecided = 10003,
    kCbEmperorResult = 10004,
    kCbGuardDecided = 10005,
    kCbPlayApplied = 10006,
    kCbHandResult = 10007,
    kCbSeatCards = 10008,
    kCbSeatTable = 10009,
    kCbAnnounce = 10010,
    kCbClock = 10011,
    kCbPlayRefused = 10013,
    kCbWatchersMaySee = 10015,
    kCbKickOpen = 10016,
    kCbKickDone = 10017,
    kCbSeatAlone = 10018,
    kCbScoreFactor = 10020,
    kCbRelayedBlock = 10021,
    kCbAnnouncement = 10022,
    kCbBlock = 10023,
    kCbEntries = 10026,
};

class CMardavelBoard : public CBoardClient {
public:
    static constexpr size_t kAnnouncementEntrySize = 124;
    static constexpr size_t kSeatSummarySize = 108;
    static constexpr int32_t kMaxRelayedEntries = 8190;  // body below 64 KiB
    static constexpr uint32_t kMaxMessageLog = 4u << 20;

    CMardavelBoard();
    ~CMardavelBoard() override;

    // Framework and client layers first, then the game's events. Unknown codes
    // answer 1. Automatic actions that an event caused run before it returns.
    int OnEvent(int32_t code, int32_t userId, int32_t identify, void* param) override;
    // Base messages first, then the game's messages.
    int ProcessMsg(NetMsgHeader* msg) override;
    int SetOption(int32_t id, int32_t value) override;

    // The stream's leading version, the framework's part, then the table state
    // with the cards that the recipient may not see hidden.
    int ExportBoardData(NetMsgHeader** stream, int32_t a, int32_t b, int32_t seat,
                        int32_t identify) override;
    int ImportBoardData(NetMsgHeader* stream) override;
    int ReadSeatValues(int32_t count, void* out) override;

    int OnPlayerSeat(int32_t seat) override;
    int OnPlayerLeave(int32_t seat) override;
    int OnSeatFlag(int32_t seat, const char* name, int32_t flag) override;
    int OnTrustPlay(int32_t seat, const char* name, int32_t state) override;
    int OnOffline(int32_t seat, const char* name) override;

    // Makes every following deal reproducible (the table server and tests).
    void SeedDeals(uint32_t boardSeed, unsigned crtSeed) { m_random.Fix(boardSeed, crtSeed); }

    const BoardGameState& State() const { return m_state; }
    BoardGameState& MutableState() { return m_state; }
    const MardavelSideData& Side() const { return m_side; }
    // The hand's message log: each message preceded by its u32 size.
    const CByteBuffer& MessageLog() const { return m_log; }

protected:
    virtual int WriteTableState(NetMsgHeader** stream, int32_t seat, int32_t identify);
    virtual int ReadTableState(NetMsgHeader* stream);

private:
    // ---- messages out (MardavelBoard.cpp)
    void SendAll(NetMsgHeader* msg) { Callback(kCbSendAll, reinterpret_cast<intptr_t>(msg)); }
    void SendSeatAndWatchers(NetMsgHeader* msg, int seat);
    void SendSeat(NetMsgHeader* msg, int seat);
    void SendWatchers(NetMsgHeader* msg, int seat);
    void SendReferee(NetMsgHeader* msg) { Callback(kCbSendReferee, reinterpret_cast<intptr_t>(msg)); }
    void AddToLog(const NetMsgHeader* msg);
    void ClearLog() { m_log.Reset(false); }
    // A player-side notification (nothing on the referee).
    void Notify(uint32_t code, intptr_t p1 = 0, intptr_t p2 = 0);
    void StopClock() { Notify(kCbClock, 0, 0); }
    void StartClock(int32_t seconds) { Notify(kCbClock, 1, seconds); }
    void LogOutOfMemory(int line);

    // ---- who acts
    int OwnSeatOrNone() const;
    bool OwnHandVisible() const;
    int SenderSeat() const;
    DeciderSide Decider() const { return DeciderSide{IsReferee(), SenderSeat()}; }
    // Applies a decision or play as if the seat's player had sent it.
    class ActingSeat;
    bool NamedRecordIsWatcher(const char* name);

    // ---- events (MardavelBoard.cpp)
    int DispatchGameEvent(int32_t code, int32_t userId, int32_t identify, void* param);
    int SendMessageLog(const char* recipient);
    int Announce(int32_t kind, int32_t count, const uint8_t* entries);
    int FillSeatSummaries(uint8_t* out);
    int WrapBlock(int32_t size, const void* block);
    int NameSeatPlayer(int32_t seat, int32_t value);
    int SendTableSummary(const char* recipient);
    int RelayEntries(int32_t toRecipient, int32_t count, const uint8_t* param);
    int ToggleSortMode();
    int ToggleWatchersMaySee();
    int NextHint(void* param);
    int QueryIdenticalCards(int32_t k, void* param);
    int QueryBothMarkedCards(void* param);
    int SetCardEntry(int32_t id, void* param);
    int UndoReplayStep(int32_t seat, int32_t leader, const NetMsgHeader* play);
    int HandToHost(NetMsgHeader* msg, uint32_t code, intptr_t size);
    int OnWatchersMaySee(const NetMsgHeader* msg);

    // ---- readiness and the deal (MardavelBoardHand.cpp)
    int ReadyCommand();
    int OnReady(const NetMsgHeader* msg);
    void StartHand();
    void Deal();
    void Redeal();
    int OnDeal(const NetMsgHeader* msg);
    int OnRestart();

    // ---- deciding the emperor and the guard (MardavelBoardHand.cpp)
    struct EmperorDecision {
        int seat = 0;
        int choice = 0;
        int32_t target = -1;
        int count = 0;
        uint8_t ids[kMaxPassedCards] = {};
    };
    int SendEmperorChoice(int choice);
    int OnEmperorChoice(const NetMsgHeader* msg);
    int ApplyEmperorChoice(EmperorDecision d);
    int RefereeFirstDecision(const EmperorDecision& d);
    void CompleteFirstDecision();
    int ApplyOrdinaryChoice(EmperorDecision d, bool firstDecision);
    void ApplyPlayAlone(const EmperorDecision& d);
    bool RefereeChecksPass(const EmperorDecision& d);
    void MovePassedCards(int from, int to, const uint8_t* ids, int count);
    void SendEmperorMessage(const EmperorDecision& d, uint32_t bodyLength);
    void EmperorResult();
    int OnEmperorResult(const NetMsgHeader* msg);
    void ClearMarkedCardFlags(int seat, uint8_t flags);

    int SendGuardChoice(int choice);
    int OnGuardChoice(const NetMsgHeader* msg);
    int ApplyGuardChoice(int seat, int32_t choice);
    void ApplyGuardResult(int seat, int32_t result);
    int SendKickChoice(int choice);
    int OnKickChoice(const NetMsgHeader* msg);
    int ApplyKickChoice(int seat, int32_t choice);
    void ApplyKickResult(int32_t result);
    void SendPair(uint32_t id, int32_t a, int32_t b, bool log);
    void ClearDecisionMarks();

    // ---- playing, automatic action, clock, score (MardavelBoardPlay.cpp)
    struct Play {
        int seat = 0;
        int32_t next = -1;
        int count = 0;
        uint32_t ids[kCardAreaSize] = {};
    };
    bool CanTakeout(int seat);
    int PlayCards();
    int Pass();
    int OnPlayCards(const NetMsgHeader* msg);
    int ApplyPlay(Play play);
    void ApplyPlayedCards(int seat, const uint32_t* ids, int count);
    void ShowOwnTakeout(const Play& play);
    void EndHand(int lastSeat);
    int OnScore(const NetMsgHeader* msg);
    void RequestAutoAction() { m_autoActionPending = true; }
    void RunPendingAutoActions();
    void AutoAction();
    void AutoDecide();
    void UpdateClock(bool flag);
    void Refresh(bool flag = false) { UpdateClock(flag); }

    BoardGameState m_state;
    MardavelSideData m_side;
    CByteBuffer m_log;
    bool m_logFull = false;
    DealRandom m_random;

    HintList m_hints;
    int m_hintIndex = -1;
    bool m_hintsStale = true;
    CardEntry m_hintBeat[kCardAreaSize] = {};
    int m_hintBeatCount = 0;
    CardEntry m_identical{};  // the card found by event 10055

    bool m_ownPlayShown = false;  // the own play was shown when sent; its echo is due
    int m_gameEventDepth = 0;
    bool m_autoActionPending = false;
};

// Native hosts (the table server stand-in, tests) reach the board behind a
// handle from QVBoardCreate: fixes the seeds of every following deal.
void MardavelSeedDeals(BoardHandle board, uint32_t boardSeed, unsigned crtSeed);
