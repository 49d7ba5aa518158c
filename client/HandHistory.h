// The hand history window's rows and columns and the leave-during-game
// question's state, without windows.
//
// The history lists one column per seat, starting with the seat after the
// own seat, so the own seat comes last; a row per hand, and a total row
// after them. The leave question counts down from its start and answers
// "stay" when it runs out; between hands of a match that is not finished it
// cannot hand the seat over.
#pragma once

#include <cstdint>
#include <string>

// Dialog results of the leave question.
constexpr int kLeaveAndTrust = 235;
constexpr int kLeaveStay = 238;

// The seat shown in history column i + 1 (0-based i).
int HistoryColumnSeat(int column, int ownSeat, int playerCount);
// "%3d" of a score.
std::string HistoryScoreCell(int32_t score);

// What the leave question shows for the table's match: the text (0 none,
// 55 during a hand, 53 between hands) and whether "hand over and leave" may
// be chosen.
struct LeaveQuestion {
    int textId = 0;
    bool leaveEnabled = true;
};
constexpr int kLeaveTextDuringHand = 55;
constexpr int kLeaveTextBetweenHands = 53;
LeaveQuestion LeaveQuestionFor(int handsPerMatch, int handsPlayed, uint32_t phase);

// The question's countdown, one tick a second.
class CLeaveCountdown
{
public:
    explicit CLeaveCountdown(int seconds) : m_left(seconds) {}
    int Left() const { return m_left; }
    // A tick: true when the time is up (the question ends with "stay").
    bool Tick();

private:
    int m_left;
};
