// ODGradientBands.cpp - gradient bands on plain numbers.
#include "ODGradientBands.h"

#include <math.h>
#include <stdlib.h>

namespace odgrad {

namespace {

int Channel(uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

void Add(Bands& out, uint32_t color, int width)
{
    if (width > 0)
        out.push_back(Band{color, width});
}

}  // namespace

void BuildSegmentBands(uint32_t c1, uint32_t c2, int length, int from, int to, Bands& out)
{
    if (length <= 0)
        return;
    length = Clamp(length, 0, kMaxRun);
    if (to == -1 || to > length)
        to = length;
    if (from < 0)
        from = 0;
    if (from >= to)
        return;
    const int diff[3] = {Channel(c2, 0) - Channel(c1, 0), Channel(c2, 8) - Channel(c1, 8),
                         Channel(c2, 16) - Channel(c1, 16)};
    int largest = 0;
    for (int d : diff)
        largest = abs(d) > largest ? abs(d) : largest;
    int steps = length < largest ? length : largest;
    if (steps < 1)
        steps = 1;
    float change[3];
    for (int i = 0; i < 3; ++i)
        change[i] = static_cast<float>(diff[i]) / static_cast<float>(steps);
    const float stepLength = static_cast<float>(length) / static_cast<float>(steps);
    for (int i = 0; i < steps; ++i) {
        const int start = static_cast<int>(static_cast<float>(i) * stepLength);
        const int end = i == steps - 1 ? length : static_cast<int>(static_cast<float>(i + 1) * stepLength);
        if (end <= from)
            continue;
        uint32_t color = 0;
        for (int ch = 0; ch < 3; ++ch) {
            const int v = (Channel(c1, ch * 8) + static_cast<int>(static_cast<float>(i) * change[ch])) & 255;
            color |= static_cast<uint32_t>(v) << (ch * 8);
        }
        const int a = start > from ? start : from;
        const int b = end < to ? end : to;
        Add(out, color, b - a);
        if (end >= to)
            break;
    }
}

void BuildBands(const std::vector<uint32_t>& stops, const std::vector<float>& weights, int total, int from, int to,
                Bands& out)
{
    total = Clamp(total, 0, kMaxRun);
    if (to == -1 || to > total)
        to = total;
    if (from < 0)
        from = 0;
    if (stops.empty() || from >= to)
        return;
    if (stops.size() == 1) {
        Add(out, stops[0], to - from);
        return;
    }
    const size_t segments = stops.size() - 1;
    float sum = 0;
    int segmentStart = 0;
    for (size_t i = 0; i < segments; ++i) {
        sum += i < weights.size() ? weights[i] : 0.0f;
        int segmentEnd = i == segments - 1 ? total : static_cast<int>(static_cast<double>(total) * sum * 0.01);
        segmentEnd = Clamp(segmentEnd, segmentStart, total);
        if (segmentEnd > from) {
            const int a = (from > segmentStart ? from : segmentStart) - segmentStart;
            const int b = (to < segmentEnd ? to : segmentEnd) - segmentStart;
            BuildSegmentBands(stops[i], stops[i + 1], segmentEnd - segmentStart, a, b, out);
            if (segmentEnd >= to)
                break;
        }
        segmentStart = segmentEnd;
    }
}

void BuildCyclicBands(const std::vector<uint32_t>& stops, const std::vector<float>& weights, int offset, int period,
                      int from, int to, Bands& out)
{
    period = Clamp(period, 0, kMaxRun);
    if (period == 0 || offset % period == 0 || stops.size() < 2) {
        BuildBands(stops, weights, period, from, to, out);
        return;
    }
    offset %= period;
    if (offset < 0)
        offset += period;
    Bands whole;
    BuildBands(stops, weights, period, 0, -1, whole);
    // Turn the pattern: its last `offset` pixels first.
    Bands turned;
    const int cut = period - offset;
    int p = 0;
    Bands head;
    for (const Band& b : whole) {
        const int end = p + b.width;
        if (end <= cut) {
            head.push_back(b);
        } else if (p >= cut) {
            turned.push_back(b);
        } else {
            head.push_back(Band{b.color, cut - p});
            turned.push_back(Band{b.color, end - cut});
        }
        p = end;
    }
    turned.insert(turned.end(), head.begin(), head.end());

    if (to == -1 || to > period)
        to = period;
    if (from < 0)
        from = 0;
    p = 0;
    for (const Band& b : turned) {
        const int end = p + b.width;
        if (end > from) {
            const int a = p > from ? p : from;
            const int e = end < to ? end : to;
            Add(out, b.color, e - a);
            if (end >= to)
                break;
        }
        p = end;
    }
}

void Normalize(std::vector<float>& weights)
{
    double sum = 0;
    bool finite = true;
    for (float& w : weights) {
        if (!isfinite(w))
            finite = false;
        else if (w < 0)
            w = 0;
        sum += w;
    }
    if (weights.empty())
        return;
    if (!finite || !(sum > 0) || !isfinite(sum)) {
        for (float& w : weights)
            w = 100.0f / static_cast<float>(weights.size());
        return;
    }
    for (float& w : weights)
        w = static_cast<float>(w * 100.0 / sum);
}

}  // namespace odgrad
