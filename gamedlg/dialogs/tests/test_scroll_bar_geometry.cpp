// The report list's scroll bars along their length: the thumb's range and
// clamp, drags into scroll positions (a list that cannot scroll included),
// what lies under the pointer, and what a button release sends.
//
// Derivations (by hand): a vertical bar 200 high keeps the thumb's start in
// [30, 200 - 13 - 45 = 142], a track of 112; a horizontal bar 300 wide in
// [12, 300 - 58 = 242], a track of 230. A drag puts the start 22 pixels
// before the pointer. Position = (start - first start) x limit / track,
// rounded down.
#include <gtest/gtest.h>

#include "ScrollBarGeometry.h"

namespace {

using namespace reportlist;

BarGeometry Vertical(int h)
{
    BarGeometry g;
    g.orientation = kVertical;
    g.length = h;
    return g;
}

BarGeometry Horizontal(int w)
{
    BarGeometry g;
    g.orientation = kHorizontal;
    g.length = w;
    return g;
}

TEST(ScrollBarGeometryTest, ThumbRangeAndDrag)
{
    struct Case {
        const char* what;
        BarGeometry bar;
        int pointer;
        int start;   // the dragged thumb's start
    };
    const Case cases[] = {
        {"vertical, in the track", Vertical(200), 100, 78},
        {"vertical, above the track stops at the up arrow", Vertical(200), 10, 30},
        {"vertical, below the track keeps the bottom on the down arrow", Vertical(200), 500, 142},
        {"vertical, exactly the last start", Vertical(200), 164, 142},
        {"vertical bar too short for a track", Vertical(60), 50, 30},
        {"horizontal, in the track", Horizontal(300), 150, 128},
        {"horizontal, left of the track", Horizontal(300), 0, 12},
        {"horizontal, right of the track", Horizontal(300), 299, 242},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.bar.DragThumb(c.pointer), c.start) << c.what;
        EXPECT_EQ(c.bar.DragThumb(c.pointer) + kThumbLength - 1 < c.bar.ForwardArrowFirst() ||
                      c.bar.length < 88,
                  true)
            << c.what << ": the thumb ends before the forward arrow";
    }
}

TEST(ScrollBarGeometryTest, DragPositions)
{
    struct Case {
        const char* what;
        BarGeometry bar;
        int start;
        int limit;
        double ppu;
        int target;
    };
    const Case cases[] = {
        {"top of the track is the first row", Vertical(200), 30, 10, 11.2, 0},
        {"bottom of the track reaches the list's end", Vertical(200), 142, 10, 11.2, 10},
        {"middle: 48 x 10 / 112 = 4.28", Vertical(200), 78, 10, 11.2, 4},
        {"one pixel short of a unit", Vertical(200), 41, 10, 11.2, 0},
        {"more units than pixels: 56 x 500 / 112", Vertical(200), 86, 500, 0.224, 250},
        {"a list that cannot scroll: limit 0", Vertical(200), 100, 0, 0.0, 0},
        {"a negative limit is no scroll either", Vertical(200), 100, -3, 0.0, 0},
        {"no track at all", Vertical(60), 30, 10, 0.0, 0},
        {"horizontal: 115 x 23 / 230 = 11.5", Horizontal(300), 127, 23, 10.0, 11},
        {"horizontal end", Horizontal(300), 242, 23, 10.0, 23},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(c.bar.PixelsPerUnit(c.limit), c.ppu) << c.what;
        EXPECT_EQ(c.bar.TargetPosition(c.start, c.limit), c.target) << c.what;
    }
    // A drag's list scroll: (target - position) rows of the first row's height.
    EXPECT_EQ(DragScrollPixels(4, 1, 17), 51);
    EXPECT_EQ(DragScrollPixels(0, 6, 17), -102);
}

TEST(ScrollBarGeometryTest, ThumbFollowsThePosition)
{
    struct Case {
        const char* what;
        BarGeometry bar;
        int position;
        int limit;
        int start;
    };
    const Case cases[] = {
        {"first row", Vertical(200), 0, 10, 30},
        {"last row", Vertical(200), 10, 10, 142},
        {"middle: 30 + 5 x 11.2", Vertical(200), 5, 10, 86},
        {"cannot scroll", Vertical(200), 3, 0, 30},
        {"past the limit stays on the track", Vertical(200), 12, 10, 142},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.bar.ThumbForPosition(c.position, c.limit), c.start) << c.what;
        if (c.limit > 0 && c.position <= c.limit) {
            EXPECT_EQ(c.bar.TargetPosition(c.start, c.limit), c.position) << c.what << ": round trip";
        }
    }
}

TEST(ScrollBarGeometryTest, HitZones)
{
    struct Case {
        const char* what;
        BarGeometry bar;
        int pointer;
        int thumb;
        bool canScroll;
        Zone zone;
    };
    const Case cases[] = {
        {"cap beside the header", Vertical(200), 5, 60, true, kZoneCap},
        {"last cap row", Vertical(200), 17, 60, true, kZoneCap},
        {"up arrow's first row", Vertical(200), 18, 60, true, kZoneBackArrow},
        {"up arrow's last row", Vertical(200), 30, 60, true, kZoneBackArrow},
        {"track above the thumb", Vertical(200), 59, 60, true, kZoneTrackBefore},
        {"thumb's first row", Vertical(200), 60, 60, true, kZoneThumb},
        {"thumb's last row", Vertical(200), 104, 60, true, kZoneThumb},
        {"track below the thumb", Vertical(200), 105, 60, true, kZoneTrackAfter},
        {"down arrow's first row", Vertical(200), 187, 60, true, kZoneForwardArrow},
        {"a thumb at the top covers the arrow's last row", Vertical(200), 30, 30, true, kZoneThumb},
        {"no thumb when the list cannot scroll", Vertical(200), 35, 30, false, kZoneTrackAfter},
        {"horizontal left arrow", Horizontal(300), 0, 100, true, kZoneBackArrow},
        {"horizontal track left of the thumb", Horizontal(300), 13, 100, true, kZoneTrackBefore},
        {"horizontal thumb", Horizontal(300), 144, 100, true, kZoneThumb},
        {"horizontal right arrow", Horizontal(300), 287, 100, true, kZoneForwardArrow},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.bar.HitTest(c.pointer, c.thumb, c.canScroll), c.zone) << c.what;
}

TEST(ScrollBarGeometryTest, ReleaseActions)
{
    BarPress none;
    BarPress up;
    up.backPressed = true;
    BarPress down;
    down.forwardPressed = true;
    BarPress drag;
    drag.dragging = true;
    struct Case {
        const char* what;
        BarGeometry bar;
        BarPress press;
        int pointer;
        ScrollCode code;
    };
    // Thumb at 60 (vertical) or 100 (horizontal), the list can scroll.
    const Case cases[] = {
        {"on the pressed up arrow: one more line up", Vertical(200), up, 25, kLineBack},
        {"on the pressed down arrow: one more line down", Vertical(200), down, 190, kLineForward},
        {"pressed up arrow, released below the thumb", Vertical(200), up, 150, kLineForward},
        {"in the track above the thumb", Vertical(200), none, 40, kLineBack},
        {"in the cap counts as above the thumb", Vertical(200), none, 3, kLineBack},
        {"in the track below the thumb", Vertical(200), none, 150, kLineForward},
        {"on the thumb: nothing", Vertical(200), none, 70, kNoScroll},
        {"a drag ends with the end of scrolling", Vertical(200), drag, 150, kEndScroll},
        {"a drag released on the thumb also ends", Vertical(200), drag, 70, kEndScroll},
        {"a drag released over the down arrow only ends", Vertical(200), drag, 195, kEndScroll},
        {"a drag released off the bar only ends", Vertical(200), drag, 400, kEndScroll},
        {"horizontal: on the left arrow", Horizontal(300), none, 5, kLineBack},
        {"horizontal: on the right arrow", Horizontal(300), none, 295, kLineForward},
        {"horizontal: left of the thumb", Horizontal(300), none, 50, kLineBack},
        {"horizontal: at the thumb's left edge is the thumb", Horizontal(300), none, 100, kNoScroll},
        {"horizontal: right of the thumb", Horizontal(300), none, 200, kLineForward},
        {"horizontal: after a drag nothing steps", Horizontal(300), drag, 200, kEndScroll},
    };
    for (const Case& c : cases) {
        const int thumb = c.bar.orientation == kVertical ? 60 : 100;
        EXPECT_EQ(ReleaseAction(c.bar, c.press, c.pointer, thumb, true), c.code) << c.what;
    }
}

}  // namespace
