#include "ScrollBarGeometry.h"

#include <algorithm>

namespace reportlist {

namespace {

// The thumb's first start: on the back arrow's last pixel.
constexpr int kVerticalThumbMin = 30;
constexpr int kHorizontalThumbMin = 12;
// From the bar's end to the thumb's last start: the forward arrow and the
// thumb.
constexpr int kThumbMaxFromEnd = kArrowLength + kThumbLength;

}  // namespace

int BarGeometry::ThumbMin() const
{
    return orientation == kVertical ? kVerticalThumbMin : kHorizontalThumbMin;
}

int BarGeometry::ThumbMax() const
{
    // A bar too short for a track keeps the thumb at its first place.
    return std::max(ThumbMin(), length - kThumbMaxFromEnd);
}

int BarGeometry::ClampThumb(int start) const
{
    return std::min(std::max(start, ThumbMin()), ThumbMax());
}

double BarGeometry::PixelsPerUnit(int scrollLimit) const
{
    const int track = ThumbMax() - ThumbMin();
    if (scrollLimit <= 0 || track <= 0)
        return 0.0;
    return (double)track / (double)scrollLimit;
}

int BarGeometry::TargetPosition(int thumbStart, int scrollLimit) const
{
    const int track = ThumbMax() - ThumbMin();
    if (scrollLimit <= 0 || track <= 0)
        return 0;
    // Counted from the thumb's first start in whole units, so that the
    // thumb at its last start reaches the list's end.
    const long long travelled = (long long)(ClampThumb(thumbStart) - ThumbMin());
    return (int)(travelled * scrollLimit / track);
}

int BarGeometry::ThumbForPosition(int position, int scrollLimit) const
{
    const double ppu = PixelsPerUnit(scrollLimit);
    if (ppu <= 0.0)
        return ThumbMin();
    return ClampThumb(ThumbMin() + (int)((double)position * ppu + 0.5));
}

Zone BarGeometry::HitTest(int pointer, int thumbStart, bool canScroll) const
{
    if (orientation == kVertical && pointer < kCapRows)
        return kZoneCap;
    if (canScroll && pointer >= thumbStart && pointer < thumbStart + kThumbLength)
        return kZoneThumb;
    if (pointer >= ForwardArrowFirst())
        return kZoneForwardArrow;
    if (pointer <= BackArrowLast())
        return kZoneBackArrow;
    return pointer < thumbStart ? kZoneTrackBefore : kZoneTrackAfter;
}

ScrollCode ReleaseAction(const BarGeometry& bar, const BarPress& press, int pointer, int thumbStart, bool canScroll)
{
    // A drag ends wherever the pointer is, also over an arrow or off the bar.
    if (press.dragging)
        return kEndScroll;
    const Zone zone = bar.HitTest(pointer, thumbStart, canScroll);
    if (zone == kZoneBackArrow)
        return kLineBack;
    if (zone == kZoneForwardArrow)
        return kLineForward;
    if (zone == kZoneThumb)
        return kNoScroll;
    return pointer <= thumbStart ? kLineBack : kLineForward;
}

}  // namespace reportlist
