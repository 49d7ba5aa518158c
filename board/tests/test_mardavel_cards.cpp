// Card entries, sorting, combination kinds and the beat test.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "MardavelCards.h"
#include "MardavelState.h"

namespace {

BoardGameState DefaultState()
{
    BoardGameState s;
    InitBoardGameState(s);
    return s;
}

// Cards from a short text: "5 5 S B" = two cards of rank value 5, a small and
// a big joker. Rank values 0-12; S / B small / big joker; G / E the guard's /
// emperor's card (216 / 217); H hidden (255); N the named card of rank value 4
// (id 222). Equal ranks take different suits and packs in turn.
std::vector<CardEntry> Cards(const std::string& text, const BoardGameState& state = DefaultState())
{
    std::vector<CardEntry> cards;
    int seen[16] = {};
    std::istringstream in(text);
    std::string token;
    while (in >> token) {
        int id = 0;
        if (token == "S") id = 52 + kPackCards * seen[13]++;
        else if (token == "B") id = 53 + kPackCards * seen[14]++;
        else if (token == "G") id = kGuardCardId;
        else if (token == "E") id = kEmperorCardId;
        else if (token == "H") id = kHiddenCardId;
        else if (token == "N") id = kNamedCardIdBase + 4;
        else {
            int rank = std::stoi(token);
            int n = seen[rank]++;
            id = rank + 13 * (n % 4) + kPackCards * (n / 4);
        }
        cards.push_back(MakeCardEntry(static_cast<uint8_t>(id), state));
    }
    return cards;
}

std::vector<int> Ids(const std::vector<CardEntry>& cards)
{
    std::vector<int> ids;
    for (const CardEntry& c : cards)
        ids.push_back(c.id);
    return ids;
}

TEST(CardEntryTest, FromId)
{
    struct Case { int id; bool plainMarks; int remembered; int rank, suit, flags; };
    const Case cases[] = {
        {0, false, 255, 0, 0, 0},
        {12, false, 255, 12, 0, 0},
        {13, false, 255, 0, 1, 0},
        {51, false, 255, 12, 3, 0},
        {52, false, 255, 13, 52, 0},   // small joker
        {53, false, 255, 14, 53, 0},   // big joker
        {54, false, 255, 0, 0, 0},     // second pack
        {107, false, 255, 14, 53, 0},
        {160, false, 255, 13, 52, 0},
        {215, false, 255, 14, 53, 0},
        {216, false, 255, 13, 52, kCardGuard},
        {217, false, 255, 14, 53, kCardEmperor},
        {216, true, 255, 13, 52, 0},
        {217, true, 255, 14, 53, 0},
        {255, false, 17, 4, 1, kCardGuard},   // hidden card takes the remembered card's face
        {222, false, 17, 4, 1, kCardGuard},   // named guard card: rank value + 218
        {255, false, 255, 0, 0, kCardGuard},  // nothing remembered
    };
    for (const Case& c : cases) {
        CardEntry e = MakeCardEntry(static_cast<uint8_t>(c.id), c.plainMarks, static_cast<uint8_t>(c.remembered));
        EXPECT_EQ(e.id, c.id);
        EXPECT_EQ(e.rank, c.rank) << c.id;
        EXPECT_EQ(e.suit, c.suit) << c.id;
        EXPECT_EQ(e.flags, c.flags) << c.id;
        EXPECT_EQ(e.groupCount, 0) << c.id;
    }
}

TEST(CardEntryTest, MarkedCardsArePlainOnlyWithKickRulesAndAPlayerAlone)
{
    struct Case { int kickRules; uint32_t tableFlags; int flags216; };
    const Case cases[] = {
        {0, 0, kCardGuard},
        {1, 0, kCardGuard},
        {0, kTableSeatPlaysAlone, kCardGuard},
        {1, kTableSeatPlaysAlone, 0},
    };
    for (const Case& c : cases) {
        BoardGameState s = DefaultState();
        MardavelSideData d;
        InitSideData(d);
        SetRuleOption(s, d, kOptKickRules, c.kickRules);
        s.tableFlags = c.tableFlags;
        EXPECT_EQ(MakeCardEntry(kGuardCardId, s).flags, c.flags216) << c.kickRules << " " << c.tableFlags;
        EXPECT_EQ(MakeCardEntry(kEmperorCardId, s).flags, c.flags216 ? kCardEmperor : 0);
    }
}

TEST(SortTest, BothModes)
{
    // ids: 3 (rank 3), 5, 18, 59 (rank 5), 52 small joker, 53 big joker, 16 (rank 3), 12, 217
    const uint8_t ids[] = {3, 5, 18, 59, 52, 53, 16, 12, 217};
    const int n = 9;
    BoardGameState s = DefaultState();
    std::vector<CardEntry> cards(n);
    SetCardsFromIds(cards.data(), ids, n, s);

    SortCards(cards.data(), n, kSortGroups);
    EXPECT_EQ(Ids(cards), (std::vector<int>{217, 53, 52, 18, 59, 5, 16, 3, 12}));
    const std::vector<int> groups = {18, 18, 17, 3, 3, 3, 2, 2, 1};
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(cards[i].groupCount, groups[i]) << i;
        EXPECT_TRUE(cards[i].flags & kCardGroupSorted) << i;
    }

    SortCards(cards.data(), n, kSortPlain);
    EXPECT_EQ(Ids(cards), (std::vector<int>{217, 53, 52, 12, 18, 59, 5, 16, 3}));
    for (int i = 0; i < n; ++i)
        EXPECT_FALSE(cards[i].flags & kCardGroupSorted) << i;
    EXPECT_EQ(cards[0].flags & kCardEmperor, kCardEmperor);  // other flags stay
}

TEST(SortTest, RankBytesNoCardHasAreCountedToo)
{
    // A table state read from a stream may carry any rank byte.
    std::vector<CardEntry> cards = {{1, 200, 0, 0, 0}, {2, 5, 0, 0, 0}, {3, 200, 0, 1, 0}, {4, 255, 0, 0, 0}};
    SortCards(cards.data(), 4, kSortGroups);
    EXPECT_EQ(Ids(cards), (std::vector<int>{3, 1, 4, 2}));
    const std::vector<int> groups = {2, 2, 1, 1};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(cards[i].groupCount, groups[i]) << i;
}

TEST(ClassifyTest, Kinds)
{
    struct Case { const char* cards; int kind; };
    const Case cases[] = {
        {"", kKindInvalid},
        {"5", kKindSingle},
        {"S", kKindSingle},
        {"H", kKindSingle},
        {"5 5", kKindGroup},
        {"5 5 5 5 5", kKindGroup},
        {"5 6", kKindInvalid},          // two plain ranks
        {"5 S", kKindGroupWithJokers},  // one plain card and one joker
        {"5 5 S B", kKindGroupWithJokers},
        {"S 5 6", kKindInvalid},
        {"S S", kKindJokers},
        {"B S S", kKindJokers},
        {"G E", kKindJokers},           // the marked cards are jokers
        {"G 5 5", kKindGroupWithJokers},
        {"N 4", kKindGroup},            // the named card counts as its face
        {"N 5", kKindInvalid},
    };
    BoardGameState s = DefaultState();
    s.rememberedCardId = 17;  // rank value 4, suit 1
    for (const Case& c : cases) {
        std::vector<CardEntry> cards = Cards(c.cards, s);
        EXPECT_EQ(ClassifyCards(cards.data(), static_cast<int>(cards.size())), c.kind) << "\"" << c.cards << "\"";
    }
}

TEST(ClassifyTest, CountsOutOfRangeAreInvalid)
{
    std::vector<CardEntry> cards = Cards("5");
    EXPECT_EQ(ClassifyCards(cards.data(), -1), kKindInvalid);
    std::vector<CardEntry> many(53, cards[0]);
    EXPECT_EQ(ClassifyCards(many.data(), 53), kKindInvalid);
}

TEST(BeatTest, Table)
{
    // new play, last play, result with rule option 0 on, result with it off
    struct Case { const char* play; const char* last; int on; int off; };
    const Case cases[] = {
        // single against single
        {"7", "5", 1, 1},
        {"5", "5", 0, 0},
        {"4", "5", 0, 0},
        {"B", "S", 1, 1},
        {"S", "B", 0, 0},
        {"E", "B", 0, 0},                 // the emperor's card is a big joker
        {"G", "12", 1, 1},
        // jokers against a single joker
        {"B B", "B", 1, -1},
        {"E B", "B", 1, -1},
        {"S S", "S", 1, -1},
        {"S S S", "B", 1, -1},
        {"S S", "B", -1, -1},
        {"B B", "S", -1, -1},
        {"B B B", "B", -1, -1},
        {"7 7", "5", -1, -1},
        {"S 7", "5", -1, -1},
        // not a combination
        {"7 8", "5 5", -1, -1},
        {"", "5", -1, -1},
        {"7", "", -1, -1},
        // same size
        {"7 7", "5 5", 1, 1},
        {"5 5", "5 5", 0, 0},             // equal ranks at every position
        {"4 4", "5 5", 0, 0},
        {"S 7", "S 5", 0, 0},
        {"B 7", "S 5", 1, 1},
        {"B 7", "S 7", 0, 0},
        {"S S", "9 9", 1, 1},
        {"B S", "B S", 0, 0},
        {"B B", "S S", 1, 1},
        {"S S", "B S", 0, 0},
        {"12 12 12", "11 S B", 0, 0},
        {"B B 12", "S S 11", 1, 1},
        // fewer cards
        {"9", "5 5", -1, -1},
        {"9 9", "5 5 5", -1, -1},
        // more cards against a play without jokers
        {"S 7 7", "5 5", -1, -1},
        {"7 7 7", "5 5", -1, -1},
        // last play one big joker
        {"B B 7", "B 5", 1, -1},
        {"E B 7", "B 5", 1, -1},
        {"B S 7", "B 5", -1, -1},
        {"E G 7", "B 5", -1, -1},
        {"S S S 7", "B 5", 1, -1},
        {"B S S 7", "B 5", -1, -1},
        {"B B B 7", "B 5", -1, -1},
        {"B B 5", "B 5", -1, -1},         // lowest rank value not above the last play's
        {"B B 4", "B 5", -1, -1},
        // one big, one small
        {"B B S S 7", "B S 5", 1, -1},
        {"B B B 7", "B S 5", 1, -1},
        {"B S S S 7", "B S 5", 1, -1},
        {"B B S 7", "B S 5", -1, -1},
        // one big, two small
        {"B B B S S 7", "B S S 5", 1, -1},
        {"B B S S S 7", "B S S 5", -1, -1},
        // one small
        {"S S 7", "S 5", 1, -1},
        {"B S 7", "S 5", -1, -1},
        // two small
        {"B S S 7", "S S 5", 1, -1},
        {"S S S 7", "S S 5", -1, -1},
        // two big
        {"B B S S S 7", "B B 5", 1, -1},
        {"B B B S S 7", "B B 5", -1, -1},
        // a mix without a row
        {"B B B S S S 7", "B B S 5", -1, -1},
        // jokers only: the new lowest rank value must be above the last's
        {"B B B", "B S", 1, -1},
        {"B B S S", "B S", -1, -1},
    };
    for (const Case& c : cases) {
        for (bool on : {true, false}) {
            std::vector<CardEntry> play = Cards(c.play);
            std::vector<CardEntry> last = Cards(c.last);
            EXPECT_EQ(BeatTest(play.data(), static_cast<int>(play.size()), last.data(),
                               static_cast<int>(last.size()), on),
                      on ? c.on : c.off)
                << "\"" << c.play << "\" against \"" << c.last << "\", rule option 0 " << (on ? "on" : "off");
        }
    }
}

TEST(BeatTest, CountsOutOfRangeCannotBeCompared)
{
    std::vector<CardEntry> play = Cards("7 7");
    std::vector<CardEntry> last = Cards("5 5");
    EXPECT_EQ(BeatTest(play.data(), 2, last.data(), -1, true), kBeatNotComparable);
    EXPECT_EQ(BeatTest(play.data(), 2, last.data(), 53, true), kBeatNotComparable);
    EXPECT_EQ(BeatTest(play.data(), 60, last.data(), 2, true), kBeatNotComparable);
}

TEST(CountTest, RanksAndJokersWithAndWithoutPickedCards)
{
    std::vector<CardEntry> cards = Cards("5 5 5 S B B 7");
    cards[0].flags |= kCardPicked;
    cards[4].flags |= kCardPicked;  // a big joker
    const int n = static_cast<int>(cards.size());
    EXPECT_EQ(CountRank(cards.data(), n, 5, false), 3);
    EXPECT_EQ(CountRank(cards.data(), n, 5, true), 2);
    EXPECT_EQ(CountRank(cards.data(), n, kBigJokerRank, true), 1);
    EXPECT_EQ(CountJokers(cards.data(), n, false), 3);
    EXPECT_EQ(CountJokers(cards.data(), n, true), 2);
    EXPECT_EQ(CountRank(cards.data(), n, 9, false), 0);
}

}  // namespace
