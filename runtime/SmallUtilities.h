// Small utilities of the client: random numbers, address texts, files and
// folders, ini values, strings, numbers, hexadecimal texts, level tables and
// the process's memory.
#pragma once

#include <afx.h>

#include <cstdint>
#include <ctime>

// ---- Random numbers -------------------------------------------------------------------

class CRandom
{
public:
    CRandom() { Seed(); }
    // state = time in seconds x tick count x low part of the time-stamp
    // counter (wrapping).
    void Seed();
    void SetState(int32_t state) { m_state = state; }
    int32_t GetState() const { return m_state; }
    // state = state x 22695477 + 1; ((state >> 16) & 0x7FFF) modulo n. 0 for
    // n below 1.
    int Next(int n);

private:
    int32_t m_state = 0;
};

// ---- Addresses ---------------------------------------------------------------------------

// "%d.%d.%d.%d" of an address in network order (lowest byte first).
void AddressToTextNetOrder(uint32_t address, char* out, size_t size);
// The same of an address in host order (highest byte first).
void AddressToTextHostOrder(uint32_t address, char* out, size_t size);
// inet_addr of the text (INADDR_NONE for a bad or null text).
uint32_t TextToAddress(const char* text);
// TRUE for exactly four dot-separated groups of 1-3 decimal digits, each at
// most 255. (The dotted text to u32 conversion is ParseDottedQuad.)
BOOL IsDottedIp(const char* text);
// "host port" or "host:port": the host (at most 39 bytes, cut on a character
// boundary) into host[40], its inet_addr value and the port after the
// separator (0 without one). FALSE for a null or empty text.
BOOL ParseHostPort(const char* text, char* host, uint32_t* address, int* port);

// ---- Files and folders ---------------------------------------------------------------------

// TRUE when GetFileAttributes succeeds for the path.
BOOL IsPathPresent(const char* path);
// Deletes a file, or empties a folder recursively and removes it. A link to a
// folder (reparse point) is removed itself, never followed. TRUE when the
// path is gone.
BOOL DeletePath(const char* path);
// Creates each folder of the path in turn; TRUE when the folder exists.
BOOL CreateFolderPath(const char* path);
// The folder of a path: up to and including its last '\' or ':' ("" when it
// has none), cut to size bytes.
void FolderOfPath(const char* path, char* out, size_t size);
// The file name of a path: what follows its last '\' or ':'.
const char* FileNameOfPath(const char* path);
// Size of the file (opened with _lopen, measured by seeking to the end); 0
// when it can't be opened.
uint32_t GetFileSizeOfPath(const char* path);

// ---- Ini values ------------------------------------------------------------------------------
//
// GetPrivateProfileString with an empty default into 32 characters (80 for
// host and port); an empty value gives the caller's default.

void IniReadString(const char* section, const char* key, const char* defaultValue, char* out, size_t size,
                   const char* file);
int IniReadInt(const char* section, const char* key, int defaultValue, const char* file);
int64_t IniReadInt64(const char* section, const char* key, int64_t defaultValue, const char* file);
// Decimal, or hexadecimal after "0x".
int32_t IniReadNumber(const char* section, const char* key, int32_t defaultValue, const char* file);
// A dotted address (ParseDottedQuad).
uint32_t IniReadAddress(const char* section, const char* key, uint32_t defaultValue, const char* file);
// Host and port (ParseHostPort); FALSE, with nothing changed, when empty.
BOOL IniReadHostPort(const char* section, const char* key, char* host, uint32_t* address, int* port,
                     const char* file);
BOOL IniWriteString(const char* section, const char* key, const char* value, const char* file);
BOOL IniWriteInt(const char* section, const char* key, int value, const char* file);
BOOL IniWriteInt64(const char* section, const char* key, int64_t value, const char* file);
// A colour (at most 63 characters): empty gives the default; one character
// is its number; without ',' the number (hexadecimal after "0x", else
// decimal) with its lowest and third bytes swapped, so 0xRRGGBB becomes the
// COLORREF 0x00BBGGRR; with commas a + (b << 8) + (c << 16) of "a,b,c".
COLORREF IniReadIntsV(const char* section, const char* key, COLORREF defaultValue, const char* file);
// Two numbers separated by a comma: the first always, the second only when a
// comma follows. An empty value leaves the pair unchanged and gives FALSE.
BOOL IniReadStringV(const char* section, const char* key, int* pair, const char* file);

// ---- Strings -----------------------------------------------------------------------------------
//
// The next token / next number of a list are NextToken / NextIntToken, the
// case-blind search StrFindNoCase (StringFunctions.h).

// Replaces every occurrence, letters compared without case (ReplaceAllNoCase).
int StrReplaceNoCase(char* text, size_t capacity, const char* oldText, const char* newText);
// Replaces each tab by a space; 1 when any was replaced.
int TabsToSpaces(char* text);
// TRUE when the first length bytes of text end inside a double-byte character
// of the ANSI code page.
BOOL EndsInsideDoubleByte(const char* text, int length);
// Characters of the text, a double-byte character counting as one.
int CountCharacters(const char* text);
// TRUE for a name of bytes 32..127 without "'" and shorter than 16 bytes.
BOOL IsValidName(const char* text);
// Sum of successive 4-byte groups, each byte shifted in from the right (a
// last, incomplete group added as it stands); the Upper form takes the
// single-byte letters in upper case.
uint32_t TextHash(const char* text);
uint32_t TextHashUpper(const char* text);
uint32_t BlockHash(const void* data, uint32_t count);

// ---- Numbers and hexadecimal texts -------------------------------------------------------------

// Decimal (with an optional sign), or hexadecimal after "0x"/"0X"; any other
// text gives 0.
int32_t NumberFromText(const char* text);
// "%02X" per byte into out (cut to whole bytes that fit size).
void BytesToHex(const void* data, size_t count, char* out, size_t size);
// Value of a hexadecimal digit '0'-'9', 'A'-'F', 'a'-'f'; -1 for other.
int HexDigitValue(char c);
// Pairs of hexadecimal digits into bytes, at most maxBytes; stops at the
// first pair that is not two digits. The number of bytes written.
size_t HexToBytes(const char* text, void* out, size_t maxBytes);

// ---- Level tables ------------------------------------------------------------------------------

// 0 below 1; 1..12 with upper bounds 300, 610, 930, 1260, 1600, 1950, 2310,
// 2680, 3060, 3450, 3850.
int LevelByPoints(int64_t points);
// Lower bound of levels 2..12; 0 for other levels.
int LevelLowerBound(int level);
// 5 below 930, 10 below 1950, 15 below 3060, else 20.
int StepByPoints(int64_t points);
// The same tables on whole days from since to now.
int LevelByDays(time_t since, time_t now = time(nullptr));
int StepByDays(time_t since, time_t now = time(nullptr));
// 0 below 1; 1..20 with upper bounds 500 doubling up to 131,072,000.
int LevelByAmount(int64_t amount);
// Lower bound of levels 1..20 (1, 500, 1000, ... 131,072,000); 0 for other levels.
int64_t AmountLevelLowerBound(int level);

// ---- Process --------------------------------------------------------------------------------

// Working set and peak working set of the current process in bytes.
BOOL GetProcessMemory(SIZE_T* workingSet, SIZE_T* peakWorkingSet);
