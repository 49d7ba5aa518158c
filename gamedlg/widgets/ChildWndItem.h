// The child-window holder's layout: one child window kept fitted to a layout
// item's rectangle shrunk by 1 pixel on each side, with slightly rounded
// corners (a round-rectangle region with 3 x 3 corner ellipses). The game
// frame's area item that holds the window calls it from its layout.
#pragma once

#include <afxwin.h>

#include "BkPainter.h"

// Fits the window to the item's rectangle (parent client coordinates); a
// window that no longer exists is left alone. FALSE when nothing was done.
BOOL FitChildWindow(CWnd* pWnd, const RECT& rcItem);

// The game frame's layout item that holds one child window: the first window
// of its item list (not owned), fitted by FitChildWindow after the area's own
// layout.
class CChildWndItem : public CAreaPainter
{
public:
    void Layout() override;
};
