// The list's pattern matcher: "*" and "?", letter case, the run after a last
// "*" found anywhere, "?" at the end of the text, empty texts and patterns,
// double-byte characters; and the list's select-by-pattern built on it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ODListModel.h"
#include "ODWildcard.h"

namespace {

using namespace odlist;

TEST(Wildcard, MatchTable)
{
    struct Case
    {
        const char* what;
        const char* text;
        const char* pattern;
        bool match;
    };
    const Case cases[] = {
        {"prefix and star", "Player", "pla*", true},
        {"prefix and star, other case", "PLAYER", "Pla*", true},
        {"prefix and star on the prefix alone", "pla", "pla*", true},
        {"prefix and star, other prefix", "plank", "ple*", false},
        {"question mark takes one character", "cat", "c?t", true},
        {"question mark takes exactly one", "coat", "c?t", false},
        {"no wildcard: the same text", "Table", "table", true},
        {"no wildcard: a longer text", "Tables", "table", false},
        {"no wildcard: a shorter text", "Tabl", "table", false},
        {"leading star: the run at the end", "my table", "*table", true},
        {"leading star: the run in the middle", "tablecloth", "*ble", true},
        {"leading star: the run at the start", "blend", "*ble", true},
        {"leading star: the run absent", "tabel", "*ble", false},
        {"star between: the run after it found anywhere", "abcd", "a*bc", true},
        {"star between: the text must begin with the prefix", "xabc", "a*bc", false},
        {"a later occurrence of the run matches", "abxbcd", "*b?d", true},
        {"a later occurrence for an inner star", "a-b-c-d", "a*-d", true},
        {"a run followed by a wildcard fixes the end", "abcx", "*bc?", true},
        {"...and the text may not go on", "abcxy", "*bc?", false},
        {"star takes the rest of the text", "abc", "*?", true},
        {"trailing question mark, no character left", "ab", "ab?", true},
        {"two trailing question marks, no character left", "a", "a??", true},
        {"question mark then a letter, no character left", "a", "a?b", false},
        {"empty text, empty pattern", "", "", true},
        {"empty text, star", "", "*", true},
        {"empty text, stars and question marks", "", "**?*", true},
        {"empty text, star then a run", "", "*abc", false},
        {"empty text, a letter", "", "a", false},
        {"text, empty pattern", "a", "", false},
        {"text, star", "anything at all", "*", true},
        {"star and question marks only", "abc", "?*?", true},
        {"more question marks than characters end the text", "ab", "???", true},
        {"several stars", "the quick brown fox", "*quick*fox", true},
        {"several stars in the wrong order", "the quick brown fox", "*fox*quick", false},
        {"digits and punctuation compare as they are", "v1.2", "v?.2", true},
        {"question mark takes a two-byte character whole", "\xC5\xC6\xBE\xD6", "?\xBE\xD6", true},
        {"one question mark is not two characters", "\xC5\xC6\xBE\xD6", "?", false},
        {"a two-byte character is not lowered", "\xC5\x41", "\xC5\x61", false},
        {"two-byte characters match themselves", "\xC5\x41x", "\xC5\x41?", true},
        {"a run after a star may be two-byte", "\xD7\xC0\xC5\xC6", "*\xC5\xC6", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WildcardMatch(c.text, c.pattern), c.match) << c.what;
    EXPECT_TRUE(WildcardMatch(nullptr, nullptr)) << "null is taken as the empty text";
    EXPECT_TRUE(WildcardMatch(nullptr, "*"));
    EXPECT_FALSE(WildcardMatch("a", nullptr));
}

class NoHost : public ListHost
{
public:
    intptr_t Notify(Notification&) override { return 0; }
};

TEST(Wildcard, SelectByPatternSelectsTheMatchingRows)
{
    ListModel model;
    NoHost host;
    model.SetHost(&host);
    ColumnInfo column;
    column.flags = kColumnHasText;
    column.text = "Name";
    column.width = 100;
    model.InsertColumn(0, column);
    model.InsertColumn(1, column);
    model.ShowColumn(0, 0);
    model.ShowColumn(1, 1);
    const char* names[] = {"Alice", "bob", "ALEX", "carol", "al"};
    for (const char* name : names) {
        const int item = model.InsertItem(name);
        model.SetItemText(item, 1, "x");
    }
    auto selected = [&model] {
        std::vector<std::string> out;
        for (int row : model.GetSelectedRows())
            out.push_back(model.GetItemText(model.DisplayToItem(row), 0));
        return out;
    };
    struct Case
    {
        const char* what;
        int column;
        const char* pattern;
        bool extend;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"a prefix in any case", 0, "al*", false, {"Alice", "ALEX", "al"}},
        {"replaces the selection", 0, "?o?", false, {"bob"}},
        {"extends it", 0, "c*", true, {"bob", "carol"}},
        {"nothing matches: the selection is cleared", 0, "z*", false, {}},
        {"another column", 1, "X", false, {"Alice", "bob", "ALEX", "carol", "al"}},
    };
    for (const Case& c : cases) {
        model.SelectByPattern(c.column, c.pattern, c.extend);
        EXPECT_EQ(selected(), c.expected) << c.what;
        EXPECT_EQ(model.CheckInvariants(), "") << c.what;
    }
}

}  // namespace
