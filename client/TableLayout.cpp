#include "TableLayout.h"

#include <cstdio>

namespace {

int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

bool IsJoker(const CardEntry& e) { return e.rank == 13 || e.rank == 14; }

}  // namespace

// ---- Table metrics and seat layout ---------------------------------------------------------

TableMetrics ComputeTableMetrics(const TableLayoutInput& in)
{
    TableMetrics m;
    m.area = in.area;
    if (in.smallCards && in.phase != 0) {
        m.cardWidth = 54;
        m.cardHeight = 72;
    }
    m.ownStep = in.ownCardCount <= 34 && in.area.Width() >= 700 ? 15 : 13;
    return m;
}

TableMetrics LayoutTable(const TableLayoutInput& in, SeatLayoutRecord records[kTableSeats])
{
    const TableMetrics m = ComputeTableMetrics(in);
    const LayoutRect& a = in.area;
    const int width = a.Width();
    const int height = a.Height();
    const int centreX = a.left + width / 2;

    // Side panels: the upper row at 10, the lower one centred by "DPlayer".
    const int upperTop = a.top + 10;
    const int lowerTop = a.top + (height - in.dPlayer.cy) / 2;

    // The name rule: a width cap that is a multiple of "(99)" up to 125.
    const int cap = in.width99 > 0 ? (125 / in.width99) * in.width99 : 125;

    for (int view = 0; view < kTableSeats; ++view) {
        const int seat = in.views[view];
        if (seat < 0 || seat >= kTableSeats)
            continue;
        SeatLayoutRecord& r = records[seat];
        if (view == 0) {
            r.panelLeft = a.left + (width - in.dPlayer.cx) / 2;
            r.panelTop = a.bottom - 10 - in.dPlayer.cy;
            r.portraitLeft = r.panelLeft + 127;
            r.portraitTop = r.panelTop + 3;
            const int n = in.ownCardCount > 0 ? in.ownCardCount : 1;
            r.handLeft = a.left + width / 2 - ((n - 1) * m.ownStep + m.cardWidth) / 2 + 3;
            r.handTop = r.panelTop + in.dPlayer.cy - 5 - m.cardHeight;
            r.playedLeft = centreX + 35;
            r.playedTop = r.portraitTop + 22;
        } else if (IsLeftView(view)) {
            r.panelLeft = a.left;
            r.panelTop = view == 2 ? upperTop : lowerTop;
            r.portraitLeft = r.panelLeft + 1;
            r.portraitTop = r.panelTop + 3;
            if (in.online) {
                r.handLeft = r.portraitLeft + 148;
                r.handTop = r.portraitTop + 22;
            } else {
                r.handLeft = r.portraitLeft;
                r.handTop = r.portraitTop + 145;
            }
            r.playedLeft = r.portraitLeft + (in.online ? 148 : 130);
            r.playedTop = r.portraitTop + 22;
        } else {
            r.panelLeft = a.right - in.lPlayer.cx;
            r.panelTop = view == 3 ? upperTop : lowerTop;
            r.portraitLeft = a.right - 101;
            r.portraitTop = r.panelTop + 3;
            if (in.online) {
                r.handLeft = r.portraitLeft - 48;
                r.handTop = r.portraitTop + 22;
            } else {
                r.handLeft = r.portraitLeft - 230;
                r.handTop = r.portraitTop + 145;
            }
            r.playedLeft = r.portraitLeft - (in.online ? 48 : 30);
            r.playedTop = r.portraitTop + 22;
        }
        const LayoutSize text = in.nameText[seat];
        r.nameWidth = text.cx < cap ? text.cx : cap;
        r.nameHeight = text.cy;
        if (IsRightView(view))
            r.nameLeft = r.portraitLeft + kPortraitWidth - 135 + (135 - r.nameWidth) / 2;
        else
            r.nameLeft = r.portraitLeft + (135 - r.nameWidth) / 2;
        r.nameTop = r.panelTop + in.lPlayer.cy - 20 + (17 - text.cy) / 2;
    }
    return m;
}

LayoutRect HandRect(const SeatLayoutRecord& record, int view, int cardCount, const TableMetrics& m)
{
    const int n = Clamp(cardCount, 0, kCardAreaSize);
    LayoutRect r;
    r.left = record.handLeft;
    r.top = record.handTop;
    if (IsRightView(view) && n > 0) {
        const int rows = (n - 1) / 14 + 1;
        const int perRow = (n + rows - 1) / rows;
        r.left -= 12 * perRow + 42;
    }
    if (view != 0) {
        r.right = r.left;
        r.bottom = r.top;
        return r;
    }
    const int width = n > 0 ? (n - 1) * m.ownStep + m.cardWidth : 0;
    r.right = r.left + width;
    r.top = record.handTop - kRaisedCardLift;
    r.bottom = record.handTop + m.cardHeight;
    return r;
}

int HitTestHand(const LayoutRect& handRect, const CardEntry* hand, int count, const TableMetrics& m, int x, int y)
{
    const int n = Clamp(count, 0, kCardAreaSize);
    if (hand == nullptr || n == 0)
        return -1;
    const int handTop = handRect.top + kRaisedCardLift;
    for (int i = n - 1; i >= 0; --i) {
        LayoutRect card;
        card.left = handRect.right - m.cardWidth - (n - 1 - i) * m.ownStep;
        card.right = card.left + m.cardWidth;
        card.top = (hand[i].flags & kCardSelected) != 0 ? handTop - kRaisedCardLift : handTop;
        card.bottom = card.top + m.cardHeight;
        if (card.Contains(x, y))
            return i;
    }
    return -1;
}

PlayLayout LastPlayLayout(const SeatLayoutRecord& record, int view, const CardEntry* cards, int count,
                          const TableMetrics& m)
{
    PlayLayout p;
    const int n = Clamp(count, 0, kCardAreaSize);
    const int top = view == 0 ? record.playedTop : record.playedTop - 2;
    if (cards == nullptr || n == 0) {
        p.rect = LayoutRect{record.playedLeft, top, record.playedLeft, top};
        return p;
    }
    int x = 0;
    for (int i = 0; i < n; ++i) {
        p.offsets.push_back(x);
        if (i == n - 1)
            break;
        if (n < 11)
            x += kOtherCardStep;
        else if (IsJoker(cards[i]))
            x += n > 14 ? 10 : kOtherCardStep;
        else
            x += 5;
    }
    const int width = x + m.cardWidth;
    int left = record.playedLeft;
    if (view == 0)
        left -= width / 2;
    else if (IsRightView(view))
        left -= width;
    p.rect = LayoutRect{left, top, left + width, top + m.cardHeight};
    return p;
}

void PassMarkCentre(const SeatLayoutRecord& record, int view, int* x, int* y)
{
    int cx = record.panelLeft + 106;
    if (view == 0)
        cx += 285;
    else if (IsLeftView(view))
        cx += 136;
    *x = cx;
    *y = record.panelTop + 71;
}

LayoutRect RemainingCountBox(const SeatLayoutRecord& record, int view, LayoutSize leftNumBk)
{
    LayoutRect r;
    if (IsRightView(view)) {
        r.right = record.portraitLeft - 2;
        r.left = r.right - leftNumBk.cx;
    } else {
        r.left = record.portraitLeft + kPortraitWidth + 2;
        r.right = r.left + leftNumBk.cx;
    }
    r.bottom = record.portraitTop + kPortraitHeight - 2;
    r.top = r.bottom - leftNumBk.cy;
    return r;
}

// ---- The seat drawing ---------------------------------------------------------------------

bool ShowRemainingCount(const RemainingCountInput& in)
{
    if (in.ownSeat && !in.watching)
        return true;
    if (in.ownSeat && in.watching && in.allowWatchingWord != 0)
        return true;
    if (in.threshold == 0)
        return true;
    if (in.count > in.threshold)
        return false;
    if (in.warning && !in.watching)
        return in.flashStep % 2 == 0;
    return true;
}

int StatusPictureId(uint32_t flags)
{
    if (flags & kPlayerFlagMarked)
        return 318;
    if (flags & kPlayerFlagOffline)
        return 320;
    if (flags & kPlayerFlagTrustPlay)
        return 317;
    if (flags & kPlayerFlagReady)
        return 319;
    return 0;
}

std::vector<CardPlace> OnlineOtherHandPlaces(const LayoutRect& handRect, int n)
{
    std::vector<CardPlace> places;
    n = Clamp(n, 0, kCardAreaSize);
    if (n == 0)
        return places;
    const int q = (n - 1) / 14;
    const int perRow = (n + q) / (q + 1);
    const int firstTop = handRect.top + 4 - 6 * q;
    for (int i = 0; i < n; ++i)
        places.push_back(CardPlace{handRect.left + (i % perRow) * 12, firstTop + (i / perRow) * 15});
    return places;
}

std::vector<CardPlace> LocalOtherHandPlaces(int handLeft, int handTop, int n)
{
    std::vector<CardPlace> places;
    n = Clamp(n, 0, kCardAreaSize);
    const int perRow = n <= 12 ? n : (n + 1) / 2;
    for (int i = 0; i < n; ++i) {
        const bool second = i >= perRow;
        places.push_back(CardPlace{handLeft + (second ? i - perRow : i) * kOtherCardStep,
                                   handTop + (second ? kOtherCardStep + 3 : 0)});
    }
    return places;
}

void WaitingSpacing(int areaHeight, int frameHeight, int* spacing, int* gap)
{
    if (areaHeight >= 726) {
        const int free = areaHeight - 3 * frameHeight - 42;
        *spacing = free - (2 * free) / 3;
        *gap = 40;
    } else {
        *spacing = 10;
        const int free = areaHeight - 3 * frameHeight - 22;
        *gap = free >= 0 ? free - static_cast<int>(0.4 * free) + 10 : 40;
    }
}

WaitingSeatPlaces WaitingSeatLayout(const LayoutRect& area, int view, LayoutSize bigAvatar, LayoutSize mark,
                                    int titleWidth, int textHeight)
{
    WaitingSeatPlaces p{};
    const int w = bigAvatar.cx;
    const int h = bigAvatar.cy;
    int spacing = 0, gap = 0;
    WaitingSpacing(area.Height(), h, &spacing, &gap);
    switch (view) {
    case 0:
        p.frameLeft = area.left + area.Width() / 2 - w / 2;
        p.frameTop = area.bottom - h - gap;
        break;
    case 2:
        p.frameLeft = area.left;
        p.frameTop = area.top + 2;
        break;
    case 1:
        p.frameLeft = area.left;
        p.frameTop = area.top + 2 + h + spacing;
        break;
    case 3:
        p.frameLeft = area.right - w;
        p.frameTop = area.top + 2;
        break;
    default:
        p.frameLeft = area.right - w;
        p.frameTop = area.top + 2 + h + spacing;
        break;
    }
    const bool left = IsLeftView(view);
    p.markTop = p.frameTop + h - mark.cy - 5;
    p.markLeft = left ? p.frameLeft + w + 7 : p.frameLeft - mark.cx - 7;
    p.titleTop = p.frameTop;
    p.titleLeft = left ? p.frameLeft + w + 7 : p.frameLeft - titleWidth - 7;
    if (view == 0) {
        p.statusLeft = p.frameLeft + 10;
        p.statusTop = p.frameTop - 4;
    } else {
        p.statusLeft = left ? p.frameLeft + w - 42 : p.frameLeft + 42;
        p.statusTop = p.frameTop + h + 4;
    }
    p.nameBox.left = p.frameLeft + (w - 150) / 2;
    p.nameBox.top = p.frameTop + 198 + (18 - textHeight) / 2;
    p.nameBox.right = p.nameBox.left + 144;
    p.nameBox.bottom = p.nameBox.top + 18;
    p.avatarLeft = p.frameLeft + (w - 150) / 2;
    p.avatarTop = p.frameTop + 7;
    return p;
}

void WaitingStartButton(const LayoutRect& area, int frameTop, LayoutSize button, int* left, int* top)
{
    *left = area.left + area.Width() / 2 - button.cx / 2;
    *top = frameTop - button.cy - 35;
}

void PlayingStatusMark(const SeatLayoutRecord& record, int view, int* left, int* top)
{
    if (view == 0) {
        *left = record.portraitLeft + 10;
        *top = record.portraitTop - 4;
        return;
    }
    *left = record.portraitLeft + (IsLeftView(view) ? 58 : 42);
    *top = record.portraitTop + 143;
}

void StatusPicturePlace(const SeatLayoutRecord& record, int view, int* left, int* top)
{
    *left = IsRightView(view) ? record.portraitLeft + kPortraitWidth - 149 : record.portraitLeft + kPortraitWidth + 35;
    *top = record.portraitTop + kPortraitHeight + 6;
}

void FinishMarkPlace(const SeatLayoutRecord& record, int view, LayoutSize mark, int* left, int* top)
{
    *left = IsRightView(view) ? record.portraitLeft - 8 - mark.cx : record.portraitLeft + kPortraitWidth + 5;
    *top = record.portraitTop + kPortraitHeight - 2 * mark.cy - 6;
}

TrustBandPlaces TrustBandLayout(int ownPanelLeft, int ownPanelTop, LayoutSize dPlayer, LayoutSize text)
{
    TrustBandPlaces p{};
    p.band.left = ownPanelLeft;
    p.band.top = ownPanelTop + 142;
    p.band.right = ownPanelLeft + dPlayer.cx;
    p.band.bottom = ownPanelTop + dPlayer.cy;
    const int centreX = p.band.left + p.band.Width() / 2;
    const int centreY = p.band.top + p.band.Height() / 2;
    p.textLeft = centreX - text.cx / 2;
    p.textTop = centreY - text.cy;
    p.digitLeft = p.textLeft + 91;
    p.digitTop = p.textTop + 6;
    return p;
}

LayoutRect ClockBarRect(const SeatLayoutRecord& record, int view, LayoutSize frame, int panelHeight)
{
    LayoutRect r;
    r.left = IsRightView(view) ? record.portraitLeft + kPortraitWidth - frame.cx : record.portraitLeft;
    r.top = view == 0 ? record.portraitTop - 4 - frame.cy : record.panelTop + panelHeight + 4;
    r.right = r.left + frame.cx;
    r.bottom = r.top + frame.cy;
    return r;
}

// ---- Pictures and figures -----------------------------------------------------------------

void CardCell(const CardEntry& entry, bool faceDown, int* column, int* row)
{
    int c = 2, r = 4;   // the back
    if (!faceDown && entry.id != kHiddenCardId) {
        if (entry.suit == kSmallJokerSuit) {
            c = 0;
        } else if (entry.suit == kBigJokerSuit) {
            c = 1;
        } else if (entry.suit < 4 && entry.rank < 13) {
            c = entry.rank;
            r = entry.suit;
        }
    }
    *column = c;
    *row = r;
}

std::string DesignatedRankText(int column)
{
    const int v = ((column + 3) % 13 + 13) % 13;
    switch (v) {
    case 11: return "J";
    case 12: return "Q";
    case 0: return "K";
    case 1: return "A";
    default: return std::to_string(v);
    }
}

int DesignatedSuitQuarter(int cardNumber)
{
    if (cardNumber < 0 || cardNumber >= kAllCards)
        return -1;
    const int suit = (cardNumber % kPackCards) / 13;
    return suit < 4 ? suit : -1;
}

std::vector<DigitPlace> PlayedCountDigits(int count)
{
    std::vector<DigitPlace> digits;
    const int n = Clamp(count, 0, 99);
    if (n < 10) {
        digits.push_back(DigitPlace{n, 75});
    } else {
        digits.push_back(DigitPlace{n / 10, 70});
        digits.push_back(DigitPlace{n % 10, 86});
    }
    return digits;
}

int RoleMark(const BoardGameState& s, int seat)
{
    if (s.phase != 0 && s.phase != 2 && s.phase != 3)
        return 0;
    if (seat < 0 || seat >= kTableSeats)
        return 0;
    const uint32_t flags = s.tableFlags;
    const bool shown = s.decisionMarks[seat] != 0;
    if (seat == s.guardSeat) {
        if (shown) {
            if ((flags & 0x8) == 0)
                return 1;
            if ((flags & 0x100) != 0 || (s.guardSeat == s.emperorSeat && (flags & 0x80) != 0))
                return 4;
            return 2;
        }
        if ((flags & 0x4) != 0)
            return (flags & 0x100) != 0 ? 4 : 2;
        return s.phase == 0 ? 2 : 0;
    }
    if ((s.ruleFlags & kRuleFlagOption12) == 0)
        return shown ? 3 : 0;
    const bool seatBit = (s.ruleFlags & (1u << seat)) != 0;
    if (!shown && !seatBit)
        return 0;
    if (seat == s.emperorSeat)
        return 0;
    return (flags & 0x40) != 0 || seatBit ? 5 : 3;
}

// ---- Button rows ---------------------------------------------------------------------------

std::vector<ButtonPlace> ToolButtonPlaces(int width, int tableBottom, int w, int h)
{
    const int lowerTop = tableBottom - 147 - h;
    const int upperTop = lowerTop - 10 - h;
    std::vector<ButtonPlace> places;
    const int lower[4] = {213, 208, 211, 332};
    const int upper[4] = {210, 212, 209, 330};
    for (int i = 0; i < 4; ++i) {
        const int x = width - (15 + 10 * i) - (i + 1) * w;
        places.push_back(ButtonPlace{lower[i], x, lowerTop});
        places.push_back(ButtonPlace{upper[i], x, upperTop});
    }
    return places;
}

int DecisionRowLeft(int areaWidth, int n, int w) { return (areaWidth - (n * w + (n - 1) * 6)) / 2 + 35; }

std::vector<ButtonPlace> DecisionButtonPlaces(const DecisionLayoutInput& in)
{
    std::vector<ButtonPlace> out;
    const int aw = in.areaWidth;
    const int b = in.areaBottom;
    const int near = b - 180;
    const int far = b - 230;
    auto row = [&](std::initializer_list<int> ids, int w, int top, int n) {
        int x = DecisionRowLeft(aw, n, w);
        for (int id : ids) {
            out.push_back(ButtonPlace{id, x, top});
            x += w + 6;
        }
    };

    out.push_back(ButtonPlace{200, DecisionRowLeft(aw, 1, in.start.cx), b - 220});
    if (in.roomSetting1 != 0)
        out.push_back(ButtonPlace{334, (aw - 760) / 2 + 16, b - 176});
    if (in.roomSetting3 != 0)
        out.push_back(ButtonPlace{335, (aw - 760) / 2 + 16, b - 176 - in.titles.cy + 5});

    const int ew = in.emperor.cx;
    const int eh = in.emperor.cy;
    (void)eh;
    if (in.simultaneous) {
        if (in.phase != 1) {
            row({201, 199, 202, 198}, ew, far, 4);
        } else if (in.ownDecides) {
            if (in.option12 && !in.bothMarked) {
                row({201, 199}, ew, near, 2);
                out.push_back(ButtonPlace{198, DecisionRowLeft(aw, 2, ew) + ew + 6, far});
            } else {
                row({201, 199, 202}, ew, near, 3);
                out.push_back(ButtonPlace{198, DecisionRowLeft(aw, 3, ew) + 2 * (ew + 6), far});
            }
        } else {
            row({199, 198}, ew, near, 2);
            const int x198 = DecisionRowLeft(aw, 2, ew) + ew + 6;
            out.push_back(ButtonPlace{201, x198, far});
            out.push_back(ButtonPlace{202, x198 + ew + 6, far});
        }
    } else {
        row({201, 202}, ew, in.phase == 1 ? near : far, 2);
    }
    row({203, 204}, in.guard.cx, in.phase == 2 ? near : far, 2);
    if (in.option12)
        row({323, 324}, in.kick.cx, in.phase == 2 ? near : far, 2);
    if (in.phase == 3)
        row({205, 206, 207}, in.pass.cx, near, 3);
    return out;
}

ButtonBarLayout ButtonBar(const LayoutRect& area, LayoutSize bar, int setupHeight, int ownPanelLeft,
                          bool firstHandPending)
{
    ButtonBarLayout l{};
    l.lowerTop = area.bottom - setupHeight / 2 - 147;
    l.upperTop = l.lowerTop - setupHeight - 10;
    const int leastLeft = ownPanelLeft + (firstHandPending ? 485 : 525);
    if (firstHandPending || area.right - leastLeft >= bar.cx) {
        l.left = area.right - bar.cx;
        l.stretched = false;
    } else {
        l.left = leastLeft;
        l.stretched = true;
    }
    return l;
}
