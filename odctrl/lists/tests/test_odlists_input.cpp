// The list's mouse, keyboard and scroll rules without a window: the click
// table with Shift and Ctrl, keyboard navigation (band row, paging, tree,
// focus cell), what starts an edit, the scroll arithmetic, the wheel's
// message count held to a page, and the sort direction of header clicks.
#include <gtest/gtest.h>

#include <set>

#include "ODListInput.h"

namespace {

using namespace odlist;

// Three columns of 100; a 300 x 120 client with a 20-pixel header: the
// content is 100 high, ten rows of 10. Twenty-five rows.
class InputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < 3; ++i) {
            ColumnInfo c;
            c.width = 100;
            model.InsertColumn(i, c);
            model.ShowColumn(i, i);
        }
        for (int i = 0; i < 25; ++i)
            model.InsertItem("row");
        geometry.Layout(300, 120, 20);
    }
    std::set<int> Selected()
    {
        const std::vector<int> rows = model.GetSelectedRows();
        return std::set<int>(rows.begin(), rows.end());
    }
    KeyOutcome Key(int key, bool ctrl = false, bool shift = false)
    {
        return ApplyKeyDown(model, geometry, state, key, ctrl, shift);
    }
    int Focus() { return model.GetFocusRow(); }

    ListModel model;
    ListGeometry geometry{model};
    InputState state;
};

TEST_F(InputTest, ClicksWithShiftAndCtrl)
{
    struct Step
    {
        const char* what;
        int row;
        bool ctrl, shift;
        std::set<int> selected;
        int anchor;
    };
    const Step steps[] = {
        {"a click selects the row alone", 3, false, false, {3}, 3},
        {"Shift selects from the anchor", 6, false, true, {3, 4, 5, 6}, 3},
        {"Shift back above the anchor drops the others", 1, false, true, {1, 2, 3}, 3},
        {"Ctrl adds a row", 8, true, false, {1, 2, 3, 8}, 8},
        {"Ctrl on it again takes it out", 8, true, false, {1, 2, 3}, 8},
        {"Ctrl+Shift adds the range from the anchor", 10, true, true, {1, 2, 3, 8, 9, 10}, 10},
        {"a click on no row clears the selection", -2, false, false, {}, 10},
    };
    for (const Step& s : steps) {
        EXPECT_FALSE(ApplyLeftClick(model, state, s.row, 0, s.ctrl, s.shift)) << s.what;
        EXPECT_EQ(Selected(), s.selected) << s.what;
        EXPECT_EQ(state.anchor, s.anchor) << s.what;
        if (s.row >= 0) {
            EXPECT_EQ(Focus(), s.row) << s.what;
        }
    }
}

TEST_F(InputTest, ClickingTheFocusedCellStartsAnEdit)
{
    EXPECT_FALSE(ApplyLeftClick(model, state, 2, 1, false, false)) << "without cell focus no cell is focused";
    EXPECT_FALSE(ApplyLeftClick(model, state, 2, 1, false, false)) << "... so a second click edits nothing";
    model.SetStyleWord(kStyleCellFocus);
    EXPECT_FALSE(ApplyLeftClick(model, state, 2, 1, false, false)) << "the first click focuses the cell";
    EXPECT_TRUE(ApplyLeftClick(model, state, 2, 1, false, false)) << "the second click on it edits";
    EXPECT_FALSE(ApplyLeftClick(model, state, 2, 2, false, false)) << "another cell only moves the focus";
    int row = -2, column = -1;
    model.GetFocusCell(&row, &column);
    EXPECT_EQ(column, 2);
    EXPECT_FALSE(ApplyLeftClick(model, state, 2, 2, true, false)) << "Ctrl never edits";
    // A column that never takes the focus.
    ColumnInfo c = *model.GetColumn(0);
    c.flags |= kColumnNoFocus;
    model.SetColumn(0, c);
    EXPECT_FALSE(ApplyLeftClick(model, state, 4, 0, false, false));
    EXPECT_FALSE(ApplyLeftClick(model, state, 4, 0, false, false)) << "no focus cell in that column, no edit";
}

TEST_F(InputTest, RightClickSelectsAnUnselectedRowAlone)
{
    ApplyLeftClick(model, state, 2, 0, false, false);
    ApplyLeftClick(model, state, 4, 0, false, true);
    ApplyRightClick(model, state, 3, false, false);
    EXPECT_EQ(Selected(), (std::set<int>{2, 3, 4})) << "a selected row keeps the selection";
    ApplyRightClick(model, state, 7, true, false);
    EXPECT_EQ(Selected(), (std::set<int>{2, 3, 4})) << "not with Ctrl";
    ApplyRightClick(model, state, 7, false, false);
    EXPECT_EQ(Selected(), (std::set<int>{7}));
}

TEST_F(InputTest, KeyboardNavigation)
{
    struct Step
    {
        const char* what;
        int key;
        bool ctrl, shift;
        int focus;
        std::set<int> selected;
    };
    const Step steps[] = {
        {"Down from no focus reaches row 0", kKeyDown, false, false, 0, {0}},
        {"Up at row 0 without band does nothing", kKeyUp, false, false, 0, {0}},
        {"Down", kKeyDown, false, false, 1, {1}},
        {"Shift+Down selects from the anchor", kKeyDown, false, true, 2, {1, 2}},
        {"Shift+Down again", kKeyDown, false, true, 3, {1, 2, 3}},
        {"Ctrl+Down moves the focus only", kKeyDown, true, false, 4, {1, 2, 3}},
        {"Ctrl+Space toggles the focus row", kKeySpace, true, false, 4, {1, 2, 3, 4}},
        {"Ctrl+Space again", kKeySpace, true, false, 4, {1, 2, 3}},
        {"Space selects it keeping the others", kKeySpace, false, false, 4, {1, 2, 3, 4}},
        {"Up selects the row alone", kKeyUp, false, false, 3, {3}},
        {"End goes to the last row", kKeyEnd, false, false, 24, {24}},
        {"Down at the last row does nothing", kKeyDown, false, false, 24, {24}},
        {"Shift+Home selects up to the anchor", kKeyHome, false, true, 0, {}},
        {"Home at row 0 leaves it", kKeyHome, false, false, 0, {}},
    };
    for (const Step& s : steps) {
        Key(s.key, s.ctrl, s.shift);
        EXPECT_EQ(Focus(), s.focus) << s.what;
        if (!s.selected.empty()) {
            EXPECT_EQ(Selected(), s.selected) << s.what;
        }
    }
    std::set<int> all;
    for (int i = 0; i <= 24; ++i)
        all.insert(i);
    EXPECT_EQ(Selected(), all) << "Shift+Home from the end selected every row";
    EXPECT_EQ(geometry.GetTopIndex(), 0) << "Home scrolled to the top";
}

TEST_F(InputTest, PagingMovesToTheEdgeFirstThenScrolls)
{
    Key(kKeyDown);
    ASSERT_EQ(Focus(), 0);
    Key(kKeyNext);
    EXPECT_EQ(Focus(), 9) << "the last fully visible row";
    EXPECT_EQ(geometry.GetTopIndex(), 0);
    Key(kKeyNext);
    EXPECT_EQ(geometry.GetTopIndex(), 10) << "already there: a page down";
    EXPECT_EQ(Focus(), 19);
    Key(kKeyPrior);
    EXPECT_EQ(Focus(), 10) << "the first visible row";
    Key(kKeyPrior);
    EXPECT_EQ(geometry.GetTopIndex(), 0);
    EXPECT_EQ(Focus(), 0);
}

TEST_F(InputTest, TheBandRow)
{
    model.SetStyleWord(kStyleBand);
    geometry.Layout(300, 120, 20);
    Key(kKeyDown);
    EXPECT_EQ(Focus(), -1) << "from no focus the first Down reaches the band row";
    Key(kKeyDown);
    EXPECT_EQ(Focus(), 0);
    Key(kKeyUp);
    EXPECT_EQ(Focus(), -1) << "Up from row 0 with a band";
    Key(kKeyUp);
    EXPECT_EQ(Focus(), -1);
}

TEST_F(InputTest, TreeKeys)
{
    ListModel tree;
    ListGeometry g{tree};
    ColumnInfo c;
    tree.InsertColumn(0, c);
    tree.ShowColumn(0, 0);
    tree.SetStyleWord(kStyleTree);
    ODLVITEM d = {};
    d.mask = kMaskText;
    d.text = const_cast<char*>("a");
    const NodeHandle a = tree.InsertTreeItem(&d, kTreeRoot, kInsertLast, 0);
    const NodeHandle b = tree.InsertTreeItem(&d, kTreeRoot, kInsertLast, 0);
    const NodeHandle child = tree.InsertTreeItem(&d, a, kInsertLast, 0);
    g.Layout(200, 120, 20);
    InputState s;
    auto key = [&](int k) { ApplyKeyDown(tree, g, s, k, false, false); };
    tree.SelectRange(0, 0, true, false, false, false);
    key(kKeyRight);
    EXPECT_EQ(tree.GetDisplayCount(), 3) << "Right expands a collapsed node";
    EXPECT_EQ(tree.GetFocusRow(), 0);
    key(kKeyRight);
    EXPECT_EQ(tree.GetFocusRow(), tree.ItemToDisplay(tree.GetNodeData(child))) << "then moves to its first child";
    key(kKeyLeft);
    EXPECT_EQ(tree.GetFocusRow(), 0) << "Left on a child goes to the parent";
    key(kKeyLeft);
    EXPECT_EQ(tree.GetDisplayCount(), 2) << "Left collapses an expanded node";
    key(kKeyLeft);
    EXPECT_EQ(tree.GetFocusRow(), 0) << "Left on a collapsed top-level node without band does nothing";
    EXPECT_EQ(tree.GetDisplayCount(), 2);
    (void)b;
}

TEST_F(InputTest, FocusCellMovesOverFocusableColumns)
{
    model.SetStyleWord(kStyleCellFocus);
    ColumnInfo c = *model.GetColumn(1);
    c.flags |= kColumnNoFocus;
    model.SetColumn(1, c);
    model.SetFocusCell(3, 0);
    int row = -2, column = -1;
    Key(kKeyRight);
    model.GetFocusCell(&row, &column);
    EXPECT_EQ(column, 2) << "skips the column that takes no focus";
    Key(kKeyRight);
    model.GetFocusCell(&row, &column);
    EXPECT_EQ(column, 2) << "Right at the last column keeps it";
    Key(kKeyLeft);
    model.GetFocusCell(&row, &column);
    EXPECT_EQ(column, 0);
    Key(kKeyLeft);
    model.GetFocusCell(&row, &column);
    EXPECT_EQ(column, -1) << "Left from the first column: the whole row";
    EXPECT_EQ(row, 3);
}

TEST_F(InputTest, LeftAndRightScrollWithoutCellFocus)
{
    ColumnInfo c = *model.GetColumn(0);
    c.width = 500;
    model.SetColumn(0, c);
    geometry.Layout(300, 120, 20);
    ASSERT_EQ(model.GetTotalWidth(), 700) << "a width given through SetColumn counts in the total";
    Key(kKeyRight);
    EXPECT_EQ(geometry.GetHorzPos(), 300 / 8);
    Key(kKeyLeft);
    Key(kKeyLeft);
    EXPECT_EQ(geometry.GetHorzPos(), 0) << "not below 0";
}

TEST_F(InputTest, TypingStartsAnEditOnlyOnAFocusCell)
{
    Key('A');
    EXPECT_TRUE(state.typingStartsEdit);
    EXPECT_FALSE(CharStartsEdit(model, state)) << "no focus cell";
    model.SetStyleWord(kStyleCellFocus);
    model.SetFocusCell(2, 1);
    EXPECT_TRUE(CharStartsEdit(model, state));
    Key('A', true);
    EXPECT_FALSE(CharStartsEdit(model, state)) << "Ctrl+letter starts no edit";
    Key('A');
    Key(kKeyDown);
    EXPECT_FALSE(state.typingStartsEdit) << "a navigation key clears the flag";
}

TEST_F(InputTest, VerticalScrollCodes)
{
    struct Case
    {
        const char* what;
        int top, code, expected;
    };
    const Case cases[] = {
        {"line up at the top stays", 0, kScrollLineUp, 0},
        {"line up", 5, kScrollLineUp, 4},
        {"line down", 5, kScrollLineDown, 6},
        {"line down with the last row shown stays", 15, kScrollLineDown, 15},
        {"page up a whole page", 12, kScrollPageUp, 2},
        {"page up not below 0", 4, kScrollPageUp, 0},
        {"page down", 3, kScrollPageDown, 13},
        {"top", 9, kScrollTop, 0},
        {"bottom shows the last row at the bottom", 0, kScrollBottom, 15},
        {"thumb", 0, kScrollThumbTrack, 7},
        {"an unknown code keeps it", 6, 99, 6},
    };
    for (const Case& k : cases) {
        geometry.SetTopIndex(k.top);
        ASSERT_EQ(geometry.GetTopIndex(), k.top) << k.what;
        EXPECT_EQ(VScrollTarget(model, geometry, k.code, 7), k.expected) << k.what;
    }
}

TEST_F(InputTest, WheelPostsHeldToAPage)
{
    struct Case
    {
        const char* what;
        int delta, lines, perPage;
        int code, count;
    };
    const Case cases[] = {
        {"a notch up with 3 lines: three line-ups", 120, 3, 10, kScrollLineUp, 3},
        {"two notches down", -240, 3, 10, kScrollLineDown, 6},
        {"a huge setting is held to a page", 120, 1000000, 12, kScrollLineUp, 12},
        {"a huge setting and a huge delta", 32767, 2147483647, 12, kScrollLineUp, 12},
        {"page scrolling: a page a notch", 120, -1, 10, kScrollPageUp, 1},
        {"page scrolling down three notches", -360, -1, 10, kScrollPageDown, 3},
        {"less than a line", 20, 3, 10, kScrollLineDown, 0},
        {"no room still allows one line", 120, 3, 0, kScrollLineUp, 1},
    };
    for (const Case& k : cases) {
        const WheelPlan p = PlanWheel(k.delta, k.lines, k.perPage);
        EXPECT_EQ(p.count, k.count) << k.what;
        if (k.count) {
            EXPECT_EQ(p.code, k.code) << k.what;
        }
    }
}

TEST_F(InputTest, HeaderClicksSortAscendingThenDescending)
{
    EXPECT_EQ(NextSortDirection(-1, 0, 2), 1) << "no sort column yet";
    EXPECT_EQ(NextSortDirection(2, 1, 2), 0) << "the sort column again: descending";
    EXPECT_EQ(NextSortDirection(2, 0, 2), 1) << "and back";
    EXPECT_EQ(NextSortDirection(1, 0, 2), 1) << "another column starts ascending";
}

}  // namespace
