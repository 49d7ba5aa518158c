// Replaying saved games. Whole hands are played by a table of the real board
// library (the table harness: a referee and five player boards), the
// messages that reached one seat recorded into a .peg the way the table
// window records them, and the file replayed on a fresh player board: step
// by step and round by round to the end, where every seat holds the cards
// the score lists and the board scores the hand as the referee did; back to
// the start, where every hand is whole again. Small hand-made games show the
// stepping rules; damaged files are refused before anything is written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "MardavelScoring.h"
#include "PegFile.h"
#include "RecordedHands.h"
#include "ReplayBoardHost.h"
#include "ReplayStepper.h"

using namespace replay;

namespace {

constexpr uint32_t kDeal = 0x80026001;
constexpr uint32_t kDecision = 0x26002;
constexpr uint32_t kPlay = 0x26005;
constexpr uint32_t kScore = 0x80026006;

const peg::Record::Names& kNames = RecordedHandNames();

// ---- Whole hands from the table harness ------------------------------------------

ScoreMessage ParseScore(const std::vector<uint8_t>& message)
{
    ScoreMessage score;
    EXPECT_TRUE(ParseScoreBody(message.data() + 12, message.size() - 12, &score));
    return score;
}

std::vector<int> Ids(const CardEntry* cards, uint32_t count)
{
    std::vector<int> ids;
    for (uint32_t i = 0; i < count && i < static_cast<uint32_t>(kCardAreaSize); ++i)
        ids.push_back(cards[i].id);
    std::sort(ids.begin(), ids.end());
    return ids;
}

// What a seat holds and shows, by card id.
struct SeatView {
    std::vector<int> hand;
    std::vector<int> table;
    bool operator==(const SeatView& o) const { return hand == o.hand && table == o.table; }
};
std::vector<SeatView> Seats(const BoardGameState& s)
{
    std::vector<SeatView> seats(kBoardSeats);
    for (int i = 0; i < kBoardSeats; ++i) {
        seats[static_cast<size_t>(i)].hand = Ids(s.hands[i], s.seats[i].cardsInHand);
        seats[static_cast<size_t>(i)].table = Ids(s.tableCards[i], s.seats[i].tableCardCount);
    }
    return seats;
}

std::vector<int> LeftInScore(const ScoreMessage& score, int seat)
{
    const uint8_t* p = score.cardIds;
    for (int s = 0; s < seat; ++s)
        p += score.cardsLeft[s];
    std::vector<int> ids(p, p + score.cardsLeft[seat]);
    std::sort(ids.begin(), ids.end());
    return ids;
}

class ReplayOfARecordedHand : public ::testing::TestWithParam<uint32_t>
{
protected:
    void SetUp() override
    {
        hand = RecordHand(GetParam(), kOwnSeat);
        ASSERT_FALSE(hand.score.empty()) << "the hand was scored";
        ASSERT_EQ(LoadGame(hand.file, &game), kLoadOk);
    }

    // A fresh board with the game prepared.
    void Prepare(ReplayBoardHost& host, CReplayStepper& stepper)
    {
        ASSERT_TRUE(host.Ready());
        ReplayGame copy;
        ASSERT_EQ(LoadGame(hand.file, &copy), kLoadOk);
        stepper.Take(std::move(copy));
        ASSERT_TRUE(stepper.Prepare(host, 1));
    }

    // At the end: every seat holds what the score lists and finished where
    // it finished at the table, so the board scores the hand as the referee
    // did. The replay shows the guard at the end; the score counts the
    // guard step's choices as they were made, so those are the referee's.
    void ExpectFinalScore(ReplayBoardHost& host, const char* how)
    {
        const ScoreMessage score = ParseScore(hand.score);
        BoardGameState s = *host.State();
        for (int seat = 0; seat < kBoardSeats; ++seat) {
            EXPECT_EQ(Ids(s.hands[seat], s.seats[seat].cardsInHand), LeftInScore(score, seat))
                << how << ": seat " << seat;
            // Seats that played out finished where they did at the table; the
            // referee places the others after them, or not at all, when it
            // scores.
            if (s.finishPlace[seat] != 0)
                EXPECT_EQ(s.finishPlace[seat], hand.referee.finishPlace[seat]) << how << ": seat " << seat;
            else
                EXPECT_TRUE(hand.referee.finishPlace[seat] == 0 || hand.referee.finishPlace[seat] > s.outCount)
                    << how << ": seat " << seat;
        }
        memcpy(s.finishPlace, hand.referee.finishPlace, sizeof s.finishPlace);
        EXPECT_EQ(s.emperorSeat, hand.referee.emperorSeat) << how;
        EXPECT_EQ(s.guardSeat, hand.referee.guardSeat) << how;
        memcpy(s.decisionMarks, hand.referee.decisionMarks, sizeof s.decisionMarks);
        s.tableFlags = hand.referee.tableFlags;
        const HandScore replayed = ComputeHandScore(s);
        EXPECT_EQ(replayed.resultCode, score.resultCode) << how;
        for (int seat = 0; seat < kBoardSeats; ++seat)
            EXPECT_EQ(replayed.scores[seat], score.scores[seat]) << how << ": seat " << seat;
    }

    static constexpr int kOwnSeat = 0;
    RecordedHand hand;
    ReplayGame game;
};

TEST_P(ReplayOfARecordedHand, StepByStepAndByRoundReachTheSameFinalScore)
{
    ReplayBoardHost byStep(kOwnSeat);
    CReplayStepper stepper;
    Prepare(byStep, stepper);
    const int count = stepper.StepCount();
    ASSERT_GT(count, 5);
    EXPECT_EQ(byStep.lastButtons, ButtonsAt(0, count));
    EXPECT_TRUE(byStep.lastButtons.nextStep && !byStep.lastButtons.previousStep);
    const std::vector<SeatView> start = Seats(*byStep.State());
    // The hands at the start are the whole hands: what each seat played and
    // what it kept.
    const ScoreMessage score = ParseScore(hand.score);
    for (int seat = 0; seat < kBoardSeats; ++seat)
        EXPECT_EQ(static_cast<int>(start[static_cast<size_t>(seat)].hand.size()), stepper.Collected(seat));

    for (int i = 0; i < count; ++i) {
        stepper.StepForward(byStep);
        ASSERT_EQ(stepper.Position(), i + 1);
    }
    EXPECT_EQ(byStep.lastButtons, ButtonsAt(count, count));
    EXPECT_FALSE(byStep.lastButtons.nextStep);
    stepper.StepForward(byStep);   // at the end: nothing
    EXPECT_EQ(stepper.Position(), count);
    ExpectFinalScore(byStep, "step by step");
    for (int seat = 0; seat < kBoardSeats; ++seat) {
        const int place = byStep.State()->finishPlace[seat];
        EXPECT_EQ(stepper.FinishingPlace(seat), place == 0 ? kNoPlace : place) << "seat " << seat;
    }

    ReplayBoardHost byRound(kOwnSeat);
    CReplayStepper rounds;
    Prepare(byRound, rounds);
    int calls = 0;
    while (rounds.Position() < count) {
        const int before = rounds.Position();
        rounds.StepRound(byRound);
        ASSERT_GT(rounds.Position(), before);
        ASSERT_LE(rounds.Position() - before, kRoundPlays);
        ++calls;
    }
    EXPECT_LT(calls, count) << "rounds hold more than one play";
    ExpectFinalScore(byRound, "by round");
    EXPECT_EQ(Seats(*byRound.State()), Seats(*byStep.State()));

    // Back to the start, by step on one board and by round on the other:
    // every hand is whole again and nothing lies on the table.
    while (stepper.Position() > 0)
        stepper.StepBack(byStep);
    while (rounds.Position() > 0) {
        const int before = rounds.Position();
        rounds.StepRoundBack(byRound);
        ASSERT_LT(rounds.Position(), before);
    }
    std::vector<SeatView> whole = start;
    for (SeatView& v : whole)
        v.table.clear();
    EXPECT_EQ(Seats(*byStep.State()), whole);
    EXPECT_EQ(Seats(*byRound.State()), whole);
    EXPECT_EQ(byStep.lastButtons, ButtonsAt(0, count));
    (void)score;
}

TEST_P(ReplayOfARecordedHand, RestartPreparesTheSameHandAgain)
{
    ReplayBoardHost host(kOwnSeat);
    CReplayStepper stepper;
    Prepare(host, stepper);
    const std::vector<SeatView> start = Seats(*host.State());
    for (int i = 0; i < 7; ++i)
        stepper.StepForward(host);
    ASSERT_TRUE(stepper.Prepare(host, 1));
    EXPECT_EQ(stepper.Position(), 0);
    EXPECT_EQ(Seats(*host.State()), start);
    EXPECT_EQ(host.State()->phase, static_cast<uint32_t>(kPhasePlay));
    EXPECT_EQ(host.State()->seatToAct, stepper.EmperorSeat());
}

// Seeds of the harness's deals and decisions: hands with the emperor's card
// passed on and kept, won by either side.
INSTANTIATE_TEST_SUITE_P(Seeds, ReplayOfARecordedHand, ::testing::Values(1u, 2u, 3u, 7u, 11u));

// ---- Hand-made games --------------------------------------------------------------------

std::vector<uint8_t> Message(uint32_t id, const std::vector<uint8_t>& body)
{
    std::vector<uint8_t> m;
    auto put = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            m.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    put(id);
    put(static_cast<uint32_t>(body.size()));
    if (id & 0x80000000u)
        put(1);
    m.insert(m.end(), body.begin(), body.end());
    return m;
}

void PutWord(std::vector<uint8_t>& out, uint32_t w)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(w >> (8 * i)));
}

std::vector<uint8_t> DealMessage(std::vector<uint8_t> counts)
{
    // Body offset 1 holds the five counts (message offset 13).
    std::vector<uint8_t> body(1, 0);
    body.insert(body.end(), counts.begin(), counts.end());
    return Message(kDeal, body);
}

std::vector<uint8_t> PlayMessage(uint32_t seat, uint32_t next, std::vector<uint32_t> ids)
{
    std::vector<uint8_t> body;
    PutWord(body, seat);
    PutWord(body, next);
    PutWord(body, static_cast<uint32_t>(ids.size()));
    for (uint32_t id : ids)
        PutWord(body, id);
    return Message(kPlay, body);
}

std::vector<uint8_t> DecisionMessage(uint32_t seat, uint32_t kind, uint32_t target, uint32_t n)
{
    std::vector<uint8_t> body;
    PutWord(body, seat);
    PutWord(body, kind);
    PutWord(body, target);
    PutWord(body, n);
    for (uint32_t i = 0; i < n; ++i)
        body.push_back(static_cast<uint8_t>(i));
    return Message(kDecision, body);
}

// Scores 0, totals 0, the cards left, the result, the guard, the card bytes.
std::vector<uint8_t> ScoreMessageBytes(std::vector<std::vector<uint8_t>> left, uint32_t result, uint32_t guard)
{
    std::vector<uint8_t> body;
    for (int i = 0; i < 10; ++i)
        PutWord(body, 0);
    for (const auto& l : left)
        PutWord(body, static_cast<uint32_t>(l.size()));
    PutWord(body, result);
    PutWord(body, guard);
    for (const auto& l : left)
        body.insert(body.end(), l.begin(), l.end());
    return Message(kScore, body);
}

// A score that lists 10 cards left for seat 0 and holds none of them.
std::vector<uint8_t> ScoreCountingMore()
{
    std::vector<uint8_t> body;
    for (int i = 0; i < 10; ++i)
        PutWord(body, 0);
    PutWord(body, 10);
    for (int i = 0; i < 4; ++i)
        PutWord(body, 0);
    PutWord(body, 2);
    PutWord(body, 0);
    return Message(kScore, body);
}

std::vector<uint8_t> FileOf(const std::vector<std::vector<uint8_t>>& messages, uint32_t seat = 0)
{
    peg::Record record;
    record.Start(kNames, seat, RecordedHandTime());
    for (const auto& m : messages)
        EXPECT_EQ(record.Append(m.data(), static_cast<uint32_t>(m.size())), peg::kRecordTaken);
    return record.Serialize();
}

// A fake table: a state of its own, card writes checked to land on a hand
// entry, the plays fed and taken back kept in order.
class FakeTable : public ReplayTarget
{
public:
    FakeTable() { InitBoardGameState(m_state); }
    BoardGameState* State() override { return &m_state; }
    int32_t BoardEvent(int32_t code, int32_t a, int32_t b, void* param) override
    {
        if (code == kEvSetCard) {
            const auto* at = static_cast<const uint8_t*>(param);
            const auto* first = reinterpret_cast<const uint8_t*>(m_state.hands);
            EXPECT_TRUE(at >= first && at + sizeof(CardEntry) <= first + sizeof m_state.hands) << "card write";
            static_cast<CardEntry*>(param)->id = static_cast<uint8_t>(b);
        }
        if (code == kEvTakeBack)
            log.push_back("back " + std::to_string(a) + " " + std::to_string(b) + (param ? " prev" : " none"));
        if (code == kEvSortOwnHand)
            m_state.sortMode = (m_state.sortMode + 1) % 2;
        return 1;
    }
    void FeedMessage(uint8_t* message, size_t /*size*/) override
    {
        uint32_t id, seat;
        memcpy(&id, message, 4);
        memcpy(&seat, message + 8, 4);
        log.push_back(id == kPlay ? "play " + std::to_string(seat) : "feed " + std::to_string(id));
    }
    void SetOutcome(int value) override { outcome = value; }
    void UpdateButtons(int position, const ReplayButtons& b) override
    {
        buttonsPosition = position;
        buttons = b;
    }

    std::vector<std::string> log;
    int outcome = -1;
    int buttonsPosition = -1;
    ReplayButtons buttons;

private:
    BoardGameState m_state;
};

// Seat 0 plays 2 cards, 1 plays 1, 2 passes, 0 plays again, 3 plays: with
// a deal of 3, 1, 0, 2, 5 cards, seat 1 goes out first and seat 0 second.
std::vector<std::vector<uint8_t>> SmallGame(uint32_t result = 2, uint32_t recordedSeat = 0)
{
    (void)recordedSeat;
    return {DealMessage({3, 1, 0, 2, 5}), DecisionMessage(0, 1, 0xFFFFFFFFu, 0),
            PlayMessage(0, 1, {10, 11}), PlayMessage(1, 2, {20}), PlayMessage(2, 3, {}),
            PlayMessage(0, 3, {12}), PlayMessage(3, 4, {30}),
            ScoreMessageBytes({{}, {}, {}, {31}, {40, 41, 42, 43, 44}}, result, 3)};
}

CReplayStepper Prepared(const std::vector<uint8_t>& file, FakeTable& table)
{
    CReplayStepper stepper;
    ReplayGame game;
    EXPECT_EQ(LoadGame(file, &game), kLoadOk);
    stepper.Take(std::move(game));
    EXPECT_TRUE(stepper.Prepare(table, 1));
    table.log.clear();
    return stepper;
}

TEST(ReplayStepping, PreparationRebuildsCountsPlacesAndTheOutcome)
{
    FakeTable table;
    CReplayStepper stepper = Prepared(FileOf(SmallGame()), table);
    EXPECT_EQ(stepper.StepCount(), 5);
    const int collected[] = {3, 1, 0, 2, 5};
    const int places[] = {2, 1, kNoPlace, kNoPlace, kNoPlace};   // 3 keeps a card, 2 never played, 4 never played
    for (int s = 0; s < kBoardSeats; ++s) {
        EXPECT_EQ(stepper.Collected(s), collected[s]) << s;
        EXPECT_EQ(stepper.FinishingPlace(s), places[s]) << s;
        EXPECT_EQ(table.State()->seats[s].cardsInHand, static_cast<uint32_t>(collected[s]));
        EXPECT_EQ(table.State()->seats[s].tableCardCount, 0u);
    }
    // Seat 0's hand: its plays in order.
    EXPECT_EQ(table.State()->hands[0][0].id, 10);
    EXPECT_EQ(table.State()->hands[0][2].id, 12);
    EXPECT_EQ(table.State()->hands[3][1].id, 31);   // the play, then the card left
    EXPECT_EQ(table.State()->emperorSeat, 0);
    EXPECT_EQ(table.State()->seatToAct, 0);
    EXPECT_EQ(table.State()->leadSeat, 0);
    EXPECT_EQ(table.State()->guardSeat, 3);
    EXPECT_EQ(table.State()->decisionMarks[3], 1);
    EXPECT_EQ(table.State()->phase, static_cast<uint32_t>(kPhasePlay));
    // Sort setting 1: the mode is set to 0 and turned over once per seat.
    EXPECT_EQ(table.State()->sortMode, 1);
}

TEST(ReplayStepping, OutcomeByResultCodeAndRecordedSeat)
{
    struct Case {
        const char* what;
        uint32_t result;
        uint32_t recordedSeat;   // 0 emperor, 3 guard, 2 other
        int outcome;
    };
    const Case cases[] = {
        {"emperor seat, even code", 2, 0, kOutcomeSideWonEven},
        {"emperor seat, odd code", 1, 0, kOutcomeSideWonOdd},
        {"guard seat, odd code", 5, 3, kOutcomeSideWonOdd},
        {"other seat, even code", 4, 2, kOutcomeOtherEven},
        {"other seat, odd code", 3, 2, kOutcomeOtherOdd},
        {"code 7 on the emperor's seat", 7, 0, kOutcomeDraw},
        {"code 7 on another seat", 7, 2, kOutcomeDraw},
    };
    for (const Case& c : cases) {
        FakeTable table;
        CReplayStepper stepper = Prepared(FileOf(SmallGame(c.result), c.recordedSeat), table);
        EXPECT_EQ(stepper.Outcome(), c.outcome) << c.what;
        EXPECT_EQ(table.outcome, c.outcome) << c.what;
    }
}

TEST(ReplayStepping, StepsAndRoundsFollowTheSeatRule)
{
    // Plays in order: 0, 1, 2, 0, 3.
    struct Case {
        const char* what;
        std::vector<std::string> moves;   // f step, b back, r round, R round back
        int position;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {"a round stops before seat 0 plays again", {"r"}, 3, {"play 0", "play 1", "play 2"}},
        {"the next round takes the rest", {"r", "r"}, 5, {"play 0", "play 1", "play 2", "play 0", "play 3"}},
        {"a step at the end does nothing", {"r", "r", "f"}, 5, {"play 0", "play 1", "play 2", "play 0", "play 3"}},
        {"back at the end takes the last play back, seat 3 after seat 0, no earlier play of 3",
         {"r", "r", "b"}, 4, {"play 0", "play 1", "play 2", "play 0", "play 3", "back 3 0 none"}},
        {"a round back stops before taking seat 0 back twice", {"r", "r", "R"}, 1,
         {"play 0", "play 1", "play 2", "play 0", "play 3", "back 3 0 none", "back 0 2 prev", "back 2 1 none",
          "back 1 0 none"}},
        {"the first play taken back names its own seat before it", {"f", "b"}, 0, {"play 0", "back 0 0 none"}},
        {"back at the start does nothing", {"b", "R"}, 0, {}},
    };
    for (const Case& c : cases) {
        FakeTable table;
        CReplayStepper stepper = Prepared(FileOf(SmallGame()), table);
        for (const std::string& m : c.moves) {
            if (m == "f")
                stepper.StepForward(table);
            else if (m == "b")
                stepper.StepBack(table);
            else if (m == "r")
                stepper.StepRound(table);
            else
                stepper.StepRoundBack(table);
        }
        EXPECT_EQ(stepper.Position(), c.position) << c.what;
        EXPECT_EQ(table.log, c.log) << c.what;
    }
}

TEST(ReplayStepping, ARoundOfEverySeatHoldsFivePlays)
{
    // Every seat plays once, then seat 0 again: a round is the five plays.
    std::vector<std::vector<uint8_t>> messages = {DealMessage({2, 1, 1, 1, 1})};
    for (uint32_t s = 0; s < 5; ++s)
        messages.push_back(PlayMessage(s, (s + 1) % 5, {s * 2}));
    messages.push_back(PlayMessage(0, 1, {1}));
    FakeTable table;
    CReplayStepper stepper = Prepared(FileOf(messages), table);
    stepper.StepRound(table);
    EXPECT_EQ(stepper.Position(), 5);
    stepper.StepRoundBack(table);
    EXPECT_EQ(stepper.Position(), 0);
}

TEST(ReplayStepping, ButtonsFollowThePosition)
{
    struct Case {
        const char* what;
        int position, count;
        ReplayButtons expected;
    };
    const Case cases[] = {
        {"no play at all: everything off", 0, 0, {false, false, false, false, false}},
        {"at the start", 0, 5, {true, false, false, true, true}},
        {"in the middle", 2, 5, {true, true, true, true, true}},
        {"at the end", 5, 5, {true, true, true, false, false}},
        {"past the end (a round that fed nothing)", 6, 5, {true, true, true, false, false}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ButtonsAt(c.position, c.count), c.expected) << c.what;

    FakeTable table;
    CReplayStepper stepper = Prepared(FileOf({DealMessage({1, 1, 1, 1, 1})}), table);
    EXPECT_EQ(stepper.StepCount(), 0);
    stepper.StepForward(table);
    EXPECT_EQ(table.buttons, ButtonsAt(0, 0));
}

TEST(ReplayStepping, MessagePositions)
{
    FakeTable table;
    CReplayStepper stepper = Prepared(FileOf(SmallGame()), table);
    const uint8_t* second0 = stepper.StepMessage(3);   // seat 0's second play
    EXPECT_EQ(stepper.IndexOf(second0), 3);
    EXPECT_EQ(stepper.IndexOf(nullptr), 5);   // the end slot
    const uint8_t stranger[12] = {};
    EXPECT_EQ(stepper.IndexOf(stranger), -1);
    EXPECT_EQ(stepper.PrevStepIndex(second0), 2);
    EXPECT_EQ(stepper.PrevStepIndex(stepper.StepMessage(0)), -1);
    EXPECT_EQ(stepper.PrevStepOfSeat(second0), 0);
    EXPECT_EQ(stepper.PrevStepOfSeat(stepper.StepMessage(4)), -1);
    EXPECT_EQ(stepper.PrevStepOfSeat(nullptr), -1);
}

// ---- Damaged files -----------------------------------------------------------------------

std::vector<uint8_t> Fifty(uint32_t first)
{
    std::vector<uint8_t> ids;
    for (uint32_t i = 0; i < 50; ++i)
        ids.push_back(static_cast<uint8_t>(first + i));
    return ids;
}

TEST(ReplayDamagedFiles, AreRefusedAndTheOpenGameKept)
{
    const std::vector<uint8_t> good = FileOf(SmallGame());
    auto truncated = good;
    truncated.resize(good.size() - 3);
    auto shortFile = good;
    shortFile.resize(300);
    auto badMagic = good;
    badMagic[0] = 'X';
    auto badSeat = good;
    badSeat[peg::kHeaderSize + 200] = 9;
    auto oversized = good;
    oversized.resize(peg::kMaxFileSize + 1, 0);
    // The first entry's L made larger than what follows.
    auto longEntry = good;
    longEntry[peg::kDataOffset] = 0xFF;
    longEntry[peg::kDataOffset + 1] = 0xFF;
    std::vector<uint32_t> sixty;
    for (uint32_t i = 0; i < 60; ++i)
        sixty.push_back(i);
    std::vector<uint32_t> thirty(30, 1);

    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        LoadStatus status;
    };
    const Case cases[] = {
        {"shorter than header and info", shortFile, kLoadTooShort},
        {"cut off inside the last entry", truncated, kLoadBadFile},
        {"not a saved game", badMagic, kLoadBadFile},
        {"the recorded seat is 9", badSeat, kLoadBadFile},
        {"larger than any saved game", oversized, kLoadBadFile},
        {"an entry longer than the file", longEntry, kLoadBadFile},
        {"a deal of 60 cards", FileOf({DealMessage({60, 1, 1, 1, 1})}), kLoadBadDeal},
        {"a deal cut short", FileOf({Message(kDeal, {0, 1, 2})}), kLoadBadDeal},
        {"a play by seat 7", FileOf({PlayMessage(7, 0, {1})}), kLoadBadPlay},
        {"a play of 60 cards", FileOf({PlayMessage(0, 1, sixty)}), kLoadBadPlay},
        {"a play counting more cards than it holds",
         FileOf({Message(kPlay, {0, 0, 0, 0, 1, 0, 0, 0, 5, 0, 0, 0, 1, 0, 0, 0})}), kLoadBadPlay},
        {"a play with card id 300", FileOf({PlayMessage(0, 1, {300})}), kLoadBadPlay},
        {"a play too short for its seat and count", FileOf({Message(kPlay, {0, 0, 0, 0})}), kLoadBadPlay},
        {"two plays of one seat over 52 cards", FileOf({PlayMessage(0, 1, thirty), PlayMessage(0, 1, thirty)}),
         kLoadHandOver52},
        {"plays and cards left over 52", FileOf({PlayMessage(4, 0, thirty),
                                                 ScoreMessageBytes({{}, {}, {}, {}, Fifty(0)}, 2, 0)}),
         kLoadHandOver52},
        {"a score listing 53 cards for a seat",
         FileOf({ScoreMessageBytes({std::vector<uint8_t>(53, 1), {}, {}, {}, {}}, 2, 0)}), kLoadBadScore},
        {"a score whose cards run past it", FileOf({ScoreCountingMore()}), kLoadBadScore},
        {"a score naming guard seat 6", FileOf({ScoreMessageBytes({{}, {}, {}, {}, {}}, 2, 6)}), kLoadBadScore},
        {"a score too short", FileOf({Message(kScore, std::vector<uint8_t>(20, 0))}), kLoadBadScore},
        {"a decision by seat 5", FileOf({DecisionMessage(5, 1, 0, 0)}), kLoadBadDecision},
        {"a pass to seat 8", FileOf({DealMessage({2, 2, 2, 2, 2}), DecisionMessage(0, 2, 8, 1)}),
         kLoadBadDecision},
        {"a pass of more cards than the seat holds", FileOf({DealMessage({1, 2, 2, 2, 2}), DecisionMessage(0, 2, 1, 2)}),
         kLoadBadDecision},
        {"a decision passing 60 cards", FileOf({DecisionMessage(0, 2, 1, 60)}), kLoadBadDecision},
    };
    for (const Case& c : cases) {
        FakeTable table;
        CReplayStepper stepper = Prepared(good, table);
        stepper.StepForward(table);
        ReplayGame game;
        EXPECT_EQ(LoadGame(c.file, &game), c.status) << c.what;
        EXPECT_TRUE(game.plays.empty() && game.bytes.empty()) << c.what << ": nothing taken";
        // The open game still steps: no released buffer is read.
        stepper.StepForward(table);
        EXPECT_EQ(stepper.Position(), 2) << c.what;
        EXPECT_EQ(table.log, (std::vector<std::string>{"play 0", "play 1"})) << c.what;
    }
}

TEST(ReplayDamagedFiles, FullHandsAreWrittenInsideTheirSeat)
{
    // 52 cards for every seat, some played and the rest left: the most a
    // file may hold. Every write lands on a hand entry (FakeTable checks).
    std::vector<std::vector<uint8_t>> messages = {DealMessage({52, 52, 52, 52, 52})};
    std::vector<uint32_t> played;
    for (uint32_t i = 0; i < 2; ++i)
        played.push_back(i);
    std::vector<std::vector<uint8_t>> left;
    for (uint32_t s = 0; s < 5; ++s) {
        messages.push_back(PlayMessage(s, (s + 1) % 5, played));
        left.push_back(Fifty(s * 40));
    }
    messages.push_back(ScoreMessageBytes(left, 2, 1));
    FakeTable table;
    CReplayStepper stepper = Prepared(FileOf(messages), table);
    for (int s = 0; s < kBoardSeats; ++s) {
        EXPECT_EQ(stepper.Collected(s), 52);
        EXPECT_EQ(table.State()->hands[s][51].id, static_cast<uint8_t>(s * 40 + 49));
    }
}

// The table harness's hands replayed from every seat's record: the seat's
// own view hides the other seats' cards in the deal, never in the plays.
TEST(ReplayOfRecordsFromEverySeat, LoadAndReachTheEnd)
{
    for (int seat = 0; seat < kBoardSeats; ++seat) {
        const RecordedHand hand = RecordHand(5, seat);
        ReplayGame game;
        ASSERT_EQ(LoadGame(hand.file, &game), kLoadOk) << "seat " << seat;
        ReplayBoardHost host(seat, kNames.userNames[seat]);
        ASSERT_TRUE(host.Ready());
        CReplayStepper stepper;
        stepper.Take(std::move(game));
        ASSERT_TRUE(stepper.Prepare(host, 0));
        while (stepper.Position() < stepper.StepCount())
            stepper.StepRound(host);
        const ScoreMessage score = ParseScore(hand.score);
        for (int s = 0; s < kBoardSeats; ++s)
            EXPECT_EQ(Ids(host.State()->hands[s], host.State()->seats[s].cardsInHand), LeftInScore(score, s))
                << "recorded at seat " << seat << ", seat " << s;
    }
}

}  // namespace
