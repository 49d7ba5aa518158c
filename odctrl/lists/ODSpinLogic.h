// ODSpinLogic.h - the skinned spin control's arithmetic apart from its
// window: the state it keeps of the up-down control underneath (active flag,
// position, limits), the answer to a position change, and the two halves
// its buttons cover.
//
// Rectangles are half-open [left, right) x [top, bottom) in client
// coordinates. Sums are taken in 64 bits, so no position or delta overflows.
#pragma once

#include <stdint.h>

namespace odspin {

struct Rect
{
    int left, top, right, bottom;
};

struct Point
{
    int x, y;
};

struct State
{
    bool active = true;  // false: position changes are not followed
    int pos = 0;
    int lower = 0;  // lower <= upper once refreshed
    int upper = 0;
};

// The state read back from the control: a wrapping control is never
// tracked (inactive); the limits are stored lower first; a position outside
// them counts as the lower limit. Nothing changes while inactive.
void Refresh(State& s, bool wrap, int rangeLow, int rangeHigh, int pos);

// A position change of delta from pos: clamped to the limits. Answers
// true when the change is refused (it would leave the stored position
// where it is); otherwise stores the new position. An inactive state
// allows every change and stores nothing.
bool RefuseDelta(State& s, int pos, int delta);

// The half of the client area that button 0 (first: top, or left with
// horizontal) or button 1 covers.
Rect Half(const Rect& client, bool horizontal, int button);
// The middle of that half: where a click on the button lands.
Point HalfCentre(const Rect& client, bool horizontal, int button);

}  // namespace odspin
