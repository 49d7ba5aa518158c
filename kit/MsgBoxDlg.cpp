#include "MsgBoxDlg.h"

#include "KitSkin.h"

#include <algorithm>

using namespace kit;

namespace {

const char kMsgBoxSection[] = "MsgBox";
const UINT kButtonIds[3] = {IDC_KIT_MSG_BUTTON1, IDC_KIT_MSG_BUTTON2, IDC_KIT_MSG_BUTTON3};
const int kMargin = 12;
const int kIconSize = 32;
const int kIconGap = 8;
const int kButtonGap = 10;
const int kLineGap = 2;
const int kEntryHeight = 20;
const int kPlainButtonWidth = 75, kPlainButtonHeight = 23;

HICON LoadBoxIcon(BOOL bSkinned, const MsgBoxIcon& icon, BOOL* pOwned)
{
    *pOwned = FALSE;
    if (bSkinned) {
        const CString section = MakeSkinSection(kMsgBoxSection).c_str();
        char value[MAX_PATH];
        ::GetPrivateProfileStringA(section, icon.key, "", value, sizeof value, KitSkinIniPath());
        if (value[0] != '\0') {
            HICON h = NULL;
            if (HINSTANCE hModule = KitThemeModule())
                h = (HICON)::LoadImageA(hModule, MAKEINTRESOURCEA(atoi(value)), IMAGE_ICON, 32, 32, 0);
            else
                h = (HICON)::LoadImageA(NULL, KitSkinImageFolder() + value, IMAGE_ICON, 32, 32, LR_LOADFROMFILE);
            if (h != NULL) {
                *pOwned = TRUE;
                return h;
            }
        }
    }
    return ::LoadIcon(NULL, MAKEINTRESOURCE(icon.systemIcon));
}

}  // namespace

// ---- Shared behaviour --------------------------------------------------------------------

void CMsgBoxCore::Set(BOOL bEntry, LPCSTR lpszText, UINT nType, int nCountdown)
{
    m_bEntry = bEntry;
    m_strText = lpszText != NULL ? lpszText : "";
    m_bMasked = (nType & kMaskedEntryBit) != 0;
    m_nType = nType & ~kMaskedEntryBit;
    m_nCountdown = nCountdown > 0 ? nCountdown : 0;
}

void CMsgBoxCore::SetTextId(UINT nStringId)
{
    m_strText.LoadString(nStringId);
}

void CMsgBoxCore::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_KIT_MSG_TEXT, m_text);
    DDX_Text(pDX, IDC_KIT_MSG_ENTRY, m_strEntry);
    DDX_Text(pDX, IDC_KIT_MSG_ENTRY_MASKED, m_strMaskedEntry);
}

BOOL CMsgBoxCore::InitDialog()
{
    CDialog* d = m_pDlg;
    m_buttons = ButtonsForType(m_nType);
    const MsgBoxDefault def = DefaultForType(m_nType, m_buttons);
    m_nTimeoutResult = def.timeoutResult;
    const CString section = MakeSkinSection(kMsgBoxSection).c_str();

    for (int i = 0; i < 3; i++) {
        CWnd* pItem = d->GetDlgItem(kButtonIds[i]);
        if (pItem == NULL)
            continue;
        if (i >= m_buttons.count) {
            pItem->ShowWindow(SW_HIDE);
            continue;
        }
        CString caption;
        caption.LoadString(m_buttons.button[i].captionId);
        pItem->SetWindowText(caption);
        if (m_bSkinned)
            m_coolButtons[i].AttachFromIni(d, kButtonIds[i], section, m_buttons.button[i].key);
        pItem->ShowWindow(SW_SHOW);
    }
    if (m_buttons.count > 0) {
        d->SetDefID(kButtonIds[def.focusIndex]);
        if (CWnd* pFocus = d->GetDlgItem(kButtonIds[def.focusIndex]))
            pFocus->SetFocus();
    }

    m_hIcon = LoadBoxIcon(m_bSkinned, IconForType(m_nType), &m_bOwnIcon);
    if (CWnd* pIcon = d->GetDlgItem(IDC_KIT_MSG_ICON)) {
        ::SendMessage(pIcon->GetSafeHwnd(), STM_SETICON, (WPARAM)m_hIcon, 0);
        // The skinned box draws the icon itself over its background.
        pIcon->ShowWindow(m_bSkinned ? SW_HIDE : SW_SHOW);
    }

    if (m_bSkinned) {
        if (CSkinDlg* pSkin = dynamic_cast<CSkinDlg*>(d))
            m_text.SetTextColor(pSkin->IsSkinned() ? pSkin->GetControlTextColour() : RGB(0, 0, 0));
    }
    m_text.SetWindowText(m_strText);
    m_text.TextChanged();

    CWnd* pEntry = d->GetDlgItem(IDC_KIT_MSG_ENTRY);
    CWnd* pMasked = d->GetDlgItem(IDC_KIT_MSG_ENTRY_MASKED);
    if (pEntry != NULL)
        pEntry->ShowWindow(m_bEntry && !m_bMasked ? SW_SHOW : SW_HIDE);
    if (pMasked != NULL)
        pMasked->ShowWindow(m_bEntry && m_bMasked ? SW_SHOW : SW_HIDE);

    CWnd* pCountdown = d->GetDlgItem(IDC_KIT_MSG_COUNTDOWN);
    if (m_nCountdown > 0) {
        m_nRemaining = m_nCountdown;
        if (pCountdown != NULL) {
            CString s;
            s.Format("%d", m_nRemaining);
            pCountdown->SetWindowText(s);
            pCountdown->ShowWindow(SW_SHOW);
        }
        m_bTimer = d->SetTimer(kMsgBoxCountdownTimer, 1000) != 0;
    } else if (pCountdown != NULL) {
        pCountdown->ShowWindow(SW_HIDE);
    }

    Layout();
    if (m_bEntry) {
        if (CWnd* pField = d->GetDlgItem(m_bMasked ? IDC_KIT_MSG_ENTRY_MASKED : IDC_KIT_MSG_ENTRY))
            pField->SetFocus();
    }
    return FALSE;   // the focus is set
}

void CMsgBoxCore::Layout()
{
    CDialog* d = m_pDlg;
    CSkinDlg* pSkin = m_bSkinned ? dynamic_cast<CSkinDlg*>(d) : nullptr;

    // The text block: the widest line by the sum of (line height + 2).
    CClientDC dc(d);
    CFont* pOld = dc.SelectObject(d->GetFont());
    int tw = 0, th = 0;
    for (const std::string& line : CutMessageLines(std::string(m_strText))) {
        const CSize s = dc.GetTextExtent(line.empty() ? CString(" ") : CString(line.c_str()));
        tw = std::max<int>(tw, line.empty() ? 0 : s.cx);
        th += s.cy + kLineGap;
    }
    dc.SelectObject(pOld);
    tw += 4;   // the link text lays out character by character: a little room

    // Button size: the skinned face, else a standard push button.
    int bw = kPlainButtonWidth, bh = kPlainButtonHeight;
    if (m_bSkinned && m_buttons.count > 0 && m_coolButtons[0].GetSafeHwnd() != NULL) {
        CRect rb;
        m_coolButtons[0].GetWindowRect(&rb);
        bw = rb.Width();
        bh = rb.Height();
    }

    CRect inner;
    if (pSkin != nullptr && pSkin->IsSkinned()) {
        inner = CRect(pSkin->GetBorderWidth(), pSkin->GetShowCaption() ? pSkin->GetCaptionHeight()
                                                                       : pSkin->GetBorderWidth(), 0, 0);
    }
    const int ox = inner.left, oy = inner.top;
    const int iconX = ox + kMargin, iconY = oy + kMargin;
    const int textX = m_hIcon != NULL ? iconX + kIconSize + kIconGap : ox + kIconGap;
    const int textY = oy + kMargin;
    const int textH = std::max(th, m_hIcon != NULL ? kIconSize : 0);
    int bottom = textY + textH;
    const int entryW = std::max(tw, 160);
    if (m_bEntry)
        bottom += 6 + kEntryHeight;
    const int rowW = m_buttons.count > 0 ? m_buttons.count * bw + (m_buttons.count - 1) * kButtonGap : 0;
    int innerW = std::max<int>(textX - ox + (m_bEntry ? entryW : tw) + kMargin, rowW + 2 * kMargin);
    innerW = std::max(innerW, MinimumBoxWidth(bw, m_buttons.count));
    const int rowY = bottom + kMargin;
    const int innerH = rowY + (m_buttons.count > 0 || m_nCountdown > 0 ? bh : 0) + kMargin - oy;

    if (CWnd* p = d->GetDlgItem(IDC_KIT_MSG_ICON))
        p->MoveWindow(iconX, iconY, kIconSize, kIconSize);
    m_text.MoveWindow(textX, textY, std::max(tw, 1), std::max(th, 1));
    m_text.TextChanged();
    const UINT entryId = m_bMasked ? IDC_KIT_MSG_ENTRY_MASKED : IDC_KIT_MSG_ENTRY;
    if (CWnd* p = d->GetDlgItem(entryId))
        p->MoveWindow(textX, textY + textH + 6, entryW, kEntryHeight);
    int x = ox + (innerW - rowW) / 2;
    for (int i = 0; i < m_buttons.count; i++) {
        if (CWnd* p = d->GetDlgItem(kButtonIds[i]))
            p->MoveWindow(x, rowY, bw, bh);
        x += bw + kButtonGap;
    }
    if (CWnd* p = d->GetDlgItem(IDC_KIT_MSG_COUNTDOWN))
        p->MoveWindow(ox + innerW - kMargin - 24 + (rowW > 0 ? 0 : 0), rowY + (bh - 14) / 2, 24, 14);

    // The window around the inner area.
    CRect rcWindow, rcClient;
    d->GetWindowRect(&rcWindow);
    d->GetClientRect(&rcClient);
    int W, H;
    if (pSkin != nullptr && pSkin->IsSkinned()) {
        W = innerW + 2 * pSkin->GetBorderWidth();
        H = innerH + oy + pSkin->GetBorderWidth();
    } else {
        W = innerW + rcWindow.Width() - rcClient.Width();
        H = innerH + rcWindow.Height() - rcClient.Height();
    }
    d->SetWindowPos(NULL, 0, 0, W, H, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    d->CenterWindow();
}

void CMsgBoxCore::End(int nResult)
{
    if (m_bTimer) {
        m_pDlg->KillTimer(kMsgBoxCountdownTimer);
        m_bTimer = FALSE;
    }
    m_nChosen = nResult;
    if (m_bEntry)
        m_pDlg->UpdateData(TRUE);
    m_pDlg->EndDialog(nResult);
}

BOOL CMsgBoxCore::OnCommand(WPARAM wParam, LPARAM)
{
    const UINT id = LOWORD(wParam);
    for (int i = 0; i < m_buttons.count; i++) {
        if (id == kButtonIds[i]) {
            End(m_buttons.button[i].result);
            return TRUE;
        }
    }
    if (id == IDOK) {   // Enter without a default button of ours
        End(m_buttons.count > 0 ? m_buttons.button[0].result : IDOK);
        return TRUE;
    }
    if (id == IDCANCEL) {
        End(IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

BOOL CMsgBoxCore::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kMsgBoxCountdownTimer || !m_bTimer)
        return FALSE;
    m_nRemaining--;
    CString s;
    s.Format("%d", m_nRemaining > 0 ? m_nRemaining : 0);
    m_pDlg->SetDlgItemText(IDC_KIT_MSG_COUNTDOWN, s);
    if (m_nRemaining <= 0) {
        HWND hCapture = ::GetCapture();
        if (hCapture != NULL && (hCapture == m_pDlg->GetSafeHwnd() || ::IsChild(m_pDlg->GetSafeHwnd(), hCapture)))
            ::ReleaseCapture();
        End(m_nTimeoutResult);
    }
    return TRUE;
}

void CMsgBoxCore::DrawIcon(CDC* pDC)
{
    CWnd* pIcon = m_pDlg->GetDlgItem(IDC_KIT_MSG_ICON);
    if (m_hIcon == NULL || pIcon == NULL)
        return;
    CRect r;
    pIcon->GetWindowRect(&r);
    m_pDlg->ScreenToClient(&r);
    ::DrawIconEx(pDC->GetSafeHdc(), r.left, r.top, m_hIcon, kIconSize, kIconSize, 0, NULL, DI_NORMAL);
}

void CMsgBoxCore::Destroy()
{
    if (m_bTimer && m_pDlg->GetSafeHwnd() != NULL)
        m_pDlg->KillTimer(kMsgBoxCountdownTimer);
    m_bTimer = FALSE;
    if (m_bOwnIcon && m_hIcon != NULL)
        ::DestroyIcon(m_hIcon);
    m_hIcon = NULL;
    m_bOwnIcon = FALSE;
}

// ---- The skinned box ---------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CQVMsgBoxDlg, CSkinDlg)

BEGIN_MESSAGE_MAP(CQVMsgBoxDlg, CSkinDlg)
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CQVMsgBoxDlg::CQVMsgBoxDlg(BOOL bEntry, LPCSTR lpszText, UINT nType, int nCountdown, CWnd* pParent)
    : CSkinDlg(IDD_KIT_MSGBOX, pParent), m_core(this, TRUE)
{
    SetSkinSection(kMsgBoxSection);
    m_core.Set(bEntry, lpszText, nType, nCountdown);
}

CQVMsgBoxDlg::CQVMsgBoxDlg(LPCSTR lpszText, UINT nType, int nCountdown, CWnd* pParent)
    : CQVMsgBoxDlg(FALSE, lpszText, nType, nCountdown, pParent)
{
}

CQVMsgBoxDlg::CQVMsgBoxDlg(UINT nStringId, UINT nType, int nCountdown, CWnd* pParent)
    : CQVMsgBoxDlg(FALSE, NULL, nType, nCountdown, pParent)
{
    m_core.SetTextId(nStringId);
}

CQVMsgBoxDlg::~CQVMsgBoxDlg()
{
    m_core.Destroy();
}

BOOL CQVMsgBoxDlg::OnInitDialog()
{
    CSkinDlg::OnInitDialog();
    return m_core.InitDialog();
}

void CQVMsgBoxDlg::DoDataExchange(CDataExchange* pDX)
{
    CSkinDlg::DoDataExchange(pDX);
    m_core.DoDataExchange(pDX);
}

BOOL CQVMsgBoxDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (m_core.OnCommand(wParam, lParam))
        return TRUE;
    return CSkinDlg::OnCommand(wParam, lParam);
}

void CQVMsgBoxDlg::OnDrawExtra(CDC* pDC)
{
    m_core.DrawIcon(pDC);
}

void CQVMsgBoxDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (!m_core.OnTimer(nIDEvent))
        CSkinDlg::OnTimer(nIDEvent);
}

void CQVMsgBoxDlg::OnDestroy()
{
    m_core.Destroy();
    CSkinDlg::OnDestroy();
}

// ---- The plain box -----------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CQVPlainMsgBox, CDialog)

BEGIN_MESSAGE_MAP(CQVPlainMsgBox, CDialog)
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CQVPlainMsgBox::CQVPlainMsgBox(BOOL bEntry, LPCSTR lpszText, UINT nType, int nCountdown, CWnd* pParent)
    : CDialog(IDD_KIT_PLAIN_MSGBOX, pParent), m_core(this, FALSE)
{
    m_core.Set(bEntry, lpszText, nType, nCountdown);
}

CQVPlainMsgBox::CQVPlainMsgBox(LPCSTR lpszText, UINT nType, int nCountdown, CWnd* pParent)
    : CQVPlainMsgBox(FALSE, lpszText, nType, nCountdown, pParent)
{
}

CQVPlainMsgBox::CQVPlainMsgBox(UINT nStringId, UINT nType, int nCountdown, CWnd* pParent)
    : CQVPlainMsgBox(FALSE, NULL, nType, nCountdown, pParent)
{
    m_core.SetTextId(nStringId);
}

BOOL CQVPlainMsgBox::OnInitDialog()
{
    CDialog::OnInitDialog();
    return m_core.InitDialog();
}

void CQVPlainMsgBox::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    m_core.DoDataExchange(pDX);
}

BOOL CQVPlainMsgBox::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (m_core.OnCommand(wParam, lParam))
        return TRUE;
    return CDialog::OnCommand(wParam, lParam);
}

void CQVPlainMsgBox::OnTimer(UINT_PTR nIDEvent)
{
    if (!m_core.OnTimer(nIDEvent))
        CDialog::OnTimer(nIDEvent);
}

void CQVPlainMsgBox::OnDestroy()
{
    m_core.Destroy();
    CDialog::OnDestroy();
}

// ---- The runtime's box routine -----------------------------------------------------------

int KitMessageBox(MsgBoxRequest& request)
{
    const int nCountdown = request.nCountdown > 0 ? request.nCountdown : 0;
    int nResult = -1;
    CString e1, e2;
    if (request.bSkinned) {
        CQVMsgBoxDlg box(request.bWantsEntry, request.text, request.nType, nCountdown, request.pOwner);
        nResult = (int)box.DoModal();
        e1 = box.GetEntry();
        e2 = box.GetMaskedEntry();
    }
    if (nResult == -1) {
        CQVPlainMsgBox box(request.bWantsEntry, request.text, request.nType, nCountdown, request.pOwner);
        nResult = (int)box.DoModal();
        e1 = box.GetEntry();
        e2 = box.GetMaskedEntry();
    }
    if (nResult == -1)   // no template at all: the system's box
        nResult = ::MessageBoxA(request.pOwner->GetSafeHwnd(), request.text, NULL, request.nType & 0xFFFF);
    request.entryText = e1 + e2;
    return nResult;
}

void InstallKitMessageBoxes()
{
    SetMsgBoxRoutine(KitMessageBox);
}
