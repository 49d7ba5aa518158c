// Pixel arithmetic of the 16-bit surface: conversions, the blend formulas
// (pairs and single pixels), additive blends, grey, the rotation's size.
#include <gtest/gtest.h>

#include "Pixel565.h"
#include "SurfaceCore.h"

#include <math.h>

namespace {

// The pair formula of the alpha blend, one channel: the reference the packed
// arithmetic must match.
int PairChannel(int s, int d, int a) { return d + ((s - d + 64) * a) / 256 - a / 4; }

int SingleChannel(int s, int d, int a)
{
    return d + static_cast<int>(floor((s - d) * a / 256.0));
}

}  // namespace

TEST(Pixel565Conversion, ColorRefTo565Truncates)
{
    struct Case
    {
        uint32_t colour;
        uint16_t pixel;
    } cases[] = {
        {0x000000, 0x0000}, {0xFFFFFF, 0xFFFF}, {0x0000FF, 0xF800}, {0x00FF00, 0x07E0}, {0xFF0000, 0x001F},
        {0x070307, 0x0000},  // low bits vanish
        {0x080408, 0x0821},  // the first step of each channel
        {0xFF00FF, 0xF81F}, {0x808080, 0x8410}, {0x12345678 & 0xFFFFFF, px565::Make(0x78 >> 3, 0x56 >> 2, 0x34 >> 3)},
        {0xFF000000u | 0x0000FF, 0xF800},  // the top byte is not a channel
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.pixel, px565::FromColorRef(c.colour)) << std::hex << c.colour;
}

TEST(Pixel565Conversion, Expand565RepeatsHighBits)
{
    struct Case
    {
        uint16_t pixel;
        uint32_t colour;
    } cases[] = {
        {0x0000, 0x000000}, {0xFFFF, 0xFFFFFF}, {0xF800, 0x0000FF}, {0x07E0, 0x00FF00}, {0x001F, 0xFF0000},
        {0x8410, 0x848284},  // r5 16 -> 0x84, g6 32 -> 0x82
        {0x0821, 0x080408},  // r5 1 -> 8, g6 1 -> 4
        {0x7BEF, 0x7B7D7B},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.colour, px565::ToColorRef(c.pixel)) << std::hex << c.pixel;
}

TEST(Pixel565Conversion, EveryPixelSurvivesTheRoundTrip)
{
    for (uint32_t p = 0; p <= 0xFFFF; ++p)
        ASSERT_EQ(p, px565::FromColorRef(px565::ToColorRef(static_cast<uint16_t>(p))));
}

TEST(Pixel565Blend, PackedPairMatchesThePairFormulaOnEveryChannel)
{
    // Every source, destination and level on one channel of each width,
    // in both halves of the pair at once (the other channels hold other
    // values, so a borrow between lanes or channels would show).
    for (int a = 0; a < 256; ++a) {
        for (int s = 0; s < 64; ++s) {
            for (int d = 0; d < 64; ++d) {
                const int s5 = s & 31, d5 = d & 31;
                const uint16_t sLow = px565::Make(s5, s, 31 - s5), dLow = px565::Make(d5, d, 31 - d5);
                const uint16_t sHigh = px565::Make(31 - s5, 63 - s, s5), dHigh = px565::Make(31 - d5, 63 - d, d5);
                const uint32_t out =
                    px565::BlendPair(sLow | uint32_t(sHigh) << 16, dLow | uint32_t(dHigh) << 16, a);
                const uint16_t lo = px565::Low(out), hi = px565::High(out);
                ASSERT_EQ(PairChannel(s5, d5, a), px565::Red(lo)) << s << " " << d << " " << a;
                ASSERT_EQ(PairChannel(s, d, a), px565::Green(lo)) << s << " " << d << " " << a;
                ASSERT_EQ(PairChannel(31 - s5, 31 - d5, a), px565::Blue(lo));
                ASSERT_EQ(PairChannel(31 - s5, 31 - d5, a), px565::Red(hi));
                ASSERT_EQ(PairChannel(63 - s, 63 - d, a), px565::Green(hi));
                ASSERT_EQ(PairChannel(s5, d5, a), px565::Blue(hi));
            }
        }
    }
}

TEST(Pixel565Blend, SingleFormulaFloorsTheSignedProduct)
{
    for (int a = 0; a < 256; ++a)
        for (int s = 0; s < 64; ++s)
            for (int d = 0; d < 64; ++d) {
                const uint16_t out = px565::BlendSingle(px565::Make(s & 31, s, s & 31), px565::Make(d & 31, d, d & 31), a);
                ASSERT_EQ(SingleChannel(s, d, a), px565::Green(out));
                ASSERT_EQ(SingleChannel(s & 31, d & 31, a), px565::Red(out));
                ASSERT_EQ(SingleChannel(s & 31, d & 31, a), px565::Blue(out));
            }
}

TEST(Pixel565Blend, PairAndTailDifferences)
{
    struct Case
    {
        int s5, d5, level, pair, single;
    } cases[] = {
        {31, 0, 128, 15, 15},  // white over black at 128
        {31, 0, 255, 31, 30},  // full level: the pair reaches the source, the tail stops short
        {31, 0, 0, 0, 0},      {0, 31, 255, 0, 0},  {10, 20, 64, 17, 17}, {20, 10, 64, 12, 12},
        {31, 0, 3, 1, 0},      // differ by one step when the level is not a multiple of 4
             {31, 0, 9, 1, 1},    {0, 1, 255, 0, 0},    {31, 30, 3, 30, 30},
    };
    for (const Case& c : cases) {
        const uint16_t s = px565::Make(c.s5, 0, 0), d = px565::Make(c.d5, 0, 0);
        EXPECT_EQ(c.pair, px565::Red(px565::Low(px565::BlendPair(px565::PairOf(s), px565::PairOf(d), c.level))))
            << c.s5 << " over " << c.d5 << " at " << c.level;
        EXPECT_EQ(c.single, px565::Red(px565::BlendSingle(s, d, c.level)));
    }
    // Only the low byte of the level counts.
    EXPECT_EQ(px565::BlendPair(0xFFFFFFFF, 0, 128 + 256), px565::BlendPair(0xFFFFFFFF, 0, 128));
}

TEST(Pixel565Blend, MaskWeightsPerChannel)
{
    // The mask's channels weigh 0..255 (a full channel 255, short of the source).
    const uint16_t white = 0xFFFF, black = 0;
    EXPECT_EQ(px565::Make(30, 62, 30), px565::BlendMasked(white, black, 0xFFFF));
    EXPECT_EQ(0x0000, px565::BlendMasked(white, black, 0x0000));
    // Red full, green half (g6 32 -> 131), blue under half (b5 15 -> 120).
    const uint16_t out = px565::BlendMasked(white, black, px565::Make(31, 32, 15));
    EXPECT_EQ(31 * 255 / 256, px565::Red(out));
    EXPECT_EQ(63 * 131 / 256, px565::Green(out));
    EXPECT_EQ(31 * 120 / 256, px565::Blue(out));
    // r5 16 weighs 135; towards a darker source the floor goes below: 20 - 10.55 -> 9.
    EXPECT_EQ(9, px565::Red(px565::BlendMasked(0, px565::Make(20, 0, 0), px565::Make(16, 0, 0))));
}

TEST(Pixel565Add, SaturatesEachChannel)
{
    struct Case
    {
        uint16_t s, d, sum;
    } cases[] = {
        {0x0000, 0x0000, 0x0000}, {0xFFFF, 0xFFFF, 0xFFFF}, {px565::Make(20, 40, 20), px565::Make(20, 40, 20), 0xFFFF},
        {px565::Make(10, 20, 30), px565::Make(21, 43, 1), px565::Make(31, 63, 31)},
        {px565::Make(10, 20, 30), px565::Make(22, 44, 2), px565::Make(31, 63, 31)},
        {px565::Make(1, 2, 3), px565::Make(4, 5, 6), px565::Make(5, 7, 9)},
        {px565::Make(31, 0, 0), px565::Make(1, 0, 31), px565::Make(31, 0, 31)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.sum, px565::AddSingle(c.s, c.d));
        // A pair gives the same as two single pixels.
        const uint32_t pair = px565::AddPair(c.s | uint32_t(c.d) << 16, c.d | uint32_t(c.s) << 16);
        EXPECT_EQ(c.sum, px565::Low(pair));
        EXPECT_EQ(c.sum, px565::High(pair));
    }
}

TEST(Pixel565Add, LevelScalesTheSourceFirst)
{
    for (int a = 0; a < 256; a += 5)
        for (int s = 0; s < 64; ++s) {
            const uint16_t out = px565::AddLevelSingle(px565::Make(s & 31, s, s & 31), px565::Make(3, 7, 31), a);
            ASSERT_EQ(std::min(31, 3 + (s & 31) * a / 256), px565::Red(out));
            ASSERT_EQ(std::min(63, 7 + s * a / 256), px565::Green(out));
            ASSERT_EQ(31, px565::Blue(out));
        }
}

TEST(Pixel565Grey, Formula)
{
    EXPECT_EQ((23 << 11) | (46 << 5) | 23, px565::Grey(0xFFFF));  // t = 187, v = 93 - 70
    EXPECT_EQ(0, px565::Grey(0));
    // Every pixel: t = 2 r + g + 2 b, v = t / 2 - 3 t / 8.
    for (uint32_t p = 0; p <= 0xFFFF; ++p) {
        const int t = 2 * px565::Red(p) + px565::Green(p) + 2 * px565::Blue(p);
        const int v = t / 2 - 3 * t / 8;
        ASSERT_EQ(px565::Make(v, 2 * v, v), px565::Grey(static_cast<uint16_t>(p)));
    }
}

TEST(SurfaceRotation, SizeAndQuarterTurns)
{
    struct Case
    {
        double angle;
        int w, h, outW, outH;
    } cases[] = {
        {0, 100, 50, 100, 50},     {360, 100, 50, 100, 50},  {90, 100, 50, 50, 100},   {180, 100, 50, 100, 50},
        {270, 100, 50, 50, 100},   {-90, 100, 50, 50, 100},  {30, 100, 50, 112, 94},   {-30, 100, 50, 112, 94},
        {120, 100, 50, 94, 112},   {45, 10, 10, 15, 15},     {720 + 30, 100, 50, 112, 94},
    };
    for (const Case& c : cases) {
        const uint32_t packed = qvsurf::RotatedSize(c.angle, c.w, c.h);
        EXPECT_EQ(c.outW, int(packed & 0xFFFF)) << c.angle;
        EXPECT_EQ(c.outH, int(packed >> 16)) << c.angle;
    }
    EXPECT_EQ(0u, qvsurf::RotatedSize(NAN, 10, 10));
    EXPECT_EQ(0u, qvsurf::RotatedSize(INFINITY, 10, 10));
    EXPECT_EQ(0u, qvsurf::RotatedSize(30, 0, 10));
    EXPECT_EQ(0u, qvsurf::RotatedSize(30, 10, -1));
    // A huge angle is reduced at once, not by repeated steps.
    EXPECT_NE(0u, qvsurf::RotatedSize(1e300, 10, 10));
}

TEST(SurfaceRotation, AngleSplit)
{
    struct Case
    {
        double angle;
        int quarters;
        double rest;
    } cases[] = {
        {0, 0, 0},     {45, 0, 45},      {45.5, 1, -44.5}, {90, 1, 0},   {135, 1, 45},  {136, 2, -44},
        {225, 2, 45},  {226, 3, -44},    {315, 3, 45},     {316, 0, -44}, {359, 0, -1},  {360, 0, 0},
        {-1, 0, -1},   {-90, 3, 0},      {450, 1, 0},
    };
    for (const Case& c : cases) {
        int q = -1;
        double rest = 99;
        ASSERT_TRUE(qvsurf::SplitAngle(c.angle, q, rest));
        EXPECT_EQ(c.quarters, q) << c.angle;
        EXPECT_NEAR(c.rest, rest, 1e-9) << c.angle;
    }
}

TEST(SurfaceClipping, StretchedEdgesMoveAtTheRatioTruncated)
{
    const struct
    {
        qvsurf::PixRect src, dst;
        int originX;
        bool drawn;
        qvsurf::PixRect srcOut, dstOut;
    } cases[] = {
        // Inside: unchanged.
        {{0, 0, 4, 4}, {1, 1, 7, 7}, 0, true, {0, 0, 4, 4}, {1, 1, 7, 7}},
        // Twice the size, cut by 4 at the right and bottom: the source loses 2.
        {{0, 0, 4, 4}, {4, 4, 12, 12}, 0, true, {0, 0, 2, 2}, {4, 4, 8, 8}},
        // Three times, cut by 2: the source loses 0.67, truncated to 0.
        {{1, 1, 3, 3}, {4, 4, 10, 10}, 0, true, {1, 1, 3, 3}, {4, 4, 8, 8}},
        // Cut at the left by the origin: -2 at half the size moves the source by 4.
        {{0, 0, 8, 8}, {0, 0, 4, 4}, -2, true, {4, 0, 8, 8}, {0, 0, 2, 4}},
        // The source reaching out of the picture moves the destination back.
        {{-2, 0, 4, 4}, {0, 0, 6, 4}, 0, true, {0, 0, 4, 4}, {2, 0, 6, 4}},
        // Empty or outside: nothing.
        {{0, 0, 0, 4}, {0, 0, 4, 4}, 0, false, {}, {}},
        {{0, 0, 4, 4}, {5, 5, 5, 9}, 0, false, {}, {}},
        {{0, 0, 4, 4}, {8, 0, 12, 4}, 0, false, {}, {}},
        {{8, 8, 12, 12}, {0, 0, 4, 4}, 0, false, {}, {}},
    };
    for (const auto& c : cases) {
        qvsurf::PixRect s = c.src, d = c.dst;
        const bool drawn = qvsurf::ClipStretch(s, 8, 8, d, 8, 8, c.originX, 0);  // both 8 x 8
        ASSERT_EQ(c.drawn, drawn) << c.src.left << "," << c.dst.left;
        if (!drawn)
            continue;
        EXPECT_EQ(c.srcOut.left, s.left);
        EXPECT_EQ(c.srcOut.top, s.top);
        EXPECT_EQ(c.srcOut.right, s.right);
        EXPECT_EQ(c.srcOut.bottom, s.bottom);
        EXPECT_EQ(c.dstOut.left, d.left);
        EXPECT_EQ(c.dstOut.top, d.top);
        EXPECT_EQ(c.dstOut.right, d.right);
        EXPECT_EQ(c.dstOut.bottom, d.bottom);
    }
}
