// ODProgressBlockLayout.cpp - block look arithmetic.
#include "ODProgressBlockLayout.h"

#include <math.h>

namespace odblock {

namespace {

int Length(const Rect& bar, bool vertical) { return vertical ? bar.Height() : bar.Width(); }

// The rectangle of block i of blocks blocks of blockLen along the bar, whose
// across-extent runs from a to b (top..bottom or left..right).
Rect PlaceBlock(const Rect& bar, const Options& o, int blocks, int blockLen, int i, int a, int b)
{
    const long long step = static_cast<long long>(blockLen) + o.space;
    const long long along = step * (o.reversed ? blocks - 1 - i : i);
    if (!o.vertical) {
        const int left = static_cast<int>(bar.left + along);
        return Rect{left, a, left + blockLen, b};
    }
    const int bottom = static_cast<int>(bar.bottom - along);
    return Rect{a, bottom - blockLen, b, bottom};
}

}  // namespace

double ClampFraction(double fraction)
{
    if (!(fraction > 0))  // NaN too
        return 0;
    return fraction > 1 ? 1 : fraction;
}

std::vector<PenBlock> PenBlocks(const Rect& bar, const Options& o, double fraction)
{
    std::vector<PenBlock> out;
    const int length = Length(bar, o.vertical);
    if (o.count < 1 || o.space < 0 || length <= 0)
        return out;
    const long long blockLen64 = (static_cast<long long>(length) - static_cast<long long>(o.space) * (o.count - 1)) / o.count;
    if (blockLen64 < 1)
        return out;
    const int blockLen = static_cast<int>(blockLen64);
    const double filled = o.count * ClampFraction(fraction);
    const int full = static_cast<int>(filled);
    const int partial = static_cast<int>((filled - full) * blockLen);
    out.reserve(static_cast<size_t>(o.count));
    for (int i = 0; i < o.count; ++i) {
        PenBlock b{};
        b.rect = o.vertical ? PlaceBlock(bar, o, o.count, blockLen, i, bar.left, bar.right)
                            : PlaceBlock(bar, o, o.count, blockLen, i, bar.top, bar.bottom);
        if (o.fill == 0) {
            b.highlighted = i == full - 1;
        } else {
            b.highlighted = i < full;
            if (i == full && partial > 0) {
                // The block's inside, filled over partial pixels from the
                // side where the progress starts.
                Rect in{b.rect.left + 1, b.rect.top + 1, b.rect.right - 1, b.rect.bottom - 1};
                if (in.Width() > 0 && in.Height() > 0) {
                    Rect p = in;
                    if (!o.vertical) {
                        const int w = partial < in.Width() ? partial : in.Width();
                        if (o.reversed)
                            p.left = in.right - w;
                        else
                            p.right = in.left + w;
                    } else {
                        const int h = partial < in.Height() ? partial : in.Height();
                        if (o.reversed)
                            p.bottom = in.top + h;
                        else
                            p.top = in.bottom - h;
                    }
                    b.hasPartial = true;
                    b.partialRect = p;
                }
            }
        }
        out.push_back(b);
    }
    return out;
}

std::vector<ImageBlock> ImageBlocks(const Rect& bar, int cellWidth, int cellHeight, const Options& o, double fraction)
{
    std::vector<ImageBlock> out;
    const int length = Length(bar, o.vertical);
    const int blockLen = o.vertical ? cellHeight : cellWidth;
    if (blockLen < 1 || cellWidth < 1 || cellHeight < 1 || o.space < 0 || length <= 0)
        return out;
    const long long step = static_cast<long long>(blockLen) + o.space;
    const int blocks = static_cast<int>((static_cast<long long>(length) + o.space) / step);
    if (blocks < 1)
        return out;
    const int k = static_cast<int>(blocks * ClampFraction(fraction));
    out.reserve(static_cast<size_t>(blocks));
    for (int i = 0; i < blocks; ++i) {
        ImageBlock b{};
        if (o.vertical) {
            const int left = bar.left + (bar.Width() - cellWidth) / 2;
            b.rect = PlaceBlock(bar, o, blocks, blockLen, i, left, left + cellWidth);
        } else {
            const int top = bar.top + (bar.Height() - cellHeight) / 2;
            b.rect = PlaceBlock(bar, o, blocks, blockLen, i, top, top + cellHeight);
        }
        b.state = i == k - 1 ? 1 : 0;
        out.push_back(b);
    }
    return out;
}

Size BarSize(const Rect& bar, const Options& o, bool imageMode, int cellWidth, int cellHeight)
{
    const int length = Length(bar, o.vertical);
    int blockLen = 0, blocks = 0;
    if (imageMode) {
        blockLen = o.vertical ? cellHeight : cellWidth;
        if (blockLen >= 1 && o.space >= 0 && length > 0)
            blocks = static_cast<int>((static_cast<long long>(length) + o.space) / (static_cast<long long>(blockLen) + o.space));
    } else if (o.count >= 1 && o.space >= 0 && length > 0) {
        const long long b = (static_cast<long long>(length) - static_cast<long long>(o.space) * (o.count - 1)) / o.count;
        if (b >= 1) {
            blockLen = static_cast<int>(b);
            blocks = o.count;
        }
    }
    const int along = blocks >= 1 ? static_cast<int>((static_cast<long long>(blockLen) + o.space) * blocks - o.space) : 0;
    return o.vertical ? Size{bar.Width(), along} : Size{along, bar.Height()};
}

}  // namespace odblock
