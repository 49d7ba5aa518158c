// NoticeDlg.h - a modeless notice (template 29800, caption "提示信息") that
// tells the player something without stopping play: an icon, a text the
// dialog sizes itself to, and an optional cancel button. The arithmetic is
// kit::LayoutNotice (NoticeLayout.h).
#pragma once

#include "NoticeLayout.h"

#include "afxwin.h"

class CQVNoticeDlg : public CDialog
{
    DECLARE_DYNAMIC(CQVNoticeDlg)
public:
    // A non-empty text (or string id) shows the dialog at once, centred on
    // pCentreOn (the screen when NULL).
    CQVNoticeDlg(LPCSTR lpszText = NULL, BOOL bShowButton = FALSE, CWnd* pCentreOn = NULL);
    CQVNoticeDlg(UINT nStringId, BOOL bShowButton, CWnd* pCentreOn = NULL);
    ~CQVNoticeDlg() override;

    // Creates the dialog when needed, lays it out for the text and shows it.
    // FALSE when the dialog cannot be created.
    BOOL ShowText(LPCSTR lpszText, BOOL bShowButton);
    BOOL ShowTextId(UINT nStringId, BOOL bShowButton);
    // Keeps the dialog above other windows (no move, no size).
    void SetTopMost();
    void SetCancelled() { m_bCancelled = TRUE; }
    BOOL IsCancelled() const { return m_bCancelled; }
    BOOL IsCreated() const { return m_bCreated; }
    BOOL IsTopMost() const { return m_bTopMost; }
    const CString& GetText() const { return m_strText; }
    const kit::NoticeMetrics& GetMetrics() const { return m_metrics; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // The cancel button (and Escape): cancelled, hidden. Enter does nothing.
    void OnCancel() override;
    void OnOK() override {}

private:
    CString m_strText;
    BOOL m_bShowButton = FALSE;
    BOOL m_bCancelled = FALSE;
    BOOL m_bCreated = FALSE;
    CWnd* m_pCentreOn = nullptr;
    CFont* m_pFont = nullptr;            // the dialog's font (the template's)
    kit::NoticeMetrics m_metrics;
    BOOL m_bTopMost = FALSE;
};
