// SplitModel.h - the arithmetic of a split grid: how its rectangle is
// divided between its two sides, where the slider lies, and what a drag, a
// wheel turn or a hide key does to the division.
//
// The model sees the splitter's rectangle and, for each side, the child's
// rectangle, visibility and `border` margins. Its operations change those and
// the stored proportion; the window code copies the children's rectangles and
// visibility in before an operation and out after it.
//
// Along the axis (x for sides next to each other, y for stacked sides) E is
// the splitter's extent, t the slider's thickness, m1 and m2 the minimum
// sizes. A side's extent is the width (or height) of its child's rectangle,
// which has its margins taken off already.
#pragma once

#include <cstdint>

#include "FrameGeometry.h"

enum SplitHide
{
    kHideNone = 0,
    kHideLeft = 1,
    kHideRight = 2,
    kHideBoth = 3,
};

enum SplitKeep
{
    kKeepNone = 0,
    kKeepLeft = 1,
    kKeepRight = 2,
};

// Keys of the hide buttons.
enum SplitKey
{
    kKeyLeft = 1,
    kKeyRight = 2,
};

struct SplitSide
{
    AreaRect rect;           // the child's rectangle (margins taken off)
    AreaRect margins;        // the child's `border` (left, top, right, bottom)
    bool visible = true;
};

class SplitModel
{
public:
    // ---- Settings (the layout file) --------------------------------------------------------
    bool stacked = false;
    bool drag = true;
    int hide = kHideBoth;
    int thickness = 0;                // 0: no slider
    int keepInsetStart = 0, keepInsetEnd = 0;
    int keepLength = 0;
    int16_t minFirst = 60, minSecond = 60;
    int keepSide = kKeepNone;

    // ---- State (partly stored in the profile) ------------------------------------------------
    int16_t leftWidth = 0, rightWidth = 0, totalWidth = 0;
    bool forceHide = false;
    int32_t spliteFrom = 0;
    AreaRect rect;
    SplitSide side[2];

    // The default proportion when none is given: stacked 1:2, else 4:1.
    void SetDefaultSize(int first, int second);

    int Extent() const { return stacked ? rect.Height() : rect.Width(); }
    int SideExtent(int i) const { return stacked ? side[i].rect.Height() : side[i].rect.Width(); }

    // A new rectangle of the splitter (or a new layout of the same one).
    void Layout();
    // Both sides shown: divides the extent by the stored proportion.
    void Resize();
    // Moves the slider by d pixels; false when the move is refused.
    bool Move(int d);
    // A mouse wheel amount: a move of delta / 2. False when nothing moved.
    bool Wheel(int delta);
    // A hide button's key; false when nothing changed.
    bool HideKey(int key);
    // The stretch of the slider that is drawn and takes the mouse (empty
    // without a slider).
    AreaRect SliderRect() const;

    // The division with a first side of `first` pixels.
    void Apply(int first);

private:
    // [from, to) along the axis from the splitter's start, across its whole
    // breadth, less the margins of side i.
    AreaRect Part(int i, int from, int to) const;
    void HideFirst();
    void HideSecond();
    // The first side's size for both sides shown (Resize step 2).
    int SplitFirst() const;
    int ProportionalFirst() const;

    int16_t m_defaultFirst = 4, m_defaultSecond = 1;
};
