// ODScrollModel.h - the skinned scroll bar's arithmetic apart from its window:
// the scroll model (range, page, position, track position), the thumb's size,
// the geometry of arrows, track and thumb along the bar, the hit test, the
// value a thumb drag stands for, and the cells of the image strip.
//
// The model keeps the largest position rather than the range's maximum:
// max position = max - page + 1, so a page change moves it by the difference
// of the pages. Positions are 32-bit throughout; products and differences
// are taken in 64 bits, so the largest ranges neither overflow nor lose the
// thumb. A bar whose thumb would fill (or overfill) its track has no room to
// drag in: such a drag stands for the range's start.
#pragma once

#include <stdint.h>

namespace odscroll {

// Hit codes and drawing parts.
enum Part {
    kPartNone = -1,
    kPartFirstArrow = 0,     // 30 on a vertical bar
    kPartSecondArrow = 1,    // 31
    kPartTrackBefore = 2,    // 32
    kPartTrackAfter = 3,     // 33
    kPartThumb = 10,         // both directions
    kVerticalPartBase = 30,  // added to parts 0-3 of a vertical bar
};

// Drawing parts handed to DrawPart.
enum DrawPart {
    kDrawFirstArrow = 0,
    kDrawSecondArrow = 1,
    kDrawTrackBefore = 2,
    kDrawTrackAfter = 3,
    kDrawThumb = 5,
    kDrawSizeBoxRight = 6,
    kDrawSizeBoxLeft = 7,
    kDrawTrack = 8,
};

// Drawing states (bits).
enum DrawState {
    kStatePressed = 1,
    kStateHot = 2,
    kStateDisabled = 4,
};

// Thumb size modes.
enum ThumbMode {
    kThumbSystem = 0,
    kThumbFixed = 1,
    kThumbPercent = 2,
};

struct Model
{
    int min = 0;
    int maxPos = 101;  // largest position: max - page + 1
    int page = 10;
    int pos = 0;
    int trackPos = 0;
    int thumbMode = kThumbSystem;
    int16_t thumbValue = 0;  // pixels (fixed) or percent of the track
    int fixedThumb = -1;     // fixed thumb length, -1 none
};

// What a range change did to the bar.
enum RangeResult {
    kRangeShown = 0,   // the bar has a range to scroll
    kRangeHidden = 1,  // max <= min: page 0, the bar hidden and disabled
};

RangeResult SetRange(Model& m, int min, int max);
void GetRange(const Model& m, int* min, int* max);
void SetPage(Model& m, int page);
// Each returns the previous value.
int SetPos(Model& m, int pos);
int GetPos(const Model& m);
int SetTrackPos(Model& m, int pos);
// max position - min, at least 1.
int Limit(const Model& m);
// A position held inside [min, max position] (min when the two cross).
int ClampPos(const Model& m, int pos);
// The thumb size after a range or page change; a fixed thumb (not -1) wins.
void UpdateThumbSize(Model& m);
// The fixed thumb of a theme: stored, and mode 1 at once unless it is -1.
void ApplyFixedThumb(Model& m, int fixedThumb);

// A stretch [start, end) along the bar (x for a horizontal bar, y for a
// vertical one).
struct Span
{
    int start = 0;
    int end = 0;
    int Length() const { return end - start; }
    bool Contains(int v) const { return v >= start && v < end; }
};

struct Geometry
{
    Span firstArrow;
    Span secondArrow;
    Span track;
    Span thumb;
    Span trackBefore;  // track start to thumb start
    Span trackAfter;   // thumb end to track end
};

struct GeometryInput
{
    int length = 0;       // client length along the bar
    int arrowSize = 18;   // arrow button length
    int minThumb = 8;
    int systemThumb = 16; // SM_CXHTHUMB, for mode 0
};

// The thumb's length before it is placed: by mode, never below the smallest
// thumb and never beyond the track.
int ThumbLength(const Model& m, const GeometryInput& in, int trackLength);
// Geometry with the thumb at `value` (the position, or the track position
// while a drag is painted). Arrows longer than half the bar share it.
Geometry Layout(const Model& m, const GeometryInput& in, int value);

// The part at `along` (client coordinate along the bar), for a point inside
// the client area; vertical bars give the 30-based codes for arrows and
// track halves.
int HitTest(const Geometry& g, int along, bool vertical);

// The value a thumb drag stands for: the pointer at `along`, grabbed
// `dragOffset` pixels after the thumb's leading edge.
int DragValue(const Model& m, const Geometry& g, int along, int dragOffset);

// The scroll code a held part repeats: SB_LINEUP 0, SB_LINEDOWN 1,
// SB_PAGEUP 2, SB_PAGEDOWN 3; -1 for the thumb or nothing.
int RepeatCode(int part);

// Cells of the image strip: rows normal (0), hot (1), pressed (2) at one
// cell height each.
struct Cells
{
    int hWidth = 11, hHeight = 11;  // horizontal bar's cells
    int vWidth = 11, vHeight = 11;  // vertical bar's cells
};
struct SourceRect
{
    int x = 0, y = 0, width = 0, height = 0;
};
enum ThumbPiece {
    kThumbStartCap = 0,
    kThumbMiddle = 1,
    kThumbEndCap = 2,
};
// The strip's row for a drawing state: pressed before hot before normal.
int RowOfState(int state);
// Source of an arrow, a track slice or a size box (drawing parts 0, 1, 2, 3,
// 6, 7, 8) in a row; the thumb's pieces through ThumbSource.
SourceRect PartSource(const Cells& c, bool vertical, int drawPart, int row);
SourceRect ThumbSource(const Cells& c, bool vertical, int piece, int row);
// The half-cell length of the thumb's caps along the bar, rounded up.
int ThumbCapLength(const Cells& c, bool vertical);

}  // namespace odscroll
