// ODTitleLayout.h - where the caption bar of the owner-draw dialogs puts its
// buttons and its text, apart from any window; CODTitleBar (ODTitleBar.h)
// draws and hit-tests with it.
//
// Buttons: 0 system menu, 1 close, 2 maximise (or restore), 3 minimise (or
// restore). A button is present when the style asks for it (WS_SYSMENU for
// the system menu and close, WS_MAXIMIZEBOX, WS_MINIMIZEBOX) and its image
// is loaded. Positions: x is the distance from the caption's left edge
// (system menu) or the gap to the right neighbour (close from the caption's
// right edge, maximise from close, minimise from maximise, each from the
// nearest present neighbour to its right). y = kCentred centres the button,
// y >= 0 counts from the caption's top, y < 0 from its bottom.
#pragma once

#include <stdint.h>

namespace odtitle {

const uint32_t kSysMenu = 0x80000;
const uint32_t kMaximizeBox = 0x10000;
const uint32_t kMinimizeBox = 0x20000;
const int kCentred = 0xFFFF;

enum Button
{
    SysMenu = 0,
    Close = 1,
    Maximize = 2,
    Minimize = 3,
    ButtonCount = 4,
};

struct Rect
{
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Empty() const { return right <= left || bottom <= top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

struct ButtonDef
{
    bool loaded = false;  // its image has cells
    int x = 0, y = 0;     // theme position
    int width = 0, height = 0;
};

struct Input
{
    uint32_t style = 0;
    ButtonDef buttons[ButtonCount];
    // The restore image, used for maximise while maximised and for
    // minimise while minimised.
    bool restoreLoaded = false;
    int restoreWidth = 0, restoreHeight = 0;
    bool maximized = false;
    bool minimized = false;
    int textX = 0;
};

struct Layout
{
    bool present[ButtonCount] = {};
    bool restore[ButtonCount] = {};  // drawn with the restore image
    Rect buttons[ButtonCount];
    Rect text;
};

Layout Arrange(const Input& in, const Rect& caption);
// 0 system menu, 1 close, 2 maximise/restore, 3 minimise, -1 none; checked
// in that order.
int HitTest(const Layout& layout, int x, int y);
// The width the buttons and the text need: each present button's x plus its
// width, the text x, and the text's own width.
int MinWidth(const Input& in, int textWidth);

}  // namespace odtitle
