// Deciding the emperor and the guard: the checks of phases 1 and 2, the
// emperor's card passed on, and the outcome of each decision round, on the
// table state without callbacks or messages.
#pragma once

#include <cstdint>
#include <string>

#include "MardavelState.h"

// Emperor choices (message 0x26002) and guard-step results (0x26004, 0x26010).
enum EmperorChoice : int {
    kChoiceAccept = 1,
    kChoicePass = 2,
    kChoiceAlone = 3,
};
// First-decision choice bytes with rule option 10.
constexpr uint8_t kFirstChoicePass = 0;
constexpr uint8_t kFirstChoiceAlone = 1;
constexpr uint8_t kFirstChoiceAccept = 2;

enum GuardResult : int {
    kGuardHidden = 3,
    kGuardOpen = 4,
    kGuardCalledOut = 5,
};
enum KickResult : int {
    kKickNone = 2,
    kKickThree = 3,
    kKickEmperor = 4,
    kKickGuard = 5,
};
constexpr uint32_t kKickStageOpen = 0x100;     // after open protection
constexpr uint32_t kKickStageCalledOut = 0x200;
constexpr uint32_t kKickStageAlone = 0x300;    // after an emperor alone

constexpr int kMaxPassedCards = 9;

// Who asks: the referee checks the seat against the sender's seat (-1 when the
// sender has no seat of his own, for instance a watcher).
struct DeciderSide {
    bool referee = false;
    int senderSeat = -1;
};

// The outcome of a check: refused with a log line, refused silently (empty
// line), or accepted.
struct Verdict {
    bool ok = true;
    std::string line;
    static Verdict Accept() { return Verdict{}; }
    static Verdict Refuse(std::string text = std::string()) { return Verdict{false, std::move(text)}; }
};

// The first emperor decision of the hand is made by all seats at once (rule
// option 10, while table flag bit 0 is set).
bool JointFirstDecision(const BoardGameState& s);
// The kick stage (rule flag bits 8-11), 0 when none is open.
uint32_t KickStage(const BoardGameState& s);
bool HasDecided(const BoardGameState& s, int seat);

Verdict CanDetermineEmperor(const BoardGameState& s, int seat, const DeciderSide& side);
Verdict CanDetermineGuard(const BoardGameState& s, int seat, const DeciderSide& side);
Verdict CanDetermineKick(const BoardGameState& s, int seat, const DeciderSide& side);

// The seat the emperor's card goes to: the seat before, or with rule option
// 12 the seat (seat + 2) mod 5.
int EmperorPassTarget(const BoardGameState& s, int seat);
// Marks the cards that go with the emperor's card (flag kCardPassed): the
// emperor's card, and unless the first decision is still open the highest
// plain card not received in a pass (rule option 1). Returns the ids of the
// marked entries in hand order, at most nine. The hand ends sorted in the
// table's sort mode.
int BuildEmperorPass(BoardGameState& s, int seat, uint8_t ids[kMaxPassedCards]);

// The first-decision round: the seat that plays alone, looking from the seat
// to act backwards (t, t - 1, ... t - 4); -1 when nobody declared.
int JointDecisionWinner(const BoardGameState& s);

// The guard step's round: complete, and its result and seat.
bool GuardRoundComplete(const BoardGameState& s);
struct GuardOutcome {
    int result = kGuardHidden;
    int seat = -1;
};
GuardOutcome ResolveGuardRound(const BoardGameState& s);

// The kick stage's round, after a decision of decidingSeat.
int KickMarkCount(const BoardGameState& s);
bool KickRoundComplete(const BoardGameState& s);
int ResolveKickRound(const BoardGameState& s, int decidingSeat);

// Rule option 11: the emperor holds three identical cards (the named card);
// the guard is the emperor when he holds all four, else the first other seat
// in seat order holding a copy. guardSeat -1 when nobody is found.
struct NamedGuard {
    bool named = false;
    CardEntry card{};     // the named card (id, rank value, suit)
    int guardSeat = -1;
    int cardIndex = -1;   // the guard's copy in its hand, searched from the end
};
NamedGuard FindNamedGuard(const BoardGameState& s, int emperor);
