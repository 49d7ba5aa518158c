// Commands to the background-music program.
#include "MusicProcessClient.h"

#include "afxwin.h"

#include <cstdio>
#include <cstring>

CMusicProcessClient theMusicProcess = {NULL, NULL};

namespace {

const char kMusicWindowTitle[] = "REVaved";
const DWORD kStartIdleMs = 200;

} // namespace

void CMusicProcessClient::BuildCommand(UINT nCode, LPCSTR lpszText, BOOL bText, HWND hSender,
                                       MusicCommandRecord* pRecord, COPYDATASTRUCT* pData)
{
    memset(pRecord, 0, sizeof(*pRecord));
    pRecord->hwndSender = (uint32_t)(UINT_PTR)hSender;
    size_t nLength = 0;
    if (bText && lpszText != NULL) {
        nLength = strnlen(lpszText, sizeof(pRecord->text) - 1);
        memcpy(pRecord->text, lpszText, nLength);
    }
    pData->dwData = ((ULONG_PTR)nCode << 16) | (bText ? 1 : 0);
    pData->cbData = bText ? (DWORD)(sizeof(pRecord->hwndSender) + nLength + 1) : (DWORD)sizeof(pRecord->hwndSender);
    pData->lpData = pRecord;
}

void CMusicProcessClient::CommandA(LPCSTR lpszText, BOOL bA, BOOL bB, HWND hSender)
{
    Send((bB ? kCodePlay : kCodeNoLoop) | (bA ? 1 : 0), lpszText, TRUE, hSender);
}

void CMusicProcessClient::CommandB(LPCSTR lpszText, HWND hSender) { Send(kCodeB, lpszText, TRUE, hSender); }

void CMusicProcessClient::CommandC(HWND hSender) { Send(kCodeC, NULL, FALSE, hSender); }

void CMusicProcessClient::CommandD(LPCSTR lpszText, HWND hSender) { Send(kCodeD, lpszText, TRUE, hSender); }

void CMusicProcessClient::Send(UINT nCode, LPCSTR lpszText, BOOL bText, HWND hSender)
{
    HWND hMusic = FindMusicWindow();
    if (hMusic == NULL)
        return;                               // dropped: no program to hear it
    if (hSender == NULL) {
        if (m_hSender == NULL) {
            CWnd* pMain = AfxGetMainWnd();
            m_hSender = pMain != NULL ? pMain->GetSafeHwnd() : NULL;
        }
        hSender = m_hSender;
    }
    MusicCommandRecord record;
    COPYDATASTRUCT data;
    BuildCommand(nCode, lpszText, bText, hSender, &record, &data);
    ::SendMessageA(hMusic, WM_COPYDATA, 0, (LPARAM)&data);
}

HWND CMusicProcessClient::FindMusicWindow()
{
    if (m_hMusic != NULL && ::IsWindow(m_hMusic))
        return m_hMusic;
    m_hMusic = ::FindWindowA(NULL, kMusicWindowTitle);
    if (m_hMusic == NULL && StartProgram())
        m_hMusic = ::FindWindowA(NULL, kMusicWindowTitle);
    return m_hMusic;
}

BOOL CMusicProcessClient::StartProgram()
{
    char szShare[MAX_PATH + 1] = "";
    HKEY hKey = NULL;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Quorvintel\\Game\\Share", 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return FALSE;
    DWORD dwType = 0;
    DWORD cb = MAX_PATH;
    LONG err = ::RegQueryValueExA(hKey, "path", NULL, &dwType, reinterpret_cast<BYTE*>(szShare), &cb);
    ::RegCloseKey(hKey);
    if (err != ERROR_SUCCESS || (dwType != REG_SZ && dwType != REG_EXPAND_SZ))
        return FALSE;
    szShare[cb < MAX_PATH ? cb : MAX_PATH] = '\0';

    char szFolder[MAX_PATH];
    char szCommand[MAX_PATH + 16];
    int n = snprintf(szFolder, sizeof(szFolder), "%s\\QVSound", szShare);
    if (n < 0 || n >= (int)sizeof(szFolder))
        return FALSE;
    n = snprintf(szCommand, sizeof(szCommand), "%s\\REVaved.exe", szFolder);
    if (n < 0 || n >= (int)sizeof(szCommand))
        return FALSE;

    STARTUPINFOA si;
    memset(&si, 0, sizeof(si));
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi;
    memset(&pi, 0, sizeof(pi));
    if (!::CreateProcessA(NULL, szCommand, NULL, NULL, FALSE, 0, NULL, szFolder, &si, &pi))
        return FALSE;
    BOOL bIdle = ::WaitForInputIdle(pi.hProcess, kStartIdleMs) == 0;
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return bIdle;
}
