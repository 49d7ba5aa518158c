#include "CardMemory.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int32_t kRankCards = 16;     // four packs
constexpr int32_t kJokerCards = 4;
constexpr int32_t kColumnThreeShort = 13;
constexpr uint32_t kOptionShortDeck = 0x80000;
constexpr int kCellStart = 112;
constexpr int kCellWidth = 44;
constexpr int kCellStep = 42;

int Clamp52(int32_t n) { return n < 0 ? 0 : (n > kCardAreaSize ? kCardAreaSize : n); }

}  // namespace

bool CardMemoryPermitted(int32_t roomSetting9, uint8_t ownIdentity)
{
    switch (roomSetting9) {
    case 1: return ownIdentity != 0;
    case 2: return ownIdentity == 0;
    case 3: return true;
    default: return false;
    }
}

bool CardMemoryButtonEnabled(int32_t roomSetting9, uint8_t ownIdentity, uint32_t phase)
{
    return phase > 0 && CardMemoryPermitted(roomSetting9, ownIdentity);
}

CCardMemory::CCardMemory()
{
    for (int32_t& c : m_counts)
        c = kColumnOutOfPlay;
}

void CCardMemory::Reset(const BoardGameState& s)
{
    for (int c = 0; c < 13; ++c)
        m_counts[c] = kRankCards;
    m_counts[13] = m_counts[14] = kJokerCards;
    if (s.optShortPacks != 0) {
        for (int c = 0; c < 3; ++c)
            m_counts[c] = kColumnOutOfPlay;
    }
    if ((s.ruleFlags & kOptionShortDeck) != 0) {
        for (int c = 0; c < 3; ++c)
            m_counts[c] = kColumnOutOfPlay;
        m_counts[3] = kColumnThreeShort;
    }
    m_lastSeat = -1;
    m_lastCount = 0;
}

bool CCardMemory::CountPlayedCards(const BoardGameState& s)
{
    const int toAct = s.seatToAct;
    const int player = s.leadSeat;
    if (!IsValidSeat(toAct) || !IsValidSeat(player))
        return false;
    int skipped = 0;
    for (int back = 1; back <= 3; ++back) {
        const int seat = (toAct - back + kBoardSeats) % kBoardSeats;
        if (seat == player || s.seats[seat].cardsInHand != 0)
            break;
        ++skipped;
    }
    const int count = Clamp52(s.trickCount);
    if ((toAct - player + kBoardSeats) % kBoardSeats != skipped + 1 || count == 0)
        return false;
    uint8_t ids[kCardAreaSize];
    for (int i = 0; i < count; ++i)
        ids[i] = s.trickCards[i].id;
    if (player == m_lastSeat && count == m_lastCount && memcmp(ids, m_lastIds, static_cast<size_t>(count)) == 0)
        return false;   // counted already
    m_lastSeat = player;
    m_lastCount = count;
    memcpy(m_lastIds, ids, static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int column = s.trickCards[i].rank;
        if (column >= 0 && column < kCardMemoryColumns && m_counts[column] > 0)
            --m_counts[column];
    }
    return true;
}

void CCardMemory::CellText(int column, char out[kCardMemoryCellText]) const
{
    const int32_t n = Count(column);
    if (n < 0)
        snprintf(out, kCardMemoryCellText, "-");
    else
        snprintf(out, kCardMemoryCellText, "%d", static_cast<int>(n));
}

CardMemoryCell CardMemoryCellAt(int index, int areaWidth, int pictureWidth)
{
    int first = (areaWidth - pictureWidth) / 2 + kCellStart;
    if (first < kCellStart)
        first = kCellStart;
    CardMemoryCell cell;
    cell.column = kCardMemoryColumns - 1 - index;
    cell.left = first + index * kCellStep;
    cell.width = kCellWidth;
    return cell;
}
