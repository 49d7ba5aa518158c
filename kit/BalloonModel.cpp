#include "BalloonModel.h"

#include <cstring>

namespace kit {

bool BalloonTextRing::Enqueue(const char* text)
{
    if (text == nullptr || *text == '\0' || !m_slots[m_write].empty())
        return false;
    m_slots[m_write].assign(text, strnlen(text, kBalloonTextMax));
    m_write = (m_write + 1) % kBalloonSlots;
    return true;
}

const char* BalloonTextRing::Peek() const
{
    return m_slots[m_read].empty() ? nullptr : m_slots[m_read].c_str();
}

void BalloonTextRing::Pop()
{
    if (m_slots[m_read].empty())
        return;
    m_slots[m_read].clear();
    m_read = (m_read + 1) % kBalloonSlots;
}

BalloonTiming ComputeBalloonTiming(int displayMs, int parentHeight, int startPct, int endPct)
{
    if (displayMs <= 0)
        displayMs = kBalloonDefaultDisplayMs;
    BalloonTiming t;
    t.steps = (displayMs + kBalloonTickMs) / kBalloonTickMs;
    t.risePerStep = parentHeight * (endPct - startPct) * 0.01 / t.steps;
    t.alphaStep = static_cast<double>(kBalloonMaxAlpha) / t.steps;
    return t;
}

}  // namespace kit
