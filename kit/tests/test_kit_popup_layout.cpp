// The framed popup's arithmetic: the close button's place, the hit-test
// table over a popup of 200 x 150 framed by the default pictures, the close
// cells, and the thirds a button picture is laid in.
#include <gtest/gtest.h>

#include "PopupLayout.h"

#include <algorithm>

namespace {

using namespace kit;

// The default frame: edges 6 (left, right, bottom) and 30 (top), a close
// strip of four 16 x 16 cells.
PopupFrameMetrics DefaultFrame()
{
    PopupFrameMetrics m;
    m.leftWidth = 6;
    m.rightWidth = 6;
    m.topHeight = 30;
    m.bottomHeight = 6;
    m.closeWidth = 64;
    m.closeHeight = 16;
    return m;
}

TEST(PopupLayout, CloseButtonSitsInTheTopEdge)
{
    // right = 200 - 6 - 4 = 190, left = 190 - 64/4 = 174; top = 30/2 - 16/2 = 7.
    const KRect close = PopupCloseRect({0, 0, 200, 150}, DefaultFrame());
    EXPECT_EQ(close.left, 174);
    EXPECT_EQ(close.right, 190);
    EXPECT_EQ(close.top, 7);
    EXPECT_EQ(close.bottom, 23);
    // Screen coordinates move it with the window.
    const KRect moved = PopupCloseRect({100, 50, 300, 200}, DefaultFrame());
    EXPECT_EQ(moved.left, 274);
    EXPECT_EQ(moved.top, 57);
    const KRect client = PopupClientRect({0, 0, 200, 150}, DefaultFrame());
    EXPECT_EQ(client.left, 6);
    EXPECT_EQ(client.top, 30);
    EXPECT_EQ(client.right, 194);
    EXPECT_EQ(client.bottom, 144);
}

TEST(PopupLayout, HitTestTable)
{
    struct Case { const char* what; int x, y; int code; bool onClose; };
    const Case cases[] = {
        {"client area", 100, 80, kHitClient, false},
        {"client's first pixel", 6, 30, kHitClient, false},
        {"client's last pixel", 193, 143, kHitClient, false},
        {"close button", 180, 15, kHitSysMenu, true},
        {"close button's top-left pixel", 174, 7, kHitSysMenu, true},
        {"right of the close button", 190, 15, kHitCaption, false},
        {"caption strip", 60, 15, kHitCaption, false},
        {"above the caption strip (top 4 rows)", 60, 3, kHitNowhere, false},
        {"caption strip reaches top + 4 + 30, over the client's top rows", 3, 33, kHitCaption, false},
        {"left edge below the caption", 2, 80, kHitNowhere, false},
        {"bottom edge", 100, 147, kHitNowhere, false},
        {"outside the window", 250, 15, kHitNowhere, false},
    };
    for (const Case& c : cases) {
        bool onClose = !c.onClose;
        EXPECT_EQ(PopupHitTest({0, 0, 200, 150}, DefaultFrame(), c.x, c.y, &onClose), c.code) << c.what;
        EXPECT_EQ(onClose, c.onClose) << c.what;
    }
}

TEST(PopupLayout, CloseCells)
{
    EXPECT_EQ(PopupCloseCell(false, false), 0);
    EXPECT_EQ(PopupCloseCell(true, false), 1);
    EXPECT_EQ(PopupCloseCell(true, true), 2);
    EXPECT_EQ(PopupCloseCell(false, true), 2) << "pressed wins when the pointer left";
}

TEST(PopupLayout, ThirdsTable)
{
    struct Case { const char* what; int source, target; std::vector<Span> spans; };
    const Case cases[] = {
        // 9 = thirds of 3: 0-2 from 0, middle 3..(14-3) repeated from 3, last 3 from 6.
        {"9 over 14: middle repeated and cut", 9, 14, {{0, 0, 3}, {3, 3, 3}, {6, 3, 3}, {9, 3, 2}, {11, 6, 3}}},
        {"9 over 12: middle exactly twice", 9, 12, {{0, 0, 3}, {3, 3, 3}, {6, 3, 3}, {9, 6, 3}}},
        {"10: the last third takes the remainder", 10, 11, {{0, 0, 3}, {3, 3, 3}, {6, 3, 1}, {7, 6, 4}}},
        {"equal: the picture once", 9, 9, {{0, 0, 9}}},
        {"smaller: cut", 9, 5, {{0, 0, 5}}},
        {"under 3 pixels: repeated whole", 2, 5, {{0, 0, 2}, {2, 0, 2}, {4, 0, 1}}},
        {"empty picture", 0, 5, {}},
        {"empty face", 9, 0, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ThirdsSpans(c.source, c.target), c.spans) << c.what;
        // Every face pixel covered exactly once, every read inside the picture.
        int covered = 0;
        for (const Span& s : ThirdsSpans(c.source, c.target)) {
            EXPECT_EQ(s.to, covered) << c.what;
            EXPECT_GE(s.from, 0) << c.what;
            EXPECT_LE(s.from + s.length, c.source) << c.what;
            covered += s.length;
        }
        EXPECT_EQ(covered, c.source > 0 ? std::max(c.target, 0) : 0) << c.what;
    }
}

TEST(PopupLayout, TiledOnlyWhenLargerAndNowhereSmaller)
{
    EXPECT_TRUE(TileInThirds(20, 10, 60, 10));
    EXPECT_TRUE(TileInThirds(20, 10, 20, 30));
    EXPECT_FALSE(TileInThirds(20, 10, 20, 10)) << "same size: copied (stretch at 1:1)";
    EXPECT_FALSE(TileInThirds(20, 10, 60, 8)) << "lower than the picture: stretched";
    EXPECT_FALSE(TileInThirds(20, 10, 10, 10));
}

}  // namespace
