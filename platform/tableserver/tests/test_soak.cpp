// A bounded soak: 200 hands at a table of three clients and two bots, a
// watcher throughout, players dropping out (mid-hand too) and coming back.
// It must not hang, and the process's heap must not grow once warmed up.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>

#ifndef __has_feature
#define __has_feature(x) 0
#endif
#if defined(__SANITIZE_ADDRESS__) || __has_feature(address_sanitizer)
// Bytes the program has allocated and not freed (AddressSanitizer's count;
// freed blocks waiting in its quarantine are not counted).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#define SOAK_ASAN_HEAP 1
#else
#include <malloc.h>
#endif

#include "MardavelState.h"
#include "ServerFixture.h"
#include "TestClient.h"

using namespace tableserver;
using namespace tableserver::test;

namespace {

constexpr int kHands = 200;  // TABLESERVER_SOAK_HANDS asks for a longer run
constexpr int kWarmUpHands = 50;
constexpr auto kTimeLimit = std::chrono::seconds(90);
// Growth of the heap allowed between the warm-up and the end.
constexpr size_t kAllowedGrowth = 256 * 1024;

size_t HeapInUse()
{
#ifdef SOAK_ASAN_HEAP
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

// The table as the watcher sees it, for a run that got stuck.
std::string Describe(const BoardGameState* s)
{
    if (!s)
        return "no table state";
    std::string text = "phase " + std::to_string(s->phase) + ", seat to act " +
                       std::to_string(s->seatToAct) + ", lead " + std::to_string(s->leadSeat) + "; seats:";
    for (int seat = 0; seat < kSeatCount; ++seat)
        text += " [" + std::to_string(seat) + ": flags " + std::to_string(s->seats[seat].player.flags) +
                " cards " + std::to_string(s->seats[seat].cardsInHand) + " ready " +
                std::to_string(s->readyMarks[seat]) + "]";
    return text;
}

struct Seat {
    std::string name;
    int seat;
    std::unique_ptr<BoardPlayer> player;  // null while away
    int awayTurns = 0;
};

}  // namespace

TEST(Soak, TwoHundredHandsWithPlayersDroppingAndReturning)
{
    // Only the latest log lines are kept, and no message ids: nothing of the
    // test's own grows with the hands.
    RunningServer server({}, {}, false, 100);
    ASSERT_TRUE(server.ok());
    BoardPlayer watcher("wanda", 4, true);
    watcher.keepIds = false;
    ASSERT_TRUE(watcher.Join(server.port()));
    std::vector<Seat> seats(3);
    for (int i = 0; i < 3; ++i) {
        Seat& s = seats[i];
        s.name = "p" + std::to_string(i);
        s.seat = i;
        s.player = std::make_unique<BoardPlayer>(s.name, s.seat, false);
        s.player->keepIds = false;
        ASSERT_TRUE(s.player->Join(server.port()));
    }

    // In every fourth hand a player vanishes once the cards are being played,
    // and at every eighth score one more; each comes back after a few rounds.
    std::mt19937 random(20240611);
    int drops = 0, dropsMidHand = 0, returns = 0;
    int handOfLastDrop = -1;
    size_t heapAfterWarmUp = 0;
    auto phase = [&] { return watcher.state() ? watcher.state()->phase : uint32_t(kPhaseIdle); };
    const auto start = std::chrono::steady_clock::now();
    const char* handsAsked = std::getenv("TABLESERVER_SOAK_HANDS");
    const int hands = handsAsked ? std::max(kHands, std::atoi(handsAsked)) : kHands;
    const auto limit = kTimeLimit * (hands / kHands);
    int nextReport = 0;
    while (watcher.scores() < hands) {
        ASSERT_LT(std::chrono::steady_clock::now() - start, limit)
            << "hands scored: " << watcher.scores() << "\nwatcher: " << Describe(watcher.state())
            << "\np0: " << Describe(seats[0].player ? seats[0].player->state() : nullptr)
            << "\np1: " << Describe(seats[1].player ? seats[1].player->state() : nullptr)
            << "\np2: " << Describe(seats[2].player ? seats[2].player->state() : nullptr) << "\n"
            << server.log().Dump();
        std::vector<BoardPlayer*> present = {&watcher};
        for (Seat& s : seats)
            if (s.player)
                present.push_back(s.player.get());
        // One round lasts until the table moves on (or 5 ms), so that every
        // phase of every hand is seen.
        const uint32_t phaseBefore = phase();
        const int handBefore = watcher.scores();
        PumpUntil(present, [&] { return phase() != phaseBefore || watcher.scores() != handBefore; }, 5);

        const int hand = watcher.scores();
        const bool midHand = hand % 4 == 1 && phase() == kPhasePlay;
        const bool atScore = hand % 8 == 3 && hand != handBefore;
        if (hand != handOfLastDrop && (midHand || atScore)) {
            for (int k = 0; k < 3; ++k) {
                Seat& s = seats[(hand / 4 + k) % 3];
                if (!s.player)
                    continue;
                s.player.reset();  // gone without a word
                s.awayTurns = std::uniform_int_distribution<int>(1, 40)(random);
                ++drops;
                dropsMidHand += midHand;
                handOfLastDrop = hand;
                break;
            }
        }
        for (Seat& s : seats) {
            if (!s.player && --s.awayTurns <= 0) {
                s.player = std::make_unique<BoardPlayer>(s.name, s.seat, false);
                s.player->keepIds = false;
                ASSERT_TRUE(s.player->Join(server.port())) << s.name << " could not return";
                ++returns;
            }
        }
        if (heapAfterWarmUp == 0 && watcher.scores() >= kWarmUpHands)
            heapAfterWarmUp = HeapInUse();
        if (hands > kHands && watcher.scores() >= nextReport) {
            std::printf("soak: after %d hands, heap %zu bytes\n", watcher.scores(), HeapInUse());
            nextReport += hands / 10;
        }
    }
    const size_t heapAtEnd = HeapInUse();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("soak: %d hands in %.1f s, %d drops (%d mid-hand), %d returns, heap %zu -> %zu bytes\n",
                watcher.scores(), seconds, drops, dropsMidHand, returns, heapAfterWarmUp, heapAtEnd);

    EXPECT_EQ(server.table().handsScored(), uint32_t(watcher.scores()));
    EXPECT_GE(dropsMidHand, 40);          // of 50
    EXPECT_GE(drops - dropsMidHand, 18);  // of 25
    EXPECT_LE(heapAtEnd, heapAfterWarmUp + kAllowedGrowth);
}
