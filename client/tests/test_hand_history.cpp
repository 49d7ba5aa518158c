// The history window's columns and cells, and the leave question's text,
// button and countdown.
#include <gtest/gtest.h>

#include <vector>

#include "HandHistory.h"

namespace {

TEST(HandHistory, ColumnsRunFromTheSeatAfterTheOwnSeatToIt)
{
    struct Case {
        const char* what;
        int own, players;
        std::vector<int> seats;
    };
    const Case cases[] = {
        {"five players, own seat 0", 0, 5, {1, 2, 3, 4, 0}},
        {"five players, own seat 3", 3, 5, {4, 0, 1, 2, 3}},
        {"four players, own seat 2", 2, 4, {3, 0, 1, 2}},
        {"four players, own seat 3", 3, 4, {0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        std::vector<int> seats;
        for (int i = 0; i < c.players; ++i)
            seats.push_back(HistoryColumnSeat(i, c.own, c.players));
        EXPECT_EQ(seats, c.seats) << c.what;
    }
    EXPECT_EQ(HistoryScoreCell(5), "  5");
    EXPECT_EQ(HistoryScoreCell(-12), "-12");
    EXPECT_EQ(HistoryScoreCell(1234), "1234");
}

TEST(LeaveQuestion, TextAndHandOverByMatchAndPhase)
{
    struct Case {
        const char* what;
        int hands, played;
        uint32_t phase;
        int text;
        bool leave;
    };
    const Case cases[] = {
        {"a single-hand game", 1, 0, 3, 0, true},
        {"in the first hand of four", 4, 0, 3, kLeaveTextDuringHand, true},
        {"in the last hand of four", 4, 3, 3, 0, true},
        {"between hands of an unfinished match: only staying", 4, 2, 0, kLeaveTextBetweenHands, false},
        {"after the last hand of the match", 4, 4, 0, 0, true},
    };
    for (const Case& c : cases) {
        const LeaveQuestion q = LeaveQuestionFor(c.hands, c.played, c.phase);
        EXPECT_EQ(q.textId, c.text) << c.what;
        EXPECT_EQ(q.leaveEnabled, c.leave) << c.what;
    }
}

TEST(LeaveQuestion, CountdownEndsWithStay)
{
    CLeaveCountdown countdown(3);
    EXPECT_FALSE(countdown.Tick());
    EXPECT_EQ(countdown.Left(), 2);
    EXPECT_FALSE(countdown.Tick());
    EXPECT_EQ(countdown.Left(), 1);
    EXPECT_TRUE(countdown.Tick()) << "the tick after 1 ends it";
    CLeaveCountdown none(0);
    EXPECT_TRUE(none.Tick());
}

}  // namespace
