// ODThemeWnd.h - CODThemeWnd, the library's hidden top-level window. It
// carries "ODCtrl" = 4096 and "ODThemeWnd" = 4096, so a host's broadcast of
// "ChangeThemeMsg" finds it; on that message it reloads the whole library
// (ODLoadTheme) from the theme path and mode kept at start.
#pragma once

#include "afxwin.h"

class CODThemeWnd : public CWnd
{
public:
    CODThemeWnd();
    // An invisible top-level window that only receives messages.
    BOOL Create();

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};
