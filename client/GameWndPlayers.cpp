// The table window's player information: the records the board hands over
// (callback 10022), the own strength line in the chat pane's header, the
// information tip's text, the strength page and the titles request, the
// throttled trust-play and title commands, web addresses with the login
// ticket, the lobby's room record and coloured chat lines. The rules are
// PlayerInfo.h's; this file binds them to the window, the chat control and
// the shell.
#include "GameWnd.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <cstring>
#include <string>

#include "BalloonWnd.h"
#include "ChatWnd.h"
#include "ClientServices.h"
#include "GameClientApp.h"
#include "GameEnvironment.h"
#include "LobbyLinks.h"
#include "MainFrame.h"
#include "MardavelBoard.h"
#include "MediaCapture.h"
#include "MsgPack.h"
#include "QVChatEx.h"
#include "TaskRewards.h"
#include "net/GameClientSocket.h"

namespace {

constexpr uint32_t kMsgTitleListRequest = 0x26021;
const char kInfoLinkFormat[] = "<A href=\"%s\">详细战绩查询</A>";
constexpr int kInfoTipMs = 10000;
constexpr int kTaskTipMs = 15000;
// The task tip opens this far up and left of the point.
constexpr int kTaskTipOffset = 5;
const char kTitlesSendFailedText[] =
    "0x73d1:网络异常!\n\n该问题有可能影响到您的游戏质量。\n请检查本地网络连接，或咨询网络接入服务商";
BOOL g_bTitlesNoticeShown = FALSE;

// The four texts and links of the chat pane's news header, shared by the
// information and the linked notice.
CString g_newsTexts[4];
CString g_newsLinks[4];

}  // namespace

CString& CGameWnd::NewsText(int i) { return g_newsTexts[i & 3]; }
CString& CGameWnd::NewsLink(int i) { return g_newsLinks[i & 3]; }

// ---- Records ------------------------------------------------------------------------------------

void CGameWnd::OnPlayerInfoCallback(const NetMsgHeader* message, intptr_t size)
{
    if (message == NULL || size < (intptr_t)MsgHeaderSize(message->id))
        return;
    const size_t header = MsgHeaderSize(message->id);
    SetPlayerInfo(MsgBody(message), (size_t)size - header);
}

void CGameWnd::SetPlayerInfo(const uint8_t* pPayload, size_t nSize)
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || !app->m_state.Exists())
        return;
    const BoardGameState& s = *app->m_state.Get();
    char names[kInfoSeats][21] = {};
    const char* seatNames[kInfoSeats];
    for (int seat = 0; seat < kInfoSeats; seat++) {
        memcpy(names[seat], s.seats[seat].player.userName, 20);
        seatNames[seat] = names[seat];
    }
    if (!m_playerInfo.Apply(pPayload, nSize, seatNames)) {
        WriteGameLog("[SetPlayerInfo] payload without a count");
        return;
    }
    const int own = OwnSeat();
    const PlayerInfoRecord& mine = m_playerInfo.Record(own);
    CString line;
    line.Format("[SetPlayerInfo] own %d rated %d all %d", m_playerInfo.Has(own) ? 1 : 0, mine.ratedGames,
                m_playerInfo.AllReceived() ? 1 : 0);
    WriteGameLog(line);
    if (m_playerInfo.Has(own) && mine.ratedGames > 0)
        BuildOwnStrengthLine(own);
    RefreshNews();
    Invalidate(FALSE);
}

void CGameWnd::RefreshNews()
{
    CGameClientApp* app = GetClientApp();
    CMainFrame* frame = DYNAMIC_DOWNCAST(CMainFrame, GetParentFrame());
    if (app == NULL || frame == NULL || frame->GetChatWnd() == NULL)
        return;
    const int own = OwnSeat();
    const int mode = m_playerInfo.Has(own) && m_playerInfo.Record(own).ratedGames > 0 ? 1 : 0;
    const char* items[CChatWnd::kNewsItems] = {};
    for (int i = 0; i < CChatWnd::kNewsItems && i + 1 < 4; i++)
        items[i] = g_newsTexts[i + 1];
    const char* links[CChatWnd::kNewsItems] = {};
    for (int i = 0; i < CChatWnd::kNewsItems && i + 1 < 4; i++)
        links[i] = g_newsLinks[i + 1];
    frame->GetChatWnd()->SetNews(mode, g_newsTexts[0], g_newsLinks[0], items, links);
}

void CGameWnd::BuildOwnStrengthLine(int nSeat)
{
    const PlayerInfoRecord& r = m_playerInfo.Record(nSeat);
    g_newsLinks[2] = StrengthPageAddress();
    g_newsTexts[2] = OwnStrengthText(r).c_str();
    g_newsTexts[3] = OwnTitleText(r).c_str();
}

CString CGameWnd::FormatPlayerInfo(int nSeat)
{
    CClientDC dc(this);
    CFont* old = dc.SelectObject(&m_font);
    const std::string text = ::FormatPlayerInfo(m_playerInfo.Record(nSeat), [&dc](const std::string& part) {
        return (int)dc.GetTextExtent(part.c_str(), (int)part.size()).cx;
    });
    dc.SelectObject(old);
    return CString(text.c_str());
}

// ---- Chat lines ---------------------------------------------------------------------------------

void CGameWnd::AppendChatLine(LPCSTR lpszText, COLORREF colour, int nSize)
{
    if (lpszText == NULL)
        return;
    CString log;
    log.Format("[AppendChatLine] %s", lpszText);
    WriteGameLog(log);
    CGameClientApp* app = GetClientApp();
    if (app == NULL || app->m_pChat == NULL || app->m_pChat->GetSafeHwnd() == NULL)
        return;
    app->m_pChat->CallDispid75(ChatLine(lpszText, (uint32_t)colour, nSize).c_str());
}

// ---- Commands -----------------------------------------------------------------------------------

BOOL CGameWnd::OnPlayerCommand(int nId)
{
    switch (nId) {
    case kBtnTrustPlayOff: OnTrustPlayThrottled(); return TRUE;
    case kBtnRanking: OnStrengthPage(); return TRUE;
    case kBtnTitles: OnTitles(); return TRUE;
    case kBtnPrizeDraw:
    case kBtnPrizeFetch:
    case kBtnLookUp: OnPrizeCommand(); return TRUE;
    default: return FALSE;
    }
}

void CGameWnd::OnTrustPlayThrottled()
{
    if (m_trustThrottle.Accept(::GetTickCount()))
        OnTrustPlay();
}

void CGameWnd::ResetTrustPlayThrottle() { m_trustThrottle.Stamp(::GetTickCount()); }

void CGameWnd::OnStrengthPage() { OpenWebAddress(StrengthPageAddress()); }

CString CGameWnd::StrengthPageAddress()
{
    if (!m_strStrengthPage.IsEmpty())
        return m_strStrengthPage;
    CGameClientApp* app = GetClientApp();
    const CString page = LangRscGetString("MardavelStrength");
    if (app == NULL || page.IsEmpty())
        return CString();
    char selectName[kSelectNameSize];
    EncodeSelectName(app->OwnUserName(), selectName);
    m_strStrengthPage = ReplaceAll((LPCSTR)ExpandAddress(page), "%SelectName%", selectName).c_str();
    return m_strStrengthPage;
}

void CGameWnd::OnTitles()
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL)
        return;
    uint8_t message[8 + 20] = {};
    const uint32_t id = kMsgTitleListRequest, length = 20;
    memcpy(message, &id, 4);
    memcpy(message + 4, &length, 4);
    const char* name = app->OwnUserName();
    memcpy(message + 8, name, strnlen(name, 19));
    if (!SendGameMessage(message) && !g_bTitlesNoticeShown) {
        g_bTitlesNoticeShown = TRUE;
        MsgBoxText(kTitlesSendFailedText, MB_ICONEXCLAMATION);
    }
    ShowTitlesDialog();
}

void CGameWnd::ThrottledBoardRequest(uint32_t dwValue)
{
    if (!m_titleThrottle.Accept(::GetTickCount()))
        return;
    BoardEvent(0x1012, OwnSeat(), (int32_t)dwValue, NULL);
}

void CGameWnd::ResetBoardRequestThrottle() { m_titleThrottle.Stamp(::GetTickCount()); }

// ---- Web addresses ------------------------------------------------------------------------------

CString CGameWnd::ExpandAddress(LPCSTR lpszAddress)
{
    CGameClientApp* app = GetClientApp();
    const std::string user = app != NULL ? app->OwnUserName() : "";
    const std::string expanded = ExpandUrlTemplate(lpszAddress != NULL ? lpszAddress : "", user,
                                                   EscapeUserName(user.c_str()),
                                                   [this, &user]() { return FetchTicket(user.c_str()); });
    return CString(expanded.c_str());
}

std::string CGameWnd::FetchTicket(const char* user)
{
    std::string ticket = ::FetchTicket(user, GetSharePath(), m_roomRecord);
    m_strTicket = ticket.c_str();
    return ticket;
}

BOOL CGameWnd::OpenWebAddress(const CString& address)
{
    if (!IsOpenableWebAddress((LPCSTR)address)) {
        CString log;
        log.Format("[OpenWebAddress] not opened: %s", (LPCSTR)address);
        WriteGameLog(log);
        return FALSE;
    }
    ::ShellExecuteA(m_hWnd, "open", address, NULL, NULL, SW_SHOWNORMAL);
    return TRUE;
}

// ---- The linked notice --------------------------------------------------------------------------

void CGameWnd::OnLinkedNotice(const uint8_t* pMessage, size_t nSize)
{
    if (pMessage == NULL || AfxGetMainWnd() == NULL || nSize < 8)
        return;
    const NetMsgHeader* header = reinterpret_cast<const NetMsgHeader*>(pMessage);
    const size_t headerSize = MsgHeaderSize(header->id);
    LinkedNotice notice;
    if (nSize < headerSize || !ParseLinkedNotice(pMessage + headerSize, nSize - headerSize, &notice)) {
        WriteGameLog("[OnLinkedNotice] malformed, ignored");
        return;
    }
    for (int i = 0; i < 4; i++) {
        if (notice.count == -1 || i < notice.count) {
            g_newsTexts[i] = notice.names[i].c_str();
            g_newsLinks[i] = notice.links[i].c_str();
        } else {
            g_newsTexts[i].Empty();
            g_newsLinks[i].Empty();
        }
        if (notice.count == -1) {
            // The first link only; then the second name and the own strength line.
            g_newsTexts[1] = notice.names[1].c_str();
            BuildOwnStrengthLine(OwnSeat());
            break;
        }
    }
    CString line;
    line.Format("[OnLinkedNotice] count %d", notice.count);
    WriteGameLog(line);
    RefreshNews();
}

// ---- Tips -----------------------------------------------------------------------------------------

LRESULT CGameWnd::OnMouseHover(WPARAM, LPARAM lParam)
{
    // Nothing while a panel covers the table.
    if (!m_bCardMemoryShown)
        ShowPlayerTip((short)LOWORD(lParam), (short)HIWORD(lParam));
    return 0;
}

int CGameWnd::SeatAt(int x, int y)
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || !app->m_state.Exists())
        return -1;
    CRect client;
    GetClientRect(&client);
    const LayoutRect area{client.left, client.top, client.right, client.bottom};
    // The waiting look's frames, else the seats' panels.
    const bool waiting = m_bFirstHandPending && app->m_state.Phase() == kPhaseIdle && !IsWatching();
    const CTableImage& frame = m_pictures.bigAvatar;
    const CTableImage& ready = m_pictures.Theme("Status", "Ready");
    const int titleWidth = m_pictures.Theme("Title", "TitleBK01").Width();
    for (int view = 0; view < kTableSeats; view++) {
        const int seat = app->m_views[view];
        if (seat < 0 || seat >= kTableSeats)
            continue;
        const SeatLayoutRecord& r = app->m_seats[seat];
        LayoutRect box;
        if (waiting) {
            const WaitingSeatPlaces p = WaitingSeatLayout(area, view, LayoutSize{frame.Width(), frame.Height()},
                                                          LayoutSize{ready.Width(), ready.Height()}, titleWidth,
                                                          r.nameHeight);
            box = LayoutRect{p.frameLeft, p.frameTop, p.frameLeft + frame.Width(), p.frameTop + frame.Height()};
        } else {
            const CTableImage& panel = view == 0 ? m_pictures.Theme("Background", "DPlayer")
                                                 : (IsLeftView(view) ? m_pictures.Theme("Background", "LPlayer")
                                                                     : m_pictures.Theme("Background", "RPlayer"));
            box = LayoutRect{r.panelLeft, r.panelTop, r.panelLeft + panel.Width(), r.panelTop + panel.Height()};
        }
        if (box.Contains(x, y))
            return seat;
    }
    return -1;
}

void CGameWnd::ShowPlayerTip(int x, int y)
{
    if (x != m_ptLastMouse.x || y != m_ptLastMouse.y)
        return;
    if (m_bTaskShown && m_task.result == kTaskInProgress && !IsWatching() && m_taskArea.Contains(x, y)) {
        if (m_pTaskTip == NULL) {
            m_pTaskTip = new CBalloonWnd;
            if (!m_pTaskTip->Create(this)) {
                delete m_pTaskTip;
                m_pTaskTip = NULL;
                return;
            }
            m_pTaskTip->SetLinkText("");
            m_pTaskTip->SetHideDelay(kTaskTipMs);
        }
        uint32_t minutes[kTaskStages];
        for (int i = 0; i < kTaskStages; i++)
            minutes[i] = m_task.stages[i].minutes;
        m_pTaskTip->Popup(CString(TaskTipText(minutes, m_task.stagesReached).c_str()), x - kTaskTipOffset,
                          y - kTaskTipOffset, x, y, 0);
        return;
    }
    const int seat = SeatAt(x, y);
    if (!m_bShowPlayerTips || seat < 0 || !m_playerInfo.Has(seat))
        return;
    if (m_pInfoTip == NULL) {
        m_pInfoTip = new CBalloonWnd;
        if (!m_pInfoTip->Create(this)) {
            delete m_pInfoTip;
            m_pInfoTip = NULL;
            return;
        }
        m_pInfoTip->SetHideDelay(kInfoTipMs);
    }
    // The player's strength page, when the deployment names one.
    CString link;
    const CString page = LangRscGetString("MardavelStrength");
    if (!page.IsEmpty()) {
        char selectName[kSelectNameSize];
        EncodeSelectName(m_playerInfo.Record(seat).userName, selectName);
        const std::string address = ReplaceAll((LPCSTR)ExpandAddress(page), "%SelectName%", selectName);
        if (IsOpenableWebAddress(address))
            link.Format(kInfoLinkFormat, address.c_str());
    }
    m_pInfoTip->SetLinkText(link);
    m_pInfoTip->Popup(FormatPlayerInfo(seat), x, y, x, y, 0);
    CString line;
    line.Format("[ShowPlayerTip] seat %d", seat);
    WriteGameLog(line);
}

void CGameWnd::DestroyTips()
{
    for (CBalloonWnd** tip : {&m_pInfoTip, &m_pTaskTip}) {
        if (*tip != NULL && (*tip)->GetSafeHwnd() != NULL)
            (*tip)->DestroyWindow();
        delete *tip;
        *tip = NULL;
    }
}
