#include "TableState.h"

namespace {

int Clamp52(int64_t n) { return n < 0 ? 0 : (n > kCardAreaSize ? kCardAreaSize : static_cast<int>(n)); }

}  // namespace

// ---- Reading ---------------------------------------------------------------------------

int CTableState::HandCount(int seat) const
{
    return m_state != nullptr && IsValidSeat(seat) ? Clamp52(m_state->seats[seat].cardsInHand) : 0;
}

int CTableState::TrickCount() const { return m_state != nullptr ? Clamp52(m_state->trickCount) : 0; }

int CTableState::TableCount(int seat) const
{
    return m_state != nullptr && IsValidSeat(seat) ? Clamp52(m_state->seats[seat].tableCardCount) : 0;
}

const CardEntry* CTableState::Hand(int seat) const
{
    return m_state != nullptr && IsValidSeat(seat) ? m_state->hands[seat] : nullptr;
}

const CardEntry* CTableState::TableCards(int seat) const
{
    return m_state != nullptr && IsValidSeat(seat) ? m_state->tableCards[seat] : nullptr;
}

uint32_t CTableState::SeatFlags(int seat) const
{
    return m_state != nullptr && IsValidSeat(seat) ? m_state->seats[seat].player.flags : 0;
}

int CTableState::HandsPerMatch() const { return m_state != nullptr ? ::HandsPerMatch(*m_state) : 0; }

// ---- Writing ---------------------------------------------------------------------------

void CTableState::SetAllowWatchingWord(int seat, uint32_t value)
{
    if (m_state != nullptr && IsValidSeat(seat))
        m_state->seats[seat].watchersMaySee = value;
}

void CTableState::SetSortMode(int32_t mode)
{
    if (m_state != nullptr)
        m_state->sortMode = mode;
}

void CTableState::ClearGameFlags(uint32_t bits)
{
    if (m_state != nullptr)
        m_state->tableFlags &= ~bits;
}

int CTableState::TakeClockSecond(int seat)
{
    if (m_state == nullptr || !IsValidSeat(seat) || m_state->clockSecondsLeft[seat] <= 0)
        return -1;
    return --m_state->clockSecondsLeft[seat];
}

void CTableState::SetHandCardFlags(int seat, int index, uint8_t set, uint8_t clear)
{
    if (m_state == nullptr || !IsValidSeat(seat) || index < 0 || index >= kCardAreaSize)
        return;
    CardEntry& entry = m_state->hands[seat][index];
    entry.flags = static_cast<uint8_t>((entry.flags & ~clear) | set);
}

void CTableState::SetHandCount(int seat, uint32_t count)
{
    if (m_state != nullptr && IsValidSeat(seat))
        m_state->seats[seat].cardsInHand = count > kCardAreaSize ? kCardAreaSize : count;
}

void CTableState::SetTableCount(int seat, uint32_t count)
{
    if (m_state != nullptr && IsValidSeat(seat))
        m_state->seats[seat].tableCardCount = count > kCardAreaSize ? kCardAreaSize : count;
}

void CTableState::SetDealtCount(int seat, uint32_t count)
{
    if (m_state != nullptr && IsValidSeat(seat))
        m_state->seats[seat].cardsDealt = count > kCardAreaSize ? kCardAreaSize : count;
}

void CTableState::SetTrickCount(int32_t count)
{
    if (m_state != nullptr)
        m_state->trickCount = count < 0 ? 0 : (count > kCardAreaSize ? kCardAreaSize : count);
}

void CTableState::SetPhase(uint32_t phase)
{
    if (m_state != nullptr)
        m_state->phase = phase;
}

void CTableState::SetSeatToAct(int32_t seat)
{
    if (m_state != nullptr)
        m_state->seatToAct = seat;
}

void CTableState::SetLeadSeat(int32_t seat)
{
    if (m_state != nullptr)
        m_state->leadSeat = seat;
}

void CTableState::SetEmperorSeat(int32_t seat)
{
    if (m_state != nullptr)
        m_state->emperorSeat = seat;
}

void CTableState::SetGuardSeat(int32_t seat)
{
    if (m_state != nullptr)
        m_state->guardSeat = seat;
}

void CTableState::SetRoleShown(int seat, int32_t value)
{
    if (m_state != nullptr && IsValidSeat(seat))
        m_state->decisionMarks[seat] = value;
}

CardEntry* CTableState::HandEntryForReplay(int seat, int index)
{
    if (m_state == nullptr || !IsValidSeat(seat) || index < 0 || index >= kCardAreaSize)
        return nullptr;
    return &m_state->hands[seat][index];
}

// ---- Turn clock -----------------------------------------------------------------------

int ClockSeat(const BoardGameState& s, int ownSeat)
{
    const int own = IsValidSeat(ownSeat) ? ownSeat : -1;
    switch (s.phase) {
    case 0: {
        const int hands = HandsPerMatch(s);
        const int played = static_cast<int>(s.handsFinished);
        return hands > 0 && played >= 1 && played < hands ? own : -1;
    }
    case 1:
        if (s.optJointFirstDecision != 0 && (s.tableFlags & 0x1) != 0)
            return own;
        return s.seatToAct;
    case 2:
        if (own >= 0 && own != s.guardSeat && (own == s.emperorSeat || s.optAllSeatsGuardStep == 0)) {
            const bool kick = (s.ruleFlags & kRuleFlagOption12) != 0 && (s.ruleFlags & 0xF00) != 0;
            return kick && own == s.emperorSeat ? own : -1;
        }
        return own;
    default:
        return s.seatToAct;
    }
}

bool ClockShownFor(const BoardGameState& s, int seat, int ownSeat)
{
    if (s.phase == 0 || !IsValidSeat(seat))
        return false;
    return ClockSeat(s, ownSeat) == seat;
}

ClockTick TickClock(CTableState& state, int ownSeat, bool watching, bool ownClockActive)
{
    ClockTick tick;
    if (!state.Exists())
        return tick;
    const int seat = ClockSeat(*state.Get(), ownSeat);
    if (!IsValidSeat(seat))
        return tick;
    const int left = state.TakeClockSecond(seat);
    if (left < 0)
        return tick;
    tick.seat = seat;
    tick.secondsLeft = left;
    const bool own = seat == ownSeat && !watching && ownClockActive;
    tick.warn = own && left < 5;
    tick.autoAction = own && left <= 0;
    return tick;
}

int ClockFillWidth(int imageWidth, int secondsLeft, int fullLength)
{
    if (fullLength <= 0 || imageWidth <= 0 || secondsLeft <= 0)
        return 0;
    const int left = secondsLeft > fullLength ? fullLength : secondsLeft;
    return static_cast<int>(static_cast<int64_t>(imageWidth) * left / fullLength);
}

bool CIdleCounter::Tick(uint32_t limit)
{
    ++m_seconds;
    if (m_seconds < limit)
        return false;
    m_seconds = 0;
    return true;
}
