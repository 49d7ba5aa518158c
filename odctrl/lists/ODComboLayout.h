// ODComboLayout.h - the combo boxes' geometry apart from their windows:
// where the drop-down goes on the screen, the edit and the button inside
// the client area, the window height that gives the selection row, and the
// drop-down height that fits the list's rows.
//
// Rectangles are half-open [left, right) x [top, bottom); the drop-down's
// in screen coordinates, the parts in client coordinates. Sums are taken in
// 64 bits and clamped, so no coordinate overflows.
#pragma once

namespace odcombo {

struct Rect
{
    int left, top, right, bottom;
};

// The drop-down of width x height for a combo whose window occupies
// `combo` on a screen of screenWidth x screenHeight: below the combo,
// left-aligned; above it when its bottom would pass the screen's; aligned
// to the combo's right edge when its right edge would pass the screen's.
// Negative sizes count as 0.
Rect DropDownRect(const Rect& combo, int width, int height, int screenWidth, int screenHeight);

// The two children over a client area of width x height: the button the
// rightmost buttonWidth pixels, the edit the rest. A button wider than the
// area takes all of it and leaves the edit empty; negative sizes count as 0.
struct Parts
{
    Rect edit;
    Rect button;
};
Parts LayOutParts(int clientWidth, int clientHeight, int buttonWidth);

// The window height whose client area is selectionHeight high, the frame
// (window height - client height) kept.
int WindowHeightFor(int windowHeight, int clientHeight, int selectionHeight);

// The dropped height after fitting it to the list's rows: with rows
// (count > 0), (lastBottom - firstTop) + 2 when that is smaller than the
// current height; the current height otherwise.
int FitDropDownHeight(int current, int count, int firstTop, int lastBottom);

}  // namespace odcombo
