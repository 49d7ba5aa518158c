#include "NoticeDlg.h"

#include "kit_ids.h"

IMPLEMENT_DYNAMIC(CQVNoticeDlg, CDialog)

CQVNoticeDlg::CQVNoticeDlg(LPCSTR lpszText, BOOL bShowButton, CWnd* pCentreOn)
    : CDialog(IDD_KIT_NOTICE, pCentreOn), m_pCentreOn(pCentreOn)
{
    if (lpszText != NULL && *lpszText != '\0')
        ShowText(lpszText, bShowButton);
}

CQVNoticeDlg::CQVNoticeDlg(UINT nStringId, BOOL bShowButton, CWnd* pCentreOn)
    : CDialog(IDD_KIT_NOTICE, pCentreOn), m_pCentreOn(pCentreOn)
{
    if (nStringId != 0)
        ShowTextId(nStringId, bShowButton);
}

CQVNoticeDlg::~CQVNoticeDlg()
{
    if (m_bCreated && m_hWnd != NULL)
        DestroyWindow();
}

void CQVNoticeDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_KIT_NOTICE_TEXT, m_strText);
}

BOOL CQVNoticeDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_pFont = GetFont();
    // The template's places, measured once: they keep the dialog's margins
    // for every text.
    CRect dialog, text, button, client;
    GetWindowRect(&dialog);
    GetClientRect(&client);
    CWnd* pText = GetDlgItem(IDC_KIT_NOTICE_TEXT);
    CWnd* pButton = GetDlgItem(IDC_KIT_NOTICE_CANCEL);
    if (pText == NULL || pButton == NULL)
        return TRUE;
    pText->GetWindowRect(&text);
    pButton->GetWindowRect(&button);
    m_metrics.buttonOffset = button.top - dialog.top + 5;
    m_metrics.textToBottom = text.bottom - dialog.top;
    m_metrics.clientToWindow = client.Height() + 5;
    m_metrics.buttonGap = button.top - text.bottom;
    if (HICON hIcon = ::LoadIcon(NULL, IDI_INFORMATION))
        SendDlgItemMessage(IDC_KIT_NOTICE_ICON, STM_SETICON, (WPARAM)hIcon, 0);
    return TRUE;
}

BOOL CQVNoticeDlg::ShowText(LPCSTR lpszText, BOOL bShowButton)
{
    if (!m_bCreated) {
        if (!Create(IDD_KIT_NOTICE, m_pCentreOn))
            return FALSE;
        m_bCreated = TRUE;
    }
    m_bShowButton = bShowButton;
    m_bCancelled = FALSE;
    ShowWindow(SW_HIDE);
    m_strText = lpszText != NULL ? lpszText : "";
    UpdateData(FALSE);

    CWnd* pText = GetDlgItem(IDC_KIT_NOTICE_TEXT);
    CWnd* pButton = GetDlgItem(IDC_KIT_NOTICE_CANCEL);
    if (pText == NULL || pButton == NULL)
        return FALSE;

    // The text's size in the dialog's font (several lines when it has line
    // breaks).
    CRect measured(0, 0, 0, 0);
    {
        CClientDC dc(this);
        CFont* pOld = m_pFont != NULL ? dc.SelectObject(m_pFont) : NULL;
        dc.DrawText(m_strText.IsEmpty() ? CString(" ") : m_strText, &measured, DT_CALCRECT | DT_NOPREFIX);
        if (pOld != NULL)
            dc.SelectObject(pOld);
    }

    // The caption goes with the button; the frame is read for the new style.
    if (bShowButton)
        ModifyStyle(0, WS_CAPTION, SWP_FRAMECHANGED);
    else
        ModifyStyle(WS_CAPTION, 0, SWP_FRAMECHANGED);
    CRect window, client, text, button;
    GetWindowRect(&window);
    GetClientRect(&client);
    ClientToScreen(&client);
    pText->GetWindowRect(&text);
    ScreenToClient(&text);
    pButton->GetWindowRect(&button);

    const kit::NoticeLayout layout =
        kit::LayoutNotice(m_metrics, text.left, text.top, measured.Width(), measured.Height(),
                          client.left - window.left, window.Width() - client.Width(), button.Width(), button.Height(),
                          bShowButton != FALSE, m_bTopMost != FALSE);
    pText->MoveWindow(layout.text.left, layout.text.top, layout.text.Width(), layout.text.Height());
    if (bShowButton) {
        pButton->MoveWindow(layout.button.left, layout.button.top, layout.button.Width(), layout.button.Height());
        pButton->ShowWindow(SW_SHOW);
    } else {
        pButton->ShowWindow(SW_HIDE);
    }
    // A dialog made topmost before it existed becomes topmost now.
    SetWindowPos(m_bTopMost ? &wndTopMost : NULL, 0, 0, layout.width, layout.height,
                 SWP_NOMOVE | SWP_NOACTIVATE | (m_bTopMost ? 0 : SWP_NOZORDER));
    CenterWindow(m_pCentreOn);
    ShowWindow(SW_SHOW);
    UpdateWindow();
    return TRUE;
}

BOOL CQVNoticeDlg::ShowTextId(UINT nStringId, BOOL bShowButton)
{
    CString s;
    s.LoadString(nStringId);
    return ShowText(s, bShowButton);
}

void CQVNoticeDlg::SetTopMost()
{
    m_bTopMost = TRUE;
    if (m_hWnd != NULL)
        SetWindowPos(&wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

BOOL CQVNoticeDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_KIT_NOTICE_CANCEL) {
        OnCancel();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CQVNoticeDlg::OnCancel()
{
    m_bCancelled = TRUE;
    ShowWindow(SW_HIDE);
}
