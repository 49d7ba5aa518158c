// ODComboLayout.cpp - the combo boxes' geometry.
#include "ODComboLayout.h"

#include <stdint.h>

#include <algorithm>
#include <climits>

namespace odcombo {

namespace {

int Clamp(int64_t v) { return int(std::max<int64_t>(INT_MIN, std::min<int64_t>(INT_MAX, v))); }

}  // namespace

Rect DropDownRect(const Rect& combo, int width, int height, int screenWidth, int screenHeight)
{
    const int64_t w = std::max(width, 0), h = std::max(height, 0);
    int64_t left = combo.left, top = combo.bottom;
    if (top + h > screenHeight)
        top = int64_t(combo.top) - h;
    if (left + w > screenWidth)
        left = int64_t(combo.right) - w;
    return Rect{Clamp(left), Clamp(top), Clamp(left + w), Clamp(top + h)};
}

Parts LayOutParts(int clientWidth, int clientHeight, int buttonWidth)
{
    const int w = std::max(clientWidth, 0), h = std::max(clientHeight, 0);
    const int split = w - std::min(std::max(buttonWidth, 0), w);
    Parts p;
    p.edit = Rect{0, 0, split, h};
    p.button = Rect{split, 0, w, h};
    return p;
}

int WindowHeightFor(int windowHeight, int clientHeight, int selectionHeight)
{
    return Clamp(int64_t(windowHeight) - clientHeight + selectionHeight);
}

int FitDropDownHeight(int current, int count, int firstTop, int lastBottom)
{
    if (count <= 0)
        return current;
    const int64_t fit = int64_t(lastBottom) - firstTop + 2;
    return fit < current ? Clamp(fit) : current;
}

}  // namespace odcombo
