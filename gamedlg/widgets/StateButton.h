// CStateButton: an owner-drawn button whose look comes from one horizontal
// strip of equally wide frames, a frame (or a run of frames) per state:
// normal, hover, pressed, disabled. Its window takes the shape of the
// picture (magenta is transparent), it can carry a centred caption, animate
// its frames on a timer, or blend its frames through an alpha frame (after
// the colour frames) instead of the colour key.
#pragma once

#include <afxwin.h>

class CStateButton : public CButton
{
public:
    CStateButton();
    ~CStateButton() override;

    // 0 without a window or a strip (the strip stays the caller's). A frame
    // count below 1 clears the strip: nothing is drawn.
    BOOL SetBitmap(HBITMAP hStrip, int nFrameCount, int nRegionFrame, int nTimerMs, LPCSTR lpszCaption, HFONT hFont,
                   COLORREF crCaption, int nAlphaMode);
    BOOL SetStateFrames(int nState, int nFirst, int nRun);
    BOOL SetAllStateFrames(const int nFirst[4], const int nRun[4]);
    BOOL SetText(LPCSTR lpszCaption, HFONT hFont, COLORREF crCaption);
    // Removes the button's shape from the DC's clip region (parent coordinates).
    void ExcludeFromClip(CDC* pDC);
    void SetHover(BOOL bHover);
    void SetCursor(HCURSOR hCursor) { m_hCursor = hCursor; }

    int GetFrameWidth() const { return m_nFrameWidth; }
    int GetFrameHeight() const { return m_nFrameHeight; }
    const char* GetCaption() const { return m_szCaption; }
    BOOL IsHovering() const { return m_bHovering; }
    void GetStateFrames(int nState, int* pFirst, int* pRun) const
    {
        *pFirst = m_nFirst[nState & 3];
        *pRun = m_nRun[nState & 3];
    }

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnDestroy();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    DECLARE_MESSAGE_MAP()

private:
    void AlphaBlendFrame(HDC hDest, int x, int y, int nFrameX);

    int m_nTimer;
    UINT m_nFrameCounter;
    HBITMAP m_hStrip;
    int m_nFrameCount;
    int m_nFirst[4];
    int m_nRun[4];
    int m_nFrameWidth;
    int m_nFrameHeight;
    int m_nAlphaMode;
    HCURSOR m_hCursor;
    CRgn m_clipRgn;
    HRGN m_hRegion;
    BOOL m_bHovering;
    char m_szCaption[32];
    HFONT m_hFont;
    COLORREF m_crCaption;
};
