// ODWndClass.h - the window classes the list controls register for themselves.
#pragma once

#include "afxwin.h"

// Registers the class `name` in this module unless it is there already: the
// default window procedure (the control's window object takes the messages
// over), an arrow cursor, the given style and background brush (NULL: none).
// Throws a resource exception when the system refuses the class.
void ODRegisterWndClass(LPCSTR name, UINT style, HBRUSH background);
