// TextBalloonWnd.h - short texts shown as rounded, half-transparent balloons
// that rise over a parent window and fade out, one after another. The window
// is a child of the parent it decorates; the parent forwards its painting
// (Paint). Texts wait in a ring of ten; up to ten balloons are in flight.
// Timer 13528 (every 100 ms) drives everything and stops when all are done.
#pragma once

#include "BalloonModel.h"

#include "afxwin.h"

const UINT_PTR kBalloonTimerId = 13528;

class CTextBalloon : public CObject
{
public:
    CTextBalloon() = default;
    ~CTextBalloon() override;
    CTextBalloon(const CTextBalloon&) = delete;
    CTextBalloon& operator=(const CTextBalloon&) = delete;

    // FALSE for an empty text, a missing parent or one that is no longer a
    // window. 0 for a placement value or the display time: the default.
    BOOL Start(LPCSTR lpszText, CWnd* pParent, int nStartPct, int nEndPct, int nCentreX, int nDisplayMs,
               CFont* pFont, COLORREF crText, COLORREF crBox);
    // One tick: FALSE once the balloon is finished.
    BOOL Tick();
    void Draw(CDC* pDC);

    BOOL IsFinished() const { return m_bFinished; }
    int GetStep() const { return m_nStep; }
    const kit::BalloonTiming& GetTiming() const { return m_timing; }
    CRect GetRect() const { return m_rcCurrent; }
    CRect GetStartRect() const { return m_rcStart; }
    int GetRisen() const { return m_rcStart.top - m_rcCurrent.top; }
    int GetAlpha() const { return kit::BalloonAlpha(m_nStep, m_timing); }

private:
    void Release();

    BOOL m_bFinished = TRUE;
    CString m_strText;
    CRect m_rcCurrent, m_rcPrevious, m_rcStart;
    CWnd* m_pParent = nullptr;
    kit::BalloonTiming m_timing;
    int m_nStep = 0;
    CFont m_font;
    HDC m_hMemDC = NULL;
    HBITMAP m_hBitmap = NULL;
    HGDIOBJ m_hOldBitmap = NULL;
    COLORREF m_crText = RGB(255, 255, 0);
    COLORREF m_crBox = RGB(0, 0, 0);
    HPEN m_hPen = NULL;
    HBRUSH m_hBrush = NULL;
};

class CTextBalloonWnd : public CStatic
{
    DECLARE_DYNAMIC(CTextBalloonWnd)
public:
    CTextBalloonWnd() = default;
    ~CTextBalloonWnd() override = default;

    BOOL AddText(LPCSTR lpszText);
    // A missing or empty string is refused.
    BOOL AddTextId(UINT nStringId);
    BOOL Enqueue(LPCSTR lpszText);
    void SetPlacement(int nStartPct, int nEndPct, int nCentreX);
    void SetDisplayTime(int nMs) { m_nDisplayMs = nMs; }
    void SetTextColor(COLORREF cr) { m_crText = cr; }
    void SetBoxColor(COLORREF cr) { m_crBox = cr; }
    void SetFont(CFont* pFont);
    // Draws every balloon in flight onto the parent's DC.
    void Paint(CDC* pDC);
    BOOL IsBusy() const;
    BOOL IsTimerRunning() const { return m_bTimer; }
    const CTextBalloon& GetBalloon(int nIndex) const { return m_items[nIndex % kit::kBalloonSlots]; }
    int GetNextIndex() const { return m_nNext; }

protected:
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void ShowNext();
    void EnsureFont();
    void StartTimer();
    void StopTimer();

    CTextBalloon m_items[kit::kBalloonSlots];
    int m_nNext = 0;
    int m_nNewest = -1;
    kit::BalloonTextRing m_ring;
    int m_nStartPct = 0, m_nEndPct = 0, m_nCentreX = 0;
    int m_nDisplayMs = 0;
    COLORREF m_crText = 0xFFFFFFFF;
    COLORREF m_crBox = 0xFFFFFFFF;
    CFont m_font;
    BOOL m_bTimer = FALSE;
};
