#include "ODScrollLayout.h"

#include <limits.h>

#include <algorithm>
#include <cstdlib>

namespace odscroll {

ContainerLayout LayOutContainer(const ContainerInput& in)
{
    ContainerLayout out;
    const int width = std::max(0, in.width);
    const int height = std::max(0, in.height);
    const int column = in.vertVisible ? std::min(std::max(0, in.vertWidth), width) : 0;
    const int row = in.horzVisible ? std::min(std::max(0, in.horzHeight), height) : 0;
    Rect rest{0, 0, width, height};
    if (in.horzVisible) {
        out.horzBar = {in.leftScrollBar ? column : 0, height - row, in.leftScrollBar ? width : width - column,
                       height};
        rest.bottom = height - row;
    }
    if (in.vertVisible) {
        if (in.leftScrollBar) {
            out.vertBar = {0, 0, column, rest.bottom};
            rest.left = column;
        } else {
            out.vertBar = {width - column, 0, width, rest.bottom};
            rest.right = width - column;
        }
    }
    if (in.horzVisible && in.vertVisible)
        out.corner = {out.vertBar.left, out.horzBar.top, out.vertBar.right, height};
    out.child = rest;
    return out;
}

BarPlan PlanBars(Size total, Size client, int vertWidth, int horzHeight, Size pos)
{
    BarPlan plan;
    // At most two rounds: each bar can only switch on once.
    for (int round = 0; round < 3; ++round) {
        const int cx = client.cx - (plan.vert ? vertWidth : 0);
        const int cy = client.cy - (plan.horz ? horzHeight : 0);
        const bool horz = total.cx > cx;
        const bool vert = total.cy > cy;
        plan.client = {cx, cy};
        if (horz == plan.horz && vert == plan.vert)
            break;
        plan.horz = plan.horz || horz;
        plan.vert = plan.vert || vert;
    }
    plan.client = {client.cx - (plan.vert ? vertWidth : 0), client.cy - (plan.horz ? horzHeight : 0)};
    plan.range = {std::max(0, total.cx - plan.client.cx), std::max(0, total.cy - plan.client.cy)};
    plan.pos = {std::max(0, std::min(pos.cx, plan.range.cx)), std::max(0, std::min(pos.cy, plan.range.cy))};
    return plan;
}

int64_t RequestedPosition(int code, int current, int line, int page, int trackPos)
{
    switch (code) {
    case kLineUp: return int64_t(current) - line;
    case kLineDown: return int64_t(current) + line;
    case kPageUp: return int64_t(current) - page;
    case kPageDown: return int64_t(current) + page;
    case kThumbTrack: return trackPos;
    case kTop: return 0;
    case kBottom: return 0x7FFFFFFF;
    default: return current;
    }
}

int ClampToLimit(int64_t requested, int limit)
{
    return int(std::max<int64_t>(0, std::min<int64_t>(requested, std::max(0, limit))));
}

int WheelDisplacement(int delta, int lines, int lineSize, int pageSize)
{
    if (delta == 0)
        return 0;
    if (lines == -1)
        return delta > 0 ? -pageSize : pageSize;
    // MulDiv(-delta, lines, 120), rounded half away from zero.
    const int64_t product = -int64_t(delta) * lines;
    const int64_t steps = product >= 0 ? (product + 60) / 120 : -((-product + 60) / 120);
    const int64_t distance = std::min<int64_t>(std::llabs(steps * lineSize), std::max(0, pageSize));
    return int(steps < 0 ? -distance : distance);
}

int CentredPosition(int pos, int total, int client)
{
    return total < client ? -((client - total) / 2) : pos;
}

Size TenthSize(Size size, bool horz, bool vert)
{
    return {horz ? size.cx / 10 : 0, vert ? size.cy / 10 : 0};
}

int CentreOn(int point, int client, int limit, bool axisScrolls)
{
    const int64_t pos = int64_t(point) - client / 2;
    if (!axisScrolls || pos < 0)
        return 0;
    return int(std::min<int64_t>(pos, std::max(0, limit)));
}

}  // namespace odscroll
