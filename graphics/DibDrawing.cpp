// DibDrawing.cpp - bitmap drawing onto the framework's device contexts:
// greyed overlays and drawing by mode (tiles, three columns, nine parts).
#include <afxwin.h>

#include "DibFunctions.h"
#include "GdiHelpers.h"
#include "TileLayout.h"

void DrawOverGrey(CDC* target, int x, int y, int width, int height, CDC* source)
{
    if (!target || !target->GetSafeHdc() || !source || !source->GetSafeHdc())
        return;
    CDC grey;
    CBitmap bitmap;
    if (!grey.CreateCompatibleDC(target) || !bitmap.CreateCompatibleBitmap(target, width, height))
        return;
    CBitmap* old = grey.SelectObject(&bitmap);
    grey.FillSolidRect(0, 0, width, height, RGB(0x7F, 0x7F, 0x7F));
    target->BitBlt(x, y, width, height, &grey, 0, 0, SRCAND);
    target->BitBlt(x, y, width, height, source, 0, 0, SRCPAINT);
    grey.SelectObject(old);
}

void DrawBitmapByMode(CDC* target, const RECT* destination, HBITMAP bitmap, int mode, const RECT* source)
{
    HDC dc = target ? target->GetSafeHdc() : NULL;
    if (!dc || !bitmap || !destination)
        return;
    gfxgdi::BitmapDC memory(dc);
    if (!memory.Select(bitmap))
        return;
    RECT from;
    if (source) {
        from = *source;
    } else {
        BITMAP bm;
        if (GetObject(bitmap, sizeof bm, &bm) == 0)
            return;
        SetRect(&from, 0, 0, bm.bmWidth, bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight);
    }
    const RECT& to = *destination;
    const int srcW = from.right - from.left, srcH = from.bottom - from.top;
    const int dstW = to.right - to.left, dstH = to.bottom - to.top;
    const HDC memoryDC = memory.Get();
    const bool laidOut = tiles::Layout(mode, dstW, dstH, srcW, srcH, [&](const tiles::Piece& p) {
        BitBlt(dc, to.left + p.dstX, to.top + p.dstY, p.width, p.height, memoryDC, from.left + p.srcX,
               from.top + p.srcY, SRCCOPY);
    });
    if (!laidOut)
        StretchBlt(dc, to.left, to.top, dstW, dstH, memoryDC, from.left, from.top, srcW, srcH, SRCCOPY);
}
