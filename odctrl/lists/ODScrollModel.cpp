#include "ODScrollModel.h"

#include <limits.h>

#include <algorithm>

namespace odscroll {

namespace {

int Saturate(int64_t v)
{
    return int(std::max<int64_t>(INT_MIN, std::min<int64_t>(INT_MAX, v)));
}

}  // namespace

int ClampPos(const Model& m, int pos)
{
    if (pos > m.maxPos)
        pos = m.maxPos;
    if (pos < m.min)
        pos = m.min;
    return pos;
}

void UpdateThumbSize(Model& m)
{
    int min = 0, max = 0;
    GetRange(m, &min, &max);
    const int64_t span = int64_t(max) - min + 1;
    if (span <= 0)
        return;
    if (m.fixedThumb != -1) {
        m.thumbMode = kThumbFixed;
        m.thumbValue = int16_t(std::max(INT16_MIN, std::min(INT16_MAX, m.fixedThumb)));
        return;
    }
    m.thumbMode = kThumbPercent;
    m.thumbValue = int16_t(std::max<int64_t>(0, std::min<int64_t>(int64_t(m.page) * 100 / span, 100)));
}

void ApplyFixedThumb(Model& m, int fixedThumb)
{
    m.fixedThumb = fixedThumb;
    if (fixedThumb != -1) {
        m.thumbMode = kThumbFixed;
        m.thumbValue = int16_t(std::max(INT16_MIN, std::min(INT16_MAX, fixedThumb)));
    }
}

RangeResult SetRange(Model& m, int min, int max)
{
    m.min = min;
    m.maxPos = Saturate(int64_t(max) - m.page + 1);
    m.pos = ClampPos(m, m.pos);
    if (max <= min) {
        m.page = 0;
        return kRangeHidden;
    }
    UpdateThumbSize(m);
    return kRangeShown;
}

void GetRange(const Model& m, int* min, int* max)
{
    if (min)
        *min = m.min;
    if (max)
        *max = Saturate(int64_t(m.maxPos) + m.page - 1);
}

void SetPage(Model& m, int page)
{
    m.maxPos = Saturate(int64_t(m.maxPos) + m.page - page);
    m.page = page;
    m.pos = ClampPos(m, m.pos);
    UpdateThumbSize(m);
}

int SetPos(Model& m, int pos)
{
    const int previous = m.pos;
    m.pos = ClampPos(m, pos);
    return previous;
}

int GetPos(const Model& m)
{
    return std::max(m.pos, m.min);
}

int SetTrackPos(Model& m, int pos)
{
    const int previous = m.trackPos;
    m.trackPos = ClampPos(m, pos);
    return previous;
}

int Limit(const Model& m)
{
    return int(std::max<int64_t>(1, std::min<int64_t>(INT_MAX, int64_t(m.maxPos) - m.min)));
}

int ThumbLength(const Model& m, const GeometryInput& in, int trackLength)
{
    int length = 0;
    if (m.thumbMode == kThumbFixed)
        length = m.thumbValue;
    else if (m.thumbMode == kThumbPercent)
        length = int(double(trackLength) * double(m.thumbValue) * 0.01);
    else
        length = in.systemThumb;
    length = std::max(length, in.minThumb);
    // A smallest thumb longer than the track would reach past the arrows.
    return std::max(0, std::min(length, trackLength));
}

Geometry Layout(const Model& m, const GeometryInput& in, int value)
{
    Geometry g;
    const int length = std::max(0, in.length);
    const int arrow = std::max(0, std::min(in.arrowSize, length / 2));
    g.firstArrow = {0, arrow};
    g.secondArrow = {length - arrow, length};
    g.track = {arrow, length - arrow};
    const int trackLength = g.track.Length();
    const int thumbLength = ThumbLength(m, in, trackLength);
    int start = g.track.start;
    const int64_t span = int64_t(m.maxPos) - m.min;
    if (span > 0) {
        const int64_t along = int64_t(std::max(m.min, std::min(value, m.maxPos))) - m.min;
        start += int((int64_t(trackLength) - thumbLength) * along / span);
    }
    g.thumb = {start, start + thumbLength};
    g.trackBefore = {g.track.start, g.thumb.start};
    g.trackAfter = {g.thumb.end, g.track.end};
    return g;
}

int HitTest(const Geometry& g, int along, bool vertical)
{
    const int base = vertical ? kVerticalPartBase : 0;
    if (g.firstArrow.Contains(along))
        return base + kPartFirstArrow;
    if (g.secondArrow.Contains(along))
        return base + kPartSecondArrow;
    if (g.thumb.Contains(along))
        return kPartThumb;
    if (g.track.Contains(along))
        return base + (along >= g.thumb.start ? kPartTrackAfter : kPartTrackBefore);
    return kPartNone;
}

int DragValue(const Model& m, const Geometry& g, int along, int dragOffset)
{
    const int room = g.track.Length() - g.thumb.Length();
    if (room <= 0)
        return m.min;  // the thumb fills the track: nothing to drag along
    const double d = double(along) - dragOffset - g.firstArrow.Length();
    const double value = double(m.min) + d / double(room) * (double(m.maxPos) - double(m.min));
    const double clamped = std::max(double(m.min), std::min(double(m.maxPos), value));
    return ClampPos(m, int(clamped));
}

int RepeatCode(int part)
{
    if (part >= kVerticalPartBase)
        part -= kVerticalPartBase;
    return part >= kPartFirstArrow && part <= kPartTrackAfter ? part : -1;
}

int RowOfState(int state)
{
    if (state & kStatePressed)
        return 2;
    if (state & kStateHot)
        return 1;
    return 0;
}

SourceRect PartSource(const Cells& c, bool vertical, int drawPart, int row)
{
    SourceRect r;
    if (drawPart == kDrawSizeBoxRight || drawPart == kDrawSizeBoxLeft) {
        // One row only: the right-hand box at y 0, the left-hand one below it.
        r.x = 4 * (c.vWidth + c.hWidth);
        r.y = drawPart == kDrawSizeBoxRight ? 0 : c.hHeight;
        r.width = c.vWidth;
        r.height = c.hHeight;
        return r;
    }
    if (vertical) {
        r.y = row * c.vHeight;
        r.width = c.vWidth;
        r.height = c.vHeight;
        switch (drawPart) {
        case kDrawFirstArrow: r.x = 0; break;
        case kDrawSecondArrow: r.x = c.vWidth; break;
        default:  // track halves and the whole track: a one-pixel slice
            r.x = 3 * c.vWidth;
            r.height = 1;
            break;
        }
    } else {
        r.y = row * c.hHeight;
        r.width = c.hWidth;
        r.height = c.hHeight;
        const int base = 4 * c.vWidth;
        switch (drawPart) {
        case kDrawFirstArrow: r.x = base; break;
        case kDrawSecondArrow: r.x = base + c.hWidth; break;
        default:
            r.x = base + 3 * c.hWidth;
            r.width = 1;
            break;
        }
    }
    return r;
}

SourceRect ThumbSource(const Cells& c, bool vertical, int piece, int row)
{
    SourceRect r;
    if (vertical) {
        const int half = c.vHeight / 2;
        r.x = 2 * c.vWidth;
        r.width = c.vWidth;
        r.y = row * c.vHeight + (piece == kThumbStartCap ? 0 : half);
        r.height = piece == kThumbMiddle ? 1 : half;
    } else {
        const int half = c.hWidth / 2;
        r.x = 4 * c.vWidth + 2 * c.hWidth + (piece == kThumbStartCap ? 0 : half);
        r.width = piece == kThumbMiddle ? 1 : half;
        r.y = row * c.hHeight;
        r.height = c.hHeight;
    }
    return r;
}

int ThumbCapLength(const Cells& c, bool vertical)
{
    const int cell = vertical ? c.vHeight : c.hWidth;
    return (cell + 1) / 2;
}

}  // namespace odscroll
