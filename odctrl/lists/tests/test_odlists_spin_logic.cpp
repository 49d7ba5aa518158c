// The spin control's arithmetic: the state read back from the up-down
// control (wrap, reversed range, a position outside the range), the answer
// to each position change, and the halves its two buttons cover.
#include <gtest/gtest.h>

#include <limits.h>

#include "ODSpinLogic.h"

using namespace odspin;

TEST(SpinLogic, StateReadBack)
{
    struct Case {
        const char* what;
        bool wrap;
        int low, high, pos;
        bool active;
        int lower, upper, stored;
    };
    const Case cases[] = {
        {"in range", false, 0, 10, 4, true, 0, 10, 4},
        {"a range of 10..0 is kept as 0..10", false, 10, 0, 3, true, 0, 10, 3},
        {"a position above the range becomes the lower limit", false, 2, 8, 9, true, 2, 8, 2},
        {"below the range too", false, 2, 8, -1, true, 2, 8, 2},
        {"the limits themselves are in range", false, 2, 8, 8, true, 2, 8, 8},
        {"a wrapping control is not tracked", true, 0, 10, 4, false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        State s;
        Refresh(s, c.wrap, c.low, c.high, c.pos);
        EXPECT_EQ(s.active, c.active);
        EXPECT_EQ(s.lower, c.lower);
        EXPECT_EQ(s.upper, c.upper);
        EXPECT_EQ(s.pos, c.stored);
    }
    // Once inactive, a later refresh without wrap changes nothing either.
    State s;
    Refresh(s, true, 0, 10, 4);
    Refresh(s, false, 0, 10, 4);
    EXPECT_FALSE(s.active);
    EXPECT_EQ(s.upper, 0);
}

TEST(SpinLogic, DeltaPositionTable)
{
    struct Case {
        const char* what;
        bool wrap;
        int low, high, pos;  // read at refresh
        int delta;
        bool refused;
        int stored;  // afterwards
    };
    const Case cases[] = {
        {"a step inside the range", false, 0, 10, 5, 1, false, 6},
        {"a step down", false, 0, 10, 5, -1, false, 4},
        {"a step past the upper limit is refused", false, 0, 10, 10, 1, true, 10},
        {"a step past the lower limit is refused", false, 0, 10, 0, -1, true, 0},
        {"a large step is clamped to the limit", false, 0, 10, 7, 100, false, 10},
        {"reversed range: its lower end is 0", false, 10, 0, 0, -1, true, 0},
        {"a zero delta leaves the position: refused", false, 0, 10, 5, 0, true, 5},
        {"wrap allows a step past the limit", true, 0, 10, 10, 1, false, 0},
        {"wrap allows a zero delta", true, 0, 10, 5, 0, false, 0},
        {"no overflow at the largest values", false, INT_MIN, INT_MAX, INT_MAX, INT_MAX, true, INT_MAX},
        {"nor at the smallest", false, INT_MIN, INT_MAX, INT_MIN, INT_MIN, true, INT_MIN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        State s;
        Refresh(s, c.wrap, c.low, c.high, c.pos);
        EXPECT_EQ(RefuseDelta(s, c.pos, c.delta), c.refused);
        EXPECT_EQ(s.pos, c.stored);
    }
}

TEST(SpinLogic, ButtonHalvesAndTheirCentres)
{
    struct Case {
        const char* what;
        Rect client;
        bool horizontal;
        Rect first, second;
        Point firstCentre, secondCentre;
    };
    // The cut is (extent) / 2 + start, integer division.
    const Case cases[] = {
        {"vertical 16 x 24: cut at 12", {0, 0, 16, 24}, false, {0, 0, 16, 12}, {0, 12, 16, 24}, {8, 6}, {8, 18}},
        {"vertical odd height 15: cut at 7", {0, 0, 10, 15}, false, {0, 0, 10, 7}, {0, 7, 10, 15}, {5, 3}, {5, 11}},
        {"horizontal 30 x 14: cut at 15", {0, 0, 30, 14}, true, {0, 0, 15, 14}, {15, 0, 30, 14}, {7, 7}, {22, 7}},
        {"horizontal with an offset: cut at 3 + 10", {3, 1, 23, 11}, true, {3, 1, 13, 11}, {13, 1, 23, 11}, {8, 6},
         {18, 6}},
    };
    auto same = [](const Rect& a, const Rect& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(same(Half(c.client, c.horizontal, 0), c.first));
        EXPECT_TRUE(same(Half(c.client, c.horizontal, 1), c.second));
        const Point p0 = HalfCentre(c.client, c.horizontal, 0), p1 = HalfCentre(c.client, c.horizontal, 1);
        EXPECT_EQ(p0.x, c.firstCentre.x);
        EXPECT_EQ(p0.y, c.firstCentre.y);
        EXPECT_EQ(p1.x, c.secondCentre.x);
        EXPECT_EQ(p1.y, c.secondCentre.y);
    }
}
