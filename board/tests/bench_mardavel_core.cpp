// Prints the cost of a deal and of classifying and comparing a play. Not a
// test: run it by hand on a quiet machine.
#include <chrono>
#include <cstdio>
#include <vector>

#include "BoardRandom.h"
#include "MardavelCards.h"
#include "MardavelState.h"

namespace {

using Clock = std::chrono::steady_clock;

double NanosecondsPer(Clock::time_point start, long count)
{
    return std::chrono::duration<double, std::nano>(Clock::now() - start).count() / count;
}

void BenchDeal(const char* name, int shortPacks, int kickRules)
{
    BoardGameState state;
    MardavelSideData side;
    InitBoardGameState(state);
    InitSideData(side);
    SetRuleOption(state, side, kOptShortPacks, shortPacks);
    SetRuleOption(state, side, kOptKickRules, kickRules);
    BoardRandom random(1);
    const long deals = 20000;
    long check = 0;
    auto start = Clock::now();
    for (long i = 0; i < deals; ++i)
        check += DealCards(state, side, random, static_cast<unsigned>(i)).emperorCardSeat;
    std::printf("deal, %-11s %8.0f ns per deal (check %ld)\n", name, NanosecondsPer(start, deals), check);
}

void BenchBeat()
{
    // Plays of every kind against a matching last play, rule option 0 on.
    const std::vector<std::vector<uint8_t>> plays = {
        {7}, {7, 20}, {7, 20, 33, 52}, {53, 107, 7, 20, 33}, {52, 106}, {8, 21, 34, 47, 62, 75},
    };
    const std::vector<std::vector<uint8_t>> lasts = {
        {5}, {5, 18}, {5, 18, 31, 53}, {52, 5, 18}, {52, 53}, {6, 19, 32, 45, 60, 73},
    };
    BoardGameState state;
    InitBoardGameState(state);
    const long rounds = 200000;
    long check = 0;
    CardEntry play[kCardAreaSize];
    CardEntry last[kCardAreaSize];
    auto start = Clock::now();
    for (long r = 0; r < rounds; ++r) {
        for (size_t i = 0; i < plays.size(); ++i) {
            const int n = static_cast<int>(plays[i].size());
            const int m = static_cast<int>(lasts[i].size());
            SetCardsFromIds(play, plays[i].data(), n, state);
            SetCardsFromIds(last, lasts[i].data(), m, state);
            check += BeatTest(play, n, last, m, true);
        }
    }
    std::printf("classify + beat test: %8.0f ns per comparison (check %ld)\n",
                NanosecondsPer(start, rounds * static_cast<long>(plays.size())), check);
}

}  // namespace

int main()
{
    BenchDeal("216 cards", 0, 0);
    BenchDeal("168 cards", 1, 0);
    BenchDeal("165 cards", 1, 1);
    BenchBeat();
    return 0;
}
