// Packed times, date texts and formats.
//
// Chinese literals are UTF-8 here and GBK at run time.
#include "DateTimeText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct tm Fields(int year, int month, int day, int hour, int minute)
{
    struct tm t;
    std::memset(&t, 0, sizeof(t));
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_isdst = -1;
    return t;
}

std::string FormatPacked(uint32_t packed)
{
    char text[32];
    FormatPackedTime(packed, text, sizeof(text));
    return text;
}

TEST(PackedTime, LayoutAndRoundTrip)
{
    const uint32_t packed = PackTime(Fields(2008, 3, 5, 14, 30));
    EXPECT_EQ(packed, 30u | (14u << 6) | (5u << 12) | (3u << 18) | (8u << 24));
    struct tm back;
    ASSERT_TRUE(UnpackTime(packed, &back));
    EXPECT_EQ(back.tm_year, 108);     // the year comes back as it went in
    EXPECT_EQ(back.tm_mon, 2);
    EXPECT_EQ(back.tm_mday, 5);
    EXPECT_EQ(back.tm_hour, 14);
    EXPECT_EQ(back.tm_min, 30);
    EXPECT_EQ(FormatPacked(packed), "2008-03-05 14:30:00");

    EXPECT_EQ(PackTime(Fields(1999, 12, 31, 23, 59)), 0u);   // before 2000: no room
    EXPECT_EQ(PackTime(Fields(2255, 12, 31, 23, 59)) >> 24, 255u);
    EXPECT_FALSE(UnpackTime(0, &back));

    const time_t moment = TimeTFromText("2010-07-08 09:10");
    ASSERT_NE(moment, static_cast<time_t>(-1));
    EXPECT_EQ(PackedTimeToTimeT(PackedTimeFromTimeT(moment)), moment);
    EXPECT_EQ(PackedTimeToTimeT(0), static_cast<time_t>(-1));
}

TEST(DateTimeText, Parsing)
{
    const struct {
        const char* text;
        bool ok;
        int year, month, day, hour, minute;
    } cases[] = {
        {"2008-03-05 14:30", true, 2008, 3, 5, 14, 30},
        {"08/3/5", true, 2008, 3, 5, 0, 0},
        {"2008年3月5日 8点5分", true, 2008, 3, 5, 8, 5},
        {"2008-13-01", false, 0, 0, 0, 0, 0},
        {"2008-02", false, 0, 0, 0, 0, 0},
        {"2008-1-1 24:00", false, 0, 0, 0, 0, 0},
        {"2008-1-0", false, 0, 0, 0, 0, 0},
        {"", false, 0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        struct tm t;
        ASSERT_EQ(ParseDateTimeText(c.text, &t) != FALSE, c.ok);
        if (!c.ok)
            continue;
        EXPECT_EQ(t.tm_year + 1900, c.year);
        EXPECT_EQ(t.tm_mon + 1, c.month);
        EXPECT_EQ(t.tm_mday, c.day);
        EXPECT_EQ(t.tm_hour, c.hour);
        EXPECT_EQ(t.tm_min, c.minute);
    }
    EXPECT_EQ(PackedTimeFromText("2008-03-05 14:30"), PackTime(Fields(2008, 3, 5, 14, 30)));
    EXPECT_EQ(PackedTimeFromText("bad"), 0u);
    EXPECT_EQ(YmdhmFromText("08-03-05 14:30"), 803051430u);
    EXPECT_EQ(YmdhmFromText("2042-12-31 23:59"), 4212312359u);
    EXPECT_EQ(YmdhmFromText("2043-01-01"), 0u);   // does not fit 32 bits
    EXPECT_EQ(TimeTFromText("x"), static_cast<time_t>(-1));
}

TEST(DateTimeText, Formats)
{
    char text[32];
    FormatYmdhm(803051430u, text, sizeof(text));
    EXPECT_STREQ(text, "2008-03-05 14:30:00");
    FormatTimeT(TimeTFromText("2008-03-05 14:30"), text, sizeof(text));
    EXPECT_STREQ(text, "2008-03-05 14:30:00");
    FormatTimeT(TimeTFromText("2008-03-05 14:30"), text, 11);
    EXPECT_STREQ(text, "2008-03-05");

    SYSTEMTIME time = {};
    time.wYear = 2008;
    time.wMonth = 3;
    time.wDay = 5;
    time.wHour = 7;
    time.wMinute = 8;
    time.wSecond = 9;
    const struct {
        const char* pattern;
        size_t size;
        const char* text;
    } cases[] = {
        {"YYYY-MM-DD hh:mm:ss", 32, "2008-03-05 07:08:09"},
        {"Y/M/D", 32, "2008/03/05"},
        {"YYYY年MM月DD日", 32, "2008年03月05日"},
        {"YYYY年", 6, "2008"},   // cut before a double-byte character, not inside it
        {"x", 32, "x"},
    };
    for (const auto& c : cases) {
        FormatTimeByLetters(c.pattern, time, text, c.size);
        EXPECT_STREQ(text, c.text) << c.pattern;
    }
    FormatLocalTimeByLetters("YYYY", text, sizeof(text));
    EXPECT_EQ(std::strlen(text), 4u);
}

}  // namespace
