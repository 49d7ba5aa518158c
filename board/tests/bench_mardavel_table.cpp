// Prints the cost of whole hands of the six-board table (a referee and five
// player boards wired through their callbacks) and of the worst hint
// rebuilds for a 44-card hand against each kind of play. Not a test: run it
// by hand on a quiet machine, natively and without sanitizers.
//
//   bench_mardavel_table            both benchmarks
//   bench_mardavel_table hands N    N hands only (for callgrind)
//   bench_mardavel_table hints N [K] N rebuilds of each kind (or of kind K) only
//   bench_mardavel_table hint N naturals small big copies
//                                   N rebuilds against one play (rank value 0
//                                   cards and jokers), hand of 3 or 4 copies
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "MardavelCards.h"
#include "MardavelHints.h"
#include "MardavelState.h"
#include "MardavelTableHarness.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

int BenchHands(int hands, bool checks)
{
    TableHarness t(20240601);
    t.SetChecksEachDelivery(checks);
    t.Setup({{kOptHandsPerMatch, 15}}, {});
    const auto start = Clock::now();
    if (!t.PlayHands(hands, 100000000)) {
        std::printf("the table stopped: %s\n", t.Problems().empty() ? "?" : t.Problems()[0].c_str());
        return 1;
    }
    const double s = Seconds(start);
    std::printf("six-board table, %s: %d hands in %.3f s, %.1f hands/s (%d messages, %d plays, %d passes)\n",
                checks ? "with the harness's checks" : "boards only", hands, s, hands / s,
                t.Count().deliveries, t.Count().plays, t.Count().passes);
    return 0;
}

CardEntry Card(int id)
{
    return MakeCardEntry(static_cast<uint8_t>(id), false, kHiddenCardId);
}

// Id of the copy-th card of a rank value (0-12) across the four packs.
int PlainCard(int rank, int copy)
{
    return rank + 13 * (copy % 4) + 54 * (copy / 4);
}

// 44-card hands with all eight jokers: three cards of each rank value 1-12,
// or four of each rank value 4-12 (groups of four complete larger plays).
std::vector<CardEntry> FullHand(int copiesPerRank)
{
    std::vector<CardEntry> hand;
    for (int pack = 0; pack < 4; ++pack) {
        hand.push_back(Card(52 + 54 * pack));
        hand.push_back(Card(53 + 54 * pack));
    }
    const int lowest = 13 - 36 / copiesPerRank;
    for (int rank = lowest; rank <= 12; ++rank)
        for (int copy = 0; copy < copiesPerRank; ++copy)
            hand.push_back(Card(PlainCard(rank, copy)));
    return hand;
}

// A play to beat: n cards of rank value 0, then small and big jokers.
std::vector<CardEntry> PlayToBeat(int naturals, int small, int big)
{
    std::vector<CardEntry> play;
    for (int i = 0; i < naturals; ++i)
        play.push_back(Card(PlainCard(0, i)));
    for (int i = 0; i < small; ++i)
        play.push_back(Card(52 + 54 * i));
    for (int i = 0; i < big; ++i)
        play.push_back(Card(53 + 54 * i));
    return play;
}

struct Rebuild {
    double us = 0;
    long candidates = 0;
    std::string what;
};

Rebuild TimeRebuilds(const std::vector<CardEntry>& hand, const std::vector<CardEntry>& beat, int rounds)
{
    HintRules rules;
    rules.moreCardsBeat = true;  // rule option 0 adds the larger plays
    HintList list;
    long candidates = 0;
    const auto start = Clock::now();
    for (int r = 0; r < rounds; ++r) {
        BuildHints(list, hand.data(), static_cast<int>(hand.size()), beat.data(), static_cast<int>(beat.size()),
                   rules);
        candidates += list.Count();
    }
    Rebuild out;
    out.us = Seconds(start) * 1e6 / rounds;
    out.candidates = candidates / rounds;
    return out;
}

// Every play to beat of one kind (natural count, small, big jokers) against
// both hands; prints the slowest.
int BenchHints(int rounds, int onlyKind)
{
    struct Kind {
        int kind;
        const char* name;
        std::vector<std::vector<int>> plays;  // {naturals, small, big}
    };
    const Kind kinds[] = {
        {1, "single", {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
        {2, "group", {{2, 0, 0}, {3, 0, 0}, {4, 0, 0}, {5, 0, 0}, {6, 0, 0}, {8, 0, 0}}},
        {3, "group with jokers", {{1, 1, 0}, {1, 0, 1}, {3, 1, 0}, {3, 0, 1}, {2, 1, 1}, {3, 2, 0}, {2, 2, 1},
                                  {2, 0, 2}, {5, 1, 1}, {6, 2, 0}}},
        {4, "jokers only", {{0, 2, 0}, {0, 1, 1}, {0, 0, 2}, {0, 2, 1}, {0, 4, 0}, {0, 3, 3}}},
    };
    for (const Kind& k : kinds) {
        if (onlyKind > 0 && k.kind != onlyKind)
            continue;
        Rebuild worst;
        for (int copies : {3, 4}) {
            const std::vector<CardEntry> hand = FullHand(copies);
            for (const std::vector<int>& p : k.plays) {
                Rebuild r = TimeRebuilds(hand, PlayToBeat(p[0], p[1], p[2]), rounds);
                if (r.us <= worst.us)
                    continue;
                char what[96];
                std::snprintf(what, sizeof what, "%d x rank 0 + %d small + %d big, %d of each rank", p[0], p[1],
                              p[2], copies);
                r.what = what;
                worst = r;
            }
        }
        std::printf("hint rebuild, 44 cards against kind %d %-18s worst %6.1f us (%2ld candidates; %s)\n",
                    k.kind, k.name, worst.us, worst.candidates, worst.what.c_str());
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string what = argc > 1 ? argv[1] : "";
    const int n = argc > 2 ? std::atoi(argv[2]) : 0;
    if (what == "hands")
        return BenchHands(n > 0 ? n : 100, false);
    if (what == "hints")
        return BenchHints(n > 0 ? n : 1000, argc > 3 ? std::atoi(argv[3]) : 0);
    if (what == "hint" && argc == 7) {
        const Rebuild r = TimeRebuilds(FullHand(std::atoi(argv[6]) == 4 ? 4 : 3),
                                       PlayToBeat(std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5])),
                                       n > 0 ? n : 1000);
        std::printf("hint rebuild: %.1f us (%ld candidates)\n", r.us, r.candidates);
        return 0;
    }
    int failed = BenchHands(300, false);
    failed |= BenchHands(100, true);
    failed |= BenchHints(2000, 0);
    return failed;
}
