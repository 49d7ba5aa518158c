// CScrollTextLabel: a static control that draws its text over a cached
// background, can move the text in one of four directions, show a clock or
// the date, changes look while the mouse is over it and opens its link on
// a click (web addresses only). The movement is ScrollText's.
#pragma once

#include "afxwin.h"

#include "QVBitmap.h"
#include "ScrollText.h"

class CScrollTextLabel : public CStatic
{
public:
    CScrollTextLabel();
    ~CScrollTextLabel() override;

    void SetText(LPCSTR lpszText);
    const CString& GetText() const { return m_strText; }
    void SetLink(LPCSTR lpszLink) { m_strLink = lpszLink != NULL ? lpszLink : ""; }
    const CString& GetLink() const { return m_strLink; }
    void SetTextColor(COLORREF colour);
    void SetHoverColor(COLORREF colour) { m_crHover = colour; }
    void SetBkColor(COLORREF colour);
    void SetTransparent(BOOL bTransparent);
    void SetFont(int nHeight, LPCSTR lpszFace, int nWeight = FW_NORMAL);
    void SetFontHeight(int nHeight);
    void SetRect(int left, int top, int right, int bottom);
    void SetBackBitmap(CQVBitmap* pBitmap, int x, int y);
    void ResetBackground();
    void StartScroll(int nStep, UINT nInterval);
    void StopScroll();
    void SetDirection(int nDirection) { m_nDirection = nDirection >= 0 && nDirection <= 3 ? nDirection : kScrollUp; }
    void SetStartX(int x) { m_nStartX = m_x = x; }
    void SetStartY(int y) { m_nStartY = m_y = y; }
    void CentreHorizontally();
    void CentreVertically();
    void ShowClock(BOOL bClock);
    void SetPauseOnHover(BOOL bPause) { m_bPauseOnHover = bPause; }
    void SetKeepUnderline(BOOL bKeep) { m_bKeepUnderline = bKeep; }

    // For tests: the text's position and the scroll state.
    int PositionX() const { return m_x; }
    int PositionY() const { return m_y; }
    BOOL IsScrolling() const { return m_timer.running; }
    COLORREF CurrentColour() const { return m_crCurrent; }
    // One scroll tick, as timer 1 runs it.
    void ScrollOnce();
    void OnMouseEnterLabel();
    void OnMouseLeaveLabel();
    // The link is opened through this routine (a seam for tests): only web
    // addresses reach it.
    typedef void (*OpenLinkRoutine)(LPCSTR lpszAddress);
    static OpenLinkRoutine SetOpenLinkRoutine(OpenLinkRoutine routine);
    // Opens the link when it is a web address; FALSE otherwise.
    BOOL OpenLink();

protected:
    void PreSubclassWindow() override;
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnPaint();
    void OnTimer(UINT_PTR nIDEvent);
    void OnMouseMove(UINT nFlags, CPoint point);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    void OnLButtonUp(UINT nFlags, CPoint point);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void Measure(CDC* pDC);
    void UseWindowFont(BOOL bUnderline);

    CRect m_background;
    BOOL m_bCached = FALSE;
    CDC m_cacheDC;
    CBitmap m_cacheBitmap;
    CBitmap* m_pOldCacheBitmap = NULL;
    BOOL m_bTransparent = FALSE;
    BOOL m_bStopped = FALSE;
    BOOL m_bPlaced = FALSE;
    BOOL m_bMeasured = FALSE;
    BOOL m_bCentreX = FALSE;
    BOOL m_bCentreY = FALSE;
    BOOL m_bWindowFont = TRUE;
    int m_nDirection = kScrollUp;
    BOOL m_bPositioned = FALSE;
    int m_x = 3, m_y = 3;
    int m_nLineHeight = 0, m_nTextWidth = 0, m_nTextHeight = 0;
    int m_nStartX = 3, m_nStartY = 3;
    ScrollTimer m_timer;
    CString m_strText;
    CString m_strLink;
    CFont m_ownFont;
    CFont m_hoverFont;
    COLORREF m_crBk = RGB(255, 255, 255);
    COLORREF m_crCurrent = RGB(0, 0, 0);
    COLORREF m_crHover = RGB(255, 0, 0);
    COLORREF m_crNormal = RGB(0, 0, 0);
    BOOL m_bKeepUnderline = FALSE;
    BOOL m_bPauseOnHover = TRUE;
    BOOL m_bUseBitmap = FALSE;
    CQVBitmap* m_pBitmap = NULL;
    CPoint m_bitmapOffset;
    BOOL m_bHover = FALSE;
    BOOL m_bClock = FALSE;
};
