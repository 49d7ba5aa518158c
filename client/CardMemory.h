// The card memory: fifteen counters of the cards still out, one per rank
// column (0-12 the ranks, 13 the small and 14 the big joker), -1 for a
// column out of play. Reset before each hand, lowered by each new play to
// beat.
//
// The table raises its phase-3 update after every change of the table, so
// the same play to beat is seen many times: a play is counted once (the
// last counted play is remembered by seat, count and card ids), and no
// counter of a column in play falls below 0.
#pragma once

#include <cstdint>

#include "MardavelState.h"

constexpr int kCardMemoryColumns = 15;
constexpr int32_t kColumnOutOfPlay = -1;
constexpr int kCardMemoryCellText = 12;

// Who may use the card memory (room setting 9): 0 never, 1 when the own
// seat's identity byte is non-zero, 2 when it is zero, 3 always.
bool CardMemoryPermitted(int32_t roomSetting9, uint8_t ownIdentity);
// The button's state during a hand (phase > 0): enabled when permitted.
bool CardMemoryButtonEnabled(int32_t roomSetting9, uint8_t ownIdentity, uint32_t phase);

class CCardMemory
{
public:
    CCardMemory();

    // Columns 0-12 at 16, the jokers at 4; the reduced deck takes columns
    // 0-2 out; option bit 0x80000 takes them out and puts column 3 at 13.
    void Reset(const BoardGameState& s);
    // Lowers the counters by the play to beat when its seat is the nearest
    // seat before the seat to act that still holds cards. Each play once.
    // True when the counters changed.
    bool CountPlayedCards(const BoardGameState& s);

    int32_t Count(int column) const { return column >= 0 && column < kCardMemoryColumns ? m_counts[column] : 0; }
    // "-" for a column out of play, else the number.
    void CellText(int column, char out[kCardMemoryCellText]) const;

private:
    int32_t m_counts[kCardMemoryColumns];
    // The last play counted.
    int m_lastSeat = -1;
    int m_lastCount = 0;
    uint8_t m_lastIds[kCardAreaSize] = {};
};

// The counters' cells on the panel: fifteen cells, the big joker's first,
// each 44 wide and 42 apart, the first at max(112, (area width - picture
// width) / 2 + 112) from the area's left.
struct CardMemoryCell {
    int column;
    int left;     // from the area's left
    int width;
};
CardMemoryCell CardMemoryCellAt(int index, int areaWidth, int pictureWidth);
