// Balloon placement on a screen of 800 x 600 with its side swaps and shadow
// move, the balloon's shape, and the 64 bands of the linear fill.
#include <gtest/gtest.h>

#include "ODTipGeometry.h"

namespace {

using namespace odtip;

struct PlaceCase
{
    const char* what;
    int style;
    Point anchor;
    bool shadow;
    int placement;
    int left, top, right, bottom;
};

TEST(TipGeometry, PlacementTable)
{
    // Balloon 100 x 50, pointer distance 16, shadow offsets 4, 4.
    const PlaceCase cases[] = {
        {"0: above, right edge at anchor + 16", 0, {400, 300}, false, 0, 316, 250, 416, 300},
        {"1: above, left edge at anchor - 16", 1, {400, 300}, false, 1, 384, 250, 484, 300},
        {"2: below, right side", 2, {400, 300}, false, 2, 316, 300, 416, 350},
        {"3: below, left side", 3, {400, 300}, false, 3, 384, 300, 484, 350},
        {"0 near the left edge swaps to 1", 0, {50, 300}, false, 1, 34, 250, 134, 300},
        {"1 near the right edge swaps to 0", 1, {750, 300}, false, 0, 666, 250, 766, 300},
        {"1 with the anchor left of the distance starts at 0", 1, {10, 300}, false, 1, 0, 250, 100, 300},
        {"0 near the right edge: right held at the screen", 0, {790, 300}, false, 0, 700, 250, 800, 300},
        {"0 near the top swaps below", 0, {400, 20}, false, 2, 316, 20, 416, 70},
        {"3 near the bottom swaps above", 3, {400, 580}, false, 1, 384, 530, 484, 580},
        {"both swaps: 0 at the top-left corner", 0, {10, 10}, false, 3, 0, 10, 100, 60},
        {"shadow moves placement 0", 0, {400, 300}, true, 0, 320, 254, 420, 304},
        {"shadow moves placement 2", 2, {400, 300}, true, 2, 320, 304, 420, 354},
        {"shadow leaves placement 1", 1, {400, 300}, true, 1, 384, 250, 484, 300},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Placement p = PlaceBalloon(c.style, c.anchor, 100, 50, 800, 600, 16, c.shadow, 4, 4);
        EXPECT_EQ(p.placement, c.placement);
        EXPECT_EQ(p.rect.left, c.left);
        EXPECT_EQ(p.rect.top, c.top);
        EXPECT_EQ(p.rect.right, c.right);
        EXPECT_EQ(p.rect.bottom, c.bottom);
    }
}

TEST(TipGeometry, ShapeOfBodyAndPointer)
{
    const Box area{0, 0, 100, 50};
    // Above, pointer near the right side: body ends 16 above the bottom.
    Shape s = BalloonShape(area, 0, Point{84, 50}, true, 16, 12, 16);
    EXPECT_EQ(s.body.bottom, 34);
    EXPECT_EQ(s.body.top, 0);
    ASSERT_TRUE(s.hasPointer);
    EXPECT_EQ(s.triangle[0].x, 84);
    EXPECT_EQ(s.triangle[0].y, 50);
    EXPECT_EQ(s.triangle[1].x, 84);
    EXPECT_EQ(s.triangle[1].y, 34);
    EXPECT_EQ(s.triangle[2].x, 72);
    // Below, pointer near the left side: the body starts 16 lower.
    s = BalloonShape(area, 3, Point{16, 0}, true, 16, 12, 16);
    EXPECT_EQ(s.body.top, 16);
    EXPECT_EQ(s.body.bottom, 50);
    EXPECT_EQ(s.triangle[1].x, 16);
    EXPECT_EQ(s.triangle[1].y, 16);
    EXPECT_EQ(s.triangle[2].x, 28);
    // No pointer flag: no triangle.
    s = BalloonShape(area, 0, Point{84, 50}, false, 16, 12, 16);
    EXPECT_FALSE(s.hasPointer);
}

TEST(TipGeometry, GradientBands)
{
    // 128 pixels: 64 bands of 2; band 63 is 63/64 of the way.
    auto bands = GradientBands(10, 128, 0x000000, 0x0000FF);
    ASSERT_EQ(bands.size(), 64u);
    EXPECT_EQ(bands[0].from, 10);
    EXPECT_EQ(bands[0].to, 12);
    EXPECT_EQ(bands[0].colour, 0u);
    EXPECT_EQ(bands[63].to, 138);
    EXPECT_EQ(bands[63].colour, (0u * 64 + 63 * 255) >> 6);  // 251: 255 itself is not drawn
    // Falling channels: (255 x 64 + i (0 - 255)) >> 6 with an arithmetic shift.
    bands = GradientBands(0, 64, 0x00FF00, 0x000000);
    EXPECT_EQ(bands[1].colour, static_cast<uint32_t>((255 * 64 - 255) >> 6) << 8);
    // 10 pixels: bands of no width are left out, the rest cover 0..10.
    bands = GradientBands(0, 10, 0, 0xFFFFFF);
    EXPECT_EQ(bands.size(), 10u);
    int covered = 0;
    for (const auto& b : bands) {
        EXPECT_EQ(b.from, covered);
        covered = b.to;
    }
    EXPECT_EQ(covered, 10);
    EXPECT_TRUE(GradientBands(0, 0, 0, 1).empty());
}

}  // namespace
