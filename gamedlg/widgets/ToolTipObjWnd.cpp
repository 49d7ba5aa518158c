#include "ToolTipObjWnd.h"

#include <cstring>

#include "WidgetGeometry.h"

namespace {

const char kClassName[] = "ToolTipObjWnd";

TOOLOBJINFO EmptyRecord()
{
    TOOLOBJINFO info;
    memset(&info, 0, sizeof info);
    info.nId = kWholeWindowTool;
    return info;
}

HFONT CreateTipFont()
{
    LOGFONTA lf = {};
    lf.lfHeight = 12;
    lf.lfWeight = 400;
    lf.lfCharSet = 134;
    lf.lfOutPrecision = 3;
    lf.lfClipPrecision = 2;
    lf.lfQuality = 1;
    lf.lfPitchAndFamily = 2;
    strcpy(lf.lfFaceName, "宋体");
    return ::CreateFontIndirectA(&lf);
}

}  // namespace

void SetToolText(TOOLOBJINFO* pInfo, const char* pszText)
{
    const size_t n = pszText != nullptr ? strlen(pszText) : 0;
    char* pCopy = new char[n + 1];
    if (n != 0)
        memcpy(pCopy, pszText, n);
    pCopy[n] = '\0';
    delete[] pInfo->pszText;
    pInfo->pszText = pCopy;
}

CToolTipObjWnd::CToolTipObjWnd()
    : m_hOwner(NULL), m_hFont(NULL), m_hDesktop(::GetDesktopWindow()), m_hTip(NULL), m_current(EmptyRecord()),
      m_ptLast{0, 0}, m_nInitialDelay(500), m_nDisplayTime(6000), m_bLeft(FALSE), m_bUp(FALSE),
      m_hFrameBrush(::CreateSolidBrush(0xD0C0C0)), m_hFillBrush(::CreateSolidBrush(0xE8E8E8)), m_crText(0),
      m_rcContent{0, 0, 0, 0}
{
}

CToolTipObjWnd::~CToolTipObjWnd()
{
    if (m_hTip != NULL && ::IsWindow(m_hTip))
        ::DestroyWindow(m_hTip);
    m_hTip = NULL;
    ::UnregisterClassA(kClassName, ::GetModuleHandleA(NULL));   // fails harmlessly while another object's window lives
    ::DeleteObject(m_hFrameBrush);
    ::DeleteObject(m_hFillBrush);
    if (m_hFont != NULL)
        ::DeleteObject(m_hFont);
    FreeRecord(m_current);
    for (TOOLOBJINFO& t : m_tools)
        FreeRecord(t);
}

void CToolTipObjWnd::FreeRecord(TOOLOBJINFO& info)
{
    delete[] info.pszText;
    info.pszText = nullptr;
}

BOOL CToolTipObjWnd::Create(HWND hOwner, BOOL /*bUnused*/)
{
    if (m_hFont == NULL)
        m_hFont = CreateTipFont();
    m_hOwner = hOwner;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &CToolTipObjWnd::WndProc;
    wc.hInstance = ::GetModuleHandleA(NULL);
    wc.lpszClassName = kClassName;
    ::RegisterClassA(&wc);   // already registered by another object: fine
    if (m_hTip == NULL)
        m_hTip = ::CreateWindowExA(0, kClassName, "", WS_POPUP, 0, 0, 0, 0, hOwner, NULL, wc.hInstance, this);
    return m_hTip != NULL;
}

void CToolTipObjWnd::SetFont(HWND /*hWnd*/, HFONT hFont)
{
    LOGFONTA lf;
    if (hFont == NULL || ::GetObjectA(hFont, sizeof lf, &lf) != sizeof lf)
        return;
    HFONT hNew = ::CreateFontIndirectA(&lf);
    if (hNew == NULL)
        return;
    if (m_hFont != NULL)
        ::DeleteObject(m_hFont);
    m_hFont = hNew;
}

// ---- Tools --------------------------------------------------------------------------------------

void CToolTipObjWnd::AddOrUpdate(TOOLOBJINFO& info)
{
    for (TOOLOBJINFO& t : m_tools) {
        if (t.hWnd == info.hWnd && t.nId == info.nId) {
            t.hNotify = info.hNotify;
            t.nRectSource = info.nRectSource;
            t.nTextSource = info.nTextSource;
            SetToolText(&t, info.pszText);
            t.nBitmapSource = info.nBitmapSource;
            t.hBitmap = info.hBitmap;
            FreeRecord(info);
            return;
        }
    }
    m_tools.push_back(info);   // the list takes the text
    info.pszText = nullptr;
}

void CToolTipObjWnd::AddTool(HWND hWnd, LPCSTR lpszText, HWND hNotify)
{
    TOOLOBJINFO info = EmptyRecord();
    info.hWnd = hWnd;
    info.hNotify = hNotify;
    info.nTextSource = hNotify != NULL ? kToolSourceNotify : kToolSourceRecord;
    SetToolText(&info, lpszText);
    AddOrUpdate(info);
}

void CToolTipObjWnd::AddTool(HWND hWnd, HBITMAP hBitmap)
{
    TOOLOBJINFO info = EmptyRecord();
    info.hWnd = hWnd;
    info.nBitmapSource = kToolSourceRecord;
    info.hBitmap = hBitmap;
    AddOrUpdate(info);
}

void CToolTipObjWnd::AddTool(HWND hWnd, LPCSTR lpszText, HBITMAP hBitmap, int nLayout)
{
    TOOLOBJINFO info = EmptyRecord();
    info.hWnd = hWnd;
    info.nTextSource = kToolSourceRecord;
    SetToolText(&info, lpszText);
    info.nBitmapSource = kToolSourceRecord;
    info.hBitmap = hBitmap;
    info.nLayout = nLayout;
    AddOrUpdate(info);
}

void CToolTipObjWnd::AddTool(HWND hWnd, int nId, const RECT& rect, LPCSTR lpszText)
{
    TOOLOBJINFO info = EmptyRecord();
    info.hWnd = hWnd;
    info.nId = nId;
    info.nRectSource = kToolSourceRecord;
    info.rect = rect;
    info.nTextSource = kToolSourceRecord;
    SetToolText(&info, lpszText);
    AddOrUpdate(info);
}

void CToolTipObjWnd::AddTool(HWND hWnd, int nId, const RECT& rect, HBITMAP hBitmap)
{
    TOOLOBJINFO info = EmptyRecord();
    info.hWnd = hWnd;
    info.nId = nId;
    info.nRectSource = kToolSourceRecord;
    info.rect = rect;
    info.nBitmapSource = kToolSourceRecord;
    info.hBitmap = hBitmap;
    AddOrUpdate(info);
}

void CToolTipObjWnd::AddTool(HWND hWnd, int nId, const RECT& rect, LPCSTR lpszText, HBITMAP hBitmap, int nLayout)
{
    TOOLOBJINFO info = EmptyRecord();
    info.hWnd = hWnd;
    info.nId = nId;
    info.nRectSource = kToolSourceRecord;
    info.rect = rect;
    info.nTextSource = kToolSourceRecord;
    SetToolText(&info, lpszText);
    info.nBitmapSource = kToolSourceRecord;
    info.hBitmap = hBitmap;
    info.nLayout = nLayout;
    AddOrUpdate(info);
}

void CToolTipObjWnd::DelTool(HWND hWnd, int nId)
{
    auto matches = [&](const TOOLOBJINFO& t) {
        if (nId != kWholeWindowTool)
            return t.hWnd == hWnd && t.nId == nId;
        for (HWND w = t.hWnd; w != NULL; w = ::GetParent(w)) {
            if (w == hWnd)
                return true;
            if (w == m_hOwner || w == m_hDesktop)
                break;
        }
        return false;
    };
    for (size_t i = 0; i < m_tools.size();) {
        if (matches(m_tools[i])) {
            FreeRecord(m_tools[i]);
            m_tools.erase(m_tools.begin() + (ptrdiff_t)i);
        } else {
            ++i;
        }
    }
}

const TOOLOBJINFO* CToolTipObjWnd::FindToolAt(POINT ptScreen)
{
    HWND hWnd = ::WindowFromPoint(ptScreen);
    while (hWnd != NULL) {
        POINT pt = ptScreen;
        ::ScreenToClient(hWnd, &pt);
        HWND hChild = ::ChildWindowFromPointEx(hWnd, pt, CWP_SKIPINVISIBLE);
        if (hChild == NULL || hChild == hWnd)
            break;
        hWnd = hChild;
    }
    if (hWnd == NULL)
        return nullptr;
    POINT pt = ptScreen;
    ::ScreenToClient(hWnd, &pt);
    const TOOLOBJINFO* pWhole = nullptr;
    for (TOOLOBJINFO& t : m_tools) {
        if (t.hWnd != hWnd)
            continue;
        if (t.nId == kWholeWindowTool) {
            pWhole = &t;
            continue;
        }
        const UINT src = t.nRectSource & 0xF;
        if (src == kToolSourceNotify && t.hNotify != NULL)
            ::SendMessageA(t.hNotify, WM_TOOLTIP_GETRECT, 0, (LPARAM)&t);
        else if (src != kToolSourceRecord)
            continue;
        if (::PtInRect(&t.rect, pt))
            return &t;
    }
    return pWhole;
}

// ---- Relaying and showing ------------------------------------------------------------------------

void CToolTipObjWnd::RelayEvent(const MSG* pMsg)
{
    if (m_hTip == NULL || pMsg == nullptr)
        return;
    switch (pMsg->message) {
    case WM_MOUSEMOVE: {
        POINT pt;
        if (!::GetCursorPos(&pt) || (pt.x == m_ptLast.x && pt.y == m_ptLast.y))
            return;
        if (FindToolAt(pt) == nullptr) {
            Hide();
            return;
        }
        m_ptLast = pt;
        Hide();
        ::KillTimer(m_hTip, kTimerRest);
        ::KillTimer(m_hTip, kTimerDisplay);
        ::SetTimer(m_hTip, kTimerRest, m_nInitialDelay, NULL);
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        Hide();
        break;
    default:
        break;
    }
}

void CToolTipObjWnd::Hide()
{
    if (m_hTip != NULL)
        ::ShowWindow(m_hTip, SW_HIDE);
}

void CToolTipObjWnd::ShowTipAt(POINT ptScreen, LPCSTR lpszText)
{
    TOOLOBJINFO info = EmptyRecord();
    info.nTextSource = kToolSourceRecord;
    SetToolText(&info, lpszText);
    ShowTool(info, ptScreen);
    FreeRecord(info);
}

void CToolTipObjWnd::ShowTipAt(POINT ptScreen, LPCSTR lpszText, HBITMAP hBitmap, int nLayout)
{
    TOOLOBJINFO info = EmptyRecord();
    info.nTextSource = kToolSourceRecord;
    SetToolText(&info, lpszText);
    info.nBitmapSource = kToolSourceRecord;
    info.hBitmap = hBitmap;
    info.nLayout = nLayout;
    ShowTool(info, ptScreen);
    FreeRecord(info);
}

void CToolTipObjWnd::ShowTool(const TOOLOBJINFO& tool, POINT ptCursor)
{
    if (m_hTip == NULL)
        return;
    FreeRecord(m_current);
    m_current = tool;
    m_current.pszText = nullptr;
    SetToolText(&m_current, tool.pszText);
    if (((m_current.nTextSource | m_current.nBitmapSource) & kToolSourceNotify) && m_current.hNotify != NULL)
        ::SendMessageA(m_current.hNotify, WM_TOOLTIP_GETTEXT, 0, (LPARAM)&m_current);

    int textW = 0, textH = 0, bitmapW = 0, bitmapH = 0;
    if (m_current.nTextSource != 0 && m_current.pszText != nullptr) {
        HDC hDC = ::GetDC(m_hTip);
        HGDIOBJ hOld = ::SelectObject(hDC, m_hFont != NULL ? (HGDIOBJ)m_hFont : ::GetStockObject(DEFAULT_GUI_FONT));
        RECT rc = {0, 0, 0, 0};
        ::DrawTextA(hDC, m_current.pszText, -1, &rc, DT_CALCRECT);
        ::SelectObject(hDC, hOld);
        ::ReleaseDC(m_hTip, hDC);
        textW = rc.right - rc.left;
        textH = rc.bottom - rc.top;
    }
    BITMAP bm;
    if (m_current.nBitmapSource != 0 && m_current.hBitmap != NULL &&
        ::GetObjectA(m_current.hBitmap, sizeof bm, &bm) == sizeof bm) {
        bitmapW = bm.bmWidth;
        bitmapH = bm.bmHeight;
    }
    int contentW = 0, contentH = 0;
    widgets::CombineTipContent(m_current.nLayout, textW, textH, bitmapW, bitmapH, &contentW, &contentH);

    bool up = false, left = false;
    widgets::ChooseTipSides(widgets::Pt{ptCursor.x, ptCursor.y}, contentW + 24, contentH + 20, &up, &left);
    m_bUp = up;
    m_bLeft = left;
    const widgets::TipShape s = widgets::ComputeTipShape(contentW, contentH, widgets::Pt{ptCursor.x, ptCursor.y}, up, left);
    m_rcContent = RECT{s.content.left, s.content.top, s.content.right, s.content.bottom};

    HRGN hRgn = ::CreateRoundRectRgn(s.body.left, s.body.top, s.body.right, s.body.bottom, 12, 10);
    const POINT tri[3] = {{s.triangle[0].x, s.triangle[0].y}, {s.triangle[1].x, s.triangle[1].y},
                          {s.triangle[2].x, s.triangle[2].y}};
    HRGN hTri = ::CreatePolygonRgn(tri, 3, ALTERNATE);
    ::CombineRgn(hRgn, hRgn, hTri, RGN_OR);
    ::DeleteObject(hTri);
    ::SetWindowRgn(m_hTip, hRgn, FALSE);   // the window owns the region now

    ::SetWindowPos(m_hTip, HWND_TOPMOST, s.position.x, s.position.y, s.width, s.height + 10,
                   SWP_SHOWWINDOW | SWP_NOACTIVATE);
    ::InvalidateRect(m_hTip, NULL, TRUE);
    if (m_nDisplayTime > 0)
        ::SetTimer(m_hTip, kTimerDisplay, m_nDisplayTime, NULL);
}

// ---- The tip window ------------------------------------------------------------------------------

LRESULT CALLBACK CToolTipObjWnd::WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* pCreate = reinterpret_cast<CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, (LONG_PTR)pCreate->lpCreateParams);
    }
    auto* pThis = reinterpret_cast<CToolTipObjWnd*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (message == WM_NCDESTROY)
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
    if (pThis != nullptr && pThis->m_hTip == hWnd)
        pThis->OnMessage(message, wParam, lParam);
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

LRESULT CToolTipObjWnd::OnMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/)
{
    switch (message) {
    case WM_TIMER:
        if (wParam == kTimerRest) {
            ::KillTimer(m_hTip, kTimerRest);
            POINT pt;
            if (::GetCursorPos(&pt) && pt.x == m_ptLast.x && pt.y == m_ptLast.y) {
                const TOOLOBJINFO* pTool = FindToolAt(pt);
                if (pTool != nullptr) {
                    const TOOLOBJINFO copy = *pTool;   // the record may move while showing
                    ShowTool(copy, pt);
                }
            }
        } else if (wParam == kTimerDisplay) {
            ::KillTimer(m_hTip, kTimerDisplay);
            Hide();
        }
        break;
    case WM_PAINT:
        OnPaint();
        break;
    case WM_DESTROY:
        ::KillTimer(m_hTip, kTimerRest);
        ::KillTimer(m_hTip, kTimerDisplay);
        m_hTip = NULL;
        break;
    default:
        break;
    }
    return 0;
}

void CToolTipObjWnd::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hDC = ::BeginPaint(m_hTip, &ps);
    RECT rcClient;
    ::GetClientRect(m_hTip, &rcClient);
    ::FillRect(hDC, &rcClient, m_hFillBrush);
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    if (::GetWindowRgn(m_hTip, hRgn) != ERROR)
        ::FrameRgn(hDC, hRgn, m_hFrameBrush, 2, 2);
    ::DeleteObject(hRgn);

    RECT rcText = m_rcContent;
    BITMAP bm;
    if (m_current.nBitmapSource != 0 && m_current.hBitmap != NULL &&
        ::GetObjectA(m_current.hBitmap, sizeof bm, &bm) == sizeof bm) {
        int x = m_rcContent.left, y = m_rcContent.top;
        if (m_current.nLayout == 1)
            x = m_rcContent.right - bm.bmWidth;
        else if (m_current.nLayout == 2)
            y = m_rcContent.bottom - bm.bmHeight;
        HDC hMem = ::CreateCompatibleDC(hDC);
        HGDIOBJ hOld = ::SelectObject(hMem, m_current.hBitmap);
        ::BitBlt(hDC, x, y, bm.bmWidth, bm.bmHeight, hMem, 0, 0, SRCCOPY);
        ::SelectObject(hMem, hOld);
        ::DeleteDC(hMem);
        if (m_current.nLayout == 3)
            ::OffsetRect(&rcText, bm.bmWidth, 0);
        else if (m_current.nLayout == 4)
            ::OffsetRect(&rcText, 0, bm.bmHeight);
    }
    if (m_current.nTextSource != 0 && m_current.pszText != nullptr) {
        ::SetBkMode(hDC, TRANSPARENT);
        ::SetTextColor(hDC, m_crText);
        HGDIOBJ hOld = ::SelectObject(hDC, m_hFont != NULL ? (HGDIOBJ)m_hFont : ::GetStockObject(DEFAULT_GUI_FONT));
        ::DrawTextA(hDC, m_current.pszText, -1, &rcText, 0);
        ::SelectObject(hDC, hOld);
    }
    ::EndPaint(m_hTip, &ps);
}
