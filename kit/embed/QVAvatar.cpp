// The avatar control's wrapper and the panel that frames it.
#include "QVAvatar.h"

#include "AxControls.h"
#include "DispatchCall.h"

const CLSID& CQVAvatar::GetClsid()
{
    return CLSID_QVAvatar;
}

BOOL CQVAvatar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateControl(CLSID_QVAvatar, NULL, dwStyle, rect, pParentWnd, nID);
}

void CQVAvatar::AboutBox()
{
    dispatch::Call(*this, DISPID_ABOUTBOX, VTS_NONE);
}

long CQVAvatar::CallDispid1(short* p1)
{
    return dispatch::Method<long>(*this, 1, VTS_PI2, p1);
}

long CQVAvatar::CallDispid2(long p1)
{
    return dispatch::Method<long>(*this, 2, VTS_I4, p1);
}

long CQVAvatar::CallDispid3(long p1)
{
    return dispatch::Method<long>(*this, 3, VTS_I4, p1);
}

long CQVAvatar::CallDispid4()
{
    return dispatch::Method<long>(*this, 4, VTS_NONE);
}

long CQVAvatar::CallDispid5()
{
    return dispatch::Method<long>(*this, 5, VTS_NONE);
}

long CQVAvatar::CallDispid6(long p1, long* p2)
{
    return dispatch::Method<long>(*this, 6, VTS_I4 VTS_PI4, p1, p2);
}

long CQVAvatar::CallDispid7(LPCSTR p1, long p2)
{
    return dispatch::Method<long>(*this, 7, VTS_BSTR VTS_I4, p1, p2);
}

long CQVAvatar::CallDispid8(long* p1, long p2)
{
    return dispatch::Method<long>(*this, 8, VTS_PI4 VTS_I4, p1, p2);
}

long CQVAvatar::CallDispid9(LPCSTR p1)
{
    return dispatch::Method<long>(*this, 9, VTS_BSTR, p1);
}

long CQVAvatar::CallDispid10(short p1, short p2, short p3, short p4, long* p5)
{
    return dispatch::Method<long>(*this, 10, VTS_I2 VTS_I2 VTS_I2 VTS_I2 VTS_PI4, p1, p2, p3, p4, p5);
}

long CQVAvatar::CallDispid11(long p1)
{
    return dispatch::Method<long>(*this, 11, VTS_I4, p1);
}

long CQVAvatar::CallDispid12(long p1)
{
    return dispatch::Method<long>(*this, 12, VTS_I4, p1);
}

long CQVAvatar::CallDispid13(long p1)
{
    return dispatch::Method<long>(*this, 13, VTS_I4, p1);
}

long CQVAvatar::CallDispid14(long p1)
{
    return dispatch::Method<long>(*this, 14, VTS_I4, p1);
}

long CQVAvatar::CallDispid15(long p1)
{
    return dispatch::Method<long>(*this, 15, VTS_I4, p1);
}

void CQVAvatar::CallDispid16(long p1)
{
    dispatch::Call(*this, 16, VTS_I4, p1);
}

long CQVAvatar::CallDispid17()
{
    return dispatch::Method<long>(*this, 17, VTS_NONE);
}

long CQVAvatar::CallDispid18(long p1, long p2, long p3, long p4)
{
    return dispatch::Method<long>(*this, 18, VTS_I4 VTS_I4 VTS_I4 VTS_I4, p1, p2, p3, p4);
}

long CQVAvatar::CallDispid19()
{
    return dispatch::Method<long>(*this, 19, VTS_NONE);
}

long CQVAvatar::CallDispid20(long p1)
{
    return dispatch::Method<long>(*this, 20, VTS_I4, p1);
}

long CQVAvatar::CallDispid21(long p1)
{
    return dispatch::Method<long>(*this, 21, VTS_I4, p1);
}

long CQVAvatar::CallDispid22()
{
    return dispatch::Method<long>(*this, 22, VTS_NONE);
}

long CQVAvatar::CallDispid23(long p1, long p2, long p3, long p4, long p5, long p6, long p7, long p8, long p9)
{
    return dispatch::Method<long>(*this, 23, VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4,
                                  p1, p2, p3, p4, p5, p6, p7, p8, p9);
}

long CQVAvatar::CallDispid24(long p1, long p2, long p3, long p4, long p5, long p6, long p7, long p8, long p9)
{
    return dispatch::Method<long>(*this, 24, VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4,
                                  p1, p2, p3, p4, p5, p6, p7, p8, p9);
}

long CQVAvatar::CallDispid25(long p1, long p2, long p3, long p4, long p5, long p6, long p7, long p8, long p9)
{
    return dispatch::Method<long>(*this, 25, VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4,
                                  p1, p2, p3, p4, p5, p6, p7, p8, p9);
}

long CQVAvatar::CallDispid26()
{
    return dispatch::Method<long>(*this, 26, VTS_NONE);
}

long CQVAvatar::CallDispid27(long p1)
{
    return dispatch::Method<long>(*this, 27, VTS_I4, p1);
}

long CQVAvatar::CallDispid38()
{
    return dispatch::Method<long>(*this, 38, VTS_NONE);
}

void CQVAvatar::CallDispid39(long p1, long p2, long p3)
{
    dispatch::Call(*this, 39, VTS_I4 VTS_I4 VTS_I4, p1, p2, p3);
}

void CQVAvatar::CallDispid40(LPCSTR p1, LPCSTR p2, LPCSTR p3)
{
    dispatch::Call(*this, 40, VTS_BSTR VTS_BSTR VTS_BSTR, p1, p2, p3);
}

/////////////////////////////////////////////////////////////////////////////
// CAvatarPanel

int CAvatarPanel::s_nBorder = 2;

BEGIN_MESSAGE_MAP(CAvatarPanel, CWnd)
    ON_WM_SIZE()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CAvatarPanel::CAvatarPanel()
    : m_nSizeMode(0), m_nWidth(150), m_nHeight(150), m_nPlacement(0), m_crBack(0xFFFFFF), m_nValue1(0),
      m_nValue2(0), m_nValue3(0), m_nTextSize(14)
{
}

CAvatarPanel::~CAvatarPanel()
{
    DestroyParts();
}

void CAvatarPanel::DestroyParts()
{
    // Innermost first: the control, its frame, the panel.
    if (m_avatar.GetSafeHwnd() != NULL)
        m_avatar.DestroyWindow();
    if (m_frame.GetSafeHwnd() != NULL)
        m_frame.DestroyWindow();
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

void CAvatarPanel::Place(int x, int y, int nSizeMode, int nWidth, int nHeight)
{
    if (GetSafeHwnd() == NULL)
        return;
    if (nSizeMode != -1) {
        int w = 0, h = 0;
        if (AvatarPanelSize(nSizeMode, nWidth, nHeight, s_nBorder, &w, &h)) {
            m_nSizeMode = nSizeMode;
            m_nWidth = w;
            m_nHeight = h;
        }
    }
    CRect rect;
    GetWindowRect(&rect);
    int cx = nSizeMode == -1 ? rect.Width() : m_nWidth;
    int cy = nSizeMode == -1 ? rect.Height() : m_nHeight;
    SetWindowPos(NULL, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CAvatarPanel::SetupAvatar(int nPlacement, LPCSTR lpszData, long nValue, CWnd* pParentWnd, UINT nBaseId,
                               int nBorder)
{
    if (pParentWnd == NULL || pParentWnd->GetSafeHwnd() == NULL)
        return FALSE;
    m_nPlacement = nPlacement;
    return SetupAvatar(lpszData, nValue, pParentWnd, nBaseId, nBorder);
}

BOOL CAvatarPanel::SetupAvatar(LPCSTR lpszData, long nValue, CWnd* pParentWnd, UINT nBaseId, int nBorder)
{
    if (pParentWnd == NULL || pParentWnd->GetSafeHwnd() == NULL)
        return FALSE;
    DestroyParts();
    m_nSizeMode = 3;
    s_nBorder = nBorder;
    m_nWidth = 2 * nBorder + 60;
    m_nHeight = 2 * nBorder + 84;

    LPCTSTR pszClass = AfxRegisterWndClass(0);
    if (!CreateEx(0, pszClass, "", WS_CHILD | WS_CLIPCHILDREN, CRect(0, 0, 150, 150), pParentWnd,
                  nBaseId + kPanelIdOffset))
        return FALSE;
    const int nFrame = 150 - nBorder;
    if (!m_frame.CreateEx(0, pszClass, "", WS_CHILD | WS_CLIPCHILDREN, CRect(0, 0, nFrame, nFrame), this,
                          nBaseId + kFrameIdOffset)) {
        DestroyParts();
        return FALSE;
    }
    const int nControl = (75 - nBorder) * 2;
    if (!m_avatar.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, nControl, nControl), &m_frame,
                         nBaseId + kControlIdOffset)) {
        DestroyParts();
        return FALSE;
    }
    SendData(lpszData, nValue);
    ShowWindow(SW_SHOW);
    m_frame.ShowWindow(SW_SHOW);
    m_avatar.ShowWindow(SW_SHOW);
    return TRUE;
}

BOOL CAvatarPanel::UpdateAvatar(LPCSTR lpszData, long nValue)
{
    if (m_avatar.GetSafeHwnd() == NULL)
        return FALSE;
    SendData(lpszData, nValue);
    return TRUE;
}

void CAvatarPanel::SendData(LPCSTR lpszData, long nValue)
{
    // The control reads a fixed block: the text is cut to keep its
    // terminator.
    long block[kDataBlockSize / sizeof(long)];
    static_assert(sizeof(block) == kDataBlockSize, "the avatar data block is 116 bytes");
    memset(block, 0, sizeof(block));
    if (lpszData != NULL)
        memcpy(block, lpszData, strnlen(lpszData, kDataBlockSize - 1));
    m_avatar.CallDispid8(block, kDataBlockSize);
    m_avatar.CallDispid20(1);
    m_avatar.CallDispid12(1);
    m_avatar.CallDispid1(NULL);
    m_avatar.CallDispid14(nValue);
}

BOOL CAvatarPanel::DrawAvatar(CDC* pDC, int x, int y, int nWidth, int nHeight)
{
    if (pDC == NULL || m_avatar.GetSafeHwnd() == NULL)
        return FALSE;
    long nStatus = 0;
    m_avatar.CallDispid10((short)x, (short)y, (short)nWidth, (short)nHeight, &nStatus);
    // The control's own window inside its site.
    HWND hControl = ::GetWindow(m_avatar.GetSafeHwnd(), GW_CHILD);
    if (hControl == NULL)
        return FALSE;
    HDC hMem = ::CreateCompatibleDC(pDC->GetSafeHdc());
    HBITMAP hBitmap = ::CreateCompatibleBitmap(pDC->GetSafeHdc(), kControlWidth, kControlHeight);
    BOOL bDone = FALSE;
    if (hMem != NULL && hBitmap != NULL) {
        HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
        RECT all = {0, 0, kControlWidth, kControlHeight};
        ::FillRect(hMem, &all, (HBRUSH)::GetStockObject(WHITE_BRUSH));
        // The picture at the control's full size, whatever its window's size.
        CRect rect;
        ::GetClientRect(hControl, &rect);
        ::SetWindowPos(hControl, NULL, 0, 0, kControlWidth, kControlHeight,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOREDRAW);
        ::SendMessageA(hControl, WM_PRINTCLIENT, (WPARAM)hMem, PRF_CLIENT);
        ::SetWindowPos(hControl, NULL, 0, 0, rect.Width(), rect.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOREDRAW);
        ::SetStretchBltMode(pDC->GetSafeHdc(), COLORONCOLOR);
        bDone = ::StretchBlt(pDC->GetSafeHdc(), x, y, nWidth, nHeight, hMem, 0, 0, kControlWidth, kControlHeight,
                             SRCCOPY);
        ::SelectObject(hMem, hOld);
    }
    if (hBitmap != NULL)
        ::DeleteObject(hBitmap);
    if (hMem != NULL)
        ::DeleteDC(hMem);
    return bDone;
}

long CAvatarPanel::SetArea(long x, long y, long nWidth, long nHeight)
{
    return m_avatar.CallDispid18(x, y, nWidth, nHeight);
}

long CAvatarPanel::SetLayout(long nWhich, const long v[9])
{
    switch (nWhich) {
    case 0: return m_avatar.CallDispid23(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]);
    case 1: return m_avatar.CallDispid24(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]);
    case 2: return m_avatar.CallDispid25(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]);
    default: return 0;
    }
}

void CAvatarPanel::SetColors(long nBack, long nText, long nTextSize)
{
    m_crBack = (COLORREF)nBack;
    m_nTextSize = (int)nTextSize;
    m_avatar.CallDispid39(nBack, nText, nTextSize);
    if (GetSafeHwnd() != NULL)
        Invalidate();
}

void CAvatarPanel::SetTexts(LPCSTR lpszName, LPCSTR lpszTitle, LPCSTR lpszNote)
{
    m_avatar.CallDispid40(lpszName, lpszTitle, lpszNote);
}

void CAvatarPanel::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    const int b = s_nBorder;
    if (m_frame.GetSafeHwnd() != NULL)
        m_frame.MoveWindow(b, b, cx - 2 * b > 0 ? cx - 2 * b : 0, cy - 2 * b > 0 ? cy - 2 * b : 0);
    if (m_avatar.GetSafeHwnd() != NULL)
        m_avatar.MoveWindow(0, 0, kControlWidth, kControlHeight);
}

void CAvatarPanel::OnPaint()
{
    CPaintDC dc(this);
    CRect rect;
    GetClientRect(&rect);
    dc.FillSolidRect(&rect, m_crBack);
}
