// ODGradient.cpp - the gradient fill's rectangles.
#include "ODGradient.h"

#include <math.h>
#include <stdarg.h>

CODGradient::CODGradient() : m_nDirection(LeftToRight), m_fFactor(1.0f) {}

CODGradient::~CODGradient() {}

void CODGradient::SetFactor(float factor)
{
    m_fFactor = factor >= 1.0f ? factor : 1.0f;
}

void CODGradient::SetColors(COLORREF first, COLORREF second)
{
    const COLORREF colours[2] = {first, second};
    SetColorList(colours, 2);
}

void CODGradient::SetColorList(int count, ...)
{
    std::vector<COLORREF> colours(count > 0 ? static_cast<size_t>(count) : 0);
    va_list args;
    va_start(args, count);
    for (COLORREF& c : colours)
        c = va_arg(args, COLORREF);
    va_end(args);
    SetColorList(colours.data(), static_cast<int>(colours.size()));
}

void CODGradient::SetColorList(const COLORREF* colours, int count)
{
    m_colours.RemoveAll();
    m_weights.clear();
    for (int i = 0; colours && i < count; ++i)
        m_colours.Add(colours[i]);
    if (m_colours.GetSize() >= 2)
        m_weights.assign(static_cast<size_t>(m_colours.GetSize() - 1), 100.0f / static_cast<float>(m_colours.GetSize() - 1));
}

void CODGradient::AddColor(COLORREF colour)
{
    m_colours.Add(colour);
    if (m_colours.GetSize() < 2)
        return;
    const size_t before = m_weights.size();
    m_weights.push_back(before == 0 ? 100.0f : 100.0f / static_cast<float>(before));
    odgrad::Normalize(m_weights);
}

void CODGradient::SetWeights(const float* weights, int count)
{
    const INT_PTR segments = m_colours.GetSize() - 1;
    if (segments < 1)
        return;
    m_weights.assign(static_cast<size_t>(segments), 0.0f);
    for (INT_PTR i = 0; weights && i < count && i < segments; ++i)
        m_weights[static_cast<size_t>(i)] = weights[i];
    odgrad::Normalize(m_weights);
}

void CODGradient::GetEndColors(COLORREF* first, COLORREF* second) const
{
    COLORREF a = static_cast<COLORREF>(-1), b = static_cast<COLORREF>(-1);
    if (m_colours.GetSize() > 0) {
        a = m_colours[0];
        b = m_colours.GetSize() > 1 ? m_colours[1] : a;
    }
    if (first)
        *first = a;
    if (second)
        *second = b;
}

std::vector<uint32_t> CODGradient::Stops() const
{
    std::vector<uint32_t> stops;
    for (INT_PTR i = 0; i < m_colours.GetSize(); ++i)
        stops.push_back(m_colours[i]);
    return stops;
}

void CODGradient::BuildCyclicBands(odgrad::Bands& out, int offset, int period, int from, int to)
{
    odgrad::BuildCyclicBands(Stops(), m_weights, offset, period, from, to, out);
}

void CODGradient::BuildBands(odgrad::Bands& out, int total, int from, int to)
{
    odgrad::BuildBands(Stops(), m_weights, total, from, to, out);
}

void CODGradient::BuildSegmentBands(odgrad::Bands& out, COLORREF c1, COLORREF c2, int length, int from, int to)
{
    odgrad::BuildSegmentBands(c1, c2, length, from, to, out);
}

void CODGradient::Draw(CDC* pDC, const RECT& rect, int start, int end, int offset)
{
    if (!pDC->GetSafeHdc())
        return;
    const bool vertical = m_nDirection == TopToBottom || m_nDirection == BottomToTop;
    const int extent = vertical ? rect.bottom - rect.top : rect.right - rect.left;
    if (extent <= 0)
        return;
    if (start < 0)
        start = 0;
    if (end == -1)
        end = extent;
    const double period = floor(static_cast<double>(extent) * m_fFactor);
    odgrad::Bands bands;
    BuildCyclicBands(bands, offset, period > odgrad::kMaxRun ? odgrad::kMaxRun : static_cast<int>(period), start, end);
    int p = start;
    for (const odgrad::Band& b : bands) {
        CRect r;
        switch (m_nDirection) {
        case RightToLeft: r.SetRect(rect.right - (p + b.width), rect.top, rect.right - p, rect.bottom); break;
        case TopToBottom: r.SetRect(rect.left, rect.top + p, rect.right, rect.top + p + b.width); break;
        case BottomToTop: r.SetRect(rect.left, rect.bottom - (p + b.width), rect.right, rect.bottom - p); break;
        default: r.SetRect(rect.left + p, rect.top, rect.left + p + b.width, rect.bottom); break;
        }
        pDC->FillSolidRect(&r, b.color);
        p += b.width;
    }
}
