#include "PopupLayout.h"

namespace kit {

KRect PopupClientRect(const KRect& w, const PopupFrameMetrics& m)
{
    return {w.left + m.leftWidth, w.top + m.topHeight, w.right - m.rightWidth, w.bottom - m.bottomHeight};
}

KRect PopupCloseRect(const KRect& w, const PopupFrameMetrics& m)
{
    const int right = w.right - m.leftWidth - 4;
    const int top = w.top + m.topHeight / 2 - m.closeHeight / 2;
    return {right - m.closeWidth / 4, top, right, top + m.closeHeight};
}

KRect PopupCaptionRect(const KRect& w, const PopupFrameMetrics& m)
{
    return {w.left, w.top + 4, w.right, w.top + 4 + m.topHeight};
}

int PopupHitTest(const KRect& w, const PopupFrameMetrics& m, int x, int y, bool* onClose)
{
    *onClose = false;
    if (PopupClientRect(w, m).Contains(x, y))
        return kHitClient;
    if (PopupCloseRect(w, m).Contains(x, y)) {
        *onClose = true;
        return kHitSysMenu;
    }
    if (PopupCaptionRect(w, m).Contains(x, y))
        return kHitCaption;
    return kHitNowhere;
}

std::vector<Span> ThirdsSpans(int source, int target)
{
    std::vector<Span> spans;
    if (source <= 0 || target <= 0)
        return spans;
    const int third = source / 3;
    const int last = source - 2 * third;   // the last third takes the remainder
    if (target <= source || third == 0) {
        // Nothing to stretch in thirds: the picture repeated whole, cut at the end.
        for (int at = 0; at < target; at += source)
            spans.push_back({at, 0, at + source <= target ? source : target - at});
        return spans;
    }
    spans.push_back({0, 0, third});
    const int lastAt = target - last;
    for (int at = third; at < lastAt; at += third) {
        const int n = at + third <= lastAt ? third : lastAt - at;
        spans.push_back({at, third, n});
    }
    spans.push_back({lastAt, source - last, last});
    return spans;
}

}  // namespace kit
