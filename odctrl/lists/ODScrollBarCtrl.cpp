// ODScrollBarCtrl.cpp - the skinned scroll bar.
#include "ODScrollBarCtrl.h"

#include <algorithm>

#include "ODDrawing.h"
#include "ODLibrary.h"
#include "ODWndClass.h"

using namespace odscroll;

namespace {

const char kClassName[] = "ODScrollBarCtrl";
const char kPropScrollBar[] = "ScrollBarEx";

const ODThemeLoaderRegistration s_themeLoader(OD_LOADER_SCROLLBAR, &CODScrollBarCtrl::LoadTheme);

}  // namespace

int CODScrollBarCtrl::s_fixedSliderSize = -1;

BEGIN_MESSAGE_MAP(CODScrollBarCtrl, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_TIMER()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEWHEEL()
    ON_WM_KEYDOWN()
    ON_WM_GETDLGCODE()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

CODScrollBarCtrl::CODScrollBarCtrl()
    : m_trackColour(::GetSysColor(COLOR_SCROLLBAR)),
      m_thumbColour(::GetSysColor(COLOR_BTNFACE)),
      m_hotThumbColour(::GetSysColor(COLOR_BTNSHADOW))
{
    m_model.fixedThumb = s_fixedSliderSize;
    SetImageCellSizes(11, 11, 11, 11);
    ODRegisterWndClass(kClassName, CS_VREDRAW | CS_HREDRAW, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

CODScrollBarCtrl::~CODScrollBarCtrl()
{
    m_image.Free();
}

BOOL CODScrollBarCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    m_horizontal = (style & SBS_VERT) ? 0 : 1;
    return CWnd::Create(kClassName, "", style & ~(WS_HSCROLL | WS_VSCROLL), rect, parent, id);
}

void CODScrollBarCtrl::PreSubclassWindow()
{
    CWnd::PreSubclassWindow();
    ::SetPropA(m_hWnd, OD_PROP_CTRL, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(OD_CTRL_ID)));
    ::SetPropA(m_hWnd, kPropScrollBar, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(OD_SCROLLBAREX_ID)));
    ApplyTheme();
}

void CODScrollBarCtrl::LoadTheme()
{
    s_fixedSliderSize = int(ODGetThemeColor("ScrollBarEx", "FixedSliderSize", COLORREF(s_fixedSliderSize)));
}

void CODScrollBarCtrl::ApplyTheme()
{
    ApplyFixedThumb(m_model, s_fixedSliderSize);
}

LRESULT CODScrollBarCtrl::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == ODGetThemeMessage() && message != 0) {
        LoadTheme();
        ApplyTheme();
        Repaint();
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}

// ---- Scroll model ----------------------------------------------------------------------------

void CODScrollBarCtrl::SetScrollRange(int min, int max, BOOL redraw)
{
    if (odscroll::SetRange(m_model, min, max) == kRangeHidden) {
        if (m_hWnd) {
            ShowBar(FALSE);
            EnableWindow(FALSE);
        }
        return;
    }
    if (redraw && m_hWnd) {
        ShowBar(TRUE);
        EnableWindow(TRUE);
        Repaint();
    }
}

void CODScrollBarCtrl::GetScrollRange(int* min, int* max) const
{
    odscroll::GetRange(m_model, min, max);
}

void CODScrollBarCtrl::SetPageSize(int page, BOOL redraw)
{
    odscroll::SetPage(m_model, page);
    if (redraw)
        Repaint();
}

int CODScrollBarCtrl::SetScrollPos(int pos, BOOL redraw)
{
    const int previous = odscroll::SetPos(m_model, pos);
    if (redraw)
        Repaint();
    return previous;
}

int CODScrollBarCtrl::GetScrollPos() const
{
    return odscroll::GetPos(m_model);
}

int CODScrollBarCtrl::SetTrackPos(int pos, BOOL redraw)
{
    const int previous = odscroll::SetTrackPos(m_model, pos);
    if (redraw)
        Repaint();
    return previous;
}

BOOL CODScrollBarCtrl::SetScrollInfo(const SCROLLINFO* info, BOOL redraw)
{
    if (!info)
        return FALSE;
    BOOL any = FALSE;
    if (info->fMask & SIF_RANGE) {
        SetScrollRange(info->nMin, info->nMax, redraw);
        any = TRUE;
    }
    if (info->fMask & SIF_PAGE) {
        SetPageSize(int(info->nPage), redraw);
        any = TRUE;
    }
    if (info->fMask & SIF_POS) {
        SetScrollPos(info->nPos, redraw);
        any = TRUE;
    }
    if (info->fMask & SIF_TRACKPOS) {
        SetTrackPos(info->nTrackPos, redraw);
        any = TRUE;
    }
    return any;
}

BOOL CODScrollBarCtrl::GetScrollInfo(SCROLLINFO* info, UINT mask) const
{
    if (!info)
        return FALSE;
    info->fMask = mask;
    if (mask & SIF_RANGE)
        GetScrollRange(&info->nMin, &info->nMax);
    if (mask & SIF_PAGE)
        info->nPage = UINT(std::max(0, m_model.page));
    if (mask & SIF_POS)
        info->nPos = GetScrollPos();
    if (mask & SIF_TRACKPOS)
        info->nTrackPos = m_model.trackPos;
    return (mask & (SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS)) != 0;
}

// ---- Look --------------------------------------------------------------------------------------

void CODScrollBarCtrl::SetTrackColor(COLORREF colour)
{
    m_trackColour = colour;
    Repaint();
}

void CODScrollBarCtrl::SetThumbColor(COLORREF colour)
{
    m_thumbColour = colour;
    Repaint();
}

void CODScrollBarCtrl::SetHotThumb(COLORREF colour, int value, BOOL hotTracking)
{
    m_hotThumbColour = colour;
    m_hotValue = value;
    m_hotTracking = hotTracking;
}

void CODScrollBarCtrl::SetGripStyle(int style)
{
    m_gripStyle = std::max(1, std::min(4, style));
}

void CODScrollBarCtrl::SetFixedThumb(int length)
{
    ApplyFixedThumb(m_model, length);
}

void CODScrollBarCtrl::EnableBar(BOOL enable)
{
    if (m_hWnd)
        EnableWindow(enable);
    Repaint();
}

void CODScrollBarCtrl::ShowBar(BOOL show)
{
    m_shown = show;
    if (m_hWnd)
        ShowWindow(show ? SW_SHOW : SW_HIDE);
}

BOOL CODScrollBarCtrl::EnableArrows(UINT flags)
{
    BOOL known = TRUE;
    switch (flags) {
    case ESB_ENABLE_BOTH: m_firstArrowEnabled = m_secondArrowEnabled = TRUE; break;
    case ESB_DISABLE_LTUP: m_firstArrowEnabled = FALSE; break;
    case ESB_DISABLE_RTDN: m_secondArrowEnabled = FALSE; break;
    case ESB_DISABLE_BOTH: m_firstArrowEnabled = m_secondArrowEnabled = FALSE; break;
    default: known = FALSE; break;
    }
    Repaint();
    return known;
}

// ---- Image strip -------------------------------------------------------------------------------

BOOL CODScrollBarCtrl::SetImage(HBITMAP bitmap, BOOL deleteBitmap)
{
    m_image.Free();
    const BOOL loaded = bitmap ? m_image.LoadFromBitmap(bitmap) : FALSE;
    if (bitmap && deleteBitmap)
        ::DeleteObject(bitmap);
    Repaint();
    return loaded;
}

BOOL CODScrollBarCtrl::SetImageFromResource(UINT id)
{
    HMODULE module = ODGetResourceModule();
    HBITMAP bitmap = static_cast<HBITMAP>(
        ::LoadImageA(module ? module : AfxGetInstanceHandle(), MAKEINTRESOURCEA(LOWORD(id)), IMAGE_BITMAP, 0, 0,
                     LR_CREATEDIBSECTION));
    return SetImage(bitmap, TRUE);
}

BOOL CODScrollBarCtrl::SetImageFromTypedResource(UINT id, LPCSTR type, int typeIndex, WORD language)
{
    static const char* const kTypes[] = {"ODRES_BITMAP", "ODRES_GIF", "ODRES_JPEG", "ODRES_PNG"};
    if (!type)
        type = typeIndex >= 0 && typeIndex < 4 ? kTypes[typeIndex] : kTypes[0];
    m_image.Free();
    HMODULE module = ODGetResourceModule();
    const BOOL loaded = m_image.LoadFromResourceOrFile(module ? module : AfxGetInstanceHandle(),
                                                      MAKEINTRESOURCEA(LOWORD(id)), type, language);
    Repaint();
    return loaded;
}

BOOL CODScrollBarCtrl::SetImageFromFile(LPCSTR path)
{
    m_image.Free();
    const BOOL loaded = path ? m_image.LoadFromFile(path) : FALSE;
    Repaint();
    return loaded;
}

void CODScrollBarCtrl::SetImageCellSizes(int hWidth, int hHeight, int vWidth, int vHeight)
{
    m_cells = {hWidth, hHeight, vWidth, vHeight};
}

// ---- Geometry ----------------------------------------------------------------------------------

odscroll::Geometry CODScrollBarCtrl::Layout(int value) const
{
    CRect client(0, 0, 0, 0);
    if (m_hWnd)
        GetClientRect(&client);
    GeometryInput in;
    in.length = m_horizontal == 1 ? client.Width() : client.Height();
    in.arrowSize = m_arrowSize;
    in.minThumb = m_minThumb;
    in.systemThumb = ::GetSystemMetrics(m_horizontal == 1 ? SM_CXHTHUMB : SM_CYVTHUMB);
    return odscroll::Layout(m_model, in, value);
}

int CODScrollBarCtrl::HitTest(CPoint point) const
{
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(point))
        return kPartNone;
    return odscroll::HitTest(Layout(m_model.pos), Along(point), m_horizontal != 1);
}

CRect CODScrollBarCtrl::SpanRect(const odscroll::Span& span) const
{
    CRect client;
    GetClientRect(&client);
    if (m_horizontal == 1)
        return CRect(span.start, client.top, span.end, client.bottom);
    return CRect(client.left, span.start, client.right, span.end);
}

// ---- Notifications and mouse -------------------------------------------------------------------

void CODScrollBarCtrl::Notify(int code)
{
    CWnd* parent = GetParent();
    if (!parent)
        return;
    const int value = code == SB_THUMBTRACK ? m_model.trackPos : m_model.pos;
    parent->SendMessage(m_horizontal == 1 ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(code, WORD(value)), 0);
}

void CODScrollBarCtrl::Repaint()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        Invalidate(FALSE);
}

void CODScrollBarCtrl::RepeatStep()
{
    // While captured every pointer move reaches the bar: the last one is
    // where the pointer is.
    const int part = HitTest(m_lastPoint);
    const bool still = part == m_pressedPart;
    const int code = RepeatCode(m_pressedPart);
    const int base = m_pressedPart >= kVerticalPartBase ? m_pressedPart - kVerticalPartBase : m_pressedPart;
    BOOL* flag = nullptr;
    if (base == kPartFirstArrow)
        flag = &m_firstArrowPressed;
    else if (base == kPartSecondArrow)
        flag = &m_secondArrowPressed;
    else
        flag = &m_trackPressed;
    if (!still) {
        // Off the part: the repeat pauses, the capture stays.
        if (*flag) {
            *flag = FALSE;
            Repaint();
        }
        return;
    }
    *flag = TRUE;
    Repaint();
    if (code >= 0)
        Notify(code);
}

void CODScrollBarCtrl::OnLButtonDown(UINT flags, CPoint point)
{
    if (!IsWindowEnabled())
        return;
    CWnd::OnLButtonDown(flags, point);
    SetFocus();
    m_lastPoint = point;
    const int part = HitTest(point);
    m_dragOffset = 0;
    const int base = part >= kVerticalPartBase ? part - kVerticalPartBase : part;
    bool repeat = false;
    bool capture = false;
    if (base == kPartFirstArrow && part != kPartThumb) {
        if (m_firstArrowEnabled) {
            m_firstArrowPressed = TRUE;
            capture = repeat = true;
        }
    } else if (base == kPartSecondArrow && part != kPartThumb) {
        if (m_secondArrowEnabled) {
            m_secondArrowPressed = TRUE;
            capture = repeat = true;
        }
    } else if ((base == kPartTrackBefore || base == kPartTrackAfter) && part != kPartThumb) {
        m_trackPressed = TRUE;
        capture = repeat = true;
    } else if (part == kPartThumb) {
        m_thumbDragged = TRUE;
        capture = true;
    }
    if (!capture)
        return;
    m_captured = TRUE;
    m_pressedPart = part;
    SetCapture();
    if (part == kPartThumb) {
        const odscroll::Geometry g = Layout(m_model.pos);
        m_dragOffset = Along(point) - g.thumb.start;
        m_model.trackPos = m_model.pos;
    } else if (repeat) {
        SetTimer(TimerFirstDelay, FirstDelayMs, NULL);
        RepeatStep();
    }
    m_pointerInside = TRUE;
    Repaint();
}

void CODScrollBarCtrl::OnLButtonUp(UINT flags, CPoint point)
{
    if (m_captured) {
        m_pressedPart = -1;
        m_captured = FALSE;
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        KillTimer(TimerFirstDelay);
        KillTimer(TimerRepeat);
        m_firstArrowPressed = m_secondArrowPressed = FALSE;
        m_thumbDragged = FALSE;
        m_trackPressed = FALSE;
        Repaint();
    }
    CWnd::OnLButtonUp(flags, point);
}

void CODScrollBarCtrl::OnMouseMove(UINT flags, CPoint point)
{
    m_lastPoint = point;
    if (m_captured) {
        if (m_thumbDragged) {
            const odscroll::Geometry g = Layout(m_model.pos);
            const int value = DragValue(m_model, g, Along(point), m_dragOffset);
            SetTrackPos(value, TRUE);
            Notify(SB_THUMBTRACK);
        } else if (m_trackPressed || m_pressedPart >= 0) {
            CRect client;
            GetClientRect(&client);
            const BOOL inside = client.PtInRect(point);
            if (inside != m_pointerInside) {
                m_pointerInside = inside;
                Repaint();
            }
        }
    } else {
        if (!m_hoverTracking) {
            TRACKMOUSEEVENT tme = {sizeof tme, TME_LEAVE, m_hWnd, 0};
            m_hoverTracking = ::TrackMouseEvent(&tme);
            m_hotPart = HitTest(point);
            Repaint();
        } else {
            const int part = HitTest(point);
            if (part != m_hotPart) {
                m_hotPart = part;
                Repaint();
            }
        }
    }
    CWnd::OnMouseMove(flags, point);
}

void CODScrollBarCtrl::OnMouseLeave()
{
    TRACKMOUSEEVENT tme = {sizeof tme, TME_CANCEL | TME_LEAVE, m_hWnd, 0};
    ::TrackMouseEvent(&tme);
    m_hoverTracking = FALSE;
    m_hotPart = -1;
    Repaint();
}

void CODScrollBarCtrl::OnTimer(UINT_PTR id)
{
    switch (id) {
    case TimerFirstDelay:
        KillTimer(TimerFirstDelay);
        SetTimer(TimerRepeat, RepeatMs, NULL);
        break;
    case TimerRepeat:
        if (m_captured)
            RepeatStep();
        break;
    case TimerBlink:
        m_blink = !m_blink;
        Repaint();
        break;
    default:
        CWnd::OnTimer(id);
        break;
    }
}

BOOL CODScrollBarCtrl::OnSetCursor(CWnd*, UINT, UINT)
{
    ::SetCursor(::LoadCursor(NULL, IDC_ARROW));
    return TRUE;
}

BOOL CODScrollBarCtrl::OnMouseWheel(UINT flags, short delta, CPoint point)
{
    if (delta > 0)
        Notify(SB_PAGEUP);
    else if (delta < 0)
        Notify(SB_PAGEDOWN);
    return CWnd::OnMouseWheel(flags, delta, point);
}

void CODScrollBarCtrl::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    // The arrow and page keys are the parent's (a focused list steps
    // itself); Home and End move the bar and tell the parent.
    const int before = m_model.pos;
    int code = -1;
    if (key == VK_HOME) {
        odscroll::SetPos(m_model, m_model.min);
        code = SB_TOP;
    } else if (key == VK_END) {
        odscroll::SetPos(m_model, m_model.maxPos);
        code = SB_BOTTOM;
    }
    if (code >= 0 && m_model.pos != before) {
        Repaint();
        Notify(code);
    }
    CWnd::OnKeyDown(key, repeat, flags);
}

UINT CODScrollBarCtrl::OnGetDlgCode()
{
    return DLGC_WANTARROWS | ((GetStyle() & WS_TABSTOP) ? DLGC_WANTTAB : 0);
}

void CODScrollBarCtrl::OnSetFocus(CWnd*) {}

void CODScrollBarCtrl::OnKillFocus(CWnd* pNew)
{
    KillTimer(TimerBlink);
    m_focus = FALSE;
    Repaint();
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), FocusLostCode), reinterpret_cast<LPARAM>(m_hWnd));
    CWnd::OnKillFocus(pNew);
}

void CODScrollBarCtrl::OnCaptureChanged(CWnd* pWnd)
{
    CWnd::OnCaptureChanged(pWnd);
    Repaint();
}

// ---- Painting ----------------------------------------------------------------------------------

BOOL CODScrollBarCtrl::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CODScrollBarCtrl::OnPaint()
{
    CPaintDC dc(this);
    if (!IsWindowVisible() || !m_paintingEnabled)
        return;
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
        return;
    CODMemDC mem;
    if (mem.Create(&dc, client)) {
        PaintTo(&mem);
        mem.Flush(TRUE);
    } else {
        PaintTo(&dc);
    }
}

void CODScrollBarCtrl::PaintTo(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    const int disabled = IsWindowEnabled() ? 0 : kStateDisabled;
    const odscroll::Geometry g = Layout(m_thumbDragged ? m_model.trackPos : m_model.pos);
    DrawRequest r = {pDC, client, kDrawTrack, disabled};
    DrawPart(r);

    const int base = m_pressedPart >= kVerticalPartBase ? m_pressedPart - kVerticalPartBase : m_pressedPart;
    if (m_trackPressed && m_pointerInside && (base == kPartTrackBefore || base == kPartTrackAfter)) {
        const odscroll::Span& half = base == kPartTrackBefore ? g.trackBefore : g.trackAfter;
        if (half.Length() > 0) {
            r.rect = SpanRect(half);
            r.part = base == kPartTrackBefore ? kDrawTrackBefore : kDrawTrackAfter;
            r.state = kStatePressed | disabled;
            DrawPart(r);
        }
    }
    const int vbase = m_horizontal == 1 ? 0 : kVerticalPartBase;
    for (int arrow = 0; arrow < 2; ++arrow) {
        const BOOL pressed = arrow == 0 ? m_firstArrowPressed : m_secondArrowPressed;
        const BOOL enabled = arrow == 0 ? m_firstArrowEnabled : m_secondArrowEnabled;
        int state = 0;
        if (pressed)
            state |= kStatePressed;
        else if (m_hotTracking && m_hotPart == vbase + arrow)
            state |= kStateHot;
        if (disabled || !enabled)
            state |= kStateDisabled;
        r.rect = SpanRect(arrow == 0 ? g.firstArrow : g.secondArrow);
        r.part = arrow == 0 ? kDrawFirstArrow : kDrawSecondArrow;
        r.state = state;
        DrawPart(r);
    }
    if (g.thumb.Length() > 0) {
        int state = 0;
        if (m_thumbDragged && m_hotTracking)
            state |= kStatePressed;
        if (m_hotTracking && m_hotPart == kPartThumb)
            state |= kStateHot;
        if (disabled || !m_secondArrowEnabled)
            state |= kStateDisabled;
        r.rect = SpanRect(g.thumb);
        r.part = kDrawThumb;
        r.state = state;
        DrawPart(r);
    }
}

void CODScrollBarCtrl::DrawPart(const DrawRequest& request)
{
    if (HasImage())
        DrawFromStrip(request);
    else
        DrawClassic(request);
}

void CODScrollBarCtrl::DrawFromStrip(const DrawRequest& r)
{
    const bool vertical = m_horizontal != 1;
    const int row = RowOfState(r.state);
    const HDC dc = r.pDC->GetSafeHdc();
    auto blit = [&](const SourceRect& s, const RECT& d) {
        if (d.right <= d.left || d.bottom <= d.top)
            return;
        RECT src = {s.x, s.y, s.x + s.width, s.y + s.height};
        m_image.StretchDraw(dc, &src, &d);
    };
    if (r.part == kDrawTrack) {
        // The whole track as its two halves.
        const odscroll::Geometry g = Layout(m_thumbDragged ? m_model.trackPos : m_model.pos);
        blit(PartSource(m_cells, vertical, kDrawTrackBefore, row), SpanRect(g.track));
        return;
    }
    if (r.part == kDrawThumb) {
        const int cap = ThumbCapLength(m_cells, vertical);
        RECT start = r.rect, middle = r.rect, end = r.rect;
        if (vertical) {
            start.bottom = std::min(r.rect.bottom, r.rect.top + cap);
            end.top = std::max(start.bottom, r.rect.bottom - cap);
            middle.top = start.bottom;
            middle.bottom = end.top;
        } else {
            start.right = std::min(r.rect.right, r.rect.left + cap);
            end.left = std::max(start.right, r.rect.right - cap);
            middle.left = start.right;
            middle.right = end.left;
        }
        blit(ThumbSource(m_cells, vertical, kThumbStartCap, row), start);
        blit(ThumbSource(m_cells, vertical, kThumbMiddle, row), middle);
        blit(ThumbSource(m_cells, vertical, kThumbEndCap, row), end);
        return;
    }
    blit(PartSource(m_cells, vertical, r.part, row), r.rect);
}

void CODScrollBarCtrl::DrawClassic(const DrawRequest& r)
{
    CDC* dc = r.pDC;
    CRect rect(r.rect);
    const bool vertical = m_horizontal != 1;
    switch (r.part) {
    case kDrawFirstArrow:
    case kDrawSecondArrow: {
        UINT state = r.part == kDrawFirstArrow ? (vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT)
                                               : (vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT);
        if (r.state & kStateDisabled)
            state |= DFCS_INACTIVE;
        if (r.state & kStatePressed)
            state |= DFCS_PUSHED;
        if (!rect.IsRectEmpty())
            ::DrawFrameControl(dc->GetSafeHdc(), &rect, DFC_SCROLL, state);
        break;
    }
    case kDrawTrackBefore:
    case kDrawTrackAfter:
        ::InvertRect(dc->GetSafeHdc(), &rect);
        break;
    case kDrawTrack:
        if (r.state & kStateDisabled) {
            dc->FillSolidRect(&rect, m_trackColour);
        } else {
            // An 8 x 8 checkerboard of grey and the track colour.
            CBitmap pattern;
            CDC mem;
            mem.CreateCompatibleDC(dc);
            pattern.CreateCompatibleBitmap(dc, 8, 8);
            CBitmap* old = mem.SelectObject(&pattern);
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x)
                    mem.SetPixel(x, y, ((x + y) & 1) ? m_trackColour : RGB(127, 127, 127));
            mem.SelectObject(old);
            CBrush brush;
            brush.CreatePatternBrush(&pattern);
            dc->FillRect(&rect, &brush);
        }
        break;
    case kDrawThumb: {
        const COLORREF fill = (r.state & kStateHot) ? m_hotThumbColour : m_thumbColour;
        dc->FillSolidRect(&rect, fill);
        CRect inner(rect);
        dc->Draw3dRect(&inner, fill, RGB(0, 0, 0));
        inner.DeflateRect(1, 1);
        dc->Draw3dRect(&inner, ::GetSysColor(COLOR_3DHILIGHT), ::GetSysColor(COLOR_BTNSHADOW));
        const CPoint centre = rect.CenterPoint();
        switch (m_gripStyle) {
        case 1:
            for (int offset : {-6, -3, 0, 3}) {
                CRect mark = vertical ? CRect(rect.left + 2, centre.y + offset, rect.right - 2, centre.y + offset + 2)
                                      : CRect(centre.x + offset, rect.top + 2, centre.x + offset + 2, rect.bottom - 2);
                dc->Draw3dRect(&mark, ::GetSysColor(COLOR_3DHILIGHT), ::GetSysColor(COLOR_BTNSHADOW));
            }
            break;
        case 2: {
            const int radius = std::max(1, (::GetSystemMetrics(SM_CXVSCROLL) - 10) / 2);
            CBrush brush;
            brush.CreateSolidBrush(m_thumbColour);
            CBrush* oldBrush = dc->SelectObject(&brush);
            CPen light, dark;
            light.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_3DHILIGHT));
            dark.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
            CPen* oldPen = dc->SelectObject(&light);
            const CRect circle(centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius);
            dc->Ellipse(&circle);
            dc->Arc(&circle, CPoint(circle.right, circle.top), CPoint(circle.left, circle.bottom));
            dc->SelectObject(&dark);
            dc->Arc(&circle, CPoint(circle.left, circle.bottom), CPoint(circle.right, circle.top));
            dc->SelectObject(oldPen);
            dc->SelectObject(oldBrush);
            break;
        }
        case 3: {
            CRect line = vertical ? CRect(rect.left + 1, centre.y - 1, rect.right - 1, centre.y + 1)
                                  : CRect(centre.x - 1, rect.top + 1, centre.x + 1, rect.bottom - 1);
            dc->Draw3dRect(&line, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_3DHILIGHT));
            break;
        }
        case 4: {
            char text[16];
            wsprintfA(text, "%d", GetScrollPos());
            dc->SetBkMode(TRANSPARENT);
            dc->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
            dc->DrawText(text, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            break;
        }
        default:
            break;
        }
        break;
    }
    case kDrawSizeBoxRight:
    case kDrawSizeBoxLeft:
        ::DrawFrameControl(dc->GetSafeHdc(), &rect, DFC_SCROLL,
                           r.part == kDrawSizeBoxRight ? DFCS_SCROLLSIZEGRIP : DFCS_SCROLLSIZEGRIPRIGHT);
        break;
    default:
        break;
    }
}
