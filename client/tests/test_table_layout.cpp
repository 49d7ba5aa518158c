// The table's geometry: card steps, seat places, hands, plays, the waiting
// look, button rows, and the small drawing choices.
#include <gtest/gtest.h>

#include <vector>

#include "MardavelPlay.h"
#include "TableLayout.h"
#include "TableMarks.h"

namespace {

TableLayoutInput Input(int width, int height, int ownCards)
{
    TableLayoutInput in;
    in.area = LayoutRect{0, 0, width, height};
    in.dPlayer = LayoutSize{560, 230};
    in.lPlayer = LayoutSize{300, 180};
    in.ownCardCount = ownCards;
    in.phase = 3;
    for (auto& t : in.nameText)
        t = LayoutSize{60, 12};
    in.width99 = 24;
    return in;
}

TEST(TableLayoutTest, CardStepsAndSizes)
{
    struct Case {
        const char* what;
        int width, cards;
        bool small;
        int phase;
        int step, cardWidth, cardHeight;
    };
    const Case cases[] = {
        {"34 cards at 700 pixels", 700, 34, false, 3, 15, 71, 96},
        {"35 cards at 700 pixels", 700, 35, false, 3, 13, 71, 96},
        {"34 cards at 699 pixels", 699, 34, false, 3, 13, 71, 96},
        {"small cards during a hand", 1024, 20, true, 3, 15, 54, 72},
        {"small cards between hands: the large sheet", 1024, 20, true, 0, 15, 71, 96},
    };
    for (const Case& c : cases) {
        TableLayoutInput in = Input(c.width, 700, c.cards);
        in.smallCards = c.small;
        in.phase = c.phase;
        const TableMetrics m = ComputeTableMetrics(in);
        EXPECT_EQ(m.ownStep, c.step) << c.what;
        EXPECT_EQ(m.cardWidth, c.cardWidth) << c.what;
        EXPECT_EQ(m.cardHeight, c.cardHeight) << c.what;
    }
}

TEST(TableLayoutTest, CardSheetCells)
{
    const struct {
        const char* what;
        int width, height;
        int cx, cy;
    } sheets[] = {
        {"the large sheet of the generated theme", 923, 480, 71, 96},
        {"1300 x 500", 1300, 500, 100, 100},
        {"1305 x 504: the spare pixels are left over", 1305, 504, 100, 100},
        {"the small sheet", 702, 360, 54, 72},
    };
    for (const auto& s : sheets) {
        const LayoutSize cell = CardSheetCell(s.width, s.height);
        EXPECT_EQ(cell.cx, s.cx) << s.what;
        EXPECT_EQ(cell.cy, s.cy) << s.what;
    }
}

TEST(TableLayoutTest, SeatPlaces)
{
    TableLayoutInput in = Input(1024, 700, 10);
    in.views[0] = 2;
    in.views[1] = 3;
    in.views[2] = 4;
    in.views[3] = 0;
    in.views[4] = 1;
    in.nameText[2] = LayoutSize{200, 12};   // longer than the cap
    SeatLayoutRecord r[5] = {};
    const TableMetrics m = LayoutTable(in, r);
    // Own seat (2): panel centred, 10 above the bottom.
    EXPECT_EQ(r[2].panelLeft, (1024 - 560) / 2);
    EXPECT_EQ(r[2].panelTop, 700 - 10 - 230);
    EXPECT_EQ(r[2].portraitLeft, r[2].panelLeft + 127);
    EXPECT_EQ(r[2].handLeft, 512 - (9 * 15 + 71) / 2 + 3);
    EXPECT_EQ(r[2].handTop, r[2].panelTop + 230 - 5 - 96);
    EXPECT_EQ(r[2].playedLeft, 512 + 35);
    EXPECT_EQ(r[2].nameWidth, 120) << "capped at five widths of \"(99)\"";
    // Upper left (view 2 = seat 4), lower left (view 1 = seat 3).
    EXPECT_EQ(r[4].panelTop, 10);
    EXPECT_EQ(r[4].portraitLeft, 1);
    EXPECT_EQ(r[4].portraitTop, 13);
    EXPECT_EQ(r[4].handLeft, 149);
    EXPECT_EQ(r[4].handTop, 35);
    EXPECT_EQ(r[3].panelTop, (700 - 230) / 2);
    // Upper right (view 3 = seat 0).
    EXPECT_EQ(r[0].panelLeft, 1024 - 300);
    EXPECT_EQ(r[0].portraitLeft, 1024 - 101);
    EXPECT_EQ(r[0].handLeft, 1024 - 101 - 48);
    EXPECT_EQ(r[0].nameLeft, r[0].portraitLeft + 100 - 135 + (135 - 60) / 2);
    EXPECT_EQ(r[0].nameTop, 10 + 180 - 20 + (17 - 12) / 2);
    EXPECT_EQ(r[1].panelTop, (700 - 230) / 2) << "lower right follows the lower left";

    in.online = false;
    LayoutTable(in, r);
    EXPECT_EQ(r[4].handLeft, 1) << "local: under the portrait";
    EXPECT_EQ(r[4].handTop, 13 + 145);
    EXPECT_EQ(r[4].playedLeft, 1 + 130);
    EXPECT_EQ(r[0].handLeft, 1024 - 101 - 230);
    EXPECT_EQ(r[0].playedLeft, 1024 - 101 - 30);
    (void)m;
}

TEST(TableLayoutTest, HandRectAndHitTest)
{
    TableMetrics m;
    SeatLayoutRecord own{};
    own.handLeft = 100;
    own.handTop = 500;
    LayoutRect rect = HandRect(own, 0, 5, m);
    EXPECT_EQ(rect.left, 100);
    EXPECT_EQ(rect.right, 100 + 4 * 15 + 71);
    EXPECT_EQ(rect.top, 480) << "room for raised cards";
    EXPECT_EQ(rect.bottom, 596);

    SeatLayoutRecord right{};
    right.handLeft = 800;
    right.handTop = 100;
    LayoutRect r15 = HandRect(right, 3, 15, m);
    EXPECT_EQ(r15.left, 800 - (12 * 8 + 42)) << "two rows of 8";
    EXPECT_TRUE(r15.IsEmpty()) << "other seats' hands are not hit";

    CardEntry hand[5] = {};
    hand[2].flags = kCardSelected;
    EXPECT_EQ(HitTestHand(rect, hand, 5, m, 100 + 4 * 15 + 70, 550), 4) << "the last card on top";
    EXPECT_EQ(HitTestHand(rect, hand, 5, m, 100 + 3 * 15 + 1, 550), 3);
    EXPECT_EQ(HitTestHand(rect, hand, 5, m, 100 + 2 * 15 + 1, 485), 2) << "a raised card reaches 20 higher";
    EXPECT_EQ(HitTestHand(rect, hand, 5, m, 100 + 1 * 15 + 1, 485), -1) << "a lowered card does not";
    EXPECT_EQ(HitTestHand(rect, hand, 5, m, 100 + 2 * 15 + 1, 590), 1)
        << "below a raised card the card before it shows";
    EXPECT_EQ(HitTestHand(rect, hand, 0, m, 120, 550), -1) << "an empty hand";
}

TEST(TableLayoutTest, LastPlays)
{
    TableMetrics m;
    SeatLayoutRecord r{};
    r.playedLeft = 500;
    r.playedTop = 300;
    std::vector<CardEntry> cards(16);
    PlayLayout own = LastPlayLayout(r, 0, cards.data(), 3, m);
    EXPECT_EQ(own.rect.Width(), 2 * 15 + 71);
    EXPECT_EQ(own.rect.left, 500 - (2 * 15 + 71) / 2) << "centred for the own seat";
    EXPECT_EQ(own.rect.top, 300);
    PlayLayout right = LastPlayLayout(r, 4, cards.data(), 3, m);
    EXPECT_EQ(right.rect.right, 500) << "right-hand seats end at the position";
    EXPECT_EQ(right.rect.top, 298) << "2 pixels higher than the own seat";
    PlayLayout left = LastPlayLayout(r, 1, cards.data(), 3, m);
    EXPECT_EQ(left.rect.left, 500);

    cards[3].rank = 13;
    PlayLayout eleven = LastPlayLayout(r, 1, cards.data(), 11, m);
    EXPECT_EQ(eleven.rect.Width(), 9 * 5 + 15 + 71) << "5 per card from 11, a joker the full step";
    EXPECT_EQ(eleven.offsets[4], 3 * 5 + 15);
    PlayLayout fifteen = LastPlayLayout(r, 1, cards.data(), 15, m);
    EXPECT_EQ(fifteen.rect.Width(), 13 * 5 + 10 + 71) << "a joker steps 10 in a play of more than 14";
    EXPECT_TRUE(LastPlayLayout(r, 1, cards.data(), 0, m).rect.IsEmpty());
}

TEST(TableLayoutTest, OtherHands)
{
    auto rows = [](const std::vector<CardPlace>& places) {
        std::vector<int> counts;
        int y = -100000;
        for (const CardPlace& p : places) {
            if (p.y != y) {
                counts.push_back(0);
                y = p.y;
            }
            ++counts.back();
        }
        return counts;
    };
    EXPECT_EQ(rows(LocalOtherHandPlaces(0, 0, 13)), (std::vector<int>{7, 6}));
    EXPECT_EQ(rows(LocalOtherHandPlaces(0, 0, 12)), (std::vector<int>{12}));
    EXPECT_EQ(rows(LocalOtherHandPlaces(0, 0, 27)), (std::vector<int>{14, 13}));
    EXPECT_EQ(LocalOtherHandPlaces(10, 20, 13)[7].y, 20 + 18);

    const LayoutRect rect{100, 200, 100, 200};
    const std::vector<CardPlace> online = OnlineOtherHandPlaces(rect, 15);
    EXPECT_EQ(rows(online), (std::vector<int>{8, 7}));
    EXPECT_EQ(online[0].y, 198) << "the first row 2 pixels above the rectangle";
    EXPECT_EQ(online[8].y, 213);
    EXPECT_EQ(online[1].x, 112);
}

TEST(TableLayoutTest, WaitingLook)
{
    int spacing = 0, gap = 0;
    WaitingSpacing(726, 220, &spacing, &gap);
    const int free726 = 726 - 660 - 42;
    EXPECT_EQ(spacing, free726 - (2 * free726) / 3);
    EXPECT_EQ(gap, 40);
    WaitingSpacing(725, 220, &spacing, &gap);
    const int free725 = 725 - 660 - 22;
    EXPECT_EQ(spacing, 10);
    EXPECT_EQ(gap, free725 - static_cast<int>(0.4 * free725) + 10);
    WaitingSpacing(600, 220, &spacing, &gap);
    EXPECT_EQ(gap, 40) << "a negative free height";

    const LayoutRect area{0, 0, 1024, 768};
    const WaitingSeatPlaces own = WaitingSeatLayout(area, 0, LayoutSize{160, 220}, LayoutSize{40, 20}, 30, 12);
    EXPECT_EQ(own.frameLeft, 512 - 80);
    EXPECT_EQ(own.markLeft, own.frameLeft - 40 - 7);
    const WaitingSeatPlaces upperLeft = WaitingSeatLayout(area, 2, LayoutSize{160, 220}, LayoutSize{40, 20}, 30,
                                                          12);
    EXPECT_EQ(upperLeft.frameTop, 2);
    EXPECT_EQ(upperLeft.markLeft, 160 + 7);
    EXPECT_EQ(upperLeft.nameBox.top, 2 + 198 + 3);
}

TEST(TableLayoutTest, RemainingCountMatrix)
{
    struct Case {
        const char* what;
        bool own, watching;
        uint32_t allow;
        int threshold, count;
        bool warning;
        int step;
        bool shown;
    };
    const Case cases[] = {
        {"own seat of a player, any threshold", true, false, 0, 5, 20, false, 0, true},
        {"own seat watched, watchers allowed", true, true, 1, 5, 20, false, 0, true},
        {"own seat watched, not allowed, above threshold", true, true, 0, 5, 20, false, 0, false},
        {"threshold off", false, false, 0, 0, 40, false, 0, true},
        {"6 cards at threshold 5: no box", false, false, 0, 5, 6, false, 0, false},
        {"5 cards at threshold 5: box", false, false, 0, 5, 5, false, 0, true},
        {"warning, even step: shown", false, false, 0, 5, 5, true, 2, true},
        {"warning, odd step: flashed off", false, false, 0, 5, 5, true, 3, false},
        {"a watcher sees no flashing", false, true, 0, 5, 5, true, 3, true},
    };
    for (const Case& c : cases) {
        RemainingCountInput in;
        in.ownSeat = c.own;
        in.watching = c.watching;
        in.allowWatchingWord = c.allow;
        in.threshold = c.threshold;
        in.count = c.count;
        in.warning = c.warning;
        in.flashStep = c.step;
        EXPECT_EQ(ShowRemainingCount(in), c.shown) << c.what;
    }
}

TEST(TableLayoutTest, StatusAndMarks)
{
    const struct {
        const char* what;
        uint32_t flags;
        int picture;
    } status[] = {
        {"none", 0, 0},
        {"ready", 0x02, 319},
        {"trust play over ready", 0x22, 317},
        {"off line over trust play", 0x62, 320},
        {"left to automatic play over off line", 0x44, 318},
    };
    for (const auto& s : status)
        EXPECT_EQ(StatusPictureId(s.flags), s.picture) << s.what;

    const struct {
        int column;
        const char* text;
    } ranks[] = {{0, "3"}, {7, "10"}, {8, "J"}, {9, "Q"}, {10, "K"}, {11, "A"}, {12, "2"}};
    for (const auto& r : ranks)
        EXPECT_EQ(DesignatedRankText(r.column), r.text) << "column " << r.column;
    EXPECT_EQ(DesignatedSuitQuarter(54 + 13 * 2 + 5), 2);
    EXPECT_EQ(DesignatedSuitQuarter(52), -1) << "a joker has no suit quarter";
    EXPECT_EQ(DesignatedSuitQuarter(255), -1);

    auto digits = [](int n) {
        std::vector<int> out;
        for (const DigitPlace& d : PlayedCountDigits(n)) {
            out.push_back(d.digit);
            out.push_back(d.offset);
        }
        return out;
    };
    EXPECT_EQ(digits(9), (std::vector<int>{9, 75}));
    EXPECT_EQ(digits(10), (std::vector<int>{1, 70, 0, 86}));
    EXPECT_EQ(digits(130), (std::vector<int>{9, 70, 9, 86})) << "clamped to 99";
    EXPECT_EQ(DigitCell(12), 9);
    EXPECT_EQ(DigitCell(-2), 0);

    CardEntry e{};
    int c, r;
    e.id = 5;
    e.rank = 5;
    e.suit = 0;
    CardCell(e, false, &c, &r);
    EXPECT_EQ(c * 10 + r, 50);
    CardCell(e, true, &c, &r);
    EXPECT_EQ(c * 10 + r, 24) << "face down: the back";
    e.id = 255;
    CardCell(e, false, &c, &r);
    EXPECT_EQ(c * 10 + r, 24) << "a hidden card is the back";
    e.id = 52;
    e.suit = 52;
    e.rank = 13;
    CardCell(e, false, &c, &r);
    EXPECT_EQ(c * 10 + r, 4);
    e.suit = 53;
    CardCell(e, false, &c, &r);
    EXPECT_EQ(c * 10 + r, 14);
    e.suit = 9;
    CardCell(e, false, &c, &r);
    EXPECT_EQ(c * 10 + r, 24) << "an entry outside the sheet draws the back";
}

TEST(TableLayoutTest, RoleMarks)
{
    struct Case {
        const char* what;
        uint32_t phase;
        int seat;
        bool shown;
        uint32_t tableFlags, ruleFlags;
        int mark;
    };
    const Case cases[] = {
        {"guard shown", 3, 1, true, 0, 0, 1},
        {"guard called out", 3, 1, true, 0x8, 0, 2},
        {"guard called out, kick result 5", 3, 1, true, 0x108, 0, 4},
        {"guard hidden, shown by card", 3, 1, false, 0x4, 0, 2},
        {"guard hidden, between hands", 0, 1, false, 0, 0, 2},
        {"guard hidden during play: none", 3, 1, false, 0, 0, 0},
        {"another seat shown", 3, 3, true, 0, 0, 3},
        {"another seat hidden", 3, 3, false, 0, 0, 0},
        {"option 12, seat marked", 3, 3, false, 0, 0x80000 | 0x8, 5},
        {"option 12, shown, kick result 3", 3, 3, true, 0x40, 0x80000, 5},
        {"option 12, shown", 3, 3, true, 0, 0x80000, 3},
        {"option 12, the emperor", 3, 0, true, 0, 0x80000, 0},
        {"phase 1: none", 1, 1, true, 0, 0, 0},
    };
    for (const Case& c : cases) {
        BoardGameState s;
        InitBoardGameState(s);
        s.phase = c.phase;
        s.emperorSeat = 0;
        s.guardSeat = 1;
        s.decisionMarks[c.seat] = c.shown ? 1 : 0;
        s.tableFlags = c.tableFlags;
        s.ruleFlags = c.ruleFlags;
        EXPECT_EQ(RoleMark(s, c.seat), c.mark) << c.what;
    }
}

TEST(TableLayoutTest, ButtonRows)
{
    EXPECT_EQ(DecisionRowLeft(1024, 1, 80), (1024 - 80) / 2 + 35);
    EXPECT_EQ(DecisionRowLeft(1024, 3, 80), (1024 - 252) / 2 + 35);

    const std::vector<ButtonPlace> tools = ToolButtonPlaces(1024, 700, 40, 30);
    auto find = [&](const std::vector<ButtonPlace>& places, int id) {
        for (const ButtonPlace& p : places) {
            if (p.id == id)
                return p;
        }
        return ButtonPlace{0, -1, -1};
    };
    EXPECT_EQ(find(tools, 213).x, 1024 - 15 - 40);
    EXPECT_EQ(find(tools, 213).y, 700 - 147 - 30);
    EXPECT_EQ(find(tools, 332).x, 1024 - 45 - 160);
    EXPECT_EQ(find(tools, 330).y, 700 - 147 - 30 - 10 - 30);

    DecisionLayoutInput in;
    in.areaWidth = 1024;
    in.areaBottom = 700;
    in.phase = 3;
    in.start = in.emperor = in.guard = in.kick = in.pass = LayoutSize{80, 30};
    const std::vector<ButtonPlace> play = DecisionButtonPlaces(in);
    EXPECT_EQ(find(play, 205).x, DecisionRowLeft(1024, 3, 80));
    EXPECT_EQ(find(play, 206).x, DecisionRowLeft(1024, 3, 80) + 86);
    EXPECT_EQ(find(play, 207).y, 700 - 180);
    EXPECT_EQ(find(play, 200).y, 700 - 220);
    EXPECT_EQ(find(play, 201).y, 700 - 230) << "far row outside phase 1";
    EXPECT_EQ(find(play, 323).id, 0) << "no kick row without option 12";
    EXPECT_EQ(find(play, 334).id, 0) << "ranking only with room setting 1";
    in.phase = 1;
    in.simultaneous = true;
    in.ownDecides = false;
    const std::vector<ButtonPlace> sim = DecisionButtonPlaces(in);
    EXPECT_EQ(find(sim, 199).x, DecisionRowLeft(1024, 2, 80));
    EXPECT_EQ(find(sim, 201).x, find(sim, 198).x) << "201 above 198";
    EXPECT_EQ(find(sim, 201).y, 700 - 230);
    EXPECT_EQ(find(sim, 205).id, 0) << "no play row outside phase 3";

    const LayoutRect area{0, 0, 1024, 700};
    ButtonBarLayout bar = ButtonBar(area, LayoutSize{200, 40}, 30, 230, false);
    EXPECT_FALSE(bar.stretched) << "fits right of 755";
    EXPECT_EQ(bar.left, 824);
    EXPECT_EQ(bar.lowerTop, 700 - 15 - 147);
    EXPECT_EQ(bar.upperTop, bar.lowerTop - 40);
    bar = ButtonBar(area, LayoutSize{300, 40}, 30, 230, false);
    EXPECT_TRUE(bar.stretched) << "does not fit";
    EXPECT_EQ(bar.left, 755);
    bar = ButtonBar(area, LayoutSize{300, 40}, 30, 230, true);
    EXPECT_FALSE(bar.stretched) << "right-aligned before the first hand";
}

}  // namespace

TEST(TableLayoutTest, ThemeBackgroundPlan)
{
    struct Case {
        const char* what;
        LayoutRect area;
        LayoutSize picture;
        bool centred;
        LayoutRect drawn;
        int source;
    };
    const Case cases[] = {
        {"larger both ways: centred, from pixel (1, 1), its last column and row not read", {0, 0, 1000, 700},
         {800, 600}, true, {100, 50, 899, 649}, 1},
        {"an odd difference: the half rounded down", {0, 0, 1001, 701}, {800, 600}, true, {100, 50, 899, 649}, 1},
        {"as large as the picture: stretched (here 1:1)", {0, 0, 800, 600}, {800, 600}, false, {0, 0, 800, 600}, 0},
        {"larger in width only: stretched", {0, 0, 1000, 600}, {800, 600}, false, {0, 0, 1000, 600}, 0},
        {"larger in height only: stretched", {0, 0, 700, 900}, {800, 600}, false, {0, 0, 700, 900}, 0},
        {"an area not at the origin", {10, 20, 1010, 720}, {800, 600}, true, {110, 70, 909, 669}, 1},
    };
    for (const Case& c : cases) {
        const BackgroundPlan p = PlanThemeBackground(c.area, c.picture);
        EXPECT_EQ(p.centred, c.centred) << c.what;
        EXPECT_EQ(p.picture.left, c.drawn.left) << c.what;
        EXPECT_EQ(p.picture.top, c.drawn.top) << c.what;
        EXPECT_EQ(p.picture.right, c.drawn.right) << c.what;
        EXPECT_EQ(p.picture.bottom, c.drawn.bottom) << c.what;
        EXPECT_EQ(p.sourceLeft, c.source) << c.what;
        EXPECT_EQ(p.sourceTop, c.source) << c.what;
        EXPECT_EQ(p.under.right - p.under.left, c.area.right - c.area.left) << c.what << ": the corner under all";
    }
}

TEST(TableLayoutTest, PassedSeatsAndTheirMarks)
{
    BoardGameState s{};
    for (SeatState& seat : s.seats)
        seat.cardsInHand = 5;
    s.leadSeat = 0;
    s.seatToAct = 3;
    PassedSeats passed;
    passed.Announce(kAnnouncePass, 1);
    passed.Announce(kAnnouncePass, 2);
    passed.Announce(kAnnouncePass, 7);    // no such seat: ignored
    passed.Announce(kAnnouncePass, -1);
    passed.Announce(kAnnounceOut, 4);     // not a pass
    struct Case {
        const char* what;
        int seat;
        bool online;
        bool shown;
    };
    s.seats[2].tableCardCount = 0;
    const Case marks[] = {
        {"passed, holds cards, shows no play", 1, true, true},
        {"never passed", 0, true, false},
        {"another announcement is no pass", 4, true, false},
        {"a seat number outside the table", 7, true, false},
    };
    for (const Case& c : marks)
        EXPECT_EQ(PassMarkShown(s, passed, c.seat, c.online), c.shown) << c.what;
    s.seatToAct = 1;
    EXPECT_FALSE(PassMarkShown(s, passed, 1, true)) << "online: not for the seat to act";
    EXPECT_TRUE(PassMarkShown(s, passed, 1, false)) << "off line: the seat to act keeps it";
    s.seats[2].cardsInHand = 0;
    EXPECT_FALSE(PassMarkShown(s, passed, 2, true)) << "a seat out of cards";
    s.seats[2].cardsInHand = 5;
    s.seats[2].tableCardCount = 3;
    EXPECT_FALSE(PassMarkShown(s, passed, 2, true)) << "a seat showing a play";
    s.seats[2].tableCardCount = 0;

    passed.Announce(kAnnouncePlay, 2);
    EXPECT_FALSE(passed.Passed(2)) << "a play clears the seat's pass";
    EXPECT_TRUE(passed.Passed(1));
    // The own play shown at once: the own seat leads and is still to act.
    s.leadSeat = 3;
    s.seatToAct = 3;
    passed.Applied(s, 3);
    EXPECT_TRUE(passed.Passed(1)) << "the seat that just played leads: no new trick";
    s.seatToAct = 2;
    passed.Applied(s, 1);
    EXPECT_TRUE(passed.Passed(1)) << "the turn goes on round the table";
    s.seatToAct = 3;
    passed.Applied(s, 2);
    EXPECT_FALSE(passed.Passed(1)) << "back at the leader after a pass: a new trick";
}
