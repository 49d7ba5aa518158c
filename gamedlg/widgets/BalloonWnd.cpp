#include "BalloonWnd.h"

#include <cstring>
#include <cstdio>

namespace {

HFONT CreateBalloonFont(int nHeight, int nWeight)
{
    LOGFONTA lf = {};
    lf.lfHeight = nHeight;
    lf.lfWeight = nWeight;
    lf.lfCharSet = 134;
    lf.lfOutPrecision = 3;
    lf.lfClipPrecision = 2;
    lf.lfQuality = 1;
    lf.lfPitchAndFamily = 2;
    strcpy(lf.lfFaceName, "宋体");
    return ::CreateFontIndirectA(&lf);
}

HFONT CopyFont(HFONT hFont)
{
    LOGFONTA lf;
    if (hFont == NULL || ::GetObjectA(hFont, sizeof lf, &lf) != sizeof lf)
        return NULL;
    return ::CreateFontIndirectA(&lf);
}

BALLOONSTYLE DefaultStyle()
{
    BALLOONSTYLE s;
    s.nHideDelay = 2000;
    s.nFrameWidth = 1;
    s.crFrame = 0xA0A0A0;
    s.crText = 0x000000;
    s.crFill = 0x141414;
    s.nWidth = 150;
    s.nHeight = -1;
    s.nMinWidth = 20;
    s.nMinHeight = 20;
    s.nTailBase = 12;
    s.nTailOffset = 16;
    s.nMarginX = 8;
    s.nMarginY = 8;
    s.nCornerWidth = 12;
    s.nCornerHeight = 12;
    s.nShadowDy = 0;
    s.nShadowDx = 0;
    s.nShadowPercent = 25;
    s.nLineSpacing = 8;
    return s;
}

}  // namespace

BEGIN_MESSAGE_MAP(CBalloonWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSEHOVER, OnMouseHoverMsg)
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeaveMsg)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CBalloonWnd::CBalloonWnd()
    : m_bShown(FALSE), m_nAlphaPercent(70), m_hCurrentFont(NULL), m_hFont0(NULL), m_hFont1(NULL),
      m_hBodyRgn(::CreateRectRgn(0, 0, 0, 0)), m_hShadowRgn(::CreateRectRgn(0, 0, 0, 0)), m_pParent(nullptr),
      m_bSingleLine(TRUE), m_style(DefaultStyle()), m_ptBodyOrigin{0, 0}, m_ptAnchor{0, 0}, m_ptTarget{0, 0},
      m_ptWindowPos{0, 0}, m_ptWindowOrigin{0, 0}, m_nCorner(0), m_nContentWidth(0), m_nContentHeight(0),
      m_nTailPlacement(7), m_nCharWidth(0), m_nLineHeight(0), m_rcText{0, 0, 0, 0},
      m_strLinkText("<A href=\"http://www.mardavel.com/\">---Default URL---</A>")
{
}

CBalloonWnd::~CBalloonWnd()
{
    if (m_hWnd != NULL)
        DestroyWindow();
    for (HGDIOBJ h : {(HGDIOBJ)m_hCurrentFont, (HGDIOBJ)m_hFont0, (HGDIOBJ)m_hFont1, (HGDIOBJ)m_hBodyRgn,
                      (HGDIOBJ)m_hShadowRgn})
        if (h != NULL)
            ::DeleteObject(h);
}

BOOL CBalloonWnd::Create(CWnd* pParent)
{
    m_pParent = pParent;
    const BOOL bCreated = m_hWnd != NULL ||
        CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_SYSMENU, 0, 0, 0, 0, pParent->GetSafeHwnd(), NULL);
    if (m_hFont0 == NULL)
        m_hFont0 = CreateBalloonFont(12, 400);
    if (m_hFont1 == NULL)
        m_hFont1 = CreateBalloonFont(14, 450);
    if (m_hCurrentFont == NULL)
        m_hCurrentFont = CopyFont(m_hFont1);
    if (bCreated && m_linkLabel.m_hWnd == NULL) {
        m_linkLabel.Create("", WS_CHILD, CRect(0, 0, 0, 0), this, 1);
        m_linkLabel.SetLinkColour(0xFF8000);
    }
    return bCreated;
}

// ---- Setters ------------------------------------------------------------------------------------------

BOOL CBalloonWnd::SetAlphaPercent(UINT nPercent)
{
    if (nPercent > 100)
        return FALSE;
    m_nAlphaPercent = nPercent;
    return TRUE;
}

BOOL CBalloonWnd::SelectFont(int nIndex)
{
    HFONT hSource = nIndex == 0 ? m_hFont0 : nIndex == 1 ? m_hFont1 : NULL;
    if (hSource == NULL)
        return FALSE;
    HFONT hCopy = CopyFont(hSource);
    if (hCopy == NULL)
        return FALSE;
    if (m_hCurrentFont != NULL)
        ::DeleteObject(m_hCurrentFont);
    m_hCurrentFont = hCopy;
    return TRUE;
}

void CBalloonWnd::SetMinSize(int cx, int cy)
{
    if (cx > 0)
        m_style.nMinWidth = cx;
    if (cy > 0)
        m_style.nMinHeight = cy;
}

BOOL CBalloonWnd::SetSize(int cx, int cy)
{
    if (cx < 1 || cy < -1)
        return FALSE;
    m_style.nWidth = cx > m_style.nMinWidth ? cx : m_style.nMinWidth;
    m_style.nHeight = cy == -1 ? -1 : cy > m_style.nMinHeight ? cy : m_style.nMinHeight;
    return TRUE;
}

void CBalloonWnd::SetMargins(int x, int y)
{
    if (x != 0)
        m_style.nMarginX = x;
    if (y != 0)
        m_style.nMarginY = y;
}

void CBalloonWnd::SetCorner(int cx, int cy)
{
    if (cx != 0)
        m_style.nCornerWidth = cx;
    if (cy != 0)
        m_style.nCornerHeight = cy;
}

void CBalloonWnd::SetShadow(int dx, int dy, int nPercent)
{
    m_style.nShadowDx = dx;
    m_style.nShadowDy = dy;
    m_style.nShadowPercent = nPercent;
}

void CBalloonWnd::SetTailValues(int nBase, int nOffset)
{
    m_style.nTailBase = nBase;
    m_style.nTailOffset = nOffset;
}

void CBalloonWnd::UpdateTailValues(int nBase, int nOffset)
{
    if (nBase != 0)
        m_style.nTailBase = nBase;
    m_style.nTailOffset = nOffset;
}

widgets::BalloonMetrics CBalloonWnd::Metrics() const
{
    widgets::BalloonMetrics m;
    m.width = m_style.nWidth;
    m.height = m_style.nHeight;
    m.minWidth = m_style.nMinWidth;
    m.minHeight = m_style.nMinHeight;
    m.marginX = m_style.nMarginX;
    m.marginY = m_style.nMarginY;
    m.lineSpacing = m_style.nLineSpacing;
    return m;
}

// ---- Showing ------------------------------------------------------------------------------------------------

void CBalloonWnd::ApplyAlpha()
{
    ModifyStyleEx(WS_EX_LAYERED, 0);
    ModifyStyleEx(0, WS_EX_LAYERED);
    typedef BOOL(WINAPI * SetLayeredProc)(HWND, COLORREF, BYTE, DWORD);
    HMODULE hUser = ::LoadLibraryA("User32.DLL");
    if (hUser == NULL)
        return;
    auto pfn = reinterpret_cast<SetLayeredProc>(
        reinterpret_cast<void (*)()>(::GetProcAddress(hUser, "SetLayeredWindowAttributes")));
    if (pfn != nullptr)
        pfn(m_hWnd, 0, (BYTE)(m_nAlphaPercent * 255 / 100), LWA_ALPHA);
    ::FreeLibrary(hUser);
}

void CBalloonWnd::Layout(HDC hDC)
{
    HGDIOBJ hOld = m_hCurrentFont != NULL ? ::SelectObject(hDC, m_hCurrentFont) : NULL;
    SIZE a = {0, 0};
    ::GetTextExtentPoint32A(hDC, "a", 1, &a);
    auto measure = [hDC](const std::string& s) {
        SIZE size = {0, 0};
        ::GetTextExtentPoint32A(hDC, s.data(), (int)s.size(), &size);
        return widgets::TextExtent{size.cx, size.cy};
    };
    const std::string text((LPCSTR)m_strText, (size_t)m_strText.GetLength());
    const widgets::BalloonLayout r =
        widgets::LayoutBalloonText(text, Metrics(), a.cx, !m_strLinkText.IsEmpty(), measure);
    if (hOld != NULL)
        ::SelectObject(hDC, hOld);
    if (a.cx <= 0)
        return;   // nothing can be laid out: nothing changes
    m_strText = CString(r.text.c_str());   // the cut lines, even when no layout follows
    if (!r.ok)
        return;   // the previous sizes stay
    m_nCharWidth = a.cx;
    m_nLineHeight = a.cy;
    m_bSingleLine = r.singleLine;
    m_nContentWidth = r.contentWidth;
    m_nContentHeight = r.contentHeight;
    m_rcText = RECT{r.textRect.left, r.textRect.top, r.textRect.right, r.textRect.bottom};
}

void CBalloonWnd::BuildRegion()
{
    const widgets::Pt body = widgets::BalloonBodyOrigin(m_nCorner, widgets::Pt{m_ptAnchor.x, m_ptAnchor.y},
                                                        m_nContentWidth, m_nContentHeight);
    m_ptBodyOrigin = POINT{body.x, body.y};
    const widgets::BalloonTail tail =
        widgets::ComputeBalloonTail(body, m_nContentWidth, m_nContentHeight, widgets::Pt{m_ptTarget.x, m_ptTarget.y},
                                    m_style.nTailBase, m_style.nTailOffset);
    m_nTailPlacement = tail.placement;
    m_ptWindowOrigin = POINT{tail.origin.x, tail.origin.y};

    HRGN hBody = ::CreateRoundRectRgn(tail.body.left, tail.body.top, tail.body.right, tail.body.bottom,
                                      m_style.nCornerWidth, m_style.nCornerHeight);
    const POINT tri[3] = {{tail.triangle[0].x, tail.triangle[0].y}, {tail.triangle[1].x, tail.triangle[1].y},
                          {tail.triangle[2].x, tail.triangle[2].y}};
    HRGN hTail = ::CreatePolygonRgn(tri, 3, ALTERNATE);
    ::CombineRgn(m_hBodyRgn, hBody, hTail, RGN_OR);
    ::DeleteObject(hBody);
    ::DeleteObject(hTail);
    ::CombineRgn(m_hShadowRgn, m_hBodyRgn, NULL, RGN_COPY);
    ::OffsetRgn(m_hShadowRgn, m_style.nShadowDx, m_style.nShadowDy);
    ::CombineRgn(m_hShadowRgn, m_hShadowRgn, m_hBodyRgn, RGN_DIFF);
    ::OffsetRect(&m_rcText, tail.body.left, tail.body.top);

    HRGN hWindowRgn = ::CreateRectRgn(0, 0, 0, 0);
    ::CombineRgn(hWindowRgn, m_hBodyRgn, m_hShadowRgn, RGN_OR);
    ::SetWindowRgn(m_hWnd, hWindowRgn, TRUE);   // the window owns it now
}

void CBalloonWnd::Popup(const CString& strText, int nAnchorX, int nAnchorY, int nTargetX, int nTargetY, int nCorner)
{
    if (m_hWnd == NULL)
        return;   // never lay out on the screen's context
    m_ptAnchor = POINT{nAnchorX, nAnchorY};
    m_nCorner = nCorner;
    m_ptTarget = POINT{nTargetX, nTargetY};
    HDC hDC = ::GetDC(m_hWnd);
    if (hDC == NULL) {
        m_strText = strText;
        SetTimer(kTimerRetry, 50);
        if (m_style.nHideDelay > 0)
            SetTimer(kTimerHide, (UINT)m_style.nHideDelay);
        return;
    }
    Hide();
    ApplyAlpha();
    m_strText = strText;
    Layout(hDC);
    ::ReleaseDC(m_hWnd, hDC);
    BuildRegion();

    RECT box;
    ::GetRgnBox(m_hBodyRgn, &box);
    const int nWidth = box.right + m_style.nShadowDx;
    const int nHeight = box.bottom + m_style.nShadowDy;
    POINT pos = m_ptWindowOrigin;
    if (m_pParent != nullptr && m_pParent->m_hWnd != NULL)
        ::ClientToScreen(m_pParent->m_hWnd, &pos);
    m_ptWindowPos = pos;
    MoveWindow(pos.x, pos.y, nWidth, nHeight, TRUE);
    ShowWindow(SW_SHOWNOACTIVATE);

    if (!m_strLinkText.IsEmpty() && m_linkLabel.m_hWnd != NULL) {
        m_linkLabel.ResetLinks();
        m_linkLabel.MoveWindow(m_rcText.left + 20, m_rcText.bottom - 20, m_rcText.right - m_rcText.left - 20, 20);
        m_linkLabel.ShowWindow(SW_SHOW);
        m_linkLabel.SetWindowText(m_strLinkText);
    } else if (m_linkLabel.m_hWnd != NULL) {
        m_linkLabel.ShowWindow(SW_HIDE);
    }
    m_bShown = TRUE;
    if (m_style.nHideDelay > 0)
        SetTimer(kTimerHide, (UINT)m_style.nHideDelay);
}

void CBalloonWnd::Hide()
{
    m_strText.Empty();
    ::SetRectEmpty(&m_rcText);
    if (m_hWnd != NULL) {
        KillTimer(kTimerHide);
        ShowWindow(SW_HIDE);
    }
    m_bShown = FALSE;
}

void CBalloonWnd::Reposition(int nCorner, int nAnchorX, int nAnchorY, int nTargetX, int nTargetY)
{
    if (m_hWnd == NULL || !IsWindowVisible())
        return;
    m_nCorner = nCorner;
    m_ptAnchor = POINT{nAnchorX, nAnchorY};
    const widgets::Pt body = widgets::BalloonBodyOrigin(nCorner, widgets::Pt{nAnchorX, nAnchorY}, m_nContentWidth,
                                                        m_nContentHeight);
    const int dx = body.x - m_ptBodyOrigin.x, dy = body.y - m_ptBodyOrigin.y;
    if (nTargetX - m_ptTarget.x == dx && nTargetY - m_ptTarget.y == dy) {
        m_ptBodyOrigin = POINT{body.x, body.y};
        m_ptTarget = POINT{nTargetX, nTargetY};
        m_ptWindowOrigin.x += dx;
        m_ptWindowOrigin.y += dy;
        m_ptWindowPos.x += dx;
        m_ptWindowPos.y += dy;
        SetWindowPos(NULL, m_ptWindowPos.x, m_ptWindowPos.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    const CString strText = m_strText;
    Popup(strText, nAnchorX, nAnchorY, nTargetX, nTargetY, nCorner);
}

// ---- Painting and messages ----------------------------------------------------------------------------------

void CBalloonWnd::OnPaint()
{
    CPaintDC dc(this);
    HDC hDC = dc.m_hDC;
    HBRUSH hFill = ::CreateSolidBrush(m_style.crFill);
    HBRUSH hFrame = ::CreateSolidBrush(m_style.crFrame);
    const int g = ::MulDiv(255, 100 - m_style.nShadowPercent, 100);
    HBRUSH hShadow = ::CreateSolidBrush(RGB(g, g, g));
    ::FillRgn(hDC, m_hBodyRgn, hFill);
    ::FrameRgn(hDC, m_hBodyRgn, hFrame, m_style.nFrameWidth, m_style.nFrameWidth);
    ::FillRgn(hDC, m_hShadowRgn, hShadow);
    ::DeleteObject(hFill);
    ::DeleteObject(hFrame);
    ::DeleteObject(hShadow);

    ::SetBkMode(hDC, TRANSPARENT);
    ::SetTextColor(hDC, m_style.crText);
    HGDIOBJ hOld = m_hCurrentFont != NULL ? ::SelectObject(hDC, m_hCurrentFont) : NULL;
    std::string text((LPCSTR)m_strText, (size_t)m_strText.GetLength());
    if (m_bSingleLine) {
        if (!text.empty() && text.back() == '\n')
            text.pop_back();
        RECT rc = m_rcText;
        ::DrawTextA(hDC, text.c_str(), (int)text.size(), &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    } else {
        const widgets::Rc rc{m_rcText.left, m_rcText.top, m_rcText.right, m_rcText.bottom};
        for (const widgets::PaintLine& line :
             widgets::BreakBalloonLines(text, rc, m_nCharWidth, m_nLineHeight, m_style.nLineSpacing)) {
            RECT rcLine = {m_rcText.left, line.y, m_rcText.right, line.y + m_nLineHeight};
            ::DrawTextA(hDC, line.text.c_str(), (int)line.text.size(), &rcLine, DT_EDITCONTROL);
        }
    }
    if (hOld != NULL)
        ::SelectObject(hDC, hOld);
}

void CBalloonWnd::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kTimerHide) {
        Hide();
    } else if (nIDEvent == kTimerRetry) {
        KillTimer(kTimerRetry);
        const CString strText = m_strText;
        Popup(strText, m_ptAnchor.x, m_ptAnchor.y, m_ptTarget.x, m_ptTarget.y, m_nCorner);
    }
}

void CBalloonWnd::OnLButtonUp(UINT, CPoint) {}

void CBalloonWnd::OnRButtonUp(UINT, CPoint) { Hide(); }

void CBalloonWnd::OnMouseMove(UINT, CPoint)
{
    TRACKMOUSEEVENT tme = {sizeof tme, TME_HOVER | TME_LEAVE, m_hWnd, 1000};
    ::TrackMouseEvent(&tme);
}

LRESULT CBalloonWnd::OnMouseHoverMsg(WPARAM, LPARAM)
{
    ::OutputDebugStringA("BalloonWnd hover\n");
    SetTimer(kTimerHide, 30000);
    return 0;
}

LRESULT CBalloonWnd::OnMouseLeaveMsg(WPARAM, LPARAM)
{
    POINT pt;
    ::GetCursorPos(&pt);
    char szLine[32];
    snprintf(szLine, sizeof szLine, "%d,%d\n", (int)pt.x, (int)pt.y);
    ::OutputDebugStringA(szLine);
    // The text rectangle is in window coordinates: compare in screen coordinates.
    RECT rc = m_rcText;
    ::MapWindowPoints(m_hWnd, NULL, (LPPOINT)&rc, 2);
    if (!::PtInRect(&rc, pt)) {
        ::OutputDebugStringA("BalloonWnd leave\n");
        SetTimer(kTimerHide, 1000);
    }
    return 0;
}

BOOL CBalloonWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->hwnd == m_hWnd && pMsg->message == WM_MOUSEHOVER) {
        OnMouseHoverMsg(pMsg->wParam, pMsg->lParam);
        return TRUE;
    }
    if (pMsg->hwnd == m_hWnd && pMsg->message == WM_MOUSELEAVE) {
        OnMouseLeaveMsg(pMsg->wParam, pMsg->lParam);
        return TRUE;
    }
    return CWnd::PreTranslateMessage(pMsg);
}

void CBalloonWnd::OnDestroy()
{
    KillTimer(kTimerHide);
    KillTimer(kTimerRetry);
    CWnd::OnDestroy();
}
