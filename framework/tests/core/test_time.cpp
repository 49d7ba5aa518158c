// CTime / CTimeSpan: construction from fields, formatting, arithmetic.
#include <gtest/gtest.h>

#include "afx.h"

TEST(FrameworkTime, FieldsAndFormat)
{
    CTime t(2008, 3, 9, 7, 5, 3);
    ASSERT_TRUE(t.IsValid());
    EXPECT_EQ(2008, t.GetYear());
    EXPECT_EQ(3, t.GetMonth());
    EXPECT_EQ(9, t.GetDay());
    EXPECT_EQ(7, t.GetHour());
    EXPECT_EQ(5, t.GetMinute());
    EXPECT_EQ(3, t.GetSecond());
    EXPECT_EQ(1, t.GetDayOfWeek());             // a Sunday

    struct Case { const char* format; const char* expected; };
    const Case cases[] = {
        {"%Y-%m-%d %H:%M:%S", "2008-03-09 07:05:03"},
        {"%Y%m%d%H%M%S", "20080309070503"},
        {"%y/%j %I%p", "08/069 07AM"},
        {"%Y年%m月%d日", "2008年03月09日"},          // double-byte text passes through
        {"100%%", "100%"},
        {"%Q %", "%Q %"},                        // unknown conversions stay as written
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CString(c.expected), t.Format(c.format)) << c.format;
}

TEST(FrameworkTime, ConversionsAndArithmetic)
{
    CTime t(2010, 12, 31, 23, 59, 30);
    CTime later = t + CTimeSpan(0, 0, 1, 0);
    EXPECT_EQ(2011, later.GetYear());
    EXPECT_EQ("2011-01-01 00:00:30", later.Format("%Y-%m-%d %H:%M:%S"));
    EXPECT_EQ(60, (later - t).GetTotalSeconds());
    EXPECT_TRUE(later > t);

    SYSTEMTIME st;
    ASSERT_TRUE(t.GetAsSystemTime(st));
    EXPECT_EQ(2010, st.wYear);
    EXPECT_EQ(59, st.wMinute);
    EXPECT_EQ(t, CTime(st));

    // File times are UTC: the epoch itself, and one day after it.
    FILETIME ft;
    ULARGE_INTEGER ticks;
    ticks.QuadPart = 116444736000000000ULL + 86400ULL * 10000000ULL;
    ft.dwLowDateTime = ticks.LowPart;
    ft.dwHighDateTime = ticks.HighPart;
    EXPECT_EQ(86400, CTime(ft).GetTime());
    EXPECT_EQ("1970-01-02 00:00", CTime(ft).FormatGmt("%Y-%m-%d %H:%M"));

    CTime now = CTime::GetCurrentTime();
    EXPECT_GT(now.GetYear(), 2020);
}

TEST(FrameworkTime, ImpossibleDatesGiveAnInvalidTime)
{
    const int bad[][6] = {{1899, 1, 1, 0, 0, 0}, {2008, 13, 1, 0, 0, 0}, {2008, 0, 1, 0, 0, 0},
                          {2008, 1, 0, 0, 0, 0}, {2008, 1, 1, 24, 0, 0}, {2008, 1, 1, 0, 60, 0},
                          {2008, 1, 1, 0, 0, -1}};
    for (const auto& f : bad) {
        CTime t(f[0], f[1], f[2], f[3], f[4], f[5]);
        EXPECT_FALSE(t.IsValid()) << f[0] << "-" << f[1] << "-" << f[2];
        EXPECT_EQ("", t.Format("%Y"));
        EXPECT_EQ(0, t.GetYear());
    }
}

TEST(FrameworkTime, SpanParts)
{
    CTimeSpan span(2, 3, 4, 5);
    EXPECT_EQ(2, span.GetDays());
    EXPECT_EQ(51, span.GetTotalHours());
    EXPECT_EQ(3, span.GetHours());
    EXPECT_EQ(4, span.GetMinutes());
    EXPECT_EQ(5, span.GetSeconds());
    EXPECT_EQ(2 * 86400 + 3 * 3600 + 4 * 60 + 5, span.GetTotalSeconds());
    EXPECT_EQ("2 days 03:04:05 100% %x", span.Format("%D days %H:%M:%S 100%% %x"));
}
