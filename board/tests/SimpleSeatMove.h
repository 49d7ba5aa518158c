// The move of a simple player at one seat, for tests that play whole hands
// through a server: ready between hands, accept the emperor's decision when
// asked, hidden protection as guard (the board refuses it when the seat has
// no say), lead the last card of the hand as a single, pass otherwise.
#pragma once

#include <algorithm>
#include <cstdint>

#include "MardavelBoard.h"

// The board event to raise at `seat`, or 0 when the seat has nothing to do.
// A lead selects the card it plays in the state's hand.
inline int32_t SimpleSeatMove(BoardGameState& state, int seat, bool mustPass)
{
    switch (state.phase) {
    case kPhaseIdle:
        return state.readyMarks[seat] ? 0 : kEvReady;
    case kPhaseEmperor:
        return state.seatToAct == seat ? kEvAcceptEmperor : 0;
    case kPhaseGuard:
        return kEvGuardHidden;
    case kPhasePlay:
        break;
    default:
        return 0;
    }
    if (state.seatToAct != seat || mustPass)
        return 0;
    if (state.leadSeat != seat || state.seats[seat].cardsInHand == 0)
        return kEvPass;
    CardEntry* hand = state.hands[seat];
    const uint32_t count = std::min<uint32_t>(state.seats[seat].cardsInHand, kCardAreaSize);
    for (uint32_t i = 0; i < count; ++i)
        hand[i].flags &= uint8_t(~kCardSelected);
    hand[count - 1].flags |= kCardSelected;  // one card: a single always leads
    return kEvPlayCards;
}
