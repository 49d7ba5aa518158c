// CHyperLinkLabel: a static text window that lays its window text out
// itself, wrapping at its width, draws web links (anchors and bare "www." and
// "http://" links) in the link colour with an underline, keeps each placed
// link's rectangle, shows a hand cursor over a link (holding the mouse
// capture only while over one) and opens the link's web address on a click.
// Only http and https addresses are opened.
#pragma once

#include <afxwin.h>

#include <vector>

#include "LinkText.h"

class CHyperLinkLabel : public CStatic
{
public:
    // addressCapacity: the link record's address field (the label's 512; 256 for the kit's text).
    explicit CHyperLinkLabel(size_t nAddressCapacity = widgets::kLabelAddressCapacity);
    ~CHyperLinkLabel() override;

    void SetTextColour(COLORREF cr) { m_crText = cr; }
    void SetLinkColour(COLORREF cr) { m_crLink = cr; }
    // Before new text: the next paint rebuilds the link records.
    void ResetLinks()
    {
        m_bRelayout = TRUE;
        m_links.clear();
    }
    const std::vector<widgets::LinkRect>& GetLinks() const { return m_links; }
    BOOL IsOverLink() const { return m_bOverLink; }

    // Who opens an address (ShellExecute "open" by default); tests put a
    // recorder in its place. NULL puts back the default.
    typedef BOOL (*OpenAddressRoutine)(const char* pszAddress);
    static OpenAddressRoutine SetOpenAddressRoutine(OpenAddressRoutine pfn);

protected:
    afx_msg void OnPaint();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void LoadHandCursor();
    void LeaveLink();

    COLORREF m_crText;
    COLORREF m_crLink;
    BOOL m_bRelayout;
    size_t m_nAddressCapacity;
    std::vector<widgets::LinkRect> m_links;
    HCURSOR m_hHandCursor;
    HCURSOR m_hSavedCursor;
    BOOL m_bOverLink;
    int m_nCurrentLink;
};
