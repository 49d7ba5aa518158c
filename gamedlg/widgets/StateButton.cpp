#include "StateButton.h"

#include <cstring>
#include <vector>

#include "BitmapRegions.h"
#include "WidgetGeometry.h"

namespace {

const COLORREF kKeyColour = RGB(255, 0, 255);
const UINT kCaptionFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;   // 0x25
static_assert(kCaptionFormat == 0x25, "caption format");

// A top-down 24-bit section of w x h; rows padded to 4 bytes.
HBITMAP Create24(HDC hDC, int w, int h, BYTE** ppBits)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    return ::CreateDIBSection(hDC, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(ppBits), NULL, 0);
}

}  // namespace

BEGIN_MESSAGE_MAP(CStateButton, CButton)
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CStateButton::CStateButton()
    : m_nTimer(-1), m_nFrameCounter(0), m_hStrip(NULL), m_nFrameCount(0), m_nFirst{0, 0, 0, 0}, m_nRun{0, 0, 0, 0},
      m_nFrameWidth(0), m_nFrameHeight(0), m_nAlphaMode(0), m_hCursor(NULL), m_hRegion(NULL), m_bHovering(FALSE),
      m_szCaption{0}, m_hFont(NULL), m_crCaption(0)
{
    m_clipRgn.CreateRectRgn(0, 0, 0, 0);
}

CStateButton::~CStateButton()
{
    if (m_hRegion != NULL && m_hWnd == NULL)
        ::DeleteObject(m_hRegion);   // a region the window never took
}

BOOL CStateButton::SetBitmap(HBITMAP hStrip, int nFrameCount, int nRegionFrame, int nTimerMs, LPCSTR lpszCaption,
                             HFONT hFont, COLORREF crCaption, int nAlphaMode)
{
    if (m_hWnd == NULL)
        return FALSE;
    m_hStrip = hStrip;
    m_nFrameCount = nFrameCount;
    m_nAlphaMode = nAlphaMode;
    m_nFrameCounter = 0;
    if (hStrip == NULL)
        return FALSE;
    if (nFrameCount < 1) {   // 0 as well as negative: no frames to divide into
        m_hStrip = NULL;
        return TRUE;
    }
    BITMAP bm;
    if (::GetObjectA(hStrip, sizeof bm, &bm) != sizeof bm) {
        m_hStrip = NULL;
        return FALSE;
    }
    m_nFrameWidth = widgets::StateFrameWidth(bm.bmWidth, nFrameCount, nAlphaMode != 0);
    m_nFrameHeight = bm.bmHeight;
    for (int i = 0; i < 4; ++i) {
        m_nFirst[i] = nFrameCount == 4 ? i : 0;
        m_nRun[i] = nFrameCount == 4 ? 1 : 0;
    }
    if (nAlphaMode == 0) {
        HRGN hNew = NULL;
        if (nRegionFrame >= 0 && nRegionFrame < nFrameCount) {
            hNew = CreateRegionFromBitmap(hStrip, kKeyColour);
            if (hNew != NULL) {
                HRGN hClip = ::CreateRectRgn(0, 0, m_nFrameWidth, m_nFrameHeight);
                ::CombineRgn(hNew, hNew, hClip, RGN_AND);
                ::DeleteObject(hClip);
            }
        }
        ::SetWindowRgn(m_hWnd, hNew, TRUE);   // the window owns it and frees the previous one
        m_hRegion = hNew;
    }
    SetWindowPos(NULL, 0, 0, m_nFrameWidth, m_nFrameHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_nTimer != -1)
        KillTimer(1);
    m_nTimer = -1;
    if (nTimerMs > 0 && SetTimer(1, (UINT)nTimerMs) != 0)
        m_nTimer = 1;
    if (lpszCaption != nullptr && lpszCaption[0] != '\0') {
        const std::string cut = widgets::CutCaption(lpszCaption, sizeof m_szCaption - 1);
        memcpy(m_szCaption, cut.c_str(), cut.size() + 1);
        m_hFont = hFont;
        m_crCaption = crCaption;
    }
    return TRUE;
}

BOOL CStateButton::SetStateFrames(int nState, int nFirst, int nRun)
{
    if (m_hStrip == NULL || nState < 0 || nState > 3 || !widgets::StateFramesValid(nFirst, nRun, m_nFrameCount))
        return FALSE;
    m_nFirst[nState] = nFirst;
    m_nRun[nState] = nRun;
    return TRUE;
}

BOOL CStateButton::SetAllStateFrames(const int nFirst[4], const int nRun[4])
{
    if (m_hStrip == NULL)
        return FALSE;
    for (int i = 0; i < 4; ++i)
        if (!widgets::StateFramesValid(nFirst[i], nRun[i], m_nFrameCount))
            return FALSE;
    for (int i = 0; i < 4; ++i) {
        m_nFirst[i] = nFirst[i];
        m_nRun[i] = nRun[i];
    }
    return TRUE;
}

BOOL CStateButton::SetText(LPCSTR lpszCaption, HFONT hFont, COLORREF crCaption)
{
    if (lpszCaption == nullptr || lpszCaption[0] == '\0' || hFont == NULL)
        return FALSE;
    const std::string cut = widgets::CutCaption(lpszCaption, sizeof m_szCaption - 1);
    memcpy(m_szCaption, cut.c_str(), cut.size() + 1);
    m_hFont = hFont;
    m_crCaption = crCaption;
    return TRUE;
}

void CStateButton::ExcludeFromClip(CDC* pDC)
{
    if (m_hWnd == NULL || !IsWindowVisible() || pDC == nullptr)
        return;
    if (::GetWindowRgn(m_hWnd, (HRGN)m_clipRgn.GetSafeHandle()) == ERROR) {
        RECT rc;
        GetClientRect(&rc);
        ::SetRectRgn((HRGN)m_clipRgn.GetSafeHandle(), rc.left, rc.top, rc.right, rc.bottom);
    }
    RECT rcWindow;
    GetWindowRect(&rcWindow);
    HWND hParent = ::GetParent(m_hWnd);
    if (hParent != NULL)
        ::MapWindowPoints(NULL, hParent, (LPPOINT)&rcWindow, 2);
    ::OffsetRgn((HRGN)m_clipRgn.GetSafeHandle(), rcWindow.left, rcWindow.top);
    ::ExtSelectClipRgn(pDC->m_hDC, (HRGN)m_clipRgn.GetSafeHandle(), RGN_DIFF);
}

void CStateButton::AlphaBlendFrame(HDC hDest, int x, int y, int nFrameX)
{
    const int w = m_nFrameWidth, h = m_nFrameHeight;
    BYTE *pColour = nullptr, *pAlpha = nullptr, *pDest = nullptr;
    HBITMAP hColour = Create24(hDest, w, h, &pColour);
    HBITMAP hAlpha = Create24(hDest, w, h, &pAlpha);
    HBITMAP hDestCopy = Create24(hDest, w, h, &pDest);
    HDC hSrc = ::CreateCompatibleDC(hDest);
    HDC hWork = ::CreateCompatibleDC(hDest);
    if (hColour != NULL && hAlpha != NULL && hDestCopy != NULL && hSrc != NULL && hWork != NULL) {
        HGDIOBJ hOldSrc = ::SelectObject(hSrc, m_hStrip);
        HGDIOBJ hOldWork = ::SelectObject(hWork, hColour);
        ::BitBlt(hWork, 0, 0, w, h, hSrc, nFrameX, 0, SRCCOPY);
        ::SelectObject(hWork, hAlpha);
        ::BitBlt(hWork, 0, 0, w, h, hSrc, widgets::StateAlphaFrameX(w, m_nFrameCount), 0, SRCCOPY);
        ::SelectObject(hWork, hDestCopy);
        ::BitBlt(hWork, 0, 0, w, h, hDest, x, y, SRCCOPY);
        ::GdiFlush();
        const int stride = (w * 3 + 3) & ~3;
        for (int row = 0; row < h; ++row) {
            for (int col = 0; col < w; ++col) {
                const int i = row * stride + col * 3;
                const BYTE a = pAlpha[i];   // the alpha frame's blue byte
                for (int c = 0; c < 3; ++c)
                    pDest[i + c] = widgets::BlendChannel(pDest[i + c], pColour[i + c], a);
            }
        }
        ::BitBlt(hDest, x, y, w, h, hWork, 0, 0, SRCCOPY);
        ::SelectObject(hWork, hOldWork);
        ::SelectObject(hSrc, hOldSrc);
    }
    for (HGDIOBJ hBmp : {(HGDIOBJ)hColour, (HGDIOBJ)hAlpha, (HGDIOBJ)hDestCopy})
        if (hBmp != NULL)
            ::DeleteObject(hBmp);
    if (hSrc != NULL)
        ::DeleteDC(hSrc);
    if (hWork != NULL)
        ::DeleteDC(hWork);
}

void CStateButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if (m_hStrip == NULL || lpDIS == nullptr || m_nFrameWidth <= 0)
        return;
    const int nState = widgets::StateButtonState((lpDIS->itemState & ODS_DISABLED) != 0,
                                                 (lpDIS->itemState & ODS_SELECTED) != 0, m_bHovering != FALSE);
    const int nFrame = widgets::StateFrameToDraw(m_nFirst[nState], m_nRun[nState], &m_nFrameCounter);
    const int nFrameX = m_nFrameWidth * nFrame;
    const int x = lpDIS->rcItem.left, y = lpDIS->rcItem.top;
    if (m_nAlphaMode != 0) {
        AlphaBlendFrame(lpDIS->hDC, x, y, nFrameX);
    } else {
        HDC hSrc = ::CreateCompatibleDC(lpDIS->hDC);
        HGDIOBJ hOld = ::SelectObject(hSrc, m_hStrip);
        ::TransparentBlt(lpDIS->hDC, x, y, m_nFrameWidth, m_nFrameHeight, hSrc, nFrameX, 0, m_nFrameWidth,
                         m_nFrameHeight, kKeyColour);
        ::SelectObject(hSrc, hOld);
        ::DeleteDC(hSrc);
    }
    if (m_szCaption[0] != '\0' && m_hFont != NULL) {
        ::SetBkMode(lpDIS->hDC, TRANSPARENT);
        ::SetTextColor(lpDIS->hDC, m_crCaption);
        HGDIOBJ hOldFont = ::SelectObject(lpDIS->hDC, m_hFont);
        RECT rc = lpDIS->rcItem;
        ::DrawTextA(lpDIS->hDC, m_szCaption, -1, &rc, kCaptionFormat);
        ::SelectObject(lpDIS->hDC, hOldFont);
    }
}

BOOL CStateButton::OnEraseBkgnd(CDC*) { return TRUE; }

void CStateButton::OnDestroy()
{
    if (m_nTimer != -1)
        KillTimer(1);
    m_nTimer = -1;
    m_hRegion = NULL;   // the window frees its region
    CButton::OnDestroy();
}

void CStateButton::OnTimer(UINT_PTR)
{
    ++m_nFrameCounter;
    Invalidate(FALSE);
}

void CStateButton::SetHover(BOOL bHover)
{
    if (bHover) {
        m_bHovering = TRUE;
        SetCapture();
        if (m_hCursor != NULL)
            ::SetCursor(m_hCursor);
    } else {
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        m_bHovering = FALSE;
    }
    RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CStateButton::OnMouseMove(UINT nFlags, CPoint point)
{
    RECT rc;
    GetClientRect(&rc);
    if (::PtInRect(&rc, point)) {
        if (::GetCapture() != m_hWnd && !(nFlags & MK_LBUTTON))
            SetHover(TRUE);
    } else if (m_bHovering) {
        SetHover(FALSE);
    }
    Default();
}

void CStateButton::OnLButtonDown(UINT, CPoint)
{
    if (!m_bHovering)
        SetHover(TRUE);
    Default();
}

void CStateButton::OnLButtonUp(UINT, CPoint)
{
    Default();
    SetHover(FALSE);
}

void CStateButton::OnKillFocus(CWnd*)
{
    Default();
    SetHover(FALSE);
}
