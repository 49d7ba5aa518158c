#include "TextBalloonWnd.h"

using namespace kit;

namespace {

const COLORREF kUnset = 0xFFFFFFFF;
const COLORREF kDefaultText = RGB(255, 255, 0);   // 0x00FFFF
const COLORREF kDefaultBox = RGB(0, 0, 0);
const int kCornerEllipse = 14;
const int kTextInset = 3;
const int kBalloonGrowth = 6;

}  // namespace

// ---- One balloon -------------------------------------------------------------------------

CTextBalloon::~CTextBalloon()
{
    Release();
}

void CTextBalloon::Release()
{
    if (m_hMemDC != NULL) {
        ::SelectObject(m_hMemDC, m_hOldBitmap);
        ::DeleteDC(m_hMemDC);
        m_hMemDC = NULL;
    }
    if (m_hBitmap != NULL) {
        ::DeleteObject(m_hBitmap);
        m_hBitmap = NULL;
    }
    if (m_hPen != NULL) {
        ::DeleteObject(m_hPen);
        m_hPen = NULL;
    }
    if (m_hBrush != NULL) {
        ::DeleteObject(m_hBrush);
        m_hBrush = NULL;
    }
    m_font.DeleteObject();
}

BOOL CTextBalloon::Start(LPCSTR lpszText, CWnd* pParent, int nStartPct, int nEndPct, int nCentreX, int nDisplayMs,
                         CFont* pFont, COLORREF crText, COLORREF crBox)
{
    if (lpszText == NULL || *lpszText == '\0' || pParent == NULL || !::IsWindow(pParent->GetSafeHwnd()))
        return FALSE;
    Release();
    m_strText = lpszText;
    m_pParent = pParent;
    CRect rcParent;
    pParent->GetClientRect(&rcParent);
    if (nStartPct == 0)
        nStartPct = kBalloonDefaultStartPct;
    if (nEndPct == 0)
        nEndPct = kBalloonDefaultEndPct;
    if (nCentreX == 0)
        nCentreX = rcParent.Width() / 2;
    m_crText = crText;
    m_crBox = crBox;

    LOGFONT lf = {};
    if (pFont != NULL && pFont->GetSafeHandle() != NULL)
        pFont->GetLogFont(&lf);
    else
        ::GetObject(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    m_font.CreateFontIndirect(&lf);
    m_hPen = ::CreatePen(PS_SOLID, 1, m_crBox);
    m_hBrush = ::CreateSolidBrush(m_crBox);

    // The text's box, measured by drawing it into a path.
    HDC hScreen = ::GetDC(NULL);
    m_hMemDC = ::CreateCompatibleDC(hScreen);
    HGDIOBJ hOldFont = ::SelectObject(m_hMemDC, m_font.GetSafeHandle());
    ::SetBkMode(m_hMemDC, TRANSPARENT);
    RECT box = {0, 0, 0, 0};
    if (::BeginPath(m_hMemDC)) {
        ::TextOutA(m_hMemDC, 0, 0, m_strText, m_strText.GetLength());
        ::EndPath(m_hMemDC);
        HRGN hRegion = ::PathToRegion(m_hMemDC);
        if (hRegion != NULL) {
            ::GetRgnBox(hRegion, &box);
            ::DeleteObject(hRegion);
        }
    }
    if (box.right <= 0 || box.bottom <= 0) {
        SIZE s = {0, 0};
        ::GetTextExtentPoint32A(m_hMemDC, m_strText, m_strText.GetLength(), &s);
        box = {0, 0, s.cx, s.cy};
    }
    ::SelectObject(m_hMemDC, hOldFont);
    const int w = box.right + kBalloonGrowth, h = box.bottom + kBalloonGrowth;
    m_hBitmap = ::CreateCompatibleBitmap(hScreen, w, h);
    ::ReleaseDC(NULL, hScreen);
    if (m_hBitmap == NULL) {
        Release();
        return FALSE;
    }
    m_hOldBitmap = ::SelectObject(m_hMemDC, m_hBitmap);

    const int top = rcParent.Height() * nEndPct / 100;
    m_rcStart = CRect(nCentreX - w / 2, top, nCentreX - w / 2 + w, top + h);
    m_rcCurrent = m_rcPrevious = m_rcStart;
    m_timing = ComputeBalloonTiming(nDisplayMs, rcParent.Height(), nStartPct, nEndPct);
    m_nStep = 0;
    m_bFinished = FALSE;
    pParent->InvalidateRect(&m_rcCurrent, FALSE);
    return TRUE;
}

BOOL CTextBalloon::Tick()
{
    if (m_bFinished)
        return FALSE;
    m_nStep++;
    m_rcPrevious = m_rcCurrent;
    const BOOL bParent = m_pParent != NULL && ::IsWindow(m_pParent->GetSafeHwnd());
    if (m_nStep > m_timing.steps || !bParent) {
        m_bFinished = TRUE;
        if (bParent)
            m_pParent->InvalidateRect(&m_rcPrevious, FALSE);
        Release();
        return FALSE;
    }
    m_rcCurrent = m_rcStart;
    m_rcCurrent.OffsetRect(0, -BalloonRise(m_nStep, m_timing));
    CRect both;
    both.UnionRect(&m_rcPrevious, &m_rcCurrent);
    m_pParent->InvalidateRect(&both, FALSE);
    return TRUE;
}

void CTextBalloon::Draw(CDC* pDC)
{
    if (m_bFinished || m_hMemDC == NULL || pDC == NULL)
        return;
    const int w = m_rcCurrent.Width(), h = m_rcCurrent.Height();
    ::BitBlt(m_hMemDC, 0, 0, w, h, pDC->GetSafeHdc(), m_rcCurrent.left, m_rcCurrent.top, SRCCOPY);
    HGDIOBJ hOldPen = ::SelectObject(m_hMemDC, m_hPen);
    HGDIOBJ hOldBrush = ::SelectObject(m_hMemDC, m_hBrush);
    ::RoundRect(m_hMemDC, 0, 0, w, h, kCornerEllipse, kCornerEllipse);
    ::SelectObject(m_hMemDC, hOldBrush);
    ::SelectObject(m_hMemDC, hOldPen);
    HGDIOBJ hOldFont = ::SelectObject(m_hMemDC, m_font.GetSafeHandle());
    ::SetBkMode(m_hMemDC, TRANSPARENT);
    ::SetTextColor(m_hMemDC, m_crText);
    ::TextOutA(m_hMemDC, kTextInset, kTextInset, m_strText, m_strText.GetLength());
    ::SelectObject(m_hMemDC, hOldFont);
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, (BYTE)GetAlpha(), 0};
    ::AlphaBlend(pDC->GetSafeHdc(), m_rcCurrent.left, m_rcCurrent.top, w, h, m_hMemDC, 0, 0, w, h, blend);
}

// ---- The window --------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CTextBalloonWnd, CStatic)

BEGIN_MESSAGE_MAP(CTextBalloonWnd, CStatic)
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

BOOL CTextBalloonWnd::AddText(LPCSTR lpszText)
{
    if (lpszText == NULL || *lpszText == '\0')
        return FALSE;
    return Enqueue(lpszText);
}

BOOL CTextBalloonWnd::AddTextId(UINT nStringId)
{
    CString s;
    if (!s.LoadString(nStringId) || s.IsEmpty())
        return FALSE;
    return Enqueue(s);
}

BOOL CTextBalloonWnd::Enqueue(LPCSTR lpszText)
{
    if (!m_ring.Enqueue(lpszText))
        return FALSE;
    ShowNext();
    StartTimer();
    return TRUE;
}

void CTextBalloonWnd::SetPlacement(int nStartPct, int nEndPct, int nCentreX)
{
    m_nStartPct = nStartPct;
    m_nEndPct = nEndPct;
    m_nCentreX = nCentreX;
}

void CTextBalloonWnd::SetFont(CFont* pFont)
{
    LOGFONT lf;
    if (pFont == NULL || !pFont->GetLogFont(&lf))
        return;
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&lf);
}

void CTextBalloonWnd::EnsureFont()
{
    if (m_font.GetSafeHandle() != NULL)
        return;
    LOGFONT lf = {};
    HWND hParent = ::GetParent(m_hWnd);
    HFONT hParentFont = hParent != NULL ? (HFONT)::SendMessage(hParent, WM_GETFONT, 0, 0) : NULL;
    ::GetObject(hParentFont != NULL ? (HGDIOBJ)hParentFont : ::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lf.lfHeight = -20;
    lf.lfWeight = 1000;
    lstrcpynA(lf.lfFaceName, "楷体_GB2312", LF_FACESIZE);
    m_font.CreateFontIndirect(&lf);
}

void CTextBalloonWnd::ShowNext()
{
    const char* text = m_ring.Peek();
    if (text == nullptr)
        return;
    if (m_nNewest >= 0) {
        const CTextBalloon& newest = m_items[m_nNewest];
        const CRect rc = newest.GetStartRect();
        if (!newest.IsFinished() && !NextBalloonMayStart(newest.GetRisen(), rc.Height()))
            return;
    }
    if (!m_items[m_nNext].IsFinished())
        return;   // ten in flight: the text waits
    EnsureFont();
    CWnd* pParent = GetParent();
    const BOOL bStarted = m_items[m_nNext].Start(text, pParent, m_nStartPct, m_nEndPct, m_nCentreX,
                                                 WindowDisplayTime(m_nDisplayMs), &m_font,
                                                 m_crText == kUnset ? kDefaultText : m_crText,
                                                 m_crBox == kUnset ? kDefaultBox : m_crBox);
    m_ring.Pop();
    if (bStarted) {
        m_nNewest = m_nNext;
        m_nNext = (m_nNext + 1) % kBalloonSlots;
        StartTimer();
    }
}

void CTextBalloonWnd::StartTimer()
{
    if (m_hWnd != NULL && !m_bTimer && SetTimer(kBalloonTimerId, kBalloonTickMs))
        m_bTimer = TRUE;
}

void CTextBalloonWnd::StopTimer()
{
    if (m_bTimer && m_hWnd != NULL)
        KillTimer(kBalloonTimerId);
    m_bTimer = FALSE;
}

BOOL CTextBalloonWnd::IsBusy() const
{
    for (const CTextBalloon& b : m_items)
        if (!b.IsFinished())
            return TRUE;
    return FALSE;
}

void CTextBalloonWnd::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kBalloonTimerId) {
        CStatic::OnTimer(nIDEvent);
        return;
    }
    ShowNext();
    CRect all(0, 0, 0, 0);
    for (CTextBalloon& b : m_items) {
        if (b.IsFinished())
            continue;
        if (b.Tick()) {
            const CRect r = b.GetRect();
            all.UnionRect(&all, &r);
        }
    }
    CWnd* pParent = GetParent();
    if (!all.IsRectEmpty() && pParent != NULL)
        pParent->InvalidateRect(&all, FALSE);
    if (!IsBusy() && m_ring.Empty())
        StopTimer();
}

void CTextBalloonWnd::Paint(CDC* pDC)
{
    for (CTextBalloon& b : m_items)
        b.Draw(pDC);
}

void CTextBalloonWnd::OnDestroy()
{
    StopTimer();
    CStatic::OnDestroy();
}
