// ODSBContainerWnd.cpp - the scroll-bar container.
#include "ODSBContainerWnd.h"

#include "ODLibrary.h"
#include "ODScrollLayout.h"
#include "ODWndClass.h"

namespace {

const char kClassName[] = "MFCSBContainerWnd";
const char kPropContainer[] = "SBContainer";
const ODThemeLoaderRegistration s_themeLoader(OD_LOADER_SBCONTAINER, &CSBContainerWnd::LoadTheme);

}  // namespace

IMPLEMENT_DYNCREATE(CSBContainerWnd, CODNcMgrWnd)

BEGIN_MESSAGE_MAP(CSBContainerWnd, CODNcMgrWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

int CSBContainerWnd::s_scrollSize = 13;
int CSBContainerWnd::s_scrollImageId = 0;
int CSBContainerWnd::s_minSliderSize = 8;

CSBContainerWnd::CSBContainerWnd()
{
    ODRegisterWndClass(kClassName, CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    SetArrowSizes(13, 13);
}

CSBContainerWnd::~CSBContainerWnd() {}

BOOL CSBContainerWnd::Create(const RECT& rect, CWnd* parent, UINT id, DWORD style)
{
    m_createdByCreate = TRUE;
    if (!CWnd::Create(kClassName, NULL, style, rect, parent, id))
        return FALSE;
    return BuildBars();
}

void CSBContainerWnd::PreSubclassWindow()
{
    CODNcMgrWnd::PreSubclassWindow();
    if (!m_createdByCreate && !BuildBars())
        AfxThrowMemoryException();
}

int CSBContainerWnd::OnCreate(LPCREATESTRUCT cs)
{
    if (CODNcMgrWnd::OnCreate(cs) == -1)
        return -1;
    ::SetPropA(m_hWnd, kPropContainer, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(OD_SBCONTAINER_ID)));
    return 0;
}

BOOL CSBContainerWnd::BuildBars()
{
    ModifyStyle(0, WS_CLIPCHILDREN);
    if (!m_horzBar.Create(WS_CHILD | WS_VISIBLE | SBS_HORZ, CRect(0, 0, 0, 0), this, HorzBarId))
        return FALSE;
    if (!m_vertBar.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, CRect(0, 0, 0, 0), this, VertBarId))
        return FALSE;
    for (CODScrollBarCtrl* bar : {&m_horzBar, &m_vertBar}) {
        bar->SetThumbColor(RGB(198, 215, 255));
        bar->SetHotThumb(RGB(148, 182, 255), 0, TRUE);
        bar->SetTrackColor(RGB(170, 170, 187));
        bar->SetOptionFlag(1);
    }
    ApplyTheme();
    return TRUE;
}

void CSBContainerWnd::LoadTheme()
{
    s_scrollSize = int(ODGetThemeColor("SBContainer", "ScrollSize", COLORREF(s_scrollSize)));
    s_scrollImageId = int(ODGetThemeColor("SBContainer", "ScrollImageID", COLORREF(s_scrollImageId)));
    s_minSliderSize = int(ODGetThemeColor("SBContainer", "MinSliderSize", COLORREF(s_minSliderSize)));
}

void CSBContainerWnd::ApplyTheme()
{
    SetMinSliderSize(s_minSliderSize, s_minSliderSize);
    SetArrowSizes(s_scrollSize, s_scrollSize);
    SetScrollBarSizes(s_scrollSize, s_scrollSize);
    SetImageCellSizes(BothBars, s_scrollSize, s_scrollSize, s_scrollSize, s_scrollSize);
    SetBarImage(BothBars, ODGetThemeImage(UINT(s_scrollImageId), "QVImage"), TRUE);
}

LRESULT CSBContainerWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != 0 && message == ODGetThemeMessage()) {
        LoadTheme();
        ApplyTheme();
        Invalidate(TRUE);
    }
    return CODNcMgrWnd::DefWindowProc(message, wParam, lParam);
}

CODScrollBarCtrl* CSBContainerWnd::GetScrollBarCtrl(int bar)
{
    if (bar == SB_HORZ)
        return &m_horzBar;
    if (bar == SB_VERT)
        return &m_vertBar;
    return nullptr;
}

// ---- Scroll interface ----------------------------------------------------------------------

int CSBContainerWnd::GetScrollPos(int bar)
{
    CODScrollBarCtrl* ctrl = GetScrollBarCtrl(bar);
    return ctrl ? ctrl->GetScrollPos() : 0;
}

int CSBContainerWnd::SetScrollPos(int bar, int pos, BOOL redraw)
{
    CODScrollBarCtrl* ctrl = GetScrollBarCtrl(bar);
    return ctrl ? ctrl->SetScrollPos(pos, redraw) : 0;
}

void CSBContainerWnd::GetScrollRange(int bar, int* min, int* max)
{
    if (CODScrollBarCtrl* ctrl = GetScrollBarCtrl(bar))
        ctrl->GetScrollRange(min, max);
}

void CSBContainerWnd::SetScrollRange(int bar, int min, int max, BOOL redraw)
{
    if (CODScrollBarCtrl* ctrl = GetScrollBarCtrl(bar))
        ctrl->SetScrollRange(min, max, redraw);
}

BOOL CSBContainerWnd::SetScrollInfo(int bar, SCROLLINFO* info, BOOL redraw)
{
    CODScrollBarCtrl* ctrl = GetScrollBarCtrl(bar);
    return ctrl ? ctrl->SetScrollInfo(info, redraw) : FALSE;
}

BOOL CSBContainerWnd::GetScrollInfo(int bar, SCROLLINFO* info, UINT mask)
{
    CODScrollBarCtrl* ctrl = GetScrollBarCtrl(bar);
    return ctrl ? ctrl->GetScrollInfo(info, mask) : FALSE;
}

int CSBContainerWnd::GetScrollLimit(int bar)
{
    CODScrollBarCtrl* ctrl = GetScrollBarCtrl(bar);
    return ctrl ? ctrl->GetScrollLimit() : 0;
}

BOOL CSBContainerWnd::IsHorzBarVisible()
{
    return m_horzBar.m_hWnd && m_horzBar.IsWindowVisible();
}

BOOL CSBContainerWnd::IsVertBarVisible()
{
    return m_vertBar.m_hWnd && m_vertBar.IsWindowVisible();
}

void CSBContainerWnd::ShowScrollBar(UINT bar, BOOL show)
{
    if (bar != SB_HORZ && bar != SB_VERT && bar != BothBars)
        return;
    if ((bar == SB_HORZ || bar == BothBars) && m_horzBar.m_hWnd)
        m_horzBar.ShowBar(show);
    if ((bar == SB_VERT || bar == BothBars) && m_vertBar.m_hWnd)
        m_vertBar.ShowBar(show);
    if (m_child)
        Relayout();
}

// The bars and the child on the client area, by the bars' own shown flags
// (a hidden container still lays out what will show).
void CSBContainerWnd::Relayout()
{
    if (!m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    odscroll::ContainerInput in;
    in.width = client.Width();
    in.height = client.Height();
    in.horzVisible = m_horzBar.m_hWnd && m_horzBar.IsShown();
    in.vertVisible = m_vertBar.m_hWnd && m_vertBar.IsShown();
    in.leftScrollBar = (GetExStyle() & WS_EX_LEFTSCROLLBAR) != 0;
    in.vertWidth = m_vertWidth;
    in.horzHeight = m_horzHeight;
    const odscroll::ContainerLayout l = odscroll::LayOutContainer(in);
    auto place = [](CWnd& w, const odscroll::Rect& r) {
        if (w.m_hWnd)
            w.SetWindowPos(NULL, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    };
    if (in.horzVisible)
        place(m_horzBar, l.horzBar);
    if (in.vertVisible)
        place(m_vertBar, l.vertBar);
    if (m_child && ::IsWindow(m_child->m_hWnd) && !l.child.IsEmpty())
        place(*m_child, l.child);
    if (in.horzVisible && in.vertVisible)
        InvalidateRect(CRect(l.corner.left, l.corner.top, l.corner.right, l.corner.bottom), FALSE);
}

CRect CSBContainerWnd::CornerRect()
{
    CRect client;
    GetClientRect(&client);
    odscroll::ContainerInput in;
    in.width = client.Width();
    in.height = client.Height();
    in.horzVisible = IsHorzBarVisible();
    in.vertVisible = IsVertBarVisible();
    in.leftScrollBar = (GetExStyle() & WS_EX_LEFTSCROLLBAR) != 0;
    in.vertWidth = m_vertWidth;
    in.horzHeight = m_horzHeight;
    const odscroll::Rect c = odscroll::LayOutContainer(in).corner;
    return CRect(c.left, c.top, c.right, c.bottom);
}

void CSBContainerWnd::SetScrollBarSizes(int vertWidth, int horzHeight)
{
    if (vertWidth == m_vertWidth && horzHeight == m_horzHeight)
        return;
    m_vertWidth = vertWidth;
    m_horzHeight = horzHeight;
    Relayout();
}

void CSBContainerWnd::SetArrowSizes(int horz, int vert)
{
    m_horzArrow = horz;
    m_vertArrow = vert;
    m_horzBar.SetArrowSize(horz);
    m_vertBar.SetArrowSize(vert);
}

void CSBContainerWnd::SetMinSliderSize(int horz, int vert)
{
    if (m_horzBar.m_hWnd)
        m_horzBar.SetMinThumb(horz);
    if (m_vertBar.m_hWnd)
        m_vertBar.SetMinThumb(vert);
}

BOOL CSBContainerWnd::SetBarImage(int bar, HBITMAP bitmap, BOOL deleteBitmap)
{
    if (bar == SB_HORZ || bar == SB_VERT)
        return GetScrollBarCtrl(bar)->SetImage(bitmap, deleteBitmap);
    if (bar != BothBars)
        return FALSE;
    // Each bar owns its own copy: the vertical one gets a bitmap made from
    // a surface of the picture, and only when the horizontal one took it.
    CQVDib16 copy;
    const BOOL copied = bitmap ? copy.LoadFromBitmap(bitmap) : FALSE;
    const BOOL horz = m_horzBar.SetImage(bitmap, deleteBitmap);
    if (!horz) {
        copy.Free();
        m_vertBar.SetImage(NULL, FALSE);
        return FALSE;
    }
    const BOOL vert = copied ? m_vertBar.SetImage(copy.CreateBitmap(), TRUE) : FALSE;
    copy.Free();
    return vert;
}

BOOL CSBContainerWnd::SetBarImageFromResource(int bar, UINT id)
{
    HMODULE module = ODGetResourceModule();
    HBITMAP bitmap = static_cast<HBITMAP>(::LoadImageA(module ? module : AfxGetInstanceHandle(),
                                                       MAKEINTRESOURCEA(LOWORD(id)), IMAGE_BITMAP, 0, 0,
                                                       LR_CREATEDIBSECTION));
    return SetBarImage(bar, bitmap, TRUE);
}

BOOL CSBContainerWnd::SetBarImageFromTypedResource(int bar, UINT id, LPCSTR type, int typeIndex, WORD language)
{
    HMODULE module = ODGetResourceModule();
    CQVDib16 picture;
    if (!picture.LoadFromResourceOrFile(module ? module : AfxGetInstanceHandle(), MAKEINTRESOURCEA(LOWORD(id)),
                                        type ? type : ODResourceTypeName(typeIndex), language))
        return FALSE;
    const BOOL result = SetBarImage(bar, picture.CreateBitmap(), TRUE);
    picture.Free();
    return result;
}

BOOL CSBContainerWnd::SetBarImageFromFile(int bar, LPCSTR path)
{
    CQVDib16 picture;
    if (!path || !picture.LoadFromFile(path))
        return FALSE;
    const BOOL result = SetBarImage(bar, picture.CreateBitmap(), TRUE);
    picture.Free();
    return result;
}

void CSBContainerWnd::SetImageCellSizes(int bar, int hWidth, int hHeight, int vWidth, int vHeight)
{
    if (bar == SB_HORZ || bar == BothBars)
        m_horzBar.SetImageCellSizes(hWidth, hHeight, vWidth, vHeight);
    if (bar == SB_VERT || bar == BothBars)
        m_vertBar.SetImageCellSizes(hWidth, hHeight, vWidth, vHeight);
}

void CSBContainerWnd::EnableBarPainting(BOOL enable)
{
    m_horzBar.EnablePainting(enable);
    m_vertBar.EnablePainting(enable);
}

// ---- Messages -------------------------------------------------------------------------------

void CSBContainerWnd::OnSize(UINT type, int cx, int cy)
{
    CODNcMgrWnd::OnSize(type, cx, cy);
    if (m_lastWidth == -1) {
        m_lastWidth = cx;
        m_lastHeight = cy;
        return;
    }
    if (m_child) {
        if (!::IsWindow(m_child->m_hWnd))
            return;
        if (m_horzBar.m_hWnd && m_vertBar.m_hWnd) {
            // The child follows the size change at once; the bars do not
            // paint while it moves.
            EnableBarPainting(FALSE);
            CRect r;
            m_child->GetWindowRect(&r);
            ScreenToClient(&r);
            r.right += cx - m_lastWidth;
            r.bottom += cy - m_lastHeight;
            m_child->MoveWindow(&r);
            EnableBarPainting(TRUE);
        }
    }
    m_lastWidth = cx;
    m_lastHeight = cy;
    Relayout();
}

BOOL CSBContainerWnd::OnEraseBkgnd(CDC* pDC)
{
    if (m_child)
        return TRUE;
    return CODNcMgrWnd::OnEraseBkgnd(pDC);
}

void CSBContainerWnd::OnPaint()
{
    CPaintDC dc(this);
    if (!IsWindowVisible() || !IsHorzBarVisible() || !IsVertBarVisible())
        return;
    const CRect corner = CornerRect();
    if (!corner.IsRectEmpty())
        DrawCorner(&dc, &corner);
}

void CSBContainerWnd::DrawCorner(CDC* pDC, const RECT* rect)
{
    if (!pDC || !rect)
        return;
    if (!m_vertBar.m_hWnd) {
        pDC->FillSolidRect(rect, RGB(128, 128, 128));
        return;
    }
    CODScrollBarCtrl::DrawRequest r;
    r.pDC = pDC;
    r.rect = *rect;
    r.part = (GetExStyle() & WS_EX_LEFTSCROLLBAR) ? odscroll::kDrawSizeBoxLeft : odscroll::kDrawSizeBoxRight;
    r.state = 0;
    m_vertBar.DrawPart(r);
}

LRESULT CSBContainerWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (m_child && ::IsWindow(m_child->m_hWnd))
            m_child->SendMessage(message, MAKEWPARAM(LOWORD(wParam), HIWORD(wParam)), 0);
        return DefWindowProc(message, wParam, lParam);
    case WM_MOUSEWHEEL:
        if (m_child && ::IsWindow(m_child->m_hWnd) && !(LOWORD(wParam) & (MK_SHIFT | MK_CONTROL))) {
            m_child->SendMessage(message, wParam, lParam);
            return 1;
        }
        break;
    default:
        break;
    }
    return CODNcMgrWnd::WindowProc(message, wParam, lParam);
}

BOOL CSBContainerWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    CWnd* parent = GetParent();
    if (m_child && parent) {
        parent->SendMessage(WM_COMMAND, wParam, lParam);
        return TRUE;
    }
    return CODNcMgrWnd::OnCommand(wParam, lParam);
}

BOOL CSBContainerWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    CWnd* parent = GetParent();
    if (m_child && parent && header && header->hwndFrom == m_child->m_hWnd) {
        const LRESULT result = parent->SendMessage(WM_NOTIFY, wParam, lParam);
        if (pResult)
            *pResult = result;
        return TRUE;
    }
    return CODNcMgrWnd::OnNotify(wParam, lParam, pResult);
}
