// Cards and combinations: card entries from ids, sorting, the kind of a
// selection and whether it beats the play on the table.
//
// A play is one rank value, possibly completed by jokers (wild inside a
// group), or jokers alone. With rule option 0 a play with more cards may beat
// one with fewer when it carries enough jokers.
#pragma once

#include <cstdint>

#include "MardavelState.h"

enum CardKind : int {
    kKindInvalid = 0,
    kKindSingle = 1,
    kKindGroup = 2,            // one rank value, no jokers
    kKindGroupWithJokers = 3,  // one rank value and jokers
    kKindJokers = 4,           // jokers only
};

enum BeatResult : int {
    kBeatNotComparable = -1,
    kBeatNotHigher = 0,
    kBeats = 1,
};

enum SortMode : int {
    kSortGroups = 0,  // largest groups first, jokers ahead of all
    kSortPlain = 1,   // highest rank value first
};

// Rank value and suit of a pack card (id below 216).
inline uint8_t PackCardRank(uint8_t id)
{
    int index = id % kPackCards;
    return static_cast<uint8_t>(index < 52 ? index % 13 : index - 39);
}
inline uint8_t PackCardSuit(uint8_t id)
{
    int index = id % kPackCards;
    return static_cast<uint8_t>(index < 52 ? index / 13 : index);
}
inline bool IsPackCard(uint8_t id) { return id < kAllCards; }
inline bool IsJoker(const CardEntry& e) { return e.suit == kSmallJokerSuit || e.suit == kBigJokerSuit; }

// The entry of a card id. markedCardsPlain drops the emperor's and guard's
// flags of 216 and 217; ids above 217 (hidden or named cards) take rank and
// suit of rememberedId and the guard's flag. The group count is 0.
CardEntry MakeCardEntry(uint8_t id, bool markedCardsPlain, uint8_t rememberedId);
// The same with the table's rule flags, table flags and remembered card.
CardEntry MakeCardEntry(uint8_t id, const BoardGameState& state);
// Fills n entries from n ids.
void SetCardsFromIds(CardEntry* cards, const uint8_t* ids, int n, const BoardGameState& state);

// Sorts n entries in group mode (kSortGroups) or plain mode (any other value)
// and fills in their group counts.
void SortCards(CardEntry* cards, int n, int mode);

// The kind of a selection of n entries. Sorts the selection in group mode.
int ClassifyCards(CardEntry* cards, int n);

// Whether a selection of n entries beats the last play of m entries (both are
// sorted in group mode). moreCardsBeat is rule option 0. Counts outside
// 0..52 cannot be compared.
int BeatTest(CardEntry* cards, int n, CardEntry* last, int m, bool moreCardsBeat);

// Entries of one rank value / jokers (rank values 13 and 14); skipPicked
// leaves out entries carrying kCardPicked.
int CountRank(const CardEntry* cards, int n, int rank, bool skipPicked);
int CountJokers(const CardEntry* cards, int n, bool skipPicked);
