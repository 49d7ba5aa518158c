// Cards from short texts for the game-level tests.
#pragma once

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "MardavelCards.h"
#include "MardavelState.h"

namespace mardavel_test {

inline BoardGameState DefaultState()
{
    BoardGameState s;
    InitBoardGameState(s);
    return s;
}

// "5 5 S B" = two cards of rank value 5, a small and a big joker. Rank values
// 0-12; S / B small / big joker; G / E the guard's / emperor's card (216 /
// 217). Equal ranks take suits 0-3 in turn, then the next pack; "5h" is a
// rank-5 card of suit 1 (the next pack each time it is named again).
inline std::vector<uint8_t> Ids(const std::string& text)
{
    std::vector<uint8_t> ids;
    int seen[16] = {};
    int seenSuit[16][4] = {};
    std::istringstream in(text);
    std::string token;
    while (in >> token) {
        int id = 0;
        // Jokers avoid 107 and 160 (the sources of the marked cards) first.
        static const int kSmallPacks[4] = {0, 1, 3, 2};
        static const int kBigPacks[4] = {0, 2, 3, 1};
        if (token == "S")
            id = 52 + kPackCards * kSmallPacks[seen[13]++ % 4];
        else if (token == "B")
            id = 53 + kPackCards * kBigPacks[seen[14]++ % 4];
        else if (token == "G")
            id = kGuardCardId;
        else if (token == "E")
            id = kEmperorCardId;
        else {
            const char last = token.back();
            const int rank = std::stoi(token);
            if (last >= 'a' && last <= 'z') {
                const int suit = std::string("cdhs").find(last);
                id = rank + 13 * suit + kPackCards * seenSuit[rank][suit]++;
            } else {
                const int n = seen[rank]++;
                id = rank + 13 * (n % 4) + kPackCards * (n / 4);
            }
        }
        ids.push_back(static_cast<uint8_t>(id));
    }
    return ids;
}

inline std::vector<CardEntry> Cards(const std::string& text, const BoardGameState& state = DefaultState())
{
    std::vector<CardEntry> cards;
    for (uint8_t id : Ids(text))
        cards.push_back(MakeCardEntry(id, state));
    return cards;
}

// The rank values of some entries, in order ("S" and "B" for jokers).
inline std::string Ranks(const CardEntry* cards, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i) {
        if (!out.empty())
            out += ' ';
        out += cards[i].rank == 13 ? "S" : cards[i].rank == 14 ? "B" : std::to_string(cards[i].rank);
    }
    return out;
}

// Sets a seat's hand in a state from a text.
inline void SetHand(BoardGameState& s, int seat, const std::string& text)
{
    const std::vector<CardEntry> cards = Cards(text, s);
    std::fill(std::begin(s.hands[seat]), std::end(s.hands[seat]), CardEntry{});
    std::copy(cards.begin(), cards.end(), s.hands[seat]);
    s.seats[seat].cardsInHand = static_cast<uint32_t>(cards.size());
    SortCards(s.hands[seat], static_cast<int>(cards.size()), s.sortMode);
}

// Puts a play on the table for a seat.
inline void SetTrick(BoardGameState& s, int leader, const std::string& text)
{
    const std::vector<CardEntry> cards = Cards(text, s);
    std::fill(std::begin(s.trickCards), std::end(s.trickCards), CardEntry{});
    std::copy(cards.begin(), cards.end(), s.trickCards);
    s.trickCount = static_cast<int32_t>(cards.size());
    s.leadSeat = leader;
}

}  // namespace mardavel_test
