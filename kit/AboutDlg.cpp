#include "AboutDlg.h"

#include "app/ClientServices.h"

IMPLEMENT_DYNAMIC(CQVAboutDlg, CSkinDlg)

BEGIN_MESSAGE_MAP(CQVAboutDlg, CSkinDlg)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {
const int kAboutInnerWidth = 332;
const int kAboutInnerHeight = 85;
const int kIconSize = 32;
}

CQVAboutDlg::CQVAboutDlg(UINT nIconId, CWnd* pParent) : CSkinDlg(IDD_KIT_ABOUT, pParent), m_nIconId(nIconId)
{
    SetSkinSection("About");
}

CQVAboutDlg::~CQVAboutDlg()
{
    if (m_hIcon != NULL)
        ::DestroyIcon(m_hIcon);
}

void CQVAboutDlg::SetTexts(LPCSTR lpszText1, LPCSTR lpszText2)
{
    m_strText1 = lpszText1 != NULL ? lpszText1 : "";
    m_strText2 = lpszText2 != NULL ? lpszText2 : "";
    m_bTextsSet = TRUE;
}

void CQVAboutDlg::DoDataExchange(CDataExchange* pDX)
{
    CSkinDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_KIT_ABOUT_TEXT1, m_text1);
    DDX_Control(pDX, IDC_KIT_ABOUT_TEXT2, m_text2);
}

BOOL CQVAboutDlg::OnInitDialog()
{
    CSkinDlg::OnInitDialog();
    if (IsSkinned())
        m_ok.AttachFromIni(this, IDOK, GetSkinSection(), "IDOK");

    CModuleVersion version;
    version.Load(NULL);
    if (!m_bTextsSet) {
        m_strText1.Format("%s\n%s %s Build%s", (LPCSTR)version.GetStringValue("ProductName"),
                          (LPCSTR)version.GetStringValue("FileDescription"),
                          (LPCSTR)version.GetStringValue("ProductVersion"), (LPCSTR)version.GetStringValue("FileVersion"));
        m_strText2.Format("%s\n%s", (LPCSTR)version.GetStringValue("CompanyName"),
                          (LPCSTR)version.GetStringValue("LegalCopyright"));
    }
    if (m_nIconId != 0) {
        m_hIcon = (HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIconId), IMAGE_ICON, 32, 32, 0);
        if (m_hIcon == NULL)
            m_hIcon = (HICON)::LoadImageA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nIconId), IMAGE_ICON, 32, 32, 0);
    }
    if (CWnd* pIcon = GetDlgItem(IDC_KIT_ABOUT_ICON))
        ::SendMessage(pIcon->GetSafeHwnd(), STM_SETICON, (WPARAM)m_hIcon, 0);

    // The size, keeping the top-left; the controls move inside the frame.
    CRect rw;
    GetWindowRect(&rw);
    SetWindowPos(NULL, 0, 0, 2 * GetBorderWidth() + kAboutInnerWidth, GetCaptionHeight() + GetBorderWidth() + kAboutInnerHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT inner;
    GetInnerClientRect(&inner);
    const UINT moved[] = {IDC_KIT_ABOUT_ICON, IDC_KIT_ABOUT_TEXT1, IDC_KIT_ABOUT_TEXT2, IDOK};
    for (UINT id : moved) {
        CWnd* p = GetDlgItem(id);
        if (p == NULL)
            continue;
        CRect r;
        p->GetWindowRect(&r);
        ScreenToClient(&r);
        r.OffsetRect(inner.left, inner.top);
        p->MoveWindow(&r);
    }
    m_text1.SetWindowText(m_strText1);
    m_text2.SetWindowText(m_strText2);
    if (m_hIcon != NULL) {
        if (CWnd* pIcon = GetDlgItem(IDC_KIT_ABOUT_ICON))
            pIcon->ShowWindow(SW_HIDE);   // drawn by the dialog itself
    }
    CenterWindow(m_pParentWnd);
    CString title, format;
    format.LoadString(IDS_KIT_ABOUT_TITLE);
    title.Format(format.IsEmpty() ? "%s" : (LPCSTR)format, (LPCSTR)version.GetStringValue("ProductName"));
    SetWindowText(title);
    return TRUE;
}

void CQVAboutDlg::OnDrawExtra(CDC* pDC)
{
    CWnd* p = GetDlgItem(IDC_KIT_ABOUT_ICON);
    if (m_hIcon == NULL || p == NULL)
        return;
    CRect r;
    p->GetWindowRect(&r);
    ScreenToClient(&r);
    ::DrawIconEx(pDC->GetSafeHdc(), r.left, r.top, m_hIcon, kIconSize, kIconSize, 0, NULL, DI_NORMAL);
}

void CQVAboutDlg::OnDestroy()
{
    if (m_hIcon != NULL) {
        ::DestroyIcon(m_hIcon);
        m_hIcon = NULL;
    }
    CSkinDlg::OnDestroy();
}
