// The seats of the table: the seat windows (avatar panels), the waiting look
// before the first hand, the playing look (name plate, remaining count,
// portrait, status picture, hand, finishing mark), the own seat's trust-play
// band, the turn-clock bars and the few-cards flash.
//
// Every seat drawing decides where its avatar panel goes (or that it is
// hidden); the panels are moved and shown once the whole table is composed,
// and only when that differs from where they are, so a repaint never makes
// the portraits flicker or repaint themselves.
#include "GameWnd.h"

#include "ClientServices.h"
#include "GameClientApp.h"
#include "PngButton.h"
#include "QVAvatar.h"
#include "TableThemeKeys.h"

namespace {

// The seat windows' control id (every panel's own windows are numbered from it).
constexpr UINT kSeatWindowId = 20022;
// The portrait in the playing look: size mode 0 at the portrait box's size.
constexpr int kPortraitMode = 0;
// The waiting look's large portrait: size mode 12 (150 x 190 and the borders).
constexpr int kWaitingPortraitMode = 12;

const COLORREF kWaitingNameColour = RGB(180, 160, 70);
const COLORREF kCountColour = RGB(255, 255, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);

LayoutSize SizeOf(const CTableImage& image) { return LayoutSize{image.Width(), image.Height()}; }

}  // namespace

CGameWnd::SeatWindowPlace::SeatWindowPlace() = default;

int CGameWnd::CreateSeatWindows()
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL)
        return 0;
    int result = 1;
    for (int view = 0; view < kTableSeats; view++) {
        const int seat = app->m_views[view];
        if (seat < 0 || seat >= kTableSeats)
            continue;
        if (m_seatWindows[seat] == NULL)
            m_seatWindows[seat].reset(new CAvatarPanel);
        m_seatShown[seat] = SeatWindowPlace();
        if (!m_seatWindows[seat]->SetupAvatar(view, app->m_seats[seat].userName, 0, this, kSeatWindowId, 0)) {
            CString line;
            line.Format("[CreateBoard] seat window %d not set up", seat);
            WriteGameLog(line);
            m_seatWindows[seat].reset();
            result = -1;
            continue;
        }
        // Shown by the seat drawing once it knows where.
        m_seatWindows[seat]->ShowWindow(SW_HIDE);
    }
    return result;
}

void CGameWnd::DestroySeatWindows()
{
    for (int seat = 0; seat < kTableSeats; seat++) {
        if (m_seatWindows[seat] != NULL && m_seatWindows[seat]->GetSafeHwnd() != NULL)
            m_seatWindows[seat]->DestroyWindow();
        m_seatWindows[seat].reset();
        m_seatShown[seat] = SeatWindowPlace();
        m_seatWanted[seat] = SeatWindowPlace();
    }
}

CAvatarPanel* CGameWnd::SeatWindow(int seat) const
{
    return seat >= 0 && seat < kTableSeats ? m_seatWindows[seat].get() : NULL;
}

void CGameWnd::PlaceSeatWindow(int seat, int x, int y, int mode, int width, int height)
{
    if (seat < 0 || seat >= kTableSeats)
        return;
    SeatWindowPlace& want = m_seatWanted[seat];
    want.shown = true;
    want.x = x;
    want.y = y;
    want.mode = mode;
    want.width = width;
    want.height = height;
}

void CGameWnd::ApplySeatWindows()
{
    for (int seat = 0; seat < kTableSeats; seat++) {
        CAvatarPanel* panel = m_seatWindows[seat].get();
        if (panel == NULL || panel->GetSafeHwnd() == NULL)
            continue;
        const SeatWindowPlace& want = m_seatWanted[seat];
        SeatWindowPlace& now = m_seatShown[seat];
        if (want.shown && (!now.placed || want.x != now.x || want.y != now.y || want.mode != now.mode ||
                           want.width != now.width || want.height != now.height)) {
            panel->Place(want.x, want.y, want.mode, want.width, want.height);
            now.placed = true;
            now.x = want.x;
            now.y = want.y;
            now.mode = want.mode;
            now.width = want.width;
            now.height = want.height;
        }
        if (want.shown != now.shown) {
            panel->ShowWindow(want.shown ? SW_SHOWNA : SW_HIDE);
            now.shown = want.shown;
        }
    }
}

// ---- One seat ----------------------------------------------------------------------------

void CGameWnd::DrawSeat(CDC& dc, int view, int seat)
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || !app->m_state.Exists() || seat < 0 || seat >= kTableSeats)
        return;
    m_seatWanted[seat].shown = false;
    const BoardGameState& s = *app->m_state.Get();
    const BOOL watching = IsWatching();
    if (m_bFirstHandPending && s.phase == kPhaseIdle && !watching) {
        DrawWaitingSeat(dc, view, seat);
        return;
    }
    SeatLayoutRecord& r = app->m_seats[seat];
    const BOOL online = app->IsOnline();
    const int own = OwnSeat();

    // Name plate: a black shadow, the name in white over it.
    dc.SetTextColor(kBlack);
    dc.SetBkMode(TRANSPARENT);
    CString name;
    name.Format("%s[%s]", r.nickName, r.userName);
    // The layout measured the text in this font.
    const int clipRight = r.nameLeft + kPortraitWidth + 16;
    CRect shadow(r.nameLeft + 1, r.nameTop + 3, clipRight, r.nameTop + 3 + r.nameHeight);
    dc.DrawText(name, shadow, DT_LEFT | DT_TOP | DT_END_ELLIPSIS);
    dc.SetTextColor(kWhite);
    CRect plate(r.nameLeft, r.nameTop + 4, clipRight, r.nameTop + 4 + r.nameHeight);
    dc.DrawText(name, plate, DT_LEFT | DT_TOP | DT_END_ELLIPSIS);

    // Remaining count, by the few-cards rules.
    const int count = app->m_state.HandCount(seat);
    RemainingCountInput rule;
    rule.ownSeat = seat == own;
    rule.watching = watching != FALSE;
    rule.allowWatchingWord = s.seats[seat].watchersMaySee;
    rule.threshold = s.optStored8;
    rule.count = (int)s.seats[seat].cardsInHand;
    rule.warning = m_fewCardsWarning[seat] != FALSE;
    rule.flashStep = m_fewCardsFlash[seat];
    if (ShowRemainingCount(rule)) {
        const CTableImage& box = m_pictures.Theme("Background", "LeftNumBK");
        const LayoutRect place = RemainingCountBox(r, view, SizeOf(box));
        if (box.IsLoaded())
            box.Draw(dc.GetSafeHdc(), place.left, place.top, place.Width(), place.Height(), 0, 0, box.Width(),
                     box.Height());
        CString figure;
        figure.Format("%d", count);
        dc.SetTextColor(count > 0 ? kCountColour : kWhite);
        CRect area(place.left, place.top, place.right, place.bottom);
        dc.DrawText(figure, area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }

    // Portrait, status mark and status picture.
    PlaceSeatWindow(seat, r.portraitLeft, r.portraitTop, kPortraitMode, kPortraitWidth, kPortraitHeight);
    int markLeft = 0, markTop = 0;
    PlayingStatusMark(r, view, &markLeft, &markTop);
    r.markLeft = markLeft;
    r.markTop = markTop;
    const int status = StatusPictureId(app->m_state.SeatFlags(seat));
    const CTableImage& mark = m_pictures.Fixed(status);
    if (status != 0 && mark.IsLoaded()) {
        int left = 0, top = 0;
        StatusPicturePlace(r, view, &left, &top);
        mark.DrawKeyed(dc.GetSafeHdc(), left, top, mark.Width(), mark.Height(), 0, 0, mark.Width(), mark.Height());
    }

    // Hand.
    const CardEntry* hand = app->m_state.Hand(seat);
    if (view == 0) {
        const int step = online ? m_metrics.ownStep : kLocalOwnStep;
        const LayoutRect rect = HandRect(r, 0, count, m_metrics);
        for (int i = 0; i < count; i++) {
            const bool raised = (hand[i].flags & kCardSelected) != 0;
            // The next card covers this one when both lie at the same height.
            const bool covered = i + 1 < count && ((hand[i + 1].flags & kCardSelected) != 0) == raised;
            DrawCardAt(dc, hand[i], rect.left + i * step, rect.top + (raised ? 0 : kRaisedCardLift), FALSE,
                       covered ? step : 0);
        }
    } else if (count > 0) {
        std::vector<CardPlace> places;
        if (online) {
            if (s.phase == kPhaseIdle)
                places = OnlineOtherHandPlaces(HandRect(r, view, count, m_metrics), count);
        } else {
            CString trace;
            trace.Format("side=%d, n=%d, x=%d, y=%d\n", seat, count, r.handLeft, r.handTop);
            ::OutputDebugStringA(trace);
            places = LocalOtherHandPlaces(r.handLeft, r.handTop, count);
        }
        for (size_t i = 0; i < places.size(); i++)
            DrawSmallCard(dc, hand[i], places[i].x, places[i].y);
    }

    // Finishing mark.
    static const char* const kOut[] = {"Out1", "Out2", "Out3", "Out4", "Out5"};
    const int place = FinishMark(s.finishPlace[seat]);
    if (place != 0) {
        const CTableImage& out = m_pictures.Theme("Others", kOut[place - 1]);
        if (out.IsLoaded()) {
            int left = 0, top = 0;
            FinishMarkPlace(r, view, SizeOf(out), &left, &top);
            out.Draw(dc.GetSafeHdc(), left, top);
        }
    }

    if (seat == own && !watching)
        DrawTrustPlayPanel(dc, (int)m_trustTimes - (int)m_trustAllowed + 1);
    DrawTurnClock(dc, view, seat);
}

void CGameWnd::DrawSmallCard(CDC& dc, const CardEntry& card, int x, int y)
{
    const CTableImage& sheet = m_pictures.cardSmall;
    if (!sheet.IsLoaded())
        return;
    int column = 0, row = 0;
    CardCell(card, false, &column, &row);
    const int cw = sheet.Width() / 13, ch = sheet.Height() / 5;
    sheet.DrawKeyed(dc.GetSafeHdc(), x, y, cw, ch, column * cw, row * ch, cw, ch);
}

// ---- The waiting look --------------------------------------------------------------------

void CGameWnd::DrawWaitingSeat(CDC& dc, int view, int seat)
{
    CGameClientApp* app = GetClientApp();
    SeatLayoutRecord& r = app->m_seats[seat];
    CRect client;
    GetClientRect(&client);
    const LayoutRect area{client.left, client.top, client.right, client.bottom};
    const CTableImage& frame = m_pictures.bigAvatar;
    const CTableImage& ready = m_pictures.Theme("Status", "Ready");
    const CTableImage& waiting = m_pictures.Theme("Status", "Waiting");
    const CTableImage& title = m_pictures.Theme("Title", "TitleBK01");

    CString name;
    name.Format("%s[%s]", r.nickName, r.userName);
    const WaitingSeatPlaces p =
        WaitingSeatLayout(area, view, SizeOf(frame), SizeOf(ready), title.Width(), r.nameHeight);
    r.markLeft = p.statusLeft;
    r.markTop = p.statusTop;

    if (frame.IsLoaded())
        frame.Draw(dc.GetSafeHdc(), p.frameLeft, p.frameTop);
    dc.SetTextColor(kWaitingNameColour);
    dc.SetBkMode(TRANSPARENT);
    CRect box(p.nameBox.left, p.nameBox.top, p.nameBox.right, p.nameBox.bottom);
    dc.DrawText(name, box, DT_LEFT | DT_END_ELLIPSIS);
    PlaceSeatWindow(seat, p.avatarLeft, p.avatarTop, kWaitingPortraitMode, 0, 0);

    if (!GetClientApp()->IsOnline())
        return;
    const BOOL isReady = (GetClientApp()->m_state.SeatFlags(seat) & kPlayerFlagReady) != 0;
    if (isReady) {
        if (ready.IsLoaded())
            ready.Draw(dc.GetSafeHdc(), p.markLeft, p.markTop, ready.Width(), ready.Height(), 0, 0, ready.Width(),
                       ready.Height());
    } else if (seat != OwnSeat()) {
        if (waiting.IsLoaded())
            waiting.Draw(dc.GetSafeHdc(), p.markLeft, p.markTop, ready.Width(), ready.Height(), 0, 0,
                         waiting.Width(), waiting.Height());
    } else if (CPngButton* start = DYNAMIC_DOWNCAST(CPngButton, TableButton(kBtnStart))) {
        SIZE size = {0, 0};
        start->GetImageInfo(&size);
        int left = 0, top = 0;
        WaitingStartButton(area, p.frameTop, LayoutSize{(int)size.cx, (int)size.cy}, &left, &top);
        CRect now;
        start->GetWindowRect(&now);
        ScreenToClient(&now);
        if (now.left != left || now.top != top || now.Width() != size.cx || now.Height() != size.cy) {
            start->SetWindowPos(NULL, left, top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
            start->Redraw();
        }
    }
    DrawTitleBanner(dc, seat, p.titleLeft, p.titleTop, IsLeftView(view) ? 1 : -1);
}

// ---- The own seat's trust-play band --------------------------------------------------------

void CGameWnd::DrawTrustPlayPanel(CDC& dc, int count)
{
    CWnd* cancel = TableButton(kBtnTrustPlayOff);
    if (!m_bTrustPlay) {
        if (cancel != NULL && (cancel->GetStyle() & WS_VISIBLE) != 0)
            cancel->ShowWindow(SW_HIDE);
        return;
    }
    CGameClientApp* app = GetClientApp();
    const SeatLayoutRecord& r = app->m_seats[OwnSeat()];
    const CTableImage& back = m_pictures.Theme("Status", "TrustPlayBK");
    const CTableImage& first = m_pictures.Theme("Status", "TrustPlayStr");
    const CTableImage& second = m_pictures.Theme("Status", "TrustPlayStr2");
    const CTableImage& digits = m_pictures.Theme("Status", "TrustPlayNum");
    const TrustBandPlaces p =
        TrustBandLayout(r.panelLeft, r.panelTop, SizeOf(m_pictures.Theme("Background", "DPlayer")), SizeOf(first));
    HDC hDC = dc.GetSafeHdc();
    if (back.IsLoaded() && !p.band.IsEmpty())
        back.Draw(hDC, p.band.left, p.band.top, p.band.Width(), p.band.Height(), 0, 0, back.Width(), back.Height());
    const CTableImage& words = count == 0 ? second : first;
    if (words.IsLoaded())
        words.Draw(hDC, p.textLeft, p.textTop, first.Width(), first.Height(), 0, 0, words.Width(), words.Height());
    if (count == 0) {
        if (cancel != NULL) {
            cancel->ShowWindow(SW_SHOWNA);
            cancel->EnableWindow(FALSE);
        }
        return;
    }
    // One digit cell; a count outside 0-9 shows its nearest digit.
    if (digits.IsLoaded()) {
        const int cell = digits.Width() / 10;
        digits.Draw(hDC, p.digitLeft, p.digitTop, cell, first.Height(), DigitCell(count) * cell, 0, cell,
                    first.Height() < digits.Height() ? first.Height() : digits.Height());
    }
    if (cancel != NULL && (cancel->GetStyle() & WS_VISIBLE) == 0)
        cancel->ShowWindow(SW_SHOWNA);
}

// ---- Turn clocks --------------------------------------------------------------------------

void CGameWnd::DrawTurnClock(CDC& dc, int view, int seat)
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || !app->m_state.Exists() || m_previousTrick.Showing())
        return;
    const int own = OwnSeat();
    const BOOL watching = IsWatching();
    if (seat == own && !watching && !m_bOwnClockActive)
        return;
    const BoardGameState& s = *app->m_state.Get();
    if (!ClockShownFor(s, seat, own))
        return;
    const bool ownBar = seat == own && app->IsOnline();
    const CTableImage& frame = m_pictures.Fixed(ownBar ? kPicMyTimerFrame : kPicOtherTimerFrame);
    const CTableImage& fill = m_pictures.Fixed(ownBar ? kPicMyTimer : kPicOtherTimer);
    if (!frame.IsLoaded())
        return;
    const SeatLayoutRecord& r = app->m_seats[seat];
    const int panelHeight = m_pictures.Theme("Background", "LPlayer").Height();
    const LayoutRect bar = ClockBarRect(r, view, SizeOf(frame), panelHeight);
    HDC hDC = dc.GetSafeHdc();
    frame.DrawKeyed(hDC, bar.left, bar.top, frame.Width(), frame.Height(), 0, 0, frame.Width(), frame.Height());
    const int width = ClockFillWidth(fill.Width(), s.clockSecondsLeft[seat], s.clockLength[seat]);
    if (fill.IsLoaded() && width > 0)
        fill.DrawKeyed(hDC, bar.left, bar.top, width, fill.Height(), 0, 0, width, fill.Height());
    if (ownBar) {
        CString seconds;
        seconds.Format("%d", s.clockSecondsLeft[seat] > 0 ? s.clockSecondsLeft[seat] : 0);
        dc.SetTextColor(kWhite);
        dc.SetBkMode(TRANSPARENT);
        CRect area(bar.left, bar.top, bar.right, bar.bottom);
        dc.DrawText(seconds, area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

// ---- The few-cards warning ------------------------------------------------------------------

void CGameWnd::NoteSeatCards(int seat)
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || !app->m_state.Exists() || seat < 0 || seat >= kTableSeats)
        return;
    const int threshold = app->m_state.Get()->optStored8;
    if (threshold != 0 && app->m_state.HandCount(seat) <= threshold && m_fewCardsFlash[seat] < kFewCardsFlashSteps)
        m_fewCardsWarning[seat] = TRUE;
}

void CGameWnd::StepFewCardsFlash()
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || !app->m_state.Exists() || app->m_state.Get()->optStored8 == 0)
        return;
    BOOL changed = FALSE;
    for (int seat = 0; seat < kTableSeats; seat++) {
        if (seat == OwnSeat() || !m_fewCardsWarning[seat] || m_fewCardsFlash[seat] >= kFewCardsFlashSteps)
            continue;
        m_fewCardsFlash[seat]++;
        changed = TRUE;
    }
    if (changed)
        Invalidate(FALSE);
}

void CGameWnd::ResetFewCards()
{
    for (int seat = 0; seat < kTableSeats; seat++) {
        m_fewCardsWarning[seat] = FALSE;
        m_fewCardsFlash[seat] = 0;
    }
}
