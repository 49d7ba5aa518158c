// ODMenuLayout.cpp - measuring, placement and keyboard moves of the pop-up menu.
#include "ODMenuLayout.h"

#include <algorithm>

namespace odmenu {

void Measure(const Columns& columns, Sizes& s)
{
    s.widestText = 0;
    for (const auto& column : columns) {
        bool anyLeft = false;
        int items = 0, separators = 0;
        for (const EntrySize& e : column) {
            if (e.separator) {
                ++separators;
                continue;
            }
            ++items;
            if (e.leftWidth > 0) {
                anyLeft = true;
                s.leftColumn = std::max(s.leftColumn, e.leftWidth + 1);
                s.itemHeight = std::max(s.itemHeight, e.leftHeight + kExtraHeight + 2);
            }
            if (e.rightWidth > 0) {
                s.rightColumn = std::max(s.rightColumn, e.rightWidth + 1);
                s.itemHeight = std::max(s.itemHeight, e.rightHeight + kExtraHeight + 2);
            }
            s.widestText = std::max(s.widestText, e.textWidth);
            s.itemHeight = std::max(s.itemHeight, e.textHeight + kExtraHeight + 2);
        }
        if (!anyLeft)
            s.leftColumn = std::max(s.leftColumn, kEmptyImageColumn);
        const int width = s.leftColumn + s.rightColumn + kRightInset + kLeftInset + kImageTextGap + s.widestText;
        const int height = items * (s.itemHeight + kRowSpacing) + separators * (kSeparatorHeight + kRowSpacing) +
                           kRowSpacing;
        s.columnWidth = std::max(s.columnWidth, width);
        s.menuHeight = std::max(s.menuHeight, height);
    }
}

Rect WorkArea(int screenWidth, int screenHeight, int edge, const Rect& bar)
{
    Rect w;
    w.right = screenWidth;
    w.bottom = screenHeight;
    switch (edge) {
    case EdgeLeft:
        w.left = bar.right;
        break;
    case EdgeTop:
        w.top = bar.bottom;
        break;
    case EdgeRight:
        w.right = bar.left;
        break;
    case EdgeBottom:
        w.bottom = bar.top;
        break;
    default:
        break;
    }
    return w;
}

Point PlaceTopLevel(uint32_t flags, int x, int y, int width, int height, const Rect& work)
{
    if (flags & kCentreAlign)
        x -= width / 2;
    else if (flags & kRightAlign)
        x -= width;
    if (flags & kVCentreAlign)
        y -= height / 2;
    else if (flags & kBottomAlign)
        y -= height;
    const bool clamp = (flags & kClampMask) != 0;
    const int requestedX = x, requestedY = y;
    Point p{x, y};
    if (p.x < work.left)
        p.x = clamp ? work.left : requestedX;
    if (p.x + width > work.right) {
        p.x = clamp ? work.right - width : std::max(requestedX - width, work.left);
    }
    if (p.y < work.top)
        p.y = clamp ? work.top : requestedY;
    if (p.y + height > work.bottom) {
        p.y = clamp ? work.bottom - height : std::max(requestedY - height, work.top);
    }
    return p;
}

Point PlaceSubMenu(int x, int y, int width, int height, const Rect& work, bool parentExists, int parentLeft,
                   int rightFrame)
{
    Point p{x, y};
    if (x + width > work.right && parentExists)
        p.x = parentLeft - width + rightFrame;
    if (y + height > work.bottom)
        p.y = work.bottom - height;
    return p;
}

namespace {

// The entries in reading order (column by column); the index of a place.
struct Order
{
    std::vector<Hot> places;
    std::vector<bool> separator;
    explicit Order(const std::vector<std::vector<bool>>& cols)
    {
        for (size_t c = 0; c < cols.size(); ++c)
            for (size_t r = 0; r < cols[c].size(); ++r) {
                places.push_back(Hot{static_cast<int>(c), static_cast<int>(r)});
                separator.push_back(cols[c][r]);
            }
    }
    int IndexOf(Hot h) const
    {
        for (size_t i = 0; i < places.size(); ++i)
            if (places[i].column == h.column && places[i].row == h.row)
                return static_cast<int>(i);
        return -1;
    }
    // From index start (exclusive), stepping by step (+1 or -1) with wrap;
    // at most one full round. none when every entry is a separator.
    Hot Step(int start, int step) const
    {
        const int n = static_cast<int>(places.size());
        if (n == 0)
            return Hot();
        int i = start;
        for (int k = 0; k < n; ++k) {
            i = ((i + step) % n + n) % n;
            if (!separator[i])
                return places[i];
        }
        return Hot();
    }
};

}  // namespace

Hot MoveUp(const std::vector<std::vector<bool>>& cols, Hot from)
{
    const Order o(cols);
    const int i = o.IndexOf(from);
    const Hot h = o.Step(i < 0 ? 0 : i, -1);
    return (h.row < 0 && i >= 0) ? from : h;
}

Hot MoveDown(const std::vector<std::vector<bool>>& cols, Hot from)
{
    const Order o(cols);
    const int i = o.IndexOf(from);
    const Hot h = o.Step(i < 0 ? -1 : i, +1);
    return (h.row < 0 && i >= 0) ? from : h;
}

Hot MoveHome(const std::vector<std::vector<bool>>& cols)
{
    const Order o(cols);
    return o.Step(-1, +1);
}

Hot MoveEnd(const std::vector<std::vector<bool>>& cols)
{
    const Order o(cols);
    return o.Step(0, -1);
}

int DigitRow(const std::vector<bool>& column, char digit)
{
    if (digit < '0' || digit > '9')
        return -1;
    const int ordinal = digit == '0' ? 11 : digit - '0';  // "0" is the eleventh
    int seen = 0;
    for (size_t r = 0; r < column.size(); ++r)
        if (!column[r] && ++seen == ordinal)
            return static_cast<int>(r);
    return -1;
}

}  // namespace odmenu
