// ODListTipWnd.cpp - the list's cell tip (see ODListTipWnd.h).
#include "ODListTipWnd.h"

#include <algorithm>

#include "ODListCtrl.h"

namespace {

const char kTipClass[] = "MFCODListTipCtrl";
const UINT_PTR kFadeTimer = 1;
const UINT kFadeStep = 20;     // ms between two steps of the fade
const UINT kResetDelay = 100;  // ms after a hide until the alpha is back at 0
const COLORREF kColourKey = 0xFF00FF;

using SetLayeredAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

// Looked up once per process, again only while missing.
struct LayeredFunctions
{
    FARPROC update = nullptr;
    SetLayeredAttributesFn setAttributes = nullptr;
};
LayeredFunctions g_layered;

void BindLayeredFunctions()
{
    if (g_layered.update)
        return;
    HMODULE user = ::GetModuleHandleA("USER32.DLL");
    if (!user)
        return;
    g_layered.update = ::GetProcAddress(user, "UpdateLayeredWindow");
    g_layered.setAttributes = reinterpret_cast<SetLayeredAttributesFn>(
        reinterpret_cast<void (*)()>(::GetProcAddress(user, "SetLayeredWindowAttributes")));
}

void RegisterTipClass()
{
    WNDCLASSA existing;
    if (::GetClassInfoA(AfxGetInstanceHandle(), kTipClass, &existing))
        return;
    WNDCLASSA wc = {};
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1);
    wc.lpszClassName = kTipClass;
    if (!AfxRegisterClass(&wc))
        AfxThrowResourceException();
}

bool IsInput(UINT message)
{
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

}  // namespace

BEGIN_MESSAGE_MAP(CODListTipCtrl, CWnd)
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

CODListTipCtrl::CODListTipCtrl() : m_doubleClickTime(::GetDoubleClickTime())
{
    RegisterTipClass();
    BindLayeredFunctions();
    m_layered = g_layered.update != nullptr && g_layered.setAttributes != nullptr;
}

BOOL CODListTipCtrl::Create(CODListCtrl* list)
{
    if (!list || !list->m_hWnd)
        return FALSE;
    m_list = list;
    // Without the layered functions the style would leave the window unseen.
    const DWORD exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | (m_layered ? WS_EX_LAYERED : 0);
    return CreateEx(exStyle, kTipClass, "", WS_POPUP | WS_BORDER, CRect(0, 0, 0, 0), list, 0);
}

void CODListTipCtrl::ApplyAlpha()
{
    if (m_layered && m_hWnd)
        g_layered.setAttributes(m_hWnd, kColourKey, BYTE(m_alpha), LWA_ALPHA);
}

int CODListTipCtrl::Show(const RECT& cellRect, const char* text, HFONT font)
{
    if (!m_hWnd || !m_list || !m_list->m_hWnd)
        return 0;
    if (::IsRectEmpty(&cellRect) || !::GetFocus()) {
        Hide();
        return 0;
    }
    // The cell in screen coordinates, the same space as the last one.
    CRect cell(cellRect);
    m_list->ClientToScreen(&cell);
    const std::string newText = text ? text : "";
    if (::EqualRect(&cell, &m_lastRect) && newText == m_lastText)
        return IsWindowVisible() ? 1 : 0;
    m_lastRect = cell;
    m_lastText = newText;

    m_margin = std::max(0, m_list->Model().GetOption(1));
    m_text = newText;
    m_font = font ? font : m_list->RowFont(false);
    ::SetRect(&m_textRect, -1 - m_margin, -1, cell.Width() + 1 + m_margin, cell.Height() + 1);

    int textWidth = 0;
    {
        CClientDC dc(this);
        HGDIOBJ old = m_font ? ::SelectObject(dc.m_hDC, m_font) : NULL;
        SIZE size = {};
        ::GetTextExtentPoint32A(dc.m_hDC, m_text.c_str(), int(m_text.size()), &size);
        textWidth = size.cx;
        if (old)
            ::SelectObject(dc.m_hDC, old);
    }
    if (cell.left + textWidth <= cell.right) {
        Hide();
        return 0;
    }
    CRect tip(cell.left - m_margin, cell.top, cell.left + textWidth + m_margin, cell.bottom);
    SetWindowPos(&wndTopMost, tip.left, tip.top, tip.Width(), tip.Height(),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    Invalidate();
    UpdateWindow();
    if (m_layered) {
        if (m_alpha < 255)
            SetTimer(kFadeTimer, kFadeStep, NULL);
        ApplyAlpha();
    }
    return 1;
}

void CODListTipCtrl::Hide()
{
    if (!m_hWnd)
        return;
    if (m_layered) {
        m_alpha = 255;
        SetTimer(kFadeTimer, kResetDelay, NULL);
    }
    if (IsWindowVisible())
        ShowWindow(SW_HIDE);
}

void CODListTipCtrl::OnPaint()
{
    CPaintDC dc(this);
    HGDIOBJ old = m_font ? ::SelectObject(dc.m_hDC, m_font) : NULL;
    ::SetBkMode(dc.m_hDC, TRANSPARENT);
    ::SetTextColor(dc.m_hDC, ::GetSysColor(COLOR_INFOTEXT));
    ::TextOutA(dc.m_hDC, m_margin - 1, 1, m_text.c_str(), int(m_text.size()));
    if (old)
        ::SelectObject(dc.m_hDC, old);
}

void CODListTipCtrl::OnTimer(UINT_PTR id)
{
    if (id != kFadeTimer || !m_layered)
        return;
    if (m_alpha < 255) {
        m_alpha = std::min(255, m_alpha + 10);
        if (m_alpha == 255)
            KillTimer(kFadeTimer);
        ApplyAlpha();
    } else {
        // The hide's delay is over: the next tip fades in from nothing.
        m_alpha = 0;
        KillTimer(kFadeTimer);
    }
}

HWND CODListTipCtrl::TargetAt(POINT screen, LPARAM* point, LRESULT* hit)
{
    HWND target = ::WindowFromPoint(screen);
    if (!target || target == m_hWnd)
        target = m_list ? m_list->m_hWnd : NULL;
    if (!target)
        return NULL;
    *hit = ::SendMessageA(target, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    POINT p = screen;
    if (*hit == HTCLIENT)
        ::ScreenToClient(target, &p);
    *point = MAKELPARAM(p.x, p.y);
    return target;
}

void CODListTipCtrl::OnMouseMove(UINT flags, CPoint point)
{
    if (::PtInRect(&m_textRect, point))
        return;
    Hide();
    POINT screen = point;
    ClientToScreen(&screen);
    LPARAM at = 0;
    LRESULT hit = HTNOWHERE;
    if (HWND target = TargetAt(screen, &at, &hit)) {
        if (hit == HTCLIENT)
            ::PostMessageA(target, WM_MOUSEMOVE, flags, at);
        else
            ::PostMessageA(target, WM_NCMOUSEMOVE, WPARAM(hit), at);
    }
}

BOOL CODListTipCtrl::PreTranslateMessage(MSG* pMsg)
{
    if (!m_hWnd || pMsg->hwnd != m_hWnd)
        return CWnd::PreTranslateMessage(pMsg);
    switch (pMsg->message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        Hide();
        if (m_list && m_list->m_hWnd)
            ::PostMessageA(m_list->m_hWnd, pMsg->message, pMsg->wParam, pMsg->lParam);
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        UINT message = pMsg->message;
        if (message == WM_LBUTTONDOWN) {
            const DWORD now = ::GetTickCount();
            const bool doubled = m_lastPress != DWORD(-1) && now - m_lastPress <= m_doubleClickTime;
            // A third press starts a new pair, as the system counts them.
            m_lastPress = doubled ? DWORD(-1) : now;
            if (doubled)
                message = WM_LBUTTONDBLCLK;
        }
        POINT screen = {short(LOWORD(pMsg->lParam)), short(HIWORD(pMsg->lParam))};
        ClientToScreen(&screen);
        LPARAM at = 0;
        LRESULT hit = HTNOWHERE;
        HWND target = TargetAt(screen, &at, &hit);
        Hide();
        if (!target)
            return TRUE;
        if (hit == HTCLIENT) {
            ::PostMessageA(target, message, pMsg->wParam, at);
        } else {
            const UINT nc = message == WM_LBUTTONDOWN    ? WM_NCLBUTTONDOWN
                            : message == WM_LBUTTONDBLCLK ? WM_NCLBUTTONDBLCLK
                            : message == WM_RBUTTONDOWN   ? WM_NCRBUTTONDOWN
                                                          : WM_NCMBUTTONDOWN;
            ::PostMessageA(target, nc, WPARAM(hit), at);
        }
        return TRUE;
    }
    default:
        // Without a focus window in the thread, input to the tip is dropped
        // with it; everything else (its timer, its paint) goes on.
        if (!::GetFocus() && IsInput(pMsg->message)) {
            Hide();
            return TRUE;
        }
        return CWnd::PreTranslateMessage(pMsg);
    }
}
