// Frame delays from a picture's property and the play loop's order of waits.
#include <gtest/gtest.h>

#include "FrameTiming.h"

using namespace widgets;

namespace {

TEST(FrameTiming, DelaysFromTheProperty)
{
    const uint32_t three[] = {10, 20, 30};
    const uint32_t zero[] = {0, 0};
    const uint32_t huge[] = {0xFFFFFFFFu};
    struct Case {
        const char* what;
        const uint32_t* values;
        size_t count;
        uint32_t frames;
        std::vector<uint32_t> expected;
    } cases[] = {
        {"hundredths to milliseconds", three, 3, 3, {100, 200, 300}},
        {"no property: the default for every frame", nullptr, 0, 3, {100, 100, 100}},
        {"fewer values than frames: the rest default", three, 2, 4, {100, 200, 100, 100}},
        {"more values than frames: extra ignored", three, 3, 2, {100, 200}},
        {"zero delays get the default (no spinning)", zero, 2, 2, {100, 100}},
        {"huge delay capped, no overflow", huge, 1, 1, {0x7FFFFFFFu}},
        {"no frames", three, 3, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FrameDelaysMs(c.values, c.count, c.frames), c.expected);
    }
}

TEST(FrameTiming, WaitsFollowTheFrameSelectedNext)
{
    // Delays 10, 20, 30 (hundredths): after the first draw the loop waits
    // 200 ms, then 300, then 100, and so on in turn.
    const std::vector<uint32_t> delays = {100, 200, 300};
    uint32_t counter = 0;
    std::vector<uint32_t> waits;
    for (int i = 0; i < 7; ++i)
        waits.push_back(NextFrameWait(delays, &counter));
    EXPECT_EQ(waits, (std::vector<uint32_t>{200, 300, 100, 200, 300, 100, 200}));

    uint32_t c = 5;
    EXPECT_EQ(NextFrameWait({}, &c), kDefaultFrameDelayMs);
    EXPECT_EQ(c, 0u);
}

}  // namespace
