// Whole hands and matches of a referee and five player boards, with watchers,
// that talk through messages alone. Decisions and plays come from the boards'
// hints and from the automatic action; after every message the cards add up,
// and after every step each board agrees with the referee.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "MardavelBoard.h"
#include "MardavelTableHarness.h"

namespace {

std::string Problems(const TableHarness& t)
{
    std::string all;
    for (const std::string& p : t.Problems())
        all += p + "\n";
    return all;
}

// The options that change the flow of a hand, one bit each.
std::vector<std::pair<int, int>> FlowOptions(int mask)
{
    return {
        {kOptMoreCardsBeat, mask & 1 ? 1 : 0},
        {kOptLowestLast, mask & 2 ? 1 : 0},
        {kOptAllSeatsGuardStep, mask & 4 ? 0 : 1},
        {kOptShortPacks, mask & 8 ? 0 : 1},
        {kOptJointFirstDecision, mask & 16 ? 1 : 0},
        {kOptNoGuardCard, mask & 32 ? 1 : 0},
        {kOptKickRules, mask & 64 ? 1 : 0},
    };
}

TEST(MatchTest, EveryCombinationOfTheFlowOptions)
{
    std::map<std::string, int> paths;
    for (int mask = 0; mask < 128; ++mask) {
        for (uint32_t seed : {1u + static_cast<uint32_t>(mask), 1000u + static_cast<uint32_t>(mask)}) {
            SCOPED_TRACE("options " + std::to_string(mask) + ", seed " + std::to_string(seed));
            TableHarness t(seed);
            std::vector<std::pair<int, int>> options = FlowOptions(mask);
            options.push_back({kOptHandsPerMatch, 2});
            t.Setup(options, {0, 3});
            t.LetWatchersSee(0);
            t.SetTrustToggles(4);
            if (mask % 8 == 0)
                t.SetPassPercent(85);  // the emperor's card goes round: dealt again
            if (seed % 4 == 0)
                t.SetTrustPlay(static_cast<int>(seed % kBoardSeats), true);
            ASSERT_TRUE(t.PlayHands(2)) << Problems(t);
            EXPECT_TRUE(t.Problems().empty()) << Problems(t);
            for (const auto& p : t.Count().paths)
                paths[p.first] += p.second;
        }
    }
    // The runs went down the main paths (the rare ones have their own tests).
    for (const char* path : {"emperor 1", "emperor 2", "emperor 3 self", "emperor 3 other", "guard 3", "guard 4",
                             "guard 5", "kick 2", "kick 3", "named guard", "result 1", "result 2", "result 3",
                             "result 4", "result 5", "result 6", "result 7"})
        EXPECT_GT(paths[path], 0) << path;
    std::string seen;
    for (const auto& p : paths)
        seen += " [" + p.first + "] " + std::to_string(p.second);
    std::printf("paths:%s\n", seen.c_str());
}

TEST(MatchTest, AWholeMatchEndsOnEveryBoard)
{
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        TableHarness t(seed);
        t.Setup({{kOptHandsPerMatch, 3}}, {1});
        t.SetTrustToggles(3);
        ASSERT_TRUE(t.PlayHands(3)) << Problems(t);
        EXPECT_TRUE(t.Problems().empty()) << Problems(t);
        EXPECT_EQ(t.Count().matchesOver, 1);
        for (const auto& p : t.Parties())
            EXPECT_EQ(p->state->handsFinished, 3u) << p->index;
        // The next hand begins a new match.
        ASSERT_TRUE(t.PlayHands(1)) << Problems(t);
        EXPECT_EQ(t.RefereeState().handsFinished, 1u);
        EXPECT_TRUE(t.Problems().empty()) << Problems(t);
    }
}

TEST(MatchTest, SeededDealsAreReproducible)
{
    auto run = [](uint32_t seed) {
        TableHarness t(seed);
        t.Setup({{kOptHandsPerMatch, 2}}, {2});
        EXPECT_TRUE(t.PlayHands(2)) << Problems(t);
        return t.Count().digest;
    };
    EXPECT_EQ(run(77), run(77));
    EXPECT_NE(run(77), run(78));
}

TEST(MatchTest, ManyHandsWithTheDefaultOptions)
{
    TableHarness t(4242);
    t.Setup({{kOptHandsPerMatch, 15}}, {0, 1, 2, 3, 4});
    t.LetWatchersSee(2);
    t.SetTrustToggles(5);
    ASSERT_TRUE(t.PlayHands(40)) << Problems(t);
    EXPECT_TRUE(t.Problems().empty()) << Problems(t);
    EXPECT_GT(t.Count().trustToggles, 0);
}

}  // namespace
