// ODSkinFrame.cpp - border strips, edge and corner images, frame regions.
#include "ODSkinFrame.h"

CODSkinFrame::CODSkinFrame() : m_bFlag(TRUE)
{
    m_colours[0] = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    m_colours[1] = ::GetSysColor(COLOR_BTNFACE);
    m_colours[2] = ::GetSysColor(COLOR_BTNSHADOW);
    m_colours[3] = ::GetSysColor(COLOR_3DDKSHADOW);
    for (int& w : m_widths)
        w = 2;
}

CODSkinFrame::~CODSkinFrame() {}

COLORREF CODSkinFrame::SetColor(COLORREF colour, int index)
{
    if (index < 0 || index > 3)
        return static_cast<COLORREF>(-1);
    const COLORREF old = m_colours[index];
    m_colours[index] = colour;
    return old;
}

COLORREF CODSkinFrame::GetColor(int index) const
{
    return index >= 0 && index <= 3 ? m_colours[index] : static_cast<COLORREF>(-1);
}

void CODSkinFrame::SetBorderWidths(int* oldWidths, const int* newWidths)
{
    for (int i = 0; i < 4; ++i) {
        if (oldWidths)
            oldWidths[i] = m_widths[i];
        if (newWidths)
            m_widths[i] = newWidths[i];
    }
}

void CODSkinFrame::GetBorderWidths(int* widths) const
{
    for (int i = 0; widths && i < 4; ++i)
        widths[i] = m_widths[i];
}

BOOL CODSkinFrame::SetFlag(BOOL flag)
{
    const BOOL old = m_bFlag;
    m_bFlag = flag;
    return old;
}

BOOL CODSkinFrame::Draw(CDC* pDC, const RECT& rect, int /*state*/)
{
    if (!pDC->GetSafeHdc() || (m_widths[0] == 0 && m_widths[1] == 0 && m_widths[2] == 0 && m_widths[3] == 0))
        return FALSE;
    const int L = rect.left, T = rect.top, R = rect.right, B = rect.bottom;
    const COLORREF c = m_colours[0];
    pDC->FillSolidRect(CRect(L, T, L + m_widths[0], B), c);
    pDC->FillSolidRect(CRect(R - m_widths[2], T, R, B), c);
    pDC->FillSolidRect(CRect(L, T, R, T + m_widths[1]), c);
    pDC->FillSolidRect(CRect(L, B - m_widths[3], R, B), c);

    CSize cell[ImageCount];
    for (int i = 0; i < ImageCount; ++i)
        cell[i] = m_images[i].GetCellSize();
    for (int i = EdgeLeft; i <= EdgeBottom; ++i)
        m_images[i].SetDrawMode(CODSkinImage::DrawTile);
    m_images[EdgeLeft].Draw(pDC, CRect(L, T, L + cell[EdgeLeft].cx, B), 0);
    m_images[EdgeRight].Draw(pDC, CRect(R - cell[EdgeRight].cx, T, R, B), 0);
    m_images[EdgeTop].Draw(pDC, CRect(L, T, R, T + cell[EdgeTop].cy), 0);
    m_images[EdgeBottom].Draw(pDC, CRect(L, B - cell[EdgeBottom].cy, R, B), 0);
    m_images[CornerTopLeft].Draw(pDC, CRect(L, T, L + cell[CornerTopLeft].cx, T + cell[CornerTopLeft].cy), 0);
    m_images[CornerTopRight].Draw(pDC, CRect(R - cell[CornerTopRight].cx, T, R, T + cell[CornerTopRight].cy), 0);
    m_images[CornerBottomLeft].Draw(pDC, CRect(L, B - cell[CornerBottomLeft].cy, L + cell[CornerBottomLeft].cx, B), 0);
    m_images[CornerBottomRight].Draw(
        pDC, CRect(R - cell[CornerBottomRight].cx, B - cell[CornerBottomRight].cy, R, B), 0);
    return TRUE;
}

void CODSkinFrame::PartRects(int w, int h, CRect parts[ImageCount]) const
{
    CSize c[ImageCount];
    for (int i = 0; i < ImageCount; ++i)
        c[i] = m_images[i].GetCellSize();
    parts[CornerTopLeft].SetRect(0, 0, c[4].cx, c[4].cy);
    parts[CornerTopRight].SetRect(w - c[5].cx, 0, w, c[5].cy);
    parts[CornerBottomLeft].SetRect(0, h - c[6].cy, c[6].cx, h);
    parts[CornerBottomRight].SetRect(w - c[7].cx, h - c[7].cy, w, h);
    parts[EdgeLeft].SetRect(0, c[4].cy, c[0].cx, h - c[6].cy);
    parts[EdgeRight].SetRect(w - c[1].cx, c[5].cy, w, h - c[7].cy);
    parts[EdgeTop].SetRect(c[4].cx, 0, w - c[5].cx, c[2].cy);
    parts[EdgeBottom].SetRect(c[6].cx, h - c[3].cy, w - c[7].cx, h);
    // A window too small for its images: parts that would turn inside out
    // are empty (a region would otherwise swap their sides).
    for (int i = 0; i < ImageCount; ++i) {
        if (parts[i].right < parts[i].left)
            parts[i].right = parts[i].left;
        if (parts[i].bottom < parts[i].top)
            parts[i].bottom = parts[i].top;
    }
}

HRGN CODSkinFrame::JoinRegions(const RECT& rect, bool clip)
{
    // The parts are laid out at (0, 0) and the joined region moved to the
    // rectangle's top-left.
    CRect parts[ImageCount];
    PartRects(rect.right - rect.left, rect.bottom - rect.top, parts);
    static const int kOrder[ImageCount] = {CornerTopLeft, CornerTopRight, CornerBottomLeft, CornerBottomRight,
                                           EdgeLeft,      EdgeRight,      EdgeTop,          EdgeBottom};
    HRGN joined = NULL;
    for (int i : kOrder) {
        HRGN part = clip ? m_images[i].GetRegionInRect(parts[i], 0) : m_images[i].GetRegion(parts[i], 0);
        if (!part)
            continue;
        if (!joined) {
            joined = part;
        } else {
            CombineRgn(joined, joined, part, RGN_OR);
            DeleteObject(part);
        }
    }
    if (joined)
        OffsetRgn(joined, rect.left, rect.top);
    return joined;
}

HRGN CODSkinFrame::GetClipRegion(const RECT& rect) { return JoinRegions(rect, true); }

HRGN CODSkinFrame::GetWindowRegion(const RECT& rect)
{
    HRGN region = JoinRegions(rect, false);
    return region ? region : CreateRectRgn(0, 0, 0, 0);
}
