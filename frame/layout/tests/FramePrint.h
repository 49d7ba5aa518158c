// FramePrint.h - rectangles printed in test messages.
#pragma once

#include <ostream>

#include "FrameGeometry.h"

inline std::ostream& operator<<(std::ostream& os, const AreaRect& r)
{
    return os << "(" << r.l << "," << r.t << "," << r.r << "," << r.b << ")";
}
