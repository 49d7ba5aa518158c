// CRoundTipWnd: a small popup with a rounded body and a pointer that plays a
// picture (a chat action or face) next to a seat for a few seconds. The
// table window keeps one per seat.
#pragma once

#include <afxwin.h>

class CAnimatedImage;

class CRoundTipWnd : public CWnd
{
public:
    explicit CRoundTipWnd(CWnd* pOwner);
    ~CRoundTipWnd() override;

    // Creates the popup as the table window does: class style CS_SAVEBITS,
    // title "ImageTip", WS_POPUP, parent = the owner.
    BOOL CreateTip();
    // Shows the picture file next to the point (owner client coordinates):
    // up = the tip stands above the point, left = to its left.
    void Show(const WCHAR* pszPath, const POINT* pPoint, BOOL bUp, BOOL bLeft);
    void Hide();

    void SetDisplayTime(int nMs) { m_nDisplayTime = nMs; }
    const CAnimatedImage* GetPicture() const { return m_pPicture; }
    UINT_PTR GetTimer() const { return m_nTimer; }
    BOOL IsUp() const { return m_bUp; }
    BOOL IsLeft() const { return m_bLeft; }

protected:
    afx_msg void OnPaint();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    enum { kTimerDisplay = 2 };
    void DeletePicture();

    BOOL m_bLeft;
    BOOL m_bUp;
    HBRUSH m_hFrameBrush;
    HBRUSH m_hFillBrush;
    int m_nDisplayTime;
    CAnimatedImage* m_pPicture;
    CWnd* m_pOwner;
    UINT_PTR m_nTimer;
    POINT m_ptPicture;
};
