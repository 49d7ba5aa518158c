// Random source of the board and the deal.
//
// A deal is reproducible from two seeds: the board's own generator (a 32-bit
// linear congruential state) and the seed of the C library's generator, which
// the deal uses for a second shuffle. Both come from the clock unless a test
// or the table server fixes them. The C library's generator differs between
// C libraries, so the same seeds give different deals natively and on Windows.
#pragma once

#include <cstddef>
#include <cstdint>

#include "MardavelState.h"

class BoardRandom {
public:
    BoardRandom();  // seeded from the clock
    explicit BoardRandom(uint32_t seed) : state_(seed) {}

    void Seed(uint32_t seed) { state_ = seed; }
    uint32_t State() const { return state_; }

    // Next value, 0-0x7FFF.
    uint32_t Next();
    // A value below n (n above 0): the next value modulo n.
    uint32_t Pick(uint32_t n);

    // Product of the time-stamp counter, the time in seconds and the tick count.
    static uint32_t ClockSeed();

private:
    uint32_t state_;
};

// The two random sources of a deal.
class DealRandom {
public:
    DealRandom() = default;  // board generator from the clock, C library seed the current time

    // Makes every following deal reproducible.
    void Fix(uint32_t boardSeed, unsigned crtSeed);
    bool IsFixed() const { return crtFixed_; }

    BoardRandom& Board() { return board_; }
    // Seed of the C library's generator for the next deal.
    unsigned CrtSeed() const;

private:
    BoardRandom board_;
    bool crtFixed_ = false;
    unsigned crtSeed_ = 0;
};

struct DealResult {
    int startSeat = 0;        // seat that got the first cards
    int emperorCardSeat = -1; // holder of card 217: leads and acts first
    int guardSeat = -1;       // holder of card 216, -1 with rule option 11
    int cardCount = 0;        // 216, 168 or 165
};

// Cards dealt per seat, starting at the start seat: 44, 43, 43, 43, 43 for
// 216 cards, 34, 34, 34, 33, 33 for 168 and 33 each for 165.
int DealtCardsAt(int cardCount, int offsetFromStart);
// Seat of the card at position p of the dealt order.
int SeatOfDealPosition(int cardCount, int startSeat, int position);
// Seat that gets the first cards: with rule option 12 the seat that went out
// first in the last hand, else the last emperor, else 0.
int DealStartSeat(const BoardGameState& state, const MardavelSideData& side);

// Shuffles and deals (referee side). Clears the last hand's progress
// (ClearHandProgress), resets the unseen counts, sets every seat's hand
// (sorted in the state's sort mode) and counts, the seat that leads and acts
// (holder of the emperor's card), the guard seat, and moves to phase 1 with
// the first emperor decision open.
DealResult DealCards(BoardGameState& state, MardavelSideData& side, BoardRandom& boardRandom,
                     unsigned crtSeed);
DealResult DealCards(BoardGameState& state, MardavelSideData& side, DealRandom& random);

// The dealt order before it is split among the seats (for DealCards and tests).
// Returns the number of cards written to order (room for 216).
int ShuffleDeck(const BoardGameState& state, BoardRandom& boardRandom, unsigned crtSeed, uint8_t* order);

// Body of the deal message for one seat: byte 0 the seat to act first, bytes
// 1-5 the cards dealt per seat, bytes 6-7 zero, then the seat's card ids (255
// for each when hidden), every other byte 255. False when size is too small
// for the header and the seat's cards.
bool FillDealBody(const BoardGameState& state, int seat, bool hidden, uint8_t* body, size_t size);
