// ODProgressMath.h - the owner-draw progress bar's numbers apart from any
// window: range, position and step, the loop mode in which a segment of
// fixed span runs through the bar and bounces, the filled segment in
// pixels, the text with its prefix, and the box of a rotated text.
//
// An empty range (lower == upper) fills nothing and prints no number.
#pragma once

#include <stdint.h>

#include <string>

namespace odprog {

// Control flags (the window style's bits are OR-ed in).
const uint32_t kVertical = 0x0004;
const uint32_t kShiftLeft = 0x0010;
const uint32_t kShiftRight = 0x0020;
const uint32_t kShiftUp = 0x0040;
const uint32_t kShiftDown = 0x0080;
const uint32_t kTextMask = 0x0300;
const uint32_t kTextPercent = 0x0100;
const uint32_t kTextPosition = 0x0200;
const uint32_t kTextInsideBar = 0x1000;
const uint32_t kGradientOverSegment = 0x2000;
const uint32_t kReversed = 0x4000;
const uint32_t kLoop = 0x8000;

struct Model
{
    int pos = 0;
    int lower = 0;
    int upper = 100;
    int step = 1;
    int loopStart = 0;
    int span = 40;
    uint32_t flags = 0x300;
};

// Stores the range smaller first.
void SetRange(Model& m, int a, int b);
// p held into [lower, upper].
int ClampPos(const Model& m, int p);
// The loop mode's target for a relative (OffsetPos: value = delta) or
// absolute (SetPos: value = position) move; updates the loop start and
// toggles kReversed on a wrap. The caller then sets the position (forced).
int LoopTarget(Model& m, bool relative, int value);

// (position - lower) x 100 / (upper - lower); 0 for an empty range.
int Percent(const Model& m);
// (value - lower) x length / (upper - lower), whole pixels; 0 for an empty range.
int ScaleToLength(const Model& m, int value, int length);

// The filled segment along a bar of length pixels: from 0 (or the loop
// start in loop mode) to the position.
struct Segment
{
    int start;
    int end;
};
Segment FilledSegment(const Model& m, int length);

// The text for a kind (kTextPercent "%d%%", kTextPosition "%d", else no
// number; values of 0 and below are not printed) after a prefix, joined by
// " : " when both are present.
std::string Text(const Model& m, uint32_t kind, const std::string& prefix);

// The box of a text w x h turned by escapement tenths of a degree.
void RotatedExtent(int w, int h, int escapement, int* outW, int* outH);

}  // namespace odprog
