// ODHeaderLayout.h - the header control's column arithmetic apart from its
// window: fitting columns to a width within their limits, the limits of a
// divider drag, the width a column's content asks for, reordering by a drop
// at a divider, the divider a point names, and the drop marker's shape.
//
// A maximum below 1 means unlimited (16384). Fitting scales every width by
// target / sum, clamps each to its limits, then walks the columns one pixel
// at a time towards the target until the sum reaches it or a whole round
// changes nothing (every column at the limit in that direction).
#pragma once

#include <vector>

namespace odheader {

constexpr int kUnlimitedWidth = 16384;

// Extras flags of a column.
enum ItemExFlags {
    kExFitContent = 1,      // width follows the content
    kExRoomForArrow = 2,    // measure with room for the sort arrow
    kExFixedWidth = 4,      // no divider drag
    kExNotRemovable = 16,   // may not be dropped outside the header
};

struct Column
{
    int width = 0;
    int minWidth = 0;
    int maxWidth = 0;  // < 1: unlimited
};

int EffectiveMax(int maxWidth);

// New widths of `columns` (in display order) so that they add up to
// `target` where their limits allow.
std::vector<int> FitWidths(const std::vector<Column>& columns, int target);

// The target of a fit: the parent's client width (when > 0) less the right
// edge of the column the fit starts after (0 for all columns), but at least
// the sum of the minimums; without a client width the widths' own sum.
int FitTarget(int clientWidth, int startRight, int sumOfMinimums, int sumOfWidths);

// Limits of a divider drag of one column: its own minimum and maximum and,
// with auto fit and columns after it, room left for theirs. Never negative,
// and the largest never below the smallest.
struct DragLimits
{
    int smallest = 0;
    int largest = 0;
};
DragLimits DividerLimits(int columnLeft, int minWidth, int maxWidth, bool autoFit,
                         const std::vector<Column>& following, int clientWidth);

// The width a column's content asks for (flag 1): margin, then each element
// present with one margin after it.
struct Content
{
    int margin = 6;
    int bitmapWidth = -1;  // -1: no bitmap
    int imageWidth = -1;   // -1: no image
    int arrowWidth = -1;   // -1: no room for the sort arrow
    int textWidth = -1;    // -1: no text
};
int ContentWidth(const Content& c);

// The display order after the column at position `from` is dropped at
// divider `divider` (0 .. count): it lands at divider - 1 when it came from
// before the divider, else at the divider; the others keep their order.
// Dividers out of range, and the column's own two dividers, change nothing.
std::vector<int> Reorder(const std::vector<int>& order, int from, int divider);

// The divider a point over a column names: its display order, plus 1 right
// of its centre. `left`/`right` is the column's extent.
int DividerAt(int x, int order, int left, int right);

// A drag starts once the pointer leaves the box of +-dx by +-dy round the
// press point.
bool LeftDragBox(int pressX, int pressY, int x, int y, int dx, int dy);

// The drop marker: 12 pixels wide, the header's height + 20 high, two
// seven-point arrows pointing at the header from above and below.
struct Point
{
    int x = 0, y = 0;
};
int MarkerHeight(int headerHeight);
void MarkerArrows(int height, Point top[7], Point bottom[7]);
// The marker's x in the header's client coordinates for a divider (count:
// the right edge of the last column, else 1 pixel left of the column at that
// display position); `lefts`/`rights` in display order.
int MarkerX(int divider, const std::vector<int>& lefts, const std::vector<int>& rights);

// The sort arrow's triangle in an item of the given top and height: a
// nonzero direction points up. Points: apex, then the base's left and right
// ends.
void SortArrow(int left, int top, int itemHeight, int width, int height, bool up, Point out[3]);

}  // namespace odheader
