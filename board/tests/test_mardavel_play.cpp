// Playing and passing on the table state: the forced passes, the end of a
// hand, the play check, the automatic action's choice and the places.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MardavelPlay.h"
#include "MardavelTestCards.h"

namespace {

using mardavel_test::Ids;
using mardavel_test::SetHand;
using mardavel_test::SetTrick;

BoardGameState PlayState()
{
    BoardGameState s = mardavel_test::DefaultState();
    s.phase = kPhasePlay;
    s.emperorSeat = 0;
    s.guardSeat = 1;
    return s;
}

TEST(MustPassTest, Table)
{
    struct Case {
        const char* what;
        const char* onTable;
        int handCount;
        bool moreCardsBeat;
        bool leads;
        bool expected;
    };
    const Case cases[] = {
        {"a plain single", "7", 5, false, false, false},
        {"the seat that leads never", "B", 5, false, true, false},
        {"fewer cards than the play", "7 7 7", 2, false, false, true},
        {"a big joker without rule option 0", "B", 5, false, false, true},
        {"a big joker in a group without rule option 0", "B 5 5", 5, false, false, true},
        {"one big joker with rule option 0", "B", 5, true, false, false},
        {"three big jokers", "B B B", 9, true, false, true},
        {"two big and a small", "B B S", 9, true, false, true},
        {"one big and three small", "B S S S", 9, true, false, true},
        {"one big and two small", "B S S", 9, true, false, false},
        {"nine of the top rank", "12 12 12 12 12 12 12 12 12", 20, true, false, true},
        {"eight of the top rank", "12 12 12 12 12 12 12 12", 20, true, false, false},
        {"seven with a joker at the top rank", "S 12 12 12 12 12 12", 20, true, false, true},
        {"six with a joker at the top rank", "S 12 12 12 12 12", 20, true, false, false},
        {"seven of a lower rank with a joker", "S 11 11 11 11 11 11", 20, true, false, false},
    };
    for (const Case& c : cases) {
        BoardGameState s = PlayState();
        s.optMoreCardsBeat = c.moreCardsBeat;
        SetTrick(s, 2, c.onTable);
        s.seatToAct = c.leads ? 2 : 3;
        s.seats[3].cardsInHand = static_cast<uint32_t>(c.handCount);
        s.seats[2].cardsInHand = static_cast<uint32_t>(c.handCount);
        EXPECT_EQ(MustPass(s), c.expected) << c.what;
    }
    BoardGameState s = PlayState();
    SetTrick(s, 2, "B");
    s.seatToAct = 3;
    s.phase = kPhaseGuard;
    EXPECT_FALSE(MustPass(s)) << "outside phase 3";
}

TEST(HandOverTest, Table)
{
    struct Case {
        const char* what;
        int emperor, guard;
        std::vector<int> places;
        int emperorMark;
        bool calledOut;
        bool over;
    };
    const Case cases[] = {
        {"with a guard: emperor and guard out", 0, 1, {1, 2, 0, 0, 0}, 0, false, true},
        {"with a guard: three others out", 0, 1, {0, 0, 1, 2, 3}, 0, false, true},
        {"with a guard: emperor and two others", 0, 1, {1, 0, 2, 3, 0}, 0, false, false},
        // Emperor alone after a hidden decision: on after the first seat out
        // unless it is the emperor.
        {"alone, hidden, another seat first", 2, 2, {1, 0, 0, 0, 0}, 0, false, false},
        {"alone, hidden, the emperor first", 2, 2, {0, 0, 1, 0, 0}, 0, false, true},
        {"alone, hidden, two out", 2, 2, {1, 2, 0, 0, 0}, 0, false, true},
        // Declared alone (mark set): over at the first seat out.
        {"declared alone, another seat first", 2, 2, {1, 0, 0, 0, 0}, 1, false, true},
        {"declared alone but called out", 2, 2, {1, 0, 0, 0, 0}, 1, true, false},
        {"nobody out", 0, 1, {0, 0, 0, 0, 0}, 0, false, false},
        // No guard known (rule option 11 without a named card): the emperor alone.
        {"no guard: another seat first", 3, -1, {1, 0, 0, 0, 0}, 0, false, false},
        {"no guard: two out", 3, -1, {1, 2, 0, 0, 0}, 0, false, true},
    };
    for (const Case& c : cases) {
        BoardGameState s = PlayState();
        s.emperorSeat = c.emperor;
        s.guardSeat = c.guard;
        s.outCount = 0;
        for (int i = 0; i < kBoardSeats; ++i) {
            s.finishPlace[i] = c.places[static_cast<size_t>(i)];
            s.outCount += c.places[static_cast<size_t>(i)] != 0;
        }
        s.decisionMarks[c.guard < 0 ? c.emperor : c.guard] = c.emperorMark;
        s.tableFlags = c.calledOut ? kTableGuardCalledOut : 0;
        EXPECT_EQ(IsHandOver(s), c.over) << c.what;
    }
}

TEST(PlacesTest, RemainingSeatsInSeatOrderAfterTheLast)
{
    BoardGameState s = PlayState();
    s.finishPlace[3] = 1;
    s.finishPlace[1] = 2;
    s.outCount = 2;
    AssignRemainingPlaces(s, 1);
    EXPECT_EQ(std::vector<int>(s.finishPlace, s.finishPlace + 5), (std::vector<int>{5, 2, 3, 1, 4}));
    EXPECT_EQ(s.outCount, 5);

    BoardGameState alone = PlayState();
    alone.emperorSeat = alone.guardSeat = 2;
    alone.decisionMarks[2] = 1;
    alone.finishPlace[0] = 1;
    alone.outCount = 1;
    AssignRemainingPlaces(alone, 0);
    EXPECT_EQ(std::vector<int>(alone.finishPlace, alone.finishPlace + 5), (std::vector<int>{1, 0, 0, 0, 0}));
}

TEST(NextSeatTest, SkipsSeatsThatAreOut)
{
    BoardGameState s = PlayState();
    EXPECT_EQ(NextSeatStillPlaying(s, 4), 0);
    s.finishPlace[0] = 1;
    s.finishPlace[1] = 2;
    EXPECT_EQ(NextSeatStillPlaying(s, 4), 2);
    s.finishPlace[2] = 3;
    s.finishPlace[3] = 4;
    EXPECT_EQ(NextSeatStillPlaying(s, 4), -1);
}

TEST(CheckTakeoutTest, Table)
{
    struct Case {
        const char* what;
        const char* hand;
        const char* onTable;  // "" for a lead
        std::vector<uint32_t> play;
        bool lowestLast;
        int result;
        int refusal;
        int missing;
    };
    const std::vector<uint8_t> hand = Ids("5 5 7 9 S 3 3");
    auto id = [&](int i) { return static_cast<uint32_t>(hand[static_cast<size_t>(i)]); };
    const Case cases[] = {
        {"a pass", "5 5 7 9 S 3 3", "4", {}, false, 0, -1, -1},
        {"a pair beats a pair", "5 5 7 9 S 3 3", "4 4", {id(0), id(1)}, false, kKindGroup, -1, -1},
        {"a lead is not compared", "5 5 7 9 S 3 3", "", {id(2)}, false, kKindSingle, -1, -1},
        {"a card not held", "5 5 7 9 S 3 3", "4", {200}, false, -1, -1, 200},
        {"an id beyond the cards", "5 5 7 9 S 3 3", "4", {300}, false, -1, -1, 300},
        {"the same card twice", "5 5 7 9 S 3 3", "4 4", {id(2), id(2)}, false, -1, -1, static_cast<int>(id(2))},
        {"two ranks", "5 5 7 9 S 3 3", "", {id(2), id(3)}, false, -1, kRefuseInvalid, -1},
        {"not higher", "5 5 7 9 S 3 3", "9", {id(2)}, false, -1, kRefuseNotHigher, -1},
        {"not comparable", "5 5 7 9 S 3 3", "4 4", {id(2)}, false, -1, kRefuseNotComparable, -1},
        {"joker completes a pair", "5 5 7 9 S 3 3", "4 4", {id(2), id(4)}, false, kKindGroupWithJokers, -1, -1},
        {"lowest rank refused", "5 5 7 9 S 3 3", "", {id(5), id(6)}, true, -1, kRefuseLowestRank, -1},
        {"lowest rank allowed without rule option 2", "5 5 7 9 S 3 3", "", {id(5), id(6)}, false, kKindGroup, -1, -1},
    };
    for (const Case& c : cases) {
        BoardGameState s = PlayState();  // short packs: the lowest rank in play is 3
        s.optLowestLast = c.lowestLast;
        SetHand(s, 3, c.hand);
        s.seatToAct = 3;
        if (*c.onTable)
            SetTrick(s, 2, c.onTable);
        else
            s.leadSeat = 3;
        const TakeoutCheck check = CheckTakeout(s, 3, c.play.data(), static_cast<int>(c.play.size()));
        EXPECT_EQ(check.result, c.result) << c.what;
        EXPECT_EQ(check.refusal, c.refusal) << c.what;
        EXPECT_EQ(check.missingId, c.missing) << c.what;
    }

    // The lowest rank may go when it empties the hand.
    BoardGameState s = PlayState();
    s.optLowestLast = 1;
    SetHand(s, 3, "3 3");
    s.seatToAct = s.leadSeat = 3;
    const std::vector<uint8_t> last = Ids("3 3");
    const uint32_t ids[2] = {last[0], last[1]};
    EXPECT_EQ(CheckTakeout(s, 3, ids, 2).result, kKindGroup);
    EXPECT_EQ(s.checkCount, 2);
}

TEST(AutoPlayTest, LeadsTheLowestCardAndFollowsWithAPass)
{
    struct Case {
        const char* what;
        const char* hand;
        bool lowestLast;
        std::string expected;  // ranks of the play
    };
    const Case cases[] = {
        {"the lowest card", "9 4 3 B", false, "3"},
        {"rule option 2 keeps the lowest rank", "9 4 3 B", true, "4"},
        {"only the lowest rank left: all of it", "3 3 3", true, "3 3 3"},
        {"jokers and the lowest rank", "3 S", true, "S"},
    };
    for (const Case& c : cases) {
        BoardGameState s = PlayState();
        s.optLowestLast = c.lowestLast;
        SetHand(s, 1, c.hand);
        s.seatToAct = s.leadSeat = 1;
        uint8_t ids[kCardAreaSize];
        const int n = ChooseAutoPlay(s, ids);
        std::vector<CardEntry> play;
        for (int i = 0; i < n; ++i)
            play.push_back(MakeCardEntry(ids[i], s));
        EXPECT_EQ(mardavel_test::Ranks(play.data(), n), c.expected) << c.what;
    }
    BoardGameState s = PlayState();
    SetHand(s, 1, "9 4");
    SetTrick(s, 0, "5");
    s.seatToAct = 1;
    uint8_t ids[kCardAreaSize];
    EXPECT_EQ(ChooseAutoPlay(s, ids), 0) << "a follower passes";
}

TEST(AutoSeatsTest, FlagsThatHandTheSeatToTheAutomaticAction)
{
    BoardGameState s = PlayState();
    EXPECT_EQ(CountAutoSeats(s, false), 0);
    s.seats[0].player.flags = kPlayerFlagMarked;
    s.seats[1].player.flags = kPlayerFlagTrustPlay;
    s.seats[2].player.flags = kPlayerFlagOffline;
    s.seats[3].player.flags = kPlayerFlagReady;
    EXPECT_EQ(CountAutoSeats(s, false), 3);
    s.finishPlace[1] = 1;
    EXPECT_EQ(CountAutoSeats(s, true), 2);
    EXPECT_FALSE(AllStillPlayingAreAutomatic(s));
    s.finishPlace[3] = 2;
    s.finishPlace[4] = 3;
    EXPECT_TRUE(AllStillPlayingAreAutomatic(s));
}

TEST(RemoveCardTest, ByIdOnce)
{
    BoardGameState s = PlayState();
    SetHand(s, 0, "5 7 9");
    const uint8_t seven = s.hands[0][1].id;
    EXPECT_TRUE(RemoveCardById(s.hands[0], s.seats[0].cardsInHand, seven));
    EXPECT_EQ(s.seats[0].cardsInHand, 2u);
    EXPECT_FALSE(RemoveCardById(s.hands[0], s.seats[0].cardsInHand, seven));
    EXPECT_EQ(GetNuberByCardWhat(s.hands[0], 2, seven), -1);
}

}  // namespace
