#include "WidgetServices.h"

namespace {
HWND g_hTableWnd = NULL;
HDC g_hTableSurface = NULL;
CToolTipObjWnd* g_pAppToolTip = nullptr;
}  // namespace

void SetTableSurface(HWND hTableWnd, HDC hSurface)
{
    g_hTableWnd = hTableWnd;
    g_hTableSurface = hSurface;
}

HWND GetTableSurfaceWindow() { return g_hTableWnd; }

HDC GetTableSurfaceDC()
{
    return g_hTableWnd != NULL && ::IsWindow(g_hTableWnd) ? g_hTableSurface : NULL;
}

void SetAppToolTip(CToolTipObjWnd* pToolTip) { g_pAppToolTip = pToolTip; }
CToolTipObjWnd* GetAppToolTip() { return g_pAppToolTip; }
