// ODTitleBar.cpp - the owner-drawn caption bar.
#include "ODTitleBar.h"

#include <stdlib.h>
#include <string.h>

#include "ODDrawing.h"
#include "ODLibrary.h"

namespace {

const char* const kPositionKeys[CODTitleBar::PosCount] = {"TitleSyeMenuPos", "TitleMinBtnPos", "TitleMaxBtnPos",
                                                          "TitleExitBtnPos", "TitleTextPos"};
const char* const kImageKeys[CODTitleBar::ImgCount] = {"TitleStartImg",   "TitleCenterImg", "TitleEndImg",
                                                       "TitleSyeMenuImg", "TitleMinBtnImg", "TitleMaxBtnImg",
                                                       "TitleExitBtnImg", "TitleZoomBtnImg"};

// "TitleMove": a decimal number; a value that reads as 0.0 is read again as
// an integer.
float ReadMove(const char* text, float def)
{
    if (!text[0])
        return def;
    float v = static_cast<float>(atof(text));
    if (v == 0.0f)
        v = static_cast<float>(atoi(text));
    return v;
}

}  // namespace

CODTitleBar::Defaults& CODTitleBar::ClassDefaults()
{
    static Defaults d = [] {
        Defaults v = {};
        v.textColour = 0xFFFFFF;
        v.startColour = 0xFF0000;
        v.endColour = 0xFF0000;
        return v;
    }();
    return d;
}

void CODTitleBar::LoadTitleBarTheme(LPCSTR section)
{
    Defaults& d = ClassDefaults();
    for (int i = 0; i < PosCount; ++i)
        ODGetThemePoint(section, kPositionKeys[i], &d.positions[i]);
    d.textColour = ODGetThemeColor(section, "TxtMovNormalColor", d.textColour);
    d.startColour = ODGetThemeColor(section, "TitleStartColor", d.startColour);
    d.endColour = ODGetThemeColor(section, "TitleEndColor", d.endColour);
    d.bkMode = static_cast<int>(ODGetThemeColor(section, "TitleBkMode", d.bkMode));
    d.align = static_cast<int>(ODGetThemeColor(section, "TitleAlign", d.align));
    char value[kImageValueSize];
    ODGetThemeString(section, "TitleMove", "", value, sizeof value);
    d.move = ReadMove(value, d.move);
    for (int i = 0; i < ImgCount; ++i) {
        ODGetThemeString(section, kImageKeys[i], d.images[i], value, sizeof value);
        memcpy(d.images[i], value, sizeof value);
        d.images[i][kImageValueSize - 1] = 0;
    }
}

CODTitleBar::CODTitleBar()
    : m_positionSet(), m_textColourSet(FALSE), m_coloursSet(FALSE), m_bkModeSet(FALSE), m_alignSet(FALSE),
      m_moveSet(FALSE), m_imageValues(), m_imageSet(), m_style(0), m_states(), m_inactive(FALSE), m_maximized(FALSE),
      m_minimized(FALSE)
{
    const Defaults& d = ClassDefaults();
    memcpy(m_positions, d.positions, sizeof m_positions);
    m_textColour = d.textColour;
    m_startColour = d.startColour;
    m_endColour = d.endColour;
    m_bkMode = d.bkMode;
    m_align = d.align;
    m_move = d.move;
    memcpy(m_imageValues, d.images, sizeof m_imageValues);
    m_gradient.SetColors(m_startColour, m_endColour);
}

CODTitleBar::~CODTitleBar() {}

void CODTitleBar::SetColors(COLORREF start, COLORREF end)
{
    if (start != static_cast<COLORREF>(-1))
        m_startColour = start;
    m_endColour = end == static_cast<COLORREF>(-1) ? start : end;
    m_coloursSet = TRUE;
    m_gradient.SetColors(m_startColour, m_endColour);
}

void CODTitleBar::GetColors(COLORREF* start, COLORREF* end) const
{
    if (start)
        *start = m_startColour;
    if (end)
        *end = m_endColour;
}

void CODTitleBar::LoadImage(int which)
{
    m_images[which].Release();
    if (m_imageValues[which][0])
        ODLoadSkinImage(m_imageValues[which], &m_images[which]);
    m_images[which].SetDrawMode(which == ImgCenter ? CODSkinImage::DrawTile : CODSkinImage::DrawPlain);
}

int CODTitleBar::SetBkMode(int mode)
{
    const int old = m_bkMode;
    m_bkMode = mode;
    m_bkModeSet = TRUE;
    for (int i = ImgStart; i <= ImgEnd; ++i) {
        if (mode == 1)
            LoadImage(i);
        else
            m_images[i].Release();
    }
    return old;
}

int CODTitleBar::SetButtonState(int index, int state)
{
    if (index < 0 || index >= 3)
        return 0;
    const int old = m_states[index];
    m_states[index] = state;
    return old;
}

int CODTitleBar::GetButtonState(int index) const { return (index >= 0 && index < 3) ? m_states[index] : 0; }

DWORD CODTitleBar::SetStyleFlags(DWORD style)
{
    const DWORD old = m_style;
    m_style = style;
    return old;
}

void CODTitleBar::SetPosition(int which, POINT p)
{
    if (which < 0 || which >= PosCount)
        return;
    m_positions[which] = p;
    m_positionSet[which] = TRUE;
}

void CODTitleBar::SetImage(int which, LPCSTR description)
{
    if (which < 0 || which >= ImgCount)
        return;
    strncpy(m_imageValues[which], description ? description : "", kImageValueSize - 1);
    m_imageValues[which][kImageValueSize - 1] = 0;
    m_imageSet[which] = TRUE;
    if (which > ImgEnd || m_bkMode == 1)
        LoadImage(which);
}

void CODTitleBar::ApplyTheme()
{
    const Defaults& d = ClassDefaults();
    for (int i = 0; i < PosCount; ++i)
        if (!m_positionSet[i])
            m_positions[i] = d.positions[i];
    if (!m_textColourSet)
        m_textColour = d.textColour;
    if (!m_coloursSet) {
        m_startColour = d.startColour;
        m_endColour = d.endColour;
    }
    if (!m_bkModeSet)
        m_bkMode = d.bkMode;
    if (!m_alignSet)
        m_align = d.align;
    if (!m_moveSet)
        m_move = d.move;
    for (int i = 0; i < ImgCount; ++i)
        if (!m_imageSet[i])
            memcpy(m_imageValues[i], d.images[i], kImageValueSize);
    for (int i = 0; i < ImgCount; ++i) {
        if (i <= ImgEnd && m_bkMode != 1)
            m_images[i].Release();
        else
            LoadImage(i);
    }
    m_text.SetColor(m_textColour, CODTxtMov::ColorNormal);
    m_gradient.SetColors(m_startColour, m_endColour);
    CODTxtMov::RowInfo row;
    if (m_text.GetRowInfo(0, &row)) {
        row.align = m_align;
        row.speed = m_move;
        m_text.SetRowInfo(0, row);
    }
    if (m_move != 0.0f) {
        m_text.EnableMoving(TRUE);
    } else {
        m_text.EnableMoving(FALSE);
        m_text.ResetPositions();
    }
}

odtitle::Input CODTitleBar::LayoutInput() const
{
    odtitle::Input in;
    in.style = m_style;
    const int image[odtitle::ButtonCount] = {ImgSysMenu, ImgClose, ImgMax, ImgMin};
    const int pos[odtitle::ButtonCount] = {PosSysMenu, PosClose, PosMax, PosMin};
    for (int b = 0; b < odtitle::ButtonCount; ++b) {
        const CODSkinImage& img = m_images[image[b]];
        const CSize cell = img.GetCellSize();
        in.buttons[b].loaded = !img.IsEmpty() && cell.cx > 0 && cell.cy > 0;
        in.buttons[b].x = m_positions[pos[b]].x;
        in.buttons[b].y = m_positions[pos[b]].y;
        in.buttons[b].width = cell.cx;
        in.buttons[b].height = cell.cy;
    }
    const CSize restore = m_images[ImgRestore].GetCellSize();
    in.restoreLoaded = !m_images[ImgRestore].IsEmpty() && restore.cx > 0 && restore.cy > 0;
    in.restoreWidth = restore.cx;
    in.restoreHeight = restore.cy;
    in.maximized = m_maximized != FALSE;
    in.minimized = m_minimized != FALSE;
    in.textX = m_positions[PosText].x;
    return in;
}

odtitle::Layout CODTitleBar::Arrange(const RECT& caption) const
{
    odtitle::Rect r;
    r.left = caption.left;
    r.top = caption.top;
    r.right = caption.right;
    r.bottom = caption.bottom;
    return odtitle::Arrange(LayoutInput(), r);
}

int CODTitleBar::HitTest(const RECT* caption, POINT point) const
{
    if (!caption)
        return -1;
    return odtitle::HitTest(Arrange(*caption), point.x, point.y);
}

void CODTitleBar::Draw(CDC* pDC, const RECT* caption)
{
    if (!pDC || !caption)
        return;
    const CRect R(*caption);
    const int state = m_inactive ? 1 : 0;
    CODSkinImage& start = m_images[ImgStart];
    if (m_bkMode == 0 || start.IsEmpty()) {
        m_gradient.Draw(pDC, R);
    } else {
        const CSize s = start.GetCellSize();
        const CSize e = m_images[ImgEnd].GetCellSize();
        start.Draw(pDC, CRect(R.left, R.top, R.left + s.cx, R.top + s.cy), state);
        m_images[ImgCenter].Draw(pDC, CRect(R.left + s.cx, R.top, R.right - e.cx, R.bottom), state);
        m_images[ImgEnd].Draw(pDC, CRect(R.right - e.cx, R.top, R.right, R.top + e.cy), state);
    }
    const odtitle::Layout l = Arrange(R);
    const int image[odtitle::ButtonCount] = {ImgSysMenu, ImgClose, ImgMax, ImgMin};
    for (int b = 0; b < odtitle::ButtonCount; ++b) {
        if (!l.present[b])
            continue;
        CODSkinImage& img = m_images[l.restore[b] ? ImgRestore : image[b]];
        int s;
        if (b == odtitle::SysMenu) {
            s = state;
        } else {
            s = m_states[b - 1];  // 1 close -> 0, 2 maximise -> 1, 3 minimise -> 2
            if (m_inactive && s == 0)
                s = 3;
        }
        const odtitle::Rect& r = l.buttons[b];
        img.Draw(pDC, CRect(r.left, r.top, r.right, r.bottom), s);
    }
    const CRect text(l.text.left, l.text.top, l.text.right, l.text.bottom);
    if (!text.IsRectEmpty()) {
        CODBackDC back(pDC, &text, TRUE);
        m_text.Draw(&back, text);
    }
}

int CODTitleBar::GetMinWidth(CDC* pDC)
{
    SIZE s = {0, 0};
    if (pDC)
        m_text.Measure(&s, pDC);
    return odtitle::MinWidth(LayoutInput(), s.cx);
}

HRGN CODTitleBar::BackgroundRegion(const RECT& rect, bool centred)
{
    CODSkinImage& center = m_images[ImgCenter];
    if (m_bkMode != 1 || center.IsEmpty())
        return NULL;
    const int state = m_inactive ? 1 : 0;
    const CRect R(rect);
    const int w = R.Width(), h = R.Height();
    const CSize s = m_images[ImgStart].GetCellSize();
    const CSize e = m_images[ImgEnd].GetCellSize();
    HRGN result = NULL;
    auto add = [&](HRGN part) {
        if (!part)
            return;
        if (!result) {
            result = part;
        } else {
            ::CombineRgn(result, result, part, RGN_OR);
            ::DeleteObject(part);
        }
    };
    auto place = [&](CODSkinImage& img, int x, CSize cell) {
        if (img.IsEmpty())
            return;
        const int y = centred ? (h - cell.cy) / 2 : 0;
        const CRect r(x, y, x + cell.cx, y + cell.cy);
        add(centred ? img.GetRegion(r, state) : img.GetRegionInRect(r, state));
    };
    place(m_images[ImgStart], 0, s);
    const CRect middle(m_images[ImgStart].IsEmpty() ? 0 : s.cx, 0, w - (m_images[ImgEnd].IsEmpty() ? 0 : e.cx), h);
    if (!middle.IsRectEmpty())
        add(centred ? center.GetRegion(middle, state) : center.GetRegionInRect(middle, state));
    place(m_images[ImgEnd], w - e.cx, e);
    if (result)
        ::OffsetRgn(result, R.left, R.top);
    return result;
}

HRGN CODTitleBar::GetWindowRegion(const RECT& rect)
{
    HRGN r = BackgroundRegion(rect, true);
    return r ? r : ::CreateRectRgnIndirect(&rect);
}

HRGN CODTitleBar::GetClipRegion(const RECT& rect) { return BackgroundRegion(rect, false); }
