// The header's column arithmetic: fitting to a width within limits, divider
// drag limits, content widths, reordering by a drop, dividers under a point,
// the drop marker and the sort arrow.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "ODHeaderLayout.h"

using namespace odheader;

TEST(HeaderFit, Table)
{
    struct Case {
        const char* what;
        std::vector<Column> columns;
        int target;
        std::vector<int> widths;
    };
    const Case cases[] = {
        // 100/200/100 scaled by 600/400: 150/300/150.
        {"scaled in proportion", {{100, 0, 0}, {200, 0, 0}, {100, 0, 0}}, 600, {150, 300, 150}},
        // 100 x 500 / 300 = 166 each (498): two pixels handed out from the first column on.
        {"rounding handed out one pixel at a time", {{100, 0, 0}, {100, 0, 0}, {100, 0, 0}}, 500,
         {167, 167, 166}},
        // Shrinking 300 -> 200: 66 each (198), the two missing pixels to the first two.
        {"shrinking", {{100, 0, 0}, {100, 0, 0}, {100, 0, 0}}, 200, {67, 67, 66}},
        // First column held at its maximum 120; the rest take up the width.
        {"a maximum holds and the others take the rest", {{100, 0, 120}, {100, 0, 0}}, 400, {120, 280}},
        // A maximum of 0 means unlimited (16384).
        {"maximum 0 is unlimited", {{100, 0, 0}, {100, 0, 0}}, 1000, {500, 500}},
        // Minimum 150 of the second column: 50 x 200 / 100 = 100 -> 150; the first gives way.
        {"a minimum holds", {{50, 0, 0}, {50, 150, 0}}, 200, {50, 150}},
        // Every column at its maximum: the sum stays below the target.
        {"all at their maximums", {{100, 0, 100}, {100, 0, 120}}, 500, {100, 120}},
        // The first column is at its maximum: the walk goes on to the next one.
        {"a column at its limit does not stop the walk", {{10, 0, 10}, {10, 0, 0}, {10, 0, 0}}, 31, {10, 11, 10}},
        {"zero widths count as 1", {{0, 0, 0}, {0, 0, 0}}, 100, {50, 50}},
        {"no columns", {}, 100, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FitWidths(c.columns, c.target), c.widths);
    }
}

TEST(HeaderFit, KeepsTheSumEqualToTheTargetWithinLimits)
{
    // After any resize of the parent, the fitted widths add up to its width
    // when the limits allow it.
    const std::vector<Column> columns = {{80, 30, 0}, {120, 50, 300}, {60, 20, 90}, {40, 40, 0}};
    for (int target = 140; target <= 2000; target += 37) {
        const std::vector<int> w = FitWidths(columns, target);
        EXPECT_EQ(std::accumulate(w.begin(), w.end(), 0), target) << target;
        for (size_t i = 0; i < w.size(); ++i) {
            EXPECT_GE(w[i], columns[i].minWidth) << target;
            EXPECT_LE(w[i], EffectiveMax(columns[i].maxWidth)) << target;
        }
    }
}

TEST(HeaderFit, Target)
{
    EXPECT_EQ(FitTarget(500, 0, 100, 300), 500);
    EXPECT_EQ(FitTarget(500, 120, 100, 300), 380) << "after a column: its right edge off";
    EXPECT_EQ(FitTarget(500, 450, 100, 300), 100) << "at least the minimums";
    EXPECT_EQ(FitTarget(0, 0, 100, 300), 300) << "no client width: as they are";
}

TEST(HeaderDivider, LimitsTable)
{
    struct Case {
        const char* what;
        int left, min, max;
        bool autoFit;
        std::vector<Column> following;
        int client;
        int smallest, largest;
    };
    const Case cases[] = {
        {"own limits", 0, 20, 200, false, {}, 500, 20, 200},
        {"maximum 0 is unlimited", 0, 20, 0, false, {}, 500, 20, kUnlimitedWidth},
        // Room 500 - 100 = 400; the following minimums 50 + 60 leave 290.
        {"auto fit leaves the following minimums", 100, 20, 0, true, {{80, 50, 0}, {80, 60, 0}}, 500, 20, 290},
        // The following maximums 100 + 100 leave at least 400 - 200 = 200.
        {"auto fit keeps the room the following maximums leave", 100, 20, 0, true, {{80, 50, 100}, {80, 60, 100}},
         500, 200, 290},
        {"auto fit without columns after it", 100, 20, 300, true, {}, 500, 20, 300},
        {"auto fit is off", 100, 20, 300, false, {{80, 450, 0}}, 500, 20, 300},
        // 500 - 100 - 450 = -50: held at the smallest instead of going negative.
        {"following minimums wider than the room", 100, 20, 0, true, {{80, 450, 0}}, 500, 20, 20},
        {"a negative minimum", 0, -5, 100, false, {}, 500, 0, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DragLimits l = DividerLimits(c.left, c.min, c.max, c.autoFit, c.following, c.client);
        EXPECT_EQ(l.smallest, c.smallest);
        EXPECT_EQ(l.largest, c.largest);
    }
}

TEST(HeaderContent, WidthTable)
{
    struct Case {
        const char* what;
        Content c;
        int width;
    };
    const Case cases[] = {
        {"nothing: one margin", {6, -1, -1, -1, -1}, 6},
        {"text", {6, -1, -1, -1, 40}, 6 + 40 + 6},
        {"text and sort arrow", {6, -1, -1, 8, 40}, 6 + 8 + 6 + 40 + 6},
        {"bitmap, image, arrow and text", {4, 10, 16, 8, 40}, 4 + 10 + 4 + 16 + 4 + 8 + 4 + 40 + 4},
        {"empty text still counts a margin", {6, -1, -1, -1, 0}, 12},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ContentWidth(c.c), c.width) << c.what;
}

TEST(HeaderDrop, ReorderTable)
{
    struct Case {
        const char* what;
        int from, divider;
        std::vector<int> order;
    };
    // Columns 10, 11, 12, 13 in display order; dividers 0..4.
    const Case cases[] = {
        {"first column after the third", 0, 3, {11, 12, 10, 13}},
        {"first column to the end", 0, 4, {11, 12, 13, 10}},
        {"last column to the front", 3, 0, {13, 10, 11, 12}},
        {"third column before the second", 2, 1, {10, 12, 11, 13}},
        {"dropped on its own left divider: unchanged", 1, 1, {10, 11, 12, 13}},
        {"dropped just after itself: unchanged", 1, 2, {10, 11, 12, 13}},
        {"divider -1: unchanged", 1, -1, {10, 11, 12, 13}},
        {"divider past the end: unchanged", 1, 5, {10, 11, 12, 13}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Reorder({10, 11, 12, 13}, c.from, c.divider), c.order);
    }
}

TEST(HeaderDrop, DividersMarkerAndDragBox)
{
    // A column 100..200 at display order 2: left half names divider 2, right half 3.
    EXPECT_EQ(DividerAt(120, 2, 100, 200), 2);
    EXPECT_EQ(DividerAt(150, 2, 100, 200), 2);
    EXPECT_EQ(DividerAt(151, 2, 100, 200), 3);
    const std::vector<int> lefts = {0, 80, 200}, rights = {80, 200, 260};
    EXPECT_EQ(MarkerX(0, lefts, rights), -1);
    EXPECT_EQ(MarkerX(2, lefts, rights), 199);
    EXPECT_EQ(MarkerX(3, lefts, rights), 260) << "at the count: the last column's right edge";
    EXPECT_FALSE(LeftDragBox(50, 10, 54, 14, 4, 4));
    EXPECT_TRUE(LeftDragBox(50, 10, 55, 10, 4, 4));
    EXPECT_TRUE(LeftDragBox(50, 10, 50, 5, 4, 4));
}

TEST(HeaderDrop, MarkerShape)
{
    // The header is 24 high: the marker is 44 high, arrows 9 and 10 pixels
    // tall at its top and bottom, both within its 12-pixel width.
    const int h = MarkerHeight(24);
    EXPECT_EQ(h, 44);
    Point top[7], bottom[7];
    MarkerArrows(h, top, bottom);
    EXPECT_EQ(top[3].x, 6);
    EXPECT_EQ(top[3].y, 9) << "the top arrow points down at the header";
    EXPECT_EQ(bottom[3].x, 6);
    EXPECT_EQ(bottom[3].y, h - 10) << "the bottom arrow points up at it";
    for (int i = 0; i < 7; ++i) {
        EXPECT_GE(top[i].x, 0);
        EXPECT_LE(top[i].x, 12);
        EXPECT_LE(top[i].y, 10);
        EXPECT_GE(bottom[i].y, h - 10);
        EXPECT_LE(bottom[i].y, h);
    }
}

TEST(HeaderSortArrow, UpAndDown)
{
    // Item 0..24 high, arrow 8 x 8: top at (24 - 8 - 1) / 2 = 7.
    Point up[3], down[3];
    SortArrow(40, 0, 24, 8, 8, true, up);
    SortArrow(40, 0, 24, 8, 8, false, down);
    EXPECT_EQ(up[0].x, 44);
    EXPECT_EQ(up[0].y, 7) << "apex at the top";
    EXPECT_EQ(up[1].y, 15);
    EXPECT_EQ(down[0].y, 15) << "apex at the bottom";
    EXPECT_EQ(down[1].y, 7);
    EXPECT_EQ(down[2].x, 48);
}
