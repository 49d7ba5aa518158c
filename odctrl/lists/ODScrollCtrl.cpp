// ODScrollCtrl.cpp - the scroll control and the scroll view.
#include "ODScrollCtrl.h"

#include <limits.h>

#include <algorithm>
#include <cstdlib>

#include "ODWndClass.h"

using odscroll::Size;

namespace {

void RegisterCtrlClass(LPCSTR name)
{
    ODRegisterWndClass(name, CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

}  // namespace

IMPLEMENT_DYNAMIC(CODScrollCtrl, CODNcMgrWnd)

BEGIN_MESSAGE_MAP(CODScrollCtrl, CODNcMgrWnd)
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

int CODScrollCtrl::s_wheelLines = -2;  // not read yet

CODScrollCtrl::CODScrollCtrl()
{
    RegisterCtrlClass("ODScrollCtrl");
}

CODScrollCtrl::~CODScrollCtrl() {}

BOOL CODScrollCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    RegisterCtrlClass(GetWindowClassName());
    return CWnd::Create(GetWindowClassName(), NULL, style, rect, parent, id);
}

CSBContainerWnd* CODScrollCtrl::Container() const
{
    if (!m_hWnd)
        return nullptr;
    HWND parent = ::GetParent(m_hWnd);
    CWnd* permanent = parent ? CWnd::FromHandlePermanent(parent) : nullptr;
    if (permanent && lstrcmpA(permanent->GetRuntimeClass()->m_lpszClassName, "CSBContainerWnd") == 0)
        return static_cast<CSBContainerWnd*>(permanent);
    return nullptr;
}

// ---- Bars ----------------------------------------------------------------------------------

int CODScrollCtrl::GetScrollPos(int bar)
{
    if (CSBContainerWnd* c = Container())
        return c->GetScrollPos(bar);
    return CWnd::GetScrollPos(bar);
}

int CODScrollCtrl::SetScrollPos(int bar, int pos, BOOL redraw)
{
    redraw = redraw && IsRedrawOn();
    if (CSBContainerWnd* c = Container())
        return c->SetScrollPos(bar, pos, redraw);
    return CWnd::SetScrollPos(bar, pos, redraw);
}

void CODScrollCtrl::GetScrollRange(int bar, int* min, int* max)
{
    if (CSBContainerWnd* c = Container())
        c->GetScrollRange(bar, min, max);
    else
        CWnd::GetScrollRange(bar, min, max);
}

void CODScrollCtrl::SetScrollRange(int bar, int min, int max, BOOL redraw)
{
    redraw = redraw && IsRedrawOn();
    if (CSBContainerWnd* c = Container())
        c->SetScrollRange(bar, min, max, redraw);
    else
        CWnd::SetScrollRange(bar, min, max, redraw);
}

BOOL CODScrollCtrl::GetScrollInfo(int bar, SCROLLINFO* info, UINT mask)
{
    if (!info)
        return FALSE;
    info->cbSize = sizeof(SCROLLINFO);
    if (CSBContainerWnd* c = Container())
        return c->GetScrollInfo(bar, info, mask);
    info->fMask = mask;
    return ::GetScrollInfo(m_hWnd, bar, info);
}

BOOL CODScrollCtrl::SetScrollInfo(int bar, SCROLLINFO* info, BOOL redraw)
{
    redraw = redraw && IsRedrawOn();
    if (CSBContainerWnd* c = Container())
        return c->SetScrollInfo(bar, info, redraw);
    info->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, bar, info, redraw);
    return TRUE;
}

void CODScrollCtrl::ShowScrollBar(UINT bar, BOOL show)
{
    if (CSBContainerWnd* c = Container())
        c->ShowScrollBar(bar, show);
    else
        CWnd::ShowScrollBar(bar, show);
}

BOOL CODScrollCtrl::IsBarVisible(int bar)
{
    if (CSBContainerWnd* c = Container())
        return bar == SB_HORZ ? c->IsHorzBarVisible() : c->IsVertBarVisible();
    return (GetStyle() & (bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL)) != 0;
}

int CODScrollCtrl::GetScrollLimit(int bar)
{
    int min = 0, max = 0;
    GetScrollRange(bar, &min, &max);
    SCROLLINFO info = {};
    if (GetScrollInfo(bar, &info, SIF_PAGE) && info.nPage > 0)
        return std::max(0, max - int(info.nPage - 1));
    return max;
}

CODScrollBarCtrl* CODScrollCtrl::GetScrollBarCtrl(int bar)
{
    CSBContainerWnd* c = Container();
    return c ? c->GetScrollBarCtrl(bar) : nullptr;
}

void CODScrollCtrl::SetRedraw(BOOL redraw)
{
    CODNcMgrWnd::SetRedraw(redraw);
    if (CSBContainerWnd* c = Container())
        c->EnableBarPainting(redraw);
}

void CODScrollCtrl::GetScrollBarSizes(int* vertWidth, int* horzHeight)
{
    int v = 0, h = 0;
    if (!Container()) {
        const int border = (GetStyle() & WS_BORDER) ? 1 : 0;
        v = ::GetSystemMetrics(SM_CXVSCROLL) - border;
        h = ::GetSystemMetrics(SM_CYHSCROLL) - border;
    }
    if (vertWidth)
        *vertWidth = v;
    if (horzHeight)
        *horzHeight = h;
}

int CODScrollCtrl::TrackPos(int bar)
{
    SCROLLINFO info = {};
    if (GetScrollInfo(bar, &info, SIF_TRACKPOS))
        return info.nTrackPos;
    return GetScrollPos(bar);
}

// ---- Sizes and positions -----------------------------------------------------------------

void CODScrollCtrl::SetScrollSizes(int mapMode, SIZE total, SIZE page, SIZE line)
{
    const int oldMode = m_mapMode;
    m_mapMode = mapMode;
    m_totalLog = total;
    CSize t(total), p(page), l(line);
    HDC screen = ::GetDC(NULL);
    if (screen && mapMode > 0) {
        ::SetMapMode(screen, mapMode);
        POINT pts[3] = {{t.cx, t.cy}, {p.cx, p.cy}, {l.cx, l.cy}};
        ::LPtoDP(screen, pts, 3);
        t = CSize(pts[0].x, pts[0].y);
        p = CSize(pts[1].x, pts[1].y);
        l = CSize(pts[2].x, pts[2].y);
    }
    if (screen)
        ::ReleaseDC(NULL, screen);
    m_totalDev = CSize(std::abs(t.cx), std::abs(t.cy));
    m_pageDev = CSize(std::abs(p.cx), std::abs(p.cy));
    m_lineDev = CSize(std::abs(l.cx), std::abs(l.cy));
    if (m_pageDev.cx == 0)
        m_pageDev.cx = m_totalDev.cx / 10;
    if (m_pageDev.cy == 0)
        m_pageDev.cy = m_totalDev.cy / 10;
    if (m_lineDev.cx == 0)
        m_lineDev.cx = m_pageDev.cx / 10;
    if (m_lineDev.cy == 0)
        m_lineDev.cy = m_pageDev.cy / 10;
    if (m_hWnd) {
        UpdateBars();
        if (oldMode != mapMode)
            Invalidate(TRUE);
    }
}

void CODScrollCtrl::SetScaleToFitSize(SIZE total)
{
    m_mapMode = ScaleToFit;
    m_totalLog = total;
    if (m_hWnd) {
        if (GetStyle() & (WS_HSCROLL | WS_VSCROLL)) {
            SetScrollPos(SB_HORZ, 0);
            SetScrollPos(SB_VERT, 0);
            ShowScrollBar(SB_BOTH, FALSE);
        }
        if (Container())
            ShowScrollBar(CSBContainerWnd::BothBars, FALSE);
        CRect client;
        GetClientRect(&client);
        m_totalDev = client.Size();
        UpdateBars();
        Invalidate(TRUE);
    }
}

void CODScrollCtrl::GetDeviceScrollSizes(int* mapMode, SIZE* total, SIZE* page, SIZE* line) const
{
    if (mapMode)
        *mapMode = m_mapMode;
    if (total)
        *total = m_totalDev;
    if (page)
        *page = m_pageDev;
    if (line)
        *line = m_lineDev;
}

CPoint CODScrollCtrl::GetDeviceScrollPosition()
{
    return CPoint(GetScrollPos(SB_HORZ), GetScrollPos(SB_VERT));
}

CPoint CODScrollCtrl::GetScrollPosition()
{
    if (m_mapMode == ScaleToFit)
        return CPoint(0, 0);
    CPoint pos = GetDeviceScrollPosition();
    if (m_centre) {
        CRect client;
        GetClientRect(&client);
        pos.x = odscroll::CentredPosition(pos.x, m_totalDev.cx, client.Width());
        pos.y = odscroll::CentredPosition(pos.y, m_totalDev.cy, client.Height());
    }
    if (m_mapMode > 0 && m_mapMode != MM_TEXT) {
        HDC screen = ::GetDC(NULL);
        ::SetMapMode(screen, m_mapMode);
        ::DPtoLP(screen, &pos, 1);
        ::ReleaseDC(NULL, screen);
    }
    return pos;
}

void CODScrollCtrl::ScrollToPosition(POINT point)
{
    CPoint p(point);
    if (m_mapMode > 0 && m_mapMode != MM_TEXT) {
        HDC screen = ::GetDC(NULL);
        ::SetMapMode(screen, m_mapMode);
        ::LPtoDP(screen, &p, 1);
        ::ReleaseDC(NULL, screen);
    }
    p.x = odscroll::ClampToLimit(p.x, GetScrollLimit(SB_HORZ));
    p.y = odscroll::ClampToLimit(p.y, GetScrollLimit(SB_VERT));
    ScrollToDevicePosition(p.x, p.y);
}

void CODScrollCtrl::ScrollToDevicePosition(int x, int y)
{
    if (x < 0 || y < 0)
        return;
    const int oldX = SetScrollPos(SB_HORZ, x);
    const int oldY = SetScrollPos(SB_VERT, y);
    if (m_scrollWindow)
        ScrollWindow(oldX - x, oldY - y);
    Invalidate(FALSE);
}

void CODScrollCtrl::CenterOnPoint(POINT point)
{
    CRect client;
    GetClientRect(&client);
    const DWORD style = GetStyle();
    const bool inContainer = Container() != nullptr;
    const int x = odscroll::CentreOn(point.x, client.Width(), GetScrollLimit(SB_HORZ),
                                     inContainer ? IsBarVisible(SB_HORZ) : (style & WS_HSCROLL) != 0);
    const int y = odscroll::CentreOn(point.y, client.Height(), GetScrollLimit(SB_VERT),
                                     inContainer ? IsBarVisible(SB_VERT) : (style & WS_VSCROLL) != 0);
    SetScrollPos(SB_HORZ, x);
    SetScrollPos(SB_VERT, y);
}

CSize CODScrollCtrl::GetTenthSize(SIZE size, BOOL horz, BOOL vert)
{
    const Size t = odscroll::TenthSize({size.cx, size.cy}, horz != FALSE, vert != FALSE);
    return CSize(t.cx, t.cy);
}

void CODScrollCtrl::UpdateBars()
{
    if (m_updatingBars || !m_hWnd)
        return;
    m_updatingBars = TRUE;
    // Inside a container, showing or hiding a bar resizes the control
    // itself: the plan is made again for the new size until it holds.
    for (int round = 0; round < 3; ++round) {
        CRect before;
        GetClientRect(&before);
        UpdateBarsOnce();
        CRect after;
        GetClientRect(&after);
        if (after.Size() == before.Size())
            break;
    }
    m_updatingBars = FALSE;
}

void CODScrollCtrl::UpdateBarsOnce()
{
    int vertWidth = 0, horzHeight = 0;
    GetScrollBarSizes(&vertWidth, &horzHeight);
    CSize size;
    // A parent that lays its children out from the inside answers the
    // frame's recalculation request with the rectangle it gives this
    // control: that is the client size, with no bar thickness taken from it.
    CRect parentRect(0, 0, 0, 0);
    CWnd* parent = GetParent();
    if (parent && parent->SendMessage(WM_RECALCPARENT, 0, reinterpret_cast<LPARAM>(&parentRect)) != 0) {
        size = parentRect.Size();
        vertWidth = horzHeight = 0;
    } else if (CSBContainerWnd* c = Container()) {
        // The container's bars stand beside the control inside the
        // container's area: that area is the true client size, and a needed
        // bar takes its thickness from it. (Planning with the control's
        // own client would keep bars that are no longer needed.)
        CRect area;
        c->GetClientRect(&area);
        size = area.Size();
        vertWidth = c->VertBarWidth();
        horzHeight = c->HorzBarHeight();
    } else {
        CRect client;
        GetClientRect(&client);
        size = client.Size();
        // The true client size: as if no bar stood beside it.
        const DWORD style = GetStyle();
        if (style & WS_VSCROLL)
            size.cx += vertWidth;
        if (style & WS_HSCROLL)
            size.cy += horzHeight;
    }
    if (size.cx <= vertWidth || size.cy <= horzHeight || size.cx < 1 || size.cy < 1) {
        ShowScrollBar(Container() ? UINT(CSBContainerWnd::BothBars) : UINT(SB_BOTH), FALSE);
        return;
    }
    const odscroll::BarPlan plan =
        odscroll::PlanBars({m_totalDev.cx, m_totalDev.cy}, {size.cx, size.cy}, vertWidth, horzHeight,
                           {GetScrollPos(SB_HORZ), GetScrollPos(SB_VERT)});
    ScrollToDevicePosition(plan.pos.cx, plan.pos.cy);
    const bool needed[2] = {plan.horz, plan.vert};
    const int totals[2] = {m_totalDev.cx, m_totalDev.cy};
    const int pages[2] = {plan.client.cx, plan.client.cy};
    for (int bar = 0; bar < 2; ++bar) {
        ShowScrollBar(UINT(bar), needed[bar]);
        if (!needed[bar])
            continue;
        SCROLLINFO info = {};
        info.cbSize = sizeof info;
        info.fMask = SIF_PAGE | SIF_RANGE;
        info.nMin = 0;
        info.nMax = totals[bar] - 1;
        info.nPage = UINT(std::max(0, pages[bar]));
        SetScrollInfo(bar, &info, TRUE);
    }
}

CSize CODScrollCtrl::TrueClientSize()
{
    if (CSBContainerWnd* c = Container()) {
        CRect area;
        c->GetClientRect(&area);
        return area.Size();
    }
    CRect client;
    GetClientRect(&client);
    CSize size = client.Size();
    int vertWidth = 0, horzHeight = 0;
    GetScrollBarSizes(&vertWidth, &horzHeight);
    const DWORD style = GetStyle();
    if (style & WS_VSCROLL)
        size.cx += vertWidth;
    if (style & WS_HSCROLL)
        size.cy += horzHeight;
    return size;
}

void CODScrollCtrl::FillOutsideRect(CDC* pDC, CBrush* pBrush)
{
    if (!pDC || !pBrush || !m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    // The strip beside the contents, full height, then the one below them.
    CRect right(m_totalDev.cx, 0, client.right, client.bottom);
    if (!right.IsRectEmpty())
        pDC->FillRect(&right, pBrush);
    CRect below(0, m_totalDev.cy, std::min<int>(m_totalDev.cx, client.right), client.bottom);
    if (!below.IsRectEmpty())
        pDC->FillRect(&below, pBrush);
}

void CODScrollCtrl::ResizeParentToFit(BOOL shrinkOnly)
{
    if (!m_hWnd)
        return;
    CFrameWnd* frame = GetParentFrame();
    if (!frame)
        return;
    const CSize current = TrueClientSize();
    CSize grow(m_totalDev.cx - current.cx, m_totalDev.cy - current.cy);
    if (shrinkOnly) {
        grow.cx = std::min<int>(grow.cx, 0);
        grow.cy = std::min<int>(grow.cy, 0);
    }
    if (grow.cx == 0 && grow.cy == 0)
        return;
    CRect frameRect;
    frame->GetWindowRect(&frameRect);
    frame->SetWindowPos(NULL, 0, 0, std::max(0, int(frameRect.Width() + grow.cx)),
                        std::max(0, int(frameRect.Height() + grow.cy)),
                        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    frame->RecalcLayout();
}

void CODScrollCtrl::CalcWindowRect(LPRECT rect, UINT adjustType)
{
    if (!rect)
        return;
    if (adjustType == AdjustOutside) {
        ::AdjustWindowRectEx(rect, GetStyle(), FALSE, GetExStyle() & ~WS_EX_CLIENTEDGE);
        return;
    }
    ::AdjustWindowRectEx(rect, 0, FALSE, GetExStyle());
    if (m_mapMode == ScaleToFit)
        return;
    int vertWidth = 0, horzHeight = 0;
    GetScrollBarSizes(&vertWidth, &horzHeight);
    const int width = rect->right - rect->left, height = rect->bottom - rect->top;
    if (m_totalDev.cy > height)
        rect->right += vertWidth;
    if (m_totalDev.cx > width)
        rect->bottom += horzHeight;
}

// ---- Scrolling -----------------------------------------------------------------------------

BOOL CODScrollCtrl::OnScroll(UINT code, UINT pos, BOOL doScroll)
{
    const int oldX = GetScrollPos(SB_HORZ), oldY = GetScrollPos(SB_VERT);
    int x = oldX, y = oldY;
    const UINT hCode = code & 0xFF, vCode = (code >> 8) & 0xFF;
    (void)pos;  // thumb positions come from the bars' 32-bit track position
    if (hCode != NoRequest) {
        const int64_t r = odscroll::RequestedPosition(int(hCode), oldX, m_lineDev.cx, m_pageDev.cx,
                                                      hCode == SB_THUMBTRACK ? TrackPos(SB_HORZ) : 0);
        x = int(std::max<int64_t>(INT_MIN, std::min<int64_t>(INT_MAX, r)));
    }
    if (vCode != NoRequest) {
        const int64_t r = odscroll::RequestedPosition(int(vCode), oldY, m_lineDev.cy, m_pageDev.cy,
                                                      vCode == SB_THUMBTRACK ? TrackPos(SB_VERT) : 0);
        y = int(std::max<int64_t>(INT_MIN, std::min<int64_t>(INT_MAX, r)));
    }
    const BOOL moved = OnScrollBy(CSize(int(int64_t(x) - oldX), int(int64_t(y) - oldY)), doScroll);
    if (doScroll) {
        if (!moved)
            Invalidate(FALSE);
        UpdateWindow();
    }
    return moved;
}

BOOL CODScrollCtrl::OnScrollBy(SIZE by, BOOL doScroll)
{
    if (!IsBarVisible(SB_HORZ))
        by.cx = 0;
    if (!IsBarVisible(SB_VERT))
        by.cy = 0;
    const int oldX = GetScrollPos(SB_HORZ), oldY = GetScrollPos(SB_VERT);
    const int x = odscroll::ClampToLimit(int64_t(oldX) + by.cx, GetScrollLimit(SB_HORZ));
    const int y = odscroll::ClampToLimit(int64_t(oldY) + by.cy, GetScrollLimit(SB_VERT));
    if (x == oldX && y == oldY)
        return FALSE;
    if (!doScroll)
        return TRUE;
    if (m_scrollWindow)
        ScrollWindow(oldX - x, oldY - y);
    Invalidate(FALSE);
    if (x != oldX)
        SetScrollPos(SB_HORZ, x);
    if (y != oldY)
        SetScrollPos(SB_VERT, y);
    return TRUE;
}

LRESULT CODScrollCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HSCROLL || message == WM_VSCROLL) {
        // A child scroll bar that reflects its messages keeps them.
        if (lParam != 0 && CWnd::ReflectLastMsg(reinterpret_cast<HWND>(lParam)))
            return 0;
        const UINT code = LOWORD(wParam);
        const UINT request = message == WM_HSCROLL ? (NoRequest << 8) | (code & 0xFF) : (code & 0xFF) << 8 | NoRequest;
        OnScroll(request, HIWORD(wParam), TRUE);
        return 0;
    }
    return CODNcMgrWnd::WindowProc(message, wParam, lParam);
}

BOOL CODScrollCtrl::OnMouseWheel(UINT flags, short delta, CPoint)
{
    if (flags & (MK_SHIFT | MK_CONTROL))
        return FALSE;
    const BOOL horz = IsBarVisible(SB_HORZ), vert = IsBarVisible(SB_VERT);
    if (!horz && !vert)
        return FALSE;
    if (s_wheelLines == -2) {
        UINT lines = 3;
        if (!::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0))
            lines = 3;
        s_wheelLines = lines == WHEEL_PAGESCROLL ? -1 : int(lines);
    }
    if (vert) {
        const int d = odscroll::WheelDisplacement(delta, s_wheelLines, m_lineDev.cy, m_pageDev.cy);
        OnScrollBy(CSize(0, d), TRUE);
    } else {
        const int d = odscroll::WheelDisplacement(delta, s_wheelLines, m_lineDev.cx, m_pageDev.cx);
        OnScrollBy(CSize(d, 0), TRUE);
    }
    return TRUE;
}

// ---- Painting and size ---------------------------------------------------------------------

void CODScrollCtrl::OnDraw(CDC*) {}

void CODScrollCtrl::OnPaint()
{
    CPaintDC dc(this);
    if (!m_paintingEnabled || !IsRedrawOn() || !IsWindowVisible())
        return;
    PaintTo(&dc, CRect(dc.m_ps.rcPaint));
}

void CODScrollCtrl::PaintTo(CDC* pDC, const CRect& area)
{
    if (area.IsRectEmpty())
        return;
    const CPoint pos = GetDeviceScrollPosition();
    CDC mem;
    CBitmap bitmap;
    if (!mem.CreateCompatibleDC(pDC) || !bitmap.CreateCompatibleBitmap(pDC, area.Width(), area.Height())) {
        const CPoint old = pDC->SetViewportOrg(-pos.x, -pos.y);
        OnDraw(pDC);
        pDC->SetViewportOrg(old);
        return;
    }
    CBitmap* old = mem.SelectObject(&bitmap);
    // Drawing coordinates are the contents': the bitmap's origin is the
    // paint rectangle's top-left moved by the scroll position.
    mem.FillSolidRect(0, 0, area.Width(), area.Height(), ::GetSysColor(COLOR_WINDOW));
    mem.SetViewportOrg(-pos.x - area.left, -pos.y - area.top);
    OnDraw(&mem);
    mem.SetViewportOrg(0, 0);
    pDC->BitBlt(area.left, area.top, area.Width(), area.Height(), &mem, 0, 0, SRCCOPY);
    mem.SelectObject(old);
}

void CODScrollCtrl::OnSize(UINT type, int cx, int cy)
{
    CODNcMgrWnd::OnSize(type, cx, cy);
    if (m_mapMode == ScaleToFit)
        SetScaleToFitSize(m_totalLog);
    else
        UpdateBars();
}

// ---- Scroll view ---------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CODScrollView, CView)

BEGIN_MESSAGE_MAP(CODScrollView, CView)
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CODScrollView::CODScrollView() {}

CODScrollView::~CODScrollView() {}

BOOL CODScrollView::PreCreateWindow(CREATESTRUCT& cs)
{
    m_ctrlStyle = LOWORD(cs.style);
    return CView::PreCreateWindow(cs);
}

void CODScrollView::OnInitialUpdate()
{
    if (m_initialised)
        return;
    CRect client;
    GetClientRect(&client);
    if (!m_container.Create(client, this, 0, WS_CHILD | WS_VISIBLE))
        AfxThrowMemoryException();
    if (!m_ctrl.Create(m_ctrlStyle | WS_CHILD | WS_VISIBLE | WS_TABSTOP, client, &m_container, 0))
        AfxThrowMemoryException();
    m_container.SetHostedChild(&m_ctrl);
    m_initialised = TRUE;
    CView::OnInitialUpdate();
}

void CODScrollView::OnDraw(CDC*) {}

void CODScrollView::OnSize(UINT type, int cx, int cy)
{
    CView::OnSize(type, cx, cy);
    if (m_initialised && m_ctrl.m_hWnd)
        m_container.MoveWindow(0, 0, cx, cy);
}

void CODScrollView::OnSetFocus(CWnd* pOld)
{
    CView::OnSetFocus(pOld);
    if (m_initialised && m_ctrl.m_hWnd)
        m_ctrl.SetFocus();
}

BOOL CODScrollView::OnEraseBkgnd(CDC*)
{
    return TRUE;
}
