#include "MardavelCards.h"

namespace {

void SetRankAndSuit(CardEntry& e, uint8_t id)
{
    if (IsPackCard(id)) {
        e.rank = PackCardRank(id);
        e.suit = PackCardSuit(id);
    } else if (id == kGuardCardId) {
        e.rank = kSmallJokerRank;
        e.suit = kSmallJokerSuit;
    } else if (id == kEmperorCardId) {
        e.rank = kBigJokerRank;
        e.suit = kBigJokerSuit;
    } else {
        // No card is remembered: a hidden card has no face; rank and suit 0
        // keep it inside every per-rank table.
        e.rank = 0;
        e.suit = 0;
    }
}

// Sort order: larger group first (group mode only), then higher rank value,
// higher suit, higher card id.
bool SortsBefore(const CardEntry& a, const CardEntry& b, bool groupMode)
{
    if (a.suit == b.suit && a.rank == b.rank)
        return a.id > b.id;
    if (groupMode && a.groupCount != b.groupCount)
        return a.groupCount > b.groupCount;
    if (a.rank == b.rank)
        return a.suit > b.suit;
    return a.rank > b.rank;
}

bool CountIsValid(int n) { return n >= 0 && n <= kCardAreaSize; }

// Extra cards of a larger play against a last play holding jokers, with
// rule option 0: only these joker mixes beat.
bool ExtraJokersBeat(int lastBig, int lastSmall, int extra, int big, int small)
{
    if (lastBig == 1 && lastSmall == 0)
        return (extra == 1 && big >= 2) || (extra == 2 && small >= 3);
    if (lastBig == 1 && lastSmall == 1)
        return (extra == 2 && big >= 2 && small >= 2) || (extra == 1 && big >= 3) ||
               (extra == 2 && big >= 1 && small >= 3);
    if (lastBig == 1 && lastSmall == 2)
        return extra == 2 && big >= 3 && small >= 2;
    if (lastBig == 0 && lastSmall == 1)
        return extra == 1 && small >= 2;
    if (lastBig == 0 && lastSmall == 2)
        return extra == 1 && big >= 1 && small >= 2;
    if (lastBig == 2 && lastSmall == 0)
        return extra == 3 && big >= 2 && small >= 3;
    return false;
}

// A larger joker play against one card: two big beat a big joker, two small
// beat a small joker, three small beat a big joker.
bool JokersBeatSingle(const CardEntry* cards, int n, const CardEntry& last)
{
    int big = CountRank(cards, n, kBigJokerRank, false);
    int small = CountRank(cards, n, kSmallJokerRank, false);
    if (last.rank == kBigJokerRank)
        return (n == 2 && big == 2) || (n == 3 && small == 3);
    if (last.rank == kSmallJokerRank)
        return n == 2 && small == 2;
    return false;
}

}  // namespace

CardEntry MakeCardEntry(uint8_t id, bool markedCardsPlain, uint8_t rememberedId)
{
    CardEntry e{};
    e.id = id;
    if (IsPackCard(id)) {
        SetRankAndSuit(e, id);
    } else if (id == kGuardCardId || id == kEmperorCardId) {
        SetRankAndSuit(e, id);
        if (!markedCardsPlain)
            e.flags = id == kGuardCardId ? kCardGuard : kCardEmperor;
    } else {
        SetRankAndSuit(e, rememberedId);
        e.flags = kCardGuard;
    }
    return e;
}

CardEntry MakeCardEntry(uint8_t id, const BoardGameState& state)
{
    bool plain = KickRulesOn(state) && (state.tableFlags & kTableSeatPlaysAlone) != 0;
    return MakeCardEntry(id, plain, state.rememberedCardId);
}

void SetCardsFromIds(CardEntry* cards, const uint8_t* ids, int n, const BoardGameState& state)
{
    for (int i = 0; i < n; ++i)
        cards[i] = MakeCardEntry(ids[i], state);
}

void SortCards(CardEntry* cards, int n, int mode)
{
    if (n <= 0)
        return;
    const bool groupMode = mode == kSortGroups;
    int perRank[kRankCount] = {};
    for (int i = 0; i < n; ++i)
        if (cards[i].rank < kRankCount)
            ++perRank[cards[i].rank];
    for (int i = 0; i < n; ++i) {
        const uint8_t rank = cards[i].rank;
        int same = 0;
        if (rank < kRankCount) {
            same = perRank[rank];
        } else {  // a rank byte no card has, from a stream: counted the long way
            for (int j = 0; j < n; ++j)
                same += cards[j].rank == rank;
        }
        cards[i].groupCount = static_cast<uint8_t>(same);
        if (groupMode)
            cards[i].flags |= kCardGroupSorted;
        else
            cards[i].flags &= static_cast<uint8_t>(~kCardGroupSorted);
    }
    for (int i = 0; i < n; ++i) {
        if (cards[i].rank == kSmallJokerRank)
            cards[i].groupCount = 17;
        else if (cards[i].rank == kBigJokerRank)
            cards[i].groupCount = 18;
    }
    // Insertion sort: stable, and hands are short.
    for (int i = 1; i < n; ++i) {
        CardEntry moving = cards[i];
        int j = i;
        while (j > 0 && SortsBefore(moving, cards[j - 1], groupMode)) {
            cards[j] = cards[j - 1];
            --j;
        }
        cards[j] = moving;
    }
}

int ClassifyCards(CardEntry* cards, int n)
{
    if (n < 1 || n > kCardAreaSize)
        return kKindInvalid;
    SortCards(cards, n, kSortGroups);
    if (n == 1)
        return kKindSingle;
    bool anyJoker = false;
    bool allJokers = true;
    const uint8_t natural = cards[n - 1].rank;  // jokers sort first, so the last entry is natural
    for (int i = 0; i < n; ++i) {
        if (IsJoker(cards[i])) {
            anyJoker = true;
            continue;
        }
        allJokers = false;
        if (cards[i].rank != natural)
            return kKindInvalid;
    }
    if (allJokers)
        return kKindJokers;
    return anyJoker ? kKindGroupWithJokers : kKindGroup;
}

int BeatTest(CardEntry* cards, int n, CardEntry* last, int m, bool moreCardsBeat)
{
    if (!CountIsValid(n) || !CountIsValid(m))
        return kBeatNotComparable;
    if (ClassifyCards(cards, n) == kKindInvalid)
        return kBeatNotComparable;
    const int lastKind = ClassifyCards(last, m);

    if (lastKind == kKindSingle) {
        if (n == 1)
            return cards[0].rank > last[0].rank ? kBeats : kBeatNotHigher;
        if (moreCardsBeat && JokersBeatSingle(cards, n, last[0]))
            return kBeats;
        return kBeatNotComparable;
    }
    if (lastKind != kKindGroup && lastKind != kKindGroupWithJokers && lastKind != kKindJokers)
        return kBeatNotComparable;

    if (n == m) {
        for (int i = 0; i < n; ++i)
            if (cards[i].rank <= last[i].rank)
                return kBeatNotHigher;
        return kBeats;
    }
    if (n > m && moreCardsBeat && last[m - 1].rank < cards[n - 1].rank) {
        int lastBig = CountRank(last, m, kBigJokerRank, false);
        int lastSmall = CountRank(last, m, kSmallJokerRank, false);
        int big = CountRank(cards, n, kBigJokerRank, false);
        int small = CountRank(cards, n, kSmallJokerRank, false);
        if (ExtraJokersBeat(lastBig, lastSmall, n - m, big, small))
            return kBeats;
    }
    return kBeatNotComparable;
}

int CountRank(const CardEntry* cards, int n, int rank, bool skipPicked)
{
    int count = 0;
    for (int i = 0; i < n; ++i) {
        if (skipPicked && (cards[i].flags & kCardPicked))
            continue;
        count += cards[i].rank == rank;
    }
    return count;
}

int CountJokers(const CardEntry* cards, int n, bool skipPicked)
{
    return CountRank(cards, n, kSmallJokerRank, skipPicked) + CountRank(cards, n, kBigJokerRank, skipPicked);
}
