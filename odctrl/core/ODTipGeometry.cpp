// ODTipGeometry.cpp - balloon placement, shape and fill bands.
#include "ODTipGeometry.h"

#include <algorithm>

namespace odtip {

namespace {

void Horizontal(int placement, int ax, int width, int screenWidth, int distance, Box& r)
{
    if (placement == 0 || placement == 2) {
        r.right = std::min(ax + distance, screenWidth);
        r.left = r.right - width;
    } else {
        r.left = ax < distance ? 0 : ax - distance;
        r.right = r.left + width;
    }
}

void Vertical(int placement, int ay, int height, int screenHeight, Box& r)
{
    if (placement == 0 || placement == 1) {
        r.bottom = std::min(ay, screenHeight);
        r.top = r.bottom - height;
    } else {
        r.top = std::max(ay, 0);
        r.bottom = r.top + height;
    }
}

}  // namespace

Placement PlaceBalloon(int style, Point anchor, int width, int height, int screenWidth, int screenHeight,
                       int pointerDistance, bool shadow, int shadowX, int shadowY)
{
    Placement p;
    p.placement = style & 3;
    Horizontal(p.placement, anchor.x, width, screenWidth, pointerDistance, p.rect);
    if (p.rect.left < 0 || p.rect.right > screenWidth) {
        p.placement ^= 1;  // 0 <-> 1, 2 <-> 3
        Horizontal(p.placement, anchor.x, width, screenWidth, pointerDistance, p.rect);
    }
    Vertical(p.placement, anchor.y, height, screenHeight, p.rect);
    if (p.rect.top < 0 || p.rect.bottom > screenHeight) {
        p.placement ^= 2;  // 0 <-> 2, 1 <-> 3
        Vertical(p.placement, anchor.y, height, screenHeight, p.rect);
    }
    if (shadow && (p.placement == 0 || p.placement == 2)) {
        p.rect.left += shadowX;
        p.rect.right += shadowX;
        p.rect.top += shadowY;
        p.rect.bottom += shadowY;
    }
    return p;
}

Shape BalloonShape(const Box& area, int placement, Point anchor, bool pointer, int pointerHeight, int baseWidth,
                   int pointerDistance)
{
    Shape s;
    s.body = area;
    const bool below = placement == 2 || placement == 3;  // the pointer is on top
    if (below)
        s.body.top += pointerHeight;
    else
        s.body.bottom -= pointerHeight;
    if (!pointer)
        return s;
    s.hasPointer = true;
    const int edge = below ? s.body.top : s.body.bottom;
    s.triangle[0] = anchor;
    if (placement == 0 || placement == 2) {
        const int start = s.body.right - pointerDistance;
        s.triangle[1] = Point{start, edge};
        s.triangle[2] = Point{start - baseWidth, edge};
    } else {
        const int start = s.body.left + pointerDistance;
        s.triangle[1] = Point{start, edge};
        s.triangle[2] = Point{start + baseWidth, edge};
    }
    return s;
}

std::vector<Band> GradientBands(int start, int length, uint32_t f, uint32_t t)
{
    std::vector<Band> bands;
    if (length <= 0)
        return bands;
    for (int i = 0; i < 64; ++i) {
        const int from = start + static_cast<int>((static_cast<int64_t>(length) * i) >> 6);
        const int to = start + static_cast<int>((static_cast<int64_t>(length) * (i + 1)) >> 6);
        if (to <= from)
            continue;
        uint32_t colour = 0;
        for (int c = 0; c < 3; ++c) {
            const int a = static_cast<int>((f >> (8 * c)) & 0xFF);
            const int b = static_cast<int>((t >> (8 * c)) & 0xFF);
            // An arithmetic shift: the way down rounds toward minus infinity.
            const int v = (a * 64 + i * (b - a)) >> 6;
            colour |= static_cast<uint32_t>(v & 0xFF) << (8 * c);
        }
        bands.push_back(Band{from, to, colour});
    }
    return bands;
}

}  // namespace odtip
