// ODProgressBlockLayout.h - where the blocks of the progress bar's block
// look lie and how each is drawn. No window code; CODProgressBlock
// (ODProgressBlock.h) draws what this gives.
//
// The bar is a rectangle in device pixels. Its length is its width, or its
// height when it is vertical. Blocks run forward from the start: rightwards
// (horizontal) or upwards (vertical), the other way when reversed. The filled
// part is count x fraction blocks; fractions outside 0..1 (and NaN) are held
// at the nearest end.
//
// Refusals (no blocks, bar size 0 along the bar): a count below 1, a space
// below 0, blocks that would be less than a pixel long, an image cell of no
// size.
#pragma once

#include <vector>

namespace odblock {

struct Rect
{
    int left, top, right, bottom;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// One block drawn with pen and brush.
struct PenBlock
{
    Rect rect;
    bool highlighted;   // drawn in the highlighted edge and face colours
    bool hasPartial;    // the inside part in partialRect gets the highlighted face colour
    Rect partialRect;
};

// One block drawn as a cell of the block image, in its state (0 or 1).
struct ImageBlock
{
    Rect rect;  // the cell's size at its place
    int state;
};

struct Options
{
    int count = 20;
    int space = 1;
    int fill = 0;  // 0: only the last full block is highlighted; else all full blocks and a partial one
    bool vertical = false;
    bool reversed = false;
};

double ClampFraction(double fraction);

// Pen-and-brush blocks: each (length - space x (count - 1)) / count long.
std::vector<PenBlock> PenBlocks(const Rect& bar, const Options& o, double fraction);
// Image blocks of a cell of cellWidth x cellHeight: as many as fit, each
// one cell long, centred across the bar. Block k - 1 (k = blocks x fraction)
// is in state 1.
std::vector<ImageBlock> ImageBlocks(const Rect& bar, int cellWidth, int cellHeight, const Options& o,
                                    double fraction);

// The size the blocks really cover: along the bar (block length + space) x
// blocks - space, across it the bar's own size. imageMode picks the image
// blocks' arithmetic (cell size and the count that fits).
struct Size
{
    int cx, cy;
};
Size BarSize(const Rect& bar, const Options& o, bool imageMode, int cellWidth, int cellHeight);

}  // namespace odblock
