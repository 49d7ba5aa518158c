// What the widgets use of their owners, set by the table client: the table
// window with its off-screen picture (the table as last painted, in the table
// window's client coordinates), which picture buttons copy from, and the
// application's tooltip object, with which the picker registers its tips.
#pragma once

#include <windows.h>

class CToolTipObjWnd;

// Both null before the table window exists (and again after it is gone).
void SetTableSurface(HWND hTableWnd, HDC hSurface);
HWND GetTableSurfaceWindow();
HDC GetTableSurfaceDC();

void SetAppToolTip(CToolTipObjWnd* pToolTip);
CToolTipObjWnd* GetAppToolTip();
