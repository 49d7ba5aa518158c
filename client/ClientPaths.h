// Where the game client's files are, the conversions between code page 936,
// UTF-8 and UTF-16, and the client environment record with its path macros,
// ini reader and monitor process.
//
// Folders are returned without a trailing backslash. Narrow texts are in
// the system's ANSI code page (936 on the target systems).
#pragma once

#include "afxwin.h"

#include <cstdint>
#include <string>

// ---- Folders -----------------------------------------------------------------------------

// The program's own folder; empty when it cannot be found.
CString GetExeFolder();
// "<documents>\Sybrant\mardavel", both levels created when missing; empty
// when the documents folder cannot be found.
CString GetUserDataFolder();
// The program's folder followed by "\theme_png\Default.thm" (0),
// "\theme_png\Default" (1), "\theme" (2); the folder alone for any other kind.
CString GetThemePath(int kind);
// The path of the theme picture replacing a bitmap id of the resource
// library: "<base folder>\theme\respic\<name>", else the same under the
// profile's "Path" (returned even when neither file exists); empty for an id
// without a picture. The text lives in one static buffer until the next call.
const char* GetThemeResPicPath(int bitmapId);
// For id 291 "<folder>\theme\respic\l-0.png" in UTF-16 (the same two folders
// in the same order); empty for any other id. One static buffer.
const WCHAR* GetResPngPath(int bitmapId);
// The base folder and the profile's "Path" that the two lookups above try.
void SetResPicFolders(LPCSTR lpszBaseFolder, LPCSTR lpszProfileFolder);

// Draws the left half of a two-state bitmap centred in the rectangle.
void DrawHalfBitmapCentred(HDC hDC, const RECT& rect, HBITMAP hBitmap);

// ---- Conversions -------------------------------------------------------------------------

constexpr int kConvertBufferSize = 100;
// Each converts at most 99 units into a buffer of 100 and never cuts a
// character in two; the result is always terminated. 0 on failure.
int Utf8ToWide(const char* text, WCHAR out[kConvertBufferSize]);
int WideToAnsi(const WCHAR* text, char out[kConvertBufferSize]);
int AnsiToWide(const char* text, WCHAR out[kConvertBufferSize]);
std::string WideToUtf8String(const WCHAR* text);
// The text for a web address (see EscapeUtf8ForUrl).
void EscapeForUrl(const WCHAR* text, char out[kConvertBufferSize]);

// ---- Client environment record -----------------------------------------------------------

class CMonitorLink;

// The layout of the board library's initialisation block: 1388 bytes on the
// 32-bit build, where the monitor's pointer fits its 32-bit word.
#pragma pack(push, 4)
struct ClientEnvRecord {
    uint32_t size;
    uint32_t codePage;
    char iniFile[260];
    char text[260];
    char clientExePath[260];
    char clientDllPath[260];
    char gameDllPath[260];
    uint8_t reserved1308[12];
    char name[32];
    uint32_t value1352;
    uint8_t reserved1356[20];
    uint32_t value1376;
    uint8_t flag1380;
    uint8_t value1381;
    uint16_t value1382;
    CMonitorLink* monitor;
};
#pragma pack(pop)
static_assert(offsetof(ClientEnvRecord, clientExePath) == 528, "environment record layout");
static_assert(offsetof(ClientEnvRecord, name) == 1320, "environment record layout");
static_assert(offsetof(ClientEnvRecord, monitor) == 1384, "environment record layout");
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(ClientEnvRecord) == 1388, "environment record is 1388 bytes");
#endif

// The process's one record, set up before the program starts.
ClientEnvRecord& TheClientEnv();

// Replaces the record's three path macros in the text.
CString ExpandClientPathVars(LPCSTR lpszText);
// A value (at most 1024 characters, default empty) of the record's ini
// file, its path macros expanded.
CString ReadClientIniValue(LPCSTR lpszSection, LPCSTR lpszKey);

// The monitor connection: told the end text when the client leaves it.
class CMonitorLink
{
public:
    virtual ~CMonitorLink() = default;
    virtual void End(LPCSTR lpszText) = 0;
};

// Starts "<client library path>QVCMonitor.exe 0x<tick count>" (the program
// path quoted and named as the program); the handles are closed at once.
// TRUE when the process started.
BOOL StartMonitor();
// Tells the monitor connection, when there is one, "客户端和监视器断开了连接",
// deletes it and clears the record's pointer.
void StopMonitor();
