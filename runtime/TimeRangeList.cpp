#include "TimeRangeList.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const size_t kMaxText = 127;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads the decimal number at p (capped, so a long run of digits can't
// overflow) and moves p past it.
int ReadNumber(const char*& p)
{
    int value = 0;
    for (; IsDigit(*p); ++p) {
        if (value < 100000)
            value = value * 10 + (*p - '0');
    }
    return value;
}

// Moves p past non-digits; false at the end of the text.
bool SkipToNumber(const char*& p)
{
    while (*p && !IsDigit(*p))
        ++p;
    return *p != 0;
}

// Year, month and day into t; missing month and day keep what t holds.
bool ParseDate(const char* text, SYSTEMTIME* t)
{
    const char* p = text;
    while (*p == ' ')
        ++p;
    if (!IsDigit(*p))
        return false;
    int year = ReadNumber(p);
    if (year > 10000)
        return false;
    if (year < 100)
        year += 2000;
    t->wYear = static_cast<WORD>(year);
    if (SkipToNumber(p)) {
        const int month = ReadNumber(p);
        if (month < 1 || month > 12)
            return false;
        t->wMonth = static_cast<WORD>(month);
        if (SkipToNumber(p)) {
            const int day = ReadNumber(p);
            if (day < 1 || day > 31)
                return false;
            t->wDay = static_cast<WORD>(day);
        }
    }
    return true;
}

// Hour, minute and second into t; missing parts keep what t holds. An empty
// text is valid.
bool ParseTime(const char* text, SYSTEMTIME* t)
{
    const char* p = text;
    WORD* fields[3] = {&t->wHour, &t->wMinute, &t->wSecond};
    const int limits[3] = {24, 60, 60};
    for (int i = 0; i < 3 && SkipToNumber(p); ++i) {
        const int value = ReadNumber(p);
        if (value > limits[i])
            return false;
        *fields[i] = static_cast<WORD>(value);
    }
    return true;
}

void SetDefaults(TimeRangeEntry* entry)
{
    entry->start.wMonth = 1;
    entry->start.wDay = 1;
    entry->end.wMonth = 12;
    entry->end.wDay = 31;
    entry->end.wHour = 23;
    entry->end.wMinute = 59;
    entry->end.wSecond = 59;
}

// Splits "date[ time]" (after leading spaces) at its first space.
bool ParseDateAndTime(const std::string& side, SYSTEMTIME* t)
{
    const size_t begin = side.find_first_not_of(' ');
    if (begin == std::string::npos)
        return false;
    const size_t space = side.find(' ', begin);
    const std::string date = side.substr(begin, space == std::string::npos ? std::string::npos : space - begin);
    const std::string time = space == std::string::npos ? std::string() : side.substr(space + 1);
    return ParseDate(date.c_str(), t) && ParseTime(time.c_str(), t);
}

int CompareDates(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    if (a.wYear != b.wYear)
        return a.wYear < b.wYear ? -1 : 1;
    if (a.wMonth != b.wMonth)
        return a.wMonth < b.wMonth ? -1 : 1;
    if (a.wDay != b.wDay)
        return a.wDay < b.wDay ? -1 : 1;
    return 0;
}

int CompareTimes(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    if (a.wHour != b.wHour)
        return a.wHour < b.wHour ? -1 : 1;
    if (a.wMinute != b.wMinute)
        return a.wMinute < b.wMinute ? -1 : 1;
    if (a.wSecond != b.wSecond)
        return a.wSecond < b.wSecond ? -1 : 1;
    return 0;
}

}  // namespace

CTimeRangeList::CTimeRangeList(int initialCapacity, int growStep)
    : m_initialCapacity(initialCapacity <= 0 ? 4 : initialCapacity), m_growStep(growStep < 1 ? 8 : growStep)
{
}

CTimeRangeList::~CTimeRangeList()
{
    std::free(m_entries);
    m_entries = nullptr;
    m_count = 0;
    m_capacity = 0;
}

void CTimeRangeList::Clear()
{
    if (m_entries)
        std::memset(m_entries, 0, sizeof(TimeRangeEntry) * static_cast<size_t>(m_capacity));
    m_count = 0;
    m_rangeSeparator = '-';
    m_listSeparator = ',';
}

bool CTimeRangeList::MakeRoom()
{
    if (m_count < m_capacity)
        return true;
    const int capacity = m_entries ? m_capacity + m_growStep : m_initialCapacity;
    void* grown = std::realloc(m_entries, sizeof(TimeRangeEntry) * static_cast<size_t>(capacity));
    if (!grown)
        return false;
    m_entries = static_cast<TimeRangeEntry*>(grown);
    std::memset(m_entries + m_capacity, 0, sizeof(TimeRangeEntry) * static_cast<size_t>(capacity - m_capacity));
    m_capacity = capacity;
    return true;
}

bool CTimeRangeList::ParseInto(const char* text, TimeRangeEntry* entry) const
{
    const std::string whole(text, strnlen(text, kMaxText));
    SetDefaults(entry);
    const size_t list = m_listSeparator ? whole.find(m_listSeparator) : std::string::npos;
    if (list != std::string::npos) {
        // "start date-end date,start time-end time": the days of a period.
        entry->kind = 2;
        const std::string dates = whole.substr(0, list);
        const std::string times = whole.substr(list + 1);
        const size_t dateSplit = dates.find(m_rangeSeparator);
        const size_t timeSplit = times.find(m_rangeSeparator);
        if (dateSplit == std::string::npos)
            return false;
        return ParseDate(dates.substr(0, dateSplit).c_str(), &entry->start) &&
               ParseDate(dates.substr(dateSplit + 1).c_str(), &entry->end) &&
               ParseTime(times.substr(0, timeSplit).c_str(), &entry->start) &&
               (timeSplit == std::string::npos || ParseTime(times.substr(timeSplit + 1).c_str(), &entry->end));
    }
    // "start date[ time]-end date[ time]": one period.
    entry->kind = 1;
    const size_t split = whole.find(m_rangeSeparator);
    if (split == std::string::npos)
        return false;
    std::string endSide = whole.substr(split + 1);
    const size_t firstDigit = endSide.find_first_of("0123456789");
    endSide = firstDigit == std::string::npos ? std::string() : endSide.substr(firstDigit);
    return ParseDateAndTime(whole.substr(0, split), &entry->start) && ParseDateAndTime(endSide, &entry->end);
}

int CTimeRangeList::Parse(const char* text, uint32_t value, BOOL rejectPast)
{
    if (!text || !MakeRoom())
        return 0;
    TimeRangeEntry* entry = &m_entries[m_count];
    std::memset(entry, 0, sizeof(*entry));
    if (!ParseInto(text, entry)) {
        std::memset(entry, 0, sizeof(*entry));
        return 0;
    }
    if (rejectPast) {
        SYSTEMTIME today;
        m_clock(&today);
        const int span = CompareDates(entry->start, entry->end);
        if (CompareDates(entry->end, today) < 0 || span > 0 ||
            (span == 0 && CompareTimes(entry->start, entry->end) > 0)) {
            std::memset(entry, 0, sizeof(*entry));
            return 0;
        }
    }
    entry->value = value;
    ++m_count;
    return 1;
}

CTimeRangeList::Position CTimeRangeList::Compare(const TimeRangeEntry& entry, const SYSTEMTIME& moment)
{
    const int toStart = CompareDates(moment, entry.start);
    const int toEnd = CompareDates(moment, entry.end);
    if (entry.kind == 1) {
        if (toStart < 0 || (toStart == 0 && CompareTimes(moment, entry.start) < 0))
            return Before;
        if (toEnd > 0 || (toEnd == 0 && CompareTimes(moment, entry.end) > 0))
            return After;
        return Inside;
    }
    if (entry.kind == 2) {
        if (toStart < 0)
            return Before;
        if (toEnd > 0)
            return After;
        if (CompareTimes(moment, entry.start) < 0)
            return Before;
        if (CompareTimes(moment, entry.end) > 0)
            return toEnd == 0 ? After : Before;
        return Inside;
    }
    return Inside;
}

int CTimeRangeList::IsInside(const SYSTEMTIME* moment, uint32_t* value)
{
    SYSTEMTIME now;
    if (!moment) {
        m_clock(&now);
        moment = &now;
    }
    for (int i = 0; i < m_count; ++i) {
        if (Compare(m_entries[i], *moment) == Inside) {
            if (value)
                *value = m_entries[i].value;
            return 1;
        }
    }
    return 0;
}

int CTimeRangeList::IsAllOver()
{
    SYSTEMTIME now;
    m_clock(&now);
    for (int i = 0; i < m_count; ++i) {
        if (Compare(m_entries[i], now) != After)
            return 0;
    }
    return 1;
}
