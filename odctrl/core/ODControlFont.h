// ODControlFont.h - the font a control of the library takes from its
// surroundings: the WM_GETFONT font of its first ancestor of class "#32770"
// (a dialog), else that of its parent (of the control itself when it has no
// parent), else the system's icon-title font.
#pragma once

#include "afxwin.h"

// The library's own control font: SimSun (code page 936 face name) of that
// height, weight 400, Chinese character set, stroke output, character
// clipping, draft quality, variable pitch.
void ODDefaultControlFont(LOGFONT* lf, LONG height);
// The WM_GETFONT font of a window of class "#32770" (a dialog) into lf;
// FALSE (lf untouched) for another window or one without a font.
BOOL ODGetDialogFont(HWND dialog, LOGFONT* lf);
// Fills lf; FALSE only when not even the icon-title font can be read.
BOOL ODGetInheritedFont(HWND control, LOGFONT* lf);
// The first ancestor (parent, grandparent ...) of class "#32770", or NULL.
HWND ODFindDialogAncestor(HWND control);
