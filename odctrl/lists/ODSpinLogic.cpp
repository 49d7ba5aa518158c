// ODSpinLogic.cpp - the spin control's state and halves.
#include "ODSpinLogic.h"

#include <algorithm>

namespace odspin {

void Refresh(State& s, bool wrap, int rangeLow, int rangeHigh, int pos)
{
    if (wrap)
        s.active = false;
    if (!s.active)
        return;
    s.lower = std::min(rangeLow, rangeHigh);
    s.upper = std::max(rangeLow, rangeHigh);
    s.pos = pos < s.lower || pos > s.upper ? s.lower : pos;
}

bool RefuseDelta(State& s, int pos, int delta)
{
    if (!s.active)
        return false;
    const int64_t wanted = int64_t(pos) + delta;
    const int next = int(std::max<int64_t>(s.lower, std::min<int64_t>(s.upper, wanted)));
    if (next == s.pos)
        return true;
    s.pos = next;
    return false;
}

Rect Half(const Rect& client, bool horizontal, int button)
{
    Rect r = client;
    if (horizontal) {
        const int cut = (client.right - client.left) / 2 + client.left;
        (button == 0 ? r.right : r.left) = cut;
    } else {
        const int cut = (client.bottom - client.top) / 2 + client.top;
        (button == 0 ? r.bottom : r.top) = cut;
    }
    return r;
}

Point HalfCentre(const Rect& client, bool horizontal, int button)
{
    const Rect r = Half(client, horizontal, button);
    return Point{r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2};
}

}  // namespace odspin
