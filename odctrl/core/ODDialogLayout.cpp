// ODDialogLayout.cpp - the owner-draw dialog's frame arithmetic and caption buttons.
#include "ODDialogLayout.h"

#include <string.h>

namespace oddlg {

namespace {

// The state index of a caption-bar hit, -1 for none.
int IndexOf(int hit) { return (hit >= 1 && hit <= 3) ? hit - 1 : -1; }

}  // namespace

Kind KindOf(uint32_t style)
{
    if ((style & kCaption) == kCaption)
        return KindCaption;
    if (style & kBorder)
        return KindBorder;
    return KindNone;
}

Rect ClientRect(Kind kind, const Rect& window, const Widths& w, int captionHeight)
{
    Rect r = window;
    if (kind == KindCaption) {
        r.left += w.left;
        r.top += captionHeight;
        r.right -= w.right;
        r.bottom -= w.bottom;
    } else if (kind == KindBorder) {
        r.left += w.left;
        r.top += w.top;
        r.right -= w.right;
        r.bottom -= w.bottom;
    }
    return r;
}

void WindowSize(Kind kind, int clientWidth, int clientHeight, const Widths& w, int captionHeight, int* width,
                int* height)
{
    *width = clientWidth;
    *height = clientHeight;
    if (kind == KindCaption) {
        *width += w.left + w.right;
        *height += captionHeight + w.bottom;
    } else if (kind == KindBorder) {
        *width += w.left + w.right;
        *height += w.top + w.bottom;
    }
}

const char* FramePiece(Kind kind, const char* edge, const char* border)
{
    if (kind == KindCaption || !border || !border[0])
        return edge;
    return border;
}

Action CaptionButtons::ButtonDown(int hit, bool maximized, bool* repaint)
{
    *repaint = false;
    const int i = IndexOf(hit);
    if (i >= 0) {
        states[i] = 2;
        *repaint = true;
        return ActNone;
    }
    return maximized ? ActNone : ActDefault;
}

Action CaptionButtons::MouseMove(int hit, bool* repaint)
{
    const int i = IndexOf(hit);
    bool changed = false;
    for (int b = 0; b < 3; ++b) {
        if (b == i) {
            if (states[b] == 0) {
                states[b] = 1;
                changed = true;
            }
        } else if (states[b] != 0) {
            states[b] = 0;
            changed = true;
        }
    }
    *repaint = changed;
    if (i >= 0 || changed)
        return ActNone;
    return ActDefault;
}

Action CaptionButtons::ButtonUp(int hit, bool* repaint)
{
    *repaint = true;
    const int i = IndexOf(hit);
    if (i < 0)
        return ActDefault;
    states[i] = 0;
    static const Action actions[3] = {ActClose, ActMaximize, ActMinimize};
    return actions[i];
}

bool CaptionButtons::Reset()
{
    bool changed = false;
    for (int& s : states)
        if (s != 0) {
            s = 0;
            changed = true;
        }
    return changed;
}

int CopyBounded(const char* text, char* buffer, int max)
{
    if (!buffer || max <= 0)
        return 0;
    const size_t length = text ? strlen(text) : 0;
    const size_t n = length < static_cast<size_t>(max - 1) ? length : static_cast<size_t>(max - 1);
    if (n)
        memcpy(buffer, text, n);
    buffer[n] = 0;
    return static_cast<int>(n);
}

}  // namespace oddlg
