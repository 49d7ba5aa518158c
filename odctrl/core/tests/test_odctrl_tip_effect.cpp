// The tooltip's generated backgrounds: the palette from three colours, exact
// pixels with grain 0 and a fixed random source, the bounds of every kind,
// and the sizes that would divide by zero or ask for too much memory.
#include <gtest/gtest.h>

#include <stdlib.h>

#include "ODTipEffect.h"

namespace {

using namespace odtip;

const uint32_t kBegin = 0x0000FF;   // red
const uint32_t kMiddle = 0x00FF00;  // green
const uint32_t kEnd = 0xFF0000;     // blue

RandomSource Fixed(int value)
{
    return [value]() { return value; };
}

// A small generator of its own, so the sequence is the same everywhere.
RandomSource Lcg(uint32_t seed)
{
    auto state = std::make_shared<uint32_t>(seed);
    return [state]() {
        *state = *state * 1103515245u + 12345u;
        return static_cast<int>((*state >> 16) & 0x7FFF);
    };
}

TEST(TipEffect, PaletteRunsFromEndThroughMiddleToBegin)
{
    uint8_t p[256][3];
    BuildEffectPalette(kBegin, kMiddle, kEnd, 0, kBegin, p);
    struct Entry
    {
        int index;
        uint8_t r, g, b;
    };
    // Entry i <= 127: (E (128 - i) + M i) / 128; entry 127 + k: (B k + M (128 - k)) / 128.
    const Entry expected[] = {
        {0, 0, 0, 255},      // E
        {64, 0, 127, 127},   // (255 x 64) / 128 = 127 each
        {127, 0, 253, 1},    // green 255 x 127 / 128 = 253, blue 255 / 128 = 1
        {128, 1, 253, 0},    // (B + 127 M) / 128
        {255, 255, 0, 0},    // B
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.index);
        EXPECT_EQ(p[e.index][0], e.r);
        EXPECT_EQ(p[e.index][1], e.g);
        EXPECT_EQ(p[e.index][2], e.b);
    }
    // Five per cent towards the begin colour: channel = (c x 95 + B's x 5) / 100.
    BuildEffectPalette(kBegin, kMiddle, kEnd, 5, kBegin, p);
    EXPECT_EQ(p[0][0], (0 * 95 + 255 * 5) / 100);
    EXPECT_EQ(p[0][2], (255 * 95 + 0) / 100);
    EXPECT_EQ(p[255][0], 255);
}

TEST(TipEffect, FlatGrainZeroIsTheMiddleIndex)
{
    EffectImage img;
    ASSERT_TRUE(BuildEffect(img, 30, 20, 7, 0, kBegin, kMiddle, kEnd, 5, kBegin, Fixed(0)));
    for (uint8_t v : img.pixels)
        ASSERT_EQ(v, 128);
    // rand() = 32767 with n = 0: g = 32767 / 32767 - 0 = 1.
    ASSERT_TRUE(BuildEffect(img, 3, 2, 7, 0, kBegin, kMiddle, kEnd, 5, kBegin, Fixed(32767)));
    for (uint8_t v : img.pixels)
        ASSERT_EQ(v, 129);
}

TEST(TipEffect, VerticalLinearRowIsItsIndex)
{
    EffectImage img;
    ASSERT_TRUE(BuildEffect(img, 4, 255, 9, 0, kBegin, kMiddle, kEnd, 5, kBegin, Fixed(0)));
    for (int j = 0; j < 255; ++j)
        for (int x = 0; x < 4; ++x)
            ASSERT_EQ(img.At(x, j), j) << "row " << j;
}

TEST(TipEffect, HorizontalLinearBeginsAtTheLeft)
{
    EffectImage img;
    // n = 0, W = 255: ((255 (255 - x)) / 255) = 255 - x.
    ASSERT_TRUE(BuildEffect(img, 255, 3, 10, 0, kBegin, kMiddle, kEnd, 5, kBegin, Fixed(0)));
    EXPECT_EQ(img.At(0, 1), 255);
    EXPECT_EQ(img.At(254, 1), 1);
}

// With grain n, rand() = n x R gives g = 0, so the pixels show the values
// before the grain.
RandomSource NoGrain(int n) { return Fixed(n * (32767 / (2 * n))); }

TEST(TipEffect, DiagonalCubicStaysWithinTheGrainBounds)
{
    for (int n : {1, 20, 100}) {
        EffectImage img;
        ASSERT_TRUE(BuildEffect(img, 50, 40, 13, n, kBegin, kMiddle, kEnd, 5, kBegin, NoGrain(n)));
        for (uint8_t v : img.pixels) {
            ASSERT_GE(v, n);
            ASSERT_LE(v, 255 - n);
        }
    }
}

TEST(TipEffect, CubicTermGoldenValues)
{
    EXPECT_EQ(Cube(127), 125);  // 2048383 / 128 = 16003, / 128 = 125
    EXPECT_EQ(Cube(128), 128);
    EXPECT_EQ(Cube(-127), -125);
    EXPECT_EQ(Cube(0), 0);
}

TEST(TipEffect, CylinderNarrowerThanSixHasNoBands)
{
    EffectImage img;
    ASSERT_TRUE(BuildEffect(img, 5, 30, 14, 0, kBegin, kMiddle, kEnd, 5, kBegin, Fixed(0)));
    for (int j = 0; j < 30; ++j) {
        const int t = (255 * j) / 30 - 127;
        const int first = (Cube(t) * 64 * 2) / 128 + 128;
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(img.At(x, j), first & 0xFF) << x << "," << j;
    }
}

TEST(TipEffect, CylinderBandsAtMidHeight)
{
    EffectImage img;
    // W = 60: k = 10; mid row j = 20 of H = 40: u = 0, e = -10 + 30 = 20.
    ASSERT_TRUE(BuildEffect(img, 60, 40, 14, 0, kBegin, kMiddle, kEnd, 5, kBegin, Fixed(0)));
    EXPECT_EQ(img.At(0, 20), 255) << "(255 - n) - 0 at the left edge";
    EXPECT_EQ(img.At(5, 20), 255 - 64) << "falls by 128 / k per pixel";
    EXPECT_EQ(img.At(59, 20), (128 * 1) / 10) << "(128 (W - x)) / k + n at the right edge";
    EXPECT_EQ(img.At(30, 20), 128) << "the middle keeps the first pass";
}

TEST(TipEffect, StrokesOverARamp)
{
    EffectImage img;
    const int W = 80, H = 60;
    ASSERT_TRUE(BuildEffect(img, W, H, 15, 0, kBegin, kMiddle, kEnd, 5, kBegin, Lcg(7)));
    const int c2 = 215 / 2;
    bool anyStroke = false;
    for (int j = 0; j < H; ++j)
        for (int x = 0; x < W; ++x) {
            const int ramp = (c2 * (W - x)) / W + (j * c2) / H;
            const int stroke = img.At(x, j) - ramp;  // grain 0 adds rand() / 32767: 0 but for 32767
            ASSERT_GE(stroke, 0);
            ASSERT_LE(stroke, 41);
            anyStroke = anyStroke || stroke > 1;
        }
    EXPECT_TRUE(anyStroke);
    // The ramp rises from the bottom right (x = W - 1, j = 0) to the top left.
    EXPECT_LT((c2 * 1) / W, (c2 * W) / W + ((H - 1) * c2) / H);
}

TEST(TipEffect, TwoShowsDifferInGrainNotPalette)
{
    EffectImage a, b;
    srand(1);
    ASSERT_TRUE(BuildEffect(a, 40, 30, 8, 30, kBegin, kMiddle, kEnd, 5, kBegin, [] { return rand(); }));
    ASSERT_TRUE(BuildEffect(b, 40, 30, 8, 30, kBegin, kMiddle, kEnd, 5, kBegin, [] { return rand(); }));
    EXPECT_NE(a.pixels, b.pixels);
    EXPECT_EQ(0, memcmp(a.palette, b.palette, sizeof a.palette));
}

TEST(TipEffect, SizesAndKindsWithoutPixels)
{
    struct Case
    {
        const char* what;
        int w, h, kind;
        bool pixels;
    };
    const Case cases[] = {
        {"kind 6 is not an effect", 10, 10, 6, false},
        {"kind 16 is not an effect", 10, 10, 16, false},
        {"no width", 0, 10, 7, false},
        {"negative height", 10, -3, 9, false},
        {"a side beyond 32767", 40000, 1, 15, false},
        {"too many pixels", 32767, 32767, 7, false},
        {"height 1 for the cylinder", 20, 1, 14, true},
        {"one pixel of strokes", 1, 1, 15, true},
        {"the widest strokes picture", 32767, 2, 15, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EffectImage img;
        EXPECT_EQ(BuildEffect(img, c.w, c.h, c.kind, 5, kBegin, kMiddle, kEnd, 5, kBegin, Lcg(3)), c.pixels);
        EXPECT_EQ(img.pixels.size(), c.pixels ? static_cast<size_t>(c.w) * c.h : 0u);
    }
}

}  // namespace
