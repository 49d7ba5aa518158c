// The log texts below are UTF-8 in this source; the Windows build emits them
// in code page 936.
#include "MardavelDecisions.h"

#include <cstdio>
#include <utility>

#include "MardavelCards.h"
#include "MardavelHints.h"
#include "MardavelPlay.h"

namespace {

std::string WithPhase(const char* format, uint32_t phase)
{
    char line[96];
    std::snprintf(line, sizeof line, format, static_cast<int>(phase));
    return line;
}

const char kNotEmperorPhase[] = "不是决定皇帝阶段:%d";
const char kNoEmperorCard[] = "该玩家没有皇牌";
const char kNotGuardPhase[] = "不是侍卫决定明暗保阶段:%d";
const char kNotTheGuard[] = "不是侍卫确发送了侍卫消息";

int PopCount(uint32_t v)
{
    int n = 0;
    for (; v; v &= v - 1)
        ++n;
    return n;
}

bool SameFace(const CardEntry& a, const CardEntry& b) { return a.rank == b.rank && a.suit == b.suit; }

}  // namespace

bool JointFirstDecision(const BoardGameState& s)
{
    return s.optJointFirstDecision != 0 && (s.tableFlags & kTableFirstDecisionOpen) != 0;
}

uint32_t KickStage(const BoardGameState& s)
{
    return s.ruleFlags & kRuleFlagKickStage;
}

bool HasDecided(const BoardGameState& s, int seat)
{
    return IsValidSeat(seat) && s.readyMarks[seat] != 0;
}

Verdict CanDetermineEmperor(const BoardGameState& s, int seat, const DeciderSide& side)
{
    if (s.phase != kPhaseEmperor)
        return Verdict::Refuse(WithPhase(kNotEmperorPhase, s.phase));
    if (!JointFirstDecision(s)) {
        if (seat != s.seatToAct)
            return Verdict::Refuse(kNoEmperorCard);
    } else if (!KickRulesOn(s)) {
        if (HasDecided(s, seat))
            return Verdict::Refuse("CanDetermineEmperor 1");
    } else {
        if (!side.referee)
            return Verdict::Accept();
        if (HasDecided(s, seat))
            return Verdict::Refuse();
    }
    if (!side.referee || seat == side.senderSeat)
        return Verdict::Accept();
    return Verdict::Refuse("CanDetermineEmperor 2");
}

Verdict CanDetermineGuard(const BoardGameState& s, int seat, const DeciderSide& side)
{
    if (s.phase != kPhaseGuard)
        return Verdict::Refuse(WithPhase(kNotGuardPhase, s.phase));
    // A board that was not told the guard's seat (every player board but the
    // guard's) refuses every seat: only the guard decides alone.
    if (s.optAllSeatsGuardStep == 0 && seat != s.guardSeat)
        return Verdict::Refuse(kNotTheGuard);
    if (!KickRulesOn(s)) {
        if (HasDecided(s, seat))
            return Verdict::Refuse();
    } else if ((side.referee && HasDecided(s, seat)) || KickStage(s) != 0) {
        return Verdict::Refuse();
    }
    if (side.referee && seat != side.senderSeat)
        return Verdict::Refuse();
    return Verdict::Accept();
}

Verdict CanDetermineKick(const BoardGameState& s, int seat, const DeciderSide& side)
{
    if (s.phase != kPhaseGuard)
        return Verdict::Refuse(WithPhase(kNotGuardPhase, s.phase));
    if (!side.referee)
        return Verdict::Accept();
    if (!IsValidSeat(seat))
        return Verdict::Refuse();
    const uint32_t stage = KickStage(s);
    const int e = s.emperorSeat;
    const int g = EffectiveGuard(s);
    if (s.ruleFlags & (1u << seat))
        return Verdict::Refuse("CanDetermineKick 1");
    if (HasDecided(s, seat))
        return Verdict::Refuse("CanDetermineKick 1");
    if (seat != side.senderSeat)
        return Verdict::Refuse("CanDetermineKick 2");
    if (stage == kKickStageOpen && (seat == e || seat == g))
        return Verdict::Refuse("CanDetermineKick 3");
    if (stage == kKickStageCalledOut && seat != e && seat != g)
        return Verdict::Refuse("CanDetermineKick 4");
    if (stage == kKickStageAlone && seat == e)
        return Verdict::Refuse("CanDetermineKick 5");
    if (stage == 0)
        return Verdict::Refuse();  // no kick stage is open
    return Verdict::Accept();
}

int EmperorPassTarget(const BoardGameState& s, int seat)
{
    return (seat + (KickRulesOn(s) ? 2 : 4)) % kBoardSeats;
}

int BuildEmperorPass(BoardGameState& s, int seat, uint8_t ids[kMaxPassedCards])
{
    const int n = HandCount(s, seat);
    CardEntry* hand = s.hands[seat];
    SortCards(hand, n, kSortPlain);
    for (int i = 0; i < n; ++i) {
        CardEntry& e = hand[i];
        if (e.id == kEmperorCardId) {
            e.flags |= kCardPassed;
            continue;
        }
        if (s.tableFlags & kTableFirstDecisionOpen)
            break;
        if (e.rank < kSmallJokerRank && !(e.flags & kCardPassed) && s.optPassHighCard != 0) {
            e.flags |= kCardPassed;
            break;
        }
    }
    SortCards(hand, n, s.sortMode);
    int count = 0;
    for (int i = 0; i < n && count < kMaxPassedCards; ++i)
        if (hand[i].flags & kCardPassed)
            ids[count++] = hand[i].id;
    return count;
}

int JointDecisionWinner(const BoardGameState& s)
{
    const int t = IsValidSeat(s.seatToAct) ? s.seatToAct : 0;
    for (int k = 0; k < kBoardSeats; ++k) {
        const int seat = (t - k + kBoardSeats) % kBoardSeats;
        if (s.firstChoices[seat] == kFirstChoiceAlone)
            return seat;
    }
    return -1;
}

namespace {

int OtherSeatsWithMarks(const BoardGameState& s, int guard)
{
    int others = 0;
    for (int seat = 0; seat < kBoardSeats; ++seat)
        others += seat != guard && s.decisionMarks[seat] != 0;
    return others;
}

}  // namespace

bool GuardRoundComplete(const BoardGameState& s)
{
    const int g = EffectiveGuard(s);
    if (!IsValidSeat(g))
        return false;
    int needed = 1;
    if (s.optAllSeatsGuardStep != 0) {
        needed = s.emperorSeat == g ? 5 : 4;
        if (KickRulesOn(s) && (s.decisionMarks[g] != 0 || OtherSeatsWithMarks(s, g) > 1))
            return true;
    }
    return s.readyCount >= needed;
}

GuardOutcome ResolveGuardRound(const BoardGameState& s)
{
    GuardOutcome out;
    const int g = EffectiveGuard(s);
    if (!IsValidSeat(g))
        return out;
    if (s.decisionMarks[g] != 0) {
        out.result = kGuardOpen;
        out.seat = g;
    } else if (OtherSeatsWithMarks(s, g) >= 2) {
        out.result = kGuardCalledOut;
        out.seat = g;
    }
    return out;
}

int KickMarkCount(const BoardGameState& s)
{
    return PopCount(s.ruleFlags & kRuleFlagKickMarks);
}

bool KickRoundComplete(const BoardGameState& s)
{
    const bool alone = s.emperorSeat == EffectiveGuard(s);
    const int marks = KickMarkCount(s);
    switch (KickStage(s)) {
    case kKickStageOpen:
    case kKickStageAlone:
        return marks >= 2 || s.readyCount >= (alone ? 4 : 3);
    case kKickStageCalledOut:
        return marks > 0 || s.readyCount >= (alone ? 1 : 2);
    default:
        return false;
    }
}

int ResolveKickRound(const BoardGameState& s, int decidingSeat)
{
    const int marks = KickMarkCount(s);
    const uint32_t stage = KickStage(s);
    if ((stage == kKickStageOpen || stage == kKickStageAlone) && marks > 1)
        return kKickThree;
    if (stage == kKickStageCalledOut && marks > 0) {
        if (decidingSeat == s.emperorSeat)
            return kKickEmperor;
        if (decidingSeat == EffectiveGuard(s))
            return kKickGuard;
    }
    return kKickNone;
}

NamedGuard FindNamedGuard(const BoardGameState& s, int emperor)
{
    NamedGuard out;
    if (!IsValidSeat(emperor))
        return out;
    const int n = HandCount(s, emperor);
    if (!FindIdenticalCards(s.hands[emperor], n, 3, &out.card))
        return out;
    out.named = true;
    int copies = 0;
    for (int i = 0; i < n; ++i)
        copies += SameFace(s.hands[emperor][i], out.card);
    if (copies >= 4) {
        out.guardSeat = emperor;
        for (int i = n - 1; i >= 0; --i) {
            if (s.hands[emperor][i].id == out.card.id) {
                out.cardIndex = i;
                break;
            }
        }
        return out;
    }
    for (int seat = 0; seat < kBoardSeats; ++seat) {
        if (seat == emperor)
            continue;
        for (int i = HandCount(s, seat) - 1; i >= 0; --i) {
            if (SameFace(s.hands[seat][i], out.card)) {
                out.guardSeat = seat;
                out.cardIndex = i;
                return out;
            }
        }
    }
    return out;
}
