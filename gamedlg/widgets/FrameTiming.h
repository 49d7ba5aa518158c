// Frame timing of animated pictures: the delay of each frame from the
// picture's frame-delay property, and the order in which the play loop shows
// frames and waits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace widgets {

// Used for a frame whose delay the picture does not give, or gives as 0 (a
// delay of 0 would make the play loop spin; pictures without delays read as 0).
constexpr uint32_t kDefaultFrameDelayMs = 100;
constexpr uint32_t kMaxFrameDelayMs = 0x7FFFFFFF;

// One delay in milliseconds per frame from the property's values (hundredths
// of a second): missing and zero values get the default, huge ones are capped.
std::vector<uint32_t> FrameDelaysMs(const uint32_t* values, size_t valueCount, uint32_t frameCount);

// One pass of the play loop: the frame drawn was selected by the previous
// pass; the next frame is selected, then the loop waits the next frame's
// delay. Returns the wait; *counter advances (wrapping at frameCount).
uint32_t NextFrameWait(const std::vector<uint32_t>& delaysMs, uint32_t* counter);

}  // namespace widgets
