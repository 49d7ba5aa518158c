// SplitModel.cpp - see SplitModel.h.
#include "SplitModel.h"

#include <algorithm>
#include <climits>

namespace {

int16_t Clamp16(int64_t v)
{
    return static_cast<int16_t>(std::max<int64_t>(SHRT_MIN, std::min<int64_t>(SHRT_MAX, v)));
}

// A proportion a:b that fits two signed 16-bit values and their sum.
void Fit16(int64_t& a, int64_t& b)
{
    const int64_t sum = a + b;
    if (sum > SHRT_MAX) {
        a = a * SHRT_MAX / sum;
        b = SHRT_MAX - a;
    }
}

}  // namespace

void SplitModel::SetDefaultSize(int first, int second)
{
    int64_t a = first, b = second;
    if (a < 1 || b < 1) {
        a = stacked ? 1 : 4;
        b = stacked ? 2 : 1;
    }
    Fit16(a, b);
    m_defaultFirst = static_cast<int16_t>(a);
    m_defaultSecond = static_cast<int16_t>(b);
    leftWidth = m_defaultFirst;
    rightWidth = m_defaultSecond;
    totalWidth = static_cast<int16_t>(a + b);
}

AreaRect SplitModel::Part(int i, int from, int to) const
{
    AreaRect r;
    if (stacked)
        r = AreaRect(rect.l, rect.t + from, rect.r, rect.t + to);
    else
        r = AreaRect(rect.l + from, rect.t, rect.l + to, rect.b);
    const AreaRect& m = side[i].margins;
    return AreaRect(r.l + m.l, r.t + m.t, r.r - m.r, r.b - m.b);
}

void SplitModel::HideFirst()
{
    side[0].visible = false;
    spliteFrom = 0;
    side[1].rect = Part(1, thickness, Extent());
}

void SplitModel::HideSecond()
{
    side[1].visible = false;
    spliteFrom = Extent() - thickness;
    side[0].rect = Part(0, 0, Extent() - thickness);
}

void SplitModel::Apply(int first)
{
    const int e = Extent();
    spliteFrom = first;
    side[0].rect = Part(0, 0, first);
    side[1].rect = Part(1, first + thickness, e);
    int64_t a = first, b = static_cast<int64_t>(e) - first;
    if (e > 0 && a >= 0 && b >= 0) {
        Fit16(a, b);
        leftWidth = Clamp16(a);
        rightWidth = Clamp16(b);
        totalWidth = Clamp16(a + b);
    }
    // A zero extent (or a split outside it) keeps the proportion it had, so
    // that the next division never divides by zero.
}

int SplitModel::ProportionalFirst() const
{
    int64_t lw = leftWidth, tw = totalWidth;
    // A stored proportion that cannot be one (no total, or a first side
    // outside it) gives way to the default.
    if (tw <= 0 || lw < 0 || lw > tw) {
        lw = m_defaultFirst;
        tw = m_defaultFirst + m_defaultSecond;
    }
    return static_cast<int>(static_cast<int64_t>(Extent()) * lw / tw);
}

int SplitModel::SplitFirst() const
{
    const int e = Extent(), t = thickness, m1 = minFirst, m2 = minSecond;
    int first = std::max(ProportionalFirst(), m1);
    if (e - t - first < m2)
        first = e - t - m2;
    if (keepSide == kKeepLeft && first > m1)
        first = m1;
    if (keepSide == kKeepRight && e - t - first > m2)
        first = e - t - m2;
    return first;
}

void SplitModel::Resize()
{
    const int e = Extent(), t = thickness, m1 = minFirst, m2 = minSecond;
    if (e < m1 + t + m2) {
        bool first;
        switch (hide) {
        case kHideLeft: first = true; break;
        case kHideBoth: first = m1 < m2; break;
        default: first = false; break;
        }
        if (first)
            HideFirst();
        else
            HideSecond();
        forceHide = true;
        return;
    }
    Apply(SplitFirst());
}

void SplitModel::Layout()
{
    if (forceHide) {
        forceHide = false;
        side[0].visible = side[1].visible = true;
        Resize();
        return;
    }
    if (!side[0].visible) {
        if (side[1].visible) {
            spliteFrom = 0;
            side[1].rect = Part(1, thickness, Extent());
        }
        return;
    }
    if (!side[1].visible) {
        side[0].rect = Part(0, 0, Extent() - thickness);
        spliteFrom = Extent() - thickness;
        return;
    }
    Resize();
}

bool SplitModel::Move(int d)
{
    const int t = thickness, m1 = minFirst, m2 = minSecond;
    const int64_t target = static_cast<int64_t>(spliteFrom) + d;
    if (target < INT_MIN / 2 || target > INT_MAX / 2)
        return false;
    if (d <= 0) {
        if (!side[0].visible)
            return false;
        const int64_t ext1 = SideExtent(0);
        if (side[1].visible) {
            if (ext1 + d >= m1) {
                Apply(static_cast<int>(target));
                return true;
            }
            if (ext1 + d < t) {
                forceHide = false;
                HideFirst();
                return true;
            }
            return false;
        }
        if (-static_cast<int64_t>(d) > m2 && ext1 + d >= m1) {
            side[1].visible = true;
            Apply(static_cast<int>(target));
            return true;
        }
        return false;
    }
    if (!side[1].visible)
        return false;
    const int64_t ext2 = SideExtent(1);
    if (side[0].visible) {
        if (ext2 - d >= m2) {
            Apply(static_cast<int>(target));
            return true;
        }
        if (ext2 - d < t) {
            forceHide = false;
            HideSecond();
            return true;
        }
        return false;
    }
    if (d > m1 && ext2 - d >= m2) {
        side[0].visible = true;
        Apply(static_cast<int>(target));
        return true;
    }
    return false;
}

bool SplitModel::Wheel(int delta)
{
    if (thickness == 0 || !drag)
        return false;
    return Move(delta / 2);
}

bool SplitModel::HideKey(int key)
{
    if (forceHide)
        return false;
    if (key == kKeyRight) {
        if (!side[0].visible)
            return false;
        if (side[1].visible) {
            forceHide = false;
            HideSecond();
        } else {
            side[1].visible = true;
            Apply(SplitFirst());
        }
        return true;
    }
    if (key == kKeyLeft) {
        if (!side[1].visible)
            return false;
        if (side[0].visible) {
            forceHide = false;
            HideFirst();
        } else {
            side[0].visible = true;
            Apply(std::max(ProportionalFirst(), static_cast<int>(minFirst)));
        }
        return true;
    }
    return false;
}

AreaRect SplitModel::SliderRect() const
{
    if (thickness <= 0)
        return AreaRect();
    const int from = spliteFrom, to = spliteFrom + thickness;
    const int start = stacked ? rect.l : rect.t;
    const int end = stacked ? rect.r : rect.b;
    const int length = end - start;
    int a, b;
    if (keepLength != 0 && length > keepLength) {
        a = start + (length - keepLength) / 2;
        b = a + keepLength;
    } else {
        a = start + keepInsetStart;
        b = end - keepInsetEnd;
    }
    if (stacked)
        return AreaRect(a, rect.t + from, b, rect.t + to);
    return AreaRect(rect.l + from, a, rect.l + to, b);
}
