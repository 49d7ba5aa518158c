// The card memory, the chat faces, the trust-play band and its question,
// the previous trick, the drag pace and the designated card's tip: each on
// a table state or a message built for the case.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "CardMemory.h"
#include "TableExtras.h"

namespace {

BoardGameState Fresh()
{
    BoardGameState s;
    InitBoardGameState(s);
    s.optShortPacks = 0;
    for (SeatState& seat : s.seats)
        seat.cardsInHand = 10;
    return s;
}

// The play to beat: `seat` played cards of these columns (ids from `id`).
void Trick(BoardGameState& s, int seat, int toAct, std::vector<int> columns, uint8_t id = 1)
{
    s.leadSeat = seat;
    s.seatToAct = toAct;
    s.trickCount = static_cast<int32_t>(columns.size());
    for (size_t i = 0; i < columns.size(); ++i) {
        s.trickCards[i].id = static_cast<uint8_t>(id + i);
        s.trickCards[i].rank = static_cast<uint8_t>(columns[i]);
    }
}

TEST(CardMemory, ResetVariants)
{
    struct Case {
        const char* what;
        int32_t shortPacks;
        uint32_t ruleFlags;
        int32_t expected[15];
    };
    const Case cases[] = {
        {"full deck", 0, 0, {16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 4, 4}},
        {"reduced deck: the first three out", 1, 0, {-1, -1, -1, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 4, 4}},
        {"option 0x80000: the first three out, column 3 at 13", 0, 0x80000,
         {-1, -1, -1, 13, 16, 16, 16, 16, 16, 16, 16, 16, 16, 4, 4}},
    };
    for (const Case& c : cases) {
        BoardGameState s = Fresh();
        s.optShortPacks = c.shortPacks;
        s.ruleFlags = c.ruleFlags;
        CCardMemory memory;
        memory.Reset(s);
        for (int col = 0; col < 15; ++col)
            EXPECT_EQ(memory.Count(col), c.expected[col]) << c.what << ", column " << col;
    }
    CCardMemory fresh;
    char text[kCardMemoryCellText];
    fresh.CellText(5, text);
    EXPECT_STREQ(text, "-") << "every column out until the first reset";
}

TEST(CardMemory, EachPlayIsCountedOnceWhenTheTurnHasMovedOn)
{
    struct Case {
        const char* what;
        int player, toAct;
        std::vector<int> gone;   // seats without cards
        bool counted;
    };
    const Case cases[] = {
        {"the seat before the seat to act", 1, 2, {}, true},
        {"a seat further back", 0, 2, {}, false},
        {"the seat between has gone out", 0, 2, {1}, true},
        {"two seats between have gone out", 4, 2, {0, 1}, true},
        {"only one of two seats between has gone out", 4, 2, {1}, false},
        {"the player is the seat to act (it leads again)", 2, 2, {}, false},
    };
    for (const Case& c : cases) {
        BoardGameState s = Fresh();
        for (int g : c.gone)
            s.seats[g].cardsInHand = 0;
        Trick(s, c.player, c.toAct, {5, 5});
        CCardMemory memory;
        memory.Reset(s);
        EXPECT_EQ(memory.CountPlayedCards(s), c.counted) << c.what;
        EXPECT_EQ(memory.Count(5), c.counted ? 14 : 16) << c.what;
        // The table updates again and again while the play stays on it.
        memory.CountPlayedCards(s);
        memory.CountPlayedCards(s);
        EXPECT_EQ(memory.Count(5), c.counted ? 14 : 16) << c.what << ": counted once";
    }
}

TEST(CardMemory, CountersStayAtZeroAndColumnsOutOfPlayStayOut)
{
    BoardGameState s = Fresh();
    s.optShortPacks = 1;
    CCardMemory memory;
    memory.Reset(s);
    // Five plays of four small jokers each (a bad server): never below 0.
    for (uint8_t k = 0; k < 5; ++k) {
        Trick(s, k % 5, (k + 1) % 5, {13, 13, 13, 13}, static_cast<uint8_t>(10 * k));
        memory.CountPlayedCards(s);
    }
    EXPECT_EQ(memory.Count(13), 0);
    Trick(s, 0, 1, {1}, 100);
    memory.CountPlayedCards(s);
    EXPECT_EQ(memory.Count(1), -1);
    char text[kCardMemoryCellText];
    memory.CellText(1, text);
    EXPECT_STREQ(text, "-");
    memory.CellText(13, text);
    EXPECT_STREQ(text, "0");
}

TEST(CardMemory, CellsStartWithTheBigJoker)
{
    struct Case {
        const char* what;
        int index, areaWidth, pictureWidth;
        CardMemoryCell expected;
    };
    const Case cases[] = {
        {"first cell, picture narrower than the area", 0, 800, 700, {14, 162, 44}},
        {"first cell, picture wider: never left of 112", 0, 600, 700, {14, 112, 44}},
        {"last cell is column 0", 14, 700, 700, {0, 112 + 14 * 42, 44}},
    };
    for (const Case& c : cases) {
        const CardMemoryCell cell = CardMemoryCellAt(c.index, c.areaWidth, c.pictureWidth);
        EXPECT_EQ(cell.column, c.expected.column) << c.what;
        EXPECT_EQ(cell.left, c.expected.left) << c.what;
        EXPECT_EQ(cell.width, c.expected.width) << c.what;
    }
}

TEST(CardMemory, PermissionByRoomSettingIdentityAndPhase)
{
    struct Case {
        const char* what;
        int32_t setting;
        uint8_t identity;
        uint32_t phase;
        bool enabled;
    };
    const Case cases[] = {
        {"0: never", 0, 1, 3, false},
        {"1 with identity", 1, 7, 3, true},
        {"1 without identity", 1, 0, 3, false},
        {"2 without identity", 2, 0, 2, true},
        {"2 with identity", 2, 1, 3, false},
        {"3: always", 3, 0, 1, true},
        {"3 between hands", 3, 0, 0, false},
        {"a setting out of range", 9, 0, 3, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CardMemoryButtonEnabled(c.setting, c.identity, c.phase), c.enabled) << c.what;
}

std::vector<uint8_t> Face(uint32_t face, uint32_t seat, uint32_t list, uint32_t bodyLength = 12)
{
    uint8_t m[kFaceMessageSize];
    BuildFaceMessage(face, seat, list, m);
    memcpy(m + 4, &bodyLength, 4);
    return std::vector<uint8_t>(m, m + kFaceMessageSize);
}

TEST(ChatFaces, OnlyFacesOfAListFromASeatAreShown)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> message;
        size_t size;
        bool shown;
    };
    const Case cases[] = {
        {"small face 65", Face(65, 2, 2), kFaceMessageSize, true},
        {"small face 66", Face(66, 2, 2), kFaceMessageSize, false},
        {"large face 29", Face(29, 0, 1), kFaceMessageSize, true},
        {"large face 30", Face(30, 0, 1), kFaceMessageSize, false},
        {"seat 5", Face(1, 5, 1), kFaceMessageSize, false},
        {"list 3", Face(1, 1, 3), kFaceMessageSize, false},
        {"list 0", Face(1, 1, 0), kFaceMessageSize, false},
        {"a body shorter than 12", Face(1, 1, 1, 8), kFaceMessageSize, false},
        {"a body longer than the message", Face(1, 1, 1, 40), kFaceMessageSize, false},
        {"cut off", Face(1, 1, 1), kFaceMessageSize - 1, false},
    };
    for (const Case& c : cases) {
        FaceMessage f;
        EXPECT_EQ(ParseFaceMessage(c.message.data(), c.size, &f), c.shown) << c.what;
    }
    const std::vector<uint8_t> sent = Face(7, 3, 2);
    const uint8_t expected[] = {0x11, 0x60, 0x02, 0, 12, 0, 0, 0, 7, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0};
    EXPECT_EQ(sent, std::vector<uint8_t>(expected, expected + sizeof expected));
}

TEST(ChatFaces, TipFlagsByViewPosition)
{
    struct Case {
        const char* what;
        int seat, own, view;
        bool ownSeat, second;
    };
    const Case cases[] = {
        {"own seat", 2, 2, 0, true, true},
        {"view 1", 3, 2, 1, false, false},
        {"view 2", 4, 2, 2, false, false},
        {"view 3", 0, 2, 3, false, true},
        {"view 4", 1, 2, 4, false, true},
    };
    for (const Case& c : cases) {
        const FaceTipFlags f = FaceTipFlagsFor(c.seat, c.own, c.view);
        EXPECT_EQ(f.ownSeat, c.ownSeat) << c.what;
        EXPECT_EQ(f.second, c.second) << c.what;
    }
}

TEST(TrustPlay, BandDigitsAreClampedToTheStrip)
{
    struct Case {
        const char* what;
        int times, allowed;
        bool secondText;
        int digit;
        bool cancelEnabled;
    };
    const Case cases[] = {
        {"n = 0: second text, cancel disabled", 2, 3, true, -1, false},
        {"n = 1", 3, 3, false, 1, true},
        {"n = 9", 11, 3, false, 9, true},
        {"n = 10 clamped to the last cell", 12, 3, false, 9, true},
        {"n = 250 clamped", 255, 6, false, 9, true},
        {"n negative: no digit", 0, 5, false, -1, true},
    };
    for (const Case& c : cases) {
        const TrustBand band = TrustBandFor(c.times, c.allowed);
        EXPECT_EQ(band.secondText, c.secondText) << c.what;
        EXPECT_EQ(band.digit, c.digit) << c.what;
        EXPECT_EQ(band.cancelEnabled, c.cancelEnabled) << c.what;
    }
}

TEST(TrustPlay, ConfirmationMatrix)
{
    struct Case {
        const char* what;
        bool trustOn;
        int hands, handNumber;   // the hand on, from 1
        bool asks;
    };
    const Case cases[] = {
        {"a single-hand game", false, 1, 1, false},
        {"first hand of four", false, 4, 1, true},
        {"second hand of four", false, 4, 2, true},
        {"next-to-last hand of four", false, 4, 3, false},
        {"last hand of four", false, 4, 4, false},
        {"first of two is the next-to-last", false, 2, 1, false},
        {"ending trust play never asks", true, 4, 1, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TrustPlayNeedsConfirm(c.trustOn, c.hands, c.handNumber), c.asks) << c.what;
}

TEST(PreviousTrick, ShownAndRestoredWithoutLosingTheCurrentTrick)
{
    BoardGameState s = Fresh();
    s.seats[1].tableCardCount = 2;
    s.tableCards[1][0].id = 11;
    s.tableCards[1][1].id = 12;
    CPreviousTrick previous;
    EXPECT_FALSE(previous.ShowIn(s)) << "nothing kept yet";
    previous.Capture(s);
    // The next trick.
    s.seats[1].tableCardCount = 0;
    s.seats[3].tableCardCount = 1;
    s.tableCards[3][0].id = 33;
    s.seats[4].tableCardCount = 200;   // a count past the area is never shown as one
    ASSERT_TRUE(previous.ShowIn(s));
    EXPECT_FALSE(previous.ShowIn(s)) << "not twice";
    EXPECT_EQ(s.seats[1].tableCardCount, 2u);
    EXPECT_EQ(s.tableCards[1][1].id, 12);
    EXPECT_EQ(s.seats[3].tableCardCount, 0u);
    previous.Capture(s);   // a capture while shown keeps the kept trick
    previous.Restore(s);
    EXPECT_EQ(s.seats[1].tableCardCount, 0u);
    EXPECT_EQ(s.seats[3].tableCardCount, 1u);
    EXPECT_EQ(s.tableCards[3][0].id, 33);
    EXPECT_EQ(s.seats[4].tableCardCount, 200u) << "restored as it was";
    ASSERT_TRUE(previous.ShowIn(s));
    EXPECT_EQ(s.tableCards[1][0].id, 11);
    previous.Restore(s);
}

TEST(DragPace, StepsAreTakenAtMostEvery50Ms)
{
    struct Case {
        const char* what;
        uint32_t start;
        std::vector<uint32_t> steps;
        std::vector<bool> taken;
    };
    const Case cases[] = {
        {"49 ms is too soon, 50 is taken", 1000, {1049, 1050, 1099, 1100}, {false, true, false, true}},
        {"a refused step does not renew the stamp", 0, {30, 60, 90}, {false, true, false}},
        {"the tick count wraps", 0xFFFFFFF0u, {0x10, 0x30}, {false, true}},
    };
    for (const Case& c : cases) {
        CDragPace pace(c.start);
        for (size_t i = 0; i < c.steps.size(); ++i)
            EXPECT_EQ(pace.Take(c.steps[i]), c.taken[i]) << c.what << ", step " << i;
    }
}

TEST(DesignatedCardTip, AreaAndSteps)
{
    const TipArea a = DesignatedCardTipArea(500, 600, 80);
    EXPECT_EQ(a.left, 430);
    EXPECT_EQ(a.top, 640);
    EXPECT_EQ(a.right, 490);
    EXPECT_EQ(a.bottom, 663);
    EXPECT_TRUE(a.Contains(430, 640));
    EXPECT_FALSE(a.Contains(490, 650));

    struct Case {
        const char* what;
        bool shown, cardShown, inArea;
        TipAction action;
    };
    const Case cases[] = {
        {"entering shows", false, true, true, kTipShow},
        {"moving inside keeps", true, true, true, kTipKeep},
        {"leaving hides", true, true, false, kTipHide},
        {"the card no longer shown hides", true, false, true, kTipHide},
        {"no card, not shown: nothing", false, false, true, kTipKeep},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DesignatedTipStep(c.shown, c.cardShown, c.inArea), c.action) << c.what;

    BoardGameState s = Fresh();
    s.optNoGuardCard = 1;
    s.rememberedCardId = 40;
    s.phase = 3;
    EXPECT_TRUE(DesignatedCardShown(s));
    s.phase = 1;
    EXPECT_FALSE(DesignatedCardShown(s));
    s.phase = 3;
    s.rememberedCardId = 255;
    EXPECT_FALSE(DesignatedCardShown(s));
}

}  // namespace
