// Deal: the board's random source, golden deals for fixed seeds, card
// conservation over many seeds, the seat split and the deal message body.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <set>
#include <vector>

#include "BoardRandom.h"
#include "MardavelCards.h"
#include "MardavelState.h"

namespace {

struct Table {
    BoardGameState state;
    MardavelSideData side;
    Table()
    {
        InitBoardGameState(state);
        InitSideData(side);
    }
    void Options(int shortPacks, int noGuardCard, int kickRules)
    {
        SetRuleOption(state, side, kOptShortPacks, shortPacks);
        SetRuleOption(state, side, kOptNoGuardCard, noGuardCard);
        SetRuleOption(state, side, kOptKickRules, kickRules);
    }
    std::vector<int> SortedIds(int seat) const
    {
        std::vector<int> ids;
        for (uint32_t i = 0; i < state.seats[seat].cardsInHand; ++i)
            ids.push_back(state.hands[seat][i].id);
        std::sort(ids.begin(), ids.end());
        return ids;
    }
};

TEST(BoardRandomTest, ZeroStateGivesZeroAndMovesToOne)
{
    BoardRandom r(0);
    EXPECT_EQ(r.Next(), 0u);
    EXPECT_EQ(r.State(), 1u);
    // 1 * 22695477 + 1 = 0x015A4E36, bits 16-30: 0x15A
    EXPECT_EQ(r.Next(), 346u);
    EXPECT_EQ(r.State(), 0x015A4E36u);
    // 0x015A4E36 * 22695477 + 1 = 0x8082A52F (mod 2^32), bits 16-30: 0x0082
    EXPECT_EQ(r.Next(), 130u);
}

TEST(BoardRandomTest, PickIsNextValueModuloN)
{
    BoardRandom a(1);
    BoardRandom b(1);
    for (uint32_t n : {216u, 7u, 1u, 0x8000u, 100000u})
        EXPECT_EQ(a.Pick(n), b.Next() % n) << n;
    EXPECT_EQ(a.Pick(0), 0u);  // no division by zero
}

TEST(BoardRandomTest, FixedDealRandomRepeatsItsSeed)
{
    DealRandom r;
    EXPECT_FALSE(r.IsFixed());
    r.Fix(5, 77);
    EXPECT_TRUE(r.IsFixed());
    EXPECT_EQ(r.CrtSeed(), 77u);
    EXPECT_EQ(r.Board().State(), 5u);
}

// Hands, sorted by id, for fixed seeds. Derived by golden_deals.py beside this
// file, which follows the deal rules step by step, once with glibc's rand()
// and once with the Windows C library's (state * 214013 + 2531011, bits
// 16-30); "golden_deals.py --check" compares its tables with these.
struct GoldenDeal {
    const char* name;
    int shortPacks, noGuardCard, kickRules;
    uint32_t boardSeed;
    unsigned crtSeed;
    int lastEmperor, firstOut;
    int cardCount, emperorSeat, guardSeat;
    std::vector<int> hands[kBoardSeats];
};

const GoldenDeal kGoldenDeals[] = {
#if defined(_WIN32)
    {"Full", 0, 0, 0, 0x134d8d9, 7u, -1, -1, 216, 2, 3, {
        {5, 9, 12, 14, 24, 26, 32, 33, 43, 50, 55, 59, 64, 65, 70, 75, 78, 82, 83, 88, 89, 91, 92, 108, 127, 133, 135, 138, 139, 149, 155, 161, 162, 164, 171, 172, 174, 185, 186, 193, 195, 200, 204, 211},
        {11, 15, 16, 19, 28, 35, 49, 51, 53, 57, 60, 69, 72, 74, 76, 85, 86, 94, 97, 101, 106, 113, 114, 118, 124, 128, 130, 131, 150, 170, 173, 180, 188, 196, 197, 202, 203, 206, 209, 210, 212, 213, 215},
        {2, 3, 6, 7, 10, 22, 23, 36, 40, 41, 42, 45, 48, 54, 61, 71, 73, 77, 81, 90, 93, 98, 100, 104, 112, 115, 129, 136, 137, 142, 144, 153, 154, 156, 158, 175, 177, 179, 183, 189, 194, 207, 217},
        {0, 1, 8, 13, 18, 20, 21, 25, 29, 30, 34, 38, 46, 52, 56, 68, 80, 99, 109, 111, 116, 117, 121, 122, 123, 125, 126, 132, 134, 140, 146, 147, 148, 157, 159, 163, 167, 169, 181, 190, 198, 214, 216},
        {4, 17, 27, 31, 37, 39, 44, 47, 58, 62, 63, 66, 67, 79, 84, 87, 95, 96, 102, 103, 105, 110, 119, 120, 141, 143, 145, 151, 152, 165, 166, 168, 176, 178, 182, 184, 187, 191, 192, 199, 201, 205, 208},
    }},
    {"ShortPacks", 1, 0, 0, 0x1, 12345u, 2, -1, 168, 4, 3, {
        {3, 11, 22, 29, 30, 32, 37, 48, 61, 63, 71, 72, 102, 105, 106, 119, 125, 137, 138, 150, 156, 157, 158, 178, 181, 182, 184, 192, 195, 196, 205, 209, 215},
        {8, 9, 21, 36, 49, 50, 64, 65, 73, 84, 88, 91, 97, 100, 112, 114, 120, 129, 141, 142, 153, 154, 171, 174, 187, 191, 194, 198, 200, 207, 208, 210, 213},
        {4, 6, 12, 16, 17, 33, 38, 42, 45, 53, 77, 78, 79, 83, 85, 96, 103, 124, 128, 132, 133, 144, 155, 161, 165, 168, 170, 172, 173, 180, 186, 193, 206, 214},
        {19, 20, 23, 24, 31, 34, 35, 43, 44, 47, 57, 59, 60, 86, 89, 90, 92, 101, 104, 111, 115, 116, 118, 126, 127, 130, 145, 167, 169, 183, 197, 199, 204, 216},
        {5, 7, 10, 18, 25, 46, 51, 52, 58, 62, 66, 70, 74, 75, 76, 87, 98, 99, 113, 117, 131, 139, 140, 143, 146, 151, 152, 159, 166, 179, 185, 211, 212, 217},
    }},
    {"KickRules", 1, 0, 1, 0xdeadbeef, 99u, 1, 4, 165, 1, 1, {
        {4, 32, 45, 46, 47, 57, 65, 83, 86, 90, 91, 100, 102, 103, 105, 112, 116, 117, 120, 128, 137, 151, 154, 165, 166, 167, 171, 178, 179, 180, 206, 207, 210},
        {20, 34, 36, 38, 42, 51, 53, 59, 62, 64, 70, 74, 75, 85, 101, 106, 111, 114, 119, 132, 138, 139, 143, 144, 155, 172, 192, 197, 198, 212, 213, 216, 217},
        {9, 10, 11, 16, 29, 33, 43, 44, 48, 52, 61, 73, 84, 87, 88, 96, 118, 125, 131, 133, 140, 142, 159, 170, 181, 183, 186, 193, 195, 196, 199, 205, 214},
        {8, 12, 18, 19, 24, 25, 30, 37, 58, 60, 66, 71, 76, 77, 97, 99, 104, 127, 130, 145, 150, 152, 157, 158, 161, 168, 173, 174, 182, 184, 187, 200, 204},
        {5, 6, 7, 17, 21, 22, 23, 31, 35, 49, 50, 63, 72, 78, 79, 89, 92, 98, 113, 115, 126, 129, 141, 146, 153, 156, 169, 185, 194, 208, 209, 211, 215},
    }},
    {"NoGuardCard", 1, 1, 0, 0x67932, 5u, 3, -1, 168, 1, -1, {
        {6, 17, 35, 42, 44, 47, 60, 61, 64, 65, 71, 76, 79, 105, 106, 113, 118, 125, 128, 143, 159, 165, 166, 168, 170, 174, 194, 197, 199, 206, 207, 208, 210, 214},
        {16, 31, 32, 48, 51, 52, 59, 63, 73, 74, 83, 84, 85, 88, 99, 101, 117, 126, 139, 144, 150, 152, 155, 161, 179, 182, 187, 191, 195, 205, 211, 215, 217},
        {4, 18, 22, 29, 30, 33, 34, 43, 46, 49, 50, 66, 78, 87, 98, 103, 115, 116, 119, 120, 130, 137, 141, 156, 160, 169, 172, 184, 192, 200, 204, 209, 213},
        {7, 8, 10, 23, 25, 36, 38, 62, 70, 72, 77, 89, 90, 92, 96, 97, 100, 114, 124, 127, 132, 133, 138, 146, 154, 171, 178, 180, 183, 186, 193, 196, 198, 212},
        {3, 5, 9, 11, 12, 19, 20, 21, 24, 37, 45, 53, 57, 58, 75, 86, 91, 102, 104, 111, 112, 129, 131, 140, 142, 145, 151, 153, 157, 158, 167, 173, 181, 185},
    }},
#else
    {"Full", 0, 0, 0, 0x134d8d9, 7u, -1, -1, 216, 2, 3, {
        {6, 9, 23, 24, 26, 28, 36, 44, 45, 46, 51, 56, 57, 60, 70, 71, 72, 82, 98, 111, 113, 115, 120, 131, 135, 140, 147, 156, 157, 158, 161, 162, 163, 164, 165, 166, 170, 185, 190, 204, 205, 206, 213, 215},
        {1, 3, 4, 17, 19, 20, 27, 34, 38, 41, 50, 54, 63, 69, 76, 77, 79, 96, 99, 104, 116, 118, 122, 123, 125, 128, 129, 133, 136, 137, 143, 144, 152, 167, 168, 169, 172, 174, 188, 192, 194, 195, 209},
        {7, 10, 16, 22, 30, 32, 33, 43, 52, 53, 58, 64, 78, 80, 85, 87, 88, 89, 103, 105, 106, 108, 112, 114, 121, 126, 138, 154, 155, 159, 173, 176, 177, 179, 180, 182, 189, 193, 207, 208, 212, 214, 217},
        {0, 2, 11, 13, 14, 21, 25, 29, 35, 39, 40, 55, 59, 61, 65, 75, 86, 92, 94, 95, 101, 109, 110, 117, 119, 127, 132, 134, 146, 148, 149, 151, 153, 184, 186, 187, 191, 198, 199, 200, 201, 211, 216},
        {5, 8, 12, 15, 18, 31, 37, 42, 47, 48, 49, 62, 66, 67, 68, 73, 74, 81, 83, 84, 90, 91, 93, 97, 100, 102, 124, 130, 139, 141, 142, 145, 150, 171, 175, 178, 181, 183, 196, 197, 202, 203, 210},
    }},
    {"ShortPacks", 1, 0, 0, 0x1, 12345u, 2, -1, 168, 2, 2, {
        {6, 9, 12, 16, 17, 25, 45, 48, 52, 64, 77, 87, 88, 90, 97, 98, 101, 103, 104, 106, 116, 118, 125, 139, 145, 153, 156, 157, 171, 183, 193, 195, 215},
        {4, 7, 8, 20, 30, 32, 34, 35, 44, 49, 60, 72, 91, 102, 105, 111, 113, 124, 129, 141, 146, 159, 161, 166, 169, 170, 173, 185, 191, 199, 204, 206, 210},
        {3, 19, 21, 22, 24, 29, 36, 37, 46, 47, 58, 62, 65, 70, 71, 86, 117, 131, 132, 137, 140, 144, 154, 155, 180, 187, 196, 198, 207, 208, 209, 212, 216, 217},
        {5, 10, 18, 43, 50, 57, 63, 66, 73, 75, 78, 89, 92, 96, 112, 115, 119, 120, 133, 143, 158, 165, 167, 168, 178, 181, 184, 192, 194, 197, 200, 205, 213, 214},
        {11, 23, 31, 33, 38, 42, 51, 53, 59, 61, 74, 76, 79, 83, 84, 85, 99, 100, 114, 126, 127, 128, 130, 138, 142, 150, 151, 152, 172, 174, 179, 182, 186, 211},
    }},
    {"KickRules", 1, 0, 1, 0xdeadbeef, 99u, 1, 4, 165, 0, 4, {
        {24, 25, 37, 48, 50, 62, 65, 74, 75, 83, 88, 89, 92, 104, 105, 111, 114, 115, 125, 138, 146, 151, 158, 179, 181, 182, 183, 184, 192, 197, 199, 212, 217},
        {3, 5, 7, 19, 23, 42, 51, 52, 53, 59, 71, 73, 78, 100, 102, 118, 128, 133, 140, 150, 152, 153, 154, 161, 165, 168, 173, 180, 191, 193, 195, 200, 206},
        {16, 20, 31, 33, 38, 45, 61, 76, 85, 90, 96, 97, 98, 106, 120, 124, 126, 130, 137, 155, 156, 171, 172, 174, 178, 187, 196, 198, 204, 207, 213, 214, 215},
        {4, 6, 9, 10, 11, 21, 32, 46, 47, 49, 58, 60, 63, 66, 77, 84, 86, 91, 99, 101, 112, 119, 127, 132, 143, 157, 159, 166, 169, 186, 208, 210, 211},
        {8, 12, 17, 18, 22, 30, 34, 35, 36, 43, 44, 64, 72, 79, 87, 103, 113, 116, 117, 129, 131, 139, 141, 142, 144, 145, 167, 170, 185, 194, 205, 209, 216},
    }},
    {"NoGuardCard", 1, 1, 0, 0x67932, 5u, 3, -1, 168, 4, -1, {
        {7, 12, 16, 19, 20, 29, 49, 52, 53, 62, 79, 96, 97, 99, 100, 101, 112, 118, 125, 126, 133, 140, 142, 143, 150, 159, 166, 170, 173, 182, 186, 195, 199, 207},
        {4, 6, 8, 21, 30, 31, 33, 45, 48, 61, 77, 78, 106, 114, 119, 120, 124, 137, 138, 139, 145, 152, 155, 156, 167, 172, 178, 184, 198, 204, 208, 214, 215},
        {9, 10, 23, 25, 32, 35, 37, 44, 51, 66, 71, 75, 83, 86, 89, 92, 98, 104, 111, 127, 129, 131, 146, 153, 158, 169, 179, 181, 185, 193, 196, 206, 212},
        {3, 5, 18, 38, 43, 47, 50, 59, 60, 63, 74, 76, 84, 87, 88, 90, 103, 105, 115, 116, 132, 151, 154, 157, 160, 161, 168, 174, 183, 191, 192, 194, 197, 213},
        {11, 17, 22, 24, 34, 36, 42, 46, 57, 58, 64, 65, 70, 72, 73, 85, 91, 102, 113, 117, 128, 130, 141, 144, 165, 171, 180, 187, 200, 205, 209, 210, 211, 217},
    }},
#endif
};

TEST(DealTest, GoldenDealsForFixedSeeds)
{
    for (const GoldenDeal& g : kGoldenDeals) {
        SCOPED_TRACE(g.name);
        Table t;
        t.Options(g.shortPacks, g.noGuardCard, g.kickRules);
        t.side.nextDealSeat = g.lastEmperor;
        t.side.firstOutSeat = g.firstOut;
        BoardRandom r(g.boardSeed);
        DealResult d = DealCards(t.state, t.side, r, g.crtSeed);

        EXPECT_EQ(d.cardCount, g.cardCount);
        EXPECT_EQ(d.emperorCardSeat, g.emperorSeat);
        EXPECT_EQ(d.guardSeat, g.guardSeat);
        EXPECT_EQ(t.state.leadSeat, g.emperorSeat);
        EXPECT_EQ(t.state.seatToAct, g.emperorSeat);
        EXPECT_EQ(t.state.guardSeat, g.guardSeat);
        for (int s = 0; s < kBoardSeats; ++s) {
            EXPECT_EQ(t.SortedIds(s), g.hands[s]) << "seat " << s;
            EXPECT_EQ(t.state.seats[s].cardsDealt, g.hands[s].size());
        }
    }
}

TEST(DealTest, SameSeedsGiveTheSameTable)
{
    Table a, b, c;
    BoardRandom ra(99), rb(99), rc(99);
    DealCards(a.state, a.side, ra, 3);
    DealCards(b.state, b.side, rb, 3);
    DealCards(c.state, c.side, rc, 4);
    EXPECT_EQ(std::memcmp(&a.state, &b.state, sizeof a.state), 0);
    EXPECT_NE(std::memcmp(&a.state, &c.state, sizeof a.state), 0);
}

// The ids a deal must hand out, each once.
std::multiset<int> ExpectedIds(bool shortPacks, bool noGuardCard)
{
    std::multiset<int> ids;
    for (int id = 0; id < kAllCards; ++id) {
        bool plain = id % kPackCards < 52;
        if (shortPacks && plain && PackCardRank(static_cast<uint8_t>(id)) <= 2)
            continue;
        ids.insert(id);
    }
    ids.erase(107);
    ids.insert(kEmperorCardId);
    if (!noGuardCard) {
        ids.erase(160);
        ids.insert(kGuardCardId);
    }
    return ids;
}

TEST(DealTest, EveryCardIsDealtOnceOverManySeeds)
{
    struct Variant { const char* name; int shortPacks, noGuardCard, kickRules, cards; };
    const Variant variants[] = {
        {"full", 0, 0, 0, 216},
        {"short packs", 1, 0, 0, 168},
        {"no guard card", 1, 1, 0, 168},
        {"kick rules", 1, 0, 1, 165},
        {"kick rules, short packs off", 0, 0, 1, 165},
    };
    for (const Variant& v : variants) {
        SCOPED_TRACE(v.name);
        const std::multiset<int> expected = ExpectedIds(v.shortPacks || v.kickRules, v.noGuardCard);
        for (uint32_t seed = 0; seed < 300; ++seed) {
            Table t;
            t.Options(v.shortPacks, v.noGuardCard, v.kickRules);
            t.side.nextDealSeat = static_cast<int>(seed % 5);
            BoardRandom r(seed * 2654435761u);
            DealResult d = DealCards(t.state, t.side, r, seed);
            ASSERT_EQ(d.cardCount, v.cards) << seed;

            std::multiset<int> dealt;
            int emperorHolder = -1, guardHolder = -1;
            for (int s = 0; s < kBoardSeats; ++s) {
                ASSERT_EQ(t.state.seats[s].cardsInHand, t.state.seats[s].cardsDealt);
                for (int id : t.SortedIds(s)) {
                    dealt.insert(id);
                    if (id == kEmperorCardId) emperorHolder = s;
                    if (id == kGuardCardId) guardHolder = s;
                }
            }
            ASSERT_EQ(d.emperorCardSeat, emperorHolder) << seed;
            ASSERT_EQ(d.guardSeat, guardHolder) << seed;
            if (!v.kickRules) {
                ASSERT_EQ(dealt, expected) << seed;
                continue;
            }
            // Three cards of rank value 3 are out; which ones depends on the shuffle.
            std::multiset<int> missing;
            std::set_difference(expected.begin(), expected.end(), dealt.begin(), dealt.end(),
                                std::inserter(missing, missing.begin()));
            ASSERT_EQ(missing.size(), 3u) << seed;
            for (int id : missing)
                ASSERT_EQ(PackCardRank(static_cast<uint8_t>(id)), 3) << seed;
            ASSERT_TRUE(std::includes(expected.begin(), expected.end(), dealt.begin(), dealt.end())) << seed;
        }
    }
}

TEST(DealTest, ShortPacksLeaveNoLowRanksButAllJokers)
{
    Table t;  // short packs are the default
    BoardRandom r(2024);
    DealCards(t.state, t.side, r, 11);
    int jokers = 0;
    for (int s = 0; s < kBoardSeats; ++s) {
        const CardEntry* hand = t.state.hands[s];
        int n = static_cast<int>(t.state.seats[s].cardsInHand);
        for (int rank = 0; rank <= 2; ++rank)
            EXPECT_EQ(CountRank(hand, n, rank, false), 0) << "seat " << s;
        jokers += CountJokers(hand, n, false);
    }
    EXPECT_EQ(jokers, 8);
}

TEST(DealTest, NoGuardCardLeavesGuardUnknown)
{
    Table t;
    t.Options(1, 1, 0);
    t.state.guardSeat = 3;  // whatever the last hand left
    BoardRandom r(8);
    DealResult d = DealCards(t.state, t.side, r, 8);
    EXPECT_EQ(d.guardSeat, -1);
    EXPECT_EQ(t.state.guardSeat, -1);
}

TEST(DealTest, DealMovesToTheFirstDecision)
{
    Table t;
    t.Options(0, 0, 0);
    t.state.tableFlags = kTableFirstPlayDue;
    // What the last hand left behind.
    t.state.seats[1].tableCardCount = 5;
    t.state.finishPlace[2] = 1;
    t.state.outCount = 3;
    t.state.decisionMarks[4] = -1;
    t.state.firstChoices[0] = 2;
    t.state.trickCount = 4;
    t.side.emperorCardReturns = 1;
    BoardRandom r(3);
    DealCards(t.state, t.side, r, 3);
    EXPECT_EQ(t.state.phase, kPhaseEmperor);
    EXPECT_EQ(t.state.tableFlags, kTableFirstPlayDue | kTableFirstDecisionOpen);
    EXPECT_EQ(t.state.seats[1].tableCardCount, 0u);
    EXPECT_EQ(t.state.finishPlace[2], 0);
    EXPECT_EQ(t.state.outCount, 0);
    EXPECT_EQ(t.state.decisionMarks[4], 0);
    EXPECT_EQ(t.state.firstChoices[0], 0);
    EXPECT_EQ(t.state.trickCount, 0);
    EXPECT_EQ(t.side.emperorCardReturns, 0u);
    // The marked cards carry their flags in the hands.
    const CardEntry& first = t.state.hands[t.state.leadSeat][0];
    EXPECT_EQ(first.id, kEmperorCardId);  // group mode puts the big jokers first, higher id first
    EXPECT_EQ(first.flags & kCardEmperor, kCardEmperor);
}

TEST(DealTest, UnseenCountsPerVariant)
{
    struct Case { int shortPacks, kickRules; int rank0, rank3; };
    const Case cases[] = {{0, 0, 16, 16}, {1, 0, -1, 16}, {1, 1, -1, 13}};
    for (const Case& c : cases) {
        Table t;
        t.Options(c.shortPacks, 0, c.kickRules);
        BoardRandom r(1);
        DealCards(t.state, t.side, r, 1);
        EXPECT_EQ(t.side.unseenCounts[0], c.rank0);
        EXPECT_EQ(t.side.unseenCounts[2], c.rank0);
        EXPECT_EQ(t.side.unseenCounts[3], c.rank3);
        EXPECT_EQ(t.side.unseenCounts[12], 16);
        EXPECT_EQ(t.side.unseenCounts[kSmallJokerRank], 4);
        EXPECT_EQ(t.side.unseenCounts[kBigJokerRank], 4);
    }
}

TEST(DealTest, StartSeat)
{
    struct Case { int kickRules, firstOut, lastEmperor, expected; };
    const Case cases[] = {
        {0, -1, -1, 0}, {0, -1, 3, 3}, {0, 2, 3, 3},   // without rule option 12 only the last emperor counts
        {1, 2, 3, 2}, {1, -1, 3, 3}, {1, -1, -1, 0},   // with it the first seat out comes first
        {0, -1, 7, 0},                                 // a seat out of range is no seat
    };
    for (const Case& c : cases) {
        Table t;
        t.Options(1, 0, c.kickRules);
        t.side.firstOutSeat = c.firstOut;
        t.side.nextDealSeat = c.lastEmperor;
        EXPECT_EQ(DealStartSeat(t.state, t.side), c.expected)
            << c.kickRules << " " << c.firstOut << " " << c.lastEmperor;
    }
}

TEST(DealTest, SeatOfPositionMatchesTheSplit)
{
    // Walk the split seat by seat and compare with the position formula.
    for (int cards : {216, 168, 165}) {
        for (int start = 0; start < kBoardSeats; ++start) {
            int position = 0;
            for (int offset = 0; offset < kBoardSeats; ++offset)
                for (int i = 0; i < DealtCardsAt(cards, offset); ++i, ++position)
                    ASSERT_EQ(SeatOfDealPosition(cards, start, position), (start + offset) % 5)
                        << cards << " " << start << " " << position;
            ASSERT_EQ(position, cards);
        }
    }
    EXPECT_EQ(SeatOfDealPosition(216, 0, 43), 0);
    EXPECT_EQ(SeatOfDealPosition(216, 0, 44), 1);
    EXPECT_EQ(SeatOfDealPosition(168, 1, 101), 3);
    EXPECT_EQ(SeatOfDealPosition(168, 1, 102), 4);
    EXPECT_EQ(SeatOfDealPosition(165, 4, 164), 3);
}

TEST(DealTest, DealBody)
{
    Table t;
    BoardRandom r(12);
    DealCards(t.state, t.side, r, 12);
    const int seat = 3;
    const uint32_t n = t.state.seats[seat].cardsDealt;
    std::vector<uint8_t> body(8 + 52, 0);
    ASSERT_TRUE(FillDealBody(t.state, seat, false, body.data(), body.size()));
    EXPECT_EQ(body[0], t.state.seatToAct);
    for (int s = 0; s < kBoardSeats; ++s)
        EXPECT_EQ(body[1 + s], t.state.seats[s].cardsDealt);
    EXPECT_EQ(body[6], 0);
    EXPECT_EQ(body[7], 0);
    for (uint32_t i = 0; i < n; ++i)
        EXPECT_EQ(body[8 + i], t.state.hands[seat][i].id);
    for (size_t i = 8 + n; i < body.size(); ++i)
        EXPECT_EQ(body[i], 255);

    ASSERT_TRUE(FillDealBody(t.state, seat, true, body.data(), body.size()));
    for (size_t i = 8; i < body.size(); ++i)
        EXPECT_EQ(body[i], 255);

    EXPECT_FALSE(FillDealBody(t.state, seat, false, body.data(), 8 + n - 1));
    EXPECT_FALSE(FillDealBody(t.state, 5, false, body.data(), body.size()));
    EXPECT_FALSE(FillDealBody(t.state, -1, false, body.data(), body.size()));
}

}  // namespace
