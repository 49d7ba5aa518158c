#include "WaitDlg.h"

#include "KitSkin.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CWaitDlg, CSkinDlg)

namespace {
const int kIconSize = 32;
const int kIconOffset = 8;
}

CWaitDlg::CWaitDlg(CWnd* pParent, LPCSTR lpszText, BOOL bShowButton, CWnd* pOwner, LPCSTR lpszSection)
    : CSkinDlg(IDD_KIT_WAIT, pParent)
{
    Init(pParent, pOwner, lpszSection);
    if (pParent != NULL)
        Layout(lpszText, bShowButton);
}

CWaitDlg::CWaitDlg(CWnd* pParent, UINT nStringId, BOOL bShowButton, CWnd* pOwner, LPCSTR lpszSection)
    : CSkinDlg(IDD_KIT_WAIT, pParent)
{
    Init(pParent, pOwner, lpszSection);
    if (pParent != NULL)
        CreateWithStringId(nStringId, bShowButton);
}

void CWaitDlg::Init(CWnd* pParent, CWnd* pOwner, LPCSTR lpszSection)
{
    m_pParent = pParent;
    if (pOwner != NULL)
        SetOwner(pOwner);
    SetSkinSection(lpszSection != NULL && *lpszSection != '\0' ? lpszSection : "Wait");
}

CWaitDlg::~CWaitDlg()
{
    if (m_bCreated && m_hWnd != NULL)
        DestroyWindow();
    if (m_hIcon != NULL)
        ::DestroyIcon(m_hIcon);
}

void CWaitDlg::DoDataExchange(CDataExchange* pDX)
{
    CSkinDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_KIT_WAIT_TEXT, m_text);
}

BOOL CWaitDlg::OnInitDialog()
{
    CSkinDlg::OnInitDialog();
    if (IsSkinned()) {
        m_cancel.AttachFromIni(this, IDC_KIT_WAIT_CANCEL, GetSkinSection(), "IDCANCEL");
        m_text.SetTextColor(GetControlTextColour());
    }
    const CString icon = KitReadSkinString(GetSkinSection(), "Icon", "");
    if (!icon.IsEmpty()) {
        if (HINSTANCE hModule = KitThemeModule())
            m_hIcon = (HICON)::LoadImageA(hModule, MAKEINTRESOURCEA(atoi(icon)), IMAGE_ICON, 32, 32, 0);
        else
            m_hIcon = (HICON)::LoadImageA(NULL, KitSkinImageFolder() + icon, IMAGE_ICON, 32, 32, LR_LOADFROMFILE);
    }
    if (CWnd* p = GetDlgItem(IDC_KIT_WAIT_ICON))
        p->ShowWindow(SW_HIDE);   // the dialog draws its icon itself
    return TRUE;
}

BOOL CWaitDlg::Layout(LPCSTR lpszText, BOOL bShowButton, BOOL bCaption)
{
    if (!m_bCreated) {
        if (!Create(IDD_KIT_WAIT, m_pParent))
            return FALSE;
        m_bCreated = TRUE;
    }
    m_strText = lpszText != NULL ? lpszText : "";
    m_bShowButton = bShowButton;
    m_bCancelled = FALSE;
    SetShowCaption(bShowButton || m_bTopMost || bCaption);

    CClientDC dc(this);
    CFont* pOld = dc.SelectObject(GetFont());
    m_textSize = dc.GetTextExtent(m_strText.IsEmpty() ? CString(" ") : m_strText);
    dc.SelectObject(pOld);

    CRect rb(0, 0, 0, 0);
    CWnd* pButton = GetDlgItem(IDC_KIT_WAIT_CANCEL);
    if (pButton != NULL)
        pButton->GetWindowRect(&rb);
    const int innerW = std::max<int>(m_textSize.cx + 56, 200);
    int innerH = 48;
    if (bShowButton)
        innerH = rb.Height() + 56 + m_textSize.cy;
    else if (m_bTopMost)
        innerH = m_textSize.cy + 48;
    m_innerSize = CSize(innerW, innerH);

    int W, H, ox, oy;
    if (IsSkinned()) {
        const int B = GetBorderWidth();
        ox = B;
        oy = GetShowCaption() ? GetCaptionHeight() : B;
        W = innerW + 2 * B;
        H = innerH + oy + B;
    } else {
        CRect rw, rc;
        GetWindowRect(&rw);
        GetClientRect(&rc);
        ox = oy = 0;
        W = innerW + rw.Width() - rc.Width();
        H = innerH + rw.Height() - rc.Height();
    }
    SetWindowPos(NULL, 0, 0, W, H, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    const int iconX = ox + kIconOffset, iconY = oy + kIconOffset;
    if (CWnd* p = GetDlgItem(IDC_KIT_WAIT_ICON))
        p->MoveWindow(iconX, iconY, kIconSize, kIconSize);
    const int textX = iconX + kIconSize + kIconOffset;
    const int textY = iconY + (kIconSize - m_textSize.cy) / 2;
    m_text.MoveWindow(textX, textY, std::max<int>(m_textSize.cx + 4, innerW - textX + ox), m_textSize.cy + 4);
    m_text.SetWindowText(m_strText);
    if (pButton != NULL) {
        const int by = oy + innerH - rb.Height() - 12;
        pButton->MoveWindow(ox + (innerW - rb.Width()) / 2, by, rb.Width(), rb.Height());
        pButton->ShowWindow(bShowButton ? SW_SHOW : SW_HIDE);
    }
    if (m_pParent != NULL)
        CenterWindow(m_pParent);
    ShowWindow(SW_SHOW);
    Invalidate();
    return TRUE;
}

BOOL CWaitDlg::CreateWithStringId(UINT nStringId, BOOL bShowButton, BOOL bCaption)
{
    CString s;
    s.LoadString(nStringId);
    return Layout(s, bShowButton, bCaption);
}

void CWaitDlg::SetTopMost()
{
    m_bTopMost = TRUE;
    if (m_hWnd != NULL)
        SetWindowPos(&wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

BOOL CWaitDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    if (id == IDC_KIT_WAIT_CANCEL || id == ID_SKIN_CLOSE) {
        OnCancel();
        return TRUE;
    }
    return CSkinDlg::OnCommand(wParam, lParam);
}

void CWaitDlg::OnDrawExtra(CDC* pDC)
{
    CWnd* p = GetDlgItem(IDC_KIT_WAIT_ICON);
    if (m_hIcon == NULL || p == NULL)
        return;
    CRect r;
    p->GetWindowRect(&r);
    ScreenToClient(&r);
    ::DrawIconEx(pDC->GetSafeHdc(), r.left, r.top, m_hIcon, kIconSize, kIconSize, 0, NULL, DI_NORMAL);
}
