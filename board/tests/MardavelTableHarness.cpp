#include "MardavelTableHarness.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>

#include "MardavelBoard.h"
#include "MardavelCards.h"
#include "MardavelDecisions.h"
#include "MardavelPlay.h"
#include "MsgPack.h"

namespace {

constexpr int kMaxDeliveriesPerPump = 1000000;
constexpr int kRefereeIndex = 0;

int Face(const CardEntry& e) { return e.rank * 64 + e.suit; }

std::string Format(const char* format, int a = 0, int b = 0, int c = 0, int d = 0)
{
    char text[256];
    std::snprintf(text, sizeof text, format, a, b, c, d);
    return text;
}

std::vector<uint8_t> MessageBlock(uint32_t id, uint32_t extra, const void* body, uint32_t length)
{
    const uint32_t header = MsgHeaderSize(id);
    std::vector<uint8_t> bytes(header + length);
    const NetMsgHeader h{id, length, extra};
    std::memcpy(bytes.data(), &h, header);
    if (length)
        std::memcpy(bytes.data() + header, body, length);
    return bytes;
}

std::vector<int> HandIds(const BoardGameState& s, int seat)
{
    std::vector<int> ids;
    for (int i = 0; i < HandCount(s, seat); ++i)
        ids.push_back(s.hands[seat][i].id);
    std::sort(ids.begin(), ids.end());
    return ids;
}

}  // namespace

int32_t TableHarness::Sent::Word(uint32_t i) const
{
    const NetMsgHeader* msg = Msg();
    if (msg->length < 4 * (i + 1))
        return 0;
    int32_t w;
    std::memcpy(&w, MsgBody(msg) + 4 * i, 4);
    return w;
}

TableHarness::TableHarness(uint32_t seed, bool recordCalls) : m_rng(seed), m_seed(seed), m_record(recordCalls)
{
}

TableHarness::~TableHarness()
{
    for (auto& p : m_parties)
        QVBoardDestory(p->board);
}

void TableHarness::AddProblem(const std::string& p)
{
    if (m_problems.size() < 50)
        m_problems.push_back(p);
}

bool TableHarness::ExpectedLog(const std::string& line)
{
    return line.rfind("CBoard::ImportBoardData,", 0) == 0 || line == "一局结束" ||
           line.find("分数计算异常") != std::string::npos;
}

int32_t TableHarness::Event(Party& p, int32_t code, int32_t userId, int32_t identify, void* param)
{
    return QVBoardEvent(p.board, code, userId, identify, param);
}

// ---------------------------------------------------------------- set-up

void TableHarness::Setup(const std::vector<std::pair<int, int>>& options, const std::vector<int>& watchedSeats)
{
    auto add = [this](bool referee, const BoardPlayerRecord& record) {
        auto party = std::make_unique<Party>();
        Party& p = *party;
        p.table = this;
        p.index = static_cast<int>(m_parties.size());
        p.referee = referee;
        p.record = record;
        p.seat = record.seat & 0x7F;
        p.watching = (record.seat & kSeatWatchingBit) != 0;
        BoardInitBlock init;
        std::memset(&init, 0, sizeof init);
        init.size = sizeof init;
        init.ownUserId = record.userId;
        init.ownIdentifyPlusOne = static_cast<uint8_t>(record.identify + 1);
        p.board = QVBoardCreate(referee ? kBoardModeReferee : kBoardModePlayer, &TableHarness::Callback,
                                reinterpret_cast<uintptr_t>(&p), 0, referee ? nullptr : &init);
        const BoardGameState* state = nullptr;
        QVBoardEvent(p.board, kEvTableState, 0, 0, &state);
        p.state = state;
        if (!referee)
            QVBoardEvent(p.board, kEvOwnIdentity, 0, 0, &p.record);
        m_parties.push_back(std::move(party));
        return &p;
    };
    BoardPlayerRecord none{};
    Party* referee = add(true, none);
    MardavelSeedDeals(referee->board, m_seed * 2654435761u + 1, m_seed);
    for (const auto& option : options)
        Event(*referee, kEvSetOption, option.first, option.second);
    auto record = [](uint32_t userId, uint8_t identify, uint8_t seat, const std::string& name) {
        BoardPlayerRecord r{};
        r.userId = userId;
        r.identify = identify;
        r.seat = seat;
        std::snprintf(r.userName, sizeof r.userName, "%s", name.c_str());
        std::snprintf(r.nickname, sizeof r.nickname, "n-%s", name.c_str());
        return r;
    };
    for (int s = 0; s < kBoardSeats; ++s)
        add(false, record(100u + s, 0, static_cast<uint8_t>(s), "seat" + std::to_string(s)));
    for (size_t k = 0; k < watchedSeats.size(); ++k)
        add(false, record(200u + static_cast<uint32_t>(k), 1, static_cast<uint8_t>(0x80 | watchedSeats[k]),
                          "watch" + std::to_string(k)));
    for (size_t i = 1; i < m_parties.size(); ++i)
        Event(*referee, kEvAddPlayer, 0, 0, &m_parties[i]->record);
    for (size_t i = 1; i < m_parties.size(); ++i) {
        Party& p = *m_parties[i];
        Event(*referee, kEvSendBoardData, static_cast<int32_t>(p.record.userId), p.record.identify,
              p.record.userName);
    }
    Pump();
}

void TableHarness::SetTrustPlay(int seat, bool on)
{
    Party& p = SeatPlayer(seat);
    uint8_t body[24] = {};
    const uint32_t state = on ? 1 : 0;
    std::memcpy(body, &state, 4);
    std::memcpy(body + 4, p.record.userName, 20);
    const auto msg = MessageBlock(kMsgTrustState, 1, body, sizeof body);
    for (size_t i = 1; i < m_parties.size(); ++i)
        Queue(static_cast<int>(i), reinterpret_cast<const NetMsgHeader*>(msg.data()), -1, -1);
    Event(Referee(), kEvTrustPlay, static_cast<int32_t>(p.record.userId), on ? 1 : 0);
}

void TableHarness::SetOffline(int seat)
{
    Party& p = SeatPlayer(seat);
    const auto msg = MessageBlock(kMsgPlayerOffline, 0, p.record.userName, 20);
    for (size_t i = 1; i < m_parties.size(); ++i)
        Queue(static_cast<int>(i), reinterpret_cast<const NetMsgHeader*>(msg.data()), -1, -1);
    Event(Referee(), kEvOffline, static_cast<int32_t>(p.record.userId), 0);
}

void TableHarness::LetWatchersSee(int seat)
{
    Event(SeatPlayer(seat), kEvToggleWatchersMaySee);
    Pump();
}

// ---------------------------------------------------------------- routing

int32_t QVBOARD_CALL TableHarness::Callback(BoardCallbackRecord* record)
{
    auto* party = reinterpret_cast<Party*>(record->cookie);
    return party->table->OnCallback(*party, *record);
}

void TableHarness::Queue(int to, const NetMsgHeader* msg, int32_t userId, int32_t identify)
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(msg);
    m_queue.push_back(Delivery{to, std::vector<uint8_t>(bytes, bytes + MsgSize(msg)), userId, identify});
}

void TableHarness::QueueToSeat(const NetMsgHeader* msg, int seat, bool player, bool watchers)
{
    for (size_t i = 1; i < m_parties.size(); ++i) {
        const Party& p = *m_parties[i];
        if (p.seat == seat && ((p.watching && watchers) || (!p.watching && player)))
            Queue(static_cast<int>(i), msg, -1, -1);
    }
}

int32_t TableHarness::OnCallback(Party& from, BoardCallbackRecord& record)
{
    if (record.code == kCbLog) {
        const std::string line = reinterpret_cast<const char*>(record.p1);
        from.logs.push_back(line);
        if (!ExpectedLog(line))
            AddProblem("board " + std::to_string(from.index) + " logged: " + line);
        return 1;
    }
    const auto* msg = reinterpret_cast<const NetMsgHeader*>(record.p1);
    if (m_record) {
        from.calls.push_back(record);
        const uint32_t c = record.code;
        if (c == kCbSendAll || c == kCbSendSeatAndWatchers || c == kCbSendSeat || c == kCbSendWatchers ||
            c == kCbSendRecipient || c == kCbSendReferee) {
            Sent sent;
            sent.code = c;
            if (c >= kCbSendSeatAndWatchers && c <= kCbSendWatchers)
                sent.seat = static_cast<int>(record.p2);
            if (c == kCbSendRecipient)
                sent.recipient.assign(record.recipient, strnlen(record.recipient, sizeof record.recipient));
            const auto* bytes = reinterpret_cast<const uint8_t*>(msg);
            sent.bytes.assign(bytes, bytes + MsgSize(msg));
            from.sent.push_back(std::move(sent));
        }
    }
    if (!from.referee) {
        if (record.code == kCbSendReferee)
            Queue(kRefereeIndex, msg, static_cast<int32_t>(from.record.userId), from.record.identify);
        return 1;
    }
    if (record.code <= kCbSendRecipient && record.code != 1 && record.code != 2 && record.code != 6) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(msg);
        for (size_t i = 0; i < MsgSize(msg); ++i)
            m_counters.digest = (m_counters.digest ^ bytes[i]) * 1099511628211ull;
        m_counters.digest = (m_counters.digest ^ (record.code * 8u + static_cast<uint32_t>(record.p2 & 7))) * 1099511628211ull;
    }
    switch (record.code) {
    case kCbSendAll:
        NotePath(msg);
        if (msg->id == kMsgPlay)
            NotePlayed(msg);
        if (msg->id == kMsgScore)
            ++m_counters.hands;
        for (size_t i = 1; i < m_parties.size(); ++i)
            Queue(static_cast<int>(i), msg, -1, -1);
        break;
    case kCbSendSeatAndWatchers:
    case kCbSendSeat:
    case kCbSendWatchers:
        if (msg->id == kMsgDeal)
            SnapshotDeal();
        if (msg->id == kMsgEmperorResult && record.code == kCbSendSeatAndWatchers) {
            int32_t words[2];
            std::memcpy(words, MsgBody(msg), sizeof words);
            if (words[0] >= 0 && NoGuardCardOn(RefereeState()))
                ++m_counters.paths[words[0] == RefereeState().emperorSeat ? "named guard emperor" : "named guard"];
        }
        if (!IsValidSeat(static_cast<int>(record.p2))) {
            AddProblem(Format("message %x to seat %d", static_cast<int>(msg->id), static_cast<int>(record.p2)));
            break;
        }
        QueueToSeat(msg, static_cast<int>(record.p2), record.code != kCbSendWatchers,
                    record.code != kCbSendSeat);
        break;
    case kCbSendRecipient:
        for (size_t i = 1; i < m_parties.size(); ++i)
            if (std::strncmp(m_parties[i]->record.userName, record.recipient, 20) == 0)
                Queue(static_cast<int>(i), msg, -1, -1);
        break;
    case kCbMatchGoesOn:
        if (record.p1 == 0)
            ++m_counters.matchesOver;
        break;
    default:
        break;
    }
    return 1;
}

bool TableHarness::Pump()
{
    for (int n = 0; !m_queue.empty(); ++n) {
        if (n >= kMaxDeliveriesPerPump) {
            AddProblem("the messages never end");
            m_queue.clear();
            return false;
        }
        Delivery d = std::move(m_queue.front());
        m_queue.pop_front();
        Party& p = *m_parties[static_cast<size_t>(d.to)];
        ++m_counters.deliveries;
        if (reinterpret_cast<const NetMsgHeader*>(d.bytes.data())->id == kMsgEmperorChoice)
            ++p.emperorMessages;
        const int32_t result = Event(p, kEvGameMessage, d.userId, d.identify, d.bytes.data());
        if (result != 1) {
            const auto* msg = reinterpret_cast<const NetMsgHeader*>(d.bytes.data());
            AddProblem(Format("board %d answered %d to message %x", p.index, result, static_cast<int>(msg->id)));
        }
        if (m_checkEachDelivery)
            CheckCards();
        if (afterDelivery)
            afterDelivery();
    }
    return true;
}

// ---------------------------------------------------------------- checks

void TableHarness::SnapshotDeal()
{
    const BoardGameState& r = RefereeState();
    std::vector<int> hands;
    m_dealt.clear();
    for (int s = 0; s < kBoardSeats; ++s) {
        for (int i = 0; i < HandCount(r, s); ++i) {
            m_dealt.push_back(Face(r.hands[s][i]));
            hands.push_back(r.hands[s][i].id);
        }
        hands.push_back(-1);
    }
    std::sort(m_dealt.begin(), m_dealt.end());
    m_played.clear();
    if (hands != m_dealtHands) {
        ++m_counters.deals;  // each deal sends five of these
        if (m_counters.deals > 1 && m_handsAtLastDeal == m_counters.hands)
            ++m_counters.paths["deal again"];
        m_handsAtLastDeal = m_counters.hands;
    }
    m_dealtHands = hands;
    m_dealSeen = true;
}

void TableHarness::NotePath(const NetMsgHeader* msg)
{
    int32_t words[3] = {};
    std::memcpy(words, MsgBody(msg), std::min<uint32_t>(msg->length, sizeof words));
    std::string path;
    switch (msg->id) {
    case kMsgEmperorChoice:
        path = "emperor " + std::to_string(words[1]);
        if (words[1] == kChoiceAlone)
            path += words[2] < 0 ? " self" : " other";
        if (words[1] == kChoicePass && words[2] == RefereeState().leadSeat)
            path += " back";
        break;
    case kMsgGuardChoice:
        if (words[1] > 1)
            path = "guard " + std::to_string(words[1]);
        break;
    case kMsgKickChoice:
        if (words[1] > 1)
            path = "kick " + std::to_string(words[1]);
        break;
    case kMsgScore: {
        int32_t code;
        std::memcpy(&code, MsgBody(msg) + 60, 4);
        path = "result " + std::to_string(code);
        break;
    }
    default:
        break;
    }
    if (!path.empty())
        ++m_counters.paths[path];
}

void TableHarness::NotePlayed(const NetMsgHeader* msg)
{
    uint32_t words[3];
    std::memcpy(words, MsgBody(msg), sizeof words);
    if (words[2] == 0) {
        ++m_counters.passes;
        return;
    }
    ++m_counters.plays;
    for (uint32_t i = 0; i < words[2]; ++i) {
        uint32_t id;
        std::memcpy(&id, MsgBody(msg) + 12 + 4 * i, 4);
        m_played.push_back(Face(MakeCardEntry(static_cast<uint8_t>(id), RefereeState())));
    }
}

void TableHarness::CheckCards()
{
    if (!m_dealSeen)
        return;
    const BoardGameState& r = RefereeState();
    std::vector<int> now = m_played;
    for (int s = 0; s < kBoardSeats; ++s)
        for (int i = 0; i < HandCount(r, s); ++i)
            now.push_back(Face(r.hands[s][i]));
    std::sort(now.begin(), now.end());
    if (now != m_dealt)
        AddProblem(Format("cards do not add up: %d dealt, %d held or played", static_cast<int>(m_dealt.size()),
                          static_cast<int>(now.size())));
}

void TableHarness::CheckViews()
{
    const BoardGameState& r = RefereeState();
    for (size_t i = 1; i < m_parties.size(); ++i) {
        const Party& p = *m_parties[i];
        const BoardGameState& v = *p.state;
        auto differ = [&](const char* what, int mine, int theirs) {
            if (mine == theirs)
                return;
            char text[160];
            std::snprintf(text, sizeof text, "board %d: %s is %d, the referee's %d", p.index, what, mine, theirs);
            AddProblem(text);
        };
        differ("phase", static_cast<int>(v.phase), static_cast<int>(r.phase));
        differ("hands finished", static_cast<int>(v.handsFinished), static_cast<int>(r.handsFinished));
        // Between hands the boards clear the last hand at their own
        // readiness, the referee at the fifth; the score message carries no
        // places.
        if (r.phase != kPhaseIdle) {
            differ("emperor", v.emperorSeat, r.emperorSeat);
            differ("out count", v.outCount, r.outCount);
            differ("remembered card", v.rememberedCardId, r.rememberedCardId);
            differ("table flags", static_cast<int>(v.tableFlags & ~kTableFirstPlayDue),
                   static_cast<int>(r.tableFlags & ~kTableFirstPlayDue));
            differ("rule flags", static_cast<int>(v.ruleFlags & ~kRuleFlagKickMarks),
                   static_cast<int>(r.ruleFlags & ~kRuleFlagKickMarks));
            if (v.guardSeat != -1)
                differ("guard", v.guardSeat, r.guardSeat);
            differ("seat to act", v.seatToAct, r.seatToAct);
            differ("lead", v.leadSeat, r.leadSeat);
        }
        if (r.phase == kPhasePlay) {
            differ("trick count", v.trickCount, r.trickCount);
            std::vector<int> mine, theirs;
            for (int k = 0; k < std::clamp(r.trickCount, 0, 52); ++k) {
                mine.push_back(v.trickCards[k].id);
                theirs.push_back(r.trickCards[k].id);
            }
            std::sort(mine.begin(), mine.end());
            std::sort(theirs.begin(), theirs.end());
            if (mine != theirs)
                AddProblem(Format("board %d: the play on the table differs", p.index));
        }
        for (int s = 0; s < kBoardSeats; ++s) {
            differ("cards in hand", static_cast<int>(v.seats[s].cardsInHand),
                   static_cast<int>(r.seats[s].cardsInHand));
            if (r.phase != kPhaseIdle)
                differ("place", v.finishPlace[s], r.finishPlace[s]);
            if (r.phase == kPhasePlay)
                differ("table count", static_cast<int>(v.seats[s].tableCardCount),
                       static_cast<int>(r.seats[s].tableCardCount));
        }
        const int seat = p.seat;
        const bool sees = !p.watching || v.seats[seat].watchersMaySee || r.phase == kPhaseIdle;
        if (sees && HandIds(v, seat) != HandIds(r, seat))
            AddProblem(Format("board %d: the hand of seat %d differs", p.index, seat));
        if (!sees)
            for (int id : HandIds(v, seat))
                if (id != kHiddenCardId)
                    AddProblem(Format("board %d: a watcher sees card %d", p.index, id));
    }
}

// ---------------------------------------------------------------- the driver

uint32_t TableHarness::StepKey(const Party& p, const BoardGameState& s) const
{
    // A new step after every emperor decision the board applied (the card
    // may come back to the same seat), every new phase or stage, every deal.
    return s.phase | ((s.ruleFlags & kRuleFlagKickStage) >> 6) | ((s.tableFlags & kTableFirstDecisionOpen) << 6) |
           (static_cast<uint32_t>(p.emperorMessages & 0xFF) << 8) | (static_cast<uint32_t>(m_counters.deals) << 16);
}

bool TableHarness::ActOnce()
{
    // Trust play is switched between decisions: a seat that comes back while
    // a decision round is open may have been decided for, and would be
    // refused (rightly) when it decides again.
    const uint32_t phase = RefereeState().phase;
    if (m_trustToggles > 0 && (phase == kPhaseIdle || phase == kPhasePlay) &&
        std::uniform_int_distribution<int>(0, 999)(m_rng) < m_trustToggles) {
        const int seat = std::uniform_int_distribution<int>(0, kBoardSeats - 1)(m_rng);
        SetTrustPlay(seat, !(RefereeState().seats[seat].player.flags & kPlayerFlagTrustPlay));
        ++m_counters.trustToggles;
        return true;
    }
    const size_t players = m_parties.size() - 1;
    for (size_t k = 0; k < players; ++k) {
        const size_t i = 1 + (m_nextActor + k) % players;
        Party& p = *m_parties[i];
        if (p.watching)
            continue;
        if (ActFor(p)) {
            m_nextActor = (i - 1 + 1) % players;
            return true;
        }
    }
    return false;
}

bool TableHarness::ActFor(Party& p)
{
    const BoardGameState& s = *p.state;
    const int own = p.seat;
    if (s.phase == kPhaseIdle) {
        if (s.readyMarks[own])
            return false;
        Event(p, kEvReady);
        return true;
    }
    if (IsUnderAutoAction(s, own))
        return false;
    if (s.phase == kPhasePlay)
        return PlayTurn(p, s);
    if (p.decidedThisStep && p.stepKey == StepKey(p, s))
        return false;
    if (!Decide(p, s))
        return false;
    p.decidedThisStep = true;
    p.stepKey = StepKey(p, s);
    return true;
}

bool TableHarness::Decide(Party& p, const BoardGameState& s)
{
    const int own = p.seat;
    std::uniform_int_distribution<int> percent(0, 99);
    int32_t result = 1;
    if (s.phase == kPhaseEmperor) {
        if (JointFirstDecision(s)) {
            const int roll = percent(m_rng);
            result = Event(p, roll < 8 ? kEvPlayAlone : roll < 40 ? kEvAcceptEmperor : kEvPassEmperorCard);
        } else if (own == s.seatToAct) {
            bool accept = percent(m_rng) >= m_passPercent;
            if (NoGuardCardOn(s)) {
                const CardEntry* named = nullptr;
                Event(p, kEvIdenticalCards, 3, -1, &named);
                accept = accept && named != nullptr;
            }
            result = Event(p, accept ? kEvAcceptEmperor : kEvPassEmperorCard);
        } else {
            return false;
        }
    } else if (s.phase == kPhaseGuard) {
        const uint32_t stage = KickStage(s);
        const int e = s.emperorSeat;
        const int g = s.guardSeat;
        if (stage == 0) {
            if (s.readyMarks[own])
                return false;  // decided (with rule option 7 every board knows)
            const bool isGuard = own == g;
            if ((own == e && !isGuard) || (!s.optAllSeatsGuardStep && !isGuard))
                return false;
            const int roll = percent(m_rng);
            result = Event(p, isGuard ? (roll < 50 ? kEvGuardOpen : kEvGuardHidden)
                                      : (roll < 25 ? kEvGuardOpen : kEvGuardHidden));
        } else {
            if (s.readyMarks[own])
                return false;
            const bool role = own == e || own == g;
            const bool may = stage == kKickStageOpen ? !role : stage == kKickStageCalledOut ? role : own != e;
            if (!may)
                return false;
            result = Event(p, percent(m_rng) < 30 ? kEvKick : kEvNoKick);
        }
    } else {
        return false;
    }
    if (result != 1)
        AddProblem(Format("board %d: a decision in phase %d was refused", p.index, static_cast<int>(s.phase)));
    return true;
}

void TableHarness::SelectCards(Party& p, const std::vector<uint8_t>& ids)
{
    auto& s = const_cast<BoardGameState&>(*p.state);
    CardEntry* hand = s.hands[p.seat];
    const int n = HandCount(s, p.seat);
    for (int i = 0; i < n; ++i)
        hand[i].flags &= static_cast<uint8_t>(~kCardSelected);
    for (uint8_t id : ids)
        for (int i = 0; i < n; ++i)
            if (hand[i].id == id && !(hand[i].flags & kCardSelected)) {
                hand[i].flags |= kCardSelected;
                break;
            }
}

bool TableHarness::PlayTurn(Party& p, const BoardGameState& s)
{
    const int own = p.seat;
    if (own != s.seatToAct || MustPass(s))
        return false;
    std::uniform_int_distribution<int> percent(0, 99);
    std::vector<uint8_t> ids;
    if (s.seatToAct == s.leadSeat) {
        // A lead: the lowest rank group, or one card of it; with rule option 2
        // the lowest rank in play only when nothing else is left.
        const int n = HandCount(s, own);
        std::map<int, std::vector<uint8_t>> byRank;
        for (int i = 0; i < n; ++i)
            byRank[s.hands[own][i].rank].push_back(s.hands[own][i].id);
        if (byRank.empty())
            return false;
        const int r = LowestRankInPlay(s);
        auto group = byRank.begin();
        if (s.optLowestLast && group->first == r && byRank.size() > 1)
            ++group;
        ids = group->second;
        const bool allLowest = s.optLowestLast && group->first == r;
        if (!allLowest && percent(m_rng) < 50)
            ids.resize(1);
    } else {
        const HintCandidate* hint = nullptr;
        Event(p, kEvNextHint, -1, -1, &hint);
        for (int more = percent(m_rng) % 3; hint && more > 0; --more)
            Event(p, kEvNextHint, -1, -1, &hint);
        if (hint && percent(m_rng) < 85) {
            ++m_counters.hintsUsed;
            for (uint32_t k = 0; k < hint->count; ++k)
                ids.push_back(hint->cards[k].id);
        }
    }
    if (ids.empty()) {
        if (Event(p, kEvPass) != 1)
            AddProblem(Format("board %d: a pass was refused", p.index));
        return true;
    }
    SelectCards(p, ids);
    if (Event(p, kEvPlayCards) != 1)
        AddProblem(Format("board %d: a play of %d cards was refused", p.index, static_cast<int>(ids.size())));
    return true;
}

bool TableHarness::PlayHands(int hands, int maxActions)
{
    const int target = m_counters.hands + hands;
    for (int actions = 0; actions < maxActions; ++actions) {
        if (!Pump())
            return false;
        if (m_checkEachDelivery)
            CheckViews();
        if (m_counters.hands >= target)
            return true;
        if (!ActOnce()) {
            const BoardGameState& r = RefereeState();
            AddProblem(Format("the hand is stuck in phase %d, seat %d to act, lead %d",
                              static_cast<int>(r.phase), r.seatToAct, r.leadSeat));
            return false;
        }
    }
    AddProblem("the hands did not end");
    return false;
}
