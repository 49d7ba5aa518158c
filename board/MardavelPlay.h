// Playing and passing, and the automatic action's choices: the rules of
// phase 3 on the table state, without callbacks or messages.
#pragma once

#include <cstdint>

#include "MardavelHints.h"
#include "MardavelState.h"

// Refusal codes of a play (callback 10013).
enum PlayRefusal : int {
    kRefuseLeaderPass = 0,  // the seat that leads may not pass
    kRefuseInvalid = 1,     // not a valid combination
    kRefuseNotHigher = 2,   // not higher than the play on the table
    kRefuseNotComparable = 3,
    kRefuseLowestRank = 4,  // lowest rank only as the last cards (rule option 2)
};

// Announcements (callback 10010) of the board.
constexpr uint32_t kAnnounceDealt = 0x80000001u;
constexpr uint32_t kAnnounceEmperor = 0x80000002u;
constexpr uint32_t kAnnounceGuardStep = 0x80000003u;
constexpr uint32_t kAnnouncePlay = 0x80000004u;
constexpr uint32_t kAnnounceRefused = 0x80000006u;
constexpr uint32_t kAnnounceOut = 0x80000007u;
constexpr uint32_t kAnnouncePass = 0x8000000Au;

// Cards in a seat's hand, at most 52.
int HandCount(const BoardGameState& s, int seat);
// A seat is under automatic action when it is marked, in trust play or offline.
bool IsUnderAutoAction(const BoardGameState& s, int seat);
// Seats under automatic action; with stillPlayingOnly only those not yet out.
int CountAutoSeats(const BoardGameState& s, bool stillPlayingOnly);
// Every seat still playing is under automatic action.
bool AllStillPlayingAreAutomatic(const BoardGameState& s);
// The guard seat, or the emperor's when no guard is known: a hand without a
// guard is played and scored as the emperor's alone.
int EffectiveGuard(const BoardGameState& s);
// The lowest rank value in play: 3 when the low ranks are out of the packs
// (rule option 9, and the deal of rule option 12), else 0.
int LowestRankInPlay(const BoardGameState& s);
// What the play check asks beyond the beat test.
HintRules PlayRules(const BoardGameState& s);

// Index of the first entry with that card id, or -1.
int GetNuberByCardWhat(const CardEntry* cards, int count, int id);

// The seat to act cannot beat the play on the table, whatever it holds.
bool MustPass(const BoardGameState& s);
// Whether the hand is decided (referee).
bool IsHandOver(const BoardGameState& s);
// The first seat after `seat`, in seat order, that has not gone out; -1 none.
int NextSeatStillPlaying(const BoardGameState& s, int seat);
// The seats still playing take the next places in seat order, starting after
// lastSeat, unless the emperor declared to play alone and was not called out.
void AssignRemainingPlaces(BoardGameState& s, int lastSeat);

struct TakeoutCheck {
    int result = 0;       // the kind when accepted, 0 for a pass, -1 when refused
    int refusal = -1;     // PlayRefusal, -1 when an id was missing or none
    int missingId = -1;   // the first id not in the hand (each entry counts once)
};

// Checks a play of n ids for a seat: every id in the seat's hand (each entry
// used once), a valid kind, beating the play on the table unless the seat
// leads, and rule option 2. Sets the play area being checked from the ids,
// sorted in group mode.
TakeoutCheck CheckTakeout(BoardGameState& s, int seat, const uint32_t* ids, int n);

// The automatic action's play for the seat to act: a lead plays the lowest
// card (with rule option 2 not one of the lowest rank unless only those are
// left, then all of them); a follower passes. Returns the number of ids.
int ChooseAutoPlay(const BoardGameState& s, uint8_t ids[kCardAreaSize]);

// Removes a card from a hand by id; false when the hand does not hold it.
bool RemoveCardById(CardEntry* hand, uint32_t& count, uint8_t id);
