// Gradient bands: counts, colours and coverage of segments, stops, weights,
// the repeat factor's period and the cyclic offset.
#include <gtest/gtest.h>

#include <math.h>

#include "ODGradientBands.h"

namespace {

using odgrad::Band;
using odgrad::Bands;

const uint32_t kRed = 0x0000FF;
const uint32_t kBlue = 0xFF0000;
const uint32_t kGreen = 0x00FF00;

int Covered(const Bands& bands)
{
    int sum = 0;
    for (const Band& b : bands)
        sum += b.width;
    return sum;
}

// The colour at each pixel 0 .. width - 1 of a band list.
std::vector<uint32_t> Pixels(const Bands& bands)
{
    std::vector<uint32_t> px;
    for (const Band& b : bands)
        px.insert(px.end(), static_cast<size_t>(b.width), b.color);
    return px;
}

TEST(GradientSegment, Table)
{
    struct Case {
        const char* what;
        uint32_t c1, c2;
        int length, from, to;
        size_t bands;
        int covered;
    };
    const Case cases[] = {
        // steps = min(length, largest channel difference)
        {"red to blue over 500 pixels: 255 steps", kRed, kBlue, 500, 0, -1, 255, 500},
        {"red to blue over 100 pixels: 100 steps", kRed, kBlue, 100, 0, -1, 100, 100},
        {"equal colours: one band", kGreen, kGreen, 80, 0, -1, 1, 80},
        {"a small difference: as many steps", 0x000010, 0x000014, 100, 0, -1, 4, 100},
        {"a part of the run", kRed, kBlue, 100, 10, 20, 10, 10},
        {"a part inside one step", kRed, kBlue, 500, 3, 4, 1, 1},
        {"nothing for length 0", kRed, kBlue, 0, 0, -1, 0, 0},
        {"nothing for an empty part", kRed, kBlue, 100, 50, 50, 0, 0},
        {"a part past the end is cut", kRed, kBlue, 100, 90, 500, 10, 10},
    };
    for (const Case& c : cases) {
        Bands out;
        odgrad::BuildSegmentBands(c.c1, c.c2, c.length, c.from, c.to, out);
        EXPECT_EQ(out.size(), c.bands) << c.what;
        EXPECT_EQ(Covered(out), c.covered) << c.what;
    }
}

TEST(GradientSegment, ColoursStepFromFirstTowardsSecond)
{
    Bands out;
    odgrad::BuildSegmentBands(kRed, kBlue, 100, 0, -1, out);
    ASSERT_EQ(out.size(), 100u);
    EXPECT_EQ(out.front().color, kRed);
    // Step i: red 255 + trunc(i x -2.55), blue trunc(i x 2.55).
    EXPECT_EQ(out[1].color, 0x020000u | 253u);
    EXPECT_EQ(out[99].color, static_cast<uint32_t>(252) << 16 | 3u);
}

TEST(GradientBands, StopsAndWeights)
{
    const std::vector<float> half = {50, 50};
    struct Case {
        const char* what;
        std::vector<uint32_t> stops;
        std::vector<float> weights;
        int total, from, to;
        int covered;
        uint32_t first, last;
    };
    const Case cases[] = {
        {"no stop: nothing", {}, {}, 100, 0, -1, 0, 0, 0},
        {"one stop fills the range", {kGreen}, {}, 100, 10, 60, 50, kGreen, kGreen},
        {"two stops", {kRed, kBlue}, {100}, 100, 0, -1, 100, kRed, 0xFC0003},
        {"three stops, equal weights: the middle colour at the half",
         {kRed, kGreen, kBlue}, half, 100, 50, 51, 1, kGreen, kGreen},
        {"a segment of weight 0 draws nothing", {kRed, kGreen, kBlue}, {0, 100}, 100, 0, 1, 1, kGreen, kGreen},
    };
    for (const Case& c : cases) {
        Bands out;
        odgrad::BuildBands(c.stops, c.weights, c.total, c.from, c.to, out);
        EXPECT_EQ(Covered(out), c.covered) << c.what;
        if (!out.empty()) {
            EXPECT_EQ(out.front().color, c.first) << c.what;
            EXPECT_EQ(out.back().color, c.last) << c.what;
        }
    }
}

TEST(GradientCyclic, FactorAndOffset)
{
    const std::vector<uint32_t> stops = {kRed, kBlue};
    const std::vector<float> weights = {100};
    Bands whole;
    odgrad::BuildBands(stops, weights, 200, 0, -1, whole);
    const std::vector<uint32_t> run = Pixels(whole);

    // Factor 2 over 100 pixels: period 200, the first half of the run.
    Bands half;
    odgrad::BuildCyclicBands(stops, weights, 0, 200, 0, 100, half);
    EXPECT_EQ(Pixels(half), std::vector<uint32_t>(run.begin(), run.begin() + 100));

    // An offset equal to the period, or a multiple of it, draws as offset 0.
    Bands same;
    odgrad::BuildCyclicBands(stops, weights, 200, 200, 0, 100, same);
    EXPECT_EQ(Pixels(same), Pixels(half));
    same.clear();
    odgrad::BuildCyclicBands(stops, weights, -400, 200, 0, 100, same);
    EXPECT_EQ(Pixels(same), Pixels(half));

    // Offset 30: the last 30 pixels come first.
    Bands turned;
    odgrad::BuildCyclicBands(stops, weights, 30, 200, 0, -1, turned);
    const std::vector<uint32_t> px = Pixels(turned);
    ASSERT_EQ(px.size(), 200u);
    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(px[static_cast<size_t>(i)], run[static_cast<size_t>((i + 170) % 200)]) << i;

    // A negative offset turns the other way: -30 is 170.
    Bands negative;
    odgrad::BuildCyclicBands(stops, weights, -30, 200, 0, -1, negative);
    EXPECT_EQ(Pixels(negative)[0], run[30]);

    // A part of the turned run.
    Bands part;
    odgrad::BuildCyclicBands(stops, weights, 30, 200, 25, 35, part);
    EXPECT_EQ(Pixels(part), std::vector<uint32_t>(px.begin() + 25, px.begin() + 35));
}

TEST(GradientWeights, Normalize)
{
    struct Case {
        const char* what;
        std::vector<float> in;
        std::vector<float> out;
    };
    const Case cases[] = {
        {"scaled to 100", {1, 3}, {25, 75}},
        {"zero sum: equal weights instead of a division by zero", {0, 0}, {50, 50}},
        {"negative weights count as 0", {-5, 5}, {0, 100}},
        {"not finite: equal", {INFINITY, 1}, {50, 50}},
        {"empty stays empty", {}, {}},
    };
    for (const Case& c : cases) {
        std::vector<float> w = c.in;
        odgrad::Normalize(w);
        ASSERT_EQ(w.size(), c.out.size()) << c.what;
        for (size_t i = 0; i < w.size(); ++i)
            EXPECT_NEAR(w[i], c.out[i], 1e-4) << c.what;
    }
}

TEST(GradientBands, AbsurdSizesAreHeld)
{
    Bands out;
    odgrad::BuildBands({kRed, kBlue}, {100}, 2000000000, 0, 10, out);
    EXPECT_EQ(Covered(out), 10);
    out.clear();
    odgrad::BuildCyclicBands({kRed, kBlue}, {100}, 7, 2000000000, 0, 10, out);
    EXPECT_EQ(Covered(out), 10);
}

}  // namespace
