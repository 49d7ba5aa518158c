// The platform around the game: the maker's registry tree, the shared
// install folder ("Share"), the language file "LangRsc.ini", path macros,
// the code-page converter, the theme folders, the lobby's room record and
// its notices, avatar icons, the game's document type, and a few window and
// display services.
//
// Missing keys, files, libraries or entries give the defaults named at each
// function; none of these functions shows a message.
#pragma once

#include "afxwin.h"

#include <cstdint>

// ---- Registry --------------------------------------------------------------------------

// Keys under HKEY_CURRENT_USER.
extern const char kShareKey[];          // "Software\Quorvintel\Game\Share"
extern const char kGameKeyFormat[];     // "Software\Quorvintel\Game\%s"

// A string value of a key under HKEY_CURRENT_USER (at most 1024 bytes); the
// default ("" when none) when the key or value is missing.
CString RegReadString(LPCSTR lpszKeyPath, LPCSTR lpszValueName, LPCSTR lpszDefault = NULL);
// The shared install folder: "Path" of the Share key ("" when missing).
CString GetSharePath();
// A value of "Software\Quorvintel\Game\<name>" into the buffer (zeroed first);
// with a type other than REG_NONE the value must be of that type. A string
// is always terminated inside the buffer. 1 when read.
BOOL ReadGameValue(LPCSTR lpszName, LPCSTR lpszValue, void* pBuffer, DWORD nSize, DWORD dwType);
// Creates "Software\Quorvintel\Game\<name>" and writes a string value.
BOOL WriteGameValue(LPCSTR lpszName, LPCSTR lpszValue, LPCSTR lpszText);
// A string value of "Software\Quorvintel\<sub key>" into the buffer, always
// terminated; on any failure the default text (cut to the buffer) and 0.
BOOL ReadGameRegValue(LPCSTR lpszSubKey, LPCSTR lpszValue, char* pBuffer, DWORD nSize, LPCSTR lpszDefault);
// The folder of a platform module: no name, the program's folder; else the
// value "path" of that game's key ("qvworld", any case: the Share key). With
// a file, "<folder>\<file>". 0 when the folder is unknown or does not fit.
BOOL GetPlatformModuleFolder(LPCSTR lpszName, LPCSTR lpszFile, char* pOut, size_t nSize);

// ---- The language file ---------------------------------------------------------------------

// Section "URL" of "<Share Path>\LangRsc.ini" (at most 255 characters; "").
CString LangRscGetString(LPCSTR lpszKey);
// Section "String", key "<n>" of the same file ("").
CString LangRscGetStringByNumber(int n);
// The port to use instead of a server port from the platform's language
// file, section "P80Port", key "<port>": the file "<root>\Share\LangRsc.ini"
// where <root> is the program's path before its last "\share" (else before
// its last backslash), else "<Share Path>\LangRsc.ini". 0 when there is no
// such file or no entry.
int GetLangRscPath(int nServerPort);
// The same for a given program path.
int GetLangRscPathFor(LPCSTR lpszProgramPath, int nServerPort);

// Replaces the first macro present (in this order: "%system%", "%Windows%",
// "%Room%", "%game%", "%advert%", "%LRC...%" at the start) by its folder.
// 0 when there is no macro, its folder is unknown, or the result does not fit
// into nCapacity bytes (the text is then unchanged).
BOOL ExpandPathMacros(char* pszText, size_t nCapacity);
// The game whose "Path" the macro "%game%" names (the application base sets
// it at start-up).
void SetEnvironmentGameName(LPCSTR lpszGame);

// ---- Code pages ------------------------------------------------------------------------------

// Binds "Varcode.dll" (TranCodePage, TranDatCodePage, TranStrCodePage) once,
// when string 29936 names the client's code page. 1 when bound.
BOOL LoadCodePageConverter();
// The client's code page (string 29936), or the system's ANSI code page when
// the string is empty.
UINT GetClientCodePage();
// Converts a text from one code page to another into out (size bytes, cut on
// a character boundary and terminated) through the converter's
// TranStrCodePage; without the converter the text is copied unchanged and 0
// returned.
BOOL ConvertCodePageText(char* pOut, const char* pIn, int nSize, UINT nFrom, UINT nTo);
// The same in place within a field of nSize bytes (the converter's
// TranCodePage); without the converter the text stays and 0 is returned.
BOOL ConvertCodePageInPlace(char* pText, int nSize, UINT nFrom, UINT nTo);

// One binding of a code-page converter library; the process has one for
// "Varcode.dll" (LoadCodePageConverter), tests make their own.
class CCodePageConverter
{
public:
    typedef int(WINAPI* TranCodePageProc)(char* text, int size, UINT from, UINT to);
    typedef int(WINAPI* TranDatCodePageProc)(const void* in, int length, void* out, int size, UINT from, UINT to);
    typedef int(WINAPI* TranStrCodePageProc)(char* out, const char* in, int size, UINT from, UINT to);

    CCodePageConverter() = default;
    ~CCodePageConverter();
    CCodePageConverter(const CCodePageConverter&) = delete;
    CCodePageConverter& operator=(const CCodePageConverter&) = delete;

    // Loads the library and its three entries; FALSE (nothing kept) when one
    // is missing.
    BOOL Load(LPCSTR lpszPath);
    BOOL IsLoaded() const { return m_hModule != NULL; }
    BOOL ConvertText(char* pOut, const char* pIn, int nSize, UINT nFrom, UINT nTo) const;
    BOOL ConvertInPlace(char* pText, int nSize, UINT nFrom, UINT nTo) const;

private:
    HMODULE m_hModule = NULL;
    TranCodePageProc m_pfnTranCodePage = nullptr;
    TranDatCodePageProc m_pfnTranDatCodePage = nullptr;
    TranStrCodePageProc m_pfnTranStrCodePage = nullptr;
};

// ---- Theme --------------------------------------------------------------------------------

// Keeps the program folder, the game ini "<folder>\<game>.ini" and the game
// name, and the theme folder and theme file: shared, beside the platform's
// "Game\Share\" folder ("...Theme\share\", "...Theme\<game>.thm"); else under
// the theme root when one is given ("<root>\Theme\", "<root>\<game>.thm");
// else under the program folder. The theme is then in use. 1 on success.
BOOL InitThemePaths(LPCSTR lpszGame, BOOL bShared, LPCSTR lpszThemeRoot);
BOOL IsThemeInUse();
void SetThemeInUse(BOOL bInUse);
LPCSTR GetProgramFolder();
LPCSTR GetGameIniPath();
LPCSTR GetThemeFolder();
LPCSTR GetThemeFile();
// The theme resource library by "UseThemeResDll" of the game ini's section
// "Settings": 1 loads "<program folder>\<game>_thm.dll", another non-zero
// value uses the program's own resources, 0 none. 0 when the load fails.
BOOL LoadThemeResModule(LPCSTR lpszGame);
void FreeThemeResModule();
HINSTANCE GetThemeResModule();
int GetThemeResMode();

// ---- The lobby's room record ------------------------------------------------------------------

constexpr DWORD kRoomRecordSize = 42536;
constexpr DWORD kRoomWindowOffset = 13036;
constexpr ULONG_PTR kRoomNoticeData = 0xFFF03001;
constexpr UINT kRoomRefreshMessage = 0x48E;
extern const char kRoomRecordName[];    // "QV_ROOM_REC"

// The room notice: WM_COPYDATA to the room window.
struct RoomNotice {
    char text[32];              // at most 31 characters, terminated
    uint32_t value;
    uint32_t zero;
};
static_assert(sizeof(RoomNotice) == 40, "room notice is 40 bytes");

// Opens the lobby's room record (the process keeps one view); 1 when open.
BOOL OpenRoomRec();
void CloseRoomRec();
// The room window named by the open record; NULL when closed or not a window.
HWND GetRoomWindow();
// Posts 0x48E (4, 0) to the room window when the record is open.
void RefreshRoom();
// Sends the room notice with the text, the value and wParam, opening the
// record for the call when it is not open. 1 when sent.
BOOL RoomRecSetString(LPCSTR lpszText, uint32_t nValue, WPARAM wParam);

// ---- Avatar icons ----------------------------------------------------------------------------

// The icon of that number from "<Share Path>\people.dll" (GetIcon), drawn at
// 32 x 32; 0 for a negative number or a missing library, entry or icon.
BOOL DrawAvatarIcon(HDC hDC, int x, int y, int nIcon);
// A copy of that icon (the caller destroys it); NULL as above.
HICON LoadAvatarIcon(int nIcon);

// ---- Document type ----------------------------------------------------------------------------

// Registers "Quorvintel.<type>" under HKEY_CLASSES_ROOT: its description, its
// icon in the game's resource library, the open command (the platform's
// "run.exe" with the game name, or with lpszProgram the game's own program
// in its folder), a print or print-to command, and the extension. Stops with
// 0 at the first failure.
BOOL RegisterDocumentType(LPCSTR lpszType, LPCSTR lpszGame, LPCSTR lpszDescription, LPCSTR lpszExtension,
                          int nIconIndex, BOOL bPrint, BOOL bPrintTo, LPCSTR lpszProgram = NULL);

// ---- Windows and display ---------------------------------------------------------------------

// Opens a document or address with the shell ("open", shown normally).
void OpenDocument(LPCSTR lpszText);
// The main frame's message text (when the thread has a main frame).
void SetStatusText(LPCSTR lpszText);
void SetStatusText(UINT nStringId);
// 1 when the desktop has fewer than 9 bits per pixel (or there is none).
BOOL HasFewColours();
// The full-screen client area (system metrics 16 and 17).
int GetFullScreenWidth();
int GetFullScreenHeight();
BOOL IsMainWindowMinimised();
// The text cut from its end (never inside a double-byte character) until it
// and "..." fit into width with the margin; unchanged when it fits.
CString ShortenTextToWidth(HDC hDC, LPCSTR lpszText, int nWidth, int nMargin);
