// The list-view message answers over the model: finding from the place
// before row 0, a miss answered -1, the flag translation, wrapping, the
// guards; reading a cell into short and missing buffers; writing one. And a
// sort range of one entry, which the header sort never asks for.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "ODListEmulation.h"
#include "ODListModel.h"

namespace {

using namespace odlist;

class NoHost : public ListHost
{
public:
    intptr_t Notify(Notification&) override { return 0; }
};

// Rows "apple", "banana", "apricot", "cherry", "banana" (data 10, 20, ...),
// column 1 holding "one", "two", ...
class EmulationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        model.SetHost(&host);
        ColumnInfo column;
        column.flags = kColumnHasText;
        column.text = "Name";
        column.width = 100;
        model.InsertColumn(0, column);
        model.InsertColumn(1, column);
        model.ShowColumn(0, 0);
        model.ShowColumn(1, 1);
        const char* names[] = {"apple", "banana", "apricot", "cherry", "banana"};
        const char* seconds[] = {"one", "two", "three", "four", "five"};
        for (int i = 0; i < 5; ++i) {
            const int item = model.InsertItem(names[i]);
            model.SetItemText(item, 1, seconds[i]);
            model.SetItemData(item, uint32_t(10 * (i + 1)));
        }
    }
    NoHost host;
    ListModel model;
};

TEST_F(EmulationTest, FindItemTable)
{
    struct Case
    {
        const char* what;
        intptr_t start;
        uint32_t flags;
        const char* text;
        intptr_t param;
        intptr_t expected;
    };
    const Case cases[] = {
        {"start -1 searches from row 0", -1, kLvfiString, "apple", 0, 0},
        {"the first match after the start", 1, kLvfiString, "banana", 0, 4},
        {"a miss answers -1, not -2", -1, kLvfiString, "grape", 0, -1},
        {"nothing after the start without wrap", 2, kLvfiString, "apple", 0, -1},
        {"wrap goes on at row 0", 2, kLvfiString | kLvfiWrap, "apple", 0, 0},
        {"wrap stops at the start row", 0, kLvfiString | kLvfiWrap, "apple", 0, -1},
        {"a plain search needs the whole text", -1, kLvfiString, "apri", 0, -1},
        {"partial finds a prefix", -1, kLvfiString | kLvfiPartial, "apri", 0, 2},
        {"partial alone is a text search", -1, kLvfiPartial, "ch", 0, 3},
        {"data", -1, kLvfiParam, nullptr, 30, 2},
        {"data missed", -1, kLvfiParam, nullptr, 35, -1},
        {"data wider than a row's is in no row", -1, kLvfiParam, nullptr, intptr_t(uint64_t(1) << 40 | 30) , -1},
        {"text and data together", -1, kLvfiString | kLvfiParam, "banana", 50, 4},
        {"text search with no text", -1, kLvfiString, nullptr, 0, -1},
        {"column 0 only", -1, kLvfiString, "one", 0, -1},
        {"a start below -1", -5, kLvfiString, "apple", 0, -1},
        {"a start past the rows", 99, kLvfiString | kLvfiWrap, "apple", 0, -1},
    };
    for (const Case& c : cases) {
        if (sizeof(intptr_t) < 8 && c.param > INT32_MAX)
            continue;
        LvFindInfoA info = {};
        info.flags = c.flags;
        info.psz = c.text;
        info.lParam = c.param;
        EXPECT_EQ(AnswerFindItem(model, c.start, &info), c.expected) << c.what;
    }
    EXPECT_EQ(AnswerFindItem(model, -1, nullptr), -1) << "no record";
    ListModel virtualList;
    virtualList.SetHost(&host);
    virtualList.SetStyleWord(kStyleVirtual);
    virtualList.SetItemCount(5);
    LvFindInfoA info = {};
    info.flags = kLvfiParam;
    EXPECT_EQ(AnswerFindItem(virtualList, -1, &info), -1) << "a virtual list finds nothing (the model's 0 is no row)";
}

TEST_F(EmulationTest, GetItemTextTable)
{
    struct Case
    {
        const char* what;
        intptr_t item;
        int subItem;
        int bufferSize;
        bool nullBuffer;
        intptr_t expected;
        const char* buffer;  // afterwards; "####" when untouched
    };
    const Case cases[] = {
        {"a whole text", 1, 0, 16, false, 6, "banana"},
        {"a buffer of 4 on a longer text", 1, 0, 4, false, 3, "ban"},
        {"a buffer of 1 holds the terminator", 1, 0, 1, false, 0, ""},
        {"another column", 2, 1, 16, false, 5, "three"},
        {"a negative sub-item leaves the buffer", 1, -1, 16, false, 0, "####"},
        {"a negative item leaves the buffer", -1, 0, 16, false, 0, "####"},
        {"a buffer size of 0 leaves the buffer", 1, 0, 0, false, 0, "####"},
        {"a negative buffer size leaves the buffer", 1, 0, -3, false, 0, "####"},
        {"no buffer", 1, 0, 16, true, 0, "####"},
        {"a row past the last reads empty", 9, 0, 16, false, 0, ""},
    };
    for (const Case& c : cases) {
        char buffer[32], initial[32];
        memset(buffer, 0, sizeof buffer);
        memcpy(buffer, "####", 4);
        memcpy(initial, buffer, sizeof buffer);
        LvItemA item = {};
        item.iSubItem = c.subItem;
        item.pszText = c.nullBuffer ? nullptr : buffer;
        item.cchTextMax = c.bufferSize;
        EXPECT_EQ(AnswerGetItemText(model, c.item, &item), c.expected) << c.what;
        EXPECT_STREQ(buffer, c.buffer) << c.what;
        const size_t size = size_t(c.bufferSize > 0 ? c.bufferSize : 0);
        EXPECT_EQ(memcmp(buffer + size, initial + size, sizeof buffer - size), 0) << c.what << ": nothing past it";
    }
    EXPECT_EQ(AnswerGetItemText(model, 0, nullptr), 0) << "no record";

    // A double-byte character that does not fit whole is left out.
    model.SetItemText(0, 0, "ab\xC5\xC6");
    char buffer[4] = {'#', '#', '#', '#'};
    LvItemA item = {};
    item.pszText = buffer;
    item.cchTextMax = 4;
    EXPECT_EQ(AnswerGetItemText(model, 0, &item), 2);
    EXPECT_STREQ(buffer, "ab");
}

TEST_F(EmulationTest, SetItemTextTable)
{
    struct Case
    {
        const char* what;
        intptr_t item;
        int subItem;
        const char* text;
        intptr_t expected;
        const char* cell;  // row 1's cell in column 0 afterwards
    };
    const Case cases[] = {
        {"writes the cell", 1, 0, "kiwi", 1, "kiwi"},
        {"a negative sub-item is refused", 1, -1, "plum", 0, "kiwi"},
        {"a negative item is refused", -1, 0, "plum", 0, "kiwi"},
        {"no text is refused", 1, 0, nullptr, 0, "kiwi"},
        {"a row past the last is the model's refusal", 9, 0, "plum", 0, "kiwi"},
    };
    for (const Case& c : cases) {
        LvItemA item = {};
        item.iSubItem = c.subItem;
        item.pszText = const_cast<char*>(c.text);
        EXPECT_EQ(AnswerSetItemText(model, c.item, &item), c.expected) << c.what;
        EXPECT_EQ(model.GetItemText(1, 0), c.cell) << c.what;
    }
    EXPECT_EQ(AnswerSetItemText(model, 1, nullptr), 0) << "no record";
    LvItemA item = {};
    item.iSubItem = 1;
    item.pszText = const_cast<char*>("second");
    EXPECT_EQ(AnswerSetItemText(model, 3, &item), 1);
    EXPECT_EQ(model.GetItemText(3, 1), "second");
}

TEST_F(EmulationTest, SortingARangeOfOneEntryChangesNothing)
{
    std::vector<int> before;
    for (int row = 0; row < model.GetDisplayCount(); ++row)
        before.push_back(model.DisplayToItem(row));
    for (int row = 0; row < model.GetDisplayCount(); ++row) {
        model.SortDisplayRange(0, row, row, true);
        model.SortDisplayRange(0, row, row, false);
    }
    std::vector<int> after;
    for (int row = 0; row < model.GetDisplayCount(); ++row)
        after.push_back(model.DisplayToItem(row));
    EXPECT_EQ(after, before);
    // A middle range sorts only itself.
    model.SortDisplayRange(0, 1, 3, true);
    std::vector<std::string> texts;
    for (int row = 0; row < model.GetDisplayCount(); ++row)
        texts.push_back(model.GetItemText(model.DisplayToItem(row), 0));
    EXPECT_EQ(texts, (std::vector<std::string>{"apple", "apricot", "banana", "cherry", "banana"}));
    EXPECT_EQ(model.CheckInvariants(), "");
}

}  // namespace
