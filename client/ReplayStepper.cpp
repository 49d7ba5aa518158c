#include "ReplayStepper.h"

#include <cstring>
#include <utility>

#include "TableState.h"

namespace replay {

namespace {

constexpr uint32_t kDeal = 0x80026001;
constexpr uint32_t kEmperorChoice = 0x26002;
constexpr uint32_t kEmperorResult = 0x80026003;
constexpr uint32_t kGuardChoice = 0x26004;
constexpr uint32_t kPlay = 0x26005;
constexpr uint32_t kKickChoice = 0x26010;
constexpr uint32_t kScore = 0x80026006;

// Emperor decisions (the body's second word).
constexpr uint32_t kKindAccept = 1;
constexpr uint32_t kKindAlone = 3;
constexpr uint32_t kNoSeat = 0xFFFFFFFFu;

// Offsets in the whole message (header included).
constexpr size_t kDealCountsAt = 13;
constexpr size_t kPlayBodyAt = 8;            // seat, second seat, count, ids
constexpr size_t kDecisionBodyAt = 8;        // seat, kind, target, count, ids (bytes)
constexpr size_t kScoreCardsLeftAt = 52;
constexpr size_t kScoreResultAt = 72;
constexpr size_t kScoreGuardAt = 76;
constexpr size_t kScoreCardsAt = 80;

uint32_t U32(const uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool IsSeat(uint32_t seat) { return seat < static_cast<uint32_t>(kBoardSeats); }
bool IsCardId(uint32_t id) { return id <= kHighestCardId || id == kHiddenCard; }

// One pass over the data in file order, the way preparation takes it. With
// a target it writes; without one it only checks. Both see the same counts,
// so whatever the check passes, the writes stay inside the state.
struct Pass {
    const ReplayGame& game;
    ReplayTarget* target = nullptr;
    CTableState state;
    uint32_t recordedSeat = 0;

    int cardCount[kBoardSeats] = {};
    int collected[kBoardSeats] = {};
    int played[kBoardSeats] = {};
    int place[kBoardSeats] = {kNoPlace, kNoPlace, kNoPlace, kNoPlace, kNoPlace};
    int nextPlace = 1;
    int emperor = -1;
    int guard = -1;
    int outcome = kOutcomeNone;

    explicit Pass(const ReplayGame& g) : game(g) {}

    bool WriteCard(int seat, uint32_t id)
    {
        if (collected[seat] >= kCardAreaSize)
            return false;
        const int index = collected[seat]++;
        if (target != nullptr) {
            if (CardEntry* entry = state.HandEntryForReplay(seat, index))
                target->BoardEvent(kEvSetCard, -1, static_cast<int32_t>(id), entry);
        }
        return true;
    }

    void Feed(const uint8_t* message, size_t size)
    {
        if (target == nullptr)
            return;
        std::vector<uint8_t> copy(message, message + size);
        target->FeedMessage(copy.data(), copy.size());
    }

    LoadStatus Deal(const uint8_t* m, uint32_t length)
    {
        if (length < kDealCountsAt + kBoardSeats)
            return kLoadBadDeal;
        for (int s = 0; s < kBoardSeats; ++s) {
            if (m[kDealCountsAt + s] > kCardAreaSize)
                return kLoadBadDeal;
            cardCount[s] = m[kDealCountsAt + s];
            if (target != nullptr)
                state.SetHandCount(s, static_cast<uint32_t>(cardCount[s]));
        }
        return kLoadOk;
    }

    LoadStatus Decision(const uint8_t* m, uint32_t length)
    {
        if (length < kDecisionBodyAt + 16)
            return kLoadBadDecision;
        const uint32_t a = U32(m + kDecisionBodyAt);
        const uint32_t kind = U32(m + kDecisionBodyAt + 4);
        const uint32_t b = U32(m + kDecisionBodyAt + 8);
        const uint32_t n = U32(m + kDecisionBodyAt + 12);
        if (!IsSeat(a) || n > static_cast<uint32_t>(kCardAreaSize) || length < kDecisionBodyAt + 16 + n)
            return kLoadBadDecision;
        if (kind == kKindAccept || (kind == kKindAlone && b == kNoSeat)) {
            emperor = static_cast<int>(a);
            if (kind == kKindAlone)
                guard = emperor;
            return kLoadOk;
        }
        // A pass moves n cards to the target; playing alone with a target
        // makes the target emperor and guard, the passed cards moving to it.
        if (!IsSeat(b))
            return kLoadBadDecision;
        const int from = static_cast<int>(a);
        const int to = static_cast<int>(b);
        if (from != to) {
            if (cardCount[from] < static_cast<int>(n) || cardCount[to] + static_cast<int>(n) > kCardAreaSize)
                return kLoadBadDecision;
            cardCount[from] -= static_cast<int>(n);
            cardCount[to] += static_cast<int>(n);
            if (target != nullptr) {
                state.SetHandCount(from, static_cast<uint32_t>(cardCount[from]));
                state.SetHandCount(to, static_cast<uint32_t>(cardCount[to]));
            }
        }
        if (kind == kKindAlone) {
            emperor = to;
            guard = to;
        }
        return kLoadOk;
    }

    LoadStatus Play(const uint8_t* m, uint32_t length)
    {
        if (length < kPlayBodyAt + 12)
            return kLoadBadPlay;
        const uint32_t seat = U32(m + kPlayBodyAt);
        const uint32_t count = U32(m + kPlayBodyAt + 8);
        if (!IsSeat(seat) || count > static_cast<uint32_t>(kCardAreaSize) || length < kPlayBodyAt + 12 + 4 * count)
            return kLoadBadPlay;
        const int s = static_cast<int>(seat);
        if (collected[s] + static_cast<int>(count) > kCardAreaSize)
            return kLoadHandOver52;
        for (uint32_t i = 0; i < count; ++i) {
            const uint32_t id = U32(m + kPlayBodyAt + 12 + 4 * i);
            if (!IsCardId(id))
                return kLoadBadPlay;
            WriteCard(s, id);
        }
        played[s] += static_cast<int>(count);
        if (count > 0 && played[s] == cardCount[s])
            place[s] = nextPlace++;
        return kLoadOk;
    }

    LoadStatus Score(const uint8_t* m, uint32_t length)
    {
        if (length < kScoreCardsAt)
            return kLoadBadScore;
        uint32_t left[kBoardSeats];
        size_t total = 0;
        for (int s = 0; s < kBoardSeats; ++s) {
            left[s] = U32(m + kScoreCardsLeftAt + 4 * s);
            if (left[s] > static_cast<uint32_t>(kCardAreaSize))
                return kLoadBadScore;
            if (collected[s] + static_cast<int>(left[s]) > kCardAreaSize)
                return kLoadHandOver52;
            total += left[s];
        }
        if (length < kScoreCardsAt + total)
            return kLoadBadScore;
        const uint32_t g = U32(m + kScoreGuardAt);
        if (!IsSeat(g) && g != kNoSeat)
            return kLoadBadScore;
        const uint8_t* card = m + kScoreCardsAt;
        for (int s = 0; s < kBoardSeats; ++s) {
            for (uint32_t i = 0; i < left[s]; ++i, ++card) {
                if (!IsCardId(*card))
                    return kLoadBadScore;
                WriteCard(s, *card);
            }
        }
        guard = IsSeat(g) ? static_cast<int>(g) : -1;
        if (target != nullptr && guard >= 0)
            state.SetRoleShown(guard, 1);
        const bool side = static_cast<int>(recordedSeat) == emperor || static_cast<int>(recordedSeat) == guard;
        outcome = OutcomeOf(U32(m + kScoreResultAt), side);
        return kLoadOk;
    }

    LoadStatus Run()
    {
        for (const peg::Entry& entry : game.file.entries) {
            const uint8_t* m = game.bytes.data() + entry.offset;
            LoadStatus status = kLoadOk;
            switch (entry.id) {
            case kDeal:
                status = Deal(m, entry.length);
                break;
            case kPlay:
                status = Play(m, entry.length);
                break;
            case kEmperorChoice:
                status = Decision(m, entry.length);
                break;
            case kEmperorResult:
            case kGuardChoice:
            case kKickChoice:
                Feed(m, entry.length);
                break;
            case kScore:
                status = Score(m, entry.length);
                break;
            default:
                break;
            }
            if (status != kLoadOk)
                return status;
        }
        return kLoadOk;
    }
};

}  // namespace

const char* LoadStatusText(LoadStatus status)
{
    switch (status) {
    case kLoadOk: return "ok";
    case kLoadTooShort: return "shorter than its header and info";
    case kLoadBadFile: return "not a saved game";
    case kLoadBadDeal: return "a bad deal";
    case kLoadBadDecision: return "a bad emperor decision";
    case kLoadBadPlay: return "a bad play";
    case kLoadBadScore: return "a bad score";
    case kLoadHandOver52: return "a hand over 52 cards";
    }
    return "unknown";
}

ReplayButtons ButtonsAt(int position, int stepCount)
{
    ReplayButtons b;
    b.restart = stepCount > 0;
    b.previousStep = b.previousRound = position >= 1;
    b.nextStep = b.nextRound = position < stepCount;
    return b;
}

int OutcomeOf(uint32_t resultCode, bool recordedSeatOnEmperorSide)
{
    if (resultCode == kResultDraw)
        return kOutcomeDraw;
    const bool odd = (resultCode & 1u) != 0;
    if (recordedSeatOnEmperorSide)
        return odd ? kOutcomeSideWonOdd : kOutcomeSideWonEven;
    return odd ? kOutcomeOtherOdd : kOutcomeOtherEven;
}

LoadStatus LoadGame(std::vector<uint8_t> bytes, ReplayGame* out)
{
    if (bytes.size() < peg::kDataOffset)
        return kLoadTooShort;
    ReplayGame game;
    game.fileStatus = peg::ReadFile(bytes.data(), bytes.size(), &game.file);
    if (game.fileStatus != peg::kReadOk)
        return kLoadBadFile;
    game.bytes = std::move(bytes);
    Pass check(game);
    check.recordedSeat = game.file.info.seat;
    const LoadStatus status = check.Run();
    if (status != kLoadOk)
        return status;
    for (const peg::Entry& entry : game.file.entries) {
        if (entry.id != kPlay)
            continue;
        const uint8_t* m = game.bytes.data() + entry.offset;
        ReplayPlay play;
        play.seat = static_cast<int>(U32(m + kPlayBodyAt));
        const uint32_t second = U32(m + kPlayBodyAt + 4);
        play.secondSeat = IsSeat(second) ? static_cast<int>(second) : -1;
        play.message.assign(m, m + entry.length);
        game.plays.push_back(std::move(play));
    }
    *out = std::move(game);
    return kLoadOk;
}

// ---- The stepper ------------------------------------------------------------------

void CReplayStepper::Take(ReplayGame&& game)
{
    m_game = std::move(game);
    m_loaded = true;
    m_position = 0;
}

void CReplayStepper::Clear()
{
    m_game = ReplayGame();
    m_loaded = false;
    m_position = 0;
}

bool CReplayStepper::Prepare(ReplayTarget& target, int sortModeSetting)
{
    if (!m_loaded || target.State() == nullptr)
        return false;
    Pass pass(m_game);
    pass.target = &target;
    pass.state = CTableState(target.State());
    pass.recordedSeat = m_game.file.info.seat;
    if (pass.Run() != kLoadOk)   // checked when the game was loaded
        return false;
    for (int s = 0; s < kBoardSeats; ++s) {
        m_cardCount[s] = pass.cardCount[s];
        m_collected[s] = pass.collected[s];
        m_place[s] = pass.place[s];
    }
    m_emperor = pass.emperor;
    m_guard = pass.guard;
    m_outcome = pass.outcome;
    target.SetOutcome(m_outcome);

    // Every hand ends sorted by the setting: the board turns the mode over.
    const int sortMode = ((sortModeSetting % 2 + 2) % 2 + 1) % 2;
    CTableState state(target.State());
    state.SetEmperorSeat(m_emperor);
    state.SetGuardSeat(m_guard);
    for (int s = 0; s < kBoardSeats; ++s) {
        state.SetTableCount(s, 0);
        state.SetHandCount(s, static_cast<uint32_t>(m_collected[s]));
        state.SetDealtCount(s, static_cast<uint32_t>(m_collected[s]));
        state.SetSortMode(sortMode);
        target.BoardEvent(kEvSortOwnHand, s, -1, nullptr);
        target.SetFirstPlayMark(s, false);
    }
    state.SetPhase(kPhasePlay);
    state.SetSeatToAct(m_emperor);
    state.SetLeadSeat(m_emperor);
    state.SetTrickCount(0);
    m_position = 0;
    Finish(target, 0);
    return true;
}

void CReplayStepper::Finish(ReplayTarget& target, int buttonsPosition)
{
    target.Repaint();
    target.UpdateButtons(buttonsPosition, ButtonsAt(buttonsPosition, StepCount()));
}

void CReplayStepper::StepForward(ReplayTarget& target)
{
    if (!m_loaded)
        return;
    const int k = m_position;
    if (k < StepCount()) {
        std::vector<uint8_t> copy = m_game.plays[static_cast<size_t>(k)].message;
        target.FeedMessage(copy.data(), copy.size());
        m_position = k + 1;
    }
    Finish(target, m_position);
}

void CReplayStepper::TakeBackAt(ReplayTarget& target, int index)
{
    const ReplayPlay& play = m_game.plays[static_cast<size_t>(index)];
    const int before = index > 0 ? m_game.plays[static_cast<size_t>(index - 1)].seat : play.seat;
    int previousOfSeat = -1;
    for (int i = index - 1; i >= 0 && previousOfSeat < 0; --i) {
        if (m_game.plays[static_cast<size_t>(i)].seat == play.seat)
            previousOfSeat = i;
    }
    // The board reads the previous play; it gets a copy of its own.
    std::vector<uint8_t> previous;
    if (previousOfSeat >= 0)
        previous = m_game.plays[static_cast<size_t>(previousOfSeat)].message;
    target.BoardEvent(kEvTakeBack, play.seat, before, previous.empty() ? nullptr : previous.data());
    target.SetFirstPlayMark(play.seat, false);
    if (play.secondSeat >= 0 && target.SecondPlayMark(play.secondSeat))
        target.SetFirstPlayMark(play.secondSeat, true);
    target.CountPlayBack();
    m_position = index;
}

void CReplayStepper::StepBack(ReplayTarget& target)
{
    if (!m_loaded || m_position < 1)
        return;
    TakeBackAt(target, m_position - 1);
    Finish(target, m_position);
}

void CReplayStepper::StepRound(ReplayTarget& target)
{
    if (!m_loaded)
        return;
    bool moved[kBoardSeats] = {};
    int after = StepCount() + 1;
    for (int i = 0; i < kRoundPlays && m_position < StepCount(); ++i) {
        const ReplayPlay& play = m_game.plays[static_cast<size_t>(m_position)];
        if (moved[play.seat])
            break;
        moved[play.seat] = true;
        std::vector<uint8_t> copy = play.message;
        target.FeedMessage(copy.data(), copy.size());
        ++m_position;
        after = m_position;
    }
    Finish(target, after);
}

void CReplayStepper::StepRoundBack(ReplayTarget& target)
{
    if (!m_loaded)
        return;
    bool taken[kBoardSeats] = {};
    for (int i = 0; i < kRoundPlays && m_position >= 1; ++i) {
        const int index = m_position - 1;
        const int seat = m_game.plays[static_cast<size_t>(index)].seat;
        if (taken[seat])
            break;
        taken[seat] = true;
        TakeBackAt(target, index);
    }
    Finish(target, m_position);
}

const uint8_t* CReplayStepper::StepMessage(int position) const
{
    if (position < 0 || position >= StepCount())
        return nullptr;
    return m_game.plays[static_cast<size_t>(position)].message.data();
}

int CReplayStepper::IndexOf(const uint8_t* message) const
{
    if (message == nullptr)
        return StepCount();
    for (int i = 0; i < StepCount(); ++i) {
        if (StepMessage(i) == message)
            return i;
    }
    return -1;
}

int CReplayStepper::PrevStepIndex(const uint8_t* message) const
{
    const int k = IndexOf(message);
    return k >= 1 ? k - 1 : -1;
}

int CReplayStepper::PrevStepOfSeat(const uint8_t* message) const
{
    if (message == nullptr)
        return -1;
    const int k = IndexOf(message);
    if (k < 0)
        return -1;
    for (int i = k - 1; i >= 0; --i) {
        if (m_game.plays[static_cast<size_t>(i)].seat == m_game.plays[static_cast<size_t>(k)].seat)
            return i;
    }
    return -1;
}

}  // namespace replay
