#include "MardavelHints.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "ByteBuffer.h"
#include "MardavelCards.h"

namespace {

constexpr int kMostJokersInAPlay = 8;  // four packs, two jokers each
constexpr int kHighestNaturalRank = 12;

bool IsJokerRank(int rank) { return rank == kSmallJokerRank || rank == kBigJokerRank; }
bool IsPicked(const CardEntry& e) { return (e.flags & kCardPicked) != 0; }

// The pick marks on a working copy of the hand (sorted in group mode, so the
// jokers stand at its start, big before small, higher ids first).
class Picker {
public:
    Picker(CardEntry* cards, int n) : m_cards(cards), m_n(n) {}

    // After the cards were sorted in group mode: the jokers stand at the
    // start; the joker picks look at that run only.
    void FindJokerRun()
    {
        m_jokerRun = 0;
        while (m_jokerRun < m_n && IsJokerRank(m_cards[m_jokerRun].rank))
            ++m_jokerRun;
    }

    void Clear()
    {
        for (int i = 0; i < m_n; ++i)
            m_cards[i].flags &= static_cast<uint8_t>(~kCardPicked);
    }
    // Jokers are taken from the end of the joker run: small before big,
    // lowest ids first.
    bool TakeJoker(int rank) { return TakeFromEnd([rank](const CardEntry& e) { return e.rank == rank; }); }
    bool TakeAnyJoker() { return TakeFromEnd([](const CardEntry& e) { return IsJokerRank(e.rank); }); }
    bool TakeJokerAbove(int value)
    {
        return TakeFromEnd([value](const CardEntry& e) { return IsJokerRank(e.rank) && e.rank > value; });
    }
    bool TakeJokers(int rank, int count)
    {
        for (int k = 0; k < count; ++k)
            if (!TakeJoker(rank))
                return false;
        return true;
    }
    bool TakeAnyJokers(int count)
    {
        for (int k = 0; k < count; ++k)
            if (!TakeAnyJoker())
                return false;
        return true;
    }
    // count cards of one rank value, starting with the card at `start`.
    bool TakeRun(int start, int rank, int count)
    {
        int available = 0;
        for (int i = start; i < m_n && m_cards[i].rank == rank; ++i)
            available += !IsPicked(m_cards[i]);
        if (available < count)
            return false;
        for (int i = start; count > 0; ++i) {
            if (!IsPicked(m_cards[i])) {
                m_cards[i].flags |= kCardPicked;
                --count;
            }
        }
        return true;
    }
    int MarkedCount() const
    {
        int marked = 0;
        for (int i = 0; i < m_n; ++i)
            marked += IsPicked(m_cards[i]);
        return marked;
    }

private:
    template <typename Fits>
    bool TakeFromEnd(Fits fits)
    {
        for (int i = m_jokerRun - 1; i >= 0; --i) {
            if (!IsPicked(m_cards[i]) && fits(m_cards[i])) {
                m_cards[i].flags |= kCardPicked;
                return true;
            }
        }
        return false;
    }

    CardEntry* m_cards;
    int m_n;
    int m_jokerRun = 0;
};

// How to take the jokers of one pick.
struct JokerPick {
    int small = 0;             // small jokers taken first (extra-joker picks)
    int big = 0;               // then big jokers
    const int* above = nullptr;  // values to beat one to one, ascending
    int aboveCount = 0;
    int any = 0;               // then jokers of either kind
};

class HintBuilder {
public:
    HintBuilder(HintList& list, const CardEntry* hand, int n, const CardEntry* toBeat, int m,
                const HintRules& rules)
        : m_list(list), m_n(n), m_m(m), m_rules(rules), m_pick(m_hand, n)
    {
        std::memcpy(m_hand, hand, sizeof(CardEntry) * static_cast<size_t>(n));
        std::memcpy(m_beat, toBeat, sizeof(CardEntry) * static_cast<size_t>(m));
        SortCards(m_hand, m_n, kSortGroups);
        m_pick.FindJokerRun();
        m_kind = ClassifyCards(m_beat, m_m);  // group order: jokers first, natural rank last
        if (m_kind != kKindInvalid)
            m_rank = m_beat[m_m - 1].rank;
        m_beatBig = CountRank(m_beat, m_m, kBigJokerRank, false);
        m_beatSmall = CountRank(m_beat, m_m, kSmallJokerRank, false);
        // The jokers of the play to beat, ascending.
        for (int i = m_m - 1; i >= 0; --i)
            if (IsJokerRank(m_beat[i].rank) && m_beatJokers < kMostJokersInAPlay)
                m_jokerValues[m_beatJokers++] = m_beat[i].rank;
        m_handBig = CountRank(m_hand, m_n, kBigJokerRank, false);
        m_handSmall = CountRank(m_hand, m_n, kSmallJokerRank, false);
    }

    int Build()
    {
        switch (m_kind) {
        case kKindSingle: BuildAgainstSingle(); break;
        case kKindGroup: BuildAgainstGroup(); break;
        case kKindGroupWithJokers: BuildAgainstGroupWithJokers(); break;
        case kKindJokers: BuildAgainstJokers(); break;
        default: return kKindInvalid;
        }
        m_list.SortByKey();
        if (m_kind == kKindSingle || m_kind == kKindGroup)
            MoveExactFitsForward();
        return m_kind;
    }

private:
    // Offers the marked cards when the play check would accept them.
    void Offer(int key)
    {
        if (m_list.Count() >= HintList::kMaxCandidates)
            return;  // full: nothing more is added
        CardEntry play[kCardAreaSize];
        int count = 0;
        for (int i = 0; i < m_n; ++i)
            if (IsPicked(m_hand[i]))
                play[count++] = m_hand[i];
        if (count == 0 || !PlayWouldBeAccepted(play, count, m_beat, m_m, m_n, m_rules))
            return;
        m_list.AddMarked(m_hand, m_n, key);
    }

    bool PickJokers(const JokerPick& j)
    {
        if (!m_pick.TakeJokers(kSmallJokerRank, j.small) || !m_pick.TakeJokers(kBigJokerRank, j.big))
            return false;
        for (int k = 0; k < j.aboveCount; ++k)
            if (!m_pick.TakeJokerAbove(j.above[k]))
                return false;
        return m_pick.TakeAnyJokers(j.any);
    }

    // For every natural rank R above the play's rank: the jokers, then
    // `naturals` cards of rank R from the first card of R on. A success
    // passes over the rest of R's group; a failure goes on with the next card.
    template <typename KeyOf>
    void WalkRanks(const JokerPick& jokers, int naturals, KeyOf keyOf)
    {
        for (int i = 0; i < m_n;) {
            const int rank = m_hand[i].rank;
            if (rank > kHighestNaturalRank || rank <= m_rank) {
                ++i;
                continue;
            }
            m_pick.Clear();
            if (PickJokers(jokers) && m_pick.TakeRun(i, rank, naturals)) {
                Offer(keyOf(rank));
                while (i < m_n && m_hand[i].rank == rank)
                    ++i;
            } else {
                ++i;
            }
        }
    }

    void OfferJokersOnly(const JokerPick& jokers, int key)
    {
        m_pick.Clear();
        if (PickJokers(jokers))
            Offer(key);
    }

    void BuildAgainstSingle()
    {
        const bool severalSmall = m_handSmall > 1;
        for (int i = 0; i < m_n;) {
            const CardEntry& e = m_hand[i];
            if (e.rank <= m_rank || ((e.flags & kCardGuard) && severalSmall)) {
                ++i;
                continue;
            }
            m_pick.Clear();
            m_hand[i].flags |= kCardPicked;
            Offer(e.rank);
            const int rank = e.rank;
            while (i < m_n && m_hand[i].rank == rank)
                ++i;
        }
        if (!m_rules.moreCardsBeat)
            return;
        if (m_rank == kSmallJokerRank) {
            JokerPick twoSmall;
            twoSmall.small = 2;
            OfferJokersOnly(twoSmall, 460);
        } else if (m_rank == kBigJokerRank) {
            JokerPick twoBig;
            twoBig.big = 2;
            OfferJokersOnly(twoBig, 480);
            JokerPick threeSmall;
            threeSmall.small = 3;
            OfferJokersOnly(threeSmall, 590);
        }
    }

    void BuildAgainstGroup()
    {
        for (int f = 0; f <= kMostJokersInAPlay && f <= m_m; ++f) {
            JokerPick jokers;
            jokers.any = f;
            if (f < m_m)
                WalkRanks(jokers, m_m - f, [f](int rank) { return rank + 14 * f; });
            else
                OfferJokersOnly(jokers, 14 * m_m);
        }
    }

    void BuildAgainstGroupWithJokers()
    {
        const int j = m_beatJokers;
        for (int f = j; f <= kMostJokersInAPlay - j && f <= m_m; ++f) {
            JokerPick jokers;
            jokers.above = m_jokerValues;
            jokers.aboveCount = j;
            jokers.any = f - j;
            if (f < m_m)
                WalkRanks(jokers, m_m - f, [f](int rank) { return rank + 14 * f; });
            else
                OfferJokersOnly(jokers, 14 * m_m);
        }
        if (!m_rules.moreCardsBeat)
            return;
        struct Extra { int natural, big, small; };
        const int m = m_m;
        auto run = [this](std::initializer_list<Extra> picks) {
            for (const Extra& x : picks)
                if (m_handBig >= x.big && m_handSmall >= x.small)
                    ExtraJokerPick(x.natural, x.big, x.small);
        };
        const int big = m_beatBig;
        const int small = m_beatSmall;
        if (big == 0 && small == 1)
            run({{m - 1, 0, 2}});
        else if (big == 1 && small == 0)
            run({{m - 1, 0, 3}, {m - 1, 2, 0}});
        else if (big == 1 && small == 1)
            run({{m - 2, 2, 2}, {m - 2, 3, 0}, {m - 2, 1, 3}});
        else if (big == 2 && small == 0)
            run({{m - 2, 2, 3}});
        else if (big == 0 && small == 2)
            run({{m - 2, 1, 2}});
        else if (big == 1 && small == 2)
            run({{m - 3, 3, 2}});
    }

    // A larger play: s small and b big jokers, i further jokers, and the rest
    // of the natural count from one rank above the play's.
    void ExtraJokerPick(int natural, int big, int small)
    {
        for (int i = 0; i <= kMostJokersInAPlay && natural - i >= 0; ++i) {
            JokerPick jokers;
            jokers.small = small;
            jokers.big = big;
            jokers.any = i;
            const int base = 130 * small + 14 * i + 140 * big + 200;
            if (natural - i > 0)
                WalkRanks(jokers, natural - i, [base](int rank) { return rank + base; });
            else
                OfferJokersOnly(jokers, base);
        }
    }

    void BuildAgainstJokers()
    {
        if (m_m >= 2) {
            JokerPick matched;
            matched.above = m_jokerValues;
            matched.aboveCount = m_beatJokers;
            OfferJokersOnly(matched, 14 * m_m);
        }
        if (!m_rules.moreCardsBeat)
            return;
        struct Mix { int big, small, key; };
        auto run = [this](std::initializer_list<Mix> mixes) {
            for (const Mix& x : mixes) {
                if (m_handBig < x.big || m_handSmall < x.small)
                    continue;
                JokerPick jokers;
                jokers.big = x.big;
                jokers.small = x.small;
                OfferJokersOnly(jokers, x.key);
            }
        };
        const int big = m_beatBig;
        const int small = m_beatSmall;
        if (big == 1 && small == 1 && m_m == 2)
            run({{2, 2, 740}, {3, 0, 620}, {1, 3, 730}});
        else if (big == 2 && small == 0 && m_m == 2)
            run({{2, 3, 870}});
        else if (big == 0 && small == 2 && m_m == 2)
            run({{1, 2, 600}});
        else if (big == 1 && small == 2 && m_m == 3)
            run({{3, 2, 880}});
    }

    // A candidate fits exactly when the hand holds exactly as many cards of
    // its first card's rank value as the play to beat has cards.
    bool ExactFit(int index) const
    {
        const HintCandidate& c = m_list.At(index);
        return CountRank(m_hand, m_n, c.cards[0].rank, false) == m_m;
    }
    int FirstRank(int index) const { return m_list.At(index).cards[0].rank; }

    // Exact fits first, each part in ascending order.
    void MoveExactFitsForward()
    {
        int i = m_list.Count() - 1;
        for (int steps = 0; i > 0 && steps < 4 * HintList::kMaxCandidates * HintList::kMaxCandidates; ++steps) {
            if (!ExactFit(i)) {
                --i;
                continue;
            }
            bool inPlace = true;
            for (int k = 0; k < i && inPlace; ++k)
                inPlace = ExactFit(k) && FirstRank(k) <= FirstRank(i);
            if (inPlace)
                break;
            m_list.MoveToFront(i);
            if (i == 1)
                break;
        }
    }

    HintList& m_list;
    CardEntry m_hand[kCardAreaSize];
    CardEntry m_beat[kCardAreaSize];
    int m_n;
    int m_m;
    HintRules m_rules;
    Picker m_pick;
    int m_kind = kKindInvalid;
    int m_rank = 0;
    int m_beatBig = 0;
    int m_beatSmall = 0;
    int m_jokerValues[kMostJokersInAPlay] = {};
    int m_beatJokers = 0;
    int m_handBig = 0;
    int m_handSmall = 0;
};

bool ValidCount(int n) { return n >= 0 && n <= kCardAreaSize; }

}  // namespace

// ---------------------------------------------------------------- HintList

HintList::~HintList()
{
    Clear();
}

void HintList::Clear()
{
    for (int i = 0; i < m_count; ++i) {
        gpFree(m_items[i].cards);
        m_items[i] = HintCandidate{};
    }
    m_count = 0;
}

bool HintList::AddMarked(const CardEntry* hand, int n, int32_t key)
{
    if (m_count >= kMaxCandidates || !ValidCount(n))
        return false;
    int marked = 0;
    for (int i = 0; i < n; ++i)
        marked += IsPicked(hand[i]);
    if (marked == 0)
        return false;
    auto* cards = static_cast<CardEntry*>(gpMalloc(sizeof(CardEntry) * static_cast<size_t>(marked)));
    if (!cards)
        return false;
    int k = 0;
    for (int i = 0; i < n; ++i)
        if (IsPicked(hand[i]))
            cards[k++] = hand[i];
    m_items[m_count++] = HintCandidate{static_cast<uint32_t>(marked), key, cards};
    return true;
}

void HintList::SortByKey()
{
    std::stable_sort(m_items, m_items + m_count,
                     [](const HintCandidate& a, const HintCandidate& b) { return a.key < b.key; });
}

void HintList::MoveToFront(int from)
{
    if (from <= 0 || from >= m_count)
        return;
    const HintCandidate moving = m_items[from];
    std::memmove(m_items + 1, m_items, sizeof(HintCandidate) * static_cast<size_t>(from));
    m_items[0] = moving;
}

// ---------------------------------------------------------------- building

int BuildHints(HintList& list, const CardEntry* hand, int n, const CardEntry* toBeat, int m,
               const HintRules& rules)
{
    list.Clear();
    if (!ValidCount(n) || m < 1 || m > kCardAreaSize || !hand || !toBeat)
        return kKindInvalid;
    HintBuilder builder(list, hand, n, toBeat, m, rules);
    return builder.Build();
}

bool PlayWouldBeAccepted(const CardEntry* play, int n, const CardEntry* toBeat, int m, int handCount,
                         const HintRules& rules)
{
    if (n < 1 || n > kCardAreaSize || !ValidCount(m))
        return false;
    CardEntry cards[kCardAreaSize];
    std::memcpy(cards, play, sizeof(CardEntry) * static_cast<size_t>(n));
    if (ClassifyCards(cards, n) == kKindInvalid)
        return false;
    if (m > 0) {
        CardEntry last[kCardAreaSize];
        std::memcpy(last, toBeat, sizeof(CardEntry) * static_cast<size_t>(m));
        if (BeatTest(cards, n, last, m, rules.moreCardsBeat) != kBeats)
            return false;
    }
    if (rules.lowestLast && cards[n - 1].rank == rules.lowestRank &&
        CountRank(cards, n, rules.lowestRank, false) < handCount)
        return false;
    return true;
}

bool FindIdenticalCards(const CardEntry* hand, int n, int k, CardEntry* found)
{
    if (!hand || !found || !ValidCount(n))
        return false;
    CardEntry cards[kCardAreaSize];
    std::memcpy(cards, hand, sizeof(CardEntry) * static_cast<size_t>(n));
    SortCards(cards, n, kSortPlain);
    const int wanted = k == 4 ? 4 : 3;
    for (int i = 0; i < n;) {
        int j = i + 1;
        while (j < n && cards[j].rank == cards[i].rank && cards[j].suit == cards[i].suit)
            ++j;
        if (cards[i].rank < kHighestNaturalRank && j - i >= wanted) {
            found->id = cards[i].id;
            found->rank = cards[i].rank;
            found->suit = cards[i].suit;
            return true;
        }
        i = j;
    }
    return false;
}
