// CTime and CTimeSpan.
#include "afx.h"

#include <stdio.h>

namespace {

// Seconds between 1601-01-01 (file times) and 1970-01-01.
const LONGLONG kFileTimeEpochSeconds = 11644473600LL;

// A copy of the strftime format in which every conversion the C runtime does
// not know is escaped, so it comes out as written instead of failing.
CString SafeStrftimeFormat(LPCSTR pFormat)
{
    static const char kKnown[] = "aAbBcdHIjmMpSUwWxXyYzZ%";
    CString safe;
    for (LPCSTR p = pFormat; *p != '\0'; p++) {
        if (AfxIsLeadByte((BYTE)*p) && p[1] != '\0') {
            safe += CString(p, 2);
            p++;
            continue;
        }
        if (*p != '%') {
            safe += *p;
            continue;
        }
        LPCSTR pConv = p + 1;
        if (*pConv == '#')
            pConv++;
        if (*pConv != '\0' && strchr(kKnown, *pConv) != NULL) {
            safe += CString(p, (int)(pConv - p) + 1);
            p = pConv;
        } else {
            safe += "%%";                    // a lone percent sign stays as text
        }
    }
    return safe;
}

CString FormatTm(const struct tm* ptm, LPCSTR pFormat)
{
    if (ptm == NULL || pFormat == NULL || *pFormat == '\0')
        return CString();
    CString format = SafeStrftimeFormat(pFormat);
    // strftime gives 0 both for "too small" and for an empty result: grow a
    // few times, then settle for empty.
    for (size_t nSize = 128; nSize <= 64 * 1024; nSize *= 4) {
        CString result;
        LPSTR pBuffer = result.GetBuffer((int)nSize);
        size_t n = strftime(pBuffer, nSize, format, ptm);
        if (n > 0 && n < nSize) {
            result.ReleaseBuffer((int)n);
            return result;
        }
    }
    return CString();
}

}  // namespace

/////////////////////////////////////////////////////////////////////////////
// CTimeSpan

CString CTimeSpan::Format(LPCSTR pFormat) const
{
    CString result;
    if (pFormat == NULL)
        return result;
    char szField[32];
    for (LPCSTR p = pFormat; *p != '\0'; p++) {
        if (*p != '%' || p[1] == '\0') {
            result += *p;
            continue;
        }
        switch (*++p) {
        case 'D': _snprintf(szField, sizeof(szField), "%I64d", (long long)GetDays()); break;
        case 'H': _snprintf(szField, sizeof(szField), "%02d", GetHours()); break;
        case 'M': _snprintf(szField, sizeof(szField), "%02d", GetMinutes()); break;
        case 'S': _snprintf(szField, sizeof(szField), "%02d", GetSeconds()); break;
        case '%': lstrcpyA(szField, "%"); break;
        default: _snprintf(szField, sizeof(szField), "%%%c", *p); break;
        }
        szField[sizeof(szField) - 1] = '\0';
        result += szField;
    }
    return result;
}

/////////////////////////////////////////////////////////////////////////////
// CTime

CTime PASCAL CTime::GetCurrentTime()
{
    return CTime(_time64(NULL));
}

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST)
{
    m_time = -1;
    if (nYear < 1900 || nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > 31 || nHour < 0 || nHour > 23 ||
        nMin < 0 || nMin > 59 || nSec < 0 || nSec > 59)
        return;
    struct tm atm = {};
    atm.tm_sec = nSec;
    atm.tm_min = nMin;
    atm.tm_hour = nHour;
    atm.tm_mday = nDay;
    atm.tm_mon = nMonth - 1;
    atm.tm_year = nYear - 1900;
    atm.tm_isdst = nDST;
    m_time = _mktime64(&atm);
}

CTime::CTime(const SYSTEMTIME& sysTime, int nDST)
    : CTime(sysTime.wYear, sysTime.wMonth, sysTime.wDay, sysTime.wHour, sysTime.wMinute, sysTime.wSecond, nDST)
{
}

CTime::CTime(const FILETIME& fileTime, int nDST)
{
    (void)nDST;
    ULARGE_INTEGER ticks;
    ticks.LowPart = fileTime.dwLowDateTime;
    ticks.HighPart = fileTime.dwHighDateTime;
    m_time = (__time64_t)(ticks.QuadPart / 10000000ULL) - kFileTimeEpochSeconds;
}

struct tm* CTime::GetLocalTm(struct tm* ptm) const
{
    if (ptm == NULL || m_time < 0)
        return NULL;
    __time64_t t = m_time;
    struct tm* p = _localtime64(&t);
    if (p == NULL)
        return NULL;
    *ptm = *p;
    return ptm;
}

struct tm* CTime::GetGmtTm(struct tm* ptm) const
{
    if (ptm == NULL || m_time < 0)
        return NULL;
    __time64_t t = m_time;
    struct tm* p = _gmtime64(&t);
    if (p == NULL)
        return NULL;
    *ptm = *p;
    return ptm;
}

BOOL CTime::GetAsSystemTime(SYSTEMTIME& timeDest) const
{
    struct tm atm;
    if (GetLocalTm(&atm) == NULL)
        return FALSE;
    timeDest.wYear = (WORD)(1900 + atm.tm_year);
    timeDest.wMonth = (WORD)(1 + atm.tm_mon);
    timeDest.wDayOfWeek = (WORD)atm.tm_wday;
    timeDest.wDay = (WORD)atm.tm_mday;
    timeDest.wHour = (WORD)atm.tm_hour;
    timeDest.wMinute = (WORD)atm.tm_min;
    timeDest.wSecond = (WORD)atm.tm_sec;
    timeDest.wMilliseconds = 0;
    return TRUE;
}

namespace {
template<class F>
int LocalField(const CTime& t, F field)
{
    struct tm atm;
    return t.GetLocalTm(&atm) ? field(atm) : 0;
}
}  // namespace

int CTime::GetYear() const { return LocalField(*this, [](const tm& a) { return a.tm_year + 1900; }); }
int CTime::GetMonth() const { return LocalField(*this, [](const tm& a) { return a.tm_mon + 1; }); }
int CTime::GetDay() const { return LocalField(*this, [](const tm& a) { return a.tm_mday; }); }
int CTime::GetHour() const { return LocalField(*this, [](const tm& a) { return a.tm_hour; }); }
int CTime::GetMinute() const { return LocalField(*this, [](const tm& a) { return a.tm_min; }); }
int CTime::GetSecond() const { return LocalField(*this, [](const tm& a) { return a.tm_sec; }); }
int CTime::GetDayOfWeek() const { return LocalField(*this, [](const tm& a) { return a.tm_wday + 1; }); }

CString CTime::Format(LPCSTR pFormat) const
{
    struct tm atm;
    return FormatTm(GetLocalTm(&atm), pFormat);
}

CString CTime::FormatGmt(LPCSTR pFormat) const
{
    struct tm atm;
    return FormatTm(GetGmtTm(&atm), pFormat);
}
