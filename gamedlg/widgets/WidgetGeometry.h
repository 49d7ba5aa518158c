// Arithmetic of the game widgets that needs no window: which cell a picture
// button shows, the frames of the state button, the picker's grid, the
// placements of the balloon's body and tail, the shapes of the picture tip and
// of the tooltip, and the child-window holder's rectangle. The window classes
// beside this file are thin shells over it; the native trees test it under the
// sanitizers.
#pragma once

#include <cstdint>
#include <string>

namespace widgets {

struct Pt {
    int x = 0;
    int y = 0;
};
inline bool operator==(Pt a, Pt b) { return a.x == b.x && a.y == b.y; }

struct Rc {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    // PtInRect rules: right and bottom edges excluded.
    bool Contains(Pt p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    bool Empty() const { return right <= left || bottom <= top; }
};
inline bool operator==(const Rc& a, const Rc& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Owner-draw item state bits (the values of ODS_SELECTED, ODS_DISABLED, ODS_FOCUS).
constexpr unsigned kItemSelected = 0x0001;
constexpr unsigned kItemDisabled = 0x0004;
constexpr unsigned kItemFocus = 0x0010;

// ---- Picture button (strip of state cells) ---------------------------------------------------

// Cell shown for an item state: pressed (2) when selected and the strip has
// more than 2 cells, else hover (1) when focused and it has more than 1, else
// disabled (3) when disabled and it has more than 3, else 0.
int PngCellIndex(unsigned itemState, int stateCount);
// Width of one cell; 0 for a state count below 1 (no cells at all).
int PngCellWidth(int imageWidth, int stateCount);

// ---- State button (strip of frames) ----------------------------------------------------------

// Width of one frame: the strip's width over the frame count, one more frame
// (the alpha frame) in alpha mode. 0 when the count is below 1.
int StateFrameWidth(int stripWidth, int frameCount, bool alphaMode);
// State drawn: disabled 3, else pressed 2, else hover 1, else normal 0.
int StateButtonState(bool disabled, bool selected, bool hovering);
// Frame drawn for a state whose frames start at first and run for run
// frames; the counter starts again at 0 once it reached the run.
int StateFrameToDraw(int first, int run, uint32_t* counter);
// x of the alpha frame: after the frameCount colour frames.
int StateAlphaFrameX(int frameWidth, int frameCount);
// A state's frames are acceptable: first >= 0, run >= 1, first + run <= count.
bool StateFramesValid(int first, int run, int frameCount);
// One blended channel: (dst x (255 - a) + src x a) / 256.
inline uint8_t BlendChannel(uint8_t dst, uint8_t src, uint8_t a)
{
    return static_cast<uint8_t>((dst * (255 - a) + src * a) / 256);
}

// ---- Code page 936 text ------------------------------------------------------------------------

// A byte that starts a two-byte character in code page 936.
inline bool IsLeadByte936(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
// Length in bytes of the character at text[i] (1 or 2); a lead byte at the
// very end counts as one byte.
inline size_t CharLength936(const std::string& text, size_t i)
{
    return IsLeadByte936(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}
// The longest prefix of at most maxBytes bytes that ends on a character boundary.
size_t CharBoundaryAtMost936(const std::string& text, size_t maxBytes);
// A caption of at most maxBytes bytes, cut on a character boundary.
std::string CutCaption(const char* caption, size_t maxBytes);

// ---- Chat-action picker ----------------------------------------------------------------------

struct PickerGrid {
    int columns = 0;
    int rows = 0;
    int cellWidth = 0;
    int cellHeight = 0;
};
// columns = floor(sqrt(count)) + 1, rows = count / columns rounded up, cells
// 10 pixels larger than the first image. All 0 for no items.
PickerGrid ComputePickerGrid(int itemCount, int imageWidth, int imageHeight);
// The popup opens upwards from (x, y): (x, y - rows x cellH - 30, x + columns x cellW, y).
Rc PickerWindowRect(int x, int y, const PickerGrid& grid);
// Item index's cell (row-major), shrunk by 2 on every side, in client coordinates.
Rc PickerCellRect(const PickerGrid& grid, int index);
// The page buttons below the grid ("下一页" and "上一页").
Rc PickerNextButtonRect(const PickerGrid& grid);
Rc PickerPrevButtonRect(const PickerGrid& grid);
// Screen x of a popup showing page (page 1 at popupX, other pages 18 further left).
inline int PickerPopupX(int popupX, int page) { return page == 1 ? popupX : popupX - 18; }

// Tooltip texts of the items (page 1: 30 chat actions, page 2: 66 faces);
// null outside the page's table.
const char* ChatActionName(int page, int index);
constexpr int kChatActionCount = 30;
constexpr int kChatFaceCount = 66;

// ---- Balloon ---------------------------------------------------------------------------------

// Top-left of the body for the corner that lies on the anchor (0 top-left,
// 1 top-right, 2 bottom-left, 3 bottom-right; others give (0, 0)).
Pt BalloonBodyOrigin(int corner, Pt anchor, int width, int height);

struct BalloonTail {
    int placement = 7;   // 0..11
    Pt origin;           // window's top-left in parent coordinates
    Rc body;             // body rectangle in window coordinates
    Pt triangle[3];      // base start, base end, apex (window coordinates)
};
// Where the tail goes for a body of w x h at bodyOrigin and a target, with
// the tail's base length and its offset along the edge.
BalloonTail ComputeBalloonTail(Pt bodyOrigin, int w, int h, Pt target, int base, int offset);

// ---- Picture tip and tooltip shape -------------------------------------------------------------

struct TipShape {
    int width = 0;        // W = content width + 24
    int height = 0;       // H = content height + 20 (the window is W x (H + 10))
    Rc body;              // rounded body, window coordinates
    Pt triangle[3];       // base start, base end, apex
    Pt position;          // window's top-left, so that the apex lies on the point
    Rc content;           // where the content goes, window coordinates
};
// The tip around content of the given size pointing at point: up = the tip
// stands above the point (pointer at its bottom), left = it stands to the
// left (pointer near its right end).
TipShape ComputeTipShape(int contentWidth, int contentHeight, Pt point, bool up, bool left);
// The tooltip's sides: left unless the cursor x < W, up unless the cursor y < H.
void ChooseTipSides(Pt cursor, int width, int height, bool* up, bool* left);

// Content size of a tooltip from its text and bitmap sizes and its layout
// (0 bitmap if it has a width else text; 1, 3 side by side; 2, 4 stacked).
void CombineTipContent(int layout, int textW, int textH, int bitmapW, int bitmapH, int* width, int* height);

// ---- Child-window holder -------------------------------------------------------------------

// The held window's rectangle: the item's rectangle shrunk by 1 on each side.
Rc ChildHolderRect(const Rc& item);

}  // namespace widgets
