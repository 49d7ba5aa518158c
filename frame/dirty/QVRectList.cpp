// QVRectList.cpp - merging dirty rectangles into disjoint bands.
#include "QVRectList.h"

#include <new>

namespace {

bool IsEmpty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

// The common part of a and b; false when they share no pixel.
bool Intersect(RECT& out, const RECT& a, const RECT& b)
{
    out.left = a.left > b.left ? a.left : b.left;
    out.top = a.top > b.top ? a.top : b.top;
    out.right = a.right < b.right ? a.right : b.right;
    out.bottom = a.bottom < b.bottom ? a.bottom : b.bottom;
    return !IsEmpty(out);
}

bool Equal(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// r without the rows top..bottom, when those rows lie at one end of r
// (as SubtractRect does with a rectangle spanning r's whole width);
// otherwise r unchanged. Empty when the rows cover r.
RECT WithoutRows(const RECT& r, LONG top, LONG bottom)
{
    RECT out = r;
    if (top <= r.top && bottom >= r.bottom) {
        out.bottom = out.top;
    } else if (top <= r.top && bottom > r.top) {
        out.top = bottom;
    } else if (bottom >= r.bottom && top < r.bottom) {
        out.bottom = top;
    }
    return out;
}

RECT* NewRect(const RECT& r) { return new (std::nothrow) RECT(r); }

}  // namespace

CQVRectList::CQVRectList() : CQVPtrArray<DirtyBand>(10)
{
    // No area yet: wide enough for any frame, far from overflow.
    m_rcArea.left = m_rcArea.top = -0x40000000;
    m_rcArea.right = m_rcArea.bottom = 0x40000000;
}

CQVRectList::~CQVRectList() { ClearDirty(); }

void CQVRectList::SetAreaRect(const RECT& area) { m_rcArea = area; }

void CQVRectList::FreeBand(DirtyBand* band)
{
    if (!band)
        return;
    for (int i = 0; i < band->rects.GetCount(); i++)
        delete band->rects.GetAt(i);
    delete band;
}

void CQVRectList::ClearDirty()
{
    for (int i = 0; i < m_nCount; i++)
        FreeBand(m_pData[i]);
    RemoveAll();
}

void CQVRectList::MoveRects(DirtyBand* from, DirtyBand* to)
{
    for (int i = 0; i < from->rects.GetCount(); i++) {
        RECT* r = from->rects.GetAt(i);
        if (!to->rects.Add(r))
            delete r;
    }
    from->rects.RemoveAll();
}

void CQVRectList::AddDirtyRect(const RECT& rect)
{
    RECT n;
    if (!Intersect(n, rect, m_rcArea))
        return;

    DirtyBand* chosen = NULL;
    int i = 0;
    while (i < m_nCount) {
        DirtyBand* band = m_pData[i];
        if (n.top > band->bottom) {
            i++;
            continue;
        }
        if (n.bottom < band->top) {
            // n lies above this band, in the gap before it.
            if (chosen) {
                if (chosen->bottom < n.bottom)
                    chosen->bottom = n.bottom;
                BandAdd(chosen, n);
                return;
            }
            InsertNewBand(i, n);
            return;
        }
        if (n.bottom <= band->bottom) {
            // n ends within this band.
            if (!chosen) {
                if (n.top < band->top)
                    band->top = n.top;
                BandAdd(band, n);
                return;
            }
            chosen->bottom = band->bottom;
            MoveRects(band, chosen);
            RemoveAt(i);
            FreeBand(band);
            BandAdd(chosen, n);
            return;
        }
        // n reaches below this band.
        if (!chosen) {
            chosen = band;
            if (n.top < band->top)
                band->top = n.top;
            i++;
        } else {
            chosen->bottom = band->bottom;
            MoveRects(band, chosen);
            RemoveAt(i);
            FreeBand(band);
        }
    }

    if (chosen) {
        chosen->bottom = n.bottom;
        BandAdd(chosen, n);
        return;
    }
    InsertNewBand(m_nCount, n);
}

void CQVRectList::InsertNewBand(int index, const RECT& n)
{
    DirtyBand* fresh = new (std::nothrow) DirtyBand(n.top, n.bottom);
    if (!fresh)
        return;
    RECT* copy = NewRect(n);
    if (!copy || !fresh->rects.Add(copy) || !InsertAt(index, fresh)) {
        delete copy;
        delete fresh;
    }
}

void CQVRectList::BandAdd(DirtyBand* band, const RECT& n)
{
    CQVPtrArray<RECT>& rects = band->rects;

    // 1-3: the first rectangle that shares pixels with n decides.
    bool again = true;
    while (again) {
        again = false;
        for (int j = 0; j < rects.GetCount(); j++) {
            RECT* r = rects.GetAt(j);
            RECT in;
            if (!Intersect(in, *r, n))
                continue;
            if (Equal(in, n))
                return;  // already covered
            if (Equal(in, *r)) {
                rects.RemoveAt(j);  // n covers r: r goes, n starts over
                delete r;
                again = true;
                break;
            }

            // Partial overlap: U spans both over the rows they share.
            RECT u = in;
            u.left = r->left < n.left ? r->left : n.left;
            u.right = r->right > n.right ? r->right : n.right;
            RECT pending[3];
            int count = 0;
            if (r->top < n.top && n.bottom < r->bottom) {
                // n's rows lie inside r's: r splits around U.
                RECT below = *r;
                below.top = u.bottom;
                r->bottom = u.top;
                RECT* piece = NewRect(below);
                if (piece && !rects.InsertAt(j + 1, piece))
                    delete piece;
                pending[count++] = u;
            } else if (n.top < r->top && r->bottom < n.bottom) {
                // r's rows lie inside n's: n splits around U.
                rects.RemoveAt(j);
                delete r;
                RECT above = n, below = n;
                above.bottom = u.top;
                below.top = u.bottom;
                pending[count++] = above;
                pending[count++] = u;
                pending[count++] = below;
            } else {
                // The rows overlap at one end: both give U's rows away.
                RECT restN = WithoutRows(n, u.top, u.bottom);
                RECT restR = WithoutRows(*r, u.top, u.bottom);
                if (IsEmpty(restR)) {
                    rects.RemoveAt(j);
                    delete r;
                } else {
                    *r = restR;
                }
                if (!IsEmpty(restN))
                    pending[count++] = restN;
                pending[count++] = u;
            }
            for (int k = 0; k < count; k++)
                BandAdd(band, pending[k]);
            return;
        }
    }

    // 4: nothing overlaps n. An equal-width neighbour directly above or
    // below fuses with it.
    for (int j = 0; j < rects.GetCount(); j++) {
        RECT* r = rects.GetAt(j);
        if (r->left != n.left || r->right != n.right)
            continue;
        if (r->top != n.bottom && r->bottom != n.top)
            continue;
        RECT merged = *r;
        if (n.top < merged.top)
            merged.top = n.top;
        if (n.bottom > merged.bottom)
            merged.bottom = n.bottom;
        rects.RemoveAt(j);
        delete r;
        BandAdd(band, merged);
        return;
    }
    RECT* copy = NewRect(n);
    if (copy && !rects.Add(copy))
        delete copy;
}
