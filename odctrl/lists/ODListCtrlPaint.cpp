// ODListCtrlPaint.cpp - the list's theme and painting: the class colours and
// images of the theme section "ODListCtrl", the whole paint through one
// memory bitmap of the clip box, rows, cells, expanders, tree lines, grid
// and focus rectangles, the sunken border and the row height the font gives.
//
// What colour goes where is decided in ODListDrawLogic.h; this file puts it
// on the device context.
#include "ODListCtrl.h"

#include <string.h>

#include <algorithm>

#include "ODDrawing.h"
#include "ODLibrary.h"

using namespace odlist;

namespace {

const char kSection[] = "ODListCtrl";

ListColours SystemColours()
{
    ListColours c;
    c.c[kClrBackground] = ::GetSysColor(COLOR_WINDOW);
    c.c[kClrBkSelected] = ::GetSysColor(COLOR_HIGHLIGHT);
    c.c[kClrBkSelectedNoFocus] = ::GetSysColor(COLOR_BTNFACE);
    c.c[kClrText] = ::GetSysColor(COLOR_WINDOWTEXT);
    c.c[kClrTextSelected] = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    c.c[kClrTextSelectedNoFocus] = ::GetSysColor(COLOR_WINDOWTEXT);
    c.c[kClrGrid] = ::GetSysColor(COLOR_BTNFACE);
    c.c[kClr3DFace] = ::GetSysColor(COLOR_3DFACE);
    c.c[kClr3DLight] = ::GetSysColor(COLOR_3DLIGHT);
    c.c[kClr3DShadow] = ::GetSysColor(COLOR_3DSHADOW);
    c.c[kClr3DHilight] = ::GetSysColor(COLOR_3DHILIGHT);
    c.c[kClr3DDkShadow] = ::GetSysColor(COLOR_3DDKSHADOW);
    c.c[kClrTreeLines] = 0;
    return c;
}

const ODThemeLoaderRegistration s_themeLoader(OD_LOADER_LISTCTRL, &CODListCtrl::LoadTheme);

RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
Rect FromRECT(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }

void FillSolid(HDC dc, const RECT& r, COLORREF colour)
{
    const COLORREF old = ::SetBkColor(dc, colour);
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, NULL, 0, NULL);
    ::SetBkColor(dc, old);
}

void DrawLine(HDC dc, const Line& l)
{
    ::MoveToEx(dc, l.x0, l.y0, NULL);
    ::LineTo(dc, l.x1, l.y1);
}

// Tiles a bitmap over a rectangle starting at (x0, y0).
void TileBitmap(HDC dc, HBITMAP bitmap, const RECT& r, int x0, int y0, int width, int height)
{
    if (width < 1 || height < 1)
        return;
    HDC source = ::CreateCompatibleDC(dc);
    if (!source)
        return;
    HGDIOBJ old = ::SelectObject(source, bitmap);
    for (int y = y0; y < r.bottom; y += height)
        for (int x = x0; x < r.right; x += width) {
            const int left = std::max(x, int(r.left)), top = std::max(y, int(r.top));
            const int right = std::min(x + width, int(r.right)), bottom = std::min(y + height, int(r.bottom));
            if (right > left && bottom > top)
                ::BitBlt(dc, left, top, right - left, bottom - top, source, left - x, top - y, SRCCOPY);
        }
    ::SelectObject(source, old);
    ::DeleteDC(source);
}

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP bm = {};
    if (!bitmap || !::GetObjectA(bitmap, sizeof bm, &bm))
        return SIZE{0, 0};
    return SIZE{bm.bmWidth, bm.bmHeight};
}

}  // namespace

ListColours CODListCtrl::s_colours = SystemColours();
int CODListCtrl::s_bkImageId = 0;
int CODListCtrl::s_topLeftImageId = 0;
int CODListCtrl::s_topImageId = 0;
int CODListCtrl::s_leftImageId = 0;

// ---- Theme ---------------------------------------------------------------------------------

void CODListCtrl::LoadTheme()
{
    static const char* const keys[12] = {"ColorBackground",   "ColorBkSelected", "ColorBkSelectedNoFocus",
                                         "ColorText",         "ColorTextSelected", "ColorTextSelectedNoFocus",
                                         "ColorGrid",         "Color3DFace",     "Color3DLight",
                                         "Color3DShadow",     "Color3DHilight",  "Color3DDarkShadow"};
    for (int i = 0; i < 12; ++i)
        s_colours.c[i] = ODGetThemeColor(kSection, keys[i], s_colours.c[i]);
    s_bkImageId = int(ODGetThemeColor(kSection, "BkImageID", COLORREF(s_bkImageId)));
    s_topLeftImageId = int(ODGetThemeColor(kSection, "TopLeftImageID", COLORREF(s_topLeftImageId)));
    s_topImageId = int(ODGetThemeColor(kSection, "TopImageID", COLORREF(s_topImageId)));
    s_leftImageId = int(ODGetThemeColor(kSection, "LeftImageID", COLORREF(s_leftImageId)));
}

void CODListCtrl::ApplyTheme()
{
    m_colours = s_colours;
    if (m_hWnd)
        Invalidate(FALSE);
    SetBkImage(s_bkImageId ? ODGetThemeImage(UINT(s_bkImageId), "QVImage") : HBITMAP(NULL));
    SetBkImages(TRUE, s_topLeftImageId ? ODGetThemeImage(UINT(s_topLeftImageId), "QVImage") : HBITMAP(NULL),
                s_leftImageId ? ODGetThemeImage(UINT(s_leftImageId), "QVImage") : HBITMAP(NULL),
                s_topImageId ? ODGetThemeImage(UINT(s_topImageId), "QVImage") : HBITMAP(NULL));
}

HBITMAP CODListCtrl::CopyBitmap(HBITMAP source)
{
    if (!source)
        return NULL;
    return static_cast<HBITMAP>(::CopyImage(source, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

void CODListCtrl::FreeImages()
{
    if (m_bkImage)
        ::DeleteObject(m_bkImage);
    m_bkImage = NULL;
    for (HBITMAP& edge : m_edges) {
        if (edge)
            ::DeleteObject(edge);
        edge = NULL;
    }
}

void CODListCtrl::SetBkImages(BOOL deleteBitmaps, HBITMAP topLeft, HBITMAP left, HBITMAP top)
{
    const HBITMAP given[3] = {topLeft, left, top};
    for (int i = 0; i < 3; ++i) {
        if (m_edges[i])
            ::DeleteObject(m_edges[i]);
        m_edges[i] = CopyBitmap(given[i]);
    }
    if (deleteBitmaps) {
        for (int i = 0; i < 3; ++i) {
            bool earlier = false;
            for (int k = 0; k < i; ++k)
                earlier = earlier || given[k] == given[i];
            if (given[i] && !earlier)
                ::DeleteObject(given[i]);
        }
    }
    if (m_hWnd)
        Invalidate(FALSE);
}

int CODListCtrl::SetBkImage(LPCSTR resourceName)
{
    HBITMAP bitmap = static_cast<HBITMAP>(
        ::LoadImageA(ODGetResourceHandle(), resourceName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap) {
        if (m_hWnd)
            Invalidate(FALSE);
        return 0;
    }
    return SetBkImage(bitmap);
}

COLORREF CODListCtrl::SetColor(int index, COLORREF colour, BOOL redraw)
{
    const int slot = ColourSlotOfIndex(index);
    if (slot < 0)
        return COLORREF(index);
    const COLORREF old = m_colours.c[slot];
    m_colours.c[slot] = colour;
    if (old != colour && redraw && m_hWnd)
        Invalidate(FALSE);
    return old;
}

COLORREF CODListCtrl::GetColor(int index) const
{
    const int slot = ColourSlotOfIndex(index);
    return slot < 0 ? COLORREF(-1) : m_colours.c[slot];
}

void CODListCtrl::SetFocusRectStyle(COLORREF colour, int penStyle)
{
    m_focusColour = colour;
    m_focusPen = penStyle;
}

void CODListCtrl::SetTreeLines(BOOL on)
{
    const BOOL changed = (on != FALSE) != (m_treeLines != FALSE);
    m_treeLines = on != FALSE;
    if (changed && m_hWnd && IsWindowVisible())
        Invalidate(FALSE);
}

void CODListCtrl::SetRedraw(BOOL redraw)
{
    m_redraw = redraw != FALSE;
    if (!m_hWnd)
        return;
    SendMessage(WM_SETREDRAW, m_redraw, 0);
    if (m_redraw) {
        SetScrollPosition(SB_HORZ, m_geometry.GetHorzPos());
        SetScrollPosition(SB_VERT, m_geometry.GetTopIndex());
        Invalidate(FALSE);
    }
}

int CODListCtrl::GetScrollPosition(int bar, BOOL tracking)
{
    SCROLLINFO info = {};
    if (!m_hWnd || !GetScrollInfo(bar == 0 ? SB_HORZ : SB_VERT, &info, SIF_POS | SIF_TRACKPOS))
        return 0;
    const int pos = tracking ? info.nTrackPos : info.nPos;
    const int most = bar == 0 ? m_model.GetTotalWidth() : m_model.GetDisplayCount();
    return std::max(0, std::min(pos, most));
}

// ---- Messages ------------------------------------------------------------------------------

LRESULT CODListCtrl::OnSetFontMessage(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = Default();
    HFONT font = reinterpret_cast<HFONT>(wParam);
    LOGFONTA lf = {};
    if (!font || !::GetObjectA(font, sizeof lf, &lf))
        return result;
    m_normalFont.DeleteObject();
    m_boldFont.DeleteObject();
    m_normalFont.CreateFontIndirect(&lf);
    lf.lfWeight = FW_BOLD;
    m_boldFont.CreateFontIndirect(&lf);
    HDC dc = ::GetDC(m_hWnd);
    TEXTMETRICA tm = {};
    if (dc) {
        HGDIOBJ old = ::SelectObject(dc, m_normalFont.GetSafeHandle());
        ::GetTextMetricsA(dc, &tm);
        ::SelectObject(dc, old);
        ::ReleaseDC(m_hWnd, dc);
    }
    int imageHeight = 0;
    if (m_smallImages) {
        IMAGEINFO info = {};
        if (ImageList_GetImageInfo(m_smallImages, 0, &info))
            imageHeight = info.rcImage.bottom - info.rcImage.top;
    }
    const int height = RowHeightFromFont(tm.tmHeight, tm.tmExternalLeading,
                                         (m_model.GetStyleWord() & kStyleHorzGrid) != 0, m_smallImages != NULL,
                                         imageHeight);
    m_geometry.SetRowHeight(height);
    if (!m_stateImages)
        m_geometry.SetStateImageSize(height - 2, height - 2);
    if (LOWORD(lParam)) {
        CRect client;
        GetClientRect(&client);
        Layout(client.Width(), client.Height());
        Invalidate(FALSE);
    }
    return result;
}

LRESULT CODListCtrl::OnThemeChange(WPARAM, LPARAM)
{
    LoadTheme();
    ApplyTheme();
    Invalidate(FALSE);
    return Default();
}

void CODListCtrl::OnSetFocus(CWnd* pOld)
{
    CWnd::OnSetFocus(pOld);
    m_hasFocus = TRUE;
    Invalidate(FALSE);
}

void CODListCtrl::OnKillFocus(CWnd* pNew)
{
    CWnd::OnKillFocus(pNew);
    // The focus in one of its own windows (the editor) keeps the look.
    if (!pNew || !::IsChild(m_hWnd, pNew->m_hWnd))
        m_hasFocus = FALSE;
    Notification n;
    n.code = kNotifyFocusLost;
    n.value = uint32_t(reinterpret_cast<uintptr_t>(pNew ? pNew->m_hWnd : NULL));
    m_model.SendNotify(n);
    Invalidate(FALSE);
}

void CODListCtrl::OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params)
{
    CWnd::OnNcCalcSize(calcValidRects, params);
    if (GetStyle() & WS_BORDER)
        ::InflateRect(&params->rgrc[0], -::GetSystemMetrics(SM_CXEDGE), -::GetSystemMetrics(SM_CYEDGE));
}

void CODListCtrl::OnNcPaint()
{
    Default();
    if (!(GetStyle() & WS_BORDER))
        return;
    HDC dc = ::GetWindowDC(m_hWnd);
    if (!dc)
        return;
    CRect r;
    GetWindowRect(&r);
    r.OffsetRect(-r.left, -r.top);
    ::DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
    ::ReleaseDC(m_hWnd, dc);
}

BOOL CODListCtrl::OnQueryNewPalette()
{
    Invalidate(FALSE);
    return BOOL(Default());
}

void CODListCtrl::OnPaletteChanged(CWnd* pFocusWnd)
{
    Default();
    if (!pFocusWnd || pFocusWnd->m_hWnd != m_hWnd)
        Invalidate(FALSE);
}

void CODListCtrl::OnSettingChange(UINT, LPCTSTR)
{
    Default();
    m_wheelLines = GetWheelScrollLines();
}

BOOL CODListCtrl::OnSetCursor(CWnd*, UINT, UINT)
{
    ::SetCursor(::LoadCursor(NULL, IDC_ARROW));
    return BOOL(Default());
}

BOOL CODListCtrl::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CODListCtrl::OnPaint()
{
    CPaintDC dc(this);
    if (!IsWindowVisible())
        return;
    ReadHeaderOrder();
    HDC hdc = dc.m_hDC;
    HPALETTE oldPalette = NULL;
    const bool paletteDevice = (::GetDeviceCaps(hdc, RASTERCAPS) & RC_PALETTE) != 0;
    if (paletteDevice && m_palette) {
        oldPalette = ::SelectPalette(hdc, m_palette, FALSE);
        ::RealizePalette(hdc);
    }
    if (m_header.m_hWnd && m_header.IsWindowVisible()) {
        CRect h;
        m_header.GetWindowRect(&h);
        ScreenToClient(&h);
        ::ExcludeClipRect(hdc, h.left, h.top, h.right, h.bottom);
    }
    RECT clip = {};
    const int kind = ::GetClipBox(hdc, &clip);
    if (m_doubleBuffer && kind != ERROR && kind != NULLREGION && !dc.IsPrinting()) {
        HDC memory = ::CreateCompatibleDC(hdc);
        HBITMAP bitmap = memory ? ::CreateCompatibleBitmap(hdc, clip.right - clip.left, clip.bottom - clip.top) : NULL;
        if (bitmap) {
            HGDIOBJ oldBitmap = ::SelectObject(memory, bitmap);
            HPALETTE oldMemPalette = paletteDevice && m_palette ? ::SelectPalette(memory, m_palette, FALSE) : NULL;
            // Client coordinates on the bitmap; its clip box is then the paint's.
            ::SetWindowOrgEx(memory, clip.left, clip.top, NULL);
            CDC mem;
            mem.Attach(memory);
            DrawItems(&mem);
            mem.Detach();
            if (m_editor && ::IsWindow(m_editor)) {
                CRect e;
                ::GetWindowRect(m_editor, &e);
                ScreenToClient(&e);
                ::ExcludeClipRect(hdc, e.left, e.top, e.right, e.bottom);
            }
            ::SetWindowOrgEx(memory, 0, 0, NULL);
            ::BitBlt(hdc, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, memory, 0, 0, SRCCOPY);
            if (oldMemPalette)
                ::SelectPalette(memory, oldMemPalette, FALSE);
            ::SelectObject(memory, oldBitmap);
            ::DeleteObject(bitmap);
            ::DeleteDC(memory);
        } else if (memory) {
            ::DeleteDC(memory);
            DrawItems(&dc);
        } else {
            DrawItems(&dc);
        }
    } else {
        DrawItems(&dc);
    }
    if (oldPalette)
        ::SelectPalette(hdc, oldPalette, FALSE);
}

// ---- The paint -----------------------------------------------------------------------------

HFONT CODListCtrl::RowFont(bool bold)
{
    if (bold && m_boldFont.GetSafeHandle())
        return static_cast<HFONT>(m_boldFont.GetSafeHandle());
    if (m_normalFont.GetSafeHandle())
        return static_cast<HFONT>(m_normalFont.GetSafeHandle());
    return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

RowLookInput CODListCtrl::LookInput(int displayRow, const ODLVITEM& item)
{
    RowLookInput in;
    in.style = m_model.GetStyleWord();
    in.disabled = m_hWnd && (GetStyle() & WS_DISABLED);
    in.hasFocus = m_hasFocus != FALSE;
    in.odd = displayRow >= 0 && (displayRow & 1);
    in.pseudoRow = displayRow == -1;
    in.backgroundImage = m_bkImage != NULL;
    in.value1 = item.value1;
    in.state = item.state;
    return in;
}

void CODListCtrl::DrawFocusRect(CDC* pDC, const RECT& rect, COLORREF background, bool grid)
{
    const Rect r = FocusRectOf(FromRECT(rect), grid);
    HDC dc = pDC->m_hDC;
    const COLORREF oldBk = ::SetBkColor(dc, background);
    const COLORREF oldText = ::SetTextColor(dc, m_colours[kClrText]);
    DrawStyledRect(pDC, ToRECT(r), m_focusPen, m_focusColour, 1);
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBk);
}

void DrawStyledRect(CDC* pDC, const RECT& rect, int penStyle, COLORREF colour, int width)
{
    if (!pDC || penStyle == PS_NULL || colour == COLORREF(-1))
        return;
    HDC dc = pDC->m_hDC;
    HPEN pen = ::CreatePen(penStyle, width, colour);
    if (!pen)
        return;
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(pen);
}

void CODListCtrl::DrawItems(CDC* pDC)
{
    HDC dc = pDC->m_hDC;
    RECT clip = {};
    const int kind = ::GetClipBox(dc, &clip);
    if (kind == ERROR || kind == NULLREGION)
        return;
    const Rect& client = m_geometry.ClientRect();
    ::IntersectClipRect(dc, client.left, client.top, client.right, client.bottom);
    clip.left = std::max(clip.left, LONG(client.left));
    clip.top = std::max(clip.top, LONG(client.top));
    clip.right = std::min(clip.right, LONG(client.right));
    clip.bottom = std::min(clip.bottom, LONG(client.bottom));
    const int horz = m_geometry.GetHorzPos();
    const int top = m_geometry.GetTopIndex();
    const uint32_t style = m_model.GetStyleWord();
    const bool disabled = m_hWnd && (GetStyle() & WS_DISABLED);
    DrawBackground(pDC, clip, disabled ? m_colours[kClr3DFace] : m_colours[kClrBackground]);

    HPEN gridPen = ::CreatePen(m_model.GetOption(4), 1, m_colours[kClrGrid]);
    HGDIOBJ oldPen = ::SelectObject(dc, gridPen ? gridPen : ::GetStockObject(BLACK_PEN));
    HGDIOBJ oldFont = ::SelectObject(dc, RowFont(false));
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);

    const Rect& content = m_geometry.ContentRect();
    const int rowHeight = m_geometry.GetRowHeight();
    const int bandLeft = content.left - horz;
    const int bandRight = bandLeft + m_model.GetTotalWidth();
    m_paintBandLeft = bandLeft;
    if (m_model.GetLeftMargin() > 0) {
        RECT strip = {client.left - horz, content.top, client.left - horz + rowHeight, client.bottom};
        RECT visible;
        if (::IntersectRect(&visible, &strip, &clip))
            FillSolid(dc, visible, m_colours[kClr3DFace]);
    }
    const bool grid = (style & (kStyleHorzGrid | kStyleVertGrid)) != 0;
    int focusRow = -2, focusColumn = -1;
    m_model.GetFocusCell(&focusRow, &focusColumn);
    const bool editing = m_editor != NULL;
    char text[kCellBuffer];

    // The band with the pseudo-row.
    if (style & kStyleBand) {
        const Rect& band = m_geometry.BandRect();
        const int frame = 2 * ::GetSystemMetrics(SM_CYDLGFRAME);
        RECT strip = {client.left, band.bottom - frame, client.right, band.bottom};
        FillSolid(dc, strip, m_colours[kClr3DFace]);
        CDC::FromHandle(dc)->Draw3dRect(&strip, m_colours[kClr3DHilight], m_colours[kClr3DDkShadow]);
        ODLVITEM d = {};
        d.mask = kMaskText;
        d.item = -1;
        d.text = text;
        d.textMax = sizeof text;
        text[0] = 0;
        if (m_model.GetColumnCount() > 0 && m_model.GetItem(&d)) {
            RECT row = {bandLeft, band.top, bandRight, band.bottom - frame};
            DrawRow(pDC, row, clip, -1, &d, FALSE);
            if (m_hasFocus && !editing && focusRow == -1 && focusColumn < 0) {
                RECT f = row;
                if (grid) {
                    ++f.left;
                    --f.right;
                }
                DrawFocusRect(pDC, f, ComputeRowLook(m_colours, m_paletteColors, LookInput(-1, d)).background, false);
            }
        }
    }

    const int count = m_model.GetDisplayCount();
    if (count == 0) {
        const std::string& empty = m_model.GetOptionText();
        if (!empty.empty()) {
            RECT r = {content.left, content.top + 2, content.left + std::min(client.Width(), bandRight - bandLeft),
                      content.top + 2 + rowHeight};
            const COLORREF oldText = ::SetTextColor(dc, m_colours[kClrText]);
            ::DrawTextA(dc, empty.c_str(), -1, &r, DT_CENTER | DT_END_ELLIPSIS);
            ::SetTextColor(dc, oldText);
        }
    }

    int y = content.top;
    int row = top;
    const bool variable = m_model.GetOption(9) != 0;
    for (; row < count && y < clip.bottom; ++row) {
        ODLVITEM d = {};
        d.mask = kMaskText;
        d.item = m_model.DisplayToItem(row);
        d.subItem = 0;
        d.text = text;
        d.textMax = sizeof text;
        text[0] = 0;
        if (d.item < 0 || m_model.GetColumnCount() == 0 || !m_model.GetItem(&d)) {
            y += rowHeight;
            continue;
        }
        const int bottom = y + rowHeight + (variable && d.extraHeight > 0 ? d.extraHeight : 0);
        if (bottom <= clip.top) {
            y = bottom;
            continue;
        }
        RECT rr = {bandLeft, y, bandRight, bottom};
        if (d.indent >= 0) {
            rr.left += d.indent * rowHeight;
            rr.right = std::max(rr.right, rr.left);
        }
        DrawRow(pDC, rr, clip, row, &d, (row & 1) != 0);
        if (variable && (d.mask & kMaskExtraHeight) && d.extraHeight > 0) {
            NMODLISTEXTRA extra = {};
            extra.rect = RECT{rr.left, y + rowHeight, rr.right, bottom};
            extra.item = d.item;
            extra.dc = dc;
            NotifyParent(kNotifyDrawExtra, &extra.hdr);
        }
        if (style & kStyleHorzGrid) {
            ::MoveToEx(dc, bandLeft, bottom - 1, NULL);
            ::LineTo(dc, bandRight, bottom - 1);
        }
        if (m_hasFocus && !editing && row == focusRow && (!(style & kStyleCellFocus) || focusColumn < 0)) {
            RECT f = {bandLeft, y, bandRight, bottom};
            DrawFocusRect(pDC, f, ComputeRowLook(m_colours, m_paletteColors, LookInput(row, d)).background, grid);
        }
        y = bottom;
    }
    if ((style & kStyleHorzGrid) && (style & kStyleParentCells) && row >= count) {
        for (int g = y + rowHeight; g - rowHeight < clip.bottom; g += rowHeight) {
            ::MoveToEx(dc, bandLeft, g - 1, NULL);
            ::LineTo(dc, bandRight, g - 1);
        }
    }
    if (style & kStyleVertGrid) {
        const int gridTop = (style & kStyleBand) ? m_geometry.BandRect().top : content.top;
        int x = bandLeft;
        for (int column : m_model.GetShownColumns()) {
            x += m_model.GetColumnWidth(column);
            ::MoveToEx(dc, x - 1, gridTop, NULL);
            ::LineTo(dc, x - 1, std::max(y, int(clip.bottom)));
        }
    }
    ::SetBkMode(dc, oldMode);
    ::SelectObject(dc, oldFont);
    ::SelectObject(dc, oldPen);
    if (gridPen)
        ::DeleteObject(gridPen);
    DrawTreeLines(pDC);
    ::SelectClipRgn(dc, NULL);
}

void CODListCtrl::DrawRow(CDC* pDC, const RECT& rowRect, const RECT& clip, int displayRow, ODLVITEM* item, BOOL)
{
    HDC dc = pDC->m_hDC;
    const RowLookInput in = LookInput(displayRow, *item);
    const RowLook look = ComputeRowLook(m_colours, m_paletteColors, in);
    if (look.fill) {
        RECT r = rowRect;
        FillSolid(dc, r, look.background);
        ::SetBkColor(dc, look.background);
    }
    const bool bold = (item->state & kStateSecondFont) != 0;
    HGDIOBJ oldFont = bold ? ::SelectObject(dc, RowFont(true)) : NULL;
    const uint32_t style = m_model.GetStyleWord();
    const int rowHeight = m_geometry.GetRowHeight();
    int focusRow = -2, focusColumn = -1;
    m_model.GetFocusCell(&focusRow, &focusColumn);
    const int indentWidth = item->indent > 0 ? item->indent * rowHeight : 0;
    const std::vector<int>& shown = m_model.GetShownColumns();
    int x = rowRect.left - indentWidth;
    char text[kCellBuffer];
    for (size_t position = 0; position < shown.size() && x < clip.right; ++position) {
        const int column = shown[position];
        const int width = m_model.GetColumnWidth(column);
        RECT cell = {x, rowRect.top, x + width, rowRect.bottom};
        if (position == 0)
            cell.left = rowRect.left;
        x += width;
        if (cell.right <= clip.left)
            continue;
        ODLVITEM d = {};
        d.mask = kMaskText;
        d.item = item->item;
        d.subItem = column;
        d.text = text;
        d.textMax = sizeof text;
        text[0] = 0;
        if (!m_model.GetItem(&d))
            continue;
        d.state = item->state;
        const bool focusCell = focusRow == displayRow && focusColumn == int(position) &&
                               ((style & kStyleCellFocus) || displayRow == -1);
        m_paintText = CellTextColour(m_colours, m_paletteColors, in, (d.mask & kMaskValue2) ? d.value2 : -1);
        if (focusCell) {
            FillSolid(dc, cell, look.base);
            m_paintText = m_colours[kClrText];
        }
        if (position == 0 && item->indent >= 0 && (item->state & (kStateCollapsed | kStateExpanded)) &&
            m_model.IsTree()) {
            RECT e = {cell.left - rowHeight, rowRect.top, cell.left, rowRect.top + rowHeight};
            DrawExpander(pDC, e, (item->state & kStateExpanded) != 0);
        }
        const int margin = m_model.GetOption(1);
        RECT inner = {cell.left + margin, cell.top, cell.right - margin, cell.bottom};
        DrawCell(pDC, inner, &d);
        if (m_hasFocus && !m_editor && focusCell)
            DrawFocusRect(pDC, cell, look.base, (style & (kStyleHorzGrid | kStyleVertGrid)) != 0);
    }
    if (oldFont)
        ::SelectObject(dc, oldFont);
}

void CODListCtrl::DrawCell(CDC* pDC, const RECT& cellRect, ODLVITEM* item)
{
    if ((item->state & kStateParentDrawn) || (m_model.GetStyleWord() & kStyleParentCells)) {
        NMODLISTDRAWCELL nm = {};
        nm.item = *item;
        nm.dc = pDC->m_hDC;
        nm.rect = cellRect;
        NotifyParent(kNotifyDrawCell, &nm.hdr);
        return;
    }
    const int margin = m_model.GetOption(1);
    RECT r = cellRect;
    int w = DrawCellImage(pDC, r, item);
    if (w > 0)
        r.left += w + margin;
    else if (item->mask & kMaskImage)
        return;
    w = DrawCellStateImage(pDC, r, item);
    if (w > 0)
        r.left += w + margin;
    else if (item->mask & kMaskStateImage)
        return;
    DrawCellText(pDC, r, item);
}

int CODListCtrl::DrawCellImage(CDC* pDC, const RECT& cellRect, ODLVITEM* item)
{
    const int width = m_geometry.ImageWidth();
    if (!(item->mask & kMaskImage)) {
        const ColumnInfo* c = m_model.GetColumn(item->subItem);
        return c && (c->flags & 0x1000000) ? width : 0;
    }
    if (cellRect.right - cellRect.left <= 0 || !m_smallImages)
        return 0;
    IMAGEINFO info = {};
    const int height = ImageList_GetImageInfo(m_smallImages, 0, &info) ? info.rcImage.bottom - info.rcImage.top : 0;
    const int top = ImageTop(FromRECT(cellRect), height);
    UINT flags = ILD_TRANSPARENT;
    switch (ImageBlendOf(m_model.GetOption(12), item->state)) {
    case 1: flags |= ILD_BLEND50; break;
    case 2: flags |= ILD_BLEND25; break;
    default: break;
    }
    const int drawWidth = std::min(width, int(cellRect.right - cellRect.left));
    ImageList_DrawEx(m_smallImages, item->image, pDC->m_hDC, cellRect.left, top, drawWidth, height, CLR_NONE,
                     m_blendColour, flags);
    if (item->mask & kMaskValue5)
        ImageList_DrawEx(m_smallImages, item->value5, pDC->m_hDC, cellRect.left, top, drawWidth, height, CLR_NONE,
                         m_blendColour, flags);
    return width;
}

int CODListCtrl::DrawCellStateImage(CDC* pDC, const RECT& cellRect, ODLVITEM* item)
{
    const int width = m_geometry.StateImageWidth();
    if (!(item->mask & kMaskStateImage)) {
        const ColumnInfo* c = m_model.GetColumn(item->subItem);
        return c && (c->flags & 0x2000000) ? width : 0;
    }
    if (cellRect.right - cellRect.left <= width)
        return 0;
    HDC dc = pDC->m_hDC;
    if (m_stateImages) {
        IMAGEINFO info = {};
        const int height =
            ImageList_GetImageInfo(m_stateImages, 0, &info) ? info.rcImage.bottom - info.rcImage.top : 0;
        ImageList_Draw(m_stateImages, item->stateImage, dc, cellRect.left, ImageTop(FromRECT(cellRect), height),
                       ILD_TRANSPARENT);
        return width;
    }
    const CheckBoxLook look = CheckBoxLookOf(item->stateImage);
    const Rect box = CentredBox(FromRECT(cellRect), width, width);
    RECT r = ToRECT(box);
    UINT state = UINT(m_model.GetOption(11)) | (look.radio ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK);
    if (look.checked)
        state |= DFCS_CHECKED;
    ::DrawFrameControl(dc, &r, DFC_BUTTON, state);
    if (look.cross) {
        Line lines[2];
        CrossLines(box, item->stateImage, lines);
        HPEN pen = ::CreatePen(PS_SOLID, 2, RGB(255, 0, 0));
        HGDIOBJ old = ::SelectObject(dc, pen);
        DrawLine(dc, lines[0]);
        DrawLine(dc, lines[1]);
        ::SelectObject(dc, old);
        ::DeleteObject(pen);
    }
    return width;
}

int CODListCtrl::DrawCellText(CDC* pDC, const RECT& cellRect, ODLVITEM* item)
{
    const int width = cellRect.right - cellRect.left;
    if (!(item->mask & kMaskText) || width <= 0 || !item->text)
        return 0;
    const ColumnInfo* c = m_model.GetColumn(item->subItem);
    const TextAlign align = AlignOfFormat(c ? c->flags : 0);
    HDC dc = pDC->m_hDC;
    const int length = int(strlen(item->text));
    SIZE extent = {};
    ::GetTextExtentPoint32A(dc, item->text, length, &extent);
    if (align == kAlignNone)
        return std::max(0, std::min(int(extent.cx), width));
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
    if (align == kAlignRight)
        format |= DT_RIGHT;
    else if (align == kAlignCentre)
        format |= DT_CENTER;
    RECT r = cellRect;
    const COLORREF old = ::SetTextColor(dc, m_paintText);
    ::DrawTextA(dc, item->text, length, &r, format);
    ::SetTextColor(dc, old);
    return std::max(0, std::min(int(extent.cx), width));
}

int CODListCtrl::DrawExpander(CDC* pDC, const RECT& rect, BOOL expanded)
{
    ExpanderShape shape;
    if (!ExpanderShapeOf(FromRECT(rect), expanded != FALSE, &shape))
        return rect.left;
    HDC dc = pDC->m_hDC;
    FillSolid(dc, ToRECT(shape.outer), m_colours[kClr3DShadow]);
    FillSolid(dc, ToRECT(shape.inner), m_colours[kClrBackground]);
    HPEN pen = ::CreatePen(PS_SOLID, 1, m_colours[kClrText]);
    HGDIOBJ old = ::SelectObject(dc, pen);
    DrawLine(dc, shape.horizontal);
    if (shape.plus)
        DrawLine(dc, shape.vertical);
    ::SelectObject(dc, old);
    ::DeleteObject(pen);
    return shape.right;
}

BOOL CODListCtrl::DrawBackground(CDC* pDC, const RECT& rect, COLORREF colour)
{
    HDC dc = pDC->m_hDC;
    const SIZE size = BitmapSize(m_bkImage);
    if (!m_bkImage || size.cx < 1 || size.cy < 1) {
        FillSolid(dc, rect, colour);
        return FALSE;
    }
    TileBitmap(dc, m_bkImage, rect, TileStartX(rect.left, m_geometry.GetHorzPos(), size.cx),
               TileStartY(rect.top, size.cy), size.cx, size.cy);
    const Rect& client = m_geometry.ClientRect();
    int top = client.top;
    if (m_header.m_hWnd && m_header.IsWindowVisible()) {
        CRect h;
        m_header.GetWindowRect(&h);
        top += h.Height();
    }
    const SIZE left = BitmapSize(m_edges[1]), topSize = BitmapSize(m_edges[2]), corner = BitmapSize(m_edges[0]);
    if (m_edges[1])
        ODDrawBitmapInRect(pDC, RECT{client.left, top, client.left + left.cx, client.bottom}, m_edges[1],
                           OD_DRAW_TILE);
    if (m_edges[2])
        ODDrawBitmapInRect(pDC, RECT{client.left, top, client.right, top + topSize.cy}, m_edges[2], OD_DRAW_TILE);
    if (m_edges[0])
        ODDrawBitmapInRect(pDC, RECT{client.left, top, client.left + corner.cx, top + corner.cy}, m_edges[0],
                           OD_DRAW_TILE);
    return TRUE;
}

void CODListCtrl::DrawTreeLines(CDC* pDC)
{
    if (!(m_model.GetStyleWord() & kStyleTree) || !m_treeLines)
        return;
    HDC dc = pDC->m_hDC;
    const int h = m_geometry.GetRowHeight();
    const Rect& content = m_geometry.ContentRect();
    const Rect& client = m_geometry.ClientRect();
    const int count = m_model.GetDisplayCount();
    std::vector<Line> lines;
    std::vector<std::pair<int, int>> points;
    int y = content.top;
    for (int row = m_geometry.GetTopIndex(); row < count && y < client.bottom; ++row) {
        const int item = m_model.DisplayToItem(row);
        const NodeHandle handle = m_model.GetItemNode(item);
        const TreeNode* node = handle ? reinterpret_cast<const TreeNode*>(handle) : nullptr;
        ODLVITEM d = {};
        d.item = item;
        d.mask = kMaskIndent;
        if (!m_model.GetItem(&d))
            break;
        int siblingTop = y - 1;
        if (node && node->nextSibling) {
            const int siblingRow = m_model.ItemToDisplay(node->nextSibling->item);
            RECT r;
            if (siblingRow >= 0 && GetContentCellRect(siblingRow, -1, &r, kPartCell))
                siblingTop = r.top - m_geometry.GetTopIndex() * h;
            if (siblingTop < y || siblingTop >= client.bottom)
                siblingTop = y - 1;
        }
        lines.clear();
        TreeLinesOfRow(m_paintBandLeft, y, h, d.indent, node && node->nextSibling, siblingTop, client.bottom, &lines);
        for (const Line& l : lines) {
            points.clear();
            DottedLinePoints(l, &points);
            for (const auto& p : points)
                ::SetPixel(dc, p.first, p.second, m_colours[kClrTreeLines]);
        }
        y += m_geometry.RowHeightOf(row);
    }
}

// ---- Geometry of content cells -------------------------------------------------------------

int CODListCtrl::GetContentCellRect(int displayRow, int position, RECT* rect, int part)
{
    if (!rect)
        return 0;
    const Rect& content = m_geometry.ContentRect();
    const int shownCount = m_model.GetVisibleColumnCount();
    if (position >= shownCount || (position < 0 && part != kPartCell))
        return 0;
    RECT r;
    if (displayRow == -1) {
        const Rect& band = m_geometry.BandRect();
        if (band.IsEmpty())
            return 0;
        r = ToRECT(band);
    } else {
        if (displayRow < 0 || displayRow >= m_model.GetDisplayCount())
            return 0;
        int top = content.top;
        if (m_model.GetOption(9)) {
            for (int i = 0; i < displayRow; ++i)
                top += m_geometry.RowHeightOf(i);
        } else {
            top += displayRow * m_geometry.GetRowHeight();
        }
        r = RECT{content.left, top, content.right, top + m_geometry.GetRowHeight()};
    }
    const int left = content.left - m_geometry.GetHorzPos();
    if (position < 0) {
        r.left = left;
        r.right = left + m_model.GetTotalWidth();
        *rect = r;
        return 1;
    }
    int x = left;
    for (int p = 0; p < position; ++p)
        x += m_model.GetColumnWidth(m_model.GetColumnAt(p));
    r.left = x;
    r.right = part == kPartTextToEnd ? left + m_model.GetTotalWidth()
                                     : x + m_model.GetColumnWidth(m_model.GetColumnAt(position));
    *rect = r;
    return 1;
}

int CODListCtrl::GetContentItemRect(int item, int column, RECT* rect, int kind)
{
    const int row = item == -1 ? -1 : m_model.ItemToDisplay(item);
    const int position = m_model.GetColumnPosition(column);
    RECT cell;
    if (!rect || row == -2 || position < 0 || !GetContentCellRect(row, position, &cell, kind))
        return 0;
    Rect part;
    if (!m_geometry.NarrowCell(item, column, position, FromRECT(cell), kind, &part))
        return 0;
    *rect = ToRECT(part);
    return 1;
}

int CODListCtrl::GetCellFitWidth(int item, int column, RECT* rect, BOOL textPart)
{
    // What GetItemWidth measures, plus the indent of a tree cell and the
    // closing margin of a cell without text.
    int width = GetItemWidth(item, column, nullptr, textPart);
    if (width <= 0)
        return 0;
    ODLVITEM d = {};
    d.mask = kMaskIndent;
    d.item = item;
    d.subItem = column;
    if (!textPart && m_model.IsTree() && m_model.GetColumnPosition(column) == 0 && m_model.GetItem(&d) &&
        d.indent > 0)
        width += d.indent * m_geometry.GetRowHeight();
    if (m_model.GetItemText(item, column).empty())
        width += m_model.GetOption(1);
    if (rect)
        *rect = RECT{0, 0, width, m_geometry.GetRowHeight()};
    return width;
}

void CODListCtrl::SizeColumnToFit(int column)
{
    const int position = m_model.GetColumnPosition(column);
    if (position < 0)
        return;
    int widest = 0;
    for (int item = 0; item < m_model.GetItemCount(); ++item)
        widest = std::max(widest, GetCellFitWidth(item, column, nullptr, FALSE));
    if (m_header.m_hWnd) {
        HDITEMA hd = {};
        hd.mask = HDI_WIDTH;
        hd.cxy = widest;
        m_header.SendMessage(HDM_SETITEMA, position, reinterpret_cast<LPARAM>(&hd));
    }
    m_model.SetColumnWidth(column, widest);
}
