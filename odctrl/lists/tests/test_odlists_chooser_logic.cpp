// The column chooser's rules without a window: the box lists the hidden
// columns its filter accepts, in column order; where a dropped column lands;
// the drag image's caption cut to its 80-byte buffer with a terminator,
// never inside a double-byte character.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "ODColumnChooserLogic.h"

namespace {

using namespace odlist;

TEST(ChooserColumns, OnlyHiddenColumnsTheFilterAccepts)
{
    ListModel model;
    for (int i = 0; i < 5; ++i) {
        ColumnInfo c;
        c.text = "c" + std::to_string(i);
        model.InsertColumn(i, c);
    }
    model.ShowColumn(3, 0);
    model.ShowColumn(1, 1);
    EXPECT_EQ(ChooserColumns(model, nullptr), (std::vector<int>{0, 2, 4}));
    EXPECT_EQ(ChooserColumns(model, [](int column) { return column != 2; }), (std::vector<int>{0, 4}));
    model.HideColumn(3);
    EXPECT_EQ(ChooserColumns(model, nullptr), (std::vector<int>{0, 2, 3, 4}));
    model.HideColumn(1);
    model.DeleteColumn(0);
    EXPECT_EQ(ChooserColumns(model, nullptr), (std::vector<int>{0, 1, 2, 3})) << "indexes follow the deletion";
    for (int i = 0; i < 4; ++i)
        model.ShowColumn(i, i);
    EXPECT_TRUE(ChooserColumns(model, nullptr).empty()) << "every column shown";
}

TEST(ChooserDropPosition, Table)
{
    struct Case
    {
        const char* what;
        int shown, divider, expected;
    };
    const Case cases[] = {
        {"no shown column, no divider: position 0", 0, -1, 0},
        {"no shown column, a stale divider: still 0", 0, 3, 0},
        {"a divider left of the first column", 2, 0, 0},
        {"a divider between columns", 3, 2, 2},
        {"the divider right of the last column", 3, 3, 3},
        {"no divider marked: stays hidden", 3, -1, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooserDropPosition(c.shown, c.divider), c.expected) << c.what;
}

TEST(CopyCaption, CutToTheBufferWithATerminator)
{
    const std::string lead2 = "\xB5\xDA";  // one double-byte character
    struct Case
    {
        const char* what;
        std::string text;
        size_t expected;
    };
    const Case cases[] = {
        {"short text whole", "Score", 5},
        {"79 bytes fit exactly", std::string(79, 'a'), 79},
        {"80 bytes lose the last", std::string(80, 'a'), 79},
        {"a long text is cut", std::string(300, 'x'), 79},
        {"a double-byte character across the cut is left out", std::string(78, 'a') + lead2, 78},
        {"double-byte characters up to the cut", std::string(77, 'a') + lead2 + "zz", 79},
        {"a lone lead byte at the end stays", std::string(10, 'a') + "\xB5", 11},
        {"empty", "", 0},
        {"text ends at an inner zero", std::string("ab\0cd", 5), 2},
    };
    for (const Case& c : cases) {
        char buffer[80 + 8];
        memset(buffer, 0x7F, sizeof buffer);
        EXPECT_EQ(CopyCaption(c.text, buffer, 80), c.expected) << c.what;
        EXPECT_EQ(buffer[c.expected], 0) << c.what;
        EXPECT_EQ(std::string(buffer, c.expected), c.text.substr(0, c.expected)) << c.what;
        for (size_t i = 80; i < sizeof buffer; ++i)
            EXPECT_EQ(buffer[i], 0x7F) << c.what << ": nothing written past the buffer";
    }
    char one[1] = {'q'};
    EXPECT_EQ(CopyCaption("abc", one, 1), 0u);
    EXPECT_EQ(one[0], 0) << "a one-byte buffer holds the terminator";
    EXPECT_EQ(CopyCaption("abc", nullptr, 80), 0u);
}

}  // namespace
