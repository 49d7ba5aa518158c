// The text balloons' timing: the ring of ten waiting texts, steps, rise and
// fade per tick, the start condition of the next balloon, display times of
// zero and below.
#include <gtest/gtest.h>

#include "BalloonModel.h"

#include <string>

namespace {

using namespace kit;

TEST(BalloonModel, RingHoldsTenTexts)
{
    BalloonTextRing ring;
    EXPECT_FALSE(ring.Enqueue(nullptr));
    EXPECT_FALSE(ring.Enqueue(""));
    for (int i = 0; i < 10; i++)
        EXPECT_TRUE(ring.Enqueue(("t" + std::to_string(i)).c_str())) << i;
    EXPECT_FALSE(ring.Enqueue("eleventh")) << "ten wait: refused";
    EXPECT_STREQ(ring.Peek(), "t0");
    ring.Pop();
    EXPECT_TRUE(ring.Enqueue("eleventh")) << "a slot is free again";
    for (int i = 1; i < 10; i++) {
        EXPECT_STREQ(ring.Peek(), ("t" + std::to_string(i)).c_str());
        ring.Pop();
    }
    EXPECT_STREQ(ring.Peek(), "eleventh");
    ring.Pop();
    EXPECT_TRUE(ring.Empty());
    ring.Pop();   // nothing to pop: no change
    EXPECT_TRUE(ring.Empty());
    const std::string longText(600, 'x');
    ASSERT_TRUE(ring.Enqueue(longText.c_str()));
    EXPECT_EQ(std::string(ring.Peek()).size(), 255u);
}

TEST(BalloonModel, TimingTable)
{
    struct Case
    {
        const char* what;
        int display, height, start, end;
        int steps;
        double rise, alphaStep;
    };
    // steps = (display + 100) / 100; rise = height x (end - start) % / steps.
    const Case cases[] = {
        {"7000 ms over 300 px, 20% to 70%", 7000, 300, 20, 70, 71, 150.0 / 71, 128.0 / 71},
        {"3000 ms", 3000, 200, 20, 70, 31, 100.0 / 31, 128.0 / 31},
        {"0 takes the balloon default 3000", 0, 200, 20, 70, 31, 100.0 / 31, 128.0 / 31},
        {"negative takes the default: no division by zero", -500, 200, 20, 70, 31, 100.0 / 31, 128.0 / 31},
        {"-100 would have been 0 steps", -100, 200, 20, 70, 31, 100.0 / 31, 128.0 / 31},
        {"1 ms is one step", 1, 100, 0, 100, 1, 100.0, 128.0},
    };
    for (const Case& c : cases) {
        const BalloonTiming t = ComputeBalloonTiming(c.display, c.height, c.start, c.end);
        EXPECT_EQ(t.steps, c.steps) << c.what;
        EXPECT_DOUBLE_EQ(t.risePerStep, c.rise) << c.what;
        EXPECT_DOUBLE_EQ(t.alphaStep, c.alphaStep) << c.what;
    }
}

TEST(BalloonModel, AlphaReachesZeroAtTheLastStep)
{
    for (int display = 0; display <= 20000; display += 37) {
        const BalloonTiming t = ComputeBalloonTiming(display, 300, 20, 70);
        EXPECT_EQ(BalloonAlpha(0, t), 128);
        EXPECT_EQ(BalloonAlpha(t.steps, t), 0) << display;
        EXPECT_GT(BalloonAlpha(t.steps - 1, t), 0) << display;
        for (int s = 1; s <= t.steps; s++)
            EXPECT_LE(BalloonAlpha(s, t), BalloonAlpha(s - 1, t));
    }
    const BalloonTiming t = ComputeBalloonTiming(7000, 300, 20, 70);
    EXPECT_EQ(BalloonRise(10, t), 21) << "trunc(10 x 150 / 71) = trunc(21.13)";
    EXPECT_EQ(BalloonRise(71, t), 150);
}

TEST(BalloonModel, NextStartsAfterRisingAboutOneAndAFifthHeights)
{
    // Height 20: more than 20 + 25 / 5 = 25 pixels.
    EXPECT_FALSE(NextBalloonMayStart(25, 20));
    EXPECT_TRUE(NextBalloonMayStart(26, 20));
    EXPECT_FALSE(NextBalloonMayStart(0, 0)) << "risen by nothing";
    EXPECT_EQ(WindowDisplayTime(0), 7000);
    EXPECT_EQ(WindowDisplayTime(-5), 7000);
    EXPECT_EQ(WindowDisplayTime(1200), 1200);
}

}  // namespace
