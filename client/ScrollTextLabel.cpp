#include "ScrollTextLabel.h"

#include <ctime>

#include <shellapi.h>

#include "net/SystemMessageBodies.h"

namespace {

constexpr UINT_PTR kScrollTimer = 1;
constexpr UINT_PTR kClockTimer = 2;
constexpr UINT kClockMs = 500;

void ShellOpen(LPCSTR lpszAddress) { ::ShellExecuteA(NULL, "open", lpszAddress, NULL, NULL, SW_SHOW); }
CScrollTextLabel::OpenLinkRoutine g_openLink = ShellOpen;

std::tm LocalNow()
{
    const time_t now = time(NULL);
    std::tm when{};
    localtime_s(&when, &now);
    return when;
}

}  // namespace

BEGIN_MESSAGE_MAP(CScrollTextLabel, CStatic)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
    ON_WM_LBUTTONUP()
    ON_WM_SETCURSOR()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CScrollTextLabel::CScrollTextLabel() = default;

CScrollTextLabel::~CScrollTextLabel()
{
    if (m_cacheDC.GetSafeHdc() != NULL && m_pOldCacheBitmap != NULL)
        m_cacheDC.SelectObject(m_pOldCacheBitmap);
}

CScrollTextLabel::OpenLinkRoutine CScrollTextLabel::SetOpenLinkRoutine(OpenLinkRoutine routine)
{
    OpenLinkRoutine previous = g_openLink;
    g_openLink = routine != NULL ? routine : ShellOpen;
    return previous;
}

void CScrollTextLabel::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    CString text;
    GetWindowText(text);
    m_strText = text;
}

int CScrollTextLabel::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CStatic::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (lpCreateStruct->lpszName != NULL && !IS_INTRESOURCE(lpCreateStruct->lpszName))
        m_strText = lpCreateStruct->lpszName;
    return 0;
}

void CScrollTextLabel::SetText(LPCSTR lpszText)
{
    const CString text = lpszText != NULL ? lpszText : "";
    if (text == m_strText)
        return;
    m_strText = text;
    m_bPlaced = FALSE;
    m_bMeasured = FALSE;
    if (GetSafeHwnd() != NULL)
        Invalidate();
}

void CScrollTextLabel::SetTextColor(COLORREF colour)
{
    m_crNormal = m_crCurrent = colour;
    if (GetSafeHwnd() != NULL)
        Invalidate();
}

void CScrollTextLabel::SetBkColor(COLORREF colour)
{
    m_crBk = colour;
    if (GetSafeHwnd() != NULL)
        Invalidate();
}

void CScrollTextLabel::SetTransparent(BOOL bTransparent)
{
    m_bTransparent = bTransparent;
    if (GetSafeHwnd() != NULL)
        Invalidate();
}

void CScrollTextLabel::SetFont(int nHeight, LPCSTR lpszFace, int nWeight)
{
    m_ownFont.DeleteObject();
    m_ownFont.CreateFont(nHeight, 0, 0, 0, nWeight, FALSE, FALSE, 0, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, lpszFace);
    m_bWindowFont = FALSE;
    m_bMeasured = FALSE;
}

void CScrollTextLabel::SetFontHeight(int nHeight)
{
    LOGFONT lf = {};
    CFont* font = GetSafeHwnd() != NULL ? GetFont() : NULL;
    if (font == NULL || !font->GetLogFont(&lf))
        ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    lf.lfHeight = nHeight;
    lf.lfWidth = 0;
    m_ownFont.DeleteObject();
    m_ownFont.CreateFontIndirect(&lf);
    m_bWindowFont = FALSE;
    m_bMeasured = FALSE;
}

void CScrollTextLabel::SetRect(int left, int top, int right, int bottom)
{
    m_background.SetRect(left, top, right, bottom);
    m_bCached = FALSE;
}

void CScrollTextLabel::SetBackBitmap(CQVBitmap* pBitmap, int x, int y)
{
    m_pBitmap = pBitmap;
    m_bUseBitmap = pBitmap != NULL && pBitmap->IsLoaded();
    m_bitmapOffset = CPoint(x, y);
    m_bCached = FALSE;
}

void CScrollTextLabel::ResetBackground()
{
    if (!m_bUseBitmap)
        m_bCached = FALSE;
    if (GetSafeHwnd() != NULL)
        Invalidate();
}

void CScrollTextLabel::StartScroll(int nStep, UINT nInterval)
{
    m_timer.step = nStep;
    m_timer.interval = nInterval;
    m_timer.running = true;
    m_bPositioned = TRUE;
    m_bPlaced = TRUE;
    m_bStopped = FALSE;
    if (GetSafeHwnd() != NULL)
        SetTimer(kScrollTimer, nInterval, NULL);
}

void CScrollTextLabel::StopScroll()
{
    m_bPositioned = TRUE;
    m_timer.running = false;
    if (GetSafeHwnd() != NULL)
        KillTimer(kScrollTimer);
    m_bStopped = TRUE;
}

void CScrollTextLabel::CentreHorizontally()
{
    m_bCentreX = TRUE;
    if (GetSafeHwnd() != NULL)
        Invalidate();
}

void CScrollTextLabel::CentreVertically()
{
    m_bCentreY = TRUE;
    if (GetSafeHwnd() != NULL)
        Invalidate();
}

void CScrollTextLabel::ShowClock(BOOL bClock)
{
    m_bClock = bClock;
    SetText(ClockText(LocalNow(), bClock != FALSE).c_str());
    if (bClock && GetSafeHwnd() != NULL)
        SetTimer(kClockTimer, kClockMs, NULL);
    CentreHorizontally();
    CentreVertically();
}

void CScrollTextLabel::Measure(CDC* pDC)
{
    const std::vector<std::string> lines = TextLines((LPCSTR)m_strText);
    TEXTMETRIC tm = {};
    pDC->GetTextMetrics(&tm);
    m_nLineHeight = tm.tmHeight + tm.tmExternalLeading;
    m_nTextWidth = 0;
    for (const std::string& line : lines) {
        const CSize size = pDC->GetTextExtent(line.c_str(), (int)line.size());
        if (size.cx > m_nTextWidth)
            m_nTextWidth = size.cx;
    }
    m_nTextHeight = lines.size() == 1 ? pDC->GetTextExtent(m_strText).cy : m_nLineHeight * (int)lines.size();
    m_bMeasured = TRUE;
}

BOOL CScrollTextLabel::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    const CRect back = m_background.IsRectEmpty() ? client : m_background;
    if (!m_bCached) {
        if (m_cacheDC.GetSafeHdc() == NULL)
            m_cacheDC.CreateCompatibleDC(pDC);
        if (m_pOldCacheBitmap != NULL)
            m_cacheDC.SelectObject(m_pOldCacheBitmap);
        m_cacheBitmap.DeleteObject();
        m_cacheBitmap.CreateCompatibleBitmap(pDC, back.Width() > 0 ? back.Width() : 1, back.Height() > 0 ? back.Height() : 1);
        m_pOldCacheBitmap = m_cacheDC.SelectObject(&m_cacheBitmap);
        if (m_bUseBitmap && m_pBitmap != NULL) {
            CDC source;
            source.CreateCompatibleDC(pDC);
            CBitmap* old = source.SelectObject(m_pBitmap);
            m_cacheDC.BitBlt(0, 0, back.Width(), back.Height(), &source, m_bitmapOffset.x, m_bitmapOffset.y, SRCCOPY);
            source.SelectObject(old);
        } else {
            m_cacheDC.BitBlt(0, 0, back.Width(), back.Height(), pDC, 0, 0, SRCCOPY);
        }
        m_bCached = TRUE;
    }
    if (m_bTransparent)
        pDC->BitBlt(0, 0, back.Width(), back.Height(), &m_cacheDC, 0, 0, SRCCOPY);
    else
        pDC->FillSolidRect(&client, m_crBk);

    CFont* font = m_bWindowFont ? GetFont() : &m_ownFont;
    CFont* oldFont = font != NULL && font->GetSafeHandle() != NULL ? pDC->SelectObject(font) : NULL;
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(m_crCurrent);
    pDC->IntersectClipRect(&client);
    const std::vector<std::string> lines = TextLines((LPCSTR)m_strText);
    if (!m_bMeasured)
        Measure(pDC);
    if (m_bCentreX)
        m_nStartX = (client.Width() - m_nTextWidth) / 2;
    if (m_bCentreY)
        m_nStartY = (client.Height() - m_nTextHeight) / 2;
    if (!m_bPlaced) {
        m_x = m_nStartX;
        m_y = m_nStartY;
        m_bPlaced = TRUE;
    }
    if (lines.size() == 1) {
        if (m_bPositioned) {
            pDC->TextOut(m_x, m_y, m_strText);
        } else {
            CRect r = client;
            pDC->DrawText(m_strText, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        }
    } else {
        int y = m_bPositioned ? m_y : m_nStartY;
        const int x = m_bPositioned ? m_x : m_nStartX;
        for (const std::string& line : lines) {
            pDC->TextOut(x, y, line.c_str(), (int)line.size());
            y += m_nLineHeight;
        }
    }
    if (oldFont != NULL)
        pDC->SelectObject(oldFont);
    return TRUE;
}

void CScrollTextLabel::OnPaint()
{
    ValidateRect(NULL);
}

void CScrollTextLabel::ScrollOnce()
{
    if (!m_bMeasured)
        return;
    CRect client;
    GetClientRect(&client);
    const ScrollBox box = {client.left, client.top, client.right, client.bottom};
    ScrollTick(m_nDirection, m_timer.step, m_nTextWidth, m_nTextHeight, box, &m_x, &m_y);
    Invalidate();
}

void CScrollTextLabel::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kScrollTimer) {
        ScrollOnce();
    } else if (nIDEvent == kClockTimer) {
        SetText(ClockText(LocalNow(), true).c_str());
        Invalidate();
    } else {
        CStatic::OnTimer(nIDEvent);
    }
}

void CScrollTextLabel::UseWindowFont(BOOL bUnderline)
{
    LOGFONT lf = {};
    CFont* font = GetFont();
    if (font == NULL || !font->GetLogFont(&lf))
        return;
    lf.lfUnderline = (BYTE)(bUnderline ? 1 : 0);
    m_hoverFont.DeleteObject();
    if (m_hoverFont.CreateFontIndirect(&lf)) {
        m_ownFont.DeleteObject();
        m_ownFont.Attach(m_hoverFont.Detach());
        m_bWindowFont = FALSE;
    }
}

void CScrollTextLabel::OnMouseEnterLabel()
{
    m_bHover = TRUE;
    ScrollOnMouseEnter(m_timer, m_bPauseOnHover != FALSE);
    if (m_bPauseOnHover)
        KillTimer(kScrollTimer);
    m_crCurrent = m_crHover;
    UseWindowFont(TRUE);
    m_bMeasured = FALSE;
    Invalidate();
}

void CScrollTextLabel::OnMouseLeaveLabel()
{
    m_bHover = FALSE;
    ScrollOnMouseLeave(m_timer, m_bPauseOnHover != FALSE);
    if (m_bPauseOnHover)
        SetTimer(kScrollTimer, m_timer.interval, NULL);
    m_crCurrent = m_crNormal;
    UseWindowFont(m_bKeepUnderline);
    m_bMeasured = FALSE;
    Invalidate();
}

void CScrollTextLabel::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bHover) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&track);
        OnMouseEnterLabel();
    }
    CStatic::OnMouseMove(nFlags, point);
}

LRESULT CScrollTextLabel::OnMouseLeave(WPARAM, LPARAM)
{
    OnMouseLeaveLabel();
    return 0;
}

BOOL CScrollTextLabel::OpenLink()
{
    if (m_strLink.IsEmpty())
        return FALSE;
    if (!IsWebAddress((LPCSTR)m_strLink))
        return FALSE;
    g_openLink(m_strLink);
    return TRUE;
}

void CScrollTextLabel::OnLButtonUp(UINT nFlags, CPoint point)
{
    OpenLink();
    CStatic::OnLButtonUp(nFlags, point);
}

BOOL CScrollTextLabel::OnSetCursor(CWnd*, UINT, UINT)
{
    ::SetCursor(::LoadCursor(NULL, IDC_HAND));
    return TRUE;
}

void CScrollTextLabel::OnDestroy()
{
    if (!m_bStopped)
        KillTimer(kScrollTimer);
    KillTimer(kClockTimer);
    CStatic::OnDestroy();
}
