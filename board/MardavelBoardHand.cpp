// Readiness, the deal, and the decisions of phases 1 and 2: the emperor, the
// guard's open or hidden protection, and the kick stage of rule option 12.
//
// The log texts below are UTF-8 in this source; the Windows build emits them
// in code page 936.
#include <algorithm>
#include <cstring>

#include "MardavelBoard.h"
#include "MardavelBoardInternal.h"

using namespace mardavel_board;

namespace {

constexpr uint32_t kEmperorBodyNoCards = 16;
constexpr uint32_t kEmperorBodyWithCards = 16 + kMaxPassedCards;
constexpr uint32_t kEmperorBodyOneCard = 17;

}  // namespace

void CMardavelBoard::ClearDecisionMarks()
{
    std::memset(m_state.readyMarks, 0, sizeof m_state.readyMarks);
    m_state.readyCount = 0;
}

void CMardavelBoard::ClearMarkedCardFlags(int seat, uint8_t flags)
{
    if (!IsValidSeat(seat))
        return;
    for (int i = 0; i < HandCount(m_state, seat); ++i)
        m_state.hands[seat][i].flags &= static_cast<uint8_t>(~flags);
}

void CMardavelBoard::SendPair(uint32_t id, int32_t a, int32_t b, bool log)
{
    const int32_t body[2] = {a, b};
    OwnedMsg msg(ShortMessage(id, body, sizeof body));
    if (!msg) {
        LogOutOfMemory(__LINE__);
        return;
    }
    if (IsReferee())
        SendAll(msg.get());
    if (log)
        AddToLog(msg.get());
}

// ---------------------------------------------------------------- readiness

int CMardavelBoard::ReadyCommand()
{
    const int own = OwnSeatOrNone();
    if (own < 0 || OwnWatching() || m_state.phase != kPhaseIdle || m_state.readyMarks[own])
        return 1;
    const uint32_t seat = static_cast<uint32_t>(own);
    OwnedMsg msg(ShortMessage(kMsgReady, &seat, 4));
    if (!msg)
        return -1;
    SendReferee(msg.get());
    StopClock();
    return 1;
}

int CMardavelBoard::OnReady(const NetMsgHeader* msg)
{
    uint32_t word = 0;
    if (!ReadWords(msg, &word, 1))
        return ShortBody(*this, msg);
    const int seat = static_cast<int>(word % kBoardSeats);
    if (m_state.phase != kPhaseIdle || m_state.readyMarks[seat])
        return 1;
    if (IsReferee()) {
        const BoardPlayerRecord& p = m_state.seats[seat].player;
        if (SenderSeat() != seat || p.userId != m_senderUserId || p.identify != m_senderIdentify)
            return 1;
        const uint32_t body = static_cast<uint32_t>(seat);
        OwnedMsg out(ShortMessage(kMsgReady, &body, 4));
        if (!out) {
            LogOutOfMemory(__LINE__);
            return 1;
        }
        SendAll(out.get());
    }
    const bool first = m_state.readyCount == 0;
    m_state.readyMarks[seat] = 1;
    m_state.seats[seat].player.flags |= kPlayerFlagReady;
    m_state.ruleFlags &= ~kRuleFlagsPerHand;
    if (!IsReferee() && seat == OwnSeatOrNone()) {
        m_state.emperorSeat = -1;
        m_state.guardSeat = -1;
        m_state.tableFlags = 0;
        m_state.rememberedCardId = kHiddenCardId;
        std::memset(m_state.lastScore, 0, sizeof m_state.lastScore);
        std::memset(&m_side.saved, 0, sizeof m_side.saved);
    }
    if (first) {
        std::memset(m_state.lastScore, 0, sizeof m_state.lastScore);
        ClearLog();
    }
    m_state.readyCount = static_cast<int32_t>(std::count_if(
        std::begin(m_state.readyMarks), std::end(m_state.readyMarks), [](int32_t m) { return m != 0; }));
    Notify(kCbSeatReady, seat);
    if (m_state.readyCount == kBoardSeats)
        StartHand();
    return 1;
}

void CMardavelBoard::StartHand()
{
    if (!MatchGoesOn(m_state))
        m_state.handsFinished = 0;  // the last match is over: a new one begins
    Callback(kCbMatchGoesOn, 1);
    m_state.readyCount = 0;
    m_state.outCount = 0;
    m_state.tableFlags = kTableFirstPlayDue;
    if (IsValidSeat(m_state.emperorSeat))
        m_side.nextDealSeat = m_state.emperorSeat;
    m_state.emperorSeat = -1;
    m_state.guardSeat = -1;
    m_state.rememberedCardId = kHiddenCardId;
    std::memset(m_state.readyMarks, 0, sizeof m_state.readyMarks);
    for (SeatState& seat : m_state.seats)
        seat.player.flags &= ~kPlayerFlagReady;
    ClearLog();
    m_logFull = false;
    if (IsReferee()) {
        Callback(kCbAllReady);
        Deal();
    }
}

int CMardavelBoard::OnRestart()
{
    m_state.phase = kPhaseIdle;
    return ReadyCommand();
}

// ---------------------------------------------------------------- deal

void CMardavelBoard::Deal()
{
    const DealResult dealt = DealCards(m_state, m_side, m_random);
    std::memset(&m_side.saved, 0, sizeof m_side.saved);
    m_hintsStale = true;
    const uint32_t bodySize = 8u + static_cast<uint32_t>(DealtCardsAt(dealt.cardCount, 0));
    uint8_t body[8 + kCardAreaSize];
    for (int offset = 0; offset < kBoardSeats; ++offset) {
        const int seat = (dealt.startSeat + offset) % kBoardSeats;
        FillDealBody(m_state, seat, false, body, bodySize);
        OwnedMsg real(LongMessage(kMsgDeal, 0, body, bodySize));
        if (!real) {
            Log("%s : %d, Can't malloc memory when initcard!!!!", SourceName(__FILE__), __LINE__);
            return;
        }
        AddToLog(real.get());
        if (m_state.seats[seat].watchersMaySee) {
            SendSeatAndWatchers(real.get(), seat);
            continue;
        }
        FillDealBody(m_state, seat, true, body, bodySize);
        OwnedMsg hidden(LongMessage(kMsgDeal, 0, body, bodySize));
        if (!hidden) {
            Log("%s : %d, Can't malloc memory when initcard!!!!", SourceName(__FILE__), __LINE__);
            return;
        }
        SendWatchers(hidden.get(), seat);
        SendSeat(real.get(), seat);
    }
    // The first decision: a seat under automatic action makes it at once.
    RequestAutoAction();
}

void CMardavelBoard::Redeal()
{
    m_state.tableFlags = kTableFirstPlayDue;
    ClearDecisionMarks();
    Deal();
}

int CMardavelBoard::OnDeal(const NetMsgHeader* msg)
{
    if (msg->length < 8)
        return ShortBody(*this, msg);
    const uint8_t* body = MsgBody(msg);
    const int own = OwnSeatOrNone();
    if (!IsValidSeat(body[0])) {
        Log("CMardavelBoard::OnDeal, bad seat to act %d", body[0]);
        return -1;
    }
    for (int s = 0; s < kBoardSeats; ++s) {
        if (body[1 + s] > kCardAreaSize) {
            Log("CMardavelBoard::OnDeal, bad card count %d of seat %d", body[1 + s], s);
            return -1;
        }
    }
    if (own >= 0 && msg->length < 8u + body[1 + own])
        return ShortBody(*this, msg);

    ClearHandProgress(m_state);
    ClearDecisionMarks();
    std::memset(&m_side.saved, 0, sizeof m_side.saved);
    m_state.tableFlags = kTableFirstPlayDue | kTableFirstDecisionOpen;
    m_state.seatToAct = body[0];
    m_state.leadSeat = body[0];
    m_state.emperorSeat = -1;
    m_state.guardSeat = -1;
    for (int s = 0; s < kBoardSeats; ++s) {
        SeatState& seat = m_state.seats[s];
        seat.cardsInHand = body[1 + s];
        seat.cardsDealt = body[1 + s];
        seat.tableCardCount = 0;
        if (s == own)
            SetCardsFromIds(m_state.hands[s], body + 8, body[1 + s], m_state);
        else
            HideHand(m_state, s);
        SortCards(m_state.hands[s], body[1 + s], m_state.sortMode);
    }
    AddToLog(msg);
    m_hintsStale = true;
    Notify(kCbAnnounce, kAnnounceDealt, own);
    m_state.phase = kPhaseEmperor;
    Notify(kCbDealArrived);
    Refresh();
    return 1;
}

// ---------------------------------------------------------------- emperor

namespace {

uint32_t EmperorBodyLength(int count)
{
    return count > 0 ? kEmperorBodyWithCards : kEmperorBodyNoCards;
}

}  // namespace

void CMardavelBoard::SendEmperorMessage(const EmperorDecision& d, uint32_t bodyLength)
{
    uint8_t body[kEmperorBodyWithCards] = {};
    const uint32_t words[4] = {static_cast<uint32_t>(d.seat), static_cast<uint32_t>(d.choice),
                               static_cast<uint32_t>(d.target), static_cast<uint32_t>(d.count)};
    std::memcpy(body, words, sizeof words);
    std::memcpy(body + 16, d.ids, static_cast<size_t>(std::min(d.count, kMaxPassedCards)));
    OwnedMsg msg(ShortMessage(kMsgEmperorChoice, body, bodyLength));
    if (!msg) {
        LogOutOfMemory(__LINE__);
        return;
    }
    if (IsReferee())
        SendAll(msg.get());
    AddToLog(msg.get());
}

int CMardavelBoard::SendEmperorChoice(int choice)
{
    const int own = OwnSeatOrNone();
    if (own < 0 || OwnWatching())
        return 1;
    const Verdict verdict = CanDetermineEmperor(m_state, own, Decider());
    if (!verdict.ok) {
        if (!verdict.line.empty())
            Log("%s", verdict.line.c_str());
        return -1;
    }
    EmperorDecision d;
    d.seat = own;
    d.choice = choice;
    d.target = 0;
    if (choice == kChoicePass && !JointFirstDecision(m_state))
        d.count = BuildEmperorPass(m_state, own, d.ids);
    uint8_t body[kEmperorBodyWithCards] = {};
    const uint32_t words[4] = {static_cast<uint32_t>(own), static_cast<uint32_t>(choice), 0,
                               static_cast<uint32_t>(d.count)};
    std::memcpy(body, words, sizeof words);
    std::memcpy(body + 16, d.ids, static_cast<size_t>(d.count));
    OwnedMsg msg(ShortMessage(kMsgEmperorChoice, body, EmperorBodyLength(d.count)));
    if (!msg)
        return -1;
    StopClock();
    SendReferee(msg.get());
    return 1;
}

int CMardavelBoard::OnEmperorChoice(const NetMsgHeader* msg)
{
    uint32_t words[4];
    if (!ReadWords(msg, words, 4))
        return ShortBody(*this, msg);
    if (words[3] > static_cast<uint32_t>(kMaxPassedCards) || msg->length < 16 + words[3]) {
        Log("CMardavelBoard::OnEmperorChoice, bad card count %u", words[3]);
        return -1;
    }
    EmperorDecision d;
    d.seat = static_cast<int>(words[0] % kBoardSeats);
    d.choice = static_cast<int>(words[1]);
    d.target = static_cast<int32_t>(words[2]);
    d.count = static_cast<int>(words[3]);
    std::memcpy(d.ids, MsgBody(msg) + 16, static_cast<size_t>(d.count));
    return ApplyEmperorChoice(d);
}

int CMardavelBoard::ApplyEmperorChoice(EmperorDecision d)
{
    const Verdict verdict = CanDetermineEmperor(m_state, d.seat, Decider());
    if (!verdict.ok) {
        if (!verdict.line.empty())
            Log("%s", verdict.line.c_str());
        return 1;
    }
    const bool first = JointFirstDecision(m_state);
    if (!IsReferee()) {
        if (d.choice == kChoiceAlone) {
            ApplyPlayAlone(d);
            return 1;
        }
        if (d.choice != kChoiceAccept && d.choice != kChoicePass)
            return 1;
        if (d.choice == kChoicePass && !IsValidSeat(d.target)) {
            Log("CMardavelBoard::OnEmperorChoice, bad target %d", d.target);
            return -1;
        }
        return ApplyOrdinaryChoice(d, first);
    }
    if (first)
        return RefereeFirstDecision(d);
    if (d.choice != kChoiceAccept && d.choice != kChoicePass) {
        Log("CMardavelBoard::OnEmperorChoice, choice %d refused", d.choice);
        return 1;
    }
    if (d.choice == kChoiceAccept) {
        d.target = -1;
        d.count = 0;
        return ApplyOrdinaryChoice(d, false);
    }
    d.target = EmperorPassTarget(m_state, d.seat);
    if (!RefereeChecksPass(d))
        return 1;
    if (d.target == m_state.leadSeat && ++m_side.emperorCardReturns > 1) {
        m_side.emperorCardReturns = 0;
        Redeal();
        return 1;
    }
    return ApplyOrdinaryChoice(d, false);
}

bool CMardavelBoard::RefereeChecksPass(const EmperorDecision& d)
{
    const int n = HandCount(m_state, d.seat);
    const CardEntry* hand = m_state.hands[d.seat];
    bool used[kCardAreaSize] = {};
    bool passesEmperorCard = false;
    for (int i = 0; i < d.count; ++i) {
        int found = -1;
        for (int k = 0; k < n && found < 0; ++k)
            if (!used[k] && hand[k].id == d.ids[i])
                found = k;
        if (found < 0) {
            Log("传牌的时候服务器没有该张牌:%d,%d", d.seat, d.ids[i]);
            return false;
        }
        used[found] = true;
        passesEmperorCard = passesEmperorCard || d.ids[i] == kEmperorCardId;
    }
    if (!passesEmperorCard && GetNuberByCardWhat(hand, n, kEmperorCardId) >= 0) {
        Log("CMardavelBoard::OnEmperorChoice, seat %d keeps the emperor's card", d.seat);
        return false;
    }
    if (HandCount(m_state, d.target) + d.count > kCardAreaSize) {
        Log("CMardavelBoard::OnEmperorChoice, no room in the hand of seat %d", d.target);
        return false;
    }
    return true;
}

int CMardavelBoard::ApplyOrdinaryChoice(EmperorDecision d, bool firstDecision)
{
    SendEmperorMessage(d, d.choice == kChoicePass ? EmperorBodyLength(d.count) : kEmperorBodyNoCards);
    if (d.choice == kChoicePass && d.target == m_state.leadSeat && !firstDecision)
        m_state.tableFlags |= kTableEmperorCardReturned;
    StopClock();
    m_state.tableFlags &= ~kTableFirstDecisionOpen;
    if (d.choice == kChoiceAccept) {
        m_state.emperorSeat = d.seat;
        ClearMarkedCardFlags(d.seat, kCardSelected);
        Notify(kCbAnnounce, kAnnounceEmperor, d.seat);
    } else {
        MovePassedCards(d.seat, d.target, d.ids, d.count);
        Notify(kCbSeatCards, d.seat);
        Notify(kCbSeatCards, d.target);
        m_state.seatToAct = d.target;
        Refresh();
        RequestAutoAction();
        const int own = OwnSeatOrNone();
        if (firstDecision && KickRulesOn(m_state) && own == d.target && !OwnWatching() &&
            !IsUnderAutoAction(m_state, own))
            SendEmperorChoice(kChoiceAccept);
    }
    if (IsReferee() && d.choice == kChoiceAccept)
        EmperorResult();
    if (!firstDecision)
        Notify(kCbEmperorDecided, d.seat);
    return 1;
}

void CMardavelBoard::MovePassedCards(int from, int to, const uint8_t* ids, int count)
{
    const int own = OwnSeatOrNone();
    const bool referee = IsReferee();
    SeatState& giver = m_state.seats[from];
    if (referee || (from == own && OwnHandVisible())) {
        for (int i = 0; i < count; ++i)
            if (!RemoveCardById(m_state.hands[from], giver.cardsInHand, ids[i]) && !referee)
                Log("传牌的时候服务器没有该张牌:%d,%d", from, ids[i]);
    } else {
        giver.cardsInHand = static_cast<uint32_t>(std::max(0, HandCount(m_state, from) - count));
    }
    SeatState& taker = m_state.seats[to];
    const bool visible = referee || (to == own && OwnHandVisible());
    int held = HandCount(m_state, to);
    for (int i = 0; i < count && held < kCardAreaSize; ++i, ++held) {
        CardEntry e = MakeCardEntry(visible ? ids[i] : kHiddenCardId, m_state);
        if (visible)
            e.flags |= kCardSelected | kCardPassed;
        m_state.hands[to][held] = e;
    }
    taker.cardsInHand = static_cast<uint32_t>(held);
    SortCards(m_state.hands[from], HandCount(m_state, from), m_state.sortMode);
    SortCards(m_state.hands[to], held, m_state.sortMode);
}

int CMardavelBoard::RefereeFirstDecision(const EmperorDecision& d)
{
    static const uint8_t kChoiceByte[4] = {0, kFirstChoiceAccept, kFirstChoicePass, kFirstChoiceAlone};
    if (d.choice < kChoiceAccept || d.choice > kChoiceAlone) {
        Log("CMardavelBoard::OnEmperorChoice, choice %d refused", d.choice);
        return 1;
    }
    m_state.firstChoices[d.seat] = kChoiceByte[d.choice];
    m_state.readyMarks[d.seat] = 1;
    if (KickRulesOn(m_state) && d.choice == kChoiceAlone)
        m_state.readyCount = kBoardSeats - 1;
    if (++m_state.readyCount >= kBoardSeats)
        CompleteFirstDecision();
    return 1;
}

void CMardavelBoard::CompleteFirstDecision()
{
    const int t = IsValidSeat(m_state.seatToAct) ? m_state.seatToAct : 0;
    const int alone = JointDecisionWinner(m_state);
    const bool kick = KickRulesOn(m_state);
    ClearDecisionMarks();
    EmperorDecision out;
    if (alone >= 0) {
        m_state.tableFlags |= kTableSeatPlaysAlone;
        if (alone == t) {
            out.seat = alone;
            out.choice = kChoiceAlone;
            SendEmperorMessage(out, kEmperorBodyNoCards);
            if (!NoGuardCardOn(m_state))
                ClearMarkedCardFlags(m_state.guardSeat, kCardGuard);
        } else if (kick) {
            out.seat = t;
            out.choice = kChoiceAlone;
            out.target = alone;
            SendEmperorMessage(out, kEmperorBodyNoCards);
        } else {
            out.seat = t;
            out.choice = kChoiceAlone;
            out.target = alone;
            out.count = 1;
            out.ids[0] = kEmperorCardId;
            SendEmperorMessage(out, kEmperorBodyOneCard);
            MovePassedCards(t, alone, out.ids, out.count);
        }
        if (kick)
            for (int s = 0; s < kBoardSeats; ++s)
                ClearMarkedCardFlags(s, kCardEmperor | kCardGuard);
        m_state.emperorSeat = alone;
        m_state.guardSeat = alone;
        m_state.decisionMarks[alone] = 1;
        if (kick) {
            m_state.phase = kPhaseGuard;
            m_state.ruleFlags = (m_state.ruleFlags & ~kRuleFlagKickStage) | kKickStageAlone;
        } else {
            m_state.phase = kPhasePlay;
        }
        m_state.seatToAct = alone;
        m_state.leadSeat = alone;
    } else if (m_state.firstChoices[t] == kFirstChoiceAccept) {
        out.seat = t;
        out.choice = kChoiceAccept;
        SendEmperorMessage(out, kEmperorBodyNoCards);
        m_state.emperorSeat = t;
        ClearMarkedCardFlags(t, kCardSelected);
        m_state.seatToAct = t;
        m_state.leadSeat = t;
        m_state.tableFlags &= ~kTableFirstDecisionOpen;
        EmperorResult();
    } else {
        out.seat = t;
        out.choice = kChoicePass;
        out.target = EmperorPassTarget(m_state, t);
        CardEntry* hand = m_state.hands[t];
        const int at = GetNuberByCardWhat(hand, HandCount(m_state, t), kEmperorCardId);
        if (at >= 0 && HandCount(m_state, out.target) < kCardAreaSize) {
            hand[at].flags |= kCardPassed;
            out.count = 1;
            out.ids[0] = kEmperorCardId;
        }
        SendEmperorMessage(out, EmperorBodyLength(out.count));
        MovePassedCards(t, out.target, out.ids, out.count);
        m_state.seatToAct = out.target;
    }
    m_state.tableFlags &= ~kTableFirstDecisionOpen;
    RequestAutoAction();
}

void CMardavelBoard::ApplyPlayAlone(const EmperorDecision& d)
{
    if (d.target != -1 && !IsValidSeat(d.target)) {
        Log("CMardavelBoard::OnEmperorChoice, bad target %d", d.target);
        return;
    }
    SendEmperorMessage(d, d.count > 0 ? 16u + static_cast<uint32_t>(d.count) : kEmperorBodyNoCards);
    const bool kick = KickRulesOn(m_state);
    const int own = OwnSeatOrNone();
    m_state.tableFlags &= ~kTableFirstDecisionOpen;
    m_state.tableFlags |= kTableSeatPlaysAlone;
    if (kick) {
        Notify(kCbSeatAlone, -1);
        for (int s = 0; s < kBoardSeats; ++s)
            ClearMarkedCardFlags(s, kCardEmperor | kCardGuard);
    } else if (!NoGuardCardOn(m_state)) {
        ClearMarkedCardFlags(own, kCardGuard);
    }
    int emperor = d.seat;
    if (d.target != -1) {
        MovePassedCards(d.seat, d.target, d.ids, d.count);
        emperor = d.target;
    }
    m_state.emperorSeat = emperor;
    m_state.guardSeat = emperor;
    m_state.decisionMarks[emperor] = 1;
    m_state.seatToAct = emperor;
    m_state.leadSeat = emperor;
    if (kick) {
        m_state.phase = kPhaseGuard;
        m_state.ruleFlags = (m_state.ruleFlags & ~kRuleFlagKickStage) | kKickStageAlone;
    } else {
        m_state.phase = kPhasePlay;
    }
    Refresh(true);
    if (kick && emperor == own)
        StopClock();
    RequestAutoAction();
    Notify(kCbAnnounce, kAnnounceEmperor, emperor);
}

void CMardavelBoard::EmperorResult()
{
    m_state.phase = kPhaseGuard;
    const int e = m_state.emperorSeat;
    if (NoGuardCardOn(m_state)) {
        const NamedGuard named = FindNamedGuard(m_state, e);
        if (named.named) {
            m_state.rememberedCardId = named.card.id;
            if (named.guardSeat >= 0) {
                const int g = named.guardSeat;
                CardEntry& card = m_state.hands[g][named.cardIndex];
                card.id = static_cast<uint8_t>(card.rank + kNamedCardIdBase);
                card.flags |= kCardGuard;
                SortCards(m_state.hands[g], HandCount(m_state, g), m_state.sortMode);
                m_state.guardSeat = g;
            }
        }
    }
    const int g = m_state.guardSeat;
    const uint32_t named = NoGuardCardOn(m_state) ? m_state.rememberedCardId : 0;
    const int32_t forGuard[2] = {g, static_cast<int32_t>(named)};
    const int32_t forOthers[2] = {-1, static_cast<int32_t>(named)};
    OwnedMsg toGuard(LongMessage(kMsgEmperorResult, 0, forGuard, sizeof forGuard));
    OwnedMsg toOthers(LongMessage(kMsgEmperorResult, 0, forOthers, sizeof forOthers));
    if (!toGuard || !toOthers) {
        LogOutOfMemory(__LINE__);
        return;
    }
    if (IsValidSeat(g)) {
        SendSeatAndWatchers(toGuard.get(), g);
        AddToLog(toGuard.get());
    } else {
        AddToLog(toOthers.get());  // nobody is the guard
    }
    for (int seat = 0; seat < kBoardSeats; ++seat)
        if (seat != g)
            SendSeatAndWatchers(toOthers.get(), seat);
    if (!IsValidSeat(g)) {
        // Rule option 11 and no named card: there is no guard whose
        // protection could be decided. The step ends as hidden protection
        // and the emperor plays alone.
        SendPair(kMsgGuardChoice, -1, kGuardHidden, true);
        m_state.phase = kPhasePlay;
        m_state.seatToAct = e;
        m_state.leadSeat = e;
    }
    RequestAutoAction();
}

int CMardavelBoard::OnEmperorResult(const NetMsgHeader* msg)
{
    uint32_t words[2];
    if (!ReadWords(msg, words, 2))
        return ShortBody(*this, msg);
    const int32_t g = IsValidSeat(static_cast<int32_t>(words[0])) ? static_cast<int32_t>(words[0]) : -1;
    const int own = OwnSeatOrNone();
    if (NoGuardCardOn(m_state)) {
        m_state.rememberedCardId = static_cast<uint8_t>(words[1]);
        if (g >= 0 && g == own && OwnHandVisible()) {
            const CardEntry face = MakeCardEntry(m_state.rememberedCardId, m_state);
            CardEntry* hand = m_state.hands[own];
            const int n = HandCount(m_state, own);
            int at = -1;
            if (m_state.emperorSeat != g) {
                for (int i = n - 1; i >= 0 && at < 0; --i)
                    if (hand[i].rank == face.rank && hand[i].suit == face.suit)
                        at = i;
            } else {
                at = GetNuberByCardWhat(hand, n, m_state.rememberedCardId);
            }
            if (at >= 0) {
                hand[at].id = static_cast<uint8_t>(hand[at].rank + kNamedCardIdBase);
                hand[at].flags |= kCardGuard;
                SortCards(hand, n, m_state.sortMode);
            }
        }
    }
    m_state.guardSeat = g;
    AddToLog(msg);
    Notify(kCbEmperorResult, g);
    m_state.phase = kPhaseGuard;
    Refresh(true);
    return 1;
}

// ---------------------------------------------------------------- guard

int CMardavelBoard::SendGuardChoice(int choice)
{
    const int own = OwnSeatOrNone();
    if (own < 0 || OwnWatching())
        return 1;
    const Verdict verdict = CanDetermineGuard(m_state, own, Decider());
    if (!verdict.ok) {
        if (!verdict.line.empty())
            Log("%s", verdict.line.c_str());
        return -1;
    }
    const int32_t body[2] = {own, choice};
    OwnedMsg msg(ShortMessage(kMsgGuardChoice, body, sizeof body));
    if (!msg)
        return -1;
    StopClock();
    SendReferee(msg.get());
    return 1;
}

int CMardavelBoard::OnGuardChoice(const NetMsgHeader* msg)
{
    uint32_t words[2];
    if (!ReadWords(msg, words, 2))
        return ShortBody(*this, msg);
    const int seat = static_cast<int>(words[0] % kBoardSeats);
    const int32_t choice = static_cast<int32_t>(words[1]);
    if (choice > 1) {
        if (m_state.phase != kPhaseGuard) {
            Log("不是侍卫决定明暗保阶段:%d", static_cast<int>(m_state.phase));
            return 1;
        }
        if (IsReferee()) {
            Log("CMardavelBoard::OnGuardChoice, result %d from a player refused", choice);
            return 1;
        }
        AddToLog(msg);
        ApplyGuardResult(seat, choice);
        return 1;
    }
    if (IsReferee() && choice != 0 && choice != 1) {
        Log("CMardavelBoard::OnGuardChoice, choice %d refused", choice);
        return 1;
    }
    return ApplyGuardChoice(seat, choice);
}

int CMardavelBoard::ApplyGuardChoice(int seat, int32_t choice)
{
    const Verdict verdict = CanDetermineGuard(m_state, seat, Decider());
    if (!verdict.ok) {
        if (!verdict.line.empty())
            Log("%s", verdict.line.c_str());
        return 1;
    }
    if (IsReferee() && choice == 1 && seat == EffectiveGuard(m_state))
        choice = -1;
    if (m_state.optAllSeatsGuardStep != 0)
        SendPair(kMsgGuardChoice, seat, choice, true);
    if (seat == OwnSeatOrNone())
        StopClock();
    m_state.readyMarks[seat] = 1;
    ++m_state.readyCount;
    m_state.decisionMarks[seat] = choice;
    // The guard showed himself. (On the referee this changes only a hand in
    // which no guard was known: the emperor is his own guard.)
    if (choice == -1)
        m_state.guardSeat = seat;
    Notify(kCbGuardDecided, seat);
    if (!IsReferee() || !GuardRoundComplete(m_state))
        return 1;

    const GuardOutcome out = ResolveGuardRound(m_state);
    ClearDecisionMarks();
    bool kickStage = false;
    if (out.result == kGuardOpen || out.result == kGuardCalledOut) {
        m_state.guardSeat = out.seat;
        if (KickRulesOn(m_state)) {
            kickStage = true;
            const uint32_t stage = out.result == kGuardOpen ? kKickStageOpen : kKickStageCalledOut;
            m_state.ruleFlags = (m_state.ruleFlags & ~kRuleFlagKickStage) | stage;
        }
    }
    if (out.result == kGuardCalledOut) {
        m_state.decisionMarks[out.seat] = 1;
        m_state.tableFlags |= kTableGuardCalledOut;
    }
    SendPair(kMsgGuardChoice, out.seat, out.result, true);
    if (!kickStage) {
        m_state.phase = kPhasePlay;
        m_state.seatToAct = m_state.emperorSeat;
        m_state.leadSeat = m_state.emperorSeat;
    }
    RequestAutoAction();
    return 1;
}

void CMardavelBoard::ApplyGuardResult(int seat, int32_t result)
{
    const int own = OwnSeatOrNone();
    ClearDecisionMarks();
    if (result == kGuardOpen || result == kGuardCalledOut) {
        m_state.guardSeat = seat;
        m_state.decisionMarks[seat] = 1;
        if (result == kGuardCalledOut)
            m_state.tableFlags |= kTableGuardCalledOut;
    }
    Notify(kCbGuardDecided, -1);
    if (KickRulesOn(m_state) && (result == kGuardOpen || result == kGuardCalledOut)) {
        const uint32_t stage = result == kGuardOpen ? kKickStageOpen : kKickStageCalledOut;
        m_state.ruleFlags = (m_state.ruleFlags & ~kRuleFlagKickStage) | stage;
        const bool role = own == m_state.emperorSeat || own == m_state.guardSeat;
        const bool decides = !OwnWatching() && (result == kGuardOpen ? !role : role);
        Notify(decides ? kCbKickOpen : kCbKickDone, own);
        Notify(kCbAnnounce, kAnnounceGuardStep, own);
        if (!decides)
            StopClock();
        Refresh(decides);
        return;
    }
    Notify(kCbAnnounce, kAnnounceGuardStep, own);
    m_state.phase = kPhasePlay;
    m_state.seatToAct = m_state.emperorSeat;
    m_state.leadSeat = m_state.emperorSeat;
    Refresh();
}

// ---------------------------------------------------------------- kick stage

int CMardavelBoard::SendKickChoice(int choice)
{
    const int own = OwnSeatOrNone();
    if (own < 0 || OwnWatching())
        return 1;
    const Verdict verdict = CanDetermineKick(m_state, own, Decider());
    if (!verdict.ok) {
        if (!verdict.line.empty())
            Log("%s", verdict.line.c_str());
        return -1;
    }
    const int32_t body[2] = {own, choice};
    OwnedMsg msg(ShortMessage(kMsgKickChoice, body, sizeof body));
    if (!msg)
        return -1;
    StopClock();
    SendReferee(msg.get());
    return 1;
}

int CMardavelBoard::OnKickChoice(const NetMsgHeader* msg)
{
    uint32_t words[2];
    if (!ReadWords(msg, words, 2))
        return ShortBody(*this, msg);
    if (m_state.phase != kPhaseGuard || !KickRulesOn(m_state))
        return 1;
    const int seat = static_cast<int>(words[0] % kBoardSeats);
    const int32_t choice = static_cast<int32_t>(words[1]);
    if (choice != 0 && choice != 1) {
        if (IsReferee() || choice < kKickNone || choice > kKickGuard) {
            Log("CMardavelBoard::OnKickChoice, choice %d refused", choice);
            return 1;
        }
        AddToLog(msg);
        ApplyKickResult(choice);
        return 1;
    }
    return ApplyKickChoice(seat, choice);
}

int CMardavelBoard::ApplyKickChoice(int seat, int32_t choice)
{
    const Verdict verdict = CanDetermineKick(m_state, seat, Decider());
    if (!verdict.ok) {
        if (!verdict.line.empty())
            Log("%s", verdict.line.c_str());
        return 1;
    }
    m_state.readyMarks[seat] = 1;
    ++m_state.readyCount;
    if (choice)
        m_state.ruleFlags |= 1u << seat;
    Notify(kCbKickDone, seat);
    if (m_state.optAllSeatsGuardStep != 0)
        SendPair(kMsgKickChoice, seat, choice, true);
    if (!IsReferee() || !KickRoundComplete(m_state))
        return 1;
    const int result = ResolveKickRound(m_state, seat);
    ClearDecisionMarks();
    m_state.tableFlags |= result == kKickThree     ? kTableKickResult3
                          : result == kKickEmperor ? kTableKickResult4
                          : result == kKickGuard   ? kTableKickResult5
                                                   : 0u;
    SendPair(kMsgKickChoice, seat, result, true);
    m_state.phase = kPhasePlay;
    m_state.seatToAct = m_state.emperorSeat;
    m_state.leadSeat = m_state.emperorSeat;
    RequestAutoAction();
    return 1;
}

void CMardavelBoard::ApplyKickResult(int32_t result)
{
    const int own = OwnSeatOrNone();
    ClearDecisionMarks();
    m_state.tableFlags |= result == kKickThree     ? kTableKickResult3
                          : result == kKickEmperor ? kTableKickResult4
                          : result == kKickGuard   ? kTableKickResult5
                                                   : 0u;
    Notify(kCbKickDone, own);
    Notify(kCbAnnounce, kAnnounceGuardStep, own);
    m_state.phase = kPhasePlay;
    m_state.seatToAct = m_state.emperorSeat;
    m_state.leadSeat = m_state.emperorSeat;
    Refresh();
}
