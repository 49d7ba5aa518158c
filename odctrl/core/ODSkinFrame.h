// ODSkinFrame.h - CODSkinFrame, the border of the library's framed windows:
// a second base class (beside the window class) of the menu window, the
// dialogs, the static, the progress bar and the edit control. Four border
// widths, four colours (colour 0 fills the border strips; 1 to 3 are kept for
// the deriving classes) and eight skin images: four edges, always tiled
// along their edge, and four corners, drawn in their own draw mode. The
// deriving class fills the images and colours from its theme section and
// calls Draw from its painting; regions give its window shape.
#pragma once

#include "afxwin.h"

#include "ODSkinImage.h"

class CODSkinFrame
{
public:
    // Image indexes.
    enum
    {
        EdgeLeft = 0,
        EdgeRight = 1,
        EdgeTop = 2,
        EdgeBottom = 3,
        CornerTopLeft = 4,
        CornerTopRight = 5,
        CornerBottomLeft = 6,
        CornerBottomRight = 7,
        ImageCount = 8,
    };

    CODSkinFrame();
    virtual ~CODSkinFrame();

    // Colour index 0..3; -1 (and nothing changed) for another index.
    COLORREF SetColor(COLORREF colour, int index);
    COLORREF GetColor(int index) const;
    // Widths left, top, right, bottom: the new ones from newWidths, the old
    // ones into oldWidths (which may be NULL).
    void SetBorderWidths(int* oldWidths, const int* newWidths);
    void GetBorderWidths(int* widths) const;
    BOOL SetFlag(BOOL flag);
    BOOL GetFlag() const { return m_bFlag; }

    CODSkinImage& GetImage(int index) { return m_images[index & 7]; }
    const CODSkinImage& GetImage(int index) const { return m_images[index & 7]; }

    // Paints the border inside the rectangle: the four strips in colour 0,
    // then the edges tiled and the corners. FALSE (nothing drawn) when all
    // four widths are 0. The state is not used.
    virtual BOOL Draw(CDC* pDC, const RECT& rect, int state = 0);

    // The region the transparent edge and corner images cut out of the
    // border ring around the rectangle; NULL when no image gives one. The
    // caller deletes it.
    HRGN GetClipRegion(const RECT& rect);
    HRGN GetRegion(const RECT& rect) { return GetClipRegion(rect); }
    // The same with plain rectangles for images that are not transparent.
    HRGN GetWindowRegion(const RECT& rect);

protected:
    // The eight parts' rectangles for a rectangle at (0, 0) of size w x h.
    void PartRects(int w, int h, CRect parts[ImageCount]) const;
    HRGN JoinRegions(const RECT& rect, bool clip);

    COLORREF m_colours[4];
    BOOL m_bFlag;
    int m_widths[4];
    CODSkinImage m_images[ImageCount];
};
