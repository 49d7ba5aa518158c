// ODListDrawLogic.h - the list control's painting arithmetic, apart from any
// device context: which colour a row and a cell take, the check-box and radio
// table of state images, the expander box, where background tiles start,
// the focus rectangle inside grid lines, the dotted tree lines and the row
// height a font gives.
//
// Colours are COLORREF values (0x00BBGGRR). Rectangles are client pixels,
// right and bottom exclusive.
#pragma once

#include <stdint.h>

#include <utility>
#include <vector>

#include "ODListTypes.h"
#include "ODScrollLayout.h"

namespace odlist {

using odscroll::Rect;
using Colour = uint32_t;

// Style word bits that only painting and input read.
enum PaintStyleBits : uint32_t {
    kStyleKeepSelNoFocus = 0x0002,  // selected rows keep a colour while the list has no focus
    kStyleOwnTextColour = 0x0004,   // a cell's own text colour wins in selected rows
    kStyleOddRows = 0x0008,         // odd display rows on palette colour 0
    kStyleHorzGrid = 0x0010,        // a grid line under every row (the row-height step)
    kStyleVertGrid = 0x0020,        // a grid line right of every shown column
    kStyleNoSortClick = 0x0080,     // with the chooser: header clicks do not sort
    kStyleHideOnDragOut = 0x0100,   // a column dragged off the header is hidden
    kStyleParentCells = 0x0400,     // the parent draws every cell
    kStyleHoverTip = 0x2000,        // mouse moves report the cell under the pointer
};

// More row state bits.
enum PaintStateBits : uint32_t {
    kStateReadOnly = 0x8,
    kStateParentDrawn = 0x10,
    kStateBlendA = 0x80,
    kStateBlendB = 0x100,
};

// The thirteen colours of a list, in the instance's order.
enum ListColourSlot {
    kClrBackground,
    kClrBkSelected,
    kClrBkSelectedNoFocus,
    kClrText,
    kClrTextSelected,
    kClrTextSelectedNoFocus,
    kClrGrid,
    kClr3DFace,
    kClr3DLight,
    kClr3DShadow,
    kClr3DHilight,
    kClr3DDkShadow,
    kClrTreeLines,
    kListColourCount
};

struct ListColours
{
    Colour c[kListColourCount] = {};
    Colour operator[](int slot) const { return c[slot]; }
};

// SetColor's index 1..8 (background, selected, selected without focus, text,
// text selected, text selected without focus, grid, tree lines) as a slot;
// -1 for any other index.
int ColourSlotOfIndex(int index);

// A palette colour, or `fallback` when the index lies outside the palette.
Colour PaletteColour(const std::vector<Colour>& palette, int index, Colour fallback);

// What DrawRow needs to know of a row.
struct RowLookInput
{
    uint32_t style = 0;
    bool disabled = false;
    bool hasFocus = false;
    bool odd = false;         // odd display row
    bool pseudoRow = false;   // row -1 in the band
    bool backgroundImage = false;
    int value1 = -1;
    uint32_t state = 0;
};

struct RowLook
{
    Colour base = 0;        // the list's background (3D face when disabled)
    Colour background = 0;  // this row's
    bool fill = true;       // false: the background image shows through
    bool selectedLook = false;
};
RowLook ComputeRowLook(const ListColours& colours, const std::vector<Colour>& palette, const RowLookInput& in);

// The text colour of one cell. `ownIndex` is the cell's value2 when its
// descriptor has mask 2, else -1.
Colour CellTextColour(const ListColours& colours, const std::vector<Colour>& palette, const RowLookInput& in,
                      int ownIndex);

// The picture a check-box state image stands for (8 and above: an empty box).
struct CheckBoxLook
{
    bool radio = false;
    bool checked = false;
    bool cross = false;
};
CheckBoxLook CheckBoxLookOf(int stateImage);

// The red cross over a check box: two diagonals inside the box shrunk by one
// pixel, moved one pixel right for the radio looks (4 and above).
struct Line
{
    int x0, y0, x1, y1;
};
void CrossLines(const Rect& box, int stateImage, Line out[2]);

// A box of width x height centred vertically at the left of a cell.
Rect CentredBox(const Rect& cell, int width, int height);
// The top of an image of that height centred in a cell as the list does it.
int ImageTop(const Rect& cell, int imageHeight);

// The expander box drawn in `rect` (a row height square at its left).
struct ExpanderShape
{
    Rect outer;        // 9 x 9, in the 3D shadow colour
    Rect inner;        // inside it, in the background colour
    Line horizontal;   // the minus bar
    Line vertical;     // the plus bar (collapsed nodes only)
    bool plus = false;
    int right = 0;     // what DrawExpander returns
};
// False (nothing drawn) when the rectangle's right is left of its left.
bool ExpanderShapeOf(const Rect& rect, bool expanded, ExpanderShape* shape);

// Where tiles of an image start so they stay fixed to the content: the
// first column at left - (scroll + left) mod width, the first row at
// top - top mod height (sizes below 1 count as 1).
int TileStartX(int left, int horzScroll, int width);
int TileStartY(int top, int height);

// The focus rectangle: with grid lines one pixel in at left, right and bottom.
Rect FocusRectOf(const Rect& row, bool gridLines);

// Row height from the font's metrics: height + external leading + 2, one more
// with the grid step, raised to image height + 1 when an image list is set.
int RowHeightFromFont(int tmHeight, int tmExternalLeading, bool gridStep, bool imageList, int imageHeight);

// The pixels of a dotted line: every second point of the line from (x0, y0)
// towards (x1, y1), end excluded, starting with the second point.
void DottedLinePoints(const Line& line, std::vector<std::pair<int, int>>* points);

// The tree lines of one shown row: the horizontal stub from the expander's
// centre to the cell, and, when the node has a next sibling, the vertical
// line down to 10 pixels below the sibling's top (siblingTop < rowTop: its
// row is not shown, the line runs to clientBottom).
void TreeLinesOfRow(int bandLeft, int rowTop, int rowHeight, int indent, bool nextSibling, int siblingTop,
                    int clientBottom, std::vector<Line>* lines);

// DrawCellText's alignment from a column format (3: nothing drawn).
enum TextAlign { kAlignLeft, kAlignRight, kAlignCentre, kAlignNone };
TextAlign AlignOfFormat(uint32_t format);

}  // namespace odlist

namespace odlist {
// The image blend of option 12: 0 none, 1 blend A (focus look), 2 blend B
// (selection look).
int ImageBlendOf(int mode, uint32_t state);
}  // namespace odlist
