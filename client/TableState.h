// The board's table state as the client sees it: read in place through the
// pointer the board handed out (event 10050), written only through the named
// operations of CTableState, so every write of the client into the board's
// memory is in this one place (the allow-watching word, the sort mode, the
// flag the emperor buttons consume, the clocks, and the replay's hands).
//
// Every count read from the state is clamped to the 52 entries of a card
// area, so no loop over a hand or a play leaves it, whatever the board or a
// saved game put there.
#pragma once

#include <cstdint>

#include "MardavelState.h"

class CTableState
{
public:
    CTableState() = default;
    explicit CTableState(BoardGameState* state) : m_state(state) {}

    // The place the board writes its pointer into (event 10050).
    BoardGameState** Slot() { return &m_state; }
    bool Exists() const { return m_state != nullptr; }
    const BoardGameState* Get() const { return m_state; }
    void Reset() { m_state = nullptr; }

    // ---- Reading, clamped ---------------------------------------------------------
    int Phase() const { return m_state != nullptr ? static_cast<int>(m_state->phase) : 0; }
    // Cards in a seat's hand, 0-52.
    int HandCount(int seat) const;
    // Cards of the play to beat, 0-52.
    int TrickCount() const;
    // Cards of a seat's last play, 0-52.
    int TableCount(int seat) const;
    const CardEntry* Hand(int seat) const;
    const CardEntry* TableCards(int seat) const;
    // The seat's status flags (0 for a seat out of range).
    uint32_t SeatFlags(int seat) const;
    // Hands per match (bits 20-23 of the option word).
    int HandsPerMatch() const;

    // ---- Writing --------------------------------------------------------------------
    // The own seat's allow-watching word (1 refuses watchers).
    void SetAllowWatchingWord(int seat, uint32_t value);
    void SetSortMode(int32_t mode);
    // Clears bits of the game flags (the emperor buttons consume flag 0x10).
    void ClearGameFlags(uint32_t bits);
    // Takes one second off a seat's clock; the seconds left afterwards, or
    // -1 when the seat is out of range or its clock is already at 0.
    int TakeClockSecond(int seat);
    // Sets a card entry's flag bits (selection, drag marks) in the own hand.
    void SetHandCardFlags(int seat, int index, uint8_t set, uint8_t clear);

    // Replay: the hands rebuilt from a saved game.
    void SetHandCount(int seat, uint32_t count);
    void SetTableCount(int seat, uint32_t count);
    void SetDealtCount(int seat, uint32_t count);
    void SetTrickCount(int32_t count);
    void SetPhase(uint32_t phase);
    void SetSeatToAct(int32_t seat);
    void SetLeadSeat(int32_t seat);
    void SetEmperorSeat(int32_t seat);
    void SetGuardSeat(int32_t seat);
    void SetRoleShown(int seat, int32_t value);
    CardEntry* HandEntryForReplay(int seat, int index);

private:
    BoardGameState* m_state = nullptr;
};

// ---- Turn clock -----------------------------------------------------------------------

// The seat whose clock runs in the state's phase, or -1:
//  0: the own seat while a match of L hands has 1 <= hands played < L;
//  1: the own seat in a simultaneous decision, else the seat to act;
//  2: the own seat, unless it is not the guard and either is the emperor or
//     not every seat takes part in the guard step: then the own seat only when
//     it is the emperor, rule option 12 is on and a kick stage is set;
//  3 (and any other): the seat to act.
// Rules that choose the own seat give -1 while it is -1.
int ClockSeat(const BoardGameState& s, int ownSeat);
// Whether a seat's clock bar is drawn: as ClockSeat, but never in phase 0.
bool ClockShownFor(const BoardGameState& s, int seat, int ownSeat);

// What one tick of timer 1 does to the clock.
struct ClockTick {
    int seat = -1;            // the seat whose clock went down, -1 none
    int secondsLeft = 0;
    bool warn = false;        // play the time warning
    bool autoAction = false;  // run the own seat's automatic action
};
ClockTick TickClock(CTableState& state, int ownSeat, bool watching, bool ownClockActive);

// The width of a clock bar's fill: image width x seconds left / full length,
// 0 when the length is 0 or less, never wider than the image.
int ClockFillWidth(int imageWidth, int secondsLeft, int fullLength);

// The idle keep-alive: every `limit` ticks (read anew each tick) it is due.
class CIdleCounter
{
public:
    // Counts a tick; true when the keep-alive is due (the count starts again).
    bool Tick(uint32_t limit);
    uint32_t Count() const { return m_seconds; }

private:
    uint32_t m_seconds = 0;
};
