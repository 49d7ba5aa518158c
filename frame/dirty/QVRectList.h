// QVRectList.h - the dirty-rectangle list of the scene painter.
//
// The places of the table that changed since the last paint, as bands of
// rows sorted by their top. Bands never share a row; the rectangles of one
// band lie within its rows and never overlap; every rectangle lies inside
// the area rectangle. Rectangles are merged on entry, so a place covered by
// several changes is redrawn once. An empty rectangle in a band stands for
// the whole band (readers such as CImageObj honour it; AddDirtyRect never
// stores one).
//
// When memory runs out a piece is left out (it may go unredrawn); nothing is
// reported.
#pragma once

#include <windows.h>

#include "QVPtrArray.h"

struct DirtyBand
{
    int top;
    int bottom;
    CQVPtrArray<RECT> rects;

    DirtyBand(int t, int b) : top(t), bottom(b), rects(10) {}
};

class CQVRectList : public CQVPtrArray<DirtyBand>
{
public:
    CQVRectList();
    ~CQVRectList() override;

    // Rectangles are clipped to this area; until it is set nothing is cut.
    void SetAreaRect(const RECT& area);
    const RECT& GetAreaRect() const { return m_rcArea; }

    void AddDirtyRect(const RECT& rect);
    // Frees every rectangle and band; the list is empty afterwards.
    void ClearDirty();

    int GetBandCount() const { return GetCount(); }
    const DirtyBand* GetBand(int index) const { return GetAt(index); }

private:
    void BandAdd(DirtyBand* band, const RECT& rect);
    // A band of its own for the rectangle, put at index (the count appends).
    void InsertNewBand(int index, const RECT& rect);
    void MoveRects(DirtyBand* from, DirtyBand* to);
    static void FreeBand(DirtyBand* band);

    RECT m_rcArea;
};
