// ChatBalloonWnd.cpp - see ChatBalloonWnd.h.
#include "ChatBalloonWnd.h"

#include <algorithm>

namespace {

HFONT MakeBalloonFont(int height, int weight)
{
    LOGFONTA lf = {};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = 134;   // GB2312
    lf.lfOutPrecision = 3;
    lf.lfClipPrecision = 2;
    lf.lfQuality = 1;
    lf.lfPitchAndFamily = 2;
    lstrcpynA(lf.lfFaceName, "\xCB\xCE\xCC\xE5", LF_FACESIZE);   // SimSun in code page 936
    return ::CreateFontIndirectA(&lf);
}

HFONT CopyFont(HFONT font)
{
    LOGFONTA lf = {};
    if (font == NULL || ::GetObjectA(font, sizeof lf, &lf) == 0)
        return NULL;
    return ::CreateFontIndirectA(&lf);
}

}  // namespace

BEGIN_MESSAGE_MAP(CChatBalloonWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONUP()
END_MESSAGE_MAP()

CChatBalloonWnd::CChatBalloonWnd()
    : m_bHideOnClick(TRUE), m_bVisible(FALSE), m_nAlpha(70), m_nMode(0), m_hFont(NULL), m_hFont0(NULL),
      m_hFont1(NULL), m_hBody(::CreateRectRgn(0, 0, 0, 0)), m_hShadow(::CreateRectRgn(0, 0, 0, 0)), m_pParent(NULL),
      m_bSingleLine(TRUE), m_nBodyLeft(0), m_nBodyTop(0), m_nAnchorX(0), m_nAnchorY(0), m_nTargetX(0),
      m_nTargetY(0), m_nWindowX(0), m_nWindowY(0), m_nBodyWidth(0), m_nBodyHeight(0), m_rcText(), m_nPlacement(0)
{
}

CChatBalloonWnd::~CChatBalloonWnd()
{
    if (m_hWnd != NULL)
        DestroyWindow();
    for (HFONT f : {m_hFont, m_hFont0, m_hFont1}) {
        if (f != NULL)
            ::DeleteObject(f);
    }
    for (HRGN r : {m_hBody, m_hShadow}) {
        if (r != NULL)
            ::DeleteObject(r);
    }
}

BOOL CChatBalloonWnd::Create(CWnd* parent)
{
    m_pParent = parent;
    const BOOL made = CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_SYSMENU, 0, 0, 0, 0,
                               parent != NULL ? parent->GetSafeHwnd() : NULL, NULL);
    if (m_hFont0 == NULL)
        m_hFont0 = MakeBalloonFont(12, 400);
    if (m_hFont1 == NULL)
        m_hFont1 = MakeBalloonFont(14, 450);
    if (m_hFont != NULL)
        ::DeleteObject(m_hFont);
    m_hFont = CopyFont(m_hFont1);
    return made;
}

void CChatBalloonWnd::SetShadow(int x, int y, int percent)
{
    m_style.shadowX = x;
    m_style.shadowY = y;
    m_style.shadowPercent = percent;
}

void CChatBalloonWnd::SetFrame(COLORREF colour, int width)
{
    m_style.frameColour = colour;
    m_style.frameWidth = width;
}

void CChatBalloonWnd::SelectFont(int index)
{
    if (index != 0 && index != 1)
        return;
    HFONT copy = CopyFont(index == 0 ? m_hFont0 : m_hFont1);
    if (copy == NULL)
        return;
    if (m_hFont != NULL)
        ::DeleteObject(m_hFont);
    m_hFont = copy;
}

void CChatBalloonWnd::Hide()
{
    m_bVisible = FALSE;
    m_text.clear();
    SetRectEmpty(&m_rcText);
    if (m_hWnd != NULL) {
        KillTimer(kHideTimer);
        ShowWindow(SW_HIDE);
    }
}

void CChatBalloonWnd::ApplyAlpha()
{
    ModifyStyleEx(WS_EX_LAYERED, 0);
    ModifyStyleEx(0, WS_EX_LAYERED);
    typedef BOOL(WINAPI * SetLayeredRoutine)(HWND, COLORREF, BYTE, DWORD);
    HMODULE user = ::LoadLibraryA("User32.DLL");
    if (user == NULL)
        return;
    auto routine = reinterpret_cast<SetLayeredRoutine>(
        reinterpret_cast<void (*)()>(::GetProcAddress(user, "SetLayeredWindowAttributes")));
    if (routine != NULL)
        routine(m_hWnd, 0, static_cast<BYTE>(m_nAlpha * 255 / 100), LWA_ALPHA);
    ::FreeLibrary(user);
}

void CChatBalloonWnd::Measure(HDC dc)
{
    HGDIOBJ old = m_hFont != NULL ? ::SelectObject(dc, m_hFont) : NULL;
    SIZE a = {}, whole = {};
    ::GetTextExtentPoint32A(dc, "a", 1, &a);
    ::GetTextExtentPoint32A(dc, m_text.c_str(), static_cast<int>(m_text.size()), &whole);
    const TextWidth width = [dc](const std::string& s) {
        SIZE size = {};
        ::GetTextExtentPoint32A(dc, s.c_str(), static_cast<int>(s.size()), &size);
        return static_cast<int>(size.cx);
    };
    const int cw = a.cx;
    const BalloonStyle& s = m_style;
    WrapResult wrap;
    if (cw > 0)
        wrap = BalloonWrapCount(m_text, s.maxWidth - 2 * s.marginX, cw, width);
    if (old != NULL)
        ::SelectObject(dc, old);
    if (cw == 0 || wrap.lines == 0)
        return;
    const int cx = whole.cx, cy = whole.cy;
    if (wrap.lines == 1) {
        if (cx <= s.minWidth - 2 * s.marginX)
            m_nBodyWidth = s.minWidth;
        else if (cx > s.maxWidth - 2 * s.marginX)
            return;
        else
            m_nBodyWidth = cx + 2 * s.marginX;
        m_nBodyHeight = std::max(cy + 2 * s.marginY, s.minHeight);
        m_bSingleLine = TRUE;
        SetRect(&m_rcText, 0, 0, m_nBodyWidth, m_nBodyHeight);
        return;
    }
    m_bSingleLine = FALSE;
    m_nBodyWidth = std::max(wrap.longest * cw, wrap.widest) + 2 * s.marginX;
    m_nBodyHeight = wrap.lines * (cy + s.lineGap) + 2 * s.marginY;
    m_nBodyHeight = std::max(m_nBodyHeight, s.minHeight);
    if (s.maxHeight != -1)
        m_nBodyHeight = std::min(m_nBodyHeight, s.maxHeight);
    SetRect(&m_rcText, s.marginX, s.marginY, m_nBodyWidth - s.marginX, m_nBodyHeight - s.marginY);
}

void CChatBalloonWnd::BuildShape()
{
    BalloonBodyOrigin(m_nMode, m_nAnchorX, m_nAnchorY, m_nBodyWidth, m_nBodyHeight, &m_nBodyLeft, &m_nBodyTop);
    const BalloonShape shape = BalloonShapeFor(m_nBodyLeft, m_nBodyTop, m_nBodyWidth, m_nBodyHeight, m_nTargetX,
                                               m_nTargetY, m_style.tailWidth, m_style.tailOffset);
    m_nPlacement = shape.placement;
    m_nWindowX = shape.originX;
    m_nWindowY = shape.originY;
    HRGN body = ::CreateRoundRectRgn(shape.bodyLeft, shape.bodyTop, shape.bodyRight, shape.bodyBottom,
                                     m_style.cornerWidth, m_style.cornerHeight);
    const POINT tail[3] = {{shape.tail[0][0], shape.tail[0][1]},
                           {shape.tail[1][0], shape.tail[1][1]},
                           {shape.tail[2][0], shape.tail[2][1]}};
    HRGN triangle = ::CreatePolygonRgn(tail, 3, ALTERNATE);
    ::CombineRgn(m_hBody, body, triangle, RGN_OR);
    ::DeleteObject(body);
    ::DeleteObject(triangle);
    OffsetRect(&m_rcText, shape.bodyLeft, shape.bodyTop);
    ::CombineRgn(m_hShadow, m_hBody, NULL, RGN_COPY);
    ::OffsetRgn(m_hShadow, m_style.shadowX, m_style.shadowY);
    ::CombineRgn(m_hShadow, m_hShadow, m_hBody, RGN_DIFF);
    HRGN window = ::CreateRectRgn(0, 0, 0, 0);
    ::CombineRgn(window, m_hBody, m_hShadow, RGN_OR);
    RECT box;
    ::GetRgnBox(m_hBody, &box);
    POINT at = {m_nWindowX, m_nWindowY};
    if (m_pParent != NULL && m_pParent->GetSafeHwnd() != NULL)
        ::ClientToScreen(m_pParent->GetSafeHwnd(), &at);
    ::SetWindowRgn(m_hWnd, window, FALSE);   // the window owns it now
    MoveWindow(at.x, at.y, box.right + m_style.shadowX, box.bottom + m_style.shadowY, FALSE);
}

void CChatBalloonWnd::Show(LPCSTR text, int ax, int ay, int tx, int ty, int mode)
{
    if (m_hWnd == NULL)
        return;
    m_nAnchorX = ax;
    m_nAnchorY = ay;
    m_nTargetX = tx;
    m_nTargetY = ty;
    m_nMode = mode;
    const std::string shown = text != NULL ? text : "";
    HDC dc = ::GetDC(m_hWnd);
    if (dc == NULL) {
        m_text = shown;
        SetTimer(kRetryTimer, kRetryMs, NULL);
        if (m_style.hideTime > 0)
            SetTimer(kHideTimer, static_cast<UINT>(m_style.hideTime), NULL);
        return;
    }
    Hide();
    ApplyAlpha();
    m_text = shown;
    Measure(dc);
    ::ReleaseDC(m_hWnd, dc);
    BuildShape();
    SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(SW_SHOWNOACTIVATE);
    m_bVisible = TRUE;
    Invalidate(FALSE);
    if (m_style.hideTime > 0)
        SetTimer(kHideTimer, static_cast<UINT>(m_style.hideTime), NULL);
}

void CChatBalloonWnd::Move(int ax, int ay, int tx, int ty, int mode)
{
    if (!m_bVisible || m_hWnd == NULL)
        return;
    int x0 = 0, y0 = 0;
    BalloonBodyOrigin(mode, ax, ay, m_nBodyWidth, m_nBodyHeight, &x0, &y0);
    const int dx = x0 - m_nBodyLeft, dy = y0 - m_nBodyTop;
    if (mode == m_nMode && tx - m_nTargetX == dx && ty - m_nTargetY == dy) {
        m_nAnchorX = ax;
        m_nAnchorY = ay;
        m_nTargetX = tx;
        m_nTargetY = ty;
        m_nBodyLeft = x0;
        m_nBodyTop = y0;
        m_nWindowX += dx;
        m_nWindowY += dy;
        POINT at = {m_nWindowX, m_nWindowY};
        if (m_pParent != NULL && m_pParent->GetSafeHwnd() != NULL)
            ::ClientToScreen(m_pParent->GetSafeHwnd(), &at);
        SetWindowPos(NULL, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    const std::string text = m_text;
    Show(text.c_str(), ax, ay, tx, ty, mode);
}

void CChatBalloonWnd::DrawLines(HDC dc, const RECT& rect)
{
    SIZE a = {}, whole = {};
    ::GetTextExtentPoint32A(dc, "a", 1, &a);
    ::GetTextExtentPoint32A(dc, m_text.c_str(), static_cast<int>(m_text.size()), &whole);
    if (a.cx == 0 || whole.cy == 0)
        return;
    const TextWidth width = [dc](const std::string& s) {
        SIZE size = {};
        ::GetTextExtentPoint32A(dc, s.c_str(), static_cast<int>(s.size()), &size);
        return static_cast<int>(size.cx);
    };
    const std::vector<std::string> lines =
        BalloonShownLines(BalloonLines(m_text, rect.right - rect.left, a.cx, width), rect.bottom - rect.top,
                          whole.cy, m_style.lineGap);
    int y = rect.top;
    for (const std::string& line : lines) {
        RECT r = {rect.left, y, rect.right, rect.bottom};
        ::DrawTextA(dc, line.c_str(), static_cast<int>(line.size()), &r, DT_NOPREFIX);
        y += whole.cy + m_style.lineGap;
    }
}

void CChatBalloonWnd::OnPaint()
{
    CPaintDC paint(this);
    if (!m_bVisible) {
        ShowWindow(SW_HIDE);
        return;
    }
    HDC dc = paint.GetSafeHdc();
    HBRUSH fill = ::CreateSolidBrush(m_style.fillColour);
    HBRUSH frame = ::CreateSolidBrush(m_style.frameColour);
    const int grey = 255 * (100 - m_style.shadowPercent) / 100;
    HBRUSH shadow = ::CreateSolidBrush(RGB(grey, grey, grey));
    ::FillRgn(dc, m_hBody, fill);
    ::FrameRgn(dc, m_hBody, frame, m_style.frameWidth, m_style.frameWidth);
    ::FillRgn(dc, m_hShadow, shadow);
    for (HBRUSH b : {fill, frame, shadow})
        ::DeleteObject(b);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, m_style.textColour);
    HGDIOBJ old = m_hFont != NULL ? ::SelectObject(dc, m_hFont) : NULL;
    if (m_bSingleLine) {
        RECT r = m_rcText;
        ::DrawTextA(dc, m_text.c_str(), static_cast<int>(m_text.size()), &r,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    } else {
        DrawLines(dc, m_rcText);
    }
    if (old != NULL)
        ::SelectObject(dc, old);
}

void CChatBalloonWnd::OnTimer(UINT_PTR id)
{
    if (id == kHideTimer) {
        Hide();
    } else if (id == kRetryTimer) {
        KillTimer(kRetryTimer);
        const std::string text = m_text;
        Show(text.c_str(), m_nAnchorX, m_nAnchorY, m_nTargetX, m_nTargetY, m_nMode);
    }
}

void CChatBalloonWnd::OnRelease(UINT message, UINT flags, CPoint point)
{
    if (m_bHideOnClick) {
        Hide();
    } else if (m_pParent != NULL && m_pParent->GetSafeHwnd() != NULL) {
        m_pParent->SendMessage(message, flags, MAKELPARAM(point.x, point.y));
    }
}

void CChatBalloonWnd::OnLButtonUp(UINT flags, CPoint point) { OnRelease(WM_LBUTTONUP, flags, point); }

void CChatBalloonWnd::OnRButtonUp(UINT flags, CPoint point) { OnRelease(WM_RBUTTONUP, flags, point); }
