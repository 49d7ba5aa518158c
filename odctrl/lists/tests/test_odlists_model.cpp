// The list's data model without a window: cells and descriptors, inserting
// and deleting rows, the virtual cache, notifications and their mask, the
// columns with their limits, margin and saved state, comparing, sorting,
// finding and exporting rows, the selection with its vetoes, the focus and
// the tree.
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "ODListModel.h"

namespace {

using namespace odlist;

// The parent: logs what it is told, vetoes the selection changes of the
// items in `veto`, and fills virtual rows as "r<row>c<column>".
class Host : public ListHost
{
public:
    struct Entry
    {
        int code, item, column;
        uint32_t value, value2;
    };
    std::vector<Entry> log;
    std::set<int> veto;
    int fills = 0;

    intptr_t Notify(Notification& n) override
    {
        log.push_back({n.code, n.item, n.column, n.value, n.value2});
        if (n.code == kNotifySelChanging && veto.count(n.item))
            return 1;
        if (n.code == kNotifyVirtualFill && n.descriptor) {
            ++fills;
            ODLVITEM& d = *n.descriptor;
            if ((d.mask & kMaskText) && d.text)
                snprintf(d.text, size_t(d.textMax), "r%dc%d", d.item, d.subItem);
            d.mask |= kMaskImage;
            d.image = d.item % 7;
        }
        return 0;
    }
    int Count(int code) const
    {
        return int(std::count_if(log.begin(), log.end(), [code](const Entry& e) { return e.code == code; }));
    }
    std::vector<int> Items(int code) const
    {
        std::vector<int> items;
        for (const Entry& e : log)
            if (e.code == code)
                items.push_back(e.item);
        return items;
    }
};

ColumnInfo Column(const char* text, int width = 100, int minWidth = 0, int maxWidth = 0)
{
    ColumnInfo c;
    c.flags = kColumnHasText;
    c.text = text;
    c.width = width;
    c.minWidth = minWidth;
    c.maxWidth = maxWidth;
    return c;
}

// A list of `columns` shown columns (named A, B, ...) and the given rows,
// each row's texts split at ",".
class ModelTest : public ::testing::Test
{
protected:
    void SetUp() override { model.SetHost(&host); }
    void TearDown() override { EXPECT_EQ(model.CheckInvariants(), ""); }

    void MakeColumns(int columns)
    {
        for (int i = 0; i < columns; ++i) {
            const char name[2] = {char('A' + i), 0};
            ASSERT_EQ(model.InsertColumn(i, Column(name)), i);
            model.ShowColumn(i, i);
        }
    }
    void AddRows(const std::vector<std::string>& rows)
    {
        for (const std::string& row : rows) {
            const int item = model.InsertItem(static_cast<const char*>(nullptr));
            ASSERT_GE(item, 0);
            size_t start = 0;
            for (int column = 0; start <= row.size(); ++column) {
                size_t end = row.find(',', start);
                if (end == std::string::npos)
                    end = row.size();
                model.SetItemText(item, column, row.substr(start, end - start).c_str());
                start = end + 1;
            }
        }
    }
    std::vector<std::string> DisplayedTexts(int column = 0)
    {
        std::vector<std::string> texts;
        for (int row = 0; row < model.GetDisplayCount(); ++row)
            texts.push_back(model.GetItemText(model.DisplayToItem(row), column));
        return texts;
    }

    Host host;
    ListModel model;
};

// ---- Cells and descriptors -----------------------------------------------------------------

TEST_F(ModelTest, CellTextsKeepTheSeparatorAndSurviveItsChange)
{
    MakeColumns(3);
    model.InsertItem("a|b");
    model.SetItemText(0, 1, "x|y|z");
    model.SetItemText(0, 2, "(1,2,3,4,5)|");
    ASSERT_EQ(model.SetOption(8, ';'), 1);
    EXPECT_EQ(ListModel::UnwrittenField(), "(-1,-1,-1,-1,-1);");
    model.SetItemText(0, 2, "after;change");
    EXPECT_EQ(model.GetItemText(0, 0), "a|b");
    EXPECT_EQ(model.GetItemText(0, 1), "x|y|z");
    EXPECT_EQ(model.GetItemText(0, 2), "after;change");
    model.SetOption(8, '|');
    EXPECT_EQ(model.GetItemText(0, 2), "after;change");
    EXPECT_EQ(model.SetOption(8, 0), 0) << "no separator at all is refused";
}

TEST_F(ModelTest, DescriptorMaskSemantics)
{
    MakeColumns(2);
    model.InsertItem("text", 3, -1, 9);
    model.SetItemImage(0, 1, 0);
    struct Case {
        const char* what;
        int item, column;
        uint32_t asked;
        uint32_t mask;  // what GetItem reports
        const char* text;
    };
    const Case cases[] = {
        {"text, image and value2 written", 0, 0, kMaskText, kMaskText | kMaskImage | kMaskValue2 | kMaskState | kMaskData,
         "text"},
        {"no text asked: no text bit", 0, 0, kMaskImage, kMaskImage | kMaskValue2 | kMaskState | kMaskData, ""},
        {"image 0 without text", 0, 1, kMaskText, kMaskImage | kMaskState | kMaskData, ""},
        {"the pseudo-row's unwritten cell", -1, 0, kMaskText, kMaskState | kMaskData, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        char buffer[32] = "";
        ODLVITEM d = {};
        d.mask = c.asked;
        d.item = c.item;
        d.subItem = c.column;
        d.text = buffer;
        d.textMax = sizeof buffer;
        ASSERT_EQ(model.GetItem(&d), 1);
        EXPECT_EQ(d.mask, c.mask);
        EXPECT_STREQ(buffer, c.text);
    }
    // The row's own values: value1, extraHeight, indent only when set.
    ODLVITEM w = {};
    w.mask = kMaskValue1 | kMaskExtraHeight | kMaskIndent | kMaskData;
    w.item = 0;
    w.value1 = 4;
    w.extraHeight = 5;
    w.indent = 0;
    w.data = 77;
    ASSERT_EQ(model.SetItem(&w), 1);
    ODLVITEM d = {};
    d.item = 0;
    ASSERT_EQ(model.GetItem(&d), 1);
    EXPECT_EQ(d.mask & (kMaskValue1 | kMaskExtraHeight | kMaskIndent), uint32_t(kMaskValue1 | kMaskExtraHeight | kMaskIndent));
    EXPECT_EQ(d.value1, 4);
    EXPECT_EQ(d.data, 77u);
    EXPECT_EQ(model.GetItemText(0, 0), "text") << "writing other values keeps the text";
}

TEST_F(ModelTest, LongTextsAreCutWhole)
{
    MakeColumns(1);
    // 254 ASCII bytes and a two-byte character: 256 bytes, cut before the
    // character so it is not split.
    std::string text(254, 'a');
    text += "\xd6\xd0";
    model.InsertItem(text.c_str());
    EXPECT_EQ(model.GetItemText(0, 0), std::string(254, 'a'));
    model.SetItemText(0, 0, std::string(300, 'b').c_str());
    EXPECT_EQ(model.GetItemText(0, 0).size(), 255u);
    char small[5];
    EXPECT_EQ(model.GetItemText(0, 0, small, sizeof small), 4) << "a reader's buffer gets size - 1";
    EXPECT_STREQ(small, "bbbb");
    char none[1] = {'x'};
    EXPECT_EQ(model.GetItemText(0, 0, none, 0), 0) << "a buffer of no size is left alone";
    EXPECT_EQ(none[0], 'x');
}

TEST_F(ModelTest, InsertingPastTheEndGivesEveryRowItsDisplayRow)
{
    MakeColumns(2);
    AddRows({"a", "b"});
    EXPECT_EQ(model.InsertItemEx(5, "f"), 5);
    EXPECT_EQ(model.GetItemCount(), 6);
    ASSERT_EQ(model.GetDisplayCount(), 6);
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(model.DisplayToItem(row), row);
    for (int item : {2, 3, 4}) {
        ODLVITEM d = {};
        char buffer[8];
        d.mask = kMaskText;
        d.item = item;
        d.text = buffer;
        d.textMax = sizeof buffer;
        ASSERT_EQ(model.GetItem(&d), 1);
        EXPECT_EQ(d.mask & (kMaskText | kMaskValue2 | kMaskImage | kMaskStateImage | kMaskValue5), 0u)
            << "row " << item << " reads absent";
    }
    // Inserting in the middle of a sorted order keeps it consistent.
    model.SortItems(0, 0);
    EXPECT_EQ(model.InsertItemEx(1, "m"), 1);
    EXPECT_EQ(model.DisplayToItem(1), 1);
    EXPECT_EQ(model.CheckInvariants(), "");
}

TEST_F(ModelTest, ProtectedStateBits)
{
    MakeColumns(1);
    AddRows({"a"});
    ODLVITEM d = {};
    d.mask = kMaskState;
    d.item = 0;
    d.state = 0xFFFFFFFFu;
    ASSERT_EQ(model.SetItem(&d), 1);
    EXPECT_EQ(model.GetItemState(0), 0xFFFFFFFFu & ~uint32_t(kStateProtected));
    d.state = 0;
    model.SetItem(&d);
    EXPECT_EQ(model.GetItemState(0), 0u);
    ASSERT_EQ(model.SetItemState(0, kStateSelected | kStateExpanded, kStateSelected | kStateExpanded), 1);
    EXPECT_EQ(model.GetItemState(0), uint32_t(kStateSelected | kStateExpanded));
    EXPECT_EQ(model.GetFirstSelected(), 0) << "the selection follows bit 2";
}

TEST_F(ModelTest, RowBoundsAreChecked)
{
    MakeColumns(2);
    AddRows({"a", "b"});
    struct Case {
        const char* what;
        int item, column;
    };
    const Case cases[] = {
        {"below the pseudo-row", -2, 0},
        {"the row count", 2, 0},
        {"far past the end", 1 << 30, 0},
        {"a negative column", 0, -1},
        {"the column count", 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ODLVITEM d = {};
        d.item = c.item;
        d.subItem = c.column;
        EXPECT_EQ(model.GetItem(&d), 0);
        EXPECT_EQ(model.SetItem(&d), 0);
        EXPECT_EQ(model.GetItemText(c.item, c.column), "");
    }
    EXPECT_EQ(model.DeleteItem(-1), 0);
    EXPECT_EQ(model.DeleteItem(2), 0);
    EXPECT_EQ(model.SetItemState(2, kStateSelected, kStateSelected), 0);
    EXPECT_EQ(model.SetItemState(-2, kStateSelected, kStateSelected), 0);
    EXPECT_EQ(model.GetItemData(5), 0u);
    EXPECT_EQ(model.GetItemCount(), 2);
    EXPECT_EQ(host.Count(kNotifyDeleting), 0);
}

TEST_F(ModelTest, PlainInsertAndDeleteAreRefusedInVirtualAndTreeModes)
{
    MakeColumns(1);
    AddRows({"a"});
    for (uint32_t style : {uint32_t(kStyleVirtual), uint32_t(kStyleTree)}) {
        SCOPED_TRACE(style);
        model.SetStyleWord(style);
        const int count = model.GetItemCount();
        EXPECT_EQ(model.InsertItem("x"), kRefused);
        EXPECT_EQ(model.InsertItemFromPseudoRow(), kRefused);
        EXPECT_EQ(model.DeleteItem(0), kRefused);
        EXPECT_EQ(model.GetItemCount(), count);
    }
    model.SetStyleWord(0);
    EXPECT_EQ(model.GetItemText(0, 0), "a");
}

TEST_F(ModelTest, VirtualRowsWithTheCacheOnAndOff)
{
    MakeColumns(2);
    model.SetStyleWord(kStyleVirtual);
    model.SetItemCount(1000);
    EXPECT_EQ(model.GetItemCount(), 1000);
    EXPECT_EQ(model.GetDisplayCount(), 1000);
    struct Case {
        const char* what;
        int cache;
        int fills;  // for three reads of row 5 and one of row 133 (the same slot)
    };
    const Case cases[] = {
        {"cache on: asked once, again after the slot went to row 133", 1, 3},
        {"cache off: asked for every read", 0, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        model.SetOption(7, c.cache);
        model.SetItemCount(0);
        model.SetItemCount(1000);  // empties the slots
        host.fills = 0;
        EXPECT_EQ(model.GetItemText(5, 1), "r5c1");
        EXPECT_EQ(model.GetItemText(5, 1), "r5c1");
        EXPECT_EQ(model.GetItemImage(5, 1), 5);
        EXPECT_EQ(model.GetItemText(133, 1), "r133c1");
        EXPECT_EQ(model.GetItemText(5, 1), "r5c1");
        EXPECT_EQ(host.fills, c.fills);
    }
    EXPECT_EQ(model.SetItemText(5, 0, "x"), 0) << "virtual rows are the parent's";
    EXPECT_EQ(model.DeleteAllItems(), 0);
    // A shrinking count drops the selection and the focus past it.
    model.SelectRange(900, 950, true, false, false, false);
    model.SetItemCount(920);
    EXPECT_EQ(model.GetFocusRow(), 900);
    int items[64];
    EXPECT_EQ(model.GetSelectedItems(items, 64), 20);
    model.SetItemCount(10);
    EXPECT_EQ(model.GetFocusRow(), 9);
    EXPECT_EQ(model.GetSelectedItems(items, 64), 0);
}

TEST_F(ModelTest, DeletingEveryRowTellsTheParentOncePerRow)
{
    MakeColumns(1);
    AddRows({"a", "b", "c"});
    for (int i = 0; i < 3; ++i)
        model.SetItemData(i, 100u + uint32_t(i));
    model.SelectRange(1, 2, true, false, false, false);
    EXPECT_EQ(model.DeleteAllItems(), 1);
    EXPECT_EQ(host.Items(kNotifyDeleting), (std::vector<int>{0, 1, 2}));
    std::vector<uint32_t> data;
    for (const Host::Entry& e : host.log)
        if (e.code == kNotifyDeleting)
            data.push_back(e.value2);
    EXPECT_EQ(data, (std::vector<uint32_t>{100, 101, 102}));
    EXPECT_EQ(model.GetDisplayCount(), 0);
    EXPECT_EQ(model.GetFocusRow(), -2);
    EXPECT_EQ(model.GetFirstSelected(), -2);
}

TEST_F(ModelTest, DeletingARowMovesOrderSelectionAndFocus)
{
    MakeColumns(1);
    AddRows({"a", "b", "c", "d"});
    model.SelectRange(3, 3, true, false, false, false);
    model.SelectRange(2, 2, true, true, false, false);  // focus on c, b... selected: d, c
    EXPECT_EQ(model.DeleteItem(1), 1);
    EXPECT_EQ(DisplayedTexts(), (std::vector<std::string>{"a", "c", "d"}));
    EXPECT_EQ(model.GetFocusRow(), 1) << "the focus stays on c";
    EXPECT_EQ(model.GetSelectionList(), (std::vector<int>{2, 1}));
    EXPECT_EQ(model.DeleteItem(1), 1);  // c, the focused row
    EXPECT_EQ(model.GetFocusRow(), 0) << "the focus goes up one row";
    EXPECT_TRUE(model.GetItemState(0) & kStateFocused);
    EXPECT_EQ(host.Items(kNotifyDeleting), (std::vector<int>{1, 1}));
}

TEST_F(ModelTest, AClearedMaskBitSendsNothingAndTheChangeProceeds)
{
    MakeColumns(1);
    AddRows({"a", "b"});
    host.veto = {0, 1};
    model.SelectRange(0, 0, true, false, false, true);
    EXPECT_EQ(model.GetFirstSelected(), -2) << "vetoed";
    model.SetOption(6, int(~(1u << 3)));  // -2051 off
    host.log.clear();
    model.SelectRange(0, 0, true, false, false, true);
    EXPECT_EQ(model.GetFirstSelected(), 0);
    EXPECT_EQ(host.Count(kNotifySelChanging), 0);
    EXPECT_EQ(host.Count(kNotifySelChanged), 1);
}

// ---- Columns -------------------------------------------------------------------------

TEST_F(ModelTest, ColumnsShownHiddenAndTheirWidthLimits)
{
    ASSERT_EQ(model.InsertColumn(0, Column("A", 80)), 0);
    ASSERT_EQ(model.InsertColumn(3, Column("D", 50, 60, 90)), 3) << "past the end grows the array";
    EXPECT_EQ(model.GetColumnCount(), 4);
    EXPECT_EQ(model.GetColumn(1)->width, kDefaultColumnWidth);
    EXPECT_EQ(model.GetVisibleColumnCount(), 0) << "a new column is not shown";
    EXPECT_EQ(model.ShowColumn(3, 0), 0);
    EXPECT_EQ(model.ShowColumn(0, 0), 1);
    EXPECT_EQ(model.ShowColumn(0, 1), -1) << "already shown";
    EXPECT_EQ(model.GetShownColumns(), (std::vector<int>{0, 3}));
    EXPECT_EQ(model.GetColumnWidth(3), 50) << "the record keeps what it was given";
    struct Case {
        const char* what;
        int column, width, result;
    };
    const Case cases[] = {
        {"within the limits", 3, 70, 70},
        {"below the minimum", 3, 10, 60},
        {"above the maximum", 3, 500, 90},
        {"-1: the default 200, held at the maximum", 3, -1, 90},
        {"-1 without limits", 0, -1, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(model.SetColumnWidth(c.column, c.width), 1);
        EXPECT_EQ(model.GetColumnWidth(c.column), c.result);
    }
    EXPECT_EQ(model.GetTotalWidth(), 200 + 90);
    model.SetSortMark(3, 1);
    EXPECT_EQ(model.HideColumn(3), 1);
    EXPECT_EQ(model.HideColumn(3), 0) << "not shown";
    EXPECT_EQ(model.GetSortColumn(nullptr), -1) << "hiding the sort column removes the mark";
    EXPECT_EQ(model.GetTotalWidth(), 200);
    EXPECT_EQ(model.SortItems(3, 1), 0) << "a hidden column does not sort";
}

TEST_F(ModelTest, TheLeftMarginSitsOnTheFirstShownColumn)
{
    model.InsertColumn(0, Column("A", 15));
    model.InsertColumn(1, Column("B", 100));
    model.ShowColumn(0, 0);
    model.ShowColumn(1, 1);
    model.SetLeftMargin(10);
    EXPECT_EQ(model.GetColumn(0)->width, 25);
    EXPECT_EQ(model.GetColumnWidth(0), 15) << "read without the margin";
    EXPECT_EQ(model.SaveColumnState(), "(2,2) 15 100 0 1") << "saved without the margin";
    // Taken off a 15-pixel column with no minimum: 20, not 5.
    model.SetLeftMargin(0);
    EXPECT_EQ(model.GetColumn(0)->width, 20);
    EXPECT_EQ(model.GetColumn(0)->minWidth, 0);
    // Moving to the other column when the first is hidden.
    model.SetLeftMargin(10);
    model.HideColumn(0);
    EXPECT_EQ(model.GetColumn(1)->width, 110);
    EXPECT_EQ(model.GetColumn(1)->minWidth, 10);
}

TEST_F(ModelTest, ColumnStateTextAndBadStoredText)
{
    model.InsertColumn(0, Column("A", 80));
    model.InsertColumn(1, Column("B", 120));
    model.ShowColumn(1, 0);
    model.ShowColumn(0, 1);
    EXPECT_EQ(model.SaveColumnState(), "(2,2) 80 120 1 0");

    ListModel other;
    other.InsertColumn(0, Column("A", 10));
    other.InsertColumn(1, Column("B", 10));
    ASSERT_EQ(other.LoadColumnState("(2,2) 80 120 1 0"), 1);
    EXPECT_EQ(other.GetShownColumns(), (std::vector<int>{1, 0}));
    EXPECT_EQ(other.GetColumnWidth(1), 120);
    EXPECT_EQ(other.GetTotalWidth(), 200);
    struct Case {
        const char* what;
        const char* text;
    };
    const Case bad[] = {
        {"empty", ""},
        {"another column count", "(3,2) 80 120 50 1 0"},
        {"nothing shown", "(2,0) 80 120"},
        {"more shown than columns", "(2,3) 80 120 1 0 1"},
        {"a column past the count", "(2,2) 80 120 1 2"},
        {"a column twice", "(2,2) 80 120 1 1"},
        {"a negative column", "(2,2) 80 120 -1 0"},
        {"a negative width", "(2,2) -80 120 1 0"},
        {"cut short", "(2,2) 80 120 1"},
        {"trailing words", "(2,2) 80 120 1 0 junk"},
        {"not numbers", "(2,2) a b c d"},
        {"an overflowing number", "(2,2) 99999999999 120 1 0"},
        {"no brackets", "2,2 80 120 1 0"},
    };
    for (const Case& c : bad) {
        SCOPED_TRACE(c.what);
        ListModel m;
        m.InsertColumn(0, Column("A", 10));
        m.InsertColumn(1, Column("B", 10));
        m.ShowColumn(0, 0);
        EXPECT_EQ(m.LoadColumnState(c.text), 0);
        EXPECT_EQ(m.GetShownColumns(), (std::vector<int>{0}));
        EXPECT_EQ(m.GetColumnWidth(0), 10);
        EXPECT_EQ(m.CheckInvariants(), "");
    }
}

// ---- Comparing, sorting, finding, export ---------------------------------------------------

TEST_F(ModelTest, CompareTable)
{
    MakeColumns(1);
    struct Case {
        const char* what;
        const char* text1;
        int image1, state1;
        const char* text2;
        int image2, state2;
        int result;
    };
    const Case cases[] = {
        {"no text and no images: equal", nullptr, -1, -1, nullptr, -1, -1, 0},
        {"images", nullptr, 2, -1, nullptr, 5, -1, -1},
        {"state images win over images", nullptr, 9, 1, nullptr, 0, 0, 1},
        {"one state image", nullptr, 0, -1, nullptr, 0, 4, -1},
        {"texts", "abc", -1, -1, "abd", -1, -1, -1},
        {"a text against none: the empty text", "a", -1, -1, nullptr, 3, -1, 1},
        {"equal texts", "same", 1, -1, "same", 2, -1, 0},
        {"a two-byte character after ASCII", "\xd6\xd0", -1, -1, "z", -1, -1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        model.DeleteAllItems();
        for (int i = 0; i < 2; ++i) {
            ODLVITEM d = {};
            d.item = i;
            const char* text = i ? c.text2 : c.text1;
            if (text) {
                d.mask |= kMaskText;
                d.text = const_cast<char*>(text);
            }
            const int image = i ? c.image2 : c.image1, state = i ? c.state2 : c.state1;
            if (image >= 0) {
                d.mask |= kMaskImage;
                d.image = image;
            }
            if (state >= 0) {
                d.mask |= kMaskStateImage;
                d.stateImage = state;
            }
            ASSERT_EQ(model.InsertItem(&d), i);
        }
        EXPECT_EQ(model.CompareItems(0, 0, 1, 0), c.result);
        EXPECT_EQ(model.CompareItems(1, 0, 0, 0), -c.result);
    }
    EXPECT_EQ(model.CompareDescriptors(nullptr, nullptr), -1);
}

TEST_F(ModelTest, SortingDuplicatesSortedAndReversedInput)
{
    MakeColumns(2);
    struct Case {
        const char* what;
        std::vector<std::string> rows;
    };
    std::vector<std::string> many;
    for (int i = 0; i < 500; ++i)
        many.push_back(std::to_string((i * 7919) % 13));
    std::vector<std::string> sorted;
    for (int i = 0; i < 300; ++i)
        sorted.push_back(std::string(1, char('a' + i / 26 % 26)) + char('a' + i % 26));
    std::vector<std::string> reversed(sorted.rbegin(), sorted.rend());
    const Case cases[] = {
        {"one row", {"x"}},
        {"all equal", std::vector<std::string>(64, "same")},
        {"many duplicates", many},
        {"already sorted", sorted},
        {"reversed", reversed},
    };
    for (const Case& c : cases) {
        for (int direction : {1, 0}) {
            SCOPED_TRACE(std::string(c.what) + (direction ? " ascending" : " descending"));
            model.DeleteAllItems();
            AddRows(c.rows);
            model.SelectRange(0, 0, false, false, false, false);
            const int focusItem = model.DisplayToItem(0);
            ASSERT_EQ(model.SortItems(0, direction), 1);
            std::vector<std::string> expected = c.rows;
            std::sort(expected.begin(), expected.end());
            if (!direction)
                std::reverse(expected.begin(), expected.end());
            EXPECT_EQ(DisplayedTexts(), expected);
            EXPECT_EQ(model.DisplayToItem(model.GetFocusRow()), focusItem) << "the focus stays on its item";
            EXPECT_EQ(model.CheckInvariants(), "");
        }
    }
    int direction = -1;
    EXPECT_EQ(model.GetSortColumn(&direction), 0);
    EXPECT_EQ(direction, 0);
}

int ContradictingCompare(int, int, int, int, intptr_t)
{
    static unsigned seed = 1;
    seed = seed * 1103515245u + 12345u;
    return int(seed >> 16) % 3 - 1;
}

TEST_F(ModelTest, AContradictingCompareFunctionStillEndsWithEveryRow)
{
    MakeColumns(1);
    std::vector<std::string> rows;
    for (int i = 0; i < 200; ++i)
        rows.push_back(std::to_string(i));
    AddRows(rows);
    model.SetCompareFunc(ContradictingCompare, 0);
    ASSERT_EQ(model.SortItems(0, 1), 1);
    std::vector<std::string> texts = DisplayedTexts();
    std::sort(texts.begin(), texts.end());
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(texts, rows);
}

TEST_F(ModelTest, FindTable)
{
    MakeColumns(1);
    AddRows({"abc", "ab", "xyz", "abc"});
    model.SetItemImage(2, 0, 4);
    model.SetItemData(3, 9);
    struct Case {
        const char* what;
        uint32_t flags;
        const char* text;
        int image;
        uint32_t data;
        int start;
        int result;
    };
    const Case cases[] = {
        {"plain text from before the first row", kFindText, "abc", 0, 0, -1, 0},
        {"plain text does not find a prefix", kFindText, "x", 0, 0, -1, kNoRow},
        {"prefix ab finds abc", kFindText | kFindPrefix, "ab", 0, 0, -1, 0},
        {"after the start", kFindText, "abc", 0, 0, 0, 3},
        {"no wrap: ends at the last row", kFindText, "abc", 0, 0, 3, kNoRow},
        {"wrap: on from the first row", kFindText | kFindWrap, "ab", 0, 0, 2, 1},
        {"wrap: back at the start finds nothing else", kFindText | kFindWrap, "xyz", 0, 0, 2, kNoRow},
        {"backwards", kFindText | kFindBackwards, "abc", 0, 0, 3, 0},
        {"backwards with wrap", kFindText | kFindBackwards | kFindWrap, "abc", 0, 0, 0, 3},
        {"image", kFindImage, nullptr, 4, 0, -1, 2},
        {"data", kFindData, nullptr, 0, 9, -1, 3},
        {"text and data", kFindText | kFindData, "abc", 0, 9, -1, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ODFindInfo info = {c.flags, c.text, c.image, -1, c.data};
        EXPECT_EQ(model.FindItem(&info, 0, c.start), c.result);
    }
    EXPECT_EQ(model.FindItem(nullptr, 0, -1), -1);
    // With wrap every start ends, inside the rows or far outside them.
    for (uint32_t flags : {uint32_t(kFindWrap), uint32_t(kFindWrap | kFindBackwards)}) {
        for (int start = -10; start <= 10; ++start) {
            SCOPED_TRACE(start);
            ODFindInfo info = {kFindText | flags, "none", 0, 0, 0};
            EXPECT_EQ(model.FindItem(&info, 0, start), kNoRow);
        }
    }
}

TEST_F(ModelTest, RowTextAndTheCopiedSelection)
{
    MakeColumns(3);
    AddRows({"a\tb,x,y", "c"});
    model.SetItemText(1, 2, "z");
    model.SetItemImage(1, 1, 7);
    model.HideColumn(2);
    model.ShowColumn(2, 0);  // shown: C, A, B
    std::string text;
    model.GetRowText(text, 0, '\t');
    EXPECT_EQ(text, "y\ta b\tx\n") << "the separator inside a text becomes a blank";
    text.clear();
    model.GetRowText(text, 1, ';');
    EXPECT_EQ(text, "z;c;7\n") << "an image number stands for a cell without text";
    model.SelectRange(1, 1, true, false, false, false);
    model.SelectRange(0, 0, true, true, false, false);
    EXPECT_EQ(model.GetSelectionText(), "y\ta b\tx\nz\tc\t7\n") << "in display order";
}

// ---- Selection and focus ---------------------------------------------------------------

TEST_F(ModelTest, SingleSelectionKeepsOneRow)
{
    MakeColumns(1);
    AddRows({"a", "b", "c"});
    model.SetStyleWord(kStyleSingleSel);
    model.SelectItem(0, false);
    model.SelectItem(2, true);
    model.SelectRange(0, 2, true, true, false, false);
    int items[4];
    ASSERT_EQ(model.GetSelectedItems(items, 4), 1);
    EXPECT_EQ(items[0], 0);
    EXPECT_EQ(model.GetFocusRow(), 0);
}

TEST_F(ModelTest, VetoesInBothStepsOfSelectRange)
{
    MakeColumns(1);
    AddRows({"a", "b", "c", "d"});
    model.SelectRange(0, 1, true, false, false, false);
    host.veto = {2, 0};
    host.log.clear();
    // Step 4 selects 2..3 (2 vetoed); step 6 deselects 0 and 1 (0 vetoed).
    model.SelectRange(2, 3, true, false, false, true);
    EXPECT_EQ(model.GetSelectionList(), (std::vector<int>{0, 3}));
    EXPECT_EQ(host.Items(kNotifySelChanging), (std::vector<int>{2, 3, 0, 1}));
    EXPECT_EQ(host.Items(kNotifySelChanged), (std::vector<int>{3, 1}));
    EXPECT_FALSE(model.GetItemState(2) & kStateSelected);
    EXPECT_TRUE(model.GetItemState(0) & kStateSelected);
}

TEST_F(ModelTest, InvertSelectionKeepsTheFocus)
{
    MakeColumns(1);
    AddRows({"a", "b", "c"});
    model.SelectRange(1, 1, true, false, false, false);
    model.SetFocusCell(2, 0);
    model.InvertSelection();
    EXPECT_EQ(model.GetSelectionList(), (std::vector<int>{0, 2}));
    EXPECT_EQ(model.GetFocusRow(), 2);
    EXPECT_FALSE(model.GetItemState(0) & kStateFocused);
    model.SelectAll();
    EXPECT_EQ(model.GetSelectedRows(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(model.GetFocusRow(), 2);
}

TEST_F(ModelTest, OrderChangesAndFocusCells)
{
    MakeColumns(2);
    AddRows({"a", "b", "c"});
    model.SetFocusCell(0, 1);
    EXPECT_EQ(model.MoveItemUp(0), 0) << "the first row";
    EXPECT_EQ(model.MoveItemDown(2), 0) << "the last row";
    EXPECT_EQ(model.MoveItemDown(0), 1);
    EXPECT_EQ(DisplayedTexts(), (std::vector<std::string>{"b", "a", "c"}));
    EXPECT_EQ(model.GetFocusRow(), 1) << "the focus follows its row";
    EXPECT_EQ(model.SetItemOrder({2, 0}), 0) << "too short";
    EXPECT_EQ(model.SetItemOrder({2, 2, 0}), 0) << "not a rearrangement";
    EXPECT_EQ(model.SetItemOrder({2, 1, 0}), 1);
    EXPECT_EQ(model.GetFocusRow(), 2);
    ColumnInfo fixed = Column("F");
    fixed.flags |= kColumnNoFocus;
    model.InsertColumn(2, fixed);
    model.ShowColumn(2, 2);
    EXPECT_EQ(model.SetFocusCell(0, 2), 0) << "a column that never takes the focus";
    EXPECT_EQ(model.SetFocusCell(3, 0), 0);
    EXPECT_EQ(model.SetFocusCell(0, 3), 0);
    EXPECT_EQ(model.SetFocusCell(-1, -1), 1) << "the pseudo-row";
    EXPECT_TRUE(model.GetItemState(-1) & kStateFocused);
}

// ---- Tree ----------------------------------------------------------------------------

class TreeTest : public ModelTest
{
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        MakeColumns(1);
        model.SetStyleWord(kStyleTree);
    }
    NodeHandle Add(const char* text, NodeHandle parent = kTreeRoot, NodeHandle after = kInsertLast)
    {
        ODLVITEM d = {};
        d.mask = kMaskText;
        d.text = const_cast<char*>(text);
        return model.InsertTreeItem(&d, parent, after, -1);
    }
    std::string Shown()
    {
        std::string s;
        for (const std::string& t : DisplayedTexts())
            s += t + " ";
        return s;
    }
    std::string FocusText() { return model.GetItemText(model.DisplayToItem(model.GetFocusRow()), 0); }
};

TEST_F(TreeTest, InsertPositionsAndSortedNewestFirst)
{
    const NodeHandle m = Add("m");
    Add("b", kTreeRoot, kInsertSorted);
    Add("z", kTreeRoot, kInsertSorted);
    const NodeHandle m2 = Add("m", kTreeRoot, kInsertSorted);
    Add("first", kTreeRoot, kInsertFirst);
    Add("after-m", kTreeRoot, m);
    EXPECT_EQ(Shown(), "first b m m after-m z ");
    EXPECT_EQ(model.DisplayToItem(2), model.GetNodeData(m2)) << "the newer of two equal keys comes first";
    const NodeHandle child = Add("c", m, kInsertSorted);
    EXPECT_EQ(model.GetNodeData(child), 6);
    EXPECT_EQ(Shown(), "first b m m after-m z ") << "a collapsed parent hides its child";
    model.Expand(m, 1);
    EXPECT_EQ(Shown(), "first b m m c after-m z ");
    ODLVITEM d = {};
    d.item = model.GetNodeData(child);
    model.GetItem(&d);
    EXPECT_EQ(d.indent, 2);
    EXPECT_EQ(model.GetNextItem(child, 3), m);
    EXPECT_EQ(model.GetNextItem(m, 3), NodeHandle(0)) << "a top-level node has no parent";
    EXPECT_EQ(model.CountChildren(kTreeRoot, true), 7);
    EXPECT_EQ(model.InsertTreeItem(&d, NodeHandle(0x1234), kInsertLast, -1), NodeHandle(0)) << "no such parent";
    std::string text;
    model.GetRowText(text, model.GetNodeData(m), '\t');
    EXPECT_EQ(text, "-m\n");
}

TEST_F(TreeTest, CollapsingMovesTheFocusAndDeselectsHiddenRows)
{
    const NodeHandle a = Add("a");
    const NodeHandle a1 = Add("a1", a);
    const NodeHandle a11 = Add("a11", a1);
    Add("b");
    model.ExpandAll(kTreeRoot, 1, -1);
    EXPECT_EQ(Shown(), "a a1 a11 b ");
    model.SelectNode(a1, false);
    model.SelectNode(a11, true);
    EXPECT_EQ(FocusText(), "a11");
    model.Expand(a, 0);
    EXPECT_EQ(Shown(), "a b ");
    EXPECT_EQ(FocusText(), "a");
    EXPECT_EQ(model.GetFirstSelected(), -2) << "the hidden rows lost their selection";
    EXPECT_TRUE(model.GetItemState(model.GetNodeData(a)) & kStateCollapsed);
    EXPECT_EQ(model.Expand(a, 3), 0) << "no such code";
}

TEST_F(TreeTest, DeletingMovesTheFocusToTheNextSiblingOrTheParent)
{
    const NodeHandle p = Add("p");
    const NodeHandle c1 = Add("c1", p);
    const NodeHandle c2 = Add("c2", p);
    Add("q");
    model.Expand(p, 1);
    struct Case {
        const char* what;
        NodeHandle focus, remove;
        const char* focusAfter;
        const char* shown;
    };
    const Case cases[] = {
        {"the focused node: its next sibling", c1, c1, "c2", "p c2 q "},
        {"the last child: its parent", c2, c2, "p", "p q "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        model.SelectNode(c.focus, false);
        host.log.clear();
        EXPECT_EQ(model.DeleteTreeItem(c.remove), 1);
        EXPECT_EQ(FocusText(), c.focusAfter);
        EXPECT_EQ(Shown(), c.shown);
        EXPECT_EQ(host.Count(kNotifyDeleting), 1);
        EXPECT_EQ(model.CheckInvariants(), "");
    }
    // A subtree goes with its parent, children first.
    const NodeHandle d1 = Add("d1", p);
    Add("d2", d1);
    host.log.clear();
    EXPECT_EQ(model.DeleteTreeItem(p), 1);
    EXPECT_EQ(Shown(), "q ");
    EXPECT_EQ(host.Count(kNotifyDeleting), 3);
    EXPECT_EQ(model.DeleteTreeItem(p), 0) << "already gone";
}

TEST_F(TreeTest, SortingSortsEverySiblingChain)
{
    const NodeHandle b = Add("b");
    Add("y", b);
    Add("x", b);
    Add("a");
    model.ExpandAll(kTreeRoot, 1, -1);
    model.SelectNode(b, false);
    ASSERT_EQ(model.SortItems(0, 1), 1);
    EXPECT_EQ(Shown(), "a b x y ");
    EXPECT_EQ(FocusText(), "b");
    ASSERT_EQ(model.SortItems(0, 0), 1);
    EXPECT_EQ(Shown(), "b y x a ");
}

}  // namespace
