// ODTitleLayout.cpp - caption button places and hit tests.
#include "ODTitleLayout.h"

namespace odtitle {

namespace {

int Top(const Rect& caption, int y, int height)
{
    if (y == kCentred)
        return caption.top + (caption.bottom - caption.top - height) / 2;
    return y >= 0 ? caption.top + y : caption.bottom + y;
}

bool Wanted(uint32_t style, int button)
{
    switch (button) {
    case SysMenu:
    case Close:
        return (style & kSysMenu) != 0;
    case Maximize:
        return (style & kMaximizeBox) != 0;
    default:
        return (style & kMinimizeBox) != 0;
    }
}

// The size a button is drawn at (the restore image's when it stands in).
void Size(const Input& in, int button, bool* restore, int* w, int* h)
{
    const ButtonDef& b = in.buttons[button];
    *restore = (button == Maximize && in.maximized && in.restoreLoaded) ||
               (button == Minimize && in.minimized && in.restoreLoaded);
    *w = *restore ? in.restoreWidth : b.width;
    *h = *restore ? in.restoreHeight : b.height;
}

}  // namespace

Layout Arrange(const Input& in, const Rect& caption)
{
    Layout l;
    int right = caption.right;
    int left = caption.left;
    for (int b = 0; b < ButtonCount; ++b) {
        if (!Wanted(in.style, b) || !in.buttons[b].loaded)
            continue;
        int w = 0, h = 0;
        bool restore = false;
        Size(in, b, &restore, &w, &h);
        Rect r;
        if (b == SysMenu) {
            r.left = caption.left + in.buttons[b].x;
            r.right = r.left + w;
            left = r.right;
        } else {
            r.right = right - in.buttons[b].x;
            r.left = r.right - w;
            right = r.left;
        }
        r.top = Top(caption, in.buttons[b].y, h);
        r.bottom = r.top + h;
        l.present[b] = true;
        l.restore[b] = restore;
        l.buttons[b] = r;
    }
    l.text.left = left + in.textX;
    l.text.right = right > l.text.left ? right : l.text.left;
    l.text.top = caption.top;
    l.text.bottom = caption.bottom;
    return l;
}

int HitTest(const Layout& layout, int x, int y)
{
    for (int b = 0; b < ButtonCount; ++b)
        if (layout.present[b] && layout.buttons[b].Contains(x, y))
            return b;
    return -1;
}

int MinWidth(const Input& in, int textWidth)
{
    int total = in.textX + textWidth;
    for (int b = 0; b < ButtonCount; ++b) {
        if (!Wanted(in.style, b) || !in.buttons[b].loaded)
            continue;
        int w = 0, h = 0;
        bool restore = false;
        Size(in, b, &restore, &w, &h);
        total += in.buttons[b].x + w;
    }
    return total;
}

}  // namespace odtitle
