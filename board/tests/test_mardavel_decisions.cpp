// Deciding the emperor and the guard on the table state: the checks with
// their log lines, the cards that go with the emperor's card, and the outcome
// of each decision round.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "MardavelDecisions.h"
#include "MardavelPlay.h"
#include "MardavelTestCards.h"

namespace {

using mardavel_test::Cards;
using mardavel_test::Ranks;
using mardavel_test::SetHand;

const DeciderSide kPlayer{false, -1};
DeciderSide Referee(int sender) { return DeciderSide{true, sender}; }

BoardGameState Phase(uint32_t phase)
{
    BoardGameState s = mardavel_test::DefaultState();
    s.phase = phase;
    s.seatToAct = 2;
    s.leadSeat = 2;
    s.emperorSeat = 2;
    s.guardSeat = 4;
    return s;
}

struct CheckCase {
    const char* what;
    std::function<void(BoardGameState&)> setUp;
    int seat;
    DeciderSide side;
    bool ok;
    std::string line;
};

void RunChecks(const std::vector<CheckCase>& cases,
               Verdict (*check)(const BoardGameState&, int, const DeciderSide&), uint32_t phase)
{
    for (const CheckCase& c : cases) {
        BoardGameState s = Phase(phase);
        if (c.setUp)
            c.setUp(s);
        const Verdict v = check(s, c.seat, c.side);
        EXPECT_EQ(v.ok, c.ok) << c.what;
        EXPECT_EQ(v.line, c.line) << c.what;
    }
}

void Joint(BoardGameState& s)
{
    s.optJointFirstDecision = 1;
    s.tableFlags |= kTableFirstDecisionOpen;
}

TEST(EmperorCheckTest, Table)
{
    const std::vector<CheckCase> cases = {
        {"the seat to act", nullptr, 2, kPlayer, true, ""},
        {"wrong phase", [](BoardGameState& s) { s.phase = kPhaseGuard; }, 2, kPlayer, false, "不是决定皇帝阶段:2"},
        {"not the seat to act", nullptr, 3, kPlayer, false, "该玩家没有皇牌"},
        {"referee: the sender's seat", nullptr, 2, Referee(2), true, ""},
        {"referee: another sender", nullptr, 2, Referee(1), false, "CanDetermineEmperor 2"},
        {"referee: a watcher", nullptr, 2, Referee(-1), false, "CanDetermineEmperor 2"},
        {"joint: any seat", Joint, 3, Referee(3), true, ""},
        {"joint: decided", [](BoardGameState& s) { Joint(s); s.readyMarks[3] = 1; }, 3, Referee(3), false,
         "CanDetermineEmperor 1"},
        {"joint with kicks: the player accepts", [](BoardGameState& s) {
             Joint(s);
             s.readyMarks[3] = 1;
             s.ruleFlags |= kRuleFlagOption12;
         }, 3, kPlayer, true, ""},
        {"joint with kicks: the referee refuses silently", [](BoardGameState& s) {
             Joint(s);
             s.readyMarks[3] = 1;
             s.ruleFlags |= kRuleFlagOption12;
         }, 3, Referee(3), false, ""},
        {"joint done: back to the seat to act", [](BoardGameState& s) { s.optJointFirstDecision = 1; }, 3,
         Referee(3), false, "该玩家没有皇牌"},
    };
    RunChecks(cases, &CanDetermineEmperor, kPhaseEmperor);
}

TEST(GuardCheckTest, Table)
{
    auto noAllSeats = [](BoardGameState& s) { s.optAllSeatsGuardStep = 0; };
    const std::vector<CheckCase> cases = {
        {"any seat with rule option 7", nullptr, 1, kPlayer, true, ""},
        {"wrong phase", [](BoardGameState& s) { s.phase = kPhasePlay; }, 4, kPlayer, false, "不是侍卫决定明暗保阶段:3"},
        {"the guard alone", noAllSeats, 4, kPlayer, true, ""},
        {"another seat without rule option 7", noAllSeats, 1, kPlayer, false, "不是侍卫确发送了侍卫消息"},
        {"no guard known: the emperor's board refuses", [](BoardGameState& s) {
             s.optAllSeatsGuardStep = 0;
             s.guardSeat = -1;
         }, 2, kPlayer, false, "不是侍卫确发送了侍卫消息"},
        {"the emperor is his own guard", [](BoardGameState& s) { s.optAllSeatsGuardStep = 0; s.guardSeat = 2; }, 2,
         kPlayer, true, ""},
        {"decided", [](BoardGameState& s) { s.readyMarks[1] = 1; }, 1, kPlayer, false, ""},
        {"kicks: a player may repeat", [](BoardGameState& s) { s.readyMarks[1] = 1; s.ruleFlags |= kRuleFlagOption12; },
         1, kPlayer, true, ""},
        {"kicks: the referee refuses", [](BoardGameState& s) { s.readyMarks[1] = 1; s.ruleFlags |= kRuleFlagOption12; },
         1, Referee(1), false, ""},
        {"kicks: stage begun", [](BoardGameState& s) { s.ruleFlags |= kRuleFlagOption12 | kKickStageOpen; }, 1,
         kPlayer, false, ""},
        {"referee: another sender", nullptr, 1, Referee(0), false, ""},
    };
    RunChecks(cases, &CanDetermineGuard, kPhaseGuard);
}

TEST(KickCheckTest, Table)
{
    auto stage = [](uint32_t st) {
        return [st](BoardGameState& s) { s.ruleFlags |= kRuleFlagOption12 | st; };
    };
    const std::vector<CheckCase> cases = {
        {"wrong phase", [](BoardGameState& s) { s.phase = kPhasePlay; }, 1, kPlayer, false, "不是侍卫决定明暗保阶段:3"},
        {"the player side checks the phase only", stage(kKickStageOpen), 2, kPlayer, true, ""},
        {"open: another seat", stage(kKickStageOpen), 1, Referee(1), true, ""},
        {"kick mark set", [&](BoardGameState& s) { stage(kKickStageOpen)(s); s.ruleFlags |= 1u << 1; }, 1,
         Referee(1), false, "CanDetermineKick 1"},
        {"decided", [&](BoardGameState& s) { stage(kKickStageOpen)(s); s.readyMarks[1] = 1; }, 1, Referee(1), false,
         "CanDetermineKick 1"},
        {"another sender", stage(kKickStageOpen), 1, Referee(0), false, "CanDetermineKick 2"},
        {"open: the emperor", stage(kKickStageOpen), 2, Referee(2), false, "CanDetermineKick 3"},
        {"open: the guard", stage(kKickStageOpen), 4, Referee(4), false, "CanDetermineKick 3"},
        {"called out: another seat", stage(kKickStageCalledOut), 1, Referee(1), false, "CanDetermineKick 4"},
        {"called out: the guard", stage(kKickStageCalledOut), 4, Referee(4), true, ""},
        {"alone: the emperor", stage(kKickStageAlone), 2, Referee(2), false, "CanDetermineKick 5"},
        {"alone: another seat", stage(kKickStageAlone), 3, Referee(3), true, ""},
        {"no kick stage", [](BoardGameState& s) { s.ruleFlags |= kRuleFlagOption12; }, 1, Referee(1), false, ""},
    };
    RunChecks(cases, &CanDetermineKick, kPhaseGuard);
}

TEST(EmperorPassTest, TheCardAndTheHighestPlainCardGo)
{
    struct Case {
        const char* what;
        const char* hand;
        bool firstDecisionOpen;
        bool passHighCard;
        int passedBefore;  // entries (in group order) already flagged as received
        std::string passed;
    };
    const Case cases[] = {
        {"emperor's card and the highest plain card", "E S B 12 9 9", false, true, -1, "B 12"},
        {"the first decision: the card alone", "E S B 12 9 9", true, true, -1, "B"},
        {"rule option 1 off: the card alone", "E S B 12 9 9", false, false, -1, "B"},
        {"a received card stays flagged and goes on", "E 12 9", false, true, 1, "B 12 9"},
    };
    for (const Case& c : cases) {
        BoardGameState s = Phase(kPhaseEmperor);
        s.optPassHighCard = c.passHighCard;
        if (c.firstDecisionOpen)
            s.tableFlags |= kTableFirstDecisionOpen;
        SetHand(s, 2, c.hand);
        if (c.passedBefore >= 0) {
            // the 12 came with the card last time
            for (int i = 0; i < HandCount(s, 2); ++i)
                if (s.hands[2][i].rank == 12)
                    s.hands[2][i].flags |= kCardPassed;
        }
        uint8_t ids[kMaxPassedCards];
        const int n = BuildEmperorPass(s, 2, ids);
        std::vector<CardEntry> passed;
        for (int i = 0; i < n; ++i)
            passed.push_back(MakeCardEntry(ids[i], s));
        EXPECT_EQ(Ranks(passed.data(), n), c.passed) << c.what;
        EXPECT_EQ(ids[0], kEmperorCardId) << c.what;
    }
}

TEST(EmperorPassTest, NineCardsAtMost)
{
    BoardGameState s = Phase(kPhaseEmperor);
    SetHand(s, 2, "E 12 11 10 9 8 7 6 5 4 3");
    for (int i = 0; i < HandCount(s, 2); ++i)
        if (s.hands[2][i].rank < 12)
            s.hands[2][i].flags |= kCardPassed;
    uint8_t ids[kMaxPassedCards];
    EXPECT_EQ(BuildEmperorPass(s, 2, ids), kMaxPassedCards);
}

TEST(EmperorPassTest, TargetIsTheSeatBefore)
{
    BoardGameState s = Phase(kPhaseEmperor);
    EXPECT_EQ(EmperorPassTarget(s, 0), 4);
    EXPECT_EQ(EmperorPassTarget(s, 3), 2);
    s.ruleFlags |= kRuleFlagOption12;
    EXPECT_EQ(EmperorPassTarget(s, 0), 2);
    EXPECT_EQ(EmperorPassTarget(s, 4), 1);
}

TEST(JointDecisionTest, TheSeatToActFirstThenBackwards)
{
    BoardGameState s = Phase(kPhaseEmperor);
    s.seatToAct = 2;
    EXPECT_EQ(JointDecisionWinner(s), -1);
    s.firstChoices[4] = kFirstChoiceAlone;
    s.firstChoices[0] = kFirstChoiceAlone;
    EXPECT_EQ(JointDecisionWinner(s), 0);  // 2, 1, 0 before 4
    s.firstChoices[2] = kFirstChoiceAlone;
    EXPECT_EQ(JointDecisionWinner(s), 2);
}

TEST(GuardRoundTest, Table)
{
    struct Case {
        const char* what;
        bool allSeats;
        bool kick;
        int emperor, guard;
        std::vector<int> marks;
        int decided;
        bool complete;
        int result, seat;
    };
    const Case cases[] = {
        {"the guard alone: open", false, false, 2, 4, {0, 0, 0, 0, -1}, 1, true, kGuardOpen, 4},
        {"the guard alone: hidden", false, false, 2, 4, {0, 0, 0, 0, 0}, 1, true, kGuardHidden, -1},
        {"four decide", true, false, 2, 4, {0, 0, 0, 0, 0}, 3, false, kGuardHidden, -1},
        {"four decided, one calls", true, false, 2, 4, {1, 0, 0, 0, 0}, 4, true, kGuardHidden, -1},
        {"two call the guard out", true, false, 2, 4, {1, 1, 0, 0, 0}, 4, true, kGuardCalledOut, 4},
        {"emperor his own guard: five decide", true, false, 2, 2, {0, 0, 0, 0, 0}, 4, false, kGuardHidden, -1},
        {"kicks: the guard opens at once", true, true, 2, 4, {0, 0, 0, 0, -1}, 1, true, kGuardOpen, 4},
        {"kicks: two calls end it at once", true, true, 2, 4, {1, 1, 0, 0, 0}, 2, true, kGuardCalledOut, 4},
    };
    for (const Case& c : cases) {
        BoardGameState s = Phase(kPhaseGuard);
        s.optAllSeatsGuardStep = c.allSeats;
        if (c.kick)
            s.ruleFlags |= kRuleFlagOption12;
        s.emperorSeat = c.emperor;
        s.guardSeat = c.guard;
        for (int i = 0; i < kBoardSeats; ++i)
            s.decisionMarks[i] = c.marks[static_cast<size_t>(i)];
        s.readyCount = c.decided;
        EXPECT_EQ(GuardRoundComplete(s), c.complete) << c.what;
        const GuardOutcome out = ResolveGuardRound(s);
        EXPECT_EQ(out.result, c.result) << c.what;
        EXPECT_EQ(out.seat, c.seat) << c.what;
    }
}

TEST(KickRoundTest, Table)
{
    struct Case {
        const char* what;
        uint32_t stage;
        int emperor, guard;
        uint32_t kickMarks;
        int decided, decidingSeat;
        bool complete;
        int result;
    };
    const Case cases[] = {
        {"open: three decide, nobody kicks", kKickStageOpen, 2, 4, 0, 3, 1, true, kKickNone},
        {"open: two decisions, one kick", kKickStageOpen, 2, 4, 0x1, 2, 1, false, kKickNone},
        {"open: two kicks end it", kKickStageOpen, 2, 4, 0x3, 2, 1, true, kKickThree},
        {"alone: four decide", kKickStageAlone, 2, 2, 0x1, 3, 1, false, kKickNone},
        {"alone: two kicks", kKickStageAlone, 2, 2, 0x9, 2, 3, true, kKickThree},
        {"called out: the emperor kicks", kKickStageCalledOut, 2, 4, 0x4, 1, 2, true, kKickEmperor},
        {"called out: the guard kicks", kKickStageCalledOut, 2, 4, 0x10, 1, 4, true, kKickGuard},
        {"called out: both decline", kKickStageCalledOut, 2, 4, 0, 2, 4, true, kKickNone},
        {"called out: one declines", kKickStageCalledOut, 2, 4, 0, 1, 2, false, kKickNone},
        {"called out, emperor his own guard", kKickStageCalledOut, 2, 2, 0, 1, 2, true, kKickNone},
    };
    for (const Case& c : cases) {
        BoardGameState s = Phase(kPhaseGuard);
        s.ruleFlags |= kRuleFlagOption12 | c.stage | c.kickMarks;
        s.emperorSeat = c.emperor;
        s.guardSeat = c.guard;
        s.readyCount = c.decided;
        EXPECT_EQ(KickRoundComplete(s), c.complete) << c.what;
        EXPECT_EQ(ResolveKickRound(s, c.decidingSeat), c.result) << c.what;
    }
}

TEST(NamedGuardTest, Table)
{
    struct Case {
        const char* what;
        std::vector<std::string> hands;
        int guard;
        bool named;
    };
    const Case cases[] = {
        {"three identical: the next holder in seat order", {"9c 7", "5c", "5c 5c 5c 6", "5c", "9c"}, 1, true},
        {"four identical: the emperor", {"9c", "", "5c 5c 5c 5c", "", ""}, 2, true},
        {"nobody holds the fourth", {"9c", "7", "5c 5c 5c", "5d", ""}, -1, true},
        {"no three identical", {"5c", "5c", "5c 5c 6", "", ""}, -1, false},
    };
    for (const Case& c : cases) {
        BoardGameState s = Phase(kPhaseEmperor);
        s.optNoGuardCard = 1;
        for (int seat = 0; seat < kBoardSeats; ++seat)
            SetHand(s, seat, c.hands[static_cast<size_t>(seat)]);
        const NamedGuard g = FindNamedGuard(s, 2);
        EXPECT_EQ(g.named, c.named) << c.what;
        EXPECT_EQ(g.guardSeat, c.guard) << c.what;
        if (g.guardSeat >= 0) {
            const CardEntry& card = s.hands[g.guardSeat][g.cardIndex];
            EXPECT_EQ(card.rank, 5) << c.what;
            EXPECT_EQ(card.suit, 0) << c.what;
        }
    }
}

}  // namespace
