// The seat-to-view mapping, the launch chair and the room settings.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "SeatViews.h"

namespace {

TEST(SeatViewsTest, Mapping)
{
    struct Case {
        const char* what;
        int chair, count, direction;
        int views[5];
    };
    const Case cases[] = {
        {"direction 0 from chair 0", 0, 5, 0, {0, 1, 2, 3, 4}},
        {"direction 0 from chair 3", 3, 5, 0, {3, 4, 0, 1, 2}},
        {"direction 1 from chair 2: position 1 seat 1, position 4 seat 3", 2, 5, 1, {2, 1, 0, 4, 3}},
        {"any direction but 0 turns the other way", 0, 5, 7, {0, 4, 3, 2, 1}},
        {"a count of 0 is taken as five", 4, 0, 0, {4, 0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        int views[5];
        ComputeSeatViews(c.chair, c.count, c.direction, views);
        for (int p = 0; p < 5; ++p)
            EXPECT_EQ(views[p], c.views[p]) << c.what << " position " << p;
        for (int p = 0; p < 5; ++p)
            EXPECT_EQ(ViewOfSeat(views, views[p]), p) << c.what;
    }
    int views[5] = {0, 1, 2, 3, 4};
    EXPECT_EQ(ViewOfSeat(views, 5), -1);
}

TEST(SeatViewsTest, LaunchChair)
{
    struct Case {
        const char* what;
        uint32_t chair;
        bool ok, watching;
        int seat;
    };
    const Case cases[] = {
        {"the first seat", 0, true, false, 0},
        {"chair 4 plays", 4, true, false, 4},
        {"chair 5 watches seat 0 (never a sixth seat)", 5, true, true, 0},
        {"launch chair 7 (zero-based 6) watches seat 1", 6, true, true, 1},
        {"chair 9 watches seat 4", 9, true, true, 4},
        {"chair 10 is no chair", 10, false, false, 0},
    };
    for (const Case& c : cases) {
        bool watching = false;
        int seat = -1;
        EXPECT_EQ(ResolveLaunchChair(c.chair, &watching, &seat), c.ok) << c.what;
        if (c.ok) {
            EXPECT_EQ(watching, c.watching) << c.what;
            EXPECT_EQ(seat, c.seat) << c.what;
        }
    }
}

TEST(SeatViewsTest, RoomSettings)
{
    struct Case {
        const char* what;
        const char* text;
        int personalData;
        int32_t settings[10];
    };
    const Case cases[] = {
        {"ten values as given", "1,2,3,4,5,6,7,8,9,2", 1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 2}},
        {"a tenth value of 1 becomes the personal-data choice", "1,2,3,4,5,6,7,8,9,1", 3,
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 3}},
        {"a personal-data choice of -1 then clears the first eight", "1,2,3,4,5,6,7,8,9,1", -1,
         {0, 0, 0, 0, 0, 0, 0, 0, 9, -1}},
        {"a tenth value below 1 clears the first eight", "1,2,3,4,5,6,7,8,9,0", 1,
         {0, 0, 0, 0, 0, 0, 0, 0, 9, 0}},
        {"a sixth value of 0 clears the seventh", "1,2,3,4,5,0,7,8,9,2", 1, {1, 2, 3, 4, 5, 0, 0, 8, 9, 2}},
        {"missing values are 0", "1,2", 1, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"twenty-six values: only ten are read", "1,1,1,1,1,1,1,1,1,2,9,9,9,9,9,9,9,9,9,9,9,9,9,9,9,9", 1,
         {1, 1, 1, 1, 1, 1, 1, 1, 1, 2}},
        {"not a number stops the reading", "4,x,5", 1, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        int32_t settings[10];
        ParseRoomSettings(c.text, strlen(c.text), c.personalData, settings);
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(settings[i], c.settings[i]) << c.what << " value " << i + 1;
    }
    // The text from the server need not end: only its length is read.
    const char unterminated[4] = {'3', ',', '4', ','};
    int32_t settings[10];
    ParseRoomSettings(unterminated, sizeof unterminated, 1, settings);
    EXPECT_EQ(settings[0], 0) << "tenth value 0 clears the first eight";
    EXPECT_EQ(settings[9], 0);
    const std::string full = "5,6,7,8,9,1,2,3,4,2";
    ParseRoomSettings(full.data(), 3, 1, settings);
    EXPECT_EQ(settings[0], 0) << "only the first three bytes are read";
}

TEST(SeatViewsTest, SeatRecords)
{
    const SeatPlayer players[] = {
        {"carol", "Carol", 2}, {"bob", "Bob", 1}, {"alice", "Alice", 0}, {"ghost", "Ghost", 7},
        {"twin", "Twin", 1}, {"a-very-long-user-name-indeed", "N", 4},
    };
    SeatLayoutRecord records[5];
    FillSeatRecords(players, 6, records);
    EXPECT_STREQ(records[0].userName, "alice");
    EXPECT_STREQ(records[1].userName, "bob") << "the first player of a chair keeps it";
    EXPECT_STREQ(records[2].nickName, "Carol");
    EXPECT_STREQ(records[3].userName, "") << "an empty chair";
    EXPECT_EQ(strlen(records[4].userName), 19u) << "names are cut and terminated";
    for (int s = 0; s < 5; ++s)
        EXPECT_EQ(records[s].chair, s);
    FillSeatRecords(players, 2, records);
    EXPECT_STREQ(records[0].userName, "") << "only the players given are read";
}

}  // namespace
