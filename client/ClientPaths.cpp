#include "ClientPaths.h"

#include <shlobj.h>

#include <stdio.h>
#include <string.h>

#include "ClientText.h"
#include "store/FilePaths.h"

CString GetExeFolder()
{
    char folder[MAX_PATH] = "";
    if (!GetModuleFolder(folder))
        return CString();
    RemoveTrailingSlash(folder);
    return CString(folder);
}

namespace {

CString g_resPicBase;
CString g_resPicProfile;

CString ResPicFolderPath(LPCSTR lpszFolder, LPCSTR lpszFile)
{
    CString path;
    path.Format("%s\\theme\\respic\\%s", lpszFolder, lpszFile);
    return path;
}

CString TrimmedFolder(LPCSTR lpszFolder)
{
    CString folder(lpszFolder != NULL ? lpszFolder : "");
    while (!folder.IsEmpty() && folder[folder.GetLength() - 1] == '\\')
        folder = folder.Left(folder.GetLength() - 1);
    return folder;
}

// The longest prefix of a multibyte text that fits max bytes without cutting
// a double-byte character.
int AnsiPrefixLength(const char* text, int max)
{
    int n = 0;
    while (text[n] != '\0') {
        const int step = ::IsDBCSLeadByte((BYTE)text[n]) && text[n + 1] != '\0' ? 2 : 1;
        if (n + step > max)
            break;
        n += step;
    }
    return n;
}

// The longest prefix of UTF-16 text that fits max units without cutting a pair.
int WidePrefixLength(const WCHAR* text, int max)
{
    int n = 0;
    while (text[n] != 0) {
        const int step = text[n] >= 0xD800 && text[n] <= 0xDBFF && text[n + 1] != 0 ? 2 : 1;
        if (n + step > max)
            break;
        n += step;
    }
    return n;
}

ClientEnvRecord MakeInitialRecord()
{
    ClientEnvRecord record;
    memset(&record, 0, sizeof record);
    record.size = 1388;
    record.codePage = 936;
    strcpy(record.name, "Client");
    record.flag1380 = 1;
    record.value1382 = 255;
    record.monitor = nullptr;
    return record;
}

}  // namespace

// ---- Folders -----------------------------------------------------------------------------

CString GetUserDataFolder()
{
    char documents[MAX_PATH] = "";
    if (!::SHGetSpecialFolderPathA(NULL, documents, CSIDL_PERSONAL, FALSE) || documents[0] == '\0')
        return CString();
    CString base = TrimmedFolder(documents) + "\\Sybrant";
    if (!DirectoryExists(base))
        ::CreateDirectoryA(base, NULL);
    CString folder = base + "\\mardavel";
    if (!DirectoryExists(folder))
        ::CreateDirectoryA(folder, NULL);
    return folder;
}

CString GetThemePath(int kind) { return GetExeFolder() + ThemePathSuffix(kind); }

void SetResPicFolders(LPCSTR lpszBaseFolder, LPCSTR lpszProfileFolder)
{
    g_resPicBase = TrimmedFolder(lpszBaseFolder);
    g_resPicProfile = TrimmedFolder(lpszProfileFolder);
}

const char* GetThemeResPicPath(int bitmapId)
{
    static char path[MAX_PATH];
    path[0] = '\0';
    const char* name = ResPicFileName(bitmapId);
    if (name == NULL)
        return path;
    const CString base = g_resPicBase.IsEmpty() ? GetExeFolder() : g_resPicBase;
    CString candidate = ResPicFolderPath(base, name);
    if (!FileCanOpen(candidate))
        candidate = ResPicFolderPath(g_resPicProfile, name);
    lstrcpynA(path, candidate, MAX_PATH);
    return path;
}

const WCHAR* GetResPngPath(int bitmapId)
{
    static WCHAR path[260];
    path[0] = 0;
    if (bitmapId != 291)
        return path;
    const CString base = g_resPicBase.IsEmpty() ? GetExeFolder() : g_resPicBase;
    CString candidate = ResPicFolderPath(base, "l-0.png");
    if (!FileCanOpen(candidate))
        candidate = ResPicFolderPath(g_resPicProfile, "l-0.png");
    if (::MultiByteToWideChar(CP_ACP, 0, candidate, -1, path, 260) == 0)
        path[0] = 0;
    return path;
}

void DrawHalfBitmapCentred(HDC hDC, const RECT& rect, HBITMAP hBitmap)
{
    BITMAP info;
    if (hDC == NULL || hBitmap == NULL || ::GetObjectA(hBitmap, sizeof info, &info) == 0)
        return;
    const int w = info.bmWidth / 2;
    const int h = info.bmHeight;
    HDC hMem = ::CreateCompatibleDC(hDC);
    if (hMem == NULL)
        return;
    HGDIOBJ old = ::SelectObject(hMem, hBitmap);
    const int x = rect.left + (rect.right - rect.left - w) / 2;
    const int y = rect.top + (rect.bottom - rect.top - h) / 2;
    ::BitBlt(hDC, x, y, w, h, hMem, 0, 0, SRCCOPY);
    ::SelectObject(hMem, old);
    ::DeleteDC(hMem);
}

// ---- Conversions -------------------------------------------------------------------------

int Utf8ToWide(const char* text, WCHAR out[kConvertBufferSize])
{
    out[0] = 0;
    if (text == NULL)
        return 0;
    const size_t length = strlen(text);
    const int need = ::MultiByteToWideChar(CP_UTF8, 0, text, (int)length, NULL, 0);
    if (need <= 0)
        return 0;
    WCHAR* whole = new WCHAR[(size_t)need + 1];
    ::MultiByteToWideChar(CP_UTF8, 0, text, (int)length, whole, need);
    whole[need] = 0;
    const int n = WidePrefixLength(whole, kConvertBufferSize - 1);
    memcpy(out, whole, sizeof(WCHAR) * (size_t)n);
    out[n] = 0;
    delete[] whole;
    return n;
}

int WideToAnsi(const WCHAR* text, char out[kConvertBufferSize])
{
    out[0] = '\0';
    if (text == NULL)
        return 0;
    const int need = ::WideCharToMultiByte(CP_ACP, 0, text, -1, NULL, 0, NULL, NULL);
    if (need <= 0)
        return 0;
    char* whole = new char[(size_t)need];
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, whole, need, NULL, NULL);
    const int n = AnsiPrefixLength(whole, kConvertBufferSize - 1);
    memcpy(out, whole, (size_t)n);
    out[n] = '\0';
    delete[] whole;
    return n;
}

int AnsiToWide(const char* text, WCHAR out[kConvertBufferSize])
{
    out[0] = 0;
    if (text == NULL)
        return 0;
    const int need = ::MultiByteToWideChar(CP_ACP, 0, text, -1, NULL, 0);
    if (need <= 0)
        return 0;
    WCHAR* whole = new WCHAR[(size_t)need];
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, whole, need);
    const int n = WidePrefixLength(whole, kConvertBufferSize - 1);
    memcpy(out, whole, sizeof(WCHAR) * (size_t)n);
    out[n] = 0;
    delete[] whole;
    return n;
}

std::string WideToUtf8String(const WCHAR* text)
{
    if (text == NULL)
        return std::string();
    return Utf16ToUtf8(reinterpret_cast<const char16_t*>(text), wcslen(text));
}

void EscapeForUrl(const WCHAR* text, char out[kConvertBufferSize])
{
    const std::string utf8 = WideToUtf8String(text);
    EscapeUtf8ForUrl(utf8.c_str(), out, kConvertBufferSize);
}

// ---- Client environment record -----------------------------------------------------------

ClientEnvRecord& TheClientEnv()
{
    static ClientEnvRecord record = MakeInitialRecord();
    return record;
}

CString ExpandClientPathVars(LPCSTR lpszText)
{
    const ClientEnvRecord& env = TheClientEnv();
    const std::string out = ExpandClientPathVars(std::string(lpszText != NULL ? lpszText : ""), env.clientExePath,
                                                 env.clientDllPath, env.gameDllPath);
    return CString(out.c_str());
}

CString ReadClientIniValue(LPCSTR lpszSection, LPCSTR lpszKey)
{
    char value[1025] = "";
    ::GetPrivateProfileStringA(lpszSection, lpszKey, "", value, sizeof value, TheClientEnv().iniFile);
    return ExpandClientPathVars(value);
}

BOOL StartMonitor()
{
    const ClientEnvRecord& env = TheClientEnv();
    CString program;
    program.Format("%sQVCMonitor.exe", env.clientDllPath);
    CString commandLine;
    commandLine.Format("\"%s\" 0x%08X", (LPCSTR)program, (unsigned)::GetTickCount());
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    memset(&process, 0, sizeof process);
    char* buffer = commandLine.GetBuffer(commandLine.GetLength() + 1);
    const BOOL started = ::CreateProcessA(program, buffer, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process);
    commandLine.ReleaseBuffer();
    if (!started)
        return FALSE;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return TRUE;
}

void StopMonitor()
{
    ClientEnvRecord& env = TheClientEnv();
    if (env.monitor == nullptr)
        return;
    env.monitor->End("客户端和监视器断开了连接");
    delete env.monitor;
    env.monitor = nullptr;
}
