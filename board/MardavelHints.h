// Play hints: the plays the own hand could make against the play on the
// table, and the search for three or four identical cards.
//
// The hint list is rebuilt from the hand and the play to beat; each candidate
// is a heap copy of the chosen card entries. A candidate is offered only when
// the play check would accept it, so every hint can be played as it stands.
#pragma once

#include <cstddef>
#include <cstdint>

#include "MardavelState.h"

// One candidate play. The host reads it in place (event 10032).
struct HintCandidate {
    uint32_t count;    // cards in the candidate
    int32_t key;       // ordering key
    CardEntry* cards;  // count entries, in hand order; owned by the list
};
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(HintCandidate) == 12, "HintCandidate is three words in the 32-bit build");
#endif

// Up to 60 candidates and their card copies.
class HintList {
public:
    static constexpr int kMaxCandidates = 60;

    HintList() = default;
    ~HintList();
    HintList(const HintList&) = delete;
    HintList& operator=(const HintList&) = delete;

    // Frees every card copy; the list is empty.
    void Clear();
    // Copies the entries of hand[0..n) that carry the pick mark (kCardPicked),
    // in hand order. Refused when the list is full, no entry is marked, or
    // memory runs out.
    bool AddMarked(const CardEntry* hand, int n, int32_t key);

    int Count() const { return m_count; }
    HintCandidate& At(int index) { return m_items[index]; }
    const HintCandidate& At(int index) const { return m_items[index]; }

    // Ascending keys; candidates with equal keys keep their order.
    void SortByKey();
    // Moves candidate `from` to the front; the ones before it move up.
    void MoveToFront(int from);

private:
    HintCandidate m_items[kMaxCandidates] = {};
    int m_count = 0;
};

// What the play check asks beyond the beat test.
struct HintRules {
    bool moreCardsBeat = false;  // rule option 0
    bool lowestLast = false;     // rule option 2
    int lowestRank = 0;          // the lowest rank value in play
};

// Rebuilds the list for a hand of n entries against the play to beat (m
// entries, m above 0). Returns the kind of the play to beat; kind 0 leaves the
// list empty. The hand and the play are not changed.
int BuildHints(HintList& list, const CardEntry* hand, int n, const CardEntry* toBeat, int m,
               const HintRules& rules);

// Whether a play of n entries from a hand of handCount cards is accepted
// against the play to beat (m entries; m 0 when the seat leads): a valid kind
// that beats the play to beat, and with rule option 2 the lowest rank only as
// the last cards of a hand. The entries are not changed.
bool PlayWouldBeAccepted(const CardEntry* play, int n, const CardEntry* toBeat, int m, int handCount,
                         const HintRules& rules);

// The first run of k identical cards (same rank value and suit, rank value
// below 12; k is 4 for four, anything else three) in the hand sorted plain.
// Writes the run's first card's id, rank value and suit into *found and
// returns true; false when there is none. The hand is not changed.
bool FindIdenticalCards(const CardEntry* hand, int n, int k, CardEntry* found);
