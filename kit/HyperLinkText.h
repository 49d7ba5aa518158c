// HyperLinkText.h - a static text that lays its window text out itself
// (LinkText.h) and makes web links in it clickable: the hand cursor over a
// link, the shell opens it on a click. Only http://, https:// and www.
// addresses are ever opened (www. with "http://" in front).
#pragma once

#include "LinkText.h"

#include "afxwin.h"

const UINT kHandCursorId = 29710;   // resource type "HANDCURSOR"

class CHyperLinkText : public CStatic
{
    DECLARE_DYNAMIC(CHyperLinkText)
public:
    CHyperLinkText() = default;
    ~CHyperLinkText() override;

    // The routine that opens an address (ShellExecute "open" by default);
    // tests put a recorder in its place. NULL puts back the default.
    typedef void (*OpenRoutine)(LPCSTR lpszAddress);
    static OpenRoutine SetOpenRoutine(OpenRoutine routine);

    void SetTextColor(COLORREF cr) { m_crText = cr; }
    void SetLinkColor(COLORREF cr) { m_crLink = cr; }
    // The window text changed: the links are laid out again on the next paint.
    void TextChanged() { m_bFirstPaint = TRUE; if (m_hWnd) Invalidate(); }
    const kit::LinkLayout& GetLayout() const { return m_layout; }
    BOOL IsHot() const { return m_bHot; }
    // Lays the text out for a DC (also done by painting).
    void Layout(CDC* pDC);
    // Draws onto a DC (the paint handler's work).
    void DrawText(CDC* pDC);

protected:
    afx_msg void OnPaint();
    afx_msg UINT OnNcHitTest(CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void LoadHandCursor();
    void LeaveHot();

    COLORREF m_crText = RGB(0, 0, 0);
    COLORREF m_crLink = RGB(0, 0, 255);   // 0xFF0000
    BOOL m_bFirstPaint = TRUE;
    kit::LinkLayout m_layout;
    CString m_strLaidOut;
    HCURSOR m_hHand = NULL;
    HCURSOR m_hPrevious = NULL;
    BOOL m_bHot = FALSE;
    int m_nHotLink = -1;
};
