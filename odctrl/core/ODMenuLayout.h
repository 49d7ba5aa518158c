// ODMenuLayout.h - the skinned pop-up menu's arithmetic apart from any
// window: measuring its columns, the work area that avoids the task bar,
// where a top-level menu or a sub-menu opens, and the keyboard's moves over
// entries with separators. The work area and the task bar are given by the
// caller (SHAppBarMessage in the menu window, fixed values in tests).
#pragma once

#include <stdint.h>

#include <vector>

namespace odmenu {

// Layout constants, pixels.
const int kImageTextGap = 8;
const int kLeftInset = 2;
const int kRightInset = 2;
const int kRowSpacing = 2;
const int kExtraHeight = 2;
const int kSeparatorHeight = 5;
const int kColumnGap = 1;
const int kEmptyImageColumn = 8;

struct EntrySize
{
    bool separator = false;
    int leftWidth = 0, leftHeight = 0;    // 0: no left image
    int rightWidth = 0, rightHeight = 0;  // 0: no right image
    int textWidth = 0, textHeight = 0;
};
typedef std::vector<std::vector<EntrySize>> Columns;

struct Sizes
{
    int leftColumn = 0;
    int widestText = 0;
    int rightColumn = 0;
    int itemHeight = 0;
    int menuHeight = 0;
    int columnWidth = 0;
};

// The widest text starts again; the other sizes only grow. A column whose
// entries have no left image keeps an image column of at least 8 pixels.
void Measure(const Columns& columns, Sizes& sizes);

struct Rect
{
    int left = 0, top = 0, right = 0, bottom = 0;
};

// ABM_GETTASKBARPOS edges.
enum Edge
{
    EdgeLeft = 0,
    EdgeTop = 1,
    EdgeRight = 2,
    EdgeBottom = 3,
    EdgeNone = -1,
};
Rect WorkArea(int screenWidth, int screenHeight, int taskbarEdge, const Rect& taskbar);

// TrackPopup flags the placement reads.
const uint32_t kCentreAlign = 0x0004;   // TPM_CENTERALIGN
const uint32_t kRightAlign = 0x0008;    // TPM_RIGHTALIGN
const uint32_t kVCentreAlign = 0x0010;  // TPM_VCENTERALIGN
const uint32_t kBottomAlign = 0x0020;   // TPM_BOTTOMALIGN
const uint32_t kClampMask = 0xC000;

struct Point
{
    int x = 0, y = 0;
};
// Where a top-level menu of width x height opens for the point (x, y).
Point PlaceTopLevel(uint32_t flags, int x, int y, int width, int height, const Rect& work);
// A sub-menu: one that would pass the work area's right side opens on the
// parent's left side (overlapping by the right frame width) when the parent
// window exists; one that would pass its bottom moves up.
Point PlaceSubMenu(int x, int y, int width, int height, const Rect& work, bool parentExists, int parentLeft,
                   int rightFrame);

// ---- Keyboard --------------------------------------------------------------------------------

struct Hot
{
    int column = -1;
    int row = -1;
};
// separators[c][r]: entry r of column c is a separator. Each move skips
// separators and ends where it started (or at none) when every entry is one.
Hot MoveUp(const std::vector<std::vector<bool>>& separators, Hot from);
Hot MoveDown(const std::vector<std::vector<bool>>& separators, Hot from);
Hot MoveHome(const std::vector<std::vector<bool>>& separators);
Hot MoveEnd(const std::vector<std::vector<bool>>& separators);
// The row of the digit's entry in a column ("1".."9" the 1st..9th entry that
// is not a separator, "0" the eleventh); -1 when there is none.
int DigitRow(const std::vector<bool>& column, char digit);

}  // namespace odmenu
