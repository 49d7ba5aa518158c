#include "BoardRandom.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "MardavelCards.h"

#if defined(_WIN32)
#include <windows.h>
#endif
#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

namespace {

constexpr uint8_t kFirstEmperorSource = 107;  // big joker of the second pack
constexpr uint8_t kLastGuardSource = 160;     // small joker of the third pack
constexpr int kFullDeal = 216;
constexpr int kShortDeal = 168;
constexpr int kKickDeal = 165;

uint32_t TimeStampCounter()
{
#if defined(__x86_64__) || defined(__i386__)
    return static_cast<uint32_t>(__rdtsc());
#else
    return static_cast<uint32_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
#endif
}

uint32_t TickCount()
{
#if defined(_WIN32)
    return GetTickCount();
#else
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return static_cast<uint32_t>(ms.count());
#endif
}

// With rule option 12 the short pack applies too: 165 cards are 168 less
// three of rank value 3.
bool DealsShortPacks(const BoardGameState& state) { return ShortPacksOn(state) || KickRulesOn(state); }

void ResetUnseenCounts(const BoardGameState& state, MardavelSideData& side)
{
    for (int r = 0; r < 13; ++r)
        side.unseenCounts[r] = 16;
    side.unseenCounts[kSmallJokerRank] = 4;
    side.unseenCounts[kBigJokerRank] = 4;
    if (DealsShortPacks(state))
        side.unseenCounts[0] = side.unseenCounts[1] = side.unseenCounts[2] = -1;
    if (KickRulesOn(state))
        side.unseenCounts[3] = 13;
}

// Takes out rank values 0-2 (short packs) and the first three cards of rank
// value 3 (rule option 12); the rest keep their order. The marked cards 216
// and 217 are no pack cards and always stay.
int TakeOutLowRanks(const BoardGameState& state, uint8_t* order, int count)
{
    const bool shortPacks = DealsShortPacks(state);
    int rank3Left = KickRulesOn(state) ? 3 : 0;
    int kept = 0;
    for (int i = 0; i < count; ++i) {
        uint8_t id = order[i];
        if (IsPackCard(id) && id % kPackCards < 52) {
            int rank = PackCardRank(id);
            if (shortPacks && rank <= 2)
                continue;
            if (rank == 3 && rank3Left > 0) {
                --rank3Left;
                continue;
            }
        }
        order[kept++] = id;
    }
    return kept;
}

}  // namespace

// ---------------------------------------------------------------- BoardRandom

BoardRandom::BoardRandom() : state_(ClockSeed()) {}

uint32_t BoardRandom::ClockSeed()
{
    return TimeStampCounter() * static_cast<uint32_t>(std::time(nullptr)) * TickCount();
}

uint32_t BoardRandom::Next()
{
    state_ = state_ * 22695477u + 1u;
    return (state_ >> 16) & 0x7FFFu;
}

uint32_t BoardRandom::Pick(uint32_t n)
{
    uint32_t value = Next();
    return n == 0 ? 0 : value % n;
}

void DealRandom::Fix(uint32_t boardSeed, unsigned crtSeed)
{
    board_.Seed(boardSeed);
    crtFixed_ = true;
    crtSeed_ = crtSeed;
}

unsigned DealRandom::CrtSeed() const
{
    return crtFixed_ ? crtSeed_ : static_cast<unsigned>(std::time(nullptr));
}

// ---------------------------------------------------------------- deal

int DealtCardsAt(int cardCount, int offset)
{
    if (offset < 0 || offset >= kBoardSeats)
        return 0;
    switch (cardCount) {
    case kFullDeal: return offset == 0 ? 44 : 43;
    case kShortDeal: return offset < 3 ? 34 : 33;
    case kKickDeal: return 33;
    default: return 0;
    }
}

int SeatOfDealPosition(int cardCount, int startSeat, int p)
{
    int offset = 0;
    switch (cardCount) {
    case kKickDeal: offset = p / 33; break;
    case kShortDeal: offset = p > 101 ? 3 + (p - 102) / 33 : p / 34; break;
    default: offset = p > 43 ? 1 + (p - 44) / 43 : 0; break;
    }
    return (startSeat + offset) % kBoardSeats;
}

int DealStartSeat(const BoardGameState& state, const MardavelSideData& side)
{
    if (KickRulesOn(state) && IsValidSeat(side.firstOutSeat))
        return side.firstOutSeat;
    if (IsValidSeat(side.nextDealSeat))
        return side.nextDealSeat;
    return 0;
}

int ShuffleDeck(const BoardGameState& state, BoardRandom& boardRandom, unsigned crtSeed, uint8_t* order)
{
    // A permutation of 0-215: each step takes the k-th id not yet taken.
    bool taken[kAllCards] = {};
    for (int n = kAllCards; n >= 1; --n) {
        uint32_t k = boardRandom.Pick(static_cast<uint32_t>(n));
        int id = 0;
        for (;; ++id) {
            if (taken[id])
                continue;
            if (k == 0)
                break;
            --k;
        }
        taken[id] = true;
        order[kAllCards - n] = static_cast<uint8_t>(id);
    }

    for (int i = 0; i < kAllCards; ++i) {
        if (order[i] == kFirstEmperorSource) {
            order[i] = kEmperorCardId;
            break;
        }
    }
    if (!NoGuardCardOn(state)) {
        for (int i = kAllCards - 1; i >= 0; --i) {
            if (order[i] == kLastGuardSource) {
                order[i] = kGuardCardId;
                break;
            }
        }
    }

    std::srand(crtSeed);
    for (int k = 1; k < kAllCards; ++k) {
        int other = std::rand() % k;
        uint8_t t = order[k];
        order[k] = order[other];
        order[other] = t;
    }
    return TakeOutLowRanks(state, order, kAllCards);
}

DealResult DealCards(BoardGameState& state, MardavelSideData& side, BoardRandom& boardRandom, unsigned crtSeed)
{
    ClearHandProgress(state);
    ResetUnseenCounts(state, side);
    side.emperorCardReturns = 0;

    uint8_t order[kAllCards];
    DealResult result;
    result.cardCount = ShuffleDeck(state, boardRandom, crtSeed, order);
    result.startSeat = DealStartSeat(state, side);

    int position = 0;
    for (int offset = 0; offset < kBoardSeats; ++offset) {
        const int seat = (result.startSeat + offset) % kBoardSeats;
        const int count = DealtCardsAt(result.cardCount, offset);
        std::memset(state.hands[seat], 0, sizeof state.hands[seat]);
        for (int i = 0; i < count; ++i, ++position) {
            const uint8_t id = order[position];
            state.hands[seat][i] = MakeCardEntry(id, state);
            if (id == kEmperorCardId)
                result.emperorCardSeat = seat;
            else if (id == kGuardCardId)
                result.guardSeat = seat;
        }
        SortCards(state.hands[seat], count, state.sortMode);
        SeatState& s = state.seats[seat];
        s.cardsInHand = static_cast<uint32_t>(count);
        s.cardsDealt = static_cast<uint32_t>(count);
    }

    state.leadSeat = result.emperorCardSeat;
    state.seatToAct = result.emperorCardSeat;
    state.guardSeat = result.guardSeat;
    state.phase = kPhaseEmperor;
    // The first emperor decision is open, as on the player side when the deal arrives.
    state.tableFlags |= kTableFirstDecisionOpen;
    return result;
}

DealResult DealCards(BoardGameState& state, MardavelSideData& side, DealRandom& random)
{
    return DealCards(state, side, random.Board(), random.CrtSeed());
}

bool FillDealBody(const BoardGameState& state, int seat, bool hidden, uint8_t* body, size_t size)
{
    if (!IsValidSeat(seat))
        return false;
    uint32_t count = state.seats[seat].cardsDealt;
    if (count > static_cast<uint32_t>(kCardAreaSize) || size < 8 + count)
        return false;
    std::memset(body, 0xFF, size);
    body[0] = static_cast<uint8_t>(state.seatToAct);
    for (int s = 0; s < kBoardSeats; ++s)
        body[1 + s] = static_cast<uint8_t>(state.seats[s].cardsDealt);
    body[6] = 0;
    body[7] = 0;
    if (!hidden) {
        for (uint32_t i = 0; i < count; ++i)
            body[8 + i] = state.hands[seat][i].id;
    }
    return true;
}
