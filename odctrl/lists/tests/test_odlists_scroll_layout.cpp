// The scroll-bar container's layout and the scroll control's arithmetic:
// where bars, corner box and child go; which bars a total needs; what each
// scroll code and the wheel ask for; centring.
#include <gtest/gtest.h>

#include "ODScrollLayout.h"

using namespace odscroll;

TEST(ContainerLayout, Table)
{
    struct Case {
        const char* what;
        ContainerInput in;
        Rect horz, vert, corner, child;
    };
    // A 200 x 100 client with bars of 13.
    const Case cases[] = {
        {"no bars: the child takes the whole client", {200, 100, false, false, false, 13, 13}, {}, {}, {},
         {0, 0, 200, 100}},
        {"both bars leave a 13 x 13 corner", {200, 100, true, true, false, 13, 13}, {0, 87, 187, 100},
         {187, 0, 200, 87}, {187, 87, 200, 100}, {0, 0, 187, 87}},
        {"horizontal bar only", {200, 100, true, false, false, 13, 13}, {0, 87, 200, 100}, {}, {},
         {0, 0, 200, 87}},
        {"vertical bar only", {200, 100, false, true, false, 13, 13}, {}, {187, 0, 200, 100}, {},
         {0, 0, 187, 100}},
        {"left-hand vertical bar: the child starts right of it", {200, 100, true, true, true, 13, 13},
         {13, 87, 200, 100}, {0, 0, 13, 87}, {0, 87, 13, 100}, {13, 0, 200, 87}},
        {"other sizes", {200, 100, true, true, false, 20, 9}, {0, 91, 180, 100}, {180, 0, 200, 91},
         {180, 91, 200, 100}, {0, 0, 180, 91}},
        {"a client smaller than the bars", {10, 5, true, true, false, 13, 13}, {0, 0, 0, 5}, {0, 0, 10, 0},
         {0, 0, 10, 5}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ContainerLayout l = LayOutContainer(c.in);
        EXPECT_TRUE(l.horzBar == c.horz) << l.horzBar.left << "," << l.horzBar.top << "," << l.horzBar.right << ","
                                        << l.horzBar.bottom;
        EXPECT_TRUE(l.vertBar == c.vert) << l.vertBar.left << "," << l.vertBar.top << "," << l.vertBar.right << ","
                                        << l.vertBar.bottom;
        EXPECT_TRUE(l.corner == c.corner);
        EXPECT_TRUE(l.child == c.child) << l.child.left << "," << l.child.top << "," << l.child.right << ","
                                       << l.child.bottom;
    }
}

TEST(ScrollBars, PlanTable)
{
    struct Case {
        const char* what;
        Size total, client;
        int bar;
        Size pos;
        bool horz, vert;
        Size range, clipped;
    };
    const Case cases[] = {
        {"a total smaller than the client needs no bar", {100, 80}, {200, 100}, 16, {5, 5}, false, false, {0, 0},
         {0, 0}},
        {"wider: horizontal bar; its row leaves the height still enough", {300, 80}, {200, 100}, 16, {150, 0}, true,
         false, {100, 0}, {100, 0}},
        {"taller: vertical bar", {100, 300}, {200, 100}, 16, {0, 0}, false, true, {0, 200}, {0, 0}},
        // 190 fits 200, but the vertical bar (total 300 > 100) leaves 184: now it is too wide.
        {"one bar makes the other needed", {190, 300}, {200, 100}, 16, {0, 999}, true, true, {6, 216}, {0, 216}},
        // 195 fits 200 alone, and 90 fits 100 alone: neither bar.
        {"both fit exactly without bars", {200, 100}, {200, 100}, 16, {0, 0}, false, false, {0, 0}, {0, 0}},
        {"inside a container the bars take no room", {190, 300}, {200, 100}, 0, {0, 0}, false, true, {0, 200},
         {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const BarPlan p = PlanBars(c.total, c.client, c.bar, c.bar, c.pos);
        EXPECT_EQ(p.horz, c.horz);
        EXPECT_EQ(p.vert, c.vert);
        EXPECT_EQ(p.range.cx, c.range.cx);
        EXPECT_EQ(p.range.cy, c.range.cy);
        EXPECT_EQ(p.pos.cx, c.clipped.cx);
        EXPECT_EQ(p.pos.cy, c.clipped.cy);
    }
}

TEST(ScrollBars, CodesTable)
{
    struct Case {
        const char* what;
        int code, current, trackPos, limit;
        int result;
    };
    // Line 10, page 100.
    const Case cases[] = {
        {"line down", kLineDown, 50, 0, 500, 60},
        {"line up", kLineUp, 50, 0, 500, 40},
        {"line up at the top stays", kLineUp, 5, 0, 500, 0},
        {"page down", kPageDown, 50, 0, 500, 150},
        {"page down near the end is held at the limit", kPageDown, 450, 0, 500, 500},
        {"page up", kPageUp, 450, 0, 500, 350},
        {"top", kTop, 450, 0, 500, 0},
        {"bottom is held at the limit", kBottom, 0, 0, 500, 500},
        {"thumb track takes the 32-bit track position", kThumbTrack, 0, 100000, 200000, 100000},
        {"thumb position moves nothing", kThumbPosition, 42, 300, 500, 42},
        {"end scroll moves nothing", kEndScroll, 42, 300, 500, 42},
        {"near the 32-bit end", kLineDown, 0x7FFFFFF0, 0, 0x7FFFFFFF, 0x7FFFFFFA},
        {"a step past the 32-bit end is held", kPageDown, 0x7FFFFFF0, 0, 0x7FFFFFFF, 0x7FFFFFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ClampToLimit(RequestedPosition(c.code, c.current, 10, 100, c.trackPos), c.limit), c.result);
    }
}

TEST(ScrollBars, WheelTable)
{
    struct Case {
        const char* what;
        int delta, lines, line, page;
        int displacement;
    };
    const Case cases[] = {
        // MulDiv(120, 3, 120) = 3 steps of 16.
        {"one notch towards the user: 3 lines down", -120, 3, 16, 200, 48},
        {"one notch away: 3 lines up", 120, 3, 16, 200, -48},
        {"never more than a page down", -120, 3, 16, 30, 30},
        {"never more than a page up", 120, 3, 16, 30, -30},
        {"two notches", -240, 3, 16, 200, 96},
        // MulDiv(-40, 3, 120) = -1 (rounded half away from zero from -1.0).
        {"a third of a notch of a fine wheel", 40, 3, 16, 200, -16},
        {"page scrolling: a page per notch, down", -120, -1, 16, 200, 200},
        {"page scrolling up", 120, -1, 16, 200, -200},
        {"no delta", 0, 3, 16, 200, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(WheelDisplacement(c.delta, c.lines, c.line, c.page), c.displacement);
    }
}

TEST(ScrollBars, CentringAndTenths)
{
    EXPECT_EQ(CentredPosition(7, 100, 300), -100) << "(300 - 100) / 2 before the contents";
    EXPECT_EQ(CentredPosition(7, 400, 300), 7);
    EXPECT_EQ(CentredPosition(7, 300, 300), 7);
    const Size tenth = TenthSize({1234, 56}, true, false);
    EXPECT_EQ(tenth.cx, 123);
    EXPECT_EQ(tenth.cy, 0);
    struct Case {
        const char* what;
        int point, client, limit;
        bool scrolls;
        int pos;
    };
    const Case cases[] = {
        {"centred", 500, 200, 1000, true, 400},
        {"before the start", 50, 200, 1000, true, 0},
        {"past the limit", 5000, 200, 1000, true, 1000},
        {"an axis without a bar", 500, 200, 1000, false, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CentreOn(c.point, c.client, c.limit, c.scrolls), c.pos) << c.what;
}
