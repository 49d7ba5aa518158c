// The progress bar's numbers: the range stored smaller first, the loop mode
// running its segment past the end and bouncing, the filled segment, the
// text with its prefix, an empty range.
#include <gtest/gtest.h>

#include "ODProgressMath.h"

namespace {

using namespace odprog;

TEST(ProgressMath, RangeIsStoredSmallerFirst)
{
    Model m;
    SetRange(m, 100, 0);
    EXPECT_EQ(m.lower, 0);
    EXPECT_EQ(m.upper, 100);
    EXPECT_EQ(ClampPos(m, 150), 100);
    EXPECT_EQ(ClampPos(m, -3), 0);
}

struct TextCase
{
    const char* what;
    int lower, upper, pos;
    uint32_t kind;
    const char* prefix;
    const char* text;
};

TEST(ProgressMath, TextTable)
{
    const TextCase cases[] = {
        {"percentage at the lower bound prints nothing", 0, 100, 0, kTextPercent, "", ""},
        {"half way", 0, 100, 50, kTextPercent, "", "50%"},
        {"percentage of a shifted range", 50, 150, 75, kTextPercent, "", "25%"},
        {"position", 0, 100, 42, kTextPosition, "", "42"},
        {"the default kind 0x300 prints no number", 0, 100, 42, 0x300, "", ""},
        {"prefix and number joined", 0, 100, 30, kTextPercent, "Loading", "Loading : 30%"},
        {"prefix alone", 0, 100, 0, kTextPercent, "Loading", "Loading"},
        {"an empty range prints no percentage", 5, 5, 5, kTextPercent, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Model m;
        SetRange(m, c.lower, c.upper);
        m.pos = c.pos;
        EXPECT_EQ(Text(m, c.kind, c.prefix), c.text);
    }
}

TEST(ProgressMath, EmptyRangeFillsNothing)
{
    Model m;
    SetRange(m, 5, 5);
    m.pos = 5;
    EXPECT_EQ(Percent(m), 0);
    const Segment s = FilledSegment(m, 200);
    EXPECT_EQ(s.start, 0);
    EXPECT_EQ(s.end, 0);
}

TEST(ProgressMath, FilledSegment)
{
    Model m;
    m.pos = 25;
    Segment s = FilledSegment(m, 200);
    EXPECT_EQ(s.start, 0);
    EXPECT_EQ(s.end, 50);
    m.flags |= kLoop;
    m.loopStart = 10;
    s = FilledSegment(m, 200);
    EXPECT_EQ(s.start, 20);
    EXPECT_EQ(s.end, 50);
}

// The steps of StepIt with step 10 in loop mode: the target and loop start
// after each, the position held at 100, and the wrap past 140.
TEST(ProgressMath, LoopRunsToUpperPlusSpanThenWrapsAndFlips)
{
    Model m;
    m.flags |= kLoop;
    struct Step
    {
        int target, loopStart;
        bool reversed;
    };
    const Step steps[] = {
        {10, 0, false}, {20, 0, false},  {30, 0, false},  {40, 0, false},  {50, 10, false},
        {60, 20, false}, {70, 30, false}, {80, 40, false}, {90, 50, false}, {100, 60, false},
        // at the upper bound the segment's far end runs on beyond it
        {110, 70, false}, {120, 80, false}, {130, 90, false}, {140, 100, false},
        // 150 > 140: 150 + 0 - 40 - 100 = 10, direction flipped
        {10, 0, true},
    };
    int n = 0;
    for (const auto& s : steps) {
        SCOPED_TRACE(n++);
        const int target = LoopTarget(m, true, 10);
        EXPECT_EQ(target, s.target);
        EXPECT_EQ(m.loopStart, s.loopStart);
        EXPECT_EQ((m.flags & kReversed) != 0, s.reversed);
        m.pos = ClampPos(m, target);
    }
}

TEST(ProgressMath, LoopAbsoluteAndExtremes)
{
    Model m;
    m.flags |= kLoop;
    EXPECT_EQ(LoopTarget(m, false, 70), 70);
    EXPECT_EQ(m.loopStart, 30);
    EXPECT_EQ(LoopTarget(m, false, 2147483647), 140) << "wrapped and held at upper + span";
    EXPECT_TRUE(m.flags & kReversed);
    m.pos = 0;
    EXPECT_EQ(LoopTarget(m, true, -2147483647 - 1), 140) << "|delta| of the smallest int";
}

TEST(ProgressMath, RotatedExtent)
{
    int w, h;
    RotatedExtent(40, 10, 900, &w, &h);
    EXPECT_EQ(w, 10);
    EXPECT_EQ(h, 40);
    RotatedExtent(40, 10, 0, &w, &h);
    EXPECT_EQ(w, 40);
    EXPECT_EQ(h, 10);
}

}  // namespace
