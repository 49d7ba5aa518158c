// ODProgressBlock.cpp - the progress bar's block look.
#include "ODProgressBlock.h"

#include <string.h>

#include "ODLibrary.h"

CODProgressBlock::Defaults& CODProgressBlock::ClassDefaults()
{
    static Defaults d = {
        {RGB(50, 90, 135), RGB(160, 190, 220), RGB(50, 90, 135), RGB(190, 220, 255)}, 0, 20, 5, 1, 0, "", ""};
    return d;
}

void LoadProgressBlockTheme(LPCSTR section)
{
    CODProgressBlock::Defaults& d = CODProgressBlock::ClassDefaults();
    d.colours[0] = ODGetThemeColor(section, "BlockEdgeColor", d.colours[0]);
    d.colours[1] = ODGetThemeColor(section, "BlockFaceColor", d.colours[1]);
    d.colours[2] = ODGetThemeColor(section, "BlockEdgeHIColor", d.colours[2]);
    d.colours[3] = ODGetThemeColor(section, "BlockFaceHIColor", d.colours[3]);
    d.fill = static_cast<int>(ODGetThemeColor(section, "BlockFill", static_cast<COLORREF>(d.fill)));
    d.count = static_cast<int>(ODGetThemeColor(section, "BlockCount", static_cast<COLORREF>(d.count)));
    d.smooth = static_cast<int>(ODGetThemeColor(section, "BlockSmooth", static_cast<COLORREF>(d.smooth)));
    d.space = static_cast<int>(ODGetThemeColor(section, "BlockSpace", static_cast<COLORREF>(d.space)));
    d.mode = static_cast<int>(ODGetThemeColor(section, "BlockMode", static_cast<COLORREF>(d.mode)));
    char buffer[CODProgressBlock::kImageValueSize];
    ODGetThemeString(section, "BlockImg", d.image, buffer, sizeof buffer);
    memcpy(d.image, buffer, sizeof buffer);
    ODGetThemeString(section, "VertBlockImg", d.verticalImage, buffer, sizeof buffer);
    memcpy(d.verticalImage, buffer, sizeof buffer);
}

CODProgressBlock::CODProgressBlock() : m_imageSet(FALSE), m_verticalImageSet(FALSE), m_bVertical(FALSE), m_bReversed(FALSE)
{
    const Defaults& d = ClassDefaults();
    for (int i = 0; i < 4; ++i)
        m_colours[i] = {d.colours[i], FALSE};
    m_fill = {d.fill, FALSE};
    m_count = {d.count, FALSE};
    m_smooth = {d.smooth, FALSE};
    m_space = {d.space, FALSE};
    m_mode = {d.mode, FALSE};
    memcpy(m_imageValue, d.image, sizeof m_imageValue);
    memcpy(m_verticalImageValue, d.verticalImage, sizeof m_verticalImageValue);
}

CODProgressBlock::~CODProgressBlock() {}

namespace {

template <typename T, typename V>
T Replace(V& field, T value)
{
    const T old = field.value;
    field.value = value;
    field.set = TRUE;
    return old;
}

}  // namespace

COLORREF CODProgressBlock::SetColor(COLORREF colour, int index)
{
    if (index < 0 || index > 3)
        return static_cast<COLORREF>(-1);
    return Replace(m_colours[index], colour);
}

COLORREF CODProgressBlock::GetColor(int index) const
{
    return index >= 0 && index <= 3 ? m_colours[index].value : static_cast<COLORREF>(-1);
}

int CODProgressBlock::SetFill(int fill) { return Replace(m_fill, fill); }
int CODProgressBlock::SetCount(int count) { return Replace(m_count, count); }
int CODProgressBlock::SetSmooth(int smooth) { return Replace(m_smooth, smooth); }
int CODProgressBlock::SetSpace(int space) { return Replace(m_space, space); }

int CODProgressBlock::SetMode(int mode)
{
    const int old = Replace(m_mode, mode);
    if (mode == ModeImage && !m_imageSet && !m_verticalImageSet)
        LoadImageFor(m_bVertical);
    else if (mode != ModeImage)
        m_blockImage.Release();
    return old;
}

BOOL CODProgressBlock::SetVertical(BOOL vertical)
{
    const BOOL old = m_bVertical;
    m_bVertical = vertical;
    return old;
}

BOOL CODProgressBlock::SetReversed(BOOL reversed)
{
    const BOOL old = m_bReversed;
    m_bReversed = reversed;
    return old;
}

void CODProgressBlock::LoadImageFor(BOOL vertical)
{
    // "BlockImg" holds the blocks of a vertical bar, "VertBlockImg" those of
    // a horizontal one.
    m_blockImage.Release();
    ODLoadThemeSkinImage(vertical ? m_imageValue : m_verticalImageValue, &m_blockImage);
}

void CODProgressBlock::ApplyDefaults(LPCSTR /*section*/, BOOL vertical)
{
    const Defaults& d = ClassDefaults();
    for (int i = 0; i < 4; ++i)
        if (!m_colours[i].set)
            m_colours[i].value = d.colours[i];
    if (!m_fill.set)
        m_fill.value = d.fill;
    if (!m_count.set)
        m_count.value = d.count;
    if (!m_smooth.set)
        m_smooth.value = d.smooth;
    if (!m_space.set)
        m_space.value = d.space;
    if (!m_mode.set)
        m_mode.value = d.mode;
    if (!m_imageSet)
        memcpy(m_imageValue, d.image, sizeof m_imageValue);
    if (!m_verticalImageSet)
        memcpy(m_verticalImageValue, d.verticalImage, sizeof m_verticalImageValue);
    if (m_mode.value == ModeImage && !m_imageSet && !m_verticalImageSet)
        LoadImageFor(vertical);
    else
        m_blockImage.Release();
}

odblock::Options CODProgressBlock::Options() const
{
    odblock::Options o;
    o.count = m_count.value;
    o.space = m_space.value;
    o.fill = m_fill.value;
    o.vertical = m_bVertical != FALSE;
    o.reversed = m_bReversed != FALSE;
    return o;
}

void CODProgressBlock::Draw(CDC* pDC, const RECT& rect, double fraction)
{
    if (!pDC->GetSafeHdc())
        return;
    const odblock::Rect bar{rect.left, rect.top, rect.right, rect.bottom};
    if (m_mode.value == ModeImage && !m_blockImage.IsEmpty()) {
        const CSize cell = m_blockImage.GetCellSize();
        for (const odblock::ImageBlock& b : odblock::ImageBlocks(bar, cell.cx, cell.cy, Options(), fraction))
            m_blockImage.Draw(pDC, CRect(b.rect.left, b.rect.top, b.rect.right, b.rect.bottom), b.state);
        return;
    }
    const std::vector<odblock::PenBlock> blocks = odblock::PenBlocks(bar, Options(), fraction);
    if (blocks.empty())
        return;
    CPen edge(PS_SOLID, 0, m_colours[ColorEdge].value);
    CPen edgeHi(PS_SOLID, 0, m_colours[ColorEdgeHighlight].value);
    CBrush face(m_colours[ColorFace].value);
    CBrush faceHi(m_colours[ColorFaceHighlight].value);
    CPen* oldPen = pDC->SelectObject(&edge);
    CBrush* oldBrush = pDC->SelectObject(&face);
    for (const odblock::PenBlock& b : blocks) {
        pDC->SelectObject(b.highlighted ? &edgeHi : &edge);
        pDC->SelectObject(b.highlighted ? &faceHi : &face);
        pDC->Rectangle(b.rect.left, b.rect.top, b.rect.right, b.rect.bottom);
        if (b.hasPartial)
            pDC->FillSolidRect(CRect(b.partialRect.left, b.partialRect.top, b.partialRect.right, b.partialRect.bottom),
                               m_colours[ColorFaceHighlight].value);
    }
    pDC->SelectObject(oldPen);
    pDC->SelectObject(oldBrush);
}

CSize CODProgressBlock::GetBarSize(const RECT& rect) const
{
    const odblock::Rect bar{rect.left, rect.top, rect.right, rect.bottom};
    const bool image = m_mode.value == ModeImage && !m_blockImage.IsEmpty();
    const CSize cell = m_blockImage.GetCellSize();
    const odblock::Size s = odblock::BarSize(bar, Options(), image, cell.cx, cell.cy);
    return CSize(s.cx, s.cy);
}
