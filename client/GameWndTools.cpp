// The table window's tool commands and small windows: the score sheet
// (hand history), trust play, play direction, the previous trick, the chat
// faces and the card memory; the leave question.
#include "GameWnd.h"

#include "ChatActionPicker.h"
#include "ClientServices.h"
#include "GameClientApp.h"
#include "GameHistoryDlg.h"
#include "MainFrame.h"
#include "TrustExitDlg.h"
#include "client_ids.h"
#include "net/GameClientSocket.h"

namespace {

constexpr int kLeaveCountdownSeconds = 10;
constexpr DWORD kPreviousTrickMs = 2000;
const char kTrustPlayNotice[] =
    "0x73d3(TrustPlay):网络异常!\n\n该问题有可能影响到您的游戏质量。\n请检查本地网络连接，或咨询网络接入服务商";

// The card memory's text.
constexpr int kMemoryFontHeight = 25;
constexpr int kMemoryFontWidth = 12;
constexpr COLORREF kMemoryColour = RGB(64, 192, 128);

int HandsPerMatchOf(const BoardGameState& s) { return (int)((s.ruleFlags >> 20) & 0xF); }

}  // namespace

BOOL CGameWnd::OnToolCommand(int nId)
{
    switch (nId) {
    case kBtnGameScore: OnScoreSheet(); return TRUE;
    case kBtnTrustPlay: OnTrustPlay(); return TRUE;
    case kBtnLastTrick: OnPreviousRound(); return TRUE;
    case kBtnFaces: OnSendFace(); return TRUE;
    case kBtnCardMem: OnCardMemory(); return TRUE;
    default: return FALSE;
    }
}

// ---- The leave question ------------------------------------------------------------------

int CGameWnd::AskLeave()
{
    CGameClientApp* app = GetClientApp();
    CTrustExitDlg dialog(kLeaveCountdownSeconds, app != NULL ? app->m_state.Get() : NULL, this);
    const int chosen = (int)dialog.DoModal();
    WriteGameLog(chosen == kLeaveAndTrust ? "[ConfirmLeave] hand over and leave" : "[ConfirmLeave] stay");
    if (chosen == kLeaveAndTrust)
        if (CMainFrame* frame = DYNAMIC_DOWNCAST(CMainFrame, GetParentFrame()))
            frame->CanExitGame();
    return chosen;
}

// ---- Score sheet -------------------------------------------------------------------------

void CGameWnd::CreateHistoryWindow()
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || m_pHistory != NULL)
        return;
    const char* names[kTableSeats];
    for (int i = 0; i < kTableSeats; i++)
        names[i] = app->m_seats[i].userName;
    m_pHistory = new CGameHistoryDlg;
    m_pHistory->SetPlayers(names, OwnSeat(), app->m_nPlayerCount);
    if (!m_pHistory->Create(this)) {
        delete m_pHistory;
        m_pHistory = NULL;
        WriteGameLog("[CreateHistoryWindow] the hand history window was not created");
    }
}

void CGameWnd::DestroyHistoryWindow()
{
    if (m_pHistory == NULL)
        return;
    if (m_pHistory->GetSafeHwnd() != NULL)
        m_pHistory->DestroyWindow();
    delete m_pHistory;
    m_pHistory = NULL;
}

void CGameWnd::OnScoreSheet()
{
    if (m_pHistory == NULL || m_pHistory->GetSafeHwnd() == NULL)
        return;
    EnableButton(kBtnGameScore, FALSE);
    m_pHistory->ShowWindow(m_pHistory->IsWindowVisible() ? SW_HIDE : SW_SHOW);
    EnableButton(kBtnGameScore, TRUE);
}

void CGameWnd::AddHandToHistory()
{
    CGameClientApp* app = GetClientApp();
    if (m_pHistory == NULL || app == NULL || !app->m_state.Exists())
        return;
    const BoardGameState& s = *app->m_state.Get();
    m_pHistory->AddHandRow((int)s.handsFinished, s.lastScore, TRUE);
    m_pHistory->RemoveTotalRow();
    m_pHistory->AddTotalRow(s.handTotal);
    // The option "OpenResult": the score sheet shows itself at a hand's end.
    if (m_settings.openResult != 0 && m_pHistory->GetSafeHwnd() != NULL) {
        m_pHistory->ShowWindow(SW_SHOWNA);
        m_pHistory->UpdateWindow();
    }
}

// ---- Trust play ---------------------------------------------------------------------------

void CGameWnd::OnTrustPlay()
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || IsWatching())
        return;
    EnableButton(kBtnTrustPlay, FALSE);
    if (!m_bTrustPlay) {
        ClearSelection();
        Invalidate(FALSE);
        if (app->m_state.Exists()) {
            const BoardGameState& s = *app->m_state.Get();
            if (TrustPlayNeedsConfirm(false, HandsPerMatchOf(s), (int)s.handsFinished + 1) &&
                MsgBoxId(IDS_CLIENT_TRUST_QUESTION, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
                EnableButton(kBtnTrustPlay, TRUE);
                return;
            }
        }
    }
    for (int id : {kBtnBecome, kBtnDecline, kBtnAlone, kBtnGiveUp, kBtnShowGuard, kBtnHideGuard})
        ShowButton(id, FALSE);
    uint8_t request[kTrustRequestSize];
    BuildTrustRequest(m_bTrustPlay ? 0u : 1u, app->OwnUserName(), request);
    if (!SendGameMessage(request) && !m_bTrustNoticeShown) {
        m_bTrustNoticeShown = TRUE;
        MsgBoxText(kTrustPlayNotice, MB_ICONEXCLAMATION);
    }
    EnableButton(kBtnTrustPlay, TRUE);
}

// ---- Previous trick --------------------------------------------------------------------

void CGameWnd::BeforeGameMessage(const uint8_t* pMessage)
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || !app->m_state.Exists() || MessageId(pMessage) != tablemsg::kPlay)
        return;
    const BoardGameState& s = *app->m_state.Get();
    // A play by the seat that made the play to beat starts a new trick: the
    // cards on the table are the trick before it.
    if (s.phase == kPhasePlay && s.seatToAct == s.leadSeat)
        m_previousTrick.Capture(s);
}

void CGameWnd::OnPreviousRound()
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || !app->m_state.Exists() || app->m_state.Phase() != kPhasePlay || m_previousTrick.Showing())
        return;
    BoardGameState* state = *app->m_state.Slot();
    EnableButton(kBtnLastTrick, FALSE);
    // Nothing is received while the trick is shown: the board writes no play
    // into the block while it holds the previous trick.
    theGameSocket.StopReceive();
    if (m_previousTrick.ShowIn(*state)) {
        RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        CWnd* main = AfxGetMainWnd();
        if (main != NULL && main->IsWindowVisible() && !main->IsIconic())
            ::Sleep(kPreviousTrickMs);
        m_previousTrick.Restore(*state);
        RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    theGameSocket.StartReceive();
    EnableButton(kBtnLastTrick, TRUE);
}

// ---- Faces ---------------------------------------------------------------------------

void CGameWnd::OnSendFace()
{
    if (m_pFaces == NULL)
        return;
    const int face = m_pFaces->GetChosenFace();
    const int page = m_pFaces->GetSelectedPage();
    if (face < 0)
        return;
    uint8_t message[kFaceMessageSize];
    BuildFaceMessage((uint32_t)face, (uint32_t)OwnSeat(), page == 2 ? kFaceListSmall : kFaceListLarge, message);
    SendGameMessage(message);
}

// ---- Card memory ----------------------------------------------------------------------

BOOL CGameWnd::CardMemoryAllowed() const
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || !app->m_state.Exists())
        return FALSE;
    const int own = OwnSeat();
    const uint8_t identity = own >= 0 && own < kTableSeats ? app->m_state.Get()->seats[own].player.identify : 0;
    return CardMemoryPermitted(app->m_roomSettings[8], identity);
}

void CGameWnd::OnCardMemory()
{
    m_bCardMemoryShown = !m_bCardMemoryShown;
    Invalidate(FALSE);
}

void CGameWnd::DrawCardMemory(CDC& dc)
{
    CGameClientApp* app = GetClientApp();
    if (!m_bCardMemoryShown || !CardMemoryAllowed() || app->m_state.Phase() == kPhaseIdle)
        return;
    const CTableImage& panel = m_pictures.Theme("Background", "CardMemBK");
    const int own = OwnSeat();
    if (!panel.IsLoaded() || own < 0 || own >= kTableSeats)
        return;
    CRect client;
    GetClientRect(&client);
    const int width = client.Width();
    const int top = app->m_seats[own].panelTop - panel.Height();
    const int left = width > panel.Width() ? (width - panel.Width()) / 2 : 0;
    panel.Draw(dc.GetSafeHdc(), left, top);
    if (left > 0) {
        panel.Draw(dc.GetSafeHdc(), 0, top, left, panel.Height(), 0, 0, 2, panel.Height());
        panel.Draw(dc.GetSafeHdc(), left + panel.Width(), top, width - left - panel.Width(), panel.Height(), 0, 0, 2,
                   panel.Height());
    }
    CFont font;
    font.CreateFont(kMemoryFontHeight, kMemoryFontWidth, 0, 3, 100, FALSE, FALSE, 0, DEFAULT_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, NULL);
    CFont* oldFont = dc.SelectObject(&font);
    const COLORREF oldColour = dc.SetTextColor(kMemoryColour);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    for (int i = 0; i < kCardMemoryColumns; i++) {
        const CardMemoryCell cell = CardMemoryCellAt(i, width, panel.Width());
        char text[kCardMemoryCellText];
        m_cardMemory.CellText(cell.column, text);
        CRect r(cell.left, top + panel.Height() / 2, cell.left + cell.width, top + panel.Height());
        dc.DrawText(text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    dc.SetBkMode(oldMode);
    dc.SetTextColor(oldColour);
    dc.SelectObject(oldFont);
}
