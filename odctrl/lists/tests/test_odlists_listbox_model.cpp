// The list box's items apart from its window: insert positions and answers,
// bad indexes refused, reset and deletion of the current item and anchor,
// selection by style, mouse tracking, the wrapping arrow keys, and the
// top-index and hit-test searches over rows of different heights (checked
// against a plain scan of every item as well as hand-worked cases).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ODListBoxModel.h"

using namespace odlistbox;

namespace {

Item TextItem(const std::string& text, uint32_t height = 0)
{
    Item item;
    item.text = text;
    item.flags = kFlagText;
    item.height = height;
    return item;
}

State WithTexts(const std::vector<std::string>& texts, uint32_t style = 0)
{
    State s;
    s.style = style;
    for (const std::string& t : texts)
        Insert(s, Count(s), TextItem(t));
    return s;
}

std::vector<std::string> Texts(const State& s)
{
    std::vector<std::string> out;
    for (const Item& item : s.items)
        out.push_back(item.text);
    return out;
}

std::vector<int> Selected(const State& s)
{
    std::vector<int> out(size_t(Count(s)) + 1);
    out.resize(size_t(SelItems(s, Count(s) + 1, out.data())));
    return out;
}

// Heights 10, 30, 5, 20, 15, 40: tops 0, 10, 40, 45, 65, 80; total 120.
State Variable()
{
    State s;
    s.style = kStyleOwnerDrawVariable;
    const uint32_t heights[] = {10, 30, 5, 20, 15, 40};
    for (uint32_t h : heights)
        Insert(s, Count(s), TextItem("x", h));
    return s;
}

}  // namespace

TEST(ListBoxModel, InsertPositionsAndAnswers)
{
    struct Case {
        const char* what;
        int index;
        std::vector<std::string> order;
    };
    // Start: a, b, c. The answer is always the last index (3), wherever the
    // item went.
    const Case cases[] = {
        {"-1 puts the item first", -1, {"n", "a", "b", "c"}},
        {"0 puts it first", 0, {"n", "a", "b", "c"}},
        {"a far negative index puts it first", -1000, {"n", "a", "b", "c"}},
        {"1 before the second item", 1, {"a", "n", "b", "c"}},
        {"count - 1 before the last", 2, {"a", "b", "n", "c"}},
        {"count appends", 3, {"a", "b", "c", "n"}},
        {"past the end appends", 99, {"a", "b", "c", "n"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        State s = WithTexts({"a", "b", "c"});
        EXPECT_EQ(Insert(s, c.index, TextItem("n")), 3);
        EXPECT_EQ(Texts(s), c.order);
    }
}

TEST(ListBoxModel, InsertionClearsStateAndKeepsTextOnlyWithTheTextFlag)
{
    State s;
    Item item;
    item.text = "hidden";
    item.flags = kFlagImage;
    item.state = kStateSelected;
    item.image = 4;
    EXPECT_EQ(Insert(s, 0, item), 0);
    EXPECT_EQ(s.items[0].text, "");
    EXPECT_EQ(s.items[0].state, 0u);
    EXPECT_EQ(s.items[0].image, 4);
    EXPECT_EQ(CurSel(s), kNone);
}

TEST(ListBoxModel, BadIndexesAreRefused)
{
    struct Case {
        const char* what;
        int index;
    };
    const Case cases[] = {{"-1", -1}, {"count", 3}, {"far past the end", 1 << 30}, {"far negative", -(1 << 30)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        State s = WithTexts({"a", "b", "c"});
        s.items[1].state = kStateSelected;
        EXPECT_EQ(Delete(s, c.index), kErr);
        EXPECT_EQ(SetCurSel(s, c.index), kErr);
        EXPECT_EQ(SetSel(s, c.index, true), kErr);
        EXPECT_FALSE(Click(s, c.index, false, false));
        EXPECT_EQ(Count(s), 3);
        EXPECT_EQ(Selected(s), std::vector<int>{1});
        s.style = kStyleOwnerDrawVariable;
        EXPECT_FALSE(SetItemHeight(s, c.index, 20));
        EXPECT_EQ(ItemHeight(s, c.index), 0);
    }
}

TEST(ListBoxModel, ResetAndDeleteLeaveNoCurrentItemOrAnchorPastTheEnd)
{
    State s = WithTexts({"a", "b", "c", "d"}, kStyleExtendedSel);
    s.current = 3;
    s.anchor = 2;
    Reset(s);
    EXPECT_EQ(Count(s), 0);
    EXPECT_EQ(s.current, kNone);
    EXPECT_EQ(s.anchor, kNone);
    // A shift click after the reset starts its range at the first item.
    for (const char* t : {"a", "b", "c"})
        Insert(s, Count(s), TextItem(t));
    ASSERT_TRUE(Click(s, 2, false, true));
    EXPECT_EQ(Selected(s), (std::vector<int>{0, 1, 2}));

    struct Case {
        const char* what;
        int current, anchor, deleted;
        int newCurrent, newAnchor;
    };
    const Case cases[] = {
        {"the anchor deleted", 0, 1, 1, 0, kNone},
        {"the last item deleted under the current item and anchor", 3, 3, 3, kNone, kNone},
        {"an item before them: the numbers stay", 2, 2, 0, 2, 2},
        {"an earlier item deleted: nothing past the end", 1, 0, 2, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        State d = WithTexts({"a", "b", "c", "d"});
        d.current = c.current;
        d.anchor = c.anchor;
        EXPECT_EQ(Delete(d, c.deleted), 3);
        EXPECT_EQ(d.current, c.newCurrent);
        EXPECT_EQ(d.anchor, c.newAnchor);
    }
}

TEST(ListBoxModel, FindExactSearchesAfterStartWithoutWrapping)
{
    const State s = WithTexts({"Ab", "ab", "c", "ab"});
    struct Case {
        const char* what;
        int start;
        const char* text;
        int found;
    };
    const Case cases[] = {
        {"from the front", -1, "ab", 1},
        {"case counts", -1, "AB", kNone},
        {"the start itself is skipped", 1, "ab", 3},
        {"no wrap to the front", 3, "ab", kNone},
        {"whole texts only", -1, "a", kNone},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindExact(s, c.start, c.text), c.found) << c.what;
}

TEST(ListBoxModel, SortCarriesSelectedBitsWithTheirItems)
{
    State s = WithTexts({"c", "a", "b"});
    s.items[0].state = kStateSelected;  // "c"
    s.current = 1;
    Sort(s, nullptr);
    EXPECT_EQ(Texts(s), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(Selected(s), std::vector<int>{2});
    EXPECT_EQ(s.current, 1);
    Sort(s, [](const Item& a, const Item& b) { return -CompareTextBytes(a, b); });
    EXPECT_EQ(Texts(s), (std::vector<std::string>{"c", "b", "a"}));
}

TEST(ListBoxModel, SelectionByStyle)
{
    struct Step {
        int index;
        bool ctrl, shift;
    };
    struct Case {
        const char* what;
        uint32_t style;
        std::vector<Step> clicks;
        std::vector<int> selected;
        int anchor;
    };
    const uint32_t kMulti = kStyleMultipleSel, kExt = kStyleExtendedSel;
    const Case cases[] = {
        {"single: the last click only", 0, {{1, false, false}, {3, false, false}}, {3}, kNone},
        {"single: a click on the selected item keeps it", 0, {{2, false, false}, {2, false, false}}, {2}, kNone},
        {"single: Ctrl and Shift change nothing", 0, {{1, false, false}, {3, true, true}}, {3}, kNone},
        {"multiple: clicks toggle", kMulti, {{1, false, false}, {3, false, false}, {1, false, false}}, {3}, kNone},
        {"extended: a plain click selects alone and anchors", kExt, {{1, false, false}, {3, false, false}}, {3}, 3},
        {"extended: Ctrl toggles and anchors", kExt, {{1, false, false}, {3, true, false}}, {1, 3}, 3},
        {"extended: Ctrl on a selected item clears it", kExt, {{1, false, false}, {1, true, false}}, {}, 1},
        {"extended: Shift selects from the anchor down", kExt, {{1, false, false}, {4, false, true}}, {1, 2, 3, 4}, 1},
        {"extended: Shift selects from the anchor up", kExt, {{4, false, false}, {2, false, true}}, {2, 3, 4}, 4},
        {"extended: Shift without an anchor starts at 0", kExt, {{2, false, true}}, {0, 1, 2}, kNone},
        {"extended: a second Shift range replaces the first", kExt,
         {{2, false, false}, {4, false, true}, {0, false, true}}, {0, 1, 2}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        State s = WithTexts({"a", "b", "c", "d", "e"}, c.style);
        for (const Step& step : c.clicks)
            ASSERT_TRUE(Click(s, step.index, step.ctrl, step.shift));
        EXPECT_EQ(Selected(s), c.selected);
        EXPECT_EQ(s.anchor, c.anchor);
    }
}

TEST(ListBoxModel, SetCurSelOnlyForSingleSelection)
{
    struct Case {
        const char* what;
        uint32_t style;
        int answer;
        std::vector<int> selected;
    };
    const Case cases[] = {
        {"single: replaces the selection", 0, 2, {2}},
        {"multiple: nothing", kStyleMultipleSel, kErr, {0, 1}},
        {"extended: nothing", kStyleExtendedSel, kErr, {0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        State s = WithTexts({"a", "b", "c"}, c.style);
        s.items[0].state = s.items[1].state = kStateSelected;
        s.current = 0;
        EXPECT_EQ(SetCurSel(s, 2), c.answer);
        EXPECT_EQ(Selected(s), c.selected);
        EXPECT_EQ(s.current, 0) << "the tracked item does not move";
    }
}

TEST(ListBoxModel, TrackingSelectsTheItemUnderThePointer)
{
    State s = WithTexts({"a", "b", "c"}, kStyleMultipleSel);
    s.items[0].state = s.items[2].state = kStateSelected;
    EXPECT_TRUE(Track(s, 1));
    EXPECT_EQ(Selected(s), std::vector<int>{1});
    EXPECT_FALSE(Track(s, 1)) << "no change while on the same item";
    EXPECT_TRUE(Track(s, kNone));
    EXPECT_EQ(s.current, kNone);
    EXPECT_EQ(Selected(s), std::vector<int>{1}) << "leaving the items keeps the selection";
}

TEST(ListBoxModel, ArrowKeysWrapAround)
{
    struct Case {
        const char* what;
        int selected;  // kNone: no selection
        Key key;
        int target, step;
    };
    const Case cases[] = {
        {"down from the middle", 1, kKeyDown, 2, 2},
        {"up from the middle", 1, kKeyUp, 0, -2},
        {"up on the first selects the last", 0, kKeyUp, 3, -2},
        {"down on the last selects the first", 3, kKeyDown, 0, 2},
        {"another key keeps the item", 2, kKeyOther, 2, 0},
        {"another key without a selection selects the last", kNone, kKeyOther, 3, 0},
        {"down without a selection selects the first", kNone, kKeyDown, 0, 2},
        {"up without a selection selects the last", kNone, kKeyUp, 3, -2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        State s = WithTexts({"a", "b", "c", "d"});
        if (c.selected != kNone)
            SetCurSel(s, c.selected);
        const KeyMove m = KeyDown(s, c.key);
        EXPECT_EQ(m.start, c.selected);
        EXPECT_EQ(m.target, c.target);
        EXPECT_EQ(m.step, c.step);
        EXPECT_EQ(s.current, c.target);
        EXPECT_EQ(Selected(s), std::vector<int>{c.target});
    }
    State empty;
    const KeyMove m = KeyDown(empty, kKeyDown);
    EXPECT_EQ(m.target, kNone);
    EXPECT_EQ(empty.current, kNone);
}

TEST(ListBoxModel, RowGeometryFixedAndVariable)
{
    State fixed = WithTexts({"a", "b", "c"});
    EXPECT_EQ(ItemTop(fixed, 2), 24);  // 2 x 12
    EXPECT_EQ(TotalHeight(fixed), 36);
    EXPECT_TRUE(SetItemHeight(fixed, -1, 20));  // the index does not matter
    EXPECT_EQ(TotalHeight(fixed), 60);
    EXPECT_EQ(ItemHeight(fixed, 7), 20);

    State v = Variable();
    EXPECT_EQ(ItemTop(v, 4), 65);  // 10 + 30 + 5 + 20
    EXPECT_EQ(TotalHeight(v), 120);
    EXPECT_TRUE(SetItemHeight(v, 1, 0));
    EXPECT_EQ(ItemTop(v, 4), 35);
    EXPECT_EQ(TotalHeight(v), 90);
    Delete(v, 0);
    EXPECT_EQ(ItemTop(v, 1), 0) << "rows close up after a deletion";
    EXPECT_FALSE(SetItemHeight(v, 0, -5));
}

TEST(ListBoxModel, TopIndexWithVariableHeights)
{
    // Rows: 0 [0,10) 1 [10,40) 2 [40,45) 3 [45,65) 4 [65,80) 5 [80,120).
    struct Case {
        const char* what;
        int64_t top, bottom;
        int first;
    };
    const Case cases[] = {
        {"at the start", 0, 30, 0},
        {"inside the tall second row", 12, 30, 1},
        {"on the boundary of rows 0 and 1", 10, 50, 1},
        {"one row above the boundary", 9, 50, 0},
        {"the small row 2 first", 42, 60, 2},
        {"the band starts where row 3 starts", 45, 70, 3},
        {"only the last row", 100, 140, 5},
        {"the last row's last pixel", 119, 200, 5},
        {"below every row", 120, 200, kNone},
        {"a band over all rows", -10, 500, 0},
    };
    const State s = Variable();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(TopIndex(s, c.top, c.bottom), c.first);
    }
}

TEST(ListBoxModel, ItemFromPointWithVariableHeights)
{
    struct Case {
        const char* what;
        int64_t x, y;
        int item;
    };
    const Case cases[] = {
        {"first row", 5, 0, 0},
        {"last pixel row of item 0", 5, 9, 0},
        {"the boundary row belongs to the row below", 5, 10, 1},
        {"small row 2", 5, 44, 2},
        {"row 3's top", 5, 45, 3},
        {"last row", 5, 119, 5},
        {"below the rows", 5, 120, kNone},
        {"above the rows", 5, -1, kNone},
        {"left of the rows", -1, 50, kNone},
        {"right of the rows (right edge excluded)", 100, 50, kNone},
    };
    const State s = Variable();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ItemFromPoint(s, c.x, c.y, 0, 100), c.item);
    }
}

TEST(ListBoxModel, SearchesAgreeWithAPlainScan)
{
    // Heights 0..7 repeated (zero-height rows included), counts 0..40, every
    // band and row: the binary searches must answer what a scan of every
    // item answers.
    for (int count = 0; count <= 40; ++count) {
        State s;
        s.style = kStyleOwnerDrawVariable;
        for (int i = 0; i < count; ++i)
            Insert(s, i, TextItem("x", uint32_t((i * 5) % 8)));
        const int64_t total = TotalHeight(s);
        for (int64_t y = -2; y <= total + 2; ++y) {
            int scanHit = kNone;
            for (int i = 0; i < count && scanHit == kNone; ++i)
                if (y >= ItemTop(s, i) && y < ItemTop(s, i) + ItemHeight(s, i))
                    scanHit = i;
            ASSERT_EQ(ItemFromPoint(s, 0, y, 0, 10), scanHit) << count << " items, y " << y;
            for (int64_t h = 0; h <= 9; h += 3) {
                int scanTop = kNone;
                for (int i = 0; i < count && scanTop == kNone; ++i)
                    if (Visible(s, i, y, y + h))
                        scanTop = i;
                ASSERT_EQ(TopIndex(s, y, y + h), scanTop) << count << " items, band " << y << "+" << h;
            }
        }
    }
}
