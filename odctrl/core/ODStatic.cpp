// ODStatic.cpp - the owner-draw static.
#include "ODStatic.h"

#include <shellapi.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>

#include "ODControlFont.h"
#include "ODLibrary.h"

namespace {

const char kSection[] = "ODStatic";

const ODThemeLoaderRegistration s_loader(OD_LOADER_STATIC, &CODStatic::LoadTheme);

INT_PTR ShellOpen(HWND owner, LPCSTR target)
{
    return reinterpret_cast<INT_PTR>(::ShellExecuteA(owner, "open", target, NULL, NULL, SW_SHOWNORMAL));
}

void LinkFailed(HWND owner, LPCSTR message)
{
    ::MessageBeep(0);
    ::MessageBoxA(owner, message, NULL, MB_OK | MB_ICONSTOP);
}

}  // namespace

INT_PTR (*CODStatic::s_shellOpen)(HWND, LPCSTR) = &ShellOpen;
void (*CODStatic::s_linkFailed)(HWND, LPCSTR) = &LinkFailed;

CODStatic::Defaults& CODStatic::ClassDefaults()
{
    static Defaults d = [] {
        Defaults v = {};
        v.borderColour = 0xFFFFFF;
        v.borderWidth = 1;
        v.bkStart = ::GetSysColor(COLOR_BTNFACE);
        v.bkEnd = ::GetSysColor(COLOR_BTNFACE);
        v.stopOnFocus = 1;
        v.bkMode = BkGradient;
        return v;
    }();
    return d;
}

void CODStatic::LoadTheme()
{
    LoadTxtMovColors();
    Defaults& d = ClassDefaults();
    d.borderColour = ODGetThemeColor(kSection, "BorderColor", d.borderColour);
    d.borderWidth = static_cast<int>(ODGetThemeColor(kSection, "BorderWidth", d.borderWidth));
    d.bkStart = ODGetThemeColor(kSection, "BkStartColor", d.bkStart);
    d.bkEnd = ODGetThemeColor(kSection, "BkEndColor", d.bkEnd);
    d.stopOnFocus = static_cast<int>(ODGetThemeColor(kSection, "TxtMovStopOnFocus", d.stopOnFocus));
    d.bkMode = static_cast<int>(ODGetThemeColor(kSection, "BkMode", d.bkMode));
    char value[kImageValueSize];
    ODGetThemeString(kSection, "BkImg", d.bkImage, value, sizeof value);
    memcpy(d.bkImage, value, sizeof value);
    d.bkImage[kImageValueSize - 1] = 0;
    d.normalCursor = ODGetThemeColor(kSection, "NormalCursor", d.normalCursor);
    d.focusCursor = ODGetThemeColor(kSection, "FocusCursor", d.focusCursor);
}

CODStatic::CODStatic()
    : m_focusCursor(NULL), m_normalCursor(NULL), m_themeFocusCursor(NULL), m_borderColourSet(FALSE),
      m_borderWidthSet(FALSE), m_bkStartSet(FALSE), m_bkEndSet(FALSE), m_bkModeSet(FALSE), m_stopOnFocusSet(FALSE),
      m_bkImageValue(), m_bkImageSet(FALSE), m_normalCursorSet(FALSE), m_focusCursorSet(FALSE), m_margins(),
      m_hover(FALSE), m_mover(NULL)
{
    const Defaults& d = ClassDefaults();
    m_borderColour = d.borderColour;
    m_borderWidth = d.borderWidth;
    m_bkStart = d.bkStart;
    m_bkEnd = d.bkEnd;
    m_bkMode = d.bkMode;
    m_stopOnFocus = d.stopOnFocus;
    memcpy(m_bkImageValue, d.bkImage, sizeof m_bkImageValue);
    m_normalCursorId = d.normalCursor;
    m_focusCursorId = d.focusCursor;
}

CODStatic::~CODStatic()
{
    if (m_focusCursor)
        ::DestroyCursor(m_focusCursor);
    if (m_normalCursor)
        ::DestroyCursor(m_normalCursor);
    if (m_themeFocusCursor)
        ::DestroyCursor(m_themeFocusCursor);
}

BOOL CODStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!CWnd::Create("STATIC", lpszText, dwStyle, rect, pParentWnd, nID))
        return FALSE;
    CommonSetUp();
    return TRUE;
}

void CODStatic::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    if (!(m_nFlags & WF_CREATING))
        CommonSetUp();
}

void CODStatic::CommonSetUp()
{
    ApplyTheme();
    ModifyStyle(0, SS_NOTIFY);
    ODSetCtrlProps(m_hWnd, OD_STATIC_ID);
    m_text.SetOwner(this, TimerText, TRUE);
    m_bkImage.SetOwner(this, TimerImage, TRUE);
    InitFont();
    CString text;
    GetWindowText(text);
    m_text.SetMarkup(text);
}

void CODStatic::InitFont()
{
    LOGFONT lf;
    if (ODGetInheritedFont(m_hWnd, &lf))
        m_text.SetFont(&lf);
}

// ---- Theme -------------------------------------------------------------------------------------

void CODStatic::LoadBkImage()
{
    m_bkImage.Release();
    if (m_bkImageValue[0]) {
        ODLoadSkinImage(m_bkImageValue, &m_bkImage);
        m_bkImage.SetDrawMode(CODSkinImage::DrawTile);
    }
}

void CODStatic::ApplyTheme()
{
    m_text.ApplyDefaultColors();
    const Defaults& d = ClassDefaults();
    if (!m_borderColourSet)
        m_borderColour = d.borderColour;
    if (!m_borderWidthSet)
        m_borderWidth = d.borderWidth;
    if (!m_bkStartSet)
        m_bkStart = d.bkStart;
    if (!m_bkEndSet)
        m_bkEnd = d.bkEnd;
    if (!m_stopOnFocusSet)
        m_stopOnFocus = d.stopOnFocus;
    if (!m_bkModeSet)
        m_bkMode = d.bkMode;
    if (!m_bkImageSet)
        memcpy(m_bkImageValue, d.bkImage, sizeof m_bkImageValue);
    if (!m_normalCursorSet)
        m_normalCursorId = d.normalCursor;
    if (!m_focusCursorSet)
        m_focusCursorId = d.focusCursor;
    CODSkinFrame::SetColor(m_borderColour, 0);
    const int widths[4] = {m_borderWidth, m_borderWidth, m_borderWidth, m_borderWidth};
    CODSkinFrame::SetBorderWidths(NULL, widths);
    CODGradient::SetColors(m_bkStart, m_bkEnd);
    if (m_bkMode == BkImage)
        LoadBkImage();
    else
        m_bkImage.Release();
    if (m_bkMode == BkParent && m_hWnd && GetParent()) {
        m_parentCache.Reset();
        CRect r;
        GetWindowRect(&r);
        GetParent()->ScreenToClient(&r);
        GetParent()->InvalidateRect(&r, TRUE);
    }
}

LRESULT CODStatic::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == ODGetThemeMessage()) {
        ApplyTheme();
        Invalidate(TRUE);
    }
    return CStatic::DefWindowProc(message, wParam, lParam);
}

// ---- Setters -----------------------------------------------------------------------------------

void CODStatic::SetBkColor(COLORREF start, COLORREF end)
{
    if (start != static_cast<COLORREF>(-1))
        m_bkStart = start;
    m_bkEnd = end == static_cast<COLORREF>(-1) ? m_bkStart : end;
    m_bkStartSet = m_bkEndSet = TRUE;
    CODGradient::SetColors(m_bkStart, m_bkEnd);
    if (m_hWnd)
        Invalidate(FALSE);
}

void CODStatic::GetBkColor(COLORREF& start, COLORREF& end) const
{
    start = m_bkStart;
    end = m_bkEnd;
}

int CODStatic::SetBkMode(int mode)
{
    const int old = m_bkMode;
    m_bkMode = mode;
    m_bkModeSet = TRUE;
    if (mode == BkImage)
        LoadBkImage();
    else
        m_bkImage.Release();
    if (old != mode && m_hWnd)
        Invalidate(FALSE);
    return old;
}

int CODStatic::SetTxtMovStopOnFocus(int stop)
{
    const int old = m_stopOnFocus;
    m_stopOnFocus = stop;
    m_stopOnFocusSet = TRUE;
    if (old != stop && m_hWnd)
        Invalidate(FALSE);
    return old;
}

void CODStatic::SetBkImage(LPCSTR description)
{
    strncpy(m_bkImageValue, description ? description : "", kImageValueSize - 1);
    m_bkImageValue[kImageValueSize - 1] = 0;
    m_bkImageSet = TRUE;
    if (m_bkMode == BkImage)
        LoadBkImage();
}

CString CODStatic::SetTooltipText(LPCSTR text)
{
    const CString old = m_tooltipText;
    m_tooltipText = text ? text : "";
    return old;
}

void CODStatic::SetNormalCursor(HCURSOR cursor)
{
    if (m_normalCursor && m_normalCursor != cursor)
        ::DestroyCursor(m_normalCursor);
    m_normalCursor = cursor;
    m_normalCursorSet = TRUE;
    if (m_hWnd)
        Invalidate(FALSE);
}

void CODStatic::SetFocusCursor(HCURSOR cursor)
{
    if (m_focusCursor && m_focusCursor != cursor)
        ::DestroyCursor(m_focusCursor);
    m_focusCursor = cursor;
    m_focusCursorSet = TRUE;
    if (m_hWnd)
        Invalidate(FALSE);
}

void CODStatic::SetText(LPCSTR text)
{
    m_text.SetMarkup(text ? text : "");
    if (m_hWnd)
        Invalidate(FALSE);
}

CString CODStatic::GetText() const
{
    CString s;
    m_text.GetPlainText(s);
    return s;
}

void CODStatic::SetTextColor(COLORREF colour, int kind)
{
    m_text.SetColor(colour, kind);
    if (m_hWnd)
        Invalidate(FALSE);
}

COLORREF CODStatic::GetTextColor(int kind) const { return m_text.GetColor(kind); }

void CODStatic::SetFont(const LOGFONT& lf)
{
    m_text.SetFont(&lf);
    if (m_hWnd)
        Invalidate(FALSE);
}

void CODStatic::GetFont(LOGFONT& lf) const { m_text.GetFont(&lf); }

// ---- Size and the parent's background ----------------------------------------------------------

CRect CODStatic::Inner(const CRect& client) const
{
    int w[4];
    CODSkinFrame::GetBorderWidths(w);
    return CRect(client.left + w[0], client.top + w[1], client.right - w[2], client.bottom - w[3]);
}

CSize CODStatic::AutoSize(CSize& size, int what)
{
    CRect window;
    GetWindowRect(&window);
    CSize content(0, 0);
    if (what == 0) {
        if (m_bkMode == BkImage && !m_bkImage.IsEmpty())
            content = m_bkImage.GetCellSize();
    } else if (what == 1) {
        CClientDC dc(this);
        SIZE s = {0, 0};
        m_text.Measure(&s, &dc);
        content = s;
    }
    if (content.cx > 0 && content.cy > 0) {
        int w[4];
        CODSkinFrame::GetBorderWidths(w);
        const int cx = w[0] + w[2] + m_margins.left + m_margins.right + content.cx;
        const int cy = w[1] + w[3] + m_margins.top + m_margins.bottom + content.cy;
        SetWindowPos(NULL, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        GetWindowRect(&window);
    }
    size = window.Size();
    return size;
}

void CODStatic::CopyParentBackground(CDC* pParentDC)
{
    if (!pParentDC || !GetParent())
        return;
    CRect client;
    GetClientRect(&client);
    const CRect inner = Inner(client);
    CRect inParent = inner;
    MapWindowPoints(GetParent(), &inParent);
    m_parentCache.BuildCache(pParentDC, inner, inParent.TopLeft());
}

namespace {

struct BroadcastArgs
{
    const ODBroadcastRecord* record;
};

void Deliver(HWND w, const ODBroadcastRecord& r)
{
    if (reinterpret_cast<INT_PTR>(::GetPropA(w, "ODStatic")) != OD_STATIC_ID)
        return;
    if (r.send)
        ::SendMessageA(w, r.message, r.wParam, r.lParam);
    else
        ::PostMessageA(w, r.message, r.wParam, r.lParam);
}

BOOL CALLBACK DeliverChild(HWND w, LPARAM lParam)
{
    Deliver(w, *reinterpret_cast<BroadcastArgs*>(lParam)->record);
    return TRUE;
}

}  // namespace

void CODStatic::BroadcastToStatics(HWND hWnd, const ODBroadcastRecord& record)
{
    if (!hWnd)
        return;
    Deliver(hWnd, record);
    BroadcastArgs args = {&record};
    ::EnumChildWindows(hWnd, DeliverChild, reinterpret_cast<LPARAM>(&args));
}

// ---- Painting ----------------------------------------------------------------------------------

void CODStatic::DrawBackground(CDC* pDC, const RECT& rect)
{
    CWnd* parent = GetParent();
    auto parentBackground = [&]() {
        if (!parent)
            return;
        CRect inParent = rect;
        MapWindowPoints(parent, &inParent);
        CClientDC parentDC(parent);
        m_parentCache.Draw(pDC, &parentDC, rect, inParent.TopLeft());
    };
    if (m_bkMode == BkParent && parent) {
        parentBackground();
    } else if (m_bkMode == BkImage && !m_bkImage.IsEmpty()) {
        parentBackground();
        m_bkImage.Draw(pDC, rect, 0);
    } else {
        CODGradient::Draw(pDC, rect);
    }
    HICON icon = m_hWnd ? reinterpret_cast<HICON>(::SendMessageA(m_hWnd, STM_GETICON, 0, 0)) : NULL;
    if (icon) {
        parentBackground();
        pDC->DrawIcon(rect.left, rect.top, icon);
    }
}

void CODStatic::DrawText(CDC* pDC, const RECT& rect)
{
    const CRect r(rect.left + m_margins.left, rect.top + m_margins.top, rect.right - m_margins.right,
                  rect.bottom - m_margins.bottom);
    m_text.Draw(pDC, r);
}

void CODStatic::DrawBorder(CDC* pDC, const RECT& rect) { CODSkinFrame::Draw(pDC, rect); }

void CODStatic::PaintTo(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    const CRect inner = Inner(client);
    DrawBackground(pDC, inner);
    DrawText(pDC, inner);
    DrawBorder(pDC, client);
}

// ---- Mouse and links ---------------------------------------------------------------------------

void CODStatic::OnMouseMove(CPoint point)
{
    if (!m_hover) {
        m_mover = m_text.GetMover();
        if (m_stopOnFocus && m_mover)
            m_mover->EnableMoving(FALSE);
        TRACKMOUSEEVENT tme = {sizeof tme, TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&tme);
        m_hover = TRUE;
        return;
    }
    m_text.SetArea(1, point);
    // The cell under the mouse is found by the next paint.
    UpdateWindow();
    CString link;
    if (m_text.GetFocusedLink(link, 1) && !link.IsEmpty()) {
        HCURSOR cursor = m_focusCursor;
        if (!cursor || cursor == ::GetCursor()) {
            if (!m_themeFocusCursor && m_focusCursorId)
                m_themeFocusCursor = ODGetThemeCursor(m_focusCursorId);
            if (m_themeFocusCursor)
                cursor = m_themeFocusCursor;
        }
        if (cursor)
            ::SetCursor(cursor);
    } else if (m_normalCursor && m_normalCursor != ::GetCursor()) {
        ::SetCursor(m_normalCursor);
    }
    CString tip;
    if (m_text.GetFocusedLink(tip, 2) && !tip.IsEmpty())
        m_currentTip = tip;
    else
        m_currentTip = m_tooltipText;
}

void CODStatic::OpenLink()
{
    CString target;
    if (!m_text.GetFocusedLink(target, 1) || target.IsEmpty())
        return;
    if (s_shellOpen(m_hWnd, target) > 32) {
        m_text.MarkVisited();
        Invalidate(FALSE);
        return;
    }
    char message[600];
    snprintf(message, sizeof message, "Unable to execute file %s\n", static_cast<LPCSTR>(target));
    s_linkFailed(m_hWnd, message);
}

BOOL CODStatic::PreTranslateMessage(MSG* pMsg)
{
    if (m_tooltip.m_hWnd) {
        if (m_tooltip.GetToolCount() == 0)
            m_tooltip.AddTool(this, m_currentTip, static_cast<LPCRECT>(NULL), 0);
        else
            m_tooltip.UpdateTipText(m_currentTip, this, 0);
        m_tooltip.RelayEvent(pMsg);
    }
    return CStatic::PreTranslateMessage(pMsg);
}

LRESULT CODStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        CPaintDC paint(this);
        CRect client;
        GetClientRect(&client);
        if (!client.IsRectEmpty() && paint.RectVisible(&client)) {
            CODBackDC back(&paint, &client, FALSE);
            PaintTo(&back);
        }
        return 0;
    }
    case WM_ERASEBKGND:
        return TRUE;
    case WM_MOUSEMOVE:
        OnMouseMove(CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
        return 0;
    case WM_LBUTTONUP: {
        CString link;
        if (m_text.GetFocusedLink(link, 1) && !link.IsEmpty())
            PostMessage(MsgOpenLink, 0, 0);
        break;
    }
    case MsgOpenLink:
        OpenLink();
        return 0;
    case WM_SETCURSOR:
        return TRUE;
    case WM_TIMER:
        if (wParam == TimerText)
            m_text.OnTick();
        else if (wParam == TimerImage)
            m_bkImage.AdvanceFrame();
        break;
    case WM_SETTEXT:
        m_text.SetMarkup(lParam ? reinterpret_cast<LPCSTR>(lParam) : "");
        CStatic::WindowProc(message, wParam, lParam);
        Invalidate(FALSE);
        return TRUE;
    case WM_DESTROY: {
        const LRESULT r = CStatic::WindowProc(message, wParam, lParam);
        if (m_focusCursor)
            ::DestroyCursor(m_focusCursor);
        if (m_normalCursor)
            ::DestroyCursor(m_normalCursor);
        m_focusCursor = m_normalCursor = NULL;
        ODRemoveCtrlProps(m_hWnd, OD_STATIC_ID);
        return r;
    }
    default:
        break;
    }
    return CStatic::WindowProc(message, wParam, lParam);
}
