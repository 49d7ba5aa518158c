// ODGradientBands.h - the band arithmetic of the gradient fill: a run of
// colour stops with a weight per segment between neighbouring stops, cut into
// bands of solid colour along one axis. No window code; CODGradient
// (ODGradient.h) fills one rectangle per band.
//
// Positions are pixels along the gradient's direction, from 0. "from" and
// "to" select the part of a run that is wanted (to = -1: the run's end); the
// bands come in order, each with its colour and width, and together cover
// from .. to. Colours are COLORREF values (0x00BBGGRR).
#pragma once

#include <stdint.h>

#include <vector>

namespace odgrad {

struct Band
{
    uint32_t color;
    int width;
};
typedef std::vector<Band> Bands;

// Longest run the arithmetic works on: longer periods and rectangles are
// held at this many pixels.
const int kMaxRun = 1 << 24;

// One segment from c1 to c2 over length pixels, in steps of
// min(length, largest channel difference) (at least 1); each step's colour
// is c1 plus its share of the difference per channel.
void BuildSegmentBands(uint32_t c1, uint32_t c2, int length, int from, int to, Bands& out);

// The stops over total pixels: segment i ends at total x (sum of weights up
// to i) / 100, the last one at total. weights has one entry per segment
// (stops - 1); one stop gives one band, none nothing.
void BuildBands(const std::vector<uint32_t>& stops, const std::vector<float>& weights, int total, int from, int to,
                Bands& out);

// The run of one period turned by offset pixels (its last offset pixels
// come first); BuildBands when period is 0, the offset a multiple of it, or
// with fewer than two stops. Nothing lies beyond the period.
void BuildCyclicBands(const std::vector<uint32_t>& stops, const std::vector<float>& weights, int offset, int period,
                      int from, int to, Bands& out);

// Scales the weights to sum 100. Weights that sum to 0 or less (or that are
// not finite) become equal; negative weights count as 0.
void Normalize(std::vector<float>& weights);

}  // namespace odgrad
