// ODTxtMov.cpp - layout, painting, hover and movement of the moving text.
#include "ODTxtMov.h"

#include <limits.h>
#include <string.h>

#include "ODLibrary.h"

namespace {

// Class defaults: black, black, blue, red, purple.
COLORREF g_defaults[CODTxtMov::ColorCount] = {RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 255), RGB(255, 0, 0),
                                              RGB(128, 0, 128)};

const char* const kColourKeys[CODTxtMov::ColorCount] = {"TxtMovNormalColor", "TxtMovFocusColor",
                                                        "TxtMovLinkerColor", "TxtMovLinkerFocusColor",
                                                        "TxtMovVisitedColor"};

const char kSongTi[] = "宋体";

bool IsLink(const odtxt::Cell& c) { return (c.kind & (odtxt::kLink | odtxt::kVisited)) != 0; }

}  // namespace

void LoadTxtMovColors()
{
    for (int i = 0; i < CODTxtMov::ColorCount; ++i)
        g_defaults[i] = ODGetThemeColor("ODTxtMov", kColourKeys[i], g_defaults[i]);
}

COLORREF CODTxtMov::GetDefaultColor(int index)
{
    return index >= 0 && index < ColorCount ? g_defaults[index] : static_cast<COLORREF>(-1);
}

void CODTxtMov::SetDefaultColor(int index, COLORREF colour)
{
    if (index >= 0 && index < ColorCount)
        g_defaults[index] = colour;
}

// ---- Construction ------------------------------------------------------------------------------

CODTxtMov::CODTxtMov()
{
    Init(NULL, 0, TRUE);
    m_font.lfHeight = -14;
    m_font.lfWeight = FW_NORMAL;
    m_font.lfCharSet = GB2312_CHARSET;
    m_font.lfOutPrecision = OUT_STROKE_PRECIS;
    m_font.lfClipPrecision = CLIP_STROKE_PRECIS;
    m_font.lfQuality = DRAFT_QUALITY;
    m_font.lfPitchAndFamily = VARIABLE_PITCH;
}

CODTxtMov::CODTxtMov(CWnd* pOwner, UINT nTimerId, BOOL bClientArea)
{
    Init(pOwner, nTimerId, bClientArea);
    m_font.lfHeight = 12;
}

void CODTxtMov::Init(CWnd* pOwner, UINT nTimerId, BOOL bClientArea)
{
    for (int i = 0; i < ColorCount; ++i) {
        m_colours[i] = g_defaults[i];
        m_colourSet[i] = FALSE;
    }
    memset(&m_font, 0, sizeof m_font);
    strcpy(m_font.lfFaceName, kSongTi);
    m_nDefaultPos = 0;
    m_nDefaultAlign = odtxt::kAlignLeft;
    m_nVertAlign = 0;
    m_nVertGap = 0;
    m_fVertStep = 0.0f;
    m_nInterval = 25;
    m_pOwner = pOwner;
    m_bUseOwnerTimer = TRUE;
    m_bClientArea = bClientArea;
    m_nTimerId = nTimerId;
    m_nFocusRow = m_nFocusCell = -1;
    m_bMouseInside = FALSE;
    m_ptMouse = CPoint(0, 0);
    m_bMoving = FALSE;
    m_bTimerStarted = FALSE;
    m_rect.SetRectEmpty();
    m_nTotalHeight = 0;
    m_fBlockPos = 0.0f;
    m_hFont[0] = m_hFont[1] = NULL;
}

CODTxtMov::~CODTxtMov()
{
    if (m_bMoving)
        StartMover(FALSE);
    m_ticker.Stop();
    ForgetFonts();
}

void CODTxtMov::SetOwner(CWnd* pOwner, UINT nTimerId, BOOL bClientArea)
{
    m_pOwner = pOwner;
    m_nTimerId = nTimerId;
    m_bClientArea = bClientArea;
}

// ---- Content ---------------------------------------------------------------------------------------

void CODTxtMov::ReplaceRows(odtxt::Rows rows)
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    m_rows = std::move(rows);
    m_rowOffsets.assign(m_rows.size(), 0.0f);
    m_rowWidths.assign(m_rows.size(), 0);
    m_rowHeights.assign(m_rows.size(), 0);
    m_cellFonts.clear();
    m_nFocusRow = m_nFocusCell = -1;
}

void CODTxtMov::SetText(LPCSTR text) { ReplaceRows(odtxt::ParsePlainLines(text, m_nDefaultPos, m_nDefaultAlign)); }

void CODTxtMov::SetMarkup(LPCSTR text) { ReplaceRows(odtxt::ParseMarkup(text, m_nDefaultPos, m_nDefaultAlign)); }

void CODTxtMov::GetPlainText(CString& out) const
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    out = odtxt::PlainText(m_rows).c_str();
}

int CODTxtMov::GetRowCount() const
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    return static_cast<int>(m_rows.size());
}

int CODTxtMov::GetCellCount(int row) const
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    return row >= 0 && row < static_cast<int>(m_rows.size()) ? static_cast<int>(m_rows[row].cells.size()) : 0;
}

BOOL CODTxtMov::SetRowInfo(int row, const RowInfo& info)
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return FALSE;
    odtxt::Row& r = m_rows[static_cast<size_t>(row)];
    r.pos = odtxt::ClampPos(info.pos);
    r.speed = odtxt::Advance(0.0f, info.speed);
    r.maxOffset = odtxt::ClampPos(info.maxOffset);
    r.align = info.align;
    return TRUE;
}

BOOL CODTxtMov::GetRowInfo(int row, RowInfo* info) const
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (!info || row < 0 || row >= static_cast<int>(m_rows.size()))
        return FALSE;
    const odtxt::Row& r = m_rows[static_cast<size_t>(row)];
    *info = RowInfo{r.pos, r.speed, r.maxOffset, r.align};
    return TRUE;
}

BOOL CODTxtMov::SetCell(int row, int cell, const CellInfo& info)
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (row < 0 || row >= static_cast<int>(m_rows.size()) || cell < 0 ||
        cell >= static_cast<int>(m_rows[row].cells.size()))
        return FALSE;
    odtxt::Cell& c = m_rows[static_cast<size_t>(row)].cells[static_cast<size_t>(cell)];
    c.text = static_cast<LPCSTR>(info.text);
    c.href = static_cast<LPCSTR>(info.href);
    c.tooltip = static_cast<LPCSTR>(info.tooltip);
    c.pos = odtxt::ClampPos(info.pos);
    c.textColor = info.textColor;
    c.focusColor = info.focusColor;
    c.visitedColor = info.visitedColor;
    c.font = -1;
    if (info.font) {
        m_cellFonts.push_back(*info.font);
        c.font = static_cast<int>(m_cellFonts.size() - 1);
    }
    c.kind = c.href.empty() ? odtxt::kPlain : odtxt::kLink;
    return TRUE;
}

BOOL CODTxtMov::GetCell(int row, int cell, CellInfo* info) const
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (!info || row < 0 || row >= static_cast<int>(m_rows.size()) || cell < 0 ||
        cell >= static_cast<int>(m_rows[row].cells.size()))
        return FALSE;
    const odtxt::Cell& c = m_rows[static_cast<size_t>(row)].cells[static_cast<size_t>(cell)];
    info->text = c.text.c_str();
    info->href = c.href.c_str();
    info->tooltip = c.tooltip.c_str();
    info->pos = c.pos;
    info->textColor = c.textColor;
    info->focusColor = c.focusColor;
    info->visitedColor = c.visitedColor;
    info->font = c.font >= 0 ? &m_cellFonts[static_cast<size_t>(c.font)] : NULL;
    return TRUE;
}

BOOL CODTxtMov::GetCellText(int row, int cell, CString& out) const
{
    CellInfo info;
    if (!GetCell(row, cell, &info))
        return FALSE;
    out = info.text;
    return TRUE;
}

BOOL CODTxtMov::SetCellText(int row, int cell, LPCSTR text)
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (row < 0 || row >= static_cast<int>(m_rows.size()) || cell < 0 ||
        cell >= static_cast<int>(m_rows[row].cells.size()))
        return FALSE;
    m_rows[static_cast<size_t>(row)].cells[static_cast<size_t>(cell)].text = text ? text : "";
    return TRUE;
}

// ---- Look ----------------------------------------------------------------------------------------------

COLORREF CODTxtMov::SetColor(COLORREF colour, int index)
{
    if (index < 0 || index >= ColorCount)
        return static_cast<COLORREF>(-1);
    const COLORREF old = m_colours[index];
    m_colours[index] = colour;
    m_colourSet[index] = TRUE;
    Invalidate(m_rect, TRUE);
    return old;
}

COLORREF CODTxtMov::GetColor(int index) const
{
    return index >= 0 && index < ColorCount ? m_colours[index] : static_cast<COLORREF>(-1);
}

void CODTxtMov::ApplyDefaultColors()
{
    for (int i = 0; i < ColorCount; ++i)
        if (!m_colourSet[i])
            m_colours[i] = g_defaults[i];
}

void CODTxtMov::SetFont(const LOGFONT* font)
{
    if (!font)
        return;
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    m_font = *font;
    ForgetFonts();
}

void CODTxtMov::GetFont(LOGFONT* font) const
{
    if (font)
        *font = m_font;
}

void CODTxtMov::ForgetFonts()
{
    for (HFONT& f : m_hFont) {
        if (f)
            DeleteObject(f);
        f = NULL;
    }
}

int CODTxtMov::SetDefaultPos(int pos)
{
    const int old = m_nDefaultPos;
    m_nDefaultPos = pos;
    return old;
}

int CODTxtMov::SetAlign(int align)
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    const int old = m_nDefaultAlign;
    m_nDefaultAlign = align;
    for (odtxt::Row& r : m_rows)
        r.align = align;
    return old;
}

int CODTxtMov::SetVertAlign(int align)
{
    const int old = m_nVertAlign;
    m_nVertAlign = align;
    return old;
}

int CODTxtMov::SetVertGap(int gap)
{
    const int old = m_nVertGap;
    m_nVertGap = gap;
    return old;
}

float CODTxtMov::SetVertStep(float step)
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    const float old = m_fVertStep;
    m_fVertStep = odtxt::Advance(0.0f, step);
    return old;
}

BOOL CODTxtMov::SetUseOwnerTimer(BOOL use)
{
    const BOOL old = m_bUseOwnerTimer;
    m_bUseOwnerTimer = use;
    return old;
}

int CODTxtMov::SetInterval(int ms)
{
    const int old = m_nInterval;
    if (ms <= 0)
        return old;
    m_nInterval = ms;
    if (m_bMoving) {
        StartMover(FALSE);
        StartMover(TRUE);
    }
    return old;
}

// ---- Layout and painting ---------------------------------------------------------------------------

HFONT CODTxtMov::CellFont(const odtxt::Cell& cell, bool& owned)
{
    const BOOL underline = (cell.kind & odtxt::kPlain) == 0;
    if (cell.font >= 0 && cell.font < static_cast<int>(m_cellFonts.size())) {
        LOGFONT lf = m_cellFonts[static_cast<size_t>(cell.font)];
        lf.lfUnderline = static_cast<BYTE>(underline);
        owned = true;
        return CreateFontIndirectA(&lf);
    }
    owned = false;
    HFONT& f = m_hFont[underline ? 1 : 0];
    if (!f) {
        LOGFONT lf = m_font;
        lf.lfUnderline = static_cast<BYTE>(underline);
        f = CreateFontIndirectA(&lf);
    }
    return f;
}

void CODTxtMov::Layout(HDC dc)
{
    m_rowWidths.assign(m_rows.size(), 0);
    m_rowHeights.assign(m_rows.size(), 0);
    m_nTotalHeight = 0;
    const HGDIOBJ oldFont = GetCurrentObject(dc, OBJ_FONT);
    for (size_t i = 0; i < m_rows.size(); ++i) {
        long long width = 0;
        int height = 0;
        for (const odtxt::Cell& cell : m_rows[i].cells) {
            width += cell.pos;
            bool owned = false;
            HFONT font = CellFont(cell, owned);
            SelectObject(dc, font);
            SIZE size = {0, 0};
            GetTextExtentPoint32A(dc, cell.text.c_str(), static_cast<int>(cell.text.size()), &size);
            SelectObject(dc, oldFont);
            if (owned)
                DeleteObject(font);
            width += size.cx;
            height = size.cy > height ? size.cy : height;
        }
        m_rowWidths[i] = width > INT_MAX / 2 ? INT_MAX / 2 : (width < 0 ? 0 : static_cast<int>(width));
        m_rowHeights[i] = height;
        const long long total = static_cast<long long>(m_nTotalHeight) + height + m_rows[i].pos;
        m_nTotalHeight = total > INT_MAX / 2 ? INT_MAX / 2 : (total < -(INT_MAX / 2) ? -(INT_MAX / 2) : static_cast<int>(total));
    }
}

CSize CODTxtMov::GetExtent() const
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    int widest = 0;
    for (int w : m_rowWidths)
        widest = w > widest ? w : widest;
    return CSize(widest, m_nTotalHeight);
}

void CODTxtMov::Measure(SIZE* size, CDC* pDC)
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (pDC->GetSafeHdc())
        Layout(pDC->m_hDC);
    if (size)
        *size = GetExtent();
}

COLORREF CODTxtMov::CellColour(const odtxt::Cell& cell) const
{
    const bool link = IsLink(cell);
    COLORREF colour;
    if (cell.kind & odtxt::kFocused)
        colour = cell.focusColor != odtxt::kNoColor ? cell.focusColor : m_colours[link ? ColorLinkFocus : ColorFocus];
    else
        colour = cell.textColor != odtxt::kNoColor ? cell.textColor : m_colours[link ? ColorLink : ColorNormal];
    if (cell.kind & odtxt::kVisited) {
        const COLORREF visited = cell.visitedColor != odtxt::kNoColor ? cell.visitedColor : m_colours[ColorVisited];
        if (visited != static_cast<COLORREF>(-1))
            colour = visited;
    }
    return colour;
}

void CODTxtMov::DrawRow(HDC dc, const CRect& r, size_t row, int xStart, int y, std::vector<CRect>& invalid)
{
    // Positions run in 64 bits: many cells with large positions never
    // overflow; only places inside the rectangle are drawn.
    const int rowWidth = m_rowWidths[row], rowHeight = m_rowHeights[row];
    long long x = static_cast<long long>(xStart) + odtxt::AlignShift(m_rows[row].align, r.Width(), rowWidth);
    if (x + rowWidth <= r.left || x >= r.right)
        return;
    if (!dc) {
        invalid.push_back(CRect(static_cast<int>(x), y, static_cast<int>(x) + rowWidth, y + rowHeight));
        return;
    }
    const HGDIOBJ oldFont = GetCurrentObject(dc, OBJ_FONT);
    std::vector<odtxt::Cell>& cells = m_rows[row].cells;
    for (size_t c = 0; c < cells.size(); ++c) {
        odtxt::Cell& cell = cells[c];
        x += cell.pos;
        if (x >= r.right)
            break;
        bool owned = false;
        HFONT font = CellFont(cell, owned);
        SelectObject(dc, font);
        SIZE size = {0, 0};
        GetTextExtentPoint32A(dc, cell.text.c_str(), static_cast<int>(cell.text.size()), &size);
        const bool visible = x + size.cx > r.left;
        CRect cellRect(static_cast<int>(visible ? x : r.left - size.cx), y, 0, y + size.cy);
        cellRect.right = cellRect.left + size.cx;
        if (visible && m_bMouseInside && cellRect.PtInRect(m_ptMouse)) {
            cell.kind |= odtxt::kFocused;
            m_nFocusRow = static_cast<int>(row);
            m_nFocusCell = static_cast<int>(c);
        } else {
            cell.kind &= ~odtxt::kFocused;
        }
        if (visible) {
            const COLORREF oldColour = SetTextColor(dc, CellColour(cell));
            DrawTextA(dc, cell.text.c_str(), static_cast<int>(cell.text.size()), &cellRect,
                      DT_SINGLELINE | DT_NOCLIP);
            SetTextColor(dc, oldColour);
        }
        SelectObject(dc, oldFont);
        if (owned)
            DeleteObject(font);
        x += size.cx;
    }
}

void CODTxtMov::DrawBlock(HDC dc, const CRect& r, int yStart, std::vector<CRect>& invalid)
{
    long long y = static_cast<long long>(yStart) + odtxt::AlignShift(m_nVertAlign, r.Height(), m_nTotalHeight);
    if (y + m_nTotalHeight <= r.top || y >= r.bottom)
        return;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const long long top = y + m_rows[i].pos;
        y = top + m_rowHeights[i];
        if (y <= r.top || top >= r.bottom)
            continue;
        const int wrap = odtxt::WrapDistance(m_rows[i].maxOffset, r.Width(), m_rowWidths[i]);
        m_rowOffsets[i] = odtxt::WrapOffset(m_rowOffsets[i], wrap);
        const odtxt::Places places = odtxt::PlaceRun(m_rowOffsets[i], r.left, wrap);
        DrawRow(dc, r, i, places.first, static_cast<int>(top), invalid);
        DrawRow(dc, r, i, places.copy, static_cast<int>(top), invalid);
    }
}

void CODTxtMov::Draw(CDC* pDC, const RECT& rect)
{
    std::vector<CRect> invalid;
    {
        std::lock_guard<std::recursive_mutex> lock(m_lock);
        const HDC dc = pDC ? pDC->GetSafeHdc() : NULL;
        CRect r;
        int oldMode = 0;
        if (dc) {
            m_rect = rect;
            Layout(dc);
            oldMode = SetBkMode(dc, TRANSPARENT);
            r = rect;
        } else {
            r = m_rect;
        }
        if (m_rowWidths.size() == m_rows.size()) {
            const int wrap = odtxt::WrapDistance(m_nVertGap, r.Height(), m_nTotalHeight);
            m_fBlockPos = odtxt::WrapOffset(m_fBlockPos, wrap);
            const odtxt::Places places = odtxt::PlaceRun(m_fBlockPos, r.top, wrap);
            DrawBlock(dc, r, places.first, invalid);
            DrawBlock(dc, r, places.copy, invalid);
        }
        if (dc)
            SetBkMode(dc, oldMode);
    }
    for (const CRect& rc : invalid)
        Invalidate(rc, FALSE);
}

// ---- Mouse --------------------------------------------------------------------------------------------

void CODTxtMov::SetMousePos(BOOL inside, CPoint point)
{
    CRect repaint;
    {
        std::lock_guard<std::recursive_mutex> lock(m_lock);
        m_bMouseInside = inside;
        m_ptMouse = point;
        m_nFocusRow = m_nFocusCell = -1;
        repaint = m_rect;
    }
    Invalidate(repaint, TRUE);
    Update();
}

BOOL CODTxtMov::GetFocusedLink(CString& out, int which) const
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (!m_bMouseInside || m_nFocusRow < 0 || m_nFocusRow >= static_cast<int>(m_rows.size()) || m_nFocusCell < 0 ||
        m_nFocusCell >= static_cast<int>(m_rows[m_nFocusRow].cells.size()))
        return 0;
    const odtxt::Cell& c = m_rows[m_nFocusRow].cells[m_nFocusCell];
    out = (which == 2 ? c.tooltip : which == 1 ? c.href : c.text).c_str();
    return 1;
}

void CODTxtMov::MarkVisited()
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (m_nFocusRow < 0 || m_nFocusRow >= static_cast<int>(m_rows.size()) || m_nFocusCell < 0 ||
        m_nFocusCell >= static_cast<int>(m_rows[m_nFocusRow].cells.size()))
        return;
    odtxt::Cell& c = m_rows[m_nFocusRow].cells[m_nFocusCell];
    if (c.kind & odtxt::kLink)
        c.kind |= odtxt::kVisited;
}

// ---- Movement ---------------------------------------------------------------------------------------

bool CODTxtMov::OwnerWindow() const { return m_pOwner && ::IsWindow(m_pOwner->m_hWnd); }

bool CODTxtMov::OwnerTimerUsable() const { return m_bUseOwnerTimer && OwnerWindow(); }

BOOL CODTxtMov::EnableMoving(BOOL on)
{
    if (on && !m_bMoving)
        m_bMoving = StartMover(TRUE);
    else if (!on && m_bMoving)
        m_bMoving = StartMover(FALSE) <= 0;
    return m_bMoving;
}

void CODTxtMov::ResetPositions()
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    m_fBlockPos = 0.0f;
    for (float& o : m_rowOffsets)
        o = 0.0f;
}

BOOL CODTxtMov::StartMover(BOOL start)
{
    if (start) {
        if (OwnerTimerUsable()) {
            ::SetTimer(m_pOwner->m_hWnd, m_nTimerId, static_cast<UINT>(m_nInterval), NULL);
            m_bTimerStarted = TRUE;
            return 1;
        }
        m_bTimerStarted = FALSE;
        return m_ticker.Start(TickerStep, this);
    }
    if (m_bTimerStarted) {
        if (OwnerWindow())
            ::KillTimer(m_pOwner->m_hWnd, m_nTimerId);
        m_bTimerStarted = FALSE;
        return 1;
    }
    return m_ticker.Stop();
}

DWORD CODTxtMov::TickerStep(void* self)
{
    CODTxtMov* t = static_cast<CODTxtMov*>(self);
    t->Tick();
    return static_cast<DWORD>(t->m_nInterval);
}

void CODTxtMov::OnTick() { Tick(); }

void CODTxtMov::Tick()
{
    const CRect stored;  // without a DC, Draw takes its last rectangle under the lock
    if (m_bClientArea)
        Draw(NULL, stored);  // the rows at their old places
    {
        std::lock_guard<std::recursive_mutex> lock(m_lock);
        for (size_t i = 0; i < m_rows.size() && i < m_rowOffsets.size(); ++i)
            m_rowOffsets[i] = odtxt::Advance(m_rowOffsets[i], m_rows[i].speed);
        m_fBlockPos = odtxt::Advance(m_fBlockPos, m_fVertStep);
    }
    if (m_bClientArea)
        Draw(NULL, stored);  // and at their new ones
    Update();
}

void CODTxtMov::Invalidate(const RECT& rect, BOOL erase)
{
    if (OwnerWindow() && m_bClientArea)
        ::InvalidateRect(m_pOwner->m_hWnd, &rect, erase);
}

void CODTxtMov::Update()
{
    if (!OwnerWindow())
        return;
    if (m_bClientArea)
        ::UpdateWindow(m_pOwner->m_hWnd);
    else
        ::SendMessageA(m_pOwner->m_hWnd, WM_NCPAINT, 0, 0);
}
