#include "DateTimeText.h"

#include "StringFunctions.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const int kBaseYear = 2000;

bool LocalTimeOf(time_t value, struct tm* t)
{
    return localtime_s(t, &value) == 0;
}

void FormatFields(int year, int month, int day, int hour, int minute, int second, char* out, size_t size)
{
    if (out && size)
        snprintf(out, size, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute, second);
}

bool FieldsValid(int month, int day, int hour, int minute)
{
    return month >= 1 && month <= 12 && day >= 1 && day <= 31 && hour >= 0 && hour <= 23 && minute >= 0 &&
           minute <= 59;
}

}  // namespace

uint32_t PackTime(const struct tm& t)
{
    const int year = t.tm_year + 1900;
    if (year < kBaseYear || year > kBaseYear + 255 || !FieldsValid(t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min))
        return 0;
    return static_cast<uint32_t>(t.tm_min) | (static_cast<uint32_t>(t.tm_hour) << 6) |
           (static_cast<uint32_t>(t.tm_mday) << 12) | (static_cast<uint32_t>(t.tm_mon + 1) << 18) |
           (static_cast<uint32_t>(year - kBaseYear) << 24);
}

BOOL UnpackTime(uint32_t packed, struct tm* t)
{
    if (!t)
        return FALSE;
    std::memset(t, 0, sizeof(*t));
    t->tm_min = packed & 0x3F;
    t->tm_hour = (packed >> 6) & 0x3F;
    t->tm_mday = (packed >> 12) & 0x3F;
    t->tm_mon = static_cast<int>((packed >> 18) & 0x3F) - 1;
    t->tm_year = static_cast<int>(packed >> 24) + (kBaseYear - 1900);
    t->tm_isdst = -1;
    return FieldsValid(t->tm_mon + 1, t->tm_mday, t->tm_hour, t->tm_min);
}

uint32_t PackedTimeFromTimeT(time_t value)
{
    struct tm t;
    return LocalTimeOf(value, &t) ? PackTime(t) : 0;
}

time_t PackedTimeToTimeT(uint32_t packed)
{
    struct tm t;
    return UnpackTime(packed, &t) ? mktime(&t) : static_cast<time_t>(-1);
}

void FormatTimeT(time_t value, char* out, size_t size)
{
    struct tm t;
    if (!LocalTimeOf(value, &t)) {
        if (out && size)
            out[0] = 0;
        return;
    }
    FormatFields(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, out, size);
}

void FormatPackedTime(uint32_t packed, char* out, size_t size)
{
    struct tm t;
    UnpackTime(packed, &t);
    FormatFields(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, 0, out, size);
}

void FormatYmdhm(uint32_t ymdhm, char* out, size_t size)
{
    FormatFields(kBaseYear + static_cast<int>(ymdhm / 100000000u), static_cast<int>(ymdhm / 1000000u % 100),
                 static_cast<int>(ymdhm / 10000u % 100), static_cast<int>(ymdhm / 100u % 100),
                 static_cast<int>(ymdhm % 100), 0, out, size);
}

BOOL ParseDateTimeText(const char* text, struct tm* t)
{
    if (!text || !t)
        return FALSE;
    int fields[5] = {0, 0, 0, 0, 0};
    int count = 0;
    for (const char* p = text; *p && count < 5;) {
        if (*p < '0' || *p > '9') {
            ++p;
            continue;
        }
        long value = 0;
        for (; *p >= '0' && *p <= '9'; ++p) {
            if (value < 100000)
                value = value * 10 + (*p - '0');
        }
        fields[count++] = static_cast<int>(value);
    }
    if (count < 3)
        return FALSE;
    int year = fields[0];
    if (year < 100)
        year += kBaseYear;
    if (year > 9999 || !FieldsValid(fields[1], fields[2], fields[3], fields[4]))
        return FALSE;
    std::memset(t, 0, sizeof(*t));
    t->tm_year = year - 1900;
    t->tm_mon = fields[1] - 1;
    t->tm_mday = fields[2];
    t->tm_hour = fields[3];
    t->tm_min = fields[4];
    t->tm_isdst = -1;
    return TRUE;
}

time_t TimeTFromText(const char* text)
{
    struct tm t;
    return ParseDateTimeText(text, &t) ? mktime(&t) : static_cast<time_t>(-1);
}

uint32_t PackedTimeFromText(const char* text)
{
    struct tm t;
    return ParseDateTimeText(text, &t) ? PackTime(t) : 0;
}

uint32_t YmdhmFromText(const char* text)
{
    struct tm t;
    if (!ParseDateTimeText(text, &t))
        return 0;
    const int year = t.tm_year + 1900 - kBaseYear;
    const uint64_t value = static_cast<uint64_t>(year) * 100000000u + (t.tm_mon + 1) * 1000000u +
                           t.tm_mday * 10000u + t.tm_hour * 100u + t.tm_min;
    return (year < 0 || value > UINT32_MAX) ? 0 : static_cast<uint32_t>(value);
}

void FormatTimeByLetters(const char* pattern, const SYSTEMTIME& time, char* out, size_t size)
{
    if (!out || !size)
        return;
    std::string text;
    for (const char* p = pattern; p && *p;) {
        const char letter = *p;
        int value = -1;
        const char* format = "%02d";
        switch (letter) {
        case 'Y': case 'y': value = time.wYear; format = "%04d"; break;
        case 'M': value = time.wMonth; break;
        case 'D': case 'd': value = time.wDay; break;
        case 'H': case 'h': value = time.wHour; break;
        case 'm': value = time.wMinute; break;
        case 'S': case 's': value = time.wSecond; break;
        default: break;
        }
        if (value < 0 || CharLengthAt(p) != 1) {
            const size_t n = CharLengthAt(p);   // a double-byte character is copied whole
            text.append(p, n);
            p += n;
            continue;
        }
        char field[16];
        snprintf(field, sizeof(field), format, value);
        text += field;
        while (*p == letter)
            ++p;
    }
    const size_t length = CharBoundaryAtOrBefore(text.c_str(), size - 1);
    std::memcpy(out, text.c_str(), length);
    out[length] = 0;
}

void FormatLocalTimeByLetters(const char* pattern, char* out, size_t size)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    FormatTimeByLetters(pattern, now, out, size);
}
