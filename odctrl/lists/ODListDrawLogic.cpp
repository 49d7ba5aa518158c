// ODListDrawLogic.cpp - the list control's painting arithmetic.
#include "ODListDrawLogic.h"

#include <stdlib.h>

#include <algorithm>

namespace odlist {

int ColourSlotOfIndex(int index)
{
    static const int slots[] = {kClrBackground,       kClrBkSelected,          kClrBkSelectedNoFocus, kClrText,
                                kClrTextSelected,     kClrTextSelectedNoFocus, kClrGrid,              kClrTreeLines};
    return index >= 1 && index <= 8 ? slots[index - 1] : -1;
}

Colour PaletteColour(const std::vector<Colour>& palette, int index, Colour fallback)
{
    return index >= 0 && size_t(index) < palette.size() ? palette[size_t(index)] : fallback;
}

RowLook ComputeRowLook(const ListColours& colours, const std::vector<Colour>& palette, const RowLookInput& in)
{
    RowLook look;
    look.base = in.disabled ? colours[kClr3DFace] : colours[kClrBackground];
    look.background = look.base;
    if ((in.style & kStyleOddRows) && in.odd)
        look.background = PaletteColour(palette, 0, look.background);
    if (in.value1 >= 0)
        look.background = PaletteColour(palette, in.value1, look.background);
    if (in.state & kStateSelected) {
        if (in.hasFocus) {
            look.background = colours[kClrBkSelected];
            look.selectedLook = true;
        } else if (in.style & kStyleKeepSelNoFocus) {
            look.background = colours[kClrBkSelectedNoFocus];
            look.selectedLook = true;
        }
    }
    look.fill = !(in.backgroundImage && look.background == look.base && !in.pseudoRow);
    return look;
}

Colour CellTextColour(const ListColours& colours, const std::vector<Colour>& palette, const RowLookInput& in,
                      int ownIndex)
{
    const bool own = ownIndex >= 0 && size_t(ownIndex) < palette.size();
    const Colour normal = own ? palette[size_t(ownIndex)] : colours[kClrText];
    if (!(in.state & kStateSelected))
        return normal;
    if ((in.style & kStyleOwnTextColour) && own)
        return normal;
    if (in.hasFocus)
        return colours[kClrTextSelected];
    if (in.style & kStyleKeepSelNoFocus)
        return colours[kClrTextSelectedNoFocus];
    return normal;
}

CheckBoxLook CheckBoxLookOf(int stateImage)
{
    CheckBoxLook look;
    if (stateImage < 0 || stateImage > 7)
        return look;
    look.radio = stateImage >= 4;
    look.checked = (stateImage & 1) != 0;
    look.cross = (stateImage & 2) != 0;
    return look;
}

void CrossLines(const Rect& box, int stateImage, Line out[2])
{
    Rect r{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
    if (stateImage >= 4) {
        ++r.left;
        ++r.right;
    }
    out[0] = {r.left, r.top, r.right, r.bottom};
    out[1] = {r.left, r.bottom, r.right, r.top};
}

int ImageTop(const Rect& cell, int imageHeight)
{
    return (cell.top + cell.bottom) / 2 - imageHeight / 2 + 1;
}

Rect CentredBox(const Rect& cell, int width, int height)
{
    const int top = (cell.top + cell.bottom) / 2 - height / 2;
    return {cell.left, top, cell.left + width, top + height};
}

bool ExpanderShapeOf(const Rect& rect, bool expanded, ExpanderShape* shape)
{
    if (rect.right < rect.left || !shape)
        return false;
    const int h = rect.Height();
    const int cx = rect.left + h / 2;
    const int cy = (rect.top + rect.bottom) / 2;
    shape->outer = {cx - 4, cy - 4, cx + 5, cy + 5};
    shape->inner = {cx - 3, cy - 3, cx + 4, cy + 4};
    shape->horizontal = {cx - 2, cy, cx + 3, cy};
    shape->vertical = {cx, cy - 2, cx, cy + 3};
    shape->plus = !expanded;
    shape->right = rect.left + h;
    return true;
}

namespace {
int PositiveMod(long long value, int size)
{
    const long long m = value % size;
    return int(m < 0 ? m + size : m);
}
}  // namespace

int TileStartX(int left, int horzScroll, int width)
{
    width = std::max(width, 1);
    return left - PositiveMod((long long)horzScroll + left, width);
}

int TileStartY(int top, int height)
{
    height = std::max(height, 1);
    return top - PositiveMod(top, height);
}

Rect FocusRectOf(const Rect& row, bool gridLines)
{
    Rect r = row;
    if (gridLines) {
        ++r.left;
        --r.right;
        --r.bottom;
    }
    return r;
}

int RowHeightFromFont(int tmHeight, int tmExternalLeading, bool gridStep, bool imageList, int imageHeight)
{
    int height = tmHeight + tmExternalLeading + 2 + (gridStep ? 1 : 0);
    if (imageList && height <= imageHeight + 1)
        height = imageHeight + 1;
    return std::max(height, 1);
}

void DottedLinePoints(const Line& line, std::vector<std::pair<int, int>>* points)
{
    // The points a DDA walk visits from the start up to (not including) the
    // end; every second one, the second first.
    const int dx = line.x1 - line.x0, dy = line.y1 - line.y0;
    const int steps = std::max(abs(dx), abs(dy));
    for (int i = 1; i < steps; i += 2) {
        const int x = line.x0 + int((long long)dx * i / steps);
        const int y = line.y0 + int((long long)dy * i / steps);
        points->emplace_back(x, y);
    }
}

void TreeLinesOfRow(int bandLeft, int rowTop, int rowHeight, int indent, bool nextSibling, int siblingTop,
                    int clientBottom, std::vector<Line>* lines)
{
    const int h = rowHeight;
    const int x = bandLeft + std::max(indent, 0) * h;
    const int centre = x - h / 2;
    lines->push_back({x + h / 2 - 2, rowTop + h / 2, centre, rowTop + h / 2});
    if (nextSibling) {
        const int bottom = siblingTop >= rowTop ? siblingTop + 10 : clientBottom;
        lines->push_back({centre, rowTop, centre, bottom});
    }
}

TextAlign AlignOfFormat(uint32_t format)
{
    switch (format & 3) {
    case 1: return kAlignRight;
    case 2: return kAlignCentre;
    case 3: return kAlignNone;
    default: return kAlignLeft;
    }
}

}  // namespace odlist

namespace odlist {

int ImageBlendOf(int mode, uint32_t state)
{
    const bool selected = (state & kStateSelected) != 0, focused = (state & kStateFocused) != 0;
    switch (mode) {
    case 0: return (state & kStateBlendA) ? 1 : (state & kStateBlendB) ? 2 : 0;
    case 1: return selected ? 2 : 0;
    case 2: return focused ? 1 : 0;
    case 3: return selected ? 2 : focused ? 1 : 0;
    default: return 0;
    }
}

}  // namespace odlist
