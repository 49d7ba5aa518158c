// The client's view of the board's table state: clamped reads, the writes it
// makes, and the turn clock's rules.
#include <gtest/gtest.h>

#include <vector>

#include "TableState.h"

namespace {

BoardGameState State()
{
    BoardGameState s;
    InitBoardGameState(s);
    return s;
}

TEST(TableStateTest, ReadsAreClamped)
{
    BoardGameState s = State();
    CTableState state(&s);
    s.seats[1].cardsInHand = 60;
    s.seats[2].cardsInHand = 0xFFFFFFFFu;
    s.trickCount = 99;
    s.seats[3].tableCardCount = 53;
    EXPECT_EQ(state.HandCount(1), 52);
    EXPECT_EQ(state.HandCount(2), 52) << "a huge count";
    EXPECT_EQ(state.HandCount(7), 0) << "a seat out of range";
    EXPECT_EQ(state.TrickCount(), 52);
    s.trickCount = -4;
    EXPECT_EQ(state.TrickCount(), 0);
    EXPECT_EQ(state.TableCount(3), 52);
    EXPECT_EQ(state.Hand(5), nullptr);
    CTableState none;
    EXPECT_EQ(none.HandCount(0), 0);
    EXPECT_EQ(none.Phase(), 0);
}

TEST(TableStateTest, Writes)
{
    BoardGameState s = State();
    CTableState state(&s);
    state.SetAllowWatchingWord(2, 1);
    EXPECT_EQ(s.seats[2].watchersMaySee, 1u);
    state.SetAllowWatchingWord(9, 1);   // ignored
    state.SetSortMode(1);
    EXPECT_EQ(s.sortMode, 1);
    s.tableFlags = 0x11;
    state.ClearGameFlags(0x10);
    EXPECT_EQ(s.tableFlags, 0x1u);
    s.hands[0][3].flags = 0x01;
    state.SetHandCardFlags(0, 3, 0x04, 0);
    EXPECT_EQ(s.hands[0][3].flags, 0x05);
    state.SetHandCardFlags(0, 3, 0, 0x04);
    EXPECT_EQ(s.hands[0][3].flags, 0x01);
    state.SetHandCardFlags(0, 52, 0x04, 0);   // ignored: past the area
    state.SetHandCount(1, 80);
    EXPECT_EQ(s.seats[1].cardsInHand, 52u);
    EXPECT_EQ(state.HandEntryForReplay(1, 52), nullptr);
    EXPECT_EQ(state.HandEntryForReplay(1, 51), &s.hands[1][51]);
}

TEST(TableStateTest, ClockSeatPerPhase)
{
    struct Case {
        const char* what;
        uint32_t phase;
        int own;
        int hands, played;
        bool simultaneous;
        int guard, emperor;
        bool allSeats;
        uint32_t ruleBits;
        int expected;
    };
    const Case cases[] = {
        {"phase 0, single hand: none", 0, 1, 1, 0, false, -1, -1, true, 0, -1},
        {"phase 0, match length 0: none", 0, 1, 0, 0, false, -1, -1, true, 0, -1},
        {"phase 0, second hand of three: own", 0, 1, 3, 1, false, -1, -1, true, 0, 1},
        {"phase 0, all hands played: none", 0, 1, 3, 3, false, -1, -1, true, 0, -1},
        {"phase 0, before the first hand: none", 0, 1, 3, 0, false, -1, -1, true, 0, -1},
        {"phase 1, seat by seat: seat to act", 1, 1, 1, 0, false, -1, -1, true, 0, 3},
        {"phase 1, simultaneous: own", 1, 1, 1, 0, true, -1, -1, true, 0, 1},
        {"phase 1, simultaneous, own -1: none", 1, -1, 1, 0, true, -1, -1, true, 0, -1},
        {"phase 2, the guard: own", 2, 1, 1, 0, false, 1, 0, false, 0, 1},
        {"phase 2, every seat decides: own", 2, 2, 1, 0, false, 1, 0, true, 0, 2},
        {"phase 2, guard step of the guard alone: none", 2, 2, 1, 0, false, 1, 0, false, 0, -1},
        {"phase 2, the emperor: none", 2, 0, 1, 0, false, 1, 0, true, 0, -1},
        {"phase 2, the emperor in a kick stage", 2, 0, 1, 0, false, 1, 0, true, 0x80300, 0},
        {"phase 2, own -1: none", 2, -1, 1, 0, false, 1, 0, true, 0, -1},
        {"phase 3: the seat to act", 3, 1, 1, 0, false, 1, 0, true, 0, 3},
    };
    for (const Case& c : cases) {
        BoardGameState s = State();
        s.phase = c.phase;
        s.ruleFlags = (static_cast<uint32_t>(c.hands) << 20) | c.ruleBits;
        s.handsFinished = static_cast<uint32_t>(c.played);
        s.optJointFirstDecision = c.simultaneous ? 1 : 0;
        s.tableFlags = c.simultaneous ? 1 : 0;
        s.seatToAct = 3;
        s.guardSeat = c.guard;
        s.emperorSeat = c.emperor;
        s.optAllSeatsGuardStep = c.allSeats ? 1 : 0;
        EXPECT_EQ(ClockSeat(s, c.own), c.expected) << c.what;
    }
    BoardGameState s = State();
    s.phase = 0;
    s.ruleFlags = 3u << 20;
    s.handsFinished = 1;
    EXPECT_EQ(ClockSeat(s, 2), 2);
    EXPECT_FALSE(ClockShownFor(s, 2, 2)) << "no clock bar between hands";
}

TEST(TableStateTest, WarningAndAutomaticActionOnce)
{
    BoardGameState s = State();
    s.phase = 3;
    s.seatToAct = 1;
    s.clockSecondsLeft[1] = 6;
    s.clockLength[1] = 20;
    CTableState state(&s);
    std::vector<int> warnings, actions;
    for (int tick = 0; tick < 10; ++tick) {
        const ClockTick t = TickClock(state, 1, false, true);
        if (t.warn)
            warnings.push_back(t.secondsLeft);
        if (t.autoAction)
            actions.push_back(t.secondsLeft);
    }
    EXPECT_EQ(warnings, (std::vector<int>{4, 3, 2, 1, 0}));
    EXPECT_EQ(actions, (std::vector<int>{0})) << "once: a clock at 0 is not counted down again";
    EXPECT_EQ(s.clockSecondsLeft[1], 0);

    s.clockSecondsLeft[1] = 2;
    EXPECT_FALSE(TickClock(state, 1, true, true).warn) << "a watcher never warns";
    EXPECT_FALSE(TickClock(state, 1, true, true).autoAction) << "nor acts";
    s.clockSecondsLeft[1] = 2;
    EXPECT_FALSE(TickClock(state, 1, false, false).warn) << "the own clock is not active";
    s.seatToAct = 3;
    s.clockSecondsLeft[3] = 1;
    const ClockTick other = TickClock(state, 1, false, true);
    EXPECT_EQ(other.seat, 3);
    EXPECT_FALSE(other.autoAction) << "another seat's clock";
}

TEST(TableStateTest, ClockBarAndIdle)
{
    EXPECT_EQ(ClockFillWidth(100, 10, 20), 50);
    EXPECT_EQ(ClockFillWidth(100, 10, 0), 0) << "a length of 0 divides nothing";
    EXPECT_EQ(ClockFillWidth(100, 10, -3), 0);
    EXPECT_EQ(ClockFillWidth(100, 30, 20), 100) << "never wider than the image";
    EXPECT_EQ(ClockFillWidth(100, -1, 20), 0);

    CIdleCounter idle;
    std::vector<int> due;
    for (int tick = 1; tick <= 300; ++tick) {
        if (idle.Tick(120))
            due.push_back(tick);
    }
    EXPECT_EQ(due, (std::vector<int>{120, 240}));
    CIdleCounter every;
    EXPECT_TRUE(every.Tick(0));
}

}  // namespace
