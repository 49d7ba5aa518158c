// Table state: the defaults of a new board and the rule options, read at the
// byte offsets where the host reads them.
#include <gtest/gtest.h>

#include <cstring>

#include "MardavelState.h"

namespace {

int32_t I32At(const BoardGameState& s, size_t offset)
{
    int32_t v;
    std::memcpy(&v, reinterpret_cast<const uint8_t*>(&s) + offset, sizeof v);
    return v;
}

uint8_t U8At(const BoardGameState& s, size_t offset)
{
    return reinterpret_cast<const uint8_t*>(&s)[offset];
}

struct Board {
    BoardGameState state;
    MardavelSideData side;
    Board()
    {
        InitBoardGameState(state);
        InitSideData(side);
    }
};

TEST(StateTest, NewBoardDefaults)
{
    Board b;
    struct Case { size_t offset; int32_t value; };
    const Case words[] = {
        {3664, 0},                              // phase idle
        {3684, -1}, {3688, -1},                 // no emperor, no guard
        {3712, 20}, {3728, 20}, {3732, 20}, {3748, 20},  // clocks
        {3752, 20}, {3756, 10}, {3760, 30}, {3764, 20},  // options 3-6
        {3768, 1}, {3772, 0}, {3776, 1}, {3780, 0},      // options 9, 2, 1, 0
        {3784, 1},                              // option 7
        {3876, 1 << 20},                        // one hand per match, option 12 off
    };
    for (const Case& c : words)
        EXPECT_EQ(I32At(b.state, c.offset), c.value) << c.offset;
    EXPECT_EQ(U8At(b.state, 3788), 0);
    EXPECT_EQ(U8At(b.state, 3873), 0);
    EXPECT_EQ(U8At(b.state, 3874), 0);
    EXPECT_EQ(U8At(b.state, 3875), 255);
    EXPECT_EQ(HandsPerMatch(b.state), 1);

    for (uint8_t v : b.side.tableSummary)
        EXPECT_EQ(v, 255);
    EXPECT_EQ(b.side.nextDealSeat, -1);
    EXPECT_EQ(b.side.firstOutSeat, -1);
    EXPECT_EQ(b.side.liveTable, 1u);
    EXPECT_EQ(b.side.option100, 0);
}

TEST(StateTest, EachOptionLandsInItsField)
{
    struct Case { int id; int value; size_t offset; bool byte; };
    const Case cases[] = {
        {0, 1, 3780, false}, {1, 0, 3776, false}, {2, 1, 3772, false}, {3, 25, 3752, false},
        {4, 12, 3756, false}, {5, 40, 3760, false}, {6, 15, 3764, false}, {7, 0, 3784, false},
        {8, 7, 3788, true}, {9, 0, 3768, false}, {10, 1, 3873, true}, {11, 1, 3874, true},
    };
    for (const Case& c : cases) {
        Board b;
        SetRuleOption(b.state, b.side, c.id, c.value);
        int32_t got = c.byte ? U8At(b.state, c.offset) : I32At(b.state, c.offset);
        EXPECT_EQ(got, c.value) << "option " << c.id;
    }
}

TEST(StateTest, KickRulesSetAndClearTheirBits)
{
    Board b;
    SetRuleOption(b.state, b.side, kOptKickRules, 5);
    EXPECT_EQ(b.state.ruleFlags, kRuleFlagOption12 | (1u << 20));
    EXPECT_TRUE(KickRulesOn(b.state));
    b.state.ruleFlags |= 0x00070000u | 0x300u;  // bits 16-18 and a kick stage
    SetRuleOption(b.state, b.side, kOptKickRules, 0);
    EXPECT_EQ(b.state.ruleFlags, 0x300u | (1u << 20));  // only bits 16-19 go
}

TEST(StateTest, HandsPerMatchReplacesTheAgreedNumber)
{
    struct Case { int value; int hands; };
    const Case cases[] = {{2, 2}, {3, 3}, {15, 15}, {16, 15}, {0, 0}, {-4, 0}};
    for (const Case& c : cases) {
        Board b;
        b.state.ruleFlags |= kRuleFlagOption12 | 0x1Fu;
        SetRuleOption(b.state, b.side, kOptHandsPerMatch, c.value);
        EXPECT_EQ(HandsPerMatch(b.state), c.hands) << c.value;
        EXPECT_EQ(b.state.ruleFlags & ~kRuleFlagHandsMask, kRuleFlagOption12 | 0x1Fu) << c.value;
    }
}

TEST(StateTest, MatchGoesOnUntilTheAgreedHands)
{
    Board b;
    SetRuleOption(b.state, b.side, kOptHandsPerMatch, 2);
    EXPECT_TRUE(MatchGoesOn(b.state));
    b.state.handsFinished = 1;
    EXPECT_TRUE(MatchGoesOn(b.state));
    b.state.handsFinished = 2;
    EXPECT_FALSE(MatchGoesOn(b.state));
}

TEST(StateTest, OtherOptionsAreAcceptedAndIgnored)
{
    Board b;
    BoardGameState before = b.state;
    SetRuleOption(b.state, b.side, kOptStored100, 9);
    SetRuleOption(b.state, b.side, 14, 9);
    SetRuleOption(b.state, b.side, -1, 9);
    SetRuleOption(b.state, b.side, 999, 9);
    EXPECT_EQ(std::memcmp(&before, &b.state, sizeof before), 0);
    EXPECT_EQ(b.side.option100, 9);
}

}  // namespace
