#include "MardavelPlay.h"

#include <algorithm>
#include <cstring>

#include "MardavelCards.h"

namespace {

constexpr uint32_t kAutoActionFlags = kPlayerFlagMarked | kPlayerFlagTrustPlay | kPlayerFlagOffline;
constexpr int kTopRank = 12;

int ClampCount(int32_t n) { return n < 0 ? 0 : (n > kCardAreaSize ? kCardAreaSize : n); }

bool IsOut(const BoardGameState& s, int seat) { return s.finishPlace[seat] != 0; }

// The play on the table: its card count, jokers and lowest rank value.
struct TablePlay {
    int count = 0;
    int big = 0;
    int small = 0;
    int lowest = kBigJokerRank;
};

TablePlay PlayOnTable(const BoardGameState& s)
{
    TablePlay p;
    p.count = ClampCount(s.trickCount);
    for (int i = 0; i < p.count; ++i) {
        const CardEntry& e = s.trickCards[i];
        p.big += e.rank == kBigJokerRank;
        p.small += e.rank == kSmallJokerRank;
        p.lowest = std::min<int>(p.lowest, e.rank);
    }
    return p;
}

}  // namespace

int HandCount(const BoardGameState& s, int seat)
{
    if (!IsValidSeat(seat))
        return 0;
    const uint32_t n = s.seats[seat].cardsInHand;
    return n > static_cast<uint32_t>(kCardAreaSize) ? kCardAreaSize : static_cast<int>(n);
}

bool IsUnderAutoAction(const BoardGameState& s, int seat)
{
    return IsValidSeat(seat) && (s.seats[seat].player.flags & kAutoActionFlags) != 0;
}

int CountAutoSeats(const BoardGameState& s, bool stillPlayingOnly)
{
    int count = 0;
    for (int seat = 0; seat < kBoardSeats; ++seat)
        if (IsUnderAutoAction(s, seat) && !(stillPlayingOnly && IsOut(s, seat)))
            ++count;
    return count;
}

bool AllStillPlayingAreAutomatic(const BoardGameState& s)
{
    for (int seat = 0; seat < kBoardSeats; ++seat)
        if (!IsOut(s, seat) && !IsUnderAutoAction(s, seat))
            return false;
    return true;
}

int EffectiveGuard(const BoardGameState& s)
{
    return IsValidSeat(s.guardSeat) ? s.guardSeat : s.emperorSeat;
}

int LowestRankInPlay(const BoardGameState& s)
{
    return (ShortPacksOn(s) || KickRulesOn(s)) ? 3 : 0;
}

HintRules PlayRules(const BoardGameState& s)
{
    HintRules rules;
    rules.moreCardsBeat = MoreCardsBeatOn(s);
    rules.lowestLast = s.optLowestLast != 0;
    rules.lowestRank = LowestRankInPlay(s);
    return rules;
}

int GetNuberByCardWhat(const CardEntry* cards, int count, int id)
{
    for (int i = 0; i < count; ++i)
        if (cards[i].id == id)
            return i;
    return -1;
}

bool MustPass(const BoardGameState& s)
{
    if (s.phase != kPhasePlay || s.seatToAct == s.leadSeat || !IsValidSeat(s.seatToAct))
        return false;
    const TablePlay p = PlayOnTable(s);
    if (p.count == 0)
        return false;
    if (HandCount(s, s.seatToAct) < p.count)
        return true;
    if (!MoreCardsBeatOn(s) && p.big > 0)
        return true;
    if (MoreCardsBeatOn(s) && (p.big > 2 || (p.big > 1 && p.small > 0) || (p.big > 0 && p.small > 2)))
        return true;
    if (p.lowest == kTopRank && p.count >= 9)
        return true;
    return p.big + p.small > 0 && p.lowest == kTopRank && p.count >= 7;
}

bool IsHandOver(const BoardGameState& s)
{
    const int e = s.emperorSeat;
    if (!IsValidSeat(e))
        return s.outCount > 0;
    const int g = EffectiveGuard(s);
    if (e == g) {
        if (s.outCount == 1)
            return (s.decisionMarks[g] != 0 && !(s.tableFlags & kTableGuardCalledOut)) || s.finishPlace[e] == 1;
        return s.outCount >= 2;
    }
    if (IsOut(s, e) && IsOut(s, g))
        return true;
    int othersOut = 0;
    for (int seat = 0; seat < kBoardSeats; ++seat)
        othersOut += seat != e && seat != g && IsOut(s, seat);
    return othersOut == 3;
}

int NextSeatStillPlaying(const BoardGameState& s, int seat)
{
    for (int k = 1; k < kBoardSeats; ++k) {
        const int next = (seat + k) % kBoardSeats;
        if (!IsOut(s, next))
            return next;
    }
    return -1;
}

void AssignRemainingPlaces(BoardGameState& s, int lastSeat)
{
    const int g = EffectiveGuard(s);
    if (IsValidSeat(g) && s.emperorSeat == g && s.decisionMarks[g] != 0 &&
        !(s.tableFlags & kTableGuardCalledOut))
        return;
    for (int k = 1; k <= kBoardSeats; ++k) {
        const int seat = (lastSeat + k) % kBoardSeats;
        if (!IsOut(s, seat))
            s.finishPlace[seat] = ++s.outCount;
    }
}

TakeoutCheck CheckTakeout(BoardGameState& s, int seat, const uint32_t* ids, int n)
{
    TakeoutCheck check;
    if (n == 0)
        return check;
    check.result = -1;
    const int held = HandCount(s, seat);
    if (n < 0 || n > kCardAreaSize) {
        check.refusal = kRefuseInvalid;
        return check;
    }
    bool used[kCardAreaSize] = {};
    const CardEntry* hand = s.hands[seat];
    for (int i = 0; i < n; ++i) {
        int found = -1;
        for (int k = 0; k < held && ids[i] < 256; ++k) {
            if (!used[k] && hand[k].id == ids[i]) {
                found = k;
                break;
            }
        }
        if (found < 0) {
            check.missingId = static_cast<int>(ids[i]);
            return check;
        }
        used[found] = true;
        s.checkCards[i] = MakeCardEntry(static_cast<uint8_t>(ids[i]), s);
    }
    s.checkCount = n;
    SortCards(s.checkCards, n, kSortGroups);

    CardEntry play[kCardAreaSize];
    std::memcpy(play, s.checkCards, sizeof(CardEntry) * static_cast<size_t>(n));
    const int kind = ClassifyCards(play, n);
    if (kind == kKindInvalid) {
        check.refusal = kRefuseInvalid;
        return check;
    }
    const int m = ClampCount(s.trickCount);
    if (seat != s.leadSeat && m > 0) {
        CardEntry last[kCardAreaSize];
        std::memcpy(last, s.trickCards, sizeof(CardEntry) * static_cast<size_t>(m));
        const int beats = BeatTest(play, n, last, m, MoreCardsBeatOn(s));
        if (beats != kBeats) {
            check.refusal = beats == kBeatNotHigher ? kRefuseNotHigher : kRefuseNotComparable;
            return check;
        }
    }
    const HintRules rules = PlayRules(s);
    if (rules.lowestLast && play[n - 1].rank == rules.lowestRank &&
        CountRank(play, n, rules.lowestRank, false) < held) {
        check.refusal = kRefuseLowestRank;
        return check;
    }
    check.result = kind;
    return check;
}

int ChooseAutoPlay(const BoardGameState& s, uint8_t ids[kCardAreaSize])
{
    const int seat = s.seatToAct;
    if (!IsValidSeat(seat) || seat != s.leadSeat)
        return 0;
    const int n = HandCount(s, seat);
    if (n == 0)
        return 0;
    CardEntry hand[kCardAreaSize];
    std::memcpy(hand, s.hands[seat], sizeof(CardEntry) * static_cast<size_t>(n));
    SortCards(hand, n, kSortPlain);
    if (s.optLowestLast == 0) {
        ids[0] = hand[n - 1].id;
        return 1;
    }
    const int r = LowestRankInPlay(s);
    for (int i = n - 1; i >= 0; --i) {
        if (hand[i].rank != r) {
            ids[0] = hand[i].id;
            return 1;
        }
    }
    for (int i = 0; i < n; ++i)
        ids[i] = hand[i].id;
    return n;
}

bool RemoveCardById(CardEntry* hand, uint32_t& count, uint8_t id)
{
    const int n = count > static_cast<uint32_t>(kCardAreaSize) ? kCardAreaSize : static_cast<int>(count);
    const int at = GetNuberByCardWhat(hand, n, id);
    if (at < 0)
        return false;
    std::memmove(hand + at, hand + at + 1, sizeof(CardEntry) * static_cast<size_t>(n - at - 1));
    hand[n - 1] = CardEntry{};
    count = static_cast<uint32_t>(n - 1);
    return true;
}
