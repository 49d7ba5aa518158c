#include "ODHeaderLayout.h"

#include <stdint.h>

#include <algorithm>
#include <cstdlib>

namespace odheader {

int EffectiveMax(int maxWidth)
{
    return maxWidth < 1 ? kUnlimitedWidth : maxWidth;
}

std::vector<int> FitWidths(const std::vector<Column>& columns, int target)
{
    std::vector<int> widths;
    widths.reserve(columns.size());
    int64_t sum = 0;
    for (const Column& c : columns)
        sum += c.width;
    const int64_t divisor = sum < 1 ? 1 : sum;
    int64_t total = 0;
    for (const Column& c : columns) {
        const int lo = std::max(0, c.minWidth);
        const int hi = std::max(lo, EffectiveMax(c.maxWidth));
        const int64_t scaled = int64_t(c.width) * target / divisor;
        const int w = int(std::max<int64_t>(lo, std::min<int64_t>(hi, scaled)));
        widths.push_back(w);
        total += w;
    }
    // One pixel at a time towards the target, column after column; a whole
    // round without a change means every column stands at its limit.
    bool changed = true;
    while (total != target && changed && !widths.empty()) {
        changed = false;
        for (size_t i = 0; i < widths.size() && total != target; ++i) {
            const int lo = std::max(0, columns[i].minWidth);
            const int hi = std::max(lo, EffectiveMax(columns[i].maxWidth));
            if (total < target && widths[i] < hi) {
                ++widths[i];
                ++total;
                changed = true;
            } else if (total > target && widths[i] > lo) {
                --widths[i];
                --total;
                changed = true;
            }
        }
    }
    return widths;
}

int FitTarget(int clientWidth, int startRight, int sumOfMinimums, int sumOfWidths)
{
    const int target = clientWidth > 0 ? clientWidth - startRight : sumOfWidths;
    return std::max(target, sumOfMinimums);
}

DragLimits DividerLimits(int columnLeft, int minWidth, int maxWidth, bool autoFit,
                         const std::vector<Column>& following, int clientWidth)
{
    DragLimits limits;
    limits.smallest = std::max(0, minWidth);
    limits.largest = EffectiveMax(maxWidth);
    if (autoFit && !following.empty()) {
        int64_t mins = 0, maxs = 0;
        for (const Column& c : following) {
            mins += std::max(0, c.minWidth);
            maxs += EffectiveMax(c.maxWidth);
        }
        const int64_t room = int64_t(clientWidth) - columnLeft;
        limits.largest = int(std::min<int64_t>(limits.largest, room - mins));
        limits.smallest = int(std::max<int64_t>(limits.smallest, room - maxs));
    }
    // The following columns' minimums may already exceed the room.
    limits.smallest = std::max(0, limits.smallest);
    limits.largest = std::max(limits.smallest, limits.largest);
    return limits;
}

int ContentWidth(const Content& c)
{
    int width = c.margin;
    for (int element : {c.bitmapWidth, c.imageWidth, c.arrowWidth, c.textWidth})
        if (element >= 0)
            width += element + c.margin;
    return width;
}

std::vector<int> Reorder(const std::vector<int>& order, int from, int divider)
{
    const int count = int(order.size());
    if (from < 0 || from >= count || divider < 0 || divider > count || divider == from || divider == from + 1)
        return order;
    std::vector<int> out(order);
    const int moved = out[size_t(from)];
    out.erase(out.begin() + from);
    const int at = from < divider ? divider - 1 : divider;
    out.insert(out.begin() + at, moved);
    return out;
}

int DividerAt(int x, int order, int left, int right)
{
    return order + (x > (left + right) / 2 ? 1 : 0);
}

bool LeftDragBox(int pressX, int pressY, int x, int y, int dx, int dy)
{
    return std::abs(x - pressX) > dx || std::abs(y - pressY) > dy;
}

int MarkerHeight(int headerHeight)
{
    return headerHeight + 20;
}

void MarkerArrows(int h, Point top[7], Point bottom[7])
{
    const Point t[7] = {{8, 0}, {8, 4}, {11, 4}, {6, 9}, {1, 4}, {4, 4}, {4, 0}};
    const Point b[7] = {{4, h}, {4, h - 4}, {0, h - 4}, {6, h - 10}, {12, h - 4}, {8, h - 4}, {8, h}};
    for (int i = 0; i < 7; ++i) {
        top[i] = t[i];
        bottom[i] = b[i];
    }
}

int MarkerX(int divider, const std::vector<int>& lefts, const std::vector<int>& rights)
{
    const int count = int(std::min(lefts.size(), rights.size()));
    if (count == 0)
        return 0;
    if (divider >= count)
        return rights[size_t(count - 1)];
    return lefts[size_t(std::max(0, divider))] - 1;
}

void SortArrow(int left, int top, int itemHeight, int width, int height, bool up, Point out[3])
{
    const int y = top + (itemHeight - height - 1) / 2;
    const int centre = left + width / 2;
    if (up) {
        out[0] = {centre, y};
        out[1] = {left, y + height};
        out[2] = {left + width, y + height};
    } else {
        out[0] = {centre, y + height};
        out[1] = {left, y};
        out[2] = {left + width, y};
    }
}

}  // namespace odheader
