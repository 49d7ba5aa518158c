#include "HandHistory.h"

#include <cstdio>

int HistoryColumnSeat(int column, int ownSeat, int playerCount)
{
    if (playerCount <= 0)
        return 0;
    return ((ownSeat + column + 1) % playerCount + playerCount) % playerCount;
}

std::string HistoryScoreCell(int32_t score)
{
    char cell[16];
    snprintf(cell, sizeof cell, "%3d", static_cast<int>(score));
    return cell;
}

LeaveQuestion LeaveQuestionFor(int handsPerMatch, int handsPlayed, uint32_t phase)
{
    LeaveQuestion q;
    if (handsPerMatch <= 1)
        return q;
    if (phase != 0) {
        if (handsPlayed < handsPerMatch - 1)
            q.textId = kLeaveTextDuringHand;
    } else if (handsPlayed < handsPerMatch) {
        q.textId = kLeaveTextBetweenHands;
        q.leaveEnabled = false;
    }
    return q;
}

bool CLeaveCountdown::Tick()
{
    if (m_left < 2) {
        m_left = 0;
        return true;
    }
    --m_left;
    return false;
}
