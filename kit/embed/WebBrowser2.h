// The system's web browser control as a child window (the web notice popup
// shows its page in one). Only what the program uses: creation and
// navigation.
#pragma once

#include "afxdisp.h"

class CWebBrowser2 : public CWnd
{
public:
    // The web browser's class identifier.
    static const CLSID& GetClsid();
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // Opens the address in the control; FALSE without a control or when the
    // control refuses the call. The address is not checked here.
    BOOL Navigate(LPCSTR lpszAddress);
};
