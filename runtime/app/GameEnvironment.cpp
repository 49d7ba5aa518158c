#include "GameEnvironment.h"

#include <stdio.h>
#include <string.h>

#include <mutex>

#include "AppStrings.h"
#include "Conversions.h"
#include "StringFunctions.h"
#include "store/FilePaths.h"

const char kShareKey[] = "Software\\Quorvintel\\Game\\Share";
const char kGameKeyFormat[] = "Software\\Quorvintel\\Game\\%s";
const char kRoomRecordName[] = "QV_ROOM_REC";

namespace {

const char kMakerKey[] = "Software\\Quorvintel\\";
const DWORD kMaxRegString = 1024;

CString GameKeyOf(LPCSTR lpszName)
{
    CString key;
    key.Format(kGameKeyFormat, lpszName != NULL ? lpszName : "");
    return key;
}

// Reads a value into the buffer (zeroed first); a string is terminated
// inside it. dwType REG_NONE takes any type.
BOOL ReadRegValue(HKEY hRoot, LPCSTR lpszKey, LPCSTR lpszValue, void* pBuffer, DWORD nSize, DWORD dwType)
{
    if (pBuffer == NULL || nSize == 0)
        return FALSE;
    memset(pBuffer, 0, nSize);
    HKEY hKey;
    if (::RegOpenKeyExA(hRoot, lpszKey, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS)
        return FALSE;
    DWORD dwFound = 0;
    DWORD cb = nSize;
    const LONG lResult = ::RegQueryValueExA(hKey, lpszValue, NULL, &dwFound, (LPBYTE)pBuffer, &cb);
    ::RegCloseKey(hKey);
    if (lResult != ERROR_SUCCESS || (dwType != REG_NONE && dwFound != dwType)) {
        memset(pBuffer, 0, nSize);
        return FALSE;
    }
    if (dwFound == REG_SZ || dwFound == REG_EXPAND_SZ) {
        char* psz = static_cast<char*>(pBuffer);
        psz[cb < nSize ? cb : nSize - 1] = '\0';
        psz[nSize - 1] = '\0';
    }
    return TRUE;
}

BOOL SetDefaultValue(HKEY hRoot, LPCSTR lpszKey, LPCSTR lpszText)
{
    HKEY hKey;
    if (::RegCreateKeyExA(hRoot, lpszKey, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, NULL, &hKey, NULL) !=
        ERROR_SUCCESS)
        return FALSE;
    const LONG lResult =
        ::RegSetValueExA(hKey, NULL, 0, REG_SZ, (const BYTE*)lpszText, (DWORD)strlen(lpszText) + 1);
    ::RegCloseKey(hKey);
    return lResult == ERROR_SUCCESS;
}

CString ProgramPath()
{
    char szPath[MAX_PATH] = "";
    ::GetModuleFileNameA(NULL, szPath, MAX_PATH);
    szPath[MAX_PATH - 1] = '\0';
    return CString(szPath);
}

CString LangRscFile() { return GetSharePath() + "\\LangRsc.ini"; }

CString ReadIni(LPCSTR lpszFile, LPCSTR lpszSection, LPCSTR lpszKey, DWORD nChars)
{
    CString value;
    char* p = value.GetBuffer((int)nChars + 1);
    ::GetPrivateProfileStringA(lpszSection, lpszKey, "", p, nChars + 1, lpszFile);
    p[nChars] = '\0';
    value.ReleaseBuffer();
    return value;
}

BOOL FileExists(LPCSTR lpszPath)
{
    const DWORD dw = ::GetFileAttributesA(lpszPath);
    return dw != INVALID_FILE_ATTRIBUTES && !(dw & FILE_ATTRIBUTE_DIRECTORY);
}

// ---- Process-wide values ------------------------------------------------------------

struct EnvironmentState {
    std::mutex lock;
    CString gameName;            // the game of the running program
    // Code pages.
    bool converterTried = false;
    UINT codePage = 0;
    CCodePageConverter converter;
    // Theme.
    BOOL themeInUse = FALSE;
    CString programFolder, gameIniPath, themeGame, themeFolder, themeFile;
    HINSTANCE themeResModule = NULL;
    int themeResMode = 0;
    // Room record.
    HANDLE roomMapping = NULL;
    const uint8_t* roomView = nullptr;
};

EnvironmentState& Env()
{
    static EnvironmentState state;
    return state;
}

}  // namespace

// ---- Registry ------------------------------------------------------------------------------

CString RegReadString(LPCSTR lpszKeyPath, LPCSTR lpszValueName, LPCSTR lpszDefault)
{
    char szValue[kMaxRegString + 1];
    if (ReadRegValue(HKEY_CURRENT_USER, lpszKeyPath, lpszValueName, szValue, sizeof(szValue), REG_NONE)) {
        szValue[kMaxRegString] = '\0';
        return CString(szValue);
    }
    return CString(lpszDefault != NULL ? lpszDefault : "");
}

CString GetSharePath() { return RegReadString(kShareKey, "Path"); }

BOOL ReadGameValue(LPCSTR lpszName, LPCSTR lpszValue, void* pBuffer, DWORD nSize, DWORD dwType)
{
    return ReadRegValue(HKEY_CURRENT_USER, GameKeyOf(lpszName), lpszValue, pBuffer, nSize, dwType);
}

BOOL WriteGameValue(LPCSTR lpszName, LPCSTR lpszValue, LPCSTR lpszText)
{
    if (lpszText == NULL)
        return FALSE;
    HKEY hKey;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, GameKeyOf(lpszName), 0, NULL, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                          NULL, &hKey, NULL) != ERROR_SUCCESS)
        return FALSE;
    const LONG lResult =
        ::RegSetValueExA(hKey, lpszValue, 0, REG_SZ, (const BYTE*)lpszText, (DWORD)strlen(lpszText) + 1);
    ::RegCloseKey(hKey);
    return lResult == ERROR_SUCCESS;
}

BOOL ReadGameRegValue(LPCSTR lpszSubKey, LPCSTR lpszValue, char* pBuffer, DWORD nSize, LPCSTR lpszDefault)
{
    if (pBuffer == NULL || nSize == 0)
        return FALSE;
    CString key(kMakerKey);
    key += lpszSubKey != NULL ? lpszSubKey : "";
    if (ReadRegValue(HKEY_CURRENT_USER, key, lpszValue, pBuffer, nSize, REG_NONE)) {
        pBuffer[nSize - 1] = '\0';
        return TRUE;
    }
    // The default is a text: copied up to its end, never past it.
    memset(pBuffer, 0, nSize);
    if (lpszDefault != NULL)
        memcpy(pBuffer, lpszDefault, CharBoundaryAtOrBefore(lpszDefault, nSize - 1));
    return FALSE;
}

BOOL GetPlatformModuleFolder(LPCSTR lpszName, LPCSTR lpszFile, char* pOut, size_t nSize)
{
    if (pOut == NULL || nSize == 0)
        return FALSE;
    *pOut = '\0';
    char szFolder[MAX_PATH] = "";
    if (lpszName == NULL || *lpszName == '\0') {
        if (!GetModuleFolder(szFolder))
            return FALSE;
        RemoveTrailingSlash(szFolder);
    } else {
        const BOOL bWorld = lstrcmpiA(lpszName, "qvworld") == 0;
        if (!ReadGameValue(bWorld ? "share" : lpszName, "path", szFolder, sizeof(szFolder), REG_NONE) ||
            szFolder[0] == '\0')
            return FALSE;
    }
    CString result(szFolder);
    if (lpszFile != NULL && *lpszFile != '\0') {
        result += '\\';
        result += lpszFile;
    }
    if ((size_t)result.GetLength() >= nSize)
        return FALSE;
    memcpy(pOut, (LPCSTR)result, (size_t)result.GetLength() + 1);
    return TRUE;
}

// ---- The language file -----------------------------------------------------------------------

CString LangRscGetString(LPCSTR lpszKey) { return ReadIni(LangRscFile(), "URL", lpszKey, 255); }

CString LangRscGetStringByNumber(int n)
{
    char szKey[16];
    sprintf(szKey, "%d", n);
    return ReadIni(LangRscFile(), "String", szKey, 255);
}

int GetLangRscPathFor(LPCSTR lpszProgramPath, int nServerPort)
{
    CString path(lpszProgramPath);
    path.MakeLower();
    CString root;
    int nLastShare = -1;
    for (int n = path.Find("\\share"); n >= 0; n = path.Find("\\share", n + 1))
        nLastShare = n;
    if (nLastShare >= 0)
        root = path.Left(nLastShare);
    else if (path.ReverseFind('\\') >= 0)
        root = path.Left(path.ReverseFind('\\'));
    CString file;
    file.Format("%s\\Share\\LangRsc.ini", (LPCSTR)root);
    if (root.IsEmpty() || !FileExists(file)) {
        file = LangRscFile();
        if (!FileExists(file))
            return 0;
    }
    char szKey[16];
    sprintf(szKey, "%d", nServerPort);
    const CString value = ReadIni(file, "P80Port", szKey, 64);
    return value.IsEmpty() ? 0 : atoi(value);
}

int GetLangRscPath(int nServerPort) { return GetLangRscPathFor(ProgramPath(), nServerPort); }

namespace {

// The folder of one macro; FALSE when it is unknown.
BOOL MacroFolder(int nMacro, CString& folder)
{
    char szFolder[MAX_PATH + 1] = "";
    switch (nMacro) {
    case 0: {
        const UINT n = ::GetSystemDirectoryA(szFolder, sizeof(szFolder));
        if (n == 0 || n >= sizeof(szFolder))
            return FALSE;
        folder = szFolder;
        break;
    }
    case 1: {
        const UINT n = ::GetWindowsDirectoryA(szFolder, 256);
        if (n == 0 || n >= 256)
            return FALSE;
        folder = szFolder;
        break;
    }
    case 2:
        folder = GetSharePath();
        break;
    case 3: {
        std::lock_guard<std::mutex> guard(Env().lock);
        folder = RegReadString(GameKeyOf(Env().gameName), "Path");
        break;
    }
    case 4:
        folder = GetSharePath();
        if (!folder.IsEmpty())
            folder += "\\Advert";
        break;
    default:
        return FALSE;
    }
    return !folder.IsEmpty();
}

}  // namespace

BOOL ExpandPathMacros(char* pszText, size_t nCapacity)
{
    if (pszText == NULL || nCapacity == 0)
        return FALSE;
    static const char* const kMacros[] = {"%system%", "%Windows%", "%Room%", "%game%", "%advert%"};
    for (int i = 0; i < (int)(sizeof(kMacros) / sizeof(kMacros[0])); i++) {
        if (strstr(pszText, kMacros[i]) == NULL)
            continue;
        CString folder;
        if (!MacroFolder(i, folder))
            return FALSE;
        return ReplaceFirst(pszText, nCapacity, kMacros[i], folder) != 0;
    }
    // "%LRC<name>%" at the start: the folder named in the language file.
    if (strncmp(pszText, "%LRC", 4) != 0)
        return FALSE;
    const char* pEnd = strchr(pszText + 1, '%');
    if (pEnd == NULL || pEnd - (pszText + 1) > 63)
        return FALSE;
    const CString key(pszText + 1, (int)(pEnd - (pszText + 1)));
    const CString folder = ReadIni(LangRscFile(), "WorldPath", key, 259);
    if (folder.IsEmpty())
        return FALSE;
    const CString macro(pszText, (int)(pEnd + 1 - pszText));
    return ReplaceFirst(pszText, nCapacity, macro, folder) != 0;
}

void SetEnvironmentGameName(LPCSTR lpszGame)
{
    std::lock_guard<std::mutex> guard(Env().lock);
    Env().gameName = lpszGame != NULL ? lpszGame : "";
}

// ---- Code pages --------------------------------------------------------------------------------

CCodePageConverter::~CCodePageConverter()
{
    if (m_hModule != NULL)
        ::FreeLibrary(m_hModule);
}

BOOL CCodePageConverter::Load(LPCSTR lpszPath)
{
    if (m_hModule != NULL)
        return TRUE;
    HMODULE hModule = ::LoadLibraryA(lpszPath);
    if (hModule == NULL)
        return FALSE;
    auto entry = [&](const char* name) { return reinterpret_cast<void (*)()>(::GetProcAddress(hModule, name)); };
    m_pfnTranCodePage = reinterpret_cast<TranCodePageProc>(entry("TranCodePage"));
    m_pfnTranDatCodePage = reinterpret_cast<TranDatCodePageProc>(entry("TranDatCodePage"));
    m_pfnTranStrCodePage = reinterpret_cast<TranStrCodePageProc>(entry("TranStrCodePage"));
    if (m_pfnTranCodePage == nullptr || m_pfnTranDatCodePage == nullptr || m_pfnTranStrCodePage == nullptr) {
        m_pfnTranCodePage = nullptr;
        m_pfnTranDatCodePage = nullptr;
        m_pfnTranStrCodePage = nullptr;
        ::FreeLibrary(hModule);
        return FALSE;
    }
    m_hModule = hModule;
    return TRUE;
}

BOOL CCodePageConverter::ConvertText(char* pOut, const char* pIn, int nSize, UINT nFrom, UINT nTo) const
{
    if (pOut == NULL || pIn == NULL || nSize <= 0)
        return FALSE;
    if (m_pfnTranStrCodePage != nullptr && m_pfnTranStrCodePage(pOut, pIn, nSize, nFrom, nTo) != 0) {
        pOut[nSize - 1] = '\0';
        return TRUE;
    }
    // No converter, or it failed: the text unchanged.
    if (pOut != pIn) {
        const size_t n = CharBoundaryAtOrBefore(pIn, (size_t)nSize - 1);
        memmove(pOut, pIn, n);
        pOut[n] = '\0';
    }
    return FALSE;
}

BOOL CCodePageConverter::ConvertInPlace(char* pText, int nSize, UINT nFrom, UINT nTo) const
{
    if (pText == NULL || nSize <= 0 || m_pfnTranCodePage == nullptr)
        return FALSE;
    const BOOL bDone = m_pfnTranCodePage(pText, nSize, nFrom, nTo) != 0;
    pText[nSize - 1] = '\0';
    return bDone;
}

BOOL LoadCodePageConverter()
{
    EnvironmentState& env = Env();
    std::lock_guard<std::mutex> guard(env.lock);
    if (!env.converterTried) {
        env.converterTried = true;
        CString number;
        number.LoadString(IDS_APP_CODE_PAGE);
        env.codePage = (UINT)atoi(number);
        if (env.codePage != 0)
            env.converter.Load("Varcode.dll");
    }
    return env.converter.IsLoaded();
}

UINT GetClientCodePage()
{
    LoadCodePageConverter();
    const UINT nCodePage = Env().codePage;
    return nCodePage != 0 ? nCodePage : ::GetACP();
}

BOOL ConvertCodePageText(char* pOut, const char* pIn, int nSize, UINT nFrom, UINT nTo)
{
    LoadCodePageConverter();
    return Env().converter.ConvertText(pOut, pIn, nSize, nFrom, nTo);
}

BOOL ConvertCodePageInPlace(char* pText, int nSize, UINT nFrom, UINT nTo)
{
    LoadCodePageConverter();
    return Env().converter.ConvertInPlace(pText, nSize, nFrom, nTo);
}

// ---- Theme ----------------------------------------------------------------------------------

BOOL InitThemePaths(LPCSTR lpszGame, BOOL bShared, LPCSTR lpszThemeRoot)
{
    if (lpszGame == NULL)
        return FALSE;
    CString program = ProgramPath();
    const int nSlash = program.ReverseFind('\\');
    if (nSlash < 0)
        return FALSE;
    EnvironmentState& env = Env();
    std::lock_guard<std::mutex> guard(env.lock);
    env.programFolder = program.Left(nSlash);
    env.gameIniPath.Format("%s\\%s.ini", (LPCSTR)env.programFolder, lpszGame);
    env.themeGame = lpszGame;

    CString lowerProgram(program);
    lowerProgram.MakeLower();
    CString marker;
    marker.Format("game\\%s", lpszGame);
    marker.MakeLower();
    const int nMarker = lowerProgram.Find(marker);
    if (bShared && nMarker >= 0) {
        const CString base = program.Left(nMarker) + "Game\\Share\\";
        env.themeFolder.Format("%sTheme\\share\\", (LPCSTR)base);
        env.themeFile.Format("%sTheme\\%s.thm", (LPCSTR)base, lpszGame);
    } else {
        const CString root =
            (lpszThemeRoot != NULL && *lpszThemeRoot != '\0') ? CString(lpszThemeRoot) : env.programFolder;
        env.themeFolder.Format("%s\\Theme\\", (LPCSTR)root);
        env.themeFile.Format("%s\\%s.thm", (LPCSTR)root, lpszGame);
    }
    env.themeInUse = TRUE;
    return TRUE;
}

BOOL IsThemeInUse() { return Env().themeInUse; }
void SetThemeInUse(BOOL bInUse) { Env().themeInUse = bInUse; }
LPCSTR GetProgramFolder() { return Env().programFolder; }
LPCSTR GetGameIniPath() { return Env().gameIniPath; }
LPCSTR GetThemeFolder() { return Env().themeFolder; }
LPCSTR GetThemeFile() { return Env().themeFile; }
HINSTANCE GetThemeResModule() { return Env().themeResModule; }
int GetThemeResMode() { return Env().themeResMode; }

BOOL LoadThemeResModule(LPCSTR lpszGame)
{
    EnvironmentState& env = Env();
    const int nMode =
        (int)::GetPrivateProfileIntA("Settings", "UseThemeResDll", env.themeResMode, env.gameIniPath);
    FreeThemeResModule();
    env.themeResMode = nMode;
    if (nMode == 0)
        return TRUE;
    if (nMode != 1) {
        env.themeResModule = AfxGetInstanceHandle();
        return TRUE;
    }
    CString path;
    path.Format("%s\\%s_thm.dll", (LPCSTR)env.programFolder, lpszGame != NULL ? lpszGame : "");
    env.themeResModule = ::LoadLibraryExA(path, NULL, LOAD_LIBRARY_AS_DATAFILE);
    return env.themeResModule != NULL;
}

void FreeThemeResModule()
{
    EnvironmentState& env = Env();
    if (env.themeResMode == 1 && env.themeResModule != NULL)
        ::FreeLibrary(env.themeResModule);
    env.themeResModule = NULL;
}

// ---- The lobby's room record -------------------------------------------------------------------

BOOL OpenRoomRec()
{
    EnvironmentState& env = Env();
    if (env.roomView != nullptr)
        return TRUE;
    // The record is the lobby's: the program only reads it.
    HANDLE hMapping = ::OpenFileMappingA(FILE_MAP_READ, FALSE, kRoomRecordName);
    if (hMapping == NULL)
        return FALSE;
    const void* pView = ::MapViewOfFile(hMapping, FILE_MAP_READ, 0, 0, kRoomRecordSize);
    if (pView == NULL) {
        ::CloseHandle(hMapping);
        return FALSE;
    }
    env.roomMapping = hMapping;
    env.roomView = static_cast<const uint8_t*>(pView);
    return TRUE;
}

void CloseRoomRec()
{
    EnvironmentState& env = Env();
    if (env.roomView != nullptr)
        ::UnmapViewOfFile(env.roomView);
    if (env.roomMapping != NULL)
        ::CloseHandle(env.roomMapping);
    env.roomView = nullptr;
    env.roomMapping = NULL;
}

HWND GetRoomWindow()
{
    const uint8_t* pView = Env().roomView;
    if (pView == nullptr)
        return NULL;
    uint32_t dwHandle;
    memcpy(&dwHandle, pView + kRoomWindowOffset, sizeof(dwHandle));
    // Window handles carry 32 significant bits on both builds.
    HWND hWnd = (HWND)(ULONG_PTR)dwHandle;
    return ::IsWindow(hWnd) ? hWnd : NULL;
}

void RefreshRoom()
{
    HWND hRoom = GetRoomWindow();
    if (hRoom != NULL)
        ::PostMessageA(hRoom, kRoomRefreshMessage, 4, 0);
}

BOOL RoomRecSetString(LPCSTR lpszText, uint32_t nValue, WPARAM wParam)
{
    const BOOL bOpened = Env().roomView == nullptr;
    if (bOpened && !OpenRoomRec())
        return FALSE;
    BOOL bSent = FALSE;
    HWND hRoom = GetRoomWindow();
    if (hRoom != NULL) {
        RoomNotice notice;
        memset(&notice, 0, sizeof(notice));
        if (lpszText != NULL)
            memcpy(notice.text, lpszText, CharBoundaryAtOrBefore(lpszText, sizeof(notice.text) - 1));
        notice.value = nValue;
        COPYDATASTRUCT copy;
        copy.dwData = kRoomNoticeData;
        copy.cbData = sizeof(notice);
        copy.lpData = &notice;
        // A lobby that does not answer must not hang the game.
        DWORD_PTR dwResult = 0;
        bSent = ::SendMessageTimeoutA(hRoom, WM_COPYDATA, wParam, (LPARAM)&copy, SMTO_ABORTIFHUNG, 5000,
                                      &dwResult) != 0;
    }
    if (bOpened)
        CloseRoomRec();
    return bSent;
}

// ---- Avatar icons --------------------------------------------------------------------------------

namespace {

typedef HICON(WINAPI* GetIconProc)(int);

// Calls people.dll's GetIcon with the library loaded for the call only.
template <typename Use>
BOOL WithAvatarIcon(int nIcon, Use use)
{
    if (nIcon < 0)
        return FALSE;
    const CString path = GetSharePath() + "\\people.dll";
    HMODULE hModule = ::LoadLibraryA(path);
    if (hModule == NULL)
        return FALSE;
    BOOL bDone = FALSE;
    auto pfnGetIcon = reinterpret_cast<GetIconProc>(
        reinterpret_cast<void (*)()>(::GetProcAddress(hModule, "GetIcon")));
    if (pfnGetIcon != nullptr) {
        HICON hIcon = pfnGetIcon(nIcon);
        if (hIcon != NULL) {
            bDone = use(hIcon);
            ::DestroyIcon(hIcon);
        }
    }
    ::FreeLibrary(hModule);
    return bDone;
}

}  // namespace

BOOL DrawAvatarIcon(HDC hDC, int x, int y, int nIcon)
{
    return WithAvatarIcon(nIcon, [&](HICON hIcon) { return ::DrawIconEx(hDC, x, y, hIcon, 32, 32, 0, NULL, DI_NORMAL); });
}

HICON LoadAvatarIcon(int nIcon)
{
    HICON hCopy = NULL;
    WithAvatarIcon(nIcon, [&](HICON hIcon) {
        hCopy = ::CopyIcon(hIcon);
        return hCopy != NULL;
    });
    return hCopy;
}

// ---- Document type --------------------------------------------------------------------------------

BOOL RegisterDocumentType(LPCSTR lpszType, LPCSTR lpszGame, LPCSTR lpszDescription, LPCSTR lpszExtension,
                          int nIconIndex, BOOL bPrint, BOOL bPrintTo, LPCSTR lpszProgram)
{
    if (lpszType == NULL || lpszGame == NULL || lpszDescription == NULL || lpszExtension == NULL)
        return FALSE;
    CString progId;
    progId.Format("Quorvintel.%s", lpszType);
    const CString gamePath = RegReadString(GameKeyOf(lpszGame), "Path");
    if (!SetDefaultValue(HKEY_CLASSES_ROOT, progId, lpszDescription))
        return FALSE;
    CString icon;
    icon.Format("%s\\%s_Res.Dll,%d", (LPCSTR)gamePath, lpszGame, nIconIndex);
    if (!SetDefaultValue(HKEY_CLASSES_ROOT, progId + "\\DefaultIcon", icon))
        return FALSE;
    CString program;
    if (lpszProgram != NULL)
        program.Format("%s\\%s", (LPCSTR)gamePath, lpszProgram);
    else
        program.Format("%s\\run.exe %s", (LPCSTR)GetSharePath(), lpszGame);
    if (!SetDefaultValue(HKEY_CLASSES_ROOT, progId + "\\Shell\\Open\\Command", program + " \"%1\""))
        return FALSE;
    // Print-to replaces print when both are asked.
    if (bPrint || bPrintTo) {
        const CString command = bPrintTo ? program + " /pt \"%1\" \"%2\" \"%3\" \"%4\"" : program + " /p \"%1\"";
        if (!SetDefaultValue(HKEY_CLASSES_ROOT, progId + "\\Shell\\Print\\Command", command))
            return FALSE;
    }
    return SetDefaultValue(HKEY_CLASSES_ROOT, lpszExtension, progId);
}

// ---- Windows and display ----------------------------------------------------------------------------

void OpenDocument(LPCSTR lpszText)
{
    if (lpszText != NULL && *lpszText != '\0')
        RuntimeShellExecute(NULL, "open", lpszText, NULL, NULL, SW_SHOWNORMAL);
}

void SetStatusText(LPCSTR lpszText)
{
    CWnd* pMain = AfxGetMainWnd();
    if (pMain != NULL && pMain->GetSafeHwnd() != NULL && pMain->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
        static_cast<CFrameWnd*>(pMain)->SetMessageText(lpszText != NULL ? lpszText : "");
}

void SetStatusText(UINT nStringId)
{
    CString text;
    text.LoadString(nStringId);
    SetStatusText(text);
}

BOOL HasFewColours()
{
    HWND hDesktop = ::GetDesktopWindow();
    if (hDesktop == NULL)
        return TRUE;
    HDC hDC = ::GetDC(hDesktop);
    if (hDC == NULL)
        return TRUE;
    const int nBits = ::GetDeviceCaps(hDC, BITSPIXEL) * ::GetDeviceCaps(hDC, PLANES);
    ::ReleaseDC(hDesktop, hDC);
    return nBits < 9;
}

int GetFullScreenWidth() { return ::GetSystemMetrics(SM_CXFULLSCREEN); }
int GetFullScreenHeight() { return ::GetSystemMetrics(SM_CYFULLSCREEN); }

BOOL IsMainWindowMinimised()
{
    CWnd* pMain = AfxGetMainWnd();
    HWND hMain = pMain != NULL ? pMain->GetSafeHwnd() : NULL;
    return hMain != NULL && (::GetWindowLongA(hMain, GWL_STYLE) & WS_MINIMIZE) != 0;
}

CString ShortenTextToWidth(HDC hDC, LPCSTR lpszText, int nWidth, int nMargin)
{
    if (lpszText == NULL)
        return CString();
    auto widthOf = [&](LPCSTR p, int n) {
        SIZE size = {0, 0};
        ::GetTextExtentPoint32A(hDC, p, n, &size);
        return (int)size.cx;
    };
    const int nLength = (int)strlen(lpszText);
    if (widthOf(lpszText, nLength) + nMargin <= nWidth)
        return CString(lpszText);
    CString text(lpszText);
    size_t nKeep = (size_t)nLength;
    while (nKeep > 0) {
        nKeep = CharBoundaryAtOrBefore(lpszText, nKeep - 1);
        CString candidate(lpszText, (int)nKeep);
        candidate += "...";
        if (widthOf(candidate, candidate.GetLength()) + nMargin <= nWidth)
            return candidate;
    }
    return CString("...");
}
