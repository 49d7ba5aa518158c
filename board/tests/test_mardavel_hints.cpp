// Play hints: the candidates against each kind of play, their keys and order,
// the joker tables, the 60-candidate limit, and the identical-cards query.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "MardavelHints.h"
#include "MardavelTestCards.h"

namespace {

using mardavel_test::Cards;
using mardavel_test::Ranks;

struct Hint {
    int key;
    std::string ranks;
    bool operator==(const Hint& o) const { return key == o.key && ranks == o.ranks; }
};
std::ostream& operator<<(std::ostream& out, const Hint& h) { return out << "{" << h.key << ", " << h.ranks << "}"; }

std::vector<Hint> Hints(const std::string& hand, const std::string& toBeat, bool moreCardsBeat = false,
                        bool lowestLast = false, int lowestRank = 0)
{
    const std::vector<CardEntry> h = Cards(hand);
    const std::vector<CardEntry> t = Cards(toBeat);
    HintRules rules;
    rules.moreCardsBeat = moreCardsBeat;
    rules.lowestLast = lowestLast;
    rules.lowestRank = lowestRank;
    HintList list;
    BuildHints(list, h.data(), static_cast<int>(h.size()), t.data(), static_cast<int>(t.size()), rules);
    std::vector<Hint> out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back({list.At(i).key, Ranks(list.At(i).cards, static_cast<int>(list.At(i).count))});
    return out;
}

TEST(HintTest, Table)
{
    struct Case {
        const char* what;
        const char* hand;
        const char* toBeat;
        bool moreCardsBeat;
        std::vector<Hint> hints;
    };
    const Case cases[] = {
        // Singles: one per rank above the play, exact fits first ("9 before 7").
        {"9 before 7", "3 7 7 9", "5", false, {{9, "9"}, {7, "7"}}},
        {"exact fits ascending, then the rest", "6 6 8 10 11 11", "5", false,
         {{8, "8"}, {10, "10"}, {6, "6"}, {11, "11"}}},
        {"nothing above", "3 4 5", "5", false, {}},
        {"jokers as singles", "S B 2", "12", false, {{13, "S"}, {14, "B"}}},
        // The guard's card is kept back while another small joker can go.
        {"guard's card kept back", "G S 5", "3", false, {{5, "5"}, {13, "S"}}},
        {"guard's card alone", "G 5", "3", false, {{5, "5"}, {13, "S"}}},
        // Against a single joker with rule option 0: two small beat a small,
        // two big or three small beat a big.
        {"two small against a small", "S S B", "S", true, {{14, "B"}, {460, "S S"}}},
        {"two big and three small against a big", "B B S S S", "B", true, {{480, "B B"}, {590, "S S S"}}},
        {"no more-card jokers without rule option 0", "B B S S S", "B", false, {}},
        // Groups: f jokers complete m - f cards of a rank above.
        {"pairs with jokers", "7 7 9 S B", "5 5", false,
         {{7, "7 7"}, {21, "S 7"}, {23, "S 9"}, {28, "B S"}}},
        {"a rank held short is no pair", "7 9", "5 5", false, {}},
        {"exact fit of a pair first", "7 7 7 9 9", "5 5", false, {{9, "9 9"}, {7, "7 7"}}},
        // Groups with jokers: a joker of the play is beaten one to one by a
        // higher joker only.
        {"small joker beaten by big", "7 B S", "5 S", false, {{21, "B 7"}, {28, "B S"}}},
        {"big joker cannot be beaten one to one", "7 7 B B S", "5 B", false, {}},
        {"one small: two small and one more card", "7 S S S", "5 S", true, {{467, "S S 7"}, {474, "S S S"}}},
        // Jokers only: matched one to one; with rule option 0 only the mixes
        // the beat test accepts.
        {"two small by two big", "B B S S", "S S", false, {{28, "B B"}}},
        {"two small with rule option 0", "B B S S", "S S", true, {{28, "B B"}}},
        {"two big: nothing is higher", "B B B S S S", "B B", false, {}},
        {"big and small: three big", "B B B S S S", "B S", true, {{620, "B B B"}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Hints(c.hand, c.toBeat, c.moreCardsBeat), c.hints) << c.what;
}

// The jokers-only table and the extra-joker table offer some mixes whose
// lowest rank value (13) is not above the play's (13); the beat test refuses
// them, so they are never offered: every hint can be played.
TEST(HintTest, MixesTheBeatTestRefusesAreNotOffered)
{
    struct Case {
        const char* hand;
        const char* toBeat;
    };
    const Case cases[] = {
        {"B S S", "S S"},              // 1 big 2 small: key 600
        {"B B S S S", "B S"},          // 2 big 2 small: 740; 1 big 3 small: 730
        {"B B S S S", "B B"},          // 2 big 3 small: 870
        {"B B B S S", "B S S"},        // 3 big 2 small: 880
    };
    for (const Case& c : cases) {
        for (const Hint& h : Hints(c.hand, c.toBeat, true)) {
            ADD_FAILURE() << c.hand << " against " << c.toBeat << " offers " << h;
        }
    }
}

TEST(HintTest, EveryOfferIsAcceptedByThePlayCheck)
{
    // With rule option 2 (lowest rank 3 only as the last cards) a single 3 is
    // no hint unless it empties the hand.
    EXPECT_EQ(Hints("3 3 6", "2", false, true, 3), (std::vector<Hint>{{6, "6"}}));
    EXPECT_EQ(Hints("3", "2", false, true, 3), (std::vector<Hint>{{3, "3"}}));
    EXPECT_EQ(Hints("3 3 6", "2", false, false, 3), (std::vector<Hint>{{6, "6"}, {3, "3"}}));
}

TEST(HintTest, KindZeroPlayGivesNothing)
{
    EXPECT_TRUE(Hints("7 8 9", "4 5").empty());
}

TEST(HintTest, SixtyCandidatesAtMost)
{
    // Against a small joker and three 0s, with rule option 0: 34 equal-size
    // candidates and 34 larger ones, all playable.
    std::string hand = "B B B B S S S S";
    for (int rank = 1; rank <= 11; ++rank)
        for (int k = 0; k < 4; ++k)
            hand += " " + std::to_string(rank);
    const std::vector<Hint> hints = Hints(hand, "0 0 0 S", true);
    EXPECT_EQ(hints.size(), 60u);
    for (size_t i = 1; i < hints.size(); ++i)
        EXPECT_LE(hints[i - 1].key, hints[i].key);

    HintList list;
    std::vector<CardEntry> cards = Cards("5");
    cards[0].flags |= kCardPicked;
    for (int i = 0; i < HintList::kMaxCandidates; ++i)
        ASSERT_TRUE(list.AddMarked(cards.data(), 1, i));
    EXPECT_FALSE(list.AddMarked(cards.data(), 1, 61));  // the sixty-first
    EXPECT_EQ(list.Count(), HintList::kMaxCandidates);
    cards[0].flags = 0;
    list.Clear();
    EXPECT_FALSE(list.AddMarked(cards.data(), 1, 1));  // nothing marked
}

TEST(HintTest, CandidatesAreCopiesInHandOrder)
{
    const std::vector<CardEntry> hand = Cards("9 S 9 B");
    const std::vector<CardEntry> beat = Cards("5 5");
    HintList list;
    ASSERT_EQ(BuildHints(list, hand.data(), 4, beat.data(), 2, HintRules{}), 2);
    ASSERT_GE(list.Count(), 1);
    const HintCandidate& first = list.At(0);
    EXPECT_EQ(first.count, 2u);
    EXPECT_EQ(first.key, 9);
    EXPECT_NE(first.cards, hand.data());
    EXPECT_GT(first.cards[0].id, first.cards[1].id);  // same rank: higher id first
}

TEST(IdenticalCardsTest, Table)
{
    struct Case {
        const char* hand;
        int k;
        int foundRank;  // -1 none
    };
    const Case cases[] = {
        {"5c 5c 5c 7", 3, 5},
        {"5c 5c 5d 7", 3, -1},         // same rank, another suit
        {"5c 5c 5c 7", 4, -1},
        {"5c 5c 5c 5c 9d 9d 9d", 4, 5},
        {"9d 9d 9d 5c 5c 5c", 3, 9},   // the first run in plain order: highest first
        {"12c 12c 12c", 3, -1},        // rank value 12 never counts
        {"", 3, -1},
    };
    for (const Case& c : cases) {
        const std::vector<CardEntry> hand = Cards(c.hand);
        CardEntry found{};
        found.groupCount = 77;
        const bool ok = FindIdenticalCards(hand.data(), static_cast<int>(hand.size()), c.k, &found);
        EXPECT_EQ(ok ? found.rank : -1, c.foundRank) << c.hand << " k=" << c.k;
        if (ok) {
            EXPECT_EQ(found.groupCount, 77) << "left as it was";
            EXPECT_EQ(MakeCardEntry(found.id, false, 255).suit, found.suit);
        }
    }
}

}  // namespace
