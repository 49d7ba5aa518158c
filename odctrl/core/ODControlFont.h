// ODControlFont.h - the font a control of the library takes from its
// surroundings: the WM_GETFONT font of its first ancestor of class "#32770"
// (a dialog), else that of its parent (of the control itself when it has no
// parent), else the system's icon-title font.
#pragma once

#include "afxwin.h"

// Fills lf; FALSE only when not even the icon-title font can be read.
BOOL ODGetInheritedFont(HWND control, LOGFONT* lf);
// The first ancestor (parent, grandparent ...) of class "#32770", or NULL.
HWND ODFindDialogAncestor(HWND control);
