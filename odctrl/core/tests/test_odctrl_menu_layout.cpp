// The pop-up menu's arithmetic: the Measure table, the work area with the
// task bar on each edge, the placement table of top-level menus and
// sub-menus on a 1024 x 768 screen, and the keyboard moves over separators
// (a column of separators only, the digit "0").
#include <gtest/gtest.h>

#include "ODMenuLayout.h"

namespace {

using namespace odmenu;

EntrySize Text(int w, int h = 12)
{
    EntrySize e;
    e.textWidth = w;
    e.textHeight = h;
    return e;
}
EntrySize Separator()
{
    EntrySize e;
    e.separator = true;
    return e;
}

TEST(MenuLayout, MeasureTable)
{
    // Text only, two items and a separator: image column 8, item height
    // 12 + 2 + 2 = 16; width 8 + 0 + 2 + 2 + 8 + 60 = 80; height
    // 2 x (16 + 2) + (5 + 2) + 2 = 45.
    Sizes s;
    Measure({{Text(60), Separator(), Text(40)}}, s);
    EXPECT_EQ(s.leftColumn, 8);
    EXPECT_EQ(s.itemHeight, 16);
    EXPECT_EQ(s.columnWidth, 80);
    EXPECT_EQ(s.menuHeight, 45);

    // A 16 x 20 left image and a 7 x 7 right image: columns 17 and 8, item
    // height 20 + 2 + 2 = 24; width 17 + 8 + 2 + 2 + 8 + 50 = 87.
    EntrySize icon = Text(50);
    icon.leftWidth = 16;
    icon.leftHeight = 20;
    icon.rightWidth = 7;
    icon.rightHeight = 7;
    Sizes t;
    Measure({{icon}}, t);
    EXPECT_EQ(t.leftColumn, 17);
    EXPECT_EQ(t.rightColumn, 8);
    EXPECT_EQ(t.itemHeight, 24);
    EXPECT_EQ(t.columnWidth, 87);

    // A second column without images does not shrink the image column.
    Sizes u;
    Measure({{icon}, {Text(90), Text(10)}}, u);
    EXPECT_EQ(u.leftColumn, 17);
    EXPECT_EQ(u.widestText, 90);
    EXPECT_EQ(u.menuHeight, 2 * (24 + 2) + 2);
    // The widest text starts again; the rest only grows.
    Measure({{Text(5)}}, u);
    EXPECT_EQ(u.widestText, 5);
    EXPECT_EQ(u.itemHeight, 24);
    // A column of separators only keeps an image column of 8.
    Sizes v;
    Measure({{Separator(), Separator()}}, v);
    EXPECT_EQ(v.leftColumn, 8);
    EXPECT_EQ(v.menuHeight, 2 * 7 + 2);
}

TEST(MenuLayout, WorkAreaAvoidsTheTaskBar)
{
    struct Case
    {
        int edge;
        Rect bar;
        Rect work;
    };
    const Case cases[] = {
        {EdgeBottom, {0, 728, 1024, 768}, {0, 0, 1024, 728}},
        {EdgeTop, {0, 0, 1024, 30}, {0, 30, 1024, 768}},
        {EdgeLeft, {0, 0, 60, 768}, {60, 0, 1024, 768}},
        {EdgeRight, {964, 0, 1024, 768}, {0, 0, 964, 768}},
        {EdgeNone, {}, {0, 0, 1024, 768}},
    };
    for (const auto& c : cases) {
        const Rect w = WorkArea(1024, 768, c.edge, c.bar);
        EXPECT_EQ(w.left, c.work.left) << c.edge;
        EXPECT_EQ(w.top, c.work.top) << c.edge;
        EXPECT_EQ(w.right, c.work.right) << c.edge;
        EXPECT_EQ(w.bottom, c.work.bottom) << c.edge;
    }
}

TEST(MenuLayout, PlacementTable)
{
    const Rect work = WorkArea(1024, 768, EdgeBottom, Rect{0, 728, 1024, 768});
    struct Case
    {
        const char* what;
        uint32_t flags;
        int x, y;
        int px, py;
    };
    // Menu 100 x 200.
    const Case cases[] = {
        {"fits", 0, 100, 100, 100, 100},
        {"near the right edge opens to the left of the point", 0, 1000, 100, 900, 100},
        {"with 0x4000 it is pushed against the right edge", 0x4000, 1000, 100, 924, 100},
        {"near the task bar opens above the point", 0, 100, 700, 100, 500},
        {"with 0x8000 it sits on the task bar", 0x8000, 100, 700, 100, 528},
        {"centre-aligned", kCentreAlign, 300, 100, 250, 100},
        {"right- and bottom-aligned", kRightAlign | kBottomAlign, 300, 400, 200, 200},
        {"left of the screen without clamping keeps x", 0, -30, 100, -30, 100},
        {"left of the screen with clamping", 0x4000, -30, 100, 0, 100},
        {"too low and too far right at once", 0, 1000, 700, 900, 500},
    };
    for (const auto& c : cases) {
        const Point p = PlaceTopLevel(c.flags, c.x, c.y, 100, 200, work);
        EXPECT_EQ(p.x, c.px) << c.what;
        EXPECT_EQ(p.y, c.py) << c.what;
    }
    // A sub-menu that would leave the screen on the right opens on the
    // parent's left, overlapping by the right frame width.
    Point s = PlaceSubMenu(980, 100, 100, 200, work, true, 880, 3);
    EXPECT_EQ(s.x, 880 - 100 + 3);
    EXPECT_EQ(s.y, 100);
    s = PlaceSubMenu(500, 650, 100, 200, work, true, 400, 3);
    EXPECT_EQ(s.x, 500);
    EXPECT_EQ(s.y, 728 - 200) << "never over the task bar";
    s = PlaceSubMenu(980, 100, 100, 200, work, false, 880, 3);
    EXPECT_EQ(s.x, 980) << "without a parent window it stays";
}

TEST(MenuLayout, KeyboardMoves)
{
    // Column 0: item, separator, item; column 1: item, separator.
    const std::vector<std::vector<bool>> cols = {{false, true, false}, {false, true}};
    struct Case
    {
        const char* what;
        char key;  // 'u' up, 'd' down
        Hot from, to;
    };
    const Case cases[] = {
        {"down skips the separator", 'd', {0, 0}, {0, 2}},
        {"down from the last row goes to the next column", 'd', {0, 2}, {1, 0}},
        {"down after the last column wraps to the first", 'd', {1, 0}, {0, 0}},
        {"up skips the separator", 'u', {0, 2}, {0, 0}},
        {"up from the first row goes to the previous column's last entry", 'u', {1, 0}, {0, 2}},
        {"up from the first entry wraps to the last column", 'u', {0, 0}, {1, 0}},
        {"down with nothing hot takes the first entry", 'd', {-1, -1}, {0, 0}},
    };
    for (const auto& c : cases) {
        const Hot h = c.key == 'd' ? MoveDown(cols, c.from) : MoveUp(cols, c.from);
        EXPECT_EQ(h.column, c.to.column) << c.what;
        EXPECT_EQ(h.row, c.to.row) << c.what;
    }
    EXPECT_EQ(MoveHome(cols).row, 0);
    const Hot end = MoveEnd(cols);
    EXPECT_EQ(end.column, 1);
    EXPECT_EQ(end.row, 0) << "the last non-separator";

    // Only separators: every move ends without an entry, and terminates.
    const std::vector<std::vector<bool>> empty = {{true, true}, {true}};
    EXPECT_EQ(MoveDown(empty, Hot()).row, -1);
    EXPECT_EQ(MoveUp(empty, Hot()).row, -1);
    EXPECT_EQ(MoveHome(empty).row, -1);
    EXPECT_EQ(MoveEnd(empty).row, -1);
    EXPECT_EQ(MoveDown({}, Hot()).row, -1);
}

TEST(MenuLayout, Digits)
{
    // Ten entries with a separator after the third.
    std::vector<bool> column(11, false);
    column[3] = true;
    EXPECT_EQ(DigitRow(column, '1'), 0);
    EXPECT_EQ(DigitRow(column, '4'), 4) << "the separator is not counted";
    EXPECT_EQ(DigitRow(column, '9'), 9);
    EXPECT_EQ(DigitRow(column, '0'), -1) << "'0' is the eleventh entry, and there are ten";
    column.push_back(false);
    EXPECT_EQ(DigitRow(column, '0'), 11);
    EXPECT_EQ(DigitRow(column, 'a'), -1);
}

}  // namespace
