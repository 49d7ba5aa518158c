// The skinned report list's two scroll bars without windows: where the cap,
// the arrows, the track and the thumb lie, how a drag turns into a scroll
// position, and what a button release sends. The bars are 13 pixels thick;
// the vertical one starts beside the list's header, so its first 18 rows are
// a cap over the header row.
//
// Along the bar (length L: the vertical bar's height, the horizontal bar's
// width):
//   vertical:   cap 0-17, up arrow 18-30, thumb top in [30, L - 58],
//               down arrow L-13 .. L-1
//   horizontal: left arrow 0-12, thumb left in [12, L - 58],
//               right arrow L-13 .. L-1
// The thumb is 45 pixels long, so at its far end it touches the far arrow.
// A drag puts the thumb's start 22 pixels before the pointer; the track of
// the thumb's start (L - 88 vertically, L - 70 horizontally) is spread over
// the list's scroll limit, so the thumb's first start stands for position 0
// and its last start for the limit.
#pragma once

namespace reportlist {

constexpr int kBarThickness = 13;
constexpr int kArrowLength = 13;
constexpr int kThumbLength = 45;
constexpr int kThumbGrab = 22;   // pointer to thumb start while dragging
constexpr int kCapRows = 18;     // vertical bar: rows beside the header

// Frames of the strips (x offsets in the bitmaps).
constexpr int kArrowFrameWidth = 13;   // normal, hover, pressed, disabled
constexpr int kThumbFrameWidth = 9;    // normal, hover or dragged, pressed
enum ArrowFrame { kArrowNormal = 0, kArrowHover = 1, kArrowPressed = 2, kArrowDisabled = 3 };
enum ThumbFrame { kThumbNormal = 0, kThumbHover = 1, kThumbPressed = 2 };

// Scroll codes the bars send (SB_LINEUP .. SB_ENDSCROLL).
enum ScrollCode { kLineBack = 0, kLineForward = 1, kPageBack = 2, kPageForward = 3, kEndScroll = 7, kNoScroll = -1 };

enum Orientation { kVertical, kHorizontal };

// What lies under a point along the bar.
enum Zone { kZoneCap, kZoneBackArrow, kZoneForwardArrow, kZoneThumb, kZoneTrackBefore, kZoneTrackAfter };

struct BarGeometry {
    Orientation orientation = kVertical;
    int length = 0;   // the bar's height (vertical) or width (horizontal)

    // The first position of the thumb's start and the last.
    int ThumbMin() const;
    int ThumbMax() const;
    // The back arrow (up / left) and the forward arrow (down / right):
    // first and last pixel along the bar.
    int BackArrowFirst() const { return orientation == kVertical ? kCapRows : 0; }
    int BackArrowLast() const { return BackArrowFirst() + kArrowLength - 1; }
    int ForwardArrowFirst() const { return length - kArrowLength; }

    int ClampThumb(int start) const;
    // The thumb's start while dragging with the pointer at `pointer`.
    int DragThumb(int pointer) const { return ClampThumb(pointer - kThumbGrab); }
    // Pixels of thumb travel per scroll unit; 0 when the list cannot scroll
    // (limit 0 or less) or the bar has no track, and then no drag moves it.
    double PixelsPerUnit(int scrollLimit) const;
    // The scroll position a thumb start stands for: whole units travelled
    // from the first start, within [0, limit].
    int TargetPosition(int thumbStart, int scrollLimit) const;
    // Where the thumb shows a scroll position (the inverse of the above, for
    // keeping the thumb with the list after line steps and keys).
    int ThumbForPosition(int position, int scrollLimit) const;
    Zone HitTest(int pointer, int thumbStart, bool canScroll) const;
};

// The list scroll of a drag: (target - current) scroll units, each `unit`
// pixels (the first row's height vertically, 1 horizontally).
inline int DragScrollPixels(int target, int current, int unit) { return (target - current) * unit; }

// The state of a bar's mouse handling.
struct BarPress {
    bool dragging = false;
    bool backPressed = false;
    bool forwardPressed = false;
};

// What a button release sends: a drag (a thumb press that moved) ends with
// the end-of-scroll code wherever the pointer is; an arrow under the pointer
// steps one line its way; a release elsewhere (not on the thumb) steps one
// line towards the pointer.
ScrollCode ReleaseAction(const BarGeometry& bar, const BarPress& press, int pointer, int thumbStart, bool canScroll);

}  // namespace reportlist
