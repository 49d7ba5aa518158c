// The dialogs' decisions: the save prompt's countdown, the set-title
// dialog's pages, rows, icons and request throttle, which member links may
// be opened, and the setup dialog's enabling.
#include <gtest/gtest.h>

#include <vector>

#include "DialogRules.h"

namespace {

using namespace gamedlg;

TEST(PromptCountdownTest, ShowsThirtyToOneThenExpires)
{
    int left = kPromptSeconds;
    std::vector<int> shown;
    for (;;) {
        const CountdownTick tick = TickCountdown(left);
        if (tick.expired)
            break;
        shown.push_back(tick.shown);
        ASSERT_LE(shown.size(), 30u);
    }
    ASSERT_EQ(shown.size(), 30u);
    EXPECT_EQ(shown.front(), 30);
    EXPECT_EQ(shown.back(), 1);
    EXPECT_EQ(left, 0);
    // A count already below zero expires too and stays at 0.
    left = -4;
    EXPECT_TRUE(TickCountdown(left).expired);
    EXPECT_EQ(left, 0);
}

TEST(TitlePagesTest, RowsNewestFirst)
{
    struct Case {
        const char* what;
        int count;
        int page;
        std::vector<int> rows;   // record of rows 0..4, -1 for empty
        bool next;
        bool prev;
    };
    const Case cases[] = {
        {"7 titles, first page", 7, 0, {6, 5, 4, 3, 2}, true, false},
        {"7 titles, second page", 7, 1, {1, 0, -1, -1, -1}, false, true},
        {"5 titles fill one page", 5, 0, {4, 3, 2, 1, 0}, false, false},
        {"10 titles, second page", 10, 1, {4, 3, 2, 1, 0}, false, true},
        {"10 titles, a page past the end is empty", 10, 2, {-1, -1, -1, -1, -1}, false, true},
        {"no titles", 0, 0, {-1, -1, -1, -1, -1}, false, false},
        {"6 titles, first page", 6, 0, {5, 4, 3, 2, 1}, true, false},
        {"a negative page shows nothing", 7, -1, {-1, -1, -1, -1, -1}, true, false},
    };
    for (const Case& c : cases) {
        std::vector<int> rows;
        for (int r = 0; r < kTitlesPerPage; r++)
            rows.push_back(TitleRecordAt(c.count, c.page, r));
        EXPECT_EQ(rows, c.rows) << c.what;
        EXPECT_EQ(TitleNextEnabled(c.count, c.page), c.next) << c.what;
        EXPECT_EQ(TitlePrevEnabled(c.page), c.prev) << c.what;
    }
    EXPECT_EQ(TitleRecordAt(7, 0, 5), -1) << "only five rows";
    EXPECT_EQ(TitlePageCount(10), 2);
    EXPECT_EQ(TitlePageCount(11), 3);
}

TEST(TitlePagesTest, RowClickAreasAndIcons)
{
    struct Case {
        const char* what;
        int x, y, row;
    };
    // Row r: (388, 100 + 40r)-(457, 139 + 40r), right and bottom excluded.
    const Case cases[] = {
        {"first row's top-left", 388, 100, 0},
        {"first row's bottom-right pixel", 456, 138, 0},
        {"right edge excluded", 457, 100, -1},
        {"the gap under the first row", 400, 139, -1},
        {"second row", 400, 140, 1},
        {"last row's bottom pixel", 400, 298, 4},
        {"under the last row", 400, 299, -1},
        {"a sixth row does not exist", 400, 305, -1},
        {"left of the area", 387, 120, -1},
        {"above the rows", 400, 99, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TitleRowAt(c.x, c.y), c.row) << c.what;
    // Four icons of 23 centred in 133 from 239: (133 - 92) / 2 = 20 -> 259.
    EXPECT_EQ(TitleIconX(4, 0), 259);
    EXPECT_EQ(TitleIconX(4, 3), 328);
    // One icon: (133 - 23) / 2 = 55 -> 294.
    EXPECT_EQ(TitleIconX(1, 0), 294);
    EXPECT_EQ(TitleIconY(2), 188);
}

TEST(TitleRequestTest, SentOnlyForANewTitleAndNotTooOften)
{
    struct Case {
        const char* what;
        int chosen, current, count;
        uint32_t now, last;
        bool send;
    };
    const Case cases[] = {
        {"another title, never asked", 2, 1, 5, 1000, 0, true},
        {"the title in use", 1, 1, 5, 900000, 0, false},
        {"no title chosen", -1, 1, 5, 900000, 0, false},
        {"chosen index past the list", 5, 1, 5, 900000, 0, false},
        {"no current title yet", 0, -1, 5, 900000, 0, true},
        {"2 s after the last request", 2, 1, 5, 12000, 10000, false},
        {"exactly 3 s after", 2, 1, 5, 13000, 10000, false},
        {"3.001 s after", 2, 1, 5, 13001, 10000, true},
        {"across the tick counter's wrap, 1 s", 2, 1, 5, 500, 0xFFFFFE0C, false},
        {"across the tick counter's wrap, 4 s", 2, 1, 5, 3500, 0xFFFFFE0C, true},
    };
    for (const Case& c : cases) {
        TitleRequestCheck check;
        check.chosen = c.chosen;
        check.current = c.current;
        check.count = c.count;
        check.now = c.now;
        check.lastRequest = c.last;
        EXPECT_EQ(ShouldSendTitleRequest(check), c.send) << c.what;
    }
}

TEST(WebAddressTest, OnlyHttpAndHttps)
{
    struct Case {
        const char* what;
        const char* address;
        bool ok;
    };
    const Case cases[] = {
        {"https", "https://shop.example/member?u=abc", true},
        {"http", "http://shop.example/", true},
        {"upper-case scheme", "HTTPS://shop.example/", true},
        {"a local file", "file:///C:/Windows/notepad.exe", false},
        {"a program", "C:\\Windows\\notepad.exe", false},
        {"a script", "javascript:alert(1)", false},
        {"nothing after the scheme", "https://", false},
        {"a blank inside (arguments)", "http://a.example/ -x", false},
        {"a control character", "http://a.example/\r\nx", false},
        {"scheme not at the start", " https://a.example/", false},
        {"empty", "", false},
        {"null", nullptr, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsWebAddress(c.address), c.ok) << c.what;
}

TEST(SetupEnablingTest, MusicFollowsSoundEffects)
{
    struct Case {
        const char* what;
        bool sound, music;
        bool musicEnabled, pickerEnabled;
    };
    const Case cases[] = {
        {"sound off, music off", false, false, false, false},
        {"sound off, music on", false, true, false, false},
        {"sound on, music off", true, false, true, false},
        {"sound on, music on", true, true, true, true},
    };
    for (const Case& c : cases) {
        const SetupEnabling e = SetupEnablingFor(c.sound, c.music);
        EXPECT_EQ(e.music, c.musicEnabled) << c.what;
        EXPECT_EQ(e.musicPicker, c.pickerEnabled) << c.what;
    }
}

}  // namespace
