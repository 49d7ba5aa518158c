// BalloonModel.h - the timing of the text balloons: the ring of waiting
// texts, how far a balloon rises and how it fades per tick, when the next
// one may start. No window code.
#pragma once

#include <string>

namespace kit {

const int kBalloonSlots = 10;
const int kBalloonTextMax = 255;           // characters kept of a text
const int kBalloonTickMs = 100;
const int kWindowDefaultDisplayMs = 7000;  // the window's display time when unset
const int kBalloonDefaultDisplayMs = 3000; // a balloon started without one
const int kBalloonDefaultStartPct = 20;
const int kBalloonDefaultEndPct = 70;
const int kBalloonMaxAlpha = 128;

// Texts waiting: a ring of ten slots; an empty slot is free.
class BalloonTextRing
{
public:
    // FALSE when the slot at the write index still holds a text (ten wait)
    // or the text is empty. Keeps at most 255 characters.
    bool Enqueue(const char* text);
    // The text at the read index, or NULL when none waits.
    const char* Peek() const;
    // Frees the read slot and advances.
    void Pop();
    bool Empty() const { return Peek() == nullptr; }

private:
    std::string m_slots[kBalloonSlots];
    int m_write = 0;
    int m_read = 0;
};

struct BalloonTiming
{
    int steps = 0;            // ticks until the balloon is finished
    double risePerStep = 0;   // pixels
    double alphaStep = 0;
};

// Display time <= 0 takes the balloon default (a negative time would give no
// step at all and divide by zero).
BalloonTiming ComputeBalloonTiming(int displayMs, int parentHeight, int startPct, int endPct);
// Pixels risen and constant alpha at a step.
inline int BalloonRise(int step, const BalloonTiming& t) { return static_cast<int>(step * t.risePerStep); }
// 128 - trunc(step x 128 / steps), in whole numbers so the last step gives
// exactly 0 (the floating product can fall just short of 128).
inline int BalloonAlpha(int step, const BalloonTiming& t)
{
    if (t.steps <= 0 || step >= t.steps)
        return 0;
    return kBalloonMaxAlpha - (kBalloonMaxAlpha * step) / t.steps;
}
// Whether the next text may start: the newest balloon has risen by more than
// its height plus (height + 5) / 5.
inline bool NextBalloonMayStart(int risen, int height) { return risen > height + (height + 5) / 5; }
// The window's display time as a balloon gets it: 0 or less is 7000.
inline int WindowDisplayTime(int ms) { return ms > 0 ? ms : kWindowDefaultDisplayMs; }

}  // namespace kit
