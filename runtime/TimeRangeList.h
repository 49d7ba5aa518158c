// A list of date/time windows parsed from short texts, each with a caller's
// value: which window holds a moment, and whether all of them are over.
//
// Texts (with the default separators '-' and ','):
//   "2008/1/1-2008/12/31"            one period, start 0:00:00, end 23:59:59
//   "2008/1/1 8:00-2008/1/2 20:30"   one period with times
//   "2008/1/1-2008/1/31,20:00-22:00" the days of a period, each from 20:00 to
//                                    22:00
// Dates are year (two digits add 2000), month and day separated by any
// characters but the range separator ("2008/1/5", "2008.1.5").
#pragma once

#include <windows.h>

#include <cstdint>

struct TimeRangeEntry {
    SYSTEMTIME start;    // year, month, day of week (unused), day, hour, minute, second, ms (unused)
    SYSTEMTIME end;
    uint32_t kind;       // 1 one period from start to end; 2 the days from start to end, each in a time window
    uint32_t value;      // the caller's value
};
static_assert(sizeof(TimeRangeEntry) == 40, "time range entry is 40 bytes");

class CTimeRangeList
{
public:
    enum Position { Before = -1, Inside = 0, After = 1 };
    typedef void(WINAPI* LocalTimeRoutine)(SYSTEMTIME*);

    // initialCapacity: entries allocated at the first add (4 when <= 0);
    // growStep: entries added when full (8 when < 1).
    CTimeRangeList(int initialCapacity = 4, int growStep = 8);
    ~CTimeRangeList();
    CTimeRangeList(const CTimeRangeList&) = delete;
    CTimeRangeList& operator=(const CTimeRangeList&) = delete;

    // Zeroes every entry, count 0, separators back to '-' and ','.
    void Clear();
    // Adds one entry from the text (its first 127 bytes). With rejectPast an
    // entry that is already over fails: its end date lies before today, its
    // start date after its end date, or on one day its start time after its end
    // time. 0 for a text that does not parse, a past entry or no memory.
    int Parse(const char* text, uint32_t value, BOOL rejectPast);
    // 1 with the value of the first entry holding the moment (null: the local
    // time now); 0 when none does or the list is empty.
    int IsInside(const SYSTEMTIME* moment, uint32_t* value);
    // 1 when the list is empty or every entry is over at the local time now.
    int IsAllOver();

    // Where a moment lies against an entry.
    static Position Compare(const TimeRangeEntry& entry, const SYSTEMTIME& moment);

    int GetCount() const { return m_count; }
    const TimeRangeEntry* GetEntry(int index) const
    {
        return index >= 0 && index < m_count ? &m_entries[index] : nullptr;
    }
    // The clock that gives the local time (GetLocalTime by default).
    void SetClock(LocalTimeRoutine routine) { m_clock = routine ? routine : GetLocalTime; }

    char m_rangeSeparator = '-';
    char m_listSeparator = ',';

private:
    bool MakeRoom();
    bool ParseInto(const char* text, TimeRangeEntry* entry) const;

    TimeRangeEntry* m_entries = nullptr;
    int m_capacity = 0;
    int m_initialCapacity;
    int m_growStep;
    int m_count = 0;
    LocalTimeRoutine m_clock = GetLocalTime;
};
