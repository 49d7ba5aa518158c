// The board's callbacks: what the table shows, sends and holds for each.
#include "GameWnd.h"
#include "Bitmaps.h"

#include "ClientServices.h"
#include "GameClientApp.h"
#include "MainFrame.h"
#include "MediaCapture.h"
#include "MardavelBoard.h"
#include "MardavelPlay.h"
#include "client_ids.h"
#include "net/GameClientSocket.h"

namespace {

constexpr UINT kFaultSendFailed = 434;
BOOL g_bSendBoxPending = TRUE;
const char kSendFailedText[] =
    "0x73d1:网络异常!\n\n该问题有可能影响到您的游戏质量。\n请检查本地网络连接，或咨询网络接入服务商";

const int kEmperorButtons[] = {kBtnBecome, kBtnDecline, kBtnAlone, kBtnGiveUp};

}  // namespace

int CGameWnd::OnBoardCallback(const BoardCallbackRecord& record)
{
    CGameClientApp* app = GetClientApp();
    switch (record.code) {
    case kCbSendReferee:
        OnSendCallback(reinterpret_cast<const NetMsgHeader*>(record.p1));
        break;
    case kCbBoardImported: {
        if (app == NULL || !app->m_state.Exists())
            break;
        // A snapshot of the table tells nothing of the passes before it.
        m_passed.Clear();
        const int own = OwnSeat();
        if (!IsWatching() && (theGameSocket.GetTrustPermission() & 1) != 0 &&
            (app->m_state.SeatFlags(own) & kPlayerFlagTrustPlay) != 0)
            m_bTrustPlay = TRUE;
        if (!IsWatching()) {
            // The board's event turns the seat's watch word over and tells
            // the server: the word is set to the other value first, so it
            // ends as the setting says.
            const BOOL enable = app->GetProfileInt("Settings", "EnableWatch", 1) != 0;
            app->m_state.SetAllowWatchingWord(own, enable ? 0u : 1u);
            BoardEvent(kEvToggleWatchersMaySee, enable ? 1 : 0, -1, NULL);
        }
        // Likewise the sort mode: the event turns it over and sorts.
        const int sort = ((int)app->GetProfileInt("Settings", "SortMode", 1) - 1) & 1;
        app->m_state.SetSortMode(sort ^ 1);
        BoardEvent(kEvToggleSort, own, -1, NULL);
        UpdatePhaseButtons(FALSE);
        break;
    }
    case kCbMatchGoesOn:
        m_bLeave = record.p1 == 0;
        break;
    case kCbHoldMessages:
        if (record.p1 > 0)
            PostMessage(WM_RECEIVE_HOLD, 0, (LPARAM)record.p1);
        break;
    case kCbRefresh:
        UpdatePhaseButtons(record.userId == 0);
        break;
    case kCbSeatReady:
        if ((int)record.p1 == OwnSeat()) {
            ShowButton(kBtnStart, FALSE);
            SetStatus(IDS_CLIENT_WAIT_START);
        }
        Invalidate(FALSE);
        break;
    case kCbDealArrived:
        m_passed.Clear();
        m_strStatus.Empty();
        ResetFewCards();
        Invalidate(FALSE);
        break;
    case kCbEmperorDecided:
        for (int id : kEmperorButtons)
            ShowButton(id, FALSE);
        if (app != NULL && app->m_state.Phase() == kPhaseEmperor)
            SetStatus(IDS_CLIENT_WAIT_EMPEROR);
        Invalidate(FALSE);
        break;
    case kCbGuardDecided:
        ShowButton(kBtnShowGuard, FALSE);
        ShowButton(kBtnHideGuard, FALSE);
        SetStatus(IDS_CLIENT_WAIT_MODE);
        Invalidate(FALSE);
        break;
    case kCbPlayApplied:
        if (app != NULL && app->m_state.Exists()) {
            m_nTurnSeat = app->m_state.Get()->seatToAct;
            m_passed.Applied(*app->m_state.Get(), (int)record.p1);
        }
        Invalidate(FALSE);
        break;
    case kCbHandResult:
        OnHandResult((int)record.p1);
        break;
    case kCbAnnouncement:
        OnPlayerInfoCallback(reinterpret_cast<const NetMsgHeader*>(record.p1), record.p2);
        break;
    case kCbBlock:
        OnTitleAwardCallback(reinterpret_cast<const NetMsgHeader*>(record.p1), record.p2);
        break;
    case kCbEntries:
        OnHonourTableCallback(reinterpret_cast<const NetMsgHeader*>(record.p1), record.p2);
        break;
    case kCbSeatCards:
        NoteSeatCards((int)record.p1);
        Invalidate(FALSE);
        break;
    case kCbSeatTable:
    case kCbWatchersMaySee:
        Invalidate(FALSE);
        break;
    case kCbAnnounce:
        m_passed.Announce((uint32_t)record.p1, (int)record.p2);
        PlaySoundEntry((int)(uint32_t)record.p1, (int)record.p2);
        break;
    case kCbClock:
        m_bOwnClockActive = record.p1 != 0;
        if (m_bOwnClockActive && ::GetForegroundWindow() != ::GetAncestor(m_hWnd, GA_ROOT))
            ::FlashWindow(::GetAncestor(m_hWnd, GA_ROOT), TRUE);
        break;
    case kCbPlayRefused: {
        CString text;
        if (record.p1 == kRefuseLowestRank && app != NULL && app->m_state.Exists()) {
            CString format;
            format.LoadString(IDS_CLIENT_BAD_PLAY_ROOM);
            const int lowest = app->m_state.Get()->optLowestLast;
            text.Format(format, lowest, lowest);
        } else {
            text.LoadString(IDS_CLIENT_BAD_PLAY);
        }
        MsgBoxText(text, MB_ICONEXCLAMATION, 5);
        UpdatePlayButton();
        Invalidate(FALSE);
        break;
    }
    case kCbKickOpen:
        ShowButton(kBtnShowGuard, FALSE);
        ShowButton(kBtnHideGuard, FALSE);
        ShowButton(kBtnKick, TRUE);
        ShowButton(kBtnNoKick, TRUE);
        LayoutDecisionButtons();
        break;
    case kCbKickDone:
        ShowButton(kBtnKick, FALSE);
        ShowButton(kBtnNoKick, FALSE);
        if (app != NULL && app->m_state.Exists() && app->m_state.Get()->seatToAct != OwnSeat())
            SetStatus(IDS_CLIENT_WAIT_KICK);
        break;
    case kCbRelayedBlock:   // a chat face from a seat, message 0x26011
        ShowPictureTip(reinterpret_cast<const uint8_t*>(record.p1), record.p2 > 0 ? (size_t)record.p2 : 0);
        break;
    case kCbSeatAlone:
        for (int id : kEmperorButtons)
            ShowButton(id, FALSE);
        break;
    default:
        break;
    }
    return 1;
}

void CGameWnd::OnSendCallback(const NetMsgHeader* message)
{
    if (message == NULL || IsWatching())
        return;
    const BOOL sent = SendGameMessage(message);
    if (!sent) {
        if (g_bSendBoxPending) {
            g_bSendBoxPending = FALSE;
            MsgBoxText(kSendFailedText, MB_OK);
        }
        if (CGameClientApp* app = GetClientApp())
            app->PostClientFault(kFaultSendFailed);
        return;
    }
    uint32_t id = 0;
    memcpy(&id, message, sizeof(id));
    HideSentDecision(id);
}

void CGameWnd::HideSentDecision(uint32_t dwId)
{
    switch (dwId) {
    case tablemsg::kReady:
        ShowButton(kBtnStart, FALSE);
        break;
    case tablemsg::kEmperorChoice:
        for (int id : kEmperorButtons)
            ShowButton(id, FALSE);
        break;
    case tablemsg::kGuardChoice:
        ShowButton(kBtnShowGuard, FALSE);
        ShowButton(kBtnHideGuard, FALSE);
        break;
    case tablemsg::kPlay:
        ShowButton(kBtnPass, FALSE);
        ShowButton(kBtnPlay, FALSE);
        ShowButton(kBtnHint, FALSE);
        break;
    default:
        return;
    }
    m_bOwnClockActive = FALSE;
    Invalidate(FALSE);
}

void CGameWnd::OnHandResult(int nResult)
{
    CGameClientApp* app = GetClientApp();
    m_nTurnSeat = -1;
    const int stringId = HandResultStringId(nResult);
    if (stringId != 0)
        m_strHandResult.LoadString(stringId);
    m_strStatus.Empty();
    if (app != NULL && app->m_state.Exists()) {
        const BoardGameState& s = *app->m_state.Get();
        m_nPauseKind = ResultPauseKind(nResult, OwnSeat(), s.emperorSeat, s.guardSeat);
        CString line;
        line.Format("[OnHandResult] result %d kind %d scores %d %d %d %d %d", nResult, m_nPauseKind, s.lastScore[0],
                    s.lastScore[1], s.lastScore[2], s.lastScore[3], s.lastScore[4]);
        WriteGameLog(line);
    }
    AddHandToHistory();
    // A recording ends with the hand.
    if (CMainFrame* frame = DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd()))
        frame->StopRecording(kStopByUser);
    Invalidate(FALSE);
}

void CGameWnd::UpdatePhaseButtons(BOOL /*bPhaseChanged*/)
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || !app->m_state.Exists())
        return;
    const BoardGameState& s = *app->m_state.Get();
    const int own = OwnSeat();
    const BOOL watching = IsWatching();
    if (s.phase != kPhaseIdle)
        m_bFirstHandPending = FALSE;

    switch (s.phase) {
    case kPhaseIdle:
        for (int id : {kBtnGiveUp, kBtnAlone, kBtnBecome, kBtnDecline, kBtnShowGuard, kBtnHideGuard, kBtnPass,
                       kBtnPlay, kBtnHint})
            ShowButton(id, FALSE);
        m_cardMemory.Reset(s);
        m_previousTrick.Clear();
        EnableButton(kBtnCardMem, FALSE);
        if (m_nPauseKind != -1) {
            // The result stays on the table for the pause; the board is left
            // first (no message loop inside its call), and server messages
            // wait until the hand has been saved.
            if (!m_bHeldForPause) {
                m_bHeldForPause = TRUE;
                theGameSocket.SuspendReceive();
            }
            SetTimer(kTimerResultPause, m_nResultPauseMs, NULL);
            Invalidate(FALSE);
            return;
        }
        FinishPhaseZero();
        return;
    case kPhaseEmperor: {
        ShowButton(kBtnStart, FALSE);
        if (watching || m_bTrustPlay) {
            for (int id : {kBtnBecome, kBtnDecline, kBtnAlone, kBtnGiveUp})
                ShowButton(id, FALSE);
            break;
        }
        EmperorQuery query;
        const CardEntry* found = NULL;
        BoardEvent(kEvIdenticalCards, 3, -1, &found);
        query.threeIdentical = found != NULL;
        found = NULL;
        BoardEvent(kEvIdenticalCards, 4, -1, &found);
        query.fourIdentical = found != NULL;
        int32_t both = 0;
        BoardEvent(kEvBothMarkedCards, -1, -1, &both);
        query.bothMarked = both == 1;
        const EmperorButtons b = EmperorButtonsFor(s, own, query);
        ApplyButton(kBtnBecome, b.become);
        ApplyButton(kBtnDecline, b.decline);
        ApplyButton(kBtnAlone, b.alone);
        ApplyButton(kBtnGiveUp, b.giveUp);
        if (b.clearFlag10)
            app->m_state.ClearGameFlags(kTableEmperorCardReturned);
        if (b.waitingHint && s.seatToAct >= 0 && s.seatToAct < kTableSeats) {
            CString format;
            format.LoadString(IDS_CLIENT_WAIT_ENTHRONE);
            m_strStatus.Format(format, app->m_seats[s.seatToAct].nickName);
        }
        break;
    }
    case kPhaseGuard: {
        for (int id : {kBtnBecome, kBtnDecline, kBtnAlone, kBtnGiveUp})
            ShowButton(id, FALSE);
        const GuardButtons g = GuardButtonsFor(s, own, watching != FALSE, m_bTrustPlay != FALSE);
        ApplyButton(kBtnShowGuard, g.show);
        ApplyButton(kBtnHideGuard, g.hide);
        ApplyButton(kBtnKick, g.kick);
        ApplyButton(kBtnNoKick, g.noKick);
        if (g.statusString != 0)
            SetStatus((UINT)g.statusString);
        break;
    }
    case kPhasePlay: {
        for (int id : {kBtnStart, kBtnShowGuard, kBtnHideGuard, kBtnKick, kBtnNoKick})
            ShowButton(id, FALSE);
        if (CardMemoryAllowed()) {
            EnableButton(kBtnCardMem, TRUE);
            m_cardMemory.CountPlayedCards(s);
        } else {
            EnableButton(kBtnCardMem, FALSE);
        }
        m_nTurnSeat = s.seatToAct;
        const PlayButtons p = PlayButtonsFor(s, own, watching != FALSE, m_bTrustPlay != FALSE);
        ShowButton(kBtnPlay, p.visible);
        ShowButton(kBtnPass, p.visible);
        ShowButton(kBtnHint, p.visible);
        if (p.visible) {
            EnableButton(kBtnPass, p.passEnabled);
            EnableButton(kBtnHint, TRUE);
            UpdatePlayButton();
            SetStatus(IDS_CLIENT_YOUR_PLAY);
        }
        break;
    }
    default:
        break;
    }
    LayoutDecisionButtons();
    Invalidate(FALSE);
}

void CGameWnd::FinishPhaseZero()
{
    CGameClientApp* app = GetClientApp();
    m_nPauseKind = -1;
    if (!m_bTrustPlay && !IsWatching())
        ShowButton(kBtnStart, TRUE);
    SetStatus(IDS_CLIENT_PRESS_START);
    if (app != NULL && app->m_pRecord != NULL)
        app->m_pRecord->PromptSave(app->IsOnline(), IsWatching());
    if (IsWatching())
        SetStatus(IDS_CLIENT_WAIT_START);
    if (m_bHeldForPause) {
        m_bHeldForPause = FALSE;
        theGameSocket.ResumeReceive();
    }
    LayoutDecisionButtons();
    Invalidate(FALSE);
}

void CGameWnd::SetStatus(UINT nStringId)
{
    m_strStatus.LoadString(nStringId);
}
