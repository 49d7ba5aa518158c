// Scoring of a hand.
//
// The referee scores from the finishing places of the emperor and the guard,
// asks the host for a factor per seat, adds the scores to the totals and
// sends the score message; the player side applies that message. Sending,
// the callbacks and the player-list lookup stay with the board class; these
// functions do the arithmetic and the message body.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "MardavelState.h"

// Result codes of a hand.
enum HandResult : int {
    kResultEmperorAloneLost = 1,
    kResultEmperorAloneWon = 2,
    kResultSideLostAll = 3,   // F = -3
    kResultSideWonAll = 4,    // F = 3
    kResultSideLost = 5,
    kResultSideWon = 6,
    kResultDraw = 7,          // the emperor's side scores 0
};

// Announcements of the outcome for the own seat.
constexpr uint32_t kAnnounceOwnSideWon = 0x80000008u;
constexpr uint32_t kAnnounceOwnSideLost = 0x80000009u;
constexpr uint32_t kAnnounceDraw = 0x8000000Bu;

constexpr size_t kScoreBodyFixedSize = 68;  // 17 words before the card ids

// Block handed to the host's factor callback. The host reads and writes it in place.
struct ScoreFactorBlock {
    uint32_t one;     // always 1
    int32_t score;
    double factor;    // 1.0 unless the host changes it
};
static_assert(sizeof(ScoreFactorBlock) == 16, "ScoreFactorBlock is 16 bytes");
static_assert(offsetof(ScoreFactorBlock, score) == 4, "ScoreFactorBlock layout");
static_assert(offsetof(ScoreFactorBlock, factor) == 8, "ScoreFactorBlock layout");

// Asks the host for a seat's factor; non-zero means the factor in the block is to be used.
using ScoreFactorFn = std::function<int(int seat, ScoreFactorBlock& block)>;

struct HandScore {
    int32_t scores[kBoardSeats] = {};
    int resultCode = kResultDraw;
};

// Scores before doubling and factors, and the result code, from the emperor
// and guard seats, finishing places, decision marks and table flags of the
// state. A guard seat outside 0-4 scores as an emperor alone; an emperor seat
// outside 0-4 gives all zeros and result 7.
HandScore ComputeHandScore(const BoardGameState& state);

struct ScoredHand {
    int32_t scores[kBoardSeats] = {};
    int resultCode = kResultDraw;
    std::vector<std::string> logLines;  // one per score above 40 or below -40
};

// Scores the hand on the referee side: doubles on kick results, applies the
// host's factor (an empty function or a zero answer keeps 1.0; a factor that
// is not a finite number is ignored), adds each score to the seat's hand
// total and score total, and, where listRecords[seat] is given, to that
// player-list record with its win, loss or draw and games counters. Clears
// the two play counts of the state.
ScoredHand ScoreHand(BoardGameState& state, BoardPlayerRecord* const listRecords[kBoardSeats],
                     const ScoreFactorFn& factor);

// The log line of an unusual score, "%s分数计算异常，局分:%d" (user name, score).
// The literal is UTF-8 in this source; the Windows build turns it into code
// page 936, so it is UTF-8 natively and GBK there.
std::string UnusualScoreLine(const BoardPlayerRecord& player, int score);

// Body of the score message: u32 score[5], u32 hand total[5], u32 cards
// left[5], u32 result code, u32 guard seat, then every seat's remaining card
// ids, seat 0 first. Little-endian.
std::vector<uint8_t> BuildScoreBody(const BoardGameState& state, const int32_t scores[kBoardSeats],
                                    int resultCode);

struct ScoreMessage {
    int32_t scores[kBoardSeats] = {};
    int32_t totals[kBoardSeats] = {};
    uint32_t cardsLeft[kBoardSeats] = {};
    int resultCode = 0;
    int32_t guardSeat = -1;
    const uint8_t* cardIds = nullptr;  // cardsLeft[0] + ... + cardsLeft[4] ids, inside the body
};

// Reads a score body. False (nothing read) when the body is shorter than its
// counts say, a count is above 52 or the result code is not 1-7.
bool ParseScoreBody(const uint8_t* body, size_t length, ScoreMessage* out);

// Applies a score message on the player side: phase 0, the guard seat (-1
// when the body names no seat), one more hand finished, each seat's last
// score, hand total, score total and cards in hand, and every hand rebuilt
// from the ids (all hands are open now) and sorted in the own sort mode.
void ApplyScoreMessage(BoardGameState& state, const ScoreMessage& message);

// Announcement of the outcome for the own seat, 0 for an unknown result code.
uint32_t OutcomeAnnouncement(int resultCode, int ownSeat, int emperorSeat, int guardSeat);
