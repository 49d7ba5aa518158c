// Phase 3 and the hand's end: playing and passing on both sides, the
// referee's automatic action, the player side's turn clock, and scoring.
//
// The log texts below are UTF-8 in this source; the Windows build emits them
// in code page 936.
#include <algorithm>
#include <cstring>

#include "MardavelBoard.h"
#include "MardavelBoardInternal.h"
#include "MardavelScoring.h"

using namespace mardavel_board;

namespace {

// Most automatic actions one event may cause; a safety net, far above a hand.
constexpr int kMaxAutoActions = 100000;
constexpr int32_t kHoldAfterPlayMs = 200;
constexpr int32_t kAutoPassHoldMs = 1000;

NetMsgHeader* PlayMessage(int seat, int32_t next, int count, const uint32_t* ids)
{
    uint32_t body[3 + kCardAreaSize];
    body[0] = static_cast<uint32_t>(seat);
    body[1] = static_cast<uint32_t>(next);
    body[2] = static_cast<uint32_t>(count);
    if (count > 0)
        std::memcpy(body + 3, ids, sizeof(uint32_t) * static_cast<size_t>(count));
    return ShortMessage(kMsgPlay, body, static_cast<uint32_t>(12 + 4 * count));
}

}  // namespace

// ---------------------------------------------------------------- commands

bool CMardavelBoard::CanTakeout(int seat)
{
    if (m_state.phase != kPhasePlay) {
        Log("不是出牌阶段出牌了:%d", static_cast<int>(m_state.phase));
        return false;
    }
    if (seat != m_state.seatToAct) {
        Log("不该我出牌我出牌了%d,%d", seat, m_state.seatToAct);
        return false;
    }
    if (!IsReferee() || seat == SenderSeat())
        return true;
    Log("服务器端出牌错误");
    return false;
}

int CMardavelBoard::PlayCards()
{
    const int own = OwnSeatOrNone();
    if (own < 0 || OwnWatching() || own != m_state.seatToAct)
        return 1;
    if (!CanTakeout(own))
        return -1;
    const int held = HandCount(m_state, own);
    Play play;
    play.seat = own;
    for (int i = 0; i < held; ++i)
        if (m_state.hands[own][i].flags & kCardSelected)
            play.ids[play.count++] = m_state.hands[own][i].id;
    if (play.count == 0)
        return 1;
    const TakeoutCheck check = CheckTakeout(m_state, own, play.ids, play.count);
    if (check.result < 0) {
        Notify(kCbAnnounce, kAnnounceRefused, own);
        if (check.missingId >= 0)
            Log("检查出牌是否在用户手中！%d:%d", own, check.missingId);
        else
            Notify(kCbPlayRefused, check.refusal);
        return -1;
    }
    OwnedMsg msg(PlayMessage(own, -1, play.count, play.ids));
    if (!msg)
        return -1;
    StopClock();
    if (m_side.liveTable)
        ShowOwnTakeout(play);
    SendReferee(msg.get());
    return 1;
}

int CMardavelBoard::Pass()
{
    const int own = OwnSeatOrNone();
    if (own < 0 || OwnWatching())
        return 1;
    if (m_state.seatToAct == m_state.leadSeat) {
        Notify(kCbPlayRefused, kRefuseLeaderPass);
        Log("领牌者，不能pass nShouldTakeoutSide=%d,nLastTakeoutSide=%d", m_state.seatToAct, m_state.leadSeat);
        return -1;
    }
    if (!CanTakeout(own))
        return -1;
    OwnedMsg msg(PlayMessage(own, -1, 0, nullptr));
    if (!msg)
        return -1;
    StopClock();
    SendReferee(msg.get());
    return 1;
}

// ---------------------------------------------------------------- applying a play

int CMardavelBoard::OnPlayCards(const NetMsgHeader* msg)
{
    uint32_t words[3];
    if (!ReadWords(msg, words, 3))
        return ShortBody(*this, msg);
    if (words[0] >= static_cast<uint32_t>(kBoardSeats) || words[2] > static_cast<uint32_t>(kCardAreaSize) ||
        msg->length < 12 + 4 * words[2]) {
        Log("CMardavelBoard::OnPlayCards, bad play: seat %u, %u cards", words[0], words[2]);
        return -1;
    }
    Play play;
    play.seat = static_cast<int>(words[0]);
    play.next = static_cast<int32_t>(words[1]);
    play.count = static_cast<int>(words[2]);
    std::memcpy(play.ids, MsgBody(msg) + 12, 4 * words[2]);
    return ApplyPlay(play);
}

int CMardavelBoard::ApplyPlay(Play play)
{
    const int s = play.seat;
    const int own = OwnSeatOrNone();
    const bool referee = IsReferee();
    const bool live = m_side.liveTable != 0;
    // The echo of the own play, which this board showed when it sent it. A
    // play the referee made for the own seat (automatic action) is no echo.
    const bool echo = !referee && s == own && play.count > 0 && live && !OwnWatching() &&
                      !(m_state.seats[s].player.flags & kPlayerFlagTrustPlay) && m_ownPlayShown;
    if (!referee && s == own)
        m_ownPlayShown = false;
    if (!CanTakeout(s))
        return 1;
    if (referee) {
        const TakeoutCheck check = CheckTakeout(m_state, s, play.ids, play.count);
        if (check.missingId >= 0)
            Log("检查出牌是否在用户手中！%d:%d", s, check.missingId);
        if (check.result < 0) {
            Log("nCurType<0");
            return 1;
        }
        for (int i = 0; i < play.count; ++i) {
            int32_t& unseen = m_side.unseenCounts[MakeCardEntry(static_cast<uint8_t>(play.ids[i]), m_state).rank];
            if (unseen > 0)
                --unseen;
        }
        if (!IsUnderAutoAction(m_state, s))
            Callback(kCbSeatActed);
        play.next = NextSeatStillPlaying(m_state, s);
        if (play.next < 0)
            play.next = s;
    } else if (!IsValidSeat(play.next)) {
        Log("CMardavelBoard::OnPlayCards, bad next seat %d", play.next);
        return -1;
    }

    m_state.tableFlags &= ~kTableFirstPlayDue;
    OwnedMsg out(PlayMessage(s, play.next, play.count, play.ids));
    if (out) {
        if (referee)
            SendAll(out.get());
        AddToLog(out.get());
    } else {
        LogOutOfMemory(__LINE__);
    }
    StopClock();
    SavedPlays& saved = m_side.saved;
    if (!referee && !echo && saved.counts[s] > 0)
        std::memcpy(saved.cards[s], m_state.tableCards[s], sizeof saved.cards[s]);
    Notify(kCbSeatTable, s);
    if (!echo)
        Notify(kCbAnnounce, play.count > 0 ? kAnnouncePlay : kAnnouncePass, s);
    m_hintsStale = true;
    if (play.count > 0 && !echo)
        ApplyPlayedCards(s, play.ids, play.count);

    if (play.count > 0 && HandCount(m_state, s) == 0 && m_state.finishPlace[s] == 0) {
        m_state.finishPlace[s] = ++m_state.outCount;
        if (m_state.outCount == 1)
            m_side.firstOutSeat = s;
        if (m_state.outCount <= 3)
            Notify(kCbAnnounce, kAnnounceOut, s);
        if (referee && (IsHandOver(m_state) || AllStillPlayingAreAutomatic(m_state))) {
            EndHand(s);
            return 1;
        }
    }
    if (play.count == 0 && s == m_state.leadSeat)
        m_state.leadSeat = play.next;
    // Seats out of the hand after s: their plays leave the table, and a lead
    // held by one of them passes on.
    for (int k = 1; k < kBoardSeats; ++k) {
        const int seat = (s + k) % kBoardSeats;
        if (m_state.finishPlace[seat] == 0)
            break;
        if (live) {
            m_state.seats[seat].tableCardCount = 0;
            saved.counts[seat] = 0;
            Notify(kCbSeatTable, seat);
        }
        if (seat == m_state.leadSeat)
            m_state.leadSeat = (seat + 1) % kBoardSeats;
    }
    const int next = play.next;
    m_state.seatToAct = next;
    if (!referee) {
        const uint32_t shown = m_state.seats[next].tableCardCount;
        if (shown >= 1 && shown <= static_cast<uint32_t>(kCardAreaSize)) {
            saved.counts[next] = shown;
            std::memcpy(saved.cards[next], m_state.tableCards[next], sizeof saved.cards[next]);
        } else {
            saved.counts[next] = 0;
        }
    }
    if (live) {
        Notify(kCbSeatTable, next);
        m_state.seats[next].tableCardCount = 0;
    } else if (play.count == 0) {
        m_state.seats[s].tableCardCount = 0;
    }
    if (!echo)
        Notify(kCbPlayApplied, s);
    Refresh();
    if (!referee && IsUnderAutoAction(m_state, next) && (next != own || OwnWatching()))
        Callback(kCbHoldMessages, kHoldAfterPlayMs);
    RequestAutoAction();
    return 1;
}

void CMardavelBoard::ApplyPlayedCards(int seat, const uint32_t* ids, int count)
{
    Notify(kCbSeatCards, seat);
    std::memset(m_state.trickCards, 0, sizeof m_state.trickCards);
    std::memset(m_state.tableCards[seat], 0, sizeof m_state.tableCards[seat]);
    for (int i = 0; i < count; ++i) {
        const CardEntry e = MakeCardEntry(static_cast<uint8_t>(ids[i]), m_state);
        m_state.trickCards[i] = e;
        m_state.tableCards[seat][i] = e;
    }
    const int g = m_state.guardSeat;
    if (!IsValidSeat(g) || m_state.decisionMarks[g] == 0) {
        for (int i = 0; i < count; ++i) {
            if (m_state.tableCards[seat][i].flags & kCardGuard) {
                m_state.guardSeat = seat;
                m_state.tableFlags |= kTableGuardShownByCard;
                break;
            }
        }
    }
    SortCards(m_state.tableCards[seat], count, kSortGroups);
    SeatState& s = m_state.seats[seat];
    s.tableCardCount = static_cast<uint32_t>(count);
    const bool countOnly = !IsReferee() && m_side.liveTable &&
                           (seat != OwnSeatOrNone() || !OwnHandVisible());
    if (countOnly) {
        s.cardsInHand = static_cast<uint32_t>(std::max(0, HandCount(m_state, seat) - count));
    } else {
        for (int i = 0; i < count; ++i)
            if (!RemoveCardById(m_state.hands[seat], s.cardsInHand, static_cast<uint8_t>(ids[i])))
                Log("%s : %d, ERROR:GetNuberByCardWhat function return -1! ", SourceName(__FILE__), __LINE__);
        SortCards(m_state.hands[seat], HandCount(m_state, seat), m_state.sortMode);
    }
    m_state.trickCount = count;
    m_state.leadSeat = seat;
    Notify(kCbSeatCards, seat);
}

void CMardavelBoard::ShowOwnTakeout(const Play& play)
{
    const int s = play.seat;
    Notify(kCbAnnounce, play.count > 0 ? kAnnouncePlay : kAnnouncePass, s);
    if (m_side.saved.counts[s] > 0)
        std::memcpy(m_side.saved.cards[s], m_state.tableCards[s], sizeof m_side.saved.cards[s]);
    Notify(kCbSeatTable, s);
    if (play.count > 0)
        ApplyPlayedCards(s, play.ids, play.count);
    Notify(kCbPlayApplied, s);
    m_hintsStale = true;
    m_ownPlayShown = play.count > 0;
}

// ---------------------------------------------------------------- end of a hand

void CMardavelBoard::EndHand(int lastSeat)
{
    Log("一局结束");
    AssignRemainingPlaces(m_state, lastSeat);
    // The same seat lookup as ExportPlayers: the record sitting at the seat,
    // whatever user id the host gave it.
    BoardPlayerRecord* records[kBoardSeats];
    for (int seat = 0; seat < kBoardSeats; ++seat)
        records[seat] = FindSeatedPlayer(seat);
    const ScoreFactorFn factor = [this](int seat, ScoreFactorBlock& block) {
        return Callback(kCbScoreFactor, reinterpret_cast<intptr_t>(&block), 0, 0, seat, 0);
    };
    const ScoredHand scored = ScoreHand(m_state, records, factor);
    for (const std::string& line : scored.logLines)
        Log("%s", line.c_str());
    Callback(kCbHandScored, 0, 0, 0, static_cast<int32_t>(m_state.handsFinished));
    Callback(kCbScoreSent);
    const std::vector<uint8_t> body = BuildScoreBody(m_state, scored.scores, scored.resultCode);
    OwnedMsg msg(LongMessage(kMsgScore, 0, body.data(), static_cast<uint32_t>(body.size())));
    if (msg) {
        SendAll(msg.get());
        AddToLog(msg.get());
    } else {
        Log("%s,%d", SourceName(__FILE__), __LINE__);
    }
    m_state.phase = kPhaseIdle;
    ++m_state.handsFinished;
    const bool goesOn = MatchGoesOn(m_state);
    Callback(kCbMatchGoesOn, goesOn ? 1 : 0);
    if (!goesOn)
        Callback(kCbHandEndMarker);
    Callback(kCbHandEnded);
    m_hintsStale = true;
}

int CMardavelBoard::OnScore(const NetMsgHeader* msg)
{
    ScoreMessage score;
    if (!ParseScoreBody(MsgBody(msg), msg->length, &score)) {
        Log("CMardavelBoard::OnScore, bad score message (%u bytes)", msg->length);
        return -1;
    }
    ApplyScoreMessage(m_state, score);
    AddToLog(msg);
    m_hintsStale = true;
    Callback(kCbMatchGoesOn, MatchGoesOn(m_state) ? 1 : 0);
    StopClock();
    Notify(kCbHandResult, score.resultCode);
    const int own = OwnSeatOrNone();
    Notify(kCbAnnounce,
           OutcomeAnnouncement(score.resultCode, own, m_state.emperorSeat, m_state.guardSeat), own);
    Refresh();
    return 1;
}

// ---------------------------------------------------------------- automatic action

void CMardavelBoard::RunPendingAutoActions()
{
    for (int actions = 0; m_autoActionPending; ++actions) {
        if (actions >= kMaxAutoActions) {
            Log("CMardavelBoard::AutoAction, stopped after %d actions", actions);
            m_autoActionPending = false;
            return;
        }
        m_autoActionPending = false;
        AutoAction();
    }
}

void CMardavelBoard::AutoAction()
{
    if (MustPass(m_state)) {
        if (!IsReferee()) {
            int withCards = 0;
            for (int seat = 0; seat < kBoardSeats; ++seat)
                withCards += HandCount(m_state, seat) > 0;
            Callback(kCbHoldMessages, kAutoPassHoldMs / std::max(1, withCards));
            return;
        }
        const int seat = m_state.seatToAct;
        ActingSeat acting(*this, seat);
        Play pass;
        pass.seat = seat;
        ApplyPlay(pass);
        return;
    }
    if (!IsReferee())
        return;
    switch (m_state.phase) {
    case kPhaseIdle: {
        int seat = -1;
        for (int s = 0; s < kBoardSeats; ++s)
            if (IsUnderAutoAction(m_state, s))
                seat = s;
        if (seat < 0)
            return;
        int32_t value = 0;
        if (MatchGoesOn(m_state)) {
            Callback(kCbMatchGoesOn, 1);
            value = 2;
        }
        Callback(kCbAutoActionState, seat, value);
        return;
    }
    case kPhaseEmperor:
    case kPhaseGuard:
        AutoDecide();
        return;
    case kPhasePlay: {
        const int seat = m_state.seatToAct;
        if (!IsUnderAutoAction(m_state, seat))
            return;
        uint8_t ids[kCardAreaSize];
        Play play;
        play.seat = seat;
        play.count = ChooseAutoPlay(m_state, ids);
        for (int i = 0; i < play.count; ++i)
            play.ids[i] = ids[i];
        ActingSeat acting(*this, seat);
        ApplyPlay(play);
        return;
    }
    default:
        return;
    }
}

void CMardavelBoard::AutoDecide()
{
    const uint32_t phase = m_state.phase;
    for (int seat = 0; seat < kBoardSeats && m_state.phase == phase; ++seat) {
        if (!IsUnderAutoAction(m_state, seat))
            continue;
        const DeciderSide side{true, seat};
        if (phase == kPhaseEmperor) {
            const bool joint = JointFirstDecision(m_state);
            if ((!joint && seat != m_state.seatToAct) || !CanDetermineEmperor(m_state, seat, side).ok)
                continue;
            EmperorDecision d;
            d.seat = seat;
            d.choice = kChoicePass;
            d.target = 0;
            if (seat == m_state.seatToAct) {
                CardEntry named;
                const bool noNamedCard =
                    NoGuardCardOn(m_state) &&
                    !FindIdenticalCards(m_state.hands[seat], HandCount(m_state, seat), 3, &named);
                d.choice = noNamedCard ? kChoicePass : kChoiceAccept;
            }
            if (d.choice == kChoicePass && !joint)
                d.count = BuildEmperorPass(m_state, seat, d.ids);
            ActingSeat acting(*this, seat);
            ApplyEmperorChoice(d);
            if (!joint)
                return;  // the next seat to act is handled by the next run
            continue;
        }
        ActingSeat acting(*this, seat);
        if (KickStage(m_state) != 0) {
            if (CanDetermineKick(m_state, seat, side).ok)
                ApplyKickChoice(seat, 0);
            continue;
        }
        const int guard = EffectiveGuard(m_state);
        // The emperor has no say on a guard other than himself.
        if (seat == m_state.emperorSeat && seat != guard)
            continue;
        if ((m_state.optAllSeatsGuardStep != 0 || seat == guard) && CanDetermineGuard(m_state, seat, side).ok)
            ApplyGuardChoice(seat, 0);
    }
}

// ---------------------------------------------------------------- turn clock

void CMardavelBoard::UpdateClock(bool flag)
{
    if (IsReferee())
        return;
    BoardGameState& s = m_state;
    const int own = OwnSeatOrNone();
    auto setTimes = [&s](int seat, int32_t seconds) {
        if (IsValidSeat(seat)) {
            s.clockSecondsLeft[seat] = seconds;
            s.clockLength[seat] = seconds;
        }
    };
    switch (s.phase) {
    case kPhaseIdle:
        if (own >= 0 && !s.readyMarks[own]) {
            if (s.handsFinished > 0 && MatchGoesOn(s))
                setTimes(own, s.optReadyTime);
            if (CountAutoSeats(s, false) > 0)
                StopClock();
            else
                StartClock(s.optReadyTime);
        }
        break;
    case kPhaseEmperor:
        if (JointFirstDecision(s)) {
            StartClock(s.optReadyTime);
            setTimes(own, s.optReadyTime);
        } else if (own >= 0 && own == s.seatToAct) {
            const int32_t limit = (s.tableFlags & kTableFirstDecisionOpen) ? s.optReadyTime : s.optDecisionTime;
            StartClock(limit);
            setTimes(own, limit);
        }
        break;
    case kPhaseGuard:
        if (!flag)
            break;
        if (s.optAllSeatsGuardStep != 0) {
            StartClock(s.optDecisionTime);
            for (int seat = 0; seat < kBoardSeats; ++seat)
                setTimes(seat, s.optDecisionTime);
        } else if (own >= 0 && own == s.guardSeat) {
            StartClock(s.optDecisionTime);
            setTimes(own, s.optDecisionTime);
        }
        break;
    case kPhasePlay: {
        const int32_t limit = (s.tableFlags & kTableFirstPlayDue) ? s.optFirstPlayTime : s.optPlayTime;
        setTimes(s.seatToAct, limit);
        if (own >= 0 && own == s.seatToAct)
            StartClock(limit);
        s.tableFlags &= ~kTableFirstPlayDue;
        break;
    }
    default:
        break;
    }
    const int32_t value = s.phase == kPhasePlay ? (MustPass(s) ? 1 : 0) : static_cast<int32_t>(s.phase);
    Callback(kCbRefresh, 0, 0, 0, value);
}
