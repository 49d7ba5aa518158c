// CSkinListCtrl: a dialog's report list dressed in the table's dark green
// skin: a header painted from pictures (CSkinHeaderCtrl), rows drawn by the
// owner, and two skinned scroll bars beside the list (CSkinVScrollBar under
// and right of it, CSkinHScrollBar) that drive it with ordinary scroll
// messages while the list's own bars are flat and disabled.
//
// The owner subclasses its dialog's list-view control with the list (its
// header is subclassed on the way) and then calls SetupScrollBars. The
// pictures are bitmap resources 8020-8032 of the resource library, found
// through the framework's resource search; the bars' arithmetic is in
// ScrollBarGeometry.h.
#pragma once

#include "afxcmn.h"
#include "afxwin.h"

#include "ScrollBarGeometry.h"

class CSkinHeaderCtrl : public CHeaderCtrl
{
public:
    CSkinHeaderCtrl();
    ~CSkinHeaderCtrl() override;

    // Paints the header into a DC of its client size (the paint handler's work).
    void Draw(CDC* pDC, const CRect& rcClient);
    int GetPaintedCount() const { return m_nItemCount; }

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    int m_nItemCount = 0;
    HBITMAP m_hFace;
    HBITMAP m_hStrip;
    HBITMAP m_hDivider;
};

// What the two bars share: the list they serve, the press state, the mouse
// tracking and the strips' drawing.
class CSkinScrollBarBase : public CStatic
{
public:
    explicit CSkinScrollBarBase(reportlist::Orientation orientation);

    void SetList(CListCtrl* pList) { m_pList = pList; }
    CListCtrl* GetList() const { return m_pList; }
    // Repaints the bar; the thumb follows the list unless it is dragged.
    void Refresh();
    int GetThumbStart() const { return m_nThumbStart; }
    const reportlist::BarPress& GetPress() const { return m_press; }
    BOOL CanScroll() const;
    reportlist::BarGeometry Geometry() const;
    // Paints the bar into a DC of its client size (the paint handler's work).
    virtual void Draw(CDC* pDC) = 0;

protected:
    int Along(CPoint point) const { return m_geometry.orientation == reportlist::kVertical ? point.y : point.x; }
    int ScrollLimit() const;
    int ScrollPosition() const;
    void SendScroll(int nCode);
    // Moves the thumb with a drag and scrolls the list to match.
    void DragTo(int nPointer);
    void TrackLeave();
    void DrawFrame(CDC* pDC, HBITMAP hStrip, int nFrame, int nFrameWidth, const CRect& rcTarget);
    void Stretch(CDC* pDC, HBITMAP hBitmap, const CRect& rcTarget);

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    // Hover and drag follow the pointer; a release ends the press and scrolls as it says.
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    DECLARE_MESSAGE_MAP()

    CListCtrl* m_pList = NULL;
    reportlist::BarGeometry m_geometry;
    reportlist::BarPress m_press;
    bool m_bDragStarted = false;
    bool m_bTrackPressed = false;
    bool m_bTracking = false;
    int m_nHover = -1;   // the zone under the mouse, -1 outside
    int m_nThumbStart;
};

class CSkinVScrollBar : public CSkinScrollBarBase
{
public:
    CSkinVScrollBar();
    ~CSkinVScrollBar() override;
    void Draw(CDC* pDC) override;

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    HBITMAP m_hCap;
    HBITMAP m_hUp;
    HBITMAP m_hTrack;
    HBITMAP m_hDown;
    HBITMAP m_hSpare;
    HBITMAP m_hThumb;
};

class CSkinHScrollBar : public CSkinScrollBarBase
{
public:
    // Timer 2 waits before the arrow repeats; timer 1 repeats it.
    static const UINT_PTR kRepeatTimer = 1;
    static const UINT_PTR kDelayTimer = 2;
    static const UINT kRepeatMs = 50;
    static const UINT kDelayMs = 250;

    CSkinHScrollBar();
    ~CSkinHScrollBar() override;
    void Draw(CDC* pDC) override;

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()

private:
    HBITMAP m_hLeft;
    HBITMAP m_hRight;
    HBITMAP m_hTrack;
    HBITMAP m_hThumb;
};

class CSkinListCtrl : public CListCtrl
{
    DECLARE_DYNAMIC(CSkinListCtrl)
public:
    // Colours of the skin.
    static const COLORREF kBackground = RGB(35, 52, 10);
    static const COLORREF kColumnFill = RGB(50, 74, 16);
    static const COLORREF kRowText = RGB(140, 175, 83);
    static const COLORREF kHeaderText = RGB(140, 137, 28);
    static const COLORREF kSelectedText = RGB(255, 0, 0);
    static const COLORREF kSelectedBack = RGB(0, 0, 0);
    static const int kFilledColumn = 5;

    CSkinListCtrl() = default;
    ~CSkinListCtrl() override = default;

    // Makes the two bars beside the list as children of its parent; the
    // flag marks a list whose rows carry check boxes.
    void SetupScrollBars(BOOL bCheckBoxes);

    CSkinHeaderCtrl& Header() { return m_header; }
    CSkinVScrollBar& VBar() { return m_vbar; }
    CSkinHScrollBar& HBar() { return m_hbar; }
    void RefreshBars();

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    void PreSubclassWindow() override;
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    CSkinHeaderCtrl m_header;
    CSkinVScrollBar m_vbar;
    CSkinHScrollBar m_hbar;
    BOOL m_bCheckBoxes = FALSE;
    CFont m_font;
};
