// ODThemeWnd.cpp - the theme window.
#include "ODThemeWnd.h"

#include "ODLibrary.h"

BEGIN_MESSAGE_MAP(CODThemeWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CODThemeWnd::CODThemeWnd() {}

BOOL CODThemeWnd::Create()
{
    return CreateEx(0, AfxRegisterWndClass(0, 0, 0, 0), NULL, 0, 0, 0, 0, 0, NULL, NULL);
}

int CODThemeWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    ::SetPropA(m_hWnd, OD_PROP_CTRL, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(OD_CTRL_ID)));
    ::SetPropA(m_hWnd, OD_PROP_THEMEWND, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(OD_THEMEWND_ID)));
    return 0;
}

void CODThemeWnd::OnDestroy()
{
    ::RemovePropA(m_hWnd, OD_PROP_CTRL);
    ::RemovePropA(m_hWnd, OD_PROP_THEMEWND);
    CWnd::OnDestroy();
}

LRESULT CODThemeWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == ODGetThemeMessage()) {
        ODLoadTheme();
        return 0;
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}
