#include "TableMarks.h"

#include "MardavelPlay.h"

void EmperorMarkPlace(const SeatLayoutRecord& record, int view, LayoutSize leftNumBk, int* left, int* top)
{
    const LayoutRect box = RemainingCountBox(record, view, leftNumBk);
    *left = box.left + 3;
    *top = box.top + 36 - kPortraitHeight;
}

void RoleMarkPlace(const SeatLayoutRecord& record, int view, LayoutSize farmerSign, int* left, int* top)
{
    *left = IsRightView(view) ? record.portraitLeft - 5 - farmerSign.cx : record.portraitLeft + kPortraitWidth + 5;
    *top = record.portraitTop + 2 * farmerSign.cy - 27;
}

bool PlayedCountShown(const BoardGameState& s, bool online)
{
    return online && s.trickCount != 0 && s.leadSeat != s.seatToAct;
}

PlayedCountPlaces PlayedCountLayout(int areaWidth, int upperLeftPanelTop, int lowerLeftPanelTop, int lPlayerHeight,
                                    LayoutSize back, LayoutSize digits)
{
    PlayedCountPlaces p;
    p.backLeft = areaWidth / 2 - back.cx / 2;
    p.backTop = (upperLeftPanelTop + lowerLeftPanelTop + lPlayerHeight) / 2 - back.cy / 2;
    p.digitTop = p.backTop + (back.cy - digits.cy) / 2;
    p.cellWidth = digits.cx / 10;
    return p;
}

bool DesignatedCardLayout(int portraitLeft, int portraitTop, LayoutSize color, int cardNumber,
                          DesignatedCardPlaces* out)
{
    const int suit = DesignatedSuitQuarter(cardNumber);
    const int w = color.cx / 4;
    if (suit < 0 || w <= 0 || color.cy <= 0)
        return false;
    out->quarter.left = portraitLeft - w - 10;
    out->quarter.top = portraitTop;
    out->quarter.right = out->quarter.left + w;
    out->quarter.bottom = portraitTop + color.cy;
    out->sourceLeft = suit * w;
    out->rank.left = out->quarter.left + w / 2 + 6;
    out->rank.top = out->quarter.top + 4;
    out->rank.right = out->rank.left + 20;
    out->rank.bottom = out->rank.top + 25;
    out->darkRed = suit == 0 || suit == 2;
    return true;
}

void PassedSeats::Announce(uint32_t announcement, int seat)
{
    if (seat < 0 || seat >= kTableSeats)
        return;
    if (announcement == kAnnouncePass)
        m_passed[seat] = 1;
    else if (announcement == kAnnouncePlay)
        m_passed[seat] = 0;
}

void PassedSeats::Applied(const BoardGameState& s, int seat)
{
    if (s.seatToAct == s.leadSeat && s.seatToAct != seat)
        Clear();
}

void PassedSeats::Clear()
{
    for (uint32_t& p : m_passed)
        p = 0;
}

bool PassMarkShown(const BoardGameState& s, const PassedSeats& passed, int seat, bool online)
{
    if (!passed.Passed(seat))
        return false;
    const SeatState& state = s.seats[seat];
    if (state.cardsInHand == 0 || state.tableCardCount != 0)
        return false;
    return !online || s.seatToAct != seat;
}

BackgroundPlan PlanThemeBackground(const LayoutRect& area, LayoutSize picture)
{
    BackgroundPlan plan;
    const int w = area.right - area.left, h = area.bottom - area.top;
    plan.centred = w > picture.cx && h > picture.cy;
    plan.under = area;
    if (!plan.centred) {
        plan.picture = area;
        plan.sourceLeft = plan.sourceTop = 0;
        return plan;
    }
    const int left = area.left + (w - picture.cx) / 2, top = area.top + (h - picture.cy) / 2;
    plan.picture = LayoutRect{left, top, left + picture.cx - 1, top + picture.cy - 1};
    plan.sourceLeft = plan.sourceTop = 1;
    return plan;
}
