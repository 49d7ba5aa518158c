#include "SmallUtilities.h"

#include "StringFunctions.h"

#include <winsock2.h>
#include <psapi.h>
#include <intrin.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

// ---- Random numbers -------------------------------------------------------------------

void CRandom::Seed()
{
    const uint32_t seconds = static_cast<uint32_t>(time(nullptr));
    const uint32_t ticks = GetTickCount();
    const uint32_t counter = static_cast<uint32_t>(__rdtsc());
    m_state = static_cast<int32_t>(seconds * ticks * counter);
}

int CRandom::Next(int n)
{
    if (n < 1)
        return 0;
    m_state = static_cast<int32_t>(static_cast<uint32_t>(m_state) * 22695477u + 1u);
    const int value = (m_state >> 16) & 0x7FFF;
    return value % n;
}

// ---- Addresses ---------------------------------------------------------------------------

void AddressToTextNetOrder(uint32_t address, char* out, size_t size)
{
    if (out && size)
        snprintf(out, size, "%d.%d.%d.%d", address & 0xFF, (address >> 8) & 0xFF, (address >> 16) & 0xFF,
                 address >> 24);
}

void AddressToTextHostOrder(uint32_t address, char* out, size_t size)
{
    if (out && size)
        snprintf(out, size, "%d.%d.%d.%d", address >> 24, (address >> 16) & 0xFF, (address >> 8) & 0xFF,
                 address & 0xFF);
}

uint32_t TextToAddress(const char* text)
{
    return text ? inet_addr(text) : INADDR_NONE;
}

BOOL IsDottedIp(const char* text)
{
    if (!text)
        return FALSE;
    const char* p = text;
    for (int group = 0; group < 4; ++group) {
        if (group > 0 && *p++ != '.')
            return FALSE;
        int digits = 0;
        int value = 0;
        for (; *p >= '0' && *p <= '9'; ++p, ++digits)
            value = value * 10 + (*p - '0');
        if (digits < 1 || digits > 3 || value > 255)
            return FALSE;
    }
    return *p == 0;
}

BOOL ParseHostPort(const char* text, char* host, uint32_t* address, int* port)
{
    if (host)
        host[0] = 0;
    if (address)
        *address = INADDR_NONE;
    if (port)
        *port = 0;
    if (!text || !*text)
        return FALSE;
    size_t length = 0;
    while (text[length] && text[length] != ' ' && text[length] != ':')
        length += CharLengthAt(text + length);
    char hostText[40];
    const size_t copied = CharBoundaryAtOrBefore(text, std::min<size_t>(length, sizeof(hostText) - 1));
    std::memcpy(hostText, text, copied);
    hostText[copied] = 0;
    if (host)
        std::memcpy(host, hostText, copied + 1);
    if (address)
        *address = inet_addr(hostText);
    if (port && text[length])
        *port = atoi(text + length + 1);
    return TRUE;
}

// ---- Files and folders ---------------------------------------------------------------------

namespace {

// Position of the last '\' or ':' of a path (character-wise), or null.
const char* LastSeparator(const char* path)
{
    const char* last = nullptr;
    for (const char* p = path; p && *p; p += CharLengthAt(p)) {
        if ((*p == '\\' || *p == ':') && CharLengthAt(p) == 1)
            last = p;
    }
    return last;
}

BOOL EmptyAndRemoveFolder(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!strcmp(found.cFileName, ".") || !strcmp(found.cFileName, ".."))
                continue;
            const std::string child = folder + "\\" + found.cFileName;
            const DWORD attributes = found.dwFileAttributes;
            if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
                EmptyAndRemoveFolder(child);
            else if (attributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryA(child.c_str());
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return RemoveDirectoryA(folder.c_str());
}

BOOL IsFolder(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

BOOL IsPathPresent(const char* path)
{
    return path && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

BOOL DeletePath(const char* path)
{
    if (!path || !*path)
        return FALSE;
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return FALSE;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return DeleteFileA(path);
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return RemoveDirectoryA(path);
    // Without a trailing '\\' (one that is not the trail byte of a character).
    std::string folder = path;
    const char* last = LastSeparator(path);
    if (last && last[1] == 0 && *last == '\\' && folder.size() > 1)
        folder.pop_back();
    return EmptyAndRemoveFolder(folder);
}

BOOL CreateFolderPath(const char* path)
{
    if (!path || !*path)
        return FALSE;
    // The first folder that can be created starts after a drive ("C:\") or a
    // share ("\\server\share\").
    const char* p = path;
    if (p[0] == '\\' && p[1] == '\\') {
        int separators = 0;
        for (p += 2; *p && separators < 2; p += CharLengthAt(p)) {
            if (*p == '\\')
                ++separators;
        }
    } else if (p[0] && p[1] == ':') {
        p += 2;
    }
    for (; *p; p += CharLengthAt(p)) {
        if ((*p == '\\' || *p == '/') && CharLengthAt(p) == 1 && p > path && p[-1] != ':') {
            const std::string prefix(path, static_cast<size_t>(p - path));
            CreateDirectoryA(prefix.c_str(), nullptr);
        }
    }
    CreateDirectoryA(path, nullptr);
    return IsFolder(path);
}

void FolderOfPath(const char* path, char* out, size_t size)
{
    if (!out || !size)
        return;
    out[0] = 0;
    const char* last = LastSeparator(path);
    if (!last)
        return;
    const size_t length = CharBoundaryAtOrBefore(path, std::min(static_cast<size_t>(last - path) + 1, size - 1));
    std::memcpy(out, path, length);
    out[length] = 0;
}

const char* FileNameOfPath(const char* path)
{
    if (!path)
        return nullptr;
    const char* last = LastSeparator(path);
    return last ? last + 1 : path;
}

uint32_t GetFileSizeOfPath(const char* path)
{
    if (!path)
        return 0;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const HFILE file = _lopen(path, OF_READ | OF_SHARE_DENY_NONE);
    if (file == HFILE_ERROR)
        return 0;
    const LONG size = _llseek(file, 0, FILE_END);
    _lclose(file);
#pragma GCC diagnostic pop
    return size < 0 ? 0 : static_cast<uint32_t>(size);
}

// ---- Ini values ------------------------------------------------------------------------------

namespace {

// The value of the key (empty when missing) read into n characters.
std::string ReadIniValue(const char* section, const char* key, const char* file, DWORD n)
{
    std::string value(n, '\0');
    const DWORD length = GetPrivateProfileStringA(section, key, "", &value[0], n, file);
    value.resize(length);
    return value;
}

}  // namespace

void IniReadString(const char* section, const char* key, const char* defaultValue, char* out, size_t size,
                   const char* file)
{
    if (!out || !size)
        return;
    const std::string value = ReadIniValue(section, key, file, 32);
    const char* text = value.empty() ? (defaultValue ? defaultValue : "") : value.c_str();
    const size_t length = CharBoundaryAtOrBefore(text, size - 1);
    std::memmove(out, text, length);
    out[length] = 0;
}

int IniReadInt(const char* section, const char* key, int defaultValue, const char* file)
{
    const std::string value = ReadIniValue(section, key, file, 32);
    return value.empty() ? defaultValue : atoi(value.c_str());
}

int64_t IniReadInt64(const char* section, const char* key, int64_t defaultValue, const char* file)
{
    const std::string value = ReadIniValue(section, key, file, 32);
    return value.empty() ? defaultValue : strtoll(value.c_str(), nullptr, 10);
}

int32_t IniReadNumber(const char* section, const char* key, int32_t defaultValue, const char* file)
{
    const std::string value = ReadIniValue(section, key, file, 32);
    return value.empty() ? defaultValue : NumberFromText(value.c_str());
}

uint32_t IniReadAddress(const char* section, const char* key, uint32_t defaultValue, const char* file)
{
    const std::string value = ReadIniValue(section, key, file, 32);
    return value.empty() ? defaultValue : ParseDottedQuad(value.c_str());
}

BOOL IniReadHostPort(const char* section, const char* key, char* host, uint32_t* address, int* port,
                     const char* file)
{
    const std::string value = ReadIniValue(section, key, file, 80);
    if (value.empty())
        return FALSE;
    return ParseHostPort(value.c_str(), host, address, port);
}

BOOL IniWriteString(const char* section, const char* key, const char* value, const char* file)
{
    return WritePrivateProfileStringA(section, key, value, file);
}

BOOL IniWriteInt(const char* section, const char* key, int value, const char* file)
{
    char text[16];
    snprintf(text, sizeof(text), "%d", value);
    return WritePrivateProfileStringA(section, key, text, file);
}

BOOL IniWriteInt64(const char* section, const char* key, int64_t value, const char* file)
{
    return WritePrivateProfileStringA(section, key, std::to_string(value).c_str(), file);
}

COLORREF IniReadIntsV(const char* section, const char* key, COLORREF defaultValue, const char* file)
{
    const std::string value = ReadIniValue(section, key, file, 64);
    if (value.empty())
        return defaultValue;
    if (value.size() == 1)
        return static_cast<COLORREF>(atoi(value.c_str()));
    if (value.find(',') == std::string::npos) {
        const uint32_t n = static_cast<uint32_t>(NumberFromText(value.c_str()));
        return (n & 0xFF00FF00u) | ((n & 0xFF) << 16) | ((n >> 16) & 0xFF);
    }
    int32_t parts[3] = {0, 0, 0};
    const char* p = value.c_str();
    for (int i = 0; i < 3 && p; ++i)
        p = NextIntToken(p, &parts[i]);
    return static_cast<COLORREF>(static_cast<uint32_t>(parts[0]) + (static_cast<uint32_t>(parts[1]) << 8) +
                                 (static_cast<uint32_t>(parts[2]) << 16));
}

BOOL IniReadStringV(const char* section, const char* key, int* pair, const char* file)
{
    const std::string value = ReadIniValue(section, key, file, 64);
    if (value.empty() || !pair)
        return FALSE;
    pair[0] = atoi(value.c_str());
    const size_t comma = value.find(',');
    if (comma != std::string::npos)
        pair[1] = atoi(value.c_str() + comma + 1);
    return TRUE;
}

// ---- Strings -----------------------------------------------------------------------------------

int StrReplaceNoCase(char* text, size_t capacity, const char* oldText, const char* newText)
{
    return ReplaceAllNoCase(text, capacity, oldText, newText);
}

int TabsToSpaces(char* text)
{
    int replaced = 0;
    for (char* p = text; p && *p; ++p) {
        if (*p == '\t') {
            *p = ' ';
            replaced = 1;
        }
    }
    return replaced;
}

BOOL EndsInsideDoubleByte(const char* text, int length)
{
    if (!text || length <= 0)
        return FALSE;
    int at = 0;
    while (at < length && text[at]) {
        if (IsDBCSLeadByte(static_cast<BYTE>(text[at])) && text[at + 1]) {
            if (at + 1 == length)
                return TRUE;
            at += 2;
        } else {
            ++at;
        }
    }
    return FALSE;
}

int CountCharacters(const char* text)
{
    int count = 0;
    for (const char* p = text; p && *p; ++count)
        p += (IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1]) ? 2 : 1;
    return count;
}

BOOL IsValidName(const char* text)
{
    if (!text)
        return FALSE;
    size_t length = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p, ++length) {
        if (*p < 32 || *p > 127 || *p == '\'')
            return FALSE;
    }
    return length < 16;
}

namespace {

class GroupSum {
public:
    void Add(unsigned char b)
    {
        m_word = (m_word << 8) | b;
        if (++m_filled == 4) {
            m_sum += m_word;
            m_word = 0;
            m_filled = 0;
        }
    }
    uint32_t Result() const { return m_sum + m_word; }

private:
    uint32_t m_sum = 0;
    uint32_t m_word = 0;
    int m_filled = 0;
};

uint32_t HashText(const char* text, bool upper)
{
    GroupSum sum;
    for (const char* p = text; p && *p;) {
        const size_t n = CharLengthAt(p);
        for (size_t i = 0; i < n; ++i, ++p) {
            unsigned char c = static_cast<unsigned char>(*p);
            if (upper && n == 1 && c >= 'a' && c <= 'z')
                c = static_cast<unsigned char>(c - 'a' + 'A');
            sum.Add(c);
        }
    }
    return sum.Result();
}

}  // namespace

uint32_t TextHash(const char* text)
{
    return HashText(text, false);
}

uint32_t TextHashUpper(const char* text)
{
    return HashText(text, true);
}

uint32_t BlockHash(const void* data, uint32_t count)
{
    GroupSum sum;
    const unsigned char* p = static_cast<const unsigned char*>(data);
    for (uint32_t i = 0; data && i < count; ++i)
        sum.Add(p[i]);
    return sum.Result();
}

// ---- Numbers and hexadecimal texts -------------------------------------------------------------

int32_t NumberFromText(const char* text)
{
    if (!text)
        return 0;
    const char* p = text;
    while (*p == ' ' || *p == '\t')
        ++p;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X'))
        return ParseNumber(p);
    const char* digits = (*p == '+' || *p == '-') ? p + 1 : p;
    if (*digits < '0' || *digits > '9')
        return 0;
    const int32_t magnitude = ParseNumber(digits);
    return *p == '-' ? -magnitude : magnitude;
}

void BytesToHex(const void* data, size_t count, char* out, size_t size)
{
    if (!out || !size)
        return;
    out[0] = 0;
    static const char kDigits[] = "0123456789ABCDEF";
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    size_t at = 0;
    for (size_t i = 0; bytes && i < count && at + 2 < size; ++i) {
        out[at++] = kDigits[bytes[i] >> 4];
        out[at++] = kDigits[bytes[i] & 0x0F];
    }
    out[at] = 0;
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

size_t HexToBytes(const char* text, void* out, size_t maxBytes)
{
    unsigned char* bytes = static_cast<unsigned char*>(out);
    size_t count = 0;
    for (const char* p = text; p && bytes && count < maxBytes; p += 2) {
        const int high = HexDigitValue(p[0]);
        const int low = high < 0 ? -1 : HexDigitValue(p[1]);
        if (low < 0)
            break;
        bytes[count++] = static_cast<unsigned char>((high << 4) | low);
    }
    return count;
}

// ---- Level tables ------------------------------------------------------------------------------

namespace {

const int kPointBounds[] = {300, 610, 930, 1260, 1600, 1950, 2310, 2680, 3060, 3450, 3850};
const int kPointBoundCount = sizeof(kPointBounds) / sizeof(kPointBounds[0]);
const int kAmountLevels = 20;
const int64_t kFirstAmountBound = 500;

int64_t WholeDays(time_t since, time_t now)
{
    return now > since ? static_cast<int64_t>(now - since) / 86400 : 0;
}

}  // namespace

int LevelByPoints(int64_t points)
{
    if (points < 1)
        return 0;
    int level = 1;
    while (level <= kPointBoundCount && points >= kPointBounds[level - 1])
        ++level;
    return level;
}

int LevelLowerBound(int level)
{
    if (level < 2 || level > kPointBoundCount + 1)
        return 0;
    return kPointBounds[level - 2];
}

int StepByPoints(int64_t points)
{
    if (points < 930)
        return 5;
    if (points < 1950)
        return 10;
    if (points < 3060)
        return 15;
    return 20;
}

int LevelByDays(time_t since, time_t now)
{
    return LevelByPoints(WholeDays(since, now));
}

int StepByDays(time_t since, time_t now)
{
    return StepByPoints(WholeDays(since, now));
}

int LevelByAmount(int64_t amount)
{
    if (amount < 1)
        return 0;
    int level = 1;
    for (int64_t bound = kFirstAmountBound; level < kAmountLevels && amount >= bound; bound *= 2)
        ++level;
    return level;
}

int64_t AmountLevelLowerBound(int level)
{
    if (level < 1 || level > kAmountLevels)
        return 0;
    if (level == 1)
        return 1;
    return kFirstAmountBound << (level - 2);
}

// ---- Process --------------------------------------------------------------------------------

BOOL GetProcessMemory(SIZE_T* workingSet, SIZE_T* peakWorkingSet)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters)))
        return FALSE;
    if (workingSet)
        *workingSet = counters.WorkingSetSize;
    if (peakWorkingSet)
        *peakWorkingSet = counters.PeakWorkingSetSize;
    return TRUE;
}
