#include "FrameTiming.h"

namespace widgets {

std::vector<uint32_t> FrameDelaysMs(const uint32_t* values, size_t valueCount, uint32_t frameCount)
{
    std::vector<uint32_t> delays(frameCount, kDefaultFrameDelayMs);
    for (size_t i = 0; i < frameCount && values != nullptr && i < valueCount; ++i) {
        const uint64_t ms = static_cast<uint64_t>(values[i]) * 10;
        delays[i] = ms == 0 ? kDefaultFrameDelayMs : ms > kMaxFrameDelayMs ? kMaxFrameDelayMs : static_cast<uint32_t>(ms);
    }
    return delays;
}

uint32_t NextFrameWait(const std::vector<uint32_t>& delaysMs, uint32_t* counter)
{
    if (delaysMs.empty()) {
        *counter = 0;
        return kDefaultFrameDelayMs;
    }
    *counter = (*counter + 1) % static_cast<uint32_t>(delaysMs.size());
    return delaysMs[*counter];
}

}  // namespace widgets
