// ODTipGeometry.h - the rich tooltip's arithmetic apart from any window:
// where the balloon goes for an anchor point on a screen of a given size,
// the shape of its body and pointer, and the bands of its linear fill.
//
// Placements: 0 above the anchor with the pointer near the balloon's right
// side, 1 above with the pointer near the left side, 2 below near the right
// side, 3 below near the left side. A balloon that would leave the screen
// sideways swaps sides once (0 and 1, 2 and 3); one that would leave it at
// the top or bottom swaps above and below once (0 and 2, 1 and 3).
#pragma once

#include <stdint.h>

#include <vector>

namespace odtip {

struct Box
{
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

struct Point
{
    int x = 0, y = 0;
};

struct Placement
{
    int placement = 0;  // 0..3 after the swaps
    Box rect;           // screen coordinates
};

// The window rectangle of a balloon of width x height (shadow included) for
// the preferred placement (style & 3). With a shadow, final placements 0 and
// 2 move by the shadow offsets.
Placement PlaceBalloon(int style, Point anchor, int width, int height, int screenWidth, int screenHeight,
                       int pointerDistance, bool shadow, int shadowX, int shadowY);

// The balloon's shape in window coordinates: the body (area less the
// pointer's height at the bottom for placements 0 and 1, at the top for 2
// and 3) and, with a pointer, a triangle whose apex is the anchor and whose
// base lies on the body's edge, starting pointerDistance from the body's
// right (0, 2) or left (1, 3) side and running baseWidth inwards.
struct Shape
{
    Box body;
    bool hasPointer = false;
    Point triangle[3];  // apex, then the base's two ends
};
Shape BalloonShape(const Box& area, int placement, Point anchor, bool pointer, int pointerHeight, int baseWidth,
                   int pointerDistance);

// One band of the linear fill: [from, to) along the gradient's axis.
struct Band
{
    int from;
    int to;
    uint32_t colour;
};
// 64 bands over start .. start + length from colour f towards t; band i runs
// start + ((length i) >> 6) .. start + ((length (i + 1)) >> 6) with every
// channel (f 64 + i (t - f)) >> 6. Bands of no width are left out; t itself
// is never reached.
std::vector<Band> GradientBands(int start, int length, uint32_t f, uint32_t t);

}  // namespace odtip
