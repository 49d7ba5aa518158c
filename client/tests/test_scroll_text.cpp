// The scrolling label's movement, lines, clock texts and hover pause.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScrollText.h"

namespace {

TEST(ScrollText, TextReentersFromTheOppositeEdgeOnceItHasLeft)
{
    const ScrollBox box = {0, 0, 228, 18};
    struct Case {
        const char* what;
        int direction;
        int x, y;            // before the tick
        int expectX, expectY;
    };
    // A text 50 wide and 12 high, step 5.
    const Case cases[] = {
        {"left: moves by the step", kScrollLeft, 10, 3, 5, 3},
        {"left: still partly inside at -45", kScrollLeft, -45, 3, -50, 3},
        {"left: wholly out at -50, re-enters at the right edge", kScrollLeft, -50, 3, 228, 3},
        {"right: moves", kScrollRight, 100, 3, 105, 3},
        {"right: at the right edge, re-enters left of the box", kScrollRight, 228, 3, -50, 3},
        {"up: moves", kScrollUp, 3, 3, 3, -2},
        {"up: wholly above, re-enters at the bottom", kScrollUp, 3, -12, 3, 18},
        {"down: at the bottom, re-enters above", kScrollDown, 3, 18, 3, -12},
        {"an unknown direction stays", 7, 3, 3, 3, 3},
    };
    for (const Case& c : cases) {
        int x = c.x, y = c.y;
        ScrollTick(c.direction, 5, 50, 12, box, &x, &y);
        EXPECT_EQ(x, c.expectX) << c.what;
        EXPECT_EQ(y, c.expectY) << c.what;
    }
}

TEST(ScrollText, Lines)
{
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"one line", "abc", {"abc"}},
        {"two lines", "a\nb", {"a", "b"}},
        {"a trailing break adds an empty last line", "a\nb\n", {"a", "b", ""}},
        {"empty", "", {""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextLines(c.text), c.lines) << c.what;
}

TEST(ScrollText, ClockAndDate)
{
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 1;
    t.tm_hour = 4;
    t.tm_min = 5;
    t.tm_sec = 9;
    EXPECT_EQ(ClockText(t, true), "04:05:09");
    EXPECT_EQ(ClockText(t, false), "2026-12-01");
}

TEST(ScrollText, HoverStopsAndLeavingRestartsAtTheDefaultPace)
{
    ScrollTimer timer;
    timer.running = true;
    timer.step = 2;
    timer.interval = 300;
    ScrollOnMouseEnter(timer, true);
    EXPECT_FALSE(timer.running);
    ScrollOnMouseLeave(timer, true);
    EXPECT_TRUE(timer.running);
    EXPECT_EQ(timer.step, 5);
    EXPECT_EQ(timer.interval, 100u);

    ScrollTimer items;   // the news items do not pause
    items.running = true;
    items.step = 2;
    ScrollOnMouseEnter(items, false);
    EXPECT_TRUE(items.running);
    ScrollOnMouseLeave(items, false);
    EXPECT_EQ(items.step, 2);
}

}  // namespace
