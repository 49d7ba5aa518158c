#include "WebTipDlg.h"

#include "BitmapRegions.h"
#include "kit_ids.h"
#include "net/SystemMessageBodies.h"   // IsWebAddress

IMPLEMENT_DYNAMIC(CQVWebTipDlg, CFramedPopupDlg)

namespace {

// "温馨提示" and "宋体" in code page 936.
const char kCaption[] = "\xCE\xC2\xDC\xB0\xCC\xE1\xCA\xBE";
const char kCaptionFace[] = "\xCB\xCE\xCC\xE5";
const char kBlankPage[] = "about:blank";
// The corners' outside: the magenta of the frame pictures.
const COLORREF kCornerKey = RGB(255, 0, 255);

}  // namespace

BEGIN_MESSAGE_MAP(CQVWebTipDlg, CFramedPopupDlg)
    ON_WM_SIZE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CQVWebTipDlg::CQVWebTipDlg(CWnd* pParent)
    : CFramedPopupDlg(IDD_KIT_WEBTIP, pParent), m_pParent(pParent), m_strCaption(kCaption)
{
}

CQVWebTipDlg::~CQVWebTipDlg()
{
    if (m_hWnd != NULL)
        DestroyWindow();
}

BOOL CQVWebTipDlg::Create(int nWidth, int nHeight)
{
    if (m_hWnd != NULL)
        DestroyWindow();
    if (!CDialog::Create(IDD_KIT_WEBTIP, m_pParent))
        return FALSE;
    if (!LoadFrame(IDR_KIT_WEBTIP_FRAME, "GIF", AfxGetResourceHandle())) {
        TRACE("web notice: frame pictures %u.. not loaded\n", (unsigned)IDR_KIT_WEBTIP_FRAME);
        DestroyWindow();
        return FALSE;
    }
    SetWindowText(m_strCaption);
    if (!m_browser.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, kBrowserId)) {
        TRACE("web notice: no web browser control\n");
        DestroyWindow();
        return FALSE;
    }
    SetWindowPos(&wndNoTopMost, 0, 0, nWidth, nHeight, SWP_NOMOVE | SWP_NOACTIVATE);
    CenterWindow();
    BuildRegion();
    PlaceBrowser();
    return TRUE;
}

// The window less its four corner cells, with the corner pictures' shapes
// (everything not magenta) put back.
void CQVWebTipDlg::BuildRegion()
{
    if (GetSafeHwnd() == NULL || !IsFrameLoaded())
        return;
    CRect rc;
    GetWindowRect(&rc);
    const int W = rc.Width(), H = rc.Height();
    HRGN hRegion = ::CreateRectRgn(0, 0, W, H);
    if (hRegion == NULL)
        return;
    struct Corner
    {
        int part;
        int x, y;
    };
    const SIZE tr = GetFrameSize(kTopRight), bl = GetFrameSize(kBottomLeft), br = GetFrameSize(kBottomRight);
    const Corner corners[] = {
        {kTopLeft, 0, 0},
        {kTopRight, W - tr.cx, 0},
        {kBottomLeft, 0, H - bl.cy},
        {kBottomRight, W - br.cx, H - br.cy},
    };
    for (const Corner& c : corners) {
        const SIZE size = GetFrameSize(c.part);
        HRGN hCell = ::CreateRectRgn(c.x, c.y, c.x + size.cx, c.y + size.cy);
        if (hCell != NULL) {
            ::CombineRgn(hRegion, hRegion, hCell, RGN_DIFF);
            ::DeleteObject(hCell);
        }
        HRGN hShape = CreateRegionFromBitmap(GetFrameImage(c.part), kCornerKey);
        if (hShape != NULL) {
            ::OffsetRgn(hShape, c.x, c.y);
            ::CombineRgn(hRegion, hRegion, hShape, RGN_OR);
            ::DeleteObject(hShape);
        }
    }
    if (::SetWindowRgn(GetSafeHwnd(), hRegion, TRUE) == 0)
        ::DeleteObject(hRegion);
}

// The browser fills the inside of the frame.
void CQVWebTipDlg::PlaceBrowser()
{
    if (m_browser.GetSafeHwnd() == NULL)
        return;
    CRect client;
    GetClientRect(&client);
    m_browser.MoveWindow(client);
}

void CQVWebTipDlg::OnSize(UINT nType, int cx, int cy)
{
    CFramedPopupDlg::OnSize(nType, cx, cy);
    BuildRegion();
    PlaceBrowser();
}

void CQVWebTipDlg::OnDestroy()
{
    if (m_captionFont.GetSafeHandle() != NULL)
        m_captionFont.DeleteObject();
    CFramedPopupDlg::OnDestroy();
}

BOOL CQVWebTipDlg::OpenInBrowser(LPCSTR lpszAddress)
{
    if (GetSafeHwnd() == NULL || m_browser.GetSafeHwnd() == NULL)
        return FALSE;
    if (!m_browser.Navigate(lpszAddress))
        return FALSE;
    m_strAddress = lpszAddress;
    return TRUE;
}

BOOL CQVWebTipDlg::Navigate(LPCSTR lpszAddress)
{
    if (GetSafeHwnd() == NULL || m_browser.GetSafeHwnd() == NULL)
        return FALSE;
    // Only web pages: the address may come from the server.
    if (lpszAddress == NULL || !IsWebAddress(lpszAddress)) {
        TRACE("web notice: not a web address, not opened\n");
        return FALSE;
    }
    if (!OpenInBrowser(lpszAddress))
        return FALSE;
    if (!m_browser.IsWindowVisible())
        m_browser.ShowWindow(SW_SHOW);
    if (!IsWindowVisible())
        ShowWindow(SW_SHOW);
    return TRUE;
}

void CQVWebTipDlg::SetPageTitle(LPCSTR lpszTitle)
{
    if (lpszTitle == NULL || *lpszTitle == '\0')
        return;
    m_strCaption = CString(kCaption) + " - " + lpszTitle;
    if (GetSafeHwnd() != NULL) {
        SetWindowText(m_strCaption);
        DrawFrame();
    }
}

void CQVWebTipDlg::OnCancel()
{
    OpenInBrowser(kBlankPage);
    ShowWindow(SW_HIDE);
}

void CQVWebTipDlg::DrawFrame()
{
    if (GetSafeHwnd() == NULL)
        return;
    CWindowDC dc(this);
    DrawFrameOn(&dc, FALSE);
    if (!IsFrameLoaded())
        return;
    if (m_captionFont.GetSafeHandle() == NULL)
        m_captionFont.CreateFont(12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, kCaptionFace);
    CRect rc;
    GetWindowRect(&rc);
    CRect caption(0, 8, rc.Width(), rc.Height());
    const int nSaved = dc.SaveDC();
    dc.SelectObject(&m_captionFont);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0, 0, 0));
    dc.DrawText(m_strCaption, &caption, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    dc.RestoreDC(nSaved);
}
