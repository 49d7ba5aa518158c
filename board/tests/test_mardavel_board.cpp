// The game board on both sides of a table: a referee and five player boards
// (and watchers) wired through their callbacks. Readiness and the deal, every
// decision path, plays and their refusals with the log lines of both sides,
// the automatic action, the clock, the score, and the smaller events.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "BoardTestSupport.h"
#include "MardavelBoard.h"
#include "MardavelDecisions.h"
#include "MardavelPlay.h"
#include "MardavelScoring.h"
#include "MardavelTableHarness.h"
#include "MardavelTestCards.h"
#include "MsgPack.h"

namespace {

using Party = TableHarness::Party;
using Sent = TableHarness::Sent;
using mardavel_test::Ids;

// A table whose boards the tests drive one event at a time.
struct Table {
    TableHarness t;

    explicit Table(const std::vector<std::pair<int, int>>& options, const std::vector<int>& watchers = {},
                   uint32_t seed = 11)
        : t(seed, true)
    {
        t.SetChecksEachDelivery(false);
        t.Setup(options, watchers);
    }
    Party& R() { return t.Referee(); }
    Party& P(int seat) { return t.SeatPlayer(seat); }
    Party& W(int k) { return *t.Parties()[static_cast<size_t>(1 + kBoardSeats + k)]; }
    static CMardavelBoard& B(Party& p) { return *static_cast<CMardavelBoard*>(p.board); }
    static BoardGameState& S(Party& p) { return B(p).MutableState(); }
    std::vector<Party*> Players()
    {
        std::vector<Party*> all;
        for (size_t i = 1; i < t.Parties().size(); ++i)
            all.push_back(t.Parties()[i].get());
        return all;
    }

    int32_t Ev(Party& p, int32_t code, int32_t a = -1, int32_t b = -1, void* param = nullptr)
    {
        const int32_t r = t.Event(p, code, a, b, param);
        t.Pump();
        return r;
    }
    void Clear()
    {
        for (auto& p : t.Parties()) {
            p->calls.clear();
            p->logs.clear();
            p->sent.clear();
        }
    }
    void ReadyAll()
    {
        for (int s = 0; s < kBoardSeats; ++s)
            t.Event(P(s), kEvReady);
        t.Pump();
    }
    // A message from a seat's player to the referee.
    int32_t FromPlayer(Party& from, uint32_t id, const std::vector<int32_t>& words,
                       const std::vector<uint8_t>& bytes = {})
    {
        std::vector<uint8_t> body(words.size() * 4);
        std::memcpy(body.data(), words.data(), body.size());
        body.insert(body.end(), bytes.begin(), bytes.end());
        auto msg = MessageBytes(id, 0, body.data(), static_cast<uint32_t>(body.size()));
        const int32_t r = t.Event(R(), kEvGameMessage, static_cast<int32_t>(from.record.userId),
                                  from.record.identify, msg.data());
        t.Pump();
        return r;
    }

    // Gives every seat a hand, on the referee and on each board that sees it;
    // the holder of the emperor's card acts and leads, the holder of the
    // guard's card is the guard on the referee.
    void ForceHands(const std::vector<std::string>& hands)
    {
        int holder = -1;
        int guard = -1;
        for (int s = 0; s < kBoardSeats; ++s)
            for (uint8_t id : Ids(hands[static_cast<size_t>(s)])) {
                holder = id == kEmperorCardId ? s : holder;
                guard = id == kGuardCardId ? s : guard;
            }
        for (auto& party : t.Parties()) {
            BoardGameState& st = S(*party);
            for (int s = 0; s < kBoardSeats; ++s) {
                const bool sees = party->referee || (party->seat == s && (!party->watching || st.seats[s].watchersMaySee));
                mardavel_test::SetHand(st, s, hands[static_cast<size_t>(s)]);
                st.seats[s].cardsDealt = st.seats[s].cardsInHand;
                if (!sees)
                    for (uint32_t i = 0; i < st.seats[s].cardsInHand; ++i)
                        st.hands[s][i] = MakeCardEntry(kHiddenCardId, st);
            }
            st.seatToAct = st.leadSeat = holder;
            if (party->referee)
                st.guardSeat = guard;
        }
    }
    // Hands, the emperor accepts, the guard decides: phase 3.
    void StartPlay(const std::vector<std::string>& hands, bool guardOpen = false)
    {
        ReadyAll();
        ForceHands(hands);
        const int e = RefState().seatToAct;
        Ev(P(e), kEvAcceptEmperor);
        const int g = RefState().guardSeat;
        Ev(P(g), guardOpen ? kEvGuardOpen : kEvGuardHidden);
        for (int s = 0; s < kBoardSeats; ++s)
            if (RefState().phase == kPhaseGuard && s != e && s != g)
                Ev(P(s), kEvGuardHidden);
    }
    const BoardGameState& RefState() { return S(R()); }

    // Selects cards of the seat's own hand by rank text and plays them.
    int32_t Play(int seat, const std::string& ranks)
    {
        BoardGameState& st = S(P(seat));
        std::vector<uint8_t> wanted;
        for (const CardEntry& e : mardavel_test::Cards(ranks, st))
            wanted.push_back(e.rank);
        for (int i = 0; i < HandCount(st, seat); ++i)
            st.hands[seat][i].flags &= static_cast<uint8_t>(~kCardSelected);
        for (uint8_t rank : wanted)
            for (int i = 0; i < HandCount(st, seat); ++i)
                if (st.hands[seat][i].rank == rank && !(st.hands[seat][i].flags & kCardSelected)) {
                    st.hands[seat][i].flags |= kCardSelected;
                    break;
                }
        return Ev(P(seat), kEvPlayCards);
    }
};

std::vector<uint32_t> Codes(const Party& p, const std::vector<uint32_t>& wanted)
{
    std::vector<uint32_t> codes;
    for (const BoardCallbackRecord& r : p.calls)
        if (std::find(wanted.begin(), wanted.end(), r.code) != wanted.end())
            codes.push_back(r.code);
    return codes;
}

std::vector<BoardCallbackRecord> Calls(const Party& p, uint32_t code)
{
    std::vector<BoardCallbackRecord> out;
    for (const BoardCallbackRecord& r : p.calls)
        if (r.code == code)
            out.push_back(r);
    return out;
}

bool Raised(const Party& p, uint32_t code, intptr_t p1, intptr_t p2 = INTPTR_MIN)
{
    for (const BoardCallbackRecord& r : p.calls)
        if (r.code == code && r.p1 == p1 && (p2 == INTPTR_MIN || r.p2 == p2))
            return true;
    return false;
}

std::vector<Sent> SentOf(const Party& p, uint32_t id)
{
    std::vector<Sent> out;
    for (const Sent& s : p.sent)
        if (s.Id() == id)
            out.push_back(s);
    return out;
}

bool Logged(const Party& p, const std::string& line)
{
    return std::find(p.logs.begin(), p.logs.end(), line) != p.logs.end();
}

std::vector<int> SortedHand(const BoardGameState& s, int seat)
{
    std::vector<int> ids;
    for (int i = 0; i < HandCount(s, seat); ++i)
        ids.push_back(s.hands[seat][i].id);
    std::sort(ids.begin(), ids.end());
    return ids;
}

// ================================================================ readiness and the deal

TEST(ReadinessTest, FiveReadySeatsStartTheHandAndTheDealGoesBySeat)
{
    Table tb({}, {0, 2});
    tb.t.LetWatchersSee(0);
    tb.Clear();

    EXPECT_EQ(tb.Ev(tb.P(1), kEvReady), 1);
    EXPECT_EQ(SentOf(tb.P(1), kMsgReady).size(), 1u);
    EXPECT_EQ(tb.Ev(tb.P(1), kEvReady), 1);
    EXPECT_EQ(SentOf(tb.P(1), kMsgReady).size(), 1u) << "a ready seat sends nothing more";
    // A ready message naming another seat than the sender's is ignored.
    tb.FromPlayer(tb.P(1), kMsgReady, {2});
    EXPECT_EQ(SentOf(tb.R(), kMsgReady).size(), 1u);
    EXPECT_EQ(tb.RefState().readyCount, 1);

    for (int s : {0, 2, 3, 4})
        tb.Ev(tb.P(s), kEvReady);
    EXPECT_EQ(tb.RefState().phase, kPhaseEmperor);
    // 17 and 21, then the deal: seat 0 lets its watchers see (callback 3),
    // every other seat's watchers get the hidden copy (5) before the player
    // gets the real one (4).
    std::vector<uint32_t> codes = Codes(tb.R(), {kCbMatchGoesOn, kCbAllReady, 3, 4, 5});
    codes.erase(codes.begin(), codes.end() - 11);
    EXPECT_EQ(codes[0], kCbMatchGoesOn);
    EXPECT_EQ(codes[1], kCbAllReady);
    const std::vector<Sent> deals = SentOf(tb.R(), kMsgDeal);
    ASSERT_EQ(deals.size(), 9u);
    for (const Sent& d : deals) {
        EXPECT_EQ(d.Msg()->extra, 0u);
        EXPECT_EQ(d.Msg()->length, 8u + 34u);  // short packs: 34 cards at most
        const uint8_t* body = MsgBody(d.Msg());
        const bool hidden = d.code == kCbSendWatchers;
        EXPECT_EQ(d.seat == 0, d.code == kCbSendSeatAndWatchers);
        for (uint32_t i = 8; i < d.Msg()->length; ++i) {
            if (hidden || i >= 8u + body[1 + d.seat]) {
                ASSERT_EQ(body[i], kHiddenCardId);
            }
        }
    }
    // Each player's board: its own cards, the others hidden.
    for (int s = 0; s < kBoardSeats; ++s) {
        const BoardGameState& mine = Table::S(tb.P(s));
        EXPECT_EQ(SortedHand(mine, s), SortedHand(tb.RefState(), s));
        EXPECT_EQ(mine.phase, kPhaseEmperor);
        EXPECT_TRUE(Raised(tb.P(s), kCbAnnounce, kAnnounceDealt, s));
        EXPECT_EQ(Calls(tb.P(s), kCbSeatReady).size(), 5u);
        EXPECT_EQ(Calls(tb.P(s), kCbDealArrived).size(), 1u);
        for (int other = 0; other < kBoardSeats; ++other) {
            if (other != s) {
                EXPECT_EQ(mine.hands[other][0].id, kHiddenCardId);
            }
        }
    }
    EXPECT_EQ(SortedHand(Table::S(tb.W(0)), 0), SortedHand(tb.RefState(), 0));
    EXPECT_EQ(Table::S(tb.W(1)).hands[2][0].id, kHiddenCardId);

    // The referee's message log holds the five real deal messages.
    const CByteBuffer& log = Table::B(tb.R()).MessageLog();
    int logged = 0;
    for (uint32_t at = 0; at + 4 <= log.Size(); ++logged) {
        uint32_t size;
        uint32_t id;
        std::memcpy(&size, log.Data() + at, 4);
        std::memcpy(&id, log.Data() + at + 4, 4);
        EXPECT_EQ(id, kMsgDeal);
        at += 4 + size;
    }
    EXPECT_EQ(logged, 5);
}

TEST(ReadinessTest, ReadyOutsidePhaseZeroChangesNothing)
{
    Table tb({});
    tb.ReadyAll();
    tb.Clear();
    EXPECT_EQ(tb.Ev(tb.P(1), kEvReady), 1);
    tb.FromPlayer(tb.P(1), kMsgReady, {1});
    EXPECT_TRUE(tb.P(1).sent.empty());
    EXPECT_TRUE(tb.R().sent.empty());
    EXPECT_EQ(tb.RefState().readyMarks[1], 0);
}

TEST(DealTest, AllocationFailureIsLoggedAndNoDealIsSent)
{
    TestHost host;
    CMardavelBoard referee;
    ASSERT_EQ(referee.Init(kBoardModeReferee, &TestHost::Callback, host.Cookie(), nullptr), 1);
    for (uint8_t s = 0; s < kBoardSeats; ++s) {
        BoardPlayerRecord p = MakePlayer(10u + s, 0, s, "p");
        ASSERT_EQ(referee.OnEvent(kEvAddPlayer, 0, 0, &p), 1);
    }
    for (uint32_t s = 0; s < kBoardSeats; ++s) {
        auto msg = MessageBytes(kMsgReady, 0, &s, 4);
        if (s == 4)
            gpFailAllocationAfter(1);  // the forwarded ready goes, the first deal message does not
        ASSERT_EQ(referee.OnEvent(kEvGameMessage, static_cast<int32_t>(10 + s), 0, msg.data()), 1);
    }
    gpFailAllocationAfter(-1);
    const std::vector<std::string> logs = host.Logs();
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_EQ(logs[0].substr(0, std::string("MardavelBoardHand.cpp : ").size()), "MardavelBoardHand.cpp : ");
    EXPECT_NE(logs[0].find(", Can't malloc memory when initcard!!!!"), std::string::npos);
    EXPECT_TRUE(host.Calls(kCbSendSeat).empty()) << "a deal message went out";
    EXPECT_TRUE(host.Calls(kCbSendSeatAndWatchers).empty());
    EXPECT_EQ(referee.State().phase, kPhaseEmperor) << "the hands were set";
    EXPECT_EQ(referee.State().seats[0].cardsInHand + referee.State().seats[4].cardsInHand, 67u);
}

// ================================================================ the emperor

TEST(EmperorTest, RefusalsOnBothSides)
{
    Table tb({});
    tb.Ev(tb.P(3), kEvAcceptEmperor);
    EXPECT_TRUE(Logged(tb.P(3), "不是决定皇帝阶段:0"));
    tb.ReadyAll();
    tb.ForceHands({"5", "7 8", "E 12 9 3", "10 11", "G 4"});
    tb.Clear();
    EXPECT_EQ(tb.Ev(tb.P(3), kEvAcceptEmperor), -1);
    EXPECT_TRUE(Logged(tb.P(3), "该玩家没有皇牌"));
    EXPECT_TRUE(tb.P(3).sent.empty());
    // Seat 3's player names seat 2, whose turn it is.
    tb.FromPlayer(tb.P(3), kMsgEmperorChoice, {2, 1, 0, 0});
    EXPECT_TRUE(Logged(tb.R(), "CanDetermineEmperor 2"));
    // Choices outside 1-2 are refused in the ordinary path.
    tb.FromPlayer(tb.P(2), kMsgEmperorChoice, {2, 3, 0, 0});
    EXPECT_TRUE(Logged(tb.R(), "CMardavelBoard::OnEmperorChoice, choice 3 refused"));
    // A pass that keeps the emperor's card, or names cards not held.
    tb.FromPlayer(tb.P(2), kMsgEmperorChoice, {2, 2, 0, 1}, {Ids("12")[0]});
    EXPECT_TRUE(Logged(tb.R(), "CMardavelBoard::OnEmperorChoice, seat 2 keeps the emperor's card"));
    tb.FromPlayer(tb.P(2), kMsgEmperorChoice, {2, 2, 0, 2}, {kEmperorCardId, 200});
    EXPECT_TRUE(Logged(tb.R(), "传牌的时候服务器没有该张牌:2,200"));
    EXPECT_TRUE(SentOf(tb.R(), kMsgEmperorChoice).empty());
    EXPECT_EQ(tb.RefState().seatToAct, 2);
}

TEST(EmperorTest, PassingTheCardGivesItToTheSeatBefore)
{
    Table tb({});
    tb.ReadyAll();
    tb.ForceHands({"5", "7 8", "E 12 9 3", "10 11", "G 4"});
    tb.Clear();
    // The first decision of the hand passes the emperor's card alone.
    EXPECT_EQ(tb.Ev(tb.P(2), kEvPassEmperorCard), 1);
    const std::vector<Sent> sent = SentOf(tb.P(2), kMsgEmperorChoice);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].Msg()->length, 25u);
    EXPECT_EQ(sent[0].Word(2), 0) << "the player leaves the target to the referee";
    EXPECT_EQ(sent[0].Word(3), 1);
    const std::vector<Sent> relayed = SentOf(tb.R(), kMsgEmperorChoice);
    ASSERT_EQ(relayed.size(), 1u);
    EXPECT_EQ(relayed[0].code, kCbSendAll);
    EXPECT_EQ(relayed[0].Word(2), 1) << "the seat before";
    for (Party* p : {&tb.R(), &tb.P(1)}) {
        const BoardGameState& s = Table::S(*p);
        EXPECT_EQ(s.seats[1].cardsInHand, 3u);
        EXPECT_EQ(s.seats[2].cardsInHand, 3u);
        EXPECT_EQ(s.seatToAct, 1);
        EXPECT_EQ(s.hands[1][0].id, kEmperorCardId);
        EXPECT_EQ(s.hands[1][0].flags & (kCardPassed | kCardSelected), kCardPassed | kCardSelected);
    }
    for (int s = 0; s < kBoardSeats; ++s) {
        EXPECT_EQ(Table::S(tb.P(s)).seatToAct, 1);
        EXPECT_TRUE(Raised(tb.P(s), kCbSeatCards, 2));
        EXPECT_TRUE(Raised(tb.P(s), kCbSeatCards, 1));
        EXPECT_TRUE(Raised(tb.P(s), kCbEmperorDecided, 2));
    }
    // Later passes take the highest plain card along, and the cards received
    // go on with it.
    tb.Ev(tb.P(1), kEvPassEmperorCard);
    EXPECT_EQ(SentOf(tb.R(), kMsgEmperorChoice).back().Word(3), 2);
    EXPECT_EQ(tb.RefState().seats[0].cardsInHand, 3u);
    tb.Ev(tb.P(0), kEvPassEmperorCard);
    EXPECT_EQ(SentOf(tb.R(), kMsgEmperorChoice).back().Word(3), 3);
    EXPECT_EQ(Table::S(tb.P(4)).seats[4].cardsInHand, 5u);
    EXPECT_EQ(SortedHand(Table::S(tb.P(4)), 4), SortedHand(tb.RefState(), 4));
}

TEST(EmperorTest, TheCardComesBackOnceThenTheHandIsDealtAgain)
{
    Table tb({});
    tb.ReadyAll();
    tb.ForceHands({"5 6", "7 8", "E 9 10", "10 11", "G 4"});
    const int deals = tb.t.Count().deals;
    // Round the table: 2 -> 1 -> 0 -> 4 -> 3 -> 2.
    for (int seat : {2, 1, 0, 4, 3})
        tb.Ev(tb.P(seat), kEvPassEmperorCard);
    for (Party* p : tb.Players())
        EXPECT_TRUE(Table::S(*p).tableFlags & kTableEmperorCardReturned) << p->index;
    EXPECT_EQ(tb.RefState().seatToAct, 2);
    EXPECT_EQ(tb.RefState().phase, kPhaseEmperor);
    EXPECT_EQ(tb.t.Count().deals, deals);
    tb.Clear();
    for (int seat : {2, 1, 0, 4, 3})
        tb.Ev(tb.P(seat), kEvPassEmperorCard);
    // The last pass is not relayed: the hand is dealt again.
    EXPECT_EQ(SentOf(tb.R(), kMsgEmperorChoice).size(), 4u);
    EXPECT_EQ(SentOf(tb.R(), kMsgDeal).size(), 10u);
    EXPECT_EQ(tb.t.Count().deals, deals + 1);
    EXPECT_EQ(Table::B(tb.R()).Side().emperorCardReturns, 0u);
    for (Party* p : tb.Players()) {
        EXPECT_EQ(Table::S(*p).phase, kPhaseEmperor);
        EXPECT_EQ(Table::S(*p).tableFlags & kTableEmperorCardReturned, 0u);
    }
}

TEST(EmperorTest, AcceptingSendsTheGuardItsSeatAndEveryOtherSeatMinusOne)
{
    Table tb({}, {4});
    tb.ReadyAll();
    tb.ForceHands({"5", "7 8", "E 12 9 3", "10 11", "G 4"});
    Table::S(tb.P(2)).hands[2][1].flags |= kCardSelected;
    tb.Clear();
    tb.Ev(tb.P(2), kEvAcceptEmperor);
    const std::vector<Sent> choice = SentOf(tb.R(), kMsgEmperorChoice);
    ASSERT_EQ(choice.size(), 1u);
    EXPECT_EQ(choice[0].Word(1), 1);
    EXPECT_EQ(choice[0].Word(2), -1);
    const std::vector<Sent> results = SentOf(tb.R(), kMsgEmperorResult);
    ASSERT_EQ(results.size(), 5u);
    for (const Sent& r : results) {
        EXPECT_EQ(r.code, kCbSendSeatAndWatchers);
        EXPECT_EQ(r.Word(0), r.seat == 4 ? 4 : -1);
        EXPECT_EQ(r.Msg()->length, 8u);
    }
    EXPECT_EQ(results[0].seat, 4) << "the guard's copy first";
    for (int s = 0; s < kBoardSeats; ++s) {
        const BoardGameState& v = Table::S(tb.P(s));
        EXPECT_EQ(v.phase, kPhaseGuard);
        EXPECT_EQ(v.emperorSeat, 2);
        EXPECT_EQ(v.guardSeat, s == 4 ? 4 : -1);
        EXPECT_TRUE(Raised(tb.P(s), kCbEmperorResult, s == 4 ? 4 : -1));
        EXPECT_TRUE(Raised(tb.P(s), kCbAnnounce, kAnnounceEmperor, 2));
        EXPECT_TRUE(Raised(tb.P(s), kCbEmperorDecided, 2));
    }
    EXPECT_EQ(Table::S(tb.W(0)).guardSeat, 4) << "the guard's watchers";
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Table::S(tb.P(2)).hands[2][i].flags & kCardSelected, 0);
}

// ================================================================ rule option 10

TEST(JointDecisionTest, PathsOfTheFirstDecision)
{
    const std::vector<std::string> hands = {"5", "7 8", "E 12 9 3", "10 11", "G 4"};
    struct Case {
        const char* what;
        bool kick;
        std::vector<int32_t> events;  // per seat
        int emperor;
        uint32_t phase;
        std::vector<int32_t> message;  // the referee's 0x26002: seat, choice, target, count
    };
    const int P = kEvPassEmperorCard, A = kEvAcceptEmperor, L = kEvPlayAlone;
    const Case cases[] = {
        {"the seat to act accepts", false, {P, P, A, P, P}, 2, kPhaseGuard, {2, 1, -1, 0}},
        {"the seat to act plays alone", false, {P, P, L, P, P}, 2, kPhasePlay, {2, 3, -1, 0}},
        {"another seat plays alone", false, {P, L, P, L, P}, 1, kPhasePlay, {2, 3, 1, 1}},
        {"nobody: the card is passed on", false, {P, P, P, P, P}, -1, kPhaseEmperor, {2, 2, 1, 1}},
        {"kicks: another seat alone", true, {P, P, P, L, P}, 3, kPhaseGuard, {2, 3, 3, 0}},
        {"kicks: passed on, the receiver accepts", true, {P, P, P, P, P}, 4, kPhaseGuard, {4, 1, -1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::pair<int, int>> options = {{kOptJointFirstDecision, 1}};
        if (c.kick)
            options.push_back({kOptKickRules, 1});
        Table tb(options);
        tb.ReadyAll();
        tb.ForceHands(hands);
        tb.Clear();
        for (int s = 0; s < kBoardSeats; ++s)
            if (tb.RefState().phase == kPhaseEmperor && (tb.RefState().tableFlags & kTableFirstDecisionOpen))
                tb.Ev(tb.P(s), c.events[static_cast<size_t>(s)]);
        const std::vector<Sent> sent = SentOf(tb.R(), kMsgEmperorChoice);
        ASSERT_FALSE(sent.empty());
        const Sent& m = sent.back();
        EXPECT_EQ(std::vector<int32_t>({m.Word(0), m.Word(1), m.Word(2), m.Word(3)}), c.message);
        for (Party* p : {&tb.R(), &tb.P(0), &tb.P(3)}) {
            const BoardGameState& s = Table::S(*p);
            EXPECT_EQ(s.emperorSeat, c.emperor) << p->index;
            EXPECT_EQ(s.phase, c.phase) << p->index;
            EXPECT_EQ(s.tableFlags & kTableFirstDecisionOpen, 0u) << p->index;
        }
        const BoardGameState& r = tb.RefState();
        if (c.message[1] == kChoiceAlone) {
            EXPECT_EQ(r.guardSeat, c.emperor);
            EXPECT_EQ(r.decisionMarks[c.emperor], 1);
            EXPECT_TRUE(r.tableFlags & kTableSeatPlaysAlone);
            EXPECT_EQ(Table::S(tb.P(0)).guardSeat, c.emperor);
            const bool cardMoved = !c.kick && c.emperor != 2;
            EXPECT_EQ(GetNuberByCardWhat(r.hands[c.emperor], HandCount(r, c.emperor), kEmperorCardId) >= 0,
                      cardMoved || c.emperor == 2);
            if (c.kick) {
                EXPECT_EQ(r.ruleFlags & kRuleFlagKickStage, kKickStageAlone);
                EXPECT_TRUE(Raised(tb.P(0), kCbSeatAlone, -1));
            }
        }
    }
}

TEST(JointDecisionTest, ASecondDecisionIsRefused)
{
    Table tb({{kOptJointFirstDecision, 1}});
    tb.ReadyAll();
    tb.ForceHands({"5", "7 8", "E 12 9 3", "10 11", "G 4"});
    tb.Ev(tb.P(3), kEvPassEmperorCard);
    tb.Ev(tb.P(3), kEvPassEmperorCard);
    EXPECT_TRUE(Logged(tb.R(), "CanDetermineEmperor 1"));
    EXPECT_EQ(tb.RefState().readyCount, 1);
}

// ================================================================ rule option 11

TEST(NamedCardTest, TheGuardIsFoundThroughTheEmperorsThreeIdenticalCards)
{
    struct Case {
        const char* what;
        std::vector<std::string> hands;
        int guard;
    };
    const Case cases[] = {
        {"the first other holder in seat order", {"9c 7", "5c 8", "E 5c 5c 5c 6", "5c", "9c"}, 1},
        {"the emperor holds all four", {"9c", "8", "E 5c 5c 5c 5c", "7", "6"}, 2},
        {"nobody holds the fourth", {"9c", "8", "E 5c 5c 5c", "7", "6"}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Table tb({{kOptNoGuardCard, 1}});
        tb.ReadyAll();
        tb.ForceHands(c.hands);
        tb.Clear();
        tb.Ev(tb.P(2), kEvAcceptEmperor);
        const BoardGameState& r = tb.RefState();
        EXPECT_EQ(r.guardSeat, c.guard);
        EXPECT_EQ(MakeCardEntry(r.rememberedCardId, r).rank, 5);
        const std::vector<Sent> results = SentOf(tb.R(), kMsgEmperorResult);
        EXPECT_EQ(results.size(), 5u) << "never addressed to a seat that is not there";
        for (const Sent& m : results) {
            EXPECT_EQ(m.Word(0), m.seat == c.guard ? c.guard : -1);
            EXPECT_EQ(m.Word(1), r.rememberedCardId);
        }
        for (int s = 0; s < kBoardSeats; ++s) {
            const BoardGameState& v = Table::S(tb.P(s));
            EXPECT_EQ(v.rememberedCardId, r.rememberedCardId);
            EXPECT_EQ(v.guardSeat, s == c.guard ? c.guard : -1);
        }
        if (c.guard < 0) {
            // Without a guard nobody decides a protection: hidden, and the
            // emperor plays alone.
            const std::vector<Sent> guardStep = SentOf(tb.R(), kMsgGuardChoice);
            ASSERT_EQ(guardStep.size(), 1u);
            EXPECT_EQ(guardStep[0].Word(0), -1);
            EXPECT_EQ(guardStep[0].Word(1), kGuardHidden);
            for (Party* p : tb.Players()) {
                EXPECT_EQ(Table::S(*p).phase, kPhasePlay);
                EXPECT_EQ(Table::S(*p).seatToAct, 2);
            }
        }
        if (c.guard >= 0) {
            // The guard's copy became the named card (rank value + 218) on
            // the referee and on the guard's board.
            const uint8_t named = static_cast<uint8_t>(kNamedCardIdBase + 5);
            for (Party* p : {&tb.R(), &tb.P(c.guard)}) {
                const BoardGameState& v = Table::S(*p);
                const int at = GetNuberByCardWhat(v.hands[c.guard], HandCount(v, c.guard), named);
                ASSERT_GE(at, 0) << p->index;
                EXPECT_EQ(v.hands[c.guard][at].flags & kCardGuard, kCardGuard);
                EXPECT_EQ(v.hands[c.guard][at].suit, 0);
            }
            EXPECT_EQ(SortedHand(Table::S(tb.P(c.guard)), c.guard), SortedHand(r, c.guard));
        }
    }
}

// ================================================================ the guard step

TEST(GuardTest, WithoutRuleOption7TheGuardDecidesAlone)
{
    for (bool open : {true, false}) {
        Table tb({{kOptAllSeatsGuardStep, 0}});
        tb.ReadyAll();
        tb.ForceHands({"5", "7 8", "E 12 9 3", "10 11", "G 4"});
        tb.Ev(tb.P(2), kEvAcceptEmperor);
        tb.Clear();
        EXPECT_EQ(tb.Ev(tb.P(1), kEvGuardOpen), -1);
        EXPECT_TRUE(Logged(tb.P(1), "不是侍卫确发送了侍卫消息"));
        // The emperor's board was not told the guard's seat: refused there
        // too, nothing goes to the referee.
        EXPECT_EQ(tb.Ev(tb.P(2), kEvGuardOpen), -1);
        EXPECT_TRUE(Logged(tb.P(2), "不是侍卫确发送了侍卫消息"));
        EXPECT_TRUE(SentOf(tb.P(2), kMsgGuardChoice).empty());
        EXPECT_TRUE(tb.R().logs.empty());
        tb.Ev(tb.P(4), open ? kEvGuardOpen : kEvGuardHidden);
        const std::vector<Sent> sent = SentOf(tb.R(), kMsgGuardChoice);
        ASSERT_EQ(sent.size(), 1u) << "only the result goes out";
        EXPECT_EQ(sent[0].Word(0), open ? 4 : -1);
        EXPECT_EQ(sent[0].Word(1), open ? kGuardOpen : kGuardHidden);
        for (int s = 0; s < kBoardSeats; ++s) {
            const BoardGameState& v = Table::S(tb.P(s));
            EXPECT_EQ(v.phase, kPhasePlay);
            EXPECT_EQ(v.seatToAct, 2);
            EXPECT_EQ(v.leadSeat, 2);
            EXPECT_EQ(v.guardSeat, open || s == 4 ? 4 : -1);
            EXPECT_EQ(v.decisionMarks[4], open ? 1 : 0);
            EXPECT_TRUE(Raised(tb.P(s), kCbGuardDecided, -1));
            EXPECT_TRUE(Raised(tb.P(s), kCbAnnounce, kAnnounceGuardStep, s));
        }
        tb.Ev(tb.P(4), kEvGuardHidden);
        EXPECT_TRUE(Logged(tb.P(4), "不是侍卫决定明暗保阶段:3"));
    }
}

TEST(GuardTest, WithRuleOption7EverySeatDecidesAndTwoCallsCallTheGuardOut)
{
    Table tb({});
    tb.ReadyAll();
    tb.ForceHands({"5", "7 8", "E 12 9 3", "10 11", "G 4"});
    tb.Ev(tb.P(2), kEvAcceptEmperor);
    tb.Clear();
    tb.Ev(tb.P(4), kEvGuardOpen);
    // The guard's "open" goes out as -1 and tells every board who he is.
    ASSERT_EQ(SentOf(tb.R(), kMsgGuardChoice).size(), 1u);
    EXPECT_EQ(SentOf(tb.R(), kMsgGuardChoice)[0].Word(1), -1);
    for (int s = 0; s < kBoardSeats; ++s)
        EXPECT_EQ(Table::S(tb.P(s)).guardSeat, 4);
    tb.Ev(tb.P(0), kEvGuardOpen);
    tb.Ev(tb.P(1), kEvGuardHidden);
    tb.Ev(tb.P(3), kEvGuardOpen);
    const Sent result = SentOf(tb.R(), kMsgGuardChoice).back();
    EXPECT_EQ(result.Word(0), 4);
    EXPECT_EQ(result.Word(1), kGuardOpen);

    // Hidden guard, two calls: called out.
    Table out({});
    out.ReadyAll();
    out.ForceHands({"5", "7 8", "E 12 9 3", "10 11", "G 4"});
    out.Ev(out.P(2), kEvAcceptEmperor);
    for (int s : {4, 0, 1, 3})
        out.Ev(out.P(s), s == 4 || s == 1 ? kEvGuardHidden : kEvGuardOpen);
    const Sent calledOut = SentOf(out.R(), kMsgGuardChoice).back();
    EXPECT_EQ(calledOut.Word(1), kGuardCalledOut);
    for (Party* p : out.Players()) {
        EXPECT_TRUE(Table::S(*p).tableFlags & kTableGuardCalledOut);
        EXPECT_EQ(Table::S(*p).decisionMarks[4], 1);
    }
    // A result from a player is refused.
    out.FromPlayer(out.P(0), kMsgGuardChoice, {4, kGuardOpen});
    EXPECT_EQ(out.RefState().phase, kPhasePlay);
}

TEST(GuardTest, ResultsFromAPlayerAreRefused)
{
    Table tb({});
    tb.ReadyAll();
    tb.ForceHands({"5", "7 8", "E 12 9 3", "10 11", "G 4"});
    tb.Ev(tb.P(2), kEvAcceptEmperor);
    tb.Clear();
    tb.FromPlayer(tb.P(0), kMsgGuardChoice, {0, kGuardOpen});
    EXPECT_TRUE(Logged(tb.R(), "CMardavelBoard::OnGuardChoice, result 4 from a player refused"));
    tb.FromPlayer(tb.P(0), kMsgGuardChoice, {0, -1});
    EXPECT_TRUE(Logged(tb.R(), "CMardavelBoard::OnGuardChoice, choice -1 refused"));
    EXPECT_TRUE(tb.R().sent.empty());
    EXPECT_EQ(tb.RefState().phase, kPhaseGuard);
}

// ================================================================ the kick stage

TEST(KickTest, OpenProtectionOpensTheKickStageForTheOtherSeats)
{
    Table tb({{kOptKickRules, 1}});
    tb.ReadyAll();
    tb.ForceHands({"5", "7 8", "E 12 9 3", "10 11", "G 4"});
    tb.Ev(tb.P(2), kEvAcceptEmperor);
    tb.Clear();
    tb.Ev(tb.P(4), kEvGuardOpen);  // open: the round ends at once with rule option 12
    for (Party* p : tb.Players()) {
        EXPECT_EQ(Table::S(*p).phase, kPhaseGuard);
        EXPECT_EQ(Table::S(*p).ruleFlags & kRuleFlagKickStage, kKickStageOpen);
    }
    for (int s = 0; s < kBoardSeats; ++s) {
        const bool decides = s != 2 && s != 4;
        EXPECT_TRUE(Raised(tb.P(s), decides ? kCbKickOpen : kCbKickDone, s)) << s;
        if (!decides) {
            EXPECT_TRUE(Raised(tb.P(s), kCbClock, 0, 0));
        }
    }
    // The emperor may not kick after open protection.
    tb.FromPlayer(tb.P(2), kMsgKickChoice, {2, 1});
    EXPECT_TRUE(Logged(tb.R(), "CanDetermineKick 3"));
    tb.FromPlayer(tb.P(0), kMsgKickChoice, {1, 1});
    EXPECT_TRUE(Logged(tb.R(), "CanDetermineKick 2"));
    tb.Ev(tb.P(0), kEvKick);
    tb.FromPlayer(tb.P(0), kMsgKickChoice, {0, 1});
    EXPECT_TRUE(Logged(tb.R(), "CanDetermineKick 1"));
    tb.Ev(tb.P(1), kEvKick);  // two kicks: result 3 at once
    const Sent result = SentOf(tb.R(), kMsgKickChoice).back();
    EXPECT_EQ(result.Word(0), 1);
    EXPECT_EQ(result.Word(1), kKickThree);
    for (Party* p : tb.Players()) {
        EXPECT_EQ(Table::S(*p).phase, kPhasePlay);
        EXPECT_TRUE(Table::S(*p).tableFlags & kTableKickResult3);
        EXPECT_EQ(Table::S(*p).seatToAct, 2);
    }
}

TEST(KickTest, AfterACallOutTheEmperorOrTheGuardKicks)
{
    for (int kicker : {2, 4}) {
        Table tb({{kOptKickRules, 1}});
        tb.ReadyAll();
        tb.ForceHands({"5", "7 8", "E 12 9 3", "10 11", "G 4"});
        tb.Ev(tb.P(2), kEvAcceptEmperor);
        tb.Ev(tb.P(0), kEvGuardOpen);
        tb.Ev(tb.P(1), kEvGuardOpen);  // two calls: called out at once
        EXPECT_EQ(tb.RefState().ruleFlags & kRuleFlagKickStage, kKickStageCalledOut);
        EXPECT_TRUE(Raised(tb.P(4), kCbKickOpen, 4));
        tb.FromPlayer(tb.P(0), kMsgKickChoice, {0, 1});
        EXPECT_TRUE(Logged(tb.R(), "CanDetermineKick 4"));
        tb.Ev(tb.P(kicker), kEvKick);
        const Sent result = SentOf(tb.R(), kMsgKickChoice).back();
        EXPECT_EQ(result.Word(1), kicker == 2 ? kKickEmperor : kKickGuard);
        for (Party* p : tb.Players())
            EXPECT_TRUE(Table::S(*p).tableFlags & (kicker == 2 ? kTableKickResult4 : kTableKickResult5));
    }
}

// ================================================================ playing

TEST(PlayTest, RefusalsOnThePlayerSide)
{
    Table tb({});
    tb.StartPlay({"5 6", "7 7 12", "E 9 9 3", "10 11 4", "G 8"});
    ASSERT_EQ(tb.RefState().phase, kPhasePlay);
    tb.Clear();
    // The seat that leads may not pass.
    EXPECT_EQ(tb.Ev(tb.P(2), kEvPass), -1);
    EXPECT_TRUE(Raised(tb.P(2), kCbPlayRefused, kRefuseLeaderPass));
    EXPECT_TRUE(Logged(tb.P(2), "领牌者，不能pass nShouldTakeoutSide=2,nLastTakeoutSide=2"));
    // Not its turn: a play does nothing; a pass while the seat to act leads
    // gets the leader's refusal.
    EXPECT_EQ(tb.Play(1, "7"), 1);
    EXPECT_TRUE(tb.P(1).sent.empty()) << "nothing happens";
    EXPECT_EQ(tb.Ev(tb.P(1), kEvPass), -1);
    EXPECT_TRUE(Logged(tb.P(1), "领牌者，不能pass nShouldTakeoutSide=2,nLastTakeoutSide=2"));
    // Not a combination.
    EXPECT_EQ(tb.Play(2, "9 3"), -1);
    EXPECT_TRUE(Raised(tb.P(2), kCbAnnounce, kAnnounceRefused, 2));
    EXPECT_TRUE(Raised(tb.P(2), kCbPlayRefused, kRefuseInvalid));
    // Not higher, not comparable.
    EXPECT_EQ(tb.Play(2, "9 9"), 1);
    tb.Clear();
    EXPECT_EQ(tb.Ev(tb.P(1), kEvPass), -1);
    EXPECT_TRUE(Logged(tb.P(1), "不该我出牌我出牌了1,3"));
    EXPECT_EQ(tb.Play(3, "10"), -1);
    EXPECT_TRUE(Raised(tb.P(3), kCbPlayRefused, kRefuseNotComparable));
    tb.Ev(tb.P(3), kEvPass);
    EXPECT_EQ(tb.Play(4, "G 8"), -1);
    EXPECT_TRUE(Raised(tb.P(4), kCbPlayRefused, kRefuseNotHigher));
    for (Party* p : tb.Players())
        for (const Sent& sent : SentOf(*p, kMsgPlay))
            EXPECT_EQ(sent.Word(2), 0) << "board " << p->index << " sent a refused play";
}

TEST(PlayTest, RefusalsOnTheRefereeSide)
{
    Table tb({});
    tb.StartPlay({"5 6", "7 7 12", "E 9 9 3", "10 11 4", "G 8"});
    tb.Clear();
    const int32_t nine = Ids("9")[0];
    tb.FromPlayer(tb.P(3), kMsgPlay, {2, -1, 1, nine});
    EXPECT_TRUE(Logged(tb.R(), "服务器端出牌错误"));
    tb.FromPlayer(tb.P(3), kMsgPlay, {3, -1, 1, Ids("10")[0]});
    EXPECT_TRUE(Logged(tb.R(), "不该我出牌我出牌了3,2"));
    tb.FromPlayer(tb.P(2), kMsgPlay, {2, -1, 1, 200});
    EXPECT_TRUE(Logged(tb.R(), "检查出牌是否在用户手中！2:200"));
    EXPECT_TRUE(Logged(tb.R(), "nCurType<0"));
    tb.Play(2, "9 9");
    tb.FromPlayer(tb.P(3), kMsgPlay, {3, -1, 1, Ids("10")[0]});  // a single on a pair
    EXPECT_EQ(std::count(tb.R().logs.begin(), tb.R().logs.end(), "nCurType<0"), 2);
    EXPECT_EQ(tb.RefState().seatToAct, 3);
    EXPECT_EQ(SentOf(tb.R(), kMsgPlay).size(), 1u);

    Table guard({});
    guard.ReadyAll();
    guard.ForceHands({"5", "7 8", "E 12 9 3", "10 11", "G 4"});
    guard.FromPlayer(guard.P(2), kMsgPlay, {2, -1, 1, Ids("9")[0]});
    EXPECT_TRUE(Logged(guard.R(), "不是出牌阶段出牌了:1"));
}

TEST(PlayTest, TheOwnPlayIsShownAtOnceAndTheEchoOnlyMovesTheTurn)
{
    Table tb({});
    tb.StartPlay({"5 6", "7 7 12", "E 9 9 3", "10 11 4", "G 8"});
    tb.Clear();
    // Sending applies the play on the own board at once.
    Party& p2 = tb.P(2);
    BoardGameState& mine = Table::S(p2);
    for (int i = 0; i < HandCount(mine, 2); ++i)
        if (mine.hands[2][i].rank == 9)
            mine.hands[2][i].flags |= kCardSelected;
    tb.t.Event(p2, kEvPlayCards);
    EXPECT_EQ(Codes(p2, {kCbAnnounce, kCbSeatTable, kCbSeatCards, kCbPlayApplied}),
              (std::vector<uint32_t>{kCbAnnounce, kCbSeatTable, kCbSeatCards, kCbSeatCards, kCbPlayApplied}));
    EXPECT_EQ(mine.seats[2].cardsInHand, 2u);
    EXPECT_EQ(mine.leadSeat, 2);
    EXPECT_EQ(mine.seatToAct, 2) << "until the referee answers";
    p2.calls.clear();
    tb.t.Pump();
    EXPECT_EQ(mine.seats[2].cardsInHand, 2u) << "not taken twice";
    EXPECT_EQ(mine.seatToAct, 3);
    EXPECT_TRUE(Calls(p2, kCbAnnounce).empty());
    EXPECT_TRUE(Calls(p2, kCbPlayApplied).empty());
    EXPECT_FALSE(Calls(p2, kCbSeatTable).empty());
    // The other boards show it from the referee's message.
    EXPECT_TRUE(Raised(tb.P(0), kCbAnnounce, kAnnouncePlay, 2));
    EXPECT_TRUE(Raised(tb.P(0), kCbPlayApplied, 2));
    EXPECT_EQ(Table::S(tb.P(0)).seats[2].cardsInHand, 2u);
    EXPECT_EQ(Table::S(tb.P(0)).seats[2].tableCardCount, 2u);
    EXPECT_EQ(tb.RefState().trickCount, 2);
    EXPECT_EQ(SortedHand(mine, 2), SortedHand(tb.RefState(), 2));
}

TEST(PlayTest, TheLeadPassesOnWhenItsHolderGoesOut)
{
    Table tb({});
    tb.StartPlay({"5 6", "7 7 12", "E 9", "10 11 4", "G 8"});
    tb.Clear();
    tb.Play(2, "9");
    tb.Ev(tb.P(3), kEvPass);
    tb.Ev(tb.P(4), kEvPass);
    tb.Ev(tb.P(0), kEvPass);
    tb.Ev(tb.P(1), kEvPass);
    EXPECT_EQ(tb.RefState().seatToAct, 2);
    tb.Play(2, "E");  // the emperor's last card: out first, and nobody can beat it
    EXPECT_EQ(tb.RefState().finishPlace[2], 1);
    EXPECT_TRUE(Raised(tb.P(0), kCbAnnounce, kAnnounceOut, 2));
    EXPECT_EQ(Table::B(tb.R()).Side().firstOutSeat, 2);
    // The turn came back to the seat that is out: the seat after it leads.
    for (Party* p : {&tb.R(), &tb.P(3), &tb.P(0)}) {
        EXPECT_EQ(Table::S(*p).seatToAct, 3) << p->index;
        EXPECT_EQ(Table::S(*p).leadSeat, 3) << p->index;
        EXPECT_EQ(Table::S(*p).phase, kPhasePlay) << p->index;
    }
}

TEST(PlayTest, AForcedPassIsMadeByTheRefereeAtOnce)
{
    Table tb({});
    tb.StartPlay({"5 6", "7 7 12", "E 9", "10 11 4", "G 8"});
    tb.Clear();
    tb.Play(2, "E");  // a big joker cannot be beaten without rule option 0
    // Seats 3, 4, 0 and 1 are passed; the lead comes back to seat 2.
    EXPECT_EQ(tb.RefState().seatToAct, 2);
    const std::vector<Sent> plays = SentOf(tb.R(), kMsgPlay);
    ASSERT_EQ(plays.size(), 5u);
    for (size_t i = 1; i < plays.size(); ++i)
        EXPECT_EQ(plays[i].Word(2), 0);
    // A seat not under automatic action raises callback 23, also when passed.
    EXPECT_EQ(Calls(tb.R(), kCbSeatActed).size(), 5u);
    // The boards hold messages while the referee passes: 1000 ms over the
    // seats with cards.
    EXPECT_TRUE(Raised(tb.P(3), kCbHoldMessages, 1000 / 5));
}

TEST(PlayTest, ASeatUnderAutomaticActionIsPlayedByTheReferee)
{
    Table tb({});
    tb.StartPlay({"5 6", "7 7 12", "E 9 3", "10 11 4", "G 8"});
    tb.t.SetTrustPlay(3, true);
    tb.t.Pump();
    tb.Clear();
    tb.Play(2, "3");
    // Seat 3 follows with a pass, made by the referee; seat 4 is to act.
    EXPECT_EQ(tb.RefState().seatToAct, 4);
    ASSERT_EQ(SentOf(tb.R(), kMsgPlay).size(), 2u);
    EXPECT_EQ(SentOf(tb.R(), kMsgPlay)[1].Word(0), 3);
    EXPECT_EQ(Calls(tb.R(), kCbSeatActed).size(), 1u) << "never for a seat under automatic action";
    EXPECT_TRUE(Raised(tb.P(2), kCbHoldMessages, 200)) << "the next seat plays automatically";
}

// ================================================================ the end of a hand

TEST(ScoreTest, TheHandEndsScoredOnBothSides)
{
    Table tb({});
    tb.StartPlay({"5", "7", "E", "10 11", "G"});
    tb.Clear();
    tb.Play(2, "E");  // seats 3, 4, 0, 1 cannot beat it: the emperor is out first
    ASSERT_EQ(tb.RefState().finishPlace[2], 1);
    // Seat 3 leads; seat 4 plays the guard's card and goes out second.
    tb.Play(3, "10");
    tb.Play(4, "G");
    EXPECT_EQ(tb.RefState().phase, kPhaseIdle);
    EXPECT_TRUE(Logged(tb.R(), "一局结束"));
    // Factor per seat (word 9 the seat), 9 (hands before), 22, the score, 17,
    // 19 at the end of the match, 20.
    const std::vector<BoardCallbackRecord> factors = Calls(tb.R(), kCbScoreFactor);
    ASSERT_EQ(factors.size(), 5u);
    for (int s = 0; s < kBoardSeats; ++s)
        EXPECT_EQ(factors[static_cast<size_t>(s)].userId, s);
    EXPECT_EQ(Calls(tb.R(), kCbHandScored).at(0).userId, 0);
    EXPECT_EQ(Codes(tb.R(), {kCbHandScored, kCbScoreSent, kCbSendAll, kCbMatchGoesOn, kCbHandEndMarker, kCbHandEnded})
                  .back(),
              kCbHandEnded);
    const std::vector<Sent> scores = SentOf(tb.R(), kMsgScore);
    ASSERT_EQ(scores.size(), 1u);
    EXPECT_EQ(scores[0].Word(15), kResultSideWonAll);  // emperor first, guard second
    EXPECT_EQ(scores[0].Word(2), 6);
    EXPECT_EQ(scores[0].Word(4), 3);
    EXPECT_EQ(scores[0].Word(0), -3);
    EXPECT_TRUE(Raised(tb.R(), kCbMatchGoesOn, 0));
    EXPECT_EQ(Calls(tb.R(), kCbHandEndMarker).size(), 1u);
    for (int s = 0; s < kBoardSeats; ++s) {
        Party& p = tb.P(s);
        EXPECT_EQ(Table::S(p).phase, kPhaseIdle);
        EXPECT_EQ(Table::S(p).handsFinished, 1u);
        EXPECT_EQ(Table::S(p).lastScore[2], 6);
        EXPECT_TRUE(Raised(p, kCbMatchGoesOn, 0));
        EXPECT_TRUE(Raised(p, kCbHandResult, kResultSideWonAll));
        EXPECT_TRUE(Raised(p, kCbAnnounce, s == 2 || s == 4 ? kAnnounceOwnSideWon : kAnnounceOwnSideLost, s));
        EXPECT_EQ(Calls(p, kCbRefresh).back().userId, 0);
        EXPECT_TRUE(Raised(p, kCbClock, 1, 20)) << "readiness: option 3";
    }
    // The players' list records and the state's hand totals.
    const BoardPlayerRecord* emperor = Table::B(tb.R()).FindSeatedPlayer(2);
    EXPECT_EQ(emperor->scoreTotal, 6);
    EXPECT_EQ(emperor->wins, 1u);
    EXPECT_EQ(emperor->games, 1u);
}

TEST(ScoreTest, AScoreMessageThatCannotBeMadeIsLogged)
{
    bool found = false;
    for (int k = 0; k < 12 && !found; ++k) {
        Table tb({});
        tb.StartPlay({"5", "7", "E", "10 11", "G"});
        tb.Play(2, "E");
        tb.Play(3, "10");
        tb.Clear();
        BoardGameState& mine = Table::S(tb.P(4));
        mine.hands[4][0].flags |= kCardSelected;
        tb.t.Event(tb.P(4), kEvPlayCards);
        gpFailAllocationAfter(k);
        tb.t.Pump();
        gpFailAllocationAfter(-1);
        for (const std::string& line : tb.R().logs)
            if (line.rfind("MardavelBoardPlay.cpp,", 0) == 0) {
                found = true;
                EXPECT_TRUE(SentOf(tb.R(), kMsgScore).empty());
                EXPECT_EQ(tb.RefState().phase, kPhaseIdle);
            }
    }
    EXPECT_TRUE(found);
}

// ================================================================ the clock

TEST(ClockTest, TimeLimitsPerStep)
{
    Table tb({{kOptReadyTime, 21}, {kOptDecisionTime, 11}, {kOptFirstPlayTime, 31}, {kOptPlayTime, 19}});
    tb.ReadyAll();
    tb.ForceHands({"5 6", "7 7 12", "E 9 9 3", "10 11 4", "G 8"});
    tb.Clear();
    tb.Ev(tb.P(2), kEvPassEmperorCard);
    EXPECT_TRUE(Raised(tb.P(1), kCbClock, 1, 11)) << "later decisions: option 4";
    EXPECT_EQ(Table::S(tb.P(1)).clockLength[1], 11);
    tb.Ev(tb.P(1), kEvAcceptEmperor);
    for (int s = 0; s < kBoardSeats; ++s) {
        EXPECT_TRUE(Raised(tb.P(s), kCbClock, 1, 11)) << "the guard step: option 4 for every seat";
        EXPECT_EQ(Table::S(tb.P(s)).clockSecondsLeft[3], 11);
    }
    tb.Clear();
    for (int s : {0, 2, 3, 4})
        tb.Ev(tb.P(s), kEvGuardHidden);
    EXPECT_TRUE(Raised(tb.P(1), kCbClock, 1, 31)) << "the first play: option 5";
    tb.Play(1, "7");
    EXPECT_TRUE(Raised(tb.P(2), kCbClock, 1, 19)) << "later plays: option 6";
    EXPECT_TRUE(Raised(tb.P(1), kCbClock, 0, 0)) << "sending stops the own clock";
}

TEST(ClockTest, TheFirstDecisionAndARestart)
{
    Table tb({{kOptReadyTime, 21}});
    tb.Clear();
    tb.ReadyAll();
    const int holder = tb.RefState().seatToAct;
    EXPECT_TRUE(Raised(tb.P(holder), kCbClock, 1, 21)) << "the first decision: option 3";
    // A restart returns to phase 0 and runs the own ready step.
    Table::S(tb.P(0)).readyMarks[0] = 0;
    tb.Clear();
    auto restart = MessageBytes(kMsgRestart, 0, nullptr, 0);
    tb.t.Event(tb.P(0), kEvGameMessage, -1, -1, restart.data());
    EXPECT_EQ(Table::S(tb.P(0)).phase, kPhaseIdle);
    EXPECT_EQ(SentOf(tb.P(0), kMsgReady).size(), 1u);
    EXPECT_TRUE(Raised(tb.P(0), kCbClock, 0, 0));
}

// ================================================================ automatic action between hands

TEST(AutoActionTest, BetweenHandsTheRefereeReportsTheAutomaticSeat)
{
    Table tb({{kOptHandsPerMatch, 2}});
    tb.Clear();
    tb.t.SetTrustPlay(1, true);
    tb.t.SetTrustPlay(3, true);
    tb.t.Pump();
    EXPECT_TRUE(Raised(tb.R(), kCbAutoActionState, 3, 2));
    EXPECT_TRUE(Raised(tb.R(), kCbMatchGoesOn, 1));
    // After the match, the value is 0.
    Table::S(tb.R()).handsFinished = 2;
    tb.Clear();
    tb.t.SetTrustPlay(4, true);
    tb.t.Pump();
    EXPECT_TRUE(Raised(tb.R(), kCbAutoActionState, 4, 0));
    EXPECT_FALSE(Raised(tb.R(), kCbMatchGoesOn, 1));
}

TEST(AutoActionTest, AbsentPlayersAreFinishedByTheAutomaticAction)
{
    for (int present : {-1, 2}) {
        TableHarness t(5);
        t.Setup({}, {1});
        ASSERT_TRUE(t.PlayHands(0));
        for (int s = 0; s < kBoardSeats; ++s)
            t.Event(t.SeatPlayer(s), kEvReady);
        t.Pump();
        // A few actions of the hand, then the players leave.
        for (int i = 0; i < 12 && t.RefereeState().phase != kPhasePlay; ++i) {
            t.ActOnce();
            t.Pump();
        }
        const int hands = t.Count().hands;
        for (int s = 0; s < kBoardSeats; ++s) {
            if (s != present)
                t.SetOffline(s);
        }
        if (present < 0) {
            t.Pump();
            EXPECT_EQ(t.Count().hands, hands + 1) << "the referee finished the hand alone";
        } else {
            EXPECT_TRUE(t.PlayHands(1));
        }
        t.CheckViews();
        EXPECT_TRUE(t.Problems().empty()) << t.Problems().front();
        EXPECT_EQ(t.RefereeState().phase, kPhaseIdle);
    }
}

// ================================================================ smaller events

TEST(EventsTest, SortModeHintsAndQueries)
{
    Table tb({});
    tb.StartPlay({"5 5 6", "7 7 12", "E 9 9 5c 5c 5c", "10 11 4", "G 8"});
    BoardGameState& mine = Table::S(tb.P(2));
    EXPECT_EQ(mine.hands[2][1].rank, 5) << "group mode: the three 5s first after the joker";
    tb.Ev(tb.P(2), kEvToggleSort);
    EXPECT_EQ(mine.sortMode, 1);
    EXPECT_EQ(mine.hands[2][1].rank, 9) << "plain: highest first";
    tb.Ev(tb.P(2), kEvToggleSort);
    EXPECT_EQ(mine.sortMode, 0);

    const void* pointer = nullptr;
    tb.Ev(tb.P(2), kEvTableState, 0, 0, &pointer);
    EXPECT_EQ(pointer, &Table::B(tb.P(2)).State());
    tb.Ev(tb.P(2), kEvSavedCounts, 0, 0, &pointer);
    EXPECT_EQ(pointer, Table::B(tb.P(2)).Side().saved.counts);
    tb.Ev(tb.P(2), kEvSavedCards, 0, 0, &pointer);
    EXPECT_EQ(pointer, Table::B(tb.P(2)).Side().saved.cards);
    EXPECT_EQ(tb.Ev(tb.P(2), kEvTableState), -1) << "no place for the pointer";

    const CardEntry* identical = nullptr;
    tb.Ev(tb.P(2), kEvIdenticalCards, 3, -1, &identical);
    ASSERT_NE(identical, nullptr);
    EXPECT_EQ(identical->rank, 5);
    tb.Ev(tb.P(2), kEvIdenticalCards, 4, -1, &identical);
    EXPECT_EQ(identical, nullptr);
    int32_t both = 0;
    tb.Ev(tb.P(4), kEvBothMarkedCards, -1, -1, &both);
    EXPECT_EQ(both, 0);

    // Hints: null when the seat leads; round and round otherwise.
    const HintCandidate* hint = nullptr;
    tb.Ev(tb.P(2), kEvNextHint, -1, -1, &hint);
    EXPECT_EQ(hint, nullptr);
    tb.Play(2, "5 5 5");
    std::vector<int> keys;
    for (int i = 0; i < 3; ++i) {
        tb.Ev(tb.P(3), kEvNextHint, -1, -1, &hint);
        keys.push_back(hint ? hint->key : -1);
    }
    EXPECT_EQ(keys, (std::vector<int>{-1, -1, -1})) << "seat 3 holds no three cards";
    tb.Ev(tb.P(3), kEvPass);
    tb.Ev(tb.P(4), kEvPass);
    tb.Ev(tb.P(0), kEvPass);
    tb.Ev(tb.P(1), kEvPass);
    tb.Play(2, "9");
    keys.clear();
    for (int i = 0; i < 3; ++i) {
        tb.Ev(tb.P(3), kEvNextHint, -1, -1, &hint);
        keys.push_back(hint ? hint->key : -1);
    }
    EXPECT_EQ(keys, (std::vector<int>{10, 11, 10})) << "wraps to the first after the last";
}

TEST(EventsTest, WatchersMaySee)
{
    Table tb({}, {3});
    tb.ReadyAll();
    const std::vector<int> hand3 = SortedHand(tb.RefState(), 3);
    EXPECT_EQ(Table::S(tb.W(0)).hands[3][0].id, kHiddenCardId);
    tb.Clear();
    tb.Ev(tb.P(3), kEvToggleWatchersMaySee);
    const std::vector<Sent> request = SentOf(tb.P(3), kMsgWatchersMaySee);
    ASSERT_EQ(request.size(), 1u);
    EXPECT_EQ(request[0].Word(1), 1);
    const std::vector<Sent> toWatchers = SentOf(tb.R(), kMsgWatchersMaySee);
    ASSERT_EQ(toWatchers.size(), 1u);
    EXPECT_EQ(toWatchers[0].code, kCbSendWatchers);
    EXPECT_EQ(toWatchers[0].Msg()->length, 64u);
    EXPECT_EQ(SortedHand(Table::S(tb.W(0)), 3), hand3);
    EXPECT_TRUE(Raised(tb.W(0), kCbWatchersMaySee, 3));
    // Only the seat's own player may change it.
    tb.FromPlayer(tb.P(1), kMsgWatchersMaySee, {3, 0, 0});
    EXPECT_EQ(tb.RefState().seats[3].watchersMaySee, 1u);
    tb.Ev(tb.P(3), kEvToggleWatchersMaySee);
    EXPECT_EQ(Table::S(tb.W(0)).hands[3][0].id, kHiddenCardId);
}

TEST(EventsTest, RelaysAndSummaries)
{
    Table tb({});
    tb.Clear();
    // 4110: the hand's message log to a recipient.
    EXPECT_EQ(tb.Ev(tb.R(), kEvSendMessageLog, 0, 0, const_cast<char*>("seat1")), 1);
    ASSERT_EQ(SentOf(tb.R(), kMsgMessageLog).size(), 1u);
    EXPECT_EQ(SentOf(tb.R(), kMsgMessageLog)[0].recipient, "seat1");
    // 4111: kind 2 to the recipient named at the start of the entries.
    std::vector<uint8_t> entries(5 * CMardavelBoard::kAnnouncementEntrySize, 7);
    std::memcpy(entries.data(), "seat4\0", 6);
    EXPECT_EQ(tb.Ev(tb.R(), kEvAnnounce, 2, 5, entries.data()), 1);
    EXPECT_EQ(SentOf(tb.R(), kMsgAnnouncement).back().recipient, "seat4");
    EXPECT_EQ(SentOf(tb.R(), kMsgAnnouncement).back().Msg()->length, 5 * 124u);
    EXPECT_EQ(Calls(tb.P(4), kCbAnnouncement).size(), 1u);
    EXPECT_EQ(tb.Ev(tb.R(), kEvAnnounce, 1, 3, entries.data()), -1) << "one or five entries";
    // 4112: five 108-byte seat summaries.
    std::vector<uint8_t> summaries(5 * CMardavelBoard::kSeatSummarySize);
    EXPECT_EQ(tb.Ev(tb.R(), kEvSeatSummaries, 0, 0, summaries.data()), 1);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(summaries.data()) + 6), "seat0");
    // 4113: a block to all; the player side hands 0x26014 to the host.
    const char block[] = "block";
    EXPECT_EQ(tb.Ev(tb.R(), kEvWrapBlock, 0, sizeof block, const_cast<char*>(block)), 1);
    ASSERT_EQ(Calls(tb.P(0), kCbBlock).size(), 1u);
    EXPECT_EQ(Calls(tb.P(0), kCbBlock)[0].p2, static_cast<intptr_t>(8 + sizeof block));
    // 4114 (0x1012, the client's set-title request): own seat and title id.
    EXPECT_EQ(tb.Ev(tb.P(2), 0x1012, 2, 33), 1);
    ASSERT_EQ(SentOf(tb.P(2), kMsgSeatPlayer).size(), 1u);
    EXPECT_EQ(SentOf(tb.P(2), kMsgSeatPlayer)[0].Word(0), 2);
    EXPECT_EQ(SentOf(tb.P(2), kMsgSeatPlayer)[0].Word(1), 33);
    EXPECT_EQ(tb.Ev(tb.R(), 0x1012, 2, 33), 0);
    // 4115: the 60-byte summary, all 255.
    EXPECT_EQ(tb.Ev(tb.R(), kEvSendTableSummary, 0, 0, const_cast<char*>("seat3")), 1);
    const Sent summary = SentOf(tb.R(), kMsgTableSummary).at(0);
    EXPECT_EQ(summary.Msg()->length, 60u);
    EXPECT_EQ(MsgBody(summary.Msg())[59], 255);
    // 4116: n entries of 8 bytes, to all or to a recipient; the player side
    // hands 0x26024 to the host with its size.
    std::vector<uint8_t> relay(20 + 3 * 8, 1);
    std::memcpy(relay.data(), "seat0", 6);
    EXPECT_EQ(tb.Ev(tb.R(), kEvRelayEntries, 1, 3, relay.data()), 1);
    const Sent entriesSent = SentOf(tb.R(), kMsgEntries).back();
    EXPECT_EQ(entriesSent.recipient, "seat0");
    EXPECT_EQ(entriesSent.Msg()->length, 4u + 24u);
    EXPECT_EQ(Calls(tb.P(0), kCbEntries).back().p2, static_cast<intptr_t>(28 + 8));
    EXPECT_EQ(tb.Ev(tb.R(), kEvRelayEntries, 0, 3, relay.data() + 20), 1);
    EXPECT_EQ(SentOf(tb.R(), kMsgEntries).back().code, kCbSendAll);
    EXPECT_EQ(tb.Ev(tb.R(), kEvRelayEntries, 0, 8191, relay.data()), -1) << "no more than fits 64 KiB";
    // 0x26011 is relayed to all and handed to the host.
    tb.FromPlayer(tb.P(1), kMsgRelayedBlock, {1, 2, 3});
    EXPECT_EQ(Calls(tb.P(3), kCbRelayedBlock).back().p2, 8 + 12);
}

TEST(EventsTest, ReplaySteps)
{
    Table tb({});
    tb.StartPlay({"5 6", "7 7 12", "E 9 9 3", "10 11 4", "G 8"});
    tb.Play(2, "9 9");
    Party& viewer = tb.P(0);
    BoardGameState& v = Table::S(viewer);
    // 10059: replay; 10061 takes the play of seat 2 back into its hand.
    tb.Ev(viewer, kEvLiveTable, -1, 0);
    EXPECT_EQ(Table::B(viewer).Side().liveTable, 0u);
    const uint32_t before = v.seats[2].cardsInHand;
    EXPECT_EQ(tb.Ev(viewer, kEvUndoReplayStep, 2, 4, nullptr), 1);
    EXPECT_EQ(v.seats[2].cardsInHand, before + 2);
    EXPECT_EQ(v.seats[2].tableCardCount, 0u);
    EXPECT_EQ(v.seatToAct, 2);
    EXPECT_EQ(v.leadSeat, 4);
    const uint32_t play[4] = {4, static_cast<uint32_t>(-1), 1, kGuardCardId};
    auto msg = MessageBytes(kMsgPlay, 0, play, sizeof play);
    EXPECT_EQ(tb.Ev(viewer, kEvUndoReplayStep, 4, 2, msg.data()), 1);
    EXPECT_EQ(v.seats[4].tableCardCount, 1u);
    EXPECT_EQ(v.tableCards[4][0].id, kGuardCardId);
    EXPECT_EQ(tb.Ev(viewer, kEvUndoReplayStep, 7, 2, nullptr), -1);
    // 10060 writes a card into an entry of the state, nowhere else.
    EXPECT_EQ(tb.Ev(viewer, kEvSetCard, -1, 53, &v.hands[1][3]), 1);
    EXPECT_EQ(v.hands[1][3].rank, kBigJokerRank);
    CardEntry outside{};
    EXPECT_EQ(tb.Ev(viewer, kEvSetCard, -1, 53, &outside), -1);
    EXPECT_EQ(tb.Ev(viewer, kEvSetCard, -1, 53, reinterpret_cast<uint8_t*>(&v.hands[1][3]) + 1), -1);
}

// ================================================================ board data

TEST(BoardDataTest, ExportHidesWhatTheRecipientMayNotSee)
{
    Table tb({}, {0, 1});
    tb.t.LetWatchersSee(0);
    tb.ReadyAll();
    struct Case {
        uint32_t userId;
        uint8_t identify;
        std::vector<int> visible;
    };
    const Case cases[] = {
        {102, 0, {2}},     // seat 2's player
        {200, 1, {0}},     // seat 0's watcher, allowed
        {201, 1, {}},      // seat 1's watcher, not allowed
    };
    for (const Case& c : cases) {
        PlayerExportRequest request{c.userId, c.identify, nullptr};
        ASSERT_EQ(tb.t.Event(tb.R(), kEvBuildPlayerExport, 0, 0, &request), 1);
        const uint8_t* body = MsgBody(request.message);
        uint32_t count;
        std::memcpy(&count, body + 8, 4);
        BoardGameState exported;
        std::memcpy(&exported, body + 12 + count * sizeof(BoardPlayerRecord), sizeof exported);
        for (int s = 0; s < kBoardSeats; ++s) {
            const bool visible = std::find(c.visible.begin(), c.visible.end(), s) != c.visible.end();
            EXPECT_EQ(exported.hands[s][0].id != kHiddenCardId, visible) << c.userId << " seat " << s;
            EXPECT_EQ(exported.seats[s].cardsInHand, tb.RefState().seats[s].cardsInHand);
        }
    }
}

TEST(BoardDataTest, AnUnsoundTableStateIsRefusedBeforeAnythingChanges)
{
    Table tb({});
    PlayerExportRequest request{100, 0, nullptr};
    ASSERT_EQ(tb.t.Event(tb.R(), kEvBuildPlayerExport, 0, 0, &request), 1);
    const auto* bytes = reinterpret_cast<const uint8_t*>(request.message);
    std::vector<uint8_t> stream(bytes, bytes + MsgSize(request.message));
    uint32_t count;
    std::memcpy(&count, stream.data() + 12 + 8, 4);
    const size_t state = 12 + 12 + count * sizeof(BoardPlayerRecord);
    const struct {
        const char* what;
        size_t offset;
        int32_t value;
    } cases[] = {
        {"53 cards in a hand", offsetof(BoardGameState, seats) + offsetof(SeatState, cardsInHand), 53},
        {"a seat to act of 5", offsetof(BoardGameState, seatToAct), 5},
        {"phase 4", offsetof(BoardGameState, phase), 4},
        {"a play of 60 cards", offsetof(BoardGameState, trickCount), 60},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> bad = stream;
        std::memcpy(bad.data() + state + c.offset, &c.value, 4);
        TestHost host;
        CMardavelBoard player;
        ASSERT_EQ(player.Init(kBoardModePlayer, &TestHost::Callback, host.Cookie(), nullptr), 1);
        BoardPlayerRecord keep = MakePlayer(77, 0, 0, "keep");
        player.ResetPlayers(&keep);
        EXPECT_EQ(player.OnEvent(kEvImportBoardData, 0, 0, bad.data()), -1) << c.what;
        EXPECT_EQ(player.PlayerCount(), 1u) << c.what;
        EXPECT_TRUE(host.Logged("CMardavelBoard::ImportBoardData, bad table state")) << c.what;
    }
}

}  // namespace
