#include "GameClientApp.h"
#include "Bitmaps.h"

#include <gdiplus.h>

#include "ClientPaths.h"
#include "ClientServices.h"
#include "Conversions.h"
#include "CrashDump.h"
#include "GameEnvironment.h"
#include "BkPainter.h"
#include "ChatAttach.h"
#include "ChatWnd.h"
#include "GameWnd.h"
#include "KitServices.h"
#include "MainFrame.h"
#include "ReplayPanelDlg.h"
#include "ODLibrary.h"
#include "client_ids.h"
#include "net/GameClientSocket.h"
#include "store/FilePaths.h"

IMPLEMENT_DYNAMIC(CGameClientApp, CGameApp)

namespace {

const char kSettings[] = "Settings";

// The fault report's fixed first values.
constexpr UINT_PTR kFaultProduct = 97;
constexpr UINT_PTR kFaultModule = 739;
constexpr UINT kFaultStartup = 429;
constexpr UINT kFaultBoardUnusable = 430;
constexpr UINT kFaultCrash = 427;

void PostFaultOfApp(UINT nCode)
{
    if (CGameClientApp* app = GetClientApp())
        app->PostClientFault(nCode);
}

LONG WINAPI ClientCrashFilter(EXCEPTION_POINTERS* pPointers);
LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter = NULL;

LONG WINAPI ClientCrashFilter(EXCEPTION_POINTERS* pPointers)
{
    const CString folder = GetUserDataFolder();
    CrashDumpOptions options;
    options.folder = folder;
    options.postFault = [](UINT) { PostFaultOfApp(kFaultCrash); };
    options.previous = g_previousFilter;
    return WriteCrashDump(pPointers, options).filterResult;
}

}  // namespace

int CClientSocketUi::AskQuery(LPCSTR lpszText, UINT nStyle, UINT nArgument, BOOL bWantsText, CString& rAnswerText)
{
    return KitAskQuery(lpszText, nStyle, nArgument, bWantsText, rAnswerText);
}

BOOL CClientSocketUi::HasChatControl()
{
    CGameClientApp* app = GetClientApp();
    return app != NULL && app->m_pChat != NULL && app->m_pChat->GetSafeHwnd() != NULL;
}

void CClientSocketUi::AddWealthRecord(const WealthRecord& record, uint32_t value)
{
    if (HasChatControl())
        AddWealthRecordToChat(GetClientApp()->m_pChat, record, value);
}

void CClientSocketUi::ShowWebNotice(LPCSTR lpszTitle, LPCSTR lpszAddress, UINT nWidth, UINT nHeight)
{
    KitShowWebNotice(AfxGetMainWnd(), lpszTitle, lpszAddress, nWidth, nHeight);
}

void CClientSocketUi::CloseWebNotice() { KitCloseWebNotice(); }

CGameClientApp* GetClientApp() { return DYNAMIC_DOWNCAST(CGameClientApp, AfxGetApp()); }

CGameClientApp::CGameClientApp() : CGameApp("Mardavel")
{
    // Five seats, set before the base reads the player list, so no playing
    // chair below five is taken for a watcher.
    m_nSeatCount = kTableSeats;
    m_bOwnerDraw = TRUE;
    m_pfnODInitLibrary = ODInitLibrary;
}

CGameClientApp::~CGameClientApp()
{
    delete m_pRecord;
    m_pRecord = NULL;
    m_board.Free();
}

void CGameClientApp::FillFaultContext(LPCSTR lpszText)
{
    SOCKADDR_IN peer = {};
    int length = sizeof(peer);
    if (theGameSocket.m_hSocket != INVALID_SOCKET &&
        ::getpeername(theGameSocket.m_hSocket, (SOCKADDR*)&peer, &length) == 0)
        m_strServerText.Format("%s,%d", ::inet_ntoa(peer.sin_addr), (int)ntohs(peer.sin_port));
    if (lpszText != NULL && lpszText[0] != '\0')
        m_strFaultContext.Format("%.200s,%.20s", lpszText, OwnUserName());
    else
        m_strFaultContext.Format("%.200s,%s,%.20s的客户端", (LPCSTR)m_strServerText, "Windows", OwnUserName());
}

void CGameClientApp::PostClientFault(UINT nCode)
{
    if (m_strServerText.IsEmpty())
        FillFaultContext("");
    PostFaultReport(kFaultProduct, kFaultModule, (LPCSTR)m_strServerText, 0, nCode, (LPCSTR)m_strFaultContext, 0);
}

BOOL CGameClientApp::LoadBoardDll(LPCSTR lpszName)
{
    return BindBoardForStartup(m_board, GetExeFolder(), lpszName, PostFaultOfApp);
}

void CGameClientApp::UpdateSeatViews()
{
    ComputeSeatViews(m_nOwnSeat, m_nPlayerCount, m_nPlayDirection, m_views);
}

void CGameClientApp::OnLaunchValue(uint32_t /*nValue*/, uint32_t nBlob1Length, const uint8_t* pBlob1,
                                   BOOL bWatching)
{
    m_nPlayDirection = (int)GetProfileInt(kSettings, "PlayDir", 0);
    m_nPlayerCount = kTableSeats;
    if (bWatching)
        m_bWatcher = TRUE;
    // The base gives the own chair as a seat (a watcher's: the watched seat).
    m_nOwnSeat = m_nOwnChair < (uint32_t)kTableSeats ? (int)m_nOwnChair : 0;
    UpdateSeatViews();

    SeatPlayer players[kTableSeats] = {};
    const int count = GetPlayerCount() < kTableSeats ? GetPlayerCount() : kTableSeats;
    for (int i = 0; i < count; i++) {
        const CGamePlayer* player = GetPlayer(i);
        players[i] = SeatPlayer{player->m_pszUserName, player->m_pszNickName, player->m_nChair};
    }
    FillSeatRecords(players, count, m_seats);

    const int personal = (int)GetProfileInt(kSettings, "PersonalData", 1);
    ParseRoomSettings(pBlob1 != NULL ? (const char*)pBlob1 : "", pBlob1 != NULL ? nBlob1Length : 0, personal,
                      m_roomSettings);
}

CFrameWnd* CGameClientApp::NewMainFrame() { return new CMainFrame; }

BOOL CGameClientApp::InitInstance()
{
    SetMsgBoxRoutine(NULL);
    InstallKitServices();
    theGameSocket.SetUiServices(&m_socketUi);
    if (!CGameApp::InitInstance()) {
        PostClientFault(kFaultStartup);
        return FALSE;
    }
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&m_gdiplusToken, &input, NULL);

    if (m_skins.Init("Mardavel", "Mardavel_skin_1") && m_skins.LoadSkins())
        m_strSkinFolder = m_skins.GetSkinFolder();
    InitThemePaths("Mardavel", TRUE, NULL);

    const CString folder = GetExeFolder();
    SetResPicFolders(folder, GetSharePath());

    // The chat control's skin: the loaded skin's own when it has one, else
    // the backup, copied over the live file.
    const CString liveSkin = folder + "\\QVChatSkin.ini";
    const CString skinChat = m_strSkinFolder + "\\QVChatSkin.ini";
    const CString backupSkin = folder + "\\QVChatSkin.bak";
    if (!m_strSkinFolder.IsEmpty() && FileCanOpen(skinChat))
        ::CopyFileA(skinChat, liveSkin, FALSE);
    else if (FileCanOpen(backupSkin))
        ::CopyFileA(backupSkin, liveSkin, FALSE);

    if (!LoadBoardDll("Mardavel")) {
        WriteLog("[InitInstance] board library not usable!");
        PostClientFault(kFaultBoardUnusable);
        return FALSE;
    }

    m_strGameName = m_bOnline ? "mardavel" : "mardavel_local";
    if (!m_bOnline) {
        m_nOwnSeat = 0;
        UpdateSeatViews();
        SeatPlayer players[kTableSeats] = {};
        const int count = GetPlayerCount() < kTableSeats ? GetPlayerCount() : kTableSeats;
        for (int i = 0; i < count; i++) {
            const CGamePlayer* player = GetPlayer(i);
            players[i] = SeatPlayer{player->m_pszUserName, player->m_pszNickName, player->m_nChair};
        }
        FillSeatRecords(players, count, m_seats);
    }

    m_pRecord = new CGameRecord;
    m_pRecord->LoadSettings();
    CMainFrame* pFrame = new CMainFrame;
    m_pMainWnd = pFrame;
    if (!pFrame->LoadFrame(IDR_MARDAVEL_FRAME, 0x860F0000)) {
        WriteLog("[InitInstance] LoadFrame fail!");
        m_pMainWnd = NULL;
        delete pFrame;
        return FALSE;
    }

    theGameSocket.StopReceive();
    // -1: a seat window could not be made; the table goes on without it.
    if (m_pGameWnd == NULL || m_pGameWnd->CreateBoard() == 0) {
        WriteLog("[InitInstance] CreateBoard fail!");
        return FALSE;
    }
    theGameSocket.StartReceive();

    CString title;
    if (m_bOnline) {
        const SeatLayoutRecord& own = m_seats[m_nOwnSeat];
        CString format;
        format.LoadString(m_bWatcher ? IDS_CLIENT_TITLE_WATCHING : IDS_CLIENT_TITLE_PLAYING);
        if (m_bWatcher)
            title.Format(format, m_pszNickName != NULL ? m_pszNickName : "", OwnUserName());
        else
            title.Format(format, own.nickName, own.userName);
    } else {
        title = "Mardavel 单机版";
    }
    pFrame->SetWindowText(title);
    // Local mode: a saved game named on the command line is replayed.
    if (!m_bOnline && __argc == 2 && __argv[1] != NULL && __argv[1][0] != '\0')
        m_pRecord->OpenFile(__argv[1]);
    m_bTableCreated = TRUE;

    // The table window and the chat pane into the frame's areas.
    if (CAreaPainter* area = pFrame->GetGameArea()) {
        area->AddItem(m_pGameWnd, kDockFill);
        m_pGameWnd->ShowWindow(SW_SHOW);
    }
    if (CAreaPainter* area = pFrame->GetChatArea()) {
        if (CChatWnd* pane = pFrame->GetChatWnd()) {
            area->AddItem(pane, kDockFill);
            pane->ShowWindow(SW_SHOW);
        } else if (CReplayPanelDlg* panel = pFrame->GetReplayPanel()) {
            area->AddItem(panel, kDockFill);
            panel->ShowWindow(SW_SHOW);
        }
    }
    pFrame->RestorePlacement();

    g_previousFilter = ::SetUnhandledExceptionFilter(ClientCrashFilter);
    m_pPreviousFilter = g_previousFilter;
    if (m_bOnline)
        ReadNews();
    WriteLog("[InitInstance] table ready");
    return TRUE;
}

BOOL CGameClientApp::PreTranslateMessage(MSG* pMsg)
{
    if (m_pToolTip != NULL && m_pToolTip->GetSafeHwnd() != NULL && pMsg->message >= WM_MOUSEFIRST &&
        pMsg->message <= WM_MOUSELAST)
        m_pToolTip->RelayEvent(pMsg);
    return CGameApp::PreTranslateMessage(pMsg);
}

BOOL CGameClientApp::OnIdle(LONG lCount)
{
    if (m_pTableToDelete != NULL && !m_pTableToDelete->IsBoardBusy()) {
        delete m_pTableToDelete;
        m_pTableToDelete = NULL;
    }
    return CGameApp::OnIdle(lCount);
}

int CGameClientApp::ExitInstance()
{
    if (m_pTableToDelete != NULL && !m_pTableToDelete->IsBoardBusy())
        delete m_pTableToDelete;
    m_pTableToDelete = NULL;
    if (m_gdiplusToken != 0)
        Gdiplus::GdiplusShutdown(m_gdiplusToken);
    m_gdiplusToken = 0;
    ODExitLibrary();
    return CGameApp::ExitInstance();
}
