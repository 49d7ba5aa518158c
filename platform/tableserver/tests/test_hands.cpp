// Whole hands: one or two clients with the board's player side against bot
// seats played by the referee's automatic action; watchers see what a
// watcher may see.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "MardavelState.h"
#include "ServerFixture.h"
#include "TestClient.h"

using namespace tableserver;
using namespace tableserver::test;

namespace {

constexpr int kHandTime = 30000;
constexpr int32_t kEvToggleWatchersMaySee = 10041;

int Count(const std::vector<uint32_t>& ids, uint32_t id)
{
    return int(std::count(ids.begin(), ids.end(), id));
}

// The player stops answering (so declares no readiness for another hand)
// once it has the score of its last hand.
void StopAfterHands(BoardPlayer& player, int hands)
{
    player.onMessage = [&player, hands](const Message& m) {
        if (m.id == msgid::kScore && player.scores() + 1 >= hands)
            player.acting = false;
    };
}

// Keeps word 0 of every emperor result the client gets: the guard's seat for
// the guard's player and watchers, -1 for every other seat.
void KeepGuardWords(BoardPlayer& player, std::vector<int32_t>& words)
{
    auto before = player.onMessage;
    player.onMessage = [before, &words](const Message& m) {
        if (m.id == msgid::kEmperorResult && m.body.size() >= 4)
            words.push_back(int32_t(GetU32(m.body.data())));
        if (before)
            before(m);
    };
}

}  // namespace

TEST(Hands, OnePlayerPlaysWholeHandsAgainstFourBots)
{
    RunningServer server;
    ASSERT_TRUE(server.ok());
    BoardPlayer alice("alice", 0, false);
    BoardPlayer ownWatcher("wanda", 0, true);    // watches alice's seat
    BoardPlayer otherWatcher("walt", 3, true);   // watches a bot's seat
    ASSERT_TRUE(ownWatcher.Join(server.port()));
    ASSERT_TRUE(otherWatcher.Join(server.port()));
    ASSERT_TRUE(alice.Join(server.port()));
    const std::vector<BoardPlayer*> all = {&alice, &ownWatcher, &otherWatcher};
    StopAfterHands(alice, 3);
    std::vector<int32_t> guardWords[3];
    for (size_t i = 0; i < all.size(); ++i)
        KeepGuardWords(*all[i], guardWords[i]);

    ASSERT_TRUE(PumpUntil(all, [&] { return alice.scores() >= 3 && ownWatcher.scores() >= 3 &&
                                            otherWatcher.scores() >= 3; },
                          3 * kHandTime))
        << "hands scored: alice " << alice.scores() << "\n" << server.log().Dump();

    // Every hand's scores sum to zero over the five seats.
    EXPECT_EQ(alice.scoreSum(), 0);
    EXPECT_EQ(server.table().handsScored(), uint32_t(alice.scores()));
    // The player gets one deal a hand, with its own cards; watchers get one
    // deal a hand too, every card hidden.
    EXPECT_EQ(alice.deals(), alice.scores());
    EXPECT_EQ(alice.hiddenDeals(), 0);
    EXPECT_EQ(ownWatcher.deals(), alice.deals());
    EXPECT_EQ(ownWatcher.hiddenDeals(), ownWatcher.deals());
    EXPECT_EQ(otherWatcher.hiddenDeals(), otherWatcher.deals());
    // The watchers saw the same plays as the player.
    EXPECT_EQ(Count(ownWatcher.ids(), msgid::kPlay), Count(alice.ids(), msgid::kPlay));
    EXPECT_EQ(Count(otherWatcher.ids(), msgid::kPlay), Count(alice.ids(), msgid::kPlay));
    // What the referee sends a seat (callback 3) reaches that seat's player
    // and watchers, once, and nobody else.
    EXPECT_FALSE(guardWords[0].empty());
    EXPECT_EQ(guardWords[1], guardWords[0]);
    EXPECT_EQ(guardWords[2].size(), guardWords[0].size());
    for (size_t i = 0; i < all.size(); ++i)
        for (int32_t word : guardWords[i])
            EXPECT_TRUE(word == -1 || word == all[i]->seat()) << all[i]->userName() << " got " << word;
}

TEST(Hands, WatchersSeeTheCardsOnlyWhenThePlayerLetsThem)
{
    RunningServer server;
    ASSERT_TRUE(server.ok());
    BoardPlayer alice("alice", 1, false);
    BoardPlayer watcher("wanda", 1, true);
    BoardPlayer stranger("walt", 2, true);
    ASSERT_TRUE(watcher.Join(server.port()));
    ASSERT_TRUE(stranger.Join(server.port()));
    ASSERT_TRUE(alice.Join(server.port()));
    const std::vector<BoardPlayer*> all = {&alice, &watcher, &stranger};

    // Between hands the player lets its watchers see its cards.
    alice.acting = false;
    ASSERT_TRUE(PumpUntil(all, [&] { return alice.state() != nullptr; }, kHandTime));
    EXPECT_EQ(alice.Event(kEvToggleWatchersMaySee), 1);
    alice.acting = true;
    StopAfterHands(alice, 1);
    alice.Event(10000);  // ready
    ASSERT_TRUE(PumpUntil(all, [&] { return alice.scores() >= 1 && watcher.scores() >= 1 &&
                                            stranger.scores() >= 1; },
                          kHandTime))
        << server.log().Dump();
    EXPECT_EQ(watcher.deals(), 1);
    EXPECT_EQ(watcher.hiddenDeals(), 0);   // the seat's own watcher saw the real deal
    EXPECT_EQ(stranger.hiddenDeals(), 1);  // another seat's watcher did not
}

TEST(Hands, AClientThatVanishesMidHandIsPlayedOnAndMayReturn)
{
    RunningServer server;
    ASSERT_TRUE(server.ok());
    BoardPlayer alice("alice", 0, false);
    auto bob = std::make_unique<BoardPlayer>("bob", 2, false);
    BoardPlayer watcher("wanda", 4, true);
    ASSERT_TRUE(watcher.Join(server.port()));
    ASSERT_TRUE(alice.Join(server.port()));
    ASSERT_TRUE(bob->Join(server.port()));
    int offline = 0, back = 0;
    watcher.onMessage = [&](const Message& m) {
        offline += m.id == msgid::kPlayerOffline;
        back += m.id == msgid::kPlayerBack;
    };

    // Bob vanishes once the play has begun.
    ASSERT_TRUE(PumpUntil({&alice, bob.get(), &watcher},
                          [&] { return alice.state() && alice.state()->phase == kPhasePlay; },
                          kHandTime))
        << server.log().Dump();
    bob->Vanish();
    ASSERT_TRUE(PumpUntil({&alice, &watcher},
                          [&] { return alice.scores() >= 1 && watcher.scores() >= 1 && offline == 1; },
                          kHandTime))
        << server.log().Dump();
    // Closed with unread data the socket is reset, else closed: either is logged.
    EXPECT_TRUE(server.log().WaitFor("bob closed: ", std::chrono::milliseconds(kHandTime)));

    // He comes back: his seat is his again, and the next hands go on with him.
    bob = std::make_unique<BoardPlayer>("bob", 2, false);
    ASSERT_TRUE(bob->Join(server.port()));
    ASSERT_TRUE(PumpUntil({&alice, bob.get(), &watcher}, [&] { return bob->scores() >= 2 && back == 1; },
                          2 * kHandTime))
        << server.log().Dump();
    EXPECT_EQ(bob->hiddenDeals(), 0);
}

TEST(Hands, TrustPlayHandsTheSeatToTheRefereeAndBack)
{
    RunningServer server;
    ASSERT_TRUE(server.ok());
    BoardPlayer alice("alice", 3, false);
    ASSERT_TRUE(alice.Join(server.port()));
    int refereePlays = 0;  // turns of seat 3 taken while alice did nothing
    alice.onMessage = [&](const Message& m) {
        if (m.id == msgid::kPlay && !alice.acting && m.body.size() >= 12 && GetU32(m.body.data()) == 3)
            ++refereePlays;
    };
    auto trust = [&](uint32_t request) {
        std::vector<uint8_t> body;
        PutU32(body, request);
        PutName20(body, "alice");
        return alice.client().Send(Message(msgid::kTrustPlay, body));
    };
    ASSERT_TRUE(PumpUntil({&alice}, [&] { return alice.state() && alice.state()->phase == kPhasePlay; },
                          kHandTime));

    // In trust play the referee plays the seat; alice does nothing herself.
    alice.acting = false;
    ASSERT_TRUE(trust(1));
    ASSERT_TRUE(PumpUntil({&alice}, [&] { return refereePlays >= 2 || alice.scores() >= 1; }, kHandTime))
        << server.log().Dump();
    // Back from trust play she plays on to the end of the hand.
    ASSERT_TRUE(trust(0));
    alice.acting = true;
    StopAfterHands(alice, 1);
    ASSERT_TRUE(PumpUntil({&alice}, [&] { return alice.scores() >= 1; }, kHandTime))
        << server.log().Dump();
    EXPECT_GE(refereePlays, 1);
    EXPECT_EQ(alice.scoreSum(), 0);
}

TEST(Hands, AFixedSeedDealsTheSameHands)
{
    auto firstDeal = [](bool fixed, uint32_t seed) {
        TableOptions options;
        options.fixedSeed = fixed;
        options.seed = seed;
        RunningServer server(options);
        BoardPlayer alice("alice", 0, false);
        std::vector<uint8_t> deal;
        alice.onMessage = [&](const Message& m) {
            if (m.id == msgid::kDeal && deal.empty()) {
                deal = m.body;
                alice.acting = false;
            }
        };
        if (!server.ok() || !alice.Join(server.port()) ||
            !PumpUntil({&alice}, [&] { return !deal.empty(); }, kHandTime))
            deal.clear();
        return deal;
    };
    const std::vector<uint8_t> first = firstDeal(true, 7);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(firstDeal(true, 7), first);
    EXPECT_NE(firstDeal(true, 8), first);
}

namespace {

// The table state at the end of a board-data message.
bool ReadExportedState(const Message& data, BoardGameState& state)
{
    if (data.id != msgid::kBoardData || data.body.size() < 12)
        return false;
    const size_t players = GetU32(data.body.data() + 8);
    const size_t at = 12 + players * sizeof(BoardPlayerRecord);
    if (data.body.size() != at + sizeof state)
        return false;
    std::memcpy(&state, data.body.data() + at, sizeof state);
    return true;
}

// Seats whose cards in hand are all hidden / all shown in a state.
void HiddenAndShown(const BoardGameState& s, int& hidden, int& shown)
{
    hidden = shown = 0;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        const uint32_t count = std::min<uint32_t>(s.seats[seat].cardsInHand, kCardAreaSize);
        int open = 0;
        for (uint32_t i = 0; i < count; ++i)
            open += s.hands[seat][i].id != kHiddenCardId;
        hidden += count > 0 && open == 0;
        shown += count > 0 && open == int(count);
    }
}

}  // namespace

TEST(Hands, LateComersGetTheTableAsTheyMaySeeIt)
{
    RunningServer server;
    ASSERT_TRUE(server.ok());
    BoardPlayer alice("alice", 0, false);
    ASSERT_TRUE(alice.Join(server.port()));
    ASSERT_TRUE(PumpUntil({&alice}, [&] { return alice.state() && alice.state()->phase == kPhasePlay; },
                          kHandTime));
    alice.acting = false;  // the hand waits here for alice or goes on without her

    // A watcher joining now sees no card of any hand.
    TestClient watcher;
    Message reply, data;
    BoardGameState state;
    int hidden = 0, shown = 0;
    ASSERT_TRUE(watcher.Connect(server.port()) && watcher.Join("walt", 5 + 0, reply, 5000));
    ASSERT_TRUE(watcher.WaitFor(msgid::kBoardData, data, 5000));
    ASSERT_TRUE(ReadExportedState(data, state));
    EXPECT_EQ(state.phase, uint32_t(kPhasePlay));
    HiddenAndShown(state, hidden, shown);
    EXPECT_EQ(shown, 0);
    EXPECT_GE(hidden, 3);

    // A newcomer cannot take a bot's seat during the hand.
    TestClient newcomer;
    ASSERT_TRUE(newcomer.Connect(server.port()) && newcomer.Join("nina", 2, reply, 5000));
    EXPECT_EQ(reply.result, kJoinNotNow);

    // Alice logging in again gets her own cards and no one else's.
    TestClient again;
    ASSERT_TRUE(again.Connect(server.port()) && again.Join("alice", 0, reply, 5000));
    EXPECT_EQ(reply.result, kResultOk);
    ASSERT_TRUE(again.WaitFor(msgid::kBoardData, data, 5000));
    ASSERT_TRUE(ReadExportedState(data, state));
    HiddenAndShown(state, hidden, shown);
    EXPECT_EQ(shown, state.seats[0].cardsInHand > 0 ? 1 : 0);
    const uint32_t ownCards = std::min<uint32_t>(state.seats[0].cardsInHand, kCardAreaSize);
    for (uint32_t i = 0; i < ownCards; ++i)
        EXPECT_NE(state.hands[0][i].id, kHiddenCardId);
}
