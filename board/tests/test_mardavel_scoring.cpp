// Scoring of a hand: the score arithmetic and result codes, doubling and the
// host's factor, the totals, and the score message on both sides.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "MardavelCards.h"
#include "MardavelScoring.h"
#include "MardavelState.h"

namespace {

using Five = std::vector<int>;

struct Table {
    BoardGameState state;
    MardavelSideData side;
    Table()
    {
        InitBoardGameState(state);
        InitSideData(side);
    }
    void Hand(int e, int g, const Five& places, const Five& marks, uint32_t tableFlags = 0, bool kick = false)
    {
        state.emperorSeat = e;
        state.guardSeat = g;
        for (int i = 0; i < kBoardSeats; ++i) {
            state.finishPlace[i] = places[i];
            state.decisionMarks[i] = marks[i];
        }
        state.tableFlags = tableFlags;
        SetRuleOption(state, side, kOptKickRules, kick ? 1 : 0);
    }
    void Name(int seat, const char* name)
    {
        std::strncpy(state.seats[seat].player.userName, name, sizeof state.seats[seat].player.userName);
    }
};

Five ToFive(const int32_t* v) { return Five(v, v + kBoardSeats); }

const Five kNoMarks = {0, 0, 0, 0, 0};

TEST(ScoreArithmeticTest, Table)
{
    struct Case {
        const char* what;
        int e, g;
        Five places, marks;
        uint32_t tableFlags;
        bool kick;
        Five scores;
        int result;
        bool sumsToZero;
    };
    const Case cases[] = {
        {"emperor and guard first and second", 0, 1, {1, 2, 3, 4, 5}, kNoMarks, 0, false, {6, 3, -3, -3, -3}, 4, true},
        {"the same, guard decided open", 0, 1, {1, 2, 3, 4, 5}, {0, 1, 0, 0, 0}, 0, false, {12, 6, -6, -6, -6}, 4, true},
        {"emperor and guard last", 2, 4, {1, 2, 5, 3, 4}, kNoMarks, 0, false, {3, 3, -6, 3, -3}, 3, true},
        {"side behind", 0, 1, {3, 4, 1, 2, 5}, kNoMarks, 0, false, {-2, -1, 1, 1, 1}, 5, true},
        {"side ahead", 0, 1, {1, 4, 2, 3, 5}, kNoMarks, 0, false, {2, 1, -1, -1, -1}, 6, true},
        {"side even", 0, 1, {1, 5, 2, 3, 4}, kNoMarks, 0, false, {0, 0, 0, 0, 0}, 7, true},
        {"alone, hidden, first", 3, 3, {2, 3, 4, 1, 5}, kNoMarks, 0, false, {-3, -3, -3, 12, -3}, 2, true},
        {"alone, hidden, second", 3, 3, {1, 3, 4, 2, 5}, kNoMarks, 0, false, {0, 0, 0, 0, 0}, 7, true},
        {"alone, hidden, third", 3, 3, {1, 2, 4, 3, 5}, kNoMarks, 0, false, {3, 3, 3, -12, 3}, 1, true},
        {"alone, called out, first", 3, 3, {2, 3, 4, 1, 5}, {0, 0, 0, 1, 0}, kTableGuardCalledOut, false,
         {-6, -6, -6, 24, -6}, 2, true},
        {"alone, declared, out first", 3, 3, {0, 0, 0, 1, 0}, {0, 0, 0, 1, 0}, 0, false, {-6, -6, -6, 24, -6}, 2, true},
        {"alone, declared, not out", 3, 3, {1, 0, 0, 0, 0}, {0, 0, 0, 1, 0}, 0, false, {6, 6, 6, -24, 6}, 1, true},
        {"kick rules, guard open", 0, 1, {1, 2, 3, 4, 5}, {0, 1, 0, 0, 0}, 0, true, {9, 9, -6, -6, -6}, 4, true},
        {"kick rules, kick result, odd F", 0, 1, {1, 4, 2, 3, 5}, kNoMarks, kTableKickResult3, true,
         {1, 1, -1, -1, -1}, 6, false},
        {"kick rules, called out", 0, 1, {1, 2, 3, 4, 5}, kNoMarks, kTableGuardCalledOut, true,
         {4, 4, -3, -3, -3}, 4, false},
        {"kick rules, no bonus", 0, 1, {1, 4, 2, 3, 5}, kNoMarks, 0, true, {2, 1, -1, -1, -1}, 6, true},
        {"no emperor", -1, -1, {1, 2, 3, 4, 5}, kNoMarks, 0, false, {0, 0, 0, 0, 0}, 7, true},
        {"no guard known", 2, -1, {2, 3, 1, 4, 5}, kNoMarks, 0, false, {-3, -3, 12, -3, -3}, 2, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Table t;
        t.Hand(c.e, c.g, c.places, c.marks, c.tableFlags, c.kick);
        HandScore h = ComputeHandScore(t.state);
        EXPECT_EQ(ToFive(h.scores), c.scores);
        EXPECT_EQ(h.resultCode, c.result);
        int sum = 0;
        for (int s : h.scores)
            sum += s;
        if (c.sumsToZero) {
            EXPECT_EQ(sum, 0);
        }
    }
}

TEST(ScoreHandTest, KickResultsDoubleEveryScore)
{
    struct Case { uint32_t flags; int factor; };
    const Case cases[] = {{0, 1}, {kTableKickResult3, 2}, {kTableKickResult4, 2}, {kTableKickResult5, 2},
                          {kTableGuardCalledOut, 1}, {kTableSeatPlaysAlone, 1}};
    for (const Case& c : cases) {
        Table t;
        t.Hand(0, 1, {1, 2, 3, 4, 5}, kNoMarks, c.flags);
        ScoredHand s = ScoreHand(t.state, nullptr, ScoreFactorFn());
        Five expected;
        for (int v : {6, 3, -3, -3, -3})
            expected.push_back(v * c.factor);
        EXPECT_EQ(ToFive(s.scores), expected) << std::hex << c.flags;
        EXPECT_EQ(s.resultCode, 4);
    }
}

TEST(ScoreHandTest, HostFactorUsedOnlyWhenTheHostSaysSo)
{
    struct Call { int seat; uint32_t one; int32_t score; double factor; };
    struct Case { const char* what; int answer; double factor; Five expected; };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {"used", 1, 1.5, {9, 4, -4, -4, -4}},        // integer part: -4.5 gives -4
        {"answer 0 keeps 1.0", 0, 3.0, {6, 3, -3, -3, -3}},
        {"not a number is ignored", 1, nan, {6, 3, -3, -3, -3}},
        {"beyond the range is clamped", 1, 1e12,
         {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN, INT32_MIN}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Table t;
        t.Hand(0, 1, {1, 2, 3, 4, 5}, kNoMarks);
        std::vector<Call> calls;
        ScoreFactorFn fn = [&](int seat, ScoreFactorBlock& block) {
            calls.push_back({seat, block.one, block.score, block.factor});
            block.factor = c.factor;
            return c.answer;
        };
        ScoredHand s = ScoreHand(t.state, nullptr, fn);
        EXPECT_EQ(ToFive(s.scores), c.expected);
        ASSERT_EQ(calls.size(), 5u);
        const int base[] = {6, 3, -3, -3, -3};
        for (int i = 0; i < kBoardSeats; ++i) {
            EXPECT_EQ(calls[i].seat, i);
            EXPECT_EQ(calls[i].one, 1u);
            EXPECT_EQ(calls[i].score, base[i]);
            EXPECT_EQ(calls[i].factor, 1.0);
        }
    }
}

TEST(ScoreHandTest, WithoutHostTheScoresStayUnscaled)
{
    Table t;
    t.Hand(0, 1, {1, 2, 3, 4, 5}, kNoMarks);
    EXPECT_EQ(ToFive(ScoreHand(t.state, nullptr, nullptr).scores), (Five{6, 3, -3, -3, -3}));
}

TEST(ScoreHandTest, TotalsAndRecordsGrow)
{
    Table t;
    t.Hand(0, 1, {1, 2, 3, 4, 5}, kNoMarks);
    t.state.handTotal[0] = 10;
    t.state.seats[0].player.scoreTotal = 100;
    t.state.trickCount = 4;
    t.state.checkCount = 2;
    BoardPlayerRecord records[kBoardSeats] = {};
    records[2].scoreTotal = -7;
    BoardPlayerRecord* list[kBoardSeats] = {&records[0], &records[1], &records[2], nullptr, &records[4]};

    ScoreHand(t.state, list, nullptr);
    EXPECT_EQ(ToFive(t.state.handTotal), (Five{16, 3, -3, -3, -3}));
    EXPECT_EQ(t.state.seats[0].player.scoreTotal, 106);
    EXPECT_EQ(t.state.seats[3].player.scoreTotal, -3);
    EXPECT_EQ(records[0].scoreTotal, 6);
    EXPECT_EQ(records[0].wins, 1u);
    EXPECT_EQ(records[0].losses, 0u);
    EXPECT_EQ(records[2].scoreTotal, -10);
    EXPECT_EQ(records[2].losses, 1u);
    EXPECT_EQ(records[4].games, 1u);
    EXPECT_EQ(t.state.trickCount, 0);
    EXPECT_EQ(t.state.checkCount, 0);

    Table draw;
    draw.Hand(0, 1, {1, 5, 2, 3, 4}, kNoMarks);
    BoardPlayerRecord r = {};
    BoardPlayerRecord* one[kBoardSeats] = {&r, nullptr, nullptr, nullptr, nullptr};
    ScoreHand(draw.state, one, nullptr);
    EXPECT_EQ(r.draws, 1u);
    EXPECT_EQ(r.games, 1u);
}

TEST(ScoreHandTest, UnusualScoresAreLogged)
{
    Table t;
    t.Hand(0, 1, {1, 2, 3, 4, 5}, kNoMarks);
    t.Name(0, "Alice");
    t.Name(1, "Bob");
    // A user name that fills all 20 bytes has no terminator.
    std::memset(t.state.seats[2].player.userName, 'x', sizeof t.state.seats[2].player.userName);
    ScoredHand s = ScoreHand(t.state, nullptr, [](int, ScoreFactorBlock& b) {
        b.factor = 14.0;
        return 1;
    });
    // 84, 42, -42, -42, -42: every seat beyond 40
    ASSERT_EQ(s.logLines.size(), 5u);
    EXPECT_EQ(s.logLines[0], "Alice分数计算异常，局分:84");
    EXPECT_EQ(s.logLines[1], "Bob分数计算异常，局分:42");
    EXPECT_EQ(s.logLines[2], std::string(20, 'x') + "分数计算异常，局分:-42");

    Table calm;
    calm.Hand(0, 1, {1, 2, 3, 4, 5}, kNoMarks);
    EXPECT_TRUE(ScoreHand(calm.state, nullptr, [](int, ScoreFactorBlock& b) {
                    b.factor = 13.0 / 3.0;  // 26, 13, -13: none beyond 40
                    return 1;
                }).logLines.empty());
}

// A referee table at the end of a hand: some cards left in three hands.
Table EndOfHand()
{
    Table t;
    t.Hand(0, 1, {1, 2, 3, 4, 5}, kNoMarks);
    const uint8_t left2[] = {5, 216, 40};
    const uint8_t left4[] = {217};
    const uint8_t left3[] = {12, 13};
    SetCardsFromIds(t.state.hands[2], left2, 3, t.state);
    SetCardsFromIds(t.state.hands[3], left3, 2, t.state);
    SetCardsFromIds(t.state.hands[4], left4, 1, t.state);
    t.state.seats[2].cardsInHand = 3;
    t.state.seats[3].cardsInHand = 2;
    t.state.seats[4].cardsInHand = 1;
    return t;
}

uint32_t Word(const std::vector<uint8_t>& body, size_t index)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | body[index * 4 + i];
    return v;
}

TEST(ScoreMessageTest, BodyLayout)
{
    Table t = EndOfHand();
    ScoredHand s = ScoreHand(t.state, nullptr, nullptr);
    std::vector<uint8_t> body = BuildScoreBody(t.state, s.scores, s.resultCode);
    ASSERT_EQ(body.size(), 68u + 6u);
    EXPECT_EQ(static_cast<int32_t>(Word(body, 0)), 6);
    EXPECT_EQ(static_cast<int32_t>(Word(body, 4)), -3);
    EXPECT_EQ(static_cast<int32_t>(Word(body, 5)), 6);   // hand totals follow
    EXPECT_EQ(Word(body, 10), 0u);                         // cards left per seat
    EXPECT_EQ(Word(body, 12), 3u);
    EXPECT_EQ(Word(body, 13), 2u);
    EXPECT_EQ(Word(body, 14), 1u);
    EXPECT_EQ(Word(body, 15), 4u);                         // result code
    EXPECT_EQ(Word(body, 16), 1u);                         // guard seat
    EXPECT_EQ(std::vector<uint8_t>(body.begin() + 68, body.end()),
              (std::vector<uint8_t>{5, 216, 40, 12, 13, 217}));
}

TEST(ScoreMessageTest, MalformedBodiesAreRefused)
{
    Table t = EndOfHand();
    ScoredHand s = ScoreHand(t.state, nullptr, nullptr);
    const std::vector<uint8_t> good = BuildScoreBody(t.state, s.scores, s.resultCode);
    ScoreMessage m;
    ASSERT_TRUE(ParseScoreBody(good.data(), good.size(), &m));

    auto withWord = [&](size_t index, uint32_t value) {
        std::vector<uint8_t> b = good;
        for (int i = 0; i < 4; ++i)
            b[index * 4 + i] = static_cast<uint8_t>(value >> (8 * i));
        return b;
    };
    struct Case { const char* what; std::vector<uint8_t> body; size_t length; };
    const Case cases[] = {
        {"shorter than the fixed part", good, 67},
        {"ids cut off", good, good.size() - 1},
        {"more than 52 cards", withWord(12, 53), good.size()},
        {"result code 0", withWord(15, 0), good.size()},
        {"result code 8", withWord(15, 8), good.size()},
    };
    for (const Case& c : cases) {
        ScoreMessage out;
        out.resultCode = 99;
        EXPECT_FALSE(ParseScoreBody(c.body.data(), c.length, &out)) << c.what;
        EXPECT_EQ(out.resultCode, 99) << c.what;
    }
    EXPECT_FALSE(ParseScoreBody(nullptr, 100, &m));
}

TEST(ScoreMessageTest, PlayerSideAppliesIt)
{
    Table referee = EndOfHand();
    referee.state.tableFlags = kTableSeatPlaysAlone;
    ScoredHand s = ScoreHand(referee.state, nullptr, nullptr);
    std::vector<uint8_t> body = BuildScoreBody(referee.state, s.scores, s.resultCode);

    Table player;
    player.state.phase = kPhasePlay;
    player.state.handsFinished = 2;
    player.state.sortMode = kSortPlain;
    player.state.tableFlags = kTableSeatPlaysAlone;
    player.state.seats[1].player.scoreTotal = 50;
    for (int seat = 0; seat < kBoardSeats; ++seat)
        player.state.seats[seat].cardsInHand = 9;  // hidden cards before the score
    ScoreMessage m;
    ASSERT_TRUE(ParseScoreBody(body.data(), body.size(), &m));
    ApplyScoreMessage(player.state, m);

    EXPECT_EQ(player.state.phase, kPhaseIdle);
    EXPECT_EQ(player.state.handsFinished, 3u);
    EXPECT_EQ(player.state.guardSeat, 1);
    EXPECT_EQ(ToFive(player.state.lastScore), (Five{6, 3, -3, -3, -3}));
    EXPECT_EQ(ToFive(player.state.handTotal), (Five{6, 3, -3, -3, -3}));
    EXPECT_EQ(player.state.seats[1].player.scoreTotal, 53);
    const uint32_t left[] = {0, 0, 3, 2, 1};
    for (int seat = 0; seat < kBoardSeats; ++seat)
        EXPECT_EQ(player.state.seats[seat].cardsInHand, left[seat]);
    // Hands rebuilt from the ids, sorted plain (highest first); a seat played
    // alone, so the guard's card no longer carries its mark.
    const CardEntry* h2 = player.state.hands[2];
    EXPECT_EQ(h2[0].id, 216);
    EXPECT_EQ(h2[0].flags & kCardGuard, 0);
    EXPECT_EQ(h2[1].id, 5);
    EXPECT_EQ(h2[2].id, 40);  // rank value 1
    EXPECT_EQ(player.state.hands[3][0].id, 12);
    EXPECT_EQ(player.state.hands[4][0].id, 217);
    EXPECT_EQ(player.state.hands[4][0].flags & kCardEmperor, kCardEmperor);

    // Without a seat playing alone the guard's card keeps its mark.
    Table plain;
    ApplyScoreMessage(plain.state, m);
    EXPECT_EQ(plain.state.hands[2][0].id, 216);
    EXPECT_EQ(plain.state.hands[2][0].flags & kCardGuard, kCardGuard);
}

TEST(ScoreMessageTest, GuardSeatOutOfRangeBecomesNone)
{
    Table t = EndOfHand();
    t.state.guardSeat = 7;
    std::vector<uint8_t> body = BuildScoreBody(t.state, t.state.lastScore, kResultDraw);
    ScoreMessage m;
    ASSERT_TRUE(ParseScoreBody(body.data(), body.size(), &m));
    Table player;
    player.state.guardSeat = 2;
    ApplyScoreMessage(player.state, m);
    EXPECT_EQ(player.state.guardSeat, -1);
}

TEST(ScoreMessageTest, OutcomeForTheOwnSeat)
{
    struct Case { int result; int own; uint32_t expected; };
    // emperor 0, guard 1
    const Case cases[] = {
        {1, 0, kAnnounceOwnSideLost}, {1, 2, kAnnounceOwnSideWon},
        {3, 1, kAnnounceOwnSideLost}, {3, 4, kAnnounceOwnSideWon},
        {5, 0, kAnnounceOwnSideLost}, {5, 3, kAnnounceOwnSideWon},
        {2, 0, kAnnounceOwnSideWon},  {2, 2, kAnnounceOwnSideLost},
        {4, 1, kAnnounceOwnSideWon},  {4, 3, kAnnounceOwnSideLost},
        {6, 0, kAnnounceOwnSideWon},  {6, 4, kAnnounceOwnSideLost},
        {7, 0, kAnnounceDraw},        {7, 3, kAnnounceDraw},
        {0, 0, 0},                    {8, 3, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(OutcomeAnnouncement(c.result, c.own, 0, 1), c.expected) << c.result << " " << c.own;
}

}  // namespace
