#include "GameApp.h"

#include <objbase.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include "GameEnvironment.h"
#include "ResDll.h"
#include "afxsock.h"
#include "net/GameClientSocket.h"
#include "store/StoreText.h"

IMPLEMENT_DYNAMIC(CGameApp, CWinApp)

namespace {

const char kRegistryRoot[] = "Quorvintel\\Game";
const int kPlayerArrayGrowth = 10;
const int kLocalNameSize = 20;
const LONG kNoAnchor = -10000;

CString LocalTimeText(LPCSTR lpszWhat)
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    CString text;
    text.Format("%d-%d-%d:%d-%d-%d,%s\n", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond,
                lpszWhat);
    return text;
}

}  // namespace

CGameApp* GetGameApp()
{
    CWinApp* pApp = AfxGetApp();
    return pApp != NULL && pApp->IsKindOf(RUNTIME_CLASS(CGameApp)) ? static_cast<CGameApp*>(pApp) : NULL;
}

void WriteGameLog(LPCSTR lpszText)
{
    if (CGameApp* pApp = GetGameApp())
        pApp->WriteLog(lpszText);
}

CGameApp::CGameApp(LPCSTR lpszGameName)
    : CWinApp(lpszGameName), m_strGameName(lpszGameName != NULL ? lpszGameName : "Demo"), m_nSeatCount(4),
      m_nNoEmptyChair(0), m_bOwnerDraw(FALSE), m_bOnline(FALSE), m_bWatcher(FALSE), m_nScreenWidth(0),
      m_nScreenHeight(0), m_dwReserved(0), m_pszUserName("aaa"), m_pszNickName("bbb"), m_hResDll(NULL),
      m_nOwnChair(0), m_pfnODInitLibrary(nullptr), m_pJoinReply(nullptr), m_pLocalNames(nullptr),
      m_bComStarted(FALSE)
{
    m_players.SetSize(0, kPlayerArrayGrowth);
}

CGameApp::~CGameApp()
{
    DeletePlayers();
    free(m_pJoinReply);
    delete[] m_pLocalNames;
}

// ---- Start-up and end -------------------------------------------------------------------

BOOL CGameApp::InitInstance()
{
    m_bComStarted = SUCCEEDED(::CoInitialize(NULL));

    // The application's settings live under "Software\Quorvintel\Game\<game>".
    SetRegistryKey(kRegistryRoot);
    m_strProfileName = m_strGameName;
    m_pszProfileName = m_strProfileName;
    SetEnvironmentGameName(m_strGameName);

    if (!ResolveInstallPath())
        return FALSE;
    OpenLog();

    if (!LoadResDll(m_strGameName))
        WriteLog("Resource dll not find!");
    m_hResDll = GetResDll();

    if (m_bOwnerDraw && !LoadSkinRes())
        return FALSE;

    srand((unsigned)time(NULL));
    if (!AfxSocketInit()) {
        WriteLog("SOCKETS_INIT_FAILED!");
        return FALSE;
    }
    LoadStdProfileSettings();
    m_nScreenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    m_nScreenHeight = ::GetSystemMetrics(SM_CYSCREEN);

    if (!ReadPlayerList()) {
        WriteLog("[InitInstance] read player list fail!");
        return FALSE;
    }
    return TRUE;
}

int CGameApp::ExitInstance()
{
    DeletePlayers();
    free(m_pJoinReply);
    m_pJoinReply = nullptr;
    FreeResDll();
    m_hResDll = NULL;
    CloseLog();
    if (m_bComStarted)
        ::CoUninitialize();
    m_bComStarted = FALSE;
    return CWinApp::ExitInstance();
}

BOOL CGameApp::ResolveInstallPath()
{
    m_strInstallPath = GetProfileString("", "Path", "");
    if (m_strInstallPath.IsEmpty()) {
        char szPath[MAX_PATH] = "";
        ::GetModuleFileNameA(NULL, szPath, MAX_PATH);
        szPath[MAX_PATH - 1] = '\0';
        char* pSlash = storetext::FindLastChar(szPath, '\\');
        if (pSlash == NULL)
            return FALSE;
        pSlash[1] = '\0';
        m_strInstallPath = szPath;
    }
    if (!storetext::LastCharIs(m_strInstallPath, '\\'))
        m_strInstallPath += '\\';
    return TRUE;
}

BOOL CGameApp::LoadSkinRes()
{
    const CString share = GetSharePath();
    CString path;
    if (!m_strSkinFile.IsEmpty())
        path.Format("%s\\odctrls\\%s", (LPCSTR)share, (LPCSTR)m_strSkinFile);
    else
        path.Format("%s\\odctrls\\%s_skn.ini", (LPCSTR)share, (LPCSTR)m_strGameName);
    if (m_pfnODInitLibrary == nullptr || !m_pfnODInitLibrary(path, 1)) {
        WriteLog("odres dll not find!");
        return FALSE;
    }
    return TRUE;
}

// ---- Log -----------------------------------------------------------------------------------

BOOL CGameApp::OpenLog()
{
    // The path is kept: a later change of the game name keeps writing here.
    m_strLogPath = m_strInstallPath + m_strGameName + ".log";
    ::DeleteFileA(m_strLogPath);
    HANDLE hFile = ::CreateFileA(m_strLogPath, GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    ::CloseHandle(hFile);
    AppendLogText("\n" + LocalTimeText("启动程序"));
    return TRUE;
}

void CGameApp::AppendLogText(LPCSTR lpszText)
{
    if (m_strLogPath.IsEmpty())
        return;
    HANDLE hFile = ::CreateFileA(m_strLogPath, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return;
    DWORD dwWritten = 0;
    ::WriteFile(hFile, lpszText, (DWORD)strlen(lpszText), &dwWritten, NULL);
    ::CloseHandle(hFile);
}

void CGameApp::WriteLog(LPCSTR lpszText)
{
    CString line(lpszText != NULL ? lpszText : "");
    line += '\n';
    AppendLogText(line);
}

void CGameApp::WriteLog(UINT nStringId)
{
    CString text;
    text.LoadString(nStringId);
    WriteLog(text);
}

void CGameApp::CloseLog() { AppendLogText(LocalTimeText("结束程序")); }

// ---- The player list ----------------------------------------------------------------------

CGameSocket& CGameApp::GameSocket() { return theGameSocket; }

void CGameApp::DeletePlayers()
{
    for (int i = 0; i < (int)m_players.GetSize(); i++)
        delete static_cast<CGamePlayer*>(m_players[i]);
    m_players.RemoveAll();
}

BOOL CGameApp::BuildLocalPlayers()
{
    m_bOnline = FALSE;
    DeletePlayers();
    delete[] m_pLocalNames;
    m_pLocalNames = nullptr;
    if (m_nSeatCount <= 0)
        return TRUE;
    m_pLocalNames = new char[(size_t)m_nSeatCount * 2 * kLocalNameSize];
    for (int s = 0; s < m_nSeatCount; s++) {
        char* pName = m_pLocalNames + (size_t)s * 2 * kLocalNameSize;
        char* pNick = pName + kLocalNameSize;
        snprintf(pName, kLocalNameSize, "player%d", s + 1);
        snprintf(pNick, kLocalNameSize, "Player %d", s + 1);
        m_players.Add(new CGamePlayer(pName, pNick, (uint32_t)s, (uint32_t)s, (uint8_t)(s + 1)));
    }
    return TRUE;
}

BOOL CGameApp::BuildJoinedPlayers(const JoinReply& reply)
{
    std::vector<int> order;
    switch (OrderJoinedPlayers(reply.records, reply.count, m_nOwnChair, &order)) {
    case kPlayerOrderNoPlayers:
        WriteLog("[ReadPlayerList] playercount = 0 fail!");
        return FALSE;
    case kPlayerOrderNoOwnSeat:
        WriteLog("[ReadPlayerList] no find self seat fail!");
        return FALSE;
    case kPlayerOrderOk:
        break;
    }
    if (m_nNoEmptyChair != 0 && m_nNoEmptyChair != (int)order.size()) {
        WriteLog("[ReadPlayerList] m_nNoEmptyChair != playercount fail!");
        return FALSE;
    }
    for (int index : order) {
        const JoinPlayerRecord& record = reply.records[index];
        CGamePlayer* pPlayer = new (std::nothrow) CGamePlayer(record.userName, record.nickname,
                                                              record.chairAndCodePage & 0xFFFF, record.value,
                                                              (uint8_t)(index + 1));
        if (pPlayer == nullptr) {
            WriteLog("[ReadPlayerList] new player fail!");
            DeletePlayers();
            return FALSE;
        }
        m_players.Add(pPlayer);
    }
    return TRUE;
}

BOOL CGameApp::ReadPlayerList()
{
    const int nLaunch = ReadLaunchInfo();
    if (nLaunch == 0)
        return BuildLocalPlayers();
    if (nLaunch < 0) {
        WriteLog("[ReadPlayerList] bad launch record fail!");
        return FALSE;
    }
    m_bOnline = TRUE;
    DeletePlayers();
    free(m_pJoinReply);
    m_pJoinReply = nullptr;

    JoinReply reply;
    if (!EnterGameChannel(GameSocket(), theLaunchInfo, TRUE, &m_pJoinReply, &reply)) {
        WriteLog("[ReadPlayerList] enter game channel fail!");
        return FALSE;
    }
    const uint32_t nChair = theLaunchInfo.chair;
    m_bWatcher = nChair >= (uint32_t)m_nSeatCount;
    m_nOwnChair = m_bWatcher ? nChair - (uint32_t)m_nSeatCount : nChair;
    m_pszUserName = theLaunchInfo.userName;
    m_pszNickName = theLaunchInfo.nickname;
    GameSocket().SetOwnUserName(theLaunchInfo.userName);

    if (!BuildJoinedPlayers(reply))
        return FALSE;
    OnLaunchValue(theLaunchInfo.value488, reply.blob1Length, reply.blob1, m_bWatcher);
    OnJoinBlobs(theLaunchInfo.value488, reply.blob1Length, reply.blob1, reply.blob2Length, reply.blob2);
    return TRUE;
}

CGamePlayer* CGameApp::GetPlayer(int nIndex)
{
    if (nIndex < 0 || nIndex >= (int)m_players.GetSize())
        return NULL;
    return static_cast<CGamePlayer*>(m_players[nIndex]);
}

int CGameApp::FindPlayerIndex(LPCSTR lpszUserName)
{
    if (lpszUserName == NULL)
        return -1;
    for (int i = 0; i < (int)m_players.GetSize(); i++) {
        if (storetext::CompareNamesNoCase(GetPlayer(i)->m_pszUserName, lpszUserName) == 0)
            return i;
    }
    return -1;
}

CGamePlayer* CGameApp::FindPlayer(LPCSTR lpszUserName) { return GetPlayer(FindPlayerIndex(lpszUserName)); }

CGamePlayer* CGameApp::GetPlayerAtSeat(int nOffset)
{
    CGamePlayer* pFirst = GetPlayer(0);
    if (pFirst == NULL || m_nSeatCount <= 0)
        return NULL;
    const int64_t nSeats = m_nSeatCount;
    const uint32_t nChair = (uint32_t)((((int64_t)pFirst->m_nChair + nOffset) % nSeats + nSeats) % nSeats);
    for (int i = 0; i < (int)m_players.GetSize(); i++) {
        if (GetPlayer(i)->m_nChair == nChair)
            return GetPlayer(i);
    }
    return NULL;
}

void CGameApp::OnLaunchValue(uint32_t, uint32_t, const uint8_t*, BOOL) {}

void CGameApp::OnJoinBlobs(uint32_t, uint32_t, const uint8_t*, uint32_t, const uint8_t*) {}

// ---- The main window -----------------------------------------------------------------------

FramePlacementRoutine g_pfnRestoreFramePlacement = NULL;

CFrameWnd* CGameApp::NewMainFrame() { return new CFrameWnd; }

BOOL CGameApp::ShowGameWindow()
{
    CGameSocket& socket = GameSocket();
    socket.StopReceive();
    CFrameWnd* pFrame = NewMainFrame();
    const DWORD dwStyle = 0x860E0000;   // popup, clip siblings and children, system menu, sizing, minimise
    if (pFrame == NULL || !pFrame->Create(NULL, "", dwStyle, CRect(0, 0, 10, 10))) {
        delete pFrame;
        WriteLog("[ShowGameWindow] create mainfram fail!");
        return FALSE;
    }
    m_pMainWnd = pFrame;
    socket.StartReceive();
    if (g_pfnRestoreFramePlacement != NULL)
        g_pfnRestoreFramePlacement(pFrame);
    return TRUE;
}

BOOL CGameApp::GetAnchorArea(CRect*, const POINT**, int*, const POINT**, int*) { return FALSE; }

CPoint AnchorPointOf(int nCode, const CRect& area, const POINT* pList1, int nList1, const POINT* pList2,
                     int nList2)
{
    const LONG w = area.Width(), h = area.Height();
    if (nCode <= 0)
        return CPoint(w / 2, h / 2);
    static const int kRound[8][2] = {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}, {1, 2}, {0, 2}, {0, 1}};
    if (nCode <= 8)
        return CPoint(w * kRound[nCode - 1][0] / 2, h * kRound[nCode - 1][1] / 2);
    if (nCode >= 16 && nCode < 48)
        return nCode - 16 < nList1 && pList1 != nullptr ? CPoint(pList1[nCode - 16]) : CPoint(kNoAnchor, kNoAnchor);
    if (nCode >= 48)
        return nCode - 48 < nList2 && pList2 != nullptr ? CPoint(pList2[nCode - 48]) : CPoint(kNoAnchor, kNoAnchor);
    return CPoint(kNoAnchor, kNoAnchor);
}

CPoint CGameApp::GetAnchorPoint(int nCode)
{
    CRect area;
    const POINT* pList1 = nullptr;
    const POINT* pList2 = nullptr;
    int nList1 = 0, nList2 = 0;
    if (!GetAnchorArea(&area, &pList1, &nList1, &pList2, &nList2))
        return CPoint(kNoAnchor, kNoAnchor);
    return AnchorPointOf(nCode, area, pList1, nList1, pList2, nList2);
}
