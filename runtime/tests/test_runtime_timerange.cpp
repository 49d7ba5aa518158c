// The time-window list with an injected clock.
#include "TimeRangeList.h"

#include <gtest/gtest.h>

namespace {

SYSTEMTIME Moment(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    SYSTEMTIME t = {};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    return t;
}

SYSTEMTIME g_now;

void WINAPI TestClock(SYSTEMTIME* now)
{
    *now = g_now;
}

class TimeRanges : public ::testing::Test {
protected:
    TimeRanges() { m_list.SetClock(TestClock); }
    CTimeRangeList::Position Where(const SYSTEMTIME& moment) const
    {
        return CTimeRangeList::Compare(*m_list.GetEntry(0), moment);
    }

    CTimeRangeList m_list;
};

TEST_F(TimeRanges, OnePeriod)
{
    ASSERT_EQ(m_list.Parse("2008/1/1-2008/12/31", 7, FALSE), 1);
    const TimeRangeEntry& entry = *m_list.GetEntry(0);
    EXPECT_EQ(entry.kind, 1u);
    EXPECT_EQ(entry.end.wHour, 23);
    EXPECT_EQ(entry.end.wSecond, 59);
    uint32_t value = 0;
    const SYSTEMTIME june = Moment(2008, 6, 1, 12);
    EXPECT_EQ(m_list.IsInside(&june, &value), 1);
    EXPECT_EQ(value, 7u);
    EXPECT_EQ(Where(Moment(2007, 12, 31, 23, 59, 59)), CTimeRangeList::Before);
    EXPECT_EQ(Where(Moment(2008, 12, 31, 23, 59, 59)), CTimeRangeList::Inside);
    EXPECT_EQ(Where(Moment(2009, 1, 1)), CTimeRangeList::After);
}

TEST_F(TimeRanges, OnePeriodWithTimes)
{
    ASSERT_EQ(m_list.Parse("2008.1.5 8:30-2008.1.6 20", 1, FALSE), 1);
    EXPECT_EQ(Where(Moment(2008, 1, 5, 8, 29, 59)), CTimeRangeList::Before);
    EXPECT_EQ(Where(Moment(2008, 1, 5, 8, 30)), CTimeRangeList::Inside);
    EXPECT_EQ(Where(Moment(2008, 1, 6, 20, 59, 59)), CTimeRangeList::Inside);   // end 20:59:59
    EXPECT_EQ(Where(Moment(2008, 1, 6, 21)), CTimeRangeList::After);
}

TEST_F(TimeRanges, DaysWithADailyWindow)
{
    ASSERT_EQ(m_list.Parse("2008/1/1-2008/1/31,20:00-22:00", 3, FALSE), 1);
    EXPECT_EQ(m_list.GetEntry(0)->kind, 2u);
    EXPECT_EQ(Where(Moment(2008, 1, 10, 21)), CTimeRangeList::Inside);
    EXPECT_EQ(Where(Moment(2008, 1, 10, 19)), CTimeRangeList::Before);
    EXPECT_EQ(Where(Moment(2008, 1, 10, 22, 30)), CTimeRangeList::Before);   // the next evening is to come
    EXPECT_EQ(Where(Moment(2008, 1, 31, 22, 30)), CTimeRangeList::After);
    EXPECT_EQ(Where(Moment(2008, 2, 1, 21)), CTimeRangeList::After);
    EXPECT_EQ(Where(Moment(2007, 12, 31, 21)), CTimeRangeList::Before);

    g_now = Moment(2008, 1, 10, 22, 30);
    EXPECT_EQ(m_list.IsAllOver(), 0);
    g_now = Moment(2008, 1, 31, 22, 30);
    EXPECT_EQ(m_list.IsAllOver(), 1);
}

TEST_F(TimeRanges, TextsThatParseAndTextsThatFail)
{
    const struct {
        const char* text;
        int ok;
    } cases[] = {
        {"08/3/1-08/3/2", 1},
        {"2008/13/1-2008/12/31", 0},              // month 13
        {"2008/1/0-2008/12/31", 0},               // day 0
        {"2008/1/1-2008/1/2,25:00-26:00", 0},     // hour 25
        {"2008/1/1-2008/1/2,24:00-24:60", 1},     // hour 24 and minute 60 pass
        {"2008/1/1-2008/1/2,20:00-22:00:61", 0},
        {"10001/1/1-10001/1/2", 0},               // year above 10000
        {"2008/1/1", 0},                          // no end
        {"", 0},
        {"-2008/1/1", 0},                         // empty start
        {"2008/1/1-2008/1/2,", 1},                // empty times keep their defaults
        {"2008/1/1,20:00-22:00", 0},              // no end date
        {"2008/1/1 - 2008/1/2", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(m_list.Parse(c.text, 0, FALSE), c.ok) << c.text;
    EXPECT_EQ(m_list.GetEntry(0)->start.wYear, 2008);
    EXPECT_EQ(m_list.GetEntry(0)->end.wDay, 2);
}

TEST_F(TimeRanges, DefaultsAndLongTexts)
{
    ASSERT_EQ(m_list.Parse("2008-2009", 0, FALSE), 1);   // whole years
    EXPECT_EQ(Where(Moment(2008, 1, 1)), CTimeRangeList::Inside);
    EXPECT_EQ(Where(Moment(2009, 12, 31, 23, 59, 59)), CTimeRangeList::Inside);
    m_list.Clear();
    ASSERT_EQ(m_list.Parse("2008/6-2009/2", 5, FALSE), 1);
    const TimeRangeEntry& entry = *m_list.GetEntry(0);
    EXPECT_EQ(entry.start.wMonth, 6);
    EXPECT_EQ(entry.start.wDay, 1);
    EXPECT_EQ(entry.end.wMonth, 2);
    EXPECT_EQ(entry.end.wDay, 31);   // missing parts keep their defaults

    std::string longText = "2008/1/1-2008/1/2" + std::string(200, ' ') + "9";
    EXPECT_EQ(m_list.Parse(longText.c_str(), 0, FALSE), 1);   // only the first 127 bytes are read
}

TEST_F(TimeRanges, RejectPast)
{
    g_now = Moment(2008, 6, 1, 12);
    EXPECT_EQ(m_list.Parse("2008/1/1-2008/5/31", 0, TRUE), 0);            // ended before today
    EXPECT_EQ(m_list.Parse("2008/1/1-2008/6/1 10:00", 0, TRUE), 1);       // ends today: kept
    EXPECT_EQ(m_list.Parse("2008/7/2-2008/7/1", 0, TRUE), 0);             // start after end
    EXPECT_EQ(m_list.Parse("2008/7/1 10:00-2008/7/1 9:00", 0, TRUE), 0);  // same day, times reversed
    EXPECT_EQ(m_list.Parse("2008/7/1 10:00-2008/7/1 9:00", 0, FALSE), 1);
    EXPECT_EQ(m_list.GetCount(), 2);
}

TEST_F(TimeRanges, SeparatorsFirstMatchAndGrowth)
{
    CTimeRangeList list(1, 1);
    list.SetClock(TestClock);
    list.m_listSeparator = '&';
    ASSERT_EQ(list.Parse("2008/1/1-2008/1/31&20:00-22:00", 1, FALSE), 1);
    ASSERT_EQ(list.Parse("2008/1/1-2008/12/31", 2, FALSE), 1);
    for (int i = 0; i < 20; ++i)
        ASSERT_EQ(list.Parse("2009/1/1-2009/1/2", 100 + i, FALSE), 1);
    EXPECT_EQ(list.GetCount(), 22);
    uint32_t value = 0;
    SYSTEMTIME evening = Moment(2008, 1, 10, 21);
    EXPECT_EQ(list.IsInside(&evening, &value), 1);
    EXPECT_EQ(value, 1u);   // the first entry that holds
    SYSTEMTIME morning = Moment(2008, 1, 10, 9);
    EXPECT_EQ(list.IsInside(&morning, &value), 1);
    EXPECT_EQ(value, 2u);
    g_now = Moment(2009, 1, 2, 12);
    EXPECT_EQ(list.IsInside(nullptr, &value), 1);   // the clock's now
    EXPECT_EQ(value, 100u);

    list.Clear();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.m_listSeparator, ',');
    EXPECT_EQ(list.m_rangeSeparator, '-');
}

TEST_F(TimeRanges, EmptyList)
{
    uint32_t value = 9;
    SYSTEMTIME moment = Moment(2008, 1, 1);
    EXPECT_EQ(m_list.IsInside(&moment, &value), 0);
    EXPECT_EQ(value, 9u);
    EXPECT_EQ(m_list.IsAllOver(), 1);
}

}  // namespace
