// WaitDlg.h - a small modeless skinned dialog (section "Wait") with an icon,
// a text and a cancel button, shown while the client waits for something.
// Layout: inner width = text width + 56 (at least 200); inner height 48, the
// text height + 48 when topmost, or the button height + 56 + the text height
// with the button; the caption shows with the button, when topmost or when
// asked for.
#pragma once

#include "CoolButton.h"
#include "HyperLinkText.h"
#include "SkinDlg.h"

#include "kit_ids.h"

class CWaitDlg : public CSkinDlg
{
    DECLARE_DYNAMIC(CWaitDlg)
public:
    // With a parent the dialog is created and shown at once with the text.
    CWaitDlg(CWnd* pParent, LPCSTR lpszText, BOOL bShowButton, CWnd* pOwner = NULL, LPCSTR lpszSection = NULL);
    CWaitDlg(CWnd* pParent, UINT nStringId, BOOL bShowButton, CWnd* pOwner = NULL, LPCSTR lpszSection = NULL);
    ~CWaitDlg() override;

    BOOL Layout(LPCSTR lpszText, BOOL bShowButton, BOOL bCaption = FALSE);
    BOOL CreateWithStringId(UINT nStringId, BOOL bShowButton, BOOL bCaption = FALSE);
    void SetTopMost();
    void SetCancelled() { m_bCancelled = TRUE; }
    BOOL IsCancelled() const { return m_bCancelled; }
    BOOL IsCreated() const { return m_bCreated; }
    BOOL IsTopMost() const { return m_bTopMost; }
    CSize GetInnerSize() const { return m_innerSize; }
    CSize GetTextSize() const { return m_textSize; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnDrawExtra(CDC* pDC) override;

private:
    void Init(CWnd* pParent, CWnd* pOwner, LPCSTR lpszSection);

    CString m_strText;
    CHyperLinkText m_text;
    CCoolButton m_cancel;
    BOOL m_bShowButton = FALSE;
    BOOL m_bCancelled = FALSE;
    BOOL m_bCreated = FALSE;
    HICON m_hIcon = NULL;
    CWnd* m_pParent = nullptr;
    CSize m_innerSize;
    CSize m_textSize;
    BOOL m_bTopMost = FALSE;
};
