#include "FrameRules.h"

namespace {

constexpr int kRestoredWidth = 1024;
constexpr int kRestoredMaxHeight = 768;

FrameBox Centred(FrameBox box, int workLeft, int workTop, int workRight, int workBottom)
{
    box.x = workLeft + ((workRight - workLeft) - box.cx) / 2;
    box.y = workTop + ((workBottom - workTop) - box.cy) / 2;
    return box;
}

}  // namespace

FrameBox RestoredFrameBox(int workLeft, int workTop, int workRight, int workBottom)
{
    FrameBox box;
    const int workHeight = workBottom - workTop;
    box.cx = kRestoredWidth;
    box.cy = workHeight < kRestoredMaxHeight ? (workHeight > 0 ? workHeight : 0) : kRestoredMaxHeight;
    return Centred(box, workLeft, workTop, workRight, workBottom);
}

FrameBox MaximisedFrameBox(int desktopWidth, int workLeft, int workTop, int workRight, int workBottom)
{
    FrameBox box;
    box.cx = desktopWidth > 0 ? desktopWidth : 0;
    box.cy = workBottom - workTop > 0 ? workBottom - workTop : 0;
    return Centred(box, workLeft, workTop, workRight, workBottom);
}

CloseAction DecideClose(const CloseState& state)
{
    if (!state.mayClose)
        return kCloseRefused;
    if (state.lost)
        return kCloseLeaveAndEnd;
    if (state.socketOpen && !state.trustQuit)
        return state.hasTable ? kCloseAskFirst : kCloseRefused;
    return kCloseEndNow;
}

bool FrameKeyValuesNeedWriting(const int values[3])
{
    for (int i = 0; i < 3; i++)
        if (values[i] != kFrameKeyValues[i])
            return true;
    return false;
}
