// ODProgressMath.cpp - range, loop, segment and text arithmetic of the
// progress bar.
#include "ODProgressMath.h"

#include <math.h>
#include <stdlib.h>
#include <stdio.h>

#include <algorithm>
#include <limits>

namespace odprog {

namespace {

int Sat(int64_t v)
{
    if (v > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (v < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

}  // namespace

void SetRange(Model& m, int a, int b)
{
    m.lower = std::min(a, b);
    m.upper = std::max(a, b);
}

int ClampPos(const Model& m, int p) { return std::max(m.lower, std::min(p, m.upper)); }

int LoopTarget(Model& m, bool relative, int value)
{
    int64_t target;
    if (relative) {
        int64_t pos = m.pos;
        if (pos == m.upper && pos - m.loopStart < m.span)
            pos = static_cast<int64_t>(m.loopStart) + m.span;
        target = pos + std::llabs(static_cast<int64_t>(value));
    } else {
        target = value;
    }
    const int64_t limit = static_cast<int64_t>(m.upper) + m.span;
    if (target > limit) {
        target += static_cast<int64_t>(m.lower) - m.span - m.upper;
        target = std::min(target, limit);
        m.flags ^= kReversed;
    }
    m.loopStart = Sat(std::max<int64_t>(target - m.span, m.lower));
    return Sat(target);
}

int Percent(const Model& m) { return ScaleToLength(m, m.pos, 100); }

int ScaleToLength(const Model& m, int value, int length)
{
    const int64_t range = static_cast<int64_t>(m.upper) - m.lower;
    if (range <= 0)
        return 0;
    return Sat((static_cast<int64_t>(value) - m.lower) * length / range);
}

Segment FilledSegment(const Model& m, int length)
{
    Segment s;
    s.end = ScaleToLength(m, m.pos, length);
    s.start = (m.flags & kLoop) ? ScaleToLength(m, m.loopStart, length) : 0;
    s.start = std::max(0, std::min(s.start, length));
    s.end = std::max(s.start, std::min(s.end, length));
    return s;
}

std::string Text(const Model& m, uint32_t kind, const std::string& prefix)
{
    char number[32] = "";
    const int64_t range = static_cast<int64_t>(m.upper) - m.lower;
    if (kind == kTextPercent && range > 0) {
        const int v = Percent(m);
        if (v > 0)
            snprintf(number, sizeof number, "%d%%", v);
    } else if (kind == kTextPosition && m.pos > 0) {
        snprintf(number, sizeof number, "%d", m.pos);
    }
    if (prefix.empty())
        return number;
    if (!number[0])
        return prefix;
    return prefix + " : " + number;
}

void RotatedExtent(int w, int h, int escapement, int* outW, int* outH)
{
    const double a = escapement * 3.1415926535 / 1800.0;
    *outW = static_cast<int>(fabs(w * cos(a)) + fabs(h * sin(a)));
    *outH = static_cast<int>(fabs(w * sin(a)) + fabs(h * cos(a)));
}

}  // namespace odprog
