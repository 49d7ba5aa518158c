#include "GameWnd.h"

#include <mmsystem.h>

#include <cstdlib>
#include <cstring>

#include "Bitmaps.h"
#include "CardPicking.h"

#include "ClientPaths.h"
#include "ClientServices.h"
#include "GameClientApp.h"
#include "MainFrame.h"
#include "MardavelBoard.h"
#include "MardavelHints.h"
#include "PngButton.h"
#include "client_ids.h"
#include "net/GameClientSocket.h"

IMPLEMENT_DYNCREATE(CGameWnd, CWnd)

BEGIN_MESSAGE_MAP(CGameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
    ON_MESSAGE(WM_MOUSEHOVER, OnMouseHover)
    ON_WM_RBUTTONDOWN()
    ON_MESSAGE(WM_RECEIVE_HOLD, OnReceiveHold)
END_MESSAGE_MAP()

namespace {

constexpr UINT kFaultOffline = 432;
constexpr UINT kFaultBack = 433;

// Show-once flags of the network boxes (one per process).
BOOL g_bIdleBoxPending = TRUE;
BOOL g_bTimeoutBoxPending = TRUE;

const char kNetworkHelp[] = "网络异常!\n\n该问题有可能影响到您的游戏质量。\n请检查本地网络连接，或咨询网络接入服务商";

// The whole size of a message the connection handed over (it framed it).
size_t WholeMessageSize(const void* pMessage)
{
    const uint8_t* bytes = static_cast<const uint8_t*>(pMessage);
    uint32_t id = 0, length = 0;
    memcpy(&id, bytes, 4);
    memcpy(&length, bytes + 4, 4);
    return (size_t)MessageHeaderBytes(id) + length;
}

int PlayerOfflineHook(void* pContext, void* pMessage);
int PlayerBackHook(void* pContext, void* pMessage);
int CloseEventHook(void*, void*) { return 0; }

int NoticeHook(void*, LPCSTR lpszText)
{
    if (lpszText == NULL)
        return 0;
    if (strstr(lpszText, "游戏托管中...") != NULL || strstr(lpszText, "超时自动托管中...") != NULL ||
        strstr(lpszText, "已经成功解除托管") != NULL)
        return 0;
    MsgBoxText(lpszText, MB_ICONEXCLAMATION);
    return 0;
}

CGameWnd* TableOf(void* pContext) { return static_cast<CGameWnd*>(pContext); }

int PlayerOfflineHook(void* pContext, void* pMessage)
{
    CGameWnd* table = TableOf(pContext);
    if (table != NULL && pMessage != NULL) {
        table->BoardEvent(kEvGameMessage, -1, -1, pMessage);
        table->Invalidate(FALSE);
    }
    if (CGameClientApp* app = GetClientApp())
        app->PostClientFault(kFaultOffline);
    return 1;
}

int PlayerBackHook(void* pContext, void* pMessage)
{
    CGameWnd* table = TableOf(pContext);
    if (table != NULL && pMessage != NULL) {
        table->BoardEvent(kEvGameMessage, -1, -1, pMessage);
        table->Invalidate(FALSE);
    }
    if (CGameClientApp* app = GetClientApp())
        app->PostClientFault(kFaultBack);
    return 1;
}

}  // namespace

CGameWnd::CGameWnd() = default;

CGameWnd::~CGameWnd() { DestroyBoard(); }

void CGameWnd::DestroyBoard()
{
    if (m_hBoard == NULL)
        return;
    CGameClientApp* app = GetClientApp();
    if (app != NULL && app->m_board.m_pfnDestory != NULL)
        app->m_board.m_pfnDestory(m_hBoard);
    m_hBoard = NULL;
    if (app != NULL)
        app->m_state.Reset();
}

int CGameWnd::OwnSeat() const
{
    const CGameClientApp* app = GetClientApp();
    return app != NULL ? app->OwnSeat() : 0;
}

BOOL CGameWnd::IsWatching() const
{
    const CGameClientApp* app = GetClientApp();
    return app != NULL && app->IsWatching();
}

// ---- The board -----------------------------------------------------------------------------------

int32_t CGameWnd::BoardEvent(int32_t code, int32_t a, int32_t b, void* param)
{
    CGameClientApp* app = GetClientApp();
    if (m_hBoard == NULL || app == NULL || app->m_board.m_pfnEvent == NULL)
        return 0;
    m_nBoardDepth++;
    const int32_t result = app->m_board.m_pfnEvent(m_hBoard, code, a, b, param);
    m_nBoardDepth--;
    // Released while the board was on the stack: the board goes now that it
    // has returned.
    if (m_nBoardDepth == 0 && m_bDeleteWhenIdle)
        DestroyBoard();
    return result;
}

void CGameWnd::ReleaseWhenIdle()
{
    CGameClientApp* app = GetClientApp();
    if (m_nBoardDepth > 0 && app != NULL) {
        m_bDeleteWhenIdle = TRUE;
        app->DeleteTableWhenIdle(this);
    } else {
        delete this;
    }
}

void CGameWnd::PostNcDestroy()
{
    // The frame deletes the object (ReleaseWhenIdle).
}

int CGameWnd::CreateBoard()
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || !app->m_board.IsBound())
        return 0;
    if (m_hBoard == NULL) {
        m_hBoard = app->m_board.m_pfnCreate(kBoardModePlayer, BoardCallbackThunk, (uintptr_t)this, 0, NULL);
        if (m_hBoard == NULL)
            return 0;
    }
    BoardPlayerRecord own = {};
    strncpy(own.userName, app->OwnUserName(), sizeof(own.userName) - 1);
    own.seat = (uint8_t)(OwnSeat() | (IsWatching() ? kSeatWatchingBit : 0));
    if (BoardEvent(kEvOwnIdentity, 0, 0, &own) == 0)
        return 0;
    if (BoardEvent(kEvTableState, 0, 0, app->m_state.Slot()) == 0 || !app->m_state.Exists())
        return 0;
    if (BoardEvent(kEvSavedCounts, 0, 0, &m_pSeatValues) == 0 || BoardEvent(kEvSavedCards, 0, 0, &m_pSavedBlock) == 0)
        return 0;

    theGameSocket.SetHandler(DispatchNetMessage, this);
    theGameSocket.SetHooks(CloseEventHook, PlayerOfflineHook, PlayerBackHook);
    theGameSocket.SetNoticeHook(NoticeHook, NULL);
    // A portrait that cannot be made leaves its seat without one; the rest
    // of the table is still made.
    const int seats = CreateSeatWindows();
    UpdatePhaseButtons(TRUE);
    Invalidate(FALSE);
    return seats;
}

int32_t QVBOARD_CALL CGameWnd::BoardCallbackThunk(BoardCallbackRecord* record)
{
    if (record == NULL || record->cookie == 0)
        return 1;
    return reinterpret_cast<CGameWnd*>(record->cookie)->OnBoardCallback(*record);
}

// ---- The connection ----------------------------------------------------------------------------

int CGameWnd::DispatchNetMessage(void* pContext, void* pData, uint32_t dwCode)
{
    CGameWnd* table = TableOf(pContext);
    if (table == NULL || table->GetSafeHwnd() == NULL)
        return 0;
    switch (dwCode) {
    case kHandlerConnectionClosed:
        table->OnConnectionClosed();
        return 0;
    case kHandlerTrustState:
        if (pData != NULL)
            table->OnTrustStatus(static_cast<const uint8_t*>(pData), WholeMessageSize(pData));
        return 0;
    case kHandlerTrustQuit:
        if (pData != NULL) {
            table->BoardEvent(kEvGameMessage, -1, -1, pData);
            table->Invalidate(FALSE);
        }
        return 0;
    default:
        break;
    }
    if (pData == NULL)
        return 0;
    switch (RouteOfMessage(dwCode)) {
    case kRouteGameMessage:
        table->OnGameMessage(static_cast<uint8_t*>(pData), WholeMessageSize(pData));
        break;
    case kRouteTask:
        table->OnTaskMessage(static_cast<const uint8_t*>(pData), WholeMessageSize(pData));
        break;
    case kRouteLinkedNotice:
        table->OnLinkedNotice(static_cast<const uint8_t*>(pData), WholeMessageSize(pData));
        break;
    default:
        // Skin data, advertising, notices and tasks belong to parts of the
        // program that take them when they are there.
        break;
    }
    return 0;
}

void CGameWnd::OnGameMessage(uint8_t* pMessage, size_t nSize)
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || pMessage == NULL)
        return;
    if (app->IsOnline() && !app->IsWatching() && app->m_pRecord != NULL) {
        peg::Record::Names names = {};
        for (int i = 0; i < kTableSeats; i++) {
            names.userNames[i] = app->m_seats[i].userName;
            names.nickNames[i] = app->m_seats[i].nickName;
        }
        app->m_pRecord->RecordMessage(pMessage, nSize, names, (uint32_t)OwnSeat());
    }
    BeforeGameMessage(pMessage);
    switch (GameMessageKindOf(MessageId(pMessage))) {
    case kHandResultToBoard:
        m_strHandResult.Empty();
        BoardEvent(kEvGameMessage, -1, -1, pMessage);
        break;
    case kTitleListOnly:
        OnTitleList(pMessage, nSize);
        break;
    case kTableOptionsOnly:
        StoreTableOptions(pMessage, nSize);
        break;
    default:
        BoardEvent(kEvGameMessage, -1, -1, pMessage);
        break;
    }
}

BOOL CGameWnd::SendGameMessage(const void* pMessage)
{
    if (pMessage == NULL || !MaySendMessage(static_cast<const uint8_t*>(pMessage)))
        return FALSE;
    return theGameSocket.SendMsg(pMessage);
}

void CGameWnd::OnTrustStatus(const uint8_t* pMessage, size_t nSize)
{
    BoardEvent(kEvGameMessage, -1, -1, const_cast<uint8_t*>(pMessage));
    TrustStatus status;
    if (ParseTrustStatus(pMessage, nSize, &status)) {
        CGameClientApp* app = GetClientApp();
        if (status.result == 1 && app != NULL && SameUserName(status.userName, app->OwnUserName())) {
            m_bTrustPlay = status.inTrust != 0;
            if (m_bTrustPlay) {
                m_trustTimes = status.times;
                m_trustAllowed = status.allowed;
            }
            UpdatePhaseButtons(FALSE);
        }
    }
    Invalidate(FALSE);
}

void CGameWnd::OnConnectionClosed()
{
    KillTimer(kTimerSecond);
    KillTimer(kTimerFlash);
    KillTimer(kTimerResultPause);
    if (!m_bReceiveFree) {
        KillTimer(kTimerHold);
        m_bReceiveFree = TRUE;
        theGameSocket.ResumeReceive();
    }
    m_bLeave = TRUE;
    CGameClientApp* app = GetClientApp();
    CWnd* main = AfxGetMainWnd();
    if (main == NULL)
        return;
    if (app != NULL && app->m_state.Exists()) {
        const BoardGameState* s = app->m_state.Get();
        const int hands = app->m_state.HandsPerMatch();
        if (hands > 1 && s->phase == kPhasePlay && (int)s->handsFinished < hands - 1)
            ShowMessageId(IDS_CLIENT_MATCH_LOST, MB_ICONHAND);
    }
    main->PostMessage(WM_CLOSE);
}

LRESULT CGameWnd::OnReceiveHold(WPARAM, LPARAM lParam)
{
    if (lParam <= 0)
        return 1;
    if (m_bReceiveFree) {
        theGameSocket.SuspendReceive();
        m_bReceiveFree = FALSE;
    }
    SetTimer(kTimerHold, (UINT)lParam, NULL);
    return 1;
}

BOOL CGameWnd::ConfirmLeave()
{
    if (!theGameSocket.IsOpen() || IsWatching()) {
        m_bLeave = TRUE;
        return TRUE;
    }
    if (m_bLeave) {
        if (m_bTrustPlay)
            return TRUE;
        return MsgBoxId(IDS_CLIENT_LEAVE_QUESTION, MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION) == IDYES;
    }
    // Hand the seat over and leave (the server's answer closes the frame),
    // or stay.
    AskLeave();
    return FALSE;
}

// ---- Window --------------------------------------------------------------------------------------

BOOL CGameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CWnd::PreCreateWindow(cs))
        return FALSE;
    cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursor(NULL, IDC_ARROW),
                                       (HBRUSH)(COLOR_WINDOW + 1), NULL);
    return TRUE;
}

int CGameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    ReadSettings();
    m_nBackgroundMode = 0;
    CString face;
    face.LoadString(IDS_CLIENT_FONT_FACE);
    if (face.IsEmpty())
        face = "宋体";
    m_font.CreateFont(12, 6, 0, 0, 500, FALSE, FALSE, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                      DEFAULT_QUALITY, DEFAULT_PITCH, face);
    m_textFont.CreateFont(14, 7, 0, 0, 500, FALSE, FALSE, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
    LoadPictures();
    if (!CreateButtons())
        return -1;
    if (!m_balloon.Create(NULL, WS_CHILD, CRect(0, 0, 0, 0), this, kTextBalloonId))
        return -1;
    m_balloon.SetFont(&m_textFont);
    SetTimer(kTimerSecond, 1000, NULL);
    SetTimer(kTimerFlash, 400, NULL);
    if (!CreateBackBuffer())
        return -1;
    CreateHistoryWindow();
    CreateDesignatedTip();
    CreateTaskPanel();
    ApplyMusicSetting();
    return 0;
}

void CGameWnd::OnDestroy()
{
    KillTimer(kTimerSecond);
    KillTimer(kTimerFlash);
    KillTimer(kTimerHold);
    KillTimer(kTimerResultPause);
    DestroyDesignatedTip();
    DestroySeatTips();
    // A hold or the result pause still in force would leave the connection
    // suspended for good.
    if (!m_bReceiveFree) {
        m_bReceiveFree = TRUE;
        theGameSocket.ResumeReceive();
    }
    if (m_bHeldForPause) {
        m_bHeldForPause = FALSE;
        theGameSocket.ResumeReceive();
    }
    theGameSocket.SetHandler(NULL, NULL);
    theGameSocket.SetHooks(NULL, NULL, NULL);
    theGameSocket.SetNoticeHook(NULL, NULL);
    FreeBackBuffer();
    DestroySeatWindows();
    DestroyHistoryWindow();
    DestroyTitlesDialog();
    DestroyTips();
    if (CGameClientApp* app = GetClientApp())
        if (app->m_pToolTip == &m_tooltip)
            app->m_pToolTip = NULL;
    CWnd::OnDestroy();
}

BOOL CGameWnd::OnEraseBkgnd(CDC*) { return TRUE; }

void CGameWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (cx <= 0 || cy <= 0)
        return;
    LayoutTableNow();
    HideSeatTips();
    if (m_balloon.GetSafeHwnd() != NULL)
        m_balloon.SetPlacement(50, 20000 / cy, cx / 2);
    // The tool buttons in two rows at the right, sized as the settings button.
    SIZE tool = {0, 0};
    if (CPngButton* setup = DYNAMIC_DOWNCAST(CPngButton, GetDlgItem(kBtnSetup)))
        setup->GetImageInfo(&tool);
    if (tool.cx > 0 && tool.cy > 0)
        for (const ButtonPlace& place : ToolButtonPlaces(cx, cy, tool.cx, tool.cy))
            if (CWnd* button = GetDlgItem(place.id))
                button->SetWindowPos(NULL, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutTaskArea(cx, tool);
    LayoutDecisionButtons();
    // The cancel-trust button over the own seat's panel, at its picture's size.
    if (CPngButton* cancel = DYNAMIC_DOWNCAST(CPngButton, TableButton(kBtnTrustPlayOff))) {
        SIZE size = {0, 0};
        cancel->GetImageInfo(&size);
        if (CGameClientApp* app = GetClientApp()) {
            const SeatLayoutRecord& own = app->m_seats[OwnSeat()];
            cancel->SetWindowPos(NULL, own.panelLeft + 300, own.panelTop + 190, size.cx, size.cy,
                                 SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    Invalidate(FALSE);
}

// ---- Timers ----------------------------------------------------------------------------------------

void CGameWnd::OnTimer(UINT_PTR nIDEvent)
{
    if (OnTaskTimer(nIDEvent))
        return;
    switch (nIDEvent) {
    case kTimerHold:
        KillTimer(kTimerHold);
        if (!m_bReceiveFree) {
            m_bReceiveFree = TRUE;
            theGameSocket.ResumeReceive();
            ::OutputDebugStringA("CGameWnd::StartReceive\n");
        }
        return;
    case kTimerResultPause:
        KillTimer(kTimerResultPause);
        FinishPhaseZero();
        return;
    case kTimerFlash:
        if (theGameSocket.IsOpen())
            StepFewCardsFlash();
        return;
    case kTimerSecond:
        break;
    default:
        return;
    }
    if (!theGameSocket.IsOpen())
        return;
    if (m_idle.Tick(CGameSocket::GetIdleSecond())) {
        theGameSocket.SendNotice201();
        if (!IsWatching()) {
            uint8_t idle[8];
            BuildEmptyMessage(tablemsg::kIdle, idle);
            if (!SendGameMessage(idle) && g_bIdleBoxPending) {
                g_bIdleBoxPending = FALSE;
                MsgBoxText(CString("0x73d2(idle):") + kNetworkHelp, MB_OK);
            }
        }
    }
    CGameClientApp* app = GetClientApp();
    if (app == NULL || !app->m_state.Exists())
        return;
    const ClockTick tick = TickClock(app->m_state, OwnSeat(), IsWatching(), m_bOwnClockActive);
    if (tick.seat < 0)
        return;
    if (tick.warn)
        PlaySoundEntry((int)0x80000005u, OwnSeat());
    if (tick.autoAction) {
        m_bOwnClockActive = FALSE;
        AutoAction();
    }
    Invalidate(FALSE);
}

void CGameWnd::AutoAction()
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || !app->m_state.Exists() || IsWatching() || m_nBoardDepth > 0)
        return;
    switch (AutoActionFor(app->m_state.Get(), IsWatching() != FALSE)) {
    case kAutoStart:
        BoardEvent(kEvReady, -1, -1, NULL);
        Invalidate(FALSE);
        break;
    case kAutoNoKick:
        BoardEvent(kEvNoKick, -1, -1, NULL);
        break;
    case kAutoGuardHidden:
        BoardEvent(kEvGuardHidden, -1, -1, NULL);
        break;
    case kAutoTrustRequest: {
        if (IsButtonVisible(kBtnAlone)) {
            m_bOwnClockActive = FALSE;
            for (int id : {kBtnBecome, kBtnDecline, kBtnAlone, kBtnGiveUp})
                ShowButton(id, FALSE);
        }
        uint8_t request[kTrustRequestSize];
        BuildTrustRequest(2, app->OwnUserName(), request);
        if (!SendGameMessage(request) && g_bTimeoutBoxPending)
            MsgBoxText(CString("0x73d4(AutoTrustPlay):") + kNetworkHelp, MB_OK);
        g_bTimeoutBoxPending = FALSE;
        break;
    }
    default:
        break;
    }
}

// ---- Commands ----------------------------------------------------------------------------------------

BOOL CGameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = (int)LOWORD(wParam);
    if (OnToolCommand(id) || OnPlayerCommand(id) || OnOptionsCommand(wParam))
        return TRUE;
    if (id == kBtnHint) {
        if (m_nBoardDepth == 0)
            OnHint();
        return TRUE;
    }
    const int32_t event = CommandBoardEvent(id);
    if (event == 0)
        return CWnd::OnCommand(wParam, lParam);
    // The board is not re-entrant: a command that arrives while it is on
    // the stack (a box inside a callback) is dropped.
    if (m_bTrustPlay || m_nBoardDepth > 0)
        return TRUE;
    if (id == kBtnPass)
        ClearSelection();
    BoardEvent(event, -1, -1, NULL);
    UpdatePlayButton();
    RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return TRUE;
}

void CGameWnd::ClearSelection()
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || !app->m_state.Exists())
        return;
    const int own = OwnSeat();
    const int count = app->m_state.HandCount(own);
    for (int i = 0; i < count; i++)
        app->m_state.SetHandCardFlags(own, i, 0, kCardSelected);
}

void CGameWnd::OnHint()
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || !app->m_state.Exists() || m_bHintBusy)
        return;
    m_bHintBusy = TRUE;
    EnableButton(kBtnHint, FALSE);
    const HintCandidate* hint = NULL;
    BoardEvent(kEvNextHint, -1, -1, &hint);
    const int own = OwnSeat();
    ClearSelection();
    if (hint == NULL) {
        // No play beats the table: pass, unless the own seat leads (the
        // board refuses a leader's pass; the user plays any cards).
        if (!OwnSeatLeads(*app->m_state.Get(), own))
            BoardEvent(kEvPass, -1, -1, NULL);
    } else {
        const int count = app->m_state.HandCount(own);
        const CardEntry* hand = app->m_state.Hand(own);
        const uint32_t hintCount = hint->count <= (uint32_t)kCardAreaSize ? hint->count : kCardAreaSize;
        for (int i = 0; i < count; i++)
            for (uint32_t k = 0; k < hintCount; k++)
                if (hint->cards != NULL && hand[i].id == hint->cards[k].id)
                    app->m_state.SetHandCardFlags(own, i, kCardSelected, 0);
    }
    UpdatePlayButton();
    EnableButton(kBtnHint, TRUE);
    m_bHintBusy = FALSE;
    Invalidate(FALSE);
}

void CGameWnd::UpdatePlayButton()
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || !app->m_state.Exists() || IsWatching())
        return;
    const int own = OwnSeat();
    int selected = 0;
    const int count = app->m_state.HandCount(own);
    const CardEntry* hand = app->m_state.Hand(own);
    for (int i = 0; i < count; i++)
        selected += (hand[i].flags & kCardSelected) != 0 ? 1 : 0;
    EnableButton(kBtnPlay, PlayButtonEnabled(OwnSeatLeads(*app->m_state.Get(), own), selected,
                                             app->m_state.TrickCount(), FALSE));
}

void CGameWnd::OnRButtonDown(UINT nFlags, CPoint point)
{
    CWnd::OnRButtonDown(nFlags, point);
    if (m_bTrustPlay || m_nBoardDepth > 0 || !IsButtonVisible(kBtnPlay))
        return;
    BoardEvent(kEvPlayCards, -1, -1, NULL);
    RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CGameWnd::PlaySoundEntry(int nSection, int nEntry)
{
    CWnd* main = AfxGetMainWnd();
    if (!m_bSoundOn || main == NULL)
        return;
    if (IsWatching() && ::GetForegroundWindow() != main->GetSafeHwnd())
        return;
    char folder[MAX_PATH] = "";
    ::GetModuleFileNameA(NULL, folder, MAX_PATH);
    if (char* slash = strrchr(folder, '\\'))
        *slash = '\0';
    char section[16], entry[16], list[256] = "";
    snprintf(section, sizeof(section), "%d", nSection);
    snprintf(entry, sizeof(entry), "%d", nEntry);
    const CString ini = CString(folder) + "\\sound.ini";
    ::GetPrivateProfileStringA(section, entry, "", list, sizeof(list), ini);
    char name[256] = "";
    if (!PickSoundName(list, (unsigned)rand(), name, sizeof(name))) {
        CString trace;
        trace.Format("Playsound No Entry :strSection = %s ,strEntry = %s", section, entry);
        ::OutputDebugStringA(trace);
        return;
    }
    CString path;
    path.Format("%s\\sound\\%s", folder, name);
    if (::GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
        ::OutputDebugStringA("Playsound Not found:" + path);
        return;
    }
    PlayWaveFile(path, SND_ASYNC);
}
