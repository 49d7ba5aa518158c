// TileLayout.h - where the pieces of a bitmap go when it is drawn into a
// rectangle by mode: one copy (1), tiles (3), three columns (4) or nine
// parts (5). Pure arithmetic; the drawing routine blits what it is given.
//
// Every piece is at least one pixel wide and high and every loop advances
// by its piece, so sources smaller than three pixels (whose thirds are
// empty) draw nothing instead of looping.
#pragma once

#include <stdint.h>

namespace tiles {

struct Piece
{
    int32_t dstX, dstY;  // relative to the destination's top-left
    int32_t srcX, srcY;  // relative to the source rectangle's top-left
    int32_t width, height;
};

// Columns of one row in the three-column layout: the left third, the middle
// third repeated up to one third before the right edge, then a piece that
// ends at the right edge, taken from the right third.
template <class Emit>
void ThreeColumns(int32_t dstW, int32_t srcW, int32_t y, int32_t srcY, int32_t h, Emit& emit)
{
    const int32_t t = srcW / 3;
    if (t <= 0 || dstW <= 0 || h <= 0)
        return;
    emit(Piece{0, y, 0, srcY, dstW < t ? dstW : t, h});
    if (dstW <= t)
        return;
    int32_t x = t;
    while (x < dstW - t) {
        const int32_t w = (dstW - t - x) < t ? dstW - t - x : t;
        emit(Piece{x, y, t, srcY, w, h});
        x += w;
    }
    if (dstW >= 2 * t)
        emit(Piece{dstW - t, y, 2 * t, srcY, t, h});
    else
        emit(Piece{x, y, 3 * t - (dstW - x), srcY, dstW - x, h});
}

// Calls emit(Piece) for every copy of a mode. False for modes drawn some
// other way (a plain stretch of the whole source).
template <class Emit>
bool Layout(int mode, int32_t dstW, int32_t dstH, int32_t srcW, int32_t srcH, Emit emit)
{
    switch (mode) {
    case 1:
        if (dstW > 0 && dstH > 0)
            emit(Piece{0, 0, 0, 0, dstW, dstH});
        return true;
    case 3:
        if (srcW <= 0 || srcH <= 0)
            return true;
        for (int32_t y = 0; y < dstH; y += srcH) {
            const int32_t h = (dstH - y) < srcH ? dstH - y : srcH;
            for (int32_t x = 0; x < dstW; x += srcW)
                emit(Piece{x, y, 0, 0, (dstW - x) < srcW ? dstW - x : srcW, h});
        }
        return true;
    case 4:
        if (srcH <= 0)
            return true;
        for (int32_t y = 0; y < dstH; y += srcH) {
            const int32_t h = (dstH - y) < srcH ? dstH - y : srcH;
            ThreeColumns(dstW, srcW, y, 0, h, emit);
        }
        return true;
    case 5: {
        const int32_t u = srcH / 3;
        if (u <= 0)
            return true;
        int row = 0;
        for (int32_t y = 0; y < dstH; y += u, ++row) {
            const int32_t h = (dstH - y) < u ? dstH - y : u;
            int32_t srcY;
            if (row == 0)
                srcY = 0;                         // top third
            else if (dstH - y > u)
                srcY = u;                         // middle third
            else if (row == 1 && h < u)
                srcY = 3 * u - h;                 // a short second row: the bottom's lower end
            else
                srcY = 2 * u;                     // the last row: the bottom third from its top
            ThreeColumns(dstW, srcW, y, srcY, h, emit);
        }
        return true;
    }
    default:
        return false;
    }
}

}  // namespace tiles
