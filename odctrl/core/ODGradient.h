// ODGradient.h - CODGradient, the multi-stop gradient fill of the owner-draw
// controls: colour stops with a weight per segment, painted as bands of
// solid colour in one of four directions. A repeat factor (at least 1.0)
// stretches the run beyond the rectangle; an offset turns it cyclically, so
// a caller can scroll the gradient. The band arithmetic is
// ODGradientBands.h; this class keeps the stops and fills the rectangles.
#pragma once

#include "afxwin.h"

#include <vector>

#include "ODGradientBands.h"

class CODGradient
{
public:
    // Directions.
    enum
    {
        LeftToRight = 0,
        RightToLeft = 1,
        TopToBottom = 2,
        BottomToTop = 3,
    };

    CODGradient();
    virtual ~CODGradient();

    // Paints the part start .. end (end -1: the rectangle's extent) of the
    // run, turned by offset pixels, into the rectangle.
    virtual void Draw(CDC* pDC, const RECT& rect, int start = 0, int end = -1, int offset = 0);
    // The same with the rectangle given by its sides.
    void Draw(CDC* pDC, int left, int top, int right, int bottom, int start = 0, int end = -1, int offset = 0)
    {
        const RECT r = {left, top, right, bottom};
        Draw(pDC, r, start, end, offset);
    }

    void SetMode(int direction) { m_nDirection = direction; }
    int GetMode() const { return m_nDirection; }
    // Values below 1.0 (and NaN) become 1.0.
    void SetFactor(float factor);
    float GetFactor() const { return m_fFactor; }

    // Two stops, one segment.
    void SetColors(COLORREF first, COLORREF second);
    // count stops from the arguments, segments of equal weight.
    void SetColorList(int count, ...);
    void SetColorList(const COLORREF* colours, int count);
    // Appends a stop; the new segment weighs 100 / (segments before it), or
    // 100 for the first segment, and the weights are normalised.
    void AddColor(COLORREF colour);
    // One weight per segment (count = stops - 1; missing ones count 0), then
    // normalised.
    void SetWeights(const float* weights, int count);
    // (-1, -1) without stops; else the first stop and the second (the first
    // again when there is only one).
    void GetEndColors(COLORREF* first, COLORREF* second) const;
    const CDWordArray& GetColorArray() const { return m_colours; }
    const std::vector<float>& GetWeights() const { return m_weights; }

protected:
    virtual void BuildCyclicBands(odgrad::Bands& out, int offset, int period, int from, int to);
    virtual void BuildBands(odgrad::Bands& out, int total, int from, int to);
    virtual void BuildSegmentBands(odgrad::Bands& out, COLORREF c1, COLORREF c2, int length, int from, int to);

    std::vector<uint32_t> Stops() const;

    int m_nDirection;
    CDWordArray m_colours;
    float m_fFactor;
    std::vector<float> m_weights;
};
