// The list's geometry without a window: row heights, the scroll ranges and
// the header's placement, bringing a row into view, cell rectangles and the
// hit-test flags.
#include <gtest/gtest.h>

#include "ODListGeometry.h"

namespace {

using namespace odlist;

// Columns of 100, 80 and 60 shown in that order; a client of 200 x 100 with
// a 20-pixel header: the content is (0, 20)-(200, 100), eight rows of 10.
// Images are 8 x 8, the padding 6: a cell with both images has its image at
// 6..14, its state image at 20..28 and its text from 34 to 6 before the edge.
class GeometryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const int widths[] = {100, 80, 60};
        for (int i = 0; i < 3; ++i) {
            ColumnInfo c;
            c.width = widths[i];
            model.InsertColumn(i, c);
            model.ShowColumn(i, i);
        }
        geometry.SetImageSize(8, 8);
        geometry.SetStateImageSize(8, 8);
    }
    void AddRows(int n)
    {
        for (int i = 0; i < n; ++i) {
            const int item = model.InsertItem("x", 0, 0);
            model.SetItemText(item, 1, "y");
        }
        geometry.Layout(200, 100, 20);
    }

    ListModel model;
    ListGeometry geometry{model};
};

TEST_F(GeometryTest, RowHeightRaisedByImagesAndNeverBelowOne)
{
    struct Case {
        const char* what;
        int set;
        int imageHeight, stateHeight;
        int result;
    };
    const Case cases[] = {
        {"the default", 10, 0, 0, 10},
        {"zero", 0, 0, 0, 1},
        {"negative", -7, 0, 0, 1},
        {"a 16-pixel state image raises 10 to 17", 10, 0, 16, 17},
        {"a small image leaves it", 10, 4, 0, 10},
        {"a 20-pixel image", 10, 20, 0, 21},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ListGeometry g(model);
        g.SetRowHeight(c.set);
        if (c.imageHeight)
            g.SetImageSize(16, c.imageHeight);
        if (c.stateHeight)
            g.SetStateImageSize(16, c.stateHeight);
        EXPECT_EQ(g.GetRowHeight(), c.result);
    }
}

TEST_F(GeometryTest, HorizontalRangeAndHeaderWidth)
{
    AddRows(3);
    struct Case {
        const char* what;
        int width;
        int max;
        bool shown;
        int headerWidth;
    };
    const Case cases[] = {
        {"narrower than the columns: range total - 1, a wider header", 200, 239, true, 240},
        {"wider than the columns: no range, the header as wide as the list", 300, 0, false, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        geometry.Layout(c.width, 100, 20);
        const BarInfo bar = geometry.HorzBar();
        EXPECT_EQ(bar.max, c.max);
        EXPECT_EQ(bar.page, c.width);
        EXPECT_EQ(bar.shown, c.shown);
        int x = -1, width = 0;
        geometry.HeaderPlacement(&x, &width);
        EXPECT_EQ(width, c.headerWidth);
    }
    geometry.Layout(200, 100, 20);
    geometry.SetHorzPos(500);
    EXPECT_EQ(geometry.GetHorzPos(), 40) << "held at total - page";
    int x = 0;
    geometry.HeaderPlacement(&x, nullptr);
    EXPECT_EQ(x, -40);
    geometry.EnsureColumnVisible(0);
    EXPECT_EQ(geometry.GetHorzPos(), 0);
    geometry.EnsureColumnVisible(2);
    EXPECT_EQ(geometry.GetHorzPos(), 40);
}

TEST_F(GeometryTest, EnsureVisible)
{
    AddRows(20);
    EXPECT_EQ(geometry.GetCountPerPage(), 8);
    const BarInfo bar = geometry.VertBar();
    EXPECT_EQ(bar.max, 19);
    EXPECT_EQ(bar.page, 8);
    struct Case {
        const char* what;
        int top, item;
        int newTop;
    };
    const Case cases[] = {
        {"visible: nothing moves", 0, 5, 0},
        {"below: it becomes the last visible row", 0, 15, 8},
        {"the last row", 0, 19, 12},
        {"above: it becomes the top row", 10, 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        geometry.SetTopIndex(c.top);
        EXPECT_EQ(geometry.EnsureVisible(c.item, false), 1);
        EXPECT_EQ(geometry.GetTopIndex(), c.newTop);
        EXPECT_TRUE(geometry.IsItemVisible(c.item));
    }
    EXPECT_EQ(geometry.EnsureVisible(20, false), 0) << "not shown";
    geometry.SetTopIndex(0);
    EXPECT_EQ(geometry.PageDown(), 8);
    EXPECT_EQ(geometry.PageUp(), 0);
}

TEST_F(GeometryTest, ExtraHeightOnlyWithOption9)
{
    AddRows(10);
    ODLVITEM d = {};
    d.mask = kMaskExtraHeight;
    d.item = 1;
    d.extraHeight = 25;
    model.SetItem(&d);
    struct Case {
        const char* what;
        int option;
        int perPage;
        uint32_t flagsAt42;
        int itemAt42;
    };
    const Case cases[] = {
        {"on: row 1 spans 30..65, its extra part below 40", 1, 6, kHitExtra, 1},
        {"off: the extra height is ignored", 0, 8, kHitText, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        model.SetOption(9, c.option);
        EXPECT_EQ(geometry.GetCountPerPage(), c.perPage);
        ODHitTestInfo info = {};
        info.x = 50;
        info.y = 42;
        EXPECT_EQ(geometry.HitTest(&info), c.itemAt42);
        EXPECT_EQ(info.flags, c.flagsAt42);
    }
}

TEST_F(GeometryTest, RowShiftBetweenTopRows)
{
    AddRows(30);
    ODLVITEM d = {};
    d.mask = kMaskExtraHeight;
    d.item = 4;
    d.extraHeight = 5;
    model.SetItem(&d);
    struct Case {
        const char* what;
        int option9;
        int from, to, limit;
        int shift;
    };
    const Case cases[] = {
        {"one row down", 0, 3, 4, 80, 10},
        {"three rows up", 0, 6, 3, 80, -30},
        {"over a row with extra height", 1, 3, 6, 80, 35},
        {"back over it", 1, 6, 3, 80, -35},
        {"its extra height ignored without option 9", 0, 3, 6, 80, 30},
        {"nothing moves", 0, 5, 5, 80, 0},
        {"a whole view or more: nothing stays", 0, 0, 8, 80, 0},
        {"just under a view", 0, 0, 7, 80, 70},
        {"a row past the end", 0, 25, 30, 80, 0},
        {"a negative row", 0, -1, 2, 80, 0},
        {"no room", 0, 1, 2, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        model.SetOption(9, c.option9);
        EXPECT_EQ(geometry.RowShift(c.from, c.to, c.limit), c.shift);
    }
}

TEST_F(GeometryTest, CellParts)
{
    AddRows(2);
    struct Case {
        const char* what;
        int item, column, part;
        int result;
        Rect rect;
    };
    const Case cases[] = {
        {"the cell", 0, 0, kPartCell, 1, {0, 20, 100, 30}},
        {"its image", 0, 0, kPartImage, 1, {6, 20, 14, 30}},
        {"its state image", 0, 0, kPartStateImage, 1, {20, 20, 28, 30}},
        {"its text", 0, 0, kPartText, 1, {34, 20, 94, 30}},
        {"the text to the end of the columns", 0, 0, kPartTextToEnd, 1, {34, 20, 234, 30}},
        {"no image in column 1", 1, 1, kPartImage, 0, {}},
        {"text in column 1 from the padding", 1, 1, kPartText, 1, {106, 30, 174, 40}},
        {"a hidden column", 0, 5, kPartCell, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Rect r;
        EXPECT_EQ(geometry.GetCellRect(c.item, c.column, &r, c.part), c.result);
        if (c.result) {
            EXPECT_TRUE(r == c.rect) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
        }
    }
}

TEST_F(GeometryTest, HitTestFlags)
{
    AddRows(5);  // rows at 20..70
    struct Case {
        const char* what;
        int x, y;
        int result;
        uint32_t flags;
        int column;
    };
    const Case cases[] = {
        {"image", 10, 25, 0, kHitImage, 0},
        {"state image", 24, 25, 0, kHitStateImage, 0},
        {"text", 50, 35, 1, kHitText, 0},
        {"the padding at the cell's right", 97, 25, 0, kHitNowhere, 0},
        {"text of the second column", 150, 25, 0, kHitText, 1},
        {"below the last row, inside the content", 10, 80, -2, kHitNowhere, -1},
        {"above the content", 10, 10, -2, kHitAbove, -1},
        {"below the client", 10, 105, -2, kHitBelow, -1},
        {"left", -5, 50, -2, kHitLeft, -1},
        {"right", 205, 50, -2, kHitRight, -1},
        {"above and left", -5, 10, -2, kHitAbove | kHitLeft, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ODHitTestInfo info = {};
        info.x = c.x;
        info.y = c.y;
        EXPECT_EQ(geometry.HitTest(&info), c.result);
        EXPECT_EQ(info.flags, c.flags);
        EXPECT_EQ(info.column, c.column);
        EXPECT_EQ(info.item, c.result);
    }
    // The band shows the pseudo-row below the header.
    model.SetStyleWord(kStyleBand);
    geometry.Layout(200, 100, 20);
    EXPECT_TRUE(geometry.BandRect() == Rect({0, 20, 200, 36}));
    EXPECT_EQ(geometry.ContentRect().top, 36);
    ODHitTestInfo info = {};
    info.x = 10;
    info.y = 25;
    EXPECT_EQ(geometry.HitTest(&info), -1);
    EXPECT_EQ(info.flags, uint32_t(kHitBand));
}

TEST_F(GeometryTest, TheExpanderOfATreeRow)
{
    model.SetStyleWord(kStyleTree);
    ODLVITEM d = {};
    d.mask = kMaskText;
    d.text = const_cast<char*>("parent");
    const NodeHandle parent = model.InsertTreeItem(&d, kTreeRoot, kInsertLast, -1);
    d.text = const_cast<char*>("child");
    const NodeHandle child = model.InsertTreeItem(&d, parent, kInsertLast, 1);
    model.Expand(parent, 1);
    geometry.Layout(200, 100, 20);
    struct Case {
        const char* what;
        int x, y;
        int result;
        uint32_t flags;
        int column;
    };
    // The parent (indent 1) has its expander at 0..10; the child (indent 2)
    // has none and stands for column 1 as a whole.
    const Case cases[] = {
        {"the parent's expander", 5, 25, 0, kHitExpander, 0},
        {"the parent's text after the indent", 40, 25, 0, kHitText, 0},
        {"the child's indent: no expander", 15, 35, 1, kHitNowhere, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ODHitTestInfo info = {};
        info.x = c.x;
        info.y = c.y;
        EXPECT_EQ(geometry.HitTest(&info), c.result);
        EXPECT_EQ(info.flags, c.flags);
        EXPECT_EQ(info.column, c.column);
    }
    ODHitTestInfo info = {};
    info.x = 150;
    info.y = 35;
    EXPECT_EQ(geometry.HitTest(&info), 1);
    EXPECT_EQ(info.node, child);
    EXPECT_EQ(info.position, 0);
    EXPECT_TRUE(info.rect == Rect({0, 30, 200, 40})) << "the whole row";
}

}  // namespace
