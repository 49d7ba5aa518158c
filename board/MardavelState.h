// Table state of the Mardavel board: five seats, four packs of 54 cards.
//
// BoardGameState is read in place by the host (it gets a pointer to it), so
// its layout is fixed to the byte and checked below. The per-board data that
// the host does not see lives in MardavelSideData beside it; only its first
// part (the saved plays) is handed to the host by pointer as well.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "BoardInterface.h"  // BoardPlayerRecord and its flags

// ---------------------------------------------------------------- cards

constexpr int kBoardSeats = 5;
constexpr int kCardAreaSize = 52;       // entries of one hand or one play area
constexpr int kPackCards = 54;
constexpr int kPackCount = 4;
constexpr int kAllCards = kPackCards * kPackCount;  // ids 0-215

constexpr uint8_t kGuardCardId = 216;    // the guard's card, a small joker
constexpr uint8_t kEmperorCardId = 217;  // the emperor's card, a big joker
constexpr uint8_t kNamedCardIdBase = 218;  // named guard card: rank value + 218
constexpr uint8_t kHiddenCardId = 255;

constexpr int kRankCount = 15;           // rank values 0-12, 13, 14
constexpr uint8_t kSmallJokerRank = 13;
constexpr uint8_t kBigJokerRank = 14;
constexpr uint8_t kSmallJokerSuit = 52;
constexpr uint8_t kBigJokerSuit = 53;

// CardEntry flags
constexpr uint8_t kCardEmperor = 0x01;
constexpr uint8_t kCardGuard = 0x02;
constexpr uint8_t kCardSelected = 0x04;
constexpr uint8_t kCardPassed = 0x08;       // marked to be passed with the emperor's card
constexpr uint8_t kCardPicked = 0x10;       // left out of the counts that skip picked cards
constexpr uint8_t kCardGroupSorted = 0x20;  // the list was sorted in group mode

// One card in a hand or on the table.
struct CardEntry {
    uint8_t id;
    uint8_t rank;        // 0-12, 13 small joker, 14 big joker
    uint8_t groupCount;  // entries of the same rank value, set by sorting
    uint8_t suit;        // 0-3, or 52 / 53 for the small / big joker
    uint8_t flags;       // kCard* above
};
static_assert(sizeof(CardEntry) == 5, "CardEntry is 5 bytes");

// ---------------------------------------------------------------- seats

struct SeatState {
    BoardPlayerRecord player;
    uint32_t watchersMaySee;  // watchers of this seat may see its cards
    uint32_t cardsInHand;
    uint32_t cardsDealt;
    uint32_t tableCardCount;  // cards of this seat now shown on the table, 0 at the deal
};
static_assert(sizeof(SeatState) == 104, "SeatState is 104 bytes");
static_assert(offsetof(SeatState, player) == 0, "SeatState layout");
static_assert(offsetof(SeatState, watchersMaySee) == 88, "SeatState layout");
static_assert(offsetof(SeatState, cardsInHand) == 92, "SeatState layout");
static_assert(offsetof(SeatState, cardsDealt) == 96, "SeatState layout");
static_assert(offsetof(SeatState, tableCardCount) == 100, "SeatState layout");

// ---------------------------------------------------------------- table

enum BoardPhase : uint32_t {
    kPhaseIdle = 0,
    kPhaseEmperor = 1,  // deciding the emperor
    kPhaseGuard = 2,    // the guard decides open or hidden protection
    kPhasePlay = 3,
};

// Bits of the table flag word.
constexpr uint32_t kTableFirstDecisionOpen = 0x001;
constexpr uint32_t kTableFirstPlayDue = 0x002;
constexpr uint32_t kTableGuardShownByCard = 0x004;
constexpr uint32_t kTableGuardCalledOut = 0x008;
constexpr uint32_t kTableEmperorCardReturned = 0x010;
constexpr uint32_t kTableSeatPlaysAlone = 0x020;
constexpr uint32_t kTableKickResult3 = 0x040;
constexpr uint32_t kTableKickResult4 = 0x080;
constexpr uint32_t kTableKickResult5 = 0x100;

// Bits of the rule flag word.
constexpr uint32_t kRuleFlagKickMarks = 0x0000001Fu;   // one bit per seat
constexpr uint32_t kRuleFlagKickStage = 0x00000F00u;   // 0x100, 0x200, 0x300
constexpr uint32_t kRuleFlagOption12 = 0x00080000u;    // bit 19
constexpr uint32_t kRuleFlagsOption12Clear = 0x000F0000u;  // bits 16-19
constexpr int kRuleFlagHandsShift = 20;
constexpr uint32_t kRuleFlagHandsMask = 0x00F00000u;   // bits 20-23: hands per match
constexpr uint32_t kRuleFlagsPerHand = 0x0000FFFFu;    // cleared at each readiness

// The table as the host reads it.
struct BoardGameState {
    SeatState seats[kBoardSeats];
    CardEntry hands[kBoardSeats][kCardAreaSize];
    CardEntry tableCards[kBoardSeats][kCardAreaSize];  // each seat's cards on the table
    CardEntry trickCards[kCardAreaSize];               // the play to beat
    CardEntry checkCards[kCardAreaSize];               // the play being checked
    int32_t readyMarks[kBoardSeats];
    uint32_t handsFinished;  // hands of the match finished
    uint32_t phase;          // BoardPhase
    int32_t leadSeat;        // made the play on the table (at the deal: holder of the emperor's card)
    int32_t trickCount;      // cards of the play on the table
    int32_t checkCount;      // cards of the play being checked
    int32_t seatToAct;
    int32_t emperorSeat;     // -1 none
    int32_t guardSeat;       // -1 none
    int32_t decisionMarks[kBoardSeats];  // guard step choices
    int32_t clockSecondsLeft[kBoardSeats];
    int32_t clockLength[kBoardSeats];
    // Rule options 3, 4, 5, 6, 9, 2, 1, 0 in this order, then 7 and 8.
    int32_t optReadyTime;
    int32_t optDecisionTime;
    int32_t optFirstPlayTime;
    int32_t optPlayTime;
    int32_t optShortPacks;
    int32_t optLowestLast;
    int32_t optPassHighCard;
    int32_t optMoreCardsBeat;
    int32_t optAllSeatsGuardStep;
    uint8_t optStored8;
    uint8_t reserved0[3];
    int32_t readyCount;
    int32_t finishPlace[kBoardSeats];  // 1 = first out, 0 = still playing
    int32_t outCount;
    int32_t sortMode;                  // own hand: 0 group mode, 1 plain
    int32_t lastScore[kBoardSeats];
    int32_t handTotal[kBoardSeats];
    uint32_t tableFlags;               // kTable* bits
    uint8_t firstChoices[kBoardSeats]; // first decision with rule option 10
    uint8_t optJointFirstDecision;     // rule option 10
    uint8_t optNoGuardCard;            // rule option 11
    uint8_t rememberedCardId;          // 255 unless set
    uint32_t ruleFlags;                // kRuleFlag* bits
};

static_assert(sizeof(BoardGameState) == 3880, "BoardGameState is 3880 bytes");
static_assert(offsetof(BoardGameState, seats) == 0, "BoardGameState layout");
static_assert(offsetof(BoardGameState, hands) == 520, "BoardGameState layout");
static_assert(offsetof(BoardGameState, tableCards) == 1820, "BoardGameState layout");
static_assert(offsetof(BoardGameState, trickCards) == 3120, "BoardGameState layout");
static_assert(offsetof(BoardGameState, checkCards) == 3380, "BoardGameState layout");
static_assert(offsetof(BoardGameState, readyMarks) == 3640, "BoardGameState layout");
static_assert(offsetof(BoardGameState, handsFinished) == 3660, "BoardGameState layout");
static_assert(offsetof(BoardGameState, phase) == 3664, "BoardGameState layout");
static_assert(offsetof(BoardGameState, leadSeat) == 3668, "BoardGameState layout");
static_assert(offsetof(BoardGameState, trickCount) == 3672, "BoardGameState layout");
static_assert(offsetof(BoardGameState, checkCount) == 3676, "BoardGameState layout");
static_assert(offsetof(BoardGameState, seatToAct) == 3680, "BoardGameState layout");
static_assert(offsetof(BoardGameState, emperorSeat) == 3684, "BoardGameState layout");
static_assert(offsetof(BoardGameState, guardSeat) == 3688, "BoardGameState layout");
static_assert(offsetof(BoardGameState, decisionMarks) == 3692, "BoardGameState layout");
static_assert(offsetof(BoardGameState, clockSecondsLeft) == 3712, "BoardGameState layout");
static_assert(offsetof(BoardGameState, clockLength) == 3732, "BoardGameState layout");
static_assert(offsetof(BoardGameState, optReadyTime) == 3752, "BoardGameState layout");
static_assert(offsetof(BoardGameState, optDecisionTime) == 3756, "BoardGameState layout");
static_assert(offsetof(BoardGameState, optFirstPlayTime) == 3760, "BoardGameState layout");
static_assert(offsetof(BoardGameState, optPlayTime) == 3764, "BoardGameState layout");
static_assert(offsetof(BoardGameState, optShortPacks) == 3768, "BoardGameState layout");
static_assert(offsetof(BoardGameState, optLowestLast) == 3772, "BoardGameState layout");
static_assert(offsetof(BoardGameState, optPassHighCard) == 3776, "BoardGameState layout");
static_assert(offsetof(BoardGameState, optMoreCardsBeat) == 3780, "BoardGameState layout");
static_assert(offsetof(BoardGameState, optAllSeatsGuardStep) == 3784, "BoardGameState layout");
static_assert(offsetof(BoardGameState, optStored8) == 3788, "BoardGameState layout");
static_assert(offsetof(BoardGameState, readyCount) == 3792, "BoardGameState layout");
static_assert(offsetof(BoardGameState, finishPlace) == 3796, "BoardGameState layout");
static_assert(offsetof(BoardGameState, outCount) == 3816, "BoardGameState layout");
static_assert(offsetof(BoardGameState, sortMode) == 3820, "BoardGameState layout");
static_assert(offsetof(BoardGameState, lastScore) == 3824, "BoardGameState layout");
static_assert(offsetof(BoardGameState, handTotal) == 3844, "BoardGameState layout");
static_assert(offsetof(BoardGameState, tableFlags) == 3864, "BoardGameState layout");
static_assert(offsetof(BoardGameState, firstChoices) == 3868, "BoardGameState layout");
static_assert(offsetof(BoardGameState, optJointFirstDecision) == 3873, "BoardGameState layout");
static_assert(offsetof(BoardGameState, optNoGuardCard) == 3874, "BoardGameState layout");
static_assert(offsetof(BoardGameState, rememberedCardId) == 3875, "BoardGameState layout");
static_assert(offsetof(BoardGameState, ruleFlags) == 3876, "BoardGameState layout");

// ---------------------------------------------------------------- beside the state

// Each seat's previous play, kept for display. The host gets a pointer to the
// counts and one to the cards that follow them.
struct SavedPlays {
    uint32_t counts[kBoardSeats];
    CardEntry cards[kBoardSeats][kCardAreaSize];
};
static_assert(sizeof(SavedPlays) == 1320, "SavedPlays: five counts, then 325 words of cards");
static_assert(offsetof(SavedPlays, cards) == 20, "the saved cards follow the counts");

constexpr int kTableSummarySize = 60;

// Per-board data beside the state. Of it the host reads only the saved plays,
// through the two pointers. The hand's message log stays with the board
// class, which owns the byte buffer it grows.
struct MardavelSideData {
    SavedPlays saved;
    uint8_t tableSummary[kTableSummarySize];  // all 255 at construction
    int32_t nextDealSeat;          // the last emperor, -1 none
    int32_t nextDealSeatOverride;  // -1 none; kept for the board class, the deal reads nextDealSeat
    uint32_t liveTable;            // 1 live table, 0 replay
    int32_t option100;             // stored only
    int32_t unseenCounts[kRankCount];  // cards of each rank value not yet seen, -1 none in play
    int32_t firstOutSeat;          // seat that went out first in the last hand, -1 none
    uint32_t emperorCardReturns;   // times the emperor's card came back in this deal
};

// ---------------------------------------------------------------- rule options

enum RuleOption : int {
    kOptMoreCardsBeat = 0,       // a larger play with enough jokers may beat a smaller one
    kOptPassHighCard = 1,        // the emperor's card travels with the highest plain card
    kOptLowestLast = 2,          // the lowest rank may only go out as the last cards
    kOptReadyTime = 3,           // seconds for readiness and the first decision
    kOptDecisionTime = 4,        // seconds for the other decisions
    kOptFirstPlayTime = 5,       // seconds for the first play of a hand
    kOptPlayTime = 6,            // seconds for every other play
    kOptAllSeatsGuardStep = 7,   // every seat takes part in the guard step
    kOptStored8 = 8,
    kOptShortPacks = 9,          // rank values 0-2 out of every pack (168 cards)
    kOptJointFirstDecision = 10, // all seats make the first emperor decision at once
    kOptNoGuardCard = 11,        // no guard's card; the guard is found by a named card
    kOptKickRules = 12,          // 165-card deal, card passes two seats back, kick stage
    kOptHandsPerMatch = 13,
    kOptStored100 = 100,
};

constexpr int kDefaultReadyTime = 20;
constexpr int kDefaultDecisionTime = 10;
constexpr int kDefaultFirstPlayTime = 30;
constexpr int kDefaultPlayTime = 20;
constexpr int kDefaultClockSeconds = 20;
constexpr int kDefaultHandsPerMatch = 1;
constexpr int kMaxHandsPerMatch = 15;  // four bits of the rule flags

inline bool KickRulesOn(const BoardGameState& s) { return (s.ruleFlags & kRuleFlagOption12) != 0; }
inline bool ShortPacksOn(const BoardGameState& s) { return s.optShortPacks != 0; }
inline bool NoGuardCardOn(const BoardGameState& s) { return s.optNoGuardCard != 0; }
inline bool MoreCardsBeatOn(const BoardGameState& s) { return s.optMoreCardsBeat != 0; }
inline int HandsPerMatch(const BoardGameState& s)
{
    return static_cast<int>((s.ruleFlags & kRuleFlagHandsMask) >> kRuleFlagHandsShift);
}
// The match goes on while fewer hands than agreed have been finished.
inline bool MatchGoesOn(const BoardGameState& s)
{
    return s.handsFinished < static_cast<uint32_t>(HandsPerMatch(s));
}
inline bool IsValidSeat(int seat) { return seat >= 0 && seat < kBoardSeats; }

// State of a new board: every option at its default, nobody emperor or guard.
inline void InitBoardGameState(BoardGameState& s)
{
    std::memset(&s, 0, sizeof s);
    s.emperorSeat = -1;
    s.guardSeat = -1;
    for (int i = 0; i < kBoardSeats; ++i) {
        s.clockSecondsLeft[i] = kDefaultClockSeconds;
        s.clockLength[i] = kDefaultClockSeconds;
    }
    s.optReadyTime = kDefaultReadyTime;
    s.optDecisionTime = kDefaultDecisionTime;
    s.optFirstPlayTime = kDefaultFirstPlayTime;
    s.optPlayTime = kDefaultPlayTime;
    s.optShortPacks = 1;
    s.optPassHighCard = 1;
    s.optAllSeatsGuardStep = 1;
    s.rememberedCardId = kHiddenCardId;
    s.ruleFlags = static_cast<uint32_t>(kDefaultHandsPerMatch) << kRuleFlagHandsShift;
}

// Clears what the last hand left on the table: finishing places, the number
// of seats out, the guard step's marks, the first-decision choices and the
// play counts. A deal starts from here on both sides.
inline void ClearHandProgress(BoardGameState& s)
{
    std::memset(s.finishPlace, 0, sizeof s.finishPlace);
    s.outCount = 0;
    std::memset(s.decisionMarks, 0, sizeof s.decisionMarks);
    std::memset(s.firstChoices, 0, sizeof s.firstChoices);
    s.trickCount = 0;
    s.checkCount = 0;
    for (SeatState& seat : s.seats)
        seat.tableCardCount = 0;
}

inline void InitSideData(MardavelSideData& d)
{
    std::memset(&d, 0, sizeof d);
    std::memset(d.tableSummary, 0xFF, sizeof d.tableSummary);
    d.nextDealSeat = -1;
    d.nextDealSeatOverride = -1;
    d.liveTable = 1;
    d.firstOutSeat = -1;
}

// Sets one rule option. Every id is accepted; ids without a rule are ignored.
// The number of hands per match replaces the previous number (four bits,
// values above 15 count as 15) rather than being ORed into it, so that a
// table can agree on two hands after the default of one.
inline void SetRuleOption(BoardGameState& s, MardavelSideData& d, int id, int value)
{
    switch (id) {
    case kOptMoreCardsBeat: s.optMoreCardsBeat = value; break;
    case kOptPassHighCard: s.optPassHighCard = value; break;
    case kOptLowestLast: s.optLowestLast = value; break;
    case kOptReadyTime: s.optReadyTime = value; break;
    case kOptDecisionTime: s.optDecisionTime = value; break;
    case kOptFirstPlayTime: s.optFirstPlayTime = value; break;
    case kOptPlayTime: s.optPlayTime = value; break;
    case kOptAllSeatsGuardStep: s.optAllSeatsGuardStep = value; break;
    case kOptStored8: s.optStored8 = static_cast<uint8_t>(value); break;
    case kOptShortPacks: s.optShortPacks = value; break;
    case kOptJointFirstDecision: s.optJointFirstDecision = static_cast<uint8_t>(value); break;
    case kOptNoGuardCard: s.optNoGuardCard = static_cast<uint8_t>(value); break;
    case kOptKickRules:
        if (value != 0)
            s.ruleFlags |= kRuleFlagOption12;
        else
            s.ruleFlags &= ~kRuleFlagsOption12Clear;
        break;
    case kOptHandsPerMatch: {
        uint32_t hands = value < 0 ? 0u : static_cast<uint32_t>(value > kMaxHandsPerMatch ? kMaxHandsPerMatch : value);
        s.ruleFlags = (s.ruleFlags & ~kRuleFlagHandsMask) | (hands << kRuleFlagHandsShift);
        break;
    }
    case kOptStored100: d.option100 = value; break;
    default: break;
    }
}
