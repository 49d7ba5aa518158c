// The table window's mouse: the left button's press and release pick cards
// of the own hand (a click picks a card or a group that beats the table, a
// drag selects every card it passed), a move with the button down marks the
// cards of the drag, and the designated card's tip shows while the mouse is
// left of the own portrait. Also the clip that keeps the table's copy off
// its visible buttons, and the chat faces shown as tips at their seats.
#include "GameWnd.h"

#include <commctrl.h>

#include "CardPicking.h"
#include "ChatActionPicker.h"
#include "GameClientApp.h"
#include "MardavelPlay.h"
#include "RoundTipWnd.h"

namespace {

// The buttons the table's copy leaves out, in this order; the emperor
// row's two others (199, 198) and the kick buttons (323, 324) are drawn
// over the table and are not left out.
const int kExcludedButtons[] = {kBtnStart,     kBtnBecome,    kBtnDecline,  kBtnShowGuard, kBtnHideGuard, kBtnPlay,
                                kBtnPass,      kBtnHint,      kBtnTitles,   kBtnRanking,   kBtnTrustPlay, kBtnGameScore,
                                kBtnPlayDir,   kBtnLastTrick, kBtnSort,     kBtnSetup,     kBtnTrustPlayOff,
                                kBtnCardMem,   kBtnFaces,     337,          338,           339};

// The hover notice comes after the mouse rests this long.
constexpr DWORD kHoverMs = 1000;

const char kDesignatedTipText[] = "侍卫牌";

constexpr UINT kFaultTipWindow = 435;

// The own hand's selection and drag marks written back to the table state.
void StoreHandFlags(CTableState& state, int own, const CHandSelection& hand)
{
    const uint8_t kept = kCardSelected | kCardDragMark;
    for (int i = 0; i < hand.Count(); i++)
        state.SetHandCardFlags(own, i, hand.Flags(i) & kept, (uint8_t)(~hand.Flags(i) & kept));
}

}  // namespace

LayoutRect CGameWnd::OwnHandRect() const
{
    const CGameClientApp* app = GetClientApp();
    const int own = OwnSeat();
    if (app == NULL || own < 0 || own >= kTableSeats)
        return LayoutRect();
    return HandRect(app->m_seats[own], 0, app->m_state.HandCount(own), m_metrics);
}

void CGameWnd::OnLButtonDown(UINT nFlags, CPoint point)
{
    CWnd::OnLButtonDown(nFlags, point);
    CGameClientApp* app = GetClientApp();
    if (app == NULL || !app->m_state.Exists() || IsWatching())
        return;
    const LayoutRect rect = OwnHandRect();
    if (m_bTrustPlay && rect.Contains(point.x, point.y))
        return;
    m_ptPress = point;
    m_bHandOnlyPaint = FALSE;
    const int own = OwnSeat();
    const int count = app->m_state.HandCount(own);
    const int index = HitTestHand(rect, app->m_state.Hand(own), count, m_metrics, point.x, point.y);
    if (index < 0) {
        ClearSelection();
        EnableButton(kBtnPlay, FALSE);
    } else if (app->m_state.Phase() == kPhasePlay && (::GetKeyState(VK_CONTROL) & 0x8000) != 0) {
        CHandSelection hand(app->m_state.Hand(own), count);
        CtrlPress(hand, index);
        StoreHandFlags(app->m_state, own, hand);
        UpdatePlayButton();
    }
    InvalidateRect(CRect(rect.left, rect.top, rect.right, rect.bottom), FALSE);
}

void CGameWnd::OnLButtonUp(UINT, CPoint point)
{
    if (OpenDetailsAt(point))
        return;
    CGameClientApp* app = GetClientApp();
    if (app == NULL || !app->m_state.Exists() || IsWatching() || app->m_state.Phase() != kPhasePlay)
        return;
    const LayoutRect rect = OwnHandRect();
    if (m_bTrustPlay && rect.Contains(point.x, point.y))
        return;
    const int own = OwnSeat();
    const int count = app->m_state.HandCount(own);
    const CardEntry* cards = app->m_state.Hand(own);
    const int a = HitTestHand(rect, cards, count, m_metrics, m_ptPress.x, m_ptPress.y);
    if (a < 0)
        return;
    const int b = HitTestHand(rect, cards, count, m_metrics, point.x, point.y);
    const BoardGameState& s = *app->m_state.Get();
    CHandSelection hand(cards, count);
    ClickContext context;
    context.leads = OwnSeatLeads(s, own);
    context.ownToPlay = s.seatToAct == own;
    context.trick = s.trickCards;
    context.trickCount = app->m_state.TrickCount();
    ReleaseOnHand(hand, a, b, context);
    StoreHandFlags(app->m_state, own, hand);
    m_bHandOnlyPaint = FALSE;
    UpdatePlayButton();
    InvalidateRect(CRect(rect.left, rect.top, rect.right, rect.bottom), TRUE);
}

LRESULT CGameWnd::OnMouseLeave(WPARAM, LPARAM)
{
    // A button released outside the window ends the drag like a release.
    CPoint cursor;
    ::GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(cursor))
        OnLButtonUp(1, cursor);
    return 0;
}

void CGameWnd::OnMouseMove(UINT nFlags, CPoint point)
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || !app->m_state.Exists())
        return;
    const LayoutRect rect = OwnHandRect();
    if (m_bTrustPlay && rect.Contains(point.x, point.y)) {
        CWnd::OnMouseMove(nFlags, point);
        return;
    }
    TRACKMOUSEEVENT track = {};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_HOVER | TME_LEAVE;
    track.hwndTrack = m_hWnd;
    track.dwHoverTime = kHoverMs;
    ::_TrackMouseEvent(&track);
    m_ptLastMouse = point;
    UpdateDetailsHover(point);

    if ((nFlags & MK_LBUTTON) != 0 && app->m_state.Phase() == kPhasePlay && !IsWatching()) {
        const int own = OwnSeat();
        const int count = app->m_state.HandCount(own);
        const CardEntry* cards = app->m_state.Hand(own);
        const int a = HitTestHand(rect, cards, count, m_metrics, m_ptPress.x, m_ptPress.y);
        const int b = HitTestHand(rect, cards, count, m_metrics, point.x, point.y);
        if (b >= 0) {
            if (!m_dragPace.Take((uint32_t)m_pfnTickCount()))
                return;
            if (a < 0) {
                m_ptPress = point;   // the drag starts at this card
            } else {
                CHandSelection hand(cards, count);
                const int from = MarkDrag(hand, a, b);
                StoreHandFlags(app->m_state, own, hand);
                RedrawOwnHandFrom(from);
            }
        }
    }
    UpdateDesignatedTip(point);
    CWnd::OnMouseMove(nFlags, point);
}

int CGameWnd::FirstMarkedCard() const
{
    const CGameClientApp* app = GetClientApp();
    const int own = OwnSeat();
    if (app == NULL || !app->m_state.Exists())
        return -1;
    const CardEntry* cards = app->m_state.Hand(own);
    const int count = app->m_state.HandCount(own);
    for (int i = 0; i < count; i++)
        if ((cards[i].flags & kCardDragMark) != 0)
            return i;
    return -1;
}

void CGameWnd::DrawOwnHandFrom(CDC& dc, int from)
{
    CGameClientApp* app = GetClientApp();
    if (from < 0 || app == NULL || !app->m_state.Exists() || dc.GetSafeHdc() == NULL)
        return;
    const int own = OwnSeat();
    const int count = app->m_state.HandCount(own);
    const CardEntry* cards = app->m_state.Hand(own);
    const LayoutRect rect = OwnHandRect();
    const CTableImage& frame = m_pictures.Theme("Others", "CardFrame");
    for (int i = from; i < count; i++) {
        const int lift = (cards[i].flags & kCardSelected) != 0 ? 0 : kRaisedCardLift;
        const int x = rect.left + i * m_metrics.ownStep, y = rect.top + lift;
        DrawCardAt(dc, cards[i], x, y, FALSE);
        // A card marked by a drag wears the frame.
        if ((cards[i].flags & kCardDragMark) != 0 && frame.IsLoaded())
            frame.DrawKeyed(dc.GetSafeHdc(), x, y, m_metrics.cardWidth, m_metrics.cardHeight, 0, 0, frame.Width(),
                            frame.Height());
    }
}

void CGameWnd::RedrawOwnHandFrom(int from)
{
    if (from < 0 || m_backDC.GetSafeHdc() == NULL)
        return;
    DrawOwnHandFrom(m_backDC, from);
    const LayoutRect rect = OwnHandRect();
    m_bHandOnlyPaint = TRUE;
    InvalidateRect(CRect(rect.left, rect.top, rect.right, rect.bottom), TRUE);
}

// ---- The designated card's tip ---------------------------------------------------------------

void CGameWnd::CreateDesignatedTip()
{
    if (m_hDesignatedTip != NULL)
        return;
    m_hDesignatedTip = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, NULL, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, NULL, NULL,
                                         AfxGetInstanceHandle(), NULL);
    if (m_hDesignatedTip == NULL)
        return;
    // A tracking tool placed at absolute (screen) coordinates: the tip
    // stands where the table asks, not where the mouse is.
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = m_hWnd;
    tool.uId = 0;
    tool.lpszText = const_cast<LPSTR>(kDesignatedTipText);
    ::SendMessageA(m_hDesignatedTip, TTM_ADDTOOLA, 0, (LPARAM)&tool);
}

void CGameWnd::DestroyDesignatedTip()
{
    if (m_hDesignatedTip != NULL)
        ::DestroyWindow(m_hDesignatedTip);
    m_hDesignatedTip = NULL;
    m_bDesignatedTipShown = FALSE;
}

void CGameWnd::UpdateDesignatedTip(CPoint point)
{
    CGameClientApp* app = GetClientApp();
    const int own = OwnSeat();
    if (m_hDesignatedTip == NULL || app == NULL || !app->m_state.Exists() || own < 0 || own >= kTableSeats)
        return;
    const SeatLayoutRecord& r = app->m_seats[own];
    const TipArea area = DesignatedCardTipArea(r.portraitLeft, r.portraitTop, kPortraitHeight);
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = m_hWnd;
    tool.uId = 0;
    switch (DesignatedTipStep(m_bDesignatedTipShown != FALSE, DesignatedCardShown(*app->m_state.Get()),
                              area.Contains(point.x, point.y))) {
    case kTipShow: {
        // The tool-tip control places tracking tips in screen coordinates.
        POINT at = {area.left, area.top};
        ClientToScreen(&at);
        ::SendMessageA(m_hDesignatedTip, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
        ::SendMessageA(m_hDesignatedTip, TTM_TRACKACTIVATE, TRUE, (LPARAM)&tool);
        m_bDesignatedTipShown = TRUE;
        break;
    }
    case kTipHide:
        ::SendMessageA(m_hDesignatedTip, TTM_TRACKACTIVATE, FALSE, (LPARAM)&tool);
        m_bDesignatedTipShown = FALSE;
        break;
    default:
        break;
    }
}

// ---- Clip ---------------------------------------------------------------------------------------

void CGameWnd::ExcludeChildControls(CDC& dc)
{
    for (int id : kExcludedButtons) {
        // The table's own buttons without asking the window system.
        CWnd* child = TableButton(id);
        if (child == NULL)
            child = GetDlgItem(id);
        if (child == NULL || (child->GetStyle() & WS_VISIBLE) == 0)
            continue;
        CRect r;
        child->GetWindowRect(&r);
        ScreenToClient(&r);
        HRGN region = ::CreateRectRgn(r.left, r.top, r.right, r.bottom);
        ::ExtSelectClipRgn(dc.GetSafeHdc(), region, RGN_DIFF);
        ::DeleteObject(region);
    }
}

// ---- Faces -------------------------------------------------------------------------------------

void CGameWnd::ShowPictureTip(const uint8_t* pMessage, size_t nSize)
{
    CGameClientApp* app = GetClientApp();
    FaceMessage face;
    if (app == NULL || m_pFaces == NULL || !ParseFaceMessage(pMessage, nSize, &face))
        return;
    m_pFaces->SetFaceList((int)face.list);
    const WCHAR* path = m_pFaces->GetItem((int)face.face);
    const int seat = (int)face.seat;
    CRoundTipWnd*& tip = m_pSeatTips[seat];
    if (tip == NULL) {
        tip = new CRoundTipWnd(this);
        if (!tip->CreateTip()) {
            delete tip;
            tip = NULL;
            if (app->m_strServerText.IsEmpty())
                app->FillFaultContext("");
            app->PostClientFault(kFaultTipWindow);
            return;
        }
    } else {
        tip->Hide();
    }
    const SeatLayoutRecord& r = app->m_seats[seat];
    const POINT anchor = {r.markLeft, r.markTop};
    const FaceTipFlags flags = FaceTipFlagsFor(seat, OwnSeat(), ViewOfSeat(app->m_views, seat));
    tip->Show(path, &anchor, flags.ownSeat ? TRUE : FALSE, flags.second ? TRUE : FALSE);
}

void CGameWnd::HideSeatTips()
{
    for (CRoundTipWnd* tip : m_pSeatTips)
        if (tip != NULL)
            tip->Hide();
}

void CGameWnd::DestroySeatTips()
{
    for (CRoundTipWnd*& tip : m_pSeatTips) {
        delete tip;   // destroys its window
        tip = NULL;
    }
}
