// The block look's arithmetic: block sizes and places, which block is
// highlighted, the partial fill, image blocks and the bar size, with the
// sizes and counts that would divide by zero.
#include <gtest/gtest.h>

#include <math.h>

#include "ODProgressBlockLayout.h"

namespace {

using odblock::Options;
using odblock::Rect;

Options Make(int count, int space, int fill, bool vertical = false, bool reversed = false)
{
    Options o;
    o.count = count;
    o.space = space;
    o.fill = fill;
    o.vertical = vertical;
    o.reversed = reversed;
    return o;
}

// The indexes of highlighted blocks, as text ("9" or "0,1,2").
std::string Highlighted(const std::vector<odblock::PenBlock>& blocks)
{
    std::string s;
    for (size_t i = 0; i < blocks.size(); ++i)
        if (blocks[i].highlighted)
            s += (s.empty() ? "" : ",") + std::to_string(i);
    return s;
}

TEST(PenBlocks, TwoHundredNineteenPixelsTwentyBlocks)
{
    const Rect bar{0, 0, 219, 12};
    const auto blocks = odblock::PenBlocks(bar, Make(20, 1, 0), 0.5);
    ASSERT_EQ(blocks.size(), 20u);
    for (size_t i = 0; i < blocks.size(); ++i) {
        EXPECT_EQ(blocks[i].rect.Width(), 10) << i;
        EXPECT_EQ(blocks[i].rect.left, static_cast<int>(11 * i)) << i;
        EXPECT_EQ(blocks[i].rect.top, 0);
        EXPECT_EQ(blocks[i].rect.bottom, 12);
    }
    EXPECT_EQ(blocks.back().rect.right, 219);
    EXPECT_EQ(Highlighted(blocks), "9") << "only the tenth block";
    const odblock::Size size = odblock::BarSize(bar, Make(20, 1, 0), false, 0, 0);
    EXPECT_EQ(size.cx, 219);
    EXPECT_EQ(size.cy, 12);
}

TEST(PenBlocks, FillModesTable)
{
    const Rect bar{0, 0, 100, 10};  // 10 blocks of 9 with 1 between: step 10
    struct Case {
        const char* what;
        Options o;
        double fraction;
        const char* highlighted;
        int partialBlock;  // -1 none
        Rect partial;
    };
    const Case cases[] = {
        {"fill 0, nothing done", Make(10, 1, 0), 0.0, "", -1, {}},
        {"fill 0, done: only the last full block", Make(10, 1, 0), 0.35, "2", -1, {}},
        {"fill 0, all done", Make(10, 1, 0), 1.0, "9", -1, {}},
        {"fill set, nothing done: no highlight, no partial fill", Make(10, 1, 1), 0.0, "", -1, {}},
        {"fill set: full blocks and a partial one", Make(10, 1, 1), 0.35, "0,1,2", 3, {31, 1, 35, 9}},
        {"fill set, reversed: from the right", Make(10, 1, 1, false, true), 0.35, "0,1,2", 3, {64, 1, 68, 9}},
        {"fraction above 1 is held at 1", Make(10, 1, 1), 7.0, "0,1,2,3,4,5,6,7,8,9", -1, {}},
        {"NaN reads as 0", Make(10, 1, 1), NAN, "", -1, {}},
    };
    for (const Case& c : cases) {
        const auto blocks = odblock::PenBlocks(bar, c.o, c.fraction);
        ASSERT_EQ(blocks.size(), 10u) << c.what;
        EXPECT_EQ(Highlighted(blocks), c.highlighted) << c.what;
        for (size_t i = 0; i < blocks.size(); ++i) {
            const bool expected = static_cast<int>(i) == c.partialBlock;
            EXPECT_EQ(blocks[i].hasPartial, expected) << c.what << " block " << i;
            if (expected) {
                const Rect& p = blocks[i].partialRect;
                EXPECT_EQ(p.left, c.partial.left) << c.what;
                EXPECT_EQ(p.top, c.partial.top) << c.what;
                EXPECT_EQ(p.right, c.partial.right) << c.what;
                EXPECT_EQ(p.bottom, c.partial.bottom) << c.what;
            }
        }
    }
}

TEST(PenBlocks, ReversedHorizontalFillsFromTheRight)
{
    const auto blocks = odblock::PenBlocks(Rect{0, 0, 219, 12}, Make(20, 1, 0, false, true), 0.05);
    ASSERT_EQ(blocks.size(), 20u);
    EXPECT_EQ(blocks[0].rect.left, 209);
    EXPECT_EQ(blocks[0].rect.right, 219);
    EXPECT_EQ(blocks[19].rect.left, 0);
    EXPECT_EQ(Highlighted(blocks), "0");
}

TEST(PenBlocks, VerticalRunsUpwardsAndReversedDownwards)
{
    const Rect bar{5, 10, 17, 120};  // 110 high: 10 blocks of 10 with 1 between
    const auto up = odblock::PenBlocks(bar, Make(10, 1, 0, true), 0.0);
    ASSERT_EQ(up.size(), 10u);
    EXPECT_EQ(up[0].rect.bottom, 120);
    EXPECT_EQ(up[0].rect.top, 110);
    EXPECT_EQ(up[1].rect.bottom, 109);
    EXPECT_EQ(up[0].rect.left, 5);
    EXPECT_EQ(up[0].rect.right, 17);
    const auto down = odblock::PenBlocks(bar, Make(10, 1, 1, true, true), 0.15);
    EXPECT_EQ(down[0].rect.top, 11);  // the first block at the top
    EXPECT_EQ(down[0].rect.bottom, 21);
    ASSERT_TRUE(down[1].hasPartial);
    EXPECT_EQ(down[1].partialRect.top, down[1].rect.top + 1);  // from the top down
    EXPECT_EQ(down[1].partialRect.bottom, down[1].rect.top + 1 + 5);
}

TEST(PenBlocks, RefusalsTable)
{
    struct Case {
        const char* what;
        Rect bar;
        Options o;
    };
    const Case cases[] = {
        {"count 0", {0, 0, 100, 10}, Make(0, 1, 0)},
        {"count below 0", {0, 0, 100, 10}, Make(-3, 1, 0)},
        {"spaces longer than the bar", {0, 0, 100, 10}, Make(20, 10, 0)},
        {"an empty bar", {0, 0, 0, 10}, Make(20, 1, 0)},
        {"a bar of negative width", {10, 0, 0, 10}, Make(20, 1, 0)},
        {"a negative space", {0, 0, 100, 10}, Make(20, -5, 0)},
        {"absurd count and space", {0, 0, 100, 10}, Make(2147483647, 2147483647, 1)},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(odblock::PenBlocks(c.bar, c.o, 0.5).empty()) << c.what;
        EXPECT_EQ(odblock::BarSize(c.bar, c.o, false, 0, 0).cx, 0) << c.what;
    }
}

TEST(ImageBlocks, CellsCentredAndOneInStateOne)
{
    const Rect bar{0, 0, 100, 20};
    // Cells 8 x 6 with space 2: step 10, (100 + 2) / 10 = 10 blocks.
    const auto blocks = odblock::ImageBlocks(bar, 8, 6, Make(20, 2, 1), 0.5);
    ASSERT_EQ(blocks.size(), 10u);
    for (size_t i = 0; i < blocks.size(); ++i) {
        EXPECT_EQ(blocks[i].rect.left, static_cast<int>(10 * i));
        EXPECT_EQ(blocks[i].rect.top, 7);  // (20 - 6) / 2
        EXPECT_EQ(blocks[i].rect.Width(), 8);
        EXPECT_EQ(blocks[i].rect.Height(), 6);
        EXPECT_EQ(blocks[i].state, i == 4 ? 1 : 0) << "block k - 1 = 4";
    }
    EXPECT_EQ(odblock::BarSize(bar, Make(20, 2, 1), true, 8, 6).cx, 98);

    const auto vertical = odblock::ImageBlocks(Rect{0, 0, 20, 100}, 8, 6, Make(20, 2, 0, true), 0.0);
    ASSERT_FALSE(vertical.empty());
    EXPECT_EQ(vertical[0].rect.left, 6);  // (20 - 8) / 2
    EXPECT_EQ(vertical[0].rect.bottom, 100);
    for (const auto& b : vertical)
        EXPECT_EQ(b.state, 0);

    EXPECT_TRUE(odblock::ImageBlocks(bar, 0, 6, Make(20, 0, 0), 0.5).empty()) << "a cell of no width";
    EXPECT_EQ(odblock::BarSize(bar, Make(20, 0, 0), true, 0, 6).cx, 0);
}

}  // namespace
