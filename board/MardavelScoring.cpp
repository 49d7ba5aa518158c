#include "MardavelScoring.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "MardavelCards.h"

namespace {

constexpr uint32_t kDoubledByKick = kTableKickResult3 | kTableKickResult4 | kTableKickResult5;
constexpr uint32_t kKickBonusFlags = kTableGuardCalledOut | kTableKickResult3 | kTableKickResult4 | kTableKickResult5;
constexpr int kUnusualScore = 40;

// Finishing places run 0 (still playing) to 5.
int Place(const BoardGameState& s, int seat)
{
    int p = s.finishPlace[seat];
    return p < 0 ? 0 : (p > kBoardSeats ? kBoardSeats : p);
}

int32_t ClampToInt32(double v)
{
    if (v >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (v <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);  // the integer part
}

int32_t SaturatingAdd(int32_t a, int32_t b)
{
    return ClampToInt32(static_cast<double>(a) + static_cast<double>(b));
}

void ScoreEmperorAlone(const BoardGameState& s, int e, HandScore& h)
{
    const uint32_t t = s.tableFlags;
    int emperor = 0;
    int others = 0;
    if (s.decisionMarks[e] == 0 || (t & kTableGuardCalledOut)) {
        const int p = Place(s, e);
        const int d = p == 1 ? 3 : (p == 2 ? 0 : -3);
        const int k = (t & kTableGuardCalledOut) ? 2 : 1;
        emperor = 4 * d * k;
        others = -(d * k);
    } else if (Place(s, e) != 0) {
        emperor = 24;
        others = -6;
    } else {
        emperor = -24;
        others = 6;
    }
    for (int i = 0; i < kBoardSeats; ++i)
        h.scores[i] = i == e ? emperor : others;
    h.resultCode = emperor < 0 ? kResultEmperorAloneLost
                 : emperor > 0 ? kResultEmperorAloneWon : kResultDraw;
}

void ScoreEmperorWithGuard(const BoardGameState& s, int e, int g, HandScore& h)
{
    const int k = s.decisionMarks[g] == 0 ? 1 : 2;
    const int f = 6 - Place(s, g) - Place(s, e);
    int guard = f * k;
    int emperor = 2 * f * k;
    const int others = k * (Place(s, g) + Place(s, e) - 6);
    if (KickRulesOn(s) && (k == 2 || (s.tableFlags & kKickBonusFlags))) {
        guard = f * k * 3 / 2;
        emperor = guard;
    }
    for (int i = 0; i < kBoardSeats; ++i)
        h.scores[i] = i == e ? emperor : (i == g ? guard : others);
    if (f == -3)
        h.resultCode = kResultSideLostAll;
    else if (f == 3)
        h.resultCode = kResultSideWonAll;
    else if (f < 0)
        h.resultCode = kResultSideLost;
    else if (f > 0)
        h.resultCode = kResultSideWon;
    else
        h.resultCode = kResultDraw;
}

void AddToRecord(BoardPlayerRecord& r, int32_t score)
{
    r.scoreTotal = SaturatingAdd(r.scoreTotal, score);
    if (score > 0)
        ++r.wins;
    else if (score < 0)
        ++r.losses;
    else
        ++r.draws;
    ++r.games;
}

void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint32_t GetU32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

uint32_t CardsLeft(const BoardGameState& s, int seat)
{
    uint32_t n = s.seats[seat].cardsInHand;
    return n > static_cast<uint32_t>(kCardAreaSize) ? static_cast<uint32_t>(kCardAreaSize) : n;
}

}  // namespace

HandScore ComputeHandScore(const BoardGameState& state)
{
    HandScore h;
    const int e = state.emperorSeat;
    if (!IsValidSeat(e))
        return h;
    const int g = IsValidSeat(state.guardSeat) ? state.guardSeat : e;
    if (e == g)
        ScoreEmperorAlone(state, e, h);
    else
        ScoreEmperorWithGuard(state, e, g, h);
    return h;
}

std::string UnusualScoreLine(const BoardPlayerRecord& player, int score)
{
    char line[96];
    std::snprintf(line, sizeof line, "%.*s分数计算异常，局分:%d",
                  static_cast<int>(sizeof player.userName), player.userName, score);
    return line;
}

ScoredHand ScoreHand(BoardGameState& state, BoardPlayerRecord* const listRecords[kBoardSeats],
                     const ScoreFactorFn& factor)
{
    const HandScore base = ComputeHandScore(state);
    ScoredHand out;
    out.resultCode = base.resultCode;
    const bool doubled = (state.tableFlags & kDoubledByKick) != 0;

    for (int seat = 0; seat < kBoardSeats; ++seat) {
        const int32_t score = doubled ? base.scores[seat] * 2 : base.scores[seat];
        ScoreFactorBlock block{1, score, 1.0};
        double used = 1.0;
        if (factor && factor(seat, block) != 0 && std::isfinite(block.factor))
            used = block.factor;
        const int32_t final = ClampToInt32(used * score);

        state.handTotal[seat] = SaturatingAdd(state.handTotal[seat], final);
        BoardPlayerRecord& seatRecord = state.seats[seat].player;
        seatRecord.scoreTotal = SaturatingAdd(seatRecord.scoreTotal, final);
        if (listRecords && listRecords[seat])
            AddToRecord(*listRecords[seat], final);
        if (final > kUnusualScore || final < -kUnusualScore)
            out.logLines.push_back(UnusualScoreLine(seatRecord, final));
        out.scores[seat] = final;
    }
    state.trickCount = 0;
    state.checkCount = 0;
    return out;
}

std::vector<uint8_t> BuildScoreBody(const BoardGameState& state, const int32_t scores[kBoardSeats],
                                    int resultCode)
{
    std::vector<uint8_t> body;
    body.reserve(kScoreBodyFixedSize + kBoardSeats * kCardAreaSize);
    for (int i = 0; i < kBoardSeats; ++i)
        PutU32(body, static_cast<uint32_t>(scores[i]));
    for (int i = 0; i < kBoardSeats; ++i)
        PutU32(body, static_cast<uint32_t>(state.handTotal[i]));
    for (int i = 0; i < kBoardSeats; ++i)
        PutU32(body, CardsLeft(state, i));
    PutU32(body, static_cast<uint32_t>(resultCode));
    PutU32(body, static_cast<uint32_t>(state.guardSeat));
    for (int i = 0; i < kBoardSeats; ++i)
        for (uint32_t c = 0; c < CardsLeft(state, i); ++c)
            body.push_back(state.hands[i][c].id);
    return body;
}

bool ParseScoreBody(const uint8_t* body, size_t length, ScoreMessage* out)
{
    if (!body || !out || length < kScoreBodyFixedSize)
        return false;
    ScoreMessage m;
    size_t ids = 0;
    for (int i = 0; i < kBoardSeats; ++i) {
        m.scores[i] = static_cast<int32_t>(GetU32(body + 4 * i));
        m.totals[i] = static_cast<int32_t>(GetU32(body + 20 + 4 * i));
        m.cardsLeft[i] = GetU32(body + 40 + 4 * i);
        if (m.cardsLeft[i] > static_cast<uint32_t>(kCardAreaSize))
            return false;
        ids += m.cardsLeft[i];
    }
    const uint32_t code = GetU32(body + 60);
    if (code < kResultEmperorAloneLost || code > kResultDraw)
        return false;
    if (ids > length - kScoreBodyFixedSize)
        return false;
    m.resultCode = static_cast<int>(code);
    m.guardSeat = static_cast<int32_t>(GetU32(body + 64));
    m.cardIds = body + kScoreBodyFixedSize;
    *out = m;
    return true;
}

void ApplyScoreMessage(BoardGameState& state, const ScoreMessage& message)
{
    state.phase = kPhaseIdle;
    state.guardSeat = IsValidSeat(message.guardSeat) ? message.guardSeat : -1;
    ++state.handsFinished;
    const bool dropGuardFlag = (state.tableFlags & kTableSeatPlaysAlone) && !NoGuardCardOn(state);
    const uint8_t* ids = message.cardIds;
    for (int seat = 0; seat < kBoardSeats; ++seat) {
        state.lastScore[seat] = message.scores[seat];
        state.handTotal[seat] = message.totals[seat];
        BoardPlayerRecord& record = state.seats[seat].player;
        record.scoreTotal = SaturatingAdd(record.scoreTotal, message.scores[seat]);
        const uint32_t left = message.cardsLeft[seat];
        const int n = static_cast<int>(left > static_cast<uint32_t>(kCardAreaSize) ? kCardAreaSize : left);
        state.seats[seat].cardsInHand = static_cast<uint32_t>(n);
        if (n <= 0 || !ids)
            continue;
        CardEntry* hand = state.hands[seat];
        SetCardsFromIds(hand, ids, n, state);
        if (dropGuardFlag)
            for (int i = 0; i < n; ++i)
                hand[i].flags &= static_cast<uint8_t>(~kCardGuard);
        SortCards(hand, n, state.sortMode);
        ids += n;
    }
}

uint32_t OutcomeAnnouncement(int resultCode, int ownSeat, int emperorSeat, int guardSeat)
{
    const bool ownSide = ownSeat == emperorSeat || ownSeat == guardSeat;
    switch (resultCode) {
    case kResultEmperorAloneLost:
    case kResultSideLostAll:
    case kResultSideLost:
        return ownSide ? kAnnounceOwnSideLost : kAnnounceOwnSideWon;
    case kResultEmperorAloneWon:
    case kResultSideWonAll:
    case kResultSideWon:
        return ownSide ? kAnnounceOwnSideWon : kAnnounceOwnSideLost;
    case kResultDraw:
        return kAnnounceDraw;
    default:
        return 0;
    }
}
