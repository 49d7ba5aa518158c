// ODMenuItem.cpp - the skinned pop-up menu's column and item records.
#include "ODMenuItem.h"

#include <string.h>

#include "graphics/image/DibImageList.h"

// ---- CODMenuStyle ------------------------------------------------------------------------------

CODMenuStyle::CODMenuStyle() : m_colour1(0xFF0000), m_colour2(0xFF0000), m_itemHeight(20)
{
    m_gradient.SetColors(m_colour1, m_colour2);
}

CODMenuStyle::~CODMenuStyle()
{
    for (Layer& l : m_layers) {
        delete l.image;
        delete l.rect;
    }
}

int CODMenuStyle::SetItemHeight(int height)
{
    const int old = m_itemHeight;
    m_itemHeight = height;
    return old;
}

COLORREF CODMenuStyle::SetColors(COLORREF first, COLORREF second)
{
    const COLORREF old = m_colour1;
    m_colour1 = first;
    m_colour2 = second;
    m_gradient.SetColors(first, second);
    return old;
}

void CODMenuStyle::AddLayer(CODSkinImage* image, RECT* rect)
{
    if (m_layers.size() == m_layers.capacity())
        m_layers.reserve(m_layers.size() + 10);
    m_layers.push_back(Layer{image, rect});
}

void CODMenuStyle::Draw(CDC* pDC, const RECT* rect)
{
    if (!pDC || !rect)
        return;
    m_gradient.Draw(pDC, *rect);
    if (!m_bkImage.IsEmpty())
        m_bkImage.Draw(pDC, *rect, 0);
    for (const Layer& l : m_layers) {
        if (!l.image || !l.rect || l.image->IsEmpty())
            continue;
        CRect r(*l.rect);
        r.OffsetRect(rect->left, rect->top);
        l.image->Draw(pDC, r, 0);
    }
    m_text.Draw(pDC, *rect);
}

// ---- CODMenuItem -------------------------------------------------------------------------------

CODMenuItem::CODMenuItem()
    : m_images(), m_font(), m_state(0), m_textFlags(0), m_strip(NULL), m_valueOne(0), m_enabled(1), m_styleWord(0)
{
    for (auto& part : m_colours)
        for (COLORREF& c : part)
            c = static_cast<COLORREF>(-1);
    m_colours[PartFill][2] = 0xC56A31;
    m_colours[PartFrame][2] = 0xC56A31;
    m_colours[PartText][2] = 0xFFFFFF;
    m_colours[PartText][3] = ::GetSysColor(COLOR_BTNSHADOW);
    for (WORD& c : m_cells)
        c = 0xFFFF;
    m_font.lfHeight = 12;
    strcpy(m_font.lfFaceName, "\xcb\xce\xcc\xe5");  // SimSun in code page 936
}

CODMenuItem::~CODMenuItem() {}

COLORREF CODMenuItem::SetColor(COLORREF colour, int part, int state)
{
    if (part < 0 || part >= PartCount || state < 0 || state >= StateCount)
        return static_cast<COLORREF>(-1);
    const COLORREF old = m_colours[part][state];
    m_colours[part][state] = colour;
    return old;
}

COLORREF CODMenuItem::GetColor(int part, int state) const
{
    if (part < 0 || part >= PartCount || state < 0 || state >= StateCount)
        return static_cast<COLORREF>(-1);
    return m_colours[part][state];
}

CODSkinImage* CODMenuItem::SetImage(int index, CODSkinImage* image)
{
    if (index < 0 || index >= ImageCount)
        return NULL;
    CODSkinImage* old = m_images[index];
    m_images[index] = image;
    return old;
}

CODSkinImage* CODMenuItem::GetImage(int index) const
{
    return (index >= 0 && index < ImageCount) ? m_images[index] : NULL;
}

WORD CODMenuItem::SetStripIndex(int index, WORD cell)
{
    if (index < 0 || index >= ImageCount)
        return 0xFFFF;
    const WORD old = m_cells[index];
    m_cells[index] = cell;
    return old;
}

WORD CODMenuItem::GetStripIndex(int index) const { return (index >= 0 && index < ImageCount) ? m_cells[index] : 0xFFFF; }

CQVDibImageList* CODMenuItem::SetImageStrip(CQVDibImageList* strip)
{
    CQVDibImageList* old = m_strip;
    m_strip = strip;
    return old;
}

int CODMenuItem::SetState(int state)
{
    if (state < 0 || state >= StateCount)
        return -1;
    const int old = m_state;
    m_state = state;
    return old;
}

UINT CODMenuItem::SetValueOne(UINT v)
{
    const UINT old = m_valueOne;
    m_valueOne = v;
    m_state = 1;
    return old;
}

UINT CODMenuItem::SetEnabled(UINT v)
{
    const UINT old = m_enabled;
    m_enabled = v;
    m_state = 3;
    return old;
}

UINT CODMenuItem::SetStyleWord(UINT v)
{
    const UINT old = m_styleWord;
    m_styleWord = v;
    return old;
}

UINT CODMenuItem::SetTextFlags(UINT v)
{
    const UINT old = m_textFlags;
    m_textFlags = v;
    return old;
}

CString CODMenuItem::SetTipText(LPCSTR text)
{
    const CString old = m_tip;
    m_tip = text ? text : "";
    return old;
}

CString CODMenuItem::SetCaption(LPCSTR text)
{
    const CString old = m_caption;
    m_caption = text ? text : "";
    return old;
}

void CODMenuItem::GetFont(LOGFONT* lf) const
{
    if (lf)
        *lf = m_font;
}

CSize CODMenuItem::CellSize(int slot) const
{
    if (m_images[slot] && !m_images[slot]->IsEmpty())
        return m_images[slot]->GetCellSize();
    if (m_strip && m_cells[slot] != 0xFFFF && m_cells[slot] < m_strip->GetCount())
        return CSize(m_strip->GetWidth(), m_strip->GetHeight());
    return CSize(0, 0);
}

void CODMenuItem::DrawCell(CDC* pDC, int slot, int x, int y, int state)
{
    if (m_images[slot] && !m_images[slot]->IsEmpty()) {
        const CSize s = m_images[slot]->GetCellSize();
        m_images[slot]->Draw(pDC, CRect(x, y, x + s.cx, y + s.cy), state);
    } else if (m_strip && m_cells[slot] != 0xFFFF && m_cells[slot] < m_strip->GetCount()) {
        m_strip->Draw(pDC, m_cells[slot], x, y, CQVDibImageList::kTransparent);
    }
}

void CODMenuItem::Draw(CDC* pDC, const RECT* rect, int leftWidth, int textGap, int rightWidth)
{
    if (!pDC || !rect)
        return;
    const CRect r(*rect);
    const int s = m_state;
    if (m_colours[PartFill][s] != static_cast<COLORREF>(-1))
        pDC->FillSolidRect(&r, m_colours[PartFill][s]);
    if (m_images[ImageBack] && !m_images[ImageBack]->IsEmpty())
        m_images[ImageBack]->Draw(pDC, r, s);
    else
        DrawCell(pDC, ImageBack, r.left, r.top, s);
    if (m_colours[PartFrame][s] != static_cast<COLORREF>(-1)) {
        CBrush frame(m_colours[PartFrame][s]);
        pDC->FrameRect(&r, &frame);
    }
    const CSize left = CellSize(ImageLeft);
    if (left.cx > 0) {
        const int x = r.left + (leftWidth - left.cx) / 2 + 1;
        const int y = r.top + (r.Height() - left.cy) / 2 + 1;
        DrawCell(pDC, ImageLeft, x, y, s);
        if (m_images[ImageLeft] && m_colours[PartIconFrame][s] != static_cast<COLORREF>(-1)) {
            CBrush frame(m_colours[PartIconFrame][s]);
            CRect around(x - 1, y - 1, x + left.cx + 1, y + left.cy + 1);
            pDC->FrameRect(&around, &frame);
        }
    }
    if (!m_caption.IsEmpty()) {
        const COLORREF colour = m_enabled ? m_colours[PartText][s] : m_colours[PartText][3];
        if (colour != static_cast<COLORREF>(-1)) {
            CFont font;
            font.CreateFontIndirect(&m_font);
            CFont* old = pDC->SelectObject(&font);
            const int mode = pDC->SetBkMode(TRANSPARENT);
            pDC->SetTextColor(colour);
            CRect text(r.left + leftWidth + textGap, r.top + 1, r.right - rightWidth, r.bottom - 1);
            pDC->DrawText(m_caption, &text, DT_SINGLELINE | DT_VCENTER);
            pDC->SetBkMode(mode);
            pDC->SelectObject(old);
        }
    }
    const CSize right = CellSize(ImageRight);
    if (right.cx > 0) {
        const int x = r.right - rightWidth + (rightWidth - right.cx) / 2;
        const int y = r.top + (r.Height() - right.cy) / 2;
        DrawCell(pDC, ImageRight, x, y, s);
    }
}
