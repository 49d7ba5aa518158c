// Date and time texts and packed times.
//
// A packed time is a u32 of 6-bit fields from the lowest bit: minute, hour,
// day, month (1-12), and in the top 8 bits the year minus 2000.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <ctime>

// Packs minute, hour, day, month and year of t (a struct tm as localtime
// gives it); 0 for a year outside 2000..2255 or a field out of range.
uint32_t PackTime(const struct tm& t);
// The fields of a packed time into *t (seconds 0, tm_mon = month - 1,
// tm_year = years since 1900); FALSE for a zero month or day.
BOOL UnpackTime(uint32_t packed, struct tm* t);
uint32_t PackedTimeFromTimeT(time_t value);
// Local time of a packed time; -1 when it holds no valid date.
time_t PackedTimeToTimeT(uint32_t packed);

// "%04d-%02d-%02d %02d:%02d:%02d" of a time_t in local time.
void FormatTimeT(time_t value, char* out, size_t size);
// "%04d-%02d-%02d %02d:%02d:00" of a packed time.
void FormatPackedTime(uint32_t packed, char* out, size_t size);
// "%04d-%02d-%02d %02d:%02d:00" of a yymmddhhmm number (years 2000-2042).
void FormatYmdhm(uint32_t ymdhm, char* out, size_t size);

// Year (two digits add 2000), month, day, and optionally hour and minute,
// separated by runs of non-digits, into *t (local time fields). FALSE when a
// field is missing or out of range.
BOOL ParseDateTimeText(const char* text, struct tm* t);
// The same into a time_t (-1), a packed time (0) or a yymmddhhmm number (0);
// the value in brackets for a text that does not parse.
time_t TimeTFromText(const char* text);
uint32_t PackedTimeFromText(const char* text);
uint32_t YmdhmFromText(const char* text);

// Replaces the letters of the pattern by fields of the time: Y/y the year
// ("%04d"), M the month, D/d the day, H/h the hour, m the minute, S/s the
// second ("%02d" each); a run of one letter ("YYYY", "MM") is one field. Other
// characters are copied. Cut to size bytes.
void FormatTimeByLetters(const char* pattern, const SYSTEMTIME& time, char* out, size_t size);
// The same with the local time now.
void FormatLocalTimeByLetters(const char* pattern, char* out, size_t size);
