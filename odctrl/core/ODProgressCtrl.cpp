// ODProgressCtrl.cpp - the owner-draw progress bar.
#include "ODProgressCtrl.h"

#include <limits.h>
#include <math.h>
#include <string.h>

#include <algorithm>

#include "ODControlFont.h"
#include "ODLibrary.h"

namespace {

const char kSection[] = "ODProgress";
const char* const kColourKeys[CODProgressCtrl::ColorCount] = {"BkgndColor", "TextColor", "TextOnBarColor",
                                                              "BarStartColor", "BarEndColor"};
const char* const kImageKeys[CODProgressCtrl::ImgSpare] = {"BkImg",   "VertBkImg",   "BarImg",
                                                           "VertBarImg", "GrowImg", "VertGrowImg"};
const UINT kTimerBlock = 1, kTimerBk = 3, kTimerBar = 4, kTimerGrow = 5;

const ODThemeLoaderRegistration s_loader(OD_LOADER_PROGRESS, &CODProgressCtrl::LoadTheme);

}  // namespace

CODProgressCtrl::Defaults& CODProgressCtrl::ClassDefaults()
{
    static Defaults d = [] {
        Defaults v = {};
        v.colours[ColorBk] = ::GetSysColor(COLOR_BTNFACE);
        v.colours[ColorText] = ::GetSysColor(COLOR_BTNTEXT);
        v.colours[ColorTextOnBar] = ::GetSysColor(COLOR_CAPTIONTEXT);
        v.colours[ColorBarStart] = 0xFF0000;
        v.colours[ColorBarEnd] = 0xFF0000;
        v.bkMode = 0;
        v.prgMode = 0;
        v.borderColour = 0xFFFFFF;
        v.borderWidth = 1;
        return v;
    }();
    return d;
}

void CODProgressCtrl::LoadTheme()
{
    LoadProgressBlockTheme(kSection);
    Defaults& d = ClassDefaults();
    for (int i = 0; i < ColorCount; ++i)
        d.colours[i] = ODGetThemeColor(kSection, kColourKeys[i], d.colours[i]);
    d.bkMode = static_cast<int>(ODGetThemeColor(kSection, "BkMode", d.bkMode));
    d.prgMode = static_cast<int>(ODGetThemeColor(kSection, "PrgMode", d.prgMode));
    d.borderColour = ODGetThemeColor(kSection, "BorderColor", d.borderColour);
    d.borderWidth = static_cast<int>(ODGetThemeColor(kSection, "BorderWidth", d.borderWidth));
    for (int i = 0; i < ImgSpare; ++i) {
        char value[kImageValueSize];
        ODGetThemeString(kSection, kImageKeys[i], d.images[i], value, sizeof value);
        memcpy(d.images[i], value, sizeof value);
        d.images[i][kImageValueSize - 1] = 0;
    }
}

CODProgressCtrl::CODProgressCtrl()
    : m_colourSet(), m_bkMode(0), m_bkModeSet(FALSE), m_prgMode(0), m_prgModeSet(FALSE), m_borderColour(0),
      m_borderColourSet(FALSE), m_borderWidth(1), m_borderWidthSet(FALSE), m_images(), m_imageSet(),
      m_tipKind(odprog::kTextPosition), m_angle(0), m_clip(NULL), m_hover(FALSE)
{
    const Defaults& d = ClassDefaults();
    memcpy(m_colours, d.colours, sizeof m_colours);
    m_bkMode = d.bkMode;
    m_prgMode = d.prgMode;
    m_borderColour = d.borderColour;
    m_borderWidth = d.borderWidth;
    memcpy(m_images, d.images, sizeof m_images);
    ODDefaultControlFont(&m_textFont, -12);
    CODGradient::SetColors(m_colours[ColorBarStart], m_colours[ColorBarEnd]);
}

CODProgressCtrl::~CODProgressCtrl()
{
    if (m_clip)
        ::DeleteObject(m_clip);
}

BOOL CODProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!CProgressCtrl::Create(dwStyle, rect, pParentWnd, nID))
        return FALSE;
    CommonSetUp();
    return TRUE;
}

void CODProgressCtrl::PreSubclassWindow()
{
    CProgressCtrl::PreSubclassWindow();
    // Create runs the set-up itself once the window exists; a template
    // control is subclassed in place.
    if (!(m_nFlags & WF_CREATING))
        CommonSetUp();
}

void CODProgressCtrl::CommonSetUp()
{
    m_model.flags |= GetStyle() & 0xFFFF;
    ODSetCtrlProps(m_hWnd, OD_PROGRESSCTRL_ID);
    ApplyTheme();
    CODProgressBlock::GetImage().SetOwner(this, kTimerBlock, TRUE);
    m_bkImage.SetOwner(this, kTimerBk, TRUE);
    m_barImage.SetOwner(this, kTimerBar, TRUE);
    m_growImage.SetOwner(this, kTimerGrow, TRUE);
    m_bkImage.SetDrawMode(CODSkinImage::DrawTile);
    LOGFONT lf;
    if (ODGetInheritedFont(m_hWnd, &lf)) {
        const LONG escapement = m_textFont.lfEscapement;
        m_textFont = lf;
        m_textFont.lfEscapement = escapement;
    }
}

// ---- Theme -------------------------------------------------------------------------------------

void CODProgressCtrl::LoadImageInto(CODSkinImage& image, int horizontal, int vertical, int drawMode)
{
    image.Release();
    const bool isVertical = (m_model.flags & odprog::kVertical) != 0;
    const char* description = m_images[isVertical ? vertical : horizontal];
    if (description[0]) {
        ODLoadSkinImage(description, &image);
        image.SetDrawMode(drawMode);
    }
}

void CODProgressCtrl::ApplyTheme()
{
    const Defaults& d = ClassDefaults();
    for (int i = 0; i < ColorCount; ++i)
        if (!m_colourSet[i])
            m_colours[i] = d.colours[i];
    if (!m_bkModeSet)
        m_bkMode = d.bkMode;
    if (!m_prgModeSet)
        m_prgMode = d.prgMode;
    if (!m_borderColourSet)
        m_borderColour = d.borderColour;
    if (!m_borderWidthSet)
        m_borderWidth = d.borderWidth;
    for (int i = 0; i < ImgSpare; ++i)
        if (!m_imageSet[i])
            memcpy(m_images[i], d.images[i], kImageValueSize);
    CODGradient::SetColors(m_colours[ColorBarStart], m_colours[ColorBarEnd]);
    if (m_prgMode == BarImage)
        LoadImageInto(m_barImage, ImgBar, ImgVertBar, CODSkinImage::DrawStretch);
    else
        m_barImage.Release();
    if (m_prgMode == BarGrow)
        LoadImageInto(m_growImage, ImgGrow, ImgVertGrow, CODSkinImage::DrawTile);
    else
        m_growImage.Release();
    CODProgressBlock::ApplyDefaults(kSection, (m_model.flags & odprog::kVertical) != 0);
    CODSkinFrame::SetColor(m_borderColour, 0);
    const int widths[4] = {m_borderWidth, m_borderWidth, m_borderWidth, m_borderWidth};
    CODSkinFrame::SetBorderWidths(NULL, widths);
    if (m_bkMode == BkImage)
        LoadImageInto(m_bkImage, ImgBk, ImgVertBk, CODSkinImage::DrawTile);
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

LRESULT CODProgressCtrl::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == ODGetThemeMessage()) {
        ApplyTheme();
        Invalidate(FALSE);
    }
    return CProgressCtrl::DefWindowProc(message, wParam, lParam);
}

// ---- Range and position ------------------------------------------------------------------------

void CODProgressCtrl::SetRange32(int a, int b)
{
    odprog::SetRange(m_model, a, b);
    m_model.pos = odprog::ClampPos(m_model, m_model.pos);
    if (m_hWnd)
        Invalidate(FALSE);
}

void CODProgressCtrl::GetRange(int& lower, int& upper) const
{
    lower = m_model.lower;
    upper = m_model.upper;
}

int CODProgressCtrl::SetPosCore(int pos, BOOL force)
{
    const int old = m_model.pos;
    pos = odprog::ClampPos(m_model, pos);
    if (pos != old && !CanChangePos(old, pos) && !force)
        return old;
    m_model.pos = pos;
    if (pos != old)
        OnPosChanged(pos);
    if (m_hWnd && (pos != old || force))
        Invalidate(FALSE);
    return old;
}

int CODProgressCtrl::MovePos(bool relative, int value)
{
    if (m_model.flags & odprog::kLoop)
        return SetPosCore(odprog::LoopTarget(m_model, relative, value), TRUE);
    const int64_t target = relative ? static_cast<int64_t>(m_model.pos) + value : value;
    return SetPosCore(static_cast<int>(std::max<int64_t>(INT_MIN, std::min<int64_t>(INT_MAX, target))), FALSE);
}

int CODProgressCtrl::SetPos(int pos) { return MovePos(false, pos); }

int CODProgressCtrl::OffsetPos(int delta) { return MovePos(true, delta); }

int CODProgressCtrl::SetStep(int step)
{
    const int old = m_model.step;
    m_model.step = step;
    return old;
}

BOOL CODProgressCtrl::CanChangePos(int, int) { return TRUE; }

void CODProgressCtrl::OnPosChanged(int) { RefreshTip(); }

// ---- Looks -------------------------------------------------------------------------------------

int CODProgressCtrl::SetBkMode(int mode)
{
    const int old = m_bkMode;
    m_bkMode = mode;
    m_bkModeSet = TRUE;
    if (mode == BkImage)
        LoadImageInto(m_bkImage, ImgBk, ImgVertBk, CODSkinImage::DrawTile);
    else
        m_bkImage.Release();
    if (old != mode && m_hWnd)
        Invalidate(FALSE);
    return old;
}

int CODProgressCtrl::SetPrgMode(int mode)
{
    const int old = m_prgMode;
    m_prgMode = mode;
    m_prgModeSet = TRUE;
    if (mode == BarImage)
        LoadImageInto(m_barImage, ImgBar, ImgVertBar, CODSkinImage::DrawStretch);
    else
        m_barImage.Release();
    if (mode == BarGrow)
        LoadImageInto(m_growImage, ImgGrow, ImgVertGrow, CODSkinImage::DrawTile);
    else
        m_growImage.Release();
    if (old != mode && m_hWnd)
        Invalidate(FALSE);
    return old;
}

void CODProgressCtrl::ModifyFlags(UINT remove, UINT add)
{
    m_model.flags = (m_model.flags & ~remove) | add;
    if (m_hWnd) {
        ModifyStyle(remove & 0xFFFF, add & 0xFFFF);
        Invalidate(FALSE);
    }
}

COLORREF CODProgressCtrl::SetColor(COLORREF colour, int index)
{
    if (index < 0 || index >= ColorCount)
        return static_cast<COLORREF>(-1);
    const COLORREF old = m_colours[index];
    m_colours[index] = colour;
    m_colourSet[index] = TRUE;
    if (m_hWnd)
        Invalidate(FALSE);
    return old;
}

COLORREF CODProgressCtrl::GetColor(int index) const
{
    return (index >= 0 && index < ColorCount) ? m_colours[index] : static_cast<COLORREF>(-1);
}

void CODProgressCtrl::SetFont(const LOGFONT* lf)
{
    if (!lf)
        return;
    m_textFont = *lf;
    m_textFont.lfEscapement = m_angle * 10;
    if (m_hWnd)
        Invalidate(FALSE);
}

void CODProgressCtrl::GetFont(LOGFONT* lf) const
{
    if (lf)
        *lf = m_textFont;
}

void CODProgressCtrl::SetTextAngle(int degrees)
{
    m_angle = degrees;
    m_textFont.lfEscapement = degrees * 10;
    if (m_hWnd)
        Invalidate(FALSE);
}

void CODProgressCtrl::SetClipRegion(HRGN region)
{
    if (m_clip)
        ::DeleteObject(m_clip);
    m_clip = region;
    if (m_hWnd)
        Invalidate(FALSE);
}

void CODProgressCtrl::SetImage(int which, LPCSTR description)
{
    if (which < 0 || which >= ImgCount)
        return;
    strncpy(m_images[which], description ? description : "", kImageValueSize - 1);
    m_images[which][kImageValueSize - 1] = 0;
    m_imageSet[which] = TRUE;
}

// ---- Texts and the tooltip ---------------------------------------------------------------------

CString CODProgressCtrl::SetBarText(LPCSTR text)
{
    const CString old = m_barText;
    m_barText = text ? text : "";
    if (m_hWnd)
        Invalidate(FALSE);
    return old;
}

void CODProgressCtrl::SetTooltipText(LPCSTR text, UINT kind)
{
    m_tipText = text ? text : "";
    m_tipKind = kind & odprog::kTextMask;
    RefreshTip();
}

CString CODProgressCtrl::SetTooltipText(LPCSTR text)
{
    const CString old = m_tipText;
    m_tipText = text ? text : "";
    RefreshTip();
    return old;
}

UINT CODProgressCtrl::SetTooltipKind(UINT kind)
{
    const UINT old = m_tipKind;
    m_tipKind = kind;
    RefreshTip();
    return old;
}

CString CODProgressCtrl::GetDisplayText() const
{
    return odprog::Text(m_model, m_model.flags & odprog::kTextMask, static_cast<LPCSTR>(m_barText)).c_str();
}

CString CODProgressCtrl::GetTipDisplayText() const
{
    return odprog::Text(m_model, m_tipKind & odprog::kTextMask, static_cast<LPCSTR>(m_tipText)).c_str();
}

void CODProgressCtrl::RefreshTip()
{
    if (m_tooltip.m_hWnd && m_tooltip.GetToolCount() > 0)
        m_tooltip.UpdateTipText(GetTipDisplayText(), this, 0);
}

BOOL CODProgressCtrl::EnableTooltip()
{
    if (!m_hWnd)
        return FALSE;
    if (!m_tooltip.m_hWnd) {
        if (!m_tooltip.Create(this, TRUE))
            return FALSE;
        m_tooltip.AddTool(this, GetTipDisplayText(), static_cast<LPCRECT>(NULL), 0);
        m_tooltip.Activate(TRUE);
    } else {
        RefreshTip();
    }
    return TRUE;
}

BOOL CODProgressCtrl::PreTranslateMessage(MSG* pMsg)
{
    if (m_tooltip.m_hWnd) {
        RefreshTip();
        m_tooltip.RelayEvent(pMsg);
    }
    return CProgressCtrl::PreTranslateMessage(pMsg);
}

CSize CODProgressCtrl::FitToContent(CSize& size)
{
    CRect window;
    GetWindowRect(&window);
    const bool vertical = (m_model.flags & odprog::kVertical) != 0;
    int widths[4];
    CODSkinFrame::GetBorderWidths(widths);
    CRect client;
    GetClientRect(&client);
    CRect inner(client.left + widths[0], client.top + widths[1], client.right - widths[2], client.bottom - widths[3]);
    int thickness = vertical ? inner.Width() : inner.Height();
    auto across = [&](const CODSkinImage& image) {
        if (!image.IsEmpty()) {
            const CSize cell = image.GetCellSize();
            thickness = std::max(thickness, static_cast<int>(vertical ? cell.cx : cell.cy));
        }
    };
    if (m_prgMode == BarImage)
        across(m_barImage);
    if (m_prgMode == BarGrow)
        across(m_growImage);
    if (m_prgMode == BarBlocks) {
        const CSize bar = CODProgressBlock::GetBarSize(inner);
        thickness = std::max(thickness, static_cast<int>(vertical ? bar.cx : bar.cy));
    }
    if (m_bkMode == BkImage)
        across(m_bkImage);
    CSize newSize = window.Size();
    if (vertical)
        newSize.cx = thickness + widths[0] + widths[2] + (window.Width() - client.Width());
    else
        newSize.cy = thickness + widths[1] + widths[3] + (window.Height() - client.Height());
    SetWindowPos(NULL, 0, 0, newSize.cx, newSize.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    size = newSize;
    return newSize;
}

// ---- Painting ----------------------------------------------------------------------------------

void CODProgressCtrl::DrawBackground(CDC* pDC, const RECT& rect)
{
    CWnd* parent = GetParent();
    if (m_bkMode == BkParent && parent) {
        CRect inParent = rect;
        MapWindowPoints(parent, &inParent);
        CClientDC parentDC(parent);
        m_parentCache.Draw(pDC, &parentDC, rect, inParent.TopLeft());
        return;
    }
    if (m_bkMode == BkImage && !m_bkImage.IsEmpty()) {
        m_bkImage.Draw(pDC, rect, 0);
        return;
    }
    if (m_colours[ColorBk] != static_cast<COLORREF>(-1))
        pDC->FillSolidRect(&rect, m_colours[ColorBk]);
}

CRect CODProgressCtrl::SegmentRect(const CRect& rect, int start, int end, bool vertical, bool reversed) const
{
    if (!vertical)
        return reversed ? CRect(rect.right - end, rect.top, rect.right - start, rect.bottom)
                        : CRect(rect.left + start, rect.top, rect.left + end, rect.bottom);
    return reversed ? CRect(rect.left, rect.top + start, rect.right, rect.top + end)
                    : CRect(rect.left, rect.bottom - end, rect.right, rect.bottom - start);
}

void CODProgressCtrl::DrawGradientBar(CDC* pDC, const CRect& rect, bool vertical, bool reversed)
{
    const int length = vertical ? rect.Height() : rect.Width();
    const odprog::Segment seg = odprog::FilledSegment(m_model, length);
    if (seg.end <= seg.start)
        return;
    CODGradient::SetMode(vertical ? (reversed ? TopToBottom : BottomToTop) : (reversed ? RightToLeft : LeftToRight));
    if (m_model.flags & odprog::kGradientOverSegment)
        CODGradient::Draw(pDC, SegmentRect(rect, seg.start, seg.end, vertical, reversed));
    else
        CODGradient::Draw(pDC, rect, seg.start, seg.end);
}

void CODProgressCtrl::DrawImageBar(CDC* pDC, const CRect& rect, CODSkinImage& image, bool vertical, bool reversed,
                                   bool grow)
{
    const int length = vertical ? rect.Height() : rect.Width();
    const CSize cell = image.GetCellSize();
    const int cellAlong = vertical ? cell.cy : cell.cx;
    const int cellAcross = vertical ? cell.cx : cell.cy;
    odprog::Segment seg = odprog::FilledSegment(m_model, grow ? std::max(length - 2 * cellAlong, 0) : length);
    if (seg.end <= seg.start)
        return;
    CRect r = SegmentRect(rect, seg.start, seg.end, vertical, reversed);
    // Centred across the bar at the image's own thickness.
    if (vertical) {
        const int x = static_cast<int>(rect.left) + (rect.Width() - cellAcross) / 2;
        r.left = std::max(static_cast<int>(rect.left), x);
        r.right = std::min(static_cast<int>(rect.right), x + cellAcross);
    } else {
        const int y = static_cast<int>(rect.top) + (rect.Height() - cellAcross) / 2;
        r.top = std::max(static_cast<int>(rect.top), y);
        r.bottom = std::min(static_cast<int>(rect.bottom), y + cellAcross);
    }
    image.Draw(pDC, r, 0);
}

void CODProgressCtrl::DrawText(CDC* pDC, const CRect& rect, bool vertical, bool reversed)
{
    const CString text = GetDisplayText();
    if (text.IsEmpty())
        return;
    LOGFONT lf = m_textFont;
    lf.lfEscapement = m_angle * 10;
    CFont font;
    if (!font.CreateFontIndirect(&lf))
        return;
    CFont* oldFont = pDC->SelectObject(&font);
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    const UINT oldAlign = pDC->SetTextAlign(TA_CENTER | TA_BOTTOM);
    const CSize ext = pDC->GetTextExtent(text);
    int w = 0, h = 0;
    odprog::RotatedExtent(ext.cx, ext.cy, lf.lfEscapement, &w, &h);

    const int length = vertical ? rect.Height() : rect.Width();
    const odprog::Segment seg = odprog::FilledSegment(m_model, length);
    const CRect filled = SegmentRect(rect, seg.start, seg.end, vertical, reversed);
    const bool fits = (vertical ? h : w) <= seg.end - seg.start;
    const bool insideOnly = (m_model.flags & odprog::kTextInsideBar) != 0;
    if (insideOnly && !fits) {
        pDC->SetTextAlign(oldAlign);
        pDC->SetBkMode(oldMode);
        pDC->SelectObject(oldFont);
        return;
    }
    const CRect area = insideOnly ? filled : rect;
    CPoint centre = area.CenterPoint();
    const int freeX = (area.Width() - w) / 2, freeY = (area.Height() - h) / 2;
    if (m_model.flags & odprog::kShiftLeft)
        centre.x -= freeX;
    if (m_model.flags & odprog::kShiftRight)
        centre.x += freeX;
    if (m_model.flags & odprog::kShiftUp)
        centre.y -= freeY;
    if (m_model.flags & odprog::kShiftDown)
        centre.y += freeY;
    // TA_BOTTOM | TA_CENTER: the reference point is half a text height
    // "down" from the centre, turned with the text.
    const double a = lf.lfEscapement * 3.1415926535 / 1800.0;
    const int x = centre.x + static_cast<int>(floor(ext.cy / 2.0 * sin(a) + 0.5));
    const int y = centre.y + static_cast<int>(floor(ext.cy / 2.0 * cos(a) + 0.5));

    auto drawClipped = [&](const CRect& clip, COLORREF colour) {
        if (clip.IsRectEmpty())
            return;
        const int saved = pDC->SaveDC();
        pDC->IntersectClipRect(&clip);
        pDC->SetTextColor(colour);
        pDC->TextOut(x, y, text);
        pDC->RestoreDC(saved);
    };
    if (insideOnly) {
        drawClipped(filled, m_colours[ColorTextOnBar]);
    } else {
        // The unfilled part: the bar's rectangle less the filled segment
        // (one piece before it, one after it).
        const CRect before = SegmentRect(rect, 0, seg.start, vertical, reversed);
        const CRect after = SegmentRect(rect, seg.end, length, vertical, reversed);
        drawClipped(before, m_colours[ColorText]);
        drawClipped(after, m_colours[ColorText]);
        if (m_colours[ColorTextOnBar] != m_colours[ColorText] || seg.end > seg.start)
            drawClipped(filled, m_colours[ColorTextOnBar]);
    }
    pDC->SetTextAlign(oldAlign);
    pDC->SetBkMode(oldMode);
    pDC->SelectObject(oldFont);
}

void CODProgressCtrl::DrawBar(CDC* pDC, const RECT& rect)
{
    if (m_hWnd)
        m_model.flags |= GetStyle() & 0xFFFF;
    const bool vertical = (m_model.flags & odprog::kVertical) != 0;
    const bool reversed = (m_model.flags & odprog::kReversed) != 0;
    CODProgressBlock::SetVertical(vertical);
    CODProgressBlock::SetReversed(reversed);
    const CRect r(rect);
    if (m_prgMode == BarImage && !m_barImage.IsEmpty()) {
        DrawImageBar(pDC, r, m_barImage, vertical, reversed, false);
    } else if (m_prgMode == BarGrow && !m_growImage.IsEmpty()) {
        DrawImageBar(pDC, r, m_growImage, vertical, reversed, true);
    } else if (m_prgMode == BarBlocks) {
        const int range = m_model.upper - m_model.lower;
        const double fraction = range > 0 ? static_cast<double>(m_model.pos - m_model.lower) / range : 0.0;
        CODProgressBlock::Draw(pDC, r, fraction);
    } else {
        DrawGradientBar(pDC, r, vertical, reversed);
    }
    DrawText(pDC, r, vertical, reversed);
}

void CODProgressCtrl::DrawBorder(CDC* pDC, const RECT& rect) { CODSkinFrame::Draw(pDC, rect); }

void CODProgressCtrl::PaintTo(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    int widths[4];
    CODSkinFrame::GetBorderWidths(widths);
    const CRect inner(client.left + widths[0], client.top + widths[1], client.right - widths[2],
                      client.bottom - widths[3]);
    DrawBackground(pDC, inner);
    DrawBar(pDC, inner);
    DrawBorder(pDC, client);
}

LRESULT CODProgressCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        CPaintDC paint(this);
        CRect client;
        GetClientRect(&client);
        if (client.IsRectEmpty() || !paint.RectVisible(&client))
            return 0;
        if (m_clip)
            paint.SelectClipRgn(CRgn::FromHandle(m_clip), RGN_AND);
        CODBackDC back(&paint, &client, FALSE);
        PaintTo(&back);
        return 0;
    }
    case WM_ERASEBKGND:
        return TRUE;
    case WM_TIMER:
        if (wParam == kTimerBlock)
            CODProgressBlock::GetImage().AdvanceFrame();
        else if (wParam == kTimerBk)
            m_bkImage.AdvanceFrame();
        else if (wParam == kTimerBar)
            m_barImage.AdvanceFrame();
        else if (wParam == kTimerGrow)
            m_growImage.AdvanceFrame();
        break;
    case WM_MOUSEMOVE:
        if (!m_hover) {
            TRACKMOUSEEVENT tme = {sizeof tme, TME_LEAVE, m_hWnd, 0};
            ::TrackMouseEvent(&tme);
            m_hover = TRUE;
            Invalidate(FALSE);
        }
        break;
    case WM_MOUSELEAVE:
        m_hover = FALSE;
        Invalidate(FALSE);
        return 0;
    case PBM_SETRANGE: {
        const LRESULT old = MAKELRESULT(m_model.lower, m_model.upper);
        SetRange32(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return old;
    }
    case PBM_SETRANGE32: {
        const LRESULT old = MAKELRESULT(m_model.lower, m_model.upper);
        SetRange32(static_cast<int>(wParam), static_cast<int>(lParam));
        return old;
    }
    case PBM_GETRANGE:
        if (lParam) {
            reinterpret_cast<PBRANGE*>(lParam)->iLow = m_model.lower;
            reinterpret_cast<PBRANGE*>(lParam)->iHigh = m_model.upper;
        }
        return wParam ? m_model.lower : m_model.upper;
    case PBM_SETPOS:
        return SetPos(static_cast<int>(wParam));
    case PBM_DELTAPOS:
        return OffsetPos(static_cast<int>(wParam));
    case PBM_SETSTEP:
        return SetStep(static_cast<int>(wParam));
    case PBM_STEPIT:
        return StepIt();
    case PBM_GETPOS:
        return m_model.pos;
    default:
        break;
    }
    return CProgressCtrl::WindowProc(message, wParam, lParam);
}
