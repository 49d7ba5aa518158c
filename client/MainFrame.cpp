#include "MainFrame.h"

#include <shellapi.h>

#include <cstring>

#include "BkPainter.h"
#include "ChatWnd.h"
#include "ChildWndItem.h"
#include "ClientPaths.h"
#include "ClientServices.h"
#include "FrameRules.h"
#include "GameClientApp.h"
#include "GameEnvironment.h"
#include "GameWnd.h"
#include "MediaCapture.h"
#include "ReplayPanelDlg.h"
#include "SpliteGrid.h"
#include "client_ids.h"
#include "net/GameClientSocket.h"
#include "store/QVIniFile.h"

IMPLEMENT_DYNCREATE(CMainFrame, CQVGameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CQVGameWnd)
    ON_WM_CREATE()
    ON_WM_SETFOCUS()
    ON_WM_ACTIVATE()
    ON_WM_ACTIVATEAPP()
    ON_WM_SHOWWINDOW()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_COMMAND(32773, OnScreenshotCommand)
    ON_COMMAND(32772, OnRecordingCommand)
    ON_MESSAGE(WM_CLOSE_CONFIRMED, OnCloseConfirmed)
    ON_MESSAGE(WM_RECORD_DONE, OnRecordDone)
END_MESSAGE_MAP()

namespace {

// The caption buttons' actions: every entry whose key matches runs, in
// table order.
struct CaptionAction {
    int key;
    void (CMainFrame::*action)();
};
const CaptionAction kCaptionActions[] = {
    {kCaptionClose, &CMainFrame::CloseFrame},
    {kCaptionMaximize, &CMainFrame::ToggleMaximize},
    {kCaptionMinimize, &CMainFrame::Minimize},
    {kCaptionIntroPage, &CMainFrame::OpenIntroPage},
    {kCaptionSetup, &CMainFrame::ShowSetup},
    {kCaptionScreenshot, &CMainFrame::TakeScreenshot},
    {kCaptionRecording, &CMainFrame::ToggleRecording},
    {0, NULL},
};

BOOL IsWebAddress(const CString& address)
{
    CString lower = address;
    lower.MakeLower();
    return lower.Find("http://") == 0 || lower.Find("https://") == 0;
}

}  // namespace

CMainFrame::CMainFrame()
{
    m_nKeyValue4 = 0x26004;
    CreateRecordingControl();
}

CMainFrame::~CMainFrame()
{
    DeleteRecordingControl();
    if (m_hRecorder != NULL)
        ::FreeLibrary(m_hRecorder);
    m_hRecorder = NULL;
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CQVGameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.hMenu = NULL;
    return TRUE;
}

// ---- Layout ----------------------------------------------------------------------------------

CString CMainFrame::GetBackImagePath()
{
    CGameClientApp* app = GetClientApp();
    if (app != NULL && !app->m_strSkinFolder.IsEmpty()) {
        CString path;
        path.Format("%s\\%s_bk.bgd", (LPCSTR)app->m_strSkinFolder, (LPCSTR)app->m_strGameName);
        return path;
    }
    return CQVGameWnd::GetBackImagePath();
}

CAreaPainter* CMainFrame::CreateAreaPainter(LPCSTR name)
{
    if (name != NULL && _stricmp(name, "area_adv") == 0)
        return new (std::nothrow) CChildWndItem;
    return CQVGameWnd::CreateAreaPainter(name);
}

BOOL CMainFrame::OnCreateNameWnd(CAreaPainter* area, LPCSTR name, CQVIniFile* ini, LPCSTR section)
{
    if (!CQVGameWnd::OnCreateNameWnd(area, name, ini, section))
        return FALSE;
    if (_stricmp(name, "area_game") == 0)
        m_pGameArea = area;
    else if (_stricmp(name, "area_chat") == 0)
        m_pChatArea = area;
    else if (_stricmp(name, "area_play") == 0)
        m_pPlayArea = area;
    return TRUE;
}

BOOL CMainFrame::OnCreateSpliteGrid(CSpliteGrid* grid, LPCSTR name)
{
    if (grid == NULL || name == NULL || ::GetSystemMetrics(SM_CXSCREEN) > 800)
        return TRUE;
    const short size = grid->m_bStacked ? 120 : 160;
    if (_stricmp(name, "area") == 0)
        grid->m_nMinSize[1] = size;
    else if (_stricmp(name, "area_advchat") == 0)
        grid->m_nMinSize[0] = size;
    return TRUE;
}

// ---- Creation --------------------------------------------------------------------------------

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CQVGameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    CGameClientApp* app = GetClientApp();

    m_pGameWnd = new CGameWnd;
    if (!m_pGameWnd->Create(NULL, NULL, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), this,
                            kTableWindowId)) {
        m_pGameWnd->ReleaseWhenIdle();
        m_pGameWnd = NULL;
        WriteLog("[OnCreate] table window not created");
        return -1;
    }
    if (app != NULL)
        app->m_pGameWnd = m_pGameWnd;

    if (app != NULL && app->IsOnline()) {
        m_pChatPane = new CChatWnd;
        if (!m_pChatPane->Create(NULL, NULL, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), this,
                                 kChatPaneId)) {
            delete m_pChatPane;
            m_pChatPane = NULL;
            app->m_pGameWnd = NULL;
            CGameWnd* table = m_pGameWnd;
            m_pGameWnd = NULL;
            table->DestroyWindow();
            table->ReleaseWhenIdle();
            WriteLog("[OnCreate] chat pane not created");
            return -1;
        }
    }

    // Local mode: the replay panel, a child of the frame.
    if (app != NULL && !app->IsOnline() && app->m_pRecord != NULL) {
        m_pReplayPanel = new CReplayPanelDlg(*app->m_pRecord, this);
        if (m_pReplayPanel->Create(IDD_CLIENT_REPLAY, this)) {
            m_pReplayPanel->ShowWindow(SW_SHOW);
        } else {
            delete m_pReplayPanel;
            m_pReplayPanel = NULL;
            WriteLog("[OnCreate] replay panel not created");
        }
    }

    if (app != NULL) {
        int values[3];
        const char* keys[3] = {"KeyValue1", "KeyValue2", "KeyValue3"};
        for (int i = 0; i < 3; i++)
            values[i] = (int)app->GetProfileInt("", keys[i], 0);
        if (FrameKeyValuesNeedWriting(values))
            for (int i = 0; i < 3; i++)
                app->WriteProfileInt("", keys[i], kFrameKeyValues[i]);
    }

    // The recording library, from the program's folder only: a library of
    // that name in the current folder (a saved game opened from elsewhere)
    // is never loaded.
    m_hRecorder = ::LoadLibraryExA(GetExeFolder() + "\\Vidrelle.dll", NULL, LOAD_WITH_ALTERED_SEARCH_PATH);

    for (int i = 0; i < GetTitleButtonCount(); i++)
        if (GetTitleButton(i)->m_nKey == kCaptionRecording)
            m_pVideoButton = GetTitleButton(i);
    LoadVideoButtonPictures();
    return 0;
}

void CMainFrame::LoadVideoButtonPictures()
{
    const CString folder = GetExeFolder();
    struct Look {
        CImageObj* picture;
        const char* file;
        const char* missing;
    } looks[] = {
        {&m_stopPicture, "\\picture\\btn_stopVid.png", "按钮图片\"btn_stopVid.png\"未找到!"},
        {&m_videoPicture, "\\picture\\btn_video.png", "按钮图片\"btn_video.png\"未找到!"},
    };
    for (const Look& look : looks) {
        if (!look.picture->LoadFile(folder + look.file)) {
            MessageBox(look.missing);
            look.picture->Create(92, 23, 24);
        }
    }
    if (m_pVideoButton != NULL) {
        m_pVideoButton->SetOtherPicture(&m_stopPicture);
        m_pVideoButton->SetTips(m_pVideoButton->m_strTip, "结束录像Ctrl+R");
    }
}

// ---- Focus and placement ------------------------------------------------------------------------

void CMainFrame::FocusChatOrTable()
{
    CGameClientApp* app = GetClientApp();
    if (app != NULL && app->m_pChat != NULL && app->m_pChat->GetSafeHwnd() != NULL)
        app->m_pChat->SetFocus();
    else if (m_pGameWnd != NULL && m_pGameWnd->GetSafeHwnd() != NULL)
        m_pGameWnd->SetFocus();
}

void CMainFrame::OnSetFocus(CWnd* /*pOldWnd*/) { FocusChatOrTable(); }

void CMainFrame::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CQVGameWnd::OnActivate(nState, pWndOther, bMinimized);
    if (nState == WA_ACTIVE && m_pGameWnd != NULL && m_pGameWnd->GetSafeHwnd() != NULL) {
        CGameClientApp* app = GetClientApp();
        if (app != NULL && app->m_pChat != NULL && app->m_pChat->GetSafeHwnd() != NULL)
            app->m_pChat->SetActiveWindow();
    }
    if (nState != WA_INACTIVE)
        FocusChatOrTable();
}

void CMainFrame::OnActivateApp(BOOL bActive, DWORD dwThreadID)
{
    CQVGameWnd::OnActivateApp(bActive, dwThreadID);
    if (bActive)
        FocusChatOrTable();
}

void CMainFrame::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CQVGameWnd::OnShowWindow(bShow, nStatus);
    if (m_bShownOnce)
        return;
    // The frame starts maximised the first time it shows.
    m_bShownOnce = TRUE;
    RECT work = {};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    CRect desktop;
    ::GetClientRect(::GetDesktopWindow(), &desktop);
    MoveWindow(0, 0, desktop.Width(), work.bottom - work.top, TRUE);
    m_bMaximised = TRUE;
}

void CMainFrame::ToggleMaximize()
{
    RECT work = {};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    FrameBox box;
    if (m_bMaximised) {
        m_bMaximised = FALSE;
        box = RestoredFrameBox(work.left, work.top, work.right, work.bottom);
    } else {
        m_bMaximised = TRUE;
        CRect desktop;
        ::GetClientRect(::GetDesktopWindow(), &desktop);
        box = MaximisedFrameBox(desktop.Width(), work.left, work.top, work.right, work.bottom);
    }
    MoveWindow(box.x, box.y, box.cx, box.cy, TRUE);
}

void CMainFrame::ShowAboutDialog() { CQVGameWnd::ShowAboutDialog(); }

// ---- Caption buttons ------------------------------------------------------------------------------

void CMainFrame::OnTitleButtonKey(int key)
{
    for (const CaptionAction* entry = kCaptionActions; entry->key != 0; entry++)
        if (entry->key == key)
            (this->*entry->action)();
}

void CMainFrame::CloseFrame() { PostClose(); }

void CMainFrame::OpenIntroPage()
{
    CString address = LangRscGetString("Mardavel");
    if (address.IsEmpty())
        address.LoadString(IDS_CLIENT_INTRO_PAGE);
    if (IsWebAddress(address))
        ::ShellExecuteA(m_hWnd, "open", address, NULL, NULL, SW_SHOWNORMAL);
}

// The table's options dialog, the screenshot and the recording belong to the
// table window's tool commands; the caption buttons hand them over.
void CMainFrame::ShowSetup()
{
    if (m_pGameWnd != NULL && m_pGameWnd->GetSafeHwnd() != NULL)
        m_pGameWnd->PostMessage(WM_COMMAND, MAKEWPARAM(kBtnSetup, BN_CLICKED), 0);
}

void CMainFrame::OnScreenshotCommand() { TakeScreenshot(); }
void CMainFrame::OnRecordingCommand() { ToggleRecording(); }

BOOL CMainFrame::CanExitGame() { return theGameSocket.RequestTrustQuit() != 0; }

// ---- Closing ------------------------------------------------------------------------------------

void CMainFrame::OnClose()
{
    StopRecording(kStopClosing);
    CloseState state;
    state.mayClose = theGameSocket.GetMayClose() != FALSE;
    state.lost = theGameSocket.IsConnectionLost() != FALSE;
    state.socketOpen = theGameSocket.IsOpen() != FALSE;
    state.trustQuit = theGameSocket.IsQuitting() != FALSE;
    state.hasTable = m_pGameWnd != NULL;
    switch (DecideClose(state)) {
    case kCloseRefused:
        return;
    case kCloseAskFirst:
        if (!m_pGameWnd->ConfirmLeave())
            return;
        theGameSocket.LeaveAndClose();
        break;
    case kCloseLeaveAndEnd:
        theGameSocket.LeaveAndClose();
        break;
    case kCloseEndNow:
        break;
    }
    PostMessage(WM_CLOSE_CONFIRMED);
}

LRESULT CMainFrame::OnCloseConfirmed(WPARAM, LPARAM)
{
    CGameClientApp* app = GetClientApp();
    if (app != NULL && app->m_pChat != NULL && app->m_pChat->GetSafeHwnd() != NULL &&
        !app->m_pChat->CallDispid56())
        ::ExitProcess(0);
    CQVGameWnd::OnClose();
    return 0;
}

void CMainFrame::OnDestroy()
{
    CGameClientApp* app = GetClientApp();
    if (m_pChatPane != NULL) {
        m_pChatPane->DestroyWindow();
        delete m_pChatPane;
        m_pChatPane = NULL;
    }
    if (m_pReplayPanel != NULL) {
        m_pReplayPanel->DestroyWindow();
        delete m_pReplayPanel;
        m_pReplayPanel = NULL;
    }
    if (m_pGameWnd != NULL) {
        if (app != NULL)
            app->m_pGameWnd = NULL;
        CGameWnd* table = m_pGameWnd;
        m_pGameWnd = NULL;
        table->DestroyWindow();
        table->ReleaseWhenIdle();
    }
    CQVGameWnd::OnDestroy();
}
