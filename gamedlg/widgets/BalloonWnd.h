// CBalloonWnd: the speech balloon the table window shows next to a seat. A
// rounded, semi-transparent body with a tail pointing at a target, the text
// inside and an optional link line (a CHyperLinkLabel) at the bottom. The
// body's corner mode puts one of its corners on the anchor, the tail takes
// one of twelve placements from where the target lies, the window is shaped
// by a region and drawn at a set opacity as a layered window, hides after a
// delay and stays up while the mouse rests on it.
#pragma once

#include <afxwin.h>

#include <cstdint>

#include "BalloonText.h"
#include "HyperLinkLabel.h"

// The style block, replaceable whole with SetStyle.
struct BALLOONSTYLE {
    int32_t nHideDelay;      // ms; <= 0 never
    int32_t nFrameWidth;
    uint32_t crFrame;
    uint32_t crText;
    uint32_t crFill;
    int32_t nWidth;          // maximum content width
    int32_t nHeight;         // maximum content height, -1 none
    int32_t nMinWidth;
    int32_t nMinHeight;
    int32_t nTailBase;
    int32_t nTailOffset;
    int32_t nMarginX;
    int32_t nMarginY;
    int32_t nCornerWidth;
    int32_t nCornerHeight;
    int32_t nShadowDy;
    int32_t nShadowDx;
    int32_t nShadowPercent;
    int32_t nLineSpacing;
};
static_assert(sizeof(BALLOONSTYLE) == 19 * 4, "the style block is 19 words");

class CBalloonWnd : public CWnd
{
public:
    CBalloonWnd();
    ~CBalloonWnd() override;

    // Creates the (hidden) popup owned by the parent, its fonts and link label.
    BOOL Create(CWnd* pParent);
    // Shows the text with the corner on the anchor and the tail at the target
    // (parent client coordinates).
    void Popup(const CString& strText, int nAnchorX, int nAnchorY, int nTargetX, int nTargetY, int nCorner);
    void Hide();
    void Reposition(int nCorner, int nAnchorX, int nAnchorY, int nTargetX, int nTargetY);

    void SetHideDelay(int nMs) { m_style.nHideDelay = nMs; }
    void SetFrame(COLORREF cr, int nWidth)
    {
        m_style.crFrame = cr;
        m_style.nFrameWidth = nWidth;
    }
    void SetTextColor(COLORREF cr) { m_style.crText = cr; }
    void SetFillColor(COLORREF cr) { m_style.crFill = cr; }
    BOOL SetAlphaPercent(UINT nPercent);
    BOOL SelectFont(int nIndex);
    void SetMinSize(int cx, int cy);
    BOOL SetSize(int cx, int cy);
    void SetMargins(int x, int y);
    void SetCorner(int cx, int cy);
    void SetShadow(int dx, int dy, int nPercent);
    void SetTailValues(int nBase, int nOffset);
    void UpdateTailValues(int nBase, int nOffset);
    void SetStyle(const BALLOONSTYLE& style) { m_style = style; }
    const BALLOONSTYLE& GetStyle() const { return m_style; }
    void SetLinkText(const CString& strText) { m_strLinkText = strText; }

    BOOL IsShown() const { return m_bShown; }
    UINT GetAlphaPercent() const { return m_nAlphaPercent; }
    const CString& GetText() const { return m_strText; }
    const RECT& GetTextRect() const { return m_rcText; }
    int GetTailPlacement() const { return m_nTailPlacement; }
    BOOL IsSingleLine() const { return m_bSingleLine; }
    SIZE GetContentSize() const { return SIZE{m_nContentWidth, m_nContentHeight}; }
    CHyperLinkLabel& GetLinkLabel() { return m_linkLabel; }
    HFONT GetCurrentFont() const { return m_hCurrentFont; }

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    afx_msg void OnPaint();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg LRESULT OnMouseHoverMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMouseLeaveMsg(WPARAM wParam, LPARAM lParam);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    enum { kTimerHide = 1, kTimerRetry = 2 };
    void ApplyAlpha();
    void Layout(HDC hDC);
    void BuildRegion();
    widgets::BalloonMetrics Metrics() const;

    BOOL m_bShown;
    UINT m_nAlphaPercent;
    HFONT m_hCurrentFont;
    HFONT m_hFont0;
    HFONT m_hFont1;
    HRGN m_hBodyRgn;
    HRGN m_hShadowRgn;
    CWnd* m_pParent;
    BOOL m_bSingleLine;
    CString m_strText;
    BALLOONSTYLE m_style;
    POINT m_ptBodyOrigin;
    POINT m_ptAnchor;
    POINT m_ptTarget;
    POINT m_ptWindowPos;
    POINT m_ptWindowOrigin;
    int m_nCorner;
    int m_nContentWidth;
    int m_nContentHeight;
    int m_nTailPlacement;
    int m_nCharWidth;
    int m_nLineHeight;
    RECT m_rcText;
    CString m_strLinkText;
    CHyperLinkLabel m_linkLabel;
};
