// ODWndClass.cpp - the window classes the list controls register for themselves.
#include "ODWndClass.h"

void ODRegisterWndClass(LPCSTR name, UINT style, HBRUSH background)
{
    WNDCLASSA existing;
    if (::GetClassInfoA(AfxGetInstanceHandle(), name, &existing))
        return;
    WNDCLASSA wc = {};
    wc.style = style;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    if (!AfxRegisterClass(&wc))
        AfxThrowResourceException();
}
