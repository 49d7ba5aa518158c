// CWinThread, CWinApp: message loop, idle, profile, command line; the global
// helpers.
#include "winstate.h"

#include <stdio.h>
#include <stdlib.h>

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {

// Values of a profile string are read with this cap: a longer value in the
// registry is treated as missing.
const DWORD kMaxProfileStringBytes = 64 * 1024;

LPTSTR DuplicateString(LPCTSTR lpsz)
{
    if (lpsz == NULL)
        return NULL;
    size_t nLen = strlen(lpsz) + 1;
    LPTSTR lpszCopy = new char[nLen];
    memcpy(lpszCopy, lpsz, nLen);
    return lpszCopy;
}

}  // namespace

/////////////////////////////////////////////////////////////////////////////
// Global helpers

CWinApp* AFXAPI AfxGetApp()
{
    return AfxGetModuleState()->m_pCurrentWinApp;
}

CWinThread* AFXAPI AfxGetThread()
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_pCurrentWinThread != NULL)
        return pState->m_pCurrentWinThread;
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->m_nThreadID == ::GetCurrentThreadId())
        return pApp;
    return NULL;
}

CWnd* AFXAPI AfxGetMainWnd()
{
    CWinThread* pThread = AfxGetThread();
    return pThread != NULL ? pThread->GetMainWnd() : NULL;
}

LPCTSTR AFXAPI AfxGetAppName()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->m_pszAppName != NULL)
        return pApp->m_pszAppName;
    return "";
}

void AFXAPI AfxPostQuitMessage(int nExitCode)
{
    ::PostQuitMessage(nExitCode);
}

int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL)
        return pApp->DoMessageBox(lpszText, nType, nIDHelp);
    CWnd* pOwner = CWnd::GetSafeOwner(NULL);
    return ::MessageBoxA(pOwner->GetSafeHwnd(), lpszText, AfxGetAppName(), nType);
}

int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString strPrompt;
    strPrompt.LoadString(nIDPrompt);
    if (nIDHelp == (UINT)-1)
        nIDHelp = nIDPrompt;
    return AfxMessageBox(strPrompt, nType, nIDHelp);
}

/////////////////////////////////////////////////////////////////////////////
// Message pump

BOOL AFXAPI AfxPreTranslateMessage(MSG* pMsg)
{
    CWinThread* pThread = AfxGetThread();
    if (pThread != NULL)
        return pThread->PreTranslateMessage(pMsg);
    return CWnd::WalkPreTranslateTree(NULL, pMsg);
}

BOOL AFXAPI AfxInternalPumpMessage()
{
    MSG& msg = AfxGetThreadState()->m_msgCur;
    BOOL bRet = ::GetMessageA(&msg, NULL, 0, 0);
    if (bRet == 0)
        return FALSE;   // WM_QUIT
    if (bRet == -1)
        return TRUE;    // nothing usable was read
    if (msg.message != WM_KICKIDLE && !AfxPreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return TRUE;
}

BOOL AFXAPI AfxInternalIsIdleMessage(MSG* pMsg)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    // A mouse move that did not move and the paint/caret messages do not
    // restart idle processing.
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
        if (pState->m_ptCursorLast == pMsg->pt && pMsg->message == pState->m_nMsgLast)
            return FALSE;
        pState->m_ptCursorLast = pMsg->pt;
        pState->m_nMsgLast = pMsg->message;
        return TRUE;
    }
    return pMsg->message != WM_PAINT && pMsg->message != 0x0118;   // WM_SYSTIMER (caret blink)
}

/////////////////////////////////////////////////////////////////////////////
// CWinThread

CWinThread::CWinThread()
    : m_pMainWnd(NULL), m_pActiveWnd(NULL), m_bAutoDelete(FALSE), m_hThread(NULL),
      m_nThreadID(::GetCurrentThreadId())
{
}

CWinThread::~CWinThread()
{
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    CWnd* pMainWnd = AfxGetMainWnd();
    if (CWnd::WalkPreTranslateTree(pMainWnd->GetSafeHwnd(), pMsg))
        return TRUE;
    // A window whose parents and owners do not lead to the main window (a
    // modeless dialog without owner) still gets the main window's
    // accelerators; the walk above already asked it otherwise.
    if (pMainWnd != NULL && pMainWnd->m_hWnd != NULL && pMsg->hwnd != NULL) {
        for (HWND hWnd = pMsg->hwnd; hWnd != NULL; hWnd = ::GetParent(hWnd)) {
            if (hWnd == pMainWnd->m_hWnd)
                return FALSE;
        }
        return pMainWnd->PreTranslateMessage(pMsg);
    }
    return FALSE;
}

BOOL CWinThread::PumpMessage()
{
    return AfxInternalPumpMessage();
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg)
{
    return AfxInternalIsIdleMessage(pMsg);
}

BOOL CWinThread::OnIdle(LONG lCount)
{
    if (lCount <= 0)
        return TRUE;
    // Second idle call: the temporary objects handed out meanwhile go.
    AfxDeleteTempMaps();
    return FALSE;
}

int CWinThread::Run()
{
    MSG& msg = AfxGetThreadState()->m_msgCur;
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    for (;;) {
        while (bIdle && !::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(lIdleCount++))
                bIdle = FALSE;
        }
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(&msg)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE));
    }
}

int CWinThread::ExitInstance()
{
    return (int)AfxGetThreadState()->m_msgCur.wParam;
}

LRESULT CWinThread::ProcessWndProcException(CException* e, const MSG* pMsg)
{
    AfxTraceCaughtException("window procedure", e);
    if (pMsg->message == WM_CREATE)
        return -1;
    if (pMsg->message == WM_PAINT)
        ::ValidateRect(pMsg->hwnd, NULL);
    return 0;
}

/////////////////////////////////////////////////////////////////////////////
// CWinApp

CWinApp::CWinApp(LPCTSTR lpszAppName)
    : m_hInstance(NULL), m_lpCmdLine(NULL), m_nCmdShow(SW_SHOWNORMAL), m_pszAppName(NULL), m_pszExeName(NULL),
      m_pszHelpFilePath(NULL), m_pszRegistryKey(NULL), m_pszProfileName(NULL), m_nWaitCursorCount(0),
      m_hcurWaitCursorRestore(NULL), m_pszAppNameOwned(NULL), m_pszExeNameOwned(NULL),
      m_pszRegistryKeyOwned(NULL), m_pszProfileNameOwned(NULL)
{
    AFX_MODULE_STATE* pModuleState = AfxGetModuleState();
    pModuleState->m_pCurrentWinApp = this;
    m_hInstance = AfxGetInstanceHandle();
    SetOwnedString(&m_pszAppName, &m_pszAppNameOwned, lpszAppName);
    SetCurrentHandles(m_hInstance, NULL, SW_SHOWNORMAL);
}

CWinApp::~CWinApp()
{
    AFX_MODULE_STATE* pModuleState = AfxGetModuleState();
    if (pModuleState->m_pCurrentWinApp == this) {
        pModuleState->m_pCurrentWinApp = NULL;
        pModuleState->m_lpszCurrentAppName = NULL;
    }
    delete[] m_pszAppNameOwned;
    delete[] m_pszExeNameOwned;
    delete[] m_pszRegistryKeyOwned;
    delete[] m_pszProfileNameOwned;
}

void CWinApp::SetOwnedString(LPCTSTR* ppsz, LPTSTR* ppszOwned, LPCTSTR lpszValue)
{
    LPTSTR lpszCopy = DuplicateString(lpszValue);
    delete[] *ppszOwned;
    *ppszOwned = lpszCopy;
    *ppsz = lpszCopy;
}

void CWinApp::SetCurrentHandles(HINSTANCE hInstance, LPTSTR lpCmdLine, int nCmdShow)
{
    if (hInstance != NULL)
        m_hInstance = hInstance;
    if (lpCmdLine != NULL)
        m_lpCmdLine = lpCmdLine;
    m_nCmdShow = nCmdShow;

    // The program's file name without folder and extension.
    char szPath[MAX_PATH] = "";
    ::GetModuleFileNameA(m_hInstance, szPath, MAX_PATH);
    szPath[MAX_PATH - 1] = '\0';
    LPSTR lpszName = szPath;
    for (LPSTR p = szPath; *p != '\0'; p = ::CharNextA(p)) {
        if (*p == '\\' || *p == '/' || *p == ':')
            lpszName = p + 1;
    }
    LPSTR lpszExt = NULL;
    for (LPSTR p = lpszName; *p != '\0'; p = ::CharNextA(p)) {
        if (*p == '.')
            lpszExt = p;
    }
    if (lpszExt != NULL)
        *lpszExt = '\0';
    if (m_pszExeName == NULL)
        SetOwnedString(&m_pszExeName, &m_pszExeNameOwned, lpszName);
    if (m_pszAppName == NULL)
        SetOwnedString(&m_pszAppName, &m_pszAppNameOwned, m_pszExeName);
    if (m_pszProfileName == NULL) {
        CString strProfile(m_pszExeName);
        strProfile += ".INI";
        SetOwnedString(&m_pszProfileName, &m_pszProfileNameOwned, strProfile);
    }
    AfxGetModuleState()->m_lpszCurrentAppName = m_pszAppName;
}

int CWinApp::ExitInstance()
{
    return CWinThread::ExitInstance();
}

BOOL CWinApp::OnIdle(LONG lCount)
{
    return CWinThread::OnIdle(lCount);
}

int CWinApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT)
{
    CWnd* pOwner = CWnd::GetSafeOwner(NULL);
    return ::MessageBoxA(pOwner->GetSafeHwnd(), lpszPrompt, m_pszAppName != NULL ? m_pszAppName : "", nType);
}

void CWinApp::DoWaitCursor(int nCode)
{
    if (nCode > 0) {
        if (m_nWaitCursorCount++ == 0)
            m_hcurWaitCursorRestore = ::SetCursor(::LoadCursorA(NULL, IDC_WAIT));
    } else if (nCode < 0) {
        if (m_nWaitCursorCount > 0 && --m_nWaitCursorCount == 0)
            ::SetCursor(m_hcurWaitCursorRestore);
    } else if (m_nWaitCursorCount > 0) {
        ::SetCursor(::LoadCursorA(NULL, IDC_WAIT));
    }
}

void CCmdTarget::BeginWaitCursor()
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->DoWaitCursor(1);
}

void CCmdTarget::EndWaitCursor()
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->DoWaitCursor(-1);
}

void CCmdTarget::RestoreWaitCursor()
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->DoWaitCursor(0);
}

HCURSOR CWinApp::LoadCursor(LPCTSTR lpszResourceName) const
{
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_GROUP_CURSOR);
    return ::LoadCursorA(hInst, lpszResourceName);
}

HICON CWinApp::LoadIcon(LPCTSTR lpszResourceName) const
{
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_GROUP_ICON);
    return ::LoadIconA(hInst, lpszResourceName);
}

/////////////////////////////////////////////////////////////////////////////
// Profile

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey)
{
    if (lpszRegistryKey == NULL || *lpszRegistryKey == '\0')
        return;
    SetOwnedString(&m_pszRegistryKey, &m_pszRegistryKeyOwned, lpszRegistryKey);
    // The application's key is named after the application.
    SetOwnedString(&m_pszProfileName, &m_pszProfileNameOwned, m_pszAppName);
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey)
{
    CString strKey;
    if (strKey.LoadString(nIDRegistryKey))
        SetRegistryKey(strKey);
}

HKEY CWinApp::GetAppRegistryKey()
{
    if (m_pszRegistryKey == NULL || m_pszProfileName == NULL)
        return NULL;
    HKEY hSoftKey = NULL;
    HKEY hCompanyKey = NULL;
    HKEY hAppKey = NULL;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ | KEY_WRITE, &hSoftKey) == ERROR_SUCCESS) {
        DWORD dw = 0;
        if (::RegCreateKeyExA(hSoftKey, m_pszRegistryKey, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                              NULL, &hCompanyKey, &dw) == ERROR_SUCCESS) {
            if (::RegCreateKeyExA(hCompanyKey, m_pszProfileName, 0, NULL, REG_OPTION_NON_VOLATILE,
                                  KEY_READ | KEY_WRITE, NULL, &hAppKey, &dw) != ERROR_SUCCESS)
                hAppKey = NULL;
            ::RegCloseKey(hCompanyKey);
        }
        ::RegCloseKey(hSoftKey);
    }
    return hAppKey;
}

HKEY CWinApp::GetSectionKey(LPCTSTR lpszSection)
{
    return OpenSectionKey(lpszSection, TRUE);
}

// bCreate FALSE: reading; nothing is created when a key is missing.
HKEY CWinApp::OpenSectionKey(LPCTSTR lpszSection, BOOL bCreate)
{
    if (m_pszRegistryKey == NULL || m_pszProfileName == NULL || lpszSection == NULL)
        return NULL;
    CString strPath("Software\\");
    strPath += m_pszRegistryKey;
    strPath += '\\';
    strPath += m_pszProfileName;
    if (*lpszSection != '\0') {
        strPath += '\\';
        strPath += lpszSection;
    }
    HKEY hKey = NULL;
    LONG lResult;
    if (bCreate) {
        DWORD dw = 0;
        lResult = ::RegCreateKeyExA(HKEY_CURRENT_USER, strPath, 0, NULL, REG_OPTION_NON_VOLATILE,
                                    KEY_READ | KEY_WRITE, NULL, &hKey, &dw);
    } else {
        lResult = ::RegOpenKeyExA(HKEY_CURRENT_USER, strPath, 0, KEY_READ, &hKey);
    }
    return lResult == ERROR_SUCCESS ? hKey : NULL;
}

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault)
{
    if (lpszSection == NULL || lpszEntry == NULL)
        return (UINT)nDefault;
    if (m_pszRegistryKey == NULL)
        return ::GetPrivateProfileIntA(lpszSection, lpszEntry, nDefault, m_pszProfileName);
    HKEY hSecKey = OpenSectionKey(lpszSection, FALSE);
    if (hSecKey == NULL)
        return (UINT)nDefault;
    DWORD dwValue = 0;
    DWORD dwType = 0;
    DWORD dwCount = sizeof(dwValue);
    LONG lResult = ::RegQueryValueExA(hSecKey, lpszEntry, NULL, &dwType, reinterpret_cast<LPBYTE>(&dwValue), &dwCount);
    ::RegCloseKey(hSecKey);
    if (lResult != ERROR_SUCCESS || dwType != REG_DWORD || dwCount != sizeof(dwValue))
        return (UINT)nDefault;
    return (UINT)dwValue;
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue)
{
    if (lpszSection == NULL || lpszEntry == NULL)
        return FALSE;
    if (m_pszRegistryKey == NULL) {
        char szValue[16];
        _snprintf(szValue, sizeof(szValue), "%d", nValue);
        szValue[sizeof(szValue) - 1] = '\0';
        return ::WritePrivateProfileStringA(lpszSection, lpszEntry, szValue, m_pszProfileName);
    }
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
        return FALSE;
    DWORD dwValue = (DWORD)nValue;
    LONG lResult = ::RegSetValueExA(hSecKey, lpszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue),
                                    sizeof(dwValue));
    ::RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault)
{
    CString strDefault(lpszDefault != NULL ? lpszDefault : "");
    if (lpszSection == NULL || lpszEntry == NULL)
        return strDefault;
    if (m_pszRegistryKey == NULL) {
        // Grow until the value fits (GetPrivateProfileString cuts long values).
        CString strValue;
        for (DWORD nSize = 256; nSize <= kMaxProfileStringBytes; nSize *= 2) {
            DWORD nLen = ::GetPrivateProfileStringA(lpszSection, lpszEntry, strDefault, strValue.GetBuffer((int)nSize),
                                                    nSize, m_pszProfileName);
            strValue.ReleaseBuffer((int)std::min(nLen, nSize - 1));
            if (nLen < nSize - 1)
                break;
        }
        return strValue;
    }
    HKEY hSecKey = OpenSectionKey(lpszSection, FALSE);
    if (hSecKey == NULL)
        return strDefault;
    CString strValue;
    DWORD dwType = 0;
    DWORD dwCount = 0;
    LONG lResult = ::RegQueryValueExA(hSecKey, lpszEntry, NULL, &dwType, NULL, &dwCount);
    if (lResult == ERROR_SUCCESS && (dwType == REG_SZ || dwType == REG_EXPAND_SZ) && dwCount <= kMaxProfileStringBytes) {
        // The stored value need not end with a zero: the buffer has room for one.
        LPSTR lpsz = strValue.GetBuffer((int)dwCount + 1);
        DWORD dwRead = dwCount;
        lResult = ::RegQueryValueExA(hSecKey, lpszEntry, NULL, &dwType, reinterpret_cast<LPBYTE>(lpsz), &dwRead);
        if (lResult == ERROR_SUCCESS && dwRead <= dwCount) {
            lpsz[dwRead] = '\0';
            strValue.ReleaseBuffer();
        } else {
            strValue.ReleaseBuffer(0);
            lResult = ERROR_MORE_DATA;
        }
    } else if (lResult == ERROR_SUCCESS) {
        lResult = ERROR_INVALID_DATA;   // another type, or too long
    }
    ::RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS ? strValue : strDefault;
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue)
{
    if (lpszSection == NULL)
        return FALSE;
    if (m_pszRegistryKey == NULL)
        return ::WritePrivateProfileStringA(lpszSection, lpszEntry, lpszValue, m_pszProfileName);
    if (lpszEntry == NULL) {
        // Deletes the section; never the application's key itself.
        if (*lpszSection == '\0')
            return FALSE;
        HKEY hAppKey = OpenSectionKey("", FALSE);
        if (hAppKey == NULL)
            return FALSE;
        LONG lResult = ::RegDeleteKeyA(hAppKey, lpszSection);
        ::RegCloseKey(hAppKey);
        return lResult == ERROR_SUCCESS;
    }
    if (lpszValue == NULL) {
        HKEY hSecKey = OpenSectionKey(lpszSection, TRUE);
        if (hSecKey == NULL)
            return FALSE;
        LONG lResult = ::RegDeleteValueA(hSecKey, lpszEntry);
        ::RegCloseKey(hSecKey);
        return lResult == ERROR_SUCCESS;
    }
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
        return FALSE;
    LONG lResult = ::RegSetValueExA(hSecKey, lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
                                    (DWORD)strlen(lpszValue) + 1);
    ::RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS;
}

void CWinApp::LoadStdProfileSettings(UINT)
{
}

/////////////////////////////////////////////////////////////////////////////
// Command line

CCommandLineInfo::CCommandLineInfo()
    : m_bShowSplash(TRUE), m_bRunEmbedded(FALSE), m_bRunAutomated(FALSE), m_nShellCommand(FileNew)
{
}

void CCommandLineInfo::ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast)
{
    if (bFlag) {
        if (lstrcmpiA(pszParam, "pt") == 0)
            m_nShellCommand = FilePrintTo;
        else if (lstrcmpiA(pszParam, "p") == 0)
            m_nShellCommand = FilePrint;
        else if (lstrcmpiA(pszParam, "Unregister") == 0 || lstrcmpiA(pszParam, "Unregserver") == 0)
            m_nShellCommand = AppUnregister;
        else if (lstrcmpiA(pszParam, "dde") == 0)
            m_nShellCommand = FileDDE;
        else if (lstrcmpiA(pszParam, "Embedding") == 0)
            m_bRunEmbedded = TRUE;
        else if (lstrcmpiA(pszParam, "Automation") == 0)
            m_bRunAutomated = TRUE;
        else if (lstrcmpiA(pszParam, "nologo") == 0)
            m_bShowSplash = FALSE;
    } else if (m_strFileName.IsEmpty()) {
        m_strFileName = pszParam;
    } else if (m_nShellCommand == FilePrintTo) {
        if (m_strPrinterName.IsEmpty())
            m_strPrinterName = pszParam;
        else if (m_strDriverName.IsEmpty())
            m_strDriverName = pszParam;
        else if (m_strPortName.IsEmpty())
            m_strPortName = pszParam;
    }
    if (bLast) {
        if (m_nShellCommand == FileNew && !m_strFileName.IsEmpty())
            m_nShellCommand = FileOpen;
        m_bShowSplash = !m_bRunEmbedded && !m_bRunAutomated && m_bShowSplash;
    }
}

namespace {

// Splits a command line as the C runtime does: blanks separate arguments,
// double quotes group, 2n backslashes before a quote give n backslashes and
// a grouping quote, 2n+1 give n backslashes and a literal quote. Double-byte
// characters stay whole (a trail byte may look like a backslash).
void SplitCommandLine(LPCSTR lpsz, CStringArray& args)
{
    const BYTE* p = reinterpret_cast<const BYTE*>(lpsz);
    for (;;) {
        while (*p == ' ' || *p == '\t')
            p++;
        if (*p == '\0')
            break;
        CString strArg;
        bool bInQuotes = false;
        while (*p != '\0' && (bInQuotes || (*p != ' ' && *p != '\t'))) {
            if (::IsDBCSLeadByte(*p) && p[1] != '\0') {
                strArg += (char)p[0];
                strArg += (char)p[1];
                p += 2;
                continue;
            }
            if (*p == '\\') {
                int nSlashes = 0;
                while (*p == '\\') {
                    nSlashes++;
                    p++;
                }
                if (*p == '"') {
                    for (int i = 0; i < nSlashes / 2; i++)
                        strArg += '\\';
                    if (nSlashes % 2 == 1) {
                        strArg += '"';
                        p++;
                    }
                } else {
                    for (int i = 0; i < nSlashes; i++)
                        strArg += '\\';
                }
                continue;
            }
            if (*p == '"') {
                if (bInQuotes && p[1] == '"') {   // "" inside quotes: a literal quote
                    strArg += '"';
                    p += 2;
                    continue;
                }
                bInQuotes = !bInQuotes;
                p++;
                continue;
            }
            strArg += (char)*p++;
        }
        args.Add(strArg);
    }
}

// The command line after the program's own name.
LPCSTR SkipProgramName(LPCSTR lpsz)
{
    const BYTE* p = reinterpret_cast<const BYTE*>(lpsz);
    if (*p == '"') {
        p++;
        while (*p != '\0' && *p != '"')
            p += (::IsDBCSLeadByte(*p) && p[1] != '\0') ? 2 : 1;
        if (*p == '"')
            p++;
    } else {
        while (*p != '\0' && *p != ' ' && *p != '\t')
            p += (::IsDBCSLeadByte(*p) && p[1] != '\0') ? 2 : 1;
    }
    return reinterpret_cast<LPCSTR>(p);
}

}  // namespace

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    LPCSTR lpszCmdLine = m_lpCmdLine != NULL ? m_lpCmdLine : SkipProgramName(::GetCommandLineA());
    CStringArray args;
    SplitCommandLine(lpszCmdLine, args);
    for (int i = 0; i < args.GetSize(); i++) {
        LPCSTR pszParam = args[i];
        BOOL bFlag = FALSE;
        if (pszParam[0] == '-' || pszParam[0] == '/') {
            bFlag = TRUE;
            pszParam++;
        }
        rCmdInfo.ParseParam(pszParam, bFlag, i + 1 == args.GetSize());
    }
}

/////////////////////////////////////////////////////////////////////////////
// Program start

BOOL AFXAPI AfxWinInit(HINSTANCE hInstance, HINSTANCE, LPTSTR lpCmdLine, int nCmdShow)
{
    AFX_MODULE_STATE* pModuleState = AfxGetModuleState();
    pModuleState->m_hCurrentInstanceHandle = hInstance;
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL) {
        pApp->m_nThreadID = ::GetCurrentThreadId();
        pApp->m_hThread = ::GetCurrentThread();
        pApp->SetCurrentHandles(hInstance, lpCmdLine, nCmdShow);
    }
    AfxInitCommonControls();
    return TRUE;
}

int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL || !AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow))
        return -1;
    int nReturnCode = -1;
    // An exception that gets this far ends the program with -1 instead of
    // terminating it.
    try {
        if (!pApp->InitApplication()) {
            nReturnCode = -1;
        } else if (!pApp->InitInstance()) {
            if (pApp->m_pMainWnd != NULL)
                pApp->m_pMainWnd->DestroyWindow();
            nReturnCode = pApp->ExitInstance();
        } else {
            nReturnCode = pApp->Run();
        }
    } catch (CException* e) {
        AfxTraceCaughtException("AfxWinMain", e);
        e->Delete();
        nReturnCode = -1;
    } catch (...) {
        AfxTraceCaughtException("AfxWinMain", NULL);
        nReturnCode = -1;
    }
    AfxDeleteTempMaps();
    return nReturnCode;
}
